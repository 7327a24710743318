// CPrefsDlg.cpp - the Preferences dialog and the log-on start entry.
#include "app/CPrefsDlg.h"

#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "app/CUtilityApp.h"
#include "framework/DataExchange.h"
#include "res/resource.h"

const char RUN_KEY_PATH[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char RUN_VALUE_NAME[] = "Corvane";

namespace {
const char kPreferences[] = "Preferences";
} // namespace

CPrefsDlg::CPrefsDlg(CWnd* parent)
    : CDialog(IDD_PREFERENCES, parent), m_bTrayClicked(false), m_bTrayTicked(false)
{}

void CPrefsDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_PREFS_TRAY_ICON, m_trayIcon);
    DDX_Control(pDX, IDC_PREFS_ALERT_MESSAGE, m_alertMessage);
    DDX_Control(pDX, IDC_PREFS_ALERT_BEEP, m_alertBeep);
    DDX_Control(pDX, IDC_PREFS_AUTORUN, m_autoRun);
}

BOOL CPrefsDlg::OnInitDialog()
{
    UpdateData(FALSE);
    m_bTrayClicked = false;
    if (CUtilityApp* app = CUtilityApp::Get()) {
        m_trayIcon.SetChecked(app->EnableTrayIcon != 0);
        m_alertMessage.SetChecked(GetAdapterState().AlertMessage != 0);
        m_alertBeep.SetChecked(GetAdapterState().AlertBeep != 0);
        m_autoRun.SetChecked(app->AutoRun != 0);
    }
    return TRUE;
}

BOOL CPrefsDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDC_PREFS_CANCEL:
        OnCancel();
        return TRUE;
    case IDC_PREFS_HELP:
        AfxHelpKeyword(m_hWnd, IDS_PREFS_HELP_KEY, false);
        return TRUE;
    case IDC_PREFS_TRAY_ICON:
        if (HIWORD(wParam) == BN_CLICKED)
            m_bTrayClicked = true;
        break;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CPrefsDlg::OnOK()
{
    CUtilityApp* app = CUtilityApp::Get();
    if (!app) {
        EndDialog(IDOK);
        return;
    }
    app->EnableTrayIcon = m_trayIcon.IsChecked();
    m_bTrayTicked = m_bTrayClicked && m_trayIcon.IsChecked();
    GetAdapterState().AlertMessage = m_alertMessage.IsChecked();
    GetAdapterState().AlertBeep = m_alertBeep.IsChecked();
    app->AutoRun = m_autoRun.IsChecked();

    char path[MAX_PATH];
    lstrcpynA(path, app->m_szProgramPath, sizeof(path));
    if (!path[0]) {
        DWORD len = ::GetModuleFileNameA(nullptr, path, sizeof(path));
        if (len == 0 || len >= sizeof(path))
            path[0] = '\0';
    }
    UpdateRunEntry(app->AutoRun != 0, path);

    app->WriteProfileInt(kPreferences, "AlertBeep", GetAdapterState().AlertBeep);
    app->WriteProfileInt(kPreferences, "AlertMessage", GetAdapterState().AlertMessage);
    app->WriteProfileInt(kPreferences, "AutoRun", app->AutoRun);
    app->WriteProfileInt(kPreferences, "EnableTrayIcon", app->EnableTrayIcon);
    EndDialog(IDOK);
}

void CPrefsDlg::UpdateRunEntry(bool autoRun, const char* programPath)
{
    HKEY key = nullptr;
    if (autoRun) {
        // Like the driver settings, only while discovery found the driver's
        // key; and never an entry that would start nothing.
        if (!GetAdapterLink().DriverKeyValid || !programPath || !programPath[0])
            return;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, RUN_KEY_PATH, 0, KEY_SET_VALUE, &key) !=
            ERROR_SUCCESS)
            return;
        // The shell reads this value at log-on: its stored length counts the
        // terminating zero, as RegSetValueEx requires of REG_SZ data.
        ::RegSetValueExA(key, RUN_VALUE_NAME, 0, REG_SZ, reinterpret_cast<const BYTE*>(programPath),
                         lstrlenA(programPath) + 1);
        ::RegCloseKey(key);
        return;
    }
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, RUN_KEY_PATH, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    ::RegDeleteValueA(key, RUN_VALUE_NAME);
    ::RegCloseKey(key);
}
