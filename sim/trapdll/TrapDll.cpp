// TrapDll.cpp - the simulated Windows 95/98 machine's version.dll: puts the
// port trap into the program that loads it, which then runs its IN and OUT
// instructions on the simulated card as it would on the real one. The
// program itself carries no part of the simulation.
#include <windows.h>

#include "sim/PortTrap.h"

extern "C" {

// The simulated machine installs no files from setup programs.
DWORD WINAPI ProxyVerInstallFileA(DWORD, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPSTR,
                                  PUINT tmpLength)
{
    if (tmpLength)
        *tmpLength = 0;
    return VIF_CANNOTREADSRC;
}

DWORD WINAPI ProxyVerInstallFileW(DWORD, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, LPWSTR,
                                  PUINT tmpLength)
{
    if (tmpLength)
        *tmpLength = 0;
    return VIF_CANNOTREADSRC;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        ::DisableThreadLibraryCalls(instance);
        InstallPortTrapIfWine();
    }
    return TRUE;
}

} // extern "C"
