// Dialog data exchange: values into the controls and back, strict integers,
// ranges with their numbers, the focus on the offending field and members
// that keep their values when a field fails.
#include "framework/DataExchange.h"
#include "framework/CComboBox.h"
#include "framework/CDialog.h"
#include "framework/CSliderCtrl.h"
#include "framework/Os.h"
#include "tests/framework/FrameworkTestIds.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

std::vector<std::string> g_boxes;

int WINAPI CaptureBox(HWND, LPCSTR text, LPCSTR, UINT)
{
    g_boxes.push_back(text ? text : "");
    return IDOK;
}

class FieldsDlg : public CDialog
{
public:
    FieldsDlg() : CDialog(IDD_FT_FIELDS) {}

    std::string name = "old name";
    int count = 7;
    int rate = 3;
    int check = BST_UNCHECKED;
    int choice = 1;
    int slider = 4;
    CComboBox comboCtrl;
    CSliderCtrl sliderCtrl;

    BOOL OnInitDialog() override
    {
        UpdateData(FALSE);
        for (const char* text : {"one", "two", "three"})
            comboCtrl.AddString(text);
        sliderCtrl.SetRange(0, 10, FALSE);
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_FT_COMBO, comboCtrl);
        DDX_Control(pDX, IDC_FT_SLIDER, sliderCtrl);
        DDX_Text(pDX, IDC_FT_NAME, name);
        DDX_Text(pDX, IDC_FT_COUNT, count);
        DDV_MinMaxInt(pDX, count, 1, 2347);
        DDX_Text(pDX, IDC_FT_RATE, rate);
        DDX_Check(pDX, IDC_FT_CHECK, check);
        DDX_CBIndex(pDX, IDC_FT_COMBO, choice);
        DDX_Slider(pDX, IDC_FT_SLIDER, slider);
    }
};

class DataExchange : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_boxes.clear();
        g_os.MessageBoxA = CaptureBox;
        ASSERT_TRUE(dlg.Create((CWnd*)nullptr));
    }
    void Type(int id, const char* text) { ::SetDlgItemTextA(dlg, id, text); }

    OsGuard guard;
    FieldsDlg dlg;
};

TEST_F(DataExchange, LoadsTheMembersAndSavesTheControlsBack)
{
    ASSERT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ("old name", dlg.GetDlgItemText(IDC_FT_NAME));
    EXPECT_EQ("7", dlg.GetDlgItemText(IDC_FT_COUNT));
    EXPECT_EQ(1, dlg.comboCtrl.GetCurSel());
    EXPECT_EQ(4, dlg.sliderCtrl.GetPos());

    Type(IDC_FT_NAME, "new name");
    Type(IDC_FT_COUNT, " 2347");
    Type(IDC_FT_RATE, "-5");
    ::CheckDlgButton(dlg, IDC_FT_CHECK, BST_CHECKED);
    dlg.comboCtrl.SetCurSel(2);
    dlg.sliderCtrl.SetPos(9);
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_TRUE(g_boxes.empty());
    EXPECT_EQ("new name", dlg.name);
    EXPECT_EQ(2347, dlg.count);
    EXPECT_EQ(-5, dlg.rate);
    EXPECT_EQ(BST_CHECKED, dlg.check);
    EXPECT_EQ(2, dlg.choice);
    EXPECT_EQ(9, dlg.slider);
}

TEST_F(DataExchange, AFieldThatIsNoIntegerStopsTheExchangeAndKeepsEveryMember)
{
    for (const char* text : {"12abc", "", "-", "99999999999", "1 2"}) {
        SCOPED_TRACE(std::string("\"") + text + "\"");
        g_boxes.clear();
        ASSERT_TRUE(dlg.UpdateData(FALSE));
        Type(IDC_FT_NAME, "typed name"); // exchanged before the failing field
        Type(IDC_FT_COUNT, text);
        Type(IDC_FT_RATE, "99"); // after it: never reached
        ::SetFocus(dlg.GetDlgItem(IDOK));

        EXPECT_FALSE(dlg.UpdateData(TRUE));
        EXPECT_EQ(std::vector<std::string>{"Please enter an integer."}, g_boxes);
        EXPECT_EQ(dlg.GetDlgItem(IDC_FT_COUNT), ::GetFocus());
        EXPECT_EQ("old name", dlg.name);
        EXPECT_EQ(7, dlg.count);
        EXPECT_EQ(3, dlg.rate);
    }
}

TEST_F(DataExchange, AValueOutsideItsRangeNamesTheRange)
{
    struct Case
    {
        const char* text;
        bool ok;
    };
    for (Case c : {Case{"0", false}, Case{"2348", false}, Case{"-1", false}, Case{"1", true},
                   Case{"2347", true}}) {
        SCOPED_TRACE(c.text);
        g_boxes.clear();
        dlg.count = 7;
        ASSERT_TRUE(dlg.UpdateData(FALSE));
        Type(IDC_FT_COUNT, c.text);
        ::SetFocus(dlg.GetDlgItem(IDOK));
        EXPECT_EQ(c.ok, dlg.UpdateData(TRUE) != FALSE);
        if (c.ok) {
            EXPECT_TRUE(g_boxes.empty());
            EXPECT_EQ(atoi(c.text), dlg.count);
        } else {
            EXPECT_EQ(std::vector<std::string>{"Please enter an integer between 1 and 2347."},
                      g_boxes);
            EXPECT_EQ(7, dlg.count) << "the member keeps its value";
            EXPECT_EQ(dlg.GetDlgItem(IDC_FT_COUNT), ::GetFocus());
        }
    }
}

TEST_F(DataExchange, ControlMembersFollowTheDialogWhenItIsMadeAgain)
{
    for (int opening = 1; opening <= 2; ++opening) {
        SCOPED_TRACE(opening);
        EXPECT_EQ(dlg.GetDlgItem(IDC_FT_COMBO), dlg.comboCtrl.m_hWnd);
        EXPECT_EQ(dlg.GetDlgItem(IDC_FT_SLIDER), dlg.sliderCtrl.m_hWnd);
        EXPECT_EQ(3, dlg.comboCtrl.GetCount());
        ASSERT_TRUE(dlg.DestroyWindow());
        EXPECT_EQ(nullptr, dlg.m_hWnd);
        ASSERT_TRUE(dlg.Create((CWnd*)nullptr));
    }
}

TEST(DataExchangeText, RangeMessageCarriesNegativeAndLargeLimits)
{
    EXPECT_EQ("Please enter an integer between -40 and 2147483647.",
              IntegerRangeMessage(-40, 2147483647));
}

} // namespace

// A control handle binds with DDX_Control; an object that owns its window
// (a CWnd) does not compile there.
template <class T, class = void> struct BindsAsControl : std::false_type
{
};
template <class T>
struct BindsAsControl<T, std::void_t<decltype(DDX_Control(nullptr, 0, std::declval<T&>()))>>
    : std::true_type
{
};
static_assert(BindsAsControl<CWindow>::value && BindsAsControl<CComboBox>::value &&
                  BindsAsControl<CSliderCtrl>::value,
              "handles bind");
static_assert(!BindsAsControl<CWnd>::value && !BindsAsControl<CDialog>::value,
              "an owning window object does not bind");
