// WatchTestSupport.h - what the Network Watcher tests share: the simulated
// card opened in process, whose commands a test counts and whose answers it
// steers, an application object with a main window that records being asked
// to close, and the watchers with helpers to click and read their lists.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "adapter/MailboxBlock.h"
#include "framework/CWinApp.h"
#include "tests/support/FakeOs.h"
#include "tests/support/RegistryFixture.h"
#include "tests/support/SimCard.h"
#include "tools/CBssWatchDlg.h"
#include "tools/CStationWatchDlg.h"

// The simulated card behind the adapter functions, as after start-up, and
// the driver's parameter key in the test registry (holding only the ESSID
// "Corvane", the configured network).
class WatchCard
{
public:
    explicit WatchCard(const char* scenario);
    ~WatchCard();
    SimState State();
    // Status and parameter commands the card took up since the last
    // ResetCounts, by sub-code or parameter code.
    int Status(uint16_t sub) const { return (int)card.Commands(CMD_GET_STATUS, sub); }
    int Param(uint16_t code) const { return (int)card.Commands(CMD_GET_PARAM, code); }

    RegistryFixture reg;
    SimCard card;
    // The table indexes the BSS table's ESSIDs were asked for, and whether a
    // progress window was shown while a BSS or station entry was read.
    std::vector<int> essidIndexes;
    bool progressSeen = false;
    // A test's hand in the card's answers (see SimCard::WatchAnswers).
    SimCard::AnswerWatch hook;
};

// The program's main window as far as the watchers see it: it records
// WM_CLOSE.
class RecordingMainWnd : public CWnd
{
public:
    int closes = 0;
    bool Open();

protected:
    void OnClose() override { ++closes; }
};

class WatchApp : public CWinApp
{
public:
    WatchApp();
    ~WatchApp() override;
    RecordingMainWnd mainWnd;
};

// The progress window of a watcher's read, if one is shown now.
HWND FindProgressWindow();

class TestBssWatch : public CBssWatchDlg
{
public:
    // Hidden: a shown window costs Wine seconds to destroy without a window manager.
    bool Open(CWnd* parent = nullptr) { return CDialog::Create(parent) != FALSE; }
    void Command(int id) { SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    void Tick() { SendMessage(WM_TIMER, SCAN_TIMER); }
    void ClickColumn(int column);
    // Clicks row `row` (or empty space below the rows when -1).
    void ClickRow(int row);
    std::vector<std::string> Column(int column);
    std::string Cell(int row, int column);
    bool Enabled(int id) const { return ::IsWindowEnabled(GetDlgItem(id)) != FALSE; }
};

class TestStationWatch : public CStationWatchDlg
{
public:
    bool Open(CWnd* parent = nullptr) { return CDialog::Create(parent) != FALSE; }
    void Command(int id) { SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    void Tick() { SendMessage(WM_TIMER, REFRESH_TIMER); }
    void ClickColumn(int column);
    std::vector<std::string> Column(int column);
    bool Enabled(int id) const { return ::IsWindowEnabled(GetDlgItem(id)) != FALSE; }
};

// Infrastructure scenarios: n cells of "Corvane" (signal 10 + i, named
// AP00...), the card in the first.
std::string CellsScenario(int n, const std::string& extraLines = "");

// Text of a list cell and its row count.
std::string ListCell(HWND list, int row, int column);
int ListRows(HWND list);

// A watcher test: the fake operating system, the application, the card of a
// scenario and the watcher.
template <class Watcher> class WatchFixture : public ::testing::Test
{
protected:
    // The card and the dialog object, no window yet.
    void Make(const std::string& scenario)
    {
        dlg.reset();
        card.reset();
        card.reset(new WatchCard(scenario.c_str()));
        dlg.reset(new Watcher);
    }
    void Open(const std::string& scenario)
    {
        Make(scenario);
        ASSERT_TRUE(dlg->Open());
    }
    void TearDown() override
    {
        dlg.reset();
        card.reset();
    }
    HCURSOR ClassCursor() const { return (HCURSOR)::GetClassLongPtrA(dlg->m_hWnd, GCLP_HCURSOR); }

    FakeOs os;
    WatchApp app;
    std::unique_ptr<WatchCard> card;
    std::unique_ptr<Watcher> dlg;
};
