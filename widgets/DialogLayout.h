// DialogLayout.h - lays out a resizable dialog's children by a rule table,
// called from the dialog's WM_SIZE handler after the default handling.
#pragma once

#include <windows.h>

#include "widgets/LayoutSolver.h"

// Converts a rectangle from dialog units to pixels for the window, in place.
void DialogUnitsToPixels(HWND hWnd, RECT* rc);

// Measures the window's children, solves the table (ended by a LAYOUT_END
// row; its working fields are written) and moves the children that a rule
// affects in one deferred batch. A minimised window is left alone (true).
// A faulty table or one that cannot be solved is reported, moves nothing and
// gives false.
bool ApplyLayout(HWND hWnd, LayoutRule* rules, LayoutStats* stats = nullptr);
