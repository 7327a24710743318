// WatchTestSupport.h - what the Network Watcher tests share: the simulated
// card opened in process, message boxes and help calls captured, an
// application object with a main window that records being asked to close,
// and watchers whose card reads a test can count and steer.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/CWinApp.h"
#include "framework/Os.h"
#include "tests/support/SimCard.h"
#include "tools/CBssWatchDlg.h"
#include "tools/CStationWatchDlg.h"

// Message boxes and help requests, captured for the life of the object.
class WatchOs
{
public:
    WatchOs();
    ~WatchOs();
    struct Box
    {
        std::string text, caption;
        UINT style;
    };
    std::vector<Box> boxes;
    std::vector<std::string> helpKeys;
    BOOL helpAnswer = TRUE;
    static WatchOs* current;

private:
    OsGuard m_guard;
};

// The simulated card behind the adapter functions, as after start-up.
class WatchCard
{
public:
    explicit WatchCard(const char* scenario);
    ~WatchCard();
    SimState State();
    SimCard card;
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

// A card read as a test sees it: the item, the table index asked for (the
// first word before the read) and the result. A test's hook may change the
// answer after the card gave it.
using ReadHook = std::function<BYTE(int item, int index, void* output, size_t size, BYTE result)>;

// The progress window of a watcher's read, if one is shown now.
HWND FindProgressWindow();

class TestBssWatch : public CBssWatchDlg
{
public:
    std::map<int, int> reads;
    std::vector<int> indexes30; // table indexes asked for the ESSID (item 30)
    std::string essid = "Corvane";
    ReadHook hook;
    bool progressSeen = false;

    // Hidden: a shown window costs Wine seconds to destroy without a window manager.
    bool Open(CWnd* parent = nullptr) { return CDialog::Create(parent) != FALSE; }
    int Reads(int item) const;
    int TotalReads() const;
    void Command(int id) { SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    void Tick() { SendMessage(WM_TIMER, SCAN_TIMER); }
    void ClickColumn(int column);
    // Clicks row `row` (or empty space below the rows when -1).
    void ClickRow(int row);
    std::vector<std::string> Column(int column);
    std::string Cell(int row, int column);
    bool Enabled(int id) const { return ::IsWindowEnabled(GetDlgItem(id)) != FALSE; }

protected:
    BYTE ReadCardItem(int item, void* output, size_t size) override;
    void ReadConfiguredEssid(char* text, size_t size) override;
};

class TestStationWatch : public CStationWatchDlg
{
public:
    std::map<int, int> reads;
    ReadHook hook;
    bool progressSeen = false;

    bool Open(CWnd* parent = nullptr) { return CDialog::Create(parent) != FALSE; }
    int Reads(int item) const;
    void Command(int id) { SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    void Tick() { SendMessage(WM_TIMER, REFRESH_TIMER); }
    void ClickColumn(int column);
    std::vector<std::string> Column(int column);
    bool Enabled(int id) const { return ::IsWindowEnabled(GetDlgItem(id)) != FALSE; }

protected:
    BYTE ReadCardItem(int item, void* output, size_t size) override;
};

// Infrastructure scenarios: n cells of "Corvane" (signal 10 + i, named
// AP00...), the card in the first.
std::string CellsScenario(int n, const std::string& extraLines = "");

// Text of a list cell and its row count.
std::string ListCell(HWND list, int row, int column);
int ListRows(HWND list);

void PumpWatchMessages();
