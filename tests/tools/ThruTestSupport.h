// ThruTestSupport.h - what the statistics and throughput window tests share:
// cards whose traffic is known exactly, a fixture with the card opened in
// process and message boxes and help captured, and ticks at exact times of
// the card's clock.
#pragma once

#include "tests/support/TestWindows.h"
#include "tests/support/ToolTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// 20480 bytes sent and 51200 received every second (20 and 50 Kbytes),
// 5 % retries, 2 % CRC errors; processor 30 % busy; uptime 3599 s at load.
const char* const kSteadyTraffic =
    "name thru-steady\n"
    "drift 0\n"
    "roaming off\n"
    "cell 00:A0:C5:00:00:01 Corvane 1 72 name=Lobby\n"
    "current 00:A0:C5:00:00:01\n"
    "traffic tx 20480 rx 51200 frame 1024 retry 5 crc 2 multicast 5 broadcast 3\n"
    "cpu 30\n"
    "uptime 3599\n";

// No traffic, counters at chosen values.
const char* const kQuietCounters = "name thru-quiet\n"
                                   "drift 0\n"
                                   "cell 00:A0:C5:00:00:01 Corvane 1 72\n"
                                   "current 00:A0:C5:00:00:01\n"
                                   "traffic tx 0 rx 0\n"
                                   "counter tx-ok 1000\n"
                                   "counter tx-multicast 999\n"
                                   "counter tx-broadcast 0\n"
                                   "counter tx-bytes 1000000\n"
                                   "counter tx-retries 1234567\n"
                                   "counter tx-failed 12\n"
                                   "counter period 4294967295\n"
                                   "counter rx-ok 123\n"
                                   "counter rx-multicast 4294967295\n"
                                   "counter rx-broadcast 10000\n"
                                   "counter rx-bytes 987654321\n"
                                   "counter rx-duplicated 1\n"
                                   "counter rx-crc 22\n"
                                   "counter rx-truncated 333\n"
                                   "counter rx-overlength 4444\n"
                                   "counter rx-discarded 55555\n"
                                   "counter rx-corrupted 666666\n"
                                   "cpu 70\n"
                                   "uptime 3661\n";

// Byte, frame and period counters a few seconds below the wrap, at 60000
// bytes sent and 150000 received every second.
const char* const kAboutToWrap = "name thru-wrap\n"
                                 "drift 0\n"
                                 "cell 00:A0:C5:00:00:01 Corvane 1 72\n"
                                 "current 00:A0:C5:00:00:01\n"
                                 "traffic tx 60000 rx 150000 frame 1500 retry 3 crc 1\n"
                                 "counter rx-bytes 4294500000\n"
                                 "counter tx-bytes 4294800000\n"
                                 "counter rx-ok 4294967000\n"
                                 "counter period 4294967290\n";

// A scenario with the given rates in bytes per second.
std::string TrafficScenario(unsigned tx, unsigned rx, const char* extra = "");

// A test with the card opened in process, the application's profile
// emptied, and message boxes, beeps and help captured.
class ThruFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    void Load(const char* scenario);
    SimCard& Card() { return card->card; }

    // Sends the timer message with the card's clock at `origin + ms` (the
    // reads of one tick take the same time at every tick, so samples at
    // whole seconds apart span exactly whole seconds of traffic).
    void TickAt(CWnd& wnd, UINT_PTR timer, uint32_t ms);
    // Moves the card's clock to `origin + ms` (for a command that reads the
    // card in step with the ticks).
    void At(uint32_t ms);
    // Ticks every 1000 ms after the last one.
    void Ticks(CWnd& wnd, UINT_PTR timer, int count);

    FakeOs os;
    TestApp app;
    std::unique_ptr<OpenedCard> card;
    uint32_t origin = 0;
    uint32_t lastTick = 0;
};

// Posts Ctrl+Alt+<key> to a window, as the keyboard would, and pumps.
void PressCtrlAlt(HWND wnd, char key);
// Posts a key (down and up) to the window with the focus, as the keyboard
// would, and pumps.
void PressKey(UINT vk);
// Shows a window and makes it the active one, as a click on it would.
void Activate(HWND wnd);

// A window's control text.
std::string ItemText(HWND dlg, int id);
bool ItemVisible(HWND dlg, int id);
bool ItemEnabled(HWND dlg, int id);
// Whether the window's timer runs (stops it when it did).
bool TimerRan(HWND wnd, UINT_PTR id);
