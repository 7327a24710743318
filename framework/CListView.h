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

    // Adds and removes style bits; returns whether the style changed.
    BOOL ModifyStyle(DWORD remove, DWORD add);
    bool IsReportView() const { return (GetStyle() & LVS_TYPEMASK) == LVS_REPORT; }

    int InsertColumn(int index, LPCSTR heading, int format, int width);
    // text may be LPSTR_TEXTCALLBACK: the texts are then asked for through
    // LVN_GETDISPINFO, which reaches the owner's OnNotify.
    int InsertItem(int index, LPCSTR text, int image = 0);
    int InsertItem(int index, LPCSTR text, int image, LPARAM data);
    BOOL DeleteItem(int item);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    BOOL SetItemData(int item, LPARAM data);
    // The item's data, 0 for an item that does not exist.
    LPARAM GetItemData(int item) const;
    // The item whose data is data, or -1.
    int FindItemByData(LPARAM data) const;
    // Sorts by the items' data: compare gets two items' data and param.
    BOOL SortItems(PFNLVCOMPARE compare, LPARAM param);
    // The item at a client point, or -1; flags gets the LVHT_ code.
    int HitTest(POINT pt, UINT* flags = nullptr) const;
    BOOL DeleteColumn(int column);
    int GetColumnWidth(int column) const;
    BOOL SetColumnWidth(int column, int width);
    int GetColumnCount() const;
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
