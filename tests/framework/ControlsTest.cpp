// The control wrappers where they do more than pass a message on: lines and
// list texts read into buffers of the right size, and signed ranges.
#include "framework/CComboBox.h"
#include "framework/CEdit.h"
#include "framework/CSpinButtonCtrl.h"

#include <gtest/gtest.h>

namespace {

class Controls : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::InitCommonControls();
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "controls", WS_POPUP, 0, 0, 300, 200, nullptr,
                                    nullptr));
    }
    HWND Make(const char* cls, DWORD style, int id)
    {
        return ::CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 100,
                                 parent, (HMENU)(INT_PTR)id, ::GetModuleHandleA(nullptr),
                                 nullptr);
    }
    CWnd parent;
};

TEST_F(Controls, EditGivesEachLineWhole)
{
    CEdit edit;
    ASSERT_TRUE(edit.SubclassWindow(Make("EDIT", ES_MULTILINE, 1)));
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
    CComboBox combo;
    ASSERT_TRUE(combo.SubclassWindow(Make("COMBOBOX", CBS_DROPDOWNLIST, 2)));
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
    CSpinButtonCtrl spin;
    ASSERT_TRUE(spin.SubclassWindow(Make(UPDOWN_CLASSA, 0, 3)));
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

} // namespace
