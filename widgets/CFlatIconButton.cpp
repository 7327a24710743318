// CFlatIconButton.cpp - hot tracking and painting of the flat icon button.
#include "widgets/CFlatIconButton.h"

#include "framework/Gdi.h"
#include "widgets/COffscreenDC.h"

namespace {

void FillSolid(HDC dc, const RECT& rc, COLORREF color)
{
    COLORREF old = ::SetBkColor(dc, color);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

// One-pixel lines: topLeft along the top and left, bottomRight along the others.
void Frame3d(HDC dc, const RECT& rc, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolid(dc, RECT{rc.left, rc.top, rc.right - 1, rc.top + 1}, topLeft);
    FillSolid(dc, RECT{rc.left, rc.top, rc.left + 1, rc.bottom - 1}, topLeft);
    FillSolid(dc, RECT{rc.right - 1, rc.top, rc.right, rc.bottom}, bottomRight);
    FillSolid(dc, RECT{rc.left, rc.bottom - 1, rc.right, rc.bottom}, bottomRight);
}

} // namespace

CFlatIconButton::CFlatIconButton()
    : m_iconAlign(0), m_showText(true), m_drawBorder(true), m_flat(true), m_mouseOver(false),
      m_iconHot(nullptr), m_iconNormal(nullptr), m_iconHeight(0), m_iconWidth(0),
      m_idleBackColor(::GetSysColor(COLOR_3DFACE)), m_idleTextColor(::GetSysColor(COLOR_BTNTEXT)),
      m_hotBackColor(::GetSysColor(COLOR_3DFACE)), m_hotTextColor(::GetSysColor(COLOR_BTNTEXT))
{}

CFlatIconButton::~CFlatIconButton()
{
    if (m_hWnd && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    FreeIcons();
}

void CFlatIconButton::FreeIcons()
{
    if (m_iconNormal && m_iconNormal != m_iconHot)
        ::DestroyIcon(m_iconNormal);
    if (m_iconHot)
        ::DestroyIcon(m_iconHot);
    m_iconHot = m_iconNormal = nullptr;
}

void CFlatIconButton::PreSubclassWindow()
{
    DWORD style = (DWORD)::GetWindowLongA(m_hWnd, GWL_STYLE);
    ::SendMessageA(m_hWnd, BM_SETSTYLE, (style & ~0xFFu) | BS_OWNERDRAW, TRUE);
}

bool CFlatIconButton::SetIcons(UINT hotId, UINT normalId, int width, int height)
{
    if (width < 0 || height < 0 || width > 255 || height > 255)
        return false;
    HINSTANCE inst = ::GetModuleHandleA(nullptr);
    HICON hot =
        (HICON)::LoadImageA(inst, MAKEINTRESOURCEA(hotId), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR);
    HICON normal = hot;
    if (normalId != 0)
        normal = (HICON)::LoadImageA(inst, MAKEINTRESOURCEA(normalId), IMAGE_ICON, 0, 0,
                                     LR_DEFAULTCOLOR);
    FreeIcons();
    m_iconHot = hot;
    m_iconNormal = normal;
    m_iconWidth = (BYTE)width;
    m_iconHeight = (BYTE)height;
    Repaint(1);
    return hot && normal;
}

void CFlatIconButton::Repaint(int repaint)
{
    if (repaint == 1 && m_hWnd)
        Invalidate(TRUE);
}

void CFlatIconButton::SetFlatLook(bool flat)
{
    m_flat = flat;
    Repaint(1);
}

void CFlatIconButton::SetIconAlign(int align)
{
    if (align != 0 && align != 1)
        return;
    m_iconAlign = align;
    Repaint(1);
}

void CFlatIconButton::SetShowText(bool show)
{
    m_showText = show;
    Repaint(1);
}

void CFlatIconButton::SetIdleBackColor(COLORREF color, int repaint)
{
    m_idleBackColor = color;
    Repaint(repaint);
}

void CFlatIconButton::SetIdleTextColor(COLORREF color, int repaint)
{
    m_idleTextColor = color;
    Repaint(repaint);
}

void CFlatIconButton::SetHotBackColor(COLORREF color, int repaint)
{
    m_hotBackColor = color;
    Repaint(repaint);
}

void CFlatIconButton::SetHotTextColor(COLORREF color, int repaint)
{
    m_hotTextColor = color;
    Repaint(repaint);
}

void CFlatIconButton::DefaultIdleBackColor(int repaint)
{
    SetIdleBackColor(::GetSysColor(COLOR_3DFACE), repaint);
}

void CFlatIconButton::DefaultIdleTextColor(int repaint)
{
    SetIdleTextColor(::GetSysColor(COLOR_BTNTEXT), repaint);
}

void CFlatIconButton::DefaultHotBackColor(int repaint)
{
    SetHotBackColor(::GetSysColor(COLOR_3DFACE), repaint);
}

void CFlatIconButton::DefaultHotTextColor(int repaint)
{
    SetHotTextColor(::GetSysColor(COLOR_BTNTEXT), repaint);
}

BOOL CFlatIconButton::OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (msg != WM_DRAWITEM)
        return CWnd::OnChildNotify(msg, wParam, lParam, result);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (result)
        *result = TRUE;
    return TRUE;
}

void CFlatIconButton::OnMouseMove(UINT flags, POINT pt)
{
    Default();
    if (!m_flat || ((flags & MK_LBUTTON) && !m_mouseOver))
        return;
    if (::GetCapture() != m_hWnd) {
        if (::GetActiveWindow() && (::GetParent(m_hWnd) || ::GetWindow(m_hWnd, GW_OWNER))) {
            m_mouseOver = true;
            ::SetCapture(m_hWnd);
            Invalidate(TRUE);
        }
        return;
    }
    RECT rc;
    GetClientRect(&rc);
    if (::PtInRect(&rc, pt))
        return;
    if (m_mouseOver) {
        m_mouseOver = false;
        Invalidate(TRUE);
    }
    if (!(flags & MK_LBUTTON))
        ::ReleaseCapture();
}

LRESULT CFlatIconButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_KILLFOCUS: {
        // Losing the focus ends the hot state and gives the mouse back, so
        // the next window under the mouse gets its moves.
        LRESULT result = Default();
        DropHot();
        if (m_flat && ::GetCapture() == m_hWnd && !(::GetKeyState(VK_LBUTTON) & 0x8000))
            ::ReleaseCapture();
        return result;
    }
    case WM_CAPTURECHANGED: {
        // The hot state lives as long as our capture: it ends when the
        // button control releases it after a click, or another window takes it.
        LRESULT result = Default();
        if (reinterpret_cast<HWND>(lParam) != m_hWnd)
            DropHot();
        return result;
    }
    default:
        return CWnd::WindowProc(msg, wParam, lParam);
    }
}

void CFlatIconButton::DropHot()
{
    if (m_flat && m_mouseOver) {
        m_mouseOver = false;
        Invalidate(TRUE);
    }
}

void CFlatIconButton::DrawItem(LPDRAWITEMSTRUCT dis)
{
    COffscreenDC dc(dis->hDC);
    RECT rc = dis->rcItem;
    const bool pressed = (dis->itemState & ODS_SELECTED) != 0;
    const bool focused = (dis->itemState & ODS_FOCUS) != 0;
    const bool disabled = (dis->itemState & ODS_DISABLED) != 0;
    const bool hotLook = m_mouseOver || pressed;

    if (!m_flat && focused) {
        CBrush black(RGB(0, 0, 0));
        ::FrameRect(dc, &rc, black);
        ::InflateRect(&rc, -1, -1);
    }
    FillSolid(dc, rc, hotLook ? m_hotBackColor : m_idleBackColor);

    const COLORREF hilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    if (!pressed && !m_flat) {
        Frame3d(dc, rc, hilite, ::GetSysColor(COLOR_3DDKSHADOW));
        RECT inner = {rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1};
        Frame3d(dc, inner, ::GetSysColor(COLOR_3DLIGHT), shadow);
    } else if (!pressed && m_flat && m_mouseOver && m_drawBorder) {
        Frame3d(dc, rc, hilite, shadow);
    } else if (pressed && !m_flat) {
        CBrush frame(shadow);
        ::FrameRect(dc, &rc, frame);
    } else if (pressed && m_flat && m_drawBorder) {
        Frame3d(dc, rc, shadow, hilite);
    }

    if (!m_flat && focused) {
        RECT focus = {rc.left + 3, rc.top + 3, rc.right - 3, rc.bottom - 3};
        ::DrawFocusRect(dc, &focus);
    }

    std::string caption = m_showText ? GetWindowText() : std::string();
    RECT captionRect = rc;
    if (m_iconNormal) {
        const int w = rc.right - rc.left, h = rc.bottom - rc.top;
        int x, y;
        if (m_iconAlign == 0) {
            y = rc.top + (h - m_iconHeight) / 2;
            if (!caption.empty()) {
                x = rc.left + 3;
                captionRect.left += m_iconWidth + 3;
            } else {
                x = rc.left + (w - m_iconWidth) / 2;
            }
        } else {
            x = rc.left + (w - m_iconWidth) / 2;
            if (!caption.empty()) {
                y = rc.top;
                captionRect.top += m_iconHeight;
            } else {
                y = rc.top + (h - m_iconHeight) / 2;
            }
        }
        if (pressed) {
            ++x;
            ++y;
        }
        HICON icon = hotLook ? m_iconHot : m_iconNormal;
        ::DrawStateA(dc, nullptr, nullptr, (LPARAM)icon, 0, x, y, m_iconWidth, m_iconHeight,
                     DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL));
    }

    if (!caption.empty()) {
        if (pressed)
            ::OffsetRect(&captionRect, 1, 1);
        HFONT font = (HFONT)SendMessage(WM_GETFONT);
        CSelectObject selectFont(dc, font);
        ::SetTextColor(dc, hotLook ? m_hotTextColor : m_idleTextColor);
        ::SetBkColor(dc, hotLook ? m_hotBackColor : m_idleBackColor);
        int oldMode = ::SetBkMode(dc, TRANSPARENT);
        RECT measured = captionRect;
        ::DrawTextA(dc, caption.c_str(), -1, &measured, DT_CALCRECT | DT_SINGLELINE);
        int cw = measured.right - measured.left, ch = measured.bottom - measured.top;
        int cx = captionRect.left + ((captionRect.right - captionRect.left) - cw) / 2;
        int cy = captionRect.top + ((captionRect.bottom - captionRect.top) - ch) / 2;
        ::DrawStateA(dc, nullptr, nullptr, (LPARAM)caption.c_str(), (WPARAM)caption.size(), cx, cy,
                     cw, ch, DST_PREFIXTEXT | (disabled ? DSS_DISABLED : DSS_NORMAL));
        ::SetBkMode(dc, oldMode);
    }
}
