// BenchMeasure.h - what the timing programs measure: the thread's CPU time,
// the wall clock, the process's memory and GUI objects, and a simulated card
// opened as start-up would open it.
#pragma once

#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "adapter/Mailbox.h"
#include "adapter/PortAccess.h"
#include "tests/support/SimCard.h"

#include <windows.h>

#include <psapi.h>

// This thread's CPU time (kernel and user) in milliseconds.
inline double ThreadCpuMs()
{
    FILETIME created, exited, kernel, user;
    ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return (double)(((ULONGLONG)t.dwHighDateTime << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

// The wall clock in milliseconds.
inline double NowMs()
{
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return 1000.0 * (double)c.QuadPart / (double)f.QuadPart;
}

struct Memory
{
    size_t workingSet, privateBytes;
    DWORD gdi, user;
};

inline Memory Measure()
{
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof(pmc);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &pmc, sizeof(pmc));
    return {pmc.WorkingSetSize, pmc.PagefileUsage,
            ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS),
            ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS)};
}

// The card opened on the Windows NT path, as start-up leaves it.
inline void OpenCard(SimCard& card)
{
    ResetAdapterState();
    GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
    GetAdapterLink().IoBase = card.IoBase();
    OpenMailbox();
    GetAdapterLink().AdapterReady = true;
    GetAdapterLink().DriverKeyValid = true;
}
