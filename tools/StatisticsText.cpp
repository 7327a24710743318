// StatisticsText.cpp - the text forms of the statistics figures.
#include "tools/StatisticsText.h"

#include <stdio.h>

std::string GroupedCounter(uint32_t value)
{
    char digits[16];
    snprintf(digits, sizeof(digits), "%lu", static_cast<unsigned long>(value));
    std::string text;
    const std::string plain(digits);
    for (size_t i = 0; i < plain.size(); ++i) {
        if (i > 0 && (plain.size() - i) % 3 == 0)
            text += ',';
        text += plain[i];
    }
    return text;
}

std::string UptimeText(uint32_t seconds)
{
    char text[32];
    snprintf(text, sizeof(text), "%lu:%02lu:%02lu", static_cast<unsigned long>(seconds / 3600),
             static_cast<unsigned long>(seconds % 3600 / 60),
             static_cast<unsigned long>(seconds % 60));
    return text;
}

std::string ProcessorUsageText(uint32_t idlePercent)
{
    char text[24];
    snprintf(text, sizeof(text), "%lld", 100LL - static_cast<long long>(idlePercent));
    return text;
}

std::string KbytesText(double bytesPerSecond)
{
    char text[48];
    snprintf(text, sizeof(text), "%.1f", bytesPerSecond / 1024.0);
    return text;
}

std::string AverageKbytesText(uint32_t bytes, uint32_t seconds)
{
    // In floating point: seconds x 1024 would overflow 32 bits.
    return KbytesText(static_cast<double>(bytes) / static_cast<double>(seconds));
}
