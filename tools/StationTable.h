// StationTable.h - the card's table of ad-hoc stations as the station watcher
// reads it: one 32-byte answer per entry, walked from index 0 and continued
// after the index each answer names. No Windows header (native tests).
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "tools/StationEntry.h"

const size_t STATION_ANSWER_SIZE = 32;
const uint16_t STATION_NO_ENTRY = 0xFFFF;
// Longest silence shown as a time; longer ones are "not available".
const unsigned STATION_INACTIVE_LIMIT = 300;

// One answer of item 48: bytes 0-1 the entry's own index, 4-9 the address,
// 12 the in-use flag, 13-28 the name (terminated or not), 29-30 the seconds
// since the station was last heard (little-endian, odd offset).
struct StationAnswer
{
    uint16_t index;
    uint8_t mac[6];
    bool inUse;
    char name[17];
    uint16_t seconds;
};
StationAnswer DecodeStationAnswer(const uint8_t* answer);

// "%02d:%02d" of the seconds up to the limit, else `notAvailable`.
void InactiveTimeText(unsigned seconds, const char* notAvailable, char* out, size_t size);
// The row a station answer makes.
void FillStationEntry(const StationAnswer& answer, const char* notAvailable, StationEntry& entry);

// Where the read gets its answers, and what it does before each of them
// (the dialog advances its progress window there).
class StationSource
{
public:
    virtual ~StationSource() {}
    // Entry `index` into `answer` (STATION_ANSWER_SIZE bytes); the item
    // result (0 read). `unanswered` is set when the card gave no answer at
    // all, which is not the card reporting the entry beyond its table.
    virtual unsigned char ReadEntry(uint16_t index, uint8_t* answer, bool& unanswered) = 0;
    virtual void BeforeEntry() {}
};

// Reads a table of `tableSize` entries (cut to `capacity`) into `entries`
// and returns how many were filled. The read stops at a failed read, at an
// answer without an entry (index 0xFFFF) and at an answer whose index does
// not move forward; free slots are skipped. It always ends: the index grows
// with every read and never passes the table size. A read the card left
// unanswered gives -1: a table it stopped answering is never a shorter list.
int ReadStationTable(int tableSize, StationSource& source, const char* notAvailable,
                     StationEntry* entries, int capacity);
