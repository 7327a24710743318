// Tests of the rule solver on plain child lists: walks, moves and stretches,
// centring, and faulty tables that must be reported and never acted on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/CWinApp.h"
#include "widgets/LayoutSolver.h"

namespace {

// Offsets are taken as pixels; reports are collected.
class FakeHost : public LayoutHost
{
public:
    std::vector<std::string> reports;
    void Report(unsigned textId) override { reports.push_back(LoadStr(textId)); }
    int OffsetToPixels(int dlu, bool vertical) override { return vertical ? dlu * 2 : dlu; }
};

LayoutChild Entry(int id, int l, int t, int r, int b)
{
    LayoutChild c = {};
    c.id = id, c.left = l, c.top = t, c.right = r, c.bottom = b;
    c.untouched = 1;
    for (int i = 0; i < 4; ++i)
        c.known[i] = 1;
    DeriveLayoutMetrics(c);
    return c;
}

std::vector<LayoutChild> List(std::vector<LayoutChild> children, int w = 400, int h = 300)
{
    std::vector<LayoutChild> list;
    list.push_back(Entry(LAYOUT_PARENT_ID, 0, 0, w, h));
    list[0].untouched = 0;
    list.insert(list.end(), children.begin(), children.end());
    LayoutChild end = {};
    end.id = LAYOUT_LIST_END;
    list.push_back(end);
    return list;
}

LayoutRule Rule(int action, int side, int id, int refMetric, int refId, int offset, int lastId = 0,
                int percent = 0)
{
    return LayoutRule{action, side, id, lastId, refMetric, refId, percent, offset, 0, 0};
}

const LayoutRule kEnd = {LAYOUT_END, 0, 0, 0, 0, 0, 0, 0, 0, 0};

TEST(LayoutSolver, DeriveFillsEachMetricFromItsTwoInputs)
{
    LayoutChild c = {};
    c.right = 50, c.width = 20, c.top = 5, c.height = 7;
    c.known[LAYOUT_RIGHT] = c.known[LAYOUT_WIDTH] = c.known[LAYOUT_TOP] = c.known[LAYOUT_HEIGHT] =
        1;
    DeriveLayoutMetrics(c);
    EXPECT_EQ(30, c.left);
    EXPECT_EQ(12, c.bottom);
    for (int k : c.known)
        EXPECT_EQ(1, k);
}

TEST(LayoutSolver, MoveKeepsSizeAndStretchKeepsOppositeEdge)
{
    auto list = List({Entry(1, 10, 10, 60, 30), Entry(2, 5, 40, 100, 200)});
    std::vector<LayoutRule> rules = {
        Rule(LAYOUT_MOVE, LAYOUT_RIGHT, 1, LAYOUT_RIGHT, LAYOUT_PARENT_ID, -20),
        Rule(LAYOUT_MOVE, LAYOUT_BOTTOM, 1, LAYOUT_BOTTOM, LAYOUT_PARENT_ID, -4),
        Rule(LAYOUT_STRETCH, LAYOUT_RIGHT, 2, LAYOUT_RIGHT, LAYOUT_PARENT_ID, -8),
        Rule(LAYOUT_STRETCH, LAYOUT_BOTTOM, 2, LAYOUT_TOP, 1, -4), kEnd};
    FakeHost host;
    LayoutStats stats;
    ASSERT_TRUE(SolveLayout(rules.data(), list.data(), host, &stats));
    const LayoutChild& b = list[1];
    EXPECT_EQ(380, b.right);
    EXPECT_EQ(330, b.left) << "a move keeps the width of 50";
    EXPECT_EQ(292, b.bottom);
    EXPECT_EQ(272, b.top) << "a move keeps the height of 20";
    const LayoutChild& l = list[2];
    EXPECT_EQ(5, l.left);
    EXPECT_EQ(40, l.top);
    EXPECT_EQ(392, l.right);
    EXPECT_EQ(264, l.bottom);
    EXPECT_EQ(387, l.width);
    EXPECT_EQ(224, l.height);
    EXPECT_EQ(0, b.untouched);
    EXPECT_TRUE(host.reports.empty());
}

TEST(LayoutSolver, StretchOfASizeMovesTheFarEdgeAndScalesByPercent)
{
    auto list = List({Entry(1, 10, 10, 60, 30)});
    std::vector<LayoutRule> rules = {
        Rule(LAYOUT_STRETCH, LAYOUT_WIDTH, 1, LAYOUT_WIDTH, LAYOUT_PARENT_ID, 3, 0, 50), kEnd};
    FakeHost host;
    ASSERT_TRUE(SolveLayout(rules.data(), list.data(), host));
    EXPECT_EQ(10, list[1].left);
    EXPECT_EQ(203, list[1].width);
    EXPECT_EQ(213, list[1].right);
}

TEST(LayoutSolver, ReferenceSolvedLaterAppliesInALaterWalk)
{
    auto list = List({Entry(1, 10, 10, 60, 30), Entry(2, 100, 10, 150, 30)});
    // Rule 1 needs child 2's left, which only rule 2 sets.
    std::vector<LayoutRule> rules = {
        Rule(LAYOUT_MOVE, LAYOUT_RIGHT, 1, LAYOUT_LEFT, 2, -10),
        Rule(LAYOUT_MOVE, LAYOUT_RIGHT, 2, LAYOUT_RIGHT, LAYOUT_PARENT_ID, -5), kEnd};
    FakeHost host;
    LayoutStats stats;
    ASSERT_TRUE(SolveLayout(rules.data(), list.data(), host, &stats));
    EXPECT_EQ(1, stats.appliedFirstWalk);
    EXPECT_EQ(3, stats.walks);
    EXPECT_EQ(345, list[2].left);
    EXPECT_EQ(335, list[1].right);
    EXPECT_EQ(285, list[1].left);
}

TEST(LayoutSolver, CycleFailsWithoutReport)
{
    auto list = List({Entry(1, 10, 10, 60, 30), Entry(2, 100, 10, 150, 30)});
    std::vector<LayoutRule> rules = {Rule(LAYOUT_MOVE, LAYOUT_LEFT, 1, LAYOUT_RIGHT, 2, 4),
                                     Rule(LAYOUT_MOVE, LAYOUT_RIGHT, 2, LAYOUT_LEFT, 1, -4), kEnd};
    FakeHost host;
    LayoutStats stats;
    EXPECT_FALSE(SolveLayout(rules.data(), list.data(), host, &stats));
    EXPECT_EQ(1, stats.walks) << "solving stops after the first walk that applies nothing";
    EXPECT_TRUE(host.reports.empty()) << "the solver itself reports nothing; its caller does";
}

TEST(LayoutSolver, EmptyTableSucceeds)
{
    auto list = List({Entry(1, 10, 10, 60, 30)});
    LayoutRule rules[] = {kEnd};
    FakeHost host;
    EXPECT_TRUE(SolveLayout(rules, list.data(), host));
}

struct FaultCase
{
    const char* name;
    LayoutRule rule;
    const char* report;
};

TEST(LayoutSolver, FaultyTablesAreReportedAndNotActedOn)
{
    const FaultCase cases[] = {
        {"action 7", Rule(7, LAYOUT_LEFT, 1, LAYOUT_LEFT, LAYOUT_PARENT_ID, 0), "Invalid action"},
        {"move of width", Rule(LAYOUT_MOVE, LAYOUT_WIDTH, 1, LAYOUT_LEFT, LAYOUT_PARENT_ID, 0),
         "Invalid side"},
        {"stretch side 6", Rule(LAYOUT_STRETCH, 6, 1, LAYOUT_LEFT, LAYOUT_PARENT_ID, 0),
         "Invalid metric"},
        {"reference metric 6 on a move",
         Rule(LAYOUT_MOVE, LAYOUT_LEFT, 1, LAYOUT_CENTER, LAYOUT_PARENT_ID, 0), "Invalid metric"},
        {"negative side", Rule(LAYOUT_STRETCH, -1, 1, LAYOUT_LEFT, LAYOUT_PARENT_ID, 0),
         "Invalid metric"},
        {"missing child", Rule(LAYOUT_MOVE, LAYOUT_LEFT, 9, LAYOUT_LEFT, LAYOUT_PARENT_ID, 0),
         "Child not found in child list"},
        {"missing reference", Rule(LAYOUT_MOVE, LAYOUT_LEFT, 1, LAYOUT_LEFT, 9, 0),
         "Child not found in child list"},
        {"centring reference metric 7", Rule(LAYOUT_CENTER_HORZ, 0, 1, 7, LAYOUT_PARENT_ID, 0, 1),
         "Invalid metric"},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto list = List({Entry(1, 10, 10, 60, 30)});
        // A valid rule before the faulty one must not have been applied either.
        std::vector<LayoutRule> rules = {
            Rule(LAYOUT_MOVE, LAYOUT_TOP, 1, LAYOUT_TOP, LAYOUT_PARENT_ID, 50), c.rule, kEnd};
        FakeHost host;
        EXPECT_FALSE(SolveLayout(rules.data(), list.data(), host));
        ASSERT_EQ(1u, host.reports.size());
        EXPECT_EQ(c.report, host.reports[0]);
        EXPECT_EQ(10, list[1].top);
        EXPECT_EQ(1, list[1].untouched);
        EXPECT_EQ(0, rules[0].done);
    }
}

TEST(LayoutSolver, CentresAGroupHorizontallyAfterItsOwnRules)
{
    // Buttons 11 and 12 keep a 10-pixel gap (rule on 12's left), and the pair is
    // centred in the parent's width.
    auto list = List({Entry(11, 0, 50, 40, 70), Entry(12, 300, 50, 360, 70)}, 400, 300);
    std::vector<LayoutRule> rules = {
        Rule(LAYOUT_CENTER_HORZ, 0, 11, LAYOUT_CENTER, LAYOUT_PARENT_ID, 0, 12),
        Rule(LAYOUT_MOVE, LAYOUT_LEFT, 12, LAYOUT_RIGHT, 11, 10), kEnd};
    FakeHost host;
    ASSERT_TRUE(SolveLayout(rules.data(), list.data(), host)) << host.reports.size();
    // Group width 40 + 10 + 60 = 110, so it starts at (400 - 110) / 2 = 145.
    EXPECT_EQ(145, list[1].left);
    EXPECT_EQ(185, list[1].right);
    EXPECT_EQ(195, list[2].left);
    EXPECT_EQ(255, list[2].right);
    EXPECT_EQ(50, list[1].top) << "the other axis stays";
}

TEST(LayoutSolver, CentringRuleInsideItsOwnRangeTerminates)
{
    // Side 0 lies on the horizontal axis and ID 11 is in the range 11..12, so the
    // rule would select itself into its sub-table; it must still finish.
    auto list = List({Entry(11, 0, 50, 40, 70), Entry(12, 50, 50, 90, 70)}, 200, 100);
    std::vector<LayoutRule> rules = {
        Rule(LAYOUT_CENTER_HORZ, LAYOUT_LEFT, 11, LAYOUT_CENTER, LAYOUT_PARENT_ID, 0, 12), kEnd};
    FakeHost host;
    ASSERT_TRUE(SolveLayout(rules.data(), list.data(), host));
    EXPECT_EQ(55, list[1].left);
    EXPECT_EQ(105, list[2].left);
}

TEST(LayoutSolver, VerticalCentringUsesVerticalOffset)
{
    auto list = List({Entry(11, 0, 0, 40, 20)}, 200, 100);
    std::vector<LayoutRule> rules = {
        Rule(LAYOUT_CENTER_VERT, 0, 11, LAYOUT_CENTER, LAYOUT_PARENT_ID, 5, 11), kEnd};
    FakeHost host;
    ASSERT_TRUE(SolveLayout(rules.data(), list.data(), host));
    EXPECT_EQ(10, rules[0].offsetPx);
    EXPECT_EQ(40 + 10, list[1].top);
    EXPECT_EQ(0, list[1].left);
}

} // namespace
