// Os.cpp - the production entries of the operating-system call table.
#include "framework/Os.h"

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

const OsApi kReal = {
    ::MessageBoxA,
    ::MessageBeep,
    ::WinHelpA,
    ::ShellExecuteA,
    ::WinExec,
    ::Sleep,
    ::GetTickCount,
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
    ::OpenProcessToken,
    ::LookupPrivilegeValueA,
    ::AdjustTokenPrivileges,
    ::Shell_NotifyIconA,
    ::RegSetValueExA,
};

} // namespace

OsApi g_os = kReal;

const OsApi& RealOs()
{
    return kReal;
}
