// ToolPlacementTest.cpp - where the Network Watchers and the throughput
// monitor open beside the small floating tool window, and the throughput
// monitor's figures drawn whole at the screen's font.
#include "framework/Gdi.h"
#include "res/resource.h"
#include "tests/tools/ThruTestSupport.h"
#include "tests/tools/WatchTestSupport.h"
#include "tools/CThroughputDlg.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class ToolPlacement : public ThruFixture
{
};

TEST_F(ToolPlacement, ToolsOpenedFromTheToolWindowLeaveItVisible)
{
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    // The tool window's size, in the corners and the middle of the screen.
    const int w = 175, h = 66;
    const POINT corners[] = {{work.right - w, work.top},
                             {work.left, work.bottom - h},
                             {(work.left + work.right - w) / 2, (work.top + work.bottom - h) / 2}};
    HWND owner = ::CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "tool window",
                                   WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, w, h, nullptr, nullptr,
                                   nullptr, nullptr);
    ASSERT_TRUE(owner);
    const struct
    {
        const char* tool;
        std::function<CDialog*()> make;
    } tools[] = {
        {"infrastructure watcher", [] { return new TestBssWatch; }},
        {"ad-hoc watcher", [] { return new TestStationWatch; }},
        {"throughput monitor", [] { return new CThroughputDlg; }},
    };
    for (const POINT& at : corners) {
        ::SetWindowPos(owner, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        RECT ownerRect;
        ::GetWindowRect(owner, &ownerRect);
        for (const auto& t : tools) {
            std::unique_ptr<CDialog> dlg(t.make());
            ASSERT_TRUE(dlg->Create(owner)) << t.tool;
            RECT rc, overlap;
            dlg->GetWindowRect(&rc);
            EXPECT_FALSE(::IntersectRect(&overlap, &rc, &ownerRect))
                << t.tool << " covers the tool window at " << at.x << "," << at.y;
            EXPECT_TRUE(rc.left >= work.left && rc.top >= work.top && rc.right <= work.right &&
                        rc.bottom <= work.bottom)
                << t.tool << " leaves the screen";
            dlg->DestroyWindow();
        }
    }
    ::DestroyWindow(owner);
}

// How many columns of a drawing hold ink (anything but the background).
int InkWidth(HDC dc, int width, int height, COLORREF back)
{
    int first = width, last = -1;
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            if (::GetPixel(dc, x, y) != back) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return last < first ? 0 : last - first + 1;
}

// The ink of a label's text (in its colour) as the label shows it, and as
// its font draws it with room on every side.
std::pair<int, int> ShownAndWholeInk(HWND label, COLORREF color, COLORREF back)
{
    RECT rc;
    ::GetClientRect(label, &rc);
    const std::string text = CWnd::GetWindowText(label);
    HDC screen = ::GetDC(label);
    CMemoryDC shown(screen, rc.right, rc.bottom);
    ::SendMessageA(label, WM_PRINTCLIENT, (WPARAM)(HDC)shown, PRF_CLIENT | PRF_ERASEBKGND);
    const int pad = rc.bottom;
    CMemoryDC whole(screen, rc.right + 2 * pad, rc.bottom);
    RECT all = {0, 0, rc.right + 2 * pad, rc.bottom};
    CBrush backBrush(back);
    ::FillRect(whole, &all, backBrush);
    CSelectObject font(whole, (HFONT)::SendMessageA(label, WM_GETFONT, 0, 0));
    ::SetBkMode(whole, TRANSPARENT);
    ::SetTextColor(whole, color);
    ::TextOutA(whole, pad, 0, text.c_str(), (int)text.size());
    ::ReleaseDC(label, screen);
    return {InkWidth(shown, rc.right, rc.bottom, back),
            InkWidth(whole, rc.right + 2 * pad, rc.bottom, back)};
}

TEST_F(ToolPlacement, FiguresAreDrawnWholeInTheirLabels)
{
    // The screen's font decides: on the machines (Wine's Tahoma made bold)
    // a figure's last digit draws past the width the font measures for it,
    // and a control that clips its text to that width cuts the digit.
    std::string scenario = TrafficScenario(11059, 204800); // 10.8 and 200.0 Kbytes
    Load(scenario.c_str());
    CThroughputDlg dlg;
    ASSERT_TRUE(dlg.Create((HWND) nullptr));
    Ticks(dlg, CThroughputDlg::SAMPLE_TIMER, 3);
    const struct
    {
        int id;
        COLORREF color;
        const char* figure;
    } labels[] = {{IDC_THRU_SENT, RGB(0, 255, 0), "10.8"},
                  {IDC_THRU_RECEIVED, RGB(0, 255, 255), "200.0"}};
    for (const auto& l : labels) {
        ASSERT_EQ(l.figure, ItemText(dlg, l.id));
        const std::pair<int, int> ink =
            ShownAndWholeInk(dlg.GetDlgItem(l.id), l.color, RGB(0, 0, 0));
        EXPECT_NE(0, ink.second) << l.figure;
        EXPECT_EQ(ink.second, ink.first) << l.figure << " is cut: its last digit is not whole";
    }
    dlg.DestroyWindow();
}

} // namespace
