// RateWindow.cpp - the ring of samples and the rate, error share rules.
#include "tools/RateWindow.h"

RateSample RateSample::From(const StatisticsBlock& block)
{
    RateSample s;
    s.txBytes = block.txOkBytes;
    s.rxBytes = block.rxOkBytes;
    // Counter sums wrap as the card's counters do; only differences matter.
    s.txAttempts = block.txOkFrames + block.txRetries;
    s.txRetries = block.txRetries;
    s.rxFrames = block.rxOkFrames + block.rxCorrupted;
    s.rxCorrupted = block.rxCorrupted;
    s.period = block.measuredPeriod;
    return s;
}

void RateWindow::Reset()
{
    for (RateSample& slot : m_slots)
        slot = RateSample();
    m_head = kSlots - 1;
    m_tail = 0;
    m_full = false;
}

bool RateWindow::WentBack(const RateSample& newer, const RateSample& older)
{
    const uint32_t kHalfRange = 0x80000000u;
    return CounterDelta(newer.period, older.period) >= kHalfRange ||
           CounterDelta(newer.txBytes, older.txBytes) >= kHalfRange ||
           CounterDelta(newer.rxBytes, older.rxBytes) >= kHalfRange;
}

RateResult RateWindow::Push(const RateSample& sample)
{
    const bool restart = !Empty() && WentBack(sample, m_slots[m_head]);
    if (restart)
        Reset();
    m_head = m_head == kSlots - 1 ? 0 : m_head + 1;
    m_slots[m_head] = sample;
    if (m_head == kSlots - 1)
        m_full = true;

    const RateSample& newest = m_slots[m_head];
    const RateSample& oldest = m_slots[m_tail];
    RateResult r;
    r.restarted = restart;
    // The card's period is a 16-bit time base.
    const uint16_t dt = static_cast<uint16_t>(CounterDelta(newest.period, oldest.period));
    if (dt != 0) {
        r.txRate = CounterDelta(newest.txBytes, oldest.txBytes) / dt;
        r.rxRate = CounterDelta(newest.rxBytes, oldest.rxBytes) / dt;
    }
    // Percentages in 64 bits: a difference times 100 does not fit 32.
    const uint32_t attempts = CounterDelta(newest.txAttempts, oldest.txAttempts);
    if (attempts != 0 && r.txRate > kErrorRateFloor) {
        const uint64_t retries = CounterDelta(newest.txRetries, oldest.txRetries);
        r.txError = static_cast<uint16_t>(retries * 100u / attempts);
    }
    const uint32_t received = CounterDelta(newest.rxFrames, oldest.rxFrames);
    if (received != 0 && r.rxRate > kErrorRateFloor) {
        const uint64_t corrupted = CounterDelta(newest.rxCorrupted, oldest.rxCorrupted);
        const uint64_t share = corrupted * 100u / received;
        r.rxError = share > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(share);
    }

    if (m_full)
        m_tail = m_tail == kSlots - 1 ? 0 : m_tail + 1;
    return r;
}
