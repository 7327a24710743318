// LinkQualityTest.cpp - the ad-hoc quality formula and the thresholds, on
// records made by hand.
#include "app/LinkQuality.h"

#include <gtest/gtest.h>

namespace {

AdHocQualityRecord Record(uint64_t microseconds, uint16_t stations, uint32_t counter)
{
    AdHocQualityRecord r = {};
    r.timeCounter = microseconds;
    r.otherStations = stations;
    r.runningCounter = counter;
    return r;
}

TEST(AdHocQuality, FormulaCases)
{
    // 4 s at a divisor of 100 with 3 other stations: 40 * 3 / 4 = 30 expected.
    struct Case
    {
        const char* what;
        float current;
        AdHocQualityRecord previous, next;
        int divisor;
        float expected;
    };
    const Case cases[] = {
        {"all expected counts arrive", 100, Record(0, 3, 0), Record(4000000, 3, 30), 100, 100},
        {"half of them", 100, Record(0, 3, 0), Record(4000000, 3, 15), 100, 75},
        {"averaged with the previous value", 40, Record(0, 3, 0), Record(4000000, 3, 30), 100, 70},
        {"more than expected counts as 100", 100, Record(0, 3, 0), Record(4000000, 3, 90), 100,
         100},
        {"a special value starts from 100", 102, Record(0, 3, 0), Record(4000000, 3, 15), 100, 75},
        {"station count changed", 80, Record(0, 3, 0), Record(4000000, 2, 20), 100, 102},
        {"no other station left", 80, Record(0, 0, 0), Record(4000000, 0, 0), 100, 102},
        {"running counter wrapped", 100, Record(0, 1, 0xFFFFFFF0u), Record(4000000, 1, 4), 100,
         100},
        {"only the low 32 bits of the time difference", 100, Record(0, 1, 0),
         Record((1ull << 32) + 2000000, 1, 5), 100, 75},
        {"divisor unknown: held", 60, Record(0, 3, 0), Record(4000000, 3, 0), 0, 60},
        {"divisor unknown: special value becomes 100", 102, Record(0, 3, 0), Record(4000000, 3, 0),
         0, 100},
        {"no time passed: held", 55, Record(4000000, 3, 0), Record(4000000, 3, 5), 100, 55},
        {"under a millisecond counts as none", 55, Record(0, 3, 0), Record(999, 3, 5), 100, 55},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(c.expected, NextAdHocQuality(c.current, c.previous, c.next, c.divisor))
            << c.what;
}

TEST(AdHocQuality, NeverAboveOneHundredWhateverArrives)
{
    float q = 100;
    AdHocQualityRecord previous = Record(0, 2, 0);
    for (int i = 1; i <= 50; ++i) {
        AdHocQualityRecord next = Record(i * 4000000ull, 2, previous.runningCounter + 1000u * i);
        q = NextAdHocQuality(q, previous, next, 100);
        ASSERT_LE(q, 100.0f) << "tick " << i;
        previous = next;
    }
    EXPECT_FLOAT_EQ(100.0f, q);
}

TEST(QualityThresholds, IconLevelAndAlert)
{
    struct Case
    {
        float quality;
        QualityLevel level;
        AlertChange whenArmed, whenAlerted;
    };
    const Case cases[] = {
        {0, QUALITY_LEVEL_POOR, ALERT_RAISE, ALERT_KEEP},
        {29.9f, QUALITY_LEVEL_POOR, ALERT_RAISE, ALERT_KEEP},
        {30, QUALITY_LEVEL_FAIR, ALERT_REARM, ALERT_REARM},
        {59.9f, QUALITY_LEVEL_FAIR, ALERT_REARM, ALERT_REARM},
        {60, QUALITY_LEVEL_GOOD, ALERT_REARM, ALERT_REARM},
        {100, QUALITY_LEVEL_GOOD, ALERT_REARM, ALERT_REARM},
        {100.5f, QUALITY_LEVEL_NONE, ALERT_KEEP, ALERT_KEEP},
        {102, QUALITY_LEVEL_NONE, ALERT_KEEP, ALERT_KEEP},
        {103, QUALITY_LEVEL_NONE, ALERT_KEEP, ALERT_KEEP},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.level, QualityLevelOf(c.quality)) << c.quality;
        EXPECT_EQ(c.whenArmed, AlertChangeFor(c.quality, false)) << c.quality;
        EXPECT_EQ(c.whenAlerted, AlertChangeFor(c.quality, true)) << c.quality;
    }
}

} // namespace
