// LinkQuality.h - the link monitor's arithmetic: the ad-hoc quality worked
// out from two item-49 records, and the thresholds that pick the tip form,
// the notification icon and the alert. No Windows header, so it also builds
// natively.
#pragma once

#include "adapter/AdHocQualityRecord.h"
#include "adapter/QualityScale.h"

// The next smoothed ad-hoc quality from the previous one and the records of
// the previous and the current tick. `divisor` is the card's period divisor
// (item 5); 0 means it is not known.
//
// A change in the count of other stations, or none left, gives
// QUALITY_NO_CONNECTION. Otherwise a sample of received against expected
// counts (at most 100) is averaged with the previous quality, which is first
// taken as 100 when it was one of the special values. When no sample can be
// formed (divisor unknown, or no expected count because no time passed) the
// quality is held: only a special value becomes 100.
float NextAdHocQuality(float current, const AdHocQualityRecord& previous,
                       const AdHocQualityRecord& next, int divisor);

// Which of the four quality icons, as an index: 0 none (above 100), 1 good,
// 2 fair, 3 poor.
enum QualityLevel
{
    QUALITY_LEVEL_NONE,
    QUALITY_LEVEL_GOOD,
    QUALITY_LEVEL_FAIR,
    QUALITY_LEVEL_POOR
};
QualityLevel QualityLevelOf(float quality);

// How a tick changes the alert: raise it (below 30 while not alerted), re-arm
// it (30 to 100), or leave it as it is (special values, or already alerted).
enum AlertChange
{
    ALERT_KEEP,
    ALERT_RAISE,
    ALERT_REARM
};
AlertChange AlertChangeFor(float quality, bool alerted);
