// StatisticsDlgTest.cpp - the Adapter Statistics dialog on the simulated
// card: the counters as shown, runs of samples at exact times against
// traffic known exactly, the plausibility rule, reset with its question,
// closing, help, and the card failing at each read.
#include "adapter/AdapterState.h"
#include "adapter/Mailbox.h"
#include "res/resource.h"
#include "tests/tools/ThruTestSupport.h"
#include "tools/CStatisticsDlg.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const UINT_PTR kTimer = CStatisticsDlg::SAMPLE_TIMER;

class StatisticsDialog : public ThruFixture
{
protected:
    // Opens the dialog; null when it made no window.
    CStatisticsDlg* Open()
    {
        dlg.reset(new CStatisticsDlg);
        dlg->Create((HWND) nullptr);
        return dlg->IsWindow() ? dlg.get() : nullptr;
    }
    // Starts a run at a whole second of the card's clock; the ticks follow
    // at whole seconds after it.
    void Update(uint32_t at = 1000)
    {
        At(at);
        dlg->SendMessage(WM_COMMAND, IDC_STAT_UPDATE);
    }
    std::string Field(int id) { return ItemText(*dlg, id); }

    std::unique_ptr<CStatisticsDlg> dlg;
};

TEST_F(StatisticsDialog, ShowsEveryCounterGroupedWithUptimeAndProcessorUsage)
{
    Load(kQuietCounters);
    ASSERT_TRUE(Open());
    const struct
    {
        int id;
        const char* text;
    } fields[] = {
        {IDC_STAT_TX_OK, "1,000"},
        {IDC_STAT_TX_MULTICAST, "999"},
        {IDC_STAT_TX_BROADCAST, "0"},
        {IDC_STAT_TX_BYTES, "1,000,000"},
        {IDC_STAT_TX_RETRIES, "1,234,567"},
        {IDC_STAT_TX_FAILED, "12"},
        {IDC_STAT_PERIOD, "4,294,967,295"},
        {IDC_STAT_RX_OK, "123"},
        {IDC_STAT_RX_MULTICAST, "4,294,967,295"},
        {IDC_STAT_RX_BROADCAST, "10,000"},
        {IDC_STAT_RX_BYTES, "987,654,321"},
        {IDC_STAT_RX_DUPLICATED, "1"},
        {IDC_STAT_RX_CRC, "22"},
        {IDC_STAT_RX_TRUNCATED, "333"},
        {IDC_STAT_RX_OVERLENGTH, "4,444"},
        {IDC_STAT_RX_DISCARDED, "55,555"},
        {IDC_STAT_RX_CORRUPTED, "666,666"},
        {IDC_STAT_CPU, "70"},
        {IDC_STAT_UPTIME, "1:01:01"},
        // The throughput fields stay empty until a run.
        {IDC_STAT_TX_NOW, ""},
        {IDC_STAT_RX_AVG, ""},
        {IDC_STAT_TX_ERR, ""},
    };
    for (const auto& f : fields)
        EXPECT_EQ(f.text, Field(f.id)) << "control " << f.id;
    EXPECT_EQ("Adapter Statistics", dlg->GetWindowText());
    EXPECT_FALSE(ItemEnabled(*dlg, IDC_STAT_STOP));
    EXPECT_TRUE(ItemEnabled(*dlg, IDC_STAT_UPDATE));
    EXPECT_FALSE(dlg->IsRunning());
    EXPECT_FALSE(TimerRan(*dlg, kTimer));
}

TEST_F(StatisticsDialog, SilentCardGivesNoWindowAndNoMessage)
{
    Card().SetFault(SIM_FAULT_NO_ANSWER);
    EXPECT_FALSE(Open());
    EXPECT_EQ(nullptr, dlg->m_hWnd);
    EXPECT_TRUE(os.boxes.empty());
}

TEST_F(StatisticsDialog, RunFollowsTheCardsTraffic)
{
    ASSERT_TRUE(Open());
    Update();
    EXPECT_TRUE(dlg->IsRunning());
    EXPECT_TRUE(ItemEnabled(*dlg, IDC_STAT_STOP));
    EXPECT_FALSE(ItemEnabled(*dlg, IDC_STAT_UPDATE));
    EXPECT_EQ("0.0", Field(IDC_STAT_TX_AVG));
    EXPECT_EQ("0.0", Field(IDC_STAT_RX_AVG));
    ASSERT_TRUE(dlg->HasBaselines());

    Ticks(*dlg, kTimer, 1);
    EXPECT_EQ("0.0", Field(IDC_STAT_TX_NOW)) << "the first sample gives no rate";
    Ticks(*dlg, kTimer, 14);
    // 20480 and 51200 bytes a second: 20 and 50 Kbytes.
    EXPECT_EQ("20.0", Field(IDC_STAT_TX_NOW));
    EXPECT_EQ("50.0", Field(IDC_STAT_RX_NOW));
    EXPECT_EQ("20.0", Field(IDC_STAT_TX_MAX));
    EXPECT_EQ("50.0", Field(IDC_STAT_RX_MAX));
    EXPECT_EQ("20.0", Field(IDC_STAT_TX_AVG));
    EXPECT_EQ("50.0", Field(IDC_STAT_RX_AVG));
    // 5 retries per 100 frames sent: 5 of 105 attempts; CRC errors 2 %
    // with truncated and over-length ones on top: 2.75 of 102.75 frames.
    EXPECT_EQ("4", Field(IDC_STAT_TX_ERR));
    EXPECT_EQ("2", Field(IDC_STAT_RX_ERR));
    EXPECT_EQ(20480u, dlg->GetMaxTxRate());
    EXPECT_EQ("1:00:15", Field(IDC_STAT_UPTIME)) << "3599 s at load, read 16 s later";

    dlg->SendMessage(WM_COMMAND, IDC_STAT_STOP);
    EXPECT_FALSE(dlg->IsRunning());
    EXPECT_FALSE(TimerRan(*dlg, kTimer));
    EXPECT_TRUE(ItemEnabled(*dlg, IDC_STAT_UPDATE));
    EXPECT_EQ("20.0", Field(IDC_STAT_TX_NOW)) << "the values stay";
}

TEST_F(StatisticsDialog, WrappingCountersGiveTheTrueRates)
{
    Load(kAboutToWrap);
    ASSERT_TRUE(Open());
    Update();
    for (int i = 0; i < 15; ++i) {
        Ticks(*dlg, kTimer, 1);
        if (i >= 1) {
            ASSERT_EQ("58.6", Field(IDC_STAT_TX_NOW)) << "tick " << i;  // 60000 / 1024
            ASSERT_EQ("146.5", Field(IDC_STAT_RX_NOW)) << "tick " << i; // 150000 / 1024
            ASSERT_EQ("58.6", Field(IDC_STAT_TX_AVG)) << "tick " << i;
            ASSERT_EQ("146.5", Field(IDC_STAT_RX_AVG)) << "tick " << i;
        }
    }
}

TEST_F(StatisticsDialog, ImplausibleRatesChangeNothingOnScreen)
{
    // 204800 bytes a second is the most the card can carry.
    const struct
    {
        unsigned rx;
        bool shown;
    } cases[] = {{204800, true}, {204801, false}};
    for (const auto& c : cases) {
        std::string scenario = TrafficScenario(1000, c.rx);
        Load(scenario.c_str());
        ASSERT_TRUE(Open());
        Update();
        Ticks(*dlg, kTimer, 1);
        const std::string uptime = Field(IDC_STAT_UPTIME);
        const std::string average = Field(IDC_STAT_RX_AVG);
        Ticks(*dlg, kTimer, 3);
        if (c.shown) {
            EXPECT_EQ("200.0", Field(IDC_STAT_RX_NOW));
            EXPECT_EQ(204800u, dlg->GetMaxRxRate());
            EXPECT_NE(uptime, Field(IDC_STAT_UPTIME));
        } else {
            EXPECT_EQ("0.0", Field(IDC_STAT_RX_NOW)) << "as the first sample left it";
            EXPECT_EQ("0.0", Field(IDC_STAT_TX_NOW));
            EXPECT_EQ(0u, dlg->GetMaxRxRate());
            EXPECT_EQ(0u, dlg->GetMaxTxRate());
            EXPECT_EQ(uptime, Field(IDC_STAT_UPTIME)) << "counters not refreshed";
            EXPECT_EQ(average, Field(IDC_STAT_RX_AVG));
        }
        EXPECT_TRUE(dlg->IsRunning());
    }
}

TEST_F(StatisticsDialog, ResetAnsweredCancelSendsNothing)
{
    ASSERT_TRUE(Open());
    os.boxAnswer = IDCANCEL;
    Card().ResetCounts();
    const std::string bytes = Field(IDC_STAT_TX_BYTES);
    dlg->SendMessage(WM_COMMAND, IDC_STAT_RESET);
    ASSERT_EQ(1u, os.boxes.size());
    EXPECT_EQ("Do you really want to reset statistics?", os.boxes[0].text);
    EXPECT_EQ("Corvane", os.boxes[0].caption);
    EXPECT_EQ((UINT)(MB_ICONQUESTION | MB_OKCANCEL), os.boxes[0].style);
    EXPECT_EQ(0u, Card().DriverRequests()) << "the card was not asked";
    EXPECT_EQ(bytes, Field(IDC_STAT_TX_BYTES));
}

TEST_F(StatisticsDialog, ResetShowsTheCardsFreshCounters)
{
    Load(kQuietCounters);
    ASSERT_TRUE(Open());
    os.boxAnswer = IDOK;
    dlg->SendMessage(WM_COMMAND, IDC_STAT_RESET);
    for (int id : {IDC_STAT_TX_OK, IDC_STAT_TX_BYTES, IDC_STAT_TX_RETRIES, IDC_STAT_RX_BYTES,
                   IDC_STAT_RX_CORRUPTED, IDC_STAT_PERIOD})
        EXPECT_EQ("0", Field(id)) << "control " << id;
    EXPECT_EQ("1:01:01", Field(IDC_STAT_UPTIME)) << "the uptime is not a statistics counter";
    EXPECT_FALSE(dlg->IsRunning()) << "a reset does not start a run";
}

// A reset the user confirmed is done, or the user hears why not: while the
// question is up, another poll may take the card and wait behind a box of
// its own; a card found silent meanwhile is not asked at all.
TEST_F(StatisticsDialog, ResetConfirmedWhenTheCardCannotBeAskedIsNeverSilent)
{
    Load(kQuietCounters);
    ASSERT_TRUE(Open());
    os.boxAnswer = IDOK;
    Card().ResetCounts();
    os.whileBoxOpen = [] { ASSERT_EQ(0, TryLockAdapter()); };
    dlg->SendMessage(WM_COMMAND, IDC_STAT_RESET);
    UnlockAdapter();
    ASSERT_EQ(2u, os.boxes.size());
    EXPECT_EQ("Do you really want to reset statistics?", os.boxes[0].text);
    EXPECT_EQ("The statistics were not reset: the Corvane adapter is busy. Please try again.",
              os.boxes[1].text);
    EXPECT_EQ("Warning", os.boxes[1].caption);
    EXPECT_EQ((UINT)MB_ICONEXCLAMATION, os.boxes[1].style);
    EXPECT_EQ(0u, Card().DriverRequests()) << "the held card was not asked";
    EXPECT_EQ("1,000", Field(IDC_STAT_TX_OK)) << "the counters stay";

    // Asked again once the card is free, the reset is done.
    dlg->SendMessage(WM_COMMAND, IDC_STAT_RESET);
    EXPECT_EQ(3u, os.boxes.size());
    EXPECT_EQ("0", Field(IDC_STAT_TX_OK));

    // A card another window found silent (and said so) is not asked: the
    // dialog goes as a tick of it would.
    Card().ResetCounts();
    os.whileBoxOpen = [] { GetAdapterState().m_bAdapterFailed = TRUE; };
    dlg->SendMessage(WM_COMMAND, IDC_STAT_RESET);
    ClearAdapterState();
    EXPECT_EQ(0u, Card().DriverRequests());
    EXPECT_EQ(nullptr, dlg->m_hWnd);
    EXPECT_EQ(4u, os.boxes.size()) << "only the question";
}

TEST_F(StatisticsDialog, ResetDuringARunRestartsWindowMaximaAndBaselines)
{
    ASSERT_TRUE(Open());
    Update();
    Ticks(*dlg, kTimer, 14);
    ASSERT_EQ("50.0", Field(IDC_STAT_RX_MAX));
    os.boxAnswer = IDOK;
    At(lastTick + 1000);
    dlg->SendMessage(WM_COMMAND, IDC_STAT_RESET);
    EXPECT_EQ(0u, dlg->GetMaxRxRate());
    EXPECT_EQ("0.0", Field(IDC_STAT_TX_AVG));
    EXPECT_EQ("0.0", Field(IDC_STAT_RX_AVG));
    Ticks(*dlg, kTimer, 1);
    EXPECT_EQ("0.0", Field(IDC_STAT_RX_NOW)) << "a fresh window: no rate from one sample";
    Ticks(*dlg, kTimer, 12);
    EXPECT_EQ("50.0", Field(IDC_STAT_RX_NOW));
    // Averages from the counters as the reset left them, not from the old
    // baselines (which would make the difference wrap). The card's period
    // restarted with the reset, a little out of step with the ticks: close, not exact.
    EXPECT_NEAR(50.0, atof(Field(IDC_STAT_RX_AVG).c_str()), 1.0);
    EXPECT_NEAR(20.0, atof(Field(IDC_STAT_TX_AVG).c_str()), 0.5);
    EXPECT_TRUE(dlg->IsRunning());
}

TEST_F(StatisticsDialog, UpdateWhoseReadFailsAveragesFromTheFirstAnsweredSample)
{
    Load(kAboutToWrap); // baselines of 0 would give absurd averages
    ASSERT_TRUE(Open());
    Card().SetFault(SIM_FAULT_NO_ANSWER);
    Update();
    Card().SetFault(SIM_FAULT_NO_ANSWER, false);
    EXPECT_TRUE(dlg->IsRunning()) << "the run starts all the same";
    EXPECT_FALSE(dlg->HasBaselines());
    EXPECT_EQ("0.0", Field(IDC_STAT_TX_AVG));
    Ticks(*dlg, kTimer, 1);
    EXPECT_TRUE(dlg->HasBaselines());
    EXPECT_EQ("0.0", Field(IDC_STAT_TX_AVG)) << "no time has passed since the starting point";
    Ticks(*dlg, kTimer, 4);
    EXPECT_EQ("58.6", Field(IDC_STAT_TX_AVG));
    EXPECT_EQ("146.5", Field(IDC_STAT_RX_AVG));
    EXPECT_TRUE(os.boxes.empty());
}

TEST_F(StatisticsDialog, CardFallingSilentInATickClosesTheDialog)
{
    ASSERT_TRUE(Open());
    Update();
    Ticks(*dlg, kTimer, 3);
    Card().SetFault(SIM_FAULT_NO_ANSWER);
    Ticks(*dlg, kTimer, 1);
    EXPECT_EQ(nullptr, dlg->m_hWnd);
    EXPECT_FALSE(dlg->IsRunning());
    EXPECT_TRUE(os.boxes.empty()) << "closed without a message";
    EXPECT_EQ(0, TryLockAdapter()) << "the adapter lock was given back";
    UnlockAdapter();
}

TEST_F(StatisticsDialog, ResetWhoseReadFailsClosesTheDialog)
{
    ASSERT_TRUE(Open());
    Update();
    os.boxAnswer = IDOK;
    Card().SetFault(SIM_FAULT_NO_ANSWER, true, 0);
    dlg->SendMessage(WM_COMMAND, IDC_STAT_RESET);
    EXPECT_EQ(nullptr, dlg->m_hWnd);
    EXPECT_FALSE(dlg->IsRunning());
    EXPECT_EQ(1u, os.boxes.size()) << "only the question";
}

TEST_F(StatisticsDialog, BusyAdapterSkipsTheTick)
{
    ASSERT_TRUE(Open());
    Update();
    Card().ResetCounts();
    ASSERT_EQ(0, TryLockAdapter());
    Ticks(*dlg, kTimer, 2);
    UnlockAdapter();
    EXPECT_EQ(0u, Card().DriverRequests());
    EXPECT_EQ("", Field(IDC_STAT_TX_NOW));
    Ticks(*dlg, kTimer, 1);
    EXPECT_EQ("0.0", Field(IDC_STAT_TX_NOW));
    EXPECT_NE(0u, Card().DriverRequests());
}

TEST_F(StatisticsDialog, EveryWayOfClosingStopsTheRun)
{
    const struct
    {
        const char* how;
        UINT msg;
        WPARAM wParam;
    } ways[] = {
        {"OK", WM_COMMAND, IDC_STAT_OK},
        {"system menu Close", WM_SYSCOMMAND, SC_CLOSE},
        {"Esc", WM_COMMAND, IDCANCEL},
    };
    for (const auto& w : ways) {
        ASSERT_TRUE(Open());
        dlg->SendMessage(WM_COMMAND, IDC_STAT_UPDATE);
        ASSERT_TRUE(dlg->IsRunning());
        dlg->SendMessage(w.msg, w.wParam);
        EXPECT_EQ(nullptr, dlg->m_hWnd) << w.how;
        EXPECT_FALSE(dlg->IsRunning()) << w.how;
    }
    EXPECT_TRUE(os.boxes.empty());
}

TEST_F(StatisticsDialog, HelpOpensTheThroughputTopicOrSaysItCannot)
{
    ASSERT_TRUE(Open());
    dlg->SendMessage(WM_COMMAND, IDC_STAT_HELP);
    ASSERT_EQ(1u, os.helpKeys.size());
    EXPECT_EQ("View Station Throughput", os.helpKeys[0]);
    EXPECT_TRUE(os.boxes.empty());
    os.helpAnswer = FALSE;
    dlg->SendMessage(WM_COMMAND, IDC_STAT_HELP);
    ASSERT_EQ(1u, os.boxes.size());
    EXPECT_EQ("Cannot open help file.", os.boxes[0].text);
    EXPECT_EQ("Corvane", os.boxes[0].caption);
    EXPECT_EQ((UINT)MB_ICONERROR, os.boxes[0].style);
}

} // namespace
