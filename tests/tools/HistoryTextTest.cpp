// HistoryTextTest.cpp - the history's texts filled in and the system's
// reasons trimmed. No Windows: it runs natively with the sanitizers too.
#include "tools/HistoryText.h"

#include <gtest/gtest.h>

namespace {

TEST(HistoryText, PlacesAreFilledOnceAndReasonsLoseTheirLineEnd)
{
    struct Case
    {
        const char* pattern;
        const char* first;
        const char* second;
        const char* number;
        const char* text;
    } cases[] = {
        {"Signal quality good (%n%)", "", "", "72", "Signal quality good (72%)"},
        {"Joined %1 (%2)", "Lab", "00:A0:C5:00:00:01", "", "Joined Lab (00:A0:C5:00:00:01)"},
        {"%1 already exists.\n\n%1", "a.csv", "", "", "a.csv already exists.\n\na.csv"},
        {"Survey mark: %1", "100%1 %2 %n", "x", "5", "Survey mark: 100%1 %2 %n"},
        {"50% %", "a", "b", "c", "50% %"},
        {"ends with %", "", "", "", "ends with %"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, FillText(c.pattern, c.first, c.second, c.number)) << c.pattern;

    const struct
    {
        const char* reason;
        const char* trimmed;
    } reasons[] = {
        {"There is not enough space on the disk.\r\n", "There is not enough space on the disk."},
        {"Access denied \r\n", "Access denied"},
        {"\r\n", ""},
        {"", ""},
    };
    for (const auto& r : reasons)
        EXPECT_EQ(r.trimmed, TrimReason(r.reason)) << r.reason;
}

} // namespace
