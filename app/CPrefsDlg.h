// CPrefsDlg.h - the modal Preferences dialog: start the utility at log-on,
// show the notification icon, pop up a message and beep on alerts. OK
// stores the choices at once in the application object, the profile and,
// for the start at log-on, the system's Run key.
#pragma once

#include "framework/CButton.h"
#include "framework/CDialog.h"

// The log-on start entry: HKEY_LOCAL_MACHINE\<key>, value <name> = program path.
extern const char RUN_KEY_PATH[];
extern const char RUN_VALUE_NAME[];

class CPrefsDlg : public CDialog
{
public:
    // iconRefused: the shell refused the notification icon this run. The
    // taskbar box then shows the icon as it is (off); left so, OK keeps the
    // stored choice, ticked, it turns the icon on.
    explicit CPrefsDlg(CWnd* parent = nullptr, bool iconRefused = false);

    // After OK: the taskbar box was ticked.
    bool TrayIconTicked() const { return m_bTrayTicked; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    // Writes or removes the log-on start entry; failures are not reported.
    static void UpdateRunEntry(bool autoRun, const char* programPath);

    CButton m_trayIcon;     // 359
    CButton m_alertMessage; // 360
    CButton m_alertBeep;    // 361
    CButton m_autoRun;      // 358
    bool m_bIconRefused;
    bool m_bTrayTicked;
};
