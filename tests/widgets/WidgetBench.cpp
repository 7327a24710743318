// WidgetBench.cpp - timings for the notes: CLineChart::Advance after 10,
// 1 000 and 100 000 earlier calls on a chart of the throughput monitor's
// size, and one ApplyLayout of each Network Watcher table. Run by hand:
//   wine widgets_bench.exe
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "tests/support/TestWindows.h"
#include "framework/CWnd.h"
#include "tools/CLineChart.h"
#include "widgets/DialogLayout.h"

namespace {

double Now()
{
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return (double)c.QuadPart * 1e6 / (double)f.QuadPart;
}

void BenchChart()
{
    CWnd host;
    host.CreateEx(0, nullptr, "bench", WS_POPUP | WS_VISIBLE, 0, 0, 440, 220, nullptr, nullptr);
    RECT rc = {0, 0, 420, 200}; // about the throughput monitor's chart
    CLineChart chart;
    chart.Create(WS_CHILD | WS_VISIBLE, rc, host, 342);
    chart.SetRange(0, 200, 0);
    chart.AddSeries(RGB(0, 255, 0), 200, 0);
    chart.AddSeries(RGB(0, 255, 255), 200, 0);
    long done = 0;
    const long marks[] = {10, 1000, 100000};
    for (long mark : marks) {
        while (done < mark) {
            chart.SetValue(0, (float)(done % 200));
            chart.SetValue(1, (float)((done * 7) % 200));
            chart.Advance();
            ++done;
        }
        // Time the next 200 calls after `mark` earlier ones.
        const int n = 200;
        double t0 = Now();
        for (int i = 0; i < n; ++i) {
            chart.SetValue(0, (float)(i % 200));
            chart.SetValue(1, (float)((i * 3) % 200));
            chart.Advance();
        }
        double per = (Now() - t0) / n;
        done += n;
        std::printf("Advance after %6ld calls: %7.1f us per call\n", mark, per);
    }
}

void BenchLayout(const char* name, LayoutRule* rules, const std::vector<TestControl>& controls)
{
    HWND dlg = CreateTestDialog(name, 330, 170, controls, false);
    RECT wr;
    ::GetWindowRect(dlg, &wr);
    const int n = 200;
    double t0 = Now();
    for (int i = 0; i < n; ++i) {
        ::SetWindowPos(dlg, nullptr, 0, 0, wr.right - wr.left + (i % 50), wr.bottom - wr.top,
                       SWP_NOMOVE | SWP_NOZORDER);
        ApplyLayout(dlg, rules);
    }
    double resizeAndLayout = (Now() - t0) / n;
    t0 = Now();
    for (int i = 0; i < n; ++i)
        ApplyLayout(dlg, rules);
    std::printf("ApplyLayout %-15s: %7.1f us per call (%7.1f us with the resize)\n", name,
                (Now() - t0) / n, resizeAndLayout);
    ::DestroyWindow(dlg);
}

} // namespace

int main()
{
    ::InitCommonControls();
    BenchChart();
    const DWORD list = LVS_REPORT | WS_BORDER;
    BenchLayout("infrastructure", g_bssWatchLayout,
                {{"SysListView32", "", 220, 7, 7, 316, 130, list},
                 {"BUTTON", "OK", 100, 7, 148, 50, 14, 0},
                 {"BUTTON", "&Scan", 221, 70, 148, 50, 14, 0},
                 {"BUTTON", "&Join ", 222, 133, 148, 50, 14, 0},
                 {"BUTTON", "&Cancel", 102, 196, 148, 50, 14, 0},
                 {"BUTTON", "&Help", 101, 259, 148, 50, 14, 0}});
    BenchLayout("stations", g_stationWatchLayout,
                {{"SysListView32", "", 284, 7, 7, 286, 130, list},
                 {"BUTTON", "OK", 100, 20, 148, 50, 14, 0},
                 {"BUTTON", "&Refresh", 286, 90, 148, 50, 14, 0},
                 {"BUTTON", "&Cancel", 102, 160, 148, 50, 14, 0},
                 {"BUTTON", "&Help", 101, 230, 148, 50, 14, 0}});
    return 0;
}
