// LinkMonitorTest.cpp - the link monitor on its own, without a window,
// against the simulated card: what a reading carries, a card that does not
// answer and a card another poll holds.
#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "adapter/Mailbox.h"
#include "app/CLinkMonitor.h"
#include "res/resource.h"
#include "tests/support/ToolScenarios.h"
#include "tests/support/ToolTestSupport.h"

#include <gtest/gtest.h>

namespace {

class LinkMonitor : public ::testing::Test
{
protected:
    FakeOs os;
    TestApp app;
    OpenedCard card{kInfrastructure};
    CLinkMonitor monitor;
};

TEST_F(LinkMonitor, ReadingCarriesTheQualityAndWhatTheIconShows)
{
    monitor.Start(false);
    EXPECT_FALSE(monitor.IsAdHoc());
    EXPECT_EQ(CLinkMonitor::PERIOD, monitor.GetPeriod());
    EXPECT_FALSE(monitor.LinkIsIdle());

    CLinkMonitor::Reading quiet = monitor.Read(false);
    EXPECT_EQ(CLinkMonitor::READ, quiet.outcome);
    EXPECT_EQ(72, quiet.quality);
    EXPECT_EQ("", quiet.tip) << "no tip asked for";
    EXPECT_TRUE(monitor.HasReading());

    ASSERT_TRUE(card.card.SetSignal(0, 20));
    CLinkMonitor::Reading low = monitor.Read(true);
    EXPECT_EQ(20, low.quality);
    EXPECT_EQ("Quality: 20%", low.tip);
    EXPECT_EQ((UINT)IDI_QUALITY_POOR, low.icon);
}

TEST_F(LinkMonitor, SilentCardIsLeftToTheOwnerToReport)
{
    GetAdapterState().AlertBeep = 1;
    monitor.Start(false);
    card.card.Silence(CMD_GET_STATUS, SUB_QUALITY);
    EXPECT_EQ(CLinkMonitor::NO_RESPONSE, monitor.Read(true).outcome);
    EXPECT_FLOAT_EQ(100.0f, monitor.GetQuality()) << "the last quality stands";
    EXPECT_FALSE(GetAdapterState().m_bAdapterFailed);
    EXPECT_TRUE(os.boxes.empty());
    EXPECT_TRUE(os.beeps.empty());
    EXPECT_FALSE(GetAdapterLink().AdapterBusy) << "the card is let go";

    card.card.ClearAnswerRules();
    EXPECT_EQ(CLinkMonitor::READ, monitor.Read(true).outcome);
}

TEST_F(LinkMonitor, CardHeldByAnotherPollIsNotAsked)
{
    monitor.Start(false);
    ASSERT_EQ(0, TryLockAdapter());
    card.card.ResetCounts();
    EXPECT_EQ(CLinkMonitor::SKIPPED, monitor.Read(true).outcome);
    EXPECT_EQ(0u, card.card.Commands(CMD_GET_STATUS, SUB_QUALITY));
    EXPECT_FALSE(monitor.HasReading());
    EXPECT_TRUE(GetAdapterLink().AdapterBusy) << "the other poll keeps its lock";
    UnlockAdapter();
}

} // namespace
