// ToolWindowDemo.cpp - shows the tool window (against the simulated card),
// its signal quality window with a bar and the Preferences dialog for a
// while, for screenshots: `tool_window_demo [ms] [quality]`. Run it in a
// Wine virtual desktop so the windows get captions.
#include "adapter/AdapterDiscovery.h"
#include "adapter/Mailbox.h"
#include "adapter/PortAccess.h"
#include "app/CMainToolDlg.h"
#include "app/CPrefsDlg.h"
#include "app/CUtilityApp.h"
#include "framework/Os.h"
#include "res/resource.h"
#include "tests/support/SimCard.h"
#include "tests/support/TestWindows.h"
#include "tests/support/ToolScenarios.h"
#include "tools/CSignalDlg.h"

#include <cstdlib>
#include <string>

namespace {

// The demo's notification icon is not put in the taskbar.
BOOL WINAPI NoShell(DWORD, PNOTIFYICONDATAA)
{
    return TRUE;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int holdMs = __argc > 1 ? atoi(__argv[1]) : 8000;
    const char* quality = __argc > 2 ? __argv[2] : "72";

    OsGuard guard;
    g_os.Shell_NotifyIconA = NoShell;
    CUtilityApp app;
    app.m_args.clear();
    app.SetRegistryKey("KVR");
    SimCard card(kInfrastructure);
    GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
    GetAdapterLink().IoBase = card.IoBase();
    OpenMailbox();
    GetAdapterLink().AdapterReady = true;
    GetAdapterLink().DriverKeyValid = true;

    card.SetSignal(0, (uint16_t)atoi(quality)); // what the monitor will read
    CMainToolDlg tool;
    tool.Create((HWND) nullptr);
    tool.ShowWindow(SW_SHOW);
    tool.OpenTool(TOOL_SIGNAL);
    CSignalDlg* signal = tool.GetSignalWindow();
    if (signal && signal->m_hWnd) {
        signal->SetQuality(atoi(quality));
        signal->Repaint();
    }
    CPrefsDlg prefs(&tool);
    prefs.Create(&tool);
    prefs.ShowWindow(SW_SHOW);
    // The tool window in front, the mouse over its signal button.
    ::SetForegroundWindow(tool);
    HWND hot = tool.GetButton(2);
    PumpFor(holdMs, [hot] { ::SendMessageA(hot, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4)); });
    ResetAdapterState();
    ::ExitProcess(0); // the windows go with the process
}
