// CListViewEx.cpp - owner drawing of report rows, text shortening, the
// picture columns and the repainting that whole-row selection needs.
#include "widgets/CListViewEx.h"

#include <algorithm>
#include <new>

#include "framework/Gdi.h"
#include "framework/IntegerText.h"
#include "widgets/TextShortener.h"

namespace {

const UINT kTextFlags = DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP | DT_VCENTER;
const int kSignalColumn = 3;
const int kSecureColumn = 6;

enum ColumnPicture
{
    PICTURE_GREEN_BALL = 0,
    PICTURE_YELLOW_BALL = 1,
    PICTURE_PADLOCK = 2
};

} // namespace

CListViewEx::CListViewEx()
    : m_wholeRow(false), m_fillToClientEdge(true), m_clientWidth(0), m_stateIconWidth(0),
      m_textColor(::GetSysColor(COLOR_WINDOWTEXT)), m_textBackColor(::GetSysColor(COLOR_WINDOW)),
      m_backColor(::GetSysColor(COLOR_WINDOW)), m_columnIcons(nullptr), m_text{}, m_short{}
{}

CListViewEx* CListViewEx::CreateObject()
{
    return new (std::nothrow) CListViewEx;
}

void CListViewEx::PreCreateWindow(DWORD& style)
{
    style = (style & ~LVS_TYPEMASK) | WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT |
            LVS_OWNERDRAWFIXED;
    m_wholeRow = true;
}

void CListViewEx::PreSubclassWindow()
{
    // The size of a control taken over after its creation is not announced again.
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    m_clientWidth = rc.right;
}

bool CListViewEx::EnableWholeRowSelection(bool on)
{
    ::LockWindowUpdate(m_hWnd);
    m_wholeRow = on;
    bool changed = on ? ModifyStyle(0, LVS_OWNERDRAWFIXED) : ModifyStyle(LVS_OWNERDRAWFIXED, 0);
    if (changed && IsReportView())
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ::LockWindowUpdate(nullptr);
    return changed;
}

LRESULT CListViewEx::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        LRESULT result = Default();
        HWND other = (HWND)wParam;
        if (!(other && ::IsChild(m_hWnd, other)) && m_wholeRow && IsReportView())
            InvalidateSelectionRows();
        return result;
    }
    case LVM_SETIMAGELIST:
        if ((int)wParam == LVSIL_STATE) {
            int cx = 0, cy = 0;
            m_stateIconWidth = ::ImageList_GetIconSize((HIMAGELIST)lParam, &cx, &cy) ? cx : 0;
        }
        return Default();
    case LVM_SETTEXTCOLOR:
        m_textColor = (COLORREF)lParam;
        return Default();
    case LVM_SETTEXTBKCOLOR:
        m_textBackColor = (COLORREF)lParam;
        return Default();
    case LVM_SETBKCOLOR:
        m_backColor = (COLORREF)lParam;
        return Default();
    default:
        return CListView::WindowProc(msg, wParam, lParam);
    }
}

BOOL CListViewEx::OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (msg != WM_DRAWITEM)
        return FALSE;
    DrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    *result = TRUE;
    return TRUE;
}

void CListViewEx::OnSize(UINT type, int cx, int cy)
{
    m_clientWidth = cx;
    Default();
}

void CListViewEx::OnPaint()
{
    if (m_fillToClientEdge && IsReportView() && m_wholeRow) {
        RECT bounds;
        if (GetItemRect(0, &bounds, LVIR_BOUNDS) && bounds.right < m_clientWidth) {
            CPaintDC paint(m_hWnd);
            RECT clip;
            ::GetClipBox(paint, &clip);
            clip.left = std::min(clip.left, bounds.right - 1);
            clip.right = m_clientWidth;
            ::InvalidateRect(m_hWnd, &clip, FALSE);
        }
    }
    Default();
}

void CListViewEx::InvalidateRow(int item)
{
    RECT bounds, label;
    if (!GetItemRect(item, &bounds, LVIR_BOUNDS) || !GetItemRect(item, &label, LVIR_LABEL))
        return;
    bounds.left = label.left;
    ::InvalidateRect(m_hWnd, &bounds, FALSE);
}

void CListViewEx::InvalidateSelectionRows()
{
    int focused = GetNextItem(-1, LVNI_FOCUSED);
    if (focused != -1)
        InvalidateRow(focused);
    if (!(GetStyle() & LVS_SHOWSELALWAYS)) {
        for (int item = GetNextItem(-1, LVNI_SELECTED); item != -1;
             item = GetNextItem(item, LVNI_SELECTED))
            InvalidateRow(item);
    }
    ::UpdateWindow(m_hWnd);
}

const char* CListViewEx::Shorten(HDC dc, const char* text, int width, int margin, bool* cut)
{
    TextMeasure measure = [dc](const char* s, int n) {
        SIZE size = {0, 0};
        ::GetTextExtentPoint32A(dc, s, n, &size);
        return (int)size.cx;
    };
    *cut = ShortenText(text, width, margin, measure, m_short, (int)sizeof m_short);
    return *cut ? m_short : text;
}

void CListViewEx::DrawColumnPicture(HDC dc, int column, const char* text, const RECT& rc)
{
    if (!m_columnIcons)
        return;
    int picture = -1;
    if (column == kSignalColumn) {
        // A text that is no whole number shows as the weakest signal.
        long signal = 0;
        ParseInteger(text, signal);
        picture = signal <= 25 ? PICTURE_YELLOW_BALL : PICTURE_GREEN_BALL;
    } else if (text[0] == '1')
        picture = PICTURE_PADLOCK;
    if (picture >= 0)
        m_columnIcons->Draw(dc, picture, POINT{rc.left, rc.top}, ILD_NORMAL);
}

void CListViewEx::DrawItem(const DRAWITEMSTRUCT* dis)
{
    HDC dc = dis->hDC;
    const int item = (int)dis->itemID;
    const RECT& rcItem = dis->rcItem;

    LVITEMA lvi = {};
    lvi.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_STATE;
    lvi.iItem = item;
    lvi.iSubItem = 0;
    lvi.pszText = m_text;
    lvi.cchTextMax = kTextMax;
    lvi.stateMask = 0xFFFF;
    m_text[0] = '\0';
    SendMessage(LVM_GETITEMA, 0, (LPARAM)&lvi);
    m_text[kTextMax - 1] = '\0';
    // The control may hand back its own buffer instead of filling ours.
    const char* itemText = lvi.pszText && lvi.pszText != LPSTR_TEXTCALLBACKA ? lvi.pszText : "";

    const bool hasFocus = ::GetFocus() == m_hWnd;
    const bool selected =
        ((hasFocus || (GetStyle() & LVS_SHOWSELALWAYS)) && (lvi.state & LVIS_SELECTED)) ||
        (lvi.state & LVIS_DROPHILITED);

    RECT rcAll, rcLabel, rcIcon;
    GetItemRect(item, &rcAll, LVIR_BOUNDS);
    GetItemRect(item, &rcLabel, LVIR_LABEL);
    rcAll.left = rcLabel.left;
    if (m_fillToClientEdge && rcAll.right < m_clientWidth)
        rcAll.right = m_clientWidth;

    COLORREF oldText = 0, oldBack = 0;
    if (selected) {
        oldText = ::SetTextColor(dc, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
        oldBack = ::SetBkColor(dc, ::GetSysColor(COLOR_HIGHLIGHT));
        CBrush brush(::GetSysColor(COLOR_HIGHLIGHT));
        ::FillRect(dc, &rcAll, brush);
    } else {
        CBrush brush(m_textBackColor);
        ::FillRect(dc, &rcAll, brush);
    }

    UINT imageStyle = ILD_TRANSPARENT;
    COLORREF imageFore = CLR_NONE;
    if (lvi.state & LVIS_CUT) {
        imageStyle |= ILD_BLEND50;
        imageFore = m_backColor;
    } else if (selected) {
        imageStyle |= ILD_BLEND50;
        imageFore = ::GetSysColor(COLOR_HIGHLIGHT);
    }

    HIMAGELIST stateList = GetImageList(LVSIL_STATE);
    const UINT stateImage = (lvi.state & LVIS_STATEIMAGEMASK) >> 12;
    if (stateImage && stateList)
        ::ImageList_Draw(stateList, (int)stateImage - 1, dc, rcItem.left, rcItem.top,
                         ILD_TRANSPARENT);

    HIMAGELIST smallList = GetImageList(LVSIL_SMALL);
    if (smallList && rcItem.left < rcItem.right - 1 && GetItemRect(item, &rcIcon, LVIR_ICON))
        ::ImageList_DrawEx(smallList, lvi.iImage, dc, rcIcon.left, rcIcon.top, 16, 16, m_backColor,
                           imageFore, imageStyle | (lvi.state & LVIS_OVERLAYMASK));

    // First column.
    RECT rcCell = rcLabel;
    rcCell.right -= m_stateIconWidth;
    bool cut = false;
    const char* text = Shorten(dc, itemText, rcCell.right - rcCell.left, 4, &cut);
    RECT rcText = {rcCell.left + 2, rcCell.top, rcCell.right - 2, rcCell.bottom};
    ::DrawTextA(dc, text, -1, &rcText, DT_LEFT | kTextFlags);

    // Further columns.
    LVCOLUMNA col = {};
    col.mask = LVCF_FMT | LVCF_WIDTH;
    for (int column = 1; SendMessage(LVM_GETCOLUMNA, column, (LPARAM)&col); ++column) {
        rcCell.left = rcCell.right;
        rcCell.right += col.cx;
        std::string cell = GetItemText(item, column, kTextMax);
        if (cell.empty())
            continue;
        text = Shorten(dc, cell.c_str(), rcCell.right - rcCell.left, 12, &cut);
        UINT align = DT_LEFT;
        if (!cut) {
            if ((col.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT)
                align = DT_RIGHT;
            else if ((col.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER)
                align = DT_CENTER;
        }
        rcText = {rcCell.left + 6, rcCell.top, rcCell.right - 6, rcCell.bottom};
        if (column == kSignalColumn || column == kSecureColumn)
            DrawColumnPicture(dc, column, cell.c_str(), rcText);
        else
            ::DrawTextA(dc, text, -1, &rcText, align | kTextFlags);
    }

    if ((lvi.state & LVIS_FOCUSED) && hasFocus)
        ::DrawFocusRect(dc, &rcAll);
    if (selected) {
        ::SetTextColor(dc, oldText);
        ::SetBkColor(dc, oldBack);
    }
}
