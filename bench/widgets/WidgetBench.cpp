// WidgetBench.cpp - timings for the notes: CLineChart::Advance after 10,
// 1 000 and 100 000 earlier calls on a chart of the throughput monitor's
// size, and one ApplyLayout of each Network Watcher table, each against its
// floor timed in alternating rounds. scripts/bench.sh runs it; by hand:
//   wine widgets_bench.exe
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "framework/CWnd.h"
#include "tests/support/TestWindows.h"
#include "tools/CLineChart.h"
#include "tools/WatchLayout.h"
#include "widgets/DialogLayout.h"

namespace {

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

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
    // The floor: what any scrolling chart does per step, one shift of the
    // plot's bitmap by a step and an invalidation of the window. Timed in
    // rounds that alternate with the chart's own, medians compared, so a busy
    // machine slows both alike.
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, rc.right, rc.bottom);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    const int n = 50, rounds = 9;
    long done = 0;
    const long marks[] = {10, 1000, 100000};
    for (long mark : marks) {
        while (done < mark) {
            chart.SetValue(0, (float)(done % 200));
            chart.SetValue(1, (float)((done * 7) % 200));
            chart.Advance();
            ++done;
        }
        // The next calls after `mark` earlier ones.
        std::vector<double> own, floor;
        for (int r = 0; r < rounds; ++r) {
            double t0 = Now();
            for (int i = 0; i < n; ++i) {
                ::BitBlt(memory, 0, 0, rc.right - 2, rc.bottom, memory, 2, 0, SRCCOPY);
                ::InvalidateRect(chart, nullptr, TRUE);
            }
            floor.push_back((Now() - t0) / n);
            t0 = Now();
            for (int i = 0; i < n; ++i) {
                chart.SetValue(0, (float)(i % 200));
                chart.SetValue(1, (float)((i * 3) % 200));
                chart.Advance();
            }
            own.push_back((Now() - t0) / n);
            done += n;
        }
        double per = Median(own), least = Median(floor);
        std::printf(
            "chart Advance at %ld calls: %.1f us, ratio %.2f (floor: one scroll of the plot and an "
            "invalidation, %.1f us)\n",
            mark, per, per / least, least);
    }
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
}

void BenchLayout(const char* name, LayoutRule* rules, const std::vector<TestControl>& controls)
{
    HWND dlg = CreateTestDialog(name, 330, 170, controls, false);
    RECT wr;
    ::GetWindowRect(dlg, &wr);
    const int n = 20, rounds = 9;
    std::vector<double> resized, own, floor;
    for (int r = 0; r < rounds; ++r) {
        double t0 = Now();
        for (int i = 0; i < n; ++i) {
            ::SetWindowPos(dlg, nullptr, 0, 0, wr.right - wr.left + (i % 50), wr.bottom - wr.top,
                           SWP_NOMOVE | SWP_NOZORDER);
            ApplyLayout(dlg, rules);
        }
        resized.push_back((Now() - t0) / n);
        t0 = Now();
        for (int i = 0; i < n; ++i)
            ApplyLayout(dlg, rules);
        own.push_back((Now() - t0) / n);
        // The floor: placing every control once where it already is, as the
        // least any layout does.
        t0 = Now();
        for (int i = 0; i < n; ++i) {
            for (HWND child = ::GetWindow(dlg, GW_CHILD); child;
                 child = ::GetWindow(child, GW_HWNDNEXT)) {
                RECT rc;
                ::GetWindowRect(child, &rc);
                ::MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&rc), 2);
                ::SetWindowPos(child, nullptr, rc.left, rc.top, rc.right - rc.left,
                               rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
        floor.push_back((Now() - t0) / n);
    }
    double layout = Median(own), least = Median(floor);
    std::printf("ApplyLayout %s table: %.1f us, ratio %.2f (floor: placing each control where it "
                "is, %.1f us)\n",
                name, layout, layout / least, least);
    std::printf("  ApplyLayout %s with a resize of the dialog: %.1f us\n", name, Median(resized));
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
