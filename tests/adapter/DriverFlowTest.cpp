// DriverFlowTest.cpp - a scan, a join and a statistics read through the real
// razuDov driver, with real pauses, on the driver path and on the trapped
// port path. Skipped when the razuDov service is not installed here.
#include "adapter/AdapterDiscovery.h"
#include "adapter/CardItems.h"
#include "adapter/CardSettings.h"
#include "adapter/Mailbox.h"
#include "adapter/PortAccess.h"
#include "framework/Os.h"
#include "sim/PortTrap.h"
#include "tests/support/DriverAccess.h"
#include "tests/support/FakeOs.h"
#include "tests/support/RecordingReporter.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {
const char* const kScenario = "name flow\n"
                              "iobase 0x240\n"
                              "mailbox 0x0300\n"
                              "scan-time 400\n"
                              "join-time 300\n"
                              "cell 00:A0:C5:00:00:01 Corvane 1 72 name=Lobby\n"
                              "cell 00:A0:C5:00:00:02 Corvane 6 48 name=Lab\n"
                              "cell 00:A0:C5:00:00:04 Guests  3 55 name=Cafe\n"
                              "current 00:A0:C5:00:00:01\n"
                              "traffic tx 12000 rx 30000 frame 600\n";

class DriverFlow : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        std::string why = LoadDriverScenario(kScenario);
        if (!why.empty())
            GTEST_SKIP() << why;
        WORD base = DriverCardBase();
        ResetAdapterState();
        GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
        ASSERT_EQ(1, DriverSetBase(base));
        GetAdapterLink().IoBase = base;
        if (GetParam() == PLATFORM_WIN9X) {
            if (!InstallPortTrapIfWine())
                GTEST_SKIP() << "no port trap";
            GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
        }
        ASSERT_EQ(0, OpenMailbox());
        GetAdapterLink().AdapterReady = true;
    }
    void TearDown() override
    {
        if (GetAdapterLink().PlatformKind == PLATFORM_WIN9X)
            RemovePortTrap();
        ResetAdapterState();
    }

    RecordingReporter reporter; // the adapter's texts, as the program gives them
};
} // namespace

TEST_P(DriverFlow, ScanJoinAndStatistics)
{
    ASSERT_EQ(ITEM_OK, SetCardItem(nullptr, CI_START_BSS_SCAN, ""));
    // The card's scan takes its time on the machine's clock: asked again
    // until it ends, for up to a minute however busy the machine is.
    WORD done = 0;
    for (DWORD start = ::GetTickCount(); done == 0 && ::GetTickCount() - start < 60000; ::Sleep(20))
        ASSERT_EQ(ITEM_OK, QueryCardItem(CI_BSS_SCAN_DONE, done));
    ASSERT_EQ(1, done) << "the scan ends";
    WORD count = 0;
    ASSERT_EQ(ITEM_OK, QueryCardItem(CI_BSS_COUNT, count));
    ASSERT_EQ(3, count);
    std::set<std::string> bssids;
    for (WORD i = 0; i < count; ++i) {
        char text[32] = {static_cast<char>(i), 0};
        ASSERT_EQ(ITEM_OK, QueryCardItem(CI_BSS_BSSID, text));
        bssids.insert(text);
    }
    EXPECT_EQ(1u, bssids.count("00:A0:C5:00:00:02"));

    EXPECT_EQ(0, JoinNetwork("Infrastructure", "00:A0:C5:00:00:02", "Corvane"));
    char cell[32];
    ASSERT_EQ(ITEM_OK, QueryCardItem(CI_CURRENT_BSSID, cell));
    EXPECT_STREQ("00:A0:C5:00:00:02", cell);

    StatisticsBlock first, second;
    ASSERT_EQ(ITEM_OK, QueryCardItem(CI_STATISTICS, first));
    second = first;
    for (DWORD start = ::GetTickCount();
         second.txOkBytes == first.txOkBytes && ::GetTickCount() - start < 60000; ::Sleep(20))
        ASSERT_EQ(ITEM_OK, QueryCardItem(CI_STATISTICS, second));
    EXPECT_GT(second.txOkBytes, first.txOkBytes) << "counters move with the traffic";
}

INSTANTIATE_TEST_SUITE_P(Paths, DriverFlow,
                         ::testing::Values(PLATFORM_NT_WORKSTATION, PLATFORM_WIN9X),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == PLATFORM_WIN9X ? "PortTrap" : "Driver";
                         });

// The card moves to another base under an open mailbox, so the driver refuses
// every block request for the base it was told: each operation is one box
// and no answer, never a decoded leftover.
TEST(DriverRefusal, CardMovedAwayGivesNoAnswerWithOneBoxEach)
{
    std::string why = LoadDriverScenario(kScenario);
    if (!why.empty())
        GTEST_SKIP() << why;
    ResetAdapterState();
    GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
    GetAdapterLink().IoBase = DriverCardBase();
    ASSERT_EQ(1, DriverSetBase(GetAdapterLink().IoBase));
    ASSERT_EQ(0, OpenMailbox());
    GetAdapterLink().AdapterReady = true;
    std::string moved = kScenario;
    moved.replace(moved.find("iobase 0x240"), 12, "iobase 0x300");
    ASSERT_EQ("", LoadDriverScenario(moved.c_str()));

    FakeOs os;
    RecordingReporter recorded;
    char text[64] = "stale";
    EXPECT_EQ(ITEM_NO_RESPONSE, QueryCardItem(CI_LINK_STATE, text));
    EXPECT_STREQ("", text);
    EXPECT_EQ(ITEM_NO_RESPONSE, QueryCardItem(CI_SIGNAL_QUALITY, text));
    StatisticsBlock counters;
    EXPECT_EQ(ITEM_NO_RESPONSE, QueryCardItem(CI_STATISTICS, counters));
    EXPECT_EQ(ITEM_NO_RESPONSE, SetCardItem(nullptr, CI_ROAMING, "1"));
    EXPECT_EQ(ITEM_NO_RESPONSE, JoinNetwork("Infrastructure", "00:A0:C5:00:00:02", "Corvane"));
    EXPECT_EQ(std::vector<AdapterNotice>(5, AdapterNotice::PortIoctlFailed), recorded.Kinds());
    ResetAdapterState();
    LoadDriverScenario(kScenario);
}
