// SimCard.h - test fixture: the simulated card in process. Owns a card core
// and firmware behind the razuDov request dispatcher, driven by a fake clock,
// and installs fakes into the Os seam so that the program's driver requests
// (CreateFileA on \\.\razuDov, DeviceIoControl, CloseHandle), its port
// instructions (InByte/InWord/OutByte/OutWord) and its time (Sleep,
// GetTickCount) all reach the card without real time passing. Counts what
// the program did, so tests can assert on paths. One SimCard at a time.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/Os.h"
#include "sim/SimDevice.h"
#include "sim/SimProtocol.h"

class SimCard
{
public:
    // One DeviceIoControl call as the program made it.
    struct DriverCall
    {
        DWORD code;
        DWORD openAccess; // access and share of the handle it used
        DWORD openShare;
        std::vector<uint8_t> input;
        DWORD outSize;
        bool ok;
        DWORD returned;
    };

    // Powers the card up with the scenario text (the built-in default when
    // null) and installs the fakes. A scenario that does not parse fails
    // the test (ADD_FAILURE) and leaves the default scenario loaded.
    explicit SimCard(const char* scenario = nullptr);
    ~SimCard();
    SimCard(const SimCard&) = delete;
    SimCard& operator=(const SimCard&) = delete;

    // Scenario control.
    bool Load(const char* scenarioText);
    bool Apply(const char* lines); // setting/signal/fault/traffic lines
    const std::string& LastError() const { return m_lastError; }
    void SetFault(SimFault fault, bool on = true, uint32_t arg = 0);
    bool SetSignal(int cell, uint16_t signal);

    // The driver: when missing, opening \\.\razuDov fails with
    // ERROR_FILE_NOT_FOUND. When failing, every control request fails with
    // ERROR_GEN_FAILURE. When closeFails, CloseHandle on the device fails
    // (the handle is released all the same).
    void SetDriverMissing(bool missing) { m_driverMissing = missing; }
    void SetRequestsFail(bool fail) { m_requestsFail = fail; }
    void SetCloseFails(bool fail) { m_closeFails = fail; }
    // The base the driver was told (DriverSetBase). The fixture starts with
    // the card's own base, as after discovery; 0 means never told, and the
    // block requests then fail.
    void SetDriverBase(uint16_t base) { m_device->SetDriverBase(base); }

    // The firmware's answers, by command and code (the parameter code or
    // status sub-code of the mailbox block). A silenced command gets no
    // answer for as long as the program polls for one (it then gives up);
    // the firmware finishes it afterwards, so the next command is answered
    // as usual. A command with a chosen answer gets that value, status OK,
    // instead of the firmware's own. Rules hold until cleared.
    // kAnyCode silences a command whatever its code.
    static const uint16_t kAnyCode = 0xFFFF;
    void Silence(uint16_t command, uint16_t code, bool on = true);
    void ChooseAnswer(uint16_t command, uint16_t code, const void* value, size_t size);
    void ClearAnswerRules();
    // Sees every answer the firmware gives, with the table index the command
    // asked for, after the rules above; it may change the answer's value.
    using AnswerWatch =
        std::function<void(uint16_t command, uint16_t code, uint16_t index, uint8_t* value)>;
    void WatchAnswers(AnswerWatch watch) { m_watch = std::move(watch); }
    // Commands the firmware took up since the last ResetCounts: by command
    // and code (kAnyCode: every code), or all of them.
    uint32_t Commands(uint16_t command, uint16_t code) const;
    uint32_t Commands() const;

    // Fake clock, in milliseconds. Sleep advances it.
    uint32_t Now() const { return m_now; }
    void Advance(uint32_t ms) { m_now += ms; }
    uint64_t TotalSleep() const { return m_totalSleep; }
    uint32_t SleepCalls() const { return m_sleepCalls; }

    // What the program did.
    uint32_t DriverRequests() const;           // DeviceIoControl calls on the device
    uint32_t DriverRequests(DWORD code) const; // by control code
    const std::vector<DriverCall>& Calls() const { return m_calls; }
    uint32_t Opens() const { return m_opens; } // successful opens of the device
    uint32_t FailedOpens() const { return m_failedOpens; }
    uint32_t Closes() const { return m_closes; }
    size_t OpenHandles() const { return m_handles.size(); }
    uint32_t PortInstructions() const { return m_portInstructions; }
    void ResetCounts();

    // The simulation itself.
    SimDevice& Device() { return *m_device; }
    Firmware& Fw() { return m_device->Fw(); }
    CardCore& Core() { return m_device->Core(); }
    uint16_t IoBase() { return Fw().World().ioBase; }

    static SimCard* Current() { return s_current; }

private:
    struct Handle
    {
        DWORD access;
        DWORD share;
    };

    static uint32_t Clock(void* context);
    static bool FilterAnswer(void* context, uint16_t command, uint16_t code, uint16_t index,
                             uint32_t tries, uint8_t* answer, uint16_t* status);
    static HANDLE WINAPI FakeCreateFileA(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                                         HANDLE);
    static BOOL WINAPI FakeDeviceIoControl(HANDLE, DWORD, LPVOID, DWORD, LPVOID, DWORD, LPDWORD,
                                           LPOVERLAPPED);
    static BOOL WINAPI FakeCloseHandle(HANDLE);
    static void WINAPI FakeSleep(DWORD);
    static DWORD WINAPI FakeGetTickCount();
    static BYTE FakeInByte(WORD);
    static WORD FakeInWord(WORD);
    static void FakeOutByte(WORD, BYTE);
    static void FakeOutWord(WORD, WORD);

    static SimCard* s_current;

    OsGuard m_guard;
    std::unique_ptr<SimDevice> m_device;
    std::string m_lastError;
    uint32_t m_now = 0;
    uint64_t m_totalSleep = 0;
    uint32_t m_sleepCalls = 0;
    bool m_driverMissing = false;
    bool m_requestsFail = false;
    bool m_closeFails = false;
    uintptr_t m_nextHandle = 0x5A170000;
    std::map<HANDLE, Handle> m_handles;
    std::map<DWORD, uint32_t> m_requestsByCode;
    std::vector<DriverCall> m_calls;
    uint32_t m_opens = 0;
    uint32_t m_failedOpens = 0;
    uint32_t m_closes = 0;
    uint32_t m_portInstructions = 0;
    // Keyed by command << 16 | code.
    std::map<uint32_t, uint32_t> m_commands;
    std::map<uint32_t, bool> m_silenced;
    std::map<uint32_t, std::vector<uint8_t>> m_answers;
    AnswerWatch m_watch;
};
