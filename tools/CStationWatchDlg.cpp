// CStationWatchDlg.cpp - the station read, the list with its caption,
// Refresh with its single timer, Cancel, help and resizing.
#include "tools/CStationWatchDlg.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "adapter/CardItems.h"
#include "adapter/Mailbox.h"
#include "framework/CWinApp.h"
#include "framework/Os.h"
#include "res/resource.h"
#include "tools/StationTable.h"
#include "tools/WatchRows.h"
#include "widgets/CTaskProgressWnd.h"
#include "widgets/DialogLayout.h"

namespace {

const int kQuietRead = 5;
const int kCellText = 40;

int CompareTexts(const char* a, const char* b)
{
    return ::lstrcmpiA(a, b);
}

} // namespace

// The card's station table behind the read, with the progress window
// advanced before every entry when there is one.
class CStationWatchDlg::CardStations : public StationSource
{
public:
    CardStations(CStationWatchDlg& dlg, CTaskProgressWnd* progress)
        : m_dlg(dlg), m_progress(progress)
    {
    }
    unsigned char ReadEntry(uint16_t index, uint8_t* answer) override
    {
        return m_dlg.ReadCardItem(CI_STA_ENTRY, answer, STATION_ANSWER_SIZE);
    }
    void BeforeEntry() override
    {
        if (m_progress) {
            m_progress->Advance();
            m_progress->PumpPending(true);
        }
    }

private:
    CStationWatchDlg& m_dlg;
    CTaskProgressWnd* m_progress;
};

CStationWatchDlg::CStationWatchDlg(CWnd* parent)
    : CDialog(IDD_STATION_WATCH, parent), m_entries{}, m_count(0), m_stationName{},
      m_minSize{0, 0}, m_icon(nullptr), m_smallIcon(nullptr), m_refreshing(false),
      m_reading(false)
{
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    m_icon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_WATCHER));
    m_smallIcon = (HICON)::LoadImageA(instance, MAKEINTRESOURCEA(IDI_WATCHER), IMAGE_ICON, 16, 16,
                                      LR_SHARED);
    LoadAccelTable(IDR_ACCELERATORS);
}

CStationWatchDlg::~CStationWatchDlg() = default;

BOOL CStationWatchDlg::Create(CWnd* parent)
{
    if (!CDialog::Create(parent))
        return FALSE;
    ShowWindow(SW_SHOW);
    return TRUE;
}

BYTE CStationWatchDlg::ReadCardItem(int item, void* output, size_t size)
{
    return QueryCardItem(item, output, size);
}

BOOL CStationWatchDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_icon);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)(m_smallIcon ? m_smallIcon : m_icon));
    m_count = 0;

    m_list.SubclassDlgItem(IDC_STATION_LIST, this);
    m_list.EnableWholeRowSelection(true);
    m_icons.Create(IDB_COLUMN_ICONS, 16, 1, RGB(255, 255, 255));
    m_list.SetColumnIcons(&m_icons);
    CenterWindow();

    if (ReadCardItem(CI_STATION_NAME, m_stationName, sizeof m_stationName) != ITEM_OK ||
        m_stationName[0] == '\0')
        snprintf(m_stationName, sizeof m_stationName, "%s", LoadStr(IDS_NO_STATION_NAME).c_str());

    ReadTableSize();
    ReadStations();

    static const UINT headers[STA_COLUMN_COUNT] = {IDS_COL_COMPUTER_NAME, IDS_COL_NODE_ADDRESS,
                                                   IDS_COL_INACTIVE_TIME};
    RECT rc;
    m_list.GetWindowRect(&rc);
    int width = (rc.right - rc.left) / 3 - 2;
    for (int c = 0; c < STA_COLUMN_COUNT; ++c)
        m_list.InsertColumn(c, LoadStr(headers[c]).c_str(), LVCFMT_LEFT, width);
    FillList();

    EnableButton(IDC_WATCH_CANCEL, false);
    GetWindowRect(&rc);
    m_minSize.cx = rc.right - rc.left;
    m_minSize.cy = rc.bottom - rc.top;
    return TRUE;
}

void CStationWatchDlg::ReadTableSize()
{
    WORD size = 0;
    if (ReadCardItem(CI_STATION_COUNT, &size, sizeof size) != ITEM_OK)
        size = 0;
    m_count = size;
}

void CStationWatchDlg::ReadStations()
{
    int n = m_count > BSS_LIST_MAX ? BSS_LIST_MAX : m_count;
    m_reading = true;
    CTaskProgressWnd progress;
    bool withProgress = n > kQuietRead;
    if (withProgress) {
        progress.Open(m_hWnd, LoadStr(IDS_NETWORK_WATCHER).c_str(), false);
        progress.SetLimits(0, n, 1);
        progress.SetStatusText("%s", LoadStr(IDS_STATION_PROGRESS).c_str());
    }
    CardStations card(*this, withProgress ? &progress : nullptr);
    std::string notAvailable = LoadStr(IDS_INACTIVE_UNKNOWN);
    m_count = (WORD)ReadStationTable(n, card, notAvailable.c_str(), m_entries, BSS_LIST_MAX);
    m_reading = false;
}

void CStationWatchDlg::FillList()
{
    for (int i = 0; i < m_count; ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
        item.iItem = i;
        item.pszText = LPSTR_TEXTCALLBACKA;
        item.cchTextMax = kCellText;
        item.lParam = (LPARAM)&m_entries[i];
        m_list.SendMessage(LVM_INSERTITEMA, 0, (LPARAM)&item);
    }
    char caption[160];
    snprintf(caption, sizeof caption, LoadStr(IDS_STATION_CAPTION).c_str(),
             LoadStr(IDS_NETWORK_WATCHER).c_str(), (int)m_count,
             LoadStr(IDS_CONNECTIONS_TO).c_str(), m_stationName);
    SetWindowText(caption);
}

int CALLBACK CStationWatchDlg::CompareRows(LPARAM a, LPARAM b, LPARAM column)
{
    return CompareStationRows(reinterpret_cast<const StationEntry*>(a),
                              reinterpret_cast<const StationEntry*>(b), (int)column, CompareTexts);
}

BOOL CStationWatchDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
    if (hdr->idFrom != IDC_STATION_LIST)
        return FALSE;
    switch (hdr->code) {
    case LVN_GETDISPINFOA: {
        NMLVDISPINFOA* info = reinterpret_cast<NMLVDISPINFOA*>(lParam);
        const StationEntry* entry = reinterpret_cast<const StationEntry*>(info->item.lParam);
        if ((info->item.mask & LVIF_TEXT) && entry && info->item.pszText &&
            info->item.cchTextMax > 0) {
            int size = info->item.cchTextMax < kCellText ? info->item.cchTextMax : kCellText;
            StationCellText(*entry, info->item.iSubItem, info->item.pszText, (size_t)size);
        }
        *result = 0;
        return TRUE;
    }
    case LVN_COLUMNCLICK: {
        const NMLISTVIEW* click = reinterpret_cast<const NMLISTVIEW*>(lParam);
        m_list.SortItems(CompareRows, click->iSubItem);
        *result = 0;
        return TRUE;
    }
    }
    return FALSE;
}

BOOL CStationWatchDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDC_STATION_REFRESH:
        OnRefresh();
        return TRUE;
    case IDC_WATCH_OK:
        if (!m_reading)
            DestroyWindow();
        return TRUE;
    case IDC_WATCH_HELP: {
        // A help file that cannot be opened is not reported here.
        AfxHelpKeyword(m_hWnd, IDS_NETWORK_WATCHER, false);
        return TRUE;
    }
    case IDC_WATCH_CANCEL:
        OnCancel();
        return TRUE;
    case IDM_ADVANCED_MODE:
        return TRUE; // the accelerator has no meaning here
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CStationWatchDlg::EnableButton(int id, bool enable)
{
    ::EnableWindow(GetDlgItem(id), enable ? TRUE : FALSE);
}

void CStationWatchDlg::SetClassCursor(HCURSOR cursor)
{
    if (m_hWnd)
        ::SetClassLongPtrA(m_hWnd, GCLP_HCURSOR, (LONG_PTR)cursor);
    ::SetCursor(cursor);
}

void CStationWatchDlg::OnRefresh()
{
    if (m_reading || m_refreshing)
        return;
    m_count = 0;
    m_list.DeleteAllItems();
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN |
                                                 RDW_UPDATENOW);
    EnableButton(IDC_WATCH_OK, false);
    EnableButton(IDC_STATION_REFRESH, false);
    EnableButton(IDC_WATCH_CANCEL, true);
    SetClassCursor(::LoadCursorA(::GetModuleHandleA(nullptr), "WAIT_M"));
    StartStationScan();
    m_refreshing = true;
    SetTimer(REFRESH_TIMER, REFRESH_WAIT_MS);
}

void CStationWatchDlg::OnTimer(UINT_PTR id)
{
    if (id != REFRESH_TIMER) {
        CDialog::OnTimer(id);
        return;
    }
    if (m_reading || !m_refreshing)
        return;
    KillTimer(REFRESH_TIMER);
    m_refreshing = false;
    ReadTableSize();
    if (m_count != 0)
        ReadStations();
    FillList();
    EnableButton(IDC_WATCH_OK, true);
    EnableButton(IDC_STATION_REFRESH, true);
    EnableButton(IDC_WATCH_CANCEL, false);
    SetClassCursor(::LoadCursorA(nullptr, IDC_ARROW));
    ::SetFocus(m_hWnd);
}

void CStationWatchDlg::OnCancel()
{
    if (m_reading)
        return;
    KillTimer(REFRESH_TIMER);
    m_refreshing = false;
    EnableButton(IDC_WATCH_CANCEL, false);
    ReadTableSize();
    m_list.DeleteAllItems();
    if (m_count != 0)
        ReadStations();
    FillList();
    EnableButton(IDC_WATCH_OK, true);
    EnableButton(IDC_STATION_REFRESH, true);
    SetClassCursor(::LoadCursorA(nullptr, IDC_ARROW));
}

void CStationWatchDlg::OnSysCommand(UINT id, LPARAM lParam)
{
    if ((id & 0xFFF0) == SC_CLOSE) {
        if (!m_reading)
            DestroyWindow();
        return;
    }
    CDialog::OnSysCommand(id, lParam);
}

void CStationWatchDlg::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    if (m_list.m_hWnd)
        ApplyLayout(m_hWnd, g_stationWatchLayout);
}

LRESULT CStationWatchDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_GETMINMAXINFO && (m_minSize.cx > 0 || m_minSize.cy > 0)) {
        MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = m_minSize.cx;
        info->ptMinTrackSize.y = m_minSize.cy;
        return 0;
    }
    return CDialog::WindowProc(msg, wParam, lParam);
}

void CStationWatchDlg::OnDestroy()
{
    // A window closed during a refresh leaves no wait cursor behind.
    if (m_refreshing) {
        KillTimer(REFRESH_TIMER);
        m_refreshing = false;
        SetClassCursor(::LoadCursorA(nullptr, IDC_ARROW));
    }
    m_list.SetColumnIcons(nullptr);
    m_icons.DeleteImageList();
    m_minSize.cx = m_minSize.cy = 0;
    CDialog::OnDestroy();
}
