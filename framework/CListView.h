// CListView.h - a list view control ("SysListView32") bound to an object,
// created by the object or taken over from a dialog template.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/CWnd.h"

class CListView : public CWnd
{
public:
    CListView();

    // Creates the control as a child; PreCreateWindow may adjust the styles.
    BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id);

    DWORD GetStyle() const { return (DWORD)::GetWindowLongA(m_hWnd, GWL_STYLE); }
    // Adds and removes style bits; returns whether the style changed.
    BOOL ModifyStyle(DWORD remove, DWORD add);
    bool IsReportView() const { return (GetStyle() & LVS_TYPEMASK) == LVS_REPORT; }

    int InsertColumn(int index, LPCSTR heading, int format, int width);
    int InsertItem(int index, LPCSTR text, int image = 0);
    BOOL SetItemText(int item, int subItem, LPCSTR text);
    // The text of a cell, at most maxChars - 1 characters.
    std::string GetItemText(int item, int subItem, int maxChars = 260) const;
    BOOL GetItemRect(int item, RECT* rc, int code) const;
    BOOL SetItemState(int item, UINT state, UINT mask);
    int GetNextItem(int start, UINT flags) const;
    HIMAGELIST SetImageList(HIMAGELIST list, int which);
    HIMAGELIST GetImageList(int which) const;

protected:
    virtual void PreCreateWindow(DWORD& style) {}
};
