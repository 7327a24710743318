// COffscreenDC.cpp - the memory context behind flicker-free painting.
#include "widgets/COffscreenDC.h"

COffscreenDC::COffscreenDC(HDC target)
    : m_hDC(target), m_oldBitmap(nullptr), m_target(target), m_rect{0, 0, 0, 0},
      m_offscreen(false)
{
    if (!target || ::GetDeviceCaps(target, TECHNOLOGY) == DT_RASPRINTER)
        return; // draw straight into the target
    ::GetClipBox(target, &m_rect);
    int w = m_rect.right - m_rect.left, h = m_rect.bottom - m_rect.top;
    if (w <= 0 || h <= 0)
        return;
    HDC mem = ::CreateCompatibleDC(target);
    if (!mem)
        return;
    if (!m_bitmap.CreateCompatibleBitmap(target, w, h)) {
        ::DeleteDC(mem);
        return;
    }
    m_oldBitmap = ::SelectObject(mem, m_bitmap);
    // Drawing uses the target's coordinates.
    ::SetWindowOrgEx(mem, m_rect.left, m_rect.top, nullptr);
    m_hDC = mem;
    m_offscreen = true;
}

COffscreenDC::~COffscreenDC()
{
    if (!m_offscreen)
        return; // the target's handles were only borrowed
    ::BitBlt(m_target, m_rect.left, m_rect.top, m_rect.right - m_rect.left,
             m_rect.bottom - m_rect.top, m_hDC, m_rect.left, m_rect.top, SRCCOPY);
    ::SelectObject(m_hDC, m_oldBitmap);
    ::DeleteDC(m_hDC);
    // m_bitmap is deleted after this, now that no context holds it.
}
