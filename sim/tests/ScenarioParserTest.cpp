// ScenarioParserTest.cpp - the scenario text form and the shipped scenarios.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "sim/ScenarioParser.h"
#include "sim/SimDevice.h"

namespace {

bool Parse(const std::string& text, Scenario& s, SimTextResult& r)
{
    return ScenarioParser::Parse(text.c_str(), static_cast<uint32_t>(text.size()), s, r);
}

TEST(ScenarioParser, ReadsEveryKindOfStatement)
{
    std::unique_ptr<Scenario> s(new Scenario);
    SimTextResult r;
    const std::string text =
        "# a comment line\n"
        "name \"lab bench\"   # trailing comment\r\n"
        "iobase 0x300\nmailbox 0x1FF\nfirmware 2.10\nmac 00-A0-C5-01-02-03\n"
        "manufacturer \"KVR Wireless\"\nstation-name PC1\nrates 2 4 11\ndebug 03 AA BB CC\n"
        "network adhoc\nessid \"My Net\"\ncarrier 0x32\n"
        "\tcell 02:00:00:00:00:01 \"My Net\" 3 80 adhoc secure stations=7 name=Cave\n"
        "current 02:00:00:00:00:01\nlink-state 4\n"
        "station 00:A0:C5:AA:00:01 ALPHA inactive=20 silent\nfree-slot\n"
        "traffic tx 100 rx 200 frame 256 retry 1 crc 2 multicast 3 broadcast 4\n"
        "counter tx-bytes 4294967200\ncounter 68 5\nuptime 99\ncpu 50\n"
        "answer-delay 0\nscan-time 100\njoin-time 200\nroam-time 300\n"
        "fault answer-after 3\nfault join-endless hard\n"
        "setting TxRetry 5\n";
    ASSERT_TRUE(Parse(text, *s, r)) << r.line << ": " << r.message;
    EXPECT_STREQ("lab bench", s->name);
    EXPECT_EQ(0x300, s->ioBase);
    EXPECT_EQ(0x1FF, s->mailboxPointer);
    EXPECT_EQ(210, s->firmwareVersion);
    EXPECT_EQ(0x03, s->mac[5]);
    EXPECT_STREQ("KVR Wireless", s->manufacturer);
    EXPECT_EQ(11, s->rates[2]);
    EXPECT_EQ(0xCC, s->debug[3]);
    EXPECT_EQ(0, s->networkType);
    EXPECT_STREQ("My Net", s->essid);
    ASSERT_EQ(1, s->cellCount);
    EXPECT_EQ(0, s->cells[0].type);
    EXPECT_EQ(1, s->cells[0].secure);
    EXPECT_EQ(7, s->cells[0].stations);
    EXPECT_STREQ("Cave", s->cells[0].apName);
    EXPECT_EQ(0, s->currentCell);
    EXPECT_EQ(4, s->linkState);
    ASSERT_EQ(2, s->stationSlots);
    EXPECT_EQ(20, s->stations[0].inactive);
    EXPECT_EQ(1, s->stations[0].silent);
    EXPECT_EQ(0, s->stations[1].used);
    EXPECT_EQ(256, s->frameSize);
    EXPECT_EQ(4294967200u, s->counters[60 / 4]);
    EXPECT_EQ(5u, s->counters[68 / 4]);
    EXPECT_EQ(0, s->answerDelay);
    EXPECT_EQ((1u << SIM_FAULT_ANSWER_AFTER) | (1u << SIM_FAULT_JOIN_ENDLESS), s->faults);
    EXPECT_EQ(3u, s->faultArgs[SIM_FAULT_ANSWER_AFTER]);
    EXPECT_EQ(1u, s->faultArgs[SIM_FAULT_JOIN_ENDLESS]);
    ASSERT_EQ(1, s->settingCount);
    EXPECT_STREQ("TxRetry", s->settings[0].name);
}

struct BadLine
{
    const char* text;
    int line;
    const char* message;
};

TEST(ScenarioParser, NamesTheFirstBadLine)
{
    const BadLine cases[] = {
        {"bogus 1\n", 1, "unknown statement"},
        {"name a\niobase 0xFFFF\n", 2, "iobase"},
        {"mailbox 65536\n", 1, "mailbox"},
        {"firmware 3.1\n", 1, "firmware"},
        {"mac 00:A0:C5:12:34\n", 1, "mac"},
        {"cell 00:A0:C5:00:00:01 Corvane 15 50\n", 1, "channel"},
        {"cell 00:A0:C5:00:00:01 Corvane 1 101\n", 1, "signal"},
        {"cell 00:A0:C5:00:00:01 Corvane 1 50 loud\n", 1, "option"},
        {"cell 00:A0:C5:00:00:01 \"Corvane 1 50\n", 1, "quote"},
        {"current 00:A0:C5:00:00:09\n", 1, "no cell"},
        {"station 00:A0:C5:AA:00:01 ABCDEFGHIJKLMNOP\n", 1, "15"},
        {"traffic tx\n", 1, "pairs"},
        {"traffic tx 10 speed 3\n", 1, "unknown traffic"},
        {"counter nothing 5\n", 1, "counter"},
        {"counter 3 5\n", 1, "counter"},
        {"fault sometimes\n", 1, "fault"},
        {"rates 0\n", 1, "rate"},
        {"debug GG\n", 1, "hexadecimal"},
        {"essid 123456789012345678901234567890123\n", 1, "32"},
        {"cell 00:A0:C5:00:00:01 123456789012345678901234567890123 1 50\n", 1, "32"},
        {"\n\n# fine\nnetwork mesh\n", 4, "network"},
    };
    for (const BadLine& c : cases) {
        std::unique_ptr<Scenario> s(new Scenario);
        SimTextResult r;
        EXPECT_FALSE(Parse(c.text, *s, r)) << c.text;
        EXPECT_EQ(c.line, r.line) << c.text;
        EXPECT_NE(nullptr, std::strstr(r.message, c.message)) << c.text << " gave: " << r.message;
    }
}

// The longest legal ESSID, wherever a scenario names one.
TEST(ScenarioParser, AnEssidOfThirtyTwoCharactersIsKeptWhole)
{
    const std::string longest = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
    const struct
    {
        const char* what;
        std::string text;
        const char* (*field)(const Scenario& s);
    } cases[] = {
        {"the card's", "essid " + longest + "\n", [](const Scenario& s) { return s.essid; }},
        {"a cell's", "cell 00:A0:C5:00:00:01 " + longest + " 1 50\n",
         [](const Scenario& s) { return s.cells[0].essid; }},
        {"the driver's setting", "setting ESSID " + longest + "\n",
         [](const Scenario& s) { return s.settings[0].value; }},
    };
    for (const auto& c : cases) {
        std::unique_ptr<Scenario> s(new Scenario);
        SimTextResult r;
        ASSERT_TRUE(Parse(c.text, *s, r)) << c.what << ": " << r.message;
        EXPECT_EQ(longest, std::string(c.field(*s))) << c.what;
    }
}

TEST(ScenarioParser, TooManyCellsAreRefused)
{
    std::string text;
    for (int i = 0; i <= Scenario::kMaxCells; ++i) {
        char line[64];
        std::snprintf(line, sizeof line, "cell 00:A0:C5:00:01:%02X Corvane 1 40\n", i);
        text += line;
    }
    std::unique_ptr<Scenario> s(new Scenario);
    SimTextResult r;
    EXPECT_FALSE(Parse(text, *s, r));
    EXPECT_EQ(Scenario::kMaxCells + 1, r.line);
}

TEST(ScenarioParser, TextWithoutATerminatorEndsAtItsLength)
{
    const char text[] = "name abc\nessid XYZ";
    std::unique_ptr<Scenario> s(new Scenario);
    SimTextResult r;
    ASSERT_TRUE(ScenarioParser::Parse(text, sizeof text - 2, *s, r));
    EXPECT_STREQ("XY", s->essid);
}

uint32_t NoClock(void*)
{
    return 0;
}

TEST(ScenarioParser, EveryShippedScenarioLoads)
{
    const char* const names[] = {"default",     "adhoc", "counter-wrap", "old-firmware",
                                 "bad-mailbox", "isa",   "roaming",      "no-answer",
                                 "many-cells",  "idle"};
    std::unique_ptr<SimDevice> device(new SimDevice);
    device->Init(&NoClock, nullptr);
    for (const char* name : names) {
        std::string path = std::string(SIM_SCENARIO_DIR) + "/" + name + ".txt";
        FILE* f = std::fopen(path.c_str(), "rb");
        ASSERT_NE(nullptr, f) << path;
        std::string text;
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            text.append(buffer, n);
        std::fclose(f);
        SimTextResult r;
        EXPECT_TRUE(device->LoadScenario(text.c_str(), static_cast<uint32_t>(text.size()), r))
            << name << " line " << r.line << ": " << r.message;
        EXPECT_STREQ(name, device->Fw().World().name);
    }
}

TEST(ScenarioParser, BuiltInDefaultLoads)
{
    std::unique_ptr<SimDevice> device(new SimDevice);
    device->Init(&NoClock, nullptr);
    EXPECT_STREQ("default", device->Fw().World().name);
    EXPECT_EQ(3, device->Fw().World().cellCount);
}

} // namespace
