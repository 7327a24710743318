// SimDevice.cpp - the razuDov request dispatcher and the simulated bus.
#include "sim/SimDevice.h"

#include "sim/ScenarioParser.h"
#include "sim/SimText.h"

using namespace SimText;

namespace {

const Scenario kDefaults{};

const char kDefaultScenario[] = "name default\n"
                                "network infrastructure\n"
                                "essid Corvane\n"
                                "cell 00:A0:C5:00:00:01 Corvane 1 72 name=Lobby stations=4\n"
                                "cell 00:A0:C5:00:00:02 Corvane 6 48 name=Lab stations=2\n"
                                "cell 00:A0:C5:00:00:03 Corvane 11 20 name=Store\n"
                                "current 00:A0:C5:00:00:01\n";

uint16_t Word(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

void PutWord(uint8_t* p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

int32_t Long(const uint8_t* p)
{
    return static_cast<int32_t>(p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16) |
                                (static_cast<uint32_t>(p[3]) << 24));
}

// A single-port request's port: counted from 0x240, signed, within 16 bits.
bool PortFrom(const uint8_t* p, uint16_t* port)
{
    int32_t relative = Long(p);
    // Compared before adding: a number near the top of the range must not
    // wrap round to a small port.
    if (relative < -SIM_PORT_ORIGIN || relative > 0xFFFF - SIM_PORT_ORIGIN)
        return false;
    *port = static_cast<uint16_t>(relative + SIM_PORT_ORIGIN);
    return true;
}

} // namespace

const char* SimDevice::DefaultScenarioText()
{
    return kDefaultScenario;
}

void SimDevice::Init(Firmware::Clock clock, void* context)
{
    if (clock)
        Firmware::SetMachineClock(clock, context);
    Init(m_firmware, m_scratch);
}

void SimDevice::Init(Firmware& firmware, Scenario& scratch)
{
    m_driverBase = 0;
    ResetCounts();
    SimTextResult result;
    LoadScenario(firmware, scratch, kDefaultScenario, sizeof kDefaultScenario, result);
}

void SimDevice::ResetCounts()
{
    for (uint32_t& r : m_requests)
        r = 0;
}

bool SimDevice::Consistent() const
{
    return m_firmware.Consistent();
}

uint32_t SimDevice::NoAnswer(uint32_t code, void* out, uint32_t outSize, uint32_t* information)
{
    *information = 0;
    uint32_t floating = 0;
    switch (code) {
    case SIM_IOCTL_READ_BYTE:
        floating = 1;
        break;
    case SIM_IOCTL_READ_WORD:
        floating = 2;
        break;
    case SIM_IOCTL_BLOCK_READ:
        floating = outSize;
        break;
    case SIM_IOCTL_SET_BASE:
        if (outSize < 2)
            return SIM_STATUS_BUFFER_TOO_SMALL;
        PutWord(static_cast<uint8_t*>(out), 0); // no card answers at any base
        *information = 2;
        return SIM_STATUS_SUCCESS;
    case SIM_IOCTL_WRITE_BYTE:
    case SIM_IOCTL_WRITE_WORD:
    case SIM_IOCTL_BLOCK_WRITE:
        return SIM_STATUS_SUCCESS;
    default:
        return SIM_STATUS_DEVICE_NOT_READY;
    }
    if (!out || outSize < floating)
        return SIM_STATUS_BUFFER_TOO_SMALL;
    Fill(out, 0xFF, floating);
    *information = floating;
    return SIM_STATUS_SUCCESS;
}

bool SimDevice::OnCard(const Firmware& fw, uint16_t port, uint32_t width)
{
    uint16_t base = fw.World().ioBase;
    if (port < base || port - base >= SIM_REGISTER_SPAN)
        return false;
    return width == 1 || (width == 2 && (port - base) % 2 == 0);
}

bool SimDevice::BusRead(uint16_t port, uint32_t width, uint16_t* value)
{
    return BusRead(m_firmware, port, width, value);
}

bool SimDevice::BusWrite(uint16_t port, uint32_t width, uint16_t value)
{
    return BusWrite(m_firmware, port, width, value);
}

bool SimDevice::LoadScenario(const char* text, uint32_t length, SimTextResult& result)
{
    return LoadScenario(m_firmware, m_scratch, text, length, result);
}

bool SimDevice::ApplyLines(const char* text, uint32_t length, SimTextResult& result)
{
    return ApplyLines(m_firmware, text, length, result);
}

void SimDevice::FillState(SimState& state)
{
    FillState(m_firmware, state);
}

bool SimDevice::BusRead(Firmware& fw, uint16_t port, uint32_t width, uint16_t* value)
{
    if (!OnCard(fw, port, width)) {
        *value = width == 1 ? 0xFF : 0xFFFF;
        return false;
    }
    uint16_t offset = static_cast<uint16_t>(port - fw.World().ioBase);
    *value = width == 1 ? m_core.ReadByte(offset, &fw) : m_core.ReadWord(offset, &fw);
    return true;
}

bool SimDevice::BusWrite(Firmware& fw, uint16_t port, uint32_t width, uint16_t value)
{
    if (!OnCard(fw, port, width))
        return false;
    if (fw.LoseWrite())
        return true; // reached the card and was lost on the way
    uint16_t offset = static_cast<uint16_t>(port - fw.World().ioBase);
    if (width == 1)
        m_core.WriteByte(offset, static_cast<uint8_t>(value), &fw);
    else
        m_core.WriteWord(offset, value, &fw);
    return true;
}

bool SimDevice::LoadScenario(Firmware& fw, Scenario& scratch, const char* text, uint32_t length,
                             SimTextResult& result)
{
    scratch = kDefaults;
    if (!ScenarioParser::Parse(text, length, scratch, result))
        return false;
    fw.Load(scratch, m_core);
    return true;
}

bool SimDevice::ApplyLine(Firmware& fw, char* t[], int n, const char** error)
{
    if (Equal(t[0], "setting")) {
        if (n != 3) {
            *error = "setting needs a value name and a value";
            return false;
        }
        if (fw.ApplySetting(t[1], t[2]) < 0) {
            *error = "bad value for this setting";
            return false;
        }
        return true;
    }
    if (Equal(t[0], "signal")) {
        // signal <cell index or bssid> <0..100>
        uint32_t index = 0, signal = 0;
        uint8_t bssid[6];
        bool byMac = n == 3 && ParseMac(t[1], bssid);
        if (n != 3 || (!byMac && !ParseNumber(t[1], 0x7FFF, &index)) ||
            !ParseNumber(t[2], 100, &signal) ||
            !fw.SetSignal(byMac ? -1 : static_cast<int>(index), byMac ? bssid : nullptr,
                          static_cast<uint16_t>(signal))) {
            *error = "signal needs a cell (index or bssid) and 0 to 100";
            return false;
        }
        return true;
    }
    if (Equal(t[0], "fault")) {
        // fault <name> [on|off] [arg]
        int fault = n >= 2 ? ScenarioParser::FaultByName(t[1]) : -1;
        uint8_t on = 1;
        uint32_t arg = 0;
        if (fault < 0 || n > 4 || (n >= 3 && !ScenarioParser::ParseSwitch(t[2], &on)) ||
            (n == 4 && !ParseNumber(t[3], 0xFFFF, &arg))) {
            *error = "fault <name> [on|off] [argument]";
            return false;
        }
        fw.SetFault(static_cast<uint32_t>(fault), on != 0, arg);
        return true;
    }
    if (Equal(t[0], "traffic")) {
        uint32_t tx = 0, rx = 0;
        if (n != 5 || !Equal(t[1], "tx") || !Equal(t[3], "rx") ||
            !ParseNumber(t[2], 100000000, &tx) || !ParseNumber(t[4], 100000000, &rx)) {
            *error = "traffic tx <bytes/s> rx <bytes/s>";
            return false;
        }
        fw.SetTraffic(tx, rx);
        return true;
    }
    if (Equal(t[0], "station")) {
        // station <mac> heard|silent|gone, or station <mac> <new name>
        uint8_t mac[6];
        bool ok = n == 3 && ParseMac(t[1], mac);
        if (ok) {
            if (Equal(t[2], "heard"))
                ok = fw.ChangeStation(mac, Firmware::STATION_HEARD);
            else if (Equal(t[2], "silent"))
                ok = fw.ChangeStation(mac, Firmware::STATION_SILENT);
            else if (Equal(t[2], "gone"))
                ok = fw.ChangeStation(mac, Firmware::STATION_GONE);
            else
                ok = fw.ChangeStation(mac, Firmware::STATION_NEW, t[2]);
        }
        if (!ok)
            *error = "station: no such station, or no free slot";
        return ok;
    }
    *error = "not a line a running card takes";
    return false;
}

bool SimDevice::ApplyLines(Firmware& fw, const char* text, uint32_t length, SimTextResult& result)
{
    Fill(&result, 0, sizeof result);
    uint32_t pos = 0;
    int lineNo = 0;
    char line[ScenarioParser::kMaxLine];
    while (ScenarioParser::NextLine(text, length, &pos, line, sizeof line)) {
        ++lineNo;
        char* tokens[ScenarioParser::kMaxTokens];
        int count = ScenarioParser::Tokenise(line, tokens, ScenarioParser::kMaxTokens);
        if (count == 0)
            continue;
        const char* error = "unclosed quote or too many values";
        if (count < 0 || !ApplyLine(fw, tokens, count, &error)) {
            result.line = lineNo;
            Copy(result.message, sizeof result.message, error);
            return false;
        }
    }
    result.ok = 1;
    return true;
}

void SimDevice::FillState(Firmware& fw, SimState& state)
{
    Fill(&state, 0, sizeof state);
    fw.FillState(state);
    for (int i = 0; i < SIM_REQ_KINDS; ++i)
        state.requests[i] = m_requests[i];
    state.driverBase = m_driverBase;
}

uint32_t SimDevice::Control(uint32_t code, const void* in, uint32_t inSize, void* out,
                            uint32_t outSize, uint32_t* information)
{
    return Control(m_firmware, m_scratch, code, in, inSize, out, outSize, information);
}

uint32_t SimDevice::Control(Firmware& fw, Scenario& scratch, uint32_t code, const void* in,
                            uint32_t inSize, void* out, uint32_t outSize, uint32_t* information)
{
    *information = 0;
    if (!in)
        inSize = 0;
    if (!out)
        outSize = 0;
    int kind = SIM_REQ_PRIVATE;
    uint32_t status = Serve(fw, scratch, code, in, inSize, out, outSize, information, &kind);
    if (status == SIM_STATUS_SUCCESS)
        ++m_requests[kind];
    else {
        ++m_requests[SIM_REQ_FAILED];
        *information = 0;
    }
    return status;
}

uint32_t SimDevice::Serve(Firmware& fw, Scenario& scratch, uint32_t code, const void* inBuf,
                          uint32_t inSize, void* outBuf, uint32_t outSize, uint32_t* information,
                          int* kind)
{
    const uint8_t* in = static_cast<const uint8_t*>(inBuf);
    uint8_t* out = static_cast<uint8_t*>(outBuf);
    uint16_t port = 0;

    switch (code) {
    case SIM_IOCTL_READ_BYTE:
    case SIM_IOCTL_READ_WORD: {
        uint32_t width = code == SIM_IOCTL_READ_BYTE ? 1 : 2;
        *kind = width == 1 ? SIM_REQ_READ_BYTE : SIM_REQ_READ_WORD;
        if (inSize < 4 || outSize < width)
            return SIM_STATUS_BUFFER_TOO_SMALL;
        if (!PortFrom(in, &port) || !OnCard(fw, port, width))
            return SIM_STATUS_INVALID_PARAMETER;
        uint16_t value = 0;
        BusRead(fw, port, width, &value);
        out[0] = static_cast<uint8_t>(value);
        if (width == 2)
            out[1] = static_cast<uint8_t>(value >> 8);
        *information = width;
        return SIM_STATUS_SUCCESS;
    }
    case SIM_IOCTL_WRITE_BYTE:
    case SIM_IOCTL_WRITE_WORD: {
        uint32_t width = code == SIM_IOCTL_WRITE_BYTE ? 1 : 2;
        *kind = width == 1 ? SIM_REQ_WRITE_BYTE : SIM_REQ_WRITE_WORD;
        if (inSize < 4 + width)
            return SIM_STATUS_BUFFER_TOO_SMALL;
        if (!PortFrom(in, &port) || !OnCard(fw, port, width))
            return SIM_STATUS_INVALID_PARAMETER;
        BusWrite(fw, port, width, width == 1 ? in[4] : Word(in + 4));
        return SIM_STATUS_SUCCESS;
    }
    case SIM_IOCTL_BLOCK_READ:
    case SIM_IOCTL_BLOCK_WRITE: {
        bool read = code == SIM_IOCTL_BLOCK_READ;
        *kind = read ? SIM_REQ_BLOCK_READ : SIM_REQ_BLOCK_WRITE;
        if (inSize < sizeof(SimBlockHeader))
            return SIM_STATUS_BUFFER_TOO_SMALL;
        uint16_t reserved = Word(in);
        uint16_t addressPort = static_cast<uint16_t>(m_driverBase + Word(in + 2));
        uint16_t dataPort = static_cast<uint16_t>(m_driverBase + Word(in + 4));
        uint16_t address = Word(in + 6);
        uint32_t count = Word(in + 8);
        uint32_t words = read ? (count + 1) / 2 : count / 2;
        if (m_driverBase == 0)
            return SIM_STATUS_DEVICE_NOT_READY;
        if (reserved != 0 || Word(in + 2) >= SIM_REGISTER_SPAN ||
            Word(in + 4) >= SIM_REGISTER_SPAN || !OnCard(fw, addressPort, 2) ||
            !OnCard(fw, dataPort, 2))
            return SIM_STATUS_INVALID_PARAMETER;
        if (read ? outSize < 2 * words : inSize < sizeof(SimBlockHeader) + 2 * words)
            return SIM_STATUS_BUFFER_TOO_SMALL;
        BusWrite(fw, addressPort, 2, address);
        for (uint32_t i = 0; i < words; ++i) {
            if (read) {
                uint16_t value = 0;
                BusRead(fw, dataPort, 2, &value);
                PutWord(out + 2 * i, value);
            } else {
                BusWrite(fw, dataPort, 2, Word(in + sizeof(SimBlockHeader) + 2 * i));
            }
        }
        if (read)
            *information = 2 * words;
        return SIM_STATUS_SUCCESS;
    }
    case SIM_IOCTL_SET_BASE: {
        *kind = SIM_REQ_SET_BASE;
        if (inSize < 2 || outSize < 2)
            return SIM_STATUS_BUFFER_TOO_SMALL;
        m_driverBase = Word(in);
        // The answer tells whether a card sits at that base.
        PutWord(out, m_driverBase == fw.World().ioBase ? 1 : 0);
        *information = 2;
        return SIM_STATUS_SUCCESS;
    }
    case SIM_IOCTL_RAW_READ:
    case SIM_IOCTL_RAW_WRITE: {
        bool read = code == SIM_IOCTL_RAW_READ;
        *kind = read ? SIM_REQ_RAW_READ : SIM_REQ_RAW_WRITE;
        if (inSize < sizeof(SimRawPort) || (read && outSize < sizeof(SimRawPort)))
            return SIM_STATUS_BUFFER_TOO_SMALL;
        SimRawPort request;
        Move(&request, in, sizeof request);
        if (request.width != 1 && request.width != 2)
            return SIM_STATUS_INVALID_PARAMETER;
        if (read) {
            BusRead(fw, request.port, request.width, &request.value);
            Move(out, &request, sizeof request);
            *information = sizeof request;
        } else {
            BusWrite(fw, request.port, request.width, request.value);
        }
        return SIM_STATUS_SUCCESS;
    }
    case SIM_IOCTL_LOAD_SCENARIO:
    case SIM_IOCTL_APPLY_LINES: {
        if (inSize == 0)
            return SIM_STATUS_INVALID_PARAMETER;
        if (outSize < sizeof(SimTextResult))
            return SIM_STATUS_BUFFER_TOO_SMALL;
        SimTextResult result;
        if (code == SIM_IOCTL_LOAD_SCENARIO)
            LoadScenario(fw, scratch, reinterpret_cast<const char*>(in), inSize, result);
        else
            ApplyLines(fw, reinterpret_cast<const char*>(in), inSize, result);
        Move(out, &result, sizeof result);
        *information = sizeof result;
        return SIM_STATUS_SUCCESS;
    }
    case SIM_IOCTL_SET_FAULT: {
        if (inSize < sizeof(SimFaultRequest))
            return SIM_STATUS_BUFFER_TOO_SMALL;
        SimFaultRequest request;
        Move(&request, in, sizeof request);
        if (request.fault >= SIM_FAULT_COUNT)
            return SIM_STATUS_INVALID_PARAMETER;
        fw.SetFault(request.fault, request.enable != 0, request.arg);
        return SIM_STATUS_SUCCESS;
    }
    case SIM_IOCTL_SET_SIGNAL: {
        if (inSize < sizeof(SimSignalRequest))
            return SIM_STATUS_BUFFER_TOO_SMALL;
        SimSignalRequest request;
        Move(&request, in, sizeof request);
        if (!fw.SetSignal(request.cellIndex, request.bssid, request.signal))
            return SIM_STATUS_INVALID_PARAMETER;
        return SIM_STATUS_SUCCESS;
    }
    case SIM_IOCTL_GET_STATE: {
        if (outSize < sizeof(SimState))
            return SIM_STATUS_BUFFER_TOO_SMALL;
        SimState state;
        FillState(fw, state);
        Move(out, &state, sizeof state);
        *information = sizeof state;
        return SIM_STATUS_SUCCESS;
    }
    case SIM_IOCTL_SET_PARAM: {
        if (inSize < sizeof(SimParamRequest))
            return SIM_STATUS_BUFFER_TOO_SMALL;
        SimParamRequest request;
        Move(&request, in, sizeof request);
        if (request.length > sizeof request.value)
            return SIM_STATUS_INVALID_PARAMETER;
        fw.Advance();
        uint16_t status = fw.SetParam(request.code, request.value, request.length);
        if (outSize >= 2) {
            PutWord(out, status);
            *information = 2;
        }
        return SIM_STATUS_SUCCESS;
    }
    case SIM_IOCTL_RESET_COUNTS:
        ResetCounts();
        return SIM_STATUS_SUCCESS;
    case SIM_IOCTL_NOP:
        return SIM_STATUS_SUCCESS;
    default:
        return SIM_STATUS_INVALID_DEVICE_REQUEST;
    }
}
