// LinkHistory.h - what the link did while the program ran: one sample of
// every link monitor tick for the last day, the last thousand events the
// program learnt (the quality changing band, alerts, the card falling
// silent, scans, joins, saved settings, the cell changing, the survey log),
// the band with its re-arming and the last cell. Process-wide and kept for
// the program's life, never stored. The callers hand in the times. No
// Windows header, so it also builds natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Local time as seconds since 2000-01-01 00:00:00.
using HistoryTime = uint32_t;

struct HistoryDate
{
    int year, month, day, hour, minute, second;
};
// Dates before 2000 give 0; the fields are taken as the clock gives them.
HistoryTime HistoryTimeOf(const HistoryDate& date);
HistoryDate HistoryDateOf(HistoryTime time);
// "2024-05-01 14:03:09"; with 'T' as the separator the ISO 8601 form.
std::string HistoryTimeText(HistoryTime time, char separator = ' ');

// The bands of the tip and the icon: good from 60, fair from 30, poor below.
enum HistoryBand : uint8_t
{
    HISTORY_BAND_NONE = 0, // no connection (or a scan, which has no quality)
    HISTORY_BAND_GOOD = 1,
    HISTORY_BAND_FAIR = 2,
    HISTORY_BAND_POOR = 3,
};
// The band a reading falls in, without re-arming.
HistoryBand HistoryBandOf(int quality);

enum HistoryEventKind : uint8_t
{
    HISTORY_BAND_GOOD_EVENT, // number: the quality
    HISTORY_BAND_FAIR_EVENT,
    HISTORY_BAND_POOR_EVENT,
    HISTORY_NO_CONNECTION,
    HISTORY_ALERT,          // number: the quality
    HISTORY_CARD_SILENT,    // the card stopped answering
    HISTORY_DRIVER_BOX,     // the port driver could not be opened
    HISTORY_ADAPTER_FAILED, // the monitor stopped for good
    HISTORY_SCAN_STARTED,
    HISTORY_SCAN_FINISHED, // number: the cells the card found
    HISTORY_JOIN,          // first: the ESSID, second: the BSSID
    HISTORY_SETTINGS,      // number: the saved settings, one bit each
    HISTORY_CELL,          // first: the BSSID
    HISTORY_LOG_STARTED,   // first: the file
    HISTORY_LOG_MARK,      // first: the mark
    HISTORY_LOG_STOPPED,
    HISTORY_LOG_FAILED, // first: the system's reason
    HISTORY_EVENT_KINDS
};

// One tick's reading: 8 bytes.
struct HistorySample
{
    HistoryTime time;
    uint8_t quality; // 0 to 100, 102 no connection, 103 scanning
    uint8_t band;    // HistoryBand of the quality
    uint8_t reserved[2];
};

// One event: 160 bytes, whatever its texts.
struct HistoryEvent
{
    static constexpr size_t FIRST_SIZE = 133; // a file, an ESSID, a reason
    static constexpr size_t SECOND_SIZE = 18; // a BSSID "00:A0:C5:00:00:01"
    HistoryTime time;
    int32_t number;
    uint8_t kind; // HistoryEventKind
    char first[FIRST_SIZE];
    char second[SECOND_SIZE];
};

class LinkHistory
{
public:
    static constexpr size_t EVENT_CAPACITY = 1000;
    static constexpr uint32_t DAY_SECONDS = 86400;
    // A band is left only this far past its threshold the other way.
    static constexpr int BAND_REARM = 5;

    LinkHistory();
    LinkHistory(const LinkHistory&) = delete;
    LinkHistory& operator=(const LinkHistory&) = delete;

    // A day of ticks at the link monitor's period (43,200 at 2000 ms); the
    // newest samples kept so far stay.
    void SetPeriod(unsigned periodMs);
    size_t SampleCapacity() const { return m_sampleCapacity; }

    // One tick that read a quality: its sample, and an event when the band
    // changes. The first reading sets the band and records its event.
    void AddSample(HistoryTime time, int quality);
    // Texts longer than their room are cut: a file keeps its end.
    void AddEvent(HistoryTime time, HistoryEventKind kind, const std::string& first = "",
                  const std::string& second = "", int32_t number = 0);
    // A successful read of the current BSSID: another one than the last is a
    // new cell. An all-zero BSSID is no cell.
    void NoteCell(HistoryTime time, const std::string& bssid);
    // Empties the events (the samples stay).
    void ClearEvents();
    // As at the program's start.
    void Reset();

    size_t SampleCount() const { return m_sampleCount; }
    // 0 is the oldest.
    const HistorySample& SampleAt(size_t index) const;
    size_t EventCount() const { return m_eventCount; }
    const HistoryEvent& EventAt(size_t index) const;
    // How many events were ever added: a window adds only what is new.
    uint32_t EventSerial() const { return m_eventSerial; }
    HistoryBand Band() const { return m_band; }
    const std::string& Cell() const { return m_cell; }
    // What the history holds in memory, all of it allocated up front.
    size_t MemoryBytes() const;

    // The chart of the last `span` seconds up to the newest sample, cut into
    // `count` buckets of whole seconds aligned to multiples of their width
    // (so the buckets stand still while samples arrive): the mean quality of
    // each bucket's samples (102 counts as 0, 103 and other values above 100
    // are left out), or -1 for a bucket without any.
    std::vector<float> ChartBuckets(uint32_t span, int count) const;

private:
    void Allocate();
    void RecordBand(HistoryTime time, HistoryBand band, int quality);

    std::vector<HistorySample> m_samples; // ring
    size_t m_sampleCapacity;
    size_t m_sampleStart, m_sampleCount;
    std::vector<HistoryEvent> m_events; // ring
    size_t m_eventStart, m_eventCount;
    uint32_t m_eventSerial;
    HistoryBand m_band;
    bool m_haveBand;
    std::string m_cell;
};

// The program's history.
LinkHistory& GetLinkHistory();
