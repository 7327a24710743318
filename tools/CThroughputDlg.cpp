// CThroughputDlg.cpp - caption, chart set-up, the sampling tick and the
// statistics mode.
#include "tools/CThroughputDlg.h"

#include "adapter/AdapterState.h"
#include "adapter/CardItems.h"
#include "adapter/Mailbox.h"
#include "framework/CWinApp.h"
#include "framework/Gdi.h"
#include "framework/Os.h"
#include "res/resource.h"
#include "tools/StatisticsPoll.h"
#include "tools/StatisticsText.h"
#include "tools/ToolPlacement.h"

#include <algorithm>
#include <string>

namespace {

const COLORREF kSentColor = RGB(0, 255, 0);
const COLORREF kReceivedColor = RGB(0, 255, 255);
const COLORREF kChartBack = RGB(0, 0, 64);
const COLORREF kChartGrid = RGB(0, 128, 0);
const COLORREF kLabelBack = RGB(0, 0, 0);
// The most a figure shows: rates above 200 Kbytes a second are not shown.
const int kFigureDigits = 3;

// The widest figure the font can draw (the widest digit in every place),
// with its width as measured and the ink the font draws past that width (a
// bold face made from a regular one draws wider than it measures).
struct FigureSize
{
    int width = 0;
    int overhang = 0;
};

FigureSize MeasureWidestFigure(HWND wnd, HFONT font)
{
    FigureSize size;
    CClientDC screen(wnd);
    CMemoryDC probe(screen);
    if (!probe)
        return size;
    CSelectObject selectFont(probe, font);
    char widest = '0';
    int widestWidth = 0;
    for (char digit = '0'; digit <= '9'; ++digit) {
        SIZE extent;
        if (::GetTextExtentPoint32A(probe, &digit, 1, &extent) && extent.cx > widestWidth) {
            widestWidth = extent.cx;
            widest = digit;
        }
    }
    const std::string figure = std::string(kFigureDigits, widest) + "." + widest;
    SIZE extent;
    if (!::GetTextExtentPoint32A(probe, figure.c_str(), (int)figure.size(), &extent))
        return size;
    size.width = extent.cx;

    // Draw it with room on both sides and find where its ink ends.
    const int pad = extent.cy;
    CMemoryDC ink(screen, extent.cx + 2 * pad, extent.cy);
    if (!ink)
        return size;
    CSelectObject selectInkFont(ink, font);
    RECT all = {0, 0, extent.cx + 2 * pad, extent.cy};
    ::FillRect(ink, &all, (HBRUSH)::GetStockObject(WHITE_BRUSH));
    ::SetBkMode(ink, TRANSPARENT);
    ::SetTextColor(ink, RGB(0, 0, 0));
    ::TextOutA(ink, pad, 0, figure.c_str(), (int)figure.size());
    const COLORREF white = ::GetPixel(ink, 0, 0);
    for (int x = pad + extent.cx; x < all.right; ++x)
        for (int y = 0; y < extent.cy; ++y)
            if (::GetPixel(ink, x, y) != white)
                size.overhang = x + 1 - (pad + extent.cx);
    return size;
}

} // namespace

CThroughputDlg::CThroughputDlg(CWnd* parent)
    : CDialog(IDD_THROUGHPUT, parent), m_figureMargin(0), m_showState(false),
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
    KeepOwnerVisible(m_hWnd);

    // Opened beside another card poll (from the tray, by a second start),
    // the window does not break into it: it goes without the station's
    // name and address and takes the larger scale.
    AdapterLock lock;
    BuildTitle(lock.IsHeld());
    SetWindowText(m_title.c_str());

    SetTimer(SAMPLE_TIMER, SAMPLE_PERIOD);
    m_window.Reset();

    CWinApp* app = AfxGetApp();
    m_nStatisticMode = app ? (int)app->GetProfileInt(ModeSection(), ModeEntry(), 0) : 0;
    CWindow(GetDlgItem(IDC_THRU_STATISTICS)).ShowWindow(m_nStatisticMode ? SW_SHOW : SW_HIDE);
    m_showState = m_nStatisticMode != 0;

    SetUpChart(lock.IsHeld());
    lock.Release();

    m_sentLabel.SubclassDlgItem(IDC_THRU_SENT, this);
    m_sentLabel.ChangeTextColor(kSentColor).ChangeBackColor(kLabelBack).SetBold(true);
    m_receivedLabel.SubclassDlgItem(IDC_THRU_RECEIVED, this);
    m_receivedLabel.ChangeTextColor(kReceivedColor).ChangeBackColor(kLabelBack).SetBold(true);
    FitFigureLabel(m_sentLabel);
    FitFigureLabel(m_receivedLabel);
    return TRUE;
}

void CThroughputDlg::FitFigureLabel(CStyledLabel& label)
{
    // The figure is drawn right-aligned, clear of the right edge by the ink
    // the font draws past the width it measures. A label too narrow for the
    // widest figure grows to the left.
    const FigureSize size = MeasureWidestFigure(m_hWnd, label.GetFont());
    m_figureMargin = std::max(m_figureMargin, size.overhang + 1);
    RECT box;
    ::GetWindowRect(label.m_hWnd, &box);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&box), 2);
    const int width = size.width + 2 * m_figureMargin;
    if (box.right - box.left < width)
        ::SetWindowPos(label.m_hWnd, nullptr, box.right - width, box.top, width,
                       box.bottom - box.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CThroughputDlg::OnDrawItem(int id, LPDRAWITEMSTRUCT dis)
{
    CStyledLabel* label = id == IDC_THRU_SENT       ? &m_sentLabel
                          : id == IDC_THRU_RECEIVED ? &m_receivedLabel
                                                    : nullptr;
    if (!label || !label->IsWindow()) {
        CDialog::OnDrawItem(id, dis);
        return;
    }
    CBrush back(kLabelBack);
    ::FillRect(dis->hDC, &dis->rcItem, back);
    const std::string text = label->GetWindowText();
    CSelectObject font(dis->hDC, label->GetFont());
    const int oldMode = ::SetBkMode(dis->hDC, TRANSPARENT);
    const COLORREF oldColor =
        ::SetTextColor(dis->hDC, id == IDC_THRU_SENT ? kSentColor : kReceivedColor);
    // Not clipped to the text's measured width, which would cut the ink of
    // the last digit; the margin keeps that ink inside the label.
    RECT rc = dis->rcItem;
    rc.right -= m_figureMargin;
    ::DrawTextA(dis->hDC, text.c_str(), (int)text.size(), &rc,
                DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    ::SetTextColor(dis->hDC, oldColor);
    ::SetBkMode(dis->hDC, oldMode);
}

void CThroughputDlg::BuildTitle(bool readCard)
{
    m_title = GetWindowText().substr(0, MAX_CAPTION);
    char name[CARD_ITEM_BUFFER_SIZE] = "";
    if (readCard)
        QueryCardItem(CI_STATION_NAME, name, sizeof(name)); // a failed read leaves it empty
    m_title += ": ";
    m_title += name;
    char mac[CARD_ITEM_BUFFER_SIZE];
    if (readCard && QueryCardItem(CI_MAC_ADDRESS, mac, sizeof(mac)) == ITEM_OK) {
        m_title += " (";
        m_title += mac;
        m_title += ")";
    }
    if (m_title.size() > MAX_TITLE - 1)
        m_title.resize(MAX_TITLE - 1);
}

void CThroughputDlg::SetUpChart(bool readCard)
{
    // A card that offers more than 1 Mbit/s (or that cannot say) gets the
    // larger scale.
    const float range = !readCard || CardHasHighRate() != 0 ? 200.0f : 100.0f;

    CWindow frame = GetDlgItem(IDC_THRU_CHART_FRAME);
    RECT rc = {0, 0, 0, 0};
    if (frame) {
        frame.GetWindowRect(&rc);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        frame.ShowWindow(SW_HIDE);
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
    switch (PollStatistics(block)) {
    case StatisticsPoll::Skipped:
        return;
    case StatisticsPoll::Failed:
        Close();
        return;
    case StatisticsPoll::Read:
        break;
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
    if (m_showState)
        ShowLinkState();
    if (m_hWnd)
        Default();
}

void CThroughputDlg::ShowLinkState()
{
    char state[CARD_ITEM_BUFFER_SIZE];
    AdapterLock lock;
    if (!lock.IsHeld())
        return;
    const BYTE result = QueryCardItem(CI_LINK_STATE, state, sizeof(state));
    lock.Release();
    if (result == ITEM_OK) {
        SetWindowText((m_title + ", " + state).c_str());
    } else if (result == ITEM_NO_RESPONSE) {
        NoteFailedRead(result);
        Close();
    }
}

void CThroughputDlg::ToggleStatisticMode()
{
    CWindow statistics = GetDlgItem(IDC_THRU_STATISTICS);
    if (m_nStatisticMode) {
        statistics.ShowWindow(SW_HIDE);
        m_nStatisticMode = 0;
        m_showState = false;
        SetWindowText(m_title.c_str());
    } else {
        statistics.ShowWindow(SW_SHOW);
        m_showState = true;
        m_nStatisticMode = 1;
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
    KillTimer(SAMPLE_TIMER);
    DestroyWindow();
}

void CThroughputDlg::OnDestroy()
{
    // However the window goes: closed, after a failed read, or with the
    // program.
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileInt(ModeSection(), ModeEntry(), m_nStatisticMode);
    CDialog::OnDestroy();
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
    case IDCANCEL: // Esc
        Close();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}
