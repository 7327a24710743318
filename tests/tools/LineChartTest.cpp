// Tests of the scrolling line chart: label width, clamping, scrolling,
// clearing by the setters, and painting as the OR of the two layers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "framework/CWnd.h"
#include "tests/support/TestWindows.h"
#include "tools/CLineChart.h"
#include "tools/ChartScale.h"

namespace {

struct PlotLeftCase
{
    float minY, maxY;
    int decimals;
    int left;
};

TEST(ChartScale, PlotLeftFollowsTheWiderLabel)
{
    const PlotLeftCase cases[] = {
        {0, 100, 0, 36},      {0, 200, 0, 36},  {-10, 10, 3, 48},   {0, 0, 0, 24},
        {-0.5f, 0.5f, 2, 36}, {0, 1000, 2, 54}, {-12345, 0, 1, 54},
    };
    for (const PlotLeftCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.minY << ".." << c.maxY << " /" << c.decimals);
        EXPECT_EQ(c.left, ChartPlotLeft(0, c.minY, c.maxY, c.decimals));
    }
    EXPECT_EQ(39, ChartLabelDigits(0, 1e38f * 10)) << "an infinite bound stays bounded";
}

TEST(ChartScale, ValuePositions)
{
    EXPECT_EQ(10, ChartValueToY(100, 0, 100, 10, 110));
    EXPECT_EQ(110, ChartValueToY(0, 0, 100, 10, 110));
    EXPECT_EQ(85, ChartValueToY(25, 0, 100, 10, 110));
    EXPECT_EQ(60, ChartValueToY(7, 7, 7, 10, 110)) << "a zero range draws in the middle";
    EXPECT_EQ(60, ChartValueToY(std::nanf(""), 0, 100, 10, 110));
}

class LineChartTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.CreateEx(0, nullptr, "chart", WS_POPUP | WS_VISIBLE, 0, 0, 420, 240,
                                  nullptr, nullptr));
        RECT rc = {0, 0, 420, 240};
        ASSERT_TRUE(chart.Create(WS_CHILD | WS_VISIBLE, rc, host, 342));
        PumpTestMessages();
    }

    // Rows of a trace-layer column that hold the colour.
    std::vector<int> RowsOf(int x, COLORREF color)
    {
        std::vector<int> rows;
        RECT plot = chart.GetPlotRect();
        for (int y = plot.top - 2; y <= plot.bottom + 2; ++y)
            if (::GetPixel(chart.GetTraceLayer(), x, y) == color)
                rows.push_back(y);
        return rows;
    }

    int CountInPlot(COLORREF color)
    {
        RECT plot = chart.GetPlotRect();
        int n = 0;
        for (int x = plot.left; x < plot.right; ++x)
            n += (int)RowsOf(x, color).size();
        return n;
    }

    CWnd host;
    CLineChart chart;
};

const COLORREF kRed = RGB(255, 0, 0);

TEST_F(LineChartTest, PlotLeftForTheRangesInUse)
{
    EXPECT_EQ(48, chart.GetPlotRect().left) << "default range -10..10 with 3 decimals";
    chart.SetRange(0, 100, 0);
    EXPECT_EQ(36, chart.GetPlotRect().left);
    chart.SetRange(0, 200, 0);
    EXPECT_EQ(36, chart.GetPlotRect().left);
    RECT client;
    ::GetClientRect(chart, &client);
    EXPECT_EQ(client.right - 10, chart.GetPlotRect().right);
    EXPECT_EQ(client.bottom - 25, chart.GetPlotRect().bottom);
}

TEST_F(LineChartTest, ValuesBeyondTheRangeDrawAtTheEdges)
{
    chart.SetRange(0, 100, 0);
    ASSERT_TRUE(chart.AddSeries(kRed, 100, 0));
    EXPECT_EQ(0.0f, chart.SetValue(0, 500));
    EXPECT_EQ(100.0f, chart.SetValue(0, 900)) << "stored clamped";
    chart.Advance();
    RECT plot = chart.GetPlotRect();
    std::vector<int> rows = RowsOf(plot.right - 4, kRed);
    ASSERT_FALSE(rows.empty());
    EXPECT_LE(rows.front(), plot.top + 1);
    EXPECT_LE(rows.back(), plot.top + 1);

    chart.SetValue(0, -50);
    chart.SetValue(0, -60);
    chart.Advance();
    rows = RowsOf(plot.right - 4, kRed);
    ASSERT_FALSE(rows.empty());
    EXPECT_GE(rows.front(), plot.bottom - 1) << "and the top segment has scrolled away";
    // Nothing of the top line stays behind at the right edge.
    for (int x = plot.right - 4; x < plot.right; ++x)
        for (int y = plot.top - 1; y <= plot.top + 1; ++y)
            EXPECT_NE(kRed, ::GetPixel(chart.GetTraceLayer(), x, y)) << x << "," << y;

    EXPECT_EQ(0.0f, chart.SetValue(1, 5)) << "no such series";
}

TEST_F(LineChartTest, ConsecutiveSegmentsJoin)
{
    chart.SetRange(0, 100, 0);
    ASSERT_TRUE(chart.AddSeries(kRed, 100, 0));
    const float values[] = {0, 100, 20, 80, 50};
    for (float v : values) {
        chart.SetValue(0, v);
        chart.Advance();
    }
    RECT plot = chart.GetPlotRect();
    // Five segments of 4 pixels each end 2 pixels left of the right edge.
    for (int x = plot.right - 4 * 5 - 2; x < plot.right - 2; ++x)
        EXPECT_FALSE(RowsOf(x, kRed).empty()) << "gap at column " << x;
    EXPECT_TRUE(RowsOf(plot.right - 1, kRed).empty());
}

TEST_F(LineChartTest, SetterAfterAdvanceLeavesAnEmptyPlot)
{
    ASSERT_TRUE(chart.AddSeries(kRed, 10, -10));
    for (int i = 0; i < 10; ++i) {
        chart.SetValue(0, (float)(i % 3) * 5);
        chart.Advance();
    }
    ASSERT_GT(CountInPlot(kRed), 0);
    chart.SetXTitle("Samples time: 1 second");
    EXPECT_EQ(0, CountInPlot(kRed));
}

TEST_F(LineChartTest, ZeroRangeDrawsAFlatLineInTheMiddle)
{
    ASSERT_TRUE(chart.AddSeries(kRed, 5, 5));
    chart.SetValue(0, 5);
    chart.Advance();
    RECT plot = chart.GetPlotRect();
    std::vector<int> rows = RowsOf(plot.right - 4, kRed);
    ASSERT_FALSE(rows.empty());
    const int middle = plot.top + (plot.bottom - plot.top) / 2;
    EXPECT_LE(std::abs(rows.front() - middle), 1);
}

TEST_F(LineChartTest, PaintingOrsTheTracesOntoTheBackground)
{
    chart.SetRange(0, 100, 0);
    chart.SetBackColor(RGB(0, 0, 64));
    chart.SetGridColor(RGB(0, 128, 0));
    ASSERT_TRUE(chart.AddSeries(RGB(255, 0, 0), 100, 0));
    chart.SetValue(0, 37);
    chart.SetValue(0, 37);
    for (int i = 0; i < 30; ++i)
        chart.Advance();
    ::UpdateWindow(chart);
    PumpTestMessages();
    RECT plot = chart.GetPlotRect();
    const int y = ChartValueToY(37, 0, 100, plot.top, plot.bottom);
    EXPECT_EQ(RGB(255, 0, 64), ScreenPixel(chart, plot.right - 20, y)) << "red OR dark blue";
    EXPECT_EQ(RGB(0, 0, 64), ScreenPixel(chart, plot.right - 20, plot.top + 3));
    // Both layers are filled with the background colour, so the frame and the
    // grid show OR-ed with it.
    EXPECT_EQ(RGB(0, 128, 64), ScreenPixel(chart, plot.left, plot.top + 5)) << "frame";
    EXPECT_EQ(RGB(0, 128, 64),
              ScreenPixel(chart, plot.left + 4, plot.top + (plot.bottom - plot.top) / 10));
}

TEST_F(LineChartTest, AResizedChartDrawsItsNewGeometry)
{
    chart.SetRange(0, 100, 0);
    chart.SetBackColor(RGB(0, 0, 64));
    chart.SetGridColor(RGB(0, 128, 0));
    ASSERT_TRUE(chart.AddSeries(kRed, 100, 0));
    RECT before = chart.GetPlotRect();
    ::SetWindowPos(host, nullptr, 0, 0, 600, 300, SWP_NOMOVE | SWP_NOZORDER);
    ::SetWindowPos(chart, nullptr, 0, 0, 600, 300, SWP_NOMOVE | SWP_NOZORDER);
    RECT plot = chart.GetPlotRect();
    ASSERT_GT(plot.right, before.right + 100);
    ASSERT_GT(plot.bottom, before.bottom + 40);

    chart.SetValue(0, 50);
    chart.SetValue(0, 50);
    for (int i = 0; i < 10; ++i)
        chart.Advance();
    EXPECT_EQ(kRed, ::GetPixel(chart.GetTraceLayer(), plot.right - 4,
                               ChartValueToY(50, 0, 100, plot.top, plot.bottom)))
        << "the newest segment at the new right edge";
    ::UpdateWindow(chart);
    PumpTestMessages();
    EXPECT_EQ(RGB(0, 128, 64), ScreenPixel(chart, plot.right + 1, plot.bottom - 5))
        << "frame at the new right edge";
    EXPECT_EQ(RGB(0, 128, 64), ScreenPixel(chart, plot.left + 10, plot.bottom + 1))
        << "frame at the new bottom";
}

TEST_F(LineChartTest, LevelLinesLieUnderTheTracesAndStayWhenTheTracesAreCleared)
{
    const COLORREF back = RGB(0, 0, 64), maroon = RGB(128, 0, 0), olive = RGB(128, 128, 0);
    chart.SetRange(0, 100, 0);
    chart.SetBackColor(back);
    chart.SetGridColor(RGB(0, 128, 0));
    ASSERT_TRUE(chart.AddSeries(RGB(0, 255, 0), 100, 0));
    ASSERT_TRUE(chart.AddLevelLine(30, maroon));
    ASSERT_TRUE(chart.AddLevelLine(60, olive));
    chart.SetValue(0, 30);
    chart.SetValue(0, 30);
    for (int i = 0; i < 5; ++i)
        chart.Advance();
    ::UpdateWindow(chart);
    PumpTestMessages();
    const RECT plot = chart.GetPlotRect();
    const int y30 = ChartValueToY(30, 0, 100, plot.top, plot.bottom);
    const int y60 = ChartValueToY(60, 0, 100, plot.top, plot.bottom);
    ClientPixels shown(chart);
    // Across the whole plot, ORed with the dark blue of the layers.
    for (int x : {(int)plot.left + 1, (int)(plot.left + plot.right) / 2, (int)plot.right - 30}) {
        EXPECT_EQ(RGB(128, 0, 64), shown.At(x, y30)) << x;
        EXPECT_EQ(RGB(128, 128, 64), shown.At(x, y60)) << x;
    }
    // The trace's own green, ORed with the line's maroon where it crosses it.
    EXPECT_EQ(RGB(128, 255, 0), shown.At(plot.right - 4, y30)) << "the trace over the line";

    chart.ClearTraces();
    ::UpdateWindow(chart);
    PumpTestMessages();
    EXPECT_EQ(0, CountInPlot(RGB(0, 255, 0))) << "the traces are gone";
    EXPECT_EQ(RGB(128, 0, 64), ScreenPixel(chart, plot.right - 4, y30)) << "the line stays";

    // A chart without level lines draws none: the throughput monitor's.
    CWnd otherHost;
    CLineChart plain;
    ASSERT_TRUE(otherHost.CreateEx(0, nullptr, "plain", WS_POPUP | WS_VISIBLE, 0, 250, 420, 240,
                                   nullptr, nullptr));
    RECT rc = {0, 0, 420, 240};
    ASSERT_TRUE(plain.Create(WS_CHILD | WS_VISIBLE, rc, otherHost, 342));
    plain.SetRange(0, 100, 0);
    plain.SetBackColor(back);
    ::UpdateWindow(plain);
    PumpTestMessages();
    EXPECT_EQ(back, ScreenPixel(plain, (plot.left + plot.right) / 2, y30 + 1));
}

} // namespace
