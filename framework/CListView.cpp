// CListView.cpp - creation, binding and the thin list view helpers.
#include "framework/CListView.h"

#include <vector>

CListView::CListView() = default;

BOOL CListView::Create(DWORD style, const RECT& rect, HWND parent, UINT id)
{
    ::InitCommonControls();
    PreCreateWindow(style);
    return CreateEx(0, WC_LISTVIEWA, "", style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent, (HMENU)(UINT_PTR)id);
}

BOOL CListView::ModifyStyle(DWORD remove, DWORD add)
{
    DWORD style = GetStyle();
    DWORD changed = (style & ~remove) | add;
    if (changed == style)
        return FALSE;
    ::SetWindowLongA(m_hWnd, GWL_STYLE, (LONG)changed);
    return TRUE;
}

int CListView::InsertColumn(int index, LPCSTR heading, int format, int width)
{
    LVCOLUMNA col = {};
    col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    col.fmt = format;
    col.cx = width;
    col.pszText = const_cast<LPSTR>(heading);
    col.iSubItem = index;
    return (int)SendMessage(LVM_INSERTCOLUMNA, index, (LPARAM)&col);
}

int CListView::InsertItem(int index, LPCSTR text, int image)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = const_cast<LPSTR>(text);
    item.iImage = image;
    return (int)SendMessage(LVM_INSERTITEMA, 0, (LPARAM)&item);
}

BOOL CListView::SetItemText(int item, int subItem, LPCSTR text)
{
    LVITEMA lvi = {};
    lvi.iSubItem = subItem;
    lvi.pszText = const_cast<LPSTR>(text);
    return (BOOL)SendMessage(LVM_SETITEMTEXTA, item, (LPARAM)&lvi);
}

std::string CListView::GetItemText(int item, int subItem, int maxChars) const
{
    if (maxChars < 1)
        return std::string();
    std::vector<char> buffer(maxChars, '\0');
    LVITEMA lvi = {};
    lvi.iSubItem = subItem;
    lvi.pszText = buffer.data();
    lvi.cchTextMax = maxChars;
    SendMessage(LVM_GETITEMTEXTA, item, (LPARAM)&lvi);
    buffer[maxChars - 1] = '\0';
    return buffer.data();
}

BOOL CListView::GetItemRect(int item, RECT* rc, int code) const
{
    rc->left = code;
    return (BOOL)SendMessage(LVM_GETITEMRECT, item, (LPARAM)rc);
}

BOOL CListView::SetItemState(int item, UINT state, UINT mask)
{
    LVITEMA lvi = {};
    lvi.state = state;
    lvi.stateMask = mask;
    return (BOOL)SendMessage(LVM_SETITEMSTATE, item, (LPARAM)&lvi);
}

int CListView::GetNextItem(int start, UINT flags) const
{
    return (int)SendMessage(LVM_GETNEXTITEM, start, MAKELPARAM(flags, 0));
}

HIMAGELIST CListView::SetImageList(HIMAGELIST list, int which)
{
    return (HIMAGELIST)SendMessage(LVM_SETIMAGELIST, which, (LPARAM)list);
}

HIMAGELIST CListView::GetImageList(int which) const
{
    return (HIMAGELIST)SendMessage(LVM_GETIMAGELIST, which);
}

int CListView::InsertItem(int index, LPCSTR text, int image, LPARAM data)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<LPSTR>(text);
    item.iImage = image;
    item.lParam = data;
    return (int)SendMessage(LVM_INSERTITEMA, 0, (LPARAM)&item);
}

BOOL CListView::DeleteItem(int item)
{
    return (BOOL)SendMessage(LVM_DELETEITEM, item);
}

BOOL CListView::DeleteAllItems()
{
    return (BOOL)SendMessage(LVM_DELETEALLITEMS);
}

int CListView::GetItemCount() const
{
    return (int)SendMessage(LVM_GETITEMCOUNT);
}

BOOL CListView::SetItemData(int item, LPARAM data)
{
    LVITEMA lvi = {};
    lvi.mask = LVIF_PARAM;
    lvi.iItem = item;
    lvi.lParam = data;
    return (BOOL)SendMessage(LVM_SETITEMA, 0, (LPARAM)&lvi);
}

LPARAM CListView::GetItemData(int item) const
{
    LVITEMA lvi = {};
    lvi.mask = LVIF_PARAM;
    lvi.iItem = item;
    if (!SendMessage(LVM_GETITEMA, 0, (LPARAM)&lvi))
        return 0;
    return lvi.lParam;
}

int CListView::FindItemByData(LPARAM data) const
{
    LVFINDINFOA find = {};
    find.flags = LVFI_PARAM;
    find.lParam = data;
    return (int)SendMessage(LVM_FINDITEMA, (WPARAM)-1, (LPARAM)&find);
}

BOOL CListView::SortItems(PFNLVCOMPARE compare, LPARAM param)
{
    if (!compare)
        return FALSE;
    return (BOOL)SendMessage(LVM_SORTITEMS, (WPARAM)param, (LPARAM)compare);
}

int CListView::HitTest(POINT pt, UINT* flags) const
{
    LVHITTESTINFO info = {};
    info.pt = pt;
    int item = (int)SendMessage(LVM_HITTEST, 0, (LPARAM)&info);
    if (flags)
        *flags = info.flags;
    return item;
}

BOOL CListView::DeleteColumn(int column)
{
    return (BOOL)SendMessage(LVM_DELETECOLUMN, column);
}

int CListView::GetColumnWidth(int column) const
{
    return (int)SendMessage(LVM_GETCOLUMNWIDTH, column);
}

BOOL CListView::SetColumnWidth(int column, int width)
{
    return (BOOL)SendMessage(LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0));
}

int CListView::GetColumnCount() const
{
    HWND header = (HWND)SendMessage(LVM_GETHEADER);
    return header ? (int)::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0) : 0;
}
