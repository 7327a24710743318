// Firmware.h - the simulated card's firmware: answers the mailbox commands
// (parameters, status sub-codes, statistics, scans, joins), keeps the link
// state, the BSS and station tables and the statistics counters, all moved
// by a millisecond clock. Freestanding, constant initialiser only. The state
// holds no pointer of any kind, so a card in memory shared between processes
// works from each of them: the card core is handed in where it is needed,
// and the clock and the answer filter belong to the process that serves the
// card (SetMachineClock, SetAnswerFilter), never to the card.
#pragma once

#include <stdint.h>

#include "sim/LayoutHash.h"
#include "sim/Scenario.h"
#include "sim/SimProtocol.h"

class CardCore;

class Firmware
{
public:
    typedef uint32_t (*Clock)(void* context);

    // Mailbox layout and commands.
    static const uint16_t kPointerAddress = 0x1FF;
    static const uint16_t kStatisticsAddress = 0x9000;
    static const uint16_t kPending = 0xFFFF;
    enum Command : uint16_t
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
    // Status words of the answers.
    static const uint16_t STATUS_OK = 0;
    static const uint16_t STATUS_BAD_COMMAND = 0x4020;
    static const uint16_t STATUS_NOT_AVAILABLE = 0x4029;
    static const uint16_t STATUS_BUSY = 0x4030;
    static const uint16_t STATUS_REFUSED = 0x4031;

    // Link states.
    enum : uint16_t
    {
        LINK_IDLE = 0,
        LINK_SCANNING = 1,
        LINK_REJOINING = 2,
        LINK_STARTED = 4,
        LINK_JOINED = 5,
        LINK_FAILED = 6,
        LINK_JOINING = 7,
        LINK_ROAMING = 10,
        LINK_ASSOCIATED = 11,
        LINK_NONE = 0xFFFF, // BSS table entries of cells the card is not in
    };

    constexpr Firmware() {}

    // This process's machine clock: every process that serves a shared card
    // sets one that reads the same time as the others'. Without one the
    // card's time stands at 0.
    static void SetMachineClock(Clock clock, void* context);

    // Power-on with a scenario: card memory cleared, mailbox pointer
    // published at word 0x1FF, settings and link state set up.
    void Load(const Scenario& scenario, CardCore& core);

    // Called by the card core around host data accesses.
    void OnHostRead(CardCore& core, uint16_t address);
    void OnHostWrite(uint16_t address, uint16_t value);

    // A hand in the answers of every card this process serves (tests): the
    // filter sees each command as the firmware takes it up, once before it
    // answers (answer null; false keeps the card silent for this poll) and
    // once with the answer made (which it may change). `tries` counts the
    // polls that reached the firmware for this command, from 1.
    typedef bool (*AnswerFilter)(void* context, uint16_t command, uint16_t code, uint16_t index,
                                 uint32_t tries, uint8_t* answer, uint16_t* status);
    static void SetAnswerFilter(AnswerFilter filter, void* context);

    // Whether every index, count, divisor and text of the state is within
    // its bounds: the state of a shared card is checked before each use.
    bool Consistent() const;

    // Control from the simulation's private requests.
    void SetFault(uint32_t fault, bool on, uint32_t arg);
    bool SetSignal(int cellIndex, const uint8_t* bssid, uint16_t signal);
    // A driver parameter by its registry value name ("TxRetry", "ESSID",
    // ...): 1 applied, 0 name not known (ignored), -1 bad value.
    int ApplySetting(const char* name, const char* value);
    // As CMD_SET_PARAM would; returns the status word.
    uint16_t SetParam(uint16_t code, const uint8_t* value, uint32_t length);
    void SetTraffic(uint32_t txBytesPerSec, uint32_t rxBytesPerSec);
    // A station of the ad-hoc network is heard again, falls silent or
    // leaves its slot; with a name, a new station takes the first free
    // slot (or a new one). False when there is no such station or no room.
    enum StationChange
    {
        STATION_HEARD,
        STATION_SILENT,
        STATION_GONE,
        STATION_NEW
    };
    bool ChangeStation(const uint8_t* mac, StationChange change, const char* name = nullptr);
    void FillState(SimState& state);

    // Reading the firmware's view, for the state report and tests.
    uint16_t LinkState();
    uint16_t Quality();
    int CurrentCell();
    bool Scanning() const { return m_scanning != 0; }
    bool Joining() const { return m_joining != 0; }
    bool Pending() const { return m_pending != 0; }
    bool Fault(uint32_t fault) const { return fault < 32 && (m_faults & (1u << fault)) != 0; }
    uint32_t FaultArg(uint32_t fault) const
    {
        return fault < SIM_FAULT_COUNT ? m_faultArgs[fault] : 0;
    }
    uint16_t MailboxAddress() const { return m_mailbox; }
    uint32_t CommandsAnswered() const { return m_answered; }
    uint32_t Counter(int byteOffset) const { return m_counters[byteOffset / 4]; }
    const Scenario& World() const { return m_world; }
    uint16_t TableSize() const { return m_tableSize; }
    const SimCell& TableEntry(int i) const { return m_table[i]; }

    // Brings time-driven state (scans, joins, roaming, counters) up to now.
    void Advance();

    // A port write the bus loses under the drop-writes fault (a share of
    // them, drawn from the card's own generator).
    bool LoseWrite();

    static constexpr uint32_t MixLayout(uint32_t h);

private:
    uint32_t Now() const;
    void Answer(CardCore& core);
    uint16_t GetParam(uint16_t code, uint8_t* value, uint32_t* length);
    uint16_t GetStatus(uint16_t sub, uint16_t index, uint8_t* value);
    uint16_t StartScan();
    uint16_t StartJoin();
    uint16_t SetJoinParam(uint16_t code, const uint8_t* value);
    void ConcludeJoin();
    void CompleteScan();
    void Relink();
    void SettleLink();
    void AccumulateTraffic(uint32_t dt);
    void WriteStatistics(CardCore& core);
    int FindCell(const uint8_t* bssid) const;
    int BestCell(int exclude) const;
    bool Linked() const;
    uint16_t EntryState(int tableIndex) const;
    int OtherStations() const;
    uint16_t AdHocQuality() const;
    int16_t Drift() const;
    void CurrentBssid(uint8_t* bssid) const;

    static Clock s_machineClock;
    static void* s_machineClockContext;
    static AnswerFilter s_filter;
    static void* s_filterContext;

    Scenario m_world;   // the scenario, with live signals and settings
    uint32_t m_now = 0; // time of the last Advance
    uint32_t m_loadTime = 0;

    // mailbox
    uint16_t m_mailbox = 0;
    uint8_t m_pending = 0;
    uint32_t m_armedAt = 0;
    uint32_t m_polls = 0;
    uint32_t m_answered = 0;
    uint16_t m_lastCommand = 0;
    uint32_t m_tries = 0; // polls of the pending command that reached Answer

    // faults
    uint32_t m_faults = 0;
    uint32_t m_faultArgs[SIM_FAULT_COUNT] = {};
    uint32_t m_silentFrom = 0; // no-answer counts its seconds from here
    uint32_t m_joinRefusals = 0;
    uint32_t m_dropState = 1; // generator of the lost port writes

    // link
    uint16_t m_linkState = LINK_IDLE;
    int m_current = -1;
    uint8_t m_ownBssid[6] = {};
    uint8_t m_scanning = 0;
    uint32_t m_scanStart = 0;
    uint8_t m_joining = 0;
    uint32_t m_joinStart = 0;
    uint8_t m_joinType = 1;
    uint8_t m_joinBssid[6] = {};
    char m_joinEssid[33] = {};
    uint8_t m_roaming = 0;
    uint32_t m_roamStart = 0;
    int m_roamTarget = -1;
    uint32_t m_joinOverride = 0;
    uint16_t m_txRetry2 = 7;
    uint8_t m_rateLimit = 0; // DataRate 1: 1 Mbit/s only

    // BSS table of the last scan
    SimCell m_table[Scenario::kMaxCells] = {};
    uint16_t m_tableSize = 0;

    // statistics and time-driven counters
    uint32_t m_counters[Scenario::kCounters] = {};
    uint64_t m_acc[17] = {};
    uint32_t m_periodMs = 0;
    uint32_t m_uptimeMs = 0;
    uint32_t m_beaconsHeard = 0;
    uint32_t m_beaconMs = 0;
    uint32_t m_adhocCount = 0;
    uint64_t m_adhocAcc = 0;
};

// Where the firmware and its scenario keep their state.
constexpr uint32_t Firmware::MixLayout(uint32_t h)
{
    const uint32_t places[] = {
        SIM_PLACE(Firmware, m_world),
        SIM_PLACE(Firmware, m_now),
        SIM_PLACE(Firmware, m_loadTime),
        SIM_PLACE(Firmware, m_mailbox),
        SIM_PLACE(Firmware, m_pending),
        SIM_PLACE(Firmware, m_armedAt),
        SIM_PLACE(Firmware, m_polls),
        SIM_PLACE(Firmware, m_answered),
        SIM_PLACE(Firmware, m_lastCommand),
        SIM_PLACE(Firmware, m_tries),
        SIM_PLACE(Firmware, m_faults),
        SIM_PLACE(Firmware, m_faultArgs),
        SIM_PLACE(Firmware, m_silentFrom),
        SIM_PLACE(Firmware, m_joinRefusals),
        SIM_PLACE(Firmware, m_dropState),
        SIM_PLACE(Firmware, m_linkState),
        SIM_PLACE(Firmware, m_current),
        SIM_PLACE(Firmware, m_ownBssid),
        SIM_PLACE(Firmware, m_scanning),
        SIM_PLACE(Firmware, m_scanStart),
        SIM_PLACE(Firmware, m_joining),
        SIM_PLACE(Firmware, m_joinStart),
        SIM_PLACE(Firmware, m_joinType),
        SIM_PLACE(Firmware, m_joinBssid),
        SIM_PLACE(Firmware, m_joinEssid),
        SIM_PLACE(Firmware, m_roaming),
        SIM_PLACE(Firmware, m_roamStart),
        SIM_PLACE(Firmware, m_roamTarget),
        SIM_PLACE(Firmware, m_joinOverride),
        SIM_PLACE(Firmware, m_txRetry2),
        SIM_PLACE(Firmware, m_rateLimit),
        SIM_PLACE(Firmware, m_table),
        SIM_PLACE(Firmware, m_tableSize),
        SIM_PLACE(Firmware, m_counters),
        SIM_PLACE(Firmware, m_acc),
        SIM_PLACE(Firmware, m_periodMs),
        SIM_PLACE(Firmware, m_uptimeMs),
        SIM_PLACE(Firmware, m_beaconsHeard),
        SIM_PLACE(Firmware, m_beaconMs),
        SIM_PLACE(Firmware, m_adhocCount),
        SIM_PLACE(Firmware, m_adhocAcc),
        SIM_PLACE(Scenario, name),
        SIM_PLACE(Scenario, ioBase),
        SIM_PLACE(Scenario, essid),
        SIM_PLACE(Scenario, settings),
        SIM_PLACE(Scenario, settingCount),
        SIM_PLACE(Scenario, cells),
        SIM_PLACE(Scenario, cellCount),
        SIM_PLACE(Scenario, currentCell),
        SIM_PLACE(Scenario, stations),
        SIM_PLACE(Scenario, stationSlots),
        SIM_PLACE(Scenario, frameSize),
        SIM_PLACE(Scenario, beaconPeriod),
        SIM_PLACE(Scenario, counters),
        SIM_PLACE(Scenario, faults),
        SIM_PLACE(Scenario, faultArgs),
        sizeof(Scenario),
        sizeof(SimCell),
        sizeof(SimStation),
        sizeof(SimSetting),
    };
    return LayoutMix(h, places);
}
