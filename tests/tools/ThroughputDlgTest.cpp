// ThroughputDlgTest.cpp - the Station Throughput Monitor on the simulated
// card: caption, chart scale, labels and chart against traffic known
// exactly, uptime, the statistics mode with its accelerator and profile
// entry, the "N" button, closing, help and a card failing in a tick.
#include "adapter/AdapterState.h"
#include "adapter/Mailbox.h"
#include "res/resource.h"
#include "tests/tools/ThruTestSupport.h"
#include "tools/CThroughputDlg.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const UINT_PTR kTimer = CThroughputDlg::SAMPLE_TIMER;
const COLORREF kGreen = RGB(0, 255, 0), kCyan = RGB(0, 255, 255);
const char kCaption[] = "Station Throughput Monitor: CORVANE-PC (00:A0:C5:12:34:56)";

// A card command (command and code), to silence or count.
struct CardCommand
{
    uint16_t command;
    uint16_t code;
};
const CardCommand kMacAddress = {CMD_GET_PARAM, PARAM_MAC_ADDRESS};
const CardCommand kStationName = {CMD_GET_PARAM, PARAM_STATION_NAME};
const CardCommand kStatistics = {CMD_GET_STATISTICS, SimCard::kAnyCode};

class ThroughputMonitor : public ThruFixture
{
protected:
    CThroughputDlg* Open(std::vector<CardCommand> silenced = {})
    {
        dlg.reset(new CThroughputDlg);
        Card().ClearAnswerRules();
        for (const CardCommand& command : silenced)
            Card().Silence(command.command, command.code);
        dlg->Create((HWND) nullptr);
        return dlg->IsWindow() ? dlg.get() : nullptr;
    }
    int Reads(const CardCommand& command) const
    {
        return (int)card->card.Commands(command.command, command.code);
    }
    bool StatisticsButtonShown() { return ItemVisible(*dlg, IDC_THRU_STATISTICS); }
    // The monitor in statistics mode with its statistics dialog open and
    // updating (from the card's clock at `start` when given), or nullptr.
    CStatisticsDlg* OpenWithStatistics(int start = -1)
    {
        app.WriteProfileInt("Private", "Statistic", 1);
        if (!Open())
            return nullptr;
        dlg->SendMessage(WM_COMMAND, IDC_THRU_STATISTICS);
        CStatisticsDlg& stats = dlg->GetStatisticsDlg();
        if (!stats.IsWindow())
            return nullptr;
        if (start >= 0)
            At(static_cast<uint32_t>(start));
        stats.SendMessage(WM_COMMAND, IDC_STAT_UPDATE);
        return &stats;
    }

    // The row of the plot where a series' colour is drawn in the chart's
    // newest column, or -1.
    int TraceRow(COLORREF color)
    {
        CLineChart& chart = dlg->GetChart();
        RECT plot = chart.GetPlotRect();
        HDC layer = chart.GetTraceLayer();
        if (!layer)
            return -1;
        for (int x = plot.right - 1; x > plot.right - 1 - chart.GetStep(); --x)
            for (int y = plot.top; y <= plot.bottom; ++y)
                if (::GetPixel(layer, x, y) == color)
                    return y;
        return -1;
    }
    // The row a value takes on a scale of 0 to `range` (within the
    // chart's rounding).
    int RowOf(double value, double range)
    {
        RECT plot = dlg->GetChart().GetPlotRect();
        return plot.bottom - (int)((plot.bottom - plot.top) * value / range + 0.5);
    }

    std::unique_ptr<CThroughputDlg> dlg;
};

TEST_F(ThroughputMonitor, CaptionNamesTheStationAndItsAddress)
{
    ASSERT_TRUE(Open());
    EXPECT_EQ(kCaption, dlg->GetWindowText());
    EXPECT_EQ(kCaption, dlg->GetTitle());
    EXPECT_TRUE(TimerRan(*dlg, kTimer));

    // A failed address read leaves the address out; a failed name read
    // leaves the name empty.
    ASSERT_TRUE(Open({kMacAddress}));
    EXPECT_EQ("Station Throughput Monitor: CORVANE-PC", dlg->GetWindowText());
    ASSERT_TRUE(Open({kStationName}));
    EXPECT_EQ("Station Throughput Monitor:  (00:A0:C5:12:34:56)", dlg->GetWindowText());
    EXPECT_TRUE(os.boxes.empty());
}

TEST_F(ThroughputMonitor, LabelsAndChartFollowASteadyRate)
{
    ASSERT_TRUE(Open());
    EXPECT_EQ(2u, dlg->GetChart().GetSeriesCount());
    EXPECT_FALSE(ItemVisible(*dlg, IDC_THRU_CHART_FRAME)) << "the chart takes the frame's place";
    RECT frame, chart;
    ::GetWindowRect(::GetDlgItem(*dlg, IDC_THRU_CHART_FRAME), &frame);
    dlg->GetChart().GetWindowRect(&chart);
    EXPECT_TRUE(::EqualRect(&frame, &chart));

    Ticks(*dlg, kTimer, 1);
    EXPECT_EQ("0.0", ItemText(*dlg, IDC_THRU_SENT)) << "the first sample gives no rate";
    Ticks(*dlg, kTimer, 14);
    // 20480 and 51200 bytes a second on a 2 Mbit/s card's scale of 200.
    EXPECT_EQ("20.0", ItemText(*dlg, IDC_THRU_SENT));
    EXPECT_EQ("50.0", ItemText(*dlg, IDC_THRU_RECEIVED));
    EXPECT_NEAR(RowOf(20.0, 200), TraceRow(kGreen), 3);
    EXPECT_NEAR(RowOf(50.0, 200), TraceRow(kCyan), 3);
}

TEST_F(ThroughputMonitor, ScaleFollowsTheCardsHighestRate)
{
    // 153600 bytes a second (150 Kbytes) received: three quarters up on a
    // scale of 200, above the top of a scale of 100 (drawn at the top).
    const struct
    {
        const char* rates;
        double range;
    } cards[] = {{"rates 2 4\n", 200}, {"rates 2\n", 100}};
    for (const auto& c : cards) {
        std::string scenario = TrafficScenario(10240, 153600, c.rates);
        Load(scenario.c_str());
        ASSERT_TRUE(Open());
        Ticks(*dlg, kTimer, 3);
        EXPECT_EQ("150.0", ItemText(*dlg, IDC_THRU_RECEIVED));
        EXPECT_NEAR(RowOf(10.0, c.range), TraceRow(kGreen), 3) << c.rates;
        EXPECT_NEAR(RowOf(std::min(150.0, c.range), c.range), TraceRow(kCyan), 3) << c.rates;
    }
}

TEST_F(ThroughputMonitor, UptimeIsShownInHoursMinutesAndSeconds)
{
    std::string scenario = TrafficScenario(1000, 1000, "uptime 3598\n");
    Load(scenario.c_str());
    ASSERT_TRUE(Open());
    EXPECT_EQ("00:00:00", ItemText(*dlg, IDC_THRU_UPTIME)) << "as the template has it";
    TickAt(*dlg, kTimer, 1000);
    EXPECT_EQ("0:59:59", ItemText(*dlg, IDC_THRU_UPTIME));
    TickAt(*dlg, kTimer, 2000);
    EXPECT_EQ("1:00:00", ItemText(*dlg, IDC_THRU_UPTIME));
}

TEST_F(ThroughputMonitor, ImplausibleRateChangesNothingOnScreen)
{
    std::string scenario = TrafficScenario(40960, 262144);
    Load(scenario.c_str());
    ASSERT_TRUE(Open());
    Ticks(*dlg, kTimer, 1);
    ASSERT_EQ("0.0", ItemText(*dlg, IDC_THRU_RECEIVED));
    const std::string uptime = ItemText(*dlg, IDC_THRU_UPTIME);
    const int before = TraceRow(kGreen);
    Ticks(*dlg, kTimer, 5);
    EXPECT_EQ("0.0", ItemText(*dlg, IDC_THRU_RECEIVED));
    EXPECT_EQ("0.0", ItemText(*dlg, IDC_THRU_SENT));
    EXPECT_EQ(uptime, ItemText(*dlg, IDC_THRU_UPTIME));
    EXPECT_EQ(before, TraceRow(kGreen)) << "the chart did not move";
    EXPECT_EQ(6, Reads(kStatistics)) << "yet every tick read the card";
}

TEST_F(ThroughputMonitor, StatisticsModeByAcceleratorAddsTheLinkState)
{
    ASSERT_TRUE(Open());
    EXPECT_FALSE(StatisticsButtonShown());
    PressCtrlAlt(*dlg, 'S');
    EXPECT_TRUE(dlg->IsShowingState());
    EXPECT_TRUE(StatisticsButtonShown());
    Ticks(*dlg, kTimer, 1);
    EXPECT_EQ(std::string(kCaption) + ", Associated", dlg->GetWindowText());
    PressCtrlAlt(*dlg, 'S');
    EXPECT_FALSE(dlg->IsShowingState());
    EXPECT_FALSE(StatisticsButtonShown());
    EXPECT_EQ(kCaption, dlg->GetWindowText()) << "back to the caption of the opening";
    Ticks(*dlg, kTimer, 1);
    EXPECT_EQ(kCaption, dlg->GetWindowText());
    EXPECT_EQ(1, Reads({CMD_GET_PARAM, PARAM_LINK_STATE}));
}

TEST_F(ThroughputMonitor, StatisticsModeIsKeptInTheProfile)
{
    ASSERT_TRUE(Open());
    dlg->SendMessage(WM_COMMAND, IDM_STATE_MODE);
    dlg->SendMessage(WM_COMMAND, IDC_THRU_OK);
    EXPECT_EQ(nullptr, dlg->m_hWnd);
    EXPECT_EQ(1u, ReadDword(HKEY_CURRENT_USER, app.PrivateKey(), "Statistic"));
    // Reopened, and opened by a new program (a new object reading the
    // profile): "N" shows again.
    ASSERT_TRUE(dlg->Create((HWND) nullptr));
    EXPECT_TRUE(StatisticsButtonShown());
    ASSERT_TRUE(Open());
    EXPECT_TRUE(StatisticsButtonShown());
    EXPECT_TRUE(dlg->IsShowingState());
    // Switched off and closed by the window's close box.
    dlg->SendMessage(WM_COMMAND, IDM_STATE_MODE);
    dlg->SendMessage(WM_CLOSE);
    EXPECT_EQ(nullptr, dlg->m_hWnd);
    EXPECT_EQ(0u, ReadDword(HKEY_CURRENT_USER, app.PrivateKey(), "Statistic"));
    ASSERT_TRUE(Open());
    EXPECT_FALSE(StatisticsButtonShown());
}

TEST_F(ThroughputMonitor, ButtonNOpensTheStatisticsDialogOnce)
{
    app.WriteProfileInt("Private", "Statistic", 1);
    ASSERT_TRUE(Open());
    dlg->SendMessage(WM_COMMAND, IDC_THRU_STATISTICS);
    CStatisticsDlg& stats = dlg->GetStatisticsDlg();
    ASSERT_TRUE(stats.IsWindow());
    EXPECT_EQ("Adapter Statistics", stats.GetWindowText());
    EXPECT_EQ((HWND)*dlg, ::GetWindow(stats, GW_OWNER));
    HWND first = stats.m_hWnd;
    dlg->SendMessage(WM_COMMAND, IDC_THRU_STATISTICS);
    EXPECT_EQ(first, stats.m_hWnd) << "the open one is kept";
    EXPECT_TRUE(os.boxes.empty());
}

TEST_F(ThroughputMonitor, ButtonNOnASilentCardSaysItCannotShowTheDialog)
{
    ASSERT_TRUE(Open());
    Card().SetFault(SIM_FAULT_NO_ANSWER);
    dlg->SendMessage(WM_COMMAND, IDC_THRU_STATISTICS);
    EXPECT_FALSE(dlg->GetStatisticsDlg().IsWindow());
    ASSERT_EQ(1u, os.boxes.size());
    EXPECT_EQ("Unable to display dialog", os.boxes[0].text);
    EXPECT_EQ("Error", os.boxes[0].caption);
    EXPECT_EQ((UINT)(MB_ICONHAND | MB_SYSTEMMODAL), os.boxes[0].style);
}

TEST_F(ThroughputMonitor, CardFallingSilentClosesBothWindowsWithoutAMessage)
{
    CStatisticsDlg* opened = OpenWithStatistics(1000);
    ASSERT_NE(nullptr, opened);
    CStatisticsDlg& stats = *opened;
    Ticks(*dlg, kTimer, 3);
    Card().SetFault(SIM_FAULT_NO_ANSWER);
    Ticks(*dlg, kTimer, 1);
    EXPECT_EQ(nullptr, dlg->m_hWnd);
    EXPECT_EQ(nullptr, stats.m_hWnd) << "the statistics dialog goes with its owner";
    EXPECT_TRUE(os.boxes.empty());
    EXPECT_EQ(0, TryLockAdapter()) << "the adapter lock was given back";
    UnlockAdapter();
}

TEST_F(ThroughputMonitor, BusyAdapterSkipsTheTick)
{
    ASSERT_TRUE(Open());
    ASSERT_EQ(0, TryLockAdapter());
    Ticks(*dlg, kTimer, 2);
    UnlockAdapter();
    EXPECT_EQ(0, Reads(kStatistics));
    Ticks(*dlg, kTimer, 1);
    EXPECT_EQ(1, Reads(kStatistics));
}

TEST_F(ThroughputMonitor, HelpThatCannotOpenSaysSo)
{
    ASSERT_TRUE(Open());
    os.helpAnswer = FALSE;
    dlg->SendMessage(WM_COMMAND, IDC_THRU_HELP);
    ASSERT_EQ(1u, os.helpKeys.size());
    EXPECT_EQ("View Station Throughput", os.helpKeys[0]);
    ASSERT_EQ(1u, os.boxes.size());
    EXPECT_EQ("Cannot open help file.", os.boxes[0].text);
    EXPECT_EQ("Corvane", os.boxes[0].caption);
}

TEST_F(ThroughputMonitor, CountersResetUnderBothWindowsStartTheirRatesAgain)
{
    CStatisticsDlg* opened = OpenWithStatistics(1000);
    ASSERT_NE(nullptr, opened);
    CStatisticsDlg& stats = *opened;
    auto tick = [&] {
        Ticks(*dlg, kTimer, 1);
        stats.SendMessage(WM_TIMER, CStatisticsDlg::SAMPLE_TIMER);
    };
    for (int i = 0; i < 14; ++i)
        tick();
    ASSERT_EQ("20.0", ItemText(*dlg, IDC_THRU_SENT));
    // The card's counters and period start from 0 again (a Reset, or the
    // card's own): no window may take the step back for traffic.
    ResetStatistics();
    for (int i = 0; i < 14; ++i) {
        tick();
        for (int id : {IDC_STAT_TX_NOW, IDC_STAT_TX_MAX})
            ASSERT_TRUE(ItemText(stats, id) == "0.0" || ItemText(stats, id) == "20.0")
                << "tick " << i << " control " << id << ": " << ItemText(stats, id);
        const std::string sent = ItemText(*dlg, IDC_THRU_SENT);
        ASSERT_TRUE(sent == "0.0" || sent == "20.0") << "tick " << i << ": " << sent;
    }
    EXPECT_EQ("20.0", ItemText(*dlg, IDC_THRU_SENT));
    EXPECT_EQ("50.0", ItemText(*dlg, IDC_THRU_RECEIVED));
    EXPECT_EQ(20480u, stats.GetMaxTxRate());
    EXPECT_EQ("20.0", ItemText(stats, IDC_STAT_TX_AVG)) << "averaged from the reset on";
}

TEST_F(ThroughputMonitor, StatisticsModeIsWrittenHoweverTheWindowGoes)
{
    const struct
    {
        const char* how;
        bool failRead;
    } ways[] = {
        {"the program ends with the window open", false},
        {"a read fails in a tick", true},
    };
    for (const auto& w : ways) {
        app.WriteProfileInt("Private", "Statistic", 0);
        ASSERT_TRUE(Open());
        PressCtrlAlt(*dlg, 'S');
        if (w.failRead) {
            Card().Silence(kStatistics.command, kStatistics.code);
            Ticks(*dlg, kTimer, 1);
        } else {
            ::DestroyWindow(*dlg);
        }
        EXPECT_EQ(nullptr, dlg->m_hWnd) << w.how;
        EXPECT_EQ(1u, ReadDword(HKEY_CURRENT_USER, app.PrivateKey(), "Statistic")) << w.how;
    }
}

TEST_F(ThroughputMonitor, TicksStopOnceTheAdapterIsFailed)
{
    // The tool window found the card silent (and said so): neither window
    // asks it again, so its driver reports nothing more.
    CStatisticsDlg* opened = OpenWithStatistics();
    ASSERT_NE(nullptr, opened);
    CStatisticsDlg& stats = *opened;
    Card().ResetCounts();
    GetAdapterState().m_bAdapterFailed = TRUE;
    stats.SendMessage(WM_TIMER, CStatisticsDlg::SAMPLE_TIMER);
    EXPECT_EQ(nullptr, stats.m_hWnd);
    EXPECT_FALSE(stats.IsRunning());
    Ticks(*dlg, kTimer, 1);
    EXPECT_EQ(nullptr, dlg->m_hWnd);
    GetAdapterState().m_bAdapterFailed = FALSE;
    EXPECT_EQ(0u, Card().DriverRequests()) << "the card was not asked";
    EXPECT_EQ(0, Reads(kStatistics));
    EXPECT_TRUE(os.boxes.empty());
}

TEST_F(ThroughputMonitor, OpeningBesideAnotherPollReadsNothing)
{
    // Opened from the tray or by a second start while another poll holds
    // the card: neither window breaks into it.
    ASSERT_EQ(0, TryLockAdapter());
    Card().ResetCounts();
    ASSERT_TRUE(Open());
    EXPECT_EQ("Station Throughput Monitor: ", dlg->GetWindowText());
    CStatisticsDlg stats;
    EXPECT_TRUE(stats.Create((HWND) nullptr)) << "the counters wait for a run";
    UnlockAdapter();
    EXPECT_EQ(0u, Card().DriverRequests());
    EXPECT_EQ("", ItemText(stats, IDC_STAT_TX_OK));
    EXPECT_TRUE(os.boxes.empty());
}

TEST_F(ThroughputMonitor, EscapeClosesBothWindowsAsTheirOKDoes)
{
    app.WriteProfileInt("Private", "Statistic", 1);
    ASSERT_TRUE(Open());
    Activate(*dlg);
    ::SendMessageA(dlg->GetDlgItem(IDC_THRU_STATISTICS), BM_CLICK, 0, 0);
    CStatisticsDlg& stats = dlg->GetStatisticsDlg();
    ASSERT_TRUE(stats.IsWindow());
    Activate(stats);
    // Clicks on Update and Stop (each greys the button clicked) leave the
    // keyboard in the dialog.
    for (int id : {IDC_STAT_UPDATE, IDC_STAT_STOP, IDC_STAT_UPDATE}) {
        ::SendMessageA(stats.GetDlgItem(id), BM_CLICK, 0, 0);
        ASSERT_TRUE(::IsChild(stats, ::GetFocus())) << "after a click on " << id;
        EXPECT_TRUE(::IsWindowEnabled(::GetFocus())) << "after a click on " << id;
    }
    ASSERT_TRUE(stats.IsRunning());
    PressKey(VK_ESCAPE);
    EXPECT_EQ(nullptr, stats.m_hWnd);
    EXPECT_FALSE(stats.IsRunning());
    // The keyboard is back in the monitor, with "N" hidden under it too.
    PressCtrlAlt(*dlg, 'S');
    ASSERT_TRUE(::IsChild(*dlg, ::GetFocus()));
    PressKey(VK_ESCAPE);
    EXPECT_EQ(nullptr, dlg->m_hWnd);
    EXPECT_EQ(0u, ReadDword(HKEY_CURRENT_USER, app.PrivateKey(), "Statistic"))
        << "the mode as Escape left it";
}

// "N" goes hidden while it holds the focus the monitor keeps for its next
// activation: the user clicked it, and Ctrl+Alt+S (here its command) came
// while the statistics dialog it opened was in front. Back in the monitor the
// dialog manager gives the focus to "N" again. A key then must not act on
// the hidden button (Space would click it): the focus moves on to a control
// the user can work and the keyboard goes on from there.
TEST_F(ThroughputMonitor, KeysNeverReachButtonNHiddenUnderTheFocus)
{
    app.WriteProfileInt("Private", "Statistic", 1);
    ASSERT_TRUE(Open());
    // No sample tick in between (its end checks the focus too): only the
    // key finds the focus on the hidden button.
    ASSERT_TRUE(TimerRan(*dlg, kTimer));
    Activate(*dlg);
    HWND n = dlg->GetDlgItem(IDC_THRU_STATISTICS);
    ::SendMessageA(n, BM_CLICK, 0, 0);
    CStatisticsDlg& stats = dlg->GetStatisticsDlg();
    ASSERT_TRUE(stats.IsWindow());
    Activate(stats);
    dlg->SendMessage(WM_COMMAND, IDM_STATE_MODE);
    ASSERT_FALSE(StatisticsButtonShown());
    // Closed by its OK button: no key of it is left for the monitor.
    stats.SendMessage(WM_COMMAND, IDC_STAT_OK);
    ASSERT_FALSE(stats.IsWindow());
    Activate(*dlg);
    ASSERT_EQ(n, ::GetFocus());

    PressKey(VK_SPACE);
    EXPECT_FALSE(stats.IsWindow()) << "the hidden button was not clicked";
    ASSERT_TRUE(dlg->IsWindow());
    HWND focus = ::GetFocus();
    EXPECT_EQ(dlg->GetDlgItem(IDC_THRU_OK), focus) << "the next control in the tab order";
    PressKey(VK_TAB);
    focus = ::GetFocus();
    EXPECT_TRUE(::IsChild(*dlg, focus) && ::IsWindowVisible(focus) && ::IsWindowEnabled(focus))
        << "Tab moves on to a control the user can work";
    PressKey(VK_ESCAPE);
    EXPECT_EQ(nullptr, dlg->m_hWnd) << "Escape closes";
}

} // namespace
