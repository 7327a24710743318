// SheetBench.cpp - what opening each page of the property sheet costs: the
// firmware commands it sends, the protocol's own pauses for them (the
// floor), and the time beyond them (our share).
//
//   sheet_bench sim [rounds]     the simulated card in process, fake clock:
//                                the pauses cost nothing, the time measured
//                                is ours alone
//   sheet_bench driver [rounds]  the real razuDov driver of a running machine
//                                (run with that machine's WINEPREFIX): real
//                                pauses, the time measured is the total
// Prints one line per page.
#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "adapter/Mailbox.h"
#include "adapter/PortAccess.h"
#include "framework/CWinApp.h"
#include "framework/Os.h"
#include "sheet/CConfDlg.h"
#include "sheet/CHwConfig.h"
#include "sheet/CPropDlg.h"
#include "tests/support/SimCard.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace {

const DWORD WRITE_BLOCK = 0x9C40A484; // the mailbox block write: one per command

double NowMs()
{
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return 1000.0 * (double)c.QuadPart / (double)f.QuadPart;
}

// Counts the commands and the pauses of the real calls.
unsigned s_commands = 0;
double s_pauseMs = 0;
OsApi s_next;

BOOL WINAPI CountingIoControl(HANDLE dev, DWORD code, LPVOID in, DWORD inSize, LPVOID out,
                              DWORD outSize, LPDWORD returned, LPOVERLAPPED ov)
{
    if (code == WRITE_BLOCK)
        ++s_commands;
    return s_next.DeviceIoControl(dev, code, in, inSize, out, outSize, returned, ov);
}

void WINAPI CountingSleep(DWORD ms)
{
    double start = NowMs();
    s_next.Sleep(ms);
    s_pauseMs += NowMs() - start;
}

int WINAPI NoBox(HWND, LPCSTR text, LPCSTR, UINT)
{
    fprintf(stderr, "message: %s\n", text);
    return IDOK;
}

struct Host : CWnd
{
    Host() { CreateEx(0, nullptr, "bench", WS_POPUP, 0, 0, 400, 400, nullptr, nullptr); }
    ~Host() override { DestroyWindow(); }
};

struct Result
{
    double ms = 0, pauseMs = 0;
    unsigned commands = 0;
};

Result OpenPage(const std::function<CDialog*()>& make, SimCard* card, Host& host)
{
    GetAdapterState().m_bAdapterFailed = FALSE;
    GetAdapterState().m_nAdapterStatus = 0;
    s_commands = 0;
    s_pauseMs = 0;
    if (card)
        card->ResetCounts();
    uint64_t fakeSleep = card ? card->TotalSleep() : 0;
    std::unique_ptr<CDialog> page(make());
    double start = NowMs();
    page->Create(&host);
    Result r;
    r.ms = NowMs() - start;
    if (card) {
        r.commands = card->DriverRequests(WRITE_BLOCK);
        r.pauseMs = (double)(card->TotalSleep() - fakeSleep);
    } else {
        r.commands = s_commands;
        r.pauseMs = s_pauseMs;
    }
    page->DestroyWindow();
    return r;
}

} // namespace

int main(int argc, char** argv)
{
    bool driver = argc > 1 && strcmp(argv[1], "driver") == 0;
    int rounds = argc > 2 ? atoi(argv[2]) : 5;
    CWinApp app("corvane");
    g_os.MessageBoxA = NoBox;
    GetAdapterState().AlertMessage = 0;
    GetAdapterState().AlertBeep = 0;

    std::unique_ptr<SimCard> card;
    if (driver) {
        GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
        BYTE status = OpenAdapter(DeviceSearch());
        if (status != 0) {
            fprintf(stderr, "OpenAdapter: %d (is the machine running?)\n", status);
            return 1;
        }
        s_next = g_os;
        g_os.DeviceIoControl = CountingIoControl;
        g_os.Sleep = CountingSleep;
    } else {
        card.reset(new SimCard(nullptr));
        GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
        GetAdapterLink().IoBase = card->IoBase();
        GetAdapterLink().AdapterIoBase = card->IoBase();
        GetAdapterLink().AdapterIrq = 10;
        GetAdapterLink().AdapterCardType = 1;
        OpenMailbox();
        GetAdapterLink().AdapterReady = true;
        GetAdapterLink().DriverKeyPath = "SOFTWARE\\CorvaneTest\\Bench";
        GetAdapterLink().DriverKeyValid = true;
    }

    Host host;
    const struct
    {
        const char* name;
        std::function<CDialog*()> make;
    } pages[] = {
        {"Configuration", [] { return new CConfDlg; }},
        {"Advanced Information", [] { return new CPropDlg; }},
        {"Troubleshooting", [] { return new CHwConfig; }},
    };
    printf("%s, %d openings per page (median of the times)\n",
           driver ? "real razuDov driver" : "simulated card in process", rounds);
    for (const auto& p : pages) {
        std::vector<Result> results;
        for (int i = 0; i < rounds; ++i)
            results.push_back(OpenPage(p.make, card.get(), host));
        std::sort(results.begin(), results.end(),
                  [](const Result& a, const Result& b) { return a.ms < b.ms; });
        const Result& r = results[results.size() / 2];
        // Simulated: the measured time is ours, the pauses come on top.
        // Driver: the measured time holds the pauses.
        double total = driver ? r.ms : r.ms + r.pauseMs;
        double ours = total - r.pauseMs;
        printf("%-22s commands %3u  floor (pauses) %8.1f ms  total %8.1f ms  ours %7.1f ms "
               "(%4.1f %%)\n",
               p.name, r.commands, r.pauseMs, total, ours, total > 0 ? 100.0 * ours / total : 0);
    }
    return 0;
}
