// CStatisticsDlg.h - the Adapter Statistics dialog: every counter of the
// card's statistics block and, while the user lets it run, the current,
// highest and average transmit and receive throughput with the share of
// retried and corrupted frames. Modeless; the throughput monitor owns it.
#pragma once

#include "adapter/StatisticsBlock.h"
#include "framework/CDialog.h"
#include "tools/RateWindow.h"

#include <stdint.h>

class CStatisticsDlg : public CDialog
{
public:
    static const UINT_PTR SAMPLE_TIMER = 4;
    static const UINT SAMPLE_PERIOD = 1024;
    // Rates above this (bytes per second) are taken for glitches: such a
    // sample stays in the window but changes nothing on screen.
    static const uint32_t PLAUSIBLE_RATE = 204800;

    explicit CStatisticsDlg(CWnd* parent = nullptr);

    bool IsRunning() const { return m_running; }
    uint32_t GetMaxTxRate() const { return m_maxTxRate; }
    uint32_t GetMaxRxRate() const { return m_maxRxRate; }
    // Whether the averages have their starting point (the run's first read
    // of the counters succeeded, or a later one supplied it).
    bool HasBaselines() const { return m_haveBaselines; }

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnSysCommand(UINT id, LPARAM lParam) override;

private:
    void Sample();
    void StartRun();
    void StopRun();
    void ResetCounters();
    void ShowHelp();
    void Close();

    // Empties the window and the maxima.
    void RestartWindow();
    void TakeBaselines(const StatisticsBlock& block);
    // New baselines from the block, the averages back at "0.0".
    void RestartAverages(const StatisticsBlock& block);
    void ShowCounters(const StatisticsBlock& block);
    void ShowAverages(const StatisticsBlock& block);
    // Enables one of Update and Stop and greys the other, handing it the
    // focus first when the greyed one has it (the keyboard stays here).
    void SwapButtons(int on, int off);
    // Writes a field only when its text changes (each write repaints it).
    void SetField(int id, const std::string& text);

    RateWindow m_window;
    bool m_running;
    uint32_t m_baseTxBytes, m_baseRxBytes, m_basePeriod;
    bool m_haveBaselines;
    // Highest plausible rates since the window was last emptied; they
    // outlive the dialog's window, as the dialog object does.
    uint32_t m_maxTxRate, m_maxRxRate;
};
