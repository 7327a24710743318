// Tests of the hyperlink label: attaching, fitting, colours and hover, the
// cursor, opening with the ".htm" browser fallback and the report texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Os.h"
#include "res/resource.h"
#include "tests/support/MenuTestSupport.h"
#include "tests/support/TestWindows.h"
#include "widgets/CLinkStatic.h"

namespace {

struct Calls
{
    std::vector<std::string> shell, exec, boxes;
    int shellResult = 42, execResult = 33, beeps = 0;
} g_calls;

HINSTANCE WINAPI FakeShell(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT)
{
    g_calls.shell.push_back(file);
    return (HINSTANCE)(INT_PTR)g_calls.shellResult;
}

UINT WINAPI FakeExec(LPCSTR line, UINT)
{
    g_calls.exec.push_back(line);
    return (UINT)g_calls.execResult;
}

int WINAPI FakeBox(HWND, LPCSTR text, LPCSTR, UINT)
{
    g_calls.boxes.push_back(text);
    return IDOK;
}

BOOL WINAPI FakeBeep(UINT)
{
    ++g_calls.beeps;
    return TRUE;
}

// Sets HKCR\.htm to a test document class with the given browser command and
// puts the previous value back afterwards.
class HtmAssociation
{
public:
    explicit HtmAssociation(const char* command)
    {
        char old[260] = "";
        LONG size = sizeof old;
        m_had = ::RegQueryValueA(HKEY_CLASSES_ROOT, ".htm", old, &size) == ERROR_SUCCESS;
        m_old = old;
        ::RegSetValueA(HKEY_CLASSES_ROOT, ".htm", REG_SZ, "CorvaneTestPage", 15);
        ::RegSetValueA(HKEY_CLASSES_ROOT, "CorvaneTestPage\\shell\\open\\command", REG_SZ, command,
                       (DWORD)strlen(command));
    }
    ~HtmAssociation()
    {
        if (m_had)
            ::RegSetValueA(HKEY_CLASSES_ROOT, ".htm", REG_SZ, m_old.c_str(), (DWORD)m_old.size());
        else
            ::RegDeleteKeyA(HKEY_CLASSES_ROOT, ".htm");
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "CorvaneTestPage\\shell\\open\\command");
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "CorvaneTestPage\\shell\\open");
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "CorvaneTestPage\\shell");
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "CorvaneTestPage");
    }

private:
    bool m_had;
    std::string m_old;
};

class LinkStaticTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_calls = Calls();
        g_os.ShellExecuteA = FakeShell;
        g_os.WinExec = FakeExec;
        g_os.MessageBoxA = FakeBox;
        g_os.MessageBeep = FakeBeep;
        ASSERT_TRUE(host.CreateEx(0, nullptr, "links", WS_POPUP | WS_VISIBLE, 0, 0, 400, 160,
                                  nullptr, nullptr));
    }

    HWND MakeStatic(const char* text, DWORD style, int x, int y, int cx, int cy, int id = 363)
    {
        HWND h = ::CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | style, x, y, cx, cy,
                                   host, (HMENU)(INT_PTR)id, nullptr, nullptr);
        ::SendMessageA(h, WM_SETFONT, (WPARAM)::GetStockObject(DEFAULT_GUI_FONT), FALSE);
        return h;
    }

    OsGuard guard;
    CWnd host;
};

TEST_F(LinkStaticTest, EmptyTextTakesTheTargetAndOtherTextStays)
{
    CLinkStatic empty, named;
    empty.SetTarget("mailto:support@kvr.example");
    ASSERT_TRUE(empty.SubclassWindow(MakeStatic("", SS_LEFT, 10, 10, 300, 30)));
    EXPECT_EQ("mailto:support@kvr.example", empty.GetWindowText());
    EXPECT_NE(0u, empty.GetStyle() & SS_NOTIFY);

    named.SetTarget("mailto:sales@kvr.example");
    ASSERT_TRUE(named.SubclassWindow(MakeStatic("Sales", SS_LEFT, 10, 50, 300, 30, 364)));
    EXPECT_EQ("Sales", named.GetWindowText());
    EXPECT_EQ("mailto:sales@kvr.example", named.GetToolTip().GetText(named, 1));

    CLinkStatic bare;
    ASSERT_TRUE(
        bare.SubclassWindow(MakeStatic("http://kvr.example/", SS_LEFT, 10, 90, 300, 30, 365)));
    EXPECT_EQ("http://kvr.example/", bare.GetTarget()) << "no target: the text is the target";

    named.SetTarget("mailto:other@kvr.example");
    EXPECT_EQ("mailto:other@kvr.example", named.GetToolTip().GetText(named, 1));

    // The tooltip goes with the label.
    HWND tip = named.GetToolTip();
    ASSERT_TRUE(::IsWindow(tip));
    {
        CLinkStatic shortLived;
        ASSERT_TRUE(shortLived.SubclassWindow(MakeStatic("x", 10, 120, 50, 20, 366)));
        tip = shortLived.GetToolTip();
        ASSERT_TRUE(::IsWindow(tip));
    }
    EXPECT_FALSE(::IsWindow(tip));
}

TEST_F(LinkStaticTest, FittingKeepsTheAlignment)
{
    struct Case
    {
        DWORD style;
        const char* name;
    };
    const Case cases[] = {{SS_LEFT, "left"},
                          {SS_CENTER, "centre"},
                          {SS_RIGHT, "right"},
                          {SS_CENTER | SS_CENTERIMAGE, "centre both ways"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLinkStatic link;
        HWND h = MakeStatic("Support", c.style, 50, 20, 300, 40);
        RECT before = RectInParent(h);
        ASSERT_TRUE(link.SubclassWindow(h));
        RECT after = RectInParent(h);
        EXPECT_LT(after.right - after.left, 100) << "narrowed to the text";
        switch (c.style & SS_TYPEMASK) {
        case SS_LEFT:
            EXPECT_EQ(before.left, after.left);
            break;
        case SS_RIGHT:
            EXPECT_EQ(before.right, after.right);
            break;
        default:
            EXPECT_LE(std::abs((before.left + before.right) - (after.left + after.right)), 1);
        }
        if (c.style & SS_CENTERIMAGE)
            EXPECT_LE(std::abs((before.top + before.bottom) - (after.top + after.bottom)), 1);
        else
            EXPECT_EQ(before.top, after.top);
        ::DestroyWindow(h);
    }
}

TEST_F(LinkStaticTest, HoverColoursAndCapture)
{
    CLinkStatic link;
    link.SetLinkColors(RGB(0, 0, 238), RGB(85, 26, 139), RGB(255, 0, 0));
    ASSERT_TRUE(link.SubclassWindow(MakeStatic("support@kvr.example", SS_LEFT, 10, 10, 300, 30)));
    PumpTestMessages();
    RECT rc;
    ::GetClientRect(link, &rc);
    EXPECT_GT(CountColor(link, rc, RGB(0, 0, 238)), 30) << "link colour";

    ::SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(link.IsMouseOver());
    EXPECT_EQ((HWND)link, ::GetCapture());
    EXPECT_GT(CountColor(link, rc, RGB(255, 0, 0)), 30) << "hover colour";
    EXPECT_EQ(0, CountColor(link, rc, RGB(0, 0, 238)));

    ::SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(link.IsMouseOver()) << "still inside";

    ::SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(-5, -5));
    EXPECT_FALSE(link.IsMouseOver());
    EXPECT_NE((HWND)link, ::GetCapture()) << "capture released";
    EXPECT_GT(CountColor(link, rc, RGB(0, 0, 238)), 30) << "link colour back";

    link.MarkVisited();
    ::UpdateWindow(link);
    EXPECT_GT(CountColor(link, rc, RGB(85, 26, 139)), 30) << "visited colour";
    ::SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    ::SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(500, 3));
    EXPECT_GT(CountColor(link, rc, RGB(85, 26, 139)), 30) << "leaving restores visited colour";

    // Losing the capture to another window ends the hover too.
    ::SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    ::SetCapture(host);
    EXPECT_FALSE(link.IsMouseOver());
    ::ReleaseCapture();
}

TEST_F(LinkStaticTest, UnderlineFollowsTheSetting)
{
    CLinkStatic link;
    ASSERT_TRUE(link.SubclassWindow(MakeStatic("Support", SS_LEFT, 10, 10, 300, 30)));
    LOGFONTA lf;
    ASSERT_TRUE(::GetObjectA((HFONT)::SendMessageA(link, WM_GETFONT, 0, 0), sizeof lf, &lf));
    EXPECT_TRUE(lf.lfUnderline);
    link.ShowUnderline(false);
    ASSERT_TRUE(::GetObjectA((HFONT)::SendMessageA(link, WM_GETFONT, 0, 0), sizeof lf, &lf));
    EXPECT_FALSE(lf.lfUnderline);
}

// The underline ends with the drawn text: the font's own underline runs to
// the advance width, past blanks after the last glyph (and, in Wine's small
// Tahoma, a few pixels past every last glyph).
TEST_F(LinkStaticTest, UnderlineEndsWithTheText)
{
    for (DWORD style : {(DWORD)SS_LEFT, (DWORD)SS_CENTER, (DWORD)SS_RIGHT}) {
        SCOPED_TRACE(style);
        CLinkStatic link;
        HWND h = MakeStatic("Support  ", style, 10, 10, 300, 30);
        ASSERT_TRUE(link.SubclassWindow(h));
        ::RedrawWindow(host, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT rc = RectInParent(h);
        CClientDC dc(host);
        PixelGrab pixels(dc, 400, 60);
        const COLORREF back = pixels.At(399, 59);
        // The underline is the row with the most ink; the glyphs are the others.
        int lineRow = -1, lineCount = 0, glyphsRight = 0, lineRight = 0;
        for (int y = rc.top; y < rc.bottom; ++y) {
            int count = pixels.Count(RECT{0, y, 400, y + 1}, back);
            if (400 - count > lineCount) {
                lineCount = 400 - count;
                lineRow = y;
            }
        }
        ASSERT_GT(lineCount, 20) << "an underline is drawn";
        for (int y = rc.top; y < rc.bottom; ++y) {
            RECT ink = pixels.Ink(RECT{0, y, 400, y + 1}, back);
            int& right = y == lineRow ? lineRight : glyphsRight;
            if (ink.right > ink.left)
                right = std::max(right, (int)ink.right);
        }
        EXPECT_LE(lineRight, glyphsRight + 1)
            << "underline ends at " << lineRight << ", text at " << glyphsRight;
        ::DestroyWindow(h);
    }
}

TEST_F(LinkStaticTest, HandCursorShownOverTheControl)
{
    CLinkStatic link;
    HCURSOR hand = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_CURSOR));
    ASSERT_TRUE(hand) << "cursor 1301 is in the resources";
    ASSERT_TRUE(link.SubclassWindow(MakeStatic("Support", SS_LEFT, 10, 10, 300, 30)));
    link.SetHandCursor(hand);
    EXPECT_TRUE(
        ::SendMessageA(link, WM_SETCURSOR, (WPARAM)(HWND)link, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(hand, ::GetCursor());
    ::DestroyWindow(link);
    ICONINFO info;
    ASSERT_TRUE(::GetIconInfo(hand, &info)) << "a cursor handed in stays the caller's";
    ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
}

TEST_F(LinkStaticTest, ClickOpensAndMarksVisited)
{
    CLinkStatic link;
    link.SetTarget("mailto:support@kvr.example");
    ASSERT_TRUE(link.SubclassWindow(MakeStatic("Support", SS_LEFT, 10, 10, 300, 30)));
    ::SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    ASSERT_EQ(1u, g_calls.shell.size());
    EXPECT_EQ("mailto:support@kvr.example", g_calls.shell[0]);
    EXPECT_TRUE(link.IsVisited());
    EXPECT_TRUE(g_calls.boxes.empty());
}

TEST_F(LinkStaticTest, NoAssociationFallsBackToTheHtmBrowser)
{
    HtmAssociation htm("\"C:\\Program Files\\Browser\\browser.exe\" -nohome \"%1\"");
    g_calls.shellResult = SE_ERR_NOASSOC;
    EXPECT_EQ(33, CLinkStatic::OpenTarget("http://kvr.example/", SW_SHOW));
    ASSERT_EQ(1u, g_calls.exec.size());
    EXPECT_EQ("\"C:\\Program Files\\Browser\\browser.exe\" -nohome  http://kvr.example/",
              g_calls.exec[0]);

    // A failed browser start reports the browser's code through the click.
    g_calls.execResult = 2;
    CLinkStatic link;
    link.SetTarget("http://kvr.example/");
    ASSERT_TRUE(link.SubclassWindow(MakeStatic("Home", SS_LEFT, 10, 10, 300, 30)));
    ::SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_FALSE(link.IsVisited());
    EXPECT_EQ(1, g_calls.beeps);
    ASSERT_EQ(1u, g_calls.boxes.size());
    EXPECT_EQ("Unable to open hyperlink:\n\nThe specified file was not found.", g_calls.boxes[0]);
}

TEST_F(LinkStaticTest, BrowserCommandForms)
{
    struct Case
    {
        const char* command;
        const char* line;
    };
    const Case cases[] = {
        {"browser.exe \"%1\"", "browser.exe  x"},
        {"browser.exe %1", "browser.exe  x"},
        {"browser.exe -url", "browser.exe -url x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        HtmAssociation htm(c.command);
        EXPECT_EQ(c.line, CLinkStatic::BrowserCommand("x"));
    }
}

TEST_F(LinkStaticTest, CommandLineBeyond520CharactersIsNotStarted)
{
    HtmAssociation htm("browser.exe \"%1\"");
    g_calls.shellResult = SE_ERR_NOASSOC;
    // "browser.exe " + " " + target: 13 + target characters, 519 at most.
    std::string fits(519 - 13, 'a'), tooLong(520 - 13, 'a');
    EXPECT_EQ(519u, CLinkStatic::BrowserCommand(fits.c_str()).size());
    EXPECT_EQ("", CLinkStatic::BrowserCommand(tooLong.c_str()));
    EXPECT_EQ(SE_ERR_NOASSOC, CLinkStatic::OpenTarget(tooLong.c_str(), SW_SHOW));
    EXPECT_TRUE(g_calls.exec.empty());
}

TEST(LinkStaticText, FailureTexts)
{
    EXPECT_EQ("A sharing violation occurred. ", CLinkStatic::FailureText(26));
    EXPECT_EQ("Unknown Error (1) occurred.", CLinkStatic::FailureText(1));
    EXPECT_EQ("The operating system is out\nof memory or resources.", CLinkStatic::FailureText(0));
    EXPECT_EQ("There is no application associated\nwith the given filename extension.",
              CLinkStatic::FailureText(31));
    EXPECT_EQ("Unknown Error (-7) occurred.", CLinkStatic::FailureText(-7));
}

} // namespace
