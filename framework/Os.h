// Os.h - the narrow table of operating-system calls that have effects outside
// the process or that block. Production code calls through g_os; tests swap
// single entries with an OsGuard and get the originals back when it ends.
#pragma once

#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

static_assert(sizeof(OSVERSIONINFOA) == 148, "the first OSVERSIONINFOA layout");

// The Save dialog's structure as Windows 95 and NT 4.0 know it: mingw's
// header gives the later, larger one, which their common dialogs refuse.
const DWORD OPENFILENAME_FIRST_SIZE = 76;
static_assert(OPENFILENAME_FIRST_SIZE <= sizeof(OPENFILENAMEA), "a prefix of the structure");

struct OsApi
{
    // user interaction
    int(WINAPI* MessageBoxA)(HWND owner, LPCSTR text, LPCSTR caption, UINT style);
    BOOL(WINAPI* MessageBeep)(UINT type);
    BOOL(WINAPI* WinHelpA)(HWND owner, LPCSTR file, UINT command, ULONG_PTR data);
    HINSTANCE(WINAPI* ShellExecuteA)
    (HWND owner, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR dir, INT show);
    UINT(WINAPI* WinExec)(LPCSTR cmdLine, UINT show);

    // time
    void(WINAPI* Sleep)(DWORD ms);
    DWORD(WINAPI* GetTickCount)();
    void(WINAPI* GetLocalTime)(LPSYSTEMTIME time);

    // system identity; OSVERSIONINFOA of 148 bytes, as every caller sizes it
    // (the only size Windows 95 and NT 4.0 know: the Ex form is Windows 2000's)
    BOOL(WINAPI* GetVersionExA)(LPOSVERSIONINFOA info);

    // the port-I/O driver
    HANDLE(WINAPI* CreateFileA)
    (LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa, DWORD disposition,
     DWORD flags, HANDLE templ);
    BOOL(WINAPI* DeviceIoControl)
    (HANDLE dev, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize, LPDWORD returned,
     LPOVERLAPPED ov);
    BOOL(WINAPI* CloseHandle)(HANDLE h);

    // processor port instructions (direct path)
    BYTE (*InByte)(WORD port);
    WORD (*InWord)(WORD port);
    void (*OutByte)(WORD port, BYTE value);
    void (*OutWord)(WORD port, WORD value);

    // scheduling
    BOOL(WINAPI* SetPriorityClass)(HANDLE process, DWORD cls);
    BOOL(WINAPI* SetThreadPriority)(HANDLE thread, int priority);

    // restart
    BOOL(WINAPI* ExitWindowsEx)(UINT flags, DWORD reason);
    BOOL(WINAPI* OpenProcessToken)(HANDLE process, DWORD access, PHANDLE token);
    BOOL(WINAPI* LookupPrivilegeValueA)(LPCSTR system, LPCSTR name, PLUID luid);
    BOOL(WINAPI* AdjustTokenPrivileges)
    (HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES newState, DWORD length,
     PTOKEN_PRIVILEGES previous, PDWORD returned);

    // the taskbar notification area
    BOOL(WINAPI* Shell_NotifyIconA)(DWORD message, PNOTIFYICONDATAA data);
    // the registry writes of the driver's parameters and of the program's own
    // settings (a test refuses one in the middle of many)
    LONG(WINAPI* RegSetValueExA)
    (HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size);
    // the deletion of a key the program made (a network profile)
    LONG(WINAPI* RegDeleteKeyA)(HKEY key, LPCSTR subKey);

    // A file the user chooses: the common Save dialog (lStructSize
    // OPENFILENAME_FIRST_SIZE) and the writes to the file (a test fails one
    // as a full or removed disk would).
    BOOL(WINAPI* GetSaveFileNameA)(LPOPENFILENAMEA ofn);
    // Why the dialog gave no file: 0 when the user cancelled it.
    DWORD(WINAPI* CommDlgExtendedError)();
    BOOL(WINAPI* WriteFile)
    (HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED ov);
};

// The table in force. Filled with the real functions before main() runs.
extern OsApi g_os;

// The real functions, for a fake that wants to pass some calls through.
const OsApi& RealOs();

// Saves the whole table on construction and restores it on destruction, so a
// test can replace any entry and never leak a fake into the next test.
class OsGuard
{
public:
    OsGuard() : m_saved(g_os) {}
    ~OsGuard() { g_os = m_saved; }
    OsGuard(const OsGuard&) = delete;
    OsGuard& operator=(const OsGuard&) = delete;

private:
    OsApi m_saved;
};
