// CardItem.h - the numbers that name what the card knows or what can be set
// on it, and the one-byte results of every item operation. Shared by the
// card queries, the settings and every window that shows card data. No
// Windows header, so the decoding code builds natively too.
#pragma once

// Item results.
enum : unsigned char
{
    ITEM_OK = 0,
    ITEM_UNKNOWN = 1,
    ITEM_NO_ADAPTER = 2,
    ITEM_NO_RESPONSE = 255,
};

// Item numbers. Some numbers mean a registry setting for the settings
// operations and a card query for QueryCardItem (10 and 16, for example).
enum CardItem : int
{
    CI_CARD_TYPE = 1,           // settings: "PCMCIA" / "ISA"
    CI_IO_RANGE = 2,            // settings: "0240 - 0247"
    CI_IRQ = 3,                 // settings: "%d" or "Not available"
    CI_NETWORK_TYPE = 4,        // NetworkType / parameter 0x1013
    CI_BEACON_WORD = 5,         // parameter 0x0038
    CI_CARRIER_SET = 6,         // CarrierSet / parameter 0x0201
    CI_PS_MODE = 7,             // PSmode
    CI_ROAMING = 8,             // Roaming
    CI_ESSID = 9,               // ESSID / parameter 0x0041
    CI_SENSITIVITY = 10,        // sensitivity / parameter 0x1001 ("%x")
    CI_ROAMING_THRESHOLD = 11,  // RoamingThreshold / parameter 0x1026
    CI_MANUFACTURER = 12,       // parameter 0x0027
    CI_FIRMWARE_VERSION = 13,   // parameter 0x100D
    CI_DATA_RATE = 16,          // DataRate / parameter 0x0232 (rates text)
    CI_CURRENT_BSSID = 17,      // parameter 0x0042
    CI_MAC_ADDRESS = 18,        // parameter 0x0040
    CI_LINK_STATE = 19,         // parameter 0x1021
    CI_STATISTICS = 20,         // statistics block; SetCardItem: clear them
    CI_BEACON = 21,             // sub-code 1
    CI_TX_RETRY = 22,           // TxRetry / parameter 0x0019
    CI_SIGNAL_QUALITY = 23,     // sub-code 2
    CI_RX_BUFFER = 24,          // sub-code 3
    CI_BSS_COUNT = 25,          // sub-code 4
    CI_BSS_BSSID = 26,          // sub-code 5, indexed
    CI_BSS_NETWORK_TYPE = 27,   // sub-code 9, indexed
    CI_BSS_SIGNAL = 28,         // sub-code 6, indexed
    CI_BSS_STATE = 29,          // sub-code 8, indexed
    CI_BSS_ESSID = 30,          // sub-code 7, indexed
    CI_BSS_SECURITY = 31,       // sub-code 0x13, indexed
    CI_BSS_WORD_14 = 32,        // sub-code 0x14, indexed
    CI_START_BSS_SCAN = 33,     // SetCardItem action
    CI_BSS_SCAN_DONE = 34,      // sub-code 10
    CI_START_STATION_SCAN = 36, // SetCardItem action
    CI_NOISE = 37,              // sub-code 12
    CI_PREFER_BSSID = 38,       // PreferBSSID
    CI_BSS_AP_NAME = 39,        // sub-code 13, indexed
    CI_STATION_NAME = 40,       // StationName / parameter 0x1040
    CI_BSS_STATIONS = 41,       // sub-code 15, indexed
    CI_STATION_COUNT = 42,      // sub-code 16
    CI_STA_NAME = 43,           // sub-code 17, indexed
    CI_STA_MAC = 44,            // sub-code 17, indexed
    CI_STA_INDEX = 45,          // sub-code 17, indexed
    CI_STA_FLAG = 46,           // sub-code 17, indexed
    CI_STA_IN_USE = 47,         // sub-code 17, indexed
    CI_STA_ENTRY = 48,          // sub-code 17, indexed
    CI_ADHOC_QUALITY = 49,      // sub-code 0x12, indexed
    CI_DEBUG_DUMP = 50,         // parameter 0x1045
    CI_SECURITY = 51,           // Security
    CI_SECURITY_ID = 52,        // SecurityID
};

// The most BSS table entries the program reads, however many the card
// claims (the Network Watcher's list holds as many).
const int BSS_TABLE_MAX = 30;
