// StatisticsBlock.h - the card's 352-byte block of statistics counters, as
// QueryCardItem item 20 hands it over: little-endian unsigned 32-bit
// counters at fixed offsets. No Windows header.
#pragma once

#include <stddef.h>
#include <stdint.h>

#pragma pack(push, 1)
struct StatisticsBlock
{
    uint32_t rxOkFrames;      // frames received correctly
    uint32_t rxDuplicated;    // duplicated frames received
    uint32_t rxCrcErrors;     // frames received with CRC errors
    uint32_t rxTruncated;     // truncated frames received
    uint32_t rxOverLength;    // over-length frames received
    uint32_t rxDiscardedFull; // discarded because the receive buffer was full
    uint32_t rxCorrupted;     // corrupted frames received in total
    uint32_t rxMulticast;     // multicast frames received
    uint32_t rxBroadcast;     // broadcast frames received
    uint32_t rxOkBytes;       // bytes of frames received correctly
    uint32_t txOkFrames;      // frames transmitted correctly
    uint32_t txFailed;        // frames whose transmission failed
    uint32_t txRetries;       // transmit retry attempts
    uint32_t txMulticast;     // multicast frames transmitted
    uint32_t txBroadcast;     // broadcast frames transmitted
    uint32_t txOkBytes;       // bytes of frames transmitted correctly
    uint32_t measuredPeriod;  // length of the measured period, seconds
    uint8_t unused1[252 - 68];
    uint32_t uptime;      // adapter uptime, seconds
    uint32_t idlePercent; // processor usage is 100 minus this
    uint8_t unused2[352 - 260];
};
#pragma pack(pop)

static_assert(sizeof(StatisticsBlock) == 352, "the statistics block is 352 bytes");
static_assert(offsetof(StatisticsBlock, txOkBytes) == 60, "transmitted bytes at 60");
static_assert(offsetof(StatisticsBlock, measuredPeriod) == 64, "measured period at 64");
static_assert(offsetof(StatisticsBlock, uptime) == 252, "uptime at 252");
static_assert(offsetof(StatisticsBlock, idlePercent) == 256, "processor figure at 256");
