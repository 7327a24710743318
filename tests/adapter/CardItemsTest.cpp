// CardItemsTest.cpp - QueryCardItem: the request of each item, its decoding,
// its failure rule, and bounds on bad answers from the card.
#include "adapter/CardItems.h"
#include "adapter/AdapterDiscovery.h"
#include "adapter/Mailbox.h"
#include "tests/support/ScriptedCard.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {
struct Asked
{
    BYTE result;
    std::vector<uint8_t> out;
    MailboxBlock request;
    bool unanswered; // the card gave no answer at all
};

// Asks for `item` with the index word `index` in the output buffer, the
// firmware answering `status` and `value`.
Asked Ask(int item, uint16_t status, std::vector<uint8_t> value, uint16_t index = 0,
          size_t size = 64)
{
    ScriptedCard card;
    card.Reply(status, value);
    Asked asked;
    asked.out.assign(size + 8, 0xCC); // guard bytes after the buffer
    if (size >= 2) {
        asked.out[0] = static_cast<uint8_t>(index);
        asked.out[1] = static_cast<uint8_t>(index >> 8);
    }
    asked.result = QueryCardItem(item, asked.out.data(), size, &asked.unanswered);
    memset(&asked.request, 0, sizeof(asked.request));
    if (!card.sent.empty())
        asked.request = card.sent.back();
    return asked;
}

std::string Text(const Asked& a)
{
    return std::string(reinterpret_cast<const char*>(a.out.data()),
                       strnlen(reinterpret_cast<const char*>(a.out.data()), a.out.size()));
}

uint16_t Number(const Asked& a)
{
    return static_cast<uint16_t>(a.out[0] | (a.out[1] << 8));
}

std::vector<uint8_t> Bytes(const char* text)
{
    return std::vector<uint8_t>(text, text + strlen(text));
}
} // namespace

struct TextCase
{
    int item;
    uint16_t command;
    uint16_t code;
    std::vector<uint8_t> value;
    const char* text;
};

TEST(CardItems, TextItems)
{
    const TextCase cases[] = {
        {4, CMD_GET_PARAM, 0x1013, {1}, "Infrastructure"},
        {4, CMD_GET_PARAM, 0x1013, {0}, "AD-HOC"},
        {4, CMD_GET_PARAM, 0x1013, {2}, "AD-HOC"},
        {5, CMD_GET_PARAM, 0x0038, {0x64, 0x00}, "100"},
        {6, CMD_GET_PARAM, 0x0201, {0x31}, "Spain"},
        {6, CMD_GET_PARAM, 0x0201, {0x11}, "Unknown"},
        {6, CMD_GET_PARAM, 0x0201, {0x10}, "USA"},
        {6, CMD_GET_PARAM, 0x0201, {0x20}, "Canada"},
        {6, CMD_GET_PARAM, 0x0201, {0x30}, "Europe"},
        {6, CMD_GET_PARAM, 0x0201, {0x32}, "France"},
        {6, CMD_GET_PARAM, 0x0201, {0x40}, "Japan"},
        {9, CMD_GET_PARAM, 0x0041, Bytes("Office"), "Office"},
        {10, CMD_GET_PARAM, 0x1001, {0x25, 0x0A}, "a25"},
        {11, CMD_GET_PARAM, 0x1026, {40, 0}, "40"},
        {12, CMD_GET_PARAM, 0x0027, Bytes("WIRELESS LAN"), "WIRELESS LAN"},
        {13, CMD_GET_PARAM, 0x100D, {0x2D, 0x01}, "3.01"},
        {16, CMD_GET_PARAM, 0x0232, {2, 4, 0}, "1, 2 Mbit/s"},
        {16, CMD_GET_PARAM, 0x0232, {2, 0}, "1 Mbit/s"},
        {17, CMD_GET_PARAM, 0x0042, {0, 0xA0, 0xC5, 1, 2, 0xFE}, "00:A0:C5:01:02:FE"},
        {18, CMD_GET_PARAM, 0x0040, {0xDE, 0xAD, 0xBE, 0xEF, 0, 1}, "DE:AD:BE:EF:00:01"},
        {19, CMD_GET_PARAM, 0x1021, {8, 0}, "Joining..."},
        {19, CMD_GET_PARAM, 0x1021, {11, 0}, "Associated"},
        {19, CMD_GET_PARAM, 0x1021, {12, 0}, ""},
        {21, CMD_GET_STATUS, 1, {0x40, 0x42, 0x0F, 0x00}, "Beacon: 1000000"},
        {22, CMD_GET_PARAM, 0x0019, {7, 0}, "7"},
        {23, CMD_GET_STATUS, 2, {0, 0}, "00"},
        {23, CMD_GET_STATUS, 2, {101, 0}, "00"},
        {23, CMD_GET_STATUS, 2, {100, 0}, "100"},
        {23, CMD_GET_STATUS, 2, {57, 0}, "57"},
        {24, CMD_GET_STATUS, 3, {12, 0}, "Rx Buffer:12%"},
        {37, CMD_GET_STATUS, 12, {0, 0}, "00"},
        {37, CMD_GET_STATUS, 12, {6, 0}, "6"},
        {40, CMD_GET_PARAM, 0x1040, Bytes("CORVANE-PC"), "CORVANE-PC"},
        {40, CMD_GET_PARAM, 0x1040, Bytes("ABCDEFGHIJKLMNOPQRSTU"), "ABCDEFGHIJKLMNOP"},
        {50,
         CMD_GET_PARAM,
         0x1045,
         {9, 1, 2, 3, 4, 5, 6, 7, 8, 9},
         "0000  09 01 02 03 04 05 06 07 \r\n0008  08 09 "},
    };
    for (const TextCase& c : cases) {
        Asked a = Ask(c.item, 0, c.value);
        EXPECT_EQ(ITEM_OK, a.result) << "item " << c.item;
        EXPECT_EQ(c.text, Text(a)) << "item " << c.item;
        EXPECT_EQ(c.command, a.request.command) << "item " << c.item;
        EXPECT_EQ(c.code, a.request.data.code) << "item " << c.item;
    }
}

TEST(CardItems, IndexedTextItemsSendTheirIndex)
{
    const TextCase cases[] = {
        {26, CMD_GET_STATUS, 5, {0, 0x40, 0x96, 0xAA, 0xBB, 0xCC}, "00:40:96:AA:BB:CC"},
        {27, CMD_GET_STATUS, 9, {1}, "Infrastructure"},
        {29, CMD_GET_STATUS, 8, {5, 0}, "Joined"},
        {30, CMD_GET_STATUS, 7, Bytes("Lab"), "Lab"},
        {39, CMD_GET_STATUS, 13, Bytes("AP-North"), "AP-North"},
        {41, CMD_GET_STATUS, 15, {0xFF}, "255"},
        {41, CMD_GET_STATUS, 15, {3}, "3"},
        {43,
         CMD_GET_STATUS,
         17,
         {2, 0, 3, 0, 1, 2, 3, 4, 5, 6, 0, 0, 1, 'S', 'T', 'A', '7', 0},
         "STA7"},
        {44, CMD_GET_STATUS, 17, {2, 0, 3, 0, 0x00, 0xA0, 0xC5, 9, 8, 7}, "00:A0:C5:09:08:07"},
    };
    for (const TextCase& c : cases) {
        Asked a = Ask(c.item, 0, c.value, 0x0105);
        EXPECT_EQ(ITEM_OK, a.result) << "item " << c.item;
        EXPECT_EQ(c.text, Text(a)) << "item " << c.item;
        EXPECT_EQ(c.command, a.request.command) << "item " << c.item;
        EXPECT_EQ(c.code, a.request.data.code) << "item " << c.item;
        EXPECT_EQ(0x05, a.request.data.value[0]) << "item " << c.item;
        EXPECT_EQ(0x01, a.request.data.value[1]) << "item " << c.item;
    }
}

TEST(CardItems, UnindexedItemsSendIndexZero)
{
    Asked a = Ask(23, 0, {50, 0}, 0x0707);
    EXPECT_EQ(0, a.request.data.value[0]);
    EXPECT_EQ(0, a.request.data.value[1]);
}

TEST(CardItems, NumberItems)
{
    struct Case
    {
        int item;
        uint16_t code;
        std::vector<uint8_t> value;
        uint16_t number;
    } cases[] = {
        {25, 4, {0x12, 0x01}, 0x0112},
        {28, 6, {77, 0}, 77},
        {31, 19, {1, 0}, 1},
        {32, 20, {0x34, 0x12}, 0x1234},
        {34, 10, {0, 0}, 1},
        {34, 10, {1, 0}, 0},
        {42, 16, {9, 0}, 9},
        {45, 17, {0xFF, 0xFF}, 0xFFFF},
        {46, 17, {0, 0, 3, 0}, 1},
        {46, 17, {0, 0, 2, 0}, 0},
        {46, 17, {0, 0, 3, 1}, 0},
        {47, 17, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, 1},
        {47, 17, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0},
    };
    for (const auto& c : cases) {
        Asked a = Ask(c.item, 0, c.value, 3);
        EXPECT_EQ(ITEM_OK, a.result) << "item " << c.item;
        EXPECT_EQ(c.number, Number(a)) << "item " << c.item;
        EXPECT_EQ(c.code, a.request.data.code) << "item " << c.item;
        EXPECT_EQ(0xCC, a.out[2]) << "item " << c.item << ": a number is two bytes";
    }
}

TEST(CardItems, RecordItemsCopyTheirSizeOnly)
{
    std::vector<uint8_t> value(32);
    for (size_t i = 0; i < value.size(); ++i)
        value[i] = static_cast<uint8_t>(0x80 + i);
    Asked entry = Ask(48, 0, value, 4);
    EXPECT_EQ(ITEM_OK, entry.result);
    EXPECT_EQ(0, memcmp(value.data(), entry.out.data(), 32));
    EXPECT_EQ(0xCC, entry.out[32]);
    EXPECT_EQ(4, entry.request.data.value[0]);

    Asked quality = Ask(49, 0, value, 2);
    EXPECT_EQ(ITEM_OK, quality.result);
    EXPECT_EQ(SUB_ADHOC_QUALITY, quality.request.data.code);
    EXPECT_EQ(0, memcmp(value.data(), quality.out.data(), 28));
    EXPECT_EQ(0xCC, quality.out[28]);
}

TEST(CardItems, StatisticsItemReadsTheBlock)
{
    ScriptedCard card;
    uint8_t counters[STATISTICS_BLOCK_SIZE];
    for (size_t i = 0; i < sizeof(counters); ++i)
        counters[i] = static_cast<uint8_t>(i);
    card.PutMemory(0x5000, counters, sizeof(counters));
    card.firmware = [](MailboxBlock& b) {
        b.status = 0;
        b.data.code = 0x5000;
    };
    uint8_t out[STATISTICS_BLOCK_SIZE];
    EXPECT_EQ(ITEM_OK, QueryCardItem(20, out));
    EXPECT_EQ(0, memcmp(counters, out, sizeof(out)));
    card.pendingPolls = -1;
    EXPECT_EQ(ITEM_NO_RESPONSE, QueryCardItem(20, out));
    EXPECT_EQ(0, out[0]);
}

// Every item the table knows, with the status that fails it besides no answer.
TEST(CardItems, FailureRules)
{
    const int noAnswerItems[] = {4,  5,  6,  9,  10, 11, 12, 13, 16, 17, 18, 19, 21, 22,
                                 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 34, 37, 40, 49};
    const int notAvailableItems[] = {39, 41, 42, 43, 44, 45, 46, 47, 48};
    for (int item : noAnswerItems) {
        ScriptedCard card;
        card.pendingPolls = -1;
        uint8_t out[64];
        memset(out, 'x', sizeof(out));
        bool unanswered = false;
        EXPECT_EQ(ITEM_NO_RESPONSE, QueryCardItem(item, out, sizeof(out), &unanswered))
            << "item " << item;
        EXPECT_EQ(0, out[0]) << "item " << item;
        EXPECT_TRUE(unanswered) << "item " << item;

        // Not available does not fail these: the answer is decoded.
        Asked a = Ask(item, STATUS_NOT_AVAILABLE, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1});
        EXPECT_EQ(ITEM_OK, a.result) << "item " << item;
    }
    for (int item : notAvailableItems) {
        Asked a = Ask(item, STATUS_NOT_AVAILABLE, {'A', 'B', 'C', 0, 'D', 'E', 'F', 'G'}, 7);
        EXPECT_EQ(ITEM_NO_RESPONSE, a.result) << "item " << item;
        EXPECT_EQ(0, a.out[0]) << "item " << item;
        EXPECT_FALSE(a.unanswered) << "item " << item << ": the card answered";
        // Another firmware status is decoded.
        Asked other = Ask(item, 0x0002, {'A', 'B', 'C', 0, 'D', 'E', 'F', 'G'}, 7);
        EXPECT_EQ(ITEM_OK, other.result) << "item " << item;
        // A command that got no answer fails them too.
        ScriptedCard card;
        card.pendingPolls = -1;
        uint8_t out[64] = {7, 0, 'x'};
        bool unanswered = false;
        EXPECT_EQ(ITEM_NO_RESPONSE, QueryCardItem(item, out, sizeof(out), &unanswered))
            << "item " << item;
        EXPECT_EQ(0, out[0]) << "item " << item;
        EXPECT_TRUE(unanswered) << "item " << item;
    }
}

TEST(CardItems, DebugDumpNotAvailableGivesTheFirmwareTextAndSuccess)
{
    Asked a = Ask(50, STATUS_NOT_AVAILABLE, {9, 1, 2}, 0, 200);
    EXPECT_EQ(ITEM_OK, a.result);
    EXPECT_EQ("The current version of station firmware does not provide debug information. "
              "Please update your firmware.",
              Text(a));
}

TEST(CardItems, UnknownItemsAndAdapterNotReady)
{
    const int unknown[] = {0, 1, 2, 3, 7, 8, 14, 15, 33, 35, 36, 38, 51, 52, 255, -1};
    for (int item : unknown) {
        ScriptedCard card;
        char out[16] = "stale";
        EXPECT_EQ(ITEM_UNKNOWN, QueryCardItem(item, out)) << "item " << item;
        EXPECT_EQ('\0', out[0]);
        EXPECT_TRUE(card.sent.empty()) << "item " << item;
    }
    for (int item : {4, 20, 23, 48, 50}) {
        ScriptedCard card;
        GetAdapterLink().AdapterReady = false;
        char out[400] = "stale";
        EXPECT_EQ(ITEM_NO_ADAPTER, QueryCardItem(item, out)) << "item " << item;
        EXPECT_EQ('\0', out[0]);
        EXPECT_EQ(0, card.blockReads + card.blockWrites) << "nothing is sent";
    }
}

// A refused driver transfer is no answer: no item decodes what the driver's
// buffer held, whichever transfer of the command it hit.
TEST(CardItems, RefusedTransfersFailTheItem)
{
    struct Hit
    {
        const char* what;
        int read, write;
    } hits[] = {{"idle check", 1, 0}, {"command", 0, 1}, {"answer", 2, 0}, {"counters", 3, 0}};
    for (int item : {19, 23, 20, 25, 49}) {
        for (const Hit& hit : hits) {
            if (hit.read == 3 && item != 20)
                continue;
            SCOPED_TRACE(std::string(hit.what) + ", item " + std::to_string(item));
            ScriptedCard card;
            card.firmware = [](MailboxBlock& b) {
                b.status = 0;
                b.data.code = 0x5000; // where the statistics are
            };
            card.refuseRead = hit.read;
            card.refuseWrite = hit.write;
            char out[STATISTICS_BLOCK_SIZE];
            memset(out, 'x', sizeof(out));
            EXPECT_EQ(ITEM_NO_RESPONSE, QueryCardItem(item, out));
            EXPECT_EQ('\0', out[0]);
            EXPECT_EQ(1u, card.reporter.notices.size());
        }
    }
}

TEST(CardItems, ClosedMailboxFailsEveryItem)
{
    for (int item : {4, 23, 26, 42, 48, 49, 50}) {
        ScriptedCard card;
        GetAdapterLink().MailboxState = 0;
        char out[64] = "stale";
        EXPECT_EQ(ITEM_NO_RESPONSE, QueryCardItem(item, out)) << "item " << item;
        EXPECT_EQ('\0', out[0]);
    }
}

// ---- bad input from the card ----

TEST(CardItems, UnterminatedTextsStayInsideTheirFields)
{
    std::vector<uint8_t> full(32, 'E');
    Asked essid = Ask(9, 0, full, 0, 40);
    EXPECT_EQ(std::string(32, 'E'), Text(essid)) << "a 32-byte ESSID needs no zero of its own";
    EXPECT_EQ(0, essid.out[32]);
    EXPECT_EQ(0xCC, essid.out[33]);

    Asked bssEssid = Ask(30, 0, full, 0, 40);
    EXPECT_EQ(std::string(32, 'E'), Text(bssEssid));

    Asked maker = Ask(12, 0, full, 0, 64);
    EXPECT_EQ(std::string(32, 'E'), Text(maker));

    // A station name starts at byte 13: at most the 19 bytes left.
    std::vector<uint8_t> entry(32, 'N');
    Asked name = Ask(43, 0, entry, 0, 64);
    EXPECT_EQ(std::string(19, 'N'), Text(name));

    Asked station = Ask(40, 0, full, 0, 64);
    EXPECT_EQ(std::string(16, 'E'), Text(station));
}

TEST(CardItems, SmallBuffersAreNeverOverrun)
{
    std::vector<uint8_t> full(32, 'E');
    for (int item : {9, 12, 13, 16, 17, 19, 23, 50}) {
        Asked a = Ask(item, 0, full, 0, 5);
        EXPECT_EQ(ITEM_OK, a.result) << "item " << item;
        EXPECT_NE(nullptr, memchr(a.out.data(), 0, 5)) << "item " << item << ": terminated";
        for (size_t i = 5; i < a.out.size(); ++i)
            EXPECT_EQ(0xCC, a.out[i]) << "item " << item << " wrote byte " << i;
    }
    Asked one = Ask(25, 0, {0x34, 0x12}, 0, 1);
    EXPECT_EQ(0x34, one.out[0]) << "a one-byte buffer takes the low byte only";
    EXPECT_EQ(0xCC, one.out[1]);
    Asked record = Ask(48, 0, full, 0, 10);
    EXPECT_EQ(ITEM_OK, record.result);
    EXPECT_EQ('E', record.out[9]);
    EXPECT_EQ(0xCC, record.out[10]);

    ScriptedCard card;
    card.Reply(0, {1});
    EXPECT_EQ(ITEM_OK, QueryCardItem(4, nullptr, 0)) << "no buffer at all is not written";
}
