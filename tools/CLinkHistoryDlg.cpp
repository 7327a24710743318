// CLinkHistoryDlg.cpp - the chart replayed from the history, the event list
// kept up to date, copying and clearing it, and the survey log's buttons.
#include "tools/CLinkHistoryDlg.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

#include "adapter/AdapterState.h"
#include "adapter/LinkHistory.h"
#include "framework/CComboBox.h"
#include "framework/CWinApp.h"
#include "res/resource.h"
#include "tools/CSurveyLog.h"
#include "tools/CSurveyMarkDlg.h"
#include "tools/HistoryLayout.h"
#include "tools/HistoryText.h"
#include "tools/ToolPlacement.h"
#include "widgets/DialogLayout.h"

static_assert(IDS_EVENT_LOG_FAILED - IDS_EVENT_BAND_GOOD + 1 == HISTORY_EVENT_KINDS,
              "one text a kind of event, in the kinds' order");
static_assert(IDS_SPAN_DAY - IDS_SPAN_10_MINUTES + 1 == CLinkHistoryDlg::SPAN_COUNT,
              "one text a span");
static_assert(IDS_SPAN_START_DAY - IDS_SPAN_START_10_MINUTES + 1 == CLinkHistoryDlg::SPAN_COUNT,
              "one start label a span");

namespace {

const COLORREF kChartBack = RGB(0, 0, 64);
const COLORREF kChartGrid = RGB(0, 128, 0);
const COLORREF kQualityColor = RGB(0, 255, 0);
const COLORREF kPoorLevel = RGB(128, 0, 0);
const COLORREF kGoodLevel = RGB(128, 128, 0);
// Room beside the widest time, for the list's own margins.
const int kTimeMargin = 16;

// The names of the saved settings (one bit each, from the first setting's
// string on), joined by ", ".
std::string SettingNames(int settings)
{
    std::string names;
    for (int bit = 0; bit < 32; ++bit) {
        if (!(settings & (1 << bit)))
            continue;
        if (!names.empty())
            names += ", ";
        names += LoadStr(IDS_SETTING_NETWORK_TYPE + bit);
    }
    return names;
}

} // namespace

const uint32_t CLinkHistoryDlg::kSpanSeconds[SPAN_COUNT] = {600, 3600, 86400};

CLinkHistoryDlg::CLinkHistoryDlg(CSurveyLog& log, CWnd* parent)
    : CDialog(IDD_LINK_HISTORY, parent), m_log(log), m_shownSerial(0), m_minSize{0, 0}
{
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    m_icon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_LINK_HISTORY));
    m_smallIcon = (HICON)::LoadImageA(instance, MAKEINTRESOURCEA(IDI_LINK_HISTORY), IMAGE_ICON, 16,
                                      16, LR_SHARED);
}

CLinkHistoryDlg::~CLinkHistoryDlg() = default;

BOOL CLinkHistoryDlg::Create(CWnd* parent)
{
    if (!CDialog::Create(parent))
        return FALSE;
    ShowWindow(SW_SHOW);
    return TRUE;
}

std::string CLinkHistoryDlg::EventText(const HistoryEvent& event)
{
    if (event.kind >= HISTORY_EVENT_KINDS)
        return std::string();
    const std::string first =
        event.kind == HISTORY_SETTINGS ? SettingNames(event.number) : std::string(event.first);
    return FillText(LoadStr(IDS_EVENT_BAND_GOOD + event.kind), first, event.second,
                    std::to_string(event.number));
}

// ---------------------------------------------------------------------------
// Opening

BOOL CLinkHistoryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_icon);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)(m_smallIcon ? m_smallIcon : m_icon));

    CComboBox span(GetDlgItem(IDC_HISTORY_SPAN));
    for (int i = 0; i < SPAN_COUNT; ++i)
        span.AddString(LoadStr(IDS_SPAN_10_MINUTES + i).c_str());
    span.SetCurSel(0);

    SetUpChart();
    m_list.SubclassDlgItem(IDC_HISTORY_EVENTS, this);
    m_list.EnableWholeRowSelection(true);
    const int timeWidth =
        (int)m_list.SendMessage(LVM_GETSTRINGWIDTHA, 0, (LPARAM) "0000-00-00 00:00:00") +
        kTimeMargin;
    m_list.InsertColumn(0, LoadStr(IDS_HISTORY_COL_TIME).c_str(), LVCFMT_LEFT, timeWidth);
    m_list.InsertColumn(1, LoadStr(IDS_HISTORY_COL_EVENT).c_str(), LVCFMT_LEFT, 0);
    FitEventColumn();
    FillEvents();
    Replay();
    ShowLogState();

    CenterWindow();
    KeepOwnerVisible(m_hWnd);
    RECT rc;
    GetWindowRect(&rc);
    m_minSize.cx = rc.right - rc.left;
    m_minSize.cy = rc.bottom - rc.top;
    return TRUE;
}

void CLinkHistoryDlg::SetUpChart()
{
    CWindow frame = GetDlgItem(IDC_HISTORY_CHART_FRAME);
    RECT rc = {0, 0, 0, 0};
    if (frame) {
        frame.GetWindowRect(&rc);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        frame.ShowWindow(SW_HIDE);
    }
    if (!m_chart.Create(WS_CHILD | WS_VISIBLE, rc, m_hWnd, IDC_HISTORY_CHART))
        return;
    // Below the span list in the tab order, as the frame stands in the template.
    ::SetWindowPos(m_chart, frame, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_chart.SetRange(0.0f, 100.0f, 0);
    m_chart.SetYTitle(LoadStr(IDS_HISTORY_Y_TITLE).c_str());
    ShowSpanLabels(0);
    m_chart.SetBackColor(kChartBack);
    m_chart.SetGridColor(kChartGrid);
    m_chart.AddSeries(kQualityColor, 100.0f, 0.0f);
    m_chart.AddLevelLine((float)30, kPoorLevel);
    m_chart.AddLevelLine((float)60, kGoodLevel);
}

// ---------------------------------------------------------------------------
// The chart

void CLinkHistoryDlg::ShowSpanLabels(int index)
{
    if (!m_chart.IsWindow())
        return;
    m_chart.SetXTitle(
        FillText(LoadStr(IDS_HISTORY_X_TITLE), LoadStr(IDS_SPAN_10_MINUTES + index)).c_str());
    m_chart.SetXLabels(LoadStr(IDS_SPAN_START_10_MINUTES + index).c_str(),
                       LoadStr(IDS_SPAN_END).c_str());
}

void CLinkHistoryDlg::Replay()
{
    if (!m_chart.IsWindow())
        return;
    int index = CComboBox(GetDlgItem(IDC_HISTORY_SPAN)).GetCurSel();
    if (index < 0 || index >= SPAN_COUNT)
        index = 0;
    const int count = m_chart.GetSamplesAcross();
    const std::vector<float> buckets = GetLinkHistory().ChartBuckets(kSpanSeconds[index], count);
    m_chart.ClearTraces();
    // From the first bucket that holds a sample to the newest, so a history
    // shorter than the span fills the right of the plot; a bucket without a
    // sample holds the value before it.
    int first = 0;
    while (first < count && buckets[first] < 0)
        ++first;
    if (first == count)
        return;
    float value = buckets[first];
    m_chart.SetValue(0, value);
    for (int k = first; k < count; ++k) {
        if (buckets[k] >= 0)
            value = buckets[k];
        m_chart.SetValue(0, value);
        m_chart.Advance();
    }
}

// ---------------------------------------------------------------------------
// The event list

void CLinkHistoryDlg::InsertEvent(int index, const HistoryEvent& event)
{
    const int row = m_list.InsertItem(index, HistoryTimeText(event.time).c_str());
    if (row >= 0)
        m_list.SetItemText(row, 1, EventText(event).c_str());
}

void CLinkHistoryDlg::FillEvents()
{
    const LinkHistory& history = GetLinkHistory();
    m_list.DeleteAllItems();
    // Newest first.
    for (size_t i = history.EventCount(); i-- > 0;)
        InsertEvent(m_list.GetItemCount(), history.EventAt(i));
    m_shownSerial = history.EventSerial();
}

void CLinkHistoryDlg::AddNewEvents()
{
    const LinkHistory& history = GetLinkHistory();
    const uint32_t added = history.EventSerial() - m_shownSerial;
    if (added == 0)
        return;
    // More than the ring holds went by: some the list shows are gone.
    if (added > history.EventCount()) {
        FillEvents();
        return;
    }
    for (size_t i = history.EventCount() - added; i < history.EventCount(); ++i)
        InsertEvent(0, history.EventAt(i));
    // The oldest rows go with the events the ring dropped.
    while ((size_t)m_list.GetItemCount() > history.EventCount())
        m_list.DeleteItem(m_list.GetItemCount() - 1);
    m_shownSerial = history.EventSerial();
}

void CLinkHistoryDlg::FitEventColumn()
{
    // Room is kept for the vertical scroll bar whether it shows or not, so
    // a list that grows past its height never needs a horizontal one.
    RECT rc;
    m_list.GetClientRect(&rc);
    int width = rc.right;
    if (!(m_list.GetStyle() & WS_VSCROLL))
        width -= ::GetSystemMetrics(SM_CXVSCROLL);
    const int rest = width - m_list.GetColumnWidth(0);
    m_list.SetColumnWidth(1, rest > 0 ? rest : 0);
}

void CLinkHistoryDlg::CopyRows()
{
    // The selected rows, or all of them, oldest first.
    std::vector<int> rows;
    for (int i = m_list.GetNextItem(-1, LVNI_SELECTED); i >= 0;
         i = m_list.GetNextItem(i, LVNI_SELECTED))
        rows.push_back(i);
    if (rows.empty())
        for (int i = 0; i < m_list.GetItemCount(); ++i)
            rows.push_back(i);
    std::string text;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        text += m_list.GetItemText(*row, 0) + "\t" + m_list.GetItemText(*row, 1) + "\r\n";

    if (!::OpenClipboard(m_hWnd))
        return;
    ::EmptyClipboard();
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1);
    if (memory) {
        if (void* data = ::GlobalLock(memory)) {
            memcpy(data, text.c_str(), text.size() + 1);
            ::GlobalUnlock(memory);
            if (::SetClipboardData(CF_TEXT, memory))
                memory = nullptr; // the clipboard's now
        }
        if (memory)
            ::GlobalFree(memory);
    }
    ::CloseClipboard();
}

void CLinkHistoryDlg::ClearEvents()
{
    GetLinkHistory().ClearEvents();
    m_list.DeleteAllItems();
    m_shownSerial = GetLinkHistory().EventSerial();
}

// ---------------------------------------------------------------------------
// The survey log

void CLinkHistoryDlg::ShowLogState()
{
    std::string state;
    if (m_log.IsRecording()) {
        state = FillText(LoadStr(IDS_SURVEY_RECORDING), m_log.GetPath());
        if (!m_log.GetMark().empty())
            state += FillText(LoadStr(IDS_SURVEY_MARK_STATE), m_log.GetMark());
    } else {
        state = LoadStr(IDS_SURVEY_NOT_RECORDING);
    }
    if (GetDlgItemText(IDC_HISTORY_STATE) != state)
        SetDlgItemText(IDC_HISTORY_STATE, state.c_str());
    // A log started on a failed adapter would get no line: Record waits for
    // a working one.
    const bool recording = m_log.IsRecording();
    CWindow(GetDlgItem(IDC_HISTORY_RECORD))
        .EnableWindow(!recording && !GetAdapterState().m_bAdapterFailed);
    CWindow(GetDlgItem(IDC_HISTORY_MARK)).EnableWindow(recording);
    CWindow(GetDlgItem(IDC_HISTORY_STOP)).EnableWindow(recording);
}

void CLinkHistoryDlg::RecordLog()
{
    if (!GetAdapterState().m_bAdapterFailed)
        m_log.Record(m_hWnd);
    if (!m_hWnd)
        return;
    ShowLogState();
    AddNewEvents();
}

void CLinkHistoryDlg::MarkLog()
{
    if (!m_log.IsRecording())
        return;
    CSurveyMarkDlg mark(m_log.GetMark(), this);
    if (mark.DoModal() == IDOK)
        m_log.SetMark(mark.GetNote());
    if (!m_hWnd)
        return;
    ShowLogState();
    AddNewEvents();
}

void CLinkHistoryDlg::StopLog()
{
    m_log.Stop();
    ShowLogState();
    AddNewEvents();
}

// ---------------------------------------------------------------------------
// Commands and messages

BOOL CLinkHistoryDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDC_HISTORY_SPAN:
        if (HIWORD(wParam) == CBN_SELCHANGE) {
            const int index = CComboBox(GetDlgItem(IDC_HISTORY_SPAN)).GetCurSel();
            if (index >= 0 && index < SPAN_COUNT)
                ShowSpanLabels(index);
            Replay();
        }
        return TRUE;
    case IDC_HISTORY_COPY:
        CopyRows();
        return TRUE;
    case IDC_HISTORY_CLEAR:
        ClearEvents();
        return TRUE;
    case IDC_HISTORY_RECORD:
        RecordLog();
        return TRUE;
    case IDC_HISTORY_MARK:
        MarkLog();
        return TRUE;
    case IDC_HISTORY_STOP:
        StopLog();
        return TRUE;
    case IDC_HISTORY_HELP:
        AfxHelpKeyword(m_hWnd, IDS_HISTORY_HELP_KEY, true);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

BOOL CLinkHistoryDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
    if (hdr->idFrom == IDC_HISTORY_EVENTS && hdr->code == LVN_KEYDOWN) {
        const NMLVKEYDOWN* key = reinterpret_cast<const NMLVKEYDOWN*>(lParam);
        if (key->wVKey == 'C' && ::GetKeyState(VK_CONTROL) < 0) {
            CopyRows();
            *result = 0;
            return TRUE;
        }
    }
    return CDialog::OnNotify(wParam, lParam, result);
}

void CLinkHistoryDlg::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    if (!m_list.m_hWnd || !m_chart.IsWindow() || type == SIZE_MINIMIZED)
        return;
    ApplyLayout(m_hWnd, g_linkHistoryLayout);
    FitEventColumn();
    // The chart built its layers anew for its size: its history is drawn again.
    Replay();
}

void CLinkHistoryDlg::Close()
{
    DestroyWindow();
}

void CLinkHistoryDlg::OnClose()
{
    Close();
}

void CLinkHistoryDlg::OnOK()
{
    Close();
}

void CLinkHistoryDlg::OnCancel()
{
    Close();
}

void CLinkHistoryDlg::OnDestroy()
{
    m_minSize.cx = m_minSize.cy = 0;
    CDialog::OnDestroy();
}

LRESULT CLinkHistoryDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_HISTORY_CHANGED:
        if (m_list.m_hWnd) {
            AddNewEvents();
            Replay();
            ShowLogState();
        }
        return 0;
    case WM_GETMINMAXINFO:
        if (m_minSize.cx > 0 || m_minSize.cy > 0) {
            MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize.x = m_minSize.cx;
            info->ptMinTrackSize.y = m_minSize.cy;
            return 0;
        }
        break;
    }
    return CDialog::WindowProc(msg, wParam, lParam);
}
