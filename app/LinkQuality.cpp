// LinkQuality.cpp - the ad-hoc quality formula and the quality thresholds.
#include "app/LinkQuality.h"

#include <stdint.h>

float NextAdHocQuality(float current, const AdHocQualityRecord& previous,
                       const AdHocQualityRecord& next, int divisor)
{
    unsigned stations = next.otherStations;
    if (stations == 0 || stations != previous.otherStations)
        return QUALITY_NO_CONNECTION;

    if (current > 100.0f)
        current = 100.0f;
    if (divisor <= 0)
        return current;

    // The time counter may run on past 32 bits; only the low 32 bits of the
    // difference count.
    uint32_t elapsed = static_cast<uint32_t>(next.timeCounter - previous.timeCounter) / 1000u;
    uint32_t received = next.runningCounter - previous.runningCounter;
    double expected = static_cast<double>(elapsed) / divisor * stations / (stations + 1);
    if (!(expected > 0.0))
        return current;

    double sample = 100.0 * received / expected;
    if (sample > 100.0)
        sample = 100.0;
    return static_cast<float>((current + sample) * 0.5);
}

QualityLevel QualityLevelOf(float quality)
{
    if (quality > 100.0f)
        return QUALITY_LEVEL_NONE;
    if (quality >= QUALITY_GOOD)
        return QUALITY_LEVEL_GOOD;
    if (quality >= QUALITY_POOR)
        return QUALITY_LEVEL_FAIR;
    return QUALITY_LEVEL_POOR;
}

AlertChange AlertChangeFor(float quality, bool alerted)
{
    if (quality < QUALITY_POOR)
        return alerted ? ALERT_KEEP : ALERT_RAISE;
    if (quality <= 100.0f)
        return ALERT_REARM;
    return ALERT_KEEP;
}
