// The ad-hoc Network Watcher on the simulated card: the stations listed at
// opening with their times and the caption, free slots, the progress window,
// a read the card would keep going backwards, a read the card leaves
// unanswered, Refresh with its one timer, Cancel, a station name the card
// does not give, sorting and help.
#include "tests/tools/ThruTestSupport.h"
#include "tests/tools/WatchTestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "adapter/AdapterState.h"
#include "adapter/CardItem.h"
#include "adapter/Mailbox.h"
#include "res/resource.h"

namespace {

using Cells = std::vector<std::string>;

const char kAdHocHead[] = "name sta\nnetwork adhoc\nessid Party\ndrift 0\n"
                          "cell 02:5E:10:20:30:40 Party 9 80 adhoc\ncurrent 02:5E:10:20:30:40\n";

std::string Stations(const std::string& lines)
{
    return kAdHocHead + lines;
}

using StationWatch = WatchFixture<TestStationWatch>;

TEST_F(StationWatch, ListsTheStationsWithTheirSilenceAndTheCountInTheCaption)
{
    Open(Stations("station 00:A0:C5:AA:00:01 ALPHA inactive=59 silent\n"
                  "free-slot\n"
                  "station 00:A0:C5:AA:00:02 BRAVO inactive=300 silent\n"
                  "station 00:a0:c5:aa:00:03 CHARLIE inactive=301 silent\n"));
    EXPECT_EQ((Cells{"ALPHA", "BRAVO", "CHARLIE"}), dlg->Column(0));
    EXPECT_EQ((Cells{"00-A0-C5-AA-00-01", "00-A0-C5-AA-00-02", "00-A0-C5-AA-00-03"}),
              dlg->Column(1));
    EXPECT_EQ((Cells{"00:59", "05:00", "not available"}), dlg->Column(2));
    EXPECT_EQ("Network Watcher - 3 Connection(s) to \\\\CORVANE-PC", dlg->GetWindowText());
    EXPECT_EQ(4, card->Status(SUB_STATION_ENTRY)) << "the free slot is read and skipped";
    EXPECT_FALSE(card->progressSeen);
    EXPECT_FALSE(dlg->Enabled(IDC_WATCH_CANCEL));
    EXPECT_TRUE(dlg->Enabled(IDC_STATION_REFRESH));
}

TEST_F(StationWatch, ProgressWindowAboveFiveStations)
{
    struct Case
    {
        int stations;
        bool progress;
    };
    for (const Case& c : {Case{5, false}, Case{6, true}}) {
        std::string lines;
        for (int i = 0; i < c.stations; ++i)
            lines +=
                "station 00:A0:C5:AA:01:0" + std::to_string(i) + " S" + std::to_string(i) + "\n";
        Open(Stations(lines));
        EXPECT_EQ(c.stations, dlg->GetCount());
        EXPECT_EQ(c.progress, card->progressSeen) << c.stations << " stations";
        EXPECT_EQ(nullptr, FindProgressWindow());
    }
}

TEST_F(StationWatch, AnIndexThatGoesBackwardsEndsTheRead)
{
    Make(Stations("station 00:A0:C5:AA:00:01 ALPHA\nstation 00:A0:C5:AA:00:02 BRAVO\n"
                  "station 00:A0:C5:AA:00:03 CHARLIE\nstation 00:A0:C5:AA:00:04 DELTA\n"));
    // From entry 2 on, the card answers with entry 0's index word again.
    card->hook = [](uint16_t command, uint16_t code, uint16_t index, uint8_t* value) {
        if (command == CMD_GET_STATUS && code == SUB_STATION_ENTRY && index >= 2)
            value[0] = value[1] = 0;
    };
    ASSERT_TRUE(dlg->Open());
    EXPECT_EQ((Cells{"ALPHA", "BRAVO"}), dlg->Column(0));
    EXPECT_EQ(3, card->Status(SUB_STATION_ENTRY));
    EXPECT_EQ("Network Watcher - 2 Connection(s) to \\\\CORVANE-PC", dlg->GetWindowText());
}

TEST_F(StationWatch, StationsTheCardCannotGiveEndTheRead)
{
    Open(Stations("station 00:A0:C5:AA:00:01 ALPHA\nstation 00:A0:C5:AA:00:02 BRAVO\n"
                  "fault unavailable 1\n"));
    EXPECT_EQ((Cells{"ALPHA"}), dlg->Column(0));
}

// A table read the card leaves unanswered, its size or an entry, at the
// opening, the end of a refresh and Escape: the user hears once that the
// adapter has no response and the list is empty, never short.
TEST_F(StationWatch, ATableReadTheCardLeavesUnansweredIsSaidOnceNeverShownShort)
{
    enum Road
    {
        OPENING,
        REFRESH_END,
        ESCAPE
    };
    for (Road road : {OPENING, REFRESH_END, ESCAPE}) {
        for (uint16_t lost : {SUB_STATION_COUNT, SUB_STATION_ENTRY}) {
            SCOPED_TRACE("road " + std::to_string(road) + ", sub-code " + std::to_string(lost));
            ClearAdapterState();
            os.boxes.clear();
            Make(Stations("station 00:A0:C5:AA:00:01 ALPHA\nstation 00:A0:C5:AA:00:02 BRAVO\n"
                          "station 00:A0:C5:AA:00:03 CHARLIE\n"));
            auto silence = [this, lost] {
                if (lost == SUB_STATION_COUNT) {
                    card->card.Silence(CMD_GET_STATUS, SUB_STATION_COUNT);
                    return;
                }
                // Entry 0 is answered, the card falls silent from entry 1 on.
                card->hook = [this](uint16_t command, uint16_t code, uint16_t index, uint8_t*) {
                    if (command == CMD_GET_STATUS && code == SUB_STATION_ENTRY && index == 0)
                        card->card.Silence(CMD_GET_STATUS, SUB_STATION_ENTRY);
                };
            };
            if (road == OPENING)
                silence();
            ASSERT_TRUE(dlg->Open());
            if (road == REFRESH_END) {
                dlg->Command(IDC_STATION_REFRESH);
                silence();
                dlg->Tick();
            } else if (road == ESCAPE) {
                silence();
                dlg->Command(IDCANCEL);
            }
            PumpMessages(); // an opening tells once its window stands
            EXPECT_EQ(0, ListRows(dlg->GetList().m_hWnd));
            EXPECT_EQ("Network Watcher - 0 Connection(s) to \\\\CORVANE-PC", dlg->GetWindowText());
            ASSERT_EQ(1u, os.boxes.size());
            EXPECT_EQ("The Corvane adapter has no response.", os.boxes[0].text);
            EXPECT_TRUE(GetAdapterState().m_bAdapterFailed);
            EXPECT_TRUE(dlg->Enabled(IDC_STATION_REFRESH));
            EXPECT_EQ(0, TryLockAdapter()) << "the adapter lock was given back";
            UnlockAdapter();
            // Said once: the card is asked nothing more.
            card->card.ResetCounts();
            dlg->Command(IDCANCEL);
            PumpMessages();
            EXPECT_EQ(0u, card->card.Commands());
            EXPECT_EQ(1u, os.boxes.size());
            card->hook = nullptr;
        }
    }
    ClearAdapterState();
}

TEST_F(StationWatch, RefreshAsksTheCardAndReadsWhenTheTimerEnds)
{
    Open(Stations("station 00:A0:C5:AA:00:01 ALPHA\n"));
    card->card.Apply("station 00:A0:C5:AA:00:09 ZULU\n");
    uint32_t answered = card->State().commandsAnswered;
    dlg->Command(IDC_STATION_REFRESH);
    EXPECT_TRUE(dlg->IsRefreshing());
    EXPECT_EQ(0, ListRows(dlg->GetList().m_hWnd));
    EXPECT_EQ(0x64, card->State().lastCommand) << "the station search was asked for";
    EXPECT_GT(card->State().commandsAnswered, answered);
    EXPECT_EQ(::LoadCursorA(::GetModuleHandleA(nullptr), "WAIT_M"), ClassCursor());
    EXPECT_FALSE(dlg->Enabled(IDC_WATCH_OK));
    EXPECT_FALSE(dlg->Enabled(IDC_STATION_REFRESH));
    EXPECT_TRUE(dlg->Enabled(IDC_WATCH_CANCEL));

    dlg->Tick();
    EXPECT_FALSE(dlg->IsRefreshing());
    EXPECT_EQ((Cells{"ALPHA", "ZULU"}), dlg->Column(0));
    EXPECT_EQ("Network Watcher - 2 Connection(s) to \\\\CORVANE-PC", dlg->GetWindowText());
    EXPECT_TRUE(dlg->Enabled(IDC_WATCH_OK));
    EXPECT_TRUE(dlg->Enabled(IDC_STATION_REFRESH));
    EXPECT_FALSE(dlg->Enabled(IDC_WATCH_CANCEL));
    EXPECT_EQ(::LoadCursorA(nullptr, IDC_ARROW), ClassCursor());
}

TEST_F(StationWatch, RefreshEndNeitherBreaksIntoAnotherPollNorAsksAFailedCard)
{
    Open(Stations("station 00:A0:C5:AA:00:01 ALPHA\n"));
    dlg->Command(IDC_STATION_REFRESH);
    card->card.ResetCounts();
    // Another poll holds the card: the table is read a second later.
    ASSERT_EQ(0, TryLockAdapter());
    dlg->Tick();
    UnlockAdapter();
    EXPECT_EQ(0, card->Status(SUB_STATION_COUNT));
    EXPECT_TRUE(dlg->IsRefreshing());
    dlg->Tick();
    EXPECT_EQ(1, card->Status(SUB_STATION_COUNT));
    EXPECT_EQ((Cells{"ALPHA"}), dlg->Column(0));

    // A card another window found silent is not asked: no stations.
    dlg->Command(IDC_STATION_REFRESH);
    card->card.ResetCounts();
    GetAdapterState().m_bAdapterFailed = TRUE;
    dlg->Tick();
    ClearAdapterState();
    EXPECT_EQ(0u, card->card.Commands());
    EXPECT_FALSE(dlg->IsRefreshing());
    EXPECT_EQ(0, ListRows(dlg->GetList().m_hWnd));
    EXPECT_EQ("Network Watcher - 0 Connection(s) to \\\\CORVANE-PC", dlg->GetWindowText());
    EXPECT_TRUE(dlg->Enabled(IDC_STATION_REFRESH));
}

// Refresh, Cancel and Escape are card polls: beside another poll (waiting
// behind one of its boxes) they leave the card and the window alone until
// the user asks again; a card found silent is asked nothing and shows no
// stations.
TEST_F(StationWatch, RefreshAndCancelNeitherBreakIntoAnotherPollNorAskAFailedCard)
{
    Open(Stations("station 00:A0:C5:AA:00:01 ALPHA\n"));
    for (int command : {IDC_STATION_REFRESH, IDC_WATCH_CANCEL, IDCANCEL}) {
        SCOPED_TRACE(command);
        card->card.ResetCounts();
        ASSERT_EQ(0, TryLockAdapter());
        dlg->Command(command);
        EXPECT_EQ(0u, card->card.Commands());
        EXPECT_FALSE(dlg->IsRefreshing());
        EXPECT_EQ((Cells{"ALPHA"}), dlg->Column(0)) << "the window stays as it was";
        UnlockAdapter();
        dlg->Command(command);
        EXPECT_NE(0u, card->card.Commands());
        EXPECT_EQ(0, TryLockAdapter()) << "the window let the card go";
        UnlockAdapter();
        dlg->Command(IDC_WATCH_CANCEL); // ends a refresh
        EXPECT_FALSE(dlg->IsRefreshing());
    }

    for (int command : {IDC_STATION_REFRESH, IDC_WATCH_CANCEL, IDCANCEL}) {
        SCOPED_TRACE(command);
        Open(Stations("station 00:A0:C5:AA:00:01 ALPHA\n"));
        card->card.ResetCounts();
        GetAdapterState().m_bAdapterFailed = TRUE;
        dlg->Command(command);
        ClearAdapterState();
        EXPECT_EQ(0u, card->card.Commands());
        EXPECT_FALSE(dlg->IsRefreshing());
        EXPECT_EQ(0, ListRows(dlg->GetList().m_hWnd));
        EXPECT_EQ("Network Watcher - 0 Connection(s) to \\\\CORVANE-PC", dlg->GetWindowText());
        EXPECT_TRUE(dlg->Enabled(IDC_STATION_REFRESH));
        EXPECT_FALSE(dlg->Enabled(IDC_WATCH_CANCEL));
        EXPECT_TRUE(os.boxes.empty());
    }
}

TEST_F(StationWatch, RefreshEndingWithNoStationsShowsTheCountZero)
{
    Open(Stations("station 00:A0:C5:AA:00:01 ALPHA\n"));
    card->card.Apply("station 00:A0:C5:AA:00:01 gone\n");
    dlg->Command(IDC_STATION_REFRESH);
    dlg->Tick();
    EXPECT_EQ(0, ListRows(dlg->GetList().m_hWnd));
    EXPECT_EQ("Network Watcher - 0 Connection(s) to \\\\CORVANE-PC", dlg->GetWindowText());
}

TEST_F(StationWatch, CancelAndEscapeReadTheTableOnce)
{
    Open(Stations("station 00:A0:C5:AA:00:01 ALPHA\nstation 00:A0:C5:AA:00:02 BRAVO\n"));
    for (int id : {IDC_WATCH_CANCEL, IDCANCEL}) {
        dlg->Command(IDC_STATION_REFRESH);
        card->card.ResetCounts();
        dlg->Command(id);
        EXPECT_FALSE(dlg->IsRefreshing()) << id;
        EXPECT_EQ(1, card->Status(SUB_STATION_COUNT)) << id;
        EXPECT_EQ((Cells{"ALPHA", "BRAVO"}), dlg->Column(0)) << id;
        EXPECT_TRUE(dlg->Enabled(IDC_STATION_REFRESH)) << id;
        EXPECT_FALSE(dlg->Enabled(IDC_WATCH_CANCEL)) << id;
        EXPECT_EQ(::LoadCursorA(nullptr, IDC_ARROW), ClassCursor()) << id;
        card->card.ResetCounts();
        dlg->Tick();
        EXPECT_EQ(0, card->Status(SUB_STATION_COUNT)) << "a late tick finds no refresh";
    }
    EXPECT_TRUE(::IsWindow(dlg->m_hWnd));
}

TEST_F(StationWatch, StationNameTheCardDoesNotGive)
{
    Make(Stations("station 00:A0:C5:AA:00:01 ALPHA\n"));
    card->card.Silence(CMD_GET_PARAM, PARAM_STATION_NAME);
    ASSERT_TRUE(dlg->Open());
    EXPECT_EQ("Network Watcher - 1 Connection(s) to \\\\(null)", dlg->GetWindowText());
}

TEST_F(StationWatch, InactiveTimePutsTheLongestSilentFirst)
{
    Open(Stations("station 00:A0:C5:AA:00:01 ALPHA inactive=20 silent\n"
                  "station 00:A0:C5:AA:00:02 BRAVO inactive=400 silent\n"
                  "station 00:A0:C5:AA:00:03 CHARLIE inactive=200 silent\n"
                  "station 00:A0:C5:AA:00:00 DELTA inactive=20 silent\n"));
    dlg->ClickColumn(2);
    EXPECT_EQ((Cells{"BRAVO", "CHARLIE", "DELTA", "ALPHA"}), dlg->Column(0));
    dlg->ClickColumn(1);
    EXPECT_EQ((Cells{"DELTA", "ALPHA", "BRAVO", "CHARLIE"}), dlg->Column(0));
    dlg->ClickColumn(0);
    EXPECT_EQ((Cells{"ALPHA", "BRAVO", "CHARLIE", "DELTA"}), dlg->Column(0));
}

TEST_F(StationWatch, HelpFailureIsNotReported)
{
    Open(Stations(""));
    os.helpAnswer = FALSE;
    dlg->Command(IDC_WATCH_HELP);
    EXPECT_EQ((std::vector<std::string>{"Network Watcher"}), os.helpKeys);
    EXPECT_TRUE(os.boxes.empty());
    dlg->Command(IDM_ADVANCED_MODE);
    EXPECT_EQ("Network Watcher - 0 Connection(s) to \\\\CORVANE-PC", dlg->GetWindowText())
        << "Ctrl+Alt+A does nothing here";
}

TEST_F(StationWatch, RefreshAndCancelByMouseLeaveTheKeyboardInTheWindow)
{
    Open(Stations("station 00:A0:C5:AA:00:01 ALPHA\n"));
    dlg->ShowWindow(SW_SHOW);
    ::SetForegroundWindow(*dlg);
    HWND refresh = dlg->GetDlgItem(IDC_STATION_REFRESH), cancel = dlg->GetDlgItem(IDC_WATCH_CANCEL);
    // A click on a button takes the focus to it, then the button commands.
    ::SendMessageA(refresh, BM_CLICK, 0, 0);
    ASSERT_TRUE(dlg->IsRefreshing());
    EXPECT_EQ(cancel, ::GetFocus()) << "Refresh went grey: the focus is on Cancel";
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(dlg->IsRefreshing()) << "Escape cancels the refresh";
    EXPECT_EQ(refresh, ::GetFocus()) << "Cancel went grey: the focus is on Refresh";

    PressKey(VK_TAB);
    EXPECT_NE(refresh, ::GetFocus()) << "Tab moves on";
    EXPECT_TRUE(::IsChild(*dlg, ::GetFocus()));

    // A refresh that ends by its timer gives the dialog the focus, which
    // puts it on a control the user can work.
    ::SendMessageA(refresh, BM_CLICK, 0, 0);
    ASSERT_EQ(cancel, ::GetFocus());
    dlg->Tick();
    EXPECT_FALSE(dlg->IsRefreshing());
    HWND focus = ::GetFocus();
    EXPECT_TRUE(::IsChild(*dlg, focus) && ::IsWindowVisible(focus) && ::IsWindowEnabled(focus));
}

} // namespace
