// LinkHistoryTest.cpp - the link history on its own: band events with their
// re-arming, the rings and their memory, cut texts, the cell, the chart's
// buckets and the local-time arithmetic. No Windows: it runs natively with
// the sanitizers too.
#include "adapter/LinkHistory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Seen
{
    HistoryEventKind kind;
    int number;
    bool operator==(const Seen& o) const { return kind == o.kind && number == o.number; }
};

std::ostream& operator<<(std::ostream& out, const Seen& s)
{
    return out << "{kind " << (int)s.kind << ", " << s.number << "}";
}

std::vector<Seen> Events(const LinkHistory& h)
{
    std::vector<Seen> seen;
    for (size_t i = 0; i < h.EventCount(); ++i)
        seen.push_back({(HistoryEventKind)h.EventAt(i).kind, h.EventAt(i).number});
    return seen;
}

const HistoryEventKind G = HISTORY_BAND_GOOD_EVENT, F = HISTORY_BAND_FAIR_EVENT,
                       P = HISTORY_BAND_POOR_EVENT, N = HISTORY_NO_CONNECTION;

TEST(LinkHistory, BandEventsFollowTheThresholdsWithReArming)
{
    struct Case
    {
        const char* name;
        std::vector<int> qualities;
        std::vector<Seen> events;
    } cases[] = {
        {"the first reading sets the band", {72}, {{G, 72}}},
        {"no connection first", {102, 102}, {{N, 102}}},
        {"a scan first sets nothing", {103, 45}, {{F, 45}}},
        {"down through both thresholds",
         {80, 60, 59, 55, 54, 30, 29, 0},
         {{G, 80}, {F, 54}, {P, 29}}},
        {"up through both thresholds", {10, 30, 34, 35, 59, 60}, {{P, 10}, {F, 35}, {G, 60}}},
        {"a wobble around 30 is one event", {40, 29, 31, 29, 33, 28, 34, 29}, {{F, 40}, {P, 29}}},
        {"a wobble around 60 is one event", {50, 61, 59, 62, 56, 60, 55}, {{F, 50}, {G, 61}}},
        {"good straight to poor and back", {90, 10, 70}, {{G, 90}, {P, 10}, {G, 70}}},
        {"no connection and back", {70, 102, 102, 70}, {{G, 70}, {N, 102}, {G, 70}}},
        {"a scan changes no band", {29, 103, 103, 31, 103, 36}, {{P, 29}, {F, 36}}},
        {"poor after no connection has no re-arming", {102, 31}, {{N, 102}, {F, 31}}},
    };
    for (const Case& c : cases) {
        LinkHistory h;
        for (int q : c.qualities)
            h.AddSample(1000, q);
        EXPECT_EQ(c.events, Events(h)) << c.name;
        EXPECT_EQ(c.qualities.size(), h.SampleCount()) << c.name;
    }
}

TEST(LinkHistory, RingsKeepTheNewestWithinTheirBoundsAndMemory)
{
    struct Case
    {
        unsigned period;
        size_t capacity;
    } cases[] = {{2000, 43200}, {4000, 21600}, {500, 86400}};
    for (const Case& c : cases) {
        LinkHistory h;
        h.SetPeriod(c.period);
        EXPECT_EQ(c.capacity, h.SampleCapacity()) << c.period;
        for (size_t i = 0; i < c.capacity + 7; ++i)
            h.AddSample((HistoryTime)i, (int)(i % 101));
        ASSERT_EQ(c.capacity, h.SampleCount()) << c.period;
        EXPECT_EQ(7u, h.SampleAt(0).time) << "the oldest went";
        EXPECT_EQ(c.capacity + 6, h.SampleAt(c.capacity - 1).time);
        for (int i = 0; i < 1500; ++i)
            h.AddEvent(i, HISTORY_SCAN_FINISHED, std::string(400, 'x'), std::string(40, 'y'), i);
        EXPECT_EQ(LinkHistory::EVENT_CAPACITY, h.EventCount());
        EXPECT_EQ(1499, h.EventAt(LinkHistory::EVENT_CAPACITY - 1).number);
        EXPECT_LT(h.MemoryBytes(), 1024u * 1024u) << "at most 1 MB, period " << c.period;
    }
    LinkHistory day;
    for (int i = 0; i < 43200; ++i)
        day.AddSample(i * 2, 50);
    EXPECT_LT(day.MemoryBytes(), 520u * 1024u) << "a day at 2 s with a full event ring";

    // The serial counts every event ever added, also those cleared.
    LinkHistory h;
    h.AddSample(1, 70);
    h.AddEvent(2, HISTORY_SCAN_STARTED);
    h.ClearEvents();
    EXPECT_EQ(0u, h.EventCount());
    EXPECT_EQ(1u, h.SampleCount()) << "clearing keeps the samples";
    h.AddEvent(3, HISTORY_SCAN_STARTED);
    EXPECT_EQ(3u, h.EventSerial());
    // A longer period keeps the newest samples that fit.
    h.SetPeriod(86400 * 1000);
    EXPECT_EQ(1u, h.SampleCapacity());
}

TEST(LinkHistory, TextsAreCutToTheirRoomAndTheCellIsNotedOnChange)
{
    LinkHistory h;
    const std::string path = "C:\\" + std::string(200, 'd') + "\\survey.csv";
    h.AddEvent(1, HISTORY_LOG_STARTED, path);
    h.AddEvent(2, HISTORY_LOG_FAILED, std::string(200, 'r') + "end");
    h.AddEvent(3, HISTORY_JOIN, "Lab, \"east\"", "00:A0:C5:00:00:01");
    const std::string file = h.EventAt(0).first;
    EXPECT_EQ(HistoryEvent::FIRST_SIZE - 1, file.size());
    EXPECT_EQ(0u, file.find("...")) << file;
    EXPECT_EQ(file.size() - 10, file.find("survey.csv")) << "a file keeps its name";
    const std::string reason = h.EventAt(1).first;
    EXPECT_EQ(HistoryEvent::FIRST_SIZE - 1, reason.size());
    EXPECT_EQ(reason.size() - 3, reason.find("...")) << "other texts keep their start";
    EXPECT_STREQ("Lab, \"east\"", h.EventAt(2).first);
    EXPECT_STREQ("00:A0:C5:00:00:01", h.EventAt(2).second);

    LinkHistory cells;
    const char* reads[] = {"00:A0:C5:00:00:01", "00:A0:C5:00:00:01", "00:A0:C5:00:00:02",
                           "00:00:00:00:00:00", "00:A0:C5:00:00:02", ""};
    for (const char* bssid : reads)
        cells.NoteCell(5, bssid);
    ASSERT_EQ(3u, cells.EventCount()) << "first, another, and again after no cell";
    EXPECT_STREQ("00:A0:C5:00:00:01", cells.EventAt(0).first);
    EXPECT_STREQ("00:A0:C5:00:00:02", cells.EventAt(1).first);
    EXPECT_STREQ("00:A0:C5:00:00:02", cells.EventAt(2).first);
    EXPECT_EQ(HISTORY_CELL, cells.EventAt(2).kind);
    EXPECT_EQ("", cells.Cell()) << "an empty read is no cell";
}

TEST(LinkHistory, ChartBucketsAreMeansAlignedToTheirWidth)
{
    struct Sample
    {
        HistoryTime time;
        int quality;
    };
    struct Case
    {
        const char* name;
        std::vector<Sample> samples;
        uint32_t span;
        int count;
        std::vector<float> buckets;
    } cases[] = {
        {"no samples", {}, 600, 3, {-1, -1, -1}},
        {"a short history fills the right", {{1000, 40}, {1002, 60}}, 600, 4, {-1, -1, -1, 50}},
        {"buckets of 150 s aligned to multiples",
         {{1049, 10}, {1050, 20}, {1199, 30}, {1200, 90}},
         600,
         4,
         {-1, 10, 25, 90}},
        {"no connection counts 0, a scan is left out",
         {{900, 102}, {901, 80}, {902, 103}, {1000, 103}},
         300,
         3,
         {-1, 40, -1}},
        {"older than the span is left out", {{0, 100}, {9000, 20}}, 600, 2, {-1, 20}},
        {"a width rounds up", {{8, 30}, {9, 60}}, 10, 3, {-1, -1, 45}},
    };
    for (const Case& c : cases) {
        LinkHistory h;
        for (const Sample& s : c.samples)
            h.AddSample(s.time, s.quality);
        EXPECT_EQ(c.buckets, h.ChartBuckets(c.span, c.count)) << c.name;
    }
    LinkHistory h;
    EXPECT_TRUE(h.ChartBuckets(600, 0).empty());
}

TEST(LinkHistory, LocalTimesCountSecondsSince2000)
{
    struct Case
    {
        HistoryDate date;
        HistoryTime time;
        const char* text;
    } cases[] = {
        {{2000, 1, 1, 0, 0, 0}, 0, "2000-01-01T00:00:00"},
        {{2000, 3, 1, 0, 0, 1}, 60 * 86400 + 1, "2000-03-01T00:00:01"},
        {{2001, 1, 1, 23, 59, 59}, 366 * 86400 + 86399, "2001-01-01T23:59:59"},
        {{2024, 2, 29, 12, 30, 5}, 762525005, "2024-02-29T12:30:05"},
        {{2100, 3, 1, 0, 0, 0}, 3160857600u, "2100-03-01T00:00:00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.time, HistoryTimeOf(c.date)) << c.text;
        EXPECT_EQ(c.text, HistoryTimeText(c.time, 'T'));
    }
    EXPECT_EQ(0u, HistoryTimeOf({1999, 12, 31, 23, 59, 59})) << "a clock before 2000";
    EXPECT_EQ("2024-02-29 12:30:05", HistoryTimeText(762525005));
}

} // namespace
