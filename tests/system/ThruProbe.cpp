// ThruProbe.cpp - the throughput system tests' eyes and hands on the
// program's dialogs, from a second process on the same display:
//
//   thruprobe item <title prefix> <control id>    prints the control's text
//   thruprobe visible <title prefix> <control id> succeeds when it is shown
//   thruprobe command <title prefix> <id>         posts WM_COMMAND id
//   thruprobe ctrl-alt <title prefix> <key>       types Ctrl+Alt+key into it
//   thruprobe rect <title prefix> -               prints the window's "WxH+X+Y"
//   thruprobe colors <title prefix> <class>       prints "green N cyan N": the
//                                                 green and cyan pixels on screen
//                                                 of the child window of that class
// Exit code 0 on success, 1 when the window or control is missing.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Search
{
    const char* prefix;
    HWND found;
};

BOOL CALLBACK FindByTitle(HWND hWnd, LPARAM lParam)
{
    Search* s = reinterpret_cast<Search*>(lParam);
    if (!IsWindowVisible(hWnd))
        return TRUE;
    char title[256] = "";
    GetWindowTextA(hWnd, title, sizeof(title));
    if (strncmp(title, s->prefix, strlen(s->prefix)) == 0) {
        s->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindTop(const char* prefix)
{
    for (int i = 0; i < 50; ++i) {
        Search s = {prefix, nullptr};
        EnumWindows(FindByTitle, reinterpret_cast<LPARAM>(&s));
        if (s.found)
            return s.found;
        Sleep(100);
    }
    return nullptr;
}

std::string ControlText(HWND ctrl)
{
    char text[512] = "";
    DWORD_PTR result = 0;
    SendMessageTimeoutA(ctrl, WM_GETTEXT, sizeof(text), (LPARAM)text, SMTO_ABORTIFHUNG, 5000,
                        &result);
    return text;
}

void Key(BYTE vk, bool up)
{
    keybd_event(vk, (BYTE)MapVirtualKeyA(vk, 0), up ? KEYEVENTF_KEYUP : 0, 0);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: thruprobe item|visible|command|ctrl-alt|colors <title> <arg>\n");
        return 2;
    }
    const std::string verb = argv[1];
    HWND top = FindTop(argv[2]);
    if (!top)
        return 1;
    if (verb == "item" || verb == "visible") {
        HWND ctrl = GetDlgItem(top, atoi(argv[3]));
        if (!ctrl)
            return 1;
        if (verb == "visible")
            return IsWindowVisible(ctrl) ? 0 : 1;
        printf("%s\n", ControlText(ctrl).c_str());
        return 0;
    }
    if (verb == "rect") {
        RECT rc;
        GetWindowRect(top, &rc);
        printf("%ldx%ld+%ld+%ld\n", rc.right - rc.left, rc.bottom - rc.top, rc.left, rc.top);
        return 0;
    }
    if (verb == "command")
        return PostMessageA(top, WM_COMMAND, MAKEWPARAM(atoi(argv[3]), BN_CLICKED), 0) ? 0 : 1;
    if (verb == "ctrl-alt") {
        // The keys go to the window once it is the foreground window.
        SetForegroundWindow(top);
        SetActiveWindow(top);
        for (DWORD start = GetTickCount(); GetForegroundWindow() != top; Sleep(20))
            if (GetTickCount() - start > 15000)
                return 1;
        // and once its thread has taken the activation (a message sent after
        // it is answered only then).
        DWORD_PTR answered = 0;
        SendMessageTimeoutA(top, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 15000, &answered);
        const BYTE key = (BYTE)toupper((unsigned char)argv[3][0]);
        Key(VK_CONTROL, false);
        Key(VK_MENU, false);
        Key(key, false);
        Key(key, true);
        Key(VK_MENU, true);
        Key(VK_CONTROL, true);
        return 0;
    }
    if (verb == "colors") {
        HWND chart = FindWindowExA(top, nullptr, argv[3], nullptr);
        if (!chart)
            return 1;
        // Read from the screen: the chart is drawn over a dark blue ground
        // and its traces may carry some of that blue.
        RECT rc;
        GetWindowRect(chart, &rc);
        HDC dc = GetDC(nullptr);
        int green = 0, cyan = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x) {
                COLORREF c = GetPixel(dc, x, y);
                int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
                if (r < 60 && g > 200 && b < 100)
                    ++green;
                else if (r < 60 && g > 200 && b > 200)
                    ++cyan;
            }
        ReleaseDC(nullptr, dc);
        printf("green %d cyan %d\n", green, cyan);
        return 0;
    }
    fprintf(stderr, "thruprobe: unknown request\n");
    return 2;
}
