// Firmware.cpp - the simulated card's firmware.
#include "sim/Firmware.h"

#include "sim/CardCore.h"
#include "sim/SimText.h"

using namespace SimText;

namespace {

const uint32_t kMillion = 1000000;

// Carrier set codes by the configuration's list index.
const uint8_t kCarrierCodes[] = {0x10, 0x30, 0x40, 0x20, 0x31, 0x32};

void PutWord(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void PutLong(uint8_t* p, uint32_t v)
{
    PutWord(p, v);
    PutWord(p + 2, v >> 16);
}

uint32_t GetLong(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

// A text into an answer's field of `size` bytes: a shorter text ends with
// zeros, one that fills the field has no end mark (an ESSID of 32
// characters fills its 32 bytes exactly, as the program reads it).
void PutText(uint8_t* field, uint32_t size, const char* text)
{
    uint32_t i = 0;
    for (; i < size && text[i]; ++i)
        field[i] = static_cast<uint8_t>(text[i]);
    for (; i < size; ++i)
        field[i] = 0;
}

bool IsZero(const uint8_t* p, uint32_t n)
{
    for (uint32_t i = 0; i < n; ++i)
        if (p[i])
            return false;
    return true;
}

} // namespace

Firmware::Clock Firmware::s_machineClock = nullptr;
void* Firmware::s_machineClockContext = nullptr;
Firmware::AnswerFilter Firmware::s_filter = nullptr;
void* Firmware::s_filterContext = nullptr;

void Firmware::SetMachineClock(Clock clock, void* context)
{
    s_machineClock = clock;
    s_machineClockContext = context;
}

uint32_t Firmware::Now() const
{
    return s_machineClock ? s_machineClock(s_machineClockContext) : 0;
}

namespace {

template <uint32_t N> bool Terminated(const char (&text)[N])
{
    return text[N - 1] == 0;
}

} // namespace

bool Firmware::Consistent() const
{
    const Scenario& w = m_world;
    if (w.cellCount > Scenario::kMaxCells || w.stationSlots > Scenario::kMaxStations ||
        w.settingCount > Scenario::kMaxSettings || m_tableSize > Scenario::kMaxCells)
        return false;
    if (m_current < -1 || m_current >= w.cellCount || m_roamTarget < -1 ||
        m_roamTarget >= w.cellCount || w.currentCell < -2 || w.currentCell >= w.cellCount)
        return false;
    if (w.beaconPeriod == 0 || w.frameSize == 0)
        return false;
    if (!Terminated(w.name) || !Terminated(w.essid) || !Terminated(w.manufacturer) ||
        !Terminated(w.stationName) || !Terminated(m_joinEssid))
        return false;
    for (const SimCell& c : w.cells)
        if (!Terminated(c.essid) || !Terminated(c.apName))
            return false;
    for (const SimStation& st : w.stations)
        if (!Terminated(st.name))
            return false;
    for (const SimSetting& setting : w.settings)
        if (!Terminated(setting.name) || !Terminated(setting.value))
            return false;
    return true;
}

bool Firmware::LoseWrite()
{
    uint32_t share = m_faultArgs[SIM_FAULT_DROP_WRITES];
    if (!Fault(SIM_FAULT_DROP_WRITES) || share == 0)
        return false;
    m_dropState = m_dropState * 1103515245u + 12345u;
    return (m_dropState >> 16) % 100 < share;
}

void Firmware::Load(const Scenario& scenario, CardCore& core)
{
    m_world = scenario;
    m_now = Now();
    m_loadTime = m_now;

    m_pending = 0;
    m_polls = 0;
    m_answered = 0;
    m_lastCommand = 0;
    m_faults = scenario.faults;
    for (int i = 0; i < SIM_FAULT_COUNT; ++i)
        m_faultArgs[i] = scenario.faultArgs[i];
    m_silentFrom = m_now;
    m_joinRefusals = 0;
    m_dropState = 1;

    m_scanning = 0;
    m_joining = 0;
    m_roaming = 0;
    m_roamTarget = -1;
    m_joinOverride = 0;
    m_txRetry2 = scenario.txRetry;
    m_rateLimit = 0;
    Fill(m_joinBssid, 0, sizeof m_joinBssid);
    Fill(m_joinEssid, 0, sizeof m_joinEssid);
    m_joinType = scenario.networkType;

    for (int i = 0; i < Scenario::kCounters; ++i)
        m_counters[i] = scenario.counters[i];
    if (m_counters[252 / 4] == 0)
        m_counters[252 / 4] = scenario.uptime;
    for (uint64_t& a : m_acc)
        a = 0;
    m_periodMs = 0;
    m_uptimeMs = 0;
    m_beaconsHeard = 0;
    m_beaconMs = 0;
    m_adhocCount = 0;
    m_adhocAcc = 0;

    for (int i = 0; i < m_world.stationSlots; ++i)
        m_world.stations[i].silentSince = m_now - m_world.stations[i].inactive * 1000u;

    // A locally administered address for an ad-hoc network of our own.
    Move(m_ownBssid, scenario.mac, 6);
    m_ownBssid[0] = static_cast<uint8_t>((m_ownBssid[0] | 0x02) & 0xFE);

    for (int i = 0; i < m_world.settingCount; ++i)
        ApplySetting(m_world.settings[i].name, m_world.settings[i].value);

    // What the card found when it powered up.
    m_tableSize = 0;
    for (int i = 0; i < m_world.cellCount; ++i)
        if (m_world.cells[i].signal > 0)
            m_table[m_tableSize++] = m_world.cells[i];

    core.Reset();
    m_mailbox = scenario.mailboxPointer;
    // The idle mailbox reads as answered (status 0), then the pointer is
    // published; a pointer of 0x1FE overlaps it and wins.
    core.Poke(static_cast<uint16_t>(m_mailbox + 1), 0);
    core.Poke(kPointerAddress, m_mailbox);
    Relink();
    if (scenario.linkState != 0xFFFF)
        m_linkState = scenario.linkState;
}

// The link as the card settles it at power-on or after its settings changed.
void Firmware::Relink()
{
    m_roaming = 0;
    m_current = -1;
    // The scenario's cell holds while the card's settings still lead there;
    // settings that name another network (the driver's at boot) let the
    // card find a cell of that network, or none.
    int named = m_world.currentCell;
    bool fits =
        named >= 0 && named < m_world.cellCount && Equal(m_world.cells[named].essid, m_world.essid);
    if (fits) {
        m_current = named;
    } else if (named == -1 || named >= 0) {
        for (int i = 0; i < m_world.cellCount; ++i) {
            const SimCell& c = m_world.cells[i];
            if (c.signal == 0 || c.type != (m_world.networkType == 1 ? 1 : 0) ||
                !Equal(c.essid, m_world.essid))
                continue;
            if (m_current < 0 || c.signal > m_world.cells[m_current].signal)
                m_current = i;
        }
    }
    if (m_world.networkType == 1)
        m_linkState = m_current >= 0 ? LINK_ASSOCIATED : LINK_SCANNING;
    else
        m_linkState = m_current >= 0 ? LINK_JOINED : LINK_STARTED;
    SettleLink();
}

bool Firmware::Linked() const
{
    return m_linkState == LINK_ASSOCIATED || m_linkState == LINK_JOINED ||
           m_linkState == LINK_STARTED || m_linkState == LINK_ROAMING;
}

int Firmware::FindCell(const uint8_t* bssid) const
{
    for (int i = 0; i < m_world.cellCount; ++i)
        if (SameBytes(m_world.cells[i].bssid, bssid, 6))
            return i;
    return -1;
}

// Strongest infrastructure cell of our ESSID other than exclude; the
// preferred BSSID wins when it can be heard.
int Firmware::BestCell(int exclude) const
{
    int best = -1;
    for (int i = 0; i < m_world.cellCount; ++i) {
        const SimCell& c = m_world.cells[i];
        if (i == exclude || c.signal == 0 || c.type != 1 || !Equal(c.essid, m_world.essid))
            continue;
        if (!IsZero(m_world.preferBssid, 6) && SameBytes(c.bssid, m_world.preferBssid, 6))
            return i;
        if (best < 0 || c.signal > m_world.cells[best].signal)
            best = i;
    }
    return best;
}

// Link changes that follow from the signals: a lost cell, its return, roaming.
void Firmware::SettleLink()
{
    if (m_scanning || m_joining || m_world.networkType != 1)
        return;
    uint32_t now = m_now;
    if (m_roaming) {
        if (now - m_roamStart < m_world.roamTime)
            return;
        m_roaming = 0;
        if (m_roamTarget >= 0 && m_world.cells[m_roamTarget].signal > 0) {
            m_current = m_roamTarget;
            m_linkState = LINK_ASSOCIATED;
        } else {
            m_linkState = m_current >= 0 && m_world.cells[m_current].signal > 0 ? LINK_ASSOCIATED
                                                                                : LINK_REJOINING;
        }
        m_roamTarget = -1;
    }
    if (m_linkState != LINK_ASSOCIATED && m_linkState != LINK_REJOINING)
        return;
    uint16_t signal = m_current >= 0 ? m_world.cells[m_current].signal : 0;
    if (m_linkState == LINK_ASSOCIATED && signal == 0)
        m_linkState = LINK_REJOINING;
    else if (m_linkState == LINK_REJOINING && signal > 0)
        m_linkState = LINK_ASSOCIATED;
    if (!m_world.roaming || signal >= m_world.roamingThreshold)
        return;
    int best = BestCell(m_current);
    if (best >= 0 && m_world.cells[best].signal > signal + 5) {
        m_roaming = 1;
        m_roamStart = now;
        m_roamTarget = best;
        m_linkState = LINK_ROAMING;
    }
}

void Firmware::Advance()
{
    uint32_t now = Now();
    // Sides that serve a shared card read one clock; should one ever read
    // behind the last, time stands still rather than running a lap back.
    if (static_cast<int32_t>(now - m_now) < 0)
        now = m_now;
    uint32_t dt = now - m_now;
    m_now = now;
    AccumulateTraffic(dt);

    if (m_scanning && !Fault(SIM_FAULT_SCAN_ENDLESS) && now - m_scanStart >= m_world.scanTime)
        CompleteScan();
    if (m_joining && !Fault(SIM_FAULT_JOIN_ENDLESS) && now - m_joinStart >= m_world.joinTime)
        ConcludeJoin();
    SettleLink();
}

int Firmware::OtherStations() const
{
    int n = 0;
    for (int i = 0; i < m_world.stationSlots; ++i)
        if (m_world.stations[i].used && !m_world.stations[i].silent)
            ++n;
    return n;
}

int16_t Firmware::Drift() const
{
    if (m_world.drift == 0)
        return 0;
    uint32_t x = (m_now / 1000) * 2654435761u;
    x ^= x >> 15;
    x *= 0x2C1B3C6Du;
    x ^= x >> 12;
    uint32_t span = 2u * m_world.drift + 1;
    return static_cast<int16_t>(static_cast<int32_t>(x % span) - m_world.drift);
}

uint16_t Firmware::Quality()
{
    if (m_current < 0 || !(m_linkState == LINK_ASSOCIATED || m_linkState == LINK_ROAMING ||
                           m_linkState == LINK_JOINED))
        return 0;
    int32_t q = m_world.cells[m_current].signal;
    if (q == 0)
        return 0;
    // A weak cell may read 0 now and then while the card stays associated.
    q += Drift();
    if (q < 0)
        q = 0;
    if (q > 100)
        q = 100;
    return static_cast<uint16_t>(q);
}

// Share of the beacons expected from the other stations that the card hears.
uint16_t Firmware::AdHocQuality() const
{
    if (m_current < 0)
        return 100;
    int32_t q = m_world.cells[m_current].signal + Drift();
    if (q < 0)
        q = 0;
    if (q > 100)
        q = 100;
    return static_cast<uint16_t>(q);
}

void Firmware::AccumulateTraffic(uint32_t dt)
{
    if (dt == 0)
        return;
    m_uptimeMs += dt;
    m_counters[252 / 4] += m_uptimeMs / 1000;
    m_uptimeMs %= 1000;
    m_periodMs += dt;
    m_counters[64 / 4] += m_periodMs / 1000;
    m_periodMs %= 1000;
    m_counters[256 / 4] = 100u - m_world.cpuUsage;

    // Beacons heard from the cell we are in.
    if (Linked() && m_current >= 0 && m_world.cells[m_current].signal > 0) {
        m_beaconMs += dt;
        m_beaconsHeard += m_beaconMs / m_world.beaconPeriod;
        m_beaconMs %= m_world.beaconPeriod;
    }

    // Ad-hoc: the running count of beacons received from the other stations.
    // Over a period the station expects elapsed / beaconPeriod * n / (n + 1)
    // of them and hears the quality's share.
    int n = OtherStations();
    if (m_world.networkType != 1 && n > 0) {
        uint64_t divisor = 100ull * m_world.beaconPeriod * static_cast<uint64_t>(n + 1);
        m_adhocAcc += static_cast<uint64_t>(dt) * AdHocQuality() * static_cast<uint64_t>(n);
        m_adhocCount += static_cast<uint32_t>(m_adhocAcc / divisor);
        m_adhocAcc %= divisor;
    }

    if (!Linked())
        return;
    uint32_t tx = m_world.txBytesPerSec;
    uint32_t rx = m_world.rxBytesPerSec;
    if (m_world.psMode) {
        tx /= 2;
        rx /= 2;
    }
    if (m_rateLimit && m_world.rates[1]) {
        tx /= 2;
        rx /= 2;
    }
    uint64_t frame = m_world.frameSize;
    // Rates per second in thousandths, by counter (offsets 0..64 / 4).
    uint64_t rxOk = rx * 1000ull / frame;
    uint64_t txOk = tx * 1000ull / frame;
    uint64_t crc = rxOk * m_world.crcPct / 100;
    uint64_t truncated = crc / 4;
    uint64_t overlength = crc / 8;
    uint64_t retries = m_world.txRetry ? txOk * m_world.retryPct / 100 : 0;
    uint64_t rate[17] = {
        rxOk,                              // 0 frames received
        rxOk / 100,                        // 4 duplicated
        crc,                               // 8 CRC errors
        truncated,                         // 12 truncated
        overlength,                        // 16 over-length
        rx > 150000 ? rxOk / 50 : 0,       // 20 discarded, buffer full
        crc + truncated + overlength,      // 24 corrupted in total
        rxOk * m_world.multicastPct / 100, // 28 multicast received
        rxOk * m_world.broadcastPct / 100, // 32 broadcast received
        rx * 1000ull,                      // 36 bytes received
        txOk,                              // 40 frames sent
        retries / 20,                      // 44 failed
        retries,                           // 48 retry attempts
        txOk * m_world.multicastPct / 100, // 52 multicast sent
        txOk * m_world.broadcastPct / 100, // 56 broadcast sent
        tx * 1000ull,                      // 60 bytes sent
        0,                                 // 64 period (kept above)
    };
    for (int i = 0; i < 16; ++i) {
        m_acc[i] += rate[i] * dt;
        m_counters[i] += static_cast<uint32_t>(m_acc[i] / kMillion);
        m_acc[i] %= kMillion;
    }
}

void Firmware::WriteStatistics(CardCore& core)
{
    for (int i = 0; i < Scenario::kCounters; ++i) {
        uint16_t address = static_cast<uint16_t>(kStatisticsAddress + 2 * i);
        core.Poke(address, static_cast<uint16_t>(m_counters[i]));
        core.Poke(static_cast<uint16_t>(address + 1), static_cast<uint16_t>(m_counters[i] >> 16));
    }
}

void Firmware::CurrentBssid(uint8_t* bssid) const
{
    Fill(bssid, 0, 6);
    if (m_current >= 0 && m_linkState != LINK_FAILED && m_linkState != LINK_IDLE)
        Move(bssid, m_world.cells[m_current].bssid, 6);
    else if (m_world.networkType != 1 && m_linkState == LINK_STARTED)
        Move(bssid, m_ownBssid, 6);
}

uint16_t Firmware::LinkState()
{
    return m_linkState;
}

int Firmware::CurrentCell()
{
    return m_current;
}

uint16_t Firmware::EntryState(int tableIndex) const
{
    uint8_t bssid[6];
    CurrentBssid(bssid);
    if (!IsZero(bssid, 6) && SameBytes(m_table[tableIndex].bssid, bssid, 6))
        return m_linkState;
    return LINK_NONE;
}

void Firmware::CompleteScan()
{
    m_scanning = 0;
    m_tableSize = 0;
    for (int i = 0; i < m_world.cellCount; ++i)
        if (m_world.cells[i].signal > 0)
            m_table[m_tableSize++] = m_world.cells[i];
    if (m_world.networkType == 1) {
        if (m_current >= 0 && m_world.cells[m_current].signal > 0)
            m_linkState = LINK_ASSOCIATED;
        else if ((m_current = BestCell(-1)) >= 0)
            m_linkState = LINK_ASSOCIATED;
        else
            m_linkState = LINK_SCANNING;
    } else {
        m_linkState = m_current >= 0 ? LINK_JOINED : LINK_STARTED;
    }
}

uint16_t Firmware::StartScan()
{
    if (m_joining || m_roaming)
        return STATUS_BUSY;
    if (!m_scanning) {
        m_scanning = 1;
        m_scanStart = m_now;
        m_linkState = LINK_SCANNING;
    }
    return STATUS_OK;
}

uint16_t Firmware::StartJoin()
{
    if (Fault(SIM_FAULT_JOIN_REFUSED)) {
        uint32_t limit = m_faultArgs[SIM_FAULT_JOIN_REFUSED];
        if (limit == 0 || m_joinRefusals < limit) {
            ++m_joinRefusals;
            return STATUS_REFUSED;
        }
    }
    if (m_scanning)
        return STATUS_BUSY;
    m_joining = 1;
    m_joinStart = m_now;
    m_roaming = 0;
    m_linkState = LINK_JOINING;
    return STATUS_OK;
}

void Firmware::ConcludeJoin()
{
    m_joining = 0;
    m_joinRefusals = 0;
    int target = FindCell(m_joinBssid);
    if (target >= 0 && m_world.cells[target].signal == 0)
        target = -1;
    m_world.networkType = m_joinType == 1 ? 1 : 0;
    if (m_joinEssid[0])
        Copy(m_world.essid, sizeof m_world.essid, m_joinEssid);
    if (target >= 0) {
        if (m_world.cells[target].type != m_world.networkType) {
            m_current = -1;
            m_linkState = LINK_FAILED;
            return;
        }
        m_current = target;
        if (!m_joinEssid[0])
            Copy(m_world.essid, sizeof m_world.essid, m_world.cells[target].essid);
        m_linkState = m_world.networkType == 1 ? LINK_ASSOCIATED : LINK_JOINED;
    } else {
        m_current = -1;
        m_linkState = m_world.networkType == 1 ? LINK_FAILED : LINK_STARTED;
    }
}

uint16_t Firmware::SetJoinParam(uint16_t code, const uint8_t* value)
{
    switch (code) {
    case 0x1013:
        m_joinType = value[0];
        return STATUS_OK;
    case 0x0042:
        Move(m_joinBssid, value, 6);
        return STATUS_OK;
    case 0x0041:
        CopyN(m_joinEssid, sizeof m_joinEssid, reinterpret_cast<const char*>(value), 32);
        return STATUS_OK;
    default:
        return STATUS_NOT_AVAILABLE;
    }
}

uint16_t Firmware::SetParam(uint16_t code, const uint8_t* value, uint32_t length)
{
    uint8_t v[32] = {};
    Move(v, value, length > 32 ? 32 : length);
    switch (code) {
    case 0x0019:
        m_world.txRetry = static_cast<uint16_t>(GetLong(v));
        return STATUS_OK;
    case 0x0020:
        m_txRetry2 = static_cast<uint16_t>(GetLong(v));
        return STATUS_OK;
    case 0x0052:
        m_world.psMode = (v[0] | v[1]) ? 1 : 0;
        return STATUS_OK;
    case 0x1024:
        m_world.roaming = v[0] ? 1 : 0;
        SettleLink();
        return STATUS_OK;
    case 0x1026:
        m_world.roamingThreshold = static_cast<uint16_t>(GetLong(v));
        SettleLink();
        return STATUS_OK;
    case 0x1029:
        Move(m_world.preferBssid, v, 6);
        return STATUS_OK;
    case 0x10F7:
        m_joinOverride = GetLong(v);
        // The override ends the wait for a join that takes too long.
        if (m_joinOverride && m_joining &&
            !(Fault(SIM_FAULT_JOIN_ENDLESS) && m_faultArgs[SIM_FAULT_JOIN_ENDLESS]))
            ConcludeJoin();
        return STATUS_OK;
    default:
        return STATUS_NOT_AVAILABLE;
    }
}

uint16_t Firmware::GetParam(uint16_t code, uint8_t* v, uint32_t* length)
{
    switch (code) {
    case 0x0019:
        PutWord(v, m_world.txRetry);
        *length = 2;
        return STATUS_OK;
    case 0x0020:
        PutWord(v, m_txRetry2);
        *length = 2;
        return STATUS_OK;
    case 0x0027:
        Fill(v, 0, 32);
        Copy(reinterpret_cast<char*>(v), 32, m_world.manufacturer);
        *length = 32;
        return STATUS_OK;
    case 0x0038:
        PutWord(v, m_world.beaconPeriod);
        *length = 2;
        return STATUS_OK;
    case 0x0040:
        Move(v, m_world.mac, 6);
        *length = 6;
        return STATUS_OK;
    case 0x0041:
        PutText(v, 32, m_world.essid);
        *length = 32;
        return STATUS_OK;
    case 0x0042:
        CurrentBssid(v);
        *length = 6;
        return STATUS_OK;
    case 0x0052:
        PutWord(v, m_world.psMode);
        *length = 2;
        return STATUS_OK;
    case 0x0201:
        v[0] = m_world.carrier;
        *length = 1;
        return STATUS_OK;
    case 0x0232: {
        Fill(v, 0, 8);
        int n = 0;
        for (; n < 7 && m_world.rates[n]; ++n)
            v[n] = m_world.rates[n];
        if (m_rateLimit && n > 1)
            v[1] = 0;
        *length = 8;
        return STATUS_OK;
    }
    case 0x1001:
        PutWord(v, m_world.hardwareWord);
        *length = 2;
        return STATUS_OK;
    case 0x100D:
        PutWord(v, m_world.firmwareVersion);
        *length = 2;
        return STATUS_OK;
    case 0x1013:
        v[0] = m_world.networkType;
        *length = 1;
        return STATUS_OK;
    case 0x1021:
        PutWord(v, m_linkState);
        *length = 2;
        return STATUS_OK;
    case 0x1024:
        v[0] = m_world.roaming;
        *length = 1;
        return STATUS_OK;
    case 0x1026:
        PutWord(v, m_world.roamingThreshold);
        *length = 2;
        return STATUS_OK;
    case 0x1029:
        Move(v, m_world.preferBssid, 6);
        *length = 6;
        return STATUS_OK;
    case 0x1040:
        Fill(v, 0, 17);
        Copy(reinterpret_cast<char*>(v), 17, m_world.stationName);
        *length = 17;
        return STATUS_OK;
    case 0x1045:
        if (!m_world.debugAvailable || m_world.firmwareVersion < 200)
            return STATUS_NOT_AVAILABLE;
        Move(v, m_world.debug, 32);
        *length = 32;
        return STATUS_OK;
    case 0x10F7:
        PutLong(v, m_joinOverride);
        *length = 4;
        return STATUS_OK;
    default:
        return STATUS_NOT_AVAILABLE;
    }
}

uint16_t Firmware::GetStatus(uint16_t sub, uint16_t index, uint8_t* v)
{
    Fill(v, 0, 32);
    bool unavailable = Fault(SIM_FAULT_UNAVAILABLE) && index >= m_faultArgs[SIM_FAULT_UNAVAILABLE];
    bool oldFirmware = m_world.firmwareVersion < 200;
    switch (sub) {
    case 1:
        PutLong(v, m_beaconsHeard);
        return STATUS_OK;
    case 2:
        PutWord(v, Quality());
        return STATUS_OK;
    case 3: {
        uint32_t use = Linked() ? m_world.rxBytesPerSec / 2000 : 0;
        PutWord(v, use > 100 ? 100 : use);
        return STATUS_OK;
    }
    case 4:
        PutWord(v, m_tableSize);
        return STATUS_OK;
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
    case 0x13:
    case 0x14: {
        if (unavailable)
            return STATUS_NOT_AVAILABLE;
        if (index >= m_tableSize)
            return STATUS_OK; // an empty entry
        const SimCell& c = m_table[index];
        if (sub == 5)
            Move(v, c.bssid, 6);
        else if (sub == 6)
            PutWord(v, c.signal);
        else if (sub == 7)
            PutText(v, 32, c.essid);
        else if (sub == 8)
            PutWord(v, EntryState(index));
        else if (sub == 9)
            v[0] = c.type;
        else if (sub == 0x13)
            PutWord(v, c.secure);
        else
            PutWord(v, c.channel);
        return STATUS_OK;
    }
    case 13:
    case 15:
        if (unavailable || oldFirmware || index >= m_tableSize)
            return STATUS_NOT_AVAILABLE;
        if (sub == 13)
            Copy(reinterpret_cast<char*>(v), 17, m_table[index].apName);
        else
            v[0] = m_table[index].stations;
        return STATUS_OK;
    case 10:
        if (m_scanning) {
            uint32_t done = (m_now - m_scanStart) * 14u / (m_world.scanTime ? m_world.scanTime : 1);
            PutWord(v, done >= 14 ? 1 : 14 - done);
        }
        return STATUS_OK;
    case 11:
        PutWord(v, m_joining ? 1 : 0);
        return STATUS_OK;
    case 12:
        PutWord(v, m_world.noise);
        return STATUS_OK;
    case 16:
        if (Fault(SIM_FAULT_UNAVAILABLE) && m_faultArgs[SIM_FAULT_UNAVAILABLE] == 0)
            return STATUS_NOT_AVAILABLE;
        PutWord(v, m_world.stationSlots);
        return STATUS_OK;
    case 17: {
        if (unavailable || index >= m_world.stationSlots)
            return STATUS_NOT_AVAILABLE;
        const SimStation& st = m_world.stations[index];
        bool later = false;
        for (int i = index + 1; i < m_world.stationSlots; ++i)
            later = later || m_world.stations[i].used;
        PutWord(v, st.used || later ? index : 0xFFFF);
        if (st.used) {
            PutWord(v + 2, st.silent ? 2 : 3);
            Move(v + 4, st.mac, 6);
            v[12] = 1;
            Copy(reinterpret_cast<char*>(v + 13), 16, st.name);
            uint32_t seconds = (m_now - m_loadTime) / 1000;
            uint32_t inactive =
                st.silent ? (m_now - st.silentSince) / 1000 : (st.inactive + seconds + index) % 4;
            if (inactive > 0xFFFF)
                inactive = 0xFFFF;
            PutWord(v + 29, inactive);
        }
        return STATUS_OK;
    }
    case 0x12: {
        uint64_t tsf = static_cast<uint64_t>(m_world.uptime) * 1000000ull +
                       static_cast<uint64_t>(m_now - m_loadTime) * 1000ull;
        PutLong(v, static_cast<uint32_t>(tsf));
        PutLong(v + 4, static_cast<uint32_t>(tsf >> 32));
        PutWord(v + 8, m_world.beaconPeriod);
        if (m_world.networkType != 1) {
            int n = OtherStations();
            PutWord(v + 10, static_cast<uint32_t>(n));
            PutLong(v + 12, m_adhocCount);
            PutLong(v + 16, m_adhocCount / static_cast<uint32_t>(n > 0 ? n : 1));
            uint8_t bssid[6];
            CurrentBssid(bssid);
            Move(v + 20, bssid, 6);
        }
        return STATUS_OK;
    }
    default:
        return STATUS_NOT_AVAILABLE;
    }
}

void Firmware::OnHostWrite(uint16_t address, uint16_t value)
{
    if (address != static_cast<uint16_t>(m_mailbox + 1))
        return;
    m_pending = value == kPending ? 1 : 0;
    m_armedAt = Now();
    m_polls = 0;
    m_tries = 0;
}

void Firmware::SetAnswerFilter(AnswerFilter filter, void* context)
{
    s_filter = filter;
    s_filterContext = context;
}

void Firmware::OnHostRead(CardCore& core, uint16_t address)
{
    if (!m_pending || address != static_cast<uint16_t>(m_mailbox + 1))
        return;
    ++m_polls;
    // A card told to fall silent after some seconds answers until then.
    if (Fault(SIM_FAULT_NO_ANSWER) &&
        Now() - m_silentFrom >= m_faultArgs[SIM_FAULT_NO_ANSWER] * 1000u)
        return;
    if (Fault(SIM_FAULT_ANSWER_AFTER) && m_polls <= m_faultArgs[SIM_FAULT_ANSWER_AFTER])
        return;
    if (Now() - m_armedAt < m_world.answerDelay)
        return;
    Answer(core);
}

void Firmware::Answer(CardCore& core)
{
    Advance();
    uint8_t block[38];
    core.PeekBytes(m_mailbox, block, sizeof block);
    uint16_t command = static_cast<uint16_t>(block[0] | (block[1] << 8));
    uint16_t code = static_cast<uint16_t>(block[4] | (block[5] << 8));
    uint8_t* value = block + 6;
    const uint16_t index = static_cast<uint16_t>(value[0] | (value[1] << 8));
    uint16_t status = STATUS_OK;
    uint32_t length = 0;
    ++m_tries;
    if (s_filter && !s_filter(s_filterContext, command, code, index, m_tries, nullptr, &status))
        return;

    switch (command) {
    case CMD_GET_PARAM:
        status = GetParam(code, value, &length);
        break;
    case CMD_SET_PARAM:
        status = SetParam(code, value, 32);
        break;
    case CMD_GET_STATISTICS:
        WriteStatistics(core);
        PutWord(block + 4, kStatisticsAddress);
        break;
    case CMD_RESET_STATISTICS:
        for (int i = 0; i <= 64 / 4; ++i)
            m_counters[i] = 0;
        for (uint64_t& a : m_acc)
            a = 0;
        m_periodMs = 0;
        break;
    case CMD_GET_STATUS:
        status = GetStatus(code, index, value);
        break;
    case CMD_START_BSS_SCAN:
        status = StartScan();
        break;
    case CMD_START_JOIN:
        status = StartJoin();
        break;
    case CMD_SET_JOIN_PARAM:
        status = SetJoinParam(code, value);
        break;
    case CMD_START_STATION_SCAN:
        break;
    default:
        status = STATUS_BAD_COMMAND;
        break;
    }
    if (s_filter)
        s_filter(s_filterContext, command, code, index, m_tries, value, &status);
    // Data first, status last: the host sees a finished answer or none.
    core.PokeBytes(static_cast<uint16_t>(m_mailbox + 2), block + 4, 34);
    core.Poke(static_cast<uint16_t>(m_mailbox + 1), status);
    m_pending = 0;
    m_lastCommand = command;
    ++m_answered;
}

void Firmware::SetFault(uint32_t fault, bool on, uint32_t arg)
{
    if (fault == SIM_FAULT_CLEAR_ALL) {
        m_faults = 0;
        for (uint32_t& a : m_faultArgs)
            a = 0;
        m_joinRefusals = 0;
        return;
    }
    if (fault >= SIM_FAULT_COUNT)
        return;
    Advance();
    if (on) {
        m_faults |= 1u << fault;
        m_faultArgs[fault] = arg;
        if (fault == SIM_FAULT_NO_ANSWER)
            m_silentFrom = m_now;
    } else {
        m_faults &= ~(1u << fault);
        m_faultArgs[fault] = 0;
    }
    if (fault == SIM_FAULT_JOIN_REFUSED)
        m_joinRefusals = 0;
    if (fault == SIM_FAULT_ANSWER_AFTER)
        m_polls = 0;
}

bool Firmware::SetSignal(int cellIndex, const uint8_t* bssid, uint16_t signal)
{
    if (cellIndex < 0 && bssid)
        cellIndex = FindCell(bssid);
    if (cellIndex < 0 || cellIndex >= m_world.cellCount || signal > 100)
        return false;
    Advance();
    m_world.cells[cellIndex].signal = signal;
    SettleLink();
    return true;
}

bool Firmware::ChangeStation(const uint8_t* mac, StationChange change, const char* name)
{
    Advance();
    int slot = -1;
    for (int i = 0; i < m_world.stationSlots && slot < 0; ++i)
        if (m_world.stations[i].used && SameBytes(m_world.stations[i].mac, mac, 6))
            slot = i;
    if (change == STATION_NEW) {
        if (slot >= 0 || !name || Length(name) > 15)
            return false;
        for (int i = 0; i < m_world.stationSlots && slot < 0; ++i)
            if (!m_world.stations[i].used)
                slot = i;
        if (slot < 0) {
            if (m_world.stationSlots >= Scenario::kMaxStations)
                return false;
            slot = m_world.stationSlots++;
        }
        SimStation& st = m_world.stations[slot];
        Fill(&st, 0, sizeof st);
        Move(st.mac, mac, 6);
        Copy(st.name, sizeof st.name, name);
        st.used = 1;
        return true;
    }
    if (slot < 0)
        return false;
    SimStation& st = m_world.stations[slot];
    if (change == STATION_GONE) {
        st.used = 0;
    } else if (change == STATION_SILENT) {
        if (!st.silent)
            st.silentSince = m_now;
        st.silent = 1;
    } else {
        st.silent = 0;
    }
    return true;
}

void Firmware::SetTraffic(uint32_t txBytesPerSec, uint32_t rxBytesPerSec)
{
    Advance();
    m_world.txBytesPerSec = txBytesPerSec;
    m_world.rxBytesPerSec = rxBytesPerSec;
}

int Firmware::ApplySetting(const char* name, const char* value)
{
    uint32_t n;
    if (EqualNoCase(name, "NetworkType")) {
        if (!ParseNumber(value, 9, &n))
            return -1;
        m_world.networkType = n == 1 ? 1 : 0;
    } else if (EqualNoCase(name, "ESSID")) {
        if (Length(value) > 32)
            return -1;
        Copy(m_world.essid, sizeof m_world.essid, value);
    } else if (EqualNoCase(name, "CarrierSet")) {
        if (!ParseNumber(value, 5, &n))
            return -1;
        m_world.carrier = kCarrierCodes[n];
    } else if (EqualNoCase(name, "PSmode")) {
        m_world.psMode = value[0] != '0' && value[0] != 0;
    } else if (EqualNoCase(name, "Roaming")) {
        m_world.roaming = value[0] != '0' && value[0] != 0;
    } else if (EqualNoCase(name, "RoamingThreshold")) {
        if (!ParseNumber(value, 0xFFFF, &n))
            return -1;
        m_world.roamingThreshold = static_cast<uint16_t>(n);
    } else if (EqualNoCase(name, "TxRetry")) {
        if (!ParseNumber(value, 0xFFFF, &n))
            return -1;
        m_world.txRetry = static_cast<uint16_t>(n);
        m_txRetry2 = static_cast<uint16_t>(n);
    } else if (EqualNoCase(name, "PreferBSSID")) {
        if (!value[0])
            Fill(m_world.preferBssid, 0, 6);
        else if (!ParseMac(value, m_world.preferBssid))
            return -1;
    } else if (EqualNoCase(name, "StationName")) {
        if (Length(value) > 16)
            return -1;
        Copy(m_world.stationName, sizeof m_world.stationName, value);
    } else if (EqualNoCase(name, "DataRate")) {
        if (!ParseNumber(value, 9, &n))
            return -1;
        m_rateLimit = n == 1 ? 1 : 0;
    } else {
        return 0; // Security, SecurityID, sensitivity and the like: nothing to do here
    }
    return 1;
}

void Firmware::FillState(SimState& s)
{
    Advance();
    s.nowMs = m_now;
    s.commandsAnswered = m_answered;
    s.faults = m_faults;
    for (int i = 0; i < SIM_FAULT_COUNT; ++i)
        s.faultArgs[i] = m_faultArgs[i];
    s.ioBase = m_world.ioBase;
    s.mailboxPointer = m_mailbox;
    s.linkState = m_linkState;
    s.networkType = m_world.networkType;
    s.currentCell = static_cast<uint16_t>(m_current < 0 ? 0xFFFF : m_current);
    s.quality = m_world.networkType == 1 ? Quality() : AdHocQuality();
    s.cellCount = m_world.cellCount;
    s.bssTableSize = m_tableSize;
    s.stationTableSize = m_world.stationSlots;
    s.scanning = m_scanning;
    s.joining = m_joining;
    s.lastCommand = m_lastCommand;
    s.pending = m_pending;
    CurrentBssid(s.currentBssid);
    Copy(s.scenarioName, sizeof s.scenarioName, m_world.name);
}
