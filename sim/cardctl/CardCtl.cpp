// CardCtl.cpp - cardctl.exe, the console tool that drives the simulated
// machine through razuDov's private requests: load a scenario, change a
// cell's signal, switch faults, show the state, and time the driver and the
// port trap.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sim/PortTrap.h"
#include "sim/SharedCard.h"
#include "sim/SimDevice.h"
#include "sim/SimProtocol.h"

namespace {

const char kUsage[] =
    "cardctl - control the simulated Corvane card behind the razuDov driver\n"
    "\n"
    "usage: cardctl <command> [arguments]\n"
    "\n"
    "  load <file>                 power the card up with a scenario file\n"
    "  apply <file>                apply setting/signal/fault/traffic lines of a file\n"
    "  setting <Name> <value>      set a driver parameter (TxRetry, ESSID, Roaming, ...)\n"
    "  signal <cell> <0..100>      set a cell's signal; cell is its index or BSSID\n"
    "  traffic <tx> <rx>           traffic in bytes per second\n"
    "  station <mac> heard|silent|gone|<name>\n"
    "                              an ad-hoc station is heard, falls silent, leaves,\n"
    "                              or (with a name) a new one arrives\n"
    "  stop | resume               stop answering the mailbox / answer again\n"
    "  answer-after <k>            let k polls see the command pending (0: off)\n"
    "  scan-endless on|off         a BSS scan that never finishes\n"
    "  refuse-join [k]|off         refuse join starts (k times, or always)\n"
    "  join-endless on|off|hard    a join that never finishes (hard: not even\n"
    "                              when the join wait is overridden)\n"
    "  unavailable <from>|off      table entries from this index report not available\n"
    "  drop-writes <percent>|off   lose that share of the port writes reaching the card\n"
    "  clear                       switch every fault off\n"
    "  param <code> [bytes...]     store a firmware parameter (hexadecimal bytes)\n"
    "  in <port> [b|w]             read a port on the simulated bus\n"
    "  out <port> <value> [b|w]    write a port on the simulated bus\n"
    "  state                       show the simulation's state\n"
    "  bench [count]               time driver requests and trapped port instructions\n"
    "  scribble <what> [count]     write over the card's shared section as a stray\n"
    "                              program would, without its lock: stamp, layout,\n"
    "                              counts, divisors, texts, or random (count bytes)\n"
    "  hold-lock <seconds>         hold the card's lock that long, as a stuck program\n"
    "  --help                      this text\n"
    "\n"
    "Exit status: 0 done, 1 usage, 2 driver not reachable, 3 request refused.\n";

const char* const kLinkNames[] = {"Idle",       "Scanning...", "Rejoining...", "Adopted",
                                  "Started",    "Joined",      "Failed",       "Joining...",
                                  "Joining...", "Joining...",  "Roaming...",   "Associated"};
const char* const kFaultNames[] = {"",
                                   "no-answer",
                                   "answer-after",
                                   "scan-endless",
                                   "join-refused",
                                   "join-endless",
                                   "unavailable",
                                   "drop-writes"};

HANDLE Open()
{
    HANDLE h =
        ::CreateFileA(SIM_USER_PATH, GENERIC_READ | GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        std::fprintf(stderr,
                     "cardctl: cannot open %s (error %lu); is the razuDov service started?\n",
                     SIM_USER_PATH, ::GetLastError());
    return h;
}

// One request on a fresh handle. Returns the exit status.
int Request(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize,
            DWORD* returned = nullptr)
{
    HANDLE h = Open();
    if (h == INVALID_HANDLE_VALUE)
        return 2;
    DWORD got = 0;
    BOOL ok =
        ::DeviceIoControl(h, code, const_cast<void*>(in), inSize, out, outSize, &got, nullptr);
    DWORD error = ::GetLastError();
    ::CloseHandle(h);
    if (returned)
        *returned = got;
    if (!ok) {
        std::fprintf(stderr, "cardctl: request %08lX refused (error %lu)\n", code, error);
        return 3;
    }
    return 0;
}

bool ReadFileText(const char* path, std::string* text)
{
    FILE* f = std::fopen(path, "rb");
    if (!f) {
        std::fprintf(stderr, "cardctl: cannot read %s\n", path);
        return false;
    }
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        text->append(buffer, n);
    std::fclose(f);
    return true;
}

int SendText(DWORD code, const std::string& text, const char* what)
{
    SimTextResult result = {};
    std::string body = text.empty() ? std::string("\n") : text;
    int rc = Request(code, body.data(), static_cast<DWORD>(body.size()), &result, sizeof result);
    if (rc)
        return rc;
    if (!result.ok) {
        std::fprintf(stderr, "cardctl: %s: line %ld: %s\n", what, static_cast<long>(result.line),
                     result.message);
        return 3;
    }
    return 0;
}

int Fault(uint32_t fault, bool on, uint32_t arg)
{
    SimFaultRequest request = {fault, on ? 1u : 0u, arg};
    return Request(SIM_IOCTL_SET_FAULT, &request, sizeof request, nullptr, 0);
}

bool OnOff(const char* text, bool* on)
{
    if (!std::strcmp(text, "on")) {
        *on = true;
        return true;
    }
    if (!std::strcmp(text, "off")) {
        *on = false;
        return true;
    }
    return false;
}

bool Number(const char* text, unsigned long max, unsigned long* value)
{
    char* end = nullptr;
    unsigned long v = std::strtoul(text, &end, 0);
    if (!*text || *end || v > max)
        return false;
    *value = v;
    return true;
}

int ShowState()
{
    SimState s = {};
    int rc = Request(SIM_IOCTL_GET_STATE, nullptr, 0, &s, sizeof s);
    if (rc)
        return rc;
    std::printf("scenario          %s\n", s.scenarioName[0] ? s.scenarioName : "(unnamed)");
    std::printf("clock             %lu ms\n", static_cast<unsigned long>(s.nowMs));
    std::printf("card base         0x%X (driver told 0x%X)\n", s.ioBase, s.driverBase);
    std::printf("mailbox pointer   0x%04X%s\n", s.mailboxPointer,
                s.pending ? ", command pending" : "");
    std::printf("commands answered %lu (last 0x%02X)\n",
                static_cast<unsigned long>(s.commandsAnswered), s.lastCommand);
    std::printf("network           %s\n", s.networkType == 1 ? "infrastructure" : "ad hoc");
    std::printf("link state        %u %s\n", s.linkState,
                s.linkState < 12 ? kLinkNames[s.linkState] : "");
    if (s.currentCell != 0xFFFF)
        std::printf("current cell      %u (%02X:%02X:%02X:%02X:%02X:%02X)\n", s.currentCell,
                    s.currentBssid[0], s.currentBssid[1], s.currentBssid[2], s.currentBssid[3],
                    s.currentBssid[4], s.currentBssid[5]);
    else
        std::printf("current cell      none\n");
    std::printf("quality           %u\n", s.quality);
    std::printf("cells             %u, BSS table %u, station slots %u\n", s.cellCount,
                s.bssTableSize, s.stationTableSize);
    std::printf("scanning          %s, joining %s\n", s.scanning ? "yes" : "no",
                s.joining ? "yes" : "no");
    std::printf("faults           ");
    bool any = false;
    for (int f = 1; f < SIM_FAULT_COUNT; ++f) {
        if (s.faults & (1u << f)) {
            std::printf(" %s(%lu)", kFaultNames[f], static_cast<unsigned long>(s.faultArgs[f]));
            any = true;
        }
    }
    std::printf("%s\n", any ? "" : " none");
    static const char* const kinds[] = {"read byte",  "read word",   "write byte", "write word",
                                        "block read", "block write", "set base",   "raw read",
                                        "raw write",  "private",     "failed"};
    std::printf("requests         ");
    for (int k = 0; k <= SIM_REQ_FAILED; ++k)
        std::printf(" %s=%lu", kinds[k], static_cast<unsigned long>(s.requests[k]));
    std::printf("\n");
    return 0;
}

double Micro(LARGE_INTEGER a, LARGE_INTEGER b, LARGE_INTEGER f)
{
    return static_cast<double>(b.QuadPart - a.QuadPart) * 1e6 / static_cast<double>(f.QuadPart);
}

uint32_t BenchClock(void*)
{
    return ::GetTickCount();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

LONG CALLBACK SkipCli(EXCEPTION_POINTERS* info)
{
    const unsigned char* ip = reinterpret_cast<const unsigned char*>(info->ContextRecord->Eip);
    if (info->ExceptionRecord->ExceptionCode != EXCEPTION_PRIV_INSTRUCTION || ip[0] != 0xFA)
        return EXCEPTION_CONTINUE_SEARCH;
    info->ContextRecord->Eip += 1;
    return EXCEPTION_CONTINUE_EXECUTION;
}

// Open + request + close, as the program does for every driver request.
void Cycle(DWORD code, void* in, DWORD inSize, void* out, DWORD outSize)
{
    HANDLE h =
        ::CreateFileA(SIM_USER_PATH, 0, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD got = 0;
    ::DeviceIoControl(h, code, in, inSize, out, outSize, &got, nullptr);
    ::CloseHandle(h);
}

// The measurements alternate one sample of each kind, so a busy machine
// slows both alike; the medians are compared.
int Bench(unsigned long count)
{
    HANDLE probe = Open();
    if (probe == INVALID_HANDLE_VALUE)
        return 2;
    ::CloseHandle(probe);
    LARGE_INTEGER f, a, b;
    ::QueryPerformanceFrequency(&f);

    SimState s = {};
    Request(SIM_IOCTL_GET_STATE, nullptr, 0, &s, sizeof s);
    uint16_t base = s.ioBase, answer = 0;
    Request(SIM_IOCTL_SET_BASE, &base, sizeof base, &answer, sizeof answer);
    SimBlockHeader header = {0, 2, 4, 0x0300, 38};
    unsigned char block[38];

    std::vector<double> floor, transfer, open, buffered;
    HANDLE h =
        ::CreateFileA(SIM_USER_PATH, 0, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    for (unsigned long i = 0; i < count; ++i) {
        ::QueryPerformanceCounter(&a);
        Cycle(SIM_IOCTL_NOP, nullptr, 0, nullptr, 0);
        ::QueryPerformanceCounter(&b);
        floor.push_back(Micro(a, b, f));
        ::QueryPerformanceCounter(&a);
        Cycle(SIM_IOCTL_BLOCK_READ, &header, sizeof header, block, sizeof block);
        ::QueryPerformanceCounter(&b);
        transfer.push_back(Micro(a, b, f));
        ::QueryPerformanceCounter(&a);
        Cycle(SIM_IOCTL_NOP, &header, sizeof header, block, sizeof block);
        ::QueryPerformanceCounter(&b);
        buffered.push_back(Micro(a, b, f));
        DWORD got = 0;
        ::QueryPerformanceCounter(&a);
        ::DeviceIoControl(h, SIM_IOCTL_BLOCK_READ, &header, sizeof header, block, sizeof block,
                          &got, nullptr);
        ::QueryPerformanceCounter(&b);
        open.push_back(Micro(a, b, f));
    }
    ::CloseHandle(h);
    double mf = Median(floor), mt = Median(transfer);
    std::printf("samples: %lu of each, medians\n", count);
    std::printf("driver block transfer: %.1f us, ratio %.2f (floor: open + empty request + close, "
                "%.1f us)\n",
                mt, mt / mf, mf);
    std::printf("  empty request with the same 10/38-byte buffers %6.1f us\n", Median(buffered));
    std::printf("  38-byte block read on a handle kept open     %8.1f us\n", Median(open));

    // The dispatcher's own work for the block read, in this process.
    static SimDevice local;
    local.Init(&BenchClock, nullptr);
    local.SetDriverBase(local.Fw().World().ioBase);
    uint32_t info = 0;
    ::QueryPerformanceCounter(&a);
    for (unsigned long i = 0; i < count * 10; ++i)
        local.Control(SIM_IOCTL_BLOCK_READ, &header, sizeof header, block, sizeof block, &info);
    ::QueryPerformanceCounter(&b);
    std::printf("  the dispatcher's own work for that block read %7.2f us\n",
                Micro(a, b, f) / (count * 10));

    // The 38-byte block as the program moves it over the trapped path (one
    // OUT to ADDRESS_REG, 19 INs from DATA_REG) against twenty trapped no-op
    // instructions, and twenty trapped INs of ADDRESS_REG.
    if (!InstallPortTrapIfWine()) {
        std::printf("port trap: not under Wine, skipped\n");
        return 0;
    }
    typedef PVOID(WINAPI * AddHandler)(ULONG, PVECTORED_EXCEPTION_HANDLER);
    typedef ULONG(WINAPI * RemoveHandler)(PVOID);
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    AddHandler add =
        reinterpret_cast<AddHandler>(::GetProcAddress(kernel, "AddVectoredExceptionHandler"));
    RemoveHandler remove =
        reinterpret_cast<RemoveHandler>(::GetProcAddress(kernel, "RemoveVectoredExceptionHandler"));
    PVOID skip = add(0, SkipCli);
    unsigned short addressPort = static_cast<unsigned short>(s.ioBase + SIM_ADDRESS_REG);
    unsigned short dataPort = static_cast<unsigned short>(s.ioBase + SIM_DATA_REG);
    unsigned short words[19];
    std::vector<double> blocks, ports, noops;
    unsigned long rounds = count / 5 ? count / 5 : 1;
    for (unsigned long i = 0; i < rounds; ++i) {
        ::QueryPerformanceCounter(&a);
        __asm__ __volatile__("outw %w0, %w1"
                             :
                             : "a"(static_cast<unsigned short>(0x0300)), "Nd"(addressPort));
        for (int k = 0; k < 19; ++k)
            __asm__ __volatile__("inw %w1, %w0" : "=a"(words[k]) : "Nd"(dataPort));
        ::QueryPerformanceCounter(&b);
        blocks.push_back(Micro(a, b, f));
        ::QueryPerformanceCounter(&a);
        for (int k = 0; k < 20; ++k)
            __asm__ __volatile__("cli");
        ::QueryPerformanceCounter(&b);
        noops.push_back(Micro(a, b, f));
        ::QueryPerformanceCounter(&a);
        for (int k = 0; k < 20; ++k) {
            unsigned short v;
            __asm__ __volatile__("inw %w1, %w0" : "=a"(v) : "Nd"(addressPort));
        }
        ::QueryPerformanceCounter(&b);
        ports.push_back(Micro(a, b, f));
    }
    PortTrapCounters counters = GetPortTrapCounters();
    remove(skip);
    RemovePortTrap();
    double mb = Median(blocks), mp = Median(ports), mn = Median(noops);
    std::printf("trapped block transfer: %.1f us, ratio %.2f (floor: 20 trapped no-op "
                "instructions, %.1f us)\n",
                mb, mb / mn, mn);
    std::printf(
        "  20 trapped IN instructions                   %8.1f us  ratio %.2f (%lu rounds)\n", mp,
        mp / mn, rounds);
    std::printf("  trapped instructions served on the shared card: %lu of %lu\n", counters.shared,
                counters.trapped);
    return 0;
}

// The card's section as a program maps it; nullptr (with a word) when the
// driver shares none.
SharedCard* MapCard()
{
    HANDLE mapping = ::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, SIM_SECTION_USER_NAME);
    void* view =
        mapping ? ::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SharedCard)) : nullptr;
    if (!view)
        std::fprintf(stderr, "cardctl: cannot map %s (error %lu)\n", SIM_SECTION_USER_NAME,
                     ::GetLastError());
    return static_cast<SharedCard*>(view);
}

// Bytes written into the section by a program that knows its layout but
// takes no lock: what each side must survive.
int Scribble(const std::string& what, unsigned long count)
{
    SharedCard* card = MapCard();
    if (!card)
        return 2;
    uint8_t* bytes = reinterpret_cast<uint8_t*>(card);
    Scenario& world = const_cast<Scenario&>(card->Device().Fw().World());
    if (what == "stamp") {
        bytes[0] ^= 0xFF;
    } else if (what == "layout") {
        bytes[4] ^= 0xFF;
    } else if (what == "counts") {
        world.cellCount = 0x7FFF;
        world.stationSlots = 0xFFFF;
    } else if (what == "divisors") {
        world.beaconPeriod = 0;
        world.frameSize = 0;
    } else if (what == "texts") {
        std::memset(world.essid, 'x', sizeof world.essid);
        std::memset(world.name, 'y', sizeof world.name);
    } else if (what == "random") {
        // Anywhere in the state after the card's memory.
        const uint32_t span = sizeof(Firmware) + sizeof(Scenario) + 128;
        uint32_t seed = ::GetTickCount() | 1;
        for (unsigned long i = 0; i < count; ++i) {
            seed = seed * 1103515245u + 12345u;
            uint32_t at = sizeof(SharedCard) - 1 - (seed >> 8) % span;
            seed = seed * 1103515245u + 12345u;
            bytes[at] = static_cast<uint8_t>(seed >> 16);
        }
    } else {
        return 1;
    }
    std::printf("scribbled %s\n", what.c_str());
    return 0;
}

uint32_t TickClock(void*)
{
    return ::GetTickCount();
}

// Holds the card's lock for the time, as a program stuck while serving the
// card would.
int HoldLock(unsigned long seconds)
{
    SharedCard* card = MapCard();
    if (!card)
        return 2;
    static uint32_t held = 0;
    SharedLock::Side side = {static_cast<uint32_t>(::GetCurrentProcessId()),
                             nullptr,
                             nullptr,
                             &TickClock,
                             nullptr,
                             &held,
                             10000};
    if (card->Lock().Acquire(side) == SharedLock::BUSY) {
        std::fprintf(stderr, "cardctl: the card's lock stays busy\n");
        return 3;
    }
    std::printf("holding the card's lock for %lu s\n", seconds);
    std::fflush(stdout);
    ::Sleep(seconds * 1000);
    card->Lock().Release(side);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") ||
        !std::strcmp(argv[1], "/?")) {
        std::fputs(kUsage, stdout);
        return argc < 2 ? 1 : 0;
    }
    std::string cmd = argv[1];
    int n = argc - 2;
    char** a = argv + 2;
    bool on = false;
    unsigned long v = 0, w = 0;

    if (cmd == "load" && n == 1) {
        std::string text;
        return ReadFileText(a[0], &text) ? SendText(SIM_IOCTL_LOAD_SCENARIO, text, a[0]) : 3;
    }
    if (cmd == "apply" && n == 1) {
        std::string text;
        return ReadFileText(a[0], &text) ? SendText(SIM_IOCTL_APPLY_LINES, text, a[0]) : 3;
    }
    if (cmd == "setting" && n == 2)
        return SendText(SIM_IOCTL_APPLY_LINES,
                        std::string("setting \"") + a[0] + "\" \"" + a[1] + "\"\n", "setting");
    if (cmd == "signal" && n == 2)
        return SendText(SIM_IOCTL_APPLY_LINES, std::string("signal ") + a[0] + " " + a[1] + "\n",
                        "signal");
    if (cmd == "traffic" && n == 2)
        return SendText(SIM_IOCTL_APPLY_LINES,
                        std::string("traffic tx ") + a[0] + " rx " + a[1] + "\n", "traffic");
    if (cmd == "station" && n == 2)
        return SendText(SIM_IOCTL_APPLY_LINES,
                        std::string("station ") + a[0] + " \"" + a[1] + "\"\n", "station");
    if (cmd == "stop" && n == 0)
        return Fault(SIM_FAULT_NO_ANSWER, true, 0);
    if (cmd == "resume" && n == 0)
        return Fault(SIM_FAULT_NO_ANSWER, false, 0);
    if (cmd == "answer-after" && n == 1 && Number(a[0], 0xFFFF, &v))
        return Fault(SIM_FAULT_ANSWER_AFTER, v != 0, v);
    if (cmd == "scan-endless" && n == 1 && OnOff(a[0], &on))
        return Fault(SIM_FAULT_SCAN_ENDLESS, on, 0);
    if (cmd == "refuse-join" && n <= 1) {
        if (n == 1 && !std::strcmp(a[0], "off"))
            return Fault(SIM_FAULT_JOIN_REFUSED, false, 0);
        if (n == 1 && !Number(a[0], 0xFFFF, &v))
            return 1;
        return Fault(SIM_FAULT_JOIN_REFUSED, true, v);
    }
    if (cmd == "join-endless" && n == 1) {
        if (!std::strcmp(a[0], "hard"))
            return Fault(SIM_FAULT_JOIN_ENDLESS, true, 1);
        if (OnOff(a[0], &on))
            return Fault(SIM_FAULT_JOIN_ENDLESS, on, 0);
    }
    if (cmd == "unavailable" && n == 1) {
        if (!std::strcmp(a[0], "off"))
            return Fault(SIM_FAULT_UNAVAILABLE, false, 0);
        if (Number(a[0], 0xFFFF, &v))
            return Fault(SIM_FAULT_UNAVAILABLE, true, v);
    }
    if (cmd == "drop-writes" && n == 1) {
        if (!std::strcmp(a[0], "off"))
            return Fault(SIM_FAULT_DROP_WRITES, false, 0);
        if (Number(a[0], 100, &v))
            return Fault(SIM_FAULT_DROP_WRITES, v != 0, v);
    }
    if (cmd == "clear" && n == 0)
        return Fault(SIM_FAULT_CLEAR_ALL, false, 0);
    if (cmd == "param" && n >= 1 && n <= 33 && Number(a[0], 0xFFFF, &v)) {
        SimParamRequest request = {};
        request.code = static_cast<uint16_t>(v);
        for (int i = 1; i < n; ++i) {
            char* end = nullptr;
            unsigned long b = std::strtoul(a[i], &end, 16);
            if (*end || b > 0xFF)
                return 1;
            request.value[i - 1] = static_cast<uint8_t>(b);
        }
        request.length = static_cast<uint16_t>(n - 1);
        uint16_t status = 0;
        int rc = Request(SIM_IOCTL_SET_PARAM, &request, sizeof request, &status, sizeof status);
        if (rc)
            return rc;
        std::printf("firmware status 0x%04X\n", status);
        return status ? 3 : 0;
    }
    if ((cmd == "in" && (n == 1 || n == 2) && Number(a[0], 0xFFFF, &v)) ||
        (cmd == "out" && (n == 2 || n == 3) && Number(a[0], 0xFFFF, &v) &&
         Number(a[1], 0xFFFF, &w))) {
        const char* size = cmd == "in" ? (n == 2 ? a[1] : "w") : (n == 3 ? a[2] : "w");
        SimRawPort request = {static_cast<uint16_t>(v),
                              static_cast<uint16_t>(!std::strcmp(size, "b") ? 1 : 2),
                              static_cast<uint16_t>(w), 0};
        if (cmd == "out")
            return Request(SIM_IOCTL_RAW_WRITE, &request, sizeof request, nullptr, 0);
        int rc = Request(SIM_IOCTL_RAW_READ, &request, sizeof request, &request, sizeof request);
        if (!rc)
            std::printf("0x%0*X\n", request.width * 2, request.value);
        return rc;
    }
    if (cmd == "state" && n == 0)
        return ShowState();
    if (cmd == "bench" && n <= 1) {
        unsigned long count = 500;
        if (n == 1 && !Number(a[0], 1000000, &count))
            return 1;
        return Bench(count ? count : 1);
    }
    if (cmd == "scribble" && (n == 1 || (n == 2 && Number(a[1], 1000000, &v)))) {
        int rc = Scribble(a[0], n == 2 ? v : 64);
        if (rc != 1)
            return rc;
    }
    if (cmd == "hold-lock" && n == 1 && Number(a[0], 86400, &v))
        return HoldLock(v);
    std::fputs(kUsage, stderr);
    return 1;
}
