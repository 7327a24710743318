// Tests of the progress window: its two-line layout, the bar and position,
// the status text bound, and pumping with Escape and quit.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "tests/support/TestWindows.h"
#include "widgets/CTaskProgressWnd.h"

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
