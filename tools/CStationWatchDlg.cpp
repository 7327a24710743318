// CStationWatchDlg.cpp - the station read, the list with its caption,
// Refresh with its single timer and Cancel.
#include "tools/CStationWatchDlg.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "adapter/AdapterState.h"
#include "adapter/CardItems.h"
#include "adapter/Mailbox.h"
#include "framework/CWinApp.h"
#include "framework/Os.h"
#include "res/resource.h"
#include "tools/StationTable.h"
#include "tools/WatchLayout.h"
#include "tools/WatchRows.h"
#include "widgets/CTaskProgressWnd.h"

namespace {

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
    explicit CardStations(CTaskProgressWnd* progress) : m_progress(progress) {}
    unsigned char ReadEntry(uint16_t index, uint8_t* answer, bool& unanswered) override
    {
        return QueryCardItem(CI_STA_ENTRY, answer, STATION_ANSWER_SIZE, &unanswered);
    }
    void BeforeEntry() override
    {
        if (m_progress) {
            m_progress->Advance();
            m_progress->PumpPending(true);
        }
    }

private:
    CTaskProgressWnd* m_progress;
};

// A help file that cannot be opened is not reported here.
CStationWatchDlg::CStationWatchDlg(CWnd* parent)
    : CWatchDlg(IDD_STATION_WATCH, IDC_STATION_LIST, g_stationWatchLayout, false, parent),
      m_entries{}, m_count(0), m_stationName{}, m_refreshing(false)
{}

CStationWatchDlg::~CStationWatchDlg() = default;

BOOL CStationWatchDlg::OnInitDialog()
{
    CWatchDlg::OnInitDialog();
    m_count = 0;

    // Opened beside another card poll (from the tray, by a second start),
    // the window does not break into it: it opens empty, as a card without
    // answer leaves it, and Escape or Refresh reads later. A card found
    // silent is not asked at all.
    bool lost = false;
    {
        AdapterLock lock;
        const bool ask = CardMayBeAsked(lock);
        if (!ask ||
            QueryCardItem(CI_STATION_NAME, m_stationName, sizeof m_stationName) != ITEM_OK ||
            m_stationName[0] == '\0')
            snprintf(m_stationName, sizeof m_stationName, "%s",
                     LoadStr(IDS_NO_STATION_NAME).c_str());
        if (ask)
            lost = !ReadWholeTable();
    }

    static const UINT headers[STA_COLUMN_COUNT] = {IDS_COL_COMPUTER_NAME, IDS_COL_NODE_ADDRESS,
                                                   IDS_COL_INACTIVE_TIME};
    // Three equal columns.
    static const int weights[STA_COLUMN_COUNT] = {1, 1, 1};
    AddColumns(headers, weights, STA_COLUMN_COUNT, 3, 2);
    FillList();

    EnableButton(IDC_WATCH_CANCEL, false);
    RememberMinSize();
    // A card that left the read unanswered is said once the window stands.
    if (lost)
        PostMessage(WM_CARD_SILENT);
    return TRUE;
}

bool CStationWatchDlg::ReadWholeTable()
{
    bool unanswered = false;
    m_count = ReadTableCount(CI_STATION_COUNT, &unanswered);
    if (unanswered || m_count == 0)
        return !unanswered;
    return ReadStations();
}

bool CStationWatchDlg::ReadStations()
{
    int n = m_count > BSS_TABLE_MAX ? BSS_TABLE_MAX : m_count;
    m_reading = true;
    CTaskProgressWnd progress;
    bool withProgress = OpenReadProgress(progress, n, IDS_STATION_PROGRESS);
    CardStations card(withProgress ? &progress : nullptr);
    std::string notAvailable = LoadStr(IDS_INACTIVE_UNKNOWN);
    int filled = ReadStationTable(n, card, notAvailable.c_str(), m_entries, BSS_TABLE_MAX);
    m_count = (WORD)(filled < 0 ? 0 : filled);
    m_reading = false;
    return filled >= 0;
}

void CStationWatchDlg::FillList()
{
    for (int i = 0; i < m_count; ++i)
        InsertRow(i, (LPARAM)&m_entries[i], LVIF_TEXT | LVIF_PARAM | LVIF_STATE);
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

void CStationWatchDlg::CellText(LPARAM row, int column, char* text, size_t size)
{
    StationCellText(*reinterpret_cast<const StationEntry*>(row), column, text, size);
}

BOOL CStationWatchDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDC_STATION_REFRESH:
        OnRefresh();
        return TRUE;
    case IDM_ADVANCED_MODE:
        return TRUE; // the accelerator has no meaning here
    }
    return CWatchDlg::OnCommand(wParam, lParam);
}

// Refresh and Cancel are card polls of their own. Asked for while another
// poll holds the card (waiting behind one of its boxes) they do nothing: the
// user asks again once that box is answered. A card found silent is asked
// nothing: it has no stations to show.
void CStationWatchDlg::OnRefresh()
{
    if (m_reading || m_refreshing)
        return;
    AdapterLock lock;
    if (!lock.IsHeld())
        return;
    if (GetAdapterState().m_bAdapterFailed) {
        ShowNoStations();
        return;
    }
    m_count = 0;
    ClearListNow();
    EnableButton(IDC_WATCH_CANCEL, true);
    EnableButton(IDC_WATCH_OK, false, IDC_WATCH_CANCEL);
    EnableButton(IDC_STATION_REFRESH, false, IDC_WATCH_CANCEL);
    ShowWaitCursor();
    StartStationScan();
    lock.Release();
    if (!m_hWnd)
        return;
    m_refreshing = true;
    SetTimer(REFRESH_TIMER, REFRESH_WAIT_MS);
}

bool CStationWatchDlg::CardMayBeAsked(const AdapterLock& lock) const
{
    return lock.IsHeld() && !GetAdapterState().m_bAdapterFailed;
}

void CStationWatchDlg::ShowNoStations()
{
    m_count = 0;
    m_list.DeleteAllItems();
    FillList();
    ShowIdleButtons();
    ShowArrowCursor();
}

void CStationWatchDlg::OnTimer(UINT_PTR id)
{
    if (id != REFRESH_TIMER) {
        CDialog::OnTimer(id);
        return;
    }
    if (m_reading || !m_refreshing)
        return;
    bool lost = false;
    {
        // Another poll holds the card (waiting behind a message box): the
        // table is read a little later instead.
        AdapterLock lock;
        if (!lock.IsHeld()) {
            SetTimer(REFRESH_TIMER, BUSY_RETRY_MS);
            return;
        }
        KillTimer(REFRESH_TIMER);
        m_refreshing = false;
        // A card found silent elsewhere is not asked: no stations.
        m_count = 0;
        if (CardMayBeAsked(lock))
            lost = !ReadWholeTable();
    }
    FillList();
    ShowIdleButtons();
    ShowArrowCursor();
    ::SetFocus(m_hWnd);
    if (lost)
        OnCardSilent();
}

void CStationWatchDlg::ShowIdleButtons()
{
    EnableButton(IDC_WATCH_OK, true);
    EnableButton(IDC_STATION_REFRESH, true);
    EnableButton(IDC_WATCH_CANCEL, false, IDC_STATION_REFRESH);
}

void CStationWatchDlg::OnCancel()
{
    if (m_reading)
        return;
    AdapterLock lock;
    if (!lock.IsHeld())
        return;
    KillTimer(REFRESH_TIMER);
    m_refreshing = false;
    EnableButton(IDC_STATION_REFRESH, true);
    EnableButton(IDC_WATCH_CANCEL, false, IDC_STATION_REFRESH);
    m_count = 0;
    m_list.DeleteAllItems();
    bool lost = CardMayBeAsked(lock) && !ReadWholeTable();
    lock.Release();
    FillList();
    ShowIdleButtons();
    ShowArrowCursor();
    if (lost)
        OnCardSilent();
}

// A table read the card left unanswered: the user is told once that the
// adapter has no response, and the list stays empty, as for any card that
// does not answer; a shorter list is never shown.
void CStationWatchDlg::OnCardSilent()
{
    ReportAdapterSilent(m_hWnd);
}

LRESULT CStationWatchDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CARD_SILENT) {
        OnCardSilent();
        return 0;
    }
    return CWatchDlg::WindowProc(msg, wParam, lParam);
}

void CStationWatchDlg::OnDestroy()
{
    // A window closed during a refresh leaves no wait cursor behind.
    if (m_refreshing) {
        KillTimer(REFRESH_TIMER);
        m_refreshing = false;
        ShowArrowCursor();
    }
    CWatchDlg::OnDestroy();
}
