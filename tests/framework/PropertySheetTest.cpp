// Property sheets: pages bound from their first message, the classic meanings
// of the page notifications, modal and modeless sheets, their buttons and
// their keyboard.
#include "framework/CPropertyPage.h"
#include "framework/CPropertySheet.h"
#include "framework/DataExchange.h"
#include "framework/MessageFilter.h"
#include "framework/Os.h"
#include "tests/framework/FrameworkTestIds.h"
#include "tests/framework/FrameworkTestSupport.h"
#include "tests/support/TestWindows.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TestPage : public CPropertyPage
{
public:
    TestPage(UINT templateId, UINT captionId, std::vector<std::string>* log)
        : CPropertyPage(templateId, captionId), log(log)
    {}

    std::vector<std::string>* log;
    UINT firstMessage = 0;
    bool initialised = false;
    BOOL mayLeave = TRUE;
    BOOL mayCancel = TRUE;
    int applied = 0;

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (!firstMessage)
            firstMessage = msg;
        return CPropertyPage::WindowProc(msg, wParam, lParam);
    }
    BOOL OnInitDialog() override
    {
        initialised = true;
        return CPropertyPage::OnInitDialog();
    }
    BOOL OnSetActive() override
    {
        log->push_back("set " + GetTitle());
        return TRUE;
    }
    BOOL OnKillActive() override
    {
        log->push_back("kill " + GetTitle());
        return mayLeave;
    }
    BOOL OnQueryCancel() override
    {
        log->push_back("query cancel " + GetTitle());
        return mayCancel;
    }
    BOOL OnApply() override
    {
        ++applied;
        return CPropertyPage::OnApply();
    }
};

class ThreePageSheet : public CPropertySheet
{
public:
    explicit ThreePageSheet(DWORD flags = 0, CWnd* parent = nullptr)
        : CPropertySheet(IDS_FT_SHEET, parent, 0, flags), a(IDD_FT_PAGE_A, IDS_FT_PAGE_A, &log),
          b(IDD_FT_PAGE_B, IDS_FT_PAGE_B, &log), c(IDD_FT_PAGE_C, IDS_FT_PAGE_C, &log)
    {
        AddPage(&a);
        AddPage(&b);
        AddPage(&c);
    }
    // A hidden window goes much faster under Wine with no window manager.
    ~ThreePageSheet() override
    {
        if (m_hWnd)
            ShowWindow(SW_HIDE);
    }
    std::vector<std::string> log;
    TestPage a, b, c;
    int initCalls = 0;
    bool initSawPages = false;

    BOOL OnInitDialog() override
    {
        ++initCalls;
        initSawPages = a.m_hWnd != nullptr;
        return CPropertySheet::OnInitDialog();
    }
};

class PropertySheets : public ::testing::Test
{
protected:
    void TearDown() override { PumpMessages(); }
    // Presses a sheet button as a click would.
    static void Press(CPropertySheet& sheet, int id)
    {
        sheet.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)sheet.GetDlgItem(id));
    }
};

TEST_F(PropertySheets, PagesAndSheetAreBoundBeforeTheirInitialisation)
{
    ThreePageSheet sheet;
    ASSERT_TRUE(sheet.Create());
    EXPECT_EQ(&sheet, CWnd::FromHandlePermanent(sheet.m_hWnd));
    EXPECT_EQ(1, sheet.initCalls);
    EXPECT_TRUE(sheet.initSawPages) << "the sheet initialises once its first page exists";
    ASSERT_TRUE(sheet.a.m_hWnd);
    EXPECT_NE(0u, sheet.a.firstMessage);
    EXPECT_NE((UINT)WM_INITDIALOG, sheet.a.firstMessage) << "the page saw messages before it";
    EXPECT_TRUE(sheet.a.initialised);
    EXPECT_EQ(&sheet.a, CWnd::FromHandlePermanent(sheet.a.m_hWnd));
    EXPECT_EQ(&sheet, sheet.a.GetSheet());
    EXPECT_EQ("Test Sheet", sheet.GetWindowText());
    EXPECT_EQ(nullptr, sheet.b.m_hWnd) << "a page is made when it is first shown";
    EXPECT_EQ(0, sheet.GetActiveIndex());
    EXPECT_EQ(&sheet.a, sheet.GetActivePage());
}

TEST_F(PropertySheets, APageThatRefusesToBeLeftStaysCurrent)
{
    ThreePageSheet sheet;
    ASSERT_TRUE(sheet.Create());
    sheet.a.mayLeave = FALSE;
    sheet.log.clear();
    sheet.SetActivePage(2);
    EXPECT_EQ(0, sheet.GetActiveIndex());
    EXPECT_EQ(nullptr, sheet.c.m_hWnd);
    EXPECT_EQ(std::vector<std::string>{"kill Alpha"}, sheet.log);

    sheet.a.mayLeave = TRUE;
    sheet.log.clear();
    EXPECT_TRUE(sheet.SetActivePage(2));
    EXPECT_EQ(2, sheet.GetActiveIndex());
    EXPECT_EQ((std::vector<std::string>{"kill Alpha", "set Gamma"}), sheet.log);
}

TEST_F(PropertySheets, CancelAsksTheCurrentPageFirst)
{
    ThreePageSheet sheet;
    ASSERT_TRUE(sheet.Create());
    sheet.a.mayCancel = FALSE;
    Press(sheet, IDCANCEL);
    ASSERT_TRUE(sheet.IsWindow()) << "a page that may not be cancelled keeps the sheet";
    EXPECT_EQ(std::vector<std::string>{"query cancel Alpha"},
              std::vector<std::string>(sheet.log.end() - 1, sheet.log.end()));

    sheet.a.mayCancel = TRUE;
    Press(sheet, IDCANCEL);
    EXPECT_FALSE(sheet.m_hWnd);
    EXPECT_EQ(IDCANCEL, sheet.GetResult());
    EXPECT_EQ(0, sheet.a.applied);
}

TEST_F(PropertySheets, OkAppliesTheMadePagesAndEndsAModelessSheet)
{
    ThreePageSheet sheet;
    ASSERT_TRUE(sheet.Create());
    ASSERT_TRUE(sheet.SetActivePage(1));
    Press(sheet, IDOK);
    EXPECT_FALSE(sheet.m_hWnd) << "the modeless sheet's window is gone";
    EXPECT_EQ(IDOK, sheet.GetResult());
    EXPECT_EQ(1, sheet.a.applied);
    EXPECT_EQ(1, sheet.b.applied);
    EXPECT_EQ(0, sheet.c.applied) << "never shown, never applied";

    // The object and its pages serve the next opening.
    ASSERT_TRUE(sheet.Create());
    EXPECT_EQ(2, sheet.initCalls);
    sheet.EndSheet(IDCANCEL);
    EXPECT_FALSE(sheet.m_hWnd);
}

TEST_F(PropertySheets, ModelessSheetShowsItsButtonsOnlyWhenAskedTo)
{
    for (bool keep : {false, true}) {
        ThreePageSheet sheet(PSH_HASHELP | PSH_NOAPPLYNOW);
        sheet.KeepStandardButtons(keep);
        ASSERT_TRUE(sheet.Create());
        for (int id : {IDOK, IDCANCEL, IDHELP}) {
            HWND button = sheet.GetDlgItem(id);
            ASSERT_TRUE(button) << id;
            EXPECT_EQ(keep, (::GetWindowLongA(button, GWL_STYLE) & WS_VISIBLE) != 0)
                << "button " << id;
        }
        EXPECT_FALSE(::GetWindowLongA(sheet.GetDlgItem(0x3021), GWL_STYLE) & WS_VISIBLE)
            << "no Apply Now";
    }
}

TEST_F(PropertySheets, ModalSheetRunsUntilOkAndGivesItsOwnerBack)
{
    // The owner window the modal sheet disables while it runs.
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));

    class OkOnShow : public ThreePageSheet
    {
    public:
        explicit OkOnShow(CWnd* owner) : ThreePageSheet(0, owner) {}
        bool ownerDisabled = false;
        BOOL OnInitDialog() override
        {
            ownerDisabled = !::IsWindowEnabled(::GetWindow(m_hWnd, GW_OWNER));
            PostMessage(PSM_PRESSBUTTON, PSBTN_OK);
            return ThreePageSheet::OnInitDialog();
        }
    };
    OkOnShow sheet(&owner);
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_TRUE(sheet.ownerDisabled) << "the owner waits while the sheet runs";
    EXPECT_EQ(1, sheet.a.applied);
    EXPECT_FALSE(sheet.m_hWnd);
    EXPECT_TRUE(::IsWindowEnabled(owner)) << "the owner works again";
}

TEST_F(PropertySheets, DoModalOfAnOpenSheetFails)
{
    ThreePageSheet sheet;
    ASSERT_TRUE(sheet.Create());
    EXPECT_EQ(-1, sheet.DoModal());
    EXPECT_FALSE(sheet.Create()) << "one window at a time";
    EXPECT_TRUE(sheet.IsWindow());
}

TEST_F(PropertySheets, ModelessSheetTakesTabAltLetterAndCtrlTab)
{
    ThreePageSheet sheet;
    ASSERT_TRUE(sheet.Create());
    sheet.ShowWindow(SW_SHOW);
    ::SetForegroundWindow(sheet);
    HWND first = sheet.a.GetDlgItem(IDC_FT_FIRST);
    HWND second = sheet.a.GetDlgItem(IDC_FT_SECOND);
    HWND third = sheet.a.GetDlgItem(IDC_FT_THIRD);
    ::SetFocus(first);
    ASSERT_EQ(first, ::GetFocus());

    PostKey(first, VK_TAB, false);
    PumpMessages();
    EXPECT_EQ(second, ::GetFocus()) << "Tab moves to the next field of the page";

    {
        HeldKeys alt(false, true);
        ::PostMessageA(second, WM_SYSCHAR, 'n', 1 << 29);
        PumpMessages();
    }
    EXPECT_EQ(third, ::GetFocus()) << "Alt+N goes to the field after \"&Number:\"";

    {
        HeldKeys ctrl(true, false);
        PostKey(third, VK_TAB, false);
        PumpMessages();
    }
    EXPECT_EQ(1, sheet.GetActiveIndex()) << "Ctrl+Tab shows the next page";

    // Without the filter the same keys reach the field itself.
    ::SetFocus(sheet.b.GetDlgItem(IDC_FT_FIRST));
    PostKey(::GetFocus(), VK_TAB, false);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    EXPECT_EQ(sheet.b.GetDlgItem(IDC_FT_FIRST), ::GetFocus());
}

TEST_F(PropertySheets, SheetAcceleratorsComeBeforeThePageKeyboard)
{
    class AccelSheet : public ThreePageSheet
    {
    public:
        int commands = 0;
        BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
        {
            if (LOWORD(wParam) == IDM_FT_ACCEL) {
                ++commands;
                return TRUE;
            }
            return ThreePageSheet::OnCommand(wParam, lParam);
        }
    };
    AccelSheet sheet;
    ASSERT_TRUE(sheet.LoadAccelTable(IDR_FT_ACCEL));
    ASSERT_TRUE(sheet.Create());
    HeldKeys keys(true, true);
    PostKey(sheet.a.GetDlgItem(IDC_FT_FIRST), 'K', true);
    PumpMessages();
    EXPECT_EQ(1, sheet.commands);
}

class ValidatingPage : public CPropertyPage
{
public:
    ValidatingPage() : CPropertyPage(IDD_FT_PAGE_A, IDS_FT_PAGE_A) {}
    int number = 5;
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_FT_THIRD, number);
        DDV_MinMaxInt(pDX, number, 1, 9);
    }
    BOOL OnInitDialog() override
    {
        UpdateData(FALSE);
        return TRUE;
    }
};

int WINAPI SilentBox(HWND, LPCSTR, LPCSTR, UINT)
{
    return IDOK;
}

TEST_F(PropertySheets, ThePageIsValidatedBeforeItIsLeft)
{
    OsGuard guard;
    g_os.MessageBoxA = SilentBox;
    ValidatingPage page;
    TestPage other(IDD_FT_PAGE_B, IDS_FT_PAGE_B, nullptr);
    std::vector<std::string> log;
    other.log = &log;
    CPropertySheet sheet(IDS_FT_SHEET);
    sheet.AddPage(&page);
    sheet.AddPage(&other);
    ASSERT_TRUE(sheet.Create());
    ::SetDlgItemTextA(page, IDC_FT_THIRD, "12");
    sheet.SetActivePage(1);
    EXPECT_EQ(0, sheet.GetActiveIndex()) << "12 is outside 1 to 9";
    EXPECT_EQ(5, page.number);
    ::SetDlgItemTextA(page, IDC_FT_THIRD, "8");
    sheet.SetActivePage(1);
    EXPECT_EQ(1, sheet.GetActiveIndex());
    EXPECT_EQ(8, page.number);
}

} // namespace
