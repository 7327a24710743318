// SignalDlgTest.cpp - the signal quality window: segments and colours read
// back from the screen, captions, the pauses that build the bar up, the
// state mode and its accelerator, creation against a silent card, and the
// close that keeps the mode. Shown windows are left to the end of the
// process (destroying one costs Wine two seconds).
#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "adapter/Mailbox.h"
#include "adapter/QualityScale.h"
#include "res/resource.h"
#include "tests/support/ToolScenarios.h"
#include "tests/support/ToolTestSupport.h"
#include "tools/CSignalDlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace {

const COLORREF kGreen = RGB(0, 255, 0), kDarkGreen = RGB(0, 128, 0);
const COLORREF kRed = RGB(255, 0, 0), kDarkRed = RGB(128, 0, 0);
const COLORREF kYellow = RGB(255, 255, 0), kOlive = RGB(128, 128, 0);
const COLORREF kUnlit = RGB(64, 64, 64), kBlack = RGB(0, 0, 0);
const COLORREF kMagenta = RGB(255, 0, 255), kBlue = RGB(0, 0, 255), kCyan = RGB(0, 255, 255);

std::string Rgb(COLORREF c)
{
    char text[32];
    snprintf(text, sizeof(text), "(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

class SignalWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        card.reset(new OpenedCard(kInfrastructure));
        os.RecordSleeps();
        ClearAdapterState();
    }
    void TearDown() override { card.reset(); }

    // A shown signal window, on top at a place of its own, its own timer
    // stopped so that only the test repaints it.
    CSignalDlg* Open()
    {
        CSignalDlg* dlg = new CSignalDlg; // left to the end of the process
        if (!dlg->Create(nullptr))
            return nullptr;
        EXPECT_TRUE(::KillTimer(*dlg, CSignalDlg::REPAINT_TIMER)) << "timer 2 was started";
        ::SetWindowPos(*dlg, HWND_TOPMOST, 300, 300, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        PumpMessages();
        return dlg;
    }
    void Repaint(CSignalDlg* dlg, int quality)
    {
        dlg->SetQuality(quality);
        dlg->SendMessage(WM_TIMER, CSignalDlg::REPAINT_TIMER);
    }
    int Count(CSignalDlg* dlg, COLORREF color)
    {
        RECT rc;
        dlg->GetClientRect(&rc);
        HDC dc = ::GetDC(*dlg);
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                n += ::GetPixel(dc, x, y) == color;
        ::ReleaseDC(*dlg, dc);
        return n;
    }

    FakeOs os;
    TestApp app;
    std::unique_ptr<OpenedCard> card;
};

TEST_F(SignalWindow, SegmentsAndColoursFollowTheQuality)
{
    CSignalDlg* dlg = Open();
    ASSERT_TRUE(dlg);
    EXPECT_EQ(QUALITY_NO_CONNECTION, dlg->GetQuality());
    EXPECT_EQ(dlg->SendMessage(WM_GETICON, ICON_BIG), dlg->SendMessage(WM_GETICON, ICON_SMALL));
    EXPECT_NE(0, dlg->SendMessage(WM_GETICON, ICON_BIG));
    RECT client;
    dlg->GetClientRect(&client);
    const int w = (client.right - client.left - 34) / 20;
    const int h = client.bottom - client.top;
    ASSERT_GE(w, 5);
    ASSERT_GE(h, 6);

    struct Case
    {
        int quality;
        int lit;
        COLORREF fill, border;
    };
    const Case cases[] = {
        {100, 20, kGreen, kDarkGreen}, {101, 20, kGreen, kDarkGreen}, {4, 0, kRed, kDarkRed},
        {5, 1, kRed, kDarkRed},        {59, 11, kYellow, kOlive},     {60, 12, kGreen, kDarkGreen},
        {29, 5, kRed, kDarkRed},       {30, 6, kYellow, kOlive},      {102, 0, kRed, kDarkRed},
        {103, 0, kRed, kDarkRed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.quality);
        os.sleeps.clear();
        Repaint(dlg, c.quality);
        EXPECT_EQ(std::vector<DWORD>(20, 20), os.sleeps) << "a 20 ms pause after each segment";
        HDC dc = ::GetDC(*dlg);
        const int mid = h / 2;
        for (int i = 0; i < 20; ++i) {
            int x = i * (w + 2);
            COLORREF edge = ::GetPixel(dc, x, mid), inner = ::GetPixel(dc, x + w / 2, mid);
            if (i < c.lit) {
                EXPECT_EQ(Rgb(c.border), Rgb(edge)) << "segment " << i;
                EXPECT_EQ(Rgb(c.fill), Rgb(inner)) << "segment " << i;
            } else {
                // Segment 0 unlit is plain black; the others have a grey edge.
                EXPECT_EQ(Rgb(i == 0 ? kBlack : kUnlit), Rgb(edge)) << "segment " << i;
                EXPECT_EQ(Rgb(kBlack), Rgb(inner)) << "segment " << i;
            }
            if (i > 0) {
                EXPECT_EQ(Rgb(::GetSysColor(COLOR_BTNFACE)), Rgb(::GetPixel(dc, x - 1, mid)))
                    << "gap before segment " << i;
            }
        }
        EXPECT_EQ(Rgb(::GetSysColor(COLOR_BTNFACE)), Rgb(::GetPixel(dc, 20 * (w + 2), mid)))
            << "right of the bar";
        ::ReleaseDC(*dlg, dc);
    }
}

TEST_F(SignalWindow, CaptionCarriesTheValueOrItsMeaning)
{
    CSignalDlg* dlg = Open();
    ASSERT_TRUE(dlg);
    EXPECT_EQ("Current Signal Quality: ", dlg->GetWindowText()) << "until the first repaint";
    const std::pair<int, const char*> cases[] = {
        {100, "Current Signal Quality:  100%"},
        {45, "Current Signal Quality:  45%"},
        {0, "Current Signal Quality:  0%"},
        {102, "Current Signal Quality:  No Connection!"},
        {103, "Current Signal Quality:  Scanning"},
    };
    for (const auto& c : cases) {
        Repaint(dlg, c.first);
        EXPECT_EQ(c.second, dlg->GetWindowText());
    }
    EXPECT_EQ(0, Count(dlg, kRed) + Count(dlg, kYellow) + Count(dlg, kGreen)) << "empty bar";
}

TEST_F(SignalWindow, StateModeAlternatesItsColoursWithoutPauses)
{
    app.WriteProfileInt("Private", "Adapter State", 1);
    CSignalDlg* dlg = Open();
    ASSERT_TRUE(dlg);
    EXPECT_TRUE(dlg->IsStateMode()) << "from the profile";

    os.sleeps.clear();
    Repaint(dlg, 72);
    // Reading the link state has the mailbox's pauses; the bar has none.
    EXPECT_EQ(0, std::count(os.sleeps.begin(), os.sleeps.end(), 20u)) << "no pauses in state mode";
    EXPECT_FALSE(os.sleeps.empty()) << "the link state was read from the card";
    EXPECT_GT(Count(dlg, kBlue), 20) << "Associated in blue";
    EXPECT_EQ(0, Count(dlg, kMagenta));
    Repaint(dlg, 72);
    EXPECT_GT(Count(dlg, kMagenta), 20);
    EXPECT_EQ(0, Count(dlg, kBlue));
    card->card.SetSignal(0, 0); // the cell is lost: "Rejoining..."
    Repaint(dlg, 0);
    EXPECT_GT(Count(dlg, kCyan), 20);
    EXPECT_EQ(0, Count(dlg, kMagenta));

    // Ctrl+Alt+S: the keyboard message goes through the accelerators first.
    BYTE keys[256], saved[256];
    ::GetKeyboardState(saved);
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_MENU] = 0x80;
    ::SetKeyboardState(keys);
    dlg->PostMessage(WM_SYSKEYDOWN, 'S', 0x20000001);
    PumpMessages();
    ::SetKeyboardState(saved);
    EXPECT_FALSE(dlg->IsStateMode());
    dlg->SendMessage(WM_COMMAND, IDM_STATE_MODE);
    EXPECT_TRUE(dlg->IsStateMode());
}

TEST_F(SignalWindow, SilentCardGivesNoWindow)
{
    GetAdapterState().AlertBeep = 1;
    card->card.SetFault(SIM_FAULT_NO_ANSWER);
    CSignalDlg dlg;
    EXPECT_FALSE(dlg.Create(nullptr));
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    EXPECT_TRUE(GetAdapterState().m_bAdapterFailed);
    ASSERT_EQ(1u, os.boxes.size());
    EXPECT_EQ("The Corvane adapter has no response.", os.boxes[0].text);
    EXPECT_EQ("Error", os.boxes[0].caption);
    EXPECT_EQ((UINT)(MB_ICONHAND | MB_SYSTEMMODAL), os.boxes[0].style);
    EXPECT_EQ(std::vector<UINT>{MB_ICONHAND}, os.beeps);
}

TEST_F(SignalWindow, CloseKeepsTheModeAndANewWindowKnowsNoReading)
{
    CSignalDlg* dlg = new CSignalDlg; // left shown to the end of the process
    ASSERT_TRUE(dlg->Create(nullptr));
    dlg->SendMessage(WM_COMMAND, IDM_STATE_MODE);
    dlg->SetQuality(45);
    HWND first = dlg->m_hWnd;
    dlg->SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_EQ(nullptr, dlg->m_hWnd);
    EXPECT_EQ(1u, ReadDword(HKEY_CURRENT_USER, app.PrivateKey(), "Adapter State"));
    EXPECT_EQ(45, dlg->GetQuality()) << "kept by the object";
    ASSERT_TRUE(dlg->Create(nullptr));
    EXPECT_EQ(QUALITY_NO_CONNECTION, dlg->GetQuality());
    EXPECT_TRUE(dlg->IsStateMode());
    ::KillTimer(*dlg, CSignalDlg::REPAINT_TIMER);
}

TEST_F(SignalWindow, StateModeIsKeptWhenTheWindowGoesWithoutClosing)
{
    // The program ends with the window open: no WM_CLOSE ever comes.
    CSignalDlg dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    dlg.SendMessage(WM_COMMAND, IDM_STATE_MODE);
    dlg.ShowWindow(SW_HIDE);
    dlg.DestroyWindow();
    EXPECT_EQ(1u, ReadDword(HKEY_CURRENT_USER, app.PrivateKey(), "Adapter State"));
}

TEST_F(SignalWindow, CreationDoesNotBreakIntoAnotherPoll)
{
    // Another window's poll holds the card and waits behind a box; the card
    // would not answer a second command now.
    ASSERT_EQ(0, TryLockAdapter());
    card->card.SetFault(SIM_FAULT_NO_ANSWER);
    CSignalDlg dlg;
    EXPECT_TRUE(dlg.Create(nullptr));
    UnlockAdapter();
    EXPECT_TRUE(os.boxes.empty());
    EXPECT_FALSE(GetAdapterState().m_bAdapterFailed);
    dlg.ShowWindow(SW_HIDE);
}

} // namespace
