// The preferred access point field of the Advanced Configuration dialog:
// which texts it takes and what it stores for them, and the colon form it
// shows for a stored text. Random texts must never make it read outside
// what it was given.
#include "sheet/BssidInput.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

struct InputCase
{
    const char* input;
    bool accepted;
    const char* stored; // when accepted
};

const InputCase kInputs[] = {
    {"", true, "000000000000"},
    {"00:A0:C5:12:34:56", true, "00A0C5123456"},
    {"00:a0:c5:12:34:56", true, "00a0c5123456"},
    {"00a0c5123456", true, "00a0c5123456"},
    {"00A0C5123456", true, "00A0C5123456"},
    {"02A0C5123456", true, "02A0C5123456"}, // locally administered: allowed
    {"FEFFFFFFFFFF", true, "FEFFFFFFFFFF"},
    {"01A0C5123456", false, ""}, // group address
    {"01:A0:C5:12:34:56", false, ""},
    {"0FA0C5123456", false, ""},
    {"ffffffffffff", false, ""}, // broadcast, any letter case
    {"FFFFFFFFFFFF", false, ""},
    {"fFfFfFfFfFfF", false, ""},
    {"ff:ff:ff:ff:ff:ff", false, ""},
    {"00-A0-C5-12-34-56", false, ""}, // wrong separators
    {"00:A0:C5:12:34-56", false, ""},
    {"00:A0:C5:12:3456:", false, ""},  // misplaced separator
    {"00A0C512345", false, ""},        // 11 characters
    {"00A0C51234567", false, ""},      // 13 characters
    {"00:A0:C5:12:34:5", false, ""},   // 16 characters
    {"00:A0:C5:12:34:567", false, ""}, // 18 characters
    {"00A0C512345G", false, ""},
    {"00:A0:C5:12:34:5G", false, ""},
    {"00 A0C5123456", false, ""},
    {" 00A0C512345", false, ""},
    {"000000000000", true, "000000000000"}, // typed zeros mean none as well
};

TEST(BssidInput, AcceptsOnlyWellFormedUnicastAddresses)
{
    for (const InputCase& c : kInputs) {
        std::string stored = "untouched";
        bool accepted = ParseBssidInput(c.input, stored);
        EXPECT_EQ(c.accepted, accepted) << '"' << c.input << '"';
        EXPECT_EQ(c.accepted ? std::string(c.stored) : std::string("untouched"), stored)
            << '"' << c.input << '"';
    }
}

TEST(BssidInput, ShowsTheStoredAddressInColonFormAndNoneAsEmpty)
{
    const struct
    {
        const char* stored;
        const char* shown;
    } cases[] = {
        {"000000000000", ""},
        {"", ""},
        {"00A0C5123456", "00:A0:C5:12:34:56"},
        {"00a0c5123456", "00:A0:C5:12:34:56"},
        {"00A0C5", "00:A0:C5:00:00:00"},       // short: the rest counts as 00
        {"00A0C5XX3456", "00:A0:C5:00:00:00"}, // reading stops at what is not a digit
        {"XX0000000001", ""},
        {"00A0C51234567890", "00:A0:C5:12:34:56"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.shown, BssidDisplayText(c.stored)) << '"' << c.stored << '"';
}

// Whatever is shown is taken back as the same address.
TEST(BssidInput, ShownFormReadsBackAndRandomTextStaysInBounds)
{
    std::mt19937 rng(12);
    const char alphabet[] = "0123456789abcdefABCDEF:-xG ";
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        for (size_t n = rng() % 20; n > 0; --n)
            text += alphabet[rng() % (sizeof(alphabet) - 1)];
        std::string stored;
        if (ParseBssidInput(text, stored)) {
            ASSERT_EQ(12u, stored.size()) << text;
            std::string shown = BssidDisplayText(stored);
            if (shown.empty())
                continue;
            std::string again;
            ASSERT_TRUE(ParseBssidInput(shown, again)) << text << " shown as " << shown;
            EXPECT_EQ(BssidDisplayText(again), shown);
        }
        std::string shown = BssidDisplayText(text);
        EXPECT_TRUE(shown.empty() || shown.size() == 17u) << text;
    }
}

} // namespace
