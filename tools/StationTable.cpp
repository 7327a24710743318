// StationTable.cpp - decoding and walking the card's station table.
#include "tools/StationTable.h"

#include <stdio.h>
#include <string.h>

namespace {

const size_t kNameOffset = 13;
const size_t kNameBytes = 16; // bytes 13 to 28; the seconds follow at 29
const size_t kSecondsOffset = 29;

uint16_t Word(const uint8_t* p)
{
    return (uint16_t)(p[0] | (p[1] << 8));
}

} // namespace

StationAnswer DecodeStationAnswer(const uint8_t* answer)
{
    StationAnswer a = {};
    a.index = Word(answer);
    memcpy(a.mac, answer + 4, sizeof a.mac);
    a.inUse = answer[12] != 0;
    size_t n = 0;
    while (n < kNameBytes && answer[kNameOffset + n])
        ++n;
    memcpy(a.name, answer + kNameOffset, n);
    a.name[n] = '\0';
    a.seconds = Word(answer + kSecondsOffset);
    return a;
}

void InactiveTimeText(unsigned seconds, const char* notAvailable, char* out, size_t size)
{
    if (!out || size == 0)
        return;
    if (seconds <= STATION_INACTIVE_LIMIT)
        snprintf(out, size, "%02u:%02u", seconds / 60, seconds % 60);
    else
        snprintf(out, size, "%s", notAvailable ? notAvailable : "");
}

void FillStationEntry(const StationAnswer& answer, const char* notAvailable, StationEntry& entry)
{
    snprintf(entry.computerName, sizeof entry.computerName, "%s", answer.name);
    snprintf(entry.nodeAddress, sizeof entry.nodeAddress, "%02X-%02X-%02X-%02X-%02X-%02X",
             answer.mac[0], answer.mac[1], answer.mac[2], answer.mac[3], answer.mac[4],
             answer.mac[5]);
    InactiveTimeText(answer.seconds, notAvailable, entry.inactiveTime, sizeof entry.inactiveTime);
}

int ReadStationTable(int tableSize, StationSource& source, const char* notAvailable,
                     StationEntry* entries, int capacity)
{
    int n = tableSize < capacity ? tableSize : capacity;
    int filled = 0;
    int i = 0;
    while (i < n && filled < capacity) {
        source.BeforeEntry();
        uint8_t answer[STATION_ANSWER_SIZE] = {};
        answer[0] = (uint8_t)i;
        answer[1] = (uint8_t)(i >> 8);
        bool unanswered = false;
        if (source.ReadEntry((uint16_t)i, answer, unanswered) != 0) {
            if (unanswered)
                return -1;
            break;
        }
        StationAnswer a = DecodeStationAnswer(answer);
        if (a.index == STATION_NO_ENTRY)
            break;
        if (!a.inUse) {
            ++i;
            continue;
        }
        if (a.index < i)
            break;
        FillStationEntry(a, notAvailable, entries[filled++]);
        i = a.index + 1;
    }
    return filled;
}
