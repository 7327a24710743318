// SimCard.cpp - the in-process simulated card and its Os seam fakes.
#include "tests/support/SimCard.h"

#include "adapter/Mailbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

SimCard* SimCard::s_current = nullptr;

namespace {

// What the I/O manager makes of the dispatcher's status.
DWORD Win32Error(uint32_t status)
{
    switch (status) {
    case SIM_STATUS_INVALID_PARAMETER:
        return ERROR_INVALID_PARAMETER;
    case SIM_STATUS_BUFFER_TOO_SMALL:
        return ERROR_INSUFFICIENT_BUFFER;
    case SIM_STATUS_INVALID_DEVICE_REQUEST:
        return ERROR_INVALID_FUNCTION;
    case SIM_STATUS_DEVICE_NOT_READY:
        return ERROR_NOT_READY;
    default:
        return ERROR_GEN_FAILURE;
    }
}

uint32_t RuleKey(uint16_t command, uint16_t code)
{
    return static_cast<uint32_t>(command) << 16 | code;
}

} // namespace

SimCard::SimCard(const char* scenario) : m_device(new SimDevice)
{
    if (s_current)
        ADD_FAILURE() << "only one SimCard may exist at a time";
    s_current = this;
    m_device->Init(&SimCard::Clock, this);
    Fw().SetAnswerFilter(&SimCard::FilterAnswer, this);
    if (scenario && !Load(scenario))
        ADD_FAILURE() << "scenario does not load: " << m_lastError;
    // As after discovery on Windows NT: the driver knows where the card is.
    m_device->SetDriverBase(IoBase());

    g_os.CreateFileA = &SimCard::FakeCreateFileA;
    g_os.DeviceIoControl = &SimCard::FakeDeviceIoControl;
    g_os.CloseHandle = &SimCard::FakeCloseHandle;
    g_os.Sleep = &SimCard::FakeSleep;
    g_os.GetTickCount = &SimCard::FakeGetTickCount;
    g_os.InByte = &SimCard::FakeInByte;
    g_os.InWord = &SimCard::FakeInWord;
    g_os.OutByte = &SimCard::FakeOutByte;
    g_os.OutWord = &SimCard::FakeOutWord;
}

SimCard::~SimCard()
{
    Firmware::SetAnswerFilter(nullptr, nullptr);
    Firmware::SetMachineClock(nullptr, nullptr);
    s_current = nullptr;
    // m_guard restores the Os table.
}

bool SimCard::Load(const char* scenarioText)
{
    SimTextResult result;
    if (m_device->LoadScenario(scenarioText, static_cast<uint32_t>(std::strlen(scenarioText)),
                               result)) {
        m_lastError.clear();
        m_device->SetDriverBase(IoBase());
        return true;
    }
    m_lastError = "line " + std::to_string(result.line) + ": " + result.message;
    return false;
}

bool SimCard::Apply(const char* lines)
{
    SimTextResult result;
    if (m_device->ApplyLines(lines, static_cast<uint32_t>(std::strlen(lines)), result)) {
        m_lastError.clear();
        return true;
    }
    m_lastError = "line " + std::to_string(result.line) + ": " + result.message;
    return false;
}

void SimCard::SetFault(SimFault fault, bool on, uint32_t arg)
{
    Fw().SetFault(fault, on, arg);
}

bool SimCard::SetSignal(int cell, uint16_t signal)
{
    return Fw().SetSignal(cell, nullptr, signal);
}

uint32_t SimCard::DriverRequests() const
{
    return static_cast<uint32_t>(m_calls.size());
}

uint32_t SimCard::DriverRequests(DWORD code) const
{
    auto it = m_requestsByCode.find(code);
    return it == m_requestsByCode.end() ? 0 : it->second;
}

void SimCard::Silence(uint16_t command, uint16_t code, bool on)
{
    if (on)
        m_silenced[RuleKey(command, code)] = true;
    else
        m_silenced.erase(RuleKey(command, code));
}

void SimCard::ChooseAnswer(uint16_t command, uint16_t code, const void* value, size_t size)
{
    const uint8_t* bytes = static_cast<const uint8_t*>(value);
    m_answers[RuleKey(command, code)].assign(bytes, bytes + size);
}

void SimCard::ClearAnswerRules()
{
    m_silenced.clear();
    m_answers.clear();
}

uint32_t SimCard::Commands(uint16_t command, uint16_t code) const
{
    uint32_t n = 0;
    for (const auto& taken : m_commands)
        if (taken.first == RuleKey(command, code) ||
            (code == kAnyCode && taken.first >> 16 == command))
            n += taken.second;
    return n;
}

uint32_t SimCard::Commands() const
{
    uint32_t n = 0;
    for (const auto& taken : m_commands)
        n += taken.second;
    return n;
}

bool SimCard::FilterAnswer(void* context, uint16_t command, uint16_t code, uint16_t index,
                           uint32_t tries, uint8_t* answer, uint16_t* status)
{
    SimCard* self = static_cast<SimCard*>(context);
    const uint32_t key = RuleKey(command, code);
    if (!answer) {
        if (tries == 1)
            ++self->m_commands[key];
        // Silent through every poll of the program's wait; the poll after
        // it (the next command's wait for a free mailbox) finds it done.
        const bool silenced =
            self->m_silenced.count(key) || self->m_silenced.count(RuleKey(command, kAnyCode));
        return !(silenced && tries <= static_cast<uint32_t>(MAILBOX_POLLS));
    }
    auto chosen = self->m_answers.find(key);
    if (chosen != self->m_answers.end()) {
        std::memset(answer, 0, MAILBOX_VALUE_SIZE);
        std::memcpy(answer, chosen->second.data(),
                    std::min(chosen->second.size(), MAILBOX_VALUE_SIZE));
        *status = Firmware::STATUS_OK;
    }
    if (self->m_watch)
        self->m_watch(command, code, index, answer);
    return true;
}

void SimCard::ResetCounts()
{
    m_commands.clear();
    m_requestsByCode.clear();
    m_calls.clear();
    m_opens = m_failedOpens = m_closes = m_portInstructions = 0;
    m_totalSleep = 0;
    m_sleepCalls = 0;
}

uint32_t SimCard::Clock(void* context)
{
    return static_cast<SimCard*>(context)->m_now;
}

HANDLE WINAPI SimCard::FakeCreateFileA(LPCSTR name, DWORD access, DWORD share,
                                       LPSECURITY_ATTRIBUTES sa, DWORD disposition, DWORD flags,
                                       HANDLE templ)
{
    SimCard* self = s_current;
    if (!self || !name || lstrcmpiA(name, SIM_USER_PATH) != 0)
        return RealOs().CreateFileA(name, access, share, sa, disposition, flags, templ);
    if (self->m_driverMissing || disposition != OPEN_EXISTING) {
        ++self->m_failedOpens;
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE h = reinterpret_cast<HANDLE>(self->m_nextHandle);
    self->m_nextHandle += 4;
    self->m_handles[h] = Handle{access, share};
    ++self->m_opens;
    return h;
}

BOOL WINAPI SimCard::FakeDeviceIoControl(HANDLE dev, DWORD code, LPVOID in, DWORD inSize,
                                         LPVOID out, DWORD outSize, LPDWORD returned,
                                         LPOVERLAPPED ov)
{
    SimCard* self = s_current;
    if (!self || self->m_handles.find(dev) == self->m_handles.end())
        return RealOs().DeviceIoControl(dev, code, in, inSize, out, outSize, returned, ov);
    auto it = self->m_handles.find(dev);

    DriverCall call;
    call.code = code;
    call.openAccess = it->second.access;
    call.openShare = it->second.share;
    if (in && inSize)
        call.input.assign(static_cast<uint8_t*>(in), static_cast<uint8_t*>(in) + inSize);
    call.outSize = outSize;
    call.ok = false;
    call.returned = 0;
    ++self->m_requestsByCode[code];

    DWORD error = 0;
    DWORD required = (code >> 14) & 3;
    if (((required & 1) && !(it->second.access & (GENERIC_READ | GENERIC_ALL))) ||
        ((required & 2) && !(it->second.access & (GENERIC_WRITE | GENERIC_ALL)))) {
        error = ERROR_ACCESS_DENIED;
    } else if (self->m_requestsFail) {
        error = ERROR_GEN_FAILURE;
    } else {
        // METHOD_BUFFERED: one system buffer holds the input and receives the output.
        std::vector<uint8_t> system(inSize > outSize ? inSize : outSize);
        if (in && inSize)
            std::memcpy(system.data(), in, inSize);
        uint32_t information = 0;
        uint32_t status = self->m_device->Control(code, system.data(), in ? inSize : 0,
                                                  system.data(), out ? outSize : 0, &information);
        if (status == SIM_STATUS_SUCCESS) {
            if (out && information)
                std::memcpy(out, system.data(), information);
            call.ok = true;
            call.returned = information;
        } else {
            error = Win32Error(status);
        }
    }
    if (returned)
        *returned = call.returned;
    self->m_calls.push_back(call);
    if (!call.ok)
        SetLastError(error);
    return call.ok ? TRUE : FALSE;
}

BOOL WINAPI SimCard::FakeCloseHandle(HANDLE h)
{
    SimCard* self = s_current;
    if (!self || !self->m_handles.erase(h))
        return RealOs().CloseHandle(h);
    ++self->m_closes;
    if (self->m_closeFails) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

void WINAPI SimCard::FakeSleep(DWORD ms)
{
    if (SimCard* self = s_current) {
        self->m_now += ms;
        self->m_totalSleep += ms;
        ++self->m_sleepCalls;
    }
}

DWORD WINAPI SimCard::FakeGetTickCount()
{
    return s_current ? 0x10000 + s_current->m_now : 0;
}

BYTE SimCard::FakeInByte(WORD port)
{
    uint16_t value = 0xFF;
    if (SimCard* self = s_current) {
        ++self->m_portInstructions;
        self->m_device->BusRead(port, 1, &value);
    }
    return static_cast<BYTE>(value);
}

WORD SimCard::FakeInWord(WORD port)
{
    uint16_t value = 0xFFFF;
    if (SimCard* self = s_current) {
        ++self->m_portInstructions;
        self->m_device->BusRead(port, 2, &value);
    }
    return value;
}

void SimCard::FakeOutByte(WORD port, BYTE value)
{
    if (SimCard* self = s_current) {
        ++self->m_portInstructions;
        self->m_device->BusWrite(port, 1, value);
    }
}

void SimCard::FakeOutWord(WORD port, WORD value)
{
    if (SimCard* self = s_current) {
        ++self->m_portInstructions;
        self->m_device->BusWrite(port, 2, value);
    }
}
