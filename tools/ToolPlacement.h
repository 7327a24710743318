// ToolPlacement.h - where a tool window goes beside the floating tool
// window that opened it: centred over it covers it (it is much smaller), so
// the tool then moves to the nearest side where it fits on the screen.
#pragma once

#include <windows.h>

// Moves `wnd` off its owner when it covers part of it: below, above, left
// or right of the owner, the first side where it fits in the work area,
// keeping its position along that side. Stays where it is when it covers
// nothing or fits on no side.
void KeepOwnerVisible(HWND wnd);
