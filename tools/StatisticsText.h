// StatisticsText.h - how the statistics and throughput windows write the
// card's counters: grouped counters, uptime, processor usage, kilobytes per
// second. Plain code without a Windows header.
#pragma once

#include <stdint.h>

#include <string>

// "%lu" grouped with a comma before every third digit from the right:
// 1234567 -> "1,234,567".
std::string GroupedCounter(uint32_t value);

// Seconds as "%d:%02d:%02d" of hours, minutes and seconds.
std::string UptimeText(uint32_t seconds);

// The card reports its idle share; the usage is 100 minus it. A figure above
// 100 gives a negative usage rather than a wrapped one.
std::string ProcessorUsageText(uint32_t idlePercent);

// A rate in bytes per second as Kbytes per second, "%.1f".
std::string KbytesText(double bytesPerSecond);

// Average Kbytes per second of `bytes` over `seconds` (non-zero), "%.1f".
std::string AverageKbytesText(uint32_t bytes, uint32_t seconds);
