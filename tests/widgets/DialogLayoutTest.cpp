// Window tests of ApplyLayout with the two Network Watcher tables, on dialogs
// built with their control IDs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Os.h"
#include "tests/support/TestWindows.h"
#include "tools/WatchLayout.h"
#include "widgets/DialogLayout.h"

namespace {

std::vector<std::string> g_boxes;

int WINAPI CaptureBox(HWND, LPCSTR text, LPCSTR caption, UINT)
{
    g_boxes.push_back(std::string(caption) + "|" + text);
    return IDOK;
}

const DWORD kList = LVS_REPORT | WS_BORDER;

HWND MakeBssDialog()
{
    return CreateTestDialog("Network Watcher (Infrastructure)", 330, 170,
                            {{"SysListView32", "", 220, 7, 7, 316, 130, kList},
                             {"BUTTON", "OK", 100, 7, 148, 50, 14, 0},
                             {"BUTTON", "&Scan", 221, 70, 148, 50, 14, 0},
                             {"BUTTON", "&Join ", 222, 133, 148, 50, 14, 0},
                             {"BUTTON", "&Cancel", 102, 196, 148, 50, 14, 0},
                             {"BUTTON", "&Help", 101, 259, 148, 50, 14, 0}},
                            false);
}

HWND MakeStationDialog()
{
    return CreateTestDialog("Network Watcher", 300, 170,
                            {{"SysListView32", "", 284, 7, 7, 286, 130, kList},
                             {"BUTTON", "OK", 100, 20, 148, 50, 14, 0},
                             {"BUTTON", "&Refresh", 286, 90, 148, 50, 14, 0},
                             {"BUTTON", "&Cancel", 102, 160, 148, 50, 14, 0},
                             {"BUTTON", "&Help", 101, 230, 148, 50, 14, 0}},
                            false);
}

int Dlu(HWND dlg, int units, bool vertical)
{
    RECT rc = {0, 0, units, units};
    ::MapDialogRect(dlg, &rc);
    return vertical ? rc.bottom : rc.right;
}

void Resize(HWND dlg, int dw, int dh)
{
    RECT rc;
    ::GetWindowRect(dlg, &rc);
    ::SetWindowPos(dlg, nullptr, 0, 0, rc.right - rc.left + dw, rc.bottom - rc.top + dh,
                   SWP_NOMOVE | SWP_NOZORDER);
}

struct TableCase
{
    const char* name;
    HWND (*make)();
    LayoutRule* rules;
    int rows;
    int list;
    std::vector<int> buttons; // right to left
    int gap;                  // dialog units between buttons
    int rightMargin;
};

class DialogLayoutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_boxes.clear();
        g_os.MessageBoxA = CaptureBox;
    }
    OsGuard guard;
};

TEST_F(DialogLayoutTest, ShippedTablesApplyInTheFirstWalk)
{
    const TableCase cases[] = {
        {"infrastructure",
         MakeBssDialog,
         g_bssWatchLayout,
         12,
         220,
         {101, 102, 222, 221, 100},
         16,
         20},
        {"stations",
         MakeStationDialog,
         g_stationWatchLayout,
         10,
         284,
         {101, 102, 286, 100},
         25,
         25},
    };
    for (const TableCase& c : cases) {
        SCOPED_TRACE(c.name);
        HWND dlg = c.make();
        ASSERT_TRUE(dlg);
        PumpTestMessages();
        RECT listBefore = RectInParent(::GetDlgItem(dlg, c.list));
        RECT helpBefore = RectInParent(::GetDlgItem(dlg, 101));
        Resize(dlg, 120, 60);
        LayoutStats stats;
        ASSERT_TRUE(ApplyLayout(dlg, c.rules, &stats));
        EXPECT_EQ(c.rows, stats.appliedFirstWalk);
        EXPECT_EQ(2, stats.walks) << "the second walk applies nothing";
        EXPECT_TRUE(g_boxes.empty());

        RECT client;
        ::GetClientRect(dlg, &client);
        const int bottom = client.bottom - Dlu(dlg, 8, true);
        int right = client.right - Dlu(dlg, c.rightMargin, false);
        for (int id : c.buttons) {
            SCOPED_TRACE(id);
            RECT rc = RectInParent(::GetDlgItem(dlg, id));
            EXPECT_EQ(right, rc.right);
            EXPECT_EQ(bottom, rc.bottom);
            EXPECT_EQ(helpBefore.right - helpBefore.left, rc.right - rc.left) << "size kept";
            EXPECT_EQ(helpBefore.bottom - helpBefore.top, rc.bottom - rc.top);
            right = rc.left - Dlu(dlg, c.gap, false);
        }
        RECT help = RectInParent(::GetDlgItem(dlg, 101));
        RECT list = RectInParent(::GetDlgItem(dlg, c.list));
        EXPECT_EQ(listBefore.left, list.left) << "a stretch keeps the opposite edge";
        EXPECT_EQ(listBefore.top, list.top);
        EXPECT_EQ(client.right - Dlu(dlg, 8, false), list.right);
        EXPECT_EQ(help.top - Dlu(dlg, 8, true), list.bottom);
        ::DestroyWindow(dlg);
    }
}

// Counts the placings of each child, a placing where it already stands too.
std::vector<std::pair<HWND, WNDPROC>> g_children;
std::vector<int> g_moves;

LRESULT CALLBACK CountingProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    for (size_t i = 0; i < g_children.size(); ++i) {
        if (g_children[i].first != hWnd)
            continue;
        if (msg == WM_WINDOWPOSCHANGING)
            ++g_moves[i];
        return ::CallWindowProcA(g_children[i].second, hWnd, msg, wParam, lParam);
    }
    return 0;
}

TEST_F(DialogLayoutTest, ALayoutPlacesOnlyWhatItsRulesMove)
{
    struct Case
    {
        const char* name;
        HWND (*make)();
        LayoutRule* rules;
    } cases[] = {{"infrastructure", MakeBssDialog, g_bssWatchLayout},
                 {"stations", MakeStationDialog, g_stationWatchLayout}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND dlg = c.make();
        ASSERT_TRUE(dlg);
        PumpTestMessages();
        g_children.clear();
        for (HWND child = ::GetWindow(dlg, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT))
            g_children.emplace_back(child, reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
                                               child, GWLP_WNDPROC, (LONG_PTR)CountingProc)));
        ASSERT_FALSE(g_children.empty());

        // Wider and taller: every control follows the right or bottom edge.
        Resize(dlg, 40, 30);
        g_moves.assign(g_children.size(), 0);
        ASSERT_TRUE(ApplyLayout(dlg, c.rules));
        // (A list view places itself again for its scroll bars.)
        for (size_t i = 0; i < g_children.size(); ++i)
            EXPECT_LE(1, g_moves[i]) << "control " << ::GetDlgCtrlID(g_children[i].first);

        // The same size again: everything already stands where the rules put it.
        g_moves.assign(g_children.size(), 0);
        ASSERT_TRUE(ApplyLayout(dlg, c.rules));
        for (size_t i = 0; i < g_children.size(); ++i)
            EXPECT_EQ(0, g_moves[i]) << "control " << ::GetDlgCtrlID(g_children[i].first);
        EXPECT_TRUE(g_boxes.empty());
        ::DestroyWindow(dlg);
        g_children.clear();
    }
}

TEST_F(DialogLayoutTest, ShrinkingBelowTheTemplateNeverFails)
{
    HWND dlg = MakeBssDialog();
    Resize(dlg, -400, -200);
    EXPECT_TRUE(ApplyLayout(dlg, g_bssWatchLayout));
    EXPECT_TRUE(g_boxes.empty());
    ::DestroyWindow(dlg);
}

TEST_F(DialogLayoutTest, MinimisedDialogMovesNothing)
{
    HWND dlg = MakeBssDialog();
    PumpTestMessages();
    ::ShowWindow(dlg, SW_MINIMIZE);
    RECT before = RectInParent(::GetDlgItem(dlg, 101));
    LayoutStats stats = {7, 7};
    EXPECT_TRUE(ApplyLayout(dlg, g_bssWatchLayout, &stats));
    RECT after = RectInParent(::GetDlgItem(dlg, 101));
    EXPECT_TRUE(::EqualRect(&before, &after));
    EXPECT_EQ(0, stats.walks) << "nothing was solved";
    ::DestroyWindow(dlg);
}

TEST_F(DialogLayoutTest, CycleReportsAndMovesNothing)
{
    HWND dlg = MakeBssDialog();
    Resize(dlg, 100, 100);
    RECT before = RectInParent(::GetDlgItem(dlg, 101));
    LayoutRule cycle[] = {
        {LAYOUT_MOVE, LAYOUT_RIGHT, 101, 0, LAYOUT_RIGHT, LAYOUT_PARENT_ID, 0, -20, 0, 0},
        {LAYOUT_MOVE, LAYOUT_RIGHT, 102, 0, LAYOUT_LEFT, 222, 0, -16, 0, 0},
        {LAYOUT_MOVE, LAYOUT_RIGHT, 222, 0, LAYOUT_LEFT, 102, 0, -16, 0, 0},
        {LAYOUT_END, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
    EXPECT_FALSE(ApplyLayout(dlg, cycle));
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ("Assertion Failed|Unable to apply rules", g_boxes[0]);
    RECT after = RectInParent(::GetDlgItem(dlg, 101));
    EXPECT_TRUE(::EqualRect(&before, &after)) << "the applied first rule moved nothing either";
    ::DestroyWindow(dlg);
}

TEST_F(DialogLayoutTest, RuleForMissingChildIsReportedAndNotActedOn)
{
    HWND dlg = MakeStationDialog();
    Resize(dlg, 100, 100);
    RECT before = RectInParent(::GetDlgItem(dlg, 101));
    // The infrastructure table names 221 and 222, which this dialog lacks.
    EXPECT_FALSE(ApplyLayout(dlg, g_bssWatchLayout));
    ASSERT_EQ(2u, g_boxes.size());
    EXPECT_EQ("Assertion Failed|Child not found in child list", g_boxes[0]);
    EXPECT_EQ("Assertion Failed|Unable to apply rules", g_boxes[1]);
    RECT after = RectInParent(::GetDlgItem(dlg, 101));
    EXPECT_TRUE(::EqualRect(&before, &after));
    ::DestroyWindow(dlg);
}

TEST_F(DialogLayoutTest, TwoRulesOnOneSideLeaveAMeasureUnfoundAndSaySo)
{
    HWND dlg = MakeStationDialog();
    Resize(dlg, 100, 100);
    LayoutRule twice[] = {
        {LAYOUT_MOVE, LAYOUT_RIGHT, 101, 0, LAYOUT_RIGHT, LAYOUT_PARENT_ID, 0, -20, 0, 0},
        {LAYOUT_STRETCH, LAYOUT_RIGHT, 101, 0, LAYOUT_RIGHT, LAYOUT_PARENT_ID, 0, -40, 0, 0},
        {LAYOUT_END, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
    EXPECT_FALSE(ApplyLayout(dlg, twice));
    // Both rules fix the right edge; nothing fixes the left edge or the
    // width. The caption is the program's path.
    std::vector<std::string> texts;
    for (const std::string& box : g_boxes)
        texts.push_back(box.substr(box.find('|') + 1));
    EXPECT_EQ((std::vector<std::string>{"Layout couldn't find left of id=101",
                                        "Layout couldn't find width of id=101"}),
              texts);
    ::DestroyWindow(dlg);
}

TEST_F(DialogLayoutTest, PercentOfTheClientWidth)
{
    HWND dlg = MakeStationDialog();
    LayoutRule rules[] = {
        {LAYOUT_STRETCH, LAYOUT_WIDTH, 284, 0, LAYOUT_WIDTH, LAYOUT_PARENT_ID, 50, 0, 0, 0},
        {LAYOUT_END, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
    RECT client;
    ::GetClientRect(dlg, &client);
    EXPECT_TRUE(ApplyLayout(dlg, rules));
    EXPECT_TRUE(g_boxes.empty());
    RECT list = RectInParent(::GetDlgItem(dlg, 284));
    EXPECT_EQ(client.right / 2, list.right - list.left);
    ::DestroyWindow(dlg);
}

TEST(DialogUnits, NonDialogWindowUsesItsFontAverage)
{
    HWND wnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                                 nullptr);
    ASSERT_TRUE(wnd);
    ::SendMessageA(wnd, WM_SETFONT, (WPARAM)::GetStockObject(DEFAULT_GUI_FONT), FALSE);
    HDC dc = ::GetDC(wnd);
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE sz;
    ::GetTextExtentPoint32A(dc, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", 52, &sz);
    ::SelectObject(dc, old);
    ::ReleaseDC(wnd, dc);
    const int bx = (sz.cx / 26 + 1) / 2, by = sz.cy;
    RECT rc = {4, 8, -20, 16};
    DialogUnitsToPixels(wnd, &rc);
    EXPECT_EQ(bx, rc.left);
    EXPECT_EQ(by, rc.top);
    EXPECT_EQ(-20 * bx / 4, rc.right);
    EXPECT_EQ(2 * by, rc.bottom);
    ::DestroyWindow(wnd);
}

} // namespace
