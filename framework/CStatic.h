// CStatic.h - a static control bound to an object.
#pragma once

#include "framework/CWnd.h"

class CStatic : public CWnd
{
public:
    // Creates a "STATIC" child and binds it (PreSubclassWindow runs).
    BOOL Create(LPCSTR text, DWORD style, const RECT& rect, HWND parent, UINT id);

    DWORD GetExStyle() const { return (DWORD)::GetWindowLongA(m_hWnd, GWL_EXSTYLE); }
    // Adds and removes style bits; with swpFlags, also lets the frame redraw.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);
};
