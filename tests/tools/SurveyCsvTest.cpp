// SurveyCsvTest.cpp - the survey log's lines: every column, the bands and the
// quoting of RFC 4180. No Windows: it runs natively with the sanitizers too.
#include "tools/SurveyCsv.h"

#include <gtest/gtest.h>

namespace {

TEST(SurveyCsv, LinesHoldTheReadingTheCellAndTheMarkQuotedWhereNeeded)
{
    // 2024-05-01 14:03:09
    const HistoryTime t = HistoryTimeOf({2024, 5, 1, 14, 3, 9});
    struct Case
    {
        SurveyLine line;
        const char* text;
    } cases[] = {
        {{t, 72, false, "Corvane", "00:A0:C5:00:00:01", ""},
         "2024-05-01T14:03:09,72,good,Corvane,00:A0:C5:00:00:01,\r\n"},
        {{t, 60, false, "Corvane", "00:A0:C5:00:00:01", "Room 204"},
         "2024-05-01T14:03:09,60,good,Corvane,00:A0:C5:00:00:01,Room 204\r\n"},
        {{t, 59, false, "", "", ""}, "2024-05-01T14:03:09,59,fair,,,\r\n"},
        {{t, 30, false, "a", "b", "c"}, "2024-05-01T14:03:09,30,fair,a,b,c\r\n"},
        {{t, 0, false, "a", "b", "c"}, "2024-05-01T14:03:09,0,poor,a,b,c\r\n"},
        {{t, 102, false, "a", "b", "c"}, "2024-05-01T14:03:09,,none,a,b,c\r\n"},
        {{t, 103, false, "a", "b", "c"}, "2024-05-01T14:03:09,,scanning,a,b,c\r\n"},
        {{t, 72, true, "a", "b", "c"}, "2024-05-01T14:03:09,,no response,a,b,c\r\n"},
        {{t, 45, false, "Lab, \"east\"", "00:A0:C5:00:00:02", "by the \"door\", left"},
         "2024-05-01T14:03:09,45,fair,\"Lab, \"\"east\"\"\",00:A0:C5:00:00:02,"
         "\"by the \"\"door\"\", left\"\r\n"},
        {{t, 45, false, "two\r\nlines", "\"", "new\nline"},
         "2024-05-01T14:03:09,45,fair,\"two\r\nlines\",\"\"\"\",\"new\nline\"\r\n"},
        {{t, 45, false, "caf\xe9", "x", "Zi\xfc"},
         "2024-05-01T14:03:09,45,fair,caf\xe9,x,Zi\xfc\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, SurveyCsvLine(c.line));
    EXPECT_EQ("Time,Quality,Band,ESSID,BSSID,Mark\r\n", SurveyCsvHeader());
}

} // namespace
