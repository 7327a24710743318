// HistoryDemo.cpp - Link History with a day behind it, for screenshots:
// the tool window ticks its link monitor 43,200 times against the simulated
// card, a local clock two seconds further each tick, while the card's signal
// follows a working day (good at night, fair and poor in the busy hours, a
// dip to nothing at lunch) and the card roams to a second cell and back; in
// the last hour a survey log records for a quarter of an hour. Every
// sample and event comes through the program's own paths; only the clock and
// the card are simulated. Then the window is shown with the span asked for.
// `history_demo [ms] [span 0-2]`. Run it in a Wine virtual desktop so the
// window gets its caption.
#include "adapter/AdapterDiscovery.h"
#include "adapter/Mailbox.h"
#include "app/CMainToolDlg.h"
#include "app/CUtilityApp.h"
#include "framework/Os.h"
#include "res/resource.h"
#include "tests/support/SimCard.h"
#include "tests/support/TestWindows.h"

#include <commctrl.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

const char kDay[] = "name history-demo\n"
                    "network infrastructure\n"
                    "essid Corvane\n"
                    "drift 0\n"
                    "roaming on\n"
                    "roaming-threshold 40\n"
                    "cell 00:A0:C5:00:00:01 Corvane 1 80 name=Lobby\n"
                    "cell 00:A0:C5:00:00:02 Corvane 6 20 name=Hall\n"
                    "current 00:A0:C5:00:00:01\n";

SYSTEMTIME g_now;
std::string g_logPath;

void WINAPI DemoLocalTime(LPSYSTEMTIME time)
{
    *time = g_now;
}

BOOL WINAPI NoShell(DWORD, PNOTIFYICONDATAA)
{
    return TRUE;
}

BOOL WINAPI ChooseLog(LPOPENFILENAMEA ofn)
{
    lstrcpynA(ofn->lpstrFile, g_logPath.c_str(), (int)ofn->nMaxFile);
    return TRUE;
}

// The alert's box (a dip to 0 at lunch) and the question about an existing
// log are answered at once: no one sits at the demo.
int WINAPI AnswerBox(HWND, LPCSTR, LPCSTR, UINT)
{
    return IDNO;
}

void Step(SYSTEMTIME& t, int seconds)
{
    int s = t.wSecond + seconds;
    t.wSecond = (WORD)(s % 60);
    int m = t.wMinute + s / 60;
    t.wMinute = (WORD)(m % 60);
    int h = t.wHour + m / 60;
    t.wHour = (WORD)(h % 24);
    if (h >= 24)
        ++t.wDay;
}

// The signal of the first cell at a time of the day, in seconds from
// midnight: a working day in the building.
int SignalAt(int second)
{
    const double hour = second / 3600.0;
    double q = 82 + 6 * std::sin(second / 900.0);
    if (hour >= 8 && hour < 18)
        q = 58 + 14 * std::sin(second / 1300.0) - (hour >= 14 && hour < 16 ? 30 : 0);
    if (hour >= 12.5 && hour < 12.6)
        q = 0;
    return q < 0 ? 0 : q > 100 ? 100 : (int)q;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const int holdMs = __argc > 1 ? atoi(__argv[1]) : 8000;
    const int span = __argc > 2 ? atoi(__argv[2]) : 2;

    OsGuard guard;
    g_os.Shell_NotifyIconA = NoShell;
    g_os.GetLocalTime = DemoLocalTime;
    g_os.GetSaveFileNameA = ChooseLog;
    g_os.MessageBoxA = AnswerBox;
    g_now = {};
    g_now.wYear = 2026;
    g_now.wMonth = 12;
    g_now.wDay = 8;
    g_now.wHour = 9;
    char dir[MAX_PATH];
    ::GetTempPathA(sizeof dir, dir);
    g_logPath = std::string(dir) + "first-floor.csv";

    CUtilityApp app;
    app.m_args.clear();
    app.SetRegistryKey("KVR");
    SimCard card(kDay);
    GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
    GetAdapterLink().IoBase = card.IoBase();
    OpenMailbox();
    GetAdapterLink().AdapterReady = true;
    GetAdapterLink().DriverKeyValid = true;

    CMainToolDlg tool;
    tool.Create((HWND) nullptr);
    ::KillTimer(tool, CMainToolDlg::MONITOR_TIMER); // the demo ticks
    HWND history = nullptr;

    // From 09:00 one day to 09:00 the next.
    const int start = 9 * 3600;
    for (int tick = 0; tick < 43200; ++tick) {
        const int second = (start + 2 * tick) % 86400;
        card.SetSignal(0, (uint16_t)SignalAt(second));
        // In the afternoon's poor hours the second cell is the better one.
        card.SetSignal(1, (uint16_t)(second >= 14 * 3600 && second < 16 * 3600 ? 75 : 20));
        // The survey in the day's last hour: Link History opened, Record...,
        // Stop a quarter of an hour later; the window stays for the picture.
        if (second == 8 * 3600 + 1800) {
            tool.SendMessage(WM_COMMAND, IDM_LINK_HISTORY);
            history = ::FindWindowA(nullptr, "Link History");
            ::SendMessageA(history, WM_COMMAND, IDC_HISTORY_RECORD, 0);
        }
        if (history && second == 8 * 3600 + 2700)
            ::SendMessageA(history, WM_COMMAND, IDC_HISTORY_STOP, 0);
        card.Advance(2000);
        Step(g_now, 2);
        tool.SendMessage(WM_TIMER, CMainToolDlg::MONITOR_TIMER);
        if (tick % 50 == 0)
            PumpMessages();
    }
    PumpMessages();
    if (history) {
        ::SendMessageA(::GetDlgItem(history, IDC_HISTORY_SPAN), CB_SETCURSEL, span, 0);
        ::SendMessageA(history, WM_COMMAND, MAKEWPARAM(IDC_HISTORY_SPAN, CBN_SELCHANGE),
                       (LPARAM)::GetDlgItem(history, IDC_HISTORY_SPAN));
        ::SetForegroundWindow(history);
    }
    PumpMessages();
    // For the screenshot script: the day is behind the window now.
    const std::string ready = std::string(dir) + "history-demo.ready";
    ::CloseHandle(::CreateFileA(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    PumpFor(holdMs);
    ::DeleteFileA(ready.c_str());
    return 0;
}
