// FirmwareTest.cpp - the simulated firmware seen through its mailbox, as the
// program sees it: answers, timing, scans, joins, roaming, tables, ad-hoc
// quality records, statistics and faults.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sim/tests/CardHarness.h"

namespace {

const char kWorld[] = "name test\n"
                      "essid Corvane\n"
                      "drift 0\n"
                      "cell 00:A0:C5:00:00:01 Corvane 1 72 name=Lobby stations=4\n"
                      "cell 00:A0:C5:00:00:02 Corvane 6 48 name=Lab secure\n"
                      "cell 00:A0:C5:00:00:03 Other 11 30 name=Far\n"
                      "cell 00:A0:C5:00:00:04 Corvane 3 0 name=Off\n"
                      "current 00:A0:C5:00:00:01\n";

const uint16_t kNotAvailable = 0x4029;

std::vector<uint8_t> Bytes(const CardHarness::Reply& r, int n)
{
    return std::vector<uint8_t>(r.value, r.value + n);
}

TEST(Firmware, PublishesTheMailboxPointerAndAnswersByTheNextPoll)
{
    CardHarness card(kWorld);
    EXPECT_EQ(0x0300, card.Mailbox());
    CardHarness::Reply r = card.GetParam(0x100D);
    ASSERT_TRUE(r.answered);
    EXPECT_EQ(1, r.polls) << "the default answer delay is shorter than one 50 ms poll";
    EXPECT_EQ(0, r.status);
    EXPECT_EQ(301, r.Word());
}

TEST(Firmware, PublishesOutOfRangeMailboxPointersAsGiven)
{
    for (uint16_t pointer : {0x1FE, 0x1FF, 0x7FFF, 0x8000}) {
        CardHarness card;
        std::string text = "mailbox " + std::to_string(pointer) + "\n";
        ASSERT_TRUE(card.Load(text.c_str())) << card.error;
        EXPECT_EQ(pointer, card.Mailbox()) << pointer;
    }
}

struct ParamCase
{
    uint16_t code;
    std::vector<uint8_t> expected;
};

TEST(Firmware, AnswersEveryParameterThatTheProgramReads)
{
    CardHarness card(kWorld);
    const ParamCase cases[] = {
        {0x0019, {7, 0}},
        {0x0027, {'W', 'I', 'R', 'E', 'L', 'E', 'S', 'S', ' ', 'L', 'A', 'N', 0}},
        {0x0038, {100, 0}},
        {0x0040, {0x00, 0xA0, 0xC5, 0x12, 0x34, 0x56}},
        {0x0041, {'C', 'o', 'r', 'v', 'a', 'n', 'e', 0}},
        {0x0042, {0x00, 0xA0, 0xC5, 0x00, 0x00, 0x01}},
        {0x0201, {0x10}},
        {0x0232, {0x02, 0x04, 0x00}},
        {0x1001, {0x25, 0x0A}},
        {0x100D, {0x2D, 0x01}},
        {0x1013, {1}},
        {0x1021, {11, 0}},
        {0x1026, {40, 0}},
        {0x1040, {'C', 'O', 'R', 'V', 'A', 'N', 'E', '-', 'P', 'C', 0}},
        {0x1045, {9, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
    };
    for (const ParamCase& c : cases) {
        CardHarness::Reply r = card.GetParam(c.code);
        ASSERT_TRUE(r.answered) << std::hex << c.code;
        EXPECT_EQ(0, r.status) << std::hex << c.code;
        EXPECT_EQ(c.expected, Bytes(r, static_cast<int>(c.expected.size())))
            << "parameter 0x" << std::hex << c.code;
    }
    EXPECT_EQ(kNotAvailable, card.GetParam(0x7777).status);
}

TEST(Firmware, SettingsSentWithSetParamTakeEffectAtOnce)
{
    CardHarness card(kWorld);
    EXPECT_EQ(0, card.SetParam(0x0019, 12).status);
    EXPECT_EQ(12, card.GetParam(0x0019).Word());
    EXPECT_EQ(0, card.SetParam(0x0020, 12).status);
    EXPECT_EQ(12, card.GetParam(0x0020).Word());
    EXPECT_EQ(0, card.SetParam(0x0052, 1, 2).status);
    EXPECT_EQ(1, card.GetParam(0x0052).Word());
    EXPECT_EQ(0, card.SetParam(0x1024, 0, 1).status);
    EXPECT_EQ(0, card.GetParam(0x1024).value[0]);
    EXPECT_EQ(0, card.SetParam(0x1026, 65).status);
    EXPECT_EQ(65, card.GetParam(0x1026).Word());
    uint8_t prefer[6] = {0x00, 0xA0, 0xC5, 0x00, 0x00, 0x02};
    EXPECT_EQ(0, card.Command(0x11, 0x1029, prefer, 6).status);
    EXPECT_EQ(std::vector<uint8_t>(prefer, prefer + 6), Bytes(card.GetParam(0x1029), 6));
    EXPECT_EQ(kNotAvailable, card.SetParam(0x0027, 1).status) << "the manufacturer is read-only";
}

TEST(Firmware, ThresholdAboveTheSignalMakesTheCardRoamToTheStrongerCell)
{
    CardHarness card("drift 0\nroam-time 1500\n"
                     "cell 00:A0:C5:00:00:01 Corvane 1 35\ncell 00:A0:C5:00:00:02 Corvane 6 80\n"
                     "current 00:A0:C5:00:00:01\nroaming-threshold 30\n");
    EXPECT_EQ(11, card.GetParam(0x1021).Word());
    card.SetParam(0x1026, 40);
    EXPECT_EQ(10, card.GetParam(0x1021).Word()) << "Roaming...";
    card.Advance(1500);
    EXPECT_EQ(11, card.GetParam(0x1021).Word());
    EXPECT_EQ(0x02, card.GetParam(0x0042).value[5]);
}

TEST(Firmware, NoRoamingWhenItIsSwitchedOff)
{
    CardHarness card("drift 0\nroaming off\n"
                     "cell 00:A0:C5:00:00:01 Corvane 1 10\ncell 00:A0:C5:00:00:02 Corvane 6 80\n"
                     "current 00:A0:C5:00:00:01\n");
    card.Advance(5000);
    EXPECT_EQ(11, card.GetParam(0x1021).Word());
    EXPECT_EQ(0x01, card.GetParam(0x0042).value[5]);
}

TEST(Firmware, LosingTheCellMeansRejoiningUntilItComesBack)
{
    CardHarness card("drift 0\nroaming off\ncell 00:A0:C5:00:00:01 Corvane 1 50\n");
    ASSERT_TRUE(card.device->Fw().SetSignal(0, nullptr, 0));
    EXPECT_EQ(2, card.GetParam(0x1021).Word());
    EXPECT_EQ(0, card.Status(2).Word()) << "no quality without a cell";
    ASSERT_TRUE(card.device->Fw().SetSignal(0, nullptr, 44));
    EXPECT_EQ(11, card.GetParam(0x1021).Word());
    EXPECT_EQ(44, card.Status(2).Word());
}

TEST(Firmware, SignalQualityDriftsAroundTheCurrentCellsSignal)
{
    CardHarness card("drift 4\ncell 00:A0:C5:00:00:01 Corvane 1 60\n");
    int low = 100, high = 0;
    for (int i = 0; i < 40; ++i) {
        card.Advance(1000);
        int q = card.Status(2).Word();
        low = std::min(low, q);
        high = std::max(high, q);
    }
    EXPECT_GE(low, 56);
    EXPECT_LE(high, 64);
    EXPECT_LT(low, high) << "the quality should move";
}

TEST(Firmware, AWeakCellReadsZeroAtTimesWhileAssociated)
{
    CardHarness card("drift 3\nroaming off\ncell 00:A0:C5:00:00:01 Corvane 1 2\n");
    int zeros = 0;
    for (int i = 0; i < 60; ++i) {
        card.Advance(1000);
        if (card.Status(2).Word() == 0) {
            ++zeros;
            EXPECT_EQ(11, card.GetParam(0x1021).Word());
        }
    }
    EXPECT_GT(zeros, 0);
}

TEST(Firmware, ScanTakesTimeThenRefreshesTheTableFromTheCells)
{
    CardHarness card(kWorld);
    EXPECT_EQ(3, card.Status(4).Word()) << "cells heard at power-on, the silent one left out";
    card.device->Fw().SetSignal(3, nullptr, 66);
    card.device->Fw().SetSignal(2, nullptr, 0);
    EXPECT_EQ(0, card.Command(0x61).status);
    EXPECT_EQ(1, card.GetParam(0x1021).Word()) << "Scanning...";
    EXPECT_EQ(0x01, card.GetParam(0x0042).value[5]) << "the card keeps its cell while it scans";
    EXPECT_NE(0, card.Status(10).Word());
    EXPECT_EQ(3, card.Status(4).Word()) << "the old table stays until the scan ends";
    card.Advance(3000);
    EXPECT_EQ(0, card.Status(10).Word());
    EXPECT_EQ(11, card.GetParam(0x1021).Word());
    ASSERT_EQ(3, card.Status(4).Word());
    EXPECT_EQ(0x04, card.Status(5, 2).value[5]);
    EXPECT_EQ(66, card.Status(6, 2).Word());
}

TEST(Firmware, BssTableEntriesCarryTheCellsFields)
{
    CardHarness card(kWorld);
    EXPECT_EQ(0x02, card.Status(5, 1).value[5]);
    EXPECT_EQ(48, card.Status(6, 1).Word());
    EXPECT_EQ("Corvane", card.Status(7, 1).Text());
    EXPECT_EQ(0xFFFF, card.Status(8, 1).Word()) << "a cell the card is not in has no state";
    EXPECT_EQ(11, card.Status(8, 0).Word()) << "the current cell shows the link state";
    EXPECT_EQ(1, card.Status(9, 1).value[0]);
    EXPECT_EQ("Lab", card.Status(13, 1).Text());
    EXPECT_EQ(255, card.Status(15, 1).value[0]) << "stations not reported";
    EXPECT_EQ(4, card.Status(15, 0).value[0]);
    EXPECT_EQ(1, card.Status(0x13, 1).Word());
    EXPECT_EQ(6, card.Status(0x14, 1).Word());
    // Beyond the table: empty entries for the field sub-codes, not available for names.
    CardHarness::Reply beyond = card.Status(5, 3);
    EXPECT_EQ(0, beyond.status);
    EXPECT_EQ(std::vector<uint8_t>(6, 0), Bytes(beyond, 6));
    EXPECT_EQ(kNotAvailable, card.Status(13, 3).status);
    EXPECT_EQ(kNotAvailable, card.Status(15, 3).status);
}

TEST(Firmware, JoinTakesTimeAndMovesTheLinkToTheChosenCell)
{
    CardHarness card(kWorld);
    uint8_t type = 1;
    uint8_t bssid[6] = {0x00, 0xA0, 0xC5, 0x00, 0x00, 0x02};
    const char essid[] = "Corvane";
    card.Command(0x63, 0x1013, &type, 1);
    card.Command(0x63, 0x0042, bssid, 6);
    card.Command(0x63, 0x0041, reinterpret_cast<const uint8_t*>(essid), sizeof essid);
    EXPECT_EQ(0, card.Command(0x62).status);
    EXPECT_EQ(7, card.GetParam(0x1021).Word()) << "Joining...";
    EXPECT_NE(0, card.Status(11).Word());
    EXPECT_EQ(0x4030, card.Command(0x61).status) << "no scan while joining";
    card.Advance(2500);
    EXPECT_EQ(0, card.Status(11).Word());
    EXPECT_EQ(11, card.GetParam(0x1021).Word());
    EXPECT_EQ(0x02, card.GetParam(0x0042).value[5]);
    EXPECT_EQ(11, card.Status(8, 1).Word());
    EXPECT_EQ(0xFFFF, card.Status(8, 0).Word());
}

// The longest ESSID fills its 32-byte field with no end mark, whether the
// card's own, a table entry's, or one a join names.
TEST(Firmware, AnEssidOfThirtyTwoCharactersFillsItsFieldExactly)
{
    static const char kLongest[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
    static const char kJoined[] = "ZYXWVUTSRQPONMLKJIHGFEDCBA543210";
    const std::string world = std::string("essid ") + kLongest + "\ndrift 0\n" +
                              "cell 00:A0:C5:00:00:01 " + kLongest + " 1 60\n" +
                              "cell 00:A0:C5:00:00:02 " + kJoined + " 6 40\n";
    const struct
    {
        const char* what;
        CardHarness::Reply (*ask)(CardHarness& card);
        const char* expected;
    } cases[] = {
        {"the card's", [](CardHarness& card) { return card.GetParam(0x0041); }, kLongest},
        {"a table entry's", [](CardHarness& card) { return card.Status(7, 0); }, kLongest},
        {"a joined network's",
         [](CardHarness& card) {
             uint8_t bssid[6] = {0x00, 0xA0, 0xC5, 0x00, 0x00, 0x02};
             card.Command(0x63, 0x0042, bssid, 6);
             card.Command(0x63, 0x0041, reinterpret_cast<const uint8_t*>(kJoined), 32);
             card.Command(0x62);
             card.Advance(3000);
             return card.GetParam(0x0041);
         },
         kJoined},
    };
    for (const auto& c : cases) {
        CardHarness card(world.c_str());
        CardHarness::Reply r = c.ask(card);
        ASSERT_TRUE(r.answered) << c.what;
        EXPECT_EQ(0, r.status) << c.what;
        EXPECT_EQ(c.expected, std::string(reinterpret_cast<const char*>(r.value), 32)) << c.what;
    }
}

TEST(Firmware, JoiningAnUnknownAdHocCellStartsANetworkOfItsOwn)
{
    CardHarness card(kWorld);
    uint8_t type = 0;
    uint8_t bssid[6] = {0x02, 0, 0, 0, 0, 9};
    card.Command(0x63, 0x1013, &type, 1);
    card.Command(0x63, 0x0042, bssid, 6);
    card.Command(0x62);
    card.Advance(3000);
    EXPECT_EQ(4, card.GetParam(0x1021).Word()) << "Started";
    EXPECT_EQ(0, card.GetParam(0x1013).value[0]);
    EXPECT_EQ(0x02, card.GetParam(0x0042).value[0] & 0x03) << "a locally administered BSSID";
}

TEST(Firmware, RefusedJoinStartsComeBeforeAnAcceptedOne)
{
    CardHarness card(kWorld);
    card.device->Fw().SetFault(SIM_FAULT_JOIN_REFUSED, true, 2);
    EXPECT_NE(0, card.Command(0x62).status);
    EXPECT_NE(0, card.Command(0x62).status);
    EXPECT_EQ(0, card.Command(0x62).status);
    card.device->Fw().SetFault(SIM_FAULT_JOIN_REFUSED, true, 0);
    for (int i = 0; i < 25; ++i)
        ASSERT_NE(0, card.Command(0x62).status) << "always refused, attempt " << i;
}

TEST(Firmware, EndlessJoinEndsOnlyByTheWaitOverride)
{
    CardHarness card(kWorld);
    card.device->Fw().SetFault(SIM_FAULT_JOIN_ENDLESS, true, 0);
    card.Command(0x62);
    card.Advance(60000);
    EXPECT_NE(0, card.Status(11).Word());
    card.SetParam(0x10F7, 1);
    EXPECT_EQ(0, card.Status(11).Word());
    card.SetParam(0x10F7, 0);

    card.device->Fw().SetFault(SIM_FAULT_JOIN_ENDLESS, true, 1);
    card.Command(0x62);
    card.SetParam(0x10F7, 1);
    EXPECT_NE(0, card.Status(11).Word()) << "a hard endless join ignores the override";
}

TEST(Firmware, EndlessScanGoesOnUntilTheFaultIsCleared)
{
    CardHarness card(kWorld);
    card.device->Fw().SetFault(SIM_FAULT_SCAN_ENDLESS, true, 0);
    card.Command(0x61);
    card.Advance(600000);
    EXPECT_NE(0, card.Status(10).Word());
    card.device->Fw().SetFault(SIM_FAULT_SCAN_ENDLESS, false, 0);
    EXPECT_EQ(0, card.Status(10).Word());
}

TEST(Firmware, AnswerFaults)
{
    CardHarness card(kWorld);
    card.device->Fw().SetFault(SIM_FAULT_NO_ANSWER, true, 0);
    CardHarness::Reply silent = card.GetParam(0x100D);
    EXPECT_FALSE(silent.answered);
    EXPECT_FALSE(card.GetParam(0x100D).answered) << "still pending: not even sent";
    card.device->Fw().SetFault(SIM_FAULT_NO_ANSWER, false, 0);
    EXPECT_TRUE(card.GetParam(0x100D).answered) << "resumed";

    card.device->Fw().SetFault(SIM_FAULT_ANSWER_AFTER, true, 3);
    CardHarness::Reply late = card.GetParam(0x100D);
    ASSERT_TRUE(late.answered);
    EXPECT_EQ(4, late.polls) << "three polls see the command pending";
    card.device->Fw().SetFault(SIM_FAULT_ANSWER_AFTER, true, 10);
    EXPECT_FALSE(card.GetParam(0x100D).answered);
}

TEST(Firmware, CardFallsSilentAfterTheGivenSeconds)
{
    // From the scenario: counted from the load.
    CardHarness card("fault no-answer 30\n");
    EXPECT_TRUE(card.GetParam(0x100D).answered);
    card.Advance(29000);
    EXPECT_TRUE(card.GetParam(0x100D).answered) << "29 s after the load";
    card.Advance(1000);
    EXPECT_FALSE(card.GetParam(0x100D).answered) << "30 s after the load";

    // Switched on later: counted from then.
    CardHarness later(kWorld);
    later.Advance(100000);
    later.device->Fw().SetFault(SIM_FAULT_NO_ANSWER, true, 5);
    later.Advance(4000);
    EXPECT_TRUE(later.GetParam(0x100D).answered);
    later.Advance(1000);
    EXPECT_FALSE(later.GetParam(0x100D).answered);
}

TEST(Firmware, AnswerDelayLongerThanAPoll)
{
    CardHarness card("answer-delay 120\n");
    CardHarness::Reply r = card.GetParam(0x100D);
    ASSERT_TRUE(r.answered);
    EXPECT_EQ(3, r.polls);
}

const char kAdHoc[] = "network adhoc\nessid Party\ndrift 0\n"
                      "cell 02:11:22:33:44:55 Party 3 75 adhoc\n"
                      "station 00:A0:C5:AA:00:01 ALPHA\n"
                      "free-slot\n"
                      "station 00:A0:C5:AA:00:02 BRAVO inactive=100 silent\n"
                      "station 00:A0:C5:AA:00:03 CHARLIE inactive=2\n"
                      "free-slot\n";

TEST(Firmware, StationTableHasUsedAndFreeSlots)
{
    CardHarness card(kAdHoc);
    EXPECT_EQ(5, card.Status(16).Word());
    CardHarness::Reply alpha = card.Status(17, 0);
    EXPECT_EQ(0, alpha.Word(0));
    EXPECT_EQ(3, alpha.Word(2));
    EXPECT_EQ(0xAA, alpha.value[7]);
    EXPECT_EQ(1, alpha.value[12]);
    EXPECT_EQ("ALPHA", alpha.Text(13));
    CardHarness::Reply free = card.Status(17, 1);
    EXPECT_EQ(1, free.Word(0));
    EXPECT_EQ(0, free.value[12]);
    EXPECT_EQ(2, card.Status(17, 2).Word(2)) << "a silent station";
    CardHarness::Reply last = card.Status(17, 4);
    EXPECT_EQ(0xFFFF, last.Word(0)) << "no station after this free slot";
    EXPECT_EQ(kNotAvailable, card.Status(17, 5).status);
}

TEST(Firmware, InactiveTimesGrowForSilentStationsOnly)
{
    CardHarness card(kAdHoc);
    auto inactive = [&](int i) {
        CardHarness::Reply r = card.Status(17, static_cast<uint16_t>(i));
        return r.value[29] | (r.value[30] << 8);
    };
    int silent = inactive(2);
    EXPECT_GE(silent, 100);
    card.Advance(201000);
    EXPECT_GE(inactive(2), silent + 200);
    EXPECT_LT(inactive(0), 4);
    EXPECT_LT(inactive(3), 4);
}

// The tool window's ad-hoc quality, computed from two records.
double ProgramQuality(const CardHarness::Reply& before, const CardHarness::Reply& after,
                      int divisor)
{
    uint64_t t0 = before.Long(0) | (static_cast<uint64_t>(before.Long(4)) << 32);
    uint64_t t1 = after.Long(0) | (static_cast<uint64_t>(after.Long(4)) << 32);
    uint32_t elapsed = static_cast<uint32_t>(t1 - t0) / 1000;
    uint32_t received = after.Long(12) - before.Long(12);
    int n = after.Word(10);
    double expected = static_cast<double>(elapsed) / divisor * n / (n + 1);
    double sample = 100.0 * received / expected;
    return sample > 100 ? 100 : sample;
}

TEST(Firmware, AdHocQualityRecordsGiveTheCellsSignalByTheToolWindowsFormula)
{
    CardHarness card(kAdHoc);
    int divisor = card.GetParam(0x0038).Word();
    ASSERT_EQ(100, divisor);
    CardHarness::Reply previous = card.Status(0x12);
    EXPECT_EQ(2, previous.Word(10)) << "the silent station is not counted";
    // One beacon more or less per four-second tick is 3.75 points.
    double sum = 0;
    for (int tick = 0; tick < 8; ++tick) {
        card.Advance(3900);
        CardHarness::Reply record = card.Status(0x12);
        double q = ProgramQuality(previous, record, divisor);
        EXPECT_NEAR(75.0, q, 4.0) << "tick " << tick;
        sum += q;
        previous = record;
    }
    EXPECT_NEAR(75.0, sum / 8, 1.0);
    card.device->Fw().SetSignal(0, nullptr, 20);
    card.Advance(4000);
    CardHarness::Reply record = card.Status(0x12);
    EXPECT_NEAR(20.0, ProgramQuality(previous, record, divisor), 4.0);
}

TEST(Firmware, StationsComeGoAndFallSilentOnARunningCard)
{
    CardHarness card(kAdHoc);
    Firmware& fw = card.device->Fw();
    const uint8_t alpha[6] = {0x00, 0xA0, 0xC5, 0xAA, 0x00, 0x01};
    const uint8_t echo[6] = {0x00, 0xA0, 0xC5, 0xAA, 0x00, 0x05};
    EXPECT_EQ(2, card.Status(0x12).Word(10));
    ASSERT_TRUE(fw.ChangeStation(alpha, Firmware::STATION_SILENT));
    EXPECT_EQ(1, card.Status(0x12).Word(10)) << "the other stations counted by the quality record";
    card.Advance(30000);
    CardHarness::Reply silent = card.Status(17, 0);
    EXPECT_NEAR(30, silent.value[29] | (silent.value[30] << 8), 1);
    ASSERT_TRUE(fw.ChangeStation(alpha, Firmware::STATION_HEARD));
    EXPECT_EQ(2, card.Status(0x12).Word(10));
    ASSERT_TRUE(fw.ChangeStation(echo, Firmware::STATION_NEW, "ECHO"));
    EXPECT_EQ("ECHO", card.Status(17, 1).Text(13)) << "the first free slot";
    EXPECT_FALSE(fw.ChangeStation(echo, Firmware::STATION_NEW, "ECHO")) << "already there";
    ASSERT_TRUE(fw.ChangeStation(alpha, Firmware::STATION_GONE));
    EXPECT_EQ(0, card.Status(17, 0).value[12]);
    EXPECT_FALSE(fw.ChangeStation(alpha, Firmware::STATION_HEARD));
}

TEST(Firmware, UnavailableFaultHidesTableEntriesFromAnIndexOn)
{
    CardHarness card(kAdHoc);
    card.device->Fw().SetFault(SIM_FAULT_UNAVAILABLE, true, 1);
    EXPECT_EQ(0, card.Status(17, 0).status);
    EXPECT_EQ(kNotAvailable, card.Status(17, 1).status);
    EXPECT_EQ(5, card.Status(16).Word());
    card.device->Fw().SetFault(SIM_FAULT_UNAVAILABLE, true, 0);
    EXPECT_EQ(kNotAvailable, card.Status(16).status);
    EXPECT_EQ(kNotAvailable, card.Status(5, 0).status);
}

struct Statistics
{
    uint8_t block[352];
    uint32_t operator[](int offset) const
    {
        return block[offset] | (block[offset + 1] << 8) |
               (static_cast<uint32_t>(block[offset + 2]) << 16) |
               (static_cast<uint32_t>(block[offset + 3]) << 24);
    }
};

Statistics Stats(CardHarness& card)
{
    Statistics s = {};
    CardHarness::Reply r = card.Command(0x50);
    EXPECT_EQ(0x9000, r.code);
    card.ReadBlock(r.code, s.block, sizeof s.block);
    return s;
}

uint32_t Stat(CardHarness& card, int offset)
{
    return Stats(card)[offset];
}

TEST(Firmware, StatisticsMoveWithTheScenariosTraffic)
{
    CardHarness card("traffic tx 10000 rx 40000 frame 500 retry 10 crc 5\nuptime 7200\ncpu 30\n"
                     "cell 00:A0:C5:00:00:01 Corvane 1 50\n");
    card.Command(0x51);
    uint32_t reset = card.now; // the firmware answered at the last poll
    card.Advance(10000);
    Statistics s = Stats(card);
    double seconds = (card.now - reset) / 1000.0;
    EXPECT_NEAR(seconds, s[64], 1.0) << "measured period";
    EXPECT_NEAR(40000 * seconds, s[36], 500.0) << "bytes received";
    EXPECT_NEAR(10000 * seconds, s[60], 500.0) << "bytes sent";
    EXPECT_NEAR(80 * seconds, s[0], 1.0) << "frames received";
    EXPECT_NEAR(20 * seconds, s[40], 1.0) << "frames sent";
    EXPECT_NEAR(2 * seconds, s[48], 1.0) << "retries are a tenth of the frames sent";
    EXPECT_NEAR(4 * seconds, s[8], 1.0) << "CRC errors";
    EXPECT_EQ(s[8] + s[12] + s[16], s[24]) << "corrupted in total";
    EXPECT_GE(s[252], 7210u) << "uptime";
    EXPECT_EQ(70u, s[256]) << "the idle share, shown as 100 minus it";

    card.Command(0x51);
    Statistics cleared = Stats(card);
    EXPECT_LT(cleared[36], 10000u);
    EXPECT_EQ(0u, cleared[64]);
    EXPECT_GE(cleared[252], 7210u) << "a reset keeps the uptime";
}

TEST(Firmware, CounterWrapsPastTwoToTheThirtyTwo)
{
    CardHarness card("traffic tx 1000 rx 100000\ncounter rx-bytes 4294900000\n"
                     "cell 00:A0:C5:00:00:01 Corvane 1 50\n");
    uint32_t before = Stat(card, 36);
    uint32_t t0 = card.now;
    EXPECT_GT(before, 4294000000u);
    card.Advance(2000);
    uint32_t after = Stat(card, 36);
    EXPECT_LT(after, before) << "wrapped";
    EXPECT_NEAR(100.0 * (card.now - t0), static_cast<double>(after - before), 200.0);
}

TEST(Firmware, NoTrafficWhileScanningOrWithoutALink)
{
    CardHarness card("cell 00:A0:C5:00:00:01 Corvane 1 50\nscan-time 60000\n");
    card.Command(0x61);
    uint32_t before = Stat(card, 36);
    card.Advance(10000);
    EXPECT_EQ(before, Stat(card, 36));
}

TEST(Firmware, OldFirmwareHasNoDebugBytesNorAccessPointNames)
{
    CardHarness card("firmware 1.05\ndebug none\ncell 00:A0:C5:00:00:01 Corvane 1 50 name=A\n");
    EXPECT_EQ(105, card.GetParam(0x100D).Word());
    EXPECT_EQ(kNotAvailable, card.GetParam(0x1045).status);
    EXPECT_EQ(kNotAvailable, card.Status(13, 0).status);
    EXPECT_EQ(0, card.Status(5, 0).status);
}

TEST(Firmware, UnknownCommandsAndSubCodesAreRefused)
{
    CardHarness card(kWorld);
    EXPECT_EQ(0x4020, card.Command(0x99).status);
    EXPECT_EQ(kNotAvailable, card.Status(0x77).status);
    EXPECT_EQ(0, card.Command(0x64).status) << "station scan";
}

TEST(Firmware, InitialLinkStateFromTheScenario)
{
    CardHarness idle("link-state idle\ncell 00:A0:C5:00:00:01 Corvane 1 50\n");
    EXPECT_EQ(0, idle.GetParam(0x1021).Word());
    CardHarness nothing("essid Nobody\ncell 00:A0:C5:00:00:01 Corvane 1 50\n");
    EXPECT_EQ(1, nothing.GetParam(0x1021).Word()) << "no cell of our ESSID: scanning";
    CardHarness adhoc(kAdHoc);
    EXPECT_EQ(5, adhoc.GetParam(0x1021).Word()) << "Joined";
}

// The driver's settings come with the power-up (start-card.sh loads them
// with the scenario): the scenario's cell holds while it belongs to the
// card's ESSID; an ESSID of another network makes the card take that
// network's strongest cell, or none.
TEST(Firmware, PowerUpSettingsDecideTheCell)
{
    const std::string world = "essid Corvane\n"
                              "cell 00:A0:C5:00:00:01 Corvane 1 72\n"
                              "cell 00:A0:C5:00:00:04 Guests 3 40\n"
                              "cell 00:A0:C5:00:00:06 Guests 5 55\n"
                              "current 00:A0:C5:00:00:01\n";
    struct Case
    {
        const char* settings;
        int cell;
        uint16_t link;
    } cases[] = {
        {"", 0, 11},
        {"setting ESSID Corvane\n", 0, 11},
        {"setting ESSID Guests\n", 2, 11},
        {"setting ESSID Nowhere\n", -1, 1},
    };
    for (const Case& c : cases) {
        CardHarness card((world + c.settings).c_str());
        ASSERT_EQ("", card.error) << c.settings;
        EXPECT_EQ(c.cell, card.device->Fw().CurrentCell()) << c.settings;
        EXPECT_EQ(c.link, card.GetParam(0x1021).Word()) << c.settings;
    }
}

TEST(Firmware, DriverSettingsByRegistryName)
{
    CardHarness card(kWorld);
    Firmware& fw = card.device->Fw();
    EXPECT_EQ(1, fw.ApplySetting("TxRetry", "9"));
    EXPECT_EQ(9, card.GetParam(0x0019).Word());
    EXPECT_EQ(1, fw.ApplySetting("CarrierSet", "4"));
    EXPECT_EQ(0x31, card.GetParam(0x0201).value[0]) << "index 4 is Spain";
    EXPECT_EQ(1, fw.ApplySetting("DataRate", "1"));
    EXPECT_EQ(std::vector<uint8_t>({0x02, 0x00}), Bytes(card.GetParam(0x0232), 2));
    EXPECT_EQ(1, fw.ApplySetting("PreferBSSID", "00a0c5000002"));
    EXPECT_EQ(0x02, card.GetParam(0x1029).value[5]);
    EXPECT_EQ(0, fw.ApplySetting("SecurityID", "x")) << "known to the driver only";
    EXPECT_EQ(-1, fw.ApplySetting("TxRetry", "many"));
    EXPECT_EQ(-1, fw.ApplySetting("CarrierSet", "6"));
}

} // namespace
