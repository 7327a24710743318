// CTaskProgressWnd.cpp - the progress popup: creation, layout, the bar and
// the message pump that keeps the user interface alive during a loop.
#include "widgets/CTaskProgressWnd.h"

#include <commctrl.h>

#include <cstdarg>
#include <cstdio>
#include <string>

#include "framework/CWinApp.h"
#include "framework/MessageFilter.h"
#include "res/resource.h"

static_assert(sizeof(NONCLIENTMETRICSA) == 340, "the target systems' structure size");

namespace {

const char kClassName[] = "CorvaneTaskProgress";

// The common controls of the first Windows 95 and NT 4.0 (comctl32 4.00)
// know no smooth bar: PBS_SMOOTH came with 4.70, as did InitCommonControlsEx,
// whose export tells the two apart. Looked up, so the program loads on 4.00.
bool SmoothBarKnown()
{
    HMODULE comctl = ::GetModuleHandleA("comctl32.dll");
    return comctl && ::GetProcAddress(comctl, "InitCommonControlsEx") != nullptr;
}

// A bound of PBM_SETRANGE, the one range message comctl32 4.00 has: 16 bits.
WORD RangeBound(int value)
{
    return static_cast<WORD>(value < 0 ? 0 : (value > 0xFFFF ? 0xFFFF : value));
}

// One step of the application's message pump; false when WM_QUIT came.
bool PumpOneMessage()
{
    MSG msg;
    if (::GetMessageA(&msg, nullptr, 0, 0) <= 0)
        return false;
    if (PreTranslateThreadMessage(&msg))
        return true;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
    return true;
}

} // namespace

CTaskProgressWnd::CTaskProgressWnd()
    : m_cancelled(false), m_position(0), m_increment(1), m_upper(100), m_lower(0), m_textLines(2),
      m_status(nullptr), m_bar(nullptr), m_cancelButton(nullptr)
{}

CTaskProgressWnd::~CTaskProgressWnd()
{
    // The children let go of the font before it is deleted.
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

bool CTaskProgressWnd::Open(HWND owner, const char* caption, bool smooth)
{
    if (m_hWnd)
        return false;
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = StdWndProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hCursor = ::LoadCursorA(nullptr, (LPCSTR)IDC_APPSTARTING);
        wc.lpszClassName = kClassName;
        registered = ::RegisterClassA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
        if (!registered)
            return false;
    }
    ::InitCommonControls();

    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof ncm;
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
        m_font.CreateFontIndirect(ncm.lfMessageFont);
    if (m_font.IsNull()) {
        LOGFONTA lf = {};
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
        m_font.CreateFontIndirect(lf);
    }

    if (!owner) {
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd)
            owner = app->m_pMainWnd->m_hWnd;
    }

    HookCreation(this);
    HWND hWnd = ::CreateWindowExA(WS_EX_DLGMODALFRAME, kClassName, caption ? caption : "",
                                  WS_POPUP | WS_CAPTION, 0, 0, 390, 130, owner, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    HookCreation(nullptr);
    if (!hWnd)
        return false;

    HINSTANCE inst = ::GetModuleHandleA(nullptr);
    m_status =
        ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                          0, 0, 10, 10, hWnd, (HMENU)kStatusId, inst, nullptr);
    const DWORD barStyle = smooth && SmoothBarKnown() ? PBS_SMOOTH : 0;
    m_bar = ::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE | barStyle, 0, 0, 10,
                              10, hWnd, (HMENU)kBarId, inst, nullptr);
    m_cancelButton = ::CreateWindowExA(0, "BUTTON", LoadStr(IDS_PROGRESS_CANCEL).c_str(),
                                       WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 10, 10, hWnd,
                                       (HMENU)kCancelId, inst, nullptr);
    if (!m_status || !m_bar || !m_cancelButton) {
        ::DestroyWindow(hWnd);
        m_status = m_bar = m_cancelButton = nullptr;
        return false;
    }
    ::SendMessageA(m_cancelButton, WM_SETFONT, (WPARAM)m_font.Get(), TRUE);
    ::SendMessageA(m_status, WM_SETFONT, (WPARAM)m_font.Get(), TRUE);
    ::ShowWindow(m_cancelButton, SW_HIDE);
    Layout(m_textLines, 390);
    Centre();
    Reveal();
    return true;
}

void CTaskProgressWnd::Layout(int lines, int textWidth)
{
    const int cxEdge = ::GetSystemMetrics(SM_CXEDGE), cyEdge = ::GetSystemMetrics(SM_CYEDGE);
    std::string sample = "M";
    for (int i = 1; i < lines; ++i)
        sample += "\nM";

    RECT status = {10, 10, 10 + textWidth, 10};
    SIZE button = {0, 0};
    HDC dc = ::GetDC(m_hWnd);
    if (dc) {
        CSelectObject sel(dc, m_font.Get());
        RECT calc = {0, 0, textWidth, 0};
        ::DrawTextA(dc, sample.c_str(), -1, &calc, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
        status.bottom = status.top + (calc.bottom - calc.top);
        const std::string cancel = " " + LoadStr(IDS_PROGRESS_CANCEL) + " ";
        ::GetTextExtentPoint32A(dc, cancel.c_str(), (int)cancel.size(), &button);
        ::ReleaseDC(m_hWnd, dc);
    } else {
        // Without a device context, size from the font's nominal height.
        LOGFONTA lf = {};
        ::GetObjectA(m_font.Get(), sizeof lf, &lf);
        int line = lf.lfHeight < 0 ? -lf.lfHeight + 3 : (lf.lfHeight > 0 ? lf.lfHeight : 16);
        status.bottom = status.top + line * lines;
        button.cx = 8 * line / 2;
        button.cy = line;
    }
    const int buttonWidth = button.cx + 4 * cxEdge, buttonHeight = button.cy + 3 * cyEdge;
    RECT rcButton = {status.right - buttonWidth, status.bottom + 10, status.right,
                     status.bottom + 10 + buttonHeight};
    RECT rcBar = {status.left, rcButton.top + cyEdge, rcButton.left - 10, rcButton.bottom - cyEdge};

    RECT window, client;
    ::GetWindowRect(m_hWnd, &window);
    ::GetClientRect(m_hWnd, &client);
    const int extraX = (window.right - window.left) - client.right;
    const int extraY = (window.bottom - window.top) - client.bottom;
    const int statusHeight = status.bottom - status.top;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, textWidth + 20 + extraX,
                   statusHeight + buttonHeight + 30 + extraY,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::MoveWindow(m_bar, rcBar.left, rcBar.top, rcBar.right - rcBar.left, rcBar.bottom - rcBar.top,
                 TRUE);
    ::MoveWindow(m_cancelButton, rcButton.left, rcButton.top, buttonWidth, buttonHeight, TRUE);
    ::MoveWindow(m_status, status.left, status.top, textWidth, statusHeight, TRUE);
}

void CTaskProgressWnd::Centre()
{
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    RECT area, rc;
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &area);
    else
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    ::GetWindowRect(m_hWnd, &rc);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    ::SetWindowPos(m_hWnd, nullptr, area.left + ((area.right - area.left) - w) / 2,
                   area.top + ((area.bottom - area.top) - h) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CTaskProgressWnd::SetLimits(int lower, int upper, int increment)
{
    if (!m_hWnd)
        return;
    // The lists' row counts are WORDs: the 16-bit range holds every one.
    m_lower = RangeBound(lower);
    m_upper = RangeBound(upper);
    ::SendMessageA(m_bar, PBM_SETRANGE, 0, MAKELPARAM(m_lower, m_upper));
    m_increment = increment;
    ::SendMessageA(m_bar, PBM_SETSTEP, (WPARAM)increment, 0);
}

int CTaskProgressWnd::SetPosition(int position)
{
    if (!m_hWnd)
        return m_position;
    m_position = position;
    return LOWORD(::SendMessageA(m_bar, PBM_SETPOS, (WPARAM)position, 0));
}

int CTaskProgressWnd::Advance()
{
    return m_hWnd ? SetPosition(m_position + m_increment) : m_position;
}

int CTaskProgressWnd::AdvanceBy(int delta)
{
    return m_hWnd ? SetPosition(m_position + delta) : m_position;
}

int CTaskProgressWnd::SetIncrement(int increment)
{
    const int previous = m_increment;
    m_increment = increment;
    if (!m_hWnd)
        return previous;
    return LOWORD(::SendMessageA(m_bar, PBM_SETSTEP, (WPARAM)increment, 0));
}

void CTaskProgressWnd::SetStatusText(const char* format, ...)
{
    if (!m_hWnd || !format)
        return;
    char text[kStatusMax];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args); // cuts at 511 characters
    va_end(args);
    text[sizeof text - 1] = '\0';
    ::SetWindowTextA(m_status, text);
}

void CTaskProgressWnd::Clear()
{
    if (m_hWnd)
        ::SetWindowTextA(m_status, "");
    m_position = 0;
    if (m_hWnd)
        ::SendMessageA(m_bar, PBM_SETPOS, 0, 0);
    m_cancelled = false;
    if (m_hWnd)
        ::UpdateWindow(m_hWnd);
}

void CTaskProgressWnd::Reveal()
{
    if (!m_hWnd || ::IsWindowVisible(m_hWnd))
        return;
    ::ShowWindow(m_hWnd, SW_SHOWNA);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
}

void CTaskProgressWnd::Conceal()
{
    if (!m_hWnd)
        return;
    Clear();
    if (::IsWindowVisible(m_hWnd))
        ::ShowWindow(m_hWnd, SW_HIDE);
}

void CTaskProgressWnd::PumpPending(bool escapeCancels)
{
    if (m_cancelled)
        return;
    MSG msg;
    while (!m_cancelled && ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (escapeCancels && msg.message == WM_CHAR && msg.wParam == VK_ESCAPE)
            m_cancelled = true;
        if (!PumpOneMessage()) {
            ::PostQuitMessage(0);
            return;
        }
    }
}

BOOL CTaskProgressWnd::OnEraseBkgnd(HDC hdc)
{
    RECT clip;
    ::GetClipBox(hdc, &clip);
    CBrush brush(::GetSysColor(COLOR_BTNFACE));
    CSelectObject sel(hdc, brush);
    ::PatBlt(hdc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, PATCOPY);
    return TRUE;
}

BOOL CTaskProgressWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == kCancelId) {
        m_cancelled = true;
        return TRUE;
    }
    return FALSE;
}
