// RateWindow.h - the sliding window of the last 13 statistics samples from
// which throughput and error shares are computed. Plain code without a
// Windows header, shared by the statistics dialog and the throughput monitor.
#pragma once

#include <stdint.h>

#include "adapter/StatisticsBlock.h"

// Difference of a newer and an older reading of a 32-bit counter that may
// have wrapped in between: always (newer - older) modulo 2^32.
inline uint32_t CounterDelta(uint32_t newer, uint32_t older)
{
    return newer - older;
}

// One sample: the counters the rates are formed from.
struct RateSample
{
    uint32_t txBytes = 0;     // bytes of frames transmitted correctly
    uint32_t rxBytes = 0;     // bytes of frames received correctly
    uint32_t txAttempts = 0;  // frames transmitted correctly plus retry attempts
    uint32_t txRetries = 0;   // retry attempts
    uint32_t rxFrames = 0;    // frames received correctly plus corrupted ones
    uint32_t rxCorrupted = 0; // corrupted frames received
    uint32_t period = 0;      // the card's measured period, seconds

    static RateSample From(const StatisticsBlock& block);
};

// What one push gives; all 0 when the window cannot tell yet.
struct RateResult
{
    uint32_t txRate = 0; // bytes per second
    uint32_t rxRate = 0;
    uint16_t txError = 0;   // percent of transmit attempts that were retries
    uint32_t rxError = 0;   // percent of received frames that were corrupted
    bool restarted = false; // the counters went back: the window began again
};

class RateWindow
{
public:
    static constexpr int kSlots = 13;
    // Error shares are only formed above this rate (bytes per second).
    static constexpr uint32_t kErrorRateFloor = 1000;

    RateWindow() { Reset(); }

    // Empties the window: the next push is its first sample.
    void Reset();

    // Stores the sample as the newest and returns the rates between it and
    // the oldest sample in use: over every sample so far until the window
    // is full, over the last 12 intervals after that. A sample whose period
    // or byte counters went back (the card's counters were reset) empties
    // the window first and becomes its first sample.
    RateResult Push(const RateSample& sample);

    // Whether `newer` lies behind `older` in its period or byte counters.
    // A wrap is no going back: it arrives by a small step forwards, never
    // by half the counters' range within one sample.
    static bool WentBack(const RateSample& newer, const RateSample& older);

    int Head() const { return m_head; }
    int Tail() const { return m_tail; }
    bool Full() const { return m_full; }
    const RateSample& Slot(int index) const { return m_slots[index]; }
    bool Empty() const { return !m_full && m_head == kSlots - 1; }

private:
    RateSample m_slots[kSlots];
    int m_head;
    int m_tail;
    bool m_full;
};
