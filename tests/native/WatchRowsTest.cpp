// The Network Watchers' sort rules, cell texts and the station table read,
// natively: orders by every column, the "255" blank, and station tables
// whose answers end the read early, skip ahead, repeat or run backwards.
#include "tools/WatchRows.h"
#include "tools/StationTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

BssEntry Bss(const char* name, const char* bssid, const char* essid, unsigned signal,
             const char* stations, const char* state = "", unsigned secure = 0)
{
    BssEntry e = {};
    strcpy(e.apName, name);
    strcpy(e.bssid, bssid);
    strcpy(e.essid, essid);
    e.signal = (uint16_t)signal;
    strcpy(e.stations, stations);
    strcpy(e.state, state);
    e.secure = (uint16_t)secure;
    return e;
}

// Sorts the rows by a column as the list view does and gives the AP names in order.
std::string SortedNames(std::vector<BssEntry> rows, int column)
{
    std::vector<const BssEntry*> order;
    for (const BssEntry& e : rows)
        order.push_back(&e);
    std::stable_sort(order.begin(), order.end(), [column](const BssEntry* a, const BssEntry* b) {
        return CompareBssRows(a, b, column, CompareNoCaseAscii) < 0;
    });
    std::string names;
    for (const BssEntry* e : order)
        names += std::string(names.empty() ? "" : " ") + e->apName;
    return names;
}

struct BssOrderCase
{
    const char* what;
    int column;
    std::vector<BssEntry> rows;
    const char* expected;
};

TEST(BssRows, SortByEachColumn)
{
    const BssOrderCase cases[] = {
        {"AP names ascend, letter case ignored",
         BSS_COL_AP_NAME,
         {Bss("lobby", "00:02", "C", 1, "1"), Bss("Annex", "00:01", "C", 1, "1"),
          Bss("LAB", "00:03", "C", 1, "1")},
         "Annex LAB lobby"},
        {"addresses ascend",
         BSS_COL_ADDRESS,
         {Bss("b", "00:A0:C5:00:00:0B", "C", 1, "1"), Bss("a", "00:a0:c5:00:00:0a", "C", 1, "1")},
         "a b"},
        {"domain names descend, equal ones by address",
         BSS_COL_DOMAIN,
         {Bss("a1", "00:03", "Alpha", 1, "1"), Bss("z2", "00:02", "Zulu", 1, "1"),
          Bss("z1", "00:01", "zulu", 1, "1"), Bss("m", "00:04", "Mike", 1, "1")},
         "z1 z2 m a1"},
        {"signal ascends as a number",
         BSS_COL_SIGNAL,
         {Bss("ten", "00:01", "C", 10, "1"), Bss("nine", "00:02", "C", 9, "1"),
          Bss("hundred", "00:03", "C", 100, "1")},
         "nine ten hundred"},
        {"equal signals by address",
         BSS_COL_SIGNAL,
         {Bss("second", "00:02", "C", 40, "1"), Bss("first", "00:01", "C", 40, "1")},
         "first second"},
        {"stations ascend as numbers, not reported below every number",
         BSS_COL_STATIONS,
         {Bss("ten", "00:01", "C", 1, "10"), Bss("nine", "00:02", "C", 1, "9"),
          Bss("raw", "00:05", "C", 1, "255"), Bss("zero", "00:03", "C", 1, "0"),
          Bss("blank", "00:04", "C", 1, " "), Bss("none", "00:06", "C", 1, "")},
         "blank raw none zero nine ten"},
        {"state ascends, empty first",
         BSS_COL_STATE,
         {Bss("assoc", "00:01", "C", 1, "1", "Associated"), Bss("empty", "00:02", "C", 1, "1", ""),
          Bss("joined", "00:03", "C", 1, "1", "joined")},
         "empty assoc joined"},
        {"open cells before secured ones, each by address",
         BSS_COL_SECURE,
         {Bss("s2", "00:04", "C", 1, "1", "", 7), Bss("o2", "00:03", "C", 1, "1", "", 0),
          Bss("s1", "00:02", "C", 1, "1", "", 1), Bss("o1", "00:01", "C", 1, "1", "", 0)},
         "o1 o2 s1 s2"},
    };
    for (const BssOrderCase& c : cases)
        EXPECT_EQ(c.expected, SortedNames(c.rows, c.column)) << c.what;
}

TEST(BssRows, MissingRowComparesAsOne)
{
    BssEntry e = Bss("a", "00:01", "C", 1, "1");
    EXPECT_EQ(1, CompareBssRows(nullptr, &e, BSS_COL_AP_NAME, CompareNoCaseAscii));
    EXPECT_EQ(1, CompareBssRows(&e, nullptr, BSS_COL_SIGNAL, CompareNoCaseAscii));
}

TEST(BssRows, CellTexts)
{
    BssEntry e = Bss("Lobby", "00:A0:C5:00:00:01", "Corvane", 9, "255", "Associated", 3);
    char text[40];
    const std::pair<int, const char*> cells[] = {
        {BSS_COL_AP_NAME, "Lobby"},  {BSS_COL_ADDRESS, "00:A0:C5:00:00:01"},
        {BSS_COL_DOMAIN, "Corvane"}, {BSS_COL_SIGNAL, "9"},
        {BSS_COL_STATIONS, " "},     {BSS_COL_STATE, "Associated"},
        {BSS_COL_SECURE, "1"},       {BSS_COLUMN_COUNT, ""},
    };
    for (const auto& cell : cells) {
        BssCellText(e, cell.first, text, sizeof text);
        EXPECT_STREQ(cell.second, text) << "column " << cell.first;
    }
    // The blank replaces the "255" in the row itself, and still sorts as not reported.
    EXPECT_STREQ(" ", e.stations);
    EXPECT_EQ(STATIONS_NOT_REPORTED, BssStationCount(e.stations));

    e.secure = 0;
    strcpy(e.stations, "25");
    BssCellText(e, BSS_COL_SECURE, text, sizeof text);
    EXPECT_STREQ("0", text);
    BssCellText(e, BSS_COL_STATIONS, text, sizeof text);
    EXPECT_STREQ("25", text);
    // A small buffer gets a cut, terminated text.
    BssCellText(e, BSS_COL_ADDRESS, text, 6);
    EXPECT_STREQ("00:A0", text);
}

TEST(BssRows, StationCounts)
{
    const std::pair<const char*, long> counts[] = {
        {"0", 0},
        {"9", 9},
        {"254", 254},
        {"255", STATIONS_NOT_REPORTED},
        {" ", STATIONS_NOT_REPORTED},
        {"", STATIONS_NOT_REPORTED},
        {"12a", STATIONS_NOT_REPORTED},
        {"-1", STATIONS_NOT_REPORTED},
        {"99999999999", STATIONS_NOT_REPORTED},
    };
    for (const auto& c : counts)
        EXPECT_EQ(c.second, BssStationCount(c.first)) << '"' << c.first << '"';
}

// ---------------------------------------------------------------------------
// The station answer and the table read

using Answer = std::vector<uint8_t>;

Answer StationBytes(uint16_t index, uint8_t last, const char* name, uint16_t seconds,
                    bool inUse = true)
{
    Answer a(STATION_ANSWER_SIZE, 0);
    a[0] = (uint8_t)index;
    a[1] = (uint8_t)(index >> 8);
    const uint8_t mac[6] = {0x00, 0xA0, 0xC5, 0xAA, 0x00, last};
    memcpy(&a[4], mac, 6);
    a[12] = inUse ? 1 : 0;
    memcpy(&a[13], name, std::min<size_t>(strlen(name), 16));
    a[29] = (uint8_t)seconds;
    a[30] = (uint8_t)(seconds >> 8);
    return a;
}

TEST(StationAnswer, DecodesTheEntry)
{
    Answer a = StationBytes(7, 0x3C, "ALPHA", 0x012D);
    StationAnswer d = DecodeStationAnswer(a.data());
    EXPECT_EQ(7, d.index);
    EXPECT_TRUE(d.inUse);
    EXPECT_EQ(301, d.seconds) << "little-endian at the odd offset 29";
    StationEntry e = {};
    FillStationEntry(d, "not available", e);
    EXPECT_STREQ("00-A0-C5-AA-00-3C", e.nodeAddress);
    EXPECT_STREQ("ALPHA", e.computerName);
    // A name filling bytes 13 to 28 without a terminator stops before the
    // seconds, which are not text.
    a = StationBytes(0, 1, "ABCDEFGHIJKLMNOP", 0x4141);
    EXPECT_STREQ("ABCDEFGHIJKLMNOP", DecodeStationAnswer(a.data()).name);
}

TEST(StationAnswer, InactiveTimes)
{
    const std::pair<unsigned, const char*> times[] = {
        {0, "00:00"},
        {59, "00:59"},
        {60, "01:00"},
        {299, "04:59"},
        {300, "05:00"},
        {301, "not available"},
        {65535, "not available"},
    };
    for (const auto& t : times) {
        char text[16];
        InactiveTimeText(t.first, "not available", text, sizeof text);
        EXPECT_STREQ(t.second, text) << t.first << " s";
    }
}

// A card whose answers a test writes: by index asked, or in order of asking.
class ScriptedStations : public StationSource
{
public:
    std::map<uint16_t, Answer> byIndex;
    std::vector<Answer> inOrder;
    std::vector<uint16_t> asked;
    int failAt = -1;         // this read (0-based) fails
    bool unanswered = false; // ... and gets no answer at all
    int steps = 0;

    unsigned char ReadEntry(uint16_t index, uint8_t* answer, bool& noAnswer) override
    {
        int read = (int)asked.size();
        asked.push_back(index);
        EXPECT_EQ(index, answer[0] | (answer[1] << 8)) << "the index goes in the first word";
        if (read == failAt) {
            answer[0] = 0;
            noAnswer = unanswered;
            return 255;
        }
        const Answer* a = nullptr;
        if (!inOrder.empty())
            a = read < (int)inOrder.size() ? &inOrder[read] : &inOrder.back();
        else if (byIndex.count(index))
            a = &byIndex[index];
        if (!a)
            return 255;
        memcpy(answer, a->data(), STATION_ANSWER_SIZE);
        return 0;
    }
    void BeforeEntry() override { ++steps; }
};

std::string Names(const StationEntry* entries, int count)
{
    std::string names;
    for (int i = 0; i < count; ++i)
        names += std::string(names.empty() ? "" : " ") + entries[i].computerName;
    return names;
}

std::string Indexes(const std::vector<uint16_t>& asked)
{
    std::string s;
    for (uint16_t i : asked)
        s += std::string(s.empty() ? "" : " ") + std::to_string(i);
    return s;
}

struct ReadCase
{
    const char* what;
    int tableSize;
    std::vector<Answer> answers; // in order of asking
    int failAt;
    const char* names;
    const char* asked;
    bool unanswered = false; // the failed read got no answer at all
};

TEST(StationRead, WalksTheTable)
{
    const Answer freeSlot = StationBytes(1, 0, "", 0, false);
    const ReadCase cases[] = {
        {"entries 0 and 1 both listed",
         2,
         {StationBytes(0, 1, "A", 1), StationBytes(1, 2, "B", 1)},
         -1,
         "A B",
         "0 1"},
        {"a free slot is skipped and does not count",
         3,
         {StationBytes(0, 1, "A", 1), freeSlot, StationBytes(2, 3, "C", 1)},
         -1,
         "A C",
         "0 1 2"},
        {"the card names a later entry: the read goes on after it",
         6,
         {StationBytes(3, 1, "D", 1), StationBytes(4, 2, "E", 1), StationBytes(0xFFFF, 0, "", 0)},
         -1,
         "D E",
         "0 4 5"},
        {"no entry ends the read",
         5,
         {StationBytes(0, 1, "A", 1), StationBytes(0xFFFF, 0, "", 0)},
         -1,
         "A",
         "0 1"},
        {"a failed read ends it", 5, {StationBytes(0, 1, "A", 1)}, 1, "A", "0 1"},
        {"a read without answer gives no rows",
         5,
         {StationBytes(0, 1, "A", 1)},
         1,
         "",
         "0 1",
         true},
        {"an index that goes backwards ends it",
         5,
         {StationBytes(0, 1, "A", 1), StationBytes(1, 2, "B", 1), StationBytes(0, 1, "A", 1)},
         -1,
         "A B",
         "0 1 2"},
        {"a card that answers index 0 to everything ends after the first",
         30,
         {StationBytes(0, 1, "A", 1), StationBytes(0, 1, "A", 1)},
         -1,
         "A",
         "0 1"},
        {"an empty table reads nothing", 0, {StationBytes(0, 1, "A", 1)}, -1, "", ""},
        {"a negative size reads nothing", -4, {StationBytes(0, 1, "A", 1)}, -1, "", ""},
    };
    for (const ReadCase& c : cases) {
        ScriptedStations card;
        card.inOrder = c.answers;
        card.failAt = c.failAt;
        card.unanswered = c.unanswered;
        StationEntry entries[30] = {};
        int n = ReadStationTable(c.tableSize, card, "not available", entries, 30);
        EXPECT_EQ(c.unanswered, n == -1) << c.what;
        EXPECT_EQ(c.names, Names(entries, n < 0 ? 0 : n)) << c.what;
        EXPECT_EQ(c.asked, Indexes(card.asked)) << c.what;
        EXPECT_EQ(card.asked.size(), (size_t)card.steps) << c.what;
    }
}

TEST(StationRead, NeverMoreThanThirty)
{
    // Forty stations: the table size is cut to 30 and so are the rows.
    ScriptedStations card;
    for (uint16_t i = 0; i < 40; ++i)
        card.byIndex[i] = StationBytes(i, (uint8_t)i, ("S" + std::to_string(i)).c_str(), i);
    StationEntry entries[30] = {};
    EXPECT_EQ(30, ReadStationTable(40, card, "n/a", entries, 30));
    EXPECT_EQ(30u, card.asked.size());
    EXPECT_STREQ("S29", entries[29].computerName);
}

TEST(StationRead, RandomAnswersEndWithinTheTable)
{
    // Whatever the card answers, the read asks at most one entry per table
    // slot and fills at most the rows it has.
    std::mt19937 rng(13);
    for (int round = 0; round < 3000; ++round) {
        ScriptedStations card;
        int size = (int)(rng() % 70) - 5;
        for (int k = 0; k < 40; ++k) {
            Answer a(STATION_ANSWER_SIZE);
            for (uint8_t& b : a)
                b = (uint8_t)rng();
            if (rng() % 2)
                a[1] = 0; // small indexes more often
            card.inOrder.push_back(a);
        }
        StationEntry entries[30];
        int n = ReadStationTable(size, card, "not available", entries, 30);
        ASSERT_GE(n, 0);
        ASSERT_LE(n, 30);
        ASSERT_LE(card.asked.size(), (size_t)std::max(0, std::min(size, 30)));
        for (size_t k = 1; k < card.asked.size(); ++k)
            ASSERT_GT(card.asked[k], card.asked[k - 1]);
        for (int k = 0; k < n; ++k) {
            ASSERT_LT(strlen(entries[k].computerName), sizeof entries[k].computerName);
            ASSERT_EQ(17u, strlen(entries[k].nodeAddress));
            ASSERT_LT(strlen(entries[k].inactiveTime), sizeof entries[k].inactiveTime);
        }
    }
}

} // namespace
