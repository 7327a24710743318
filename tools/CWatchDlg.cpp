// CWatchDlg.cpp - the window plumbing the Network Watchers share.
#include "tools/CWatchDlg.h"

#include "adapter/CardItems.h"
#include "adapter/Mailbox.h"
#include "framework/CWinApp.h"
#include "res/resource.h"
#include "tools/ToolPlacement.h"
#include "widgets/CTaskProgressWnd.h"
#include "widgets/DialogLayout.h"

namespace {

// Tables of more entries than this are read under a progress window.
const int kQuietRead = 5;
// Buffer of an on-demand cell text.
const int kCellText = 40;

} // namespace

CWatchDlg::CWatchDlg(UINT templateId, int listId, LayoutRule* layout, bool reportHelpFailure,
                     CWnd* parent)
    : CDialog(templateId, parent), m_reading(false), m_listId(listId), m_layout(layout),
      m_reportHelpFailure(reportHelpFailure), m_minSize{0, 0}, m_icon(nullptr), m_smallIcon(nullptr)
{
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    m_icon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_WATCHER));
    m_smallIcon =
        (HICON)::LoadImageA(instance, MAKEINTRESOURCEA(IDI_WATCHER), IMAGE_ICON, 16, 16, LR_SHARED);
    LoadAccelTable(IDR_ACCELERATORS);
}

CWatchDlg::~CWatchDlg() = default;

BOOL CWatchDlg::Create(CWnd* parent)
{
    if (!CDialog::Create(parent))
        return FALSE;
    ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL CWatchDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_icon);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)(m_smallIcon ? m_smallIcon : m_icon));

    m_list.SubclassDlgItem(m_listId, this);
    m_list.EnableWholeRowSelection(true);
    m_icons.Create(IDB_COLUMN_ICONS, 16, 1, RGB(255, 255, 255));
    m_list.SetColumnIcons(&m_icons);
    CenterWindow();
    KeepOwnerVisible(m_hWnd);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Reading and the list

WORD CWatchDlg::ReadTableCount(int item, bool* unanswered)
{
    WORD size = 0;
    if (QueryCardItem(item, &size, sizeof size, unanswered) != ITEM_OK)
        size = 0;
    return size;
}

bool CWatchDlg::OpenReadProgress(CTaskProgressWnd& progress, int rows, UINT statusId)
{
    if (rows <= kQuietRead)
        return false;
    progress.Open(m_hWnd, LoadStr(IDS_NETWORK_WATCHER).c_str(), false);
    progress.SetLimits(0, rows, 1);
    progress.SetStatusText("%s", LoadStr(statusId).c_str());
    return true;
}

void CWatchDlg::AddColumns(const UINT* headers, const int* weights, int count, int units, int slack)
{
    RECT rc;
    m_list.GetWindowRect(&rc);
    int unit = (rc.right - rc.left) / units;
    for (int c = 0; c < count; ++c)
        m_list.InsertColumn(c, LoadStr(headers[c]).c_str(), LVCFMT_LEFT, weights[c] * unit - slack);
}

void CWatchDlg::InsertRow(int index, LPARAM data, UINT mask)
{
    LVITEMA item = {};
    item.mask = mask;
    item.iItem = index;
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.cchTextMax = kCellText;
    item.lParam = data;
    m_list.SendMessage(LVM_INSERTITEMA, 0, (LPARAM)&item);
}

void CWatchDlg::ClearListNow()
{
    m_list.DeleteAllItems();
    ::RedrawWindow(m_hWnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

BOOL CWatchDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
    if (hdr->idFrom != (UINT_PTR)m_listId)
        return FALSE;
    switch (hdr->code) {
    case LVN_GETDISPINFOA: {
        NMLVDISPINFOA* info = reinterpret_cast<NMLVDISPINFOA*>(lParam);
        if ((info->item.mask & LVIF_TEXT) && info->item.lParam && info->item.pszText &&
            info->item.cchTextMax > 0) {
            int size = info->item.cchTextMax < kCellText ? info->item.cchTextMax : kCellText;
            CellText(info->item.lParam, info->item.iSubItem, info->item.pszText, (size_t)size);
        }
        *result = 0;
        return TRUE;
    }
    case LVN_COLUMNCLICK: {
        const NMLISTVIEW* click = reinterpret_cast<const NMLISTVIEW*>(lParam);
        m_list.SortItems(RowCompare(), click->iSubItem);
        *result = 0;
        return TRUE;
    }
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Buttons and cursors

BOOL CWatchDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDC_WATCH_OK:
        if (!m_reading)
            DestroyWindow();
        return TRUE;
    case IDC_WATCH_HELP:
        OnHelp();
        return TRUE;
    case IDC_WATCH_CANCEL:
        OnCancel();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CWatchDlg::OnHelp()
{
    AfxHelpKeyword(m_hWnd, IDS_NETWORK_WATCHER, m_reportHelpFailure);
}

void CWatchDlg::EnableButton(int id, bool enable, int focusTo)
{
    CWindow button = GetDlgItem(id);
    if (!enable && focusTo && button && ::GetFocus() == button)
        SendMessage(WM_NEXTDLGCTL, (WPARAM)GetDlgItem(focusTo), TRUE);
    button.EnableWindow(enable ? TRUE : FALSE);
}

void CWatchDlg::SetClassCursor(HCURSOR cursor)
{
    if (m_hWnd)
        ::SetClassLongPtrA(m_hWnd, GCLP_HCURSOR, (LONG_PTR)cursor);
    ::SetCursor(cursor);
}

void CWatchDlg::ShowWaitCursor()
{
    SetClassCursor(::LoadCursorA(::GetModuleHandleA(nullptr), "WAIT_M"));
}

void CWatchDlg::ShowArrowCursor()
{
    SetClassCursor(::LoadCursorA(nullptr, IDC_ARROW));
}

// ---------------------------------------------------------------------------
// Window

void CWatchDlg::OnSysCommand(UINT id, LPARAM lParam)
{
    if ((id & 0xFFF0) == SC_CLOSE) {
        if (!m_reading)
            DestroyWindow();
        return;
    }
    CDialog::OnSysCommand(id, lParam);
}

void CWatchDlg::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    if (m_list.m_hWnd)
        ApplyLayout(m_hWnd, m_layout);
}

void CWatchDlg::RememberMinSize()
{
    RECT rc;
    GetWindowRect(&rc);
    m_minSize.cx = rc.right - rc.left;
    m_minSize.cy = rc.bottom - rc.top;
}

LRESULT CWatchDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_GETMINMAXINFO && (m_minSize.cx > 0 || m_minSize.cy > 0)) {
        MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = m_minSize.cx;
        info->ptMinTrackSize.y = m_minSize.cy;
        return 0;
    }
    return CDialog::WindowProc(msg, wParam, lParam);
}

void CWatchDlg::OnDestroy()
{
    m_list.SetColumnIcons(nullptr);
    m_icons.DeleteImageList();
    m_minSize.cx = m_minSize.cy = 0;
    CDialog::OnDestroy();
}
