// CLineChart.h - a strip chart child window. Each Advance scrolls the plotted
// history left by a few pixels and draws every series' newest segment at the
// right edge. Frame, grid and labels live in a background layer built once
// (and again for a new size, which clears the history); the traces live in a
// second layer that scrolls onto itself; painting ORs the two together and
// puts the result on screen in one block.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/CWnd.h"
#include "framework/Gdi.h"

class CLineChart : public CWnd
{
public:
    CLineChart();
    ~CLineChart() override;

    // Registers the class once, creates the child window and builds the background.
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);

    // Each setter rebuilds the background and clears the plotted history.
    void SetRange(float minY, float maxY, int decimals);
    void SetXTitle(const char* text);
    // The labels under the plot's two ends; without them the left reads "0"
    // and the right the number of samples the plot shows across.
    void SetXLabels(const char* left, const char* right);
    void SetYTitle(const char* text);
    void SetGridColor(COLORREF color);
    void SetBackColor(COLORREF color);
    // Appends a series drawn in the colour, with values clamped to [min, max].
    bool AddSeries(COLORREF color, float maxValue, float minValue);
    // A horizontal line across the whole plot at a value of the range, in
    // the background layer (under the traces).
    bool AddLevelLine(float value, COLORREF color);
    // Erases the plotted history (the background stays); the series start
    // again from 0.
    void ClearTraces();

    // Sets a series' newest value; returns the one it replaces (0 for a bad index).
    float SetValue(size_t series, float value);

    // Scrolls the traces by one step and draws the newest segments.
    void Advance();

    // Geometry, for the owner and for tests.
    RECT GetPlotRect() const { return m_plot; }
    int GetStep() const { return m_step; }
    // How many samples the plot shows across (its label under the right end).
    int GetSamplesAcross() const { return m_step > 0 ? m_plotWidth / m_step : 0; }
    size_t GetSeriesCount() const { return m_series.size(); }
    // The trace layer (null before the first build), read-only for tests.
    HDC GetTraceLayer() const { return m_trace.Get(); }

    static const char* ClassName() { return "CorvaneLineChart"; }

protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(HDC hdc) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnDestroy() override;

private:
    struct Series
    {
        COLORREF color;
        float minValue;
        float maxValue;
        float current;
        float previous;
    };

    void BuildBackground();
    void FillLayer(HDC layer);

    int m_step;
    int m_decimals;
    std::string m_xTitle;
    std::string m_yTitle;
    COLORREF m_backColor;
    COLORREF m_gridColor;
    float m_minY, m_maxY;
    std::vector<Series> m_series;
    struct Level
    {
        float value;
        COLORREF color;
    };
    std::string m_xLeft, m_xRight;
    std::vector<Level> m_levels;
    int m_segmentStart, m_segmentEnd;
    RECT m_client;
    RECT m_plot;
    int m_plotWidth, m_plotHeight;
    // Both the size of the client area they were built for.
    CMemoryDC m_background;
    CMemoryDC m_trace;
    CBrush m_backBrush;
};
