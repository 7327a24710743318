// TrayMenuDemo.cpp - shows the notification icon's pop-up menu over the
// desktop for a while, for a screenshot: `tray_menu_demo [ms] [downs]` holds
// the menu open for ms milliseconds with the item `downs` steps down
// highlighted, then closes it.
#include "app/CTrayNotifyIcon.h"
#include "framework/CWinApp.h"
#include "res/resource.h"

#include <cstdlib>
#include <cstring>

namespace {

int g_holdMs = 5000;
int g_downs = 2;
DWORD g_start = 0;
bool g_keysSent = false;

void CALLBACK Step(HWND, UINT, UINT_PTR, DWORD)
{
    HWND menu = ::FindWindowA("#32768", nullptr);
    if (menu && !g_keysSent) {
        g_keysSent = true;
        for (int i = 0; i < g_downs; ++i)
            ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    }
    if (::GetTickCount() - g_start > (DWORD)g_holdMs)
        ::EndMenu();
}

// The window that owns the menu, standing in for the tool window.
class DemoOwner : public CWnd
{
public:
    BOOL OnCommand(WPARAM wParam, LPARAM) override { return TRUE; }
};

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmdLine, int)
{
    if (cmdLine && *cmdLine)
        g_holdMs = std::atoi(cmdLine);
    if (const char* space = cmdLine ? std::strchr(cmdLine, ' ') : nullptr)
        g_downs = std::atoi(space + 1);
    CWinApp app("Corvane");
    DemoOwner owner;
    owner.CreateEx(WS_EX_TOOLWINDOW, nullptr, "Corvane Utility", WS_POPUP | WS_CAPTION, 700, 40,
                   150, 60, nullptr, nullptr);
    CTrayNotifyIcon tray;
    HICON icon = (HICON)::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_QUALITY_GOOD),
                                     IMAGE_ICON, 16, 16, LR_SHARED);
    if (!tray.Create(&owner, 1, "Quality: 100%", icon, 2215))
        return 1;
    ::SetCursorPos(420, 200);
    g_start = ::GetTickCount();
    ::SetTimer(nullptr, 0, 200, Step);
    tray.OnTrayNotification(1, WM_RBUTTONUP);
    return 0;
}
