// MsgProbe.cpp - the system tests' eyes and hands on a running machine: finds
// message boxes and windows of the programs in its Wine prefix, reads them
// and answers them.
//
//   msgprobe box [timeout ms]          prints "caption|text" of a message box
//   msgprobe none [ms]                 succeeds when no message box shows up
//   msgprobe press <button id> [ms]    presses a button of the message box
//   msgprobe window <title prefix> [ms] succeeds when such a window shows
//   msgprobe title <title prefix> [ms]  prints the whole title of such a window
//   msgprobe tray                       prints the colours in the system tray:
//                                       "red N green N" (strong pixels of each)
//   msgprobe answers <title prefix> [ms] succeeds when such a window takes a
//                                      message within the wait (not frozen)
//   msgprobe gone <title prefix> [ms]  succeeds when no such window remains
//   msgprobe count <title>              prints how many visible windows bear
//                                       exactly this title
//   msgprobe item <title prefix> <control id> [ms]
//                                       prints the text of a control anywhere
//                                       inside such a window (pages included)
//   msgprobe enabled <title prefix> <control id>
//                                       succeeds when that control is enabled
//   msgprobe set-item <title prefix> <control id> <text>
//                                       sets the text of that control
//   msgprobe command <title prefix> <id> posts WM_COMMAND id to such a window
//   msgprobe page <title prefix> <index> turns such a property sheet to a page
//   msgprobe post <title prefix> <message> <wParam> <lParam>
//                                       posts a message to such a window (the
//                                       shell's notification icon callback)
//   msgprobe keys <key>...              once a menu shows, types keys where
//                                       the input goes: down, up, left,
//                                       right, enter, escape
// Newlines in texts print as \n. Exit code 0 on success, 1 on time-out.
#include <windows.h>

#include <prsht.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Search
{
    const char* titlePrefix; // null: any message box
    HWND found;
};

// A message box holds its text (0xFFFF), its icon (0x440) and buttons
// IDOK to IDCONTINUE; a dialog of the program's own has other controls.
BOOL CALLBACK ForeignControl(HWND child, LPARAM lParam)
{
    int id = GetDlgCtrlID(child) & 0xFFFF;
    if (!(id == 0xFFFF || id == 0x440 || (id >= IDOK && id <= 11))) {
        *reinterpret_cast<bool*>(lParam) = true;
        return FALSE;
    }
    return TRUE;
}

bool OnlyMessageBoxControls(HWND dlg)
{
    bool foreign = false;
    EnumChildWindows(dlg, ForeignControl, reinterpret_cast<LPARAM>(&foreign));
    return !foreign;
}

BOOL CALLBACK FindWindowCallback(HWND hWnd, LPARAM lParam)
{
    Search* s = reinterpret_cast<Search*>(lParam);
    if (!IsWindowVisible(hWnd))
        return TRUE;
    char title[256] = "";
    GetWindowTextA(hWnd, title, sizeof(title));
    if (s->titlePrefix) {
        if (strncmp(title, s->titlePrefix, strlen(s->titlePrefix)) == 0) {
            s->found = hWnd;
            return FALSE;
        }
        return TRUE;
    }
    char cls[64] = "";
    GetClassNameA(hWnd, cls, sizeof(cls));
    // A message box: a dialog with the message text control (id 0xFFFF)
    // and nothing but its buttons and icon beside it.
    if (strcmp(cls, "#32770") == 0 && GetDlgItem(hWnd, 0xFFFF) && OnlyMessageBoxControls(hWnd)) {
        s->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

struct Count
{
    const char* title;
    int found;
};

BOOL CALLBACK CountCallback(HWND hWnd, LPARAM lParam)
{
    Count* c = reinterpret_cast<Count*>(lParam);
    char title[256] = "";
    if (IsWindowVisible(hWnd) && GetWindowTextA(hWnd, title, sizeof(title)) &&
        strcmp(title, c->title) == 0)
        ++c->found;
    return TRUE;
}

HWND WaitFor(const char* titlePrefix, DWORD timeout)
{
    DWORD start = GetTickCount();
    for (;;) {
        Search s = {titlePrefix, nullptr};
        EnumWindows(FindWindowCallback, reinterpret_cast<LPARAM>(&s));
        if (s.found)
            return s.found;
        if (GetTickCount() - start >= timeout)
            return nullptr;
        Sleep(100);
    }
}

std::string Text(HWND hWnd)
{
    char buffer[2048] = "";
    GetWindowTextA(hWnd, buffer, sizeof(buffer));
    std::string out;
    for (const char* p = buffer; *p; ++p) {
        if (*p == '\n')
            out += "\\n";
        else if (*p != '\r')
            out += *p;
    }
    return out;
}

struct ItemSearch
{
    int id;
    HWND found;
};

BOOL CALLBACK FindItemCallback(HWND hWnd, LPARAM lParam)
{
    ItemSearch* s = reinterpret_cast<ItemSearch*>(lParam);
    if (GetDlgCtrlID(hWnd) == s->id) {
        s->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

// A control by ID at any depth below a window (a sheet's page controls are
// its grandchildren).
HWND FindItem(HWND window, int id)
{
    ItemSearch s = {id, nullptr};
    EnumChildWindows(window, FindItemCallback, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND WaitForItem(const char* titlePrefix, int id, DWORD timeout)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = WaitFor(titlePrefix, 0);
        HWND item = window ? FindItem(window, id) : nullptr;
        if (item)
            return item;
        if (GetTickCount() - start >= timeout)
            return nullptr;
        Sleep(100);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: msgprobe box|none|press|window|gone ...\n");
        return 2;
    }
    std::string verb = argv[1];
    auto timeoutArg = [&](int index, DWORD fallback) {
        return argc > index ? (DWORD)strtoul(argv[index], nullptr, 10) : fallback;
    };
    if (verb == "box") {
        HWND box = WaitFor(nullptr, timeoutArg(2, 10000));
        if (!box)
            return 1;
        printf("%s|%s\n", Text(box).c_str(), Text(GetDlgItem(box, 0xFFFF)).c_str());
        return 0;
    }
    if (verb == "none")
        return WaitFor(nullptr, timeoutArg(2, 3000)) ? 1 : 0;
    if (verb == "press" && argc > 2) {
        HWND box = WaitFor(nullptr, timeoutArg(3, 10000));
        if (!box)
            return 1;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(atoi(argv[2]), BN_CLICKED), 0);
        return 0;
    }
    if (verb == "window" && argc > 2)
        return WaitFor(argv[2], timeoutArg(3, 10000)) ? 0 : 1;
    if (verb == "title" && argc > 2) {
        HWND window = WaitFor(argv[2], timeoutArg(3, 10000));
        if (!window)
            return 1;
        printf("%s\n", Text(window).c_str());
        return 0;
    }
    if (verb == "answers" && argc > 2) { // the window's thread takes a message within the wait
        HWND window = WaitFor(argv[2], 5000);
        DWORD_PTR result = 0;
        return window && SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                             timeoutArg(3, 5000), &result)
                   ? 0
                   : 1;
    }
    if (verb == "gone" && argc > 2) {
        DWORD timeout = timeoutArg(3, 10000), start = GetTickCount();
        while (WaitFor(argv[2], 0)) {
            if (GetTickCount() - start >= timeout)
                return 1;
            Sleep(100);
        }
        return 0;
    }
    if (verb == "count" && argc > 2) {
        Count c = {argv[2], 0};
        EnumWindows(CountCallback, reinterpret_cast<LPARAM>(&c));
        printf("%d\n", c.found);
        return 0;
    }
    if (verb == "item" && argc > 3) {
        HWND item = WaitForItem(argv[2], atoi(argv[3]), timeoutArg(4, 10000));
        if (!item)
            return 1;
        static char text[70000];
        DWORD_PTR length = 0;
        SendMessageTimeoutA(item, WM_GETTEXT, sizeof(text), (LPARAM)text, SMTO_ABORTIFHUNG, 5000,
                            &length);
        printf("%s\n", text);
        return 0;
    }
    if (verb == "enabled" && argc > 3) {
        HWND item = WaitForItem(argv[2], atoi(argv[3]), 10000);
        return item && IsWindowEnabled(item) ? 0 : 1;
    }
    if (verb == "set-item" && argc > 4) {
        HWND item = WaitForItem(argv[2], atoi(argv[3]), 10000);
        DWORD_PTR result = 0;
        return item && SendMessageTimeoutA(item, WM_SETTEXT, 0, (LPARAM)argv[4], SMTO_ABORTIFHUNG,
                                           5000, &result)
                   ? 0
                   : 1;
    }
    if (verb == "command" && argc > 3) {
        HWND window = WaitFor(argv[2], 10000);
        return window && PostMessageA(window, WM_COMMAND, MAKEWPARAM(atoi(argv[3]), BN_CLICKED), 0)
                   ? 0
                   : 1;
    }
    if (verb == "page" && argc > 3) {
        HWND sheet = WaitFor(argv[2], 10000);
        DWORD_PTR result = 0;
        return sheet && SendMessageTimeoutA(sheet, PSM_SETCURSEL, atoi(argv[3]), 0,
                                            SMTO_ABORTIFHUNG, 10000, &result)
                   ? 0
                   : 1;
    }
    if (verb == "post" && argc > 5) {
        HWND window = WaitFor(argv[2], 10000);
        return window && PostMessageA(window, (UINT)strtoul(argv[3], nullptr, 0),
                                      (WPARAM)strtoul(argv[4], nullptr, 0),
                                      (LPARAM)strtoul(argv[5], nullptr, 0))
                   ? 0
                   : 1;
    }
    if (verb == "keys" && argc > 2) {
        // The menu's own window class: the keys go to it once it shows.
        DWORD start = GetTickCount();
        HWND menu = nullptr;
        while (!(menu = FindWindowA("#32768", nullptr)) || !IsWindowVisible(menu)) {
            if (GetTickCount() - start >= 10000)
                return 1;
            Sleep(100);
        }
        static const struct
        {
            const char* name;
            WORD vk;
        } kKeys[] = {{"down", VK_DOWN},   {"up", VK_UP},        {"left", VK_LEFT},
                     {"right", VK_RIGHT}, {"enter", VK_RETURN}, {"escape", VK_ESCAPE}};
        for (int i = 2; i < argc; ++i) {
            WORD vk = 0;
            for (const auto& key : kKeys)
                if (strcmp(argv[i], key.name) == 0)
                    vk = key.vk;
            if (!vk)
                return 2;
            INPUT input[2] = {};
            input[0].type = input[1].type = INPUT_KEYBOARD;
            input[0].ki.wVk = input[1].ki.wVk = vk;
            input[1].ki.dwFlags = KEYEVENTF_KEYUP;
            if (SendInput(2, input, sizeof(INPUT)) != 2)
                return 1;
        }
        return 0;
    }
    if (verb == "tray") {
        // Wine shows notification icons in a window of its own when there
        // is no desktop window; count the clearly red and green pixels.
        // On a virtual desktop they sit at the right end of its taskbar,
        // whose start button on the left has red in it: count only there.
        HWND tray = FindWindowA(nullptr, "Wine System Tray");
        bool taskbar = false;
        if (!tray) {
            tray = FindWindowA("Shell_TrayWnd", nullptr);
            taskbar = true;
        }
        if (!tray)
            return 1;
        RECT rc;
        GetClientRect(tray, &rc);
        if (taskbar)
            rc.left = rc.right - rc.right / 4;
        HDC dc = GetDC(tray);
        int red = 0, green = 0;
        for (int y = 0; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x) {
                COLORREF c = GetPixel(dc, x, y);
                int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
                if (r > 180 && g < 90 && b < 90)
                    ++red;
                else if (g > 150 && r < 100 && b < 100)
                    ++green;
            }
        ReleaseDC(tray, dc);
        printf("red %d green %d\n", red, green);
        return 0;
    }
    fprintf(stderr, "msgprobe: unknown request\n");
    return 2;
}
