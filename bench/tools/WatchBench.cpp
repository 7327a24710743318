// WatchBench.cpp - how long the Network Watcher's own work takes beside the
// firmware's pauses: one BSS read of 30 entries (eight items each) and the
// window's first paint after it, and sorting the 30 rows by each column.
// The card is the simulated one in process with its fake clock, so the
// mailbox pauses cost nothing here; their sum is the protocol's floor.
// With the argument "driver" the read goes through the real razuDov driver
// of the prefix instead (real pauses; the time spent in them is measured and
// taken off). Run it in a Wine virtual desktop (hiding the progress window
// then costs no window-manager wait); it writes watch_bench.txt:
//   wine explorer /desktop=Bench,800x600 <build>/bench/watch_bench.exe [driver]
#include "tests/tools/WatchTestSupport.h"

#include "adapter/AdapterDiscovery.h"
#include "adapter/Mailbox.h"
#include "adapter/PortAccess.h"
#include "sim/SimProtocol.h"
#include "tests/support/DriverAccess.h"
#include "tests/support/TestWindows.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
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

// Real pauses, timed.
double g_slept = 0;
void WINAPI TimedSleep(DWORD ms)
{
    double t0 = Now();
    RealOs().Sleep(ms);
    g_slept += Now() - t0;
}

SimState DriverState()
{
    SimState state = {};
    HANDLE h = ::CreateFileA(SIM_USER_PATH, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    DWORD got = 0;
    if (h != INVALID_HANDLE_VALUE) {
        ::DeviceIoControl(h, SIM_IOCTL_GET_STATE, nullptr, 0, &state, sizeof state, &got, nullptr);
        ::CloseHandle(h);
    }
    return state;
}

} // namespace

int main(int argc, char** argv)
{
    FILE* out = fopen("watch_bench.txt", "w");
    if (!out)
        out = stdout;
    bool driver = argc > 1 && strcmp(argv[1], "driver") == 0;
    WatchApp app;
    std::unique_ptr<WatchCard> card;
    OsGuard guard;
    if (driver) {
        std::string failed = LoadDriverScenario(CellsScenario(30).c_str());
        if (!failed.empty()) {
            fprintf(out, "%s\n", failed.c_str());
            return 1;
        }
        ResetAdapterState();
        GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
        GetAdapterLink().IoBase = DriverCardBase();
        DriverSetBase(GetAdapterLink().IoBase);
        OpenMailbox();
        GetAdapterLink().AdapterReady = true;
        g_os.Sleep = TimedSleep;
    } else {
        card.reset(new WatchCard(CellsScenario(30).c_str()));
    }
    CBssWatchDlg dlg;
    dlg.Create(nullptr);
    PumpMessages();

    const int runs = driver ? 1 : 7;
    std::vector<double> reads, paints;
    unsigned commands = 0;
    double floorMs = 0;
    for (int r = 0; r < runs; ++r) {
        SimState before = driver ? DriverState() : card->State();
        uint64_t sleptBefore = driver ? 0 : card->card.TotalSleep();
        g_slept = 0;
        double t0 = Now();
        dlg.SendMessage(WM_COMMAND, IDCANCEL); // Escape: item 25, then the BSS read and the fill
        double t1 = Now();
        ::RedrawWindow(dlg, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        double t2 = Now();
        SimState after = driver ? DriverState() : card->State();
        commands = after.commandsAnswered - before.commandsAnswered;
        floorMs = commands * 2.0 * MAILBOX_POLL_MS;
        double pauses = driver ? g_slept : (double)(card->card.TotalSleep() - sleptBefore);
        reads.push_back(t1 - t0 - (driver ? pauses : 0));
        paints.push_back(t2 - t1);
        PumpMessages();
    }
    double read = Median(reads), paint = Median(paints);
    fprintf(out, "%s: BSS read of %d rows, %u firmware commands, floor %.0f ms of mailbox pauses\n",
            driver ? "razuDov driver" : "in process", dlg.GetCount(), commands, floorMs);
    fprintf(out,
            "  our time beyond the pauses: read %.1f ms (%.2f ms a command), first paint %.1f ms\n",
            read, read / commands, paint);
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
    ResetAdapterState();
    ::ExitProcess(0);
}
