// Tests of the styled label: chained set-up before showing, the background
// repaint rule, both blinks, click-to-open and the face name bound.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/Os.h"
#include "tests/support/TestWindows.h"
#include "widgets/CStyledLabel.h"

namespace {

std::vector<std::string> g_opened;

HINSTANCE WINAPI FakeShell(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT show)
{
    g_opened.push_back(std::string(verb) + " " + file + (show == SW_SHOWNORMAL ? "" : " ?"));
    return (HINSTANCE)42;
}

const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlack = RGB(0, 0, 0);

class StyledLabelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_opened.clear();
        g_os.ShellExecuteA = FakeShell;
        ASSERT_TRUE(
            host.CreateEx(0, nullptr, "labels", WS_POPUP, 0, 0, 300, 120, nullptr, nullptr));
    }

    HWND MakeStatic(const char* text, int y, int id, DWORD style = 0)
    {
        return ::CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFT | style, 10, y,
                                 200, 30, host, (HMENU)(INT_PTR)id, nullptr, nullptr);
    }

    void ShowHost()
    {
        ::ShowWindow(host, SW_SHOWNOACTIVATE);
        ::UpdateWindow(host);
        PumpTestMessages();
    }

    OsGuard guard;
    CWnd host;
};

TEST_F(StyledLabelTest, ChainBeforeShowingPaintsAtTheFirstPaint)
{
    CStyledLabel sent, plain;
    ASSERT_TRUE(sent.SubclassWindow(MakeStatic("123.4", 10, 337)));
    ASSERT_TRUE(plain.SubclassWindow(MakeStatic("123.4", 50, 338)));
    sent.ChangeTextColor(kGreen).ChangeBackColor(kBlack).SetBold(true);
    plain.ChangeTextColor(kGreen).ChangeBackColor(kBlack);
    EXPECT_EQ(FW_BOLD, sent.GetLogFont().lfWeight);
    ShowHost();
    RECT rc;
    ::GetClientRect(sent, &rc);
    const int area = rc.right * rc.bottom;
    const int green = CountColor(sent, rc, kGreen), black = CountColor(sent, rc, kBlack);
    EXPECT_GT(green, 20);
    EXPECT_GT(green + black, area * 95 / 100) << "text and the new background, edges smoothed";
    EXPECT_EQ(0, CountColor(sent, rc, ::GetSysColor(COLOR_BTNFACE))) << "no old background";
    EXPECT_GT(green, CountColor(plain, rc, kGreen) + 5) << "bold strokes are wider";
}

TEST_F(StyledLabelTest, BackgroundColourWaitsForTheNextRepaint)
{
    CStyledLabel label;
    ASSERT_TRUE(label.SubclassWindow(MakeStatic("x", 10, 337)));
    ShowHost();
    RECT rc;
    ::GetClientRect(label, &rc);
    label.ChangeBackColor(RGB(0, 0, 255));
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), ScreenPixel(label, rc.right - 2, rc.bottom - 2));
    label.Invalidate();
    EXPECT_EQ(RGB(0, 0, 255), ScreenPixel(label, rc.right - 2, rc.bottom - 2));
}

TEST_F(StyledLabelTest, TextBlinkHidesThenShowsAndStopRestores)
{
    CStyledLabel label;
    ASSERT_TRUE(label.SubclassWindow(MakeStatic("12.5", 10, 337)));
    label.BlinkText(true);
    EXPECT_TRUE(label.IsBlinking());
    ::SendMessageA(label, WM_TIMER, CStyledLabel::kBlinkTimer, 0);
    EXPECT_EQ("", label.GetWindowText()) << "first tick hides";
    ::SendMessageA(label, WM_TIMER, CStyledLabel::kBlinkTimer, 0);
    EXPECT_EQ("12.5", label.GetWindowText()) << "second tick shows";
    ::SendMessageA(label, WM_TIMER, CStyledLabel::kBlinkTimer, 0);
    label.BlinkText(false);
    EXPECT_EQ("12.5", label.GetWindowText()) << "stopped while hidden: restored";

    // A text set after the blink stopped is never replaced by the old one.
    label.ChangeText("13.0");
    label.BlinkText(false);
    EXPECT_EQ("13.0", label.GetWindowText());

    // Switching a hidden text blink to a background blink shows the text again.
    label.BlinkText(true);
    ::SendMessageA(label, WM_TIMER, CStyledLabel::kBlinkTimer, 0);
    label.BlinkBackground(true);
    EXPECT_EQ("13.0", label.GetWindowText());
    label.BlinkBackground(false);
}

TEST_F(StyledLabelTest, BackgroundBlinkAlternatesTheBrush)
{
    CStyledLabel label;
    ASSERT_TRUE(label.SubclassWindow(MakeStatic("", 10, 337)));
    label.ChangeBackColor(kBlack);
    ShowHost();
    RECT rc;
    ::GetClientRect(label, &rc);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(kBlack, ScreenPixel(label, 5, 5));
    label.BlinkBackground(true);
    label.Invalidate();
    EXPECT_EQ(face, ScreenPixel(label, 5, 5)) << "blink colour until the first tick";
    ::SendMessageA(label, WM_TIMER, CStyledLabel::kBlinkTimer, 0);
    EXPECT_EQ(kBlack, ScreenPixel(label, 5, 5));
    ::SendMessageA(label, WM_TIMER, CStyledLabel::kBlinkTimer, 0);
    EXPECT_EQ(face, ScreenPixel(label, 5, 5));
    label.BlinkBackground(false);
    label.Invalidate();
    EXPECT_EQ(face, ScreenPixel(label, 5, 5)) << "stopping keeps the phase it had";
}

// A real click at the label's centre, through the window manager's hit testing.
void ClickAt(HWND wnd)
{
    RECT rc;
    ::GetWindowRect(wnd, &rc);
    ::SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    PumpTestMessages();
    ::mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    ::mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    PumpTestMessages();
}

TEST_F(StyledLabelTest, ClicksOpenOnlyWithNotify)
{
    CStyledLabel label;
    ASSERT_TRUE(label.SubclassWindow(MakeStatic("http://kvr.example/", 10, 337)));
    ShowHost();
    ::SetForegroundWindow(host);
    ClickAt(label);
    EXPECT_TRUE(g_opened.empty()) << "a static without SS_NOTIFY lets clicks through";
    label.SetClickOpens(true);
    ClickAt(label);
    ASSERT_EQ(1u, g_opened.size());
    EXPECT_EQ("open http://kvr.example/", g_opened[0]);
    label.SetClickOpens(false);
    ClickAt(label);
    EXPECT_EQ(1u, g_opened.size());
}

TEST_F(StyledLabelTest, LongFaceNameIsCutToTheField)
{
    CStyledLabel label;
    ASSERT_TRUE(label.SubclassWindow(MakeStatic("x", 10, 337)));
    const std::string name(40, 'F');
    label.SetFaceName(name.c_str()).SetCharHeight(20).SetItalic(true);
    EXPECT_EQ(31u, std::strlen(label.GetLogFont().lfFaceName));
    EXPECT_EQ(-20, label.GetLogFont().lfHeight);
    LOGFONTA lf;
    ASSERT_TRUE(::GetObjectA(label.GetFont(), sizeof lf, &lf));
    EXPECT_TRUE(lf.lfItalic);
    label.SetFaceName("Arial");
    EXPECT_STREQ("Arial", label.GetLogFont().lfFaceName);
}

TEST_F(StyledLabelTest, EdgeAndBorderStyles)
{
    CStyledLabel label;
    ASSERT_TRUE(label.SubclassWindow(MakeStatic("x", 10, 337)));
    label.SetSunkenEdge(true).SetThinBorder(true);
    EXPECT_NE(0u, label.GetExStyle() & WS_EX_STATICEDGE);
    EXPECT_NE(0u, label.GetStyle() & WS_BORDER);
    label.SetSunkenEdge(false).SetThinBorder(false);
    EXPECT_EQ(0u, label.GetExStyle() & WS_EX_STATICEDGE);
    EXPECT_EQ(0u, label.GetStyle() & WS_BORDER);
}

} // namespace
