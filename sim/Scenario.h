// Scenario.h - what a card scenario describes: the card's identity and
// settings, the cells it can hear, the stations of an ad-hoc network, the
// traffic that moves the statistics, timings and faults. Plain fixed arrays
// with constant initialisers (see ScenarioParser for the text form).
#pragma once

#include <stdint.h>

#include "sim/SimProtocol.h"

struct SimCell
{
    uint8_t bssid[6] = {};
    char essid[33] = {};
    char apName[17] = {};
    uint8_t channel = 1;
    uint8_t type = 1; // 1 infrastructure, 0 ad hoc
    uint8_t secure = 0;
    uint8_t stations = 255; // stations connected; 255 not reported
    uint16_t signal = 0;    // 0..100; 0: not heard
};

struct SimStation
{
    uint8_t mac[6] = {};
    char name[17] = {};
    uint8_t used = 0;         // the slot holds a station
    uint8_t silent = 0;       // not heard any more: its inactive time grows
    uint16_t inactive = 0;    // seconds since last heard at load
    uint32_t silentSince = 0; // firmware time the station fell silent (set at load)
};

struct SimSetting
{
    char name[20] = {};
    char value[36] = {};
};

struct Scenario
{
    static const int kMaxCells = 48;
    static const int kMaxStations = 32;
    static const int kMaxSettings = 32;
    static const int kCounters = 88; // 352-byte statistics block / 4

    char name[32] = {};

    // card identity
    uint16_t ioBase = 0x240;
    uint16_t mailboxPointer = 0x0300;
    uint16_t firmwareVersion = 301;
    uint8_t mac[6] = {0x00, 0xA0, 0xC5, 0x12, 0x34, 0x56};
    char manufacturer[32] = "WIRELESS LAN";
    char stationName[17] = "CORVANE-PC";
    uint16_t hardwareWord = 0x0A25;  // parameter 0x1001
    uint16_t beaconPeriod = 100;     // parameter 0x0038, milliseconds
    uint8_t rates[8] = {0x02, 0x04}; // 500 kbit/s steps, zero-terminated
    uint8_t debug[32] = {9, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09};
    uint8_t debugAvailable = 1;

    // settings the network driver gives the card at boot
    uint8_t networkType = 1;
    char essid[33] = "Corvane";
    uint8_t carrier = 0x10;
    uint16_t txRetry = 7;
    uint8_t psMode = 0;
    uint8_t roaming = 1;
    uint16_t roamingThreshold = 40;
    uint8_t preferBssid[6] = {};
    SimSetting settings[kMaxSettings] = {};
    uint16_t settingCount = 0;

    // radio world
    SimCell cells[kMaxCells] = {};
    uint16_t cellCount = 0;
    int16_t currentCell = -1;    // -1: choose the strongest matching cell
    uint16_t linkState = 0xFFFF; // 0xFFFF: follow from the current cell
    uint8_t drift = 3;           // signal quality wanders by up to this much
    uint16_t noise = 6;          // status sub-code 12
    SimStation stations[kMaxStations] = {};
    uint16_t stationSlots = 0;

    // traffic, per second
    uint32_t txBytesPerSec = 12000;
    uint32_t rxBytesPerSec = 30000;
    uint16_t frameSize = 600;
    uint8_t retryPct = 4;
    uint8_t crcPct = 2;
    uint8_t multicastPct = 5;
    uint8_t broadcastPct = 3;
    uint8_t cpuUsage = 12;  // percent busy
    uint32_t uptime = 3600; // seconds at load
    uint32_t counters[kCounters] = {};

    // timings in milliseconds
    uint16_t answerDelay = 20;
    uint16_t scanTime = 3000;
    uint16_t joinTime = 2500;
    uint16_t roamTime = 1500;

    // faults at load
    uint32_t faults = 0;
    uint32_t faultArgs[SIM_FAULT_COUNT] = {};
};
