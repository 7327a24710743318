// MailboxTest.cpp - the mailbox exchange, its wrappers, and the join, scan
// and rate procedures, against a scripted firmware with a fake clock.
#include "adapter/Mailbox.h"
#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "tests/support/ScriptedCard.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {
MailboxData Data(uint16_t code, std::vector<uint8_t> value = {})
{
    MailboxData data;
    memset(&data, 0, sizeof(data));
    data.code = code;
    memcpy(data.value, value.data(), value.size());
    return data;
}
} // namespace

TEST(Mailbox, FirstPollAnswerStillCostsTwoPauses)
{
    ScriptedCard card;
    MailboxBlock block{};
    block.command = CMD_GET_PARAM;
    block.data.code = PARAM_LINK_STATE;
    card.Reply(0, {11, 0});
    EXPECT_EQ(1, SendMailboxCommand(block));
    EXPECT_EQ((std::vector<DWORD>{50, 50}), card.sleeps);
    EXPECT_EQ(0, block.status);
    EXPECT_EQ(11, block.data.value[0]);
    ASSERT_EQ(1u, card.sent.size());
    EXPECT_EQ(0xFFFF, card.sent[0].status) << "the command goes out marked pending";
    EXPECT_EQ(1, card.blockWrites);
    EXPECT_EQ(2, card.blockReads);
}

TEST(Mailbox, AnswerAfterSomePollsIsWaitedFor)
{
    ScriptedCard card;
    card.pendingPolls = 9; // the tenth read sees the answer
    MailboxData data = Data(PARAM_FIRMWARE_VERSION);
    card.Reply(0, {0x2D, 0x01});
    EXPECT_EQ(0, GetParam(data));
    EXPECT_EQ(301, data.value[0] | (data.value[1] << 8));
    EXPECT_EQ(11u, card.sleeps.size());
}

TEST(Mailbox, SilentFirmwareGivesNoResponseAfterTenPollsAndCopiesNothing)
{
    ScriptedCard card;
    card.pendingPolls = -1;
    card.Reply(0, {1, 2, 3});

    MailboxData data = Data(PARAM_MAC_ADDRESS, {0xAA, 0xBB});
    EXPECT_EQ(STATUS_NO_RESPONSE, GetParam(data));
    EXPECT_EQ(11u, card.sleeps.size()) << "one to see the mailbox idle, ten for the answer";
    EXPECT_EQ(0xAA, data.value[0]);
    EXPECT_EQ(0xBB, data.value[1]);

    MailboxData status = Data(SUB_QUALITY, {0x77});
    EXPECT_EQ(STATUS_NO_RESPONSE, GetStatus(status));
    EXPECT_EQ(0x77, status.value[0]);
    MailboxData exchange = Data(0, {0x55});
    EXPECT_EQ(STATUS_NO_RESPONSE, ExchangeCommand(CMD_START_BSS_SCAN, exchange));
    EXPECT_EQ(0x55, exchange.value[0]);
}

TEST(Mailbox, BusyMailboxSendsNothing)
{
    ScriptedCard card;
    card.MakeBusy();
    MailboxData data = Data(PARAM_LINK_STATE);
    EXPECT_EQ(STATUS_NO_RESPONSE, GetParam(data));
    EXPECT_EQ(0, card.blockWrites);
    EXPECT_TRUE(card.sent.empty());
    EXPECT_EQ(10u, card.sleeps.size());
    EXPECT_EQ(STATUS_NO_RESPONSE, SetParam(Data(PARAM_PS_MODE)));
    EXPECT_EQ(STATUS_NO_RESPONSE, ResetStatistics());
    EXPECT_EQ(0, card.blockWrites);
}

TEST(Mailbox, ClosedOrBadMailboxSendsNothingAndReportsTheLink)
{
    struct Case
    {
        int state;
        WORD pointer;
        WORD expected;
    } cases[] = {
        {0, ScriptedCard::kMailbox, STATUS_NOT_OPEN},
        {1, ScriptedCard::kMailbox, STATUS_BAD_MAILBOX},
        {2, 0x1FE, STATUS_BAD_MAILBOX},
        {2, 0x8000, STATUS_BAD_MAILBOX},
    };
    for (const Case& c : cases) {
        ScriptedCard card;
        GetAdapterLink().MailboxState = c.state;
        GetAdapterLink().MailboxPointer = c.pointer;
        MailboxBlock block{};
        EXPECT_EQ(c.expected, SendMailboxCommand(block)) << "state " << c.state;
        MailboxData data = Data(PARAM_LINK_STATE, {0x42});
        EXPECT_EQ(c.expected, GetParam(data)) << "the wrapper says why nothing was sent";
        EXPECT_EQ(0x42, data.value[0]) << "and copies nothing back";
        EXPECT_EQ(0, card.blockReads + card.blockWrites);
        EXPECT_TRUE(card.sleeps.empty());
    }
}

TEST(Mailbox, FirmwareStatusPassesThrough)
{
    ScriptedCard card;
    card.Reply(STATUS_NOT_AVAILABLE, {9, 8});
    MailboxData data = Data(SUB_STATION_ENTRY, {5, 0});
    EXPECT_EQ(STATUS_NOT_AVAILABLE, GetStatus(data));
    EXPECT_EQ(9, data.value[0]) << "an answered command copies its answer back";
}

TEST(Mailbox, GetParamSendsOnlyTheCodeAndTheRestKeepsTheLastAnswer)
{
    ScriptedCard card;
    card.Reply(0, {0x11, 0x22, 0x33});
    MailboxData first = Data(PARAM_MANUFACTURER);
    GetParam(first);
    MailboxData second = Data(PARAM_STATION_NAME, {0xEE, 0xEE, 0xEE, 0xEE});
    GetParam(second);
    ASSERT_EQ(2u, card.sent.size());
    EXPECT_EQ(CMD_GET_PARAM, card.sent[1].command);
    EXPECT_EQ(PARAM_STATION_NAME, card.sent[1].data.code);
    EXPECT_EQ(0x11, card.sent[1].data.value[0]) << "the caller's value field is not sent";
    EXPECT_EQ(0x33, card.sent[1].data.value[2]);
}

TEST(Mailbox, SetParamSendsTheValueAndCopiesNothingBack)
{
    ScriptedCard card;
    card.Reply(0, {0x99});
    MailboxData data = Data(PARAM_ROAMING, {1});
    EXPECT_EQ(0, SetParam(data));
    ASSERT_EQ(1u, card.sent.size());
    EXPECT_EQ(CMD_SET_PARAM, card.sent[0].command);
    EXPECT_EQ(PARAM_ROAMING, card.sent[0].data.code);
    EXPECT_EQ(1, card.sent[0].data.value[0]);
}

TEST(Mailbox, GetStatisticsReadsTheBlockTheFirmwareNames)
{
    ScriptedCard card;
    uint8_t counters[STATISTICS_BLOCK_SIZE];
    for (size_t i = 0; i < sizeof(counters); ++i)
        counters[i] = static_cast<uint8_t>(i * 7);
    card.PutMemory(0x4000, counters, sizeof(counters));
    card.firmware = [](MailboxBlock& block) {
        block.status = 0;
        block.data.code = 0x4000;
    };
    uint8_t out[STATISTICS_BLOCK_SIZE] = {};
    EXPECT_EQ(0, GetStatistics(out, sizeof(out)));
    EXPECT_EQ(0, memcmp(counters, out, sizeof(out)));
    EXPECT_EQ(CMD_GET_STATISTICS, card.sent.at(0).command);

    // A smaller destination gets only what fits.
    uint8_t small[8 + 4];
    memset(small, 0xCC, sizeof(small));
    EXPECT_EQ(0, GetStatistics(small, 8));
    EXPECT_EQ(0, memcmp(counters, small, 8));
    EXPECT_EQ(0xCC, small[8]);

    card.pendingPolls = -1;
    memset(out, 0xCC, sizeof(out));
    EXPECT_EQ(STATUS_NO_RESPONSE, GetStatistics(out, sizeof(out)));
    EXPECT_EQ(0xCC, out[0]);
    EXPECT_EQ(STATUS_NO_RESPONSE, ResetStatistics());
}

// ---- refused driver transfers ----

namespace {
// Where in one command the driver refuses: the read that checks the mailbox
// is idle, the write of the command, the first read of the answer.
struct Refusal
{
    const char* what;
    int read, write;
    int requests; // block requests the command makes, the refused one included
};
const Refusal kRefusals[] = {
    {"idle check read", 1, 0, 1},
    {"command write", 0, 1, 2},
    {"answer read", 2, 0, 3},
};
} // namespace

TEST(Mailbox, RefusedTransferEndsTheCommandAtOnceAsNotAnswered)
{
    for (const Refusal& r : kRefusals) {
        SCOPED_TRACE(r.what);
        ScriptedCard card;
        card.refuseRead = r.read;
        card.refuseWrite = r.write;
        card.Reply(0, {0x11, 0x22});
        MailboxData data = Data(PARAM_MAC_ADDRESS, {0x77});
        EXPECT_EQ(STATUS_NO_RESPONSE, GetParam(data));
        EXPECT_EQ(0x77, data.value[0]) << "nothing of the driver's buffer reaches the caller";
        EXPECT_EQ(r.requests, card.blockReads + card.blockWrites) << "no poll after a refusal";
        EXPECT_EQ(std::vector<AdapterNotice>{AdapterNotice::PortIoctlFailed},
                  card.reporter.Kinds());
    }
}

TEST(Mailbox, RefusedWriteNeverPassesTheEarlierAnswerOff)
{
    ScriptedCard card;
    card.Reply(0, {64, 0});
    MailboxData mac = Data(PARAM_MAC_ADDRESS);
    ASSERT_EQ(0, GetParam(mac));
    card.Reply(0, {12, 0});
    card.refuseWrite = 2; // the mailbox keeps the MAC request's answer
    MailboxData quality = Data(SUB_QUALITY, {0x33});
    EXPECT_EQ(STATUS_NO_RESPONSE, GetStatus(quality));
    EXPECT_EQ(0x33, quality.value[0]);
}

// The driver's box, once per command; and from then on the adapter counts as
// failed, so that no other window's poll shows the box again.
TEST(Mailbox, MissingDriverShowsOneBoxPerCommand)
{
    ClearAdapterState();
    ScriptedCard card;
    card.driverGone = true;
    MailboxData data = Data(PARAM_LINK_STATE);
    EXPECT_EQ(STATUS_NO_RESPONSE, GetParam(data));
    EXPECT_EQ(std::vector<AdapterNotice>{AdapterNotice::PortNoDevice}, card.reporter.Kinds());
    EXPECT_EQ(1u, card.sleeps.size());
    EXPECT_TRUE(GetAdapterState().m_bAdapterFailed);
    EXPECT_TRUE(GetAdapterState().m_bSilenceToTell);
    ClearAdapterState();
}

TEST(Mailbox, RefusedCounterReadLeavesTheDestinationAlone)
{
    ScriptedCard card;
    card.firmware = [](MailboxBlock& block) {
        block.status = 0;
        block.data.code = 0x4000;
    };
    card.refuseRead = 3; // idle check, answer, then the counters
    uint8_t out[STATISTICS_BLOCK_SIZE];
    memset(out, 0xCC, sizeof(out));
    EXPECT_EQ(STATUS_NO_RESPONSE, GetStatistics(out, sizeof(out)));
    for (uint8_t b : out)
        ASSERT_EQ(0xCC, b);
    EXPECT_EQ(1u, card.reporter.notices.size());
}

// ---- JoinNetwork ----

namespace {
// A firmware for joins: refuses the start `refusals` times, then reports the
// join going for `busyPolls` polls of sub-code 11; the override ends it when
// `overrideEnds` is set.
struct JoinFirmware
{
    int refusals = 0;
    int busyPolls = 0;
    bool overrideEnds = true;
    bool overrideOn = false;

    void operator()(MailboxBlock& block)
    {
        block.status = 0;
        if (block.command == CMD_START_JOIN && refusals > 0) {
            --refusals;
            block.status = 0x0005;
        }
        if (block.command == CMD_SET_PARAM && block.data.code == PARAM_JOIN_OVERRIDE)
            overrideOn = block.data.value[0] == 1;
        if (block.command == CMD_GET_STATUS && block.data.code == SUB_JOIN_STATE) {
            bool going = busyPolls > 0 && !(overrideOn && overrideEnds);
            if (busyPolls > 0)
                --busyPolls;
            memset(block.data.value, 0, sizeof(block.data.value));
            block.data.value[0] = going ? 1 : 0;
        }
    }
};
} // namespace

TEST(JoinNetwork, NetworkTypeTextChoosesTheTypeByte)
{
    struct Case
    {
        const char* text;
        uint8_t type;
    } cases[] = {{"AD-HOC", 0}, {"infrastructure", 1}, {"INFRASTRUCTURE", 1}, {"Infra", 0}};
    for (const Case& c : cases) {
        ScriptedCard card;
        EXPECT_EQ(0, JoinNetwork(c.text, "00:a0:c5:12:34:56", "Corvane"));
        ASSERT_GE(card.sent.size(), 1u);
        EXPECT_EQ(CMD_SET_JOIN_PARAM, card.sent[0].command);
        EXPECT_EQ(PARAM_NETWORK_TYPE, card.sent[0].data.code);
        EXPECT_EQ(c.type, card.sent[0].data.value[0]) << c.text;
    }
}

TEST(JoinNetwork, SendsBssidEssidThenStartsWithTheEssidStillInTheBlock)
{
    ScriptedCard card;
    EXPECT_EQ(0, JoinNetwork("Infrastructure", "00:A0:C5:12:34:56", "Office"));
    ASSERT_EQ(5u, card.sent.size()); // type, BSSID, ESSID, start, one poll
    const uint8_t bssid[6] = {0x00, 0xA0, 0xC5, 0x12, 0x34, 0x56};
    EXPECT_EQ(PARAM_BSSID, card.sent[1].data.code);
    EXPECT_EQ(0, memcmp(bssid, card.sent[1].data.value, 6));
    EXPECT_EQ(PARAM_ESSID, card.sent[2].data.code);
    EXPECT_STREQ("Office", reinterpret_cast<const char*>(card.sent[2].data.value));
    EXPECT_EQ(CMD_START_JOIN, card.sent[3].command);
    EXPECT_EQ(PARAM_ESSID, card.sent[3].data.code);
    EXPECT_STREQ("Office", reinterpret_cast<const char*>(card.sent[3].data.value));
    EXPECT_EQ(CMD_GET_STATUS, card.sent[4].command);
    EXPECT_EQ(SUB_JOIN_STATE, card.sent[4].data.code);
}

TEST(JoinNetwork, LongEssidFillsTheFieldAndNoMore)
{
    ScriptedCard card;
    std::string essid(40, 'E');
    EXPECT_EQ(0, JoinNetwork("AD-HOC", "0:0:0:0:0:1", essid.c_str()));
    ASSERT_GE(card.sent.size(), 3u);
    EXPECT_EQ(0, memcmp(essid.data(), card.sent[2].data.value, 32));
}

TEST(JoinNetwork, RefusedStartsArePacedBySecondsThenTheJoinIsWaitedFor)
{
    ScriptedCard card;
    JoinFirmware fw;
    fw.refusals = 3;
    fw.busyPolls = 4;
    card.firmware = std::ref(fw);
    EXPECT_EQ(0, JoinNetwork("Infrastructure", "1:2:3:4:5:6", "x"));
    EXPECT_EQ(4, card.CountSent(CMD_START_JOIN));
    EXPECT_EQ(5, card.CountSent(CMD_GET_STATUS, SUB_JOIN_STATE));
    EXPECT_EQ(0, card.CountSent(CMD_SET_PARAM, PARAM_JOIN_OVERRIDE));
    int seconds = 0;
    for (DWORD ms : card.sleeps)
        seconds += ms == 1000;
    EXPECT_EQ(3 + 4, seconds);
}

TEST(JoinNetwork, TwentyRefusalsGiveUpWithoutWaiting)
{
    ScriptedCard card;
    JoinFirmware fw;
    fw.refusals = 1000;
    card.firmware = std::ref(fw);
    EXPECT_EQ(0, JoinNetwork("Infrastructure", "1:2:3:4:5:6", "x"));
    EXPECT_EQ(20, card.CountSent(CMD_START_JOIN));
    EXPECT_EQ(0, card.CountSent(CMD_GET_STATUS));
}

TEST(JoinNetwork, NoAnswerAtAnyStepGives255)
{
    {
        ScriptedCard card;
        card.pendingPolls = -1;
        EXPECT_EQ(255, JoinNetwork("Infrastructure", "1:2:3:4:5:6", "x"));
    }
    {
        // Answers the parameters and the start, then falls silent.
        ScriptedCard card;
        card.firmware = [&card](MailboxBlock& block) {
            block.status = 0;
            if (block.command == CMD_GET_STATUS)
                card.pendingPolls = -1;
        };
        EXPECT_EQ(255, JoinNetwork("Infrastructure", "1:2:3:4:5:6", "x"));
        EXPECT_EQ(1, card.CountSent(CMD_GET_STATUS));
    }
}

TEST(JoinNetwork, ThirtyBusyPollsBringTheOverrideThenItIsWithdrawn)
{
    ScriptedCard card;
    JoinFirmware fw;
    fw.busyPolls = 1000;
    card.firmware = std::ref(fw);
    EXPECT_EQ(0, JoinNetwork("Infrastructure", "1:2:3:4:5:6", "x"));
    // 30 paced polls, then the override, one unpaced poll that sees the end.
    EXPECT_EQ(31, card.CountSent(CMD_GET_STATUS, SUB_JOIN_STATE));
    ASSERT_EQ(2, card.CountSent(CMD_SET_PARAM, PARAM_JOIN_OVERRIDE));
    std::vector<uint32_t> overrides;
    for (const MailboxBlock& b : card.sent)
        if (b.command == CMD_SET_PARAM && b.data.code == PARAM_JOIN_OVERRIDE)
            overrides.push_back(b.data.value[0] | (b.data.value[1] << 8) | (b.data.value[2] << 16) |
                                (uint32_t(b.data.value[3]) << 24));
    EXPECT_EQ((std::vector<uint32_t>{1, 0}), overrides);
    EXPECT_FALSE(fw.overrideOn);
    int seconds = 0;
    for (DWORD ms : card.sleeps)
        seconds += ms == 1000;
    EXPECT_EQ(30, seconds) << "no pause of ours after the override";
}

TEST(JoinNetwork, OverridePollIsBounded)
{
    ScriptedCard card;
    JoinFirmware fw;
    fw.busyPolls = 100000;
    fw.overrideEnds = false;
    card.firmware = std::ref(fw);
    EXPECT_EQ(0, JoinNetwork("Infrastructure", "1:2:3:4:5:6", "x"));
    EXPECT_EQ(30 + JOIN_OVERRIDE_POLLS, card.CountSent(CMD_GET_STATUS, SUB_JOIN_STATE));
    EXPECT_FALSE(fw.overrideOn) << "the override is withdrawn after the bound";
}

// ---- scans, rates, lock ----

TEST(JoinNetwork, RefusedTransfersEndTheJoinWithoutStartingIt)
{
    for (const Refusal& r : kRefusals) {
        SCOPED_TRACE(r.what);
        ScriptedCard card;
        card.refuseReadsFrom = r.read;
        card.refuseWritesFrom = r.write;
        EXPECT_EQ(255, JoinNetwork("Infrastructure", "1:2:3:4:5:6", "x"));
        EXPECT_EQ(1u, card.reporter.notices.size());
    }
    // The BSSID never reached the card: starting would join whatever cell
    // the card had been told before.
    ScriptedCard card;
    card.refuseWrite = 2;
    EXPECT_EQ(255, JoinNetwork("Infrastructure", "1:2:3:4:5:6", "x"));
    EXPECT_EQ(0, card.CountSent(CMD_START_JOIN));
    EXPECT_EQ(0, card.CountSent(CMD_SET_JOIN_PARAM, PARAM_ESSID));
}

TEST(Scans, BssScanRetriesEverySecondWhileRefused)
{
    ScriptedCard card;
    int refusals = 2;
    card.firmware = [&refusals](MailboxBlock& block) { block.status = refusals-- > 0 ? 3 : 0; };
    EXPECT_EQ(0, StartBssScan());
    EXPECT_EQ(3, card.CountSent(CMD_START_BSS_SCAN));
    EXPECT_EQ(2000u + 3 * 100u, card.SleptMs());
}

TEST(Scans, BssScanRefusedForeverStopsAfterTwentyTries)
{
    ScriptedCard card;
    card.Reply(3, {});
    EXPECT_EQ(1, StartBssScan());
    EXPECT_EQ(20, card.CountSent(CMD_START_BSS_SCAN));
}

TEST(Scans, NoAnswerAndStationScan)
{
    ScriptedCard card;
    card.Reply(7, {});
    EXPECT_EQ(0, StartStationScan()) << "any answered status counts";
    EXPECT_EQ(1, card.CountSent(CMD_START_STATION_SCAN));
    card.pendingPolls = -1;
    EXPECT_EQ(255, StartStationScan());
    EXPECT_EQ(255, StartBssScan());
    card.pendingPolls = 0;
    card.refuseWritesFrom = 1;
    EXPECT_EQ(255, StartBssScan()) << "a refused transfer is no answer, not a refusal to retry";
    EXPECT_EQ(255, StartStationScan());
}

TEST(Rates, CardHasHighRate)
{
    struct Case
    {
        uint16_t status;
        std::vector<uint8_t> list;
        BYTE expected;
    } cases[] = {
        {0, {0x02, 0x04, 0x00}, 1},      {0, {0x02, 0x00}, 0},
        {0, {0x04, 0x02, 0x00}, 1},      {STATUS_NOT_AVAILABLE, {0x02, 0x04, 0x00}, 0},
        {0x0001, {0x02, 0x04, 0x00}, 1}, // other statuses still decode
    };
    for (const Case& c : cases) {
        ScriptedCard card;
        card.Reply(c.status, c.list);
        EXPECT_EQ(c.expected, CardHasHighRate()) << "status " << c.status;
        EXPECT_EQ(PARAM_RATES, card.sent.at(0).data.code);
    }
    ScriptedCard card;
    card.pendingPolls = -1;
    EXPECT_EQ(0, CardHasHighRate());
    GetAdapterLink().AdapterReady = false;
    EXPECT_EQ(2, CardHasHighRate());
}

TEST(Lock, TryLockAndUnlock)
{
    ScriptedCard card;
    EXPECT_EQ(0, TryLockAdapter());
    EXPECT_TRUE(GetAdapterLink().AdapterBusy);
    EXPECT_EQ(-1, TryLockAdapter());
    UnlockAdapter();
    EXPECT_FALSE(GetAdapterLink().AdapterBusy);
    EXPECT_EQ(0, TryLockAdapter());
    UnlockAdapter();
}
