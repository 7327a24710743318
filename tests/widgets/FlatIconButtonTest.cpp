// FlatIconButtonTest.cpp - the flat icon button in a real window: edges,
// colours, icon placement, the disabled look and hot tracking; and the
// off-screen drawing context.
#include <gtest/gtest.h>

#include "framework/CDialog.h"
#include "framework/Gdi.h"
#include "res/resource.h"
#include "tests/support/MenuTestSupport.h"
#include "widgets/CFlatIconButton.h"
#include "widgets/COffscreenDC.h"

namespace {

const int kId = 291;

bool Saturated(COLORREF c)
{
    int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    return std::max({r, g, b}) - std::min({r, g, b}) > 60;
}

// The icon drawn alone at (x, y) on `back`, for comparison.
PixelGrab Reference(int width, int height, COLORREF back, UINT iconId, int x, int y)
{
    CClientDC screen(nullptr);
    CMemoryDC mem(screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(screen, width, height);
    CSelectObject select(mem, bitmap);
    CBrush brush(back);
    RECT rc = {0, 0, width, height};
    ::FillRect(mem, &rc, brush);
    HICON icon = (HICON)::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId),
                                     IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR);
    ::DrawStateA(mem, nullptr, nullptr, (LPARAM)icon, 0, x, y, 32, 32, DST_ICON);
    ::DestroyIcon(icon);
    return PixelGrab(mem, width, height);
}

// Pixels of the reference icon that the button does not show.
int IconMismatches(const PixelGrab& shown, const PixelGrab& reference, COLORREF back)
{
    int wrong = 0;
    for (int y = 0; y < reference.Height(); ++y)
        for (int x = 0; x < reference.Width(); ++x)
            if (reference.At(x, y) != back && shown.At(x, y) != reference.At(x, y))
                ++wrong;
    return wrong;
}

class FlatButtonTest : public ::testing::Test
{
protected:
    void Open(int width, int height, const char* caption = "")
    {
        w = width;
        h = height;
        ASSERT_TRUE(host.Open(width + 40, height + 40));
        HWND button = ::CreateWindowExA(0, "BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                        0, 0, width, height, host, (HMENU)kId,
                                        ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, button);
        ASSERT_TRUE(btn.SubclassDlgItem(kId, &host));
        EXPECT_EQ(BS_OWNERDRAW, (DWORD)::GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK);
        ::SetActiveWindow(SharedTopLevel());
        ::SetFocus(host);
    }

    PixelGrab Grab()
    {
        ::RedrawWindow(btn, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        CClientDC dc(btn);
        return PixelGrab(dc, w, h);
    }

    void MouseMove(int x, int y, UINT keys = 0)
    {
        btn.SendMessage(WM_MOUSEMOVE, keys, MAKELPARAM(x, y));
    }

    TestHostWindow host;
    CFlatIconButton btn;
    int w = 0, h = 0;
};

} // namespace

TEST_F(FlatButtonTest, EdgesFollowLookStateAndBorderFlag)
{
    const COLORREF hi = ::GetSysColor(COLOR_BTNHIGHLIGHT), sh = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF dk = ::GetSysColor(COLOR_3DDKSHADOW), idle = RGB(0, 128, 128);
    const COLORREF hot = RGB(255, 255, 0);
    struct Case
    {
        const char* name;
        bool flat, border, makeHot, pressed;
        COLORREF topLeft, bottomRight;
    };
    const Case cases[] = {
        {"flat idle", true, true, false, false, idle, idle},
        {"flat hot", true, true, true, false, hi, sh},
        {"flat hot without border", true, false, true, false, hot, hot},
        {"flat pressed", true, true, false, true, sh, hi},
        {"flat pressed without border", true, false, false, true, hot, hot},
        {"raised", false, true, false, false, hi, dk},
        {"raised pressed", false, true, false, true, sh, sh},
    };
    for (const Case& c : cases) {
        Open(46, 44);
        btn.SetIdleBackColor(idle, 0);
        btn.SetHotBackColor(hot, 0);
        btn.SetFlatLook(c.flat);
        btn.SetDrawBorder(c.border);
        if (c.makeHot)
            MouseMove(5, 5);
        if (c.pressed)
            btn.SendMessage(BM_SETSTATE, TRUE);
        PixelGrab px = Grab();
        EXPECT_EQ(ColorText(c.topLeft), ColorText(px.At(0, 0))) << c.name;
        EXPECT_EQ(ColorText(c.bottomRight), ColorText(px.At(w - 1, h - 1))) << c.name;
        EXPECT_EQ(ColorText(c.bottomRight), ColorText(px.At(w - 1, 5))) << c.name;
        if (!c.flat && !c.pressed) {
            EXPECT_EQ(ColorText(::GetSysColor(COLOR_3DLIGHT)), ColorText(px.At(1, 1))) << c.name;
            EXPECT_EQ(ColorText(sh), ColorText(px.At(w - 2, h - 2))) << c.name;
        }
        btn.SendMessage(BM_SETSTATE, FALSE);
        btn.UnsubclassWindow();
        host.DestroyWindow();
    }
}

TEST_F(FlatButtonTest, WithoutBorderHotShowsOnlyColoursAndHotIcon)
{
    Open(46, 44);
    ASSERT_TRUE(btn.SetIcons(IDI_PROPERTIES_HOT, IDI_PROPERTIES_NORMAL, 32, 32));
    btn.SetDrawBorder(false);
    btn.SetHotBackColor(RGB(255, 255, 0), 0);
    const COLORREF idle = btn.GetIdleBackColor();
    RECT frame = {0, 0, 46, 44};

    PixelGrab rest = Grab();
    EXPECT_EQ(0, rest.Count(frame, RGB(255, 0, 0))) << "normal icon: no red antenna";
    EXPECT_EQ(ColorText(idle), ColorText(rest.At(0, 0)));

    MouseMove(10, 10);
    ASSERT_TRUE(btn.IsHot());
    PixelGrab hot = Grab();
    EXPECT_GT(hot.Count(frame, RGB(255, 0, 0)), 4) << "hot icon";
    for (POINT p : {POINT{0, 0}, POINT{45, 0}, POINT{0, 43}, POINT{45, 43}, POINT{1, 1}})
        EXPECT_EQ(ColorText(RGB(255, 255, 0)), ColorText(hot.At(p.x, p.y)))
            << "no edge at " << p.x << "," << p.y;
}

TEST_F(FlatButtonTest, IconPlacement)
{
    struct Case
    {
        const char* caption;
        int align;
        bool pressed;
        int width;
        UINT expectedIcon;
        int x, y;
    };
    // Buttons 44 pixels high and a 32 x 32 icon.
    const Case cases[] = {
        {"", 0, false, 50, IDI_PROPERTIES_NORMAL, 9, 6}, // centred both ways
        {"", 1, false, 50, IDI_PROPERTIES_NORMAL, 9, 6},
        {"", 0, false, 90, IDI_PROPERTIES_NORMAL, 29, 6},
        {"Go", 0, false, 90, IDI_PROPERTIES_NORMAL, 3, 6},  // left, caption beside it
        {"Go", 1, false, 90, IDI_PROPERTIES_NORMAL, 29, 0}, // top, caption below it
        {"", 0, true, 50, IDI_PROPERTIES_HOT, 10, 7},       // pressed: hot icon, one pixel in
        {"Go", 1, true, 90, IDI_PROPERTIES_HOT, 30, 1},
    };
    for (const Case& c : cases) {
        Open(c.width, 44, c.caption);
        ASSERT_TRUE(btn.SetIcons(IDI_PROPERTIES_HOT, IDI_PROPERTIES_NORMAL, 32, 32));
        btn.SetIconAlign(c.align);
        if (c.pressed)
            btn.SendMessage(BM_SETSTATE, TRUE);
        PixelGrab shown = Grab();
        COLORREF back = c.pressed ? btn.GetHotBackColor() : btn.GetIdleBackColor();
        PixelGrab expected = Reference(c.width, 44, back, c.expectedIcon, c.x, c.y);
        std::string name = std::string("caption '") + c.caption + "' align " +
                           std::to_string(c.align) + (c.pressed ? " pressed" : "");
        EXPECT_EQ(0, IconMismatches(shown, expected, back)) << name;
        PixelGrab shifted = Reference(c.width, 44, back, c.expectedIcon, c.x + 1, c.y);
        EXPECT_GT(IconMismatches(shown, shifted, back), 0) << "the comparison can tell";
        if (*c.caption) {
            RECT captionArea =
                c.align == 0 ? RECT{3 + 32, 0, c.width, 44} : RECT{0, 32, c.width, 44};
            EXPECT_GT(shown.Count(captionArea, btn.GetIdleTextColor()), 5) << name;
            RECT ink = shown.Ink(captionArea, back);
            int centre = (captionArea.left + captionArea.right) / 2;
            EXPECT_NEAR(centre, (ink.left + ink.right) / 2, 2) << name << ": caption centred";
        }
        btn.SendMessage(BM_SETSTATE, FALSE);
        btn.UnsubclassWindow();
        host.DestroyWindow();
    }
}

TEST_F(FlatButtonTest, IconSizesAbove255AreRefused)
{
    Open(50, 44);
    ASSERT_TRUE(btn.SetIcons(IDI_PROPERTIES_HOT, IDI_PROPERTIES_NORMAL, 32, 32));
    EXPECT_FALSE(btn.SetIcons(IDI_WATCHER_HOT, 0, 256, 32));
    EXPECT_FALSE(btn.SetIcons(IDI_WATCHER_HOT, 0, 32, 300));
    COLORREF back = btn.GetIdleBackColor();
    EXPECT_EQ(0, IconMismatches(Grab(), Reference(50, 44, back, IDI_PROPERTIES_NORMAL, 9, 6), back))
        << "the earlier icons and size stay";
}

TEST_F(FlatButtonTest, DisabledButtonIsGreyed)
{
    Open(90, 44, "Go");
    ASSERT_TRUE(btn.SetIcons(IDI_PROPERTIES_HOT, 0, 32, 32));
    RECT all = {0, 0, 90, 44}, iconArea = {3, 6, 35, 38}, captionArea = {35, 0, 90, 44};
    auto saturated = [](const PixelGrab& px, const RECT& rc) {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                n += Saturated(px.At(x, y));
        return n;
    };
    PixelGrab enabled = Grab();
    ASSERT_GT(saturated(enabled, iconArea), 20) << "the icon is colourful when enabled";
    ASSERT_GT(enabled.Count(captionArea, btn.GetIdleTextColor()), 5);

    btn.EnableWindow(FALSE);
    PixelGrab disabled = Grab();
    EXPECT_EQ(0, saturated(disabled, all)) << "no colour left";
    EXPECT_GT(disabled.Count(iconArea, ::GetSysColor(COLOR_BTNSHADOW)), 20) << "greyed icon";
    EXPECT_EQ(0, disabled.Count(captionArea, btn.GetIdleTextColor())) << "no normal text";
    EXPECT_GT(disabled.Count(captionArea, ::GetSysColor(COLOR_BTNSHADOW)), 5) << "greyed text";
}

TEST_F(FlatButtonTest, HotTrackingCapturesAndReleasesTheMouse)
{
    Open(46, 44);
    MouseMove(5, 5, MK_LBUTTON);
    EXPECT_FALSE(btn.IsHot()) << "entering with the button held changes nothing";

    MouseMove(5, 5);
    EXPECT_TRUE(btn.IsHot());
    EXPECT_EQ(btn.m_hWnd, ::GetCapture());
    MouseMove(20, 20);
    EXPECT_TRUE(btn.IsHot()) << "inside: unchanged";

    MouseMove(-10, 60, MK_LBUTTON);
    EXPECT_FALSE(btn.IsHot());
    EXPECT_EQ(btn.m_hWnd, ::GetCapture()) << "left button held: capture kept";
    MouseMove(-12, 62);
    EXPECT_EQ(nullptr, ::GetCapture()) << "released once the button is up";

    MouseMove(5, 5);
    ASSERT_TRUE(btn.IsHot());
    btn.SendMessage(WM_KILLFOCUS);
    EXPECT_FALSE(btn.IsHot()) << "losing the focus ends the hot state";
    EXPECT_EQ(nullptr, ::GetCapture()) << "and gives the mouse back";

    // The hot state ends with the capture: after a click, whose button-up
    // makes the button control release it, and when another window takes it.
    MouseMove(5, 5);
    ASSERT_TRUE(btn.IsHot());
    btn.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    btn.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_FALSE(btn.IsHot()) << "a click does not leave it raised";
    MouseMove(5, 5);
    ASSERT_TRUE(btn.IsHot());
    HWND other = ::GetParent(btn.m_hWnd);
    ::SetCapture(other);
    EXPECT_FALSE(btn.IsHot()) << "another window took the mouse";
    ::ReleaseCapture();

    btn.SetFlatLook(false);
    MouseMove(5, 5);
    EXPECT_FALSE(btn.IsHot()) << "a raised button does not track";
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST(OffscreenDC, DrawsInTargetCoordinatesAndCopiesOnlyTheClipBoxAtTheEnd)
{
    CClientDC screen(nullptr);
    CMemoryDC target(screen);
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(screen, 100, 100));
    CSelectObject select(target, bitmap);
    CBrush white(RGB(255, 255, 255)), red(RGB(255, 0, 0)), blue(RGB(0, 0, 255));
    RECT all = {0, 0, 100, 100};
    ::FillRect(target, &all, white);
    ::IntersectClipRect(target, 20, 30, 60, 70);
    {
        COffscreenDC off(target);
        ASSERT_TRUE(off.IsOffscreen());
        EXPECT_EQ(20, off.GetRect().left);
        EXPECT_EQ(70, off.GetRect().bottom);
        ::FillRect(off, &all, red);
        RECT corner = {20, 30, 22, 32};
        ::FillRect(off, &corner, blue);
        ::SelectClipRgn(target, nullptr);
        EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(target, 40, 50)) << "nothing shown yet";
        ::IntersectClipRect(target, 20, 30, 60, 70);
    }
    ::SelectClipRgn(target, nullptr);
    EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(target, 40, 50));
    EXPECT_EQ(RGB(0, 0, 255), ::GetPixel(target, 20, 30)) << "target coordinates";
    EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(target, 22, 32));
    EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(target, 10, 10)) << "outside the clip box";
    EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(target, 60, 70));
}

TEST(FlatButtonInDialog, ToolWindowButtonsDrawTheirIconPairsThroughTheDialog)
{
    CDialog dialog(IDD_MAINTOOL);
    ASSERT_TRUE(dialog.Create((HWND) nullptr));
    struct Pair
    {
        UINT id, hot, normal;
    } pairs[] = {
        {IDC_BTN_PROPERTIES, IDI_PROPERTIES_HOT, IDI_PROPERTIES_NORMAL},
        {IDC_BTN_WATCHER, IDI_WATCHER_HOT, IDI_WATCHER_NORMAL},
        {IDC_BTN_SIGNAL, IDI_SIGNAL_HOT, IDI_SIGNAL_NORMAL},
        {IDC_BTN_THROUGHPUT, IDI_THROUGHPUT_HOT, IDI_THROUGHPUT_NORMAL},
    };
    CFlatIconButton buttons[4];
    CClientDC screen(nullptr);
    for (int i = 0; i < 4; ++i) {
        const Pair& p = pairs[i];
        ASSERT_TRUE(buttons[i].SubclassDlgItem(p.id, &dialog)) << p.id;
        ASSERT_TRUE(buttons[i].SetIcons(p.hot, p.normal, 32, 32)) << p.id;
        RECT rc;
        buttons[i].GetClientRect(&rc);
        ASSERT_GE(rc.right, 32);
        ASSERT_GE(rc.bottom, 32);
        // The owner-draw request the button sends to the tool window,
        // drawn into memory so the hidden dialog can be read back.
        CMemoryDC mem(screen);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(screen, rc.right, rc.bottom);
        CSelectObject select(mem, bitmap);
        DRAWITEMSTRUCT dis = {ODT_BUTTON, p.id, 0, ODA_DRAWENTIRE, 0, buttons[i].m_hWnd,
                              mem,        rc,   0};
        dialog.SendMessage(WM_DRAWITEM, p.id, (LPARAM)&dis);
        PixelGrab shown(mem, rc.right, rc.bottom);
        COLORREF back = buttons[i].GetIdleBackColor();
        PixelGrab expected = Reference(rc.right, rc.bottom, back, p.normal, (rc.right - 32) / 2,
                                       (rc.bottom - 32) / 2);
        EXPECT_EQ(0, IconMismatches(shown, expected, back)) << "button " << p.id;
        EXPECT_GT(shown.Count(RECT{0, 0, rc.right, rc.bottom}, back), 0) << "button " << p.id;
    }
}
