// HistoryRecordingTest.cpp - the link history and the site survey log as the
// tool window keeps them, against the simulated card: the band events of a
// quality ramping through the thresholds, a card falling silent, the Save
// dialog and the file it names, a write that fails, and the Link History
// window's keyboard. What is checked is what the user could see: the events,
// the file, the boxes, the window's controls and the clipboard.
#include "adapter/AdapterState.h"
#include "adapter/LinkHistory.h"
#include "res/resource.h"
#include "tests/support/ToolTestSupport.h"
#include "tools/CLinkHistoryDlg.h"

#include <cderr.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const char kHeader[] = "Time,Quality,Band,ESSID,BSSID,Mark\r\n";

SYSTEMTIME Noon()
{
    SYSTEMTIME t = {};
    t.wYear = 2026;
    t.wMonth = 12;
    t.wDay = 9;
    t.wHour = 12;
    return t;
}

std::string ReadWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWhole(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t at = 0;
    for (size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    return lines;
}

// The fields after the time of a survey line.
std::string AfterTime(const std::string& line)
{
    const size_t comma = line.find(',');
    return comma == std::string::npos ? line : line.substr(comma + 1);
}

struct Search
{
    const char* title;
    bool shown; // only a window on the screen
    HWND found;
};

BOOL CALLBACK FindTitled(HWND wnd, LPARAM param)
{
    Search* search = reinterpret_cast<Search*>(param);
    if (CWnd::GetWindowText(wnd) == search->title && (!search->shown || ::IsWindowVisible(wnd))) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

// A window of this thread by its caption (on the screen unless `hidden` is
// allowed), or none.
HWND FindCaption(const char* title, bool hidden = false)
{
    Search search = {title, !hidden, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindTitled, (LPARAM)&search);
    return search.found;
}

std::string ItemText(HWND dlg, int id)
{
    return CWnd::GetWindowText(::GetDlgItem(dlg, id));
}

bool Enabled(HWND dlg, int id)
{
    return ::IsWindowEnabled(::GetDlgItem(dlg, id)) != FALSE;
}

void Click(HWND dlg, int id)
{
    ::SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)::GetDlgItem(dlg, id));
}

class History : public ToolWindowFixture
{
protected:
    void SetUp() override
    {
        os.UseClock(Noon());
        char dir[MAX_PATH];
        ::GetTempPathA(sizeof dir, dir);
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path = std::string(dir) + "survey-" + test->name() + ".csv";
        ::DeleteFileA(path.c_str());
    }
    void TearDown() override
    {
        ToolWindowFixture::TearDown();
        ::DeleteFileA(path.c_str());
    }
    // The tool window on the card, with the history as at the program's start.
    void StartClean(const char* scenario = kInfrastructure)
    {
        Start(scenario);
        GetLinkHistory().Reset();
    }
    void Signal(int value) { ASSERT_TRUE(card->card.SetSignal(0, (uint16_t)value)); }
    // One monitor tick two seconds after the last, on the card and the clock.
    void Tick()
    {
        card->card.Advance(2000);
        SYSTEMTIME& t = os.clock;
        const HistoryDate d = HistoryDateOf(
            HistoryTimeOf({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond}) + 2);
        t.wYear = (WORD)d.year;
        t.wMonth = (WORD)d.month;
        t.wDay = (WORD)d.day;
        t.wHour = (WORD)d.hour;
        t.wMinute = (WORD)d.minute;
        t.wSecond = (WORD)d.second;
        tool->Tick();
    }
    // Link History opened from the notification icon's menu.
    HWND OpenHistory()
    {
        tool->SendMessage(WM_COMMAND, IDM_LINK_HISTORY);
        return FindCaption("Link History");
    }
    // Record... in the window, the user choosing `path`.
    void Record(HWND dlg)
    {
        os.savePath = path;
        Click(dlg, IDC_HISTORY_RECORD);
    }
    // The texts of the events the history holds since the last call.
    std::vector<std::string> NewEvents()
    {
        const LinkHistory& h = GetLinkHistory();
        std::vector<std::string> texts;
        const uint32_t added = h.EventSerial() - seenSerial;
        for (size_t i = h.EventCount() - std::min<size_t>(added, h.EventCount());
             i < h.EventCount(); ++i)
            texts.push_back(CLinkHistoryDlg::EventText(h.EventAt(i)));
        seenSerial = h.EventSerial();
        return texts;
    }

    std::string path;
    uint32_t seenSerial = 0;
};

using Texts = std::vector<std::string>;

TEST_F(History, QualityRampingThroughTheThresholdsGivesExactlyItsEvents)
{
    StartClean();
    // A band is entered when the quality reaches it and left only 5 points
    // past its threshold; the alert keeps its own rule (raised below 30,
    // armed again from 30 on).
    const struct
    {
        int quality;
        Texts events;
    } steps[] = {
        {70, {"Signal quality good (70%)"}},
        {62, {}},
        {59, {}},
        {61, {}},
        {56, {}},
        {55, {}},
        {54, {"Signal quality fair (54%)"}},
        {60, {"Signal quality good (60%)"}},
        {59, {}},
        {55, {}},
        {61, {}},
        {45, {"Signal quality fair (45%)"}},
        {30, {}},
        {29, {"Signal quality poor (29%)", "Poor signal quality alert raised (29%)"}},
        {28, {}},
        {31, {}},
        {29, {"Poor signal quality alert raised (29%)"}},
        {34, {}},
        {35, {"Signal quality fair (35%)"}},
        {29, {"Signal quality poor (29%)", "Poor signal quality alert raised (29%)"}},
        {80, {"Signal quality good (80%)"}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.quality);
        Signal(step.quality);
        Tick();
        EXPECT_EQ(step.events, NewEvents());
    }
    EXPECT_EQ(sizeof steps / sizeof steps[0], GetLinkHistory().SampleCount())
        << "one sample a tick";
    KeepShownWindowsToTheEnd(std::move(tool));
}

TEST_F(History, SilentCardGivesItsEventsAndTheLogsLastLine)
{
    StartClean();
    HWND dlg = OpenHistory();
    ASSERT_TRUE(dlg);
    Signal(75);
    Record(dlg);
    ASSERT_EQ("Recording to " + path, ItemText(dlg, IDC_HISTORY_STATE));
    Tick();
    Tick();
    card->card.SetFault(SIM_FAULT_NO_ANSWER);
    Tick();
    // The log's first read of the cell is the history's first sight of it.
    EXPECT_EQ((Texts{"Cell changed to 00:A0:C5:00:00:01", "Survey log started: " + path,
                     "Signal quality good (75%)", "The adapter stopped answering",
                     "Monitoring stopped: the adapter has failed", "Survey log stopped"}),
              NewEvents());
    EXPECT_EQ(1, os.CountBoxes("The Corvane adapter has no response."));

    // The last line says so, with the last known cell; nothing follows it.
    card->card.SetFault(SIM_FAULT_NO_ANSWER, false);
    Tick();
    const std::vector<std::string> lines = Lines(ReadWhole(path));
    ASSERT_EQ(4u, lines.size()) << ReadWhole(path);
    EXPECT_EQ("Time,Quality,Band,ESSID,BSSID,Mark", lines[0]);
    EXPECT_EQ("75,good,Corvane,00:A0:C5:00:00:01,", AfterTime(lines[1]));
    EXPECT_EQ("2026-12-09T12:00:04", lines[2].substr(0, 19));
    EXPECT_EQ(",no response,Corvane,00:A0:C5:00:00:01,", AfterTime(lines[3]));
    PumpMessages();
    EXPECT_EQ("Not recording.", ItemText(dlg, IDC_HISTORY_STATE));
    EXPECT_FALSE(Enabled(dlg, IDC_HISTORY_RECORD)) << "no log on a failed adapter";
    KeepShownWindowsToTheEnd(std::move(tool));
}

TEST_F(History, RecordAsksForTheFileWithTheFirstSystemsDialogAndAppendsOrReplaces)
{
    const struct
    {
        const char* what;
        bool exists;
        std::string before;
        int answer;           // to "already exists"
        bool recording;       // afterwards
        std::string expected; // the file before the ticks' lines
    } cases[] = {
        {"a new file gets the header", false, "", 0, true, kHeader},
        {"Yes adds to the end", true, "old line\r\n", IDYES, true, "old line\r\n"},
        {"Yes to an empty file gives it the header", true, "", IDYES, true, kHeader},
        {"Yes to a log cut in a line ends that line first", true, "old li", IDYES, true,
         "old li\r\n"},
        {"No replaces it", true, "old line\r\n", IDNO, true, kHeader},
        {"Cancel leaves it alone", true, "old line\r\n", IDCANCEL, false, "old line\r\n"},
    };
    StartClean();
    HWND dlg = OpenHistory();
    ASSERT_TRUE(dlg);
    Signal(45);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ::DeleteFileA(path.c_str());
        if (c.exists)
            WriteWhole(path, c.before);
        os.saves.clear();
        os.boxes.clear();
        os.answers = {c.answer};
        Record(dlg);
        ASSERT_EQ(1u, os.saves.size());
        const OPENFILENAMEA& ofn = os.saves[0].ofn;
        EXPECT_EQ(76u, ofn.lStructSize);
        EXPECT_EQ(dlg, ofn.hwndOwner);
        EXPECT_EQ("Survey logs (*.csv)|*.csv|All files (*.*)|*.*|", os.saves[0].filter);
        EXPECT_EQ("csv", os.saves[0].defExt);
        EXPECT_EQ((DWORD)(OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR), ofn.Flags);
        if (c.exists) {
            ASSERT_EQ(1u, os.boxes.size());
            EXPECT_EQ(path +
                          " already exists.\n\nYes adds the new lines to its end, No replaces it.",
                      os.boxes[0].text);
            EXPECT_EQ("Link History", os.boxes[0].caption);
            EXPECT_EQ((UINT)(MB_YESNOCANCEL | MB_ICONQUESTION), os.boxes[0].style);
        } else {
            EXPECT_TRUE(os.boxes.empty());
        }
        EXPECT_EQ(c.recording, !Enabled(dlg, IDC_HISTORY_RECORD));
        EXPECT_EQ(c.recording, Enabled(dlg, IDC_HISTORY_STOP));
        EXPECT_EQ(c.recording, Enabled(dlg, IDC_HISTORY_MARK));
        Tick();
        Click(dlg, IDC_HISTORY_STOP);
        const std::string text = ReadWhole(path);
        ASSERT_EQ(c.expected, text.substr(0, c.expected.size()));
        const std::vector<std::string> added = Lines(text.substr(c.expected.size()));
        if (c.recording) {
            ASSERT_EQ(1u, added.size()) << text;
            EXPECT_EQ("45,fair,Corvane,00:A0:C5:00:00:01,", AfterTime(added[0]));
        } else {
            EXPECT_TRUE(added.empty()) << text;
        }
        EXPECT_EQ("Not recording.", ItemText(dlg, IDC_HISTORY_STATE));
    }

    // The Save dialog gave no file: a cancel says nothing, a dialog that
    // could not open (comdlg32 not loaded) or could not give the file (a
    // path too long) says so; nothing is written.
    const struct
    {
        DWORD error;
        Texts boxes;
    } noFile[] = {
        {0, {}},
        {CDERR_INITIALIZATION, {"The Save dialog gave no file (error 0x0002)."}},
        {FNERR_BUFFERTOOSMALL, {"The Save dialog gave no file (error 0x3003)."}},
    };
    os.savePath.clear();
    for (const auto& c : noFile) {
        SCOPED_TRACE(c.error);
        os.boxes.clear();
        os.saveDialogError = c.error;
        ::DeleteFileA(path.c_str());
        Click(dlg, IDC_HISTORY_RECORD);
        EXPECT_EQ(c.boxes, os.Texts());
        EXPECT_TRUE(Enabled(dlg, IDC_HISTORY_RECORD));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(path.c_str()));
    }
    KeepShownWindowsToTheEnd(std::move(tool));
}

TEST_F(History, FailedWriteStopsTheLogWithOneMessageAndKeepsTheLines)
{
    const struct
    {
        const char* what;
        bool shortWrite;
        DWORD error;
    } cases[] = {
        {"a full disk", false, ERROR_DISK_FULL},
        {"a removed disk", false, ERROR_NOT_READY},
        {"a write that falls short", true, 0},
    };
    StartClean();
    HWND dlg = OpenHistory();
    ASSERT_TRUE(dlg);
    Signal(80);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ::DeleteFileA(path.c_str());
        os.boxes.clear();
        os.writes = 0;
        os.failingWrite = -1;
        Record(dlg);
        Tick();
        Tick();
        // The header and two lines are written; the third line fails.
        os.failingWrite = 3;
        os.shortWrite = c.shortWrite;
        os.writeError = c.error;
        NewEvents();
        Tick();
        Tick();
        Tick();
        ASSERT_EQ(1u, os.boxes.size());
        // The reason is the system's own; Wine words some of them otherwise.
        const std::string start = "The survey log " + path + " could not be written:\n\n";
        EXPECT_EQ(start, os.boxes[0].text.substr(0, start.size()));
        EXPECT_LT(start.size() + 3, os.boxes[0].text.size()) << "a reason follows";
        EXPECT_EQ("Link History", os.boxes[0].caption);
        EXPECT_EQ((UINT)MB_ICONSTOP, os.boxes[0].style);
        EXPECT_EQ(dlg, os.boxes[0].owner);
        const Texts events = NewEvents();
        ASSERT_EQ(1u, events.size());
        EXPECT_EQ("Survey log stopped: " + os.boxes[0].text.substr(start.size()), events[0]);
        EXPECT_EQ(4, os.writes) << "no write after the failed one";

        os.failingWrite = -1;
        const std::vector<std::string> lines = Lines(ReadWhole(path));
        // A half line, where the disk took one, ends without a line end.
        ASSERT_EQ(3u, lines.size());
        EXPECT_EQ("Time,Quality,Band,ESSID,BSSID,Mark", lines[0]);
        EXPECT_EQ("80,good,Corvane,00:A0:C5:00:00:01,", AfterTime(lines[1]));
        EXPECT_EQ("80,good,Corvane,00:A0:C5:00:00:01,", AfterTime(lines[2]));
        PumpMessages();
        EXPECT_EQ("Not recording.", ItemText(dlg, IDC_HISTORY_STATE));
        EXPECT_TRUE(Enabled(dlg, IDC_HISTORY_RECORD));
    }
    KeepShownWindowsToTheEnd(std::move(tool));
}

// The box of a failed write holds the tick that wrote the line. When a tick
// meanwhile finds the card silent, the icon keeps saying so: the held
// tick's older reading does not come after it.
TEST_F(History, TickHeldByTheWriteFailureBoxLeavesTheAdapterFailureShown)
{
    StartClean();
    HWND dlg = OpenHistory();
    ASSERT_TRUE(dlg);
    Signal(80);
    Record(dlg);
    Tick();
    ASSERT_EQ("Quality: 80%", LastTip(os));
    os.failingWrite = os.writes;
    os.whileBoxOpen = [&] {
        card->card.SetFault(SIM_FAULT_NO_ANSWER);
        Tick();
    };
    Tick();
    ASSERT_EQ(2u, os.boxes.size()) << "the write's failure, then the silent card";
    EXPECT_EQ("The Corvane adapter has no response.", os.boxes[1].text);
    EXPECT_EQ("The Corvane adapter has no response.", LastTip(os));
    EXPECT_EQ(SmallIcon(IDI_QUALITY_POOR), LastIcon(os));
    KeepShownWindowsToTheEnd(std::move(tool));
}

TEST_F(History, MarkIsWrittenInTheFollowingLinesAndRecorded)
{
    StartClean();
    HWND dlg = OpenHistory();
    ASSERT_TRUE(dlg);
    Signal(66);
    Record(dlg);
    Tick();
    NewEvents();
    // The mark dialog, answered as the user would: the note typed, then OK.
    const struct
    {
        const char* typed;
        const char* mark;
        Texts events;
    } marks[] = {
        {"  Room 204, \"east\" ", "Room 204, \"east\"", {"Survey mark: Room 204, \"east\""}},
        {"Room 204, \"east\"", "Room 204, \"east\"", {}},
        {"", "", {}},
    };
    std::string expectedMarks;
    for (const auto& m : marks) {
        SCOPED_TRACE(m.typed);
        tool->hook = [&] {
            // Shown once the dialog's loop is idle: found before that.
            HWND mark = FindCaption("Survey Mark", true);
            ASSERT_TRUE(mark);
            HWND note = ::GetDlgItem(mark, IDC_SURVEY_MARK_TEXT);
            ::SetWindowTextA(note, m.typed);
            ::PostMessageA(::GetParent(note), WM_COMMAND, IDOK, 0);
        };
        tool->PostMessage(TestToolDlg::WM_RUN_HOOK);
        Click(dlg, IDC_HISTORY_MARK);
        EXPECT_EQ(m.events, NewEvents());
        const std::string state = "Recording to " + path;
        EXPECT_EQ(*m.mark ? state + "  Mark: " + m.mark : state, ItemText(dlg, IDC_HISTORY_STATE));
        Tick();
    }
    Click(dlg, IDC_HISTORY_STOP);
    const std::vector<std::string> lines = Lines(ReadWhole(path));
    ASSERT_EQ(5u, lines.size());
    EXPECT_EQ("66,good,Corvane,00:A0:C5:00:00:01,", AfterTime(lines[1]));
    EXPECT_EQ("66,good,Corvane,00:A0:C5:00:00:01,\"Room 204, \"\"east\"\"\"", AfterTime(lines[2]));
    EXPECT_EQ("66,good,Corvane,00:A0:C5:00:00:01,\"Room 204, \"\"east\"\"\"", AfterTime(lines[3]));
    EXPECT_EQ("66,good,Corvane,00:A0:C5:00:00:01,", AfterTime(lines[4]));
    KeepShownWindowsToTheEnd(std::move(tool));
}

// The log ends on its own while the user still has one of its questions
// open: what the user answers afterwards marks or starts nothing that runs.
// Mark...: a line fails to be written while the note is typed; the note
// marks no stopped log. Record: the card falls silent while the user is
// asked whether to replace the file; no tick comes to end the log then, so
// it ends at once with its last line.
TEST_F(History, LogEndingWhileItsQuestionIsOpen)
{
    StartClean();
    HWND dlg = OpenHistory();
    ASSERT_TRUE(dlg);
    Signal(75);
    Record(dlg);
    Tick();
    NewEvents();
    tool->hook = [&] {
        HWND mark = FindCaption("Survey Mark", true);
        ASSERT_TRUE(mark);
        os.failingWrite = os.writes;
        Tick();
        ::SetWindowTextA(::GetDlgItem(mark, IDC_SURVEY_MARK_TEXT), "Room 204");
        ::PostMessageA(mark, WM_COMMAND, IDOK, 0);
    };
    tool->PostMessage(TestToolDlg::WM_RUN_HOOK);
    Click(dlg, IDC_HISTORY_MARK);
    Texts events = NewEvents();
    ASSERT_EQ(1u, events.size()) << events.back();
    EXPECT_EQ("Survey log stopped: ", events[0].substr(0, 20));
    EXPECT_EQ("Not recording.", ItemText(dlg, IDC_HISTORY_STATE));

    os.failingWrite = -1;
    WriteWhole(path, "old line\r\n");
    os.boxes.clear();
    os.answers = {IDOK, IDNO}; // the silent card's box, then No: replace
    os.whileBoxOpen = [&] {
        card->card.SetFault(SIM_FAULT_NO_ANSWER);
        Tick();
    };
    Record(dlg);
    EXPECT_EQ((Texts{"The adapter stopped answering", "Monitoring stopped: the adapter has failed",
                     "Survey log started: " + path, "Survey log stopped"}),
              NewEvents());
    const std::vector<std::string> lines = Lines(ReadWhole(path));
    ASSERT_EQ(2u, lines.size()) << ReadWhole(path);
    EXPECT_EQ("Time,Quality,Band,ESSID,BSSID,Mark", lines[0]);
    EXPECT_EQ(",no response,,,", AfterTime(lines[1]));
    EXPECT_EQ("Not recording.", ItemText(dlg, IDC_HISTORY_STATE));
    EXPECT_FALSE(Enabled(dlg, IDC_HISTORY_STOP));
    KeepShownWindowsToTheEnd(std::move(tool));
}

TEST_F(History, CellIsReadAtMostOneItemATickAndNeverBesideAnotherPoll)
{
    StartClean();
    HWND dlg = OpenHistory();
    ASSERT_TRUE(dlg);
    Signal(70);
    Tick();
    card->card.ResetCounts();
    Tick();
    const uint32_t plain = card->card.Commands();
    Record(dlg);
    card->card.ResetCounts();
    // Ticks over 30 s: every tick at most one command beyond the plain tick.
    uint32_t extra = 0;
    for (int i = 0; i < 15; ++i) {
        card->card.ResetCounts();
        Tick();
        ASSERT_LE(card->card.Commands(), plain + 1) << "tick " << i;
        extra += card->card.Commands() - plain;
    }
    EXPECT_GE(extra, 2u) << "the cell is read again after 10 s";
    EXPECT_LE(extra, 6u) << "and not more often";

    // Another poll holds the card: no command of the log, the cell stays.
    {
        AdapterLock held;
        ASSERT_TRUE(held.IsHeld());
        card->card.ResetCounts();
        for (int i = 0; i < 8; ++i)
            Tick();
        EXPECT_EQ(0u, card->card.Commands()) << "the monitor skips as well";
    }
    Click(dlg, IDC_HISTORY_STOP);
    const std::vector<std::string> lines = Lines(ReadWhole(path));
    ASSERT_EQ(16u, lines.size()) << "no line while the monitor skipped";
    EXPECT_EQ("70,good,Corvane,00:A0:C5:00:00:01,", AfterTime(lines.back()));
    KeepShownWindowsToTheEnd(std::move(tool));
}

// Keys through the real message path, as the user presses them.
void PressKey(UINT vk, bool ctrl = false)
{
    BYTE keys[256], saved[256];
    ::GetKeyboardState(saved);
    ::GetKeyboardState(keys);
    if (ctrl)
        keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    const LPARAM scan = (LPARAM)::MapVirtualKeyA(vk, 0) << 16;
    HWND focus = ::GetFocus();
    ::PostMessageA(focus, WM_KEYDOWN, vk, 1 | scan);
    ::PostMessageA(focus, WM_KEYUP, vk, 1 | scan | 0xC0000000);
    PumpMessages();
    ::SetKeyboardState(saved);
}

void PressAlt(char letter)
{
    const LPARAM scan = (LPARAM)::MapVirtualKeyA(letter, 0) << 16;
    ::PostMessageA(::GetFocus(), WM_SYSKEYDOWN, letter, 0x20000001 | scan);
    ::PostMessageA(::GetFocus(), WM_SYSKEYUP, letter, 0xE0000001 | scan);
    PumpMessages();
}

std::string ClipboardText()
{
    std::string text;
    if (!::OpenClipboard(nullptr))
        return "(clipboard not open)";
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        if (const char* p = (const char*)::GlobalLock(data)) {
            text = p;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

TEST_F(History, KeyboardTabAltLettersCopyEnterAndEscape)
{
    StartClean();
    Signal(70);
    Tick(); // "Signal quality good (70%)"
    Signal(50);
    for (int i = 0; i < 3; ++i)
        Tick(); // "Signal quality fair (50%)" at the first
    HWND dlg = OpenHistory();
    ASSERT_TRUE(dlg);
    ::SetForegroundWindow(dlg);
    ::SetActiveWindow(dlg);
    HWND list = ::GetDlgItem(dlg, IDC_HISTORY_EVENTS);
    ASSERT_EQ(2, ListView_GetItemCount(list));
    ASSERT_EQ(::GetDlgItem(dlg, IDC_HISTORY_SPAN), ::GetFocus()) << "the first control";

    // Tab goes through the controls the user can work, in the window's order.
    const int order[] = {
        IDC_HISTORY_EVENTS, IDC_HISTORY_COPY, IDC_HISTORY_CLEAR, IDC_HISTORY_RECORD, IDOK,
        IDC_HISTORY_HELP,   IDC_HISTORY_SPAN};
    for (int id : order) {
        PressKey(VK_TAB);
        EXPECT_EQ(::GetDlgItem(dlg, id), ::GetFocus()) << "Tab to " << id;
    }

    // Alt+letters reach their controls.
    PressAlt('E');
    EXPECT_EQ(list, ::GetFocus()) << "Alt+E: the event list";
    PressAlt('S');
    EXPECT_EQ(::GetDlgItem(dlg, IDC_HISTORY_SPAN), ::GetFocus()) << "Alt+S: the span";
    os.saves.clear();
    PressAlt('R');
    EXPECT_EQ(1u, os.saves.size()) << "Alt+R: Record... (cancelled)";
    os.helpKeys.clear();
    PressAlt('H');
    EXPECT_EQ(Texts{"Link History"}, os.helpKeys) << "Alt+H: Help with its keyword";

    // Ctrl+C in the list: the selected rows, or all of them, oldest first.
    ::SetFocus(list);
    PressKey('C', true);
    EXPECT_EQ("2026-12-09 12:00:02\tSignal quality good (70%)\r\n"
              "2026-12-09 12:00:04\tSignal quality fair (50%)\r\n",
              ClipboardText());
    ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    PressKey('C', true);
    EXPECT_EQ("2026-12-09 12:00:04\tSignal quality fair (50%)\r\n", ClipboardText());
    PressAlt('L');
    EXPECT_EQ(0, ListView_GetItemCount(list)) << "Alt+L: Clear";

    // Enter is Close, the default button; Escape closes too.
    ::SetFocus(::GetDlgItem(dlg, IDC_HISTORY_SPAN));
    PressKey(VK_RETURN);
    EXPECT_FALSE(::IsWindow(dlg)) << "Enter closes";
    dlg = OpenHistory();
    ASSERT_TRUE(dlg);
    ::SetForegroundWindow(dlg);
    ::SetActiveWindow(dlg);
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(::IsWindow(dlg)) << "Escape closes";
    KeepShownWindowsToTheEnd(std::move(tool));
}

} // namespace
