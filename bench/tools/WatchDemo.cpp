// WatchDemo.cpp - shows both Network Watchers on the simulated card, one
// state after the other, for screenshots: the infrastructure watcher in
// normal mode, its progress window over the list during a read, advanced
// mode, a scan running, then the station watcher. Before each state is left
// the demo writes <dir>/<state>.ready and waits for <dir>/<state>.done
// (written by bench/tools/watch-screenshots.sh once it has taken the shot).
// Usage: watch_demo <dir as a Windows path>
#include "tests/support/TestWindows.h"
#include "tests/tools/WatchTestSupport.h"

#include <cstdio>
#include <string>

#include "adapter/CardItem.h"
#include "adapter/CardItems.h"
#include "res/resource.h"

namespace {

std::string g_dir = "C:\\";

// Announces a state and holds it (windows painting) until it was photographed.
void Hold(const char* state)
{
    PumpFor(600);
    std::string ready = g_dir + "\\" + state + ".ready", done = g_dir + "\\" + state + ".done";
    if (FILE* f = fopen(ready.c_str(), "w"))
        fclose(f);
    for (int i = 0; i < 1500 && ::GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        PumpFor(20);
}

const char kCells[] = "name demo\nessid Corvane\ndrift 0\nroaming off\n"
                      "cell 00:A0:C5:00:00:01 Corvane  1 72 name=Lobby stations=4\n"
                      "cell 00:A0:C5:00:00:02 Corvane  6 48 name=Lab stations=2\n"
                      "cell 00:A0:C5:00:00:03 Corvane 11 20 name=Store secure\n"
                      "cell 00:A0:C5:00:00:04 Guests   3 55 name=Cafe stations=9\n"
                      "cell 00:A0:C5:00:00:05 CORVANE  4 38 name=Annex stations=1\n"
                      "cell 00:A0:C5:00:00:06 Corvane  2 64 name=Meeting stations=7 secure\n"
                      "cell 00:A0:C5:00:00:07 Corvane  9 33 name=Workshop stations=0\n"
                      "cell 00:A0:C5:00:00:08 Guests   5 81 name=Reception stations=12\n"
                      "cell 00:A0:C5:00:00:09 Corvane 13 25 name=Basement stations=1\n"
                      "cell 02:5E:10:20:30:40 Party    9 35 adhoc\n"
                      "current 00:A0:C5:00:00:01\n";

const char kStations[] =
    "name demo-adhoc\nnetwork adhoc\nessid Party\ndrift 0\n"
    "cell 02:5E:10:20:30:40 Party 9 80 adhoc\ncurrent 02:5E:10:20:30:40\n"
    "station 00:A0:C5:AA:00:01 ALPHA\nstation 00:A0:C5:AA:00:02 BRAVO inactive=1\nfree-slot\n"
    "station 00:A0:C5:AA:00:03 CHARLIE inactive=250 silent\nstation 00:A0:C5:AA:00:04 DELTA\n"
    "station 00:A0:C5:AA:00:05 ECHO inactive=2\nfree-slot\n"
    "station 00:A0:C5:AA:00:06 FOXTROT inactive=400 silent\nstation 00:A0:C5:AA:00:07 GOLF\n";

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (__argc > 1)
        g_dir = __argv[1];
    WatchApp app;
    {
        WatchCard card(kCells);
        CBssWatchDlg bss;
        bss.Create(nullptr);
        ::SetForegroundWindow(bss);
        Hold("normal");
        bss.SendMessage(WM_COMMAND, IDM_ADVANCED_MODE);
        // Holds the read at one table entry, so the progress window shows over the list.
        bool held = false;
        card.hook = [&](uint16_t command, uint16_t code, uint16_t index, uint8_t*) {
            if (!held && command == CMD_GET_STATUS && code == SUB_BSS_ESSID && index == 6) {
                held = true;
                Hold("progress");
            }
        };
        bss.SendMessage(WM_COMMAND, IDCANCEL); // Escape: the table read again, unfiltered
        Hold("advanced");
        card.card.SetFault(SIM_FAULT_SCAN_ENDLESS);
        bss.SendMessage(WM_COMMAND, IDC_BSS_SCAN);
        Hold("scanning");
        bss.SendMessage(WM_COMMAND, IDC_WATCH_CANCEL);
        bss.DestroyWindow();
    }
    {
        WatchCard card(kStations);
        CStationWatchDlg stations;
        stations.Create(nullptr);
        ::SetForegroundWindow(stations);
        Hold("stations");
    }
    ::ExitProcess(0);
}
