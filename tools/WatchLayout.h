// WatchLayout.h - how the two Network Watcher dialogs (IDD_BSS_WATCH and
// IDD_STATION_WATCH) lay out their children when resized: the rule tables
// for ApplyLayout (widgets/DialogLayout.h).
#pragma once

#include "widgets/LayoutSolver.h"

// Ended by a LAYOUT_END row; ApplyLayout writes their working fields.
extern LayoutRule g_bssWatchLayout[];
extern LayoutRule g_stationWatchLayout[];
