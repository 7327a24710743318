// DriverTest.cpp - razuDov.sys end to end: installs the driver in this Wine
// prefix as a kernel service (copied to system32\drivers, created and
// started through the service manager as "sc create/start" would), then
// talks to it with CreateFileA and DeviceIoControl, and runs real IN/OUT
// instructions through the port trap.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "sim/PortTrap.h"
#include "sim/SharedCard.h"
#include "sim/SimProtocol.h"

namespace {

std::string g_skipReason;

std::vector<char> ReadAll(const char* path)
{
    std::vector<char> data;
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return data;
    char buffer[8192];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        data.insert(data.end(), buffer, buffer + n);
    std::fclose(f);
    return data;
}

std::string InstallAndStart()
{
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    std::string target = std::string(system) + "\\drivers\\razuDov.sys";

    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager)
        return "the service manager cannot be opened (error " + std::to_string(GetLastError()) +
               ")";
    SC_HANDLE service = OpenServiceA(manager, "razuDov", SERVICE_ALL_ACCESS);
    if (!service) {
        service = CreateServiceA(manager, "razuDov", "razuDov", SERVICE_ALL_ACCESS,
                                 SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                 target.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
        if (!service) {
            DWORD error = GetLastError();
            CloseServiceHandle(manager);
            return "the razuDov service cannot be created (error " + std::to_string(error) + ")";
        }
    }
    // Replace the installed file only when it differs, and never under a running driver.
    std::vector<char> built = ReadAll(SIM_DRIVER_FILE);
    if (built.empty()) {
        CloseServiceHandle(service);
        CloseServiceHandle(manager);
        return std::string("the built driver is missing: ") + SIM_DRIVER_FILE;
    }
    if (ReadAll(target.c_str()) != built) {
        SERVICE_STATUS status;
        if (ControlService(service, SERVICE_CONTROL_STOP, &status))
            for (int i = 0; i < 50 && QueryServiceStatus(service, &status) &&
                            status.dwCurrentState != SERVICE_STOPPED;
                 ++i)
                Sleep(100);
        CopyFileA(SIM_DRIVER_FILE, target.c_str(), FALSE);
    }
    // Right after a prefix is made the service manager may still hold its
    // database lock for a few seconds.
    std::string result;
    DWORD error = ERROR_SERVICE_DATABASE_LOCKED;
    for (int tries = 0; error == ERROR_SERVICE_DATABASE_LOCKED && tries < 100; ++tries) {
        error = StartServiceA(service, 0, nullptr) ? ERROR_SUCCESS : GetLastError();
        if (error == ERROR_SERVICE_DATABASE_LOCKED)
            Sleep(100);
    }
    if (error != ERROR_SUCCESS && error != ERROR_SERVICE_ALREADY_RUNNING)
        result = "the razuDov service does not start (error " + std::to_string(error) + ")";
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return result;
}

bool StopDriver()
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = manager ? OpenServiceA(manager, "razuDov", SERVICE_ALL_ACCESS) : nullptr;
    SERVICE_STATUS status = {};
    bool stopped = service && ControlService(service, SERVICE_CONTROL_STOP, &status);
    for (DWORD start = GetTickCount(); stopped && QueryServiceStatus(service, &status) &&
                                       status.dwCurrentState != SERVICE_STOPPED;) {
        if (GetTickCount() - start > 60000)
            stopped = false;
        Sleep(10);
    }
    if (service)
        CloseServiceHandle(service);
    if (manager)
        CloseServiceHandle(manager);
    return stopped;
}

class DriverEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { g_skipReason = InstallAndStart(); }
};

const ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new DriverEnvironment);

class Driver : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!g_skipReason.empty())
            GTEST_SKIP() << g_skipReason;
        ASSERT_TRUE(Load("isa"));
    }

    void TearDown() override
    {
        if (g_skipReason.empty())
            Load("default");
    }

    // Open, one request, close: as the program does it.
    static bool Request(DWORD code, DWORD access, DWORD share, const void* in, DWORD inSize,
                        void* out, DWORD outSize, DWORD* returned = nullptr, DWORD* error = nullptr)
    {
        HANDLE h = CreateFileA(SIM_USER_PATH, access, share, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            ADD_FAILURE() << "cannot open " << SIM_USER_PATH << ": " << GetLastError();
            return false;
        }
        DWORD got = 0xDEAD;
        BOOL ok =
            DeviceIoControl(h, code, const_cast<void*>(in), inSize, out, outSize, &got, nullptr);
        if (error)
            *error = GetLastError();
        CloseHandle(h);
        if (returned)
            *returned = got;
        return ok != FALSE;
    }

    static bool Load(const char* name)
    {
        std::string path = std::string(SIM_SCENARIO_DIR) + "/" + name + ".txt";
        std::vector<char> text = ReadAll(path.c_str());
        SimTextResult result = {};
        if (text.empty() || !Request(SIM_IOCTL_LOAD_SCENARIO, 0, 0, text.data(),
                                     static_cast<DWORD>(text.size()), &result, sizeof result))
            return false;
        EXPECT_EQ(1, result.ok) << name << " line " << result.line << ": " << result.message;
        return result.ok == 1;
    }

    static SimState State()
    {
        SimState state = {};
        EXPECT_TRUE(Request(SIM_IOCTL_GET_STATE, 0, 0, nullptr, 0, &state, sizeof state));
        return state;
    }

    static uint16_t SetBase(uint16_t base)
    {
        uint16_t answer = 0xFFFF;
        DWORD returned = 0;
        EXPECT_TRUE(Request(SIM_IOCTL_SET_BASE, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, &base, 2,
                            &answer, 2, &returned));
        EXPECT_EQ(2u, returned);
        return answer;
    }

    static bool ReadBlock(uint16_t address, uint8_t* data, uint16_t count,
                          DWORD* returned = nullptr)
    {
        SimBlockHeader header = {0, 2, 4, address, count};
        return Request(SIM_IOCTL_BLOCK_READ, 0, FILE_SHARE_WRITE, &header, sizeof header, data,
                       static_cast<DWORD>((count + 1) & ~1), returned);
    }

    static bool WriteBlock(uint16_t address, const uint8_t* data, uint16_t count)
    {
        std::vector<uint8_t> in(sizeof(SimBlockHeader) + count);
        SimBlockHeader header = {0, 2, 4, address, count};
        std::memcpy(in.data(), &header, sizeof header);
        std::memcpy(in.data() + sizeof header, data, count);
        return Request(SIM_IOCTL_BLOCK_WRITE, GENERIC_WRITE, FILE_SHARE_WRITE, in.data(),
                       static_cast<DWORD>(in.size()), nullptr, 0);
    }
};

TEST_F(Driver, SinglePortRequestsCountFrom0x240)
{
    int32_t port = 0x302 - 0x240;
    uint8_t in[6];
    std::memcpy(in, &port, 4);
    in[4] = 0xFF;
    in[5] = 0x01;
    ASSERT_TRUE(Request(SIM_IOCTL_WRITE_WORD, GENERIC_WRITE, FILE_SHARE_WRITE, in, 6, nullptr, 0));
    uint16_t pointer = 0;
    DWORD returned = 0;
    port = 0x304 - 0x240;
    ASSERT_TRUE(Request(SIM_IOCTL_READ_WORD, GENERIC_READ, FILE_SHARE_READ, &port, 4, &pointer, 2,
                        &returned));
    EXPECT_EQ(2u, returned);
    EXPECT_EQ(0x0400, pointer) << "the isa scenario's mailbox pointer at word 0x1FF";
    uint8_t low = 0;
    port = 0x302 - 0x240;
    ASSERT_TRUE(
        Request(SIM_IOCTL_READ_BYTE, GENERIC_READ, FILE_SHARE_READ, &port, 4, &low, 1, &returned));
    EXPECT_EQ(1u, returned);
    EXPECT_EQ(0x00, low) << "the address stepped to 0x200";
}

TEST_F(Driver, MailboxCommandThroughBlockTransfers)
{
    EXPECT_EQ(1, SetBase(0x300));
    uint8_t block[38] = {0x10, 0x00, 0xFF, 0xFF, 0x0D, 0x10};
    ASSERT_TRUE(WriteBlock(0x0400, block, 38));
    uint16_t status = 0xFFFF;
    for (int poll = 0; poll < 10 && status == 0xFFFF; ++poll) {
        Sleep(50);
        DWORD returned = 0;
        ASSERT_TRUE(ReadBlock(0x0400, block, 38, &returned));
        EXPECT_EQ(38u, returned);
        status = static_cast<uint16_t>(block[2] | (block[3] << 8));
    }
    EXPECT_EQ(0, status);
    EXPECT_EQ(301, block[6] | (block[7] << 8)) << "firmware version";
    SimState state = State();
    EXPECT_EQ(1u, state.commandsAnswered);
    EXPECT_EQ(0x300, state.driverBase);
}

TEST_F(Driver, RefusesMalformedRequests)
{
    DWORD error = 0, returned = 7;
    uint8_t small[3] = {2, 0, 0};
    uint16_t value = 0x5555;
    EXPECT_FALSE(Request(SIM_IOCTL_READ_WORD, GENERIC_READ, FILE_SHARE_READ, small, 3, &value, 2,
                         &returned, &error));
    EXPECT_NE(0u, error);
    EXPECT_EQ(0x5555, value);
    SetBase(0x300);
    SimBlockHeader header = {0, 2, 4, 0x400, 38};
    uint8_t out[38];
    EXPECT_FALSE(Request(SIM_IOCTL_BLOCK_READ, 0, FILE_SHARE_WRITE, &header, sizeof header, out, 36,
                         &returned, &error));
    int32_t offCard = 0x3F8 - 0x240;
    EXPECT_FALSE(Request(SIM_IOCTL_READ_BYTE, GENERIC_READ, FILE_SHARE_READ, &offCard, 4, out, 1,
                         &returned, &error));
    EXPECT_FALSE(Request(0x9C402C00, 0, 0, nullptr, 0, nullptr, 0, &returned, &error))
        << "an unknown code";
    EXPECT_GE(State().requests[SIM_REQ_FAILED], 4u);
}

TEST_F(Driver, SetBaseTellsWhetherACardSitsThere)
{
    EXPECT_EQ(0, SetBase(0x240));
    EXPECT_EQ(1, SetBase(0x300));
}

TEST_F(Driver, FaultsAndSignalsReachTheRunningCard)
{
    SimFaultRequest fault = {SIM_FAULT_NO_ANSWER, 1, 0};
    ASSERT_TRUE(Request(SIM_IOCTL_SET_FAULT, 0, 0, &fault, sizeof fault, nullptr, 0));
    SimSignalRequest signal = {1, {}, 12, 0};
    ASSERT_TRUE(Request(SIM_IOCTL_SET_SIGNAL, 0, 0, &signal, sizeof signal, nullptr, 0));
    SimState state = State();
    EXPECT_EQ(1u << SIM_FAULT_NO_ANSWER, state.faults);
    EXPECT_NEAR(12, state.quality, 3);
}

// Real port instructions, trapped and performed on the simulated bus.
TEST_F(Driver, PortTrapPerformsInAndOut)
{
    ASSERT_TRUE(InstallPortTrapIfWine());
    unsigned short address = 0x302, data = 0x304;
    unsigned short pointer = 0;
    unsigned char high = 0;
    __asm__ __volatile__("outw %w0, %w1"
                         :
                         : "a"(static_cast<unsigned short>(0x1FF)), "Nd"(address));
    __asm__ __volatile__("inw %w1, %w0" : "=a"(pointer) : "Nd"(data));
    __asm__ __volatile__("inb %w1, %b0" : "=a"(high) : "Nd"(static_cast<unsigned short>(0x303)));
    unsigned char floating = 0;
    __asm__ __volatile__("inb $0x80, %b0" : "=a"(floating));
    PortTrapCounters counters = GetPortTrapCounters();
    RemovePortTrap();
    EXPECT_EQ(0x0400, pointer);
    EXPECT_EQ(0x02, high) << "the address stepped to 0x200";
    EXPECT_EQ(0xFF, floating) << "nothing at port 0x80";
    EXPECT_GE(counters.trapped, 4u);
    EXPECT_EQ(0u, counters.noDriver);
    EXPECT_GE(State().requests[SIM_REQ_RAW_READ], 3u);
}

// Runs a program with the arguments; returns its exit status and, when
// output is given, what it printed.
DWORD RunProgram(const char* program, const std::string& arguments, std::string* output = nullptr)
{
    std::string line = std::string("\"") + program + "\" " + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    char file[MAX_PATH] = {}, directory[MAX_PATH] = {};
    HANDLE printed = INVALID_HANDLE_VALUE;
    if (output) {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        GetTempPathA(sizeof directory, directory);
        GetTempFileNameA(directory, "out", 0, file);
        printed =
            CreateFileA(file, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = printed;
        si.hStdError = printed;
    }
    std::vector<char> command(line.begin(), line.end());
    command.push_back(0);
    DWORD code = 0xFFFFFFFF;
    if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, output != nullptr, 0, nullptr,
                       nullptr, &si, &pi)) {
        WaitForSingleObject(pi.hProcess, 30000);
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    if (output) {
        CloseHandle(printed);
        std::vector<char> text = ReadAll(file);
        output->assign(text.begin(), text.end());
        DeleteFileA(file);
    }
    return code;
}

DWORD Cardctl(const std::string& arguments, std::string* output = nullptr)
{
    return RunProgram(SIM_CARDCTL_FILE, arguments, output);
}

void OutWord(unsigned short port, unsigned short value)
{
    __asm__ __volatile__("outw %w0, %w1" : : "a"(value), "Nd"(port));
}

unsigned short InWord(unsigned short port)
{
    unsigned short value;
    __asm__ __volatile__("inw %w1, %w0" : "=a"(value) : "Nd"(port));
    return value;
}

// The card's section as a program maps it; unmapped on destruction.
class SectionView
{
public:
    SectionView()
    {
        m_mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, SIM_SECTION_USER_NAME);
        if (m_mapping)
            card = static_cast<SharedCard*>(
                MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SharedCard)));
    }
    ~SectionView()
    {
        if (card)
            UnmapViewOfFile(card);
        if (m_mapping)
            CloseHandle(m_mapping);
    }
    SectionView(const SectionView&) = delete;
    SectionView& operator=(const SectionView&) = delete;

    SharedCard* card = nullptr;

private:
    HANDLE m_mapping = nullptr;
};

// Runs work on a thread of its own: false when it has not finished within
// the time (the thread is then ended, so a hung side cannot hang the test).
template <class Work> bool FinishesWithin(DWORD milliseconds, Work work)
{
    struct Start
    {
        static DWORD WINAPI Run(void* p)
        {
            (*static_cast<Work*>(p))();
            return 0;
        }
    };
    HANDLE thread = CreateThread(nullptr, 0, &Start::Run, &work, 0, nullptr);
    if (!thread)
        return false;
    bool finished = WaitForSingleObject(thread, milliseconds) == WAIT_OBJECT_0;
    if (!finished)
        TerminateThread(thread, 1);
    CloseHandle(thread);
    return finished;
}

// One card however it is reached: what the program's trapped instructions
// write, cardctl reads through the driver, and the other way round.
TEST_F(Driver, PortTrapAndCardctlSeeOneCard)
{
    ASSERT_TRUE(InstallPortTrapIfWine());
    PortTrapCounters before = GetPortTrapCounters();
    OutWord(0x302, 0x6100);
    OutWord(0x304, 0xBEEF);
    std::string printed;
    EXPECT_EQ(0u, Cardctl("out 0x302 0x6100"));
    EXPECT_EQ(0u, Cardctl("in 0x304", &printed));
    EXPECT_EQ("0xBEEF", printed.substr(0, 6)) << printed;

    EXPECT_EQ(0u, Cardctl("out 0x302 0x6101"));
    EXPECT_EQ(0u, Cardctl("out 0x304 0x1234"));
    OutWord(0x302, 0x6101);
    EXPECT_EQ(0x1234, InWord(0x304));
    EXPECT_EQ(0x6102, InWord(0x302)) << "the data read stepped the card's own address";
    PortTrapCounters after = GetPortTrapCounters();
    RemovePortTrap();
    EXPECT_EQ(5u, after.shared - before.shared)
        << "every trapped instruction served on the shared card";
    EXPECT_EQ(0u, after.noDriver);
}

// The firmware's clock reads the same whichever side serves the card: the
// driver's time of a request falls between this process's readings around it.
TEST_F(Driver, BothSidesReadOneClock)
{
    LARGE_INTEGER frequency, a, b;
    QueryPerformanceFrequency(&frequency);
    auto ms = [&](const LARGE_INTEGER& t) {
        return static_cast<uint32_t>(static_cast<unsigned long long>(t.QuadPart) * 1000u /
                                     static_cast<unsigned long long>(frequency.QuadPart));
    };
    QueryPerformanceCounter(&a);
    SimState state = State();
    QueryPerformanceCounter(&b);
    EXPECT_LE(ms(a), state.nowMs);
    EXPECT_GE(ms(b), state.nowMs);
}

// A side that died holding the card's lock stalls neither the driver nor
// the program's trap for good.
TEST_F(Driver, ALockHeldByASideThatDiedIsTakenOver)
{
    SectionView view;
    ASSERT_NE(nullptr, view.card) << "razuDov shares no card";
    ASSERT_TRUE(view.card->Stamped());
    uint32_t takeovers = view.card->Lock().Takeovers();

    ASSERT_EQ(0u, RunProgram(SIM_HOLDER_FILE, ""));
    uint32_t dead = view.card->Lock().Owner();
    EXPECT_NE(0u, dead) << "the holder left the lock taken";
    SimState state = {};
    EXPECT_TRUE(FinishesWithin(20000, [&] { state = State(); })) << "the driver waits for good";
    EXPECT_STREQ("isa", state.scenarioName);
    EXPECT_EQ(takeovers + 1, view.card->Lock().Takeovers());
    EXPECT_NE(dead, view.card->Lock().Owner());

    ASSERT_EQ(0u, RunProgram(SIM_HOLDER_FILE, ""));
    ASSERT_TRUE(InstallPortTrapIfWine());
    PortTrapCounters before = GetPortTrapCounters();
    unsigned short pointer = 0;
    EXPECT_TRUE(FinishesWithin(20000, [&] {
        OutWord(0x302, 0x1FF);
        pointer = InWord(0x304);
    })) << "the trap waits for good";
    PortTrapCounters after = GetPortTrapCounters();
    RemovePortTrap();
    EXPECT_EQ(0x0400, pointer);
    EXPECT_EQ(1u, after.takeovers - before.takeovers);
    EXPECT_EQ(0u, view.card->Lock().Owner()) << "the trap let go again";
}

// Waits (up to a minute) for the condition, checking it again as other
// processes move; false when it never held.
template <class Condition> bool Eventually(Condition condition)
{
    for (DWORD start = GetTickCount(); !condition();) {
        if (GetTickCount() - start > 60000)
            return false;
        SwitchToThread();
        Sleep(1);
    }
    return true;
}

// A program that starts and goes on running; its process handle.
HANDLE StartProgram(const char* program, const std::string& arguments)
{
    std::string line = std::string("\"") + program + "\" " + arguments;
    std::vector<char> command(line.begin(), line.end());
    command.push_back(0);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

// A live program that keeps the card's lock: every side finds the card
// silent within its bounded wait (the driver refuses the simulation's
// requests and floats the product's; the trap floats the bus), and the card
// answers again once that program is gone.
TEST_F(Driver, ALockKeptByALiveProgramMakesASilentCardNotAStalledSide)
{
    SectionView view;
    ASSERT_NE(nullptr, view.card) << "razuDov shares no card";
    HANDLE holder = StartProgram(SIM_CARDCTL_FILE, "hold-lock 300");
    ASSERT_NE(nullptr, holder);
    DWORD holderId = GetProcessId(holder);
    ASSERT_TRUE(Eventually([&] { return view.card->Lock().Owner() == holderId; }));

    DWORD error = 0;
    SimState state = {};
    bool refused = false;
    EXPECT_TRUE(FinishesWithin(20000, [&] {
        refused =
            !Request(SIM_IOCTL_GET_STATE, 0, 0, nullptr, 0, &state, sizeof state, nullptr, &error);
    })) << "the driver waits for good";
    EXPECT_TRUE(refused);
    uint8_t block[38] = {};
    DWORD returned = 0;
    EXPECT_TRUE(FinishesWithin(20000, [&] { ReadBlock(0x0400, block, sizeof block, &returned); }));
    EXPECT_EQ(std::vector<uint8_t>(sizeof block, 0xFF),
              std::vector<uint8_t>(block, block + sizeof block))
        << "the driver path reads a floating bus";
    ASSERT_TRUE(InstallPortTrapIfWine());
    unsigned short pointer = 0;
    EXPECT_TRUE(FinishesWithin(20000, [&] {
        OutWord(0x302, 0x1FF);
        pointer = InWord(0x304);
    })) << "the trap waits for good";
    EXPECT_EQ(0xFFFF, pointer);

    TerminateProcess(holder, 1);
    WaitForSingleObject(holder, INFINITE);
    CloseHandle(holder);
    OutWord(0x302, 0x1FF);
    EXPECT_EQ(0x0400, InWord(0x304)) << "the card answers again";
    RemovePortTrap();
    EXPECT_STREQ("isa", State().scenarioName);
}

// Bytes written over the section by a program that takes no lock: the card
// answers nothing on every path, cardctl and the driver stay up, and loading
// a scenario powers the card up anew.
TEST_F(Driver, AScribbledSectionMakesASilentCardThatALoadMends)
{
    ASSERT_TRUE(InstallPortTrapIfWine());
    for (const char* what : {"stamp", "layout", "counts", "divisors", "texts"}) {
        ASSERT_EQ(0u, Cardctl(std::string("scribble ") + what)) << what;
        std::string printed;
        EXPECT_EQ(3u, Cardctl("state", &printed)) << what << ": " << printed;
        OutWord(0x302, 0x1FF);
        EXPECT_EQ(0xFFFF, InWord(0x304)) << what << ": the trapped bus floats";
        ASSERT_TRUE(Load("isa")) << what;
        OutWord(0x302, 0x1FF);
        EXPECT_EQ(0x0400, InWord(0x304)) << what << ": mended";
    }
    // Random bytes anywhere in the state, again and again.
    for (int round = 0; round < 20; ++round) {
        ASSERT_EQ(0u, Cardctl("scribble random 200"));
        OutWord(0x302, 0x1FF);
        InWord(0x304);
        EXPECT_TRUE(FinishesWithin(20000, [&] { Cardctl("state"); })) << "cardctl lives";
    }
    RemovePortTrap();
}

// The card is the machine's: the driver started again keeps it (its
// scenario, base and live state), not the built-in default, whether a
// program maps the section meanwhile (Windows 95/98 with the utility
// running) or none does (any NT machine, or 95/98 without the utility).
TEST_F(Driver, ADriverStartedAgainKeepsTheMachinesCard)
{
    RemovePortTrap(); // this process maps the section only where a case says so
    for (bool mapped : {true, false}) {
        const char* what = mapped ? "a program maps the section" : "no program maps it";
        ASSERT_TRUE(Load("isa")) << what;
        std::unique_ptr<SectionView> view(mapped ? new SectionView : nullptr);
        if (mapped) {
            ASSERT_NE(nullptr, view->card) << what;
        }
        ASSERT_EQ(0u, Cardctl("signal 1 33")) << what;
        ASSERT_TRUE(StopDriver()) << what;
        std::string error = InstallAndStart();
        ASSERT_EQ("", error) << what;
        SimState state = State();
        EXPECT_STREQ("isa", state.scenarioName) << what;
        EXPECT_EQ(0x300, state.ioBase) << what;
        EXPECT_NEAR(33, state.quality, 3) << what;
    }
}

TEST_F(Driver, CardctlSwitchesFaultsAndRefusesBadScenarios)
{
    EXPECT_EQ(0u, Cardctl("stop"));
    EXPECT_EQ(1u << SIM_FAULT_NO_ANSWER, State().faults);
    EXPECT_EQ(0u, Cardctl("answer-after 3"));
    EXPECT_EQ(3u, State().faultArgs[SIM_FAULT_ANSWER_AFTER]);
    EXPECT_EQ(0u, Cardctl("resume"));
    EXPECT_EQ(1u << SIM_FAULT_ANSWER_AFTER, State().faults);
    EXPECT_EQ(0u, Cardctl("clear"));
    EXPECT_EQ(0u, State().faults);
    EXPECT_EQ(0u, Cardctl("signal 1 17"));
    EXPECT_NEAR(17, State().quality, 3) << "the isa scenario is in cell 1";
    EXPECT_EQ(3u, Cardctl("signal 9 17")) << "no such cell";
    EXPECT_EQ(1u, Cardctl("frobnicate"));

    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    std::string bad = std::string(dir) + "sim-bad-scenario.txt";
    FILE* f = std::fopen(bad.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    std::fputs("name broken\ncell 00:A0:C5:00:00:01 Corvane 1 500\n", f);
    std::fclose(f);
    EXPECT_EQ(3u, Cardctl("load \"" + bad + "\""));
    EXPECT_STREQ("isa", State().scenarioName) << "a refused scenario leaves the card as it was";
    DeleteFileA(bad.c_str());
}

TEST(PortTrap, DecodesTheInAndOutForms)
{
    struct Case
    {
        std::vector<unsigned char> code;
        int length;
        unsigned short port;
        int width;
        bool isIn;
    } cases[] = {
        {{0xEC}, 1, 0x304, 1, true},
        {{0x66, 0xED}, 2, 0x304, 2, true},
        {{0xED}, 1, 0x304, 4, true},
        {{0xEE}, 1, 0x304, 1, false},
        {{0x66, 0xEF}, 2, 0x304, 2, false},
        {{0xE4, 0x80}, 2, 0x80, 1, true},
        {{0x66, 0xE5, 0x42}, 3, 0x42, 2, true},
        {{0xE6, 0x61}, 2, 0x61, 1, false},
        {{0xE7, 0x70}, 2, 0x70, 4, false},
    };
    for (const Case& c : cases) {
        unsigned short port = 0;
        int width = 0;
        bool isIn = false;
        EXPECT_EQ(c.length, DecodePortInstruction(c.code.data(), 0x304, &port, &width, &isIn));
        EXPECT_EQ(c.port, port);
        EXPECT_EQ(c.width, width);
        EXPECT_EQ(c.isIn, isIn);
    }
    const unsigned char notPort[] = {0xFA, 0x00};
    unsigned short port;
    int width;
    bool isIn;
    EXPECT_EQ(0, DecodePortInstruction(notPort, 0, &port, &width, &isIn));
}

} // namespace
