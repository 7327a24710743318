// TrayMenuDemo.cpp - shows the notification icon's pop-up menu over the
// desktop for a while, for a screenshot: `tray_menu_demo [ms] [downs]` holds
// the menu open for ms milliseconds with the item `downs` steps down
// highlighted, then closes it. The menu's owner stands in for the tool
// window: template 1247 at the top right with its four flat icon buttons,
// the first one hot.
#include "app/CTrayNotifyIcon.h"
#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include "res/resource.h"
#include "widgets/CFlatIconButton.h"

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
class DemoOwner : public CDialog
{
public:
    DemoOwner() : CDialog(IDD_MAINTOOL) {}
    BOOL OnInitDialog() override
    {
        const UINT pairs[4][3] = {
            {IDC_BTN_PROPERTIES, IDI_PROPERTIES_HOT, IDI_PROPERTIES_NORMAL},
            {IDC_BTN_WATCHER, IDI_WATCHER_HOT, IDI_WATCHER_NORMAL},
            {IDC_BTN_SIGNAL, IDI_SIGNAL_HOT, IDI_SIGNAL_NORMAL},
            {IDC_BTN_THROUGHPUT, IDI_THROUGHPUT_HOT, IDI_THROUGHPUT_NORMAL},
        };
        for (int i = 0; i < 4; ++i) {
            m_buttons[i].SubclassDlgItem(pairs[i][0], this);
            m_buttons[i].SetIcons(pairs[i][1], pairs[i][2], 32, 32);
        }
        return TRUE;
    }
    BOOL OnCommand(WPARAM, LPARAM) override { return TRUE; }
    CFlatIconButton m_buttons[4];
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
    owner.Create((HWND) nullptr);
    RECT rc;
    owner.GetWindowRect(&rc);
    ::SetWindowPos(owner, HWND_TOPMOST, ::GetSystemMetrics(SM_CXSCREEN) - (rc.right - rc.left), 1,
                   0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SetForegroundWindow(owner);
    owner.m_buttons[0].SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    ::UpdateWindow(owner);
    CTrayNotifyIcon tray;
    HICON icon =
        (HICON)::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_QUALITY_GOOD),
                            IMAGE_ICON, 16, 16, LR_SHARED);
    if (!tray.Create(&owner, 1, "Quality: 100%", icon, 2215))
        return 1;
    ::SetCursorPos(420, 200);
    g_start = ::GetTickCount();
    ::SetTimer(nullptr, 0, 200, Step);
    tray.OnTrayNotification(1, WM_RBUTTONUP);
    return 0;
}
