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
    void OnDestroy() override;
    // The figures, drawn by the dialog in their labels' colours and font.
    void OnDrawItem(int id, LPDRAWITEMSTRUCT dis) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    // Without the card (another poll holds it) the caption has no name and
    // address, and the chart the larger scale.
    void BuildTitle(bool readCard);
    void SetUpChart(bool readCard);
    void Sample();
    void ShowLinkState();
    void ToggleStatisticMode();
    void OpenStatistics();
    void ShowHelp();
    void Close();
    // Makes the label wide enough for the widest figure at its font, with
    // room on the right for the ink of the last digit.
    void FitFigureLabel(CStyledLabel& label);

    CStyledLabel m_sentLabel;
    CStyledLabel m_receivedLabel;
    int m_figureMargin; // pixels between a figure and its label's right edge
    CLineChart m_chart;
    RateWindow m_window;
    std::string m_title;
    bool m_showState;
    // The statistics mode: from the profile at every opening, back to it at
    // every close.
    int m_nStatisticMode = 0;
    std::unique_ptr<CStatisticsDlg> m_statistics;
    HICON m_icon; // shared resource icon
};
