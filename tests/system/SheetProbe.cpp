// SheetProbe.cpp - the system tests' hands on the running program's
// "Corvane Properties" sheet, from another program on the same desktop.
//
//   sheetprobe page [ms]          prints the title of the page shown now
//   sheetprobe tab <index> [ms]   shows the page at that tab index
//   sheetprobe text <id> [ms]     prints the text of a control of the shown page
//   sheetprobe click <id> [ms]    clicks a button of the shown page
//   sheetprobe clipboard          prints the clipboard's text
//   sheetprobe rect [ms]          prints the sheet's screen rectangle as WxH+X+Y
//   sheetprobe ctrltab [ms]       types Ctrl+Tab on the keyboard into the sheet
// Exit code 0 on success, 1 when the sheet or the control is not there.
#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const kSheetTitle = "Corvane Properties";

HWND WaitForSheet(DWORD timeout)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND sheet = FindWindowA(nullptr, kSheetTitle);
        if (sheet && IsWindowVisible(sheet))
            return sheet;
        if (GetTickCount() - start >= timeout)
            return nullptr;
        Sleep(100);
    }
}

struct PageSearch
{
    HWND found;
};

BOOL CALLBACK FindShownPage(HWND hWnd, LPARAM lParam)
{
    char cls[64] = "";
    GetClassNameA(hWnd, cls, sizeof(cls));
    if (strcmp(cls, "#32770") == 0 && IsWindowVisible(hWnd)) {
        reinterpret_cast<PageSearch*>(lParam)->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND ShownPage(HWND sheet)
{
    PageSearch s = {nullptr};
    EnumChildWindows(sheet, FindShownPage, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::string TextOf(HWND hWnd)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(hWnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return std::string();
    std::vector<char> buffer(length + 1, '\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutA(hWnd, WM_GETTEXT, buffer.size(), (LPARAM)buffer.data(), SMTO_ABORTIFHUNG,
                        5000, &got);
    return std::string(buffer.data());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: sheetprobe page|tab|text|click|clipboard ...\n");
        return 2;
    }
    std::string verb = argv[1];
    auto timeoutArg = [&](int index, DWORD fallback) {
        return argc > index ? (DWORD)strtoul(argv[index], nullptr, 10) : fallback;
    };
    if (verb == "clipboard") {
        if (!OpenClipboard(nullptr))
            return 1;
        HANDLE data = GetClipboardData(CF_TEXT);
        const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
        if (text) {
            fwrite(text, 1, strlen(text), stdout);
            GlobalUnlock(data);
        }
        CloseClipboard();
        return text ? 0 : 1;
    }

    DWORD timeout =
        (verb == "page" || verb == "rect") ? timeoutArg(2, 10000) : timeoutArg(3, 10000);
    HWND sheet = WaitForSheet(timeout);
    if (!sheet)
        return 1;
    if (verb == "rect") {
        RECT rc;
        GetWindowRect(sheet, &rc);
        printf("%ldx%ld+%ld+%ld\n", rc.right - rc.left, rc.bottom - rc.top, rc.left, rc.top);
        return 0;
    }
    if (verb == "ctrltab") {
        SetForegroundWindow(sheet);
        INPUT keys[4] = {};
        const WORD vks[4] = {VK_CONTROL, VK_TAB, VK_TAB, VK_CONTROL};
        for (int i = 0; i < 4; ++i) {
            keys[i].type = INPUT_KEYBOARD;
            keys[i].ki.wVk = vks[i];
            keys[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
        }
        return SendInput(4, keys, sizeof(INPUT)) == 4 ? 0 : 1;
    }
    if (verb == "tab" && argc > 2) {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(sheet, PSM_SETCURSEL, atoi(argv[2]), 0, SMTO_ABORTIFHUNG,
                                   timeout, &result)
                   ? 0
                   : 1;
    }
    HWND page = ShownPage(sheet);
    if (!page)
        return 1;
    if (verb == "page") {
        printf("%s\n", TextOf(page).c_str());
        return 0;
    }
    if (argc < 3)
        return 2;
    HWND control = GetDlgItem(page, atoi(argv[2]));
    if (!control)
        return 1;
    if (verb == "text") {
        std::string text = TextOf(control);
        fwrite(text.data(), 1, text.size(), stdout);
        printf("\n");
        return 0;
    }
    if (verb == "click") {
        PostMessageA(page, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
                     (LPARAM)control);
        return 0;
    }
    return 2;
}
