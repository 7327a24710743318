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
    explicit CPrefsDlg(CWnd* parent = nullptr);

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
};
