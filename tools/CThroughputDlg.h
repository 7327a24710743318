// CThroughputDlg.h - the Station Throughput Monitor: samples the card's
// statistics about once a second and shows the kilobytes per second the
// station sends and receives, as two coloured figures and a scrolling
// two-line chart, with the card's uptime. A hidden statistics mode
// (Ctrl+Alt+S, kept in the profile) adds the link state to the caption and
// a button "N" that opens the Adapter Statistics dialog. Modeless; the tool
// window owns it for the life of the program.
#pragma once

#include "framework/CDialog.h"
#include "tools/CLineChart.h"
#include "tools/CStatisticsDlg.h"
#include "tools/RateWindow.h"
#include "widgets/CStyledLabel.h"

#include <memory>
#include <string>

class CThroughputDlg : public CDialog
{
public:
    static const UINT_PTR SAMPLE_TIMER = 3;
    static const UINT SAMPLE_PERIOD = 1024;
    static const size_t MAX_TITLE = 256;
    // The template caption is cut to this many characters.
    static const size_t MAX_CAPTION = 78;

    explicit CThroughputDlg(CWnd* parent = nullptr);
    ~CThroughputDlg() override;

    // The profile entry of the statistics mode (section "Private").
    static const char* ModeSection() { return "Private"; }
    static const char* ModeEntry() { return "Statistic"; }

    CStatisticsDlg& GetStatisticsDlg() { return *m_statistics; }
    CLineChart& GetChart() { return m_chart; }
    const std::string& GetTitle() const { return m_title; }
    bool IsShowingState() const { return m_showState; }

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id) override;
    void OnClose() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // Every card read of the window goes through here.
    virtual BYTE ReadCardItem(int item, void* output, size_t size);

private:
    void BuildTitle();
    void SetUpChart();
    void Sample();
    void ToggleStatisticMode();
    void OpenStatistics();
    void ShowHelp();
    void Close();

    CStyledLabel m_sentLabel;
    CStyledLabel m_receivedLabel;
    CLineChart m_chart;
    RateWindow m_window;
    std::string m_title;
    bool m_showState;
    std::unique_ptr<CStatisticsDlg> m_statistics;
    HICON m_icon;   // shared resource icon
};
