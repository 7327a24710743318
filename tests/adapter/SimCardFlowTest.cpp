// SimCardFlowTest.cpp - the command interface, items and live settings end
// to end against the simulated card (in process, fake clock): identity,
// scans, joins, statistics, the station table and the firmware's faults.
#include "adapter/AdapterDiscovery.h"
#include "adapter/CardItems.h"
#include "adapter/CardSettings.h"
#include "adapter/Mailbox.h"
#include "adapter/PortAccess.h"
#include "tests/support/RecordingReporter.h"
#include "tests/support/SimCard.h"

#include <gtest/gtest.h>

#include <set>
#include <string.h>
#include <vector>

namespace {
const char* const kInfrastructure = "name flow\n"
                                    "iobase 0x240\n"
                                    "mailbox 0x0300\n"
                                    "firmware 3.01\n"
                                    "mac 00:A0:C5:12:34:56\n"
                                    "manufacturer \"WIRELESS LAN\"\n"
                                    "station-name CORVANE-PC\n"
                                    "network infrastructure\n"
                                    "essid Corvane\n"
                                    "carrier 0x30\n"
                                    "scan-time 3000\n"
                                    "join-time 2500\n"
                                    "cell 00:A0:C5:00:00:01 Corvane  1 72 name=Lobby stations=4\n"
                                    "cell 00:A0:C5:00:00:02 Corvane  6 48 name=Lab stations=2\n"
                                    "cell 00:A0:C5:00:00:03 Corvane 11 20 name=Store secure\n"
                                    "cell 00:A0:C5:00:00:04 Guests   3 55 name=Cafe stations=9\n"
                                    "current 00:A0:C5:00:00:01\n"
                                    "traffic tx 12000 rx 30000 frame 600 retry 4 crc 2\n";

const char* const kAdHoc = "name adhoc\n"
                           "network adhoc\n"
                           "essid Party\n"
                           "cell 02:5E:10:20:30:40 Party 9 80 adhoc\n"
                           "current 02:5E:10:20:30:40\n"
                           "station 00:A0:C5:AA:00:01 ALPHA\n"
                           "station 00:A0:C5:AA:00:02 BRAVO inactive=1\n"
                           "free-slot\n"
                           "station 00:A0:C5:AA:00:04 DELTA\n";

// The simulated card with the adapter opened on the driver path.
class Flow
{
public:
    explicit Flow(const char* scenario, int platform = PLATFORM_NT_WORKSTATION) : card(scenario)
    {
        ResetAdapterState();
        GetAdapterLink().PlatformKind = platform;
        GetAdapterLink().IoBase = card.IoBase();
        EXPECT_EQ(0, OpenMailbox());
        GetAdapterLink().AdapterReady = true;
    }
    ~Flow() { ResetAdapterState(); }

    std::string Text(int item, uint16_t index = 0)
    {
        char text[64] = {};
        text[0] = static_cast<char>(index);
        text[1] = static_cast<char>(index >> 8);
        result = QueryCardItem(item, text);
        return text;
    }
    uint16_t Number(int item, uint16_t index = 0)
    {
        WORD number = index;
        result = QueryCardItem(item, number);
        return number;
    }

    RecordingReporter reporter; // the adapter's texts, as the program gives them
    SimCard card;
    BYTE result = 0xEE;
};
} // namespace

TEST(SimCardFlow, IdentityAndCurrentCell)
{
    Flow f(kInfrastructure);
    EXPECT_EQ("3.01", f.Text(13));
    EXPECT_EQ("00:A0:C5:12:34:56", f.Text(18));
    EXPECT_EQ("WIRELESS LAN", f.Text(12));
    EXPECT_EQ("CORVANE-PC", f.Text(40));
    EXPECT_EQ("Infrastructure", f.Text(4));
    EXPECT_EQ("Europe", f.Text(6));
    EXPECT_EQ("Corvane", f.Text(9));
    EXPECT_EQ("Associated", f.Text(19));
    EXPECT_EQ("00:A0:C5:00:00:01", f.Text(17));
    EXPECT_EQ("1, 2 Mbit/s", f.Text(16));
    EXPECT_EQ(1, CardHasHighRate());
    int quality = atoi(f.Text(23).c_str());
    EXPECT_GT(quality, 50) << "near the current cell's signal of 72";
    EXPECT_LE(quality, 100);
    EXPECT_EQ(ITEM_OK, f.result);
}

TEST(SimCardFlow, DirectPortPathOnWindows98)
{
    Flow f(kInfrastructure, PLATFORM_WIN9X);
    f.card.ResetCounts();
    EXPECT_EQ("3.01", f.Text(13));
    EXPECT_EQ(ITEM_OK, SetCardItem(nullptr, CI_TX_RETRY, "4"));
    EXPECT_EQ("4", f.Text(22));
    EXPECT_EQ(0, JoinNetwork("Infrastructure", "00:A0:C5:00:00:02", "Corvane"));
    EXPECT_EQ("00:A0:C5:00:00:02", f.Text(17));
    EXPECT_GT(f.card.PortInstructions(), 0u);
    EXPECT_EQ(0u, f.card.DriverRequests());
}

TEST(SimCardFlow, ScanTakesTimeThenFillsTheTable)
{
    Flow f(kInfrastructure);
    EXPECT_EQ(ITEM_OK, SetCardItem(nullptr, CI_START_BSS_SCAN, ""));
    EXPECT_EQ(0, f.Number(34)) << "the scan has just begun";
    int polls = 0;
    while (f.Number(34) == 0 && polls < 10) {
        g_os.Sleep(2000); // the Network Watcher's poll period
        ++polls;
    }
    EXPECT_EQ(1, f.Number(34));
    EXPECT_GE(polls, 1);
    uint16_t count = f.Number(25);
    ASSERT_EQ(4, count);
    std::set<std::string> bssids, essids;
    for (uint16_t i = 0; i < count; ++i) {
        bssids.insert(f.Text(26, i));
        essids.insert(f.Text(30, i));
        EXPECT_EQ("Infrastructure", f.Text(27, i));
        EXPECT_LE(f.Number(28, i), 100);
    }
    EXPECT_EQ((std::set<std::string>{"00:A0:C5:00:00:01", "00:A0:C5:00:00:02", "00:A0:C5:00:00:03",
                                     "00:A0:C5:00:00:04"}),
              bssids);
    EXPECT_EQ((std::set<std::string>{"Corvane", "Guests"}), essids);
}

TEST(SimCardFlow, JoinMovesToTheChosenCell)
{
    Flow f(kInfrastructure);
    uint64_t before = f.card.TotalSleep();
    EXPECT_EQ(0, JoinNetwork("Infrastructure", "00:A0:C5:00:00:02", "Corvane"));
    EXPECT_GE(f.card.TotalSleep() - before, 2000u) << "the join takes its time";
    EXPECT_EQ("00:A0:C5:00:00:02", f.Text(17));
    EXPECT_EQ("Associated", f.Text(19));
}

TEST(SimCardFlow, RefusedAndEndlessJoins)
{
    {
        Flow f(kInfrastructure);
        f.card.SetFault(SIM_FAULT_JOIN_REFUSED, true, 0);
        uint64_t before = f.card.TotalSleep();
        EXPECT_EQ(0, JoinNetwork("Infrastructure", "00:A0:C5:00:00:02", "Corvane"));
        uint64_t spent = f.card.TotalSleep() - before;
        EXPECT_GE(spent, 20000u) << "twenty refusals a second apart";
        EXPECT_LT(spent, 25000u);
    }
    {
        Flow f(kInfrastructure);
        f.card.SetFault(SIM_FAULT_JOIN_ENDLESS, true, 0); // the override ends it
        EXPECT_EQ(0, JoinNetwork("Infrastructure", "00:A0:C5:00:00:02", "Corvane"));
        EXPECT_GE(f.card.TotalSleep(), 30000u);
    }
    {
        Flow f(kInfrastructure);
        f.card.SetFault(SIM_FAULT_JOIN_ENDLESS, true, 1); // not even the override
        uint64_t before = f.card.TotalSleep();
        EXPECT_EQ(0, JoinNetwork("Infrastructure", "00:A0:C5:00:00:02", "Corvane"));
        uint64_t spent = f.card.TotalSleep() - before;
        // 30 paced polls, then the bounded unpaced ones at two pauses each.
        EXPECT_LT(spent, 30u * 1100 + JOIN_OVERRIDE_POLLS * 100u + 2000u);
        EXPECT_FALSE(f.card.Fw().Pending());
    }
}

TEST(SimCardFlow, StatisticsMoveWithTrafficAndClear)
{
    Flow f(kInfrastructure);
    StatisticsBlock first, second;
    ASSERT_EQ(ITEM_OK, QueryCardItem(CI_STATISTICS, first));
    g_os.Sleep(5000);
    ASSERT_EQ(ITEM_OK, QueryCardItem(CI_STATISTICS, second));
    EXPECT_GT(second.txOkBytes - first.txOkBytes, 5u * 12000 * 9 / 10);
    EXPECT_GT(second.rxOkBytes - first.rxOkBytes, 5u * 30000 * 9 / 10);
    EXPECT_GT(second.txOkFrames, first.txOkFrames);
    EXPECT_GE(second.uptime - first.uptime, 4u);

    EXPECT_EQ(ITEM_OK, SetCardItem(nullptr, CI_STATISTICS, ""));
    ASSERT_EQ(ITEM_OK, QueryCardItem(CI_STATISTICS, second));
    EXPECT_LT(second.txOkBytes, first.txOkBytes + 12000u) << "cleared";
}

TEST(SimCardFlow, AdHocQualityRecordCarriesTheStations)
{
    Flow f(kAdHoc);
    AdHocQualityRecord record;
    memset(&record, 0, sizeof(record));
    ASSERT_EQ(ITEM_OK, QueryCardItem(CI_ADHOC_QUALITY, record));
    EXPECT_GT(record.otherStations, 0);
    EXPECT_GT(record.timeCounter, 0u);
}

TEST(SimCardFlow, LiveSettingsTakeEffectAtOnce)
{
    Flow f(kInfrastructure);
    EXPECT_EQ(ITEM_OK, SetCardItem(nullptr, CI_TX_RETRY, "9"));
    EXPECT_EQ("9", f.Text(22));
    EXPECT_EQ(ITEM_OK, SetCardItem(nullptr, CI_ROAMING_THRESHOLD, "55"));
    EXPECT_EQ("55", f.Text(11));
}

TEST(SimCardFlow, StationTable)
{
    Flow f(kAdHoc);
    EXPECT_EQ("AD-HOC", f.Text(4));
    EXPECT_EQ(ITEM_OK, SetCardItem(nullptr, CI_START_STATION_SCAN, ""));
    uint16_t size = f.Number(42);
    ASSERT_EQ(ITEM_OK, f.result);
    ASSERT_GE(size, 4);
    std::set<std::string> names, macs;
    for (uint16_t i = 0; i < size; ++i) {
        if (f.Number(47, i) == 0)
            continue;
        names.insert(f.Text(43, i));
        macs.insert(f.Text(44, i));
    }
    EXPECT_EQ((std::set<std::string>{"ALPHA", "BRAVO", "DELTA"}), names);
    EXPECT_EQ(1u, macs.count("00:A0:C5:AA:00:04"));

    f.card.SetFault(SIM_FAULT_UNAVAILABLE, true, 1);
    EXPECT_EQ("", f.Text(44, 1));
    EXPECT_EQ(ITEM_NO_RESPONSE, f.result);
}

TEST(SimCardFlow, SilentAndSlowFirmware)
{
    Flow f(kInfrastructure);
    f.card.SetFault(SIM_FAULT_ANSWER_AFTER, true, 4);
    EXPECT_EQ("3.01", f.Text(13)) << "an answer after a few polls is waited for";
    f.card.SetFault(SIM_FAULT_ANSWER_AFTER, false);

    f.card.SetFault(SIM_FAULT_NO_ANSWER, true);
    uint32_t sleeps = f.card.SleepCalls();
    EXPECT_EQ("", f.Text(23));
    EXPECT_EQ(ITEM_NO_RESPONSE, f.result);
    EXPECT_EQ(11u, f.card.SleepCalls() - sleeps);
    uint32_t requests = f.card.DriverRequests(IOCTL_RAZU_WRITE_BLOCK);
    EXPECT_EQ(ITEM_NO_RESPONSE, SetCardItem(nullptr, CI_PS_MODE, "1"));
    EXPECT_EQ(requests, f.card.DriverRequests(IOCTL_RAZU_WRITE_BLOCK))
        << "the mailbox still holds the unanswered command: nothing more is written";
    EXPECT_EQ(255, JoinNetwork("Infrastructure", "00:A0:C5:00:00:02", "Corvane"));
    EXPECT_EQ(255, StartBssScan());
}

TEST(SimCardFlow, OldFirmwareHasNoDebugBytes)
{
    {
        Flow g(kInfrastructure);
        EXPECT_EQ(0u, g.Text(50).find("0000  ")) << "a newer firmware gives its bytes";
    }
    Flow f("firmware 1.05\ndebug none\nrates 2\n");
    char text[200];
    EXPECT_EQ(ITEM_OK, QueryCardItem(CI_DEBUG_DUMP, text));
    EXPECT_STREQ("The current version of station firmware does not provide debug information. "
                 "Please update your firmware.",
                 text);
    EXPECT_EQ(0, CardHasHighRate());
    EXPECT_EQ("1 Mbit/s", f.Text(16));
}

TEST(SimCardFlow, ChosenCommandsGoSilentOrGetAChosenAnswer)
{
    Flow f(kInfrastructure);
    // Silent to one parameter only: that item fails, and the next command
    // finds the mailbox free again.
    f.card.Silence(CMD_GET_PARAM, PARAM_NETWORK_TYPE);
    EXPECT_EQ("", f.Text(CI_NETWORK_TYPE));
    EXPECT_EQ(ITEM_NO_RESPONSE, f.result);
    EXPECT_EQ("3.01", f.Text(CI_FIRMWARE_VERSION));
    EXPECT_EQ(ITEM_OK, f.result);
    EXPECT_EQ("", f.Text(CI_NETWORK_TYPE)) << "silent until cleared";
    EXPECT_EQ(ITEM_NO_RESPONSE, f.result);

    // A chosen answer goes through the item's own decoding.
    const uint8_t quality[2] = {101, 0};
    f.card.ChooseAnswer(CMD_GET_STATUS, SUB_QUALITY, quality, sizeof(quality));
    EXPECT_EQ("00", f.Text(CI_SIGNAL_QUALITY));
    EXPECT_EQ(ITEM_OK, f.result);

    // Each command counts once, however often it was polled.
    EXPECT_EQ(2u, f.card.Commands(CMD_GET_PARAM, PARAM_NETWORK_TYPE));
    EXPECT_EQ(1u, f.card.Commands(CMD_GET_PARAM, PARAM_FIRMWARE_VERSION));
    EXPECT_EQ(1u, f.card.Commands(CMD_GET_STATUS, SUB_QUALITY));
    EXPECT_EQ(0u, f.card.Commands(CMD_GET_STATUS, SUB_BEACON));

    f.card.ClearAnswerRules();
    EXPECT_EQ("Infrastructure", f.Text(CI_NETWORK_TYPE));
    std::string own = f.Text(CI_SIGNAL_QUALITY);
    EXPECT_EQ(std::to_string(f.card.Fw().Quality()), own) << "the firmware's own reading again";

    // Every code of a command at once, counted together and in all.
    f.card.Silence(CMD_GET_PARAM, SimCard::kAnyCode);
    EXPECT_EQ("", f.Text(CI_FIRMWARE_VERSION));
    EXPECT_EQ(ITEM_NO_RESPONSE, f.result);
    EXPECT_EQ("", f.Text(CI_NETWORK_TYPE));
    EXPECT_EQ(ITEM_NO_RESPONSE, f.result);
    EXPECT_EQ(6u, f.card.Commands(CMD_GET_PARAM, SimCard::kAnyCode));
    EXPECT_EQ(8u, f.card.Commands());
    f.card.ClearAnswerRules();

    // A watched answer is seen with its table index and may be changed.
    std::vector<uint16_t> indexes;
    f.card.WatchAnswers([&](uint16_t command, uint16_t code, uint16_t index, uint8_t* value) {
        if (command == CMD_GET_STATUS && code == SUB_BSS_SIGNAL) {
            indexes.push_back(index);
            value[0] = 99;
            value[1] = 0;
        }
    });
    EXPECT_EQ(99, f.Number(CI_BSS_SIGNAL, 2));
    EXPECT_EQ(std::vector<uint16_t>{2}, indexes);
    f.card.WatchAnswers(nullptr);
    EXPECT_NE(99, f.Number(CI_BSS_SIGNAL, 2));

    f.card.ResetCounts();
    EXPECT_EQ(0u, f.card.Commands(CMD_GET_PARAM, PARAM_NETWORK_TYPE));
    EXPECT_EQ(0u, f.card.Commands());
}

namespace {
// Port writes that never reach the card: the n-th OUT (counted from 1) of
// the next command, or all of them when n is 0. A command's OUTs: the address
// of the read that finds the mailbox free, then the address of the write and
// the block's nineteen words; a checked command (a table entry) then has the
// address of the read back, the address of the pending mark and the mark, and
// the address of each read of the answer, and a rewrite repeats them.
struct LostWrites
{
    static int s_count, s_lost;
    static void (*s_out)(WORD, WORD);
    static void OutWord(WORD port, WORD value)
    {
        ++s_count;
        if (s_lost == 0 || s_count == s_lost)
            return;
        s_out(port, value);
    }
};
int LostWrites::s_count = 0;
int LostWrites::s_lost = 0;
void (*LostWrites::s_out)(WORD, WORD) = nullptr;
} // namespace

// A command whose block is lost or garbled on the way to the card leaves the
// previous answer in the mailbox (or has the firmware answer something never
// sent): that is no answer to it, never another item's text in its place.
TEST(SimCardFlow, AnAnswerThatDoesNotEchoTheCommandIsNoAnswer)
{
    const struct
    {
        int lost;
        const char* what;
    } cases[] = {
        {0, "the whole block"},
        {2, "the address of the write: the block lands elsewhere"},
        {3, "the command word: the rest slides down a word"},
        {5, "the code word"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Flow f(kInfrastructure, PLATFORM_WIN9X);
        EXPECT_EQ("WIRELESS LAN", f.Text(CI_MANUFACTURER));
        {
            OsGuard guard;
            LostWrites::s_out = g_os.OutWord;
            LostWrites::s_count = 0;
            LostWrites::s_lost = c.lost;
            g_os.OutWord = &LostWrites::OutWord;
            std::string bssid = f.Text(CI_CURRENT_BSSID);
            EXPECT_EQ(ITEM_NO_RESPONSE, f.result) << "read as " << bssid;
        }
        EXPECT_EQ("00:A0:C5:00:00:01", f.Text(CI_CURRENT_BSSID)) << "the next command is answered";
        EXPECT_EQ(ITEM_OK, f.result);
    }
}

// A table entry's index can be lost on its way like any word of the block,
// and the firmware answers in the value field that carried it: the next words
// slide into its place, and it answers for entry 0. So a read of an entry
// goes to the card unmarked, is read back, and is marked pending only when
// it arrived whole. Whichever one port write of it is lost, the answer is the
// entry asked for; with every write lost, there is none.
TEST(SimCardFlow, ALostWriteNeverAnswersForAnotherTableEntry)
{
    for (int lost = 0; lost <= 30; ++lost) {
        SCOPED_TRACE(lost == 6 ? "the index" : std::to_string(lost).c_str());
        Flow f(kInfrastructure, PLATFORM_WIN9X);
        EXPECT_EQ("Lobby", f.Text(CI_BSS_AP_NAME, 0));
        std::string bssid;
        {
            OsGuard guard;
            LostWrites::s_out = g_os.OutWord;
            LostWrites::s_count = 0;
            LostWrites::s_lost = lost;
            g_os.OutWord = &LostWrites::OutWord;
            bssid = f.Text(CI_BSS_BSSID, 2);
        }
        if (lost == 0) {
            EXPECT_EQ(ITEM_NO_RESPONSE, f.result) << "read as " << bssid;
        } else {
            EXPECT_EQ(ITEM_OK, f.result);
            EXPECT_EQ("00:A0:C5:00:00:03", bssid) << "the block was found short and written again";
        }
        EXPECT_EQ("00:A0:C5:00:00:03", f.Text(CI_BSS_BSSID, 2)) << "the next read is answered";
        EXPECT_EQ(ITEM_OK, f.result);
    }
}
