// WatchBench.cpp - how long the Network Watcher's own work takes beside the
// firmware's pauses: one BSS read of 30 entries (eight items each) and the
// window's first paint after it, and sorting the 30 rows by each column.
// The card is the simulated one in process with its fake clock, so the
// mailbox pauses cost nothing here; their sum is the protocol's floor.
// Run it in a Wine virtual desktop (hiding the progress window then costs no
// window-manager wait):
//   wine explorer /desktop=Bench,800x600 <build>/tests/tools/watch_bench.exe
#include "tests/tools/WatchTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "adapter/CardItem.h"
#include "res/resource.h"

namespace {

double Now()
{
    LARGE_INTEGER f, t;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&t);
    return (double)t.QuadPart * 1000.0 / (double)f.QuadPart;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

class BenchBss : public CBssWatchDlg
{
public:
    using CBssWatchDlg::CBssWatchDlg;

protected:
    void ReadConfiguredEssid(char* text, size_t size) override { snprintf(text, size, "Corvane"); }
};

} // namespace

int main()
{
    FILE* out = fopen("watch_bench.txt", "w");
    if (!out)
        out = stdout;
    WatchApp app;
    WatchCard card(CellsScenario(30).c_str());
    BenchBss dlg;
    dlg.Create(nullptr);
    PumpWatchMessages();

    const int runs = 7;
    std::vector<double> reads, paints, perCommand;
    unsigned commands = 0;
    double floorMs = 0;
    for (int r = 0; r < runs; ++r) {
        SimState before = card.State();
        uint64_t sleptBefore = card.card.TotalSleep();
        double t0 = Now();
        dlg.SendMessage(WM_COMMAND, IDCANCEL); // Escape: item 25, then the BSS read and the fill
        double t1 = Now();
        ::RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN |
                                                  RDW_UPDATENOW);
        double t2 = Now();
        SimState after = card.State();
        commands = after.commandsAnswered - before.commandsAnswered;
        floorMs = (double)(card.card.TotalSleep() - sleptBefore);
        reads.push_back(t1 - t0);
        paints.push_back(t2 - t1);
        perCommand.push_back((t1 - t0) / commands);
        PumpWatchMessages();
    }
    double read = Median(reads), paint = Median(paints);
    fprintf(out, "BSS read of %d rows: %u firmware commands, floor %.0f ms of mailbox pauses\n",
            dlg.GetCount(), commands, floorMs);
    fprintf(out, "  our time: read %.2f ms (%.3f ms a command), first paint %.2f ms\n", read,
            Median(perCommand), paint);
    fprintf(out, "  our share beside the floor: %.2f %%\n", 100.0 * (read + paint) / floorMs);

    HWND list = dlg.GetList().m_hWnd;
    for (int column = 0; column < BSS_COLUMN_COUNT; ++column) {
        std::vector<double> sorts;
        for (int k = 0; k < 201; ++k) {
            NMLISTVIEW nm = {};
            nm.hdr.hwndFrom = list;
            nm.hdr.idFrom = IDC_BSS_LIST;
            nm.hdr.code = LVN_COLUMNCLICK;
            nm.iItem = -1;
            nm.iSubItem = k % 2 ? column : (column + 1) % BSS_COLUMN_COUNT;
            double t0 = Now();
            dlg.SendMessage(WM_NOTIFY, IDC_BSS_LIST, (LPARAM)&nm);
            double t1 = Now();
            if (k % 2)
                sorts.push_back(t1 - t0);
        }
        fprintf(out, "sort 30 rows by column %d: %.1f us\n", column, Median(sorts) * 1000.0);
    }
    if (out != stdout)
        fclose(out);
    ::ExitProcess(0);
}
