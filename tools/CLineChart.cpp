// CLineChart.cpp - the scrolling line chart: layers, background build,
// Advance and painting.
#include "tools/CLineChart.h"

#include <cstdio>
#include <new>

#include "framework/CWinApp.h"
#include "res/resource.h"
#include "tools/ChartScale.h"

namespace {

// A layer is never empty, even for a window with no client area yet.
int LayerSide(int pixels)
{
    return pixels > 0 ? pixels : 1;
}

} // namespace

CLineChart::CLineChart()
    : m_step(4), m_decimals(3), m_xTitle(LoadStr(IDS_CHART_DEFAULT_X)),
      m_yTitle(LoadStr(IDS_CHART_DEFAULT_Y)), m_backColor(RGB(0, 0, 0)),
      m_gridColor(RGB(0, 255, 255)), m_minY(-10.0f), m_maxY(10.0f), m_segmentStart(6),
      m_segmentEnd(2), m_client{0, 0, 0, 0}, m_plot{20, 10, 0, 0}, m_plotWidth(0), m_plotHeight(0),
      m_backBrush(RGB(0, 0, 0))
{}

CLineChart::~CLineChart()
{
    // Layers go before the window so their bitmaps are deselected first.
    m_trace.Release();
    m_background.Release();
}

bool CLineChart::Create(DWORD style, const RECT& rect, HWND parent, UINT id)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = StdWndProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = ClassName();
        registered = ::RegisterClassA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
        if (!registered)
            return false;
    }
    if (m_hWnd)
        return false;
    HookCreation(this);
    HWND hWnd =
        ::CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE, ClassName(), "", style, rect.left,
                          rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                          (HMENU)(UINT_PTR)id, ::GetModuleHandleA(nullptr), nullptr);
    HookCreation(nullptr);
    if (!hWnd)
        return false;
    BuildBackground();
    return true;
}

void CLineChart::OnSize(UINT type, int cx, int cy)
{
    Default();
    ::GetClientRect(m_hWnd, &m_client);
    m_plot.left = 20;
    m_plot.top = 10;
    m_plot.right = m_client.right - 10;
    m_plot.bottom = m_client.bottom - 25;
    m_plotWidth = m_plot.right - m_plot.left;
    m_plotHeight = m_plot.bottom - m_plot.top;
    // Layers of the old size would leave the new geometry undrawn: build them
    // again for this one (the plotted history starts over).
    const SIZE built = m_background.GetSize();
    if (m_background && (built.cx != LayerSide(cx) || built.cy != LayerSide(cy)))
        BuildBackground();
}

void CLineChart::FillLayer(HDC layer)
{
    ::SetBkColor(layer, m_backColor);
    ::FillRect(layer, &m_client, m_backBrush);
}

void CLineChart::BuildBackground()
{
    if (!m_hWnd)
        return;
    CClientDC windowDC(m_hWnd);
    if (!windowDC)
        return;
    const int cx = LayerSide(m_client.right - m_client.left);
    const int cy = LayerSide(m_client.bottom - m_client.top);
    const SIZE built = m_background.GetSize();
    if (!m_background || built.cx != cx || built.cy != cy) {
        m_trace.Release();
        if (!m_background.Create(windowDC, cx, cy))
            return;
    }
    HDC dc = m_background;
    FillLayer(dc);

    m_plot.left = ChartPlotLeft(m_client.left, m_minY, m_maxY, m_decimals);
    m_plotWidth = m_plot.right - m_plot.left;

    {
        CPen pen(PS_SOLID, 0, m_gridColor);
        CSelectObject selPen(dc, pen);
        ::MoveToEx(dc, m_plot.left, m_plot.top, nullptr);
        ::LineTo(dc, m_plot.right + 1, m_plot.top);
        ::LineTo(dc, m_plot.right + 1, m_plot.bottom + 1);
        ::LineTo(dc, m_plot.left, m_plot.bottom + 1);
        ::LineTo(dc, m_plot.left, m_plot.top);
    }
    for (int x = m_plot.left; x < m_plot.right; x += 4)
        for (int k = 1; k <= 9; ++k)
            ::SetPixel(dc, x, m_plot.top + k * m_plotHeight / 10, m_gridColor);
    for (const Level& level : m_levels) {
        CPen pen(PS_SOLID, 0, level.color);
        CSelectObject selPen(dc, pen);
        const int y = ChartValueToY(level.value, m_minY, m_maxY, m_plot.top, m_plot.bottom);
        ::MoveToEx(dc, m_plot.left + 1, y, nullptr);
        ::LineTo(dc, m_plot.right + 1, y);
    }

    LOGFONTA lf = {};
    lf.lfHeight = 14;
    lf.lfWeight = 300;
    lf.lfPitchAndFamily = FF_SWISS;
    lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
    CFont upright;
    upright.CreateFontIndirect(lf);
    lf.lfEscapement = 900;
    CFont upward;
    upward.CreateFontIndirect(lf);

    ::SetTextColor(dc, m_gridColor);
    char text[96];
    const int decimals = m_decimals < 0 ? 0 : (m_decimals > 40 ? 40 : m_decimals);
    {
        CSelectObject selFont(dc, upright);
        std::snprintf(text, sizeof text, "%.*lf", decimals, (double)m_maxY);
        ::SetTextAlign(dc, TA_RIGHT | TA_TOP);
        ::TextOutA(dc, m_plot.left - 4, m_plot.top, text, lstrlenA(text));
        std::snprintf(text, sizeof text, "%.*lf", decimals, (double)m_minY);
        ::SetTextAlign(dc, TA_RIGHT | TA_BASELINE);
        ::TextOutA(dc, m_plot.left - 4, m_plot.bottom, text, lstrlenA(text));
        ::SetTextAlign(dc, TA_LEFT | TA_TOP);
        if (m_xLeft.empty())
            ::TextOutA(dc, m_plot.left, m_plot.bottom + 4, "0", 1);
        else
            ::TextOutA(dc, m_plot.left, m_plot.bottom + 4, m_xLeft.c_str(), (int)m_xLeft.size());
        if (m_xRight.empty())
            std::snprintf(text, sizeof text, "%d", m_step > 0 ? m_plotWidth / m_step : 0);
        else
            std::snprintf(text, sizeof text, "%s", m_xRight.c_str());
        ::SetTextAlign(dc, TA_RIGHT | TA_TOP);
        ::TextOutA(dc, m_plot.right, m_plot.bottom + 4, text, lstrlenA(text));
        ::SetTextAlign(dc, TA_CENTER | TA_TOP);
        ::TextOutA(dc, (m_plot.left + m_plot.right) / 2, m_plot.bottom + 4, m_xTitle.c_str(),
                   (int)m_xTitle.size());
    }
    {
        CSelectObject selFont(dc, upward);
        ::SetTextAlign(dc, TA_CENTER | TA_BASELINE);
        ::TextOutA(dc, (m_client.left + m_plot.left) / 2, (m_plot.top + m_plot.bottom) / 2,
                   m_yTitle.c_str(), (int)m_yTitle.size());
    }
    ::SetTextAlign(dc, TA_LEFT | TA_TOP);

    if (!m_trace && !m_trace.Create(windowDC, cx, cy))
        return;
    FillLayer(m_trace);
    ::InvalidateRect(m_hWnd, &m_client, TRUE);
}

void CLineChart::SetRange(float minY, float maxY, int decimals)
{
    m_minY = minY;
    m_maxY = maxY;
    m_decimals = decimals;
    BuildBackground();
}

void CLineChart::SetXTitle(const char* text)
{
    m_xTitle = text ? text : "";
    BuildBackground();
}

void CLineChart::SetXLabels(const char* left, const char* right)
{
    m_xLeft = left ? left : "";
    m_xRight = right ? right : "";
    BuildBackground();
}

void CLineChart::SetYTitle(const char* text)
{
    m_yTitle = text ? text : "";
    BuildBackground();
}

void CLineChart::SetGridColor(COLORREF color)
{
    m_gridColor = color;
    BuildBackground();
}

void CLineChart::SetBackColor(COLORREF color)
{
    m_backColor = color;
    m_backBrush.Attach(::CreateSolidBrush(color));
    BuildBackground();
}

bool CLineChart::AddSeries(COLORREF color, float maxValue, float minValue)
{
    try {
        m_series.push_back(Series{color, minValue, maxValue, 0.0f, 0.0f});
    } catch (const std::bad_alloc&) {
        return false;
    }
    BuildBackground();
    return true;
}

bool CLineChart::AddLevelLine(float value, COLORREF color)
{
    try {
        m_levels.push_back(Level{value, color});
    } catch (const std::bad_alloc&) {
        return false;
    }
    BuildBackground();
    return true;
}

void CLineChart::ClearTraces()
{
    for (Series& s : m_series)
        s.current = s.previous = 0.0f;
    if (!m_trace || !m_hWnd)
        return;
    FillLayer(m_trace);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

float CLineChart::SetValue(size_t series, float value)
{
    if (series >= m_series.size())
        return 0.0f;
    Series& s = m_series[series];
    const float old = s.current;
    if (value > s.maxValue)
        value = s.maxValue;
    if (value < s.minValue)
        value = s.minValue;
    s.previous = s.current;
    s.current = value;
    return old;
}

void CLineChart::Advance()
{
    if (!m_trace || !m_hWnd)
        return;
    // The band that scrolls and the strip that is cleared cover every row the
    // 2-pixel pen reaches, one above the top line to the bottom line, so a
    // segment drawn on either line moves with the rest and leaves nothing behind.
    HDC dc = m_trace;
    ::BitBlt(dc, m_plot.left, m_plot.top - 1, m_plotWidth, m_plotHeight + 2, dc,
             m_plot.left + m_step, m_plot.top - 1, SRCCOPY);
    RECT strip = {m_plot.right - m_step, m_plot.top - 1, m_plot.right, m_plot.bottom + 1};
    ::FillRect(dc, &strip, m_backBrush);
    for (const Series& s : m_series) {
        CPen pen(PS_SOLID, 2, s.color);
        CSelectObject sel(dc, pen);
        ::MoveToEx(dc, m_plot.right - m_segmentStart,
                   ChartValueToY(s.previous, s.minValue, s.maxValue, m_plot.top, m_plot.bottom),
                   nullptr);
        ::LineTo(dc, m_plot.right - m_segmentEnd,
                 ChartValueToY(s.current, s.minValue, s.maxValue, m_plot.top, m_plot.bottom));
    }
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

BOOL CLineChart::OnEraseBkgnd(HDC)
{
    return TRUE; // painting covers the whole client area
}

void CLineChart::OnPaint()
{
    CPaintDC paint(m_hWnd);
    const int cx = m_client.right - m_client.left, cy = m_client.bottom - m_client.top;
    if (!m_background || !m_trace || cx <= 0 || cy <= 0)
        return;
    CMemoryDC mem(paint, cx, cy);
    if (!mem)
        return;
    ::BitBlt(mem, 0, 0, cx, cy, m_background, 0, 0, SRCCOPY);
    ::BitBlt(mem, 0, 0, cx, cy, m_trace, 0, 0, SRCPAINT);
    ::BitBlt(paint, 0, 0, cx, cy, mem, 0, 0, SRCCOPY);
}

void CLineChart::OnDestroy()
{
    m_series.clear();
    m_levels.clear();
    m_trace.Release();
    m_background.Release();
    Default();
}
