// WideRuntimeImports.cpp - the three wide kernel functions that the C and
// C++ runtime linked into the program import, served through their ANSI
// forms. Windows 95 and 98 export CreateSemaphoreW, GetModuleHandleW and
// LoadLibraryW as stubs that fail (Microsoft Layer for Unicode: "supported
// on Windows 95/98/Me" only through it); the runtime's thread support makes
// its locks with CreateSemaphoreW. Defining the import slots here, before the
// runtime's libraries are searched, keeps the kernel's wide entries out of
// the program's import table. Only corvane.exe links this file.
#include <windows.h>

#include <string>

namespace {

// The name in the ANSI code page (WideCharToMultiByte works on Windows 95).
std::string Ansi(LPCWSTR text)
{
    int len = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(len > 0 ? len : 1, '\0');
    if (len > 0)
        ::WideCharToMultiByte(CP_ACP, 0, text, -1, &ansi[0], len, nullptr, nullptr);
    return ansi;
}

HANDLE WINAPI CreateSemaphoreAnsi(LPSECURITY_ATTRIBUTES sa, LONG initial, LONG maximum,
                                  LPCWSTR name)
{
    return ::CreateSemaphoreA(sa, initial, maximum, name ? Ansi(name).c_str() : nullptr);
}

HMODULE WINAPI GetModuleHandleAnsi(LPCWSTR name)
{
    return ::GetModuleHandleA(name ? Ansi(name).c_str() : nullptr);
}

HMODULE WINAPI LoadLibraryAnsi(LPCWSTR name)
{
    return name ? ::LoadLibraryA(Ansi(name).c_str()) : nullptr;
}

} // namespace

// The import slots the runtime calls through (i386 names, stdcall sizes).
extern "C" {
extern __attribute__((used)) const void* const g_createSemaphoreW __asm__(
    "__imp__CreateSemaphoreW@16") = reinterpret_cast<const void*>(&CreateSemaphoreAnsi);
extern __attribute__((used)) const void* const g_getModuleHandleW __asm__(
    "__imp__GetModuleHandleW@4") = reinterpret_cast<const void*>(&GetModuleHandleAnsi);
extern __attribute__((used)) const void* const g_loadLibraryW __asm__("__imp__LoadLibraryW@4") =
    reinterpret_cast<const void*>(&LoadLibraryAnsi);
}
