// MailboxBlock.h - the layout of the firmware mailbox block and its command,
// parameter and status sub-codes. Little-endian words, identical in card
// memory and in the program. No Windows header, so the answer decoding
// builds natively too.
#pragma once

#include <stddef.h>
#include <stdint.h>

#pragma pack(push, 1)
// The 34 bytes from the code word to the end of the block.
struct MailboxData
{
    uint16_t code;     // parameter code or status sub-code
    uint8_t value[32]; // value or table index in, answer out
};

struct MailboxBlock
{
    uint16_t command;
    uint16_t status; // 0xFFFF while pending
    MailboxData data;
};
#pragma pack(pop)

static_assert(sizeof(MailboxData) == 34, "data area is 34 bytes");
static_assert(sizeof(MailboxBlock) == 38, "mailbox block is 38 bytes");
static_assert(offsetof(MailboxBlock, data) == 4, "data area starts at byte 4");

const size_t MAILBOX_VALUE_SIZE = 32;

// Where the card keeps the mailbox's word address, and the addresses a
// mailbox may have: a pointer outside them is a broken card.
const uint16_t MAILBOX_POINTER_ADDRESS = 0x1FF;
const uint16_t MAILBOX_LOWEST = 0x1FF;
const uint16_t MAILBOX_HIGHEST = 0x7FFF;
const size_t STATISTICS_BLOCK_SIZE = 352;

// Command codes.
enum : uint16_t
{
    CMD_GET_PARAM = 0x10,
    CMD_SET_PARAM = 0x11,
    CMD_GET_STATISTICS = 0x50,
    CMD_RESET_STATISTICS = 0x51,
    CMD_GET_STATUS = 0x60,
    CMD_START_BSS_SCAN = 0x61,
    CMD_START_JOIN = 0x62,
    CMD_SET_JOIN_PARAM = 0x63,
    CMD_START_STATION_SCAN = 0x64,
};

// Parameter codes of CMD_GET_PARAM, CMD_SET_PARAM and CMD_SET_JOIN_PARAM.
enum : uint16_t
{
    PARAM_TX_RETRY = 0x0019,
    PARAM_TX_RETRY_COPY = 0x0020,
    PARAM_MANUFACTURER = 0x0027,
    PARAM_BEACON_WORD = 0x0038,
    PARAM_MAC_ADDRESS = 0x0040,
    PARAM_ESSID = 0x0041,
    PARAM_BSSID = 0x0042,
    PARAM_PS_MODE = 0x0052,
    PARAM_CARRIER_SET = 0x0201,
    PARAM_RATES = 0x0232,
    PARAM_HARDWARE_WORD = 0x1001,
    PARAM_FIRMWARE_VERSION = 0x100D,
    PARAM_NETWORK_TYPE = 0x1013,
    PARAM_LINK_STATE = 0x1021,
    PARAM_ROAMING = 0x1024,
    PARAM_ROAMING_THRESHOLD = 0x1026,
    PARAM_PREFER_BSSID = 0x1029,
    PARAM_STATION_NAME = 0x1040,
    PARAM_DEBUG = 0x1045,
    PARAM_JOIN_OVERRIDE = 0x10F7,
};

// Status sub-codes of CMD_GET_STATUS.
enum : uint16_t
{
    SUB_BEACON = 1,
    SUB_QUALITY = 2,
    SUB_RX_BUFFER = 3,
    SUB_BSS_COUNT = 4,
    SUB_BSS_BSSID = 5,
    SUB_BSS_SIGNAL = 6,
    SUB_BSS_ESSID = 7,
    SUB_BSS_STATE = 8,
    SUB_BSS_NETWORK_TYPE = 9,
    SUB_SCAN_STATE = 10,
    SUB_JOIN_STATE = 11,
    SUB_NOISE = 12,
    SUB_BSS_AP_NAME = 13,
    SUB_BSS_STATIONS = 15,
    SUB_STATION_COUNT = 16,
    SUB_STATION_ENTRY = 17,
    SUB_ADHOC_QUALITY = 18,
    SUB_BSS_SECURITY = 19,
    SUB_BSS_WORD_14 = 20,
};
