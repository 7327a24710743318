// QualityScale.h - the link quality scale shared by the monitor, the tray
// icon and the tools: percent from 0 to 100, two special values above it and
// the thresholds of the three colours. No Windows header.
#pragma once

// The card has no link.
const int QUALITY_NO_CONNECTION = 102;
// A network scan is running, so no quality is measured.
const int QUALITY_SCANNING = 103;
// From here to 100 the link is good (green).
const int QUALITY_GOOD = 60;
// Below this the link is poor (red) and the alert is raised.
const int QUALITY_POOR = 30;

enum class QualityBand
{
    Good,
    Fair,
    Poor,
    None
};

// None for the special values (anything above 100).
inline QualityBand BandOf(int quality)
{
    if (quality > 100)
        return QualityBand::None;
    if (quality >= QUALITY_GOOD)
        return QualityBand::Good;
    if (quality >= QUALITY_POOR)
        return QualityBand::Fair;
    return QualityBand::Poor;
}
