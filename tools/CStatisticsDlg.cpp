// CStatisticsDlg.cpp - counters on screen, runs of samples, reset and help.
#include "tools/CStatisticsDlg.h"

#include "adapter/AdapterState.h"
#include "adapter/CardItems.h"
#include "adapter/Mailbox.h"
#include "framework/CWinApp.h"
#include "framework/Os.h"
#include "res/resource.h"
#include "tools/StatisticsPoll.h"
#include "tools/StatisticsText.h"

#include <algorithm>

CStatisticsDlg::CStatisticsDlg(CWnd* parent)
    : CDialog(IDD_STATISTICS, parent), m_running(false), m_baseTxBytes(0), m_baseRxBytes(0),
      m_basePeriod(0), m_haveBaselines(false), m_maxTxRate(0), m_maxRxRate(0)
{}

BOOL CStatisticsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    m_running = false;
    // Beside another card poll the counters wait for the first run.
    StatisticsBlock block;
    switch (PollStatistics(block)) {
    case StatisticsPoll::Read:
        ShowCounters(block);
        break;
    case StatisticsPoll::Skipped:
        break;
    case StatisticsPoll::Failed:
        Close();
        return FALSE;
    }
    SwapButtons(IDC_STAT_UPDATE, IDC_STAT_STOP);
    return TRUE;
}

void CStatisticsDlg::ShowCounters(const StatisticsBlock& b)
{
    const struct
    {
        int id;
        uint32_t value;
    } counters[] = {
        {IDC_STAT_TX_OK, b.txOkFrames},           {IDC_STAT_TX_MULTICAST, b.txMulticast},
        {IDC_STAT_TX_BROADCAST, b.txBroadcast},   {IDC_STAT_TX_BYTES, b.txOkBytes},
        {IDC_STAT_TX_RETRIES, b.txRetries},       {IDC_STAT_TX_FAILED, b.txFailed},
        {IDC_STAT_PERIOD, b.measuredPeriod},      {IDC_STAT_RX_OK, b.rxOkFrames},
        {IDC_STAT_RX_MULTICAST, b.rxMulticast},   {IDC_STAT_RX_BROADCAST, b.rxBroadcast},
        {IDC_STAT_RX_BYTES, b.rxOkBytes},         {IDC_STAT_RX_DUPLICATED, b.rxDuplicated},
        {IDC_STAT_RX_CRC, b.rxCrcErrors},         {IDC_STAT_RX_TRUNCATED, b.rxTruncated},
        {IDC_STAT_RX_OVERLENGTH, b.rxOverLength}, {IDC_STAT_RX_DISCARDED, b.rxDiscardedFull},
        {IDC_STAT_RX_CORRUPTED, b.rxCorrupted},
    };
    for (const auto& c : counters)
        SetField(c.id, GroupedCounter(c.value));
    SetField(IDC_STAT_CPU, ProcessorUsageText(b.idlePercent));
    SetField(IDC_STAT_UPTIME, UptimeText(b.uptime));
}

void CStatisticsDlg::SetField(int id, const std::string& text)
{
    if (GetDlgItemText(id) != text)
        SetDlgItemText(id, text.c_str());
}

void CStatisticsDlg::RestartWindow()
{
    m_window.Reset();
    m_maxTxRate = m_maxRxRate = 0;
}

void CStatisticsDlg::TakeBaselines(const StatisticsBlock& block)
{
    m_baseTxBytes = block.txOkBytes;
    m_baseRxBytes = block.rxOkBytes;
    m_basePeriod = block.measuredPeriod;
    m_haveBaselines = true;
}

void CStatisticsDlg::SwapButtons(int on, int off)
{
    CWindow enable = GetDlgItem(on), disable = GetDlgItem(off);
    enable.EnableWindow(TRUE);
    if (::GetFocus() == disable)
        SendMessage(WM_NEXTDLGCTL, (WPARAM)enable.m_hWnd, TRUE);
    disable.EnableWindow(FALSE);
}

void CStatisticsDlg::RestartAverages(const StatisticsBlock& block)
{
    TakeBaselines(block);
    SetField(IDC_STAT_TX_AVG, "0.0");
    SetField(IDC_STAT_RX_AVG, "0.0");
}

void CStatisticsDlg::StartRun()
{
    SetTimer(SAMPLE_TIMER, SAMPLE_PERIOD);
    RestartWindow();
    // Without an answer there is nothing to average from: the first sample
    // of the run that arrives becomes the starting point instead.
    StatisticsBlock block;
    m_haveBaselines = false;
    AdapterLock lock;
    if (lock.IsHeld() && QueryCardItem(CI_STATISTICS, block) == ITEM_OK)
        TakeBaselines(block);
    lock.Release();
    SetField(IDC_STAT_TX_AVG, "0.0");
    SetField(IDC_STAT_RX_AVG, "0.0");
    SwapButtons(IDC_STAT_STOP, IDC_STAT_UPDATE);
    m_running = true;
}

void CStatisticsDlg::StopRun()
{
    KillTimer(SAMPLE_TIMER);
    SwapButtons(IDC_STAT_UPDATE, IDC_STAT_STOP);
    m_running = false;
}

void CStatisticsDlg::OnTimer(UINT_PTR id)
{
    if (id != SAMPLE_TIMER) {
        Default();
        return;
    }
    Sample();
}

void CStatisticsDlg::Sample()
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
    if (r.restarted) {
        // The counters were reset behind the dialog (the card, another
        // program): maxima and averages begin again here, as after Reset.
        m_maxTxRate = m_maxRxRate = 0;
        RestartAverages(block);
    }
    if (!m_haveBaselines)
        TakeBaselines(block);
    if (r.txRate > PLAUSIBLE_RATE || r.rxRate > PLAUSIBLE_RATE)
        return;
    m_maxTxRate = std::max(m_maxTxRate, r.txRate);
    m_maxRxRate = std::max(m_maxRxRate, r.rxRate);

    ShowCounters(block);
    SetField(IDC_STAT_TX_NOW, KbytesText(r.txRate));
    SetField(IDC_STAT_RX_NOW, KbytesText(r.rxRate));
    SetField(IDC_STAT_TX_MAX, KbytesText(m_maxTxRate));
    SetField(IDC_STAT_RX_MAX, KbytesText(m_maxRxRate));
    SetField(IDC_STAT_TX_ERR, std::to_string(r.txError));
    SetField(IDC_STAT_RX_ERR, std::to_string(r.rxError));
    ShowAverages(block);
    Default();
}

void CStatisticsDlg::ShowAverages(const StatisticsBlock& block)
{
    const uint32_t seconds = CounterDelta(block.measuredPeriod, m_basePeriod);
    if (seconds == 0)
        return;
    SetField(IDC_STAT_TX_AVG,
             AverageKbytesText(CounterDelta(block.txOkBytes, m_baseTxBytes), seconds));
    SetField(IDC_STAT_RX_AVG,
             AverageKbytesText(CounterDelta(block.rxOkBytes, m_baseRxBytes), seconds));
}

void CStatisticsDlg::ResetCounters()
{
    if (g_os.MessageBoxA(m_hWnd, LoadStr(IDS_RESET_STATISTICS).c_str(),
                         LoadStr(IDS_PRODUCT).c_str(), MB_ICONQUESTION | MB_OKCANCEL) != IDOK)
        return;
    // A card found silent elsewhere is not asked again (the user has been
    // told, or is told by the tool window's next tick).
    if (GetAdapterState().m_bAdapterFailed) {
        Close();
        return;
    }
    // Confirmed while another poll holds the card (waiting behind one of its
    // boxes, which the question let run), the reset would break into that
    // poll's command. Waiting for it is no choice on the one thread that
    // must answer its box: the counters stay and the user is told.
    AdapterLock lock;
    if (!lock.IsHeld()) {
        g_os.MessageBoxA(m_hWnd, LoadStr(IDS_RESET_BUSY).c_str(), LoadStr(IDS_WARNING).c_str(),
                         MB_ICONEXCLAMATION);
        return;
    }
    ResetStatistics();
    StatisticsBlock block;
    if (BYTE result = QueryCardItem(CI_STATISTICS, block); result != ITEM_OK) {
        lock.Release();
        NoteFailedRead(result);
        Close();
        return;
    }
    lock.Release();
    ShowCounters(block);
    if (m_running) {
        RestartWindow();
        RestartAverages(block);
    }
}

void CStatisticsDlg::ShowHelp()
{
    AfxHelpKeyword(m_hWnd, IDS_THROUGHPUT_HELP_KEY, true);
}

void CStatisticsDlg::Close()
{
    if (m_running)
        KillTimer(SAMPLE_TIMER);
    m_running = false;
    DestroyWindow();
}

// The dialog goes without a word of its own; a card found silent is the
// adapter's failure, after which no window asks the card again.
BOOL CStatisticsDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDC_STAT_UPDATE:
        StartRun();
        return TRUE;
    case IDC_STAT_STOP:
        StopRun();
        return TRUE;
    case IDC_STAT_RESET:
        ResetCounters();
        return TRUE;
    case IDC_STAT_HELP:
        ShowHelp();
        return TRUE;
    case IDC_STAT_OK:
    case IDCANCEL: // Esc
        Close();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CStatisticsDlg::OnSysCommand(UINT id, LPARAM lParam)
{
    if ((id & 0xFFF0) == SC_CLOSE) {
        Close();
        return;
    }
    Default();
}
