// HistoryLayout.cpp - the rule table of the Link History window.
#include "tools/HistoryLayout.h"

#include <windows.h>

#include "res/resource.h"

// One rule a row, as the solver reads them.
// clang-format off

// The bottom row keeps its buttons' sizes: Close and Help at the lower right,
// Record, Mark and Stop at the lower left. The survey state line sits above
// them, the event list above it; both, and the chart, stretch to the right
// edge, the list down to the state line. Copy and Clear stay at the right
// above the list.
LayoutRule g_linkHistoryLayout[] = {
    {LAYOUT_MOVE, LAYOUT_RIGHT, IDC_HISTORY_HELP, 0, LAYOUT_RIGHT, LAYOUT_PARENT_ID, 0, -7, 0, 0},
    {LAYOUT_MOVE, LAYOUT_BOTTOM, IDC_HISTORY_HELP, 0, LAYOUT_BOTTOM, LAYOUT_PARENT_ID, 0, -7, 0, 0},
    {LAYOUT_MOVE, LAYOUT_RIGHT, IDOK, 0, LAYOUT_LEFT, IDC_HISTORY_HELP, 0, -4, 0, 0},
    {LAYOUT_MOVE, LAYOUT_BOTTOM, IDOK, 0, LAYOUT_BOTTOM, LAYOUT_PARENT_ID, 0, -7, 0, 0},
    {LAYOUT_MOVE, LAYOUT_BOTTOM, IDC_HISTORY_RECORD, 0, LAYOUT_BOTTOM, LAYOUT_PARENT_ID, 0, -7, 0, 0},
    {LAYOUT_MOVE, LAYOUT_BOTTOM, IDC_HISTORY_MARK, 0, LAYOUT_BOTTOM, LAYOUT_PARENT_ID, 0, -7, 0, 0},
    {LAYOUT_MOVE, LAYOUT_BOTTOM, IDC_HISTORY_STOP, 0, LAYOUT_BOTTOM, LAYOUT_PARENT_ID, 0, -7, 0, 0},
    {LAYOUT_MOVE, LAYOUT_BOTTOM, IDC_HISTORY_STATE, 0, LAYOUT_TOP, IDC_HISTORY_RECORD, 0, -7, 0, 0},
    {LAYOUT_STRETCH, LAYOUT_RIGHT, IDC_HISTORY_STATE, 0, LAYOUT_RIGHT, LAYOUT_PARENT_ID, 0, -7, 0, 0},
    {LAYOUT_STRETCH, LAYOUT_BOTTOM, IDC_HISTORY_EVENTS, 0, LAYOUT_TOP, IDC_HISTORY_STATE, 0, -8, 0, 0},
    {LAYOUT_STRETCH, LAYOUT_RIGHT, IDC_HISTORY_EVENTS, 0, LAYOUT_RIGHT, LAYOUT_PARENT_ID, 0, -7, 0, 0},
    {LAYOUT_STRETCH, LAYOUT_RIGHT, IDC_HISTORY_CHART, 0, LAYOUT_RIGHT, LAYOUT_PARENT_ID, 0, -7, 0, 0},
    {LAYOUT_MOVE, LAYOUT_RIGHT, IDC_HISTORY_CLEAR, 0, LAYOUT_RIGHT, LAYOUT_PARENT_ID, 0, -7, 0, 0},
    {LAYOUT_MOVE, LAYOUT_RIGHT, IDC_HISTORY_COPY, 0, LAYOUT_LEFT, IDC_HISTORY_CLEAR, 0, -4, 0, 0},
    {LAYOUT_END, 0, 0, 0, 0, 0, 0, 0, 0, 0},
};

// clang-format on
