// LinkHistory.cpp - the samples and events rings, the band's re-arming, the
// cell, the chart's buckets and the local-time arithmetic.
#include "adapter/LinkHistory.h"

#include "adapter/QualityScale.h"

#include <cstdio>
#include <cstring>

static_assert(sizeof(HistorySample) == 8, "a sample takes 8 bytes");
static_assert(sizeof(HistoryEvent) == 160, "an event takes 160 bytes");

namespace {

const int kCumulativeDays[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

bool IsLeap(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInYear(int year)
{
    return IsLeap(year) ? 366 : 365;
}

int DaysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : days[month - 1];
}

// The largest sample ring: a day of ticks a second apart.
const size_t kMostSamples = LinkHistory::DAY_SECONDS;

void CopyText(char* out, size_t size, const std::string& text, bool keepEnd)
{
    if (text.size() < size) {
        memcpy(out, text.c_str(), text.size() + 1);
        return;
    }
    static const char kCut[] = "...";
    const size_t room = size - 1 - (sizeof kCut - 1);
    std::string cut =
        keepEnd ? kCut + text.substr(text.size() - room) : text.substr(0, room) + kCut;
    memcpy(out, cut.c_str(), cut.size() + 1);
}

bool IsZeroBssid(const std::string& bssid)
{
    for (char c : bssid)
        if (c != '0' && c != ':')
            return false;
    return true;
}

HistoryEventKind EventOfBand(HistoryBand band)
{
    switch (band) {
    case HISTORY_BAND_GOOD:
        return HISTORY_BAND_GOOD_EVENT;
    case HISTORY_BAND_FAIR:
        return HISTORY_BAND_FAIR_EVENT;
    case HISTORY_BAND_POOR:
        return HISTORY_BAND_POOR_EVENT;
    default:
        return HISTORY_NO_CONNECTION;
    }
}

// The band after a reading: a band is left only when the quality has moved
// BAND_REARM points past its threshold the other way, so a quality that
// wobbles around a threshold stays in one band.
HistoryBand NextBand(HistoryBand current, int quality)
{
    const HistoryBand reached = HistoryBandOf(quality);
    if (current == HISTORY_BAND_NONE || reached == HISTORY_BAND_NONE)
        return reached;
    if (current == HISTORY_BAND_GOOD && quality >= QUALITY_GOOD - LinkHistory::BAND_REARM)
        return HISTORY_BAND_GOOD;
    if (current == HISTORY_BAND_POOR && quality < QUALITY_POOR + LinkHistory::BAND_REARM)
        return HISTORY_BAND_POOR;
    return reached;
}

} // namespace

HistoryTime HistoryTimeOf(const HistoryDate& d)
{
    if (d.year < 2000 || d.month < 1 || d.month > 12)
        return 0;
    uint32_t days = 0;
    for (int y = 2000; y < d.year; ++y)
        days += DaysInYear(y);
    days += kCumulativeDays[d.month - 1] + (d.month > 2 && IsLeap(d.year) ? 1 : 0);
    days += d.day > 0 ? d.day - 1 : 0;
    return days * 86400u + (uint32_t)(d.hour * 3600 + d.minute * 60 + d.second);
}

HistoryDate HistoryDateOf(HistoryTime time)
{
    HistoryDate d = {2000, 1, 1, 0, 0, 0};
    uint32_t days = time / 86400u;
    uint32_t seconds = time % 86400u;
    d.hour = (int)(seconds / 3600);
    d.minute = (int)(seconds / 60 % 60);
    d.second = (int)(seconds % 60);
    while (days >= (uint32_t)DaysInYear(d.year)) {
        days -= DaysInYear(d.year);
        ++d.year;
    }
    while (days >= (uint32_t)DaysInMonth(d.year, d.month)) {
        days -= DaysInMonth(d.year, d.month);
        ++d.month;
    }
    d.day = (int)days + 1;
    return d;
}

std::string HistoryTimeText(HistoryTime time, char separator)
{
    const HistoryDate d = HistoryDateOf(time);
    char text[32];
    snprintf(text, sizeof text, "%04d-%02d-%02d%c%02d:%02d:%02d", d.year, d.month, d.day, separator,
             d.hour, d.minute, d.second);
    return text;
}

HistoryBand HistoryBandOf(int quality)
{
    switch (BandOf(quality)) {
    case QualityBand::Good:
        return HISTORY_BAND_GOOD;
    case QualityBand::Fair:
        return HISTORY_BAND_FAIR;
    case QualityBand::Poor:
        return HISTORY_BAND_POOR;
    default:
        return HISTORY_BAND_NONE;
    }
}

LinkHistory::LinkHistory()
    : m_sampleCapacity(DAY_SECONDS * 1000 / 2000), m_sampleStart(0), m_sampleCount(0),
      m_eventStart(0), m_eventCount(0), m_eventSerial(0), m_band(HISTORY_BAND_NONE),
      m_haveBand(false)
{}

void LinkHistory::Allocate()
{
    // Taken whole at the first use, so the history never grows later.
    if (m_samples.size() != m_sampleCapacity) {
        std::vector<HistorySample> samples(m_sampleCapacity);
        const size_t kept = m_sampleCount < m_sampleCapacity ? m_sampleCount : m_sampleCapacity;
        for (size_t i = 0; i < kept; ++i)
            samples[i] = SampleAt(m_sampleCount - kept + i);
        m_samples.swap(samples);
        m_samples.shrink_to_fit();
        m_sampleStart = 0;
        m_sampleCount = kept;
    }
    if (m_events.empty())
        m_events.resize(EVENT_CAPACITY);
}

void LinkHistory::SetPeriod(unsigned periodMs)
{
    size_t capacity = periodMs ? DAY_SECONDS * 1000u / periodMs : kMostSamples;
    if (capacity > kMostSamples)
        capacity = kMostSamples;
    if (capacity == 0)
        capacity = 1;
    m_sampleCapacity = capacity;
    if (!m_samples.empty())
        Allocate();
}

void LinkHistory::AddSample(HistoryTime time, int quality)
{
    Allocate();
    HistorySample sample = {};
    sample.time = time;
    sample.quality = (uint8_t)(quality < 0 ? 0 : quality > 255 ? 255 : quality);
    sample.band = HistoryBandOf(quality);
    if (m_sampleCount < m_sampleCapacity) {
        m_samples[(m_sampleStart + m_sampleCount) % m_sampleCapacity] = sample;
        ++m_sampleCount;
    } else {
        m_samples[m_sampleStart] = sample;
        m_sampleStart = (m_sampleStart + 1) % m_sampleCapacity;
    }

    // A scan has no quality: the band stays.
    if (quality == QUALITY_SCANNING)
        return;
    const HistoryBand band = m_haveBand ? NextBand(m_band, quality) : HistoryBandOf(quality);
    if (m_haveBand && band == m_band)
        return;
    m_haveBand = true;
    m_band = band;
    AddEvent(time, EventOfBand(band), "", "", quality);
}

void LinkHistory::AddEvent(HistoryTime time, HistoryEventKind kind, const std::string& first,
                           const std::string& second, int32_t number)
{
    Allocate();
    HistoryEvent* event;
    if (m_eventCount < EVENT_CAPACITY) {
        event = &m_events[(m_eventStart + m_eventCount) % EVENT_CAPACITY];
        ++m_eventCount;
    } else {
        event = &m_events[m_eventStart];
        m_eventStart = (m_eventStart + 1) % EVENT_CAPACITY;
    }
    memset(event, 0, sizeof *event);
    event->time = time;
    event->kind = kind;
    event->number = number;
    CopyText(event->first, sizeof event->first, first, kind == HISTORY_LOG_STARTED);
    CopyText(event->second, sizeof event->second, second, false);
    ++m_eventSerial;
}

void LinkHistory::NoteCell(HistoryTime time, const std::string& bssid)
{
    if (bssid.empty() || IsZeroBssid(bssid)) {
        m_cell.clear();
        return;
    }
    if (bssid == m_cell)
        return;
    m_cell = bssid;
    AddEvent(time, HISTORY_CELL, bssid);
}

void LinkHistory::ClearEvents()
{
    m_eventStart = 0;
    m_eventCount = 0;
}

void LinkHistory::Reset()
{
    m_sampleStart = m_sampleCount = 0;
    m_eventStart = m_eventCount = 0;
    m_eventSerial = 0;
    m_band = HISTORY_BAND_NONE;
    m_haveBand = false;
    m_cell.clear();
}

const HistorySample& LinkHistory::SampleAt(size_t index) const
{
    return m_samples[(m_sampleStart + index) % m_samples.size()];
}

const HistoryEvent& LinkHistory::EventAt(size_t index) const
{
    return m_events[(m_eventStart + index) % EVENT_CAPACITY];
}

size_t LinkHistory::MemoryBytes() const
{
    return sizeof *this + m_samples.capacity() * sizeof(HistorySample) +
           m_events.capacity() * sizeof(HistoryEvent) + m_cell.capacity();
}

std::vector<float> LinkHistory::ChartBuckets(uint32_t span, int count) const
{
    std::vector<float> values(count > 0 ? count : 0, -1.0f);
    if (count <= 0 || span == 0 || m_sampleCount == 0)
        return values;
    const uint32_t width = (span + count - 1) / count;
    const int64_t last = SampleAt(m_sampleCount - 1).time / width;
    const int64_t first = last - (count - 1);
    std::vector<double> sums(count, 0.0);
    std::vector<int> counts(count, 0);
    // Every sample is looked at: a clock set back leaves them out of order.
    for (size_t i = 0; i < m_sampleCount; ++i) {
        const HistorySample& s = SampleAt(i);
        const int64_t bucket = s.time / width;
        if (bucket < first || bucket > last)
            continue;
        if (s.quality > 100 && s.quality != QUALITY_NO_CONNECTION)
            continue;
        const size_t k = (size_t)(bucket - first);
        sums[k] += s.quality == QUALITY_NO_CONNECTION ? 0 : s.quality;
        ++counts[k];
    }
    for (int k = 0; k < count; ++k)
        if (counts[k])
            values[k] = (float)(sums[k] / counts[k]);
    return values;
}

LinkHistory& GetLinkHistory()
{
    static LinkHistory history;
    return history;
}
