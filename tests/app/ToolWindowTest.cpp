// ToolWindowTest.cpp - the tool window's initialisation (system menu,
// buttons, tips, position, command-line action, notification icon), its
// close and the Exit command, and the icon preference. The window stays
// hidden, which keeps its destruction quick under Wine.
#include "adapter/AdapterState.h"
#include "adapter/CardItem.h"
#include "adapter/Mailbox.h"
#include "app/CAboutDlg.h"
#include "app/CPrefsDlg.h"
#include "res/resource.h"
#include "tests/support/ToolScenarios.h"
#include "tests/support/ToolTestSupport.h"

#include <gtest/gtest.h>

namespace {

class ToolWindow : public ToolWindowFixture
{
protected:
    RECT WindowRect() const
    {
        RECT rc;
        ::GetWindowRect(*tool, &rc);
        return rc;
    }
};

TEST_F(ToolWindow, InitialisationBuildsMenuButtonsTipsIconAndTimer)
{
    Start();
    EXPECT_EQ("Corvane Utility", tool->GetWindowText());
    EXPECT_EQ(tool->GetAppIcon(), (HICON)tool->SendMessage(WM_GETICON, ICON_BIG));
    EXPECT_EQ(tool->GetAppIcon(), (HICON)tool->SendMessage(WM_GETICON, ICON_SMALL));

    // System menu: separator, Preferences, About at the end.
    HMENU sys = ::GetSystemMenu(*tool, FALSE);
    int count = ::GetMenuItemCount(sys);
    ASSERT_GE(count, 3);
    EXPECT_EQ(0u, ::GetMenuItemID(sys, count - 3)) << "separator";
    EXPECT_EQ((UINT)IDM_PREFERENCES, ::GetMenuItemID(sys, count - 2));
    EXPECT_EQ((UINT)IDM_ABOUT, ::GetMenuItemID(sys, count - 1));
    char text[64];
    ::GetMenuStringA(sys, IDM_PREFERENCES, text, sizeof(text), MF_BYCOMMAND);
    EXPECT_STREQ("&Preferences", text);
    ::GetMenuStringA(sys, IDM_ABOUT, text, sizeof(text), MF_BYCOMMAND);
    EXPECT_STREQ("About...", text);

    // The four buttons are ours, owner-drawn, with their tips.
    const int ids[4] = {IDC_BTN_PROPERTIES, IDC_BTN_WATCHER, IDC_BTN_SIGNAL, IDC_BTN_THROUGHPUT};
    const char* tips[4] = {"Corvane Properties", "Network Watcher", "Signal Quality Indicator",
                           "View Station Throughput"};
    // The tips come with the mouse's first visit, once.
    for (int visit = 0; visit < 2; ++visit)
        tool->SendMessage(WM_SETCURSOR, (WPARAM)tool->GetDlgItem(ids[visit]),
                          MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(4, tool->GetToolTip().GetToolCount());
    for (int i = 0; i < 4; ++i) {
        HWND button = tool->GetDlgItem(ids[i]);
        EXPECT_EQ(&tool->GetButton(i), CWnd::FromHandlePermanent(button)) << ids[i];
        EXPECT_EQ((LONG)BS_OWNERDRAW, ::GetWindowLongA(button, GWL_STYLE) & 0x0F) << ids[i];
        EXPECT_EQ(tips[i], tool->GetToolTip().GetText(*tool, (UINT)(UINT_PTR)button));
    }

    // The notification icon: identifier 1, callback 2215, grey, full quality.
    ASSERT_EQ(1u, os.shell.size());
    EXPECT_EQ((DWORD)NIM_ADD, os.shell[0].message);
    EXPECT_EQ("Quality: 100%", os.shell[0].tip);
    EXPECT_EQ(SmallIcon(IDI_QUALITY_NONE), os.shell[0].icon);
    EXPECT_EQ(1u, tool->GetTrayIcon().GetId());
    EXPECT_EQ(2215u, tool->GetTrayIcon().GetCallbackMessage());
    EXPECT_TRUE(os.IconShown());

    EXPECT_EQ((LRESULT)tool->GetAppIcon(), tool->SendMessage(WM_QUERYDRAGICON));
    // The icon's callback goes to the icon: its own identifier only.
    EXPECT_EQ(1, tool->SendMessage(CMainToolDlg::WM_TRAY_NOTIFY, 1, WM_MOUSEMOVE));
    EXPECT_EQ(0, tool->SendMessage(CMainToolDlg::WM_TRAY_NOTIFY, 2, WM_RBUTTONUP));

    EXPECT_FALSE(tool->IsAdHoc());
    EXPECT_EQ(1u, card->card.Commands(CMD_GET_PARAM, PARAM_NETWORK_TYPE))
        << "the watcher and the monitor start on one answer";
    EXPECT_EQ(2000u, tool->GetMonitorPeriod());
    EXPECT_TRUE(tool->IsMonitoring());
    EXPECT_TRUE(::KillTimer(*tool, CMainToolDlg::MONITOR_TIMER)) << "timer 3 runs";
    EXPECT_TRUE(os.boxes.empty());
    EXPECT_NE(nullptr, tool->GetBssWatcher());
    EXPECT_EQ(nullptr, tool->GetStationWatcher());
}

// The monitor starts on the network type the window read as it was made,
// unless a box was up or a tool opened in between (a second start may change
// the card's settings meanwhile): then it asks the card again.
TEST_F(ToolWindow, TheMonitorAsksTheNetworkTypeAgainOnlyAfterABoxOrATool)
{
    struct Case
    {
        const char* arg;
        const char* scenario;
        uint32_t asked;
        bool adHoc;
        BOOL shellTakesTheIcon = TRUE;
    };
    const Case cases[] = {
        {nullptr, kInfrastructure, 1, false},
        {nullptr, kAdHoc, 1, true},
        {"/x", kAdHoc, 1, true}, // no action: an unknown letter
        {"/n", kInfrastructure, 2, false},
        {"/n", kAdHoc, 2, true},
        {nullptr, kAdHoc, 2, true, FALSE}, // the refused icon's box
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.arg ? c.arg : "no argument") + ", " + c.scenario);
        app.m_args.clear();
        if (c.arg)
            app.m_args = {c.arg};
        os.shellAnswer = c.shellTakesTheIcon;
        Start(c.scenario);
        EXPECT_EQ(c.asked, card->card.Commands(CMD_GET_PARAM, PARAM_NETWORK_TYPE));
        EXPECT_EQ(c.adHoc, tool->IsAdHoc());
    }
    app.m_args.clear();
    os.shellAnswer = TRUE;
}

TEST_F(ToolWindow, PositionFromTheProfileIsPulledBackOnScreen)
{
    card.reset(new OpenedCard(kInfrastructure));
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN), screenH = ::GetSystemMetrics(SM_CYSCREEN);
    const int kRight = -1000, kBottom = -1001; // flush with that edge
    struct Case
    {
        const char* what;
        bool stored;
        int x, y;
        int expectX, expectY;
    };
    const Case cases[] = {
        {"no profile values: top right, one pixel down", false, 0, 0, kRight, 1},
        {"stored place", true, 100, 200, 100, 200},
        {"negative values", true, -5, -5, 0, 1},
        {"beyond the screen", true, screenW + 40, screenH, kRight, kBottom},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RegistryFixture::DeleteTree(HKEY_CURRENT_USER, app.SettingsKey());
        if (c.stored) {
            app.WriteProfileInt("Settings", "xPos", c.x);
            app.WriteProfileInt("Settings", "yPos", c.y);
        }
        tool.reset(new TestToolDlg);
        ASSERT_TRUE(tool->Open());
        RECT rc = WindowRect();
        int w = rc.right - rc.left, h = rc.bottom - rc.top;
        EXPECT_EQ(c.expectX == kRight ? screenW - w : c.expectX, rc.left);
        EXPECT_EQ(c.expectY == kBottom ? screenH - h : c.expectY, rc.top);
        EXPECT_EQ(rc.left, tool->GetStoredPosition().x);
        EXPECT_EQ(rc.top, tool->GetStoredPosition().y);
    }
}

TEST_F(ToolWindow, CloseStopsTheMonitorAndWritesTheSixSettings)
{
    app.WriteProfileInt("Settings", "nWidth", 123);
    app.WriteProfileInt("Settings", "fMaximized", 1);
    Start();
    ::SetWindowPos(*tool, nullptr, 150, 160, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    tool->SendMessage(WM_CLOSE);
    EXPECT_FALSE(tool->IsWindow());
    EXPECT_FALSE(tool->IsMonitoring());
    const std::string key = app.SettingsKey();
    EXPECT_EQ(150u, ReadDword(HKEY_CURRENT_USER, key, "xPos"));
    EXPECT_EQ(160u, ReadDword(HKEY_CURRENT_USER, key, "yPos"));
    EXPECT_EQ(123u, ReadDword(HKEY_CURRENT_USER, key, "nWidth")) << "written back unchanged";
    EXPECT_EQ(17u, ReadDword(HKEY_CURRENT_USER, key, "nHeight"));
    EXPECT_EQ(1u, ReadDword(HKEY_CURRENT_USER, key, "fMaximized"));
    EXPECT_EQ(0u, ReadDword(HKEY_CURRENT_USER, key, "fMinimized"));
}

TEST_F(ToolWindow, EnterAndEscapeDoNotEndTheProgram)
{
    Start();
    tool->SendMessage(WM_COMMAND, IDOK);
    tool->SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_TRUE(tool->IsWindow());
    EXPECT_TRUE(tool->IsMonitoring());
}

TEST_F(ToolWindow, CommandLineArgumentChoosesOneAction)
{
    card.reset(new OpenedCard(kInfrastructure));
    using T = CMainToolDlg;
    struct Case
    {
        std::vector<std::string> args;
        std::vector<T::Tool> opened;
    };
    const Case cases[] = {
        {{"/m"}, {TOOL_SIGNAL}},
        {{"-p"}, {TOOL_PROPERTIES}},
        {{"/s"}, {TOOL_WATCHER}},
        {{"/v"}, {TOOL_THROUGHPUT}},
        {{"/M"}, {}},
        {{"/x"}, {}},
        {{"/p", "/s"}, {}},
        {{"p"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + (c.args.size() > 1 ? " ..." : ""));
        app.m_args = c.args;
        tool.reset(new TestToolDlg);
        tool->FailCreate({TOOL_PROPERTIES, TOOL_WATCHER, TOOL_SIGNAL, TOOL_THROUGHPUT});
        ASSERT_TRUE(tool->Open());
        EXPECT_EQ(c.opened, tool->Asked());
    }
}

TEST_F(ToolWindow, StatusBoxTellsTheAdapterStatus)
{
    card.reset(new OpenedCard(kInfrastructure));
    app.m_args = {"/n"};
    tool.reset(new TestToolDlg);
    ASSERT_TRUE(tool->Open());
    ASSERT_EQ(1u, os.boxes.size());
    EXPECT_EQ(nullptr, os.boxes[0].owner);
    EXPECT_EQ("Welcome to the Corvane Utility, the adapter is working properly. \nYou can click "
              "the 'Network Watcher' button to check the network connectitvity.",
              os.boxes[0].text);
    EXPECT_EQ("Corvane Information", os.boxes[0].caption);
    EXPECT_EQ((UINT)MB_ICONINFORMATION, os.boxes[0].style);

    os.boxes.clear();
    GetAdapterState().m_nAdapterStatus = 4;
    GetAdapterState().m_bAdapterFailed = TRUE;
    tool.reset(new TestToolDlg);
    ASSERT_TRUE(tool->Open());
    ASSERT_EQ(1u, os.boxes.size());
    EXPECT_EQ("The adapter is disabled. (Code 4)\n", os.boxes[0].text);
    EXPECT_EQ("Error", os.boxes[0].caption);
    EXPECT_EQ((UINT)MB_ICONSTOP, os.boxes[0].style);
}

TEST_F(ToolWindow, ExitWhilePreferencesIsOpenClosesPreferencesThenTheProgram)
{
    card.reset(new OpenedCard(kInfrastructure));
    tool.reset(new TestToolDlg);
    // The modal run of the program itself: Preferences from the system menu,
    // then Exit from the notification icon's menu while it is open.
    bool prefsOpenAtExit = false;
    HWND prefsWindow = nullptr;
    tool->hook = [&] {
        prefsOpenAtExit = OpenWindowOf<CPrefsDlg>() != nullptr;
        prefsWindow = OpenWindowOf<CPrefsDlg>() ? OpenWindowOf<CPrefsDlg>()->m_hWnd : nullptr;
        tool->SendMessage(WM_COMMAND, IDM_EXIT);
    };
    // The hook message is queued behind the Preferences command, so it runs
    // inside the Preferences dialog's modal loop.
    tool->postAtInit = {{WM_COMMAND, IDM_PREFERENCES}, {TestToolDlg::WM_RUN_HOOK, 0}};
    INT_PTR result = tool->DoModal();
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_TRUE(prefsOpenAtExit);
    EXPECT_TRUE(prefsWindow != nullptr);
    EXPECT_FALSE(::IsWindow(prefsWindow));
    EXPECT_EQ(nullptr, OpenWindowOf<CPrefsDlg>());
    EXPECT_FALSE(tool->IsWindow());
    EXPECT_NE(0xDEADu, ReadDword(HKEY_CURRENT_USER, app.SettingsKey(), "xPos"))
        << "closed properly";
    EXPECT_TRUE(os.boxes.empty());
}

TEST_F(ToolWindow, ExitWhileAboutIsOpenClosesAboutThenTheProgram)
{
    card.reset(new OpenedCard(kInfrastructure));
    tool.reset(new TestToolDlg);
    HWND aboutWindow = nullptr;
    tool->hook = [&] {
        aboutWindow = OpenWindowOf<CAboutDlg>() ? OpenWindowOf<CAboutDlg>()->m_hWnd : nullptr;
        tool->SendMessage(WM_COMMAND, IDM_EXIT);
    };
    tool->postAtInit = {{WM_COMMAND, IDM_ABOUT}, {TestToolDlg::WM_RUN_HOOK, 0}};
    EXPECT_EQ(IDCANCEL, tool->DoModal());
    ASSERT_TRUE(aboutWindow != nullptr) << "Exit came while About was open";
    EXPECT_FALSE(::IsWindow(aboutWindow));
    EXPECT_EQ(nullptr, OpenWindowOf<CAboutDlg>());
    EXPECT_FALSE(tool->IsWindow());
    EXPECT_NE(0xDEADu, ReadDword(HKEY_CURRENT_USER, app.SettingsKey(), "xPos"))
        << "closed properly";
    EXPECT_TRUE(os.boxes.empty());
}

} // namespace
