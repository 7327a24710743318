// ConfBench.cpp - what opening the Configuration page costs: the firmware
// commands it sends, the pauses those commands make the mailbox wait (the
// protocol's own floor) and the time beyond them that is ours.
//   conf_bench [openings]
// Two cases: the simulated card in process with a fake clock, so the pauses
// cost no time and the wall time measured is all ours; and, when razuDov
// runs in this prefix, the real driver with real pauses, where our share is
// the wall time less the pauses.
#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "adapter/Mailbox.h"
#include "adapter/PortAccess.h"
#include "app/CAdapterReporter.h"
#include "framework/CWinApp.h"
#include "framework/Os.h"
#include "res/resource.h"
#include "sheet/CConfDlg.h"
#include "sim/SimProtocol.h"
#include "tests/support/DriverAccess.h"
#include "tests/support/RegistryFixture.h"
#include "tests/support/SimCard.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const char* const kDriverKey = "System\\CurrentControlSet\\Services\\CorvaneConfBench\\Parameters";

double NowMs()
{
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return 1000.0 * (double)c.QuadPart / (double)f.QuadPart;
}

double ThreadCpuMs()
{
    FILETIME created, exited, kernel, user;
    ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return (double)(((ULONGLONG)t.dwHighDateTime << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

// Every pause the mailbox asks for, passed on to the Sleep in force.
void(WINAPI* s_sleep)(DWORD) = nullptr;
uint64_t s_paused = 0;
void WINAPI CountingSleep(DWORD ms)
{
    s_paused += ms;
    s_sleep(ms);
}

uint32_t DriverCommands()
{
    SimState state = {};
    HANDLE h = ::CreateFileA(SIM_USER_PATH, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return 0;
    DWORD got = 0;
    ::DeviceIoControl(h, SIM_IOCTL_GET_STATE, nullptr, 0, &state, sizeof(state), &got, nullptr);
    ::CloseHandle(h);
    return state.commandsAnswered;
}

struct Result
{
    double wallMs, cpuMs, pausedMs, commands;
};

// The page's template alone, made by a plain dialog that reads nothing:
// the part of an opening that is window creation.
class BareTemplate : public CDialog
{
public:
    BareTemplate() : CDialog(IDD_CONFIGURATION) {}
};

// Opens and closes the page `openings` times as the sheet does.
template <typename Page = CConfDlg, typename Commands> Result Open(int openings, Commands commands)
{
    HWND host = ::CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 400, 400, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    s_sleep = g_os.Sleep;
    g_os.Sleep = CountingSleep;
    s_paused = 0;
    uint32_t before = commands();
    double cpu0 = ThreadCpuMs(), wall0 = NowMs();
    for (int i = 0; i < openings; ++i) {
        Page page;
        page.Create(host);
        ::DestroyWindow(page.m_hWnd);
    }
    Result r = {(NowMs() - wall0) / openings, (ThreadCpuMs() - cpu0) / openings,
                (double)s_paused / openings, (double)(commands() - before) / openings};
    g_os.Sleep = s_sleep;
    ::DestroyWindow(host);
    return r;
}

void Print(const char* name, const Result& r, bool pausesTakeTime)
{
    double ours = pausesTakeTime ? r.wallMs - r.pausedMs : r.wallMs;
    double total = pausesTakeTime ? r.wallMs : r.wallMs + r.pausedMs;
    printf("%-44s commands %.1f  pauses (floor) %6.1f ms  total %7.1f ms  ours %6.2f ms "
           "(%.1f %%)  cpu %.2f ms\n",
           name, r.commands, r.pausedMs, total, ours, 100.0 * ours / total, r.cpuMs);
}

void Machine(RegistryFixture& reg, bool withAdvancedValues)
{
    reg.Own(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\CorvaneConfBench");
    reg.CreateKey(HKEY_LOCAL_MACHINE, kDriverKey);
    const char* texts[][2] = {{"ESSID", "Corvane"},
                              {"StationName", "CORVANE-PC"},
                              {"PreferBSSID", "000000000000"},
                              {"SecurityID", ""}};
    for (auto& t : texts)
        reg.SetString(HKEY_LOCAL_MACHINE, kDriverKey, t[0], t[1]);
    const char* numbers[] = {"NetworkType", "CarrierSet", "PSmode",
                             "Roaming",     "DataRate",   "Security"};
    for (const char* n : numbers)
        reg.SetDword(HKEY_LOCAL_MACHINE, kDriverKey, n, n[0] == 'R' || n[0] == 'N' ? 1 : 0);
    if (withAdvancedValues) {
        reg.SetDword(HKEY_LOCAL_MACHINE, kDriverKey, "TxRetry", 7);
        reg.SetDword(HKEY_LOCAL_MACHINE, kDriverKey, "RoamingThreshold", 40);
    }
    GetAdapterLink().DriverKeyPath = kDriverKey;
    GetAdapterLink().DriverKeyValid = true;
}

} // namespace

int main(int argc, char** argv)
{
    int openings = argc > 1 ? atoi(argv[1]) : 200;
    setvbuf(stdout, nullptr, _IONBF, 0);
    CWinApp app("CorvaneConfBench");
    // The card's texts and the adapter's boxes as the program has them: the
    // page tells a PC Card by the bus type's text.
    CAdapterReporter reporter;
    SetAdapterReporter(&reporter);
    app.SetRegistryKey("KVR");
    RegistryFixture profile;
    profile.Own(HKEY_CURRENT_USER, app.GetProfileKeyPath());

    for (int run = 0; run < 3; ++run) {
        bool advanced = run != 1, win9x = run == 2;
        OsGuard guard;
        RegistryFixture reg;
        SimCard card;
        ResetAdapterState();
        GetAdapterLink().PlatformKind = win9x ? PLATFORM_WIN9X : PLATFORM_NT_WORKSTATION;
        GetAdapterLink().IoBase = card.IoBase();
        GetAdapterLink().AdapterCardType = 1;
        OpenMailbox();
        GetAdapterLink().AdapterReady = true;
        Machine(reg, advanced);
        auto commands = [&card] { return card.Fw().CommandsAnswered(); };
        Open(openings / 10 ? openings / 10 : 1, commands); // warm up
        Result r = Open(openings, commands);
        Print(win9x      ? "in process, 98 (ports), advanced values stored"
              : advanced ? "in process, NT, advanced values stored"
                         : "in process, NT, card asked for retry/threshold",
              r, false);
        if (run == 0) {
            Result bare = Open<BareTemplate>(openings, commands);
            printf("%-44s window creation alone %.2f ms (cpu %.2f ms)\n", "", bare.wallMs,
                   bare.cpuMs);
        }
        ResetAdapterState();
    }

    std::string why = LoadDriverScenario("name bench\n");
    if (!why.empty()) {
        printf("real driver: skipped (%s)\n", why.c_str());
        return 0;
    }
    for (bool advanced : {true, false}) {
        RegistryFixture reg;
        ResetAdapterState();
        GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
        GetAdapterLink().IoBase = DriverCardBase();
        GetAdapterLink().AdapterCardType = 1;
        if (DriverSetBase(GetAdapterLink().IoBase) != 1) {
            printf("real driver: it does not take the card's base\n");
            return 1;
        }
        if (OpenMailbox() != 0) {
            printf("real driver: the mailbox did not open\n");
            return 1;
        }
        GetAdapterLink().AdapterReady = true;
        Machine(reg, advanced);
        Result r = Open(openings / 10 ? openings / 10 : 1, DriverCommands);
        Print(advanced ? "real driver, NT, advanced values stored"
                       : "real driver, NT, card asked for retry/threshold",
              r, true);
        ResetAdapterState();
    }
    return 0;
}
