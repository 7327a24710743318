// CLinkHistoryDlg.h - Link History: what the link did while nobody watched.
// A chart of the signal quality over the last ten minutes, hour or day, with
// the thresholds of 30 and 60 drawn across, the list of what happened
// (newest first, copied as text with Copy or Ctrl+C), and the controls of
// the site survey log. Modeless; the tool window owns it for the program's
// life and tells it when the history has grown. The history and the survey
// log go on while the window is closed.
#pragma once

#include "framework/CDialog.h"
#include "tools/CLineChart.h"
#include "widgets/CListViewEx.h"

#include <cstdint>
#include <string>

class CSurveyLog;
struct HistoryEvent;

class CLinkHistoryDlg : public CDialog
{
public:
    // Posted by the tool window after it added samples or events.
    static const UINT WM_HISTORY_CHANGED = WM_USER + 20;
    // The spans of the chart in seconds, in the order of the list.
    static const int SPAN_COUNT = 3;
    static const uint32_t kSpanSeconds[SPAN_COUNT];

    CLinkHistoryDlg(CSurveyLog& log, CWnd* parent = nullptr);
    ~CLinkHistoryDlg() override;

    // Creates the window (hidden by its template) and shows it.
    BOOL Create(CWnd* parent = nullptr) override;

    // An event as the list words it.
    static std::string EventText(const HistoryEvent& event);

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnClose() override;
    void OnOK() override;
    void OnCancel() override;
    void OnDestroy() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void SetUpChart();
    // The chart's titles and end labels for the span of list index `index`.
    void ShowSpanLabels(int index);
    // The chart cleared and drawn again from the history over the span.
    void Replay();
    void FillEvents();
    // The events added since the list was filled, at its top.
    void AddNewEvents();
    void InsertEvent(int index, const HistoryEvent& event);
    void FitEventColumn();
    // The survey log's state line and buttons.
    void ShowLogState();
    void CopyRows();
    void ClearEvents();
    void RecordLog();
    void MarkLog();
    void StopLog();
    void Close();

    CSurveyLog& m_log;
    CListViewEx m_list;
    CLineChart m_chart;
    uint32_t m_shownSerial; // the history's event serial the list shows
    SIZE m_minSize;
    HICON m_icon;
    HICON m_smallIcon;
};
