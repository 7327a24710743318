// CStatic.cpp - binding static controls and changing their styles.
#include "framework/CStatic.h"

namespace {

BOOL ChangeStyle(HWND hWnd, int index, DWORD remove, DWORD add, UINT swpFlags)
{
    DWORD style = (DWORD)::GetWindowLongA(hWnd, index);
    DWORD changed = (style & ~remove) | add;
    if (changed == style)
        return FALSE;
    ::SetWindowLongA(hWnd, index, (LONG)changed);
    if (swpFlags)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

} // namespace

BOOL CStatic::Create(LPCSTR text, DWORD style, const RECT& rect, HWND parent, UINT id)
{
    return CreateEx(0, "STATIC", text, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent, (HMENU)(UINT_PTR)id);
}

BOOL CStatic::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags)
{
    return ChangeStyle(m_hWnd, GWL_STYLE, remove, add, swpFlags);
}

BOOL CStatic::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags)
{
    return ChangeStyle(m_hWnd, GWL_EXSTYLE, remove, add, swpFlags);
}
