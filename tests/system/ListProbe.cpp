// ListProbe.cpp - the system tests' view of a list view in another program:
// reads its rows and cells through memory lent in that program's process,
// clicks a row with the mouse, and sends commands to the window it sits in.
//
//   listprobe rows <title prefix> <list id>          prints the row count
//   listprobe cells <title prefix> <list id> <col>   prints the column, a row a line
//   listprobe click <title prefix> <list id> <row>   clicks the row (left button)
//   listprobe command <title prefix> <id>            posts WM_COMMAND id to the window
//   listprobe enabled <title prefix> <id>            succeeds when the control is enabled
// Windows are found by a visible top-level window whose title starts with the
// prefix (waiting up to 10 s). Exit code 0 on success, 1 when not found.
#include <windows.h>

#include <commctrl.h>

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

BOOL CALLBACK FindTitled(HWND hWnd, LPARAM lParam)
{
    Search* s = reinterpret_cast<Search*>(lParam);
    char title[256] = "";
    GetWindowTextA(hWnd, title, sizeof title);
    if (IsWindowVisible(hWnd) && strncmp(title, s->prefix, strlen(s->prefix)) == 0) {
        s->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitFor(const char* prefix)
{
    for (int i = 0; i < 100; ++i) {
        Search s = {prefix, nullptr};
        EnumWindows(FindTitled, reinterpret_cast<LPARAM>(&s));
        if (s.found)
            return s.found;
        Sleep(100);
    }
    return nullptr;
}

// Memory in the list's process for one request and its answer.
class Remote
{
public:
    explicit Remote(HWND hWnd, size_t size) : m_size(size)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(hWnd, &pid);
        m_process =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (m_process)
            m_memory = VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~Remote()
    {
        if (m_memory)
            VirtualFreeEx(m_process, m_memory, 0, MEM_RELEASE);
        if (m_process)
            CloseHandle(m_process);
    }
    bool Ok() const { return m_memory != nullptr; }
    char* At(size_t offset) const { return static_cast<char*>(m_memory) + offset; }
    bool Put(size_t offset, const void* data, size_t size) const
    {
        return WriteProcessMemory(m_process, At(offset), data, size, nullptr) != FALSE;
    }
    bool Get(size_t offset, void* data, size_t size) const
    {
        return ReadProcessMemory(m_process, At(offset), data, size, nullptr) != FALSE;
    }

private:
    HANDLE m_process = nullptr;
    void* m_memory = nullptr;
    size_t m_size;
};

std::string CellText(HWND list, const Remote& remote, int row, int column)
{
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = remote.At(sizeof item);
    item.cchTextMax = 256;
    remote.Put(0, &item, sizeof item);
    char text[256] = "";
    if (SendMessageA(list, LVM_GETITEMTEXTA, row, (LPARAM)remote.At(0)) >= 0)
        remote.Get(sizeof item, text, sizeof text);
    text[sizeof text - 1] = '\0';
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: listprobe rows|cells|click|command|enabled <title> <id> [n]\n");
        return 2;
    }
    std::string verb = argv[1];
    HWND window = WaitFor(argv[2]);
    if (!window)
        return 1;
    int id = atoi(argv[3]);
    HWND control = GetDlgItem(window, id);
    if (verb == "command") {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)control);
        return 0;
    }
    if (!control)
        return 1;
    if (verb == "enabled")
        return IsWindowEnabled(control) ? 0 : 1;
    if (verb == "rows") {
        printf("%d\n", (int)SendMessageA(control, LVM_GETITEMCOUNT, 0, 0));
        return 0;
    }
    if (argc < 5)
        return 2;
    int n = atoi(argv[4]);
    Remote remote(control, 1024);
    if (!remote.Ok())
        return 1;
    if (verb == "cells") {
        int rows = (int)SendMessageA(control, LVM_GETITEMCOUNT, 0, 0);
        for (int r = 0; r < rows; ++r)
            printf("%s\n", CellText(control, remote, r, n).c_str());
        return 0;
    }
    if (verb == "click") {
        RECT rc = {LVIR_BOUNDS, 0, 0, 0};
        remote.Put(0, &rc, sizeof rc);
        if (!SendMessageA(control, LVM_GETITEMRECT, n, (LPARAM)remote.At(0)))
            return 1;
        remote.Get(0, &rc, sizeof rc);
        POINT pt = {rc.left + 8, (rc.top + rc.bottom) / 2};
        ClientToScreen(control, &pt);
        // The click goes to the window once it is in front and its thread
        // has taken the activation; the caller waits for what it does.
        SetForegroundWindow(window);
        for (DWORD start = GetTickCount(); GetForegroundWindow() != window; Sleep(20))
            if (GetTickCount() - start > 15000)
                return 1;
        DWORD_PTR answered = 0;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 15000, &answered);
        SetCursorPos(pt.x, pt.y);
        mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        return 0;
    }
    fprintf(stderr, "listprobe: unknown request\n");
    return 2;
}
