// The list view's item data, sorting, on-demand texts, column clicks and hit
// test, with the owner answering the list's notifications.
#include "framework/CListView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ListOwner : public CWnd
{
public:
    CListView list;
    std::vector<std::string> names; // the texts the owner gives on demand
    std::vector<int> clickedColumns;
    int textRequests = 0;

    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* result) override
    {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr->hwndFrom != list.m_hWnd)
            return FALSE;
        if (hdr->code == LVN_GETDISPINFOA) {
            auto* info = reinterpret_cast<NMLVDISPINFOA*>(lParam);
            ++textRequests;
            if (info->item.mask & LVIF_TEXT) {
                size_t index = (size_t)info->item.lParam;
                std::string text = index < names.size() ? names[index] : "?";
                if (info->item.iSubItem == 1)
                    text = std::to_string(text.size());
                lstrcpynA(info->item.pszText, text.c_str(), info->item.cchTextMax);
            }
            *result = 0;
            return TRUE;
        }
        if (hdr->code == LVN_COLUMNCLICK) {
            clickedColumns.push_back(reinterpret_cast<NMLISTVIEW*>(lParam)->iSubItem);
            *result = 0;
            return TRUE;
        }
        return FALSE;
    }
};

int CALLBACK ByName(LPARAM a, LPARAM b, LPARAM param)
{
    const auto& names = *reinterpret_cast<const std::vector<std::string>*>(param);
    return names[(size_t)a].compare(names[(size_t)b]);
}

class ListView : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            owner.CreateEx(0, nullptr, "list owner", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
        RECT rc = {0, 0, 300, 200};
        ASSERT_TRUE(owner.list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, rc, owner, 5));
        owner.list.InsertColumn(0, "Name", LVCFMT_LEFT, 120);
        owner.list.InsertColumn(1, "Length", LVCFMT_LEFT, 60);
        owner.names = {"delta", "alpha", "charlie", "bravo"};
        for (size_t i = 0; i < owner.names.size(); ++i)
            owner.list.InsertItem((int)i, LPSTR_TEXTCALLBACK, 0, (LPARAM)i);
    }
    ListOwner owner;
};

TEST_F(ListView, TextsComeFromTheOwnerAndSortingFollowsTheItemData)
{
    CListView& list = owner.list;
    ASSERT_EQ(4, list.GetItemCount());
    EXPECT_EQ("delta", list.GetItemText(0, 0));
    EXPECT_EQ("5", list.GetItemText(0, 1));
    EXPECT_GT(owner.textRequests, 0);

    ASSERT_TRUE(list.SortItems(ByName, (LPARAM)&owner.names));
    std::vector<std::string> shown;
    for (int i = 0; i < list.GetItemCount(); ++i)
        shown.push_back(list.GetItemText(i, 0));
    EXPECT_EQ((std::vector<std::string>{"alpha", "bravo", "charlie", "delta"}), shown);
    EXPECT_EQ(1, list.GetItemData(0)) << "the data moved with its row";
    EXPECT_EQ(2, list.FindItemByData(2));

    // The owner changes what a row stands for.
    ASSERT_TRUE(list.SetItemData(0, 2));
    EXPECT_EQ("charlie", list.GetItemText(0, 0));
    EXPECT_EQ(0, list.GetItemData(99)) << "no such row";

    ASSERT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(0, list.GetItemCount());
}

TEST_F(ListView, ColumnClicksReachTheOwnerAndHitTestFindsTheRow)
{
    CListView& list = owner.list;
    HWND header = (HWND)list.SendMessage(LVM_GETHEADER);
    ASSERT_TRUE(header);
    RECT second;
    ASSERT_TRUE(::SendMessageA(header, HDM_GETITEMRECT, 1, (LPARAM)&second));
    LPARAM at = MAKELPARAM((second.left + second.right) / 2, (second.top + second.bottom) / 2);
    ::SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(header, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(std::vector<int>{1}, owner.clickedColumns);

    RECT row;
    ASSERT_TRUE(list.GetItemRect(2, &row, LVIR_LABEL));
    UINT flags = 0;
    EXPECT_EQ(2, list.HitTest(POINT{row.left + 2, (row.top + row.bottom) / 2}, &flags));
    EXPECT_TRUE(flags & LVHT_ONITEM);
    EXPECT_EQ(-1, list.HitTest(POINT{5, 190}, &flags)) << "below the last row";
    EXPECT_TRUE(flags & LVHT_NOWHERE);
}

TEST_F(ListView, ColumnsCanBeWidenedAndRemoved)
{
    CListView& list = owner.list;
    EXPECT_EQ(2, list.GetColumnCount());
    ASSERT_TRUE(list.SetColumnWidth(1, 77));
    EXPECT_EQ(77, list.GetColumnWidth(1));
    ASSERT_TRUE(list.DeleteColumn(0));
    EXPECT_EQ(1, list.GetColumnCount());
    EXPECT_EQ(77, list.GetColumnWidth(0));
}

} // namespace
