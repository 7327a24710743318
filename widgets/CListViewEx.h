// CListViewEx.h - a report-view list that draws its own rows: the selection
// is highlighted across all columns (and to the client edge), long texts are
// cut with "...", and columns 3 and 6 show pictures instead of text.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "framework/CImageList.h"
#include "framework/CListView.h"

class CListViewEx : public CListView
{
public:
    CListViewEx();

    // The class name under which the program creates this view by name.
    static const char* RuntimeClassName() { return "CListViewEx"; }
    static CListViewEx* CreateObject();

    // Switches the owner-drawn whole-row selection on or off; returns whether
    // the control's style changed.
    bool EnableWholeRowSelection(bool on);
    bool IsWholeRowSelection() const { return m_wholeRow; }

    // Pictures for columns 3 and 6 (owned by the caller; may be null).
    void SetColumnIcons(CImageList* icons) { m_columnIcons = icons; }

    void SetFillToClientEdge(bool on) { m_fillToClientEdge = on; }

    // Draws one row; the parent's WM_DRAWITEM arrives here.
    void DrawItem(const DRAWITEMSTRUCT* dis);

    // Cell texts longer than this are cut by the control.
    static const int kTextMax = 260;

protected:
    void PreCreateWindow(DWORD& style) override;
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnPaint() override;
    void OnSize(UINT type, int cx, int cy) override;

private:
    void InvalidateSelectionRows();
    void InvalidateRow(int item);
    // The text to draw: the text itself, or its cut form in m_short.
    const char* Shorten(HDC dc, const char* text, int width, int margin, bool* cut);
    void DrawColumnPicture(HDC dc, int column, const char* text, const RECT& rc);

    bool m_wholeRow;
    bool m_fillToClientEdge;
    int m_clientWidth;
    int m_stateIconWidth;
    COLORREF m_textColor;
    COLORREF m_textBackColor;
    COLORREF m_backColor;
    CImageList* m_columnIcons;

    // Per control, so two lists drawing in turn never share a text.
    char m_text[kTextMax];
    char m_short[kTextMax + 4];
};
