// The control wrappers where they do more than pass a message on: lines and
// list texts read into buffers of the right size, signed ranges, and handles
// that never take their control down.
#include "framework/CButton.h"
#include "framework/CComboBox.h"
#include "framework/CEdit.h"
#include "framework/CSliderCtrl.h"
#include "framework/CSpinButtonCtrl.h"
#include "framework/CWnd.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class Controls : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::InitCommonControls();
        ASSERT_TRUE(
            parent.CreateEx(0, nullptr, "controls", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
    }
    HWND Make(const char* cls, DWORD style, int id)
    {
        return ::CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 100, parent,
                                 (HMENU)(INT_PTR)id, ::GetModuleHandleA(nullptr), nullptr);
    }
    CWnd parent;
};

TEST_F(Controls, EditGivesEachLineWhole)
{
    CEdit edit = Make("EDIT", ES_MULTILINE, 1);
    ASSERT_TRUE(edit.IsWindow());
    edit.SetWindowText("first line\r\n\r\na much longer third line");
    EXPECT_EQ(3, edit.GetLineCount());
    EXPECT_EQ("first line", edit.GetLine(0));
    EXPECT_EQ("", edit.GetLine(1));
    EXPECT_EQ("a much longer third line", edit.GetLine(2));
    EXPECT_EQ("", edit.GetLine(7));
    edit.LimitText(4);
    EXPECT_EQ(4, edit.GetLimitText());
}

TEST_F(Controls, ComboFindsTextsAndKeepsItemData)
{
    CComboBox combo = Make("COMBOBOX", CBS_DROPDOWNLIST, 2);
    ASSERT_TRUE(combo.IsWindow());
    for (const char* text : {"Auto", "1 Mbit/s", "2 Mbit/s"})
        combo.AddString(text);
    combo.SetItemData(2, 0xBEEF);
    EXPECT_EQ(3, combo.GetCount());
    EXPECT_EQ("1 Mbit/s", combo.GetLBText(1));
    EXPECT_EQ("", combo.GetLBText(3));
    EXPECT_EQ(2, combo.FindStringExact(-1, "2 MBIT/S"));
    EXPECT_EQ(CB_ERR, combo.FindStringExact(-1, "2 Mbit"));
    EXPECT_EQ(0xBEEFu, combo.GetItemData(2));
    EXPECT_EQ(CB_ERR, combo.GetCurSel());
    combo.SetCurSel(1);
    EXPECT_EQ(1, combo.GetCurSel());
}

TEST_F(Controls, SpinKeepsANegativeRangeAndClampsItsPosition)
{
    CSpinButtonCtrl spin = Make(UPDOWN_CLASSA, 0, 3);
    ASSERT_TRUE(spin.IsWindow());
    spin.SetRange(-20, 40);
    int lower = 0, upper = 0;
    spin.GetRange(lower, upper);
    EXPECT_EQ(-20, lower);
    EXPECT_EQ(40, upper);
    spin.SetPos(-7);
    EXPECT_EQ(-7, spin.GetPos());
    spin.SetPos(90);
    EXPECT_EQ(40, spin.GetPos());
}

TEST_F(Controls, HandlesThatGoLeaveTheirControlsAlone)
{
    const struct
    {
        const char* cls;
        DWORD style;
    } kinds[] = {{"EDIT", 0},
                 {"COMBOBOX", CBS_DROPDOWNLIST},
                 {"BUTTON", BS_AUTOCHECKBOX},
                 {TRACKBAR_CLASSA, 0},
                 {UPDOWN_CLASSA, 0}};
    std::vector<HWND> made;
    for (const auto& kind : kinds) {
        made.push_back(Make(kind.cls, kind.style, 10 + (int)made.size()));
        ASSERT_TRUE(::IsWindow(made.back())) << kind.cls;
    }
    {
        CEdit edit = made[0];
        CEdit copy = edit;
        copy.SetWindowText("kept");
        CComboBox(made[1]).AddString("kept");
        CButton(made[2]).SetChecked(true);
        CSliderCtrl(made[3]).SetPos(3);
        CSpinButtonCtrl(made[4]).SetRange(0, 9);
    }
    for (size_t i = 0; i < made.size(); ++i)
        EXPECT_TRUE(::IsWindow(made[i])) << kinds[i].cls << " was destroyed with its handle";
    EXPECT_EQ("kept", CWindow::GetWindowText(made[0]));
    EXPECT_EQ(BST_CHECKED, ::SendMessageA(made[2], BM_GETCHECK, 0, 0));
}

} // namespace
