// The infrastructure Network Watcher on the simulated card: what the first
// opening reads and lists, the 30-row cut and the progress window, the
// normal-mode filter, sorting, scanning (finished, endless, never begun, the
// card falling silent), joining, reopening, advanced mode, help and sizing,
// the keyboard after a click, and a card that loses port writes.
#include "tests/support/RecordedEvents.h"
#include "tests/tools/ThruTestSupport.h"
#include "tests/tools/WatchTestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "adapter/AdapterState.h"
#include "adapter/CardItem.h"
#include "adapter/Mailbox.h"
#include "framework/MessageFilter.h"
#include "res/resource.h"
#include "widgets/DialogLayout.h"

namespace {

using Cells = std::vector<std::string>;

class BssWatch : public WatchFixture<TestBssWatch>
{
protected:
    void TearDown() override
    {
        WatchFixture::TearDown();
        GetAdapterState().ScanInProgress = FALSE;
    }
    // Ticks every 2 s of card time until the scan is over; the ticks taken.
    int TickUntilIdle(int limit)
    {
        for (int k = 1; k <= limit; ++k) {
            card->card.Advance(CBssWatchDlg::SCAN_POLL_MS);
            dlg->Tick();
            if (!dlg->IsScanning())
                return k;
        }
        return -1;
    }
    static HCURSOR WaitCursor() { return ::LoadCursorA(::GetModuleHandleA(nullptr), "WAIT_M"); }
    static HCURSOR Arrow() { return ::LoadCursorA(nullptr, IDC_ARROW); }
    // Idle: Scan and OK on, Cancel off, Join off (nothing selected).
    void ExpectIdle(const char* when)
    {
        EXPECT_FALSE(dlg->IsScanning()) << when;
        EXPECT_TRUE(dlg->Enabled(IDC_BSS_SCAN)) << when;
        EXPECT_TRUE(dlg->Enabled(IDC_WATCH_OK)) << when;
        EXPECT_FALSE(dlg->Enabled(IDC_WATCH_CANCEL)) << when;
        EXPECT_FALSE(dlg->Enabled(IDC_BSS_JOIN)) << when;
        EXPECT_FALSE(GetAdapterState().ScanInProgress) << when;
        EXPECT_EQ(Arrow(), ClassCursor()) << when;
    }
};

TEST_F(BssWatch, OpeningShowsTheCardsTableWithoutScanning)
{
    struct Case
    {
        int cells;
        int rows;
        bool progress;
    };
    const Case cases[] = {{0, 0, false}, {5, 5, false}, {6, 6, true}, {40, 30, true}};
    for (const Case& c : cases) {
        Open(CellsScenario(c.cells));
        EXPECT_EQ(c.rows, ListRows(dlg->GetList().m_hWnd)) << c.cells << " cells";
        EXPECT_EQ(c.rows, dlg->GetCount()) << c.cells << " cells";
        EXPECT_EQ(c.progress, card->progressSeen) << c.cells << " cells";
        EXPECT_EQ(nullptr, FindProgressWindow()) << "closed after the read";
        EXPECT_EQ(1, card->Status(SUB_BSS_COUNT));
        EXPECT_EQ(0, card->State().scanning) << "no scan at opening";
        EXPECT_FALSE(dlg->Enabled(IDC_BSS_JOIN));
        EXPECT_FALSE(dlg->Enabled(IDC_WATCH_CANCEL));
        if (c.cells == 40) {
            // Only the first 30 entries of the table are asked for.
            EXPECT_EQ(30u, card->essidIndexes.size());
            EXPECT_EQ(29, card->essidIndexes.back());
        }
    }
}

TEST_F(BssWatch, RowsHoldTheCardsTexts)
{
    Open(CellsScenario(3, "cell 00:a0:c5:02:00:00 Corvane 3 9 name=Quiet secure\n"));
    ASSERT_EQ(4, dlg->GetCount());
    EXPECT_EQ((Cells{"AP00", "00:A0:C5:01:00:00", "Corvane", "10", "0", "Associated", "0"}),
              (Cells{dlg->Cell(0, 0), dlg->Cell(0, 1), dlg->Cell(0, 2), dlg->Cell(0, 3),
                     dlg->Cell(0, 4), dlg->Cell(0, 5), dlg->Cell(0, 6)}));
    EXPECT_EQ("00:A0:C5:02:00:00", dlg->Cell(3, 1)) << "addresses in capitals";
    EXPECT_EQ("", dlg->Cell(3, 5)) << "a cell the card is not in has no state";
    EXPECT_EQ("1", dlg->Cell(3, 6));
    EXPECT_EQ(" ", dlg->Cell(3, 4)) << "stations not reported (255) show blank";
    EXPECT_STREQ("Associated", dlg->GetCurrentState());
}

// A firmware without access point names or station counts reports those
// entries not available: an answer, not a card that stopped answering.
TEST_F(BssWatch, FieldsTheFirmwareDoesNotHaveLeaveTheirCellsEmpty)
{
    Open(CellsScenario(2, "firmware 1.05\n"));
    EXPECT_EQ((Cells{"", ""}), dlg->Column(0));
    EXPECT_EQ((Cells{"00:A0:C5:01:00:00", "00:A0:C5:01:00:01"}), dlg->Column(1));
    EXPECT_EQ((Cells{"", ""}), dlg->Column(4));
    PumpMessages();
    EXPECT_TRUE(::IsWindow(dlg->m_hWnd));
    EXPECT_TRUE(os.boxes.empty());
    EXPECT_FALSE(GetAdapterState().m_bAdapterFailed);
}

TEST_F(BssWatch, NormalModeListsOnlyTheConfiguredNetworkAdvancedModeAll)
{
    Make(CellsScenario(2,
                       "cell 00:A0:C5:03:00:01 CORVANE 4 50 name=Upper\n"
                       "cell 00:A0:C5:03:00:02 Guests 5 50 name=Other\n"
                       "cell 02:A0:C5:03:00:03 Corvane 6 50 adhoc name=Party\n"
                       "cell 00:A0:C5:03:00:04 Corvane 7 50 name=Shouty\n"
                       "cell 00:A0:C5:03:00:05 ABCDEFGHIJKLMNOPQRSTUVWXYZ012345 8 50 name=Long\n"));
    // The ESSID compares with regard to case.
    ASSERT_TRUE(dlg->Open());
    EXPECT_EQ((Cells{"AP00", "AP01", "Shouty"}), dlg->Column(0));

    dlg->Command(IDM_ADVANCED_MODE);
    EXPECT_EQ((Cells{"AP00", "AP01", "Shouty"}), dlg->Column(0)) << "the list is not re-read";
    dlg->Command(IDCANCEL); // Escape: the next read, now unfiltered
    EXPECT_EQ((Cells{"AP00", "AP01", "Upper", "Other", "Party", "Shouty", "Long"}), dlg->Column(0));
    EXPECT_EQ((Cells{"Corvane", "Corvane", "CORVANE", "Guests", "Corvane", "Corvane",
                     "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345"}),
              dlg->Column(2))
        << "the longest ESSID whole";
    EXPECT_EQ(1, card->Param(PARAM_NETWORK_TYPE)) << "the current type is read in normal mode only";
}

TEST_F(BssWatch, ColumnsSortByTheirRules)
{
    Open("name sort\nessid Corvane\ndrift 0\nroaming off\n"
         "cell 00:A0:C5:00:00:03 Corvane 1 10 name=Ten stations=10\n"
         "cell 00:A0:C5:00:00:01 Corvane 2 9 name=nine stations=9\n"
         "cell 00:A0:C5:00:00:02 Corvane 3 70 name=Quiet\n"
         "cell 00:A0:C5:00:00:04 Corvane 4 9 name=Also secure stations=0\n"
         "current 00:A0:C5:00:00:02\n");
    struct Case
    {
        int column;
        Cells names;
    };
    // The orders this program chose: numbers as numbers, not reported
    // below every number, open cells first (every rule: the native tests).
    const Case cases[] = {
        {3, {"nine", "Also", "Ten", "Quiet"}},
        {4, {"Quiet", "Also", "nine", "Ten"}},
        {6, {"nine", "Quiet", "Ten", "Also"}},
    };
    for (const Case& c : cases) {
        dlg->ClickColumn(c.column);
        EXPECT_EQ(c.names, dlg->Column(0)) << "column " << c.column;
        dlg->ClickColumn(c.column);
        EXPECT_EQ(c.names, dlg->Column(0)) << "a second click sorts the same way";
    }
}

TEST_F(BssWatch, DomainNamesSortZBeforeAWithTheAddressBetweenEquals)
{
    Open("name sort\nessid Corvane\ndrift 0\nroaming off\n"
         "cell 00:A0:C5:00:00:05 Alpha 1 10 name=A\n"
         "cell 00:A0:C5:00:00:04 Zulu 1 10 name=Z2\n"
         "cell 00:A0:C5:00:00:01 Mike 1 10 name=M\n"
         "cell 00:A0:C5:00:00:02 zulu 1 10 name=Z1\n");
    dlg->Command(IDM_ADVANCED_MODE);
    dlg->Command(IDCANCEL);
    dlg->ClickColumn(2);
    EXPECT_EQ((Cells{"Z1", "Z2", "M", "A"}), dlg->Column(0));
}

TEST_F(BssWatch, EscapeWhileIdleReadsTheTableOnce)
{
    Open(CellsScenario(4));
    card->card.ResetCounts();
    dlg->Command(IDCANCEL);
    EXPECT_EQ(1, card->Status(SUB_BSS_COUNT));
    EXPECT_EQ(4, card->Status(SUB_BSS_ESSID));
    EXPECT_EQ((Cells{"AP00", "AP01", "AP02", "AP03"}), dlg->Column(0));
    EXPECT_TRUE(::IsWindow(dlg->m_hWnd)) << "Escape does not close the window";
    ExpectIdle("after Escape");
}

TEST_F(BssWatch, ScanPollsUntilTheCardIsDoneThenListsTheNewTable)
{
    Open(CellsScenario(3, "scan-time 5000\n"));
    card->card.Apply("signal 2 0\n"); // the third cell is gone at the next scan
    dlg->Command(IDC_BSS_SCAN);
    EXPECT_TRUE(dlg->IsScanning());
    EXPECT_TRUE(GetAdapterState().ScanInProgress);
    EXPECT_EQ(0, ListRows(dlg->GetList().m_hWnd)) << "the rows go at once";
    EXPECT_EQ(WaitCursor(), ClassCursor());
    EXPECT_FALSE(dlg->Enabled(IDC_WATCH_OK));
    EXPECT_FALSE(dlg->Enabled(IDC_BSS_SCAN));
    EXPECT_TRUE(dlg->Enabled(IDC_WATCH_CANCEL));

    card->card.ResetCounts();
    int ticks = TickUntilIdle(10);
    EXPECT_EQ(3, ticks) << "5 s of scanning at a poll every 2 s";
    EXPECT_EQ(3, card->Status(SUB_SCAN_STATE));
    EXPECT_EQ((Cells{"AP00", "AP01"}), dlg->Column(0));
    ExpectIdle("after the scan");
}

TEST_F(BssWatch, TickWhileTheAdapterIsBusyIsSkipped)
{
    Open(CellsScenario(2));
    dlg->Command(IDC_BSS_SCAN);
    card->card.ResetCounts();
    ASSERT_EQ(0, TryLockAdapter());
    card->card.Advance(10000);
    dlg->Tick();
    EXPECT_EQ(0u, card->card.Commands());
    EXPECT_TRUE(dlg->IsScanning());
    UnlockAdapter();
    dlg->Tick();
    EXPECT_EQ(1, card->Status(SUB_SCAN_STATE));
    EXPECT_FALSE(dlg->IsScanning());
}

// Scan, Join and Escape asked for while another poll holds the card (behind
// one of its boxes) do not break into it: nothing reaches the card and the
// window stays as it was; asked again once the card is free they work.
TEST_F(BssWatch, ActionsBesideAnotherPollWaitForTheUsersNextAsk)
{
    const int commands[] = {IDC_BSS_SCAN, IDC_BSS_JOIN, IDCANCEL};
    for (int command : commands) {
        SCOPED_TRACE(command);
        Open(CellsScenario(3));
        dlg->ClickRow(2);
        card->card.ResetCounts();
        ASSERT_EQ(0, TryLockAdapter());
        dlg->Command(command);
        EXPECT_EQ(0u, card->card.Commands());
        EXPECT_FALSE(dlg->IsScanning());
        EXPECT_EQ((Cells{"Associated", "", ""}), dlg->Column(5));
        UnlockAdapter();
        dlg->Command(command);
        EXPECT_NE(0u, card->card.Commands());
        EXPECT_EQ(0, TryLockAdapter()) << "the window let the card go";
        UnlockAdapter();
        dlg->Command(IDOK);
    }
}

TEST_F(BssWatch, EndlessScanEndsWithCancel)
{
    Open(CellsScenario(3, "fault scan-endless\n"));
    dlg->Command(IDC_BSS_SCAN);
    EXPECT_EQ(-1, TickUntilIdle(30)) << "a minute of polls, still waiting";
    EXPECT_TRUE(GetAdapterState().ScanInProgress);
    dlg->Command(IDC_WATCH_CANCEL);
    ExpectIdle("after Cancel");
    EXPECT_EQ(3, ListRows(dlg->GetList().m_hWnd)) << "the table as the card holds it";
    int polls = card->Status(SUB_SCAN_STATE);
    dlg->Tick();
    EXPECT_EQ(polls, card->Status(SUB_SCAN_STATE)) << "the poll has stopped";
}

TEST_F(BssWatch, CardSilentDuringThePollSaysWhyThenClosesAndAsksTheProgramToClose)
{
    // The card falls silent under the poll, or another window found it
    // silent before (and said so): the adapter's message once in all.
    for (bool foundBefore : {false, true}) {
        ClearAdapterState();
        os.boxes.clear();
        app.mainWnd.closes = 0;
        Open(CellsScenario(3));
        dlg->Command(IDC_BSS_SCAN);
        card->card.ResetCounts();
        if (foundBefore)
            ReportAdapterSilent(nullptr);
        else
            card->card.Silence(CMD_GET_STATUS, SUB_SCAN_STATE);
        card->card.Advance(2000);
        dlg->Tick();
        EXPECT_EQ(foundBefore ? 0 : 1, card->Status(SUB_SCAN_STATE)) << foundBefore;
        EXPECT_EQ(nullptr, dlg->m_hWnd) << foundBefore;
        EXPECT_EQ(1, app.mainWnd.closes) << foundBefore;
        ASSERT_EQ(1u, os.boxes.size()) << foundBefore;
        EXPECT_EQ("The Corvane adapter has no response.", os.boxes[0].text);
        EXPECT_FALSE(GetAdapterState().ScanInProgress);
        EXPECT_EQ(0, TryLockAdapter()) << "the adapter lock was given back";
        UnlockAdapter();
    }
    ClearAdapterState();
}

TEST_F(BssWatch, ScanTheCardNeverBeginsReturnsToIdle)
{
    // A join that never ends keeps the card refusing to scan (busy).
    Open(CellsScenario(3, "fault join-endless hard\n"));
    ASSERT_EQ(0, JoinNetwork("Infrastructure", "00:A0:C5:01:00:01", "Corvane"));
    ASSERT_EQ(1, card->State().joining);
    card->card.ResetCounts();
    uint32_t before = card->card.Now();
    dlg->Command(IDC_BSS_SCAN);
    EXPECT_GE(card->card.Now() - before, 19000u) << "twenty tries a second apart";
    ExpectIdle("after a scan that never began");
    EXPECT_EQ(1, card->Status(SUB_BSS_COUNT));
    EXPECT_EQ(3, ListRows(dlg->GetList().m_hWnd)) << "the table as the card holds it";
    EXPECT_EQ(0, card->Status(SUB_SCAN_STATE));
    ASSERT_EQ(1u, os.boxes.size()) << "the user is told";
    EXPECT_EQ("The Corvane adapter did not start the scan.", os.boxes[0].text);
    EXPECT_EQ("Warning", os.boxes[0].caption);
    EXPECT_EQ((UINT)MB_ICONEXCLAMATION, os.boxes[0].style);
}

TEST_F(BssWatch, JoinMovesTheLinkStateToTheJoinedRow)
{
    Open(CellsScenario(3));
    EXPECT_EQ((Cells{"Associated", "", ""}), dlg->Column(5));
    dlg->ClickRow(2);
    ASSERT_NE(nullptr, dlg->GetSelected());
    EXPECT_STREQ("AP02", dlg->GetSelected()->apName);
    EXPECT_TRUE(dlg->Enabled(IDC_BSS_JOIN));
    card->card.ResetCounts();
    dlg->Command(IDC_BSS_JOIN);
    EXPECT_EQ((Cells{"", "", "Associated"}), dlg->Column(5));
    EXPECT_EQ(2, card->State().currentCell) << "the card is in the chosen cell";
    EXPECT_EQ(0, card->Status(SUB_BSS_COUNT)) << "the table is not read again";
    EXPECT_FALSE(dlg->Enabled(IDC_BSS_JOIN));
    // A click on no row takes the selection away.
    dlg->ClickRow(-1);
    EXPECT_EQ(nullptr, dlg->GetSelected());
}

// The link history hears of a scan (with the cells it found) and of a join
// (the ESSID and BSSID chosen), each once.
TEST_F(BssWatch, ScanAndJoinAreRecordedInTheLinkHistory)
{
    Open(CellsScenario(3, "scan-time 5000\n"));
    card->card.Apply("signal 2 0\n");
    EventsSince scan;
    dlg->Command(IDC_BSS_SCAN);
    ASSERT_EQ(3, TickUntilIdle(10));
    EXPECT_EQ((std::vector<RecordedEvent>{{HISTORY_SCAN_STARTED, "", "", 0},
                                          {HISTORY_SCAN_FINISHED, "", "", 2}}),
              scan.Since());

    EventsSince join;
    dlg->ClickRow(1);
    dlg->Command(IDC_BSS_JOIN);
    EXPECT_EQ((std::vector<RecordedEvent>{{HISTORY_JOIN, "Corvane", "00:A0:C5:01:00:01", 0}}),
              join.Since());
}

TEST_F(BssWatch, JoinWithoutAnswerClosesTheDialog)
{
    Open(CellsScenario(2));
    dlg->ClickRow(1);
    card->card.SetFault(SIM_FAULT_NO_ANSWER);
    dlg->Command(IDC_BSS_JOIN);
    EXPECT_FALSE(::IsWindow(dlg->m_hWnd));
    EXPECT_TRUE(os.boxes.empty());
    EXPECT_EQ(0, app.mainWnd.closes);
}

TEST_F(BssWatch, ReopeningShowsTheRowsKeptWithoutReadingTheCard)
{
    Open(CellsScenario(3));
    dlg->Command(IDM_ADVANCED_MODE);
    dlg->Command(IDC_BSS_SCAN);
    TickUntilIdle(5);
    Cells before = dlg->Column(0);
    dlg->Command(IDC_WATCH_OK);
    ASSERT_FALSE(::IsWindow(dlg->m_hWnd));
    card->card.ResetCounts();
    ASSERT_TRUE(dlg->Open());
    EXPECT_EQ(0u, card->card.Commands());
    EXPECT_EQ(before, dlg->Column(0));
    EXPECT_EQ("Network Watcher (Infrastructure) (Advanced)", dlg->GetWindowText());
    dlg->Command(IDM_ADVANCED_MODE);
    EXPECT_EQ("Network Watcher (Infrastructure)", dlg->GetWindowText());
    EXPECT_FALSE(dlg->IsAdvanced());
}

TEST_F(BssWatch, ClosingDuringAScanLeavesNoScanBehind)
{
    Open(CellsScenario(2));
    dlg->Command(IDC_BSS_SCAN);
    ASSERT_TRUE(GetAdapterState().ScanInProgress);
    dlg->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(::IsWindow(dlg->m_hWnd));
    EXPECT_FALSE(GetAdapterState().ScanInProgress);
    EXPECT_FALSE(dlg->IsScanning());
    // A dialog of the same class shows the arrow again.
    HWND other = ::CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                   nullptr);
    EXPECT_EQ(Arrow(), (HCURSOR)::GetClassLongPtrA(other, GCLP_HCURSOR));
    ::DestroyWindow(other);
}

TEST_F(BssWatch, HelpAndItsFailure)
{
    Open(CellsScenario(0));
    dlg->Command(IDC_WATCH_HELP);
    EXPECT_EQ((std::vector<std::string>{"Network Watcher"}), os.helpKeys);
    EXPECT_TRUE(os.boxes.empty());
    os.helpAnswer = FALSE;
    dlg->Command(IDC_WATCH_HELP);
    ASSERT_EQ(1u, os.boxes.size());
    EXPECT_EQ("Cannot open help file.", os.boxes[0].text);
    EXPECT_EQ("Corvane", os.boxes[0].caption);
    EXPECT_EQ((UINT)MB_ICONERROR, os.boxes[0].style);
}

TEST_F(BssWatch, ColumnsByWeightAndSizingByTheRules)
{
    Open(CellsScenario(1));
    HWND list = dlg->GetList().m_hWnd;
    RECT rc;
    ::GetWindowRect(list, &rc);
    int unit = (rc.right - rc.left) / 14;
    for (int c = 0; c < BSS_COLUMN_COUNT; ++c)
        EXPECT_EQ(CBssWatchDlg::kColumnWeights[c] * unit - 1,
                  (int)::SendMessageA(list, LVM_GETCOLUMNWIDTH, c, 0))
            << "column " << c;

    SIZE min = dlg->GetMinSize();
    RECT window;
    dlg->GetWindowRect(&window);
    EXPECT_EQ(window.right - window.left, min.cx);
    ::SetWindowPos(*dlg, nullptr, 0, 0, min.cx + 120, min.cy + 80, SWP_NOMOVE | SWP_NOZORDER);
    RECT client, help, after;
    dlg->GetClientRect(&client);
    ::GetWindowRect(::GetDlgItem(*dlg, IDC_WATCH_HELP), &help);
    ::MapWindowPoints(nullptr, *dlg, (POINT*)&help, 2);
    RECT offset = {0, 0, 20, 8};
    DialogUnitsToPixels(*dlg, &offset);
    EXPECT_EQ(client.right - offset.right, help.right);
    EXPECT_EQ(client.bottom - offset.bottom, help.bottom);
    ::GetWindowRect(list, &after);
    ::MapWindowPoints(nullptr, *dlg, (POINT*)&after, 2);
    RECT gap = {0, 0, 8, 8};
    DialogUnitsToPixels(*dlg, &gap);
    EXPECT_EQ(client.right - gap.right, after.right) << "the list takes the width";
    EXPECT_EQ(help.top - gap.bottom, after.bottom) << "and the height above the buttons";

    MINMAXINFO info = {};
    dlg->SendMessage(WM_GETMINMAXINFO, 0, (LPARAM)&info);
    EXPECT_EQ(min.cx, info.ptMinTrackSize.x);
    EXPECT_EQ(min.cy, info.ptMinTrackSize.y);
}

} // namespace

namespace {

TEST_F(BssWatch, CtrlAltASwitchesAdvancedModeThroughTheMessageFilter)
{
    Open(CellsScenario(1));
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    BYTE saved[256];
    memcpy(saved, keys, sizeof keys);
    keys[VK_CONTROL] = keys[VK_MENU] = 0x80;
    ::SetKeyboardState(keys);
    MSG msg = {dlg->GetList().m_hWnd, WM_SYSKEYDOWN, 'A', 0x20000001};
    BOOL taken = PreTranslateThreadMessage(&msg);
    ::SetKeyboardState(saved);
    EXPECT_TRUE(taken);
    EXPECT_TRUE(dlg->IsAdvanced());
    EXPECT_EQ("Network Watcher (Infrastructure) (Advanced)", dlg->GetWindowText());
}

} // namespace

namespace {

// Keys held down while a read pumps messages.
class HeldCtrlAlt
{
public:
    HeldCtrlAlt()
    {
        ::GetKeyboardState(m_saved);
        BYTE keys[256];
        memcpy(keys, m_saved, sizeof keys);
        keys[VK_CONTROL] = keys[VK_MENU] = 0x80;
        ::SetKeyboardState(keys);
    }
    ~HeldCtrlAlt() { ::SetKeyboardState(m_saved); }

private:
    BYTE m_saved[256];
};

TEST_F(BssWatch, CtrlAltADuringAReadAppliesFromTheNextRead)
{
    // Eight cells of the configured network and two of another: a read
    // under the progress window, which pumps messages between rows.
    Open(CellsScenario(8, "cell 00:A0:C5:02:00:01 Other 3 40 name=XA\n"
                          "cell 00:A0:C5:02:00:02 Other 4 41 name=XB\n"));
    const Cells normal = dlg->Column(0);
    ASSERT_EQ(8u, normal.size());
    std::unique_ptr<HeldCtrlAlt> held;
    card->hook = [&](uint16_t command, uint16_t code, uint16_t index, uint8_t*) {
        if (command == CMD_GET_STATUS && code == SUB_BSS_ESSID && index == 1 && !held) {
            held.reset(new HeldCtrlAlt);
            ::PostMessageA(dlg->GetList().m_hWnd, WM_SYSKEYDOWN, 'A', 0x20000001);
        }
    };
    dlg->Command(IDCANCEL); // Escape: the table read again
    held.reset();
    card->hook = nullptr;
    ASSERT_TRUE(card->progressSeen);
    EXPECT_TRUE(dlg->IsAdvanced()) << "the keys were taken during the read";
    EXPECT_EQ(normal, dlg->Column(0)) << "the read went on as it began";
    dlg->Command(IDCANCEL);
    EXPECT_EQ(10, ListRows(dlg->GetList().m_hWnd)) << "the next read is advanced";
}

TEST_F(BssWatch, WatchersOpenedBesideAnotherPollDoNotReadTheCard)
{
    // Another poll holds the card (waiting behind a message box) when a
    // watcher opens from the tray or by a second start.
    Make(CellsScenario(3));
    ASSERT_EQ(0, TryLockAdapter());
    ASSERT_TRUE(dlg->Open());
    EXPECT_EQ(0u, card->card.Commands());
    EXPECT_EQ(0, ListRows(dlg->GetList().m_hWnd));
    TestStationWatch stations;
    ASSERT_TRUE(stations.Open());
    EXPECT_EQ(0, card->Param(PARAM_STATION_NAME) + card->Status(SUB_STATION_COUNT) +
                     card->Status(SUB_STATION_ENTRY));
    UnlockAdapter();
    // Once the card is free the table comes with Escape, or at the next
    // opening of a window that kept nothing.
    dlg->Command(IDCANCEL);
    EXPECT_EQ(3, ListRows(dlg->GetList().m_hWnd));
    EXPECT_TRUE(os.boxes.empty());
}

TEST_F(BssWatch, ScanAndCancelByMouseLeaveTheKeyboardInTheWindow)
{
    Open(CellsScenario(3, "fault scan-endless\n"));
    dlg->ShowWindow(SW_SHOW);
    ::SetForegroundWindow(*dlg);
    HWND scan = dlg->GetDlgItem(IDC_BSS_SCAN), cancel = dlg->GetDlgItem(IDC_WATCH_CANCEL);
    // A click on a button takes the focus to it, then the button commands.
    ::SendMessageA(scan, BM_CLICK, 0, 0);
    ASSERT_TRUE(dlg->IsScanning());
    EXPECT_EQ(cancel, ::GetFocus()) << "Scan went grey: the focus is on Cancel";
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(dlg->IsScanning()) << "Escape cancels the scan";
    EXPECT_EQ(scan, ::GetFocus()) << "Cancel went grey: the focus is on Scan";
    PressKey(VK_TAB);
    EXPECT_NE(scan, ::GetFocus()) << "Tab moves on";
    EXPECT_TRUE(::IsChild(*dlg, ::GetFocus()));

    ::SendMessageA(scan, BM_CLICK, 0, 0);
    ::SendMessageA(cancel, BM_CLICK, 0, 0);
    EXPECT_FALSE(dlg->IsScanning());
    EXPECT_EQ(scan, ::GetFocus());
}

TEST_F(BssWatch, JoinByMouseLeavesTheKeyboardInTheWindow)
{
    Open(CellsScenario(3));
    dlg->ShowWindow(SW_SHOW);
    ::SetForegroundWindow(*dlg);
    dlg->ClickRow(2);
    ASSERT_TRUE(dlg->Enabled(IDC_BSS_JOIN));
    // The click takes the focus to Join, which the join then greys.
    ::SendMessageA(dlg->GetDlgItem(IDC_BSS_JOIN), BM_CLICK, 0, 0);
    ASSERT_EQ((Cells{"", "", "Associated"}), dlg->Column(5));
    ASSERT_FALSE(dlg->Enabled(IDC_BSS_JOIN));
    EXPECT_EQ(dlg->GetList().m_hWnd, ::GetFocus()) << "the focus is on the list";
    PressKey(VK_TAB);
    HWND focus = ::GetFocus();
    EXPECT_TRUE(::IsChild(*dlg, focus) && ::IsWindowEnabled(focus) && ::IsWindowVisible(focus))
        << "Tab moves on to a control the user can work";
}

// Every row of the list is the card's own entry of CellsScenario with all
// its fields, and each entry is there once.
void ExpectCardsOwnRows(TestBssWatch& dlg, int cells, const std::string& when)
{
    ASSERT_EQ(cells, ListRows(dlg.GetList().m_hWnd)) << when;
    std::set<std::string> seen;
    for (int row = 0; row < cells; ++row) {
        const std::string bssid = dlg.Cell(row, 1);
        ASSERT_EQ(0u, bssid.find("00:A0:C5:01:00:0")) << when << ", row " << row << ": " << bssid;
        const int i = bssid.back() - '0';
        char name[8];
        snprintf(name, sizeof name, "AP%02d", i);
        EXPECT_EQ((Cells{name, bssid, "Corvane", std::to_string(10 + i), std::to_string(i % 7),
                         i == 0 ? "Associated" : "", "0"}),
                  (Cells{dlg.Cell(row, 0), dlg.Cell(row, 1), dlg.Cell(row, 2), dlg.Cell(row, 3),
                         dlg.Cell(row, 4), dlg.Cell(row, 5), dlg.Cell(row, 6)}))
            << when << ", row " << row;
        seen.insert(bssid);
    }
    EXPECT_EQ((size_t)cells, seen.size()) << when << ": every entry once";
}

// Loses the n-th port write (OUT) from the moment it is armed, once.
struct LostOut
{
    static int s_count, s_lost;
    static void (*s_out)(WORD, WORD);
    static void OutWord(WORD port, WORD value)
    {
        if (s_lost > 0 && ++s_count == s_lost) {
            s_lost = 0;
            return;
        }
        s_out(port, value);
    }
};
int LostOut::s_count = 0;
int LostOut::s_lost = 0;
void (*LostOut::s_out)(WORD, WORD) = nullptr;

// The case the review found: the index of one entry's request is lost on its
// way (the sixth OUT of a command: the address of the read that finds the
// mailbox free, the address of the write, command, status, code, index). The
// rest of the block slides into its place, and the card would answer for
// entry 0 in row 3.
TEST_F(BssWatch, ALostTableIndexNeverShowsAnotherEntrysData)
{
    const int kCells = 5; // no progress window: it costs Wine seconds to close
    Make(CellsScenario(kCells));
    GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
    OsGuard guard;
    LostOut::s_out = g_os.OutWord;
    LostOut::s_lost = 0;
    g_os.OutWord = &LostOut::OutWord;
    card->hook = [](uint16_t command, uint16_t code, uint16_t index, uint8_t*) {
        if (command == CMD_GET_STATUS && code == SUB_BSS_AP_NAME && index == 3) {
            LostOut::s_count = 0;
            LostOut::s_lost = 6; // of the next request: entry 3's address
        }
    };
    ASSERT_TRUE(dlg->Open());
    PumpMessages();
    ASSERT_TRUE(dlg->IsWindow());
    ExpectCardsOwnRows(*dlg, kCells, "the opening");
    EXPECT_EQ(0, LostOut::s_lost) << "the write was lost";
    EXPECT_TRUE(os.boxes.empty());
    card->hook = nullptr;
}

// A card that loses some of the port writes reaching it, on the Windows 98
// path (the program's own OUTs). A lost table index would have the card
// answer for another entry, a lost request leave a field blank or the table
// short. Each row shown is the card's own entry with all its fields, and the
// list is the whole table; a read the card could not answer whole is not
// shown, and the user hears once that the card does not answer.
TEST_F(BssWatch, PortWritesLostOnTheWayNeverShowAWrongOrShortList)
{
    const int kCells = 5; // no progress window: it costs Wine seconds to close
    struct Case
    {
        unsigned percent;
        bool fromTheStart; // else only while the entries are read
        bool answersFail;  // so many writes lost that no read gets through
    };
    const Case cases[] = {{1, false, false}, {2, false, false}, {60, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.percent);
        ClearAdapterState();
        os.boxes.clear();
        app.mainWnd.closes = 0;
        Make(CellsScenario(kCells));
        GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
        if (c.fromTheStart) {
            card->card.SetFault(SIM_FAULT_DROP_WRITES, true, c.percent);
        } else {
            // On from the first entry's first field to the last entry's
            // last one: the reads of the table's size and the current cell
            // go through, the entries' reads lose writes.
            card->hook = [&](uint16_t command, uint16_t code, uint16_t index, uint8_t*) {
                if (command != CMD_GET_STATUS)
                    return;
                if (code == SUB_BSS_ESSID && index == 0)
                    card->card.SetFault(SIM_FAULT_DROP_WRITES, true, c.percent);
                if (code == SUB_BSS_SECURITY && index == kCells - 1)
                    card->card.SetFault(SIM_FAULT_DROP_WRITES, false);
            };
        }
        ASSERT_TRUE(dlg->Open());
        // The opening, then Escape: ten reads of the table.
        int reads = 0;
        for (; reads < 10 && dlg->m_hWnd; ++reads) {
            if (reads > 0)
                dlg->Command(IDCANCEL);
            PumpMessages(); // the no-response road of an opening runs here
            if (!dlg->m_hWnd)
                break;
            ExpectCardsOwnRows(*dlg, kCells, "read " + std::to_string(reads));
            EXPECT_TRUE(os.boxes.empty());
        }
        card->hook = nullptr;
        if (dlg->m_hWnd) {
            EXPECT_FALSE(c.answersFail) << "a list came through " << c.percent << " % lost writes";
            continue;
        }
        ASSERT_EQ(1u, os.boxes.size()) << "said once";
        EXPECT_EQ("The Corvane adapter has no response.", os.boxes[0].text);
        EXPECT_EQ(1, app.mainWnd.closes);
        EXPECT_TRUE(GetAdapterState().m_bAdapterFailed);
        EXPECT_EQ(0, TryLockAdapter()) << "the adapter lock was given back";
        UnlockAdapter();
    }
    ClearAdapterState();
}

} // namespace
