// CardTextTest.cpp - decoding of firmware answers into display texts.
#include "adapter/CardText.h"

#include <gtest/gtest.h>

#include <string.h>

TEST(CardText, LinkStateNamesCoverEveryCodeAndNothingBeyond)
{
    const char* expected[] = {"Idle",       "Scanning...", "Rejoining...", "Adopted",
                              "Started",    "Joined",      "Failed",       "Joining...",
                              "Joining...", "Joining...",  "Roaming...",   "Associated"};
    for (unsigned code = 0; code < 12; ++code)
        EXPECT_STREQ(expected[code], LinkStateName(code)) << "code " << code;
    EXPECT_STREQ("", LinkStateName(12));
    EXPECT_STREQ("", LinkStateName(0xFFFF));
}

TEST(CardText, RatesText)
{
    struct Case
    {
        std::vector<uint8_t> list;
        const char* text;
    } cases[] = {
        {{0x02, 0x04, 0x00}, "1, 2 Mbit/s"},
        {{0x02, 0x00}, "1 Mbit/s"},
        {{0x00}, " Mbit/s"},
        {{0x82, 0x84, 0x00}, "65, 66 Mbit/s"}, // the shift and mask as the firmware values come
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, RatesText(c.list.data(), c.list.size()));
}

TEST(CardText, RatesListWithoutTerminatorStopsAtItsSize)
{
    uint8_t list[32];
    memset(list, 0x04, sizeof(list));
    std::string text = RatesText(list, 3); // the bytes after 3 must not be read
    EXPECT_EQ("2, 2, 2 Mbit/s", text);
    EXPECT_EQ(0x04, LargestRate(list, sizeof(list)));
}

TEST(CardText, LargestRate)
{
    const uint8_t a[] = {0x02, 0x04, 0x00, 0x16};
    EXPECT_EQ(0x04, LargestRate(a, sizeof(a))); // after the zero nothing counts
    const uint8_t b[] = {0x16, 0x02, 0x00};
    EXPECT_EQ(0x16, LargestRate(b, sizeof(b)));
}

TEST(CardText, FirmwareVersionKeepsTwoDigitsOfMinor)
{
    EXPECT_EQ("0.05", FirmwareVersionText(5));
    EXPECT_EQ("12.40", FirmwareVersionText(1240));
}

TEST(CardText, DebugDumpLengthBounds)
{
    uint8_t value[32];
    for (int i = 0; i < 32; ++i)
        value[i] = static_cast<uint8_t>(i);
    value[0] = 0;
    EXPECT_EQ("0000  00 ", DebugDumpText(value, 32));
    value[0] = 7; // exactly one full line, no line break after it
    EXPECT_EQ("0000  07 01 02 03 04 05 06 07 ", DebugDumpText(value, 32));
    value[0] = 0xFF;
    EXPECT_EQ("", DebugDumpText(value, 32));

    // A length byte far above the field: the dump stops at the field's 32 bytes.
    value[0] = 200;
    EXPECT_EQ("0000  C8 01 02 03 04 05 06 07 \r\n"
              "0008  08 09 0A 0B 0C 0D 0E 0F \r\n"
              "0016  10 11 12 13 14 15 16 17 \r\n"
              "0024  18 19 1A 1B 1C 1D 1E 1F ",
              DebugDumpText(value, 32));
}

TEST(CardText, BoundedTextStopsAtZeroOrSize)
{
    const uint8_t named[] = {'A', 'B', 0, 'C'};
    EXPECT_EQ("AB", BoundedText(named, sizeof(named)));
    uint8_t full[32];
    memset(full, 'x', sizeof(full));
    EXPECT_EQ(std::string(32, 'x'), BoundedText(full, sizeof(full)));
}

TEST(CardText, BssidTextForms)
{
    uint8_t six[6];
    EXPECT_TRUE(ParseColonBssid("00:a0:C5:1:23:ff", six));
    const uint8_t colon[6] = {0x00, 0xA0, 0xC5, 0x01, 0x23, 0xFF};
    EXPECT_EQ(0, memcmp(colon, six, 6));
    EXPECT_FALSE(ParseColonBssid("00:a0", six));
    EXPECT_EQ(0, six[2]) << "parts that do not parse are zero";

    EXPECT_TRUE(ParseHexBssid("00a0c5123456", six));
    const uint8_t hex[6] = {0x00, 0xA0, 0xC5, 0x12, 0x34, 0x56};
    EXPECT_EQ(0, memcmp(hex, six, 6));
    EXPECT_FALSE(ParseHexBssid("00a0c512345", six));
    EXPECT_FALSE(ParseHexBssid("00a0c51234567", six));
    EXPECT_FALSE(ParseHexBssid("00a0c51234zz", six));
    EXPECT_FALSE(ParseHexBssid("00:a0:c5:12", six));
}
