// LayoutSolver.h - the rule solver behind ApplyLayout. A rule table fixes
// edges and sizes of a dialog's children relative to each other or to the
// client area; the solver works on a plain list of child rectangles, so it
// builds and is tested without any window.
#pragma once

enum LayoutAction
{
    LAYOUT_STRETCH = 0,     // set one edge or size; the opposite edge stays
    LAYOUT_MOVE = 1,        // set one edge; the size stays
    LAYOUT_CENTER_VERT = 2, // centre a group of children vertically
    LAYOUT_CENTER_HORZ = 3, // centre a group of children horizontally
    LAYOUT_END = 4          // ends a table
};

enum LayoutMetric
{
    LAYOUT_LEFT = 0,
    LAYOUT_TOP = 1,
    LAYOUT_RIGHT = 2,
    LAYOUT_BOTTOM = 3,
    LAYOUT_WIDTH = 4,
    LAYOUT_HEIGHT = 5,
    LAYOUT_CENTER = 6 // both edges along the centring axis (reference only)
};

constexpr int LAYOUT_PARENT_ID = 65536; // the dialog's client area
constexpr int LAYOUT_LIST_END = 65537;  // ends a child list

// One row of a rule table. The last two fields are written by the solver.
struct LayoutRule
{
    int action;
    int side;
    int firstId;
    int lastId;
    int refMetric;
    int refId;
    int percent;
    int offset;   // dialog units
    int done;     // working: applied in the current layout
    int offsetPx; // working: offset in pixels for the current window
};

// One entry of the working child list.
struct LayoutChild
{
    int id;
    int left, top, right, bottom;
    int width, height;
    int untouched; // 1: no rule sets any of its metrics
    int known[6];  // left, top, right, bottom, width, height
};

// What the solver needs from the window it lays out.
class LayoutHost
{
public:
    virtual ~LayoutHost() = default;
    // An assertion report about a faulty table: the string table ID of its
    // text (IDS_LAYOUT_* of res/resource.h).
    virtual void Report(unsigned textId) = 0;
    // Converts an offset in dialog units to pixels along one axis.
    virtual int OffsetToPixels(int dialogUnits, bool vertical) = 0;
};

// Counts of one solve, for the caller that wants to know how it went.
struct LayoutStats
{
    int walks;            // walks over the table, the last one applying nothing
    int appliedFirstWalk; // rules applied in the first walk
};

// The metric's name as used in messages ("left" ... "height"), or "" when invalid.
const char* LayoutMetricName(int metric);

// Fills the metrics of an entry that follow from the known ones.
void DeriveLayoutMetrics(LayoutChild& child);

// Finds an entry by control ID (client area included) and derives its
// missing metrics; null when the ID is not in the list.
LayoutChild* FindLayoutChild(LayoutChild* list, int id);

// Number of rows before the LAYOUT_END row.
int CountLayoutRules(const LayoutRule* rules);

// Checks a table against a child list before anything is changed. A faulty
// table is reported through the host and must not be acted on.
bool ValidateLayoutRules(const LayoutRule* rules, const LayoutChild* list, LayoutHost& host);

// Solves the table against the list in place. Returns false (and reports)
// when a rule can never be applied; the list may then be partly solved.
bool SolveLayout(LayoutRule* rules, LayoutChild* list, LayoutHost& host,
                 LayoutStats* stats = nullptr);
