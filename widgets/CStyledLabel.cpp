// CStyledLabel.cpp - colours, font attributes, blinking and click-to-open of
// the styled label.
#include "widgets/CStyledLabel.h"

#include "framework/Os.h"

CStyledLabel::CStyledLabel()
    : m_textColor(::GetSysColor(COLOR_WINDOWTEXT)), m_backBrush(::GetSysColor(COLOR_BTNFACE)),
      m_blinkBrush(::GetSysColor(COLOR_BTNFACE)), m_logFont{}, m_phase(false),
      m_timerRunning(false), m_clickOpens(true), m_blinkKind(BLINK_NONE), m_pointer(nullptr)
{
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof m_logFont, &m_logFont);
    m_font.CreateFontIndirect(m_logFont);
}

CStyledLabel::~CStyledLabel()
{
    // The control must not keep a font that is about to go.
    if (IsWindow())
        SendMessage(WM_SETFONT, 0, FALSE);
}

void CStyledLabel::PreSubclassWindow()
{
    SendMessage(WM_SETFONT, (WPARAM)m_font.Get(), FALSE);
}

void CStyledLabel::OnDestroy()
{
    if (m_timerRunning)
        KillTimer(kBlinkTimer);
    m_timerRunning = false;
    Default();
}

void CStyledLabel::RedrawNow()
{
    if (IsWindow())
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CStyledLabel::RebuildFont()
{
    CFont font;
    if (!font.CreateFontIndirect(m_logFont))
        return;
    // The control takes the new font before the old one is deleted.
    if (IsWindow())
        SendMessage(WM_SETFONT, (WPARAM)font.Get(), FALSE);
    m_font = std::move(font);
    RedrawNow();
}

CStyledLabel& CStyledLabel::ChangeText(const char* text)
{
    if (IsWindow())
        SetWindowText(text ? text : "");
    return *this;
}

CStyledLabel& CStyledLabel::ChangeTextColor(COLORREF color)
{
    m_textColor = color;
    RedrawNow();
    return *this;
}

CStyledLabel& CStyledLabel::ChangeBackColor(COLORREF color)
{
    m_backBrush.Attach(::CreateSolidBrush(color));
    return *this;
}

CStyledLabel& CStyledLabel::SetBold(bool on)
{
    m_logFont.lfWeight = on ? FW_BOLD : FW_NORMAL;
    RebuildFont();
    return *this;
}

CStyledLabel& CStyledLabel::SetItalic(bool on)
{
    m_logFont.lfItalic = on ? TRUE : FALSE;
    RebuildFont();
    return *this;
}

CStyledLabel& CStyledLabel::SetUnderlined(bool on)
{
    m_logFont.lfUnderline = on ? TRUE : FALSE;
    RebuildFont();
    return *this;
}

CStyledLabel& CStyledLabel::SetCharHeight(int height)
{
    m_logFont.lfHeight = -height;
    RebuildFont();
    return *this;
}

CStyledLabel& CStyledLabel::SetFaceName(const char* name)
{
    lstrcpynA(m_logFont.lfFaceName, name ? name : "", LF_FACESIZE);
    RebuildFont();
    return *this;
}

CStyledLabel& CStyledLabel::SetSunkenEdge(bool on)
{
    if (IsWindow())
        ModifyStyleEx(on ? 0 : WS_EX_STATICEDGE, on ? WS_EX_STATICEDGE : 0, SWP_DRAWFRAME);
    return *this;
}

CStyledLabel& CStyledLabel::SetThinBorder(bool on)
{
    if (IsWindow())
        ModifyStyle(on ? 0 : WS_BORDER, on ? WS_BORDER : 0, SWP_DRAWFRAME);
    return *this;
}

void CStyledLabel::StopBlink()
{
    if (!m_timerRunning)
        return;
    if (IsWindow()) {
        KillTimer(kBlinkTimer);
        if (m_blinkKind == BLINK_TEXT)
            SetWindowText(m_savedText.c_str());
    }
    m_timerRunning = false;
}

CStyledLabel& CStyledLabel::BlinkText(bool on)
{
    StopBlink();
    if (!on || !IsWindow())
        return *this;
    m_savedText = GetWindowText();
    m_phase = false;
    m_timerRunning = SetTimer(kBlinkTimer, kBlinkPeriod) != 0;
    m_blinkKind = BLINK_TEXT;
    return *this;
}

CStyledLabel& CStyledLabel::BlinkBackground(bool on)
{
    StopBlink();
    if (!on || !IsWindow())
        return *this;
    m_phase = false;
    m_timerRunning = SetTimer(kBlinkTimer, kBlinkPeriod) != 0;
    m_blinkKind = BLINK_BACKGROUND;
    return *this;
}

CStyledLabel& CStyledLabel::SetClickOpens(bool on)
{
    m_clickOpens = on;
    if (IsWindow())
        ModifyStyle(on ? 0 : SS_NOTIFY, on ? SS_NOTIFY : 0);
    return *this;
}

CStyledLabel& CStyledLabel::SetPointer(HCURSOR cursor)
{
    m_pointer = cursor;
    return *this;
}

BOOL CStyledLabel::OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (msg) {
    case WM_CTLCOLORSTATIC: {
        HDC dc = (HDC)wParam;
        ::SelectObject(dc, m_font.Get());
        ::SetTextColor(dc, m_textColor);
        ::SetBkMode(dc, TRANSPARENT);
    }
        // fall through
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORDLG:
        *result = (LRESULT)(m_blinkKind == BLINK_BACKGROUND && !m_phase ? m_blinkBrush.Get()
                                                                        : m_backBrush.Get());
        return TRUE;
    default:
        return FALSE;
    }
}

void CStyledLabel::OnTimer(UINT_PTR id)
{
    if (id == kBlinkTimer && m_timerRunning) {
        const bool was = m_phase;
        m_phase = !m_phase;
        if (m_blinkKind == BLINK_TEXT) {
            SetWindowText(was ? m_savedText.c_str() : "");
        } else if (m_blinkKind == BLINK_BACKGROUND) {
            ::InvalidateRect(m_hWnd, nullptr, FALSE);
            ::UpdateWindow(m_hWnd);
        }
    }
    Default();
}

void CStyledLabel::OnLButtonDown(UINT flags, POINT pt)
{
    std::string text = GetWindowText();
    g_os.ShellExecuteA(m_hWnd, "open", text.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    Default();
}

BOOL CStyledLabel::OnSetCursor(HWND hWnd, UINT hitTest, UINT message)
{
    if (!m_pointer)
        return (BOOL)Default();
    ::SetCursor(m_pointer);
    return TRUE;
}
