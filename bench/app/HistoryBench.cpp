// HistoryBench.cpp - what the link history and the site survey log cost:
// the processor time of a link monitor tick of the tool window while a
// survey log records (a line written to a file every tick, the cell read
// every 10 s) against the same tick without one, the simulated card in
// process with its fake clock; and the history's memory after a day of
// samples at 2 s (43,200) and a full ring of events.
// `history_bench [ticks]`; prints the two figures and their detail lines.
#include "adapter/LinkHistory.h"
#include "app/CMainToolDlg.h"
#include "app/CUtilityApp.h"
#include "bench/BenchMeasure.h"
#include "framework/Os.h"
#include "res/resource.h"
#include "tests/support/SimCard.h"
#include "tests/support/ToolScenarios.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string g_logPath;

BOOL WINAPI NoShell(DWORD, PNOTIFYICONDATAA)
{
    return TRUE;
}

// The user's choice in the Save dialog, without a dialog.
BOOL WINAPI ChooseLog(LPOPENFILENAMEA ofn)
{
    lstrcpynA(ofn->lpstrFile, g_logPath.c_str(), (int)ofn->nMaxFile);
    return TRUE;
}

int WINAPI AnswerNo(HWND, LPCSTR, LPCSTR, UINT)
{
    return IDNO; // replace a log of an earlier run
}

// Processor time of one tick in microseconds, over `ticks` ticks, with or
// without a survey log recording, and with Link History's window open or
// closed (the log goes on without it).
double TickCpu(bool surveyLog, bool windowOpen, int ticks)
{
    OsGuard guard;
    g_os.Shell_NotifyIconA = NoShell;
    g_os.GetSaveFileNameA = ChooseLog;
    g_os.MessageBoxA = AnswerNo;
    SimCard card(kInfrastructure);
    OpenCard(card);
    CMainToolDlg tool;
    tool.Create((HWND) nullptr);
    ::KillTimer(tool, CMainToolDlg::MONITOR_TIMER); // only the bench ticks
    HWND history = nullptr;
    if (surveyLog) {
        tool.SendMessage(WM_COMMAND, IDM_LINK_HISTORY);
        history = ::FindWindowA(nullptr, "Link History");
        ::SendMessageA(history, WM_COMMAND, IDC_HISTORY_RECORD, 0);
        if (!::IsWindowEnabled(::GetDlgItem(history, IDC_HISTORY_STOP))) {
            printf("the survey log did not start\n");
            exit(1);
        }
        if (!windowOpen) {
            ::SendMessageA(history, WM_CLOSE, 0, 0);
            history = nullptr;
        }
    }
    const UINT period = 2000;
    auto tick = [&] {
        card.Advance(period);
        tool.SendMessage(WM_TIMER, CMainToolDlg::MONITOR_TIMER);
        // What the window would do with the tick's news, as it arrives.
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
    };
    for (int i = 0; i < 20; ++i) // warm up
        tick();
    card.ResetCounts();
    const double cpu0 = ThreadCpuMs();
    for (int i = 0; i < ticks; ++i) {
        tick();
        if (i % 100 == 99)
            card.ResetCounts();
    }
    const double cpu = ThreadCpuMs() - cpu0;
    if (surveyLog && !history) {
        tool.SendMessage(WM_COMMAND, IDM_LINK_HISTORY);
        history = ::FindWindowA(nullptr, "Link History");
    }
    if (history)
        ::SendMessageA(history, WM_COMMAND, IDC_HISTORY_STOP, 0);
    tool.DestroyWindow();
    ResetAdapterState();
    return 1000.0 * cpu / ticks;
}

void MemoryCase()
{
    LinkHistory& history = GetLinkHistory();
    history.Reset();
    history.SetPeriod(2000);
    const Memory before = Measure();
    const HistoryTime start = HistoryTimeOf({2026, 12, 9, 0, 0, 0});
    for (uint32_t i = 0; i < 43200; ++i)
        history.AddSample(start + 2 * i, (int)(i % 97));
    for (int i = 0; i < 1000; ++i)
        history.AddEvent(start + (HistoryTime)i, HISTORY_LOG_STARTED,
                         "C:\\Survey logs\\second floor east wing\\monday morning walk.csv");
    const Memory after = Measure();
    const double payload =
        43200.0 * sizeof(HistorySample) + LinkHistory::EVENT_CAPACITY * sizeof(HistoryEvent);
    printf("history: %zu samples, %zu events; process private bytes %+ld KiB\n",
           history.SampleCount(), history.EventCount(),
           (long)((long long)after.privateBytes - (long long)before.privateBytes) / 1024);
    printf("history memory after 43,200 samples: %.1f KiB, ratio %.2f (floor: the samples and "
           "events themselves, %.1f KiB)\n",
           history.MemoryBytes() / 1024.0, history.MemoryBytes() / payload, payload / 1024.0);
    history.Reset();
}

} // namespace

int main(int argc, char** argv)
{
    const int ticks = argc > 1 ? atoi(argv[1]) : 2000;
    CUtilityApp app;
    app.m_args.clear();
    app.SetRegistryKey("KVR");
    char dir[MAX_PATH];
    ::GetTempPathA(sizeof dir, dir);
    g_logPath = std::string(dir) + "history-bench.csv";

    // Alternated, the least of three of each: the machine's other load
    // falls on both alike.
    double plain = 1e30, logged = 1e30, shown = 1e30;
    for (int round = 0; round < 3; ++round) {
        plain = std::min(plain, TickCpu(false, false, ticks));
        logged = std::min(logged, TickCpu(true, false, ticks));
        shown = std::min(shown, TickCpu(true, true, ticks));
    }
    printf("tick with a survey log and Link History open (its chart replayed): %.1f us\n", shown);
    printf("monitor tick with history and a survey log: %.1f us, ratio %.2f (floor: the plain "
           "tick, %.1f us)\n",
           logged, plain > 0 ? logged / plain : 0.0, plain);
    MemoryCase();
    ::DeleteFileA(g_logPath.c_str());
    return 0;
}
