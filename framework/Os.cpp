// Os.cpp - the production entries of the operating-system call table.
#include "framework/Os.h"

#include <cderr.h>
#include <shellapi.h>

namespace {

// The processor's port instructions. On Windows 95/98 a user program may
// execute them; elsewhere they fault (and are trapped, see sim/PortTrap).
BYTE InByteReal(WORD port)
{
    BYTE value;
    __asm__ __volatile__("inb %w1, %b0" : "=a"(value) : "Nd"(port));
    return value;
}

WORD InWordReal(WORD port)
{
    WORD value;
    __asm__ __volatile__("inw %w1, %w0" : "=a"(value) : "Nd"(port));
    return value;
}

void OutByteReal(WORD port, BYTE value)
{
    __asm__ __volatile__("outb %b0, %w1" : : "a"(value), "Nd"(port));
}

void OutWordReal(WORD port, WORD value)
{
    __asm__ __volatile__("outw %w0, %w1" : : "a"(value), "Nd"(port));
}

// The restart's token calls. Windows 95 documents its security functions
// only as "not supported", not which of them its advapi32.dll exports: so
// they are looked up when called, never imported, and a system without one
// gets the failure its stub would give.
template <typename Fn> Fn AdvapiExport(const char* name)
{
    HMODULE advapi = ::GetModuleHandleA("advapi32.dll");
    return advapi ? reinterpret_cast<Fn>(::GetProcAddress(advapi, name)) : nullptr;
}

BOOL NotImplemented()
{
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
}

BOOL WINAPI OpenProcessTokenLookedUp(HANDLE process, DWORD access, PHANDLE token)
{
    typedef BOOL(WINAPI * Fn)(HANDLE, DWORD, PHANDLE);
    Fn fn = AdvapiExport<Fn>("OpenProcessToken");
    return fn ? fn(process, access, token) : NotImplemented();
}

BOOL WINAPI LookupPrivilegeValueLookedUp(LPCSTR system, LPCSTR name, PLUID luid)
{
    typedef BOOL(WINAPI * Fn)(LPCSTR, LPCSTR, PLUID);
    Fn fn = AdvapiExport<Fn>("LookupPrivilegeValueA");
    return fn ? fn(system, name, luid) : NotImplemented();
}

BOOL WINAPI AdjustTokenPrivilegesLookedUp(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES newState,
                                          DWORD length, PTOKEN_PRIVILEGES previous, PDWORD returned)
{
    typedef BOOL(WINAPI * Fn)(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD);
    Fn fn = AdvapiExport<Fn>("AdjustTokenPrivileges");
    return fn ? fn(token, disableAll, newState, length, previous, returned) : NotImplemented();
}

// The common dialogs serve only a file the user saves: loaded then, not at
// every start, since comdlg32 brings the print spooler's DLLs with it. A
// system that cannot load it has a dialog that could not start, as the
// dialogs themselves say when they cannot (CDERR_INITIALIZATION).
FARPROC DialogExport(const char* name)
{
    static HMODULE dialogs = nullptr;
    if (!dialogs)
        dialogs = ::LoadLibraryA("comdlg32.dll");
    return dialogs ? ::GetProcAddress(dialogs, name) : nullptr;
}

BOOL WINAPI GetSaveFileNameLoaded(LPOPENFILENAMEA ofn)
{
    typedef BOOL(WINAPI * Fn)(LPOPENFILENAMEA);
    Fn fn = reinterpret_cast<Fn>(DialogExport("GetSaveFileNameA"));
    return fn ? fn(ofn) : FALSE;
}

DWORD WINAPI CommDlgExtendedErrorLoaded()
{
    typedef DWORD(WINAPI * Fn)();
    Fn fn = reinterpret_cast<Fn>(DialogExport("CommDlgExtendedError"));
    return fn ? fn() : CDERR_INITIALIZATION;
}

const OsApi kReal = {
    ::MessageBoxA,
    ::MessageBeep,
    ::WinHelpA,
    ::ShellExecuteA,
    ::WinExec,
    ::Sleep,
    ::GetTickCount,
    ::GetLocalTime,
    ::GetVersionExA,
    ::CreateFileA,
    ::DeviceIoControl,
    ::CloseHandle,
    InByteReal,
    InWordReal,
    OutByteReal,
    OutWordReal,
    ::SetPriorityClass,
    ::SetThreadPriority,
    ::ExitWindowsEx,
    OpenProcessTokenLookedUp,
    LookupPrivilegeValueLookedUp,
    AdjustTokenPrivilegesLookedUp,
    ::Shell_NotifyIconA,
    ::RegSetValueExA,
    ::RegDeleteKeyA,
    GetSaveFileNameLoaded,
    CommDlgExtendedErrorLoaded,
    ::WriteFile,
};

} // namespace

OsApi g_os = kReal;

const OsApi& RealOs()
{
    return kReal;
}
