// AdHocQualityRecord.h - the 28-byte record of QueryCardItem item 49 that
// the tool window turns into the link quality of an ad-hoc network. Only the
// fields named here are interpreted. No Windows header.
#pragma once

#include <stddef.h>
#include <stdint.h>

#pragma pack(push, 1)
struct AdHocQualityRecord
{
    uint64_t timeCounter;    // bytes 0 to 7
    uint16_t unused1;        // bytes 8 and 9
    uint16_t otherStations;  // bytes 10 and 11: the other stations of the network
    uint32_t runningCounter; // bytes 12 to 15: compared with an expected count
    uint8_t unused2[12];     // bytes 16 to 27
};
#pragma pack(pop)

static_assert(sizeof(AdHocQualityRecord) == 28, "the ad-hoc quality record is 28 bytes");
static_assert(offsetof(AdHocQualityRecord, otherStations) == 10, "stations at 10");
static_assert(offsetof(AdHocQualityRecord, runningCounter) == 12, "counter at 12");
