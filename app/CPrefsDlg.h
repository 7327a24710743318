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
    // The taskbar box shows the stored choice, also after the shell refused
    // the icon: OK stores the box as it is, so an unticked box turns the
    // icon off for good.
    explicit CPrefsDlg(CWnd* parent = nullptr);

    // After OK: the user clicked the taskbar box in this opening and left it
    // ticked, an asking for the icon now (also when it was refused before).
    bool TrayIconTickedByUser() const { return m_bTrayTicked; }

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
    bool m_bTrayClicked;    // the user clicked the taskbar box in this opening
    bool m_bTrayTicked;
};
