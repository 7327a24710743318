// CMainToolDlg.h - the floating tool window, the program's main window. Four
// picture buttons open the property sheet, the Network Watcher, the signal
// quality window and the throughput monitor, which this window owns, as it
// owns Link History (opened from the notification icon's menu) and the site
// survey log. It owns the link monitor too and ticks it by a timer, every
// two seconds (four in an ad-hoc network): each reading goes to the
// notification icon's tip and picture, to the signal quality window, to the
// link history and the survey log, and a card gone silent stops the timer
// for good.
#pragma once

#include "app/CLinkMonitor.h"
#include "app/CProfileCommands.h"
#include "app/CTrayNotifyIcon.h"
#include "app/ToolCommands.h"
#include "framework/CDialog.h"
#include "framework/CToolTipCtrl.h"
#include "tools/CSurveyLog.h"
#include "widgets/CFlatIconButton.h"

#include <memory>
#include <string>

class CAboutDlg;
class CBssWatchDlg;
class CLinkHistoryDlg;
class CPrefsDlg;
class CPropertyTab;
class CSignalDlg;
class CStationWatchDlg;
class CThroughputDlg;

class CMainToolDlg : public CDialog
{
public:
    static const UINT_PTR MONITOR_TIMER = 3;
    static const UINT MONITOR_PERIOD = CLinkMonitor::PERIOD;
    static const UINT MONITOR_PERIOD_ADHOC = CLinkMonitor::PERIOD_ADHOC;
    // The notification icon's identifier and callback message.
    static const UINT TRAY_ICON_ID = 1;
    static const UINT WM_TRAY_NOTIFY = 2215;

    using Tool = ToolNumber;

    explicit CMainToolDlg(CWnd* parent = nullptr);
    ~CMainToolDlg() override;

    // Opens a tool: gives an open one the focus, creates it otherwise.
    void OpenTool(Tool tool);
    // One tick of the link monitor.
    void MonitorTick();

    // What the monitor knows.
    float GetLinkQuality() const { return m_monitor.GetQuality(); }
    bool IsAdHoc() const { return m_monitor.IsAdHoc(); }
    bool IsAlerted() const { return m_monitor.IsAlerted(); }
    bool IsMonitoring() const { return m_bMonitoring; }
    int GetPeriodDivisor() const { return m_monitor.GetPeriodDivisor(); }
    UINT GetMonitorPeriod() const { return m_nMonitorPeriod; }
    POINT GetStoredPosition() const { return POINT{m_xPos, m_yPos}; }

    CTrayNotifyIcon& GetTrayIcon() { return m_tray; }
    CToolTipCtrl& GetToolTip() { return m_toolTip; }
    CFlatIconButton& GetButton(int index) { return m_buttons[index]; }
    HICON GetAppIcon() const { return m_hIcon; }

    // The tools' objects (those of the watcher kind not chosen are null until
    // the card's network type asks for them) and the window of each, if open.
    CPropertyTab* GetPropertySheet() const { return m_pPropertySheet.get(); }
    CSignalDlg* GetSignalWindow() const { return m_pSignalDlg.get(); }
    CBssWatchDlg* GetBssWatcher() const { return m_pBssWatchDlg.get(); }
    CStationWatchDlg* GetStationWatcher() const { return m_pStationWatchDlg.get(); }
    HWND GetToolWindow(Tool tool) const;

    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnSysCommand(UINT id, LPARAM lParam) override;
    // The notification icon's menu gets its "Profiles" popup as it opens.
    void OnInitMenuPopup(HMENU popup, UINT index, BOOL sysMenu) override;
    void OnTimer(UINT_PTR id) override;
    void OnPaint() override;
    BOOL OnSetCursor(HWND hWnd, UINT hitTest, UINT message) override;
    void OnClose() override;
    void OnOK() override;
    void OnCancel() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    // The command-line action of the program's argument; false when there
    // was none.
    bool RunCommandLineAction();
    void ShowStatusBox();
    void RunAbout();
    void RunPreferences();
    // Shows or hides the notification icon by the preference.
    void ApplyIconPreference();
    void OpenHelp();
    void Exit();

    // The notification icon's tip and picture, the shell asked only for
    // what changed.
    void ShowOnIcon(const std::string& tip, UINT iconId);
    // The card stopped answering: stop for good and tell the user once.
    void OnNoResponse();
    // The adapter is marked failed: the tray tip names its state (red icon)
    // and an open signal window shows no connection; the history records
    // that monitoring stopped and the survey log ends.
    void ShowAdapterFailure();
    // Link History, when open, shows what the history gained.
    void TellHistoryWindow();
    // The card's network type text; false when it did not answer.
    static bool ReadNetworkType(std::string& type);
    void StopMonitor();
    bool AddTrayIcon(const char* tip, UINT iconId);
    // The shell refused the icon: tell the user, no icon for this run.
    void OnTrayRefused();
    void OnTrayShown();
    void MakeButtonTips();

private:
    // Makes the window of a tool whose object exists; false when none was made.
    BOOL CreateToolWindow(Tool tool);

    CToolTipCtrl m_toolTip;
    HICON m_hIcon;
    std::unique_ptr<CPropertyTab> m_pPropertySheet;
    std::unique_ptr<CSignalDlg> m_pSignalDlg;
    std::unique_ptr<CBssWatchDlg> m_pBssWatchDlg;
    std::unique_ptr<CStationWatchDlg> m_pStationWatchDlg;
    std::unique_ptr<CThroughputDlg> m_pThroughputDlg;
    // The survey log outlives Link History's window, which controls it.
    CSurveyLog m_survey;
    std::unique_ptr<CLinkHistoryDlg> m_pHistoryDlg;
    int m_xPos, m_yPos, m_nWidth, m_nHeight, m_fMaximized, m_fMinimized;
    CFlatIconButton m_buttons[4];
    CTrayNotifyIcon m_tray;
    CAboutDlg* m_pAboutDlg;
    CPrefsDlg* m_pPrefsDlg;
    CLinkMonitor m_monitor;
    CProfileCommands m_profiles;
    bool m_bIconShown;

    bool m_bInfraWatcher; // which kind of watcher the card asked for last
    bool m_bAdHocAtStart; // the card's network type as read at start-up, for the monitor

    bool m_bMonitoring;
    bool m_bFailureRecorded; // the history knows the monitor stopped for good
    UINT m_nMonitorPeriod;
    // The shell refused the icon: no icon for this run unless the user asks
    // again in Preferences; the stored choice is left alone.
    bool m_bTrayFailedThisRun;
    bool m_bTipsTried; // the buttons' tips were made, or refused
};
