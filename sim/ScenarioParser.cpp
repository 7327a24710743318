// ScenarioParser.cpp - the scenario text form.
#include "sim/ScenarioParser.h"

#include "sim/SimText.h"

using namespace SimText;

namespace {

struct CounterName
{
    const char* name;
    int offset;
};

const CounterName kCounterNames[] = {
    {"rx-ok", 0},          {"rx-duplicated", 4}, {"rx-crc", 8},        {"rx-truncated", 12},
    {"rx-overlength", 16}, {"rx-discarded", 20}, {"rx-corrupted", 24}, {"rx-multicast", 28},
    {"rx-broadcast", 32},  {"rx-bytes", 36},     {"tx-ok", 40},        {"tx-failed", 44},
    {"tx-retries", 48},    {"tx-multicast", 52}, {"tx-broadcast", 56}, {"tx-bytes", 60},
    {"period", 64},        {"uptime", 252},      {"idle", 256},
};

struct FaultName
{
    const char* name;
    int fault;
};

const FaultName kFaultNames[] = {
    {"none", SIM_FAULT_CLEAR_ALL},
    {"no-answer", SIM_FAULT_NO_ANSWER},
    {"answer-after", SIM_FAULT_ANSWER_AFTER},
    {"scan-endless", SIM_FAULT_SCAN_ENDLESS},
    {"join-refused", SIM_FAULT_JOIN_REFUSED},
    {"join-endless", SIM_FAULT_JOIN_ENDLESS},
    {"unavailable", SIM_FAULT_UNAVAILABLE},
    {"drop-writes", SIM_FAULT_DROP_WRITES},
};

bool Number(const char* text, uint32_t max, uint32_t* value)
{
    return ParseNumber(text, max, value);
}

bool Word(const char* text, uint16_t* value, uint32_t max = 0xFFFF)
{
    uint32_t v;
    if (!ParseNumber(text, max, &v))
        return false;
    *value = static_cast<uint16_t>(v);
    return true;
}

bool Byte(const char* text, uint8_t* value, uint32_t max = 0xFF)
{
    uint32_t v;
    if (!ParseNumber(text, max, &v))
        return false;
    *value = static_cast<uint8_t>(v);
    return true;
}

// "key=value" option: returns value when the token starts with key=.
const char* Option(const char* token, const char* key)
{
    uint32_t n = Length(key);
    for (uint32_t i = 0; i < n; ++i)
        if (token[i] != key[i])
            return nullptr;
    return token[n] == '=' ? token + n + 1 : nullptr;
}

// Firmware version as "3.01" or as the word 301.
bool Version(const char* text, uint16_t* value)
{
    char major[8] = {};
    uint32_t i = 0;
    for (; text[i] && text[i] != '.' && i < 7; ++i)
        major[i] = text[i];
    if (text[i] != '.')
        return Word(text, value);
    uint32_t hi, lo;
    if (!ParseNumber(major, 655, &hi) || Length(text + i + 1) != 2 ||
        !ParseNumber(text + i + 1, 99, &lo))
        return false;
    *value = static_cast<uint16_t>(hi * 100 + lo);
    return true;
}

bool Fail(const char** error, const char* why)
{
    *error = why;
    return false;
}

} // namespace

bool ScenarioParser::ParseSwitch(const char* text, uint8_t* value)
{
    if (Equal(text, "on") || Equal(text, "1") || Equal(text, "yes")) {
        *value = 1;
        return true;
    }
    if (Equal(text, "off") || Equal(text, "0") || Equal(text, "no")) {
        *value = 0;
        return true;
    }
    return false;
}

int ScenarioParser::FaultByName(const char* text)
{
    for (const FaultName& f : kFaultNames)
        if (Equal(text, f.name))
            return f.fault;
    return -1;
}

int ScenarioParser::CounterOffset(const char* name)
{
    for (const CounterName& c : kCounterNames)
        if (Equal(name, c.name))
            return c.offset;
    uint32_t offset;
    if (ParseNumber(name, 348, &offset) && offset % 4 == 0)
        return static_cast<int>(offset);
    return -1;
}

bool ScenarioParser::NextLine(const char* text, uint32_t length, uint32_t* pos, char* line,
                              uint32_t size)
{
    uint32_t p = *pos;
    if (p >= length || text[p] == 0)
        return false;
    uint32_t n = 0;
    bool inQuote = false;
    bool comment = false;
    for (; p < length && text[p] && text[p] != '\n'; ++p) {
        char c = text[p];
        if (c == '"')
            inQuote = !inQuote;
        if (c == '#' && !inQuote)
            comment = true;
        if (comment || c == '\r')
            continue;
        if (n + 1 < size)
            line[n++] = c == '\t' ? ' ' : c;
    }
    line[n] = 0;
    if (p < length && text[p] == '\n')
        ++p;
    *pos = p;
    return true;
}

int ScenarioParser::Tokenise(char* line, char* tokens[], int max)
{
    int count = 0;
    char* p = line;
    for (;;) {
        while (*p == ' ')
            ++p;
        if (!*p)
            return count;
        if (count == max)
            return -1;
        if (*p == '"') {
            ++p;
            tokens[count++] = p;
            while (*p && *p != '"')
                ++p;
            if (*p != '"')
                return -1;
            *p++ = 0;
            if (*p && *p != ' ')
                return -1;
        } else {
            tokens[count++] = p;
            while (*p && *p != ' ')
                ++p;
            if (*p)
                *p++ = 0;
        }
    }
}

bool ScenarioParser::ApplyStatement(char* t[], int n, Scenario& s, const char** error)
{
    const char* key = t[0];
    const char* missing = "missing or extra value";

    if (Equal(key, "name")) {
        if (n != 2)
            return Fail(error, missing);
        Copy(s.name, sizeof s.name, t[1]);
        return true;
    }
    if (Equal(key, "iobase")) {
        if (n != 2 || !Word(t[1], &s.ioBase) || s.ioBase > 0xFFF8)
            return Fail(error, "iobase needs a port number up to 0xFFF8");
        return true;
    }
    if (Equal(key, "mailbox")) {
        if (n != 2 || !Word(t[1], &s.mailboxPointer))
            return Fail(error, "mailbox needs a word address");
        return true;
    }
    if (Equal(key, "firmware")) {
        if (n != 2 || !Version(t[1], &s.firmwareVersion))
            return Fail(error, "firmware needs a version such as 3.01");
        return true;
    }
    if (Equal(key, "mac")) {
        if (n != 2 || !ParseMac(t[1], s.mac))
            return Fail(error, "mac needs an address such as 00:A0:C5:12:34:56");
        return true;
    }
    if (Equal(key, "manufacturer")) {
        if (n != 2 || Length(t[1]) > 31)
            return Fail(error, "manufacturer needs a text of at most 31 characters");
        Copy(s.manufacturer, sizeof s.manufacturer, t[1]);
        return true;
    }
    if (Equal(key, "station-name")) {
        if (n != 2 || Length(t[1]) > 16)
            return Fail(error, "station-name needs a text of at most 16 characters");
        Copy(s.stationName, sizeof s.stationName, t[1]);
        return true;
    }
    if (Equal(key, "hardware")) {
        if (n != 2 || !Word(t[1], &s.hardwareWord))
            return Fail(error, missing);
        return true;
    }
    if (Equal(key, "beacon-period")) {
        if (n != 2 || !Word(t[1], &s.beaconPeriod) || s.beaconPeriod == 0)
            return Fail(error, "beacon-period needs a number above 0");
        return true;
    }
    if (Equal(key, "rates")) {
        if (n < 2 || n > 8)
            return Fail(error, "rates needs one to seven rates");
        uint8_t rates[8] = {};
        for (int i = 1; i < n; ++i)
            if (!Byte(t[i], &rates[i - 1]) || rates[i - 1] == 0)
                return Fail(error, "a rate is a number from 1 to 255 (500 kbit/s steps)");
        Move(s.rates, rates, sizeof rates);
        return true;
    }
    if (Equal(key, "debug")) {
        if (n == 2 && Equal(t[1], "none")) {
            s.debugAvailable = 0;
            return true;
        }
        if (n < 2 || n > 33)
            return Fail(error, "debug needs 'none' or up to 32 hexadecimal bytes");
        uint8_t bytes[32] = {};
        for (int i = 1; i < n; ++i) {
            uint32_t v;
            if (!ParseHex(t[i], 0xFF, &v))
                return Fail(error, "debug bytes are hexadecimal");
            bytes[i - 1] = static_cast<uint8_t>(v);
        }
        Move(s.debug, bytes, sizeof bytes);
        s.debugAvailable = 1;
        return true;
    }
    if (Equal(key, "network")) {
        if (n == 2 && Equal(t[1], "infrastructure"))
            s.networkType = 1;
        else if (n == 2 && Equal(t[1], "adhoc"))
            s.networkType = 0;
        else
            return Fail(error, "network is infrastructure or adhoc");
        return true;
    }
    if (Equal(key, "essid")) {
        if (n != 2 || Length(t[1]) > 32)
            return Fail(error, "essid needs a text of at most 32 characters");
        Copy(s.essid, sizeof s.essid, t[1]);
        return true;
    }
    if (Equal(key, "carrier")) {
        if (n != 2 || !Byte(t[1], &s.carrier))
            return Fail(error, missing);
        return true;
    }
    if (Equal(key, "tx-retry")) {
        if (n != 2 || !Word(t[1], &s.txRetry))
            return Fail(error, missing);
        return true;
    }
    if (Equal(key, "ps-mode")) {
        if (n != 2 || !ParseSwitch(t[1], &s.psMode))
            return Fail(error, missing);
        return true;
    }
    if (Equal(key, "roaming")) {
        if (n != 2 || !ParseSwitch(t[1], &s.roaming))
            return Fail(error, missing);
        return true;
    }
    if (Equal(key, "roaming-threshold")) {
        if (n != 2 || !Word(t[1], &s.roamingThreshold))
            return Fail(error, missing);
        return true;
    }
    if (Equal(key, "prefer-bssid")) {
        if (n != 2 || !ParseMac(t[1], s.preferBssid))
            return Fail(error, "prefer-bssid needs an address");
        return true;
    }
    if (Equal(key, "setting")) {
        if (n != 3 || Length(t[1]) >= sizeof s.settings[0].name ||
            Length(t[2]) >= sizeof s.settings[0].value)
            return Fail(error, "setting needs a value name and a value");
        if (s.settingCount >= Scenario::kMaxSettings)
            return Fail(error, "too many settings");
        SimSetting& set = s.settings[s.settingCount++];
        Copy(set.name, sizeof set.name, t[1]);
        Copy(set.value, sizeof set.value, t[2]);
        return true;
    }
    if (Equal(key, "cell")) {
        // cell <bssid> <essid> <channel> <signal> [adhoc] [secure] [stations=n] [name=text]
        if (n < 5)
            return Fail(error, "cell needs bssid, essid, channel and signal");
        if (s.cellCount >= Scenario::kMaxCells)
            return Fail(error, "too many cells");
        SimCell c;
        if (!ParseMac(t[1], c.bssid))
            return Fail(error, "bad cell bssid");
        if (Length(t[2]) > 32)
            return Fail(error, "cell essid longer than 32 characters");
        Copy(c.essid, sizeof c.essid, t[2]);
        if (!Byte(t[3], &c.channel, 14) || c.channel == 0)
            return Fail(error, "cell channel is 1 to 14");
        if (!Word(t[4], &c.signal, 100))
            return Fail(error, "cell signal is 0 to 100");
        for (int i = 5; i < n; ++i) {
            const char* v;
            if (Equal(t[i], "adhoc"))
                c.type = 0;
            else if (Equal(t[i], "infrastructure"))
                c.type = 1;
            else if (Equal(t[i], "secure"))
                c.secure = 1;
            else if ((v = Option(t[i], "stations")) != nullptr) {
                if (!Byte(v, &c.stations))
                    return Fail(error, "stations=0..255");
            } else if ((v = Option(t[i], "name")) != nullptr) {
                if (Length(v) > 16)
                    return Fail(error, "cell name longer than 16 characters");
                Copy(c.apName, sizeof c.apName, v);
            } else {
                return Fail(error, "unknown cell option");
            }
        }
        s.cells[s.cellCount++] = c;
        return true;
    }
    if (Equal(key, "current")) {
        if (n != 2)
            return Fail(error, missing);
        if (Equal(t[1], "none")) {
            s.currentCell = -2;
            return true;
        }
        uint8_t mac[6];
        if (!ParseMac(t[1], mac))
            return Fail(error, "current needs a cell's bssid or none");
        for (int i = 0; i < s.cellCount; ++i) {
            if (SameBytes(s.cells[i].bssid, mac, 6)) {
                s.currentCell = static_cast<int16_t>(i);
                return true;
            }
        }
        return Fail(error, "current names no cell above it");
    }
    if (Equal(key, "link-state")) {
        if (n != 2)
            return Fail(error, missing);
        if (Equal(t[1], "idle"))
            s.linkState = 0;
        else if (!Word(t[1], &s.linkState))
            return Fail(error, "link-state needs a code or idle");
        return true;
    }
    if (Equal(key, "drift")) {
        if (n != 2 || !Byte(t[1], &s.drift, 50))
            return Fail(error, "drift is 0 to 50");
        return true;
    }
    if (Equal(key, "noise")) {
        if (n != 2 || !Word(t[1], &s.noise, 100))
            return Fail(error, "noise is 0 to 100");
        return true;
    }
    if (Equal(key, "station") || Equal(key, "free-slot")) {
        if (s.stationSlots >= Scenario::kMaxStations)
            return Fail(error, "too many station slots");
        SimStation st;
        if (Equal(key, "station")) {
            // station <mac> <name> [inactive=s] [silent]
            if (n < 3)
                return Fail(error, "station needs an address and a name");
            if (!ParseMac(t[1], st.mac))
                return Fail(error, "bad station address");
            if (Length(t[2]) > 15)
                return Fail(error, "station name longer than 15 characters");
            Copy(st.name, sizeof st.name, t[2]);
            st.used = 1;
            for (int i = 3; i < n; ++i) {
                const char* v;
                if (Equal(t[i], "silent"))
                    st.silent = 1;
                else if ((v = Option(t[i], "inactive")) != nullptr) {
                    if (!Word(v, &st.inactive))
                        return Fail(error, "inactive=seconds");
                } else {
                    return Fail(error, "unknown station option");
                }
            }
        } else if (n != 1) {
            return Fail(error, missing);
        }
        s.stations[s.stationSlots++] = st;
        return true;
    }
    if (Equal(key, "traffic")) {
        // traffic tx <B/s> rx <B/s> [frame n] [retry %] [crc %] [multicast %] [broadcast %]
        if (n % 2 == 0 || n < 3)
            return Fail(error, "traffic takes name and value pairs");
        for (int i = 1; i + 1 < n; i += 2) {
            const char* k = t[i];
            const char* v = t[i + 1];
            bool ok;
            if (Equal(k, "tx"))
                ok = Number(v, 100000000, &s.txBytesPerSec);
            else if (Equal(k, "rx"))
                ok = Number(v, 100000000, &s.rxBytesPerSec);
            else if (Equal(k, "frame"))
                ok = Word(v, &s.frameSize, 2346) && s.frameSize > 0;
            else if (Equal(k, "retry"))
                ok = Byte(v, &s.retryPct, 100);
            else if (Equal(k, "crc"))
                ok = Byte(v, &s.crcPct, 100);
            else if (Equal(k, "multicast"))
                ok = Byte(v, &s.multicastPct, 100);
            else if (Equal(k, "broadcast"))
                ok = Byte(v, &s.broadcastPct, 100);
            else
                return Fail(error, "unknown traffic figure");
            if (!ok)
                return Fail(error, "bad traffic value");
        }
        return true;
    }
    if (Equal(key, "cpu")) {
        if (n != 2 || !Byte(t[1], &s.cpuUsage, 100))
            return Fail(error, "cpu is 0 to 100");
        return true;
    }
    if (Equal(key, "uptime")) {
        if (n != 2 || !Number(t[1], 0xFFFFFFFF, &s.uptime))
            return Fail(error, missing);
        return true;
    }
    if (Equal(key, "counter")) {
        int offset = n == 3 ? CounterOffset(t[1]) : -1;
        uint32_t v;
        if (offset < 0 || !Number(t[2], 0xFFFFFFFF, &v))
            return Fail(error, "counter needs a counter name and a value");
        s.counters[offset / 4] = v;
        return true;
    }
    if (Equal(key, "answer-delay") || Equal(key, "scan-time") || Equal(key, "join-time") ||
        Equal(key, "roam-time")) {
        uint16_t v;
        if (n != 2 || !Word(t[1], &v))
            return Fail(error, "a time in milliseconds up to 65535");
        if (Equal(key, "answer-delay"))
            s.answerDelay = v;
        else if (Equal(key, "scan-time"))
            s.scanTime = v;
        else if (Equal(key, "join-time"))
            s.joinTime = v;
        else
            s.roamTime = v;
        return true;
    }
    if (Equal(key, "fault")) {
        int fault = n >= 2 ? FaultByName(t[1]) : -1;
        if (fault < 0 || n > 3)
            return Fail(error, "unknown fault");
        uint32_t arg = 0;
        if (n == 3) {
            if (fault == SIM_FAULT_JOIN_ENDLESS && Equal(t[2], "hard"))
                arg = 1;
            else if (!Number(t[2], 0xFFFF, &arg))
                return Fail(error, "bad fault argument");
        }
        if (fault == SIM_FAULT_CLEAR_ALL) {
            s.faults = 0;
            return true;
        }
        s.faults |= 1u << fault;
        s.faultArgs[fault] = arg;
        return true;
    }
    return Fail(error, "unknown statement");
}

bool ScenarioParser::Parse(const char* text, uint32_t length, Scenario& out, SimTextResult& result)
{
    Fill(&result, 0, sizeof result);
    uint32_t pos = 0;
    int lineNo = 0;
    char line[kMaxLine];
    while (NextLine(text, length, &pos, line, sizeof line)) {
        ++lineNo;
        char* tokens[kMaxTokens];
        int count = Tokenise(line, tokens, kMaxTokens);
        const char* error = nullptr;
        if (count < 0)
            error = "unclosed quote or too many values";
        else if (count == 0)
            continue;
        else
            ApplyStatement(tokens, count, out, &error);
        if (error) {
            result.ok = 0;
            result.line = lineNo;
            Copy(result.message, sizeof result.message, error);
            return false;
        }
    }
    result.ok = 1;
    return true;
}
