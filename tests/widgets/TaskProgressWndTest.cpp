// Tests of the progress window: its two-line layout, the bar and position,
// the status text bound, and pumping with Escape and quit.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "tests/support/ImportPatch.h"
#include "tests/support/TestWindows.h"
#include "widgets/CTaskProgressWnd.h"

#include <algorithm>
#include <vector>

namespace {

const UINT WM_PROBE = WM_APP + 5;

// Counts the probe messages that reach it.
class ProbeWnd : public CWnd
{
public:
    int probes = 0;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_PROBE) {
            ++probes;
            return 0;
        }
        return CWnd::WindowProc(msg, wParam, lParam);
    }
};

int TwoLineHeight()
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof ncm;
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    HFONT font = ::CreateFontIndirectA(&ncm.lfMessageFont);
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    RECT rc = {0, 0, 390, 0};
    ::DrawTextA(dc, "M\nM", -1, &rc, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    ::DeleteObject(font);
    return rc.bottom;
}

TEST(TaskProgressWnd, TwoLinesHighWhateverTheText)
{
    CTaskProgressWnd progress;
    ASSERT_TRUE(progress.Open(nullptr, "Network Watcher", false));
    EXPECT_TRUE(::IsWindowVisible(progress));
    EXPECT_FALSE(::IsWindowVisible(progress.GetCancelButton())) << "the Cancel button stays hidden";
    RECT status = RectInParent(progress.GetStatusWindow());
    EXPECT_EQ(10, status.left);
    EXPECT_EQ(10, status.top);
    EXPECT_EQ(390, status.right - status.left);
    EXPECT_EQ(TwoLineHeight(), status.bottom - status.top);

    RECT client;
    ::GetClientRect(progress, &client);
    EXPECT_EQ(410, client.right);
    RECT button = RectInParent(progress.GetCancelButton());
    RECT bar = RectInParent(progress.GetBarWindow());
    EXPECT_EQ(status.bottom + 10, button.top);
    EXPECT_EQ(status.right, button.right);
    EXPECT_EQ(button.left - 10, bar.right);
    EXPECT_EQ(status.bottom - status.top + button.bottom - button.top + 30, client.bottom);

    // A long single line is cut at the right edge, not wrapped onto line two.
    progress.SetStatusText("%s", std::string(200, 'W').c_str());
    PumpTestMessages();
    RECT lower = {0, TwoLineHeight() / 2 + 1, 390, TwoLineHeight()};
    EXPECT_EQ(0, CountColor(progress.GetStatusWindow(), lower, ::GetSysColor(COLOR_WINDOWTEXT)));
    RECT upper = {0, 0, 390, TwoLineHeight() / 2};
    EXPECT_GT(CountColor(progress.GetStatusWindow(), upper, ::GetSysColor(COLOR_WINDOWTEXT)), 100);
    progress.SetStatusText("Processing the BSS data ...\n");
    EXPECT_EQ(TwoLineHeight(), RectInParent(progress.GetStatusWindow()).bottom - 10);
}

TEST(TaskProgressWnd, StatusTextIsCutAt511Characters)
{
    CTaskProgressWnd progress;
    ASSERT_TRUE(progress.Open(nullptr, "x", true));
    progress.SetStatusText("%s-%d", std::string(700, 'a').c_str(), 5);
    EXPECT_EQ(511u, CWnd::GetWindowText(progress.GetStatusWindow()).size());
    progress.SetStatusText("Processing the station(s) data ...\n");
    EXPECT_EQ("Processing the station(s) data ...\n",
              CWnd::GetWindowText(progress.GetStatusWindow()));
}

TEST(TaskProgressWnd, PositionAndBar)
{
    CTaskProgressWnd closed;
    EXPECT_EQ(0, closed.SetPosition(5)) << "without a window the stored position";
    EXPECT_EQ(0, closed.Advance());
    EXPECT_EQ(1, closed.SetIncrement(3)) << "previous stored step";

    CTaskProgressWnd progress;
    ASSERT_TRUE(progress.Open(nullptr, "x", false));
    progress.SetLimits(0, 6, 1);
    for (int i = 0; i < 8; ++i)
        progress.Advance();
    EXPECT_EQ(8, progress.GetPosition()) << "the position keeps growing";
    EXPECT_EQ(6, (int)::SendMessageA(progress.GetBarWindow(), PBM_GETPOS, 0, 0)) << "bar full";
    EXPECT_EQ(6, progress.SetPosition(2)) << "previous position as the bar had it";
    progress.AdvanceBy(3);
    EXPECT_EQ(5, progress.GetPosition());
    progress.Clear();
    EXPECT_EQ(0, progress.GetPosition());
    EXPECT_EQ(0, (int)::SendMessageA(progress.GetBarWindow(), PBM_GETPOS, 0, 0));
    progress.Conceal();
    EXPECT_FALSE(::IsWindowVisible(progress));
    progress.Reveal();
    EXPECT_TRUE(::IsWindowVisible(progress));
}

// What the first Windows 95 and NT 4.0 have: comctl32 4.00. Its progress bar
// knows these messages and no style of its own; a message it does not know
// does nothing there (PBM_SETRANGE32 would leave the range at 0-100).
const UINT kFirstBarMessages[] = {PBM_SETRANGE, PBM_SETPOS, PBM_DELTAPOS, PBM_SETSTEP, PBM_STEPIT};

ImportPatch* g_sendPatch;
ImportPatch* g_procPatch;
std::vector<UINT> g_barMessages;

LRESULT WINAPI SeeSendMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    char cls[64] = "";
    ::GetClassNameA(wnd, cls, sizeof cls);
    if (lstrcmpiA(cls, PROGRESS_CLASSA) == 0 && msg >= WM_USER)
        g_barMessages.push_back(msg);
    return g_sendPatch->Original<decltype(&SeeSendMessage)>()(wnd, msg, wParam, lParam);
}

// The test's own questions to the bar, past the recording.
LRESULT Ask(HWND wnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return g_sendPatch->Original<decltype(&SeeSendMessage)>()(wnd, msg, wParam, lParam);
}

// A system whose comctl32 is 4.00: it exports no InitCommonControlsEx.
FARPROC WINAPI FirstCommonControls(HMODULE module, LPCSTR name)
{
    if (HIWORD(name) && lstrcmpA(name, "InitCommonControlsEx") == 0)
        return nullptr;
    return g_procPatch->Original<decltype(&FirstCommonControls)>()(module, name);
}

TEST(TaskProgressWnd, UsesOnlyWhatTheFirstCommonControlsKnow)
{
    g_barMessages.clear();
    {
        ImportPatch send("user32.dll", "SendMessageA", (const void*)SeeSendMessage);
        ASSERT_TRUE(send.Applied());
        g_sendPatch = &send;

        // The range of every list the watchers show, up to the WORD a row count
        // is; beyond it, the largest the bar holds.
        struct Case
        {
            int lower, upper, barLow, barHigh;
        } cases[] = {{0, 6, 0, 6},
                     {0, 300, 0, 300},
                     {0, 65535, 0, 65535},
                     {0, 70000, 0, 65535},
                     {-5, 10, 0, 10}};
        for (const Case& c : cases) {
            SCOPED_TRACE(c.upper);
            CTaskProgressWnd progress;
            ASSERT_TRUE(progress.Open(nullptr, "x", false));
            EXPECT_EQ(0, ::GetWindowLongA(progress.GetBarWindow(), GWL_STYLE) & 0xFFFF)
                << "no progress bar style";
            progress.SetLimits(c.lower, c.upper, 1);
            PBRANGE range = {};
            Ask(progress.GetBarWindow(), PBM_GETRANGE, FALSE, (LPARAM)&range);
            EXPECT_EQ(c.barLow, range.iLow);
            EXPECT_EQ(c.barHigh, range.iHigh);
            // Half way is half full, not full at row 100 as with the range left
            // at 0-100.
            progress.SetPosition(c.barHigh / 2);
            EXPECT_EQ(c.barHigh / 2, (int)Ask(progress.GetBarWindow(), PBM_GETPOS));
            progress.Advance();
            progress.AdvanceBy(2);
            progress.SetIncrement(3);
            progress.Clear();
        }
    }
    g_sendPatch = nullptr;
    ASSERT_FALSE(g_barMessages.empty());
    for (UINT msg : g_barMessages)
        EXPECT_NE(std::end(kFirstBarMessages),
                  std::find(std::begin(kFirstBarMessages), std::end(kFirstBarMessages), msg))
            << "message WM_USER+" << msg - WM_USER << " is newer than comctl32 4.00";

    // A smooth bar only where the common controls know the style.
    {
        CTaskProgressWnd progress;
        ASSERT_TRUE(progress.Open(nullptr, "x", true));
        EXPECT_EQ((LONG)PBS_SMOOTH, ::GetWindowLongA(progress.GetBarWindow(), GWL_STYLE) & 0xFFFF)
            << "this comctl32 is 4.70 or later";
    }
    {
        ImportPatch proc("kernel32.dll", "GetProcAddress", (const void*)FirstCommonControls);
        ASSERT_TRUE(proc.Applied());
        g_procPatch = &proc;
        CTaskProgressWnd progress;
        ASSERT_TRUE(progress.Open(nullptr, "x", true));
        EXPECT_EQ(0, ::GetWindowLongA(progress.GetBarWindow(), GWL_STYLE) & 0xFFFF)
            << "comctl32 4.00: the segmented bar";
    }
    g_procPatch = nullptr;
}

TEST(TaskProgressWnd, EscapeCancelsAndLaterPumpsDispatchNothing)
{
    ProbeWnd probe;
    ASSERT_TRUE(probe.CreateEx(0, nullptr, "probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    CTaskProgressWnd progress;
    ASSERT_TRUE(progress.Open(nullptr, "x", false));
    PumpTestMessages();

    probe.PostMessage(WM_PROBE);
    progress.PumpPending(true);
    EXPECT_EQ(1, probe.probes) << "pending messages are dispatched";

    probe.PostMessage(WM_CHAR, VK_ESCAPE);
    probe.PostMessage(WM_PROBE);
    progress.PumpPending(true);
    EXPECT_TRUE(progress.IsCancelled());
    EXPECT_EQ(1, probe.probes) << "nothing after the Escape";
    progress.PumpPending(true);
    EXPECT_EQ(1, probe.probes) << "a cancelled pump dispatches nothing";

    progress.Clear();
    EXPECT_FALSE(progress.IsCancelled());
    progress.PumpPending(true);
    EXPECT_EQ(2, probe.probes) << "cleared, it pumps again";

    // Without the Escape permission, Escape is just another message.
    probe.PostMessage(WM_CHAR, VK_ESCAPE);
    probe.PostMessage(WM_PROBE);
    progress.PumpPending(false);
    EXPECT_FALSE(progress.IsCancelled());
    EXPECT_EQ(3, probe.probes);

    // The Cancel button's command cancels too.
    ::SendMessageA(progress, WM_COMMAND, MAKEWPARAM(CTaskProgressWnd::kCancelId, BN_CLICKED),
                   (LPARAM)progress.GetCancelButton());
    EXPECT_TRUE(progress.IsCancelled());
}

TEST(TaskProgressWnd, QuitDuringAPumpIsPostedAgain)
{
    ProbeWnd probe;
    ASSERT_TRUE(probe.CreateEx(0, nullptr, "probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    CTaskProgressWnd progress;
    ASSERT_TRUE(progress.Open(nullptr, "x", false));
    PumpTestMessages();
    ::PostQuitMessage(0);
    progress.PumpPending(true);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        << "the application's own loop still sees the quit";
    EXPECT_EQ((UINT)WM_QUIT, msg.message);
    EXPECT_FALSE(progress.IsCancelled());
}

// A modeless window with an accelerator (Ctrl+K) of its own.
class AcceleratedWnd : public ProbeWnd
{
public:
    AcceleratedWnd()
    {
        ACCEL key = {FVIRTKEY | FCONTROL, 'K', 77};
        m_hAccel = ::CreateAcceleratorTableA(&key, 1);
    }
    ~AcceleratedWnd() override { ::DestroyAcceleratorTable(m_hAccel); }
    int commands = 0;
    BOOL PreTranslateMessage(MSG* msg) override
    {
        return ::TranslateAcceleratorA(m_hWnd, m_hAccel, msg);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        commands += LOWORD(wParam) == 77;
        return TRUE;
    }
};

TEST(TaskProgressWnd, PumpOffersKeysToTheWindowsAccelerators)
{
    AcceleratedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "accel", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    CTaskProgressWnd progress;
    ASSERT_TRUE(progress.Open(nullptr, "x", false));
    PumpTestMessages();
    BYTE saved[256], keys[256];
    ::GetKeyboardState(saved);
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    wnd.PostMessage(WM_KEYDOWN, 'K', 1);
    progress.PumpPending(true);
    ::SetKeyboardState(saved);
    EXPECT_EQ(1, wnd.commands);
}

} // namespace
