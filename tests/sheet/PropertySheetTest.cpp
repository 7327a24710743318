// PropertySheetTest.cpp - the "Corvane Properties" sheet made modeless from
// the real resources against the simulated card: the first tab, the tab
// order, the buttons it keeps, OK over the pages that exist, reopening,
// and Alt+Ctrl+N reaching the Configuration page from any tab.
#include "res/resource.h"
#include "sheet/CPropertyTab.h"
#include "tests/sheet/PagesTestSupport.h"
#include "tests/support/TestWindows.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pages {
namespace {

class PropertySheetTest : public PageFixture
{
protected:
    PropertySheetTest() : sheet(IDS_PROPERTIES_CAPTION, &host, 0, PSH_HASHELP | PSH_NOAPPLYNOW)
    {
        OpenCard();
    }
    ~PropertySheetTest() override
    {
        if (sheet.m_hWnd)
            sheet.EndSheet(IDCANCEL);
    }

    std::vector<std::string> TabTitles() const
    {
        std::vector<std::string> titles;
        HWND tabs = (HWND)sheet.SendMessage(PSM_GETTABCONTROL);
        int count = (int)::SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            char text[64] = "";
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = sizeof(text);
            ::SendMessageA(tabs, TCM_GETITEMA, i, (LPARAM)&item);
            titles.push_back(text);
        }
        return titles;
    }
    bool Shown(int id) const
    {
        HWND button = sheet.GetDlgItem(id);
        return button && ::IsWindowVisible(button);
    }
    // Alt+Ctrl+N pressed while the focus is in the shown page.
    void PressAltCtrlN()
    {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        BYTE saved[256];
        memcpy(saved, keys, sizeof(saved));
        keys[VK_CONTROL] = keys[VK_MENU] = 0x80;
        ::SetKeyboardState(keys);
        MSG msg = {};
        msg.hwnd = sheet.GetActivePage()->m_hWnd;
        msg.message = WM_SYSKEYDOWN;
        msg.wParam = 'N';
        msg.lParam = 0x20000001; // the context bit: Alt is down
        EXPECT_TRUE(sheet.PreTranslateMessage(&msg)) << "the accelerator takes the key";
        ::SetKeyboardState(saved);
    }

    HiddenHost host;
    CPropertyTab sheet;
};

TEST_F(PropertySheetTest, OpensOnConfigurationWithItsTabsAndButtons)
{
    ASSERT_TRUE(sheet.Create(&host));
    EXPECT_EQ("Corvane Properties", sheet.GetWindowText());
    EXPECT_EQ(0, sheet.GetActiveIndex());
    EXPECT_EQ(&sheet.m_ConfigurationPage, sheet.GetActivePage());
    EXPECT_EQ(
        (std::vector<std::string>{"Configuration", "Advanced Information", "Troubleshooting"}),
        TabTitles());
    EXPECT_TRUE(Shown(IDOK));
    EXPECT_TRUE(Shown(IDCANCEL));
    EXPECT_TRUE(Shown(IDHELP));
    EXPECT_TRUE(::IsWindowEnabled(sheet.GetDlgItem(IDHELP)));
    EXPECT_FALSE(Shown(0x3021)) << "no Apply Now button";
    EXPECT_EQ((LRESULT)sheet.m_hIcon, sheet.SendMessage(WM_GETICON, ICON_BIG));
    EXPECT_EQ(nullptr, sheet.m_AdvancedInfoPage.m_hWnd) << "pages are made when first shown";
    EXPECT_EQ(nullptr, sheet.m_TroubleshootingPage.m_hWnd);
}

TEST_F(PropertySheetTest, HelpStaysEnabledOnEveryTab)
{
    ASSERT_TRUE(sheet.Create(&host));
    for (int tab : {1, 2, 0}) {
        ASSERT_TRUE(sheet.SetActivePage(tab));
        EXPECT_TRUE(::IsWindowEnabled(sheet.GetDlgItem(IDHELP))) << "tab " << tab;
    }
}

TEST_F(PropertySheetTest, OkWithOnlyTheFirstPageMadeClosesTheSheet)
{
    ASSERT_TRUE(sheet.Create(&host));
    card->ResetCounts();
    sheet.SendMessage(WM_COMMAND, IDOK);
    EXPECT_FALSE(sheet.IsWindow());
    EXPECT_EQ(IDOK, sheet.GetResult());
    EXPECT_EQ(nullptr, sheet.m_AdvancedInfoPage.m_hWnd) << "a page never shown is not made at OK";
    EXPECT_EQ(nullptr, sheet.m_TroubleshootingPage.m_hWnd);
}

TEST_F(PropertySheetTest, OkRefusedByTheConfigurationPageKeepsTheSheetOpen)
{
    ASSERT_TRUE(sheet.Create(&host));
    ASSERT_TRUE(sheet.SetActivePage(2)); // a made page besides Configuration
    HWND conf = sheet.m_ConfigurationPage.m_hWnd;
    std::string domain = ControlText(conf, IDC_CONF_DOMAIN_NAME);
    ASSERT_FALSE(domain.empty());
    ::SetDlgItemTextA(conf, IDC_CONF_DOMAIN_NAME, "");
    sheet.SendMessage(WM_COMMAND, IDOK);
    EXPECT_TRUE(sheet.IsWindow()) << "an empty domain name keeps the sheet";
    ASSERT_EQ(1u, os->boxes.size());
    EXPECT_EQ("The domain name must be set.", os->boxes[0].text);
    EXPECT_EQ(0, sheet.GetActiveIndex()) << "the page that refused is shown";
    HWND field = ::GetDlgItem(conf, IDC_CONF_DOMAIN_NAME);
    EXPECT_EQ(field, ::GetFocus());
    EXPECT_TRUE(::IsWindowVisible(field)) << "the focus is where the user can see it";

    ::SetDlgItemTextA(conf, IDC_CONF_DOMAIN_NAME, domain.c_str());
    sheet.SendMessage(WM_COMMAND, IDOK);
    EXPECT_FALSE(sheet.IsWindow()) << "a valid name lets OK close it";
    EXPECT_EQ(1u, os->boxes.size());
}

TEST_F(PropertySheetTest, CancelAndCloseEndTheSheetAndItOpensAgain)
{
    for (UINT how : {(UINT)WM_COMMAND, (UINT)WM_CLOSE, (UINT)WM_SYSCOMMAND}) {
        ASSERT_TRUE(sheet.Create(&host));
        ASSERT_TRUE(sheet.SetActivePage(1));
        EXPECT_EQ("3.01", ControlText(sheet.m_AdvancedInfoPage.m_hWnd, IDC_INFO_FIRMWARE));
        if (how == WM_COMMAND)
            sheet.SendMessage(WM_COMMAND, IDCANCEL);
        else if (how == WM_CLOSE)
            sheet.SendMessage(WM_CLOSE);
        else
            sheet.SendMessage(WM_SYSCOMMAND, SC_CLOSE);
        EXPECT_FALSE(sheet.IsWindow()) << "ended by message " << how;
        EXPECT_EQ(IDCANCEL, sheet.GetResult()) << "ended by message " << how;
        EXPECT_EQ(nullptr, sheet.m_AdvancedInfoPage.m_hWnd);
    }
}

TEST_F(PropertySheetTest, AltCtrlNTogglesTheAdvancedButtonFromAnyTab)
{
    ASSERT_TRUE(sheet.Create(&host));
    ASSERT_TRUE(sheet.SetActivePage(2));
    BOOL before = sheet.m_ConfigurationPage.m_bAdvancedShown;
    PressAltCtrlN();
    EXPECT_NE(before, sheet.m_ConfigurationPage.m_bAdvancedShown);
    ASSERT_TRUE(sheet.SetActivePage(1));
    PressAltCtrlN();
    EXPECT_EQ(before, sheet.m_ConfigurationPage.m_bAdvancedShown);
}

// Keys typed on the keyboard: each goes to the window that has the focus
// when it is typed, through the program's message filter.
class SheetKeyboardTest : public PropertySheetTest
{
protected:
    void Show()
    {
        ASSERT_TRUE(sheet.Create(&host));
        sheet.ShowWindow(SW_SHOW);
        ::SetForegroundWindow(sheet.m_hWnd);
    }
    void Type(UINT vk, char ch, bool ctrl = false, bool alt = false)
    {
        BYTE saved[256], keys[256];
        ::GetKeyboardState(saved);
        memcpy(keys, saved, sizeof(keys));
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        keys[VK_MENU] = alt ? 0x80 : 0;
        ::SetKeyboardState(keys);
        LPARAM lParam = 1 | (::MapVirtualKeyA(vk, 0) << 16) | (alt ? (1 << 29) : 0);
        ::PostMessageA(::GetFocus(), alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, lParam);
        PumpMessages(); // the key down may move the focus before its character comes
        if (ch)
            ::PostMessageA(::GetFocus(), alt ? WM_SYSCHAR : WM_CHAR, (WPARAM)ch, lParam);
        PumpMessages();
        ::SetKeyboardState(saved);
    }
    // The focus is on a control the user sees and can use.
    void ExpectFocusUsable(const char* after)
    {
        HWND focus = ::GetFocus();
        ASSERT_NE(nullptr, focus) << after;
        EXPECT_TRUE(::IsWindowVisible(focus)) << after;
        EXPECT_TRUE(::IsWindowEnabled(focus)) << after;
        EXPECT_FALSE(::IsChild(sheet.m_ConfigurationPage.m_hWnd, focus) &&
                     sheet.GetActiveIndex() != 0)
            << after << ": the focus stayed on the page no longer shown";
    }
};

TEST_F(SheetKeyboardTest, AfterCtrlTabOrCtrlPgDnKeysGoToTheShownPage)
{
    for (UINT next : {(UINT)VK_TAB, (UINT)VK_NEXT}) {
        SCOPED_TRACE(next == VK_TAB ? "Ctrl+Tab" : "Ctrl+PgDn");
        Show();
        HWND type = sheet.m_ConfigurationPage.GetDlgItem(IDC_CONF_NETWORK_TYPE);
        ::SetFocus(type);
        int chosen = (int)::SendMessageA(type, CB_GETCURSEL, 0, 0);
        Type(next, 0, true);
        EXPECT_EQ(1, sheet.GetActiveIndex());
        ExpectFocusUsable("the page change");
        Type('A', 'a');
        EXPECT_EQ(chosen, (int)::SendMessageA(type, CB_GETCURSEL, 0, 0))
            << "a key on Advanced Information chose a network type on Configuration";
        sheet.EndSheet(IDCANCEL);
    }
}

// Alt+R leaves the focus on the roaming box; after Ctrl+Tab a Space used to
// send the dialog manager round the hidden page for ever.
TEST_F(SheetKeyboardTest, SpaceAfterAltRAndCtrlTabNeitherHangsNorTicksAHiddenBox)
{
    Show();
    ::SetFocus(sheet.m_ConfigurationPage.GetDlgItem(IDC_CONF_DOMAIN_NAME));
    HWND roaming = sheet.m_ConfigurationPage.GetDlgItem(IDC_CONF_ROAMING);
    Type('R', 'r', false, true);
    ASSERT_EQ(roaming, ::GetFocus()) << "Alt+R goes to the roaming box";
    UINT ticked = (UINT)::SendMessageA(roaming, BM_GETCHECK, 0, 0);
    Type(VK_TAB, 0, true);
    EXPECT_EQ(1, sheet.GetActiveIndex());
    ExpectFocusUsable("Ctrl+Tab");
    Type(VK_SPACE, ' ');
    EXPECT_EQ(ticked, (UINT)::SendMessageA(roaming, BM_GETCHECK, 0, 0));
    EXPECT_TRUE(sheet.IsWindow());
}

TEST_F(PropertySheetTest, PageHelpFromTheSheetsHelpButton)
{
    ASSERT_TRUE(sheet.Create(&host));
    ASSERT_TRUE(sheet.SetActivePage(2));
    sheet.SendMessage(WM_COMMAND, MAKEWPARAM(IDHELP, BN_CLICKED), (LPARAM)sheet.GetDlgItem(IDHELP));
    ASSERT_EQ(1u, os->helpKeys.size());
    EXPECT_EQ("Troubleshooting", os->helpKeys[0]);
}

} // namespace
} // namespace pages
