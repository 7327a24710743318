// CBssWatchDlg.cpp - the BSS read with its filtering, the list, scanning with
// its poll, joining and advanced mode.
#include "tools/CBssWatchDlg.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "adapter/AdapterState.h"
#include "adapter/CardItems.h"
#include "adapter/CardSettings.h"
#include "adapter/HistoryEvents.h"
#include "adapter/Mailbox.h"
#include "framework/CWinApp.h"
#include "framework/Os.h"
#include "res/resource.h"
#include "tools/WatchLayout.h"
#include "tools/WatchRows.h"
#include "widgets/CTaskProgressWnd.h"

namespace {

// Link states that mark the cell the card was in before a join.
const char kAssociated[] = "Associated";
const char kJoined[] = "JOINED";

int CompareTexts(const char* a, const char* b)
{
    return ::lstrcmpiA(a, b);
}

} // namespace

const int CBssWatchDlg::kColumnWeights[BSS_COLUMN_COUNT] = {3, 3, 3, 1, 1, 2, 1};

// A help file that cannot be opened is reported.
CBssWatchDlg::CBssWatchDlg(CWnd* parent)
    : CWatchDlg(IDD_BSS_WATCH, IDC_BSS_LIST, g_bssWatchLayout, true, parent), m_entries{},
      m_count(0), m_tableSize(0), m_selected(nullptr), m_currentState(nullptr),
      m_advanced(false), m_savedCaption{}, m_scanning(false)
{}

CBssWatchDlg::~CBssWatchDlg() = default;

BYTE CBssWatchDlg::ReadIndexed(int item, int index, void* output, size_t size, bool& lost)
{
    BYTE* bytes = static_cast<BYTE*>(output);
    memset(bytes, 0, size);
    bytes[0] = (BYTE)index;
    bytes[1] = (BYTE)(index >> 8);
    bool unanswered = false;
    BYTE result = QueryCardItem(item, output, size, &unanswered);
    lost = lost || unanswered;
    return result;
}

// ---------------------------------------------------------------------------
// Initialisation and the list

BOOL CBssWatchDlg::OnInitDialog()
{
    CWatchDlg::OnInitDialog();

    // The table the card holds from its last scan; a reopening shows the
    // rows kept from before without asking the card.
    bool lost = false;
    if (m_count == 0) {
        // Opened beside another card poll (from the tray, by a second
        // start), the window does not break into it: the table is read at
        // the next opening, or by Escape.
        AdapterLock lock;
        if (lock.IsHeld())
            lost = !ReadWholeTable();
    }
    InsertColumns();
    FillList();
    // A card that left the read unanswered takes the no-response road, once
    // the window stands (closing it here would fail its creation).
    if (lost)
        PostMessage(WM_CARD_SILENT);

    m_selected = nullptr;
    EnableButton(IDC_BSS_JOIN, false);
    EnableButton(IDC_WATCH_CANCEL, false);
    if (m_advanced) {
        char caption[160];
        snprintf(caption, sizeof caption, LoadStr(IDS_ADVANCED_CAPTION).c_str(), m_savedCaption);
        SetWindowText(caption);
    }
    RememberMinSize();
    return TRUE;
}

bool CBssWatchDlg::ReadTableSize()
{
    bool unanswered = false;
    m_count = ReadTableCount(CI_BSS_COUNT, &unanswered);
    m_tableSize = m_count;
    return !unanswered;
}

bool CBssWatchDlg::ReadWholeTable()
{
    if (!ReadTableSize())
        return false;
    return m_count == 0 || ReadBssTable();
}

bool CBssWatchDlg::ReadBssTable()
{
    int n = m_count > BSS_TABLE_MAX ? BSS_TABLE_MAX : m_count;
    m_currentState = nullptr;
    m_selected = nullptr;
    m_reading = true;

    // Ctrl+Alt+A pressed while the read pumps messages applies from the
    // next read.
    const bool advanced = m_advanced;
    bool lost = false, unanswered = false;
    char current[20] = "";
    QueryCardItem(CI_CURRENT_BSSID, current, sizeof current, &unanswered);
    lost = unanswered;
    char essid[CONFIG_TEXT_SIZE] = "";
    char type[20] = "";
    if (!advanced && !lost) {
        ReadConfigValue(m_hWnd, CI_ESSID, essid); // the driver's parameter
        QueryCardItem(CI_NETWORK_TYPE, type, sizeof type, &unanswered);
        lost = unanswered;
    }

    CTaskProgressWnd progress;
    bool withProgress = !lost && OpenReadProgress(progress, n, IDS_BSS_PROGRESS);

    // A field without an answer ends the read: the rest of the table is not
    // asked of a card that stopped answering.
    int kept = 0;
    for (int i = 0; i < n && !lost; ++i) {
        if (withProgress) {
            progress.Advance();
            progress.PumpPending(true);
        }
        BssEntry& e = m_entries[kept];
        memset(&e, 0, sizeof e);
        ReadIndexed(CI_BSS_ESSID, i, e.essid, sizeof e.essid, lost);
        if (lost || (!advanced && strcmp(e.essid, essid) != 0))
            continue;
        ReadIndexed(CI_BSS_NETWORK_TYPE, i, e.networkType, sizeof e.networkType, lost);
        if (lost || (!advanced && ::lstrcmpiA(e.networkType, type) != 0))
            continue;
        ReadIndexed(CI_BSS_AP_NAME, i, e.apName, sizeof e.apName, lost);
        ReadIndexed(CI_BSS_BSSID, i, e.bssid, sizeof e.bssid, lost);
        ::CharUpperA(e.bssid);
        ReadIndexed(CI_BSS_STATIONS, i, e.stations, sizeof e.stations, lost);
        WORD number = 0;
        if (ReadIndexed(CI_BSS_SIGNAL, i, &number, sizeof number, lost) == ITEM_OK)
            e.signal = number;
        ReadIndexed(CI_BSS_STATE, i, e.state, sizeof e.state, lost);
        number = 0;
        if (ReadIndexed(CI_BSS_SECURITY, i, &number, sizeof number, lost) == ITEM_OK)
            e.secure = number;
        if (::lstrcmpiA(e.bssid, current) == 0)
            m_currentState = e.state;
        ++kept;
    }
    if (lost) {
        kept = 0;
        m_currentState = nullptr;
    }
    m_count = (WORD)kept;
    m_reading = false;
    return !lost;
}

void CBssWatchDlg::InsertColumns()
{
    static const UINT headers[BSS_COLUMN_COUNT] = {
        IDS_COL_AP_NAME,  IDS_COL_ADDRESS, IDS_COL_DOMAIN, IDS_COL_SIGNAL,
        IDS_COL_STATIONS, IDS_COL_STATE,   IDS_COL_SECURE};
    AddColumns(headers, kColumnWeights, BSS_COLUMN_COUNT, 14, 1);
}

void CBssWatchDlg::FillList()
{
    for (int i = 0; i < m_count; ++i)
        InsertRow(i, (LPARAM)&m_entries[i], LVIF_TEXT | LVIF_PARAM);
}

int CALLBACK CBssWatchDlg::CompareRows(LPARAM a, LPARAM b, LPARAM column)
{
    return CompareBssRows(reinterpret_cast<const BssEntry*>(a),
                          reinterpret_cast<const BssEntry*>(b), (int)column, CompareTexts);
}

void CBssWatchDlg::CellText(LPARAM row, int column, char* text, size_t size)
{
    BssCellText(*reinterpret_cast<BssEntry*>(row), column, text, size);
}

// A click on the list, on a row or not, picks the row to join.
BOOL CBssWatchDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (CWatchDlg::OnNotify(wParam, lParam, result))
        return TRUE;
    const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
    if (hdr->idFrom != IDC_BSS_LIST || (hdr->code != NM_CLICK && hdr->code != NM_RCLICK))
        return FALSE;
    OnSelect();
    *result = 0;
    return TRUE;
}

void CBssWatchDlg::OnSelect()
{
    POINT pt;
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_list, &pt);
    int hit = m_list.HitTest(pt);
    m_selected = hit >= 0 ? reinterpret_cast<BssEntry*>(m_list.GetItemData(hit)) : nullptr;
    EnableButton(IDC_BSS_JOIN, m_selected != nullptr && !m_scanning);
}

// ---------------------------------------------------------------------------
// Commands

BOOL CBssWatchDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDC_BSS_SCAN:
        OnScan();
        return TRUE;
    case IDC_BSS_JOIN:
        OnJoin();
        return TRUE;
    case IDM_ADVANCED_MODE:
        OnToggleAdvanced();
        return TRUE;
    }
    return CWatchDlg::OnCommand(wParam, lParam);
}

// Scan, Join and Cancel are card polls of their own. Asked for while another
// poll holds the card (waiting behind one of its boxes) they do nothing: the
// user asks again once that box is answered.
void CBssWatchDlg::OnScan()
{
    if (m_reading || m_scanning)
        return;
    AdapterLock lock;
    if (!lock.IsHeld())
        return;
    m_count = 0;
    m_currentState = nullptr;
    ClearListNow();
    m_selected = nullptr;
    EnableButton(IDC_WATCH_CANCEL, true);
    EnableButton(IDC_WATCH_OK, false, IDC_WATCH_CANCEL);
    EnableButton(IDC_BSS_SCAN, false, IDC_WATCH_CANCEL);
    EnableButton(IDC_BSS_JOIN, false, IDC_WATCH_CANCEL);
    ShowWaitCursor();
    GetAdapterState().ScanInProgress = TRUE;
    m_scanning = true;

    BYTE started = StartBssScan();
    lock.Release();
    if (!m_hWnd)
        return;
    if (started != 0 && started != ITEM_NO_RESPONSE) {
        // The card refused every start: nothing runs to wait for. Back to
        // idle with the table as the card holds it (as after Cancel), and
        // say so. A card that did not answer is left to the first poll,
        // which closes.
        OnCancel();
        if (m_hWnd)
            g_os.MessageBoxA(m_hWnd, LoadStr(IDS_SCAN_NOT_STARTED).c_str(),
                             LoadStr(IDS_WARNING).c_str(), MB_ICONEXCLAMATION);
        return;
    }
    if (started == 0)
        RecordHistoryEvent(HISTORY_SCAN_STARTED);
    SetTimer(SCAN_TIMER, SCAN_POLL_MS);
}

void CBssWatchDlg::EndScanState()
{
    m_scanning = false;
    GetAdapterState().ScanInProgress = FALSE;
}

void CBssWatchDlg::OnTimer(UINT_PTR id)
{
    if (id != SCAN_TIMER) {
        CDialog::OnTimer(id);
        return;
    }
    if (!m_scanning)
        return; // a tick already queued when the scan ended
    AdapterLock lock;
    if (!lock.IsHeld() || m_reading)
        return;
    // A card found silent elsewhere is not polled: it ends the scan as a
    // poll without answer would.
    WORD finished = 0;
    if (GetAdapterState().m_bAdapterFailed ||
        QueryCardItem(CI_BSS_SCAN_DONE, &finished, sizeof finished) != ITEM_OK) {
        lock.Release();
        OnCardSilent();
        return;
    }
    if (finished) {
        KillTimer(SCAN_TIMER);
        if (!ReadWholeTable()) {
            lock.Release();
            OnCardSilent();
            return;
        }
        RecordHistoryEvent(HISTORY_SCAN_FINISHED, "", "", m_tableSize);
        if (m_count != 0)
            FillList();
        ShowIdleButtons();
        ShowArrowCursor();
        ::SetFocus(m_hWnd);
        EndScanState();
    }
}

// The card stopped answering the poll, or left a table read unanswered: say
// so (once for the program), close, and ask the program to close.
void CBssWatchDlg::OnCardSilent()
{
    KillTimer(SCAN_TIMER);
    EndScanState();
    ShowArrowCursor();
    ReportAdapterSilent(m_hWnd);
    if (m_hWnd)
        DestroyWindow();
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd && app->m_pMainWnd->m_hWnd)
        ::SendMessageA(app->m_pMainWnd->m_hWnd, WM_CLOSE, 0, 0);
}

void CBssWatchDlg::ShowIdleButtons()
{
    EnableButton(IDC_WATCH_OK, true);
    EnableButton(IDC_BSS_SCAN, true);
    EnableButton(IDC_BSS_JOIN, false, IDC_BSS_SCAN);
    EnableButton(IDC_WATCH_CANCEL, false, IDC_BSS_SCAN);
}

void CBssWatchDlg::OnCancel()
{
    if (m_reading)
        return;
    AdapterLock lock;
    if (!lock.IsHeld())
        return;
    EnableButton(IDC_BSS_SCAN, true);
    EnableButton(IDC_WATCH_CANCEL, false, IDC_BSS_SCAN);
    KillTimer(SCAN_TIMER);
    bool read = ReadTableSize();
    EndScanState();
    m_selected = nullptr;
    m_list.DeleteAllItems();
    if (read && m_count != 0)
        read = ReadBssTable();
    if (!read) {
        lock.Release();
        OnCardSilent();
        return;
    }
    if (m_count != 0)
        FillList();
    ShowIdleButtons();
    ShowArrowCursor();
}

void CBssWatchDlg::OnJoin()
{
    if (!m_selected || m_reading || m_scanning)
        return;
    AdapterLock lock;
    if (!lock.IsHeld())
        return;
    HCURSOR before = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    BssEntry* joined = m_selected;
    if (JoinNetwork(joined->networkType, joined->bssid, joined->essid) != 0) {
        lock.Release();
        ::SetCursor(before);
        DestroyWindow();
        return;
    }
    RecordHistoryEvent(HISTORY_JOIN, joined->essid, joined->bssid);
    if (m_currentState && (::lstrcmpiA(m_currentState, kAssociated) == 0 ||
                           ::lstrcmpiA(m_currentState, kJoined) == 0))
        m_currentState[0] = '\0';
    QueryCardItem(CI_LINK_STATE, joined->state, sizeof joined->state);
    lock.Release();
    m_currentState = joined->state;
    m_list.DeleteAllItems();
    FillList();
    // A click on Join left the focus on it: it goes to the list, where the
    // user picks the next row.
    EnableButton(IDC_BSS_JOIN, false, IDC_BSS_LIST);
    ::SetCursor(before);
}

void CBssWatchDlg::OnToggleAdvanced()
{
    if (m_advanced) {
        SetWindowText(m_savedCaption);
        m_savedCaption[0] = '\0';
        m_advanced = false;
        return;
    }
    ::GetWindowTextA(m_hWnd, m_savedCaption, sizeof m_savedCaption);
    char caption[160];
    snprintf(caption, sizeof caption, LoadStr(IDS_ADVANCED_CAPTION).c_str(), m_savedCaption);
    SetWindowText(caption);
    m_advanced = true;
}

LRESULT CBssWatchDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CARD_SILENT) {
        OnCardSilent();
        return 0;
    }
    return CWatchDlg::WindowProc(msg, wParam, lParam);
}

void CBssWatchDlg::OnDestroy()
{
    // A window closed while a scan ran leaves neither the scanning flag nor
    // the wait cursor behind.
    if (m_scanning) {
        KillTimer(SCAN_TIMER);
        EndScanState();
        ShowArrowCursor();
    }
    CWatchDlg::OnDestroy();
}
