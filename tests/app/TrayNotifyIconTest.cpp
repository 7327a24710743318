// TrayNotifyIconTest.cpp - the notification icon's shell calls (counted
// through the Os seam), its tips, hiding and removal, its callback, and its
// owner-drawn pop-up menu shown for real.
#include <gtest/gtest.h>

#include "app/CTrayNotifyIcon.h"
#include "framework/Os.h"
#include "res/resource.h"
#include "tests/support/FakeOs.h"
#include "tests/support/MenuTestSupport.h"

#include <cstring>
#include <memory>

#include "framework/CDialog.h"
#include "framework/Gdi.h"

namespace {

const UINT kCallback = 2215;

class TrayIconTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        os.ReportVersion();
        ASSERT_TRUE(owner.Open(60, 40));
        icon = ::LoadIconA(nullptr, (LPCSTR)IDI_APPLICATION);
    }

    bool CreateIcon(const char* tip = "Quality: 100%")
    {
        return tray.Create(&owner, 1, tip, icon, kCallback);
    }

    FakeOs os;
    TestHostWindow owner;
    CTrayNotifyIcon tray;
    HICON icon = nullptr;
};

} // namespace

TEST_F(TrayIconTest, CreateAddsTheIconWithMessageIconAndTip)
{
    ASSERT_TRUE(CreateIcon());
    ASSERT_EQ(1u, os.shell.size());
    const FakeOs::ShellCall& add = os.shell[0];
    EXPECT_EQ((DWORD)NIM_ADD, add.message);
    EXPECT_EQ(88u, add.data.cbSize);
    EXPECT_EQ(owner.m_hWnd, add.data.hWnd) << "callbacks go to the notification window";
    EXPECT_EQ(1u, add.data.uID);
    EXPECT_EQ((UINT)(NIF_MESSAGE | NIF_ICON | NIF_TIP), add.data.uFlags);
    EXPECT_EQ(kCallback, add.data.uCallbackMessage);
    EXPECT_EQ(icon, add.data.hIcon);
    EXPECT_STREQ("Quality: 100%", add.data.szTip);
    EXPECT_TRUE(tray.IsWindow()) << "the hidden window exists";
    EXPECT_FALSE(tray.IsWindowVisible());
    EXPECT_EQ("Quality: 100%", tray.GetTooltipText());
    EXPECT_EQ(icon, tray.GetIcon());
    EXPECT_EQ(&owner, tray.GetNotificationWnd());
}

TEST_F(TrayIconTest, CreateFailsOnOldSystemsAndWhenTheShellRefuses)
{
    os.version.dwMajorVersion = 3;
    EXPECT_FALSE(CreateIcon());
    EXPECT_TRUE(os.shell.empty()) << "no shell call below version 4";

    os.version.dwMajorVersion = 4;
    os.shellAnswer = FALSE;
    EXPECT_FALSE(CreateIcon());
    EXPECT_EQ(1u, os.shell.size());
    EXPECT_FALSE(tray.IsEnabled());
    os.shell.clear();
    os.shellAnswer = TRUE;
    EXPECT_FALSE(tray.SetTooltipText("x"));
    EXPECT_FALSE(tray.SetIcon(icon));
    tray.HideIcon();
    tray.ShowIcon();
    tray.RemoveIcon();
    EXPECT_TRUE(os.shell.empty()) << "a refused icon makes no further calls";
}

TEST_F(TrayIconTest, TipsAreCutTo63Characters)
{
    ASSERT_TRUE(CreateIcon(std::string(100, 'c').c_str()));
    EXPECT_EQ(std::string(63, 'c'), std::string(os.shell.back().data.szTip));
    for (size_t len : {0u, 1u, 62u, 63u, 64u, 200u}) {
        std::string tip(len, 'a' + len % 26);
        ASSERT_TRUE(tray.SetTooltipText(tip.c_str())) << len;
        const FakeOs::ShellCall& call = os.shell.back();
        EXPECT_EQ((DWORD)NIM_MODIFY, call.message);
        EXPECT_EQ((UINT)NIF_TIP, call.data.uFlags);
        EXPECT_EQ(tip.substr(0, 63), std::string(call.data.szTip)) << len;
        EXPECT_EQ('\0', call.data.szTip[63]);
        EXPECT_EQ(tip.substr(0, 63), tray.GetTooltipText());
    }
    os.shellAnswer = FALSE;
    EXPECT_FALSE(tray.SetTooltipText("refused")) << "the shell's answer is returned";
}

TEST_F(TrayIconTest, IconsFromHandlesResourcesAndTheSystem)
{
    ASSERT_TRUE(CreateIcon());
    HICON other = ::LoadIconA(nullptr, (LPCSTR)IDI_WARNING);
    EXPECT_TRUE(tray.SetIcon(other));
    EXPECT_EQ((UINT)NIF_ICON, os.shell.back().data.uFlags);
    EXPECT_EQ(other, os.shell.back().data.hIcon);

    for (UINT id : {IDI_QUALITY_NONE, IDI_QUALITY_GOOD, IDI_QUALITY_FAIR, IDI_QUALITY_POOR}) {
        ASSERT_TRUE(tray.SetIcon(id)) << id;
        EXPECT_NE(nullptr, os.shell.back().data.hIcon);
        EXPECT_EQ(os.shell.back().data.hIcon, tray.GetIcon());
    }
    EXPECT_FALSE(tray.SetIcon(4242u)) << "no such icon";
    EXPECT_TRUE(tray.SetStandardIcon((UINT)(UINT_PTR)IDI_QUESTION));
    EXPECT_EQ(::LoadIconA(nullptr, (LPCSTR)IDI_QUESTION), tray.GetIcon());
}

TEST_F(TrayIconTest, HideAndShowCallTheShellOnlyOnChange)
{
    ASSERT_TRUE(CreateIcon());
    os.shell.clear();
    tray.ShowIcon();
    EXPECT_TRUE(os.shell.empty()) << "showing a shown icon";
    tray.HideIcon();
    tray.HideIcon();
    ASSERT_EQ(1u, os.shell.size()) << "hiding twice makes one call";
    EXPECT_EQ((DWORD)NIM_DELETE, os.shell[0].message);
    EXPECT_EQ((UINT)NIF_ICON, os.shell[0].data.uFlags);
    EXPECT_TRUE(tray.IsHidden());
    // The shell may refuse to take it back: it stays hidden, so the next show
    // asks again.
    os.shellAnswer = FALSE;
    EXPECT_FALSE(tray.ShowIcon());
    EXPECT_TRUE(tray.IsHidden());
    os.shellAnswer = TRUE;
    EXPECT_TRUE(tray.ShowIcon());
    ASSERT_EQ(3u, os.shell.size());
    for (size_t i : {1u, 2u}) {
        EXPECT_EQ((DWORD)NIM_ADD, os.shell[i].message);
        EXPECT_EQ((UINT)(NIF_MESSAGE | NIF_ICON | NIF_TIP), os.shell[i].data.uFlags);
        EXPECT_STREQ("Quality: 100%", os.shell[i].data.szTip);
    }
    EXPECT_FALSE(tray.IsHidden());
}

TEST_F(TrayIconTest, AfterRemoveNothingReachesTheShell)
{
    ASSERT_TRUE(CreateIcon());
    tray.RemoveIcon();
    ASSERT_EQ(2u, os.shell.size());
    EXPECT_EQ((DWORD)NIM_DELETE, os.shell[1].message);
    EXPECT_EQ(0u, os.shell[1].data.uFlags);
    os.shell.clear();
    EXPECT_FALSE(tray.SetTooltipText("after"));
    EXPECT_FALSE(tray.SetTooltipText((UINT)IDS_PRODUCT));
    EXPECT_FALSE(tray.SetIcon(icon));
    EXPECT_FALSE(tray.SetIcon((UINT)IDI_QUALITY_GOOD));
    EXPECT_FALSE(tray.SetStandardIcon((UINT)(UINT_PTR)IDI_HAND));
    EXPECT_FALSE(tray.SetNotificationWnd(&owner));
    tray.HideIcon();
    tray.ShowIcon();
    tray.RemoveIcon();
    EXPECT_TRUE(os.shell.empty());
    EXPECT_EQ("", tray.GetTooltipText());
    EXPECT_EQ(nullptr, tray.GetIcon());
}

TEST_F(TrayIconTest, DestructionRemovesTheIcon)
{
    {
        CTrayNotifyIcon local;
        ASSERT_TRUE(local.Create(&owner, 7, "tip", icon, kCallback));
    }
    ASSERT_EQ(2u, os.shell.size());
    EXPECT_EQ((DWORD)NIM_DELETE, os.shell[1].message);
    EXPECT_EQ(7u, os.shell[1].data.uID);
}

TEST_F(TrayIconTest, NotificationWindowCanChange)
{
    ASSERT_TRUE(CreateIcon());
    TestHostWindow other;
    ASSERT_TRUE(other.Open(10, 10));
    EXPECT_TRUE(tray.SetNotificationWnd(&other));
    EXPECT_EQ((DWORD)NIM_MODIFY, os.shell.back().message);
    EXPECT_EQ(0u, os.shell.back().data.uFlags);
    EXPECT_EQ(other.m_hWnd, os.shell.back().data.hWnd);
    EXPECT_EQ(&other, tray.GetNotificationWnd());
    EXPECT_TRUE(tray.SetNotificationWnd(nullptr));
    EXPECT_EQ(tray.m_hWnd, os.shell.back().data.hWnd) << "none: the hidden window stands in";
}

TEST_F(TrayIconTest, CallbacksForOtherIconsAreNotOurs)
{
    ASSERT_TRUE(CreateIcon());
    EXPECT_EQ(0, tray.OnTrayNotification(2, WM_RBUTTONUP));
    EXPECT_EQ(0, tray.OnTrayNotification(2, WM_LBUTTONDBLCLK));
    EXPECT_EQ(1, tray.OnTrayNotification(1, WM_MOUSEMOVE)) << "ours, nothing to do";
    EXPECT_EQ(1, tray.OnTrayNotification(1, WM_LBUTTONDBLCLK));
    PumpMessages();
    EXPECT_EQ(0, owner.nullMessages) << "no menu was opened";
    // The hidden window hands its callback message to the handler as well.
    EXPECT_EQ(0, tray.SendMessage(kCallback, 2, WM_MOUSEMOVE));
    EXPECT_EQ(1, tray.SendMessage(kCallback, 1, WM_MOUSEMOVE));
}

namespace {

std::unique_ptr<PixelGrab> g_menuPixels;
int g_ticks = 0;
std::vector<UINT> g_menuKeys;

// The visible pop-up menu window of this thread, if any.
HWND OurMenuWindow()
{
    HWND menu = nullptr;
    while ((menu = ::FindWindowExA(nullptr, menu, "#32768", nullptr)) != nullptr) {
        if (::IsWindowVisible(menu) &&
            ::GetWindowThreadProcessId(menu, nullptr) == ::GetCurrentThreadId())
            return menu;
    }
    return nullptr;
}

void CALLBACK InspectMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND menu = OurMenuWindow();
    if (!menu)
        return;
    if (++g_ticks == 1) {
        ::UpdateWindow(menu);
        RECT rc;
        ::GetClientRect(menu, &rc);
        HDC dc = ::GetDC(menu);
        g_menuPixels = std::make_unique<PixelGrab>(dc, rc.right, rc.bottom);
        ::ReleaseDC(menu, dc);
        // Choose an item with the keyboard.
        for (UINT key : g_menuKeys)
            ::PostMessageA(menu, WM_KEYDOWN, key, 0);
    } else if (g_ticks > 20) {
        ::EndMenu(); // never hang the test run
    }
}

// Opens the icon's menu through its callback; a timer photographs the
// open menu and picks the first item with the keyboard.
LRESULT RunMenu(CTrayNotifyIcon& tray, std::vector<UINT> keys = {VK_DOWN, VK_RETURN})
{
    g_menuKeys = keys;
    g_menuPixels.reset();
    g_ticks = 0;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 300, InspectMenu);
    LRESULT result = tray.OnTrayNotification(1, WM_RBUTTONUP);
    ::KillTimer(nullptr, timer);
    PumpMessages();
    return result;
}

// The photographed menu shows the black strip down its items' full height
// with banner 1313 at the bottom, and the first picture.
void ExpectBannerAndPictures()
{
    ASSERT_TRUE(g_menuPixels) << "the pop-up menu was shown";
    const PixelGrab& px = *g_menuPixels;
    ASSERT_GT(px.Height(), 148);
    // The popup's frame is drawn inside its client area: the items, and
    // the strip with them, start at the first black pixel of the diagonal.
    int margin = 0;
    while (margin < 10 && px.At(margin, margin) != RGB(0, 0, 0))
        ++margin;
    ASSERT_LT(margin, 10) << "no black strip at the top left";
    const int left = margin;
    // Where the banner bitmap sits in the strip, pixel for pixel.
    CBitmap banner;
    ASSERT_TRUE(banner.LoadBitmap(IDB_MENU_BANNER));
    CClientDC screen(nullptr);
    CMemoryDC mem(screen);
    CSelectObject select(mem, banner);
    PixelGrab bitmap(mem, 23, 148);
    int bannerTop = -1;
    for (int top = 0; top + 148 <= px.Height() && bannerTop < 0; ++top) {
        bool same = true;
        for (int y = 0; y < 148 && same; ++y)
            for (int x = 0; x < 23 && same; ++x)
                same = px.At(left + x, top + y) == bitmap.At(x, y);
        if (same)
            bannerTop = top;
    }
    ASSERT_GE(bannerTop, 0) << "banner bitmap not found in the strip";
    EXPECT_EQ(margin, px.Height() - (bannerTop + 148)) << "the bitmap sits at the bottom";
    EXPECT_EQ(23 * (bannerTop - margin),
              px.Count(RECT{left, margin, left + 23, bannerTop}, RGB(0, 0, 0)))
        << "black from the top of the strip down to the bitmap";
    EXPECT_NE(RGB(0, 0, 0), px.At(left + 23, margin + 1)) << "the strip is 23 pixels wide";
    EXPECT_GT(px.Count(RECT{left + 23, 0, left + 23 + 20, 26}, RGB(0, 0, 128)), 5)
        << "the first item's picture";
}

// The tool window is a dialog: the menu's owner-draw requests and commands
// reach it through the dialog procedure.
class ToolDialogStandIn : public CDialog
{
public:
    ToolDialogStandIn() : CDialog(IDD_MAINTOOL) {}
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        commands.push_back(LOWORD(wParam));
        return TRUE;
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_NULL)
            ++nullMessages;
        return CDialog::WindowProc(msg, wParam, lParam);
    }
    std::vector<UINT> commands;
    int nullMessages = 0;
};

} // namespace

TEST_F(TrayIconTest, RightButtonOpensTheOwnerDrawnMenuAndItsCommandReachesTheOwner)
{
    ASSERT_TRUE(CreateIcon());
    EXPECT_EQ(1, RunMenu(tray));
    EXPECT_EQ(std::vector<UINT>{IDM_ADAPTER_PROPERTIES}, owner.commands);
    EXPECT_EQ(1, owner.nullMessages) << "WM_NULL after the menu";
    ExpectBannerAndPictures();
}

TEST_F(TrayIconTest, ADialogAsNotificationWindowDrawsTheMenuAndGetsItsCommands)
{
    ToolDialogStandIn dialog;
    ASSERT_TRUE(dialog.Create((HWND) nullptr));
    ASSERT_TRUE(tray.Create(&dialog, 1, "Quality: 100%", icon, kCallback));
    EXPECT_EQ(1, RunMenu(tray));
    EXPECT_EQ(std::vector<UINT>{IDM_ADAPTER_PROPERTIES}, dialog.commands);
    EXPECT_EQ(1, dialog.nullMessages);
    ExpectBannerAndPictures();

    // While a modal dialog of the tool window is open the tool window is
    // disabled; Exit (the last item) still reaches it.
    dialog.commands.clear();
    dialog.EnableWindow(FALSE);
    EXPECT_EQ(1, RunMenu(tray, {VK_UP, VK_RETURN}));
    EXPECT_EQ(std::vector<UINT>{IDM_EXIT}, dialog.commands);
}

TEST(TrayIconShell, RealShellAcceptsTheIcon)
{
    FakeOs os;
    os.ReportVersion();
    g_os.Shell_NotifyIconA = RealOs().Shell_NotifyIconA;
    CTrayNotifyIcon tray;
    HICON icon =
        (HICON)::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_QUALITY_NONE),
                            IMAGE_ICON, 16, 16, LR_SHARED);
    ASSERT_TRUE(tray.Create(nullptr, 1, "Quality: 100%", icon, kCallback));
    EXPECT_TRUE(tray.SetIcon((UINT)IDI_QUALITY_GOOD));
    EXPECT_TRUE(tray.SetTooltipText("Quality: 70%"));
    tray.RemoveIcon();
    EXPECT_FALSE(tray.IsEnabled());
}
