// The process-wide adapter state: the one report of a silent card, the
// adapter lock and the quality scale.
#include "adapter/AdapterState.h"
#include "adapter/Mailbox.h"
#include "adapter/QualityScale.h"
#include "tests/support/FakeOs.h"
#include "tests/support/RecordingReporter.h"

#include <gtest/gtest.h>

namespace {

class AdapterStateTest : public ::testing::Test
{
protected:
    void SetUp() override { ClearAdapterState(); }
    void TearDown() override { ClearAdapterState(); }
    FakeOs os{FakeOs::kMachine};
    RecordingReporter reporter;
};

TEST_F(AdapterStateTest, SilentCardIsReportedOnce)
{
    ClearAdapterState();
    AdapterState& state = GetAdapterState();
    EXPECT_TRUE(ReportAdapterSilent(nullptr));
    EXPECT_TRUE(state.m_bAdapterFailed);
    EXPECT_EQ(5, state.m_nAdapterStatus);
    EXPECT_EQ(std::vector<AdapterNotice>{AdapterNotice::NoResponse}, reporter.Kinds());

    // A later report (another window found the same silence) only keeps the flag.
    state.m_nAdapterStatus = 7;
    EXPECT_FALSE(ReportAdapterSilent(nullptr));
    EXPECT_TRUE(state.m_bAdapterFailed);
    EXPECT_EQ(7, state.m_nAdapterStatus);
    EXPECT_EQ(1u, reporter.notices.size());
}

TEST_F(AdapterStateTest, LockIsHeldByOnePollAtATime)
{
    {
        AdapterLock outer;
        ASSERT_TRUE(outer.IsHeld());
        AdapterLock inner; // a timer poll inside the first one's message box
        EXPECT_FALSE(inner.IsHeld());
    }
    // Both gone: the lock is free again, and the refused one did not free it early.
    EXPECT_EQ(0, TryLockAdapter());
    {
        AdapterLock refused;
        EXPECT_FALSE(refused.IsHeld());
    }
    EXPECT_EQ(-1, TryLockAdapter()) << "still held by the TryLockAdapter above";
    UnlockAdapter();
}

TEST(QualityScale, BandsFollowTheThresholds)
{
    struct Case
    {
        int quality;
        QualityBand band;
    };
    const Case cases[] = {
        {0, QualityBand::Poor},
        {29, QualityBand::Poor},
        {30, QualityBand::Fair},
        {59, QualityBand::Fair},
        {60, QualityBand::Good},
        {100, QualityBand::Good},
        {QUALITY_NO_CONNECTION, QualityBand::None},
        {QUALITY_SCANNING, QualityBand::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.band, BandOf(c.quality)) << c.quality;
}

} // namespace
