// RecordedEvents.h - the link history's events recorded since a moment, for
// tests of the windows that record them.
#pragma once

#include "adapter/LinkHistory.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

struct RecordedEvent
{
    int kind;
    std::string first, second;
    int number;
    bool operator==(const RecordedEvent& o) const
    {
        return kind == o.kind && first == o.first && second == o.second && number == o.number;
    }
};

inline void PrintTo(const RecordedEvent& e, std::ostream* os)
{
    *os << "{kind " << e.kind << ", \"" << e.first << "\", \"" << e.second << "\", " << e.number
        << "}";
}

// Marks a moment; Since() gives the events added after it, oldest first.
class EventsSince
{
public:
    EventsSince() : m_serial(GetLinkHistory().EventSerial()) {}
    std::vector<RecordedEvent> Since() const
    {
        const LinkHistory& h = GetLinkHistory();
        const size_t added = std::min<size_t>(h.EventSerial() - m_serial, h.EventCount());
        std::vector<RecordedEvent> out;
        for (size_t i = h.EventCount() - added; i < h.EventCount(); ++i) {
            const HistoryEvent& e = h.EventAt(i);
            out.push_back({e.kind, e.first, e.second, e.number});
        }
        return out;
    }

private:
    uint32_t m_serial;
};
