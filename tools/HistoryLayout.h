// HistoryLayout.h - how the Link History window (IDD_LINK_HISTORY) lays out
// its children when resized: the rule table for ApplyLayout
// (widgets/DialogLayout.h).
#pragma once

#include "widgets/LayoutSolver.h"

// Ended by a LAYOUT_END row; ApplyLayout writes its working fields.
extern LayoutRule g_linkHistoryLayout[];
