// ThruBench.cpp - what one tick of the throughput monitor and of the
// statistics dialog costs the processor, on the simulated card in process
// whose fake clock makes the mailbox's pauses free: the whole tick, the
// card read alone (one statistics block), so the tick without the read,
// and the chart's part (two values and one scroll step). Memory and GDI and
// USER objects before and after (nothing may grow).
// `thru_bench [ticks]`; prints one line per case.
#include "adapter/AdapterDiscovery.h"
#include "adapter/CardItems.h"
#include "adapter/Mailbox.h"
#include "adapter/PortAccess.h"
#include "app/CUtilityApp.h"
#include "bench/BenchMeasure.h"
#include "framework/Os.h"
#include "res/resource.h"
#include "tests/support/SimCard.h"
#include "tools/CStatisticsDlg.h"
#include "tools/CThroughputDlg.h"

#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>

namespace {

const char kSteady[] = "name bench\n"
                       "drift 0\n"
                       "cell 00:A0:C5:00:00:01 Corvane 1 72\n"
                       "current 00:A0:C5:00:00:01\n"
                       "traffic tx 20480 rx 51200 frame 1024\n";

double ThreadCpuUs()
{
    return ThreadCpuMs() * 1000.0;
}

double WallUs()
{
    return NowMs() * 1000.0;
}

struct Cost
{
    double cpu, wall; // microseconds per repetition
};

template <typename F> Cost Time(int n, F f)
{
    double cpu0 = ThreadCpuUs(), wall0 = WallUs();
    for (int i = 0; i < n; ++i)
        f(i);
    return {(ThreadCpuUs() - cpu0) / n, (WallUs() - wall0) / n};
}

void Print(const char* name, const Cost& c)
{
    printf("%-44s cpu %8.1f us  wall %8.1f us\n", name, c.cpu, c.wall);
}

void PrintMemory(const Memory& before, const Memory& after)
{
    printf("%-44s working set %zu -> %zu KiB, private %zu -> %zu KiB, GDI %lu -> %lu, USER %lu "
           "-> %lu\n",
           "", before.workingSet / 1024, after.workingSet / 1024, before.privateBytes / 1024,
           after.privateBytes / 1024, before.gdi, after.gdi, before.user, after.user);
}

void ThroughputCase(int ticks)
{
    OsGuard guard;
    SimCard card(kSteady);
    OpenCard(card);
    CThroughputDlg dlg(nullptr);
    dlg.Create((HWND) nullptr);
    ::KillTimer(dlg, CThroughputDlg::SAMPLE_TIMER); // only the bench ticks
    auto tick = [&](int) {
        card.Advance(CThroughputDlg::SAMPLE_PERIOD);
        dlg.SendMessage(WM_TIMER, CThroughputDlg::SAMPLE_TIMER);
        if (card.Calls().size() > 1000)
            card.ResetCounts();
    };
    Time(50, tick); // warm up: the window fills, the chart scrolls
    Memory before = Measure();
    Cost whole = Time(ticks, tick);
    Memory after = Measure();
    StatisticsBlock block;
    Cost read = Time(ticks, [&](int) {
        card.Advance(CThroughputDlg::SAMPLE_PERIOD);
        QueryCardItem(CI_STATISTICS, block);
        if (card.Calls().size() > 1000)
            card.ResetCounts();
    });
    CLineChart& chart = dlg.GetChart();
    Cost drawing = Time(ticks, [&](int i) {
        chart.SetValue(0, 20.0f + i % 7);
        chart.SetValue(1, 50.0f + i % 11);
        chart.Advance();
    });
    Print("throughput monitor: whole tick", whole);
    Print("  card read (statistics block)", read);
    Print("  tick without the card read", {whole.cpu - read.cpu, whole.wall - read.wall});
    Print("  chart: two values and one step", drawing);
    PrintMemory(before, after);
    printf("%-44s labels %s / %s Kbytes/s, window %s\n", "",
           CWnd::GetWindowText(::GetDlgItem(dlg, IDC_THRU_SENT)).c_str(),
           CWnd::GetWindowText(::GetDlgItem(dlg, IDC_THRU_RECEIVED)).c_str(),
           dlg.IsWindow() ? "open" : "closed");
    dlg.DestroyWindow();
    ResetAdapterState();
}

void StatisticsCase(int ticks)
{
    OsGuard guard;
    SimCard card(kSteady);
    OpenCard(card);
    CStatisticsDlg dlg;
    dlg.Create((HWND) nullptr);
    dlg.SendMessage(WM_COMMAND, IDC_STAT_UPDATE);
    ::KillTimer(dlg, CStatisticsDlg::SAMPLE_TIMER);
    auto tick = [&](int) {
        card.Advance(CStatisticsDlg::SAMPLE_PERIOD);
        dlg.SendMessage(WM_TIMER, CStatisticsDlg::SAMPLE_TIMER);
        if (card.Calls().size() > 1000)
            card.ResetCounts();
    };
    Time(50, tick);
    Memory before = Measure();
    Cost whole = Time(ticks, tick);
    Memory after = Measure();
    StatisticsBlock block;
    Cost read = Time(ticks, [&](int) {
        card.Advance(CStatisticsDlg::SAMPLE_PERIOD);
        QueryCardItem(CI_STATISTICS, block);
        if (card.Calls().size() > 1000)
            card.ResetCounts();
    });
    Print("statistics dialog: whole tick during a run", whole);
    Print("  tick without the card read", {whole.cpu - read.cpu, whole.wall - read.wall});
    PrintMemory(before, after);
    printf("%-44s now %s / %s, avg %s / %s Kbytes/s\n", "",
           CWnd::GetWindowText(::GetDlgItem(dlg, IDC_STAT_TX_NOW)).c_str(),
           CWnd::GetWindowText(::GetDlgItem(dlg, IDC_STAT_RX_NOW)).c_str(),
           CWnd::GetWindowText(::GetDlgItem(dlg, IDC_STAT_TX_AVG)).c_str(),
           CWnd::GetWindowText(::GetDlgItem(dlg, IDC_STAT_RX_AVG)).c_str());
    dlg.DestroyWindow();
    ResetAdapterState();
}

} // namespace

int main(int argc, char** argv)
{
    int ticks = argc > 1 ? atoi(argv[1]) : 2000;
    CUtilityApp app;
    app.m_args.clear();
    app.SetRegistryKey("KVR");
    ThroughputCase(ticks);
    StatisticsCase(ticks);
    return 0;
}
