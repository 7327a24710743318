// The sliding rate window and the statistics text forms, natively under the
// sanitizers: the window's rules on hand-made samples, then long runs of
// seeded random samples checked against a model that works from the whole
// history of pushes instead of the ring.
#include "tools/RateWindow.h"
#include "tools/StatisticsText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

RateSample Sample(uint32_t tx, uint32_t rx, uint32_t period)
{
    RateSample s;
    s.txBytes = tx;
    s.rxBytes = rx;
    s.period = period;
    return s;
}

TEST(RateWindow, FirstPushGivesNoRate)
{
    RateWindow w;
    RateResult r = w.Push(Sample(50000, 90000, 700));
    EXPECT_EQ(0u, r.txRate);
    EXPECT_EQ(0u, r.rxRate);
    r = w.Push(Sample(51000, 92000, 701));
    EXPECT_EQ(1000u, r.txRate);
    EXPECT_EQ(2000u, r.rxRate);
}

TEST(RateWindow, AveragesOverEverySampleThenOverTheLastTwelveIntervals)
{
    RateWindow w;
    uint32_t tx = 0, period = 0;
    // 100 B/s for the first 12 seconds, 1300 B/s after.
    std::vector<uint32_t> expected;
    for (int push = 1; push <= 28; ++push) {
        if (push > 1) {
            tx += push <= 13 ? 100 : 1300;
            period += 1;
        }
        RateResult r = w.Push(Sample(tx, 0, period));
        uint32_t want;
        if (push == 1)
            want = 0;
        else if (push <= 13)
            want = 100; // every interval so far
        else
            want = (std::min(push - 13, 12) * 1300 + std::max(25 - push, 0) * 100) / 12;
        EXPECT_EQ(want, r.txRate) << "push " << push;
    }
}

TEST(RateWindow, PeriodThatDidNotAdvanceLeavesRatesAtZero)
{
    RateWindow w;
    w.Push(Sample(0, 0, 40));
    RateResult r = w.Push(Sample(500000, 800000, 40));
    EXPECT_EQ(0u, r.txRate);
    EXPECT_EQ(0u, r.rxRate);
    EXPECT_EQ(0u, r.txError);
    // The time base is 16 bits: 65536 seconds look like none at all.
    RateWindow w2;
    w2.Push(Sample(0, 0, 0));
    EXPECT_EQ(0u, w2.Push(Sample(655360, 0, 65536)).txRate);
    RateWindow w3;
    w3.Push(Sample(0, 0, 0));
    EXPECT_EQ(655370u, w3.Push(Sample(655370, 0, 65537)).txRate);
}

TEST(RateWindow, CounterWrapCountsTheWholeDifference)
{
    struct Case
    {
        uint32_t older, newer, delta;
    } cases[] = {
        {0xFFFFFFF0u, 16, 32}, // 16 below 2^32 to 16
        {0xFFFFFFFFu, 0, 1},   {5, 5, 0}, {0, 0xFFFFFFFFu, 0xFFFFFFFFu}, {1000, 3000, 2000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.delta, CounterDelta(c.newer, c.older)) << c.older << " -> " << c.newer;

    RateWindow w;
    w.Push(Sample(0xFFFFFFF0u, 0xFFFFFFF0u, 0xFFFFFFFFu));
    RateResult r = w.Push(Sample(16, 16, 0)); // the period wrapped too
    EXPECT_EQ(32u, r.txRate);
    EXPECT_EQ(32u, r.rxRate);
}

TEST(RateWindow, CountersThatGoBackStartTheWindowAgain)
{
    // After 12 s at 1000 B/s the counters go back (a reset) or wrap.
    const struct
    {
        const char* what;
        RateSample next;
        bool restarts;
    } cases[] = {
        {"period and bytes from 0", Sample(500, 900, 1), true},
        {"period back alone", Sample(113000, 213000, 5), true},
        {"sent bytes back alone", Sample(100, 213000, 113), true},
        {"received bytes back alone", Sample(113000, 100, 113), true},
        {"nothing back", Sample(113000, 213000, 113), false},
    };
    for (const auto& c : cases) {
        RateWindow w;
        for (uint32_t t = 0; t <= 12; ++t)
            w.Push(Sample(100000 + 1000 * t, 200000 + 1000 * t, 100 + t));
        RateResult r = w.Push(c.next);
        EXPECT_EQ(c.restarts, r.restarted) << c.what;
        if (c.restarts) {
            EXPECT_EQ(0u, r.txRate) << c.what << ": the first sample of a new window";
            EXPECT_EQ(2000u, w.Push(Sample(c.next.txBytes + 2000, c.next.rxBytes + 2000,
                                           c.next.period + 1))
                                 .txRate)
                << c.what << ": measured from the sample after the step back";
        } else {
            EXPECT_EQ(1000u, r.txRate) << c.what;
        }
    }
    // A wrap is a small step forwards: no restart.
    RateWindow w;
    w.Push(Sample(0xFFFFF000u, 0xFFFFF000u, 0xFFFFFFFFu));
    RateResult r = w.Push(Sample(0x1000u, 0x1000u, 0));
    EXPECT_FALSE(r.restarted);
    EXPECT_EQ(0x2000u, r.txRate);
}

struct ErrorCase
{
    uint32_t bytes; // over one second
    uint32_t attempts, retries, frames, corrupted;
    uint16_t txError;
    uint32_t rxError;
};

TEST(RateWindow, ErrorSharesOnlyAboveAThousandBytesPerSecond)
{
    const ErrorCase cases[] = {
        {1000, 100, 10, 200, 50, 0, 0}, // exactly 1000: not formed
        {1001, 100, 10, 200, 50, 10, 25},
        {5000, 0, 0, 0, 0, 0, 0},   // no frames: no division
        {5000, 3, 1, 7, 2, 33, 28}, // unsigned division
        // 50 million retries x 100 does not fit 32 bits.
        {204800, 100000000, 50000000, 300000000, 150000000, 50, 50},
        // More retries than attempts (inconsistent counters): cut to 16 bits.
        {5000, 1, 700, 1, 2, 70000 & 0xFFFF, 200},
    };
    for (const ErrorCase& c : cases) {
        RateWindow w;
        RateSample a, b;
        a.txAttempts = 0xFFFFFF00u; // the sums wrap as well
        a.rxFrames = 0xFFFFFF00u;
        b = a;
        b.txBytes = c.bytes;
        b.rxBytes = c.bytes;
        b.period = 1;
        b.txAttempts += c.attempts;
        b.txRetries = c.retries;
        b.rxFrames += c.frames;
        b.rxCorrupted = c.corrupted;
        w.Push(a);
        RateResult r = w.Push(b);
        EXPECT_EQ(c.txError, r.txError) << "bytes " << c.bytes << " attempts " << c.attempts;
        EXPECT_EQ(c.rxError, r.rxError) << "bytes " << c.bytes << " frames " << c.frames;
    }
}

// The model: push k (1-based) is measured against push max(1, k - 12).
RateResult Model(const std::vector<RateSample>& history)
{
    const size_t k = history.size();
    const RateSample& n = history[k - 1];
    const RateSample& o = history[k > 13 ? k - 13 : 0];
    RateResult r;
    const uint64_t dt = ((uint64_t)n.period + (1ull << 32) - o.period) % (1ull << 32) % 65536;
    auto delta = [](uint32_t a, uint32_t b) {
        return (uint64_t)(((uint64_t)a + (1ull << 32) - b) % (1ull << 32));
    };
    if (dt) {
        r.txRate = (uint32_t)(delta(n.txBytes, o.txBytes) / dt);
        r.rxRate = (uint32_t)(delta(n.rxBytes, o.rxBytes) / dt);
    }
    if (delta(n.txAttempts, o.txAttempts) && r.txRate > 1000)
        r.txError =
            (uint16_t)(delta(n.txRetries, o.txRetries) * 100 / delta(n.txAttempts, o.txAttempts));
    if (delta(n.rxFrames, o.rxFrames) && r.rxRate > 1000) {
        uint64_t e = delta(n.rxCorrupted, o.rxCorrupted) * 100 / delta(n.rxFrames, o.rxFrames);
        r.rxError = e > 0xFFFFFFFFu ? 0xFFFFFFFFu : (uint32_t)e;
    }
    return r;
}

TEST(RateWindow, RandomSamplesAgreeWithTheHistoryModel)
{
    std::mt19937 rng(14);
    for (int run = 0; run < 200; ++run) {
        RateWindow w;
        std::vector<RateSample> history;
        // Counters start anywhere, often close to the wrap.
        RateSample s;
        uint32_t* fields[] = {&s.txBytes,  &s.rxBytes,     &s.txAttempts, &s.txRetries,
                              &s.rxFrames, &s.rxCorrupted, &s.period};
        for (uint32_t* f : fields)
            *f = rng() % 2 ? rng() : 0xFFFFFFFFu - rng() % 100000;
        const int pushes = 1 + rng() % 60;
        for (int i = 0; i < pushes; ++i) {
            if (i > 0) {
                // Mostly plausible steps, now and then wild ones.
                bool wild = rng() % 10 == 0;
                for (uint32_t* f : fields)
                    *f += wild ? rng() : rng() % 300000;
                s.period += rng() % 3 == 0 ? 0 : 1;
            }
            // A step back of the counters (a wild step can be one) starts
            // the history again.
            if (!history.empty()) {
                const RateSample& last = history.back();
                auto back = [](uint32_t a, uint32_t b) { return (int32_t)(a - b) < 0; };
                if (back(s.period, last.period) || back(s.txBytes, last.txBytes) ||
                    back(s.rxBytes, last.rxBytes))
                    history.clear();
            }
            history.push_back(s);
            RateResult got = w.Push(s);
            RateResult want = Model(history);
            ASSERT_EQ(want.txRate, got.txRate) << "run " << run << " push " << i;
            ASSERT_EQ(want.rxRate, got.rxRate) << "run " << run << " push " << i;
            ASSERT_EQ(want.txError, got.txError) << "run " << run << " push " << i;
            ASSERT_EQ(want.rxError, got.rxError) << "run " << run << " push " << i;
            ASSERT_GE(w.Head(), 0);
            ASSERT_LT(w.Head(), RateWindow::kSlots);
            ASSERT_GE(w.Tail(), 0);
            ASSERT_LT(w.Tail(), RateWindow::kSlots);
        }
        if (rng() % 4 == 0) {
            w.Reset();
            history.clear();
        }
    }
}

TEST(StatisticsText, CountersAreGroupedByThousands)
{
    struct Case
    {
        uint32_t value;
        const char* text;
    } cases[] = {
        {0, "0"},          {999, "999"},           {1000, "1,000"},
        {12345, "12,345"}, {1000000, "1,000,000"}, {4294967295u, "4,294,967,295"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, GroupedCounter(c.value));
}

TEST(StatisticsText, UptimeAndProcessorUsage)
{
    struct Case
    {
        uint32_t seconds;
        const char* text;
    } uptimes[] = {
        {300, "0:05:00"},
        {3599, "0:59:59"},
        {3600, "1:00:00"},
        {3661, "1:01:01"},
        {4294967295u, "1193046:28:15"},
    };
    for (const Case& c : uptimes)
        EXPECT_EQ(c.text, UptimeText(c.seconds));
    EXPECT_EQ("70", ProcessorUsageText(30));
    EXPECT_EQ("-4294967195", ProcessorUsageText(4294967295u)) << "not wrapped";
}

TEST(StatisticsText, AverageWithoutOverflow)
{
    // Seconds x 1024 would overflow 32 bits.
    EXPECT_EQ("4194304.0", AverageKbytesText(4294967295u, 1));
    EXPECT_EQ("0.0", AverageKbytesText(100, 4194305));
}

} // namespace
