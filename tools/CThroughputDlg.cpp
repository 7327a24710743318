// CThroughputDlg.cpp - caption, chart set-up, the sampling tick and the
// statistics mode.
#include "tools/CThroughputDlg.h"

#include "adapter/AdapterState.h"
#include "adapter/CardItems.h"
#include "adapter/Mailbox.h"
#include "framework/CWinApp.h"
#include "framework/Os.h"
#include "res/resource.h"
#include "tools/StatisticsText.h"

namespace {

const COLORREF kSentColor = RGB(0, 255, 0);
const COLORREF kReceivedColor = RGB(0, 255, 255);
const COLORREF kChartBack = RGB(0, 0, 64);
const COLORREF kChartGrid = RGB(0, 128, 0);
const COLORREF kLabelBack = RGB(0, 0, 0);

} // namespace

CThroughputDlg::CThroughputDlg(CWnd* parent)
    : CDialog(IDD_THROUGHPUT, parent), m_showState(false),
      m_statistics(new CStatisticsDlg(this)),
      m_icon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_THROUGHPUT)))
{
    LoadAccelTable(IDR_ACCELERATORS);
}

CThroughputDlg::~CThroughputDlg() = default;

BOOL CThroughputDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_icon);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)m_icon);
    CenterWindow();

    BuildTitle();
    SetWindowText(m_title.c_str());

    SetTimer(SAMPLE_TIMER, SAMPLE_PERIOD);
    m_window.Reset();

    CWinApp* app = AfxGetApp();
    AdapterState& state = GetAdapterState();
    state.m_nStatisticMode = app ? (int)app->GetProfileInt(ModeSection(), ModeEntry(), 0) : 0;
    ::ShowWindow(GetDlgItem(IDC_THRU_STATISTICS), state.m_nStatisticMode ? SW_SHOW : SW_HIDE);
    m_showState = state.m_nStatisticMode != 0;

    SetUpChart();

    m_sentLabel.SubclassDlgItem(IDC_THRU_SENT, this);
    m_sentLabel.ChangeTextColor(kSentColor).ChangeBackColor(kLabelBack).SetBold(true);
    m_receivedLabel.SubclassDlgItem(IDC_THRU_RECEIVED, this);
    m_receivedLabel.ChangeTextColor(kReceivedColor).ChangeBackColor(kLabelBack).SetBold(true);
    return TRUE;
}

BYTE CThroughputDlg::ReadCardItem(int item, void* output, size_t size)
{
    return QueryCardItem(item, output, size);
}

void CThroughputDlg::BuildTitle()
{
    m_title = GetWindowText().substr(0, MAX_CAPTION);
    char name[CARD_ITEM_BUFFER_SIZE];
    ReadCardItem(CI_STATION_NAME, name, sizeof(name));   // a failed read leaves the name empty
    m_title += ": ";
    m_title += name;
    char mac[CARD_ITEM_BUFFER_SIZE];
    if (ReadCardItem(CI_MAC_ADDRESS, mac, sizeof(mac)) == ITEM_OK) {
        m_title += " (";
        m_title += mac;
        m_title += ")";
    }
    if (m_title.size() > MAX_TITLE - 1)
        m_title.resize(MAX_TITLE - 1);
}

void CThroughputDlg::SetUpChart()
{
    // A card that offers more than 1 Mbit/s (or that cannot say) gets the
    // larger scale.
    const float range = CardHasHighRate() != 0 ? 200.0f : 100.0f;

    HWND frame = GetDlgItem(IDC_THRU_CHART_FRAME);
    RECT rc = {0, 0, 0, 0};
    if (frame) {
        ::GetWindowRect(frame, &rc);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        ::ShowWindow(frame, SW_HIDE);
    }
    if (!m_chart.Create(WS_CHILD | WS_VISIBLE, rc, m_hWnd, IDC_THRU_CHART))
        return;
    m_chart.SetRange(0.0f, range, 0);
    m_chart.SetYTitle(LoadStr(IDS_CHART_Y_TITLE).c_str());
    m_chart.SetXTitle(LoadStr(IDS_CHART_X_TITLE).c_str());
    m_chart.SetBackColor(kChartBack);
    m_chart.SetGridColor(kChartGrid);
    m_chart.AddSeries(kSentColor, range, 0.0f);
    m_chart.AddSeries(kReceivedColor, range, 0.0f);
}

void CThroughputDlg::OnTimer(UINT_PTR id)
{
    if (id != SAMPLE_TIMER) {
        Default();
        return;
    }
    Sample();
}

void CThroughputDlg::Sample()
{
    StatisticsBlock block;
    {
        AdapterLock lock;
        if (!lock.IsHeld())
            return;
        if (ReadCardItem(CI_STATISTICS, &block, sizeof(block)) != ITEM_OK) {
            KillTimer(SAMPLE_TIMER);
            DestroyWindow();
            return;
        }
    }
    const RateResult r = m_window.Push(RateSample::From(block));
    if (r.txRate > CStatisticsDlg::PLAUSIBLE_RATE || r.rxRate > CStatisticsDlg::PLAUSIBLE_RATE)
        return;
    const double sent = r.txRate / 1024.0, received = r.rxRate / 1024.0;
    if (m_chart.IsWindow()) {
        m_chart.SetValue(0, (float)sent);
        m_chart.SetValue(1, (float)received);
        m_chart.Advance();
    }
    m_sentLabel.ChangeText(KbytesText(r.txRate).c_str());
    m_receivedLabel.ChangeText(KbytesText(r.rxRate).c_str());
    SetDlgItemText(IDC_THRU_UPTIME, UptimeText(block.uptime).c_str());
    if (m_showState) {
        char state[CARD_ITEM_BUFFER_SIZE];
        ReadCardItem(CI_LINK_STATE, state, sizeof(state));
        SetWindowText((m_title + ", " + state).c_str());
    }
    Default();
}

void CThroughputDlg::ToggleStatisticMode()
{
    AdapterState& state = GetAdapterState();
    if (state.m_nStatisticMode) {
        ::ShowWindow(GetDlgItem(IDC_THRU_STATISTICS), SW_HIDE);
        state.m_nStatisticMode = 0;
        m_showState = false;
        SetWindowText(m_title.c_str());
    } else {
        ::ShowWindow(GetDlgItem(IDC_THRU_STATISTICS), SW_SHOW);
        m_showState = true;
        state.m_nStatisticMode = 1;
    }
}

void CThroughputDlg::OpenStatistics()
{
    if (m_statistics->IsWindow()) {
        ::SetFocus(m_statistics->m_hWnd);
        return;
    }
    m_statistics->Create(this);
    if (!m_statistics->IsWindow())
        g_os.MessageBoxA(m_hWnd, LoadStr(IDS_UNABLE_DISPLAY).c_str(), LoadStr(IDS_ERROR).c_str(),
                         MB_ICONHAND | MB_SYSTEMMODAL);
}

void CThroughputDlg::ShowHelp()
{
    AfxHelpKeyword(m_hWnd, IDS_THROUGHPUT_HELP_KEY, true);
}

void CThroughputDlg::Close()
{
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileInt(ModeSection(), ModeEntry(), GetAdapterState().m_nStatisticMode);
    KillTimer(SAMPLE_TIMER);
    DestroyWindow();
}

void CThroughputDlg::OnClose()
{
    Close();
}

BOOL CThroughputDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDM_STATE_MODE:
        ToggleStatisticMode();
        return TRUE;
    case IDC_THRU_STATISTICS:
        OpenStatistics();
        return TRUE;
    case IDC_THRU_HELP:
        ShowHelp();
        return TRUE;
    case IDC_THRU_OK:
    case IDCANCEL:   // Esc
        Close();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}
