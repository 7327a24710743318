// Strict integer reading of the data exchange.
#include "framework/IntegerText.h"

#include <gtest/gtest.h>

namespace {

struct IntegerCase
{
    const char* text;
    bool ok;
    long value;
};

TEST(IntegerText, AcceptsOnlyAWholeNumberInTheThirtyTwoBitRange)
{
    const IntegerCase cases[] = {
        {"5", true, 5},
        {" 5", true, 5},
        {"\t  -17", true, -17},
        {"+8", true, 8},
        {"0", true, 0},
        {"007", true, 7},
        {"2147483647", true, 2147483647L},
        {"-2147483648", true, -2147483647L - 1},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999", false, 0},
        {"99999999999999999999999", false, 0},
        {"12abc", false, 0},
        {"", false, 0},
        {"   ", false, 0},
        {"-", false, 0},
        {"+", false, 0},
        {"1 2", false, 0},
        {"5 ", false, 0},
        {"--5", false, 0},
        {"0x10", false, 0},
        {"1.5", false, 0},
    };
    for (const IntegerCase& c : cases) {
        long value = 4242;
        EXPECT_EQ(c.ok, ParseInteger(c.text, value)) << '"' << c.text << '"';
        EXPECT_EQ(c.ok ? c.value : 4242, value) << '"' << c.text << "\" (kept when refused)";
    }
    long value = 1;
    EXPECT_FALSE(ParseInteger(nullptr, value));
}

} // namespace
