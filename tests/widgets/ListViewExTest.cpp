// Tests of the extended list view: text shortening, the picture columns,
// whole-row selection drawing and the plain drawing when it is off.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/CImageList.h"
#include "res/resource.h"
#include "tests/support/TestWindows.h"
#include "widgets/CListViewEx.h"
#include "widgets/TextShortener.h"

namespace {

// Every character is 5 pixels wide.
int FixedWidth(const char*, int n)
{
    return n * 5;
}

struct ShortenCase
{
    const char* text;
    int width, margin;
    const char* result;
};

TEST(TextShortener, CutsWithDotsOnlyWhenTheTextDoesNotFit)
{
    const ShortenCase cases[] = {
        {"abcdef", 42, 12, "abcdef"},   // 30 + 12 = 42: fits exactly, unchanged
        {"abcdef", 41, 12, "ab..."},    // "abc" would need 15 + 12 + 15 = 42
        {"abcdefgh", 45, 12, "abc..."}, // 15 + 12 + 15 = 42 <= 45
        {"", 0, 12, ""},                // empty stays empty
        {"abcdef", 1, 12, "a..."},      // nothing fits: first character and dots
        {"abcdef", 34, 4, "abcdef"},
        {"abcdef", 33, 4, "ab..."},
    };
    for (const ShortenCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " in " << c.width);
        char out[32];
        bool cut = ShortenText(c.text, c.width, c.margin, FixedWidth, out, sizeof out);
        EXPECT_STREQ(c.result, out);
        EXPECT_EQ(std::strcmp(c.text, c.result) != 0, cut);
    }
}

TEST(TextShortener, LongTextNeverOverrunsTheOutput)
{
    std::string text(500, 'x');
    char out[16];
    std::memset(out, 0x55, sizeof out);
    EXPECT_TRUE(ShortenText(text.c_str(), 100, 0, FixedWidth, out, 12));
    EXPECT_EQ(11u, std::strlen(out));
    EXPECT_EQ(0x55, (unsigned char)out[12]);
}

const COLORREF kLime = RGB(0, 255, 0);
const COLORREF kYellow = RGB(255, 255, 0);
const int kWidths[] = {100, 80, 80, 50, 60, 60, 50};

class ListViewExTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::InitCommonControls();
        ASSERT_TRUE(host.CreateEx(0, nullptr, "list", WS_POPUP | WS_VISIBLE, 0, 0, 640, 200,
                                  nullptr, nullptr));
        ASSERT_TRUE(icons.Create(IDB_COLUMN_ICONS, 16, 1, RGB(255, 255, 255)));
        ASSERT_EQ(3, icons.GetImageCount());
    }

    void AddColumns(CListView& list)
    {
        for (int c = 0; c < 7; ++c)
            list.InsertColumn(c, "col", c == 4 ? LVCFMT_RIGHT : LVCFMT_LEFT, kWidths[c]);
    }

    void AddRow(CListView& list, int row, const char* signal, const char* secure,
                const char* column4 = "x")
    {
        list.InsertItem(row, "Access point");
        list.SetItemText(row, 1, "00:40:96:01:02:03");
        list.SetItemText(row, 2, "CORVANE");
        list.SetItemText(row, 3, signal);
        list.SetItemText(row, 4, column4);
        list.SetItemText(row, 5, "Associated");
        list.SetItemText(row, 6, secure);
    }

    // Client rectangle of a cell of a row, from the column widths.
    RECT Cell(CListView& list, int row, int column)
    {
        RECT label;
        list.GetItemRect(row, &label, LVIR_LABEL);
        RECT rc = label;
        for (int c = 1; c <= column; ++c) {
            rc.left = rc.right;
            rc.right = rc.left + kWidths[c];
        }
        return rc;
    }

    void Show(CListView& list)
    {
        ::InvalidateRect(list, nullptr, TRUE);
        ::UpdateWindow(list);
        PumpTestMessages();
    }

    CWnd host;
    CImageList icons;
};

TEST_F(ListViewExTest, PictureColumnsFollowTheCellText)
{
    CListViewEx list;
    RECT rc = {10, 10, 630, 190};
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_SHOWSELALWAYS, rc, host, 220));
    EXPECT_TRUE(list.IsWholeRowSelection());
    EXPECT_EQ((DWORD)LVS_OWNERDRAWFIXED, list.GetStyle() & LVS_OWNERDRAWFIXED);
    EXPECT_TRUE(list.IsReportView());
    AddColumns(list);
    list.SetColumnIcons(&icons);
    struct Row
    {
        const char* signal;
        const char* secure;
        bool green, yellow, padlock;
    };
    const Row rows[] = {
        {"25", "1", false, true, true},    {"26", "10", true, false, true},
        {"abc", "0", false, true, false},  {"", "", false, false, false},
        {"100", " 1", true, false, false}, {"30abc", "0", false, true, false},
    };
    const int count = (int)(sizeof rows / sizeof rows[0]);
    for (int i = 0; i < count; ++i)
        AddRow(list, i, rows[i].signal, rows[i].secure);
    Show(list);
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(testing::Message() << "row " << i << " signal '" << rows[i].signal
                                        << "' secure '" << rows[i].secure << "'");
        RECT signal = Cell(list, i, 3), secure = Cell(list, i, 6);
        EXPECT_EQ(rows[i].green, CountColor(list, signal, kLime) > 20);
        EXPECT_EQ(rows[i].yellow, CountColor(list, signal, kYellow) > 20);
        EXPECT_EQ(rows[i].padlock, CountColor(list, secure, kYellow) > 20);
    }
}

TEST_F(ListViewExTest, NoImageListNoPictures)
{
    CListViewEx list;
    RECT rc = {10, 10, 630, 190};
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, rc, host, 220));
    AddColumns(list);
    AddRow(list, 0, "80", "1");
    Show(list);
    RECT signal = Cell(list, 0, 3), secure = Cell(list, 0, 6);
    EXPECT_EQ(0, CountColor(list, signal, kLime));
    EXPECT_EQ(0, CountColor(list, secure, kYellow));
    // And the picture columns' texts are never drawn as text.
    EXPECT_EQ(0, CountColor(list, signal, ::GetSysColor(COLOR_WINDOWTEXT)));
}

// Left-most and right-most columns of a cell holding text-coloured pixels.
std::pair<int, int> InkSpan(HWND list, const RECT& cell, COLORREF ink)
{
    int first = -1, last = -1;
    ClientPixels screen(list);
    for (int x = cell.left; x < cell.right; ++x) {
        RECT column = {x, cell.top, x + 1, cell.bottom};
        if (screen.Count(column, ink) > 0) {
            if (first < 0)
                first = x;
            last = x;
        }
    }
    return {first, last};
}

TEST_F(ListViewExTest, RightAlignedTextIsDrawnLeftOnlyWhenCut)
{
    CListViewEx list;
    RECT rc = {10, 10, 630, 190};
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, rc, host, 220));
    AddColumns(list);
    AddRow(list, 0, "30", "0", "7");
    AddRow(list, 1, "30", "0", "A text far too long for the column");
    Show(list);
    const COLORREF ink = ::GetSysColor(COLOR_WINDOWTEXT);
    RECT fits = Cell(list, 0, 4), cut = Cell(list, 1, 4);
    auto a = InkSpan(list, fits, ink);
    auto b = InkSpan(list, cut, ink);
    ASSERT_GE(a.first, 0);
    ASSERT_GE(b.first, 0);
    EXPECT_GT(a.first, fits.left + 30) << "short text right-aligned";
    EXPECT_LE(a.second, fits.right - 6);
    EXPECT_LE(b.first, cut.left + 8) << "cut text starts at the left";
    EXPECT_LE(b.second, cut.right - 6) << "and stays inside the cell";
}

TEST_F(ListViewExTest, WholeRowSelectionFillsToTheClientEdge)
{
    CListViewEx list;
    RECT rc = {10, 10, 630, 190};
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_SHOWSELALWAYS, rc, host, 220));
    AddColumns(list);
    AddRow(list, 0, "30", "0");
    AddRow(list, 1, "30", "0");
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    Show(list);
    RECT row;
    list.GetItemRect(1, &row, LVIR_BOUNDS);
    RECT client;
    ::GetClientRect(list, &client);
    ASSERT_LT(row.right, client.right) << "the columns end before the client edge";
    const int y = (row.top + row.bottom) / 2;
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(highlight, ScreenPixel(list, client.right - 3, y));
    EXPECT_EQ(highlight, ScreenPixel(list, Cell(list, 1, 5).right - 3, y)) << "across columns";
    list.GetItemRect(0, &row, LVIR_BOUNDS);
    EXPECT_NE(highlight, ScreenPixel(list, client.right - 3, (row.top + row.bottom) / 2));
}

TEST_F(ListViewExTest, SwitchedOffTheListDrawsItself)
{
    HWND raw = ::CreateWindowExA(0, WC_LISTVIEWA, "",
                                 WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS,
                                 10, 10, 620, 180, host, (HMENU)284, nullptr, nullptr);
    ASSERT_TRUE(raw);
    CListViewEx list;
    ASSERT_TRUE(list.SubclassWindow(raw));
    EXPECT_FALSE(list.IsWholeRowSelection());
    AddColumns(list);
    list.SetColumnIcons(&icons);
    AddRow(list, 0, "80", "1");
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    Show(list);
    EXPECT_EQ(0, CountColor(list, Cell(list, 0, 3), kLime)) << "no pictures of our own";
    RECT client, row;
    ::GetClientRect(list, &client);
    list.GetItemRect(0, &row, LVIR_BOUNDS);
    EXPECT_NE(::GetSysColor(COLOR_HIGHLIGHT),
              ScreenPixel(list, client.right - 3, (row.top + row.bottom) / 2));

    // Switching on takes the owner-draw style and draws the pictures.
    EXPECT_TRUE(list.EnableWholeRowSelection(true));
    EXPECT_FALSE(list.EnableWholeRowSelection(true)) << "no change the second time";
    Show(list);
    EXPECT_GT(CountColor(list, Cell(list, 0, 3), kLime), 20);
    EXPECT_TRUE(list.EnableWholeRowSelection(false));
    Show(list);
    EXPECT_EQ(0, CountColor(list, Cell(list, 0, 3), kLime));
}

// A parent that supplies every cell text on demand, as the Network Watchers do.
class CallbackHost : public CWnd
{
public:
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* result) override
    {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(lParam);
        if (info->hdr.code != LVN_GETDISPINFOA || !(info->item.mask & LVIF_TEXT))
            return FALSE;
        static const char* const cells[] = {"A very long access point name",
                                            "00:40:96:01:02:03",
                                            "CORVANE",
                                            "80",
                                            "2",
                                            "Associated",
                                            "1"};
        lstrcpynA(info->item.pszText, cells[info->item.iSubItem % 7], info->item.cchTextMax);
        *result = 0;
        return TRUE;
    }
};

TEST_F(ListViewExTest, TextsSuppliedOnDemandAreDrawn)
{
    CallbackHost parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "watcher", WS_POPUP | WS_VISIBLE, 0, 220, 640, 120,
                                nullptr, nullptr));
    CListViewEx list;
    RECT rc = {10, 10, 630, 110};
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, rc, parent, 220));
    AddColumns(list);
    list.SetColumnIcons(&icons);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.pszText = LPSTR_TEXTCALLBACKA;
    ASSERT_EQ(0, (int)list.SendMessage(LVM_INSERTITEMA, 0, (LPARAM)&item));
    Show(list);
    EXPECT_GT(CountColor(list, Cell(list, 0, 3), kLime), 20) << "\"80\" from the parent";
    EXPECT_GT(CountColor(list, Cell(list, 0, 6), kYellow), 20) << "\"1\" from the parent";
    const COLORREF ink = ::GetSysColor(COLOR_WINDOWTEXT);
    RECT first = Cell(list, 0, 0);
    auto span = InkSpan(list, first, ink);
    EXPECT_GE(span.first, first.left);
    EXPECT_LE(span.second, first.right - 2) << "the long name was cut to its column";
}

} // namespace
