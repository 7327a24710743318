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
#include "tests/tool/ToolScenarios.h"
#include "tools/CSignalDlg.h"

#include <cstdlib>
#include <string>

namespace {

// The demo's notification icon is not put in the taskbar.
BOOL WINAPI NoShell(DWORD, PNOTIFYICONDATAA)
{
    return TRUE;
}

void Pump(DWORD ms)
{
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(20);
    }
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
    PlatformKind = PLATFORM_NT_WORKSTATION;
    IoBase = card.IoBase();
    OpenMailbox();
    AdapterReady = true;
    DriverKeyValid = true;

    CMainToolDlg tool;
    tool.Create((HWND)nullptr);
    tool.ShowWindow(SW_SHOW);
    tool.OpenTool(CMainToolDlg::TOOL_SIGNAL);
    CSignalDlg* signal = tool.GetSignalWindow();
    RECT rc;
    tool.GetWindowRect(&rc);
    if (signal && signal->m_hWnd) {
        ::SetWindowPos(*signal, nullptr, rc.left - 240, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        signal->SetQualityText(quality);
        signal->Repaint();
    }
    CPrefsDlg prefs(&tool);
    prefs.Create(&tool);
    ::SetWindowPos(prefs, nullptr, 40, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    prefs.ShowWindow(SW_SHOW);
    // The tool window in front, the mouse over its signal button.
    ::SetForegroundWindow(tool);
    tool.GetButton(2).SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    Pump(holdMs);
    ResetAdapterState();
    ::ExitProcess(0); // the windows go with the process
}
