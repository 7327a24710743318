// MonitorBench.cpp - what one link monitor tick costs the processor beyond
// the firmware's pauses: the tool window ticks against the simulated card,
// whose fake clock makes the mailbox's 50 ms pauses free, and the thread's
// CPU time and the wall time per tick are measured. Also one repaint of the
// signal window without its pauses, the card requests per tick, and the
// process's memory and GDI objects before and after (nothing may grow).
// `monitor_bench [ticks]`; prints one line per case.
#include "adapter/AdapterDiscovery.h"
#include "adapter/Mailbox.h"
#include "adapter/PortAccess.h"
#include "app/CMainToolDlg.h"
#include "app/CUtilityApp.h"
#include "bench/BenchMeasure.h"
#include "framework/Os.h"
#include "tests/support/SimCard.h"
#include "tests/support/ToolScenarios.h"
#include "tools/CSignalDlg.h"

#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>

namespace {

BOOL WINAPI NoShell(DWORD, PNOTIFYICONDATAA)
{
    return TRUE;
}

struct TickFigures
{
    double cpuPerTick, requestsPerTick;
};

TickFigures TickCase(const char* name, const char* scenario, bool realShell, bool signalOpen,
                     int ticks, bool trayIcon = true, bool changing = false)
{
    OsGuard guard;
    CUtilityApp::Get()->EnableTrayIcon = trayIcon;
    if (!realShell)
        g_os.Shell_NotifyIconA = NoShell;
    SimCard card(scenario);
    OpenCard(card);
    CMainToolDlg tool;
    tool.Create((HWND) nullptr);
    ::KillTimer(tool, CMainToolDlg::MONITOR_TIMER); // only the bench ticks
    if (signalOpen) {
        tool.OpenTool(TOOL_SIGNAL);
        if (CSignalDlg* signal = tool.GetSignalWindow())
            ::KillTimer(*signal, CSignalDlg::REPAINT_TIMER);
    }
    const UINT period = tool.GetMonitorPeriod();
    for (int i = 0; i < 20; ++i) { // warm up
        card.Advance(period);
        tool.SendMessage(WM_TIMER, CMainToolDlg::MONITOR_TIMER);
    }
    // The card's record of requests is emptied every 100 ticks, so the memory
    // figures are the program's own.
    card.ResetCounts();
    Memory before = Measure();
    uint64_t requests = 0, slept = 0;
    double cpu0 = ThreadCpuMs(), wall0 = NowMs();
    for (int i = 0; i < ticks; ++i) {
        card.Advance(period);
        if (changing) // a new reading, so a new tip, and a new icon half the time
            card.SetSignal(0, (uint16_t)(i % 4 < 2 ? 55 + i % 2 : 65 + i % 2));
        tool.SendMessage(WM_TIMER, CMainToolDlg::MONITOR_TIMER);
        if (i % 100 == 99) {
            requests += card.DriverRequests();
            slept += card.TotalSleep();
            card.ResetCounts();
        }
    }
    double cpu = ThreadCpuMs() - cpu0, wall = NowMs() - wall0;
    requests += card.DriverRequests();
    slept += card.TotalSleep();
    Memory after = Measure();
    printf("%-50s cpu %7.1f us/tick  wall %7.1f us/tick  requests %.1f/tick  firmware pauses "
           "%.0f ms/tick  quality %.0f  still monitoring %s\n",
           name, 1000.0 * cpu / ticks, 1000.0 * wall / ticks, (double)requests / ticks,
           (double)slept / ticks, tool.GetLinkQuality(), tool.IsMonitoring() ? "yes" : "no");
    printf("%-50s working set %zu -> %zu KiB, private %zu -> %zu KiB, GDI %lu -> %lu, USER %lu -> "
           "%lu\n",
           "", before.workingSet / 1024, after.workingSet / 1024, before.privateBytes / 1024,
           after.privateBytes / 1024, before.gdi, after.gdi, before.user, after.user);
    tool.DestroyWindow();
    ResetAdapterState();
    return {1000.0 * cpu / ticks, (double)requests / ticks};
}

// The floor of a tick: its driver requests alone, as 38-byte block reads of
// the same simulated card, in microseconds of processor time per tick.
double RequestFloor(double requestsPerTick, int ticks)
{
    OsGuard guard;
    SimCard card(kInfrastructure);
    OpenCard(card);
    BYTE block[38];
    const int reads = (int)(requestsPerTick * ticks + 0.5);
    for (int i = 0; i < 50; ++i)
        ReadCardMemory(GetAdapterLink().MailboxPointer, block, sizeof(block));
    double cpu0 = ThreadCpuMs();
    for (int i = 0; i < reads; ++i) {
        ReadCardMemory(GetAdapterLink().MailboxPointer, block, sizeof(block));
        if (i % 100 == 99)
            card.ResetCounts();
    }
    double cpu = ThreadCpuMs() - cpu0;
    ResetAdapterState();
    return 1000.0 * cpu / ticks;
}

void RepaintCase(int repaints)
{
    OsGuard guard;
    SimCard card(kInfrastructure);
    OpenCard(card);
    CSignalDlg signal;
    signal.Create(nullptr);
    ::KillTimer(signal, CSignalDlg::REPAINT_TIMER);
    signal.SetQuality(72);
    for (int i = 0; i < 5; ++i)
        signal.Repaint();
    Memory before = Measure();
    double cpu0 = ThreadCpuMs(), wall0 = NowMs();
    for (int i = 0; i < repaints; ++i)
        signal.Repaint();
    double cpu = ThreadCpuMs() - cpu0, wall = NowMs() - wall0;
    Memory after = Measure();
    printf("%-50s cpu %7.1f us/repaint  wall %7.1f us/repaint  GDI %lu -> %lu\n",
           "signal window repaint (no pauses)", 1000.0 * cpu / repaints, 1000.0 * wall / repaints,
           before.gdi, after.gdi);
    ResetAdapterState();
}

} // namespace

int main(int argc, char** argv)
{
    int ticks = argc > 1 ? atoi(argv[1]) : 2000;
    CUtilityApp app;
    app.m_args.clear();
    app.SetRegistryKey("KVR");
    Memory start = Measure();
    printf("process at start: working set %zu KiB, private %zu KiB\n", start.workingSet / 1024,
           start.privateBytes / 1024);
    TickCase("infrastructure, icon faked", kInfrastructure, false, false, ticks);
    TickFigures real = TickCase("infrastructure, real icon", kInfrastructure, true, false, ticks);
    double floor = RequestFloor(real.requestsPerTick, ticks);
    printf(
        "monitor tick CPU: %.1f us, ratio %.2f (floor: its %.1f driver requests alone, %.1f us)\n",
        real.cpuPerTick, floor > 0 ? real.cpuPerTick / floor : 0.0, real.requestsPerTick, floor);
    TickCase("infrastructure, no icon", kInfrastructure, false, false, ticks, false);
    TickCase("infrastructure, new reading each tick, real icon", kInfrastructure, true, false,
             ticks, true, true);
    TickCase("infrastructure, signal window open", kInfrastructure, false, true, ticks);
    TickCase("ad hoc, icon faked", kAdHoc, false, false, ticks);
    RepaintCase(ticks / 10);
    return 0;
}
