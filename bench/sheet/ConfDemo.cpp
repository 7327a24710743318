// ConfDemo.cpp - shows the Configuration page in a property sheet, then the
// Advanced Configuration dialog, then the restart question, for screenshots
// (bench/sheet/conf-screenshots.sh answers the dialog and the question).
// Against the simulated card in process; nothing is restarted.
#include "adapter/AdapterDiscovery.h"
#include "adapter/Mailbox.h"
#include "adapter/PortAccess.h"
#include "app/CAdapterReporter.h"
#include "framework/CPropertySheet.h"
#include "framework/CWinApp.h"
#include "framework/Os.h"
#include "res/resource.h"
#include "sheet/CConfDlg.h"
#include "tests/support/RegistryFixture.h"
#include "tests/support/SimCard.h"
#include "tests/support/TestWindows.h"

#include <cstdlib>

namespace {

const char* const kDriverKey = "System\\CurrentControlSet\\Services\\CorvaneConfDemo\\Parameters";

BOOL WINAPI NoRestart(UINT, DWORD)
{
    return TRUE;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int holdMs = __argc > 1 ? atoi(__argv[1]) : 4000;
    OsGuard guard;
    g_os.ExitWindowsEx = NoRestart;
    CWinApp app("CorvaneConfDemo");
    // The card's texts and the adapter's boxes as the program has them: the
    // page tells a PC Card by the bus type's text.
    CAdapterReporter reporter;
    SetAdapterReporter(&reporter);
    app.SetRegistryKey("KVR");
    RegistryFixture reg;
    reg.Own(HKEY_CURRENT_USER, app.GetProfileKeyPath());
    reg.Own(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\CorvaneConfDemo");
    reg.CreateKey(HKEY_LOCAL_MACHINE, kDriverKey);
    reg.SetString(HKEY_LOCAL_MACHINE, kDriverKey, "ESSID", "Corvane");
    reg.SetString(HKEY_LOCAL_MACHINE, kDriverKey, "SecurityID", "");
    reg.SetDword(HKEY_LOCAL_MACHINE, kDriverKey, "NetworkType", 1);
    reg.SetDword(HKEY_LOCAL_MACHINE, kDriverKey, "CarrierSet", 0);
    reg.SetDword(HKEY_LOCAL_MACHINE, kDriverKey, "Roaming", 1);
    reg.SetString(HKEY_LOCAL_MACHINE, kDriverKey, "PreferBSSID", "00A0C5000002");
    app.WriteProfileInt("Private", "AdvConfig", 1);

    SimCard card;
    ResetAdapterState();
    GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
    GetAdapterLink().IoBase = card.IoBase();
    GetAdapterLink().AdapterCardType = 1;
    OpenMailbox();
    GetAdapterLink().AdapterReady = true;
    GetAdapterLink().DriverKeyPath = kDriverKey;
    GetAdapterLink().DriverKeyValid = true;

    CPropertySheet sheet(IDS_PROPERTIES_CAPTION, nullptr, 0, PSH_HASHELP | PSH_NOAPPLYNOW);
    CConfDlg page;
    sheet.AddPage(&page);
    sheet.KeepStandardButtons();
    if (!sheet.Create())
        return 1;
    PumpFor(holdMs);
    page.OnAdvancedConfig(); // until the script ends it
    PumpFor(500);
    ::SendDlgItemMessageA(page.m_hWnd, IDC_CONF_CARRIER_SET, CB_SETCURSEL, 2, 0);
    page.OnApply(); // the restart question, until the script answers it
    sheet.EndSheet(IDCANCEL);
    ResetAdapterState();
    return 0;
}
