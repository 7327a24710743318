// COffscreenDC.cpp - the memory context behind flicker-free painting.
#include "widgets/COffscreenDC.h"

COffscreenDC::COffscreenDC(HDC target) : m_target(target), m_rect{0, 0, 0, 0}
{
    if (!target || ::GetDeviceCaps(target, TECHNOLOGY) == DT_RASPRINTER)
        return; // draw straight into the target
    ::GetClipBox(target, &m_rect);
    if (!m_memory.Create(target, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top))
        return; // no memory for the bitmap: straight into the target as well
    // Drawing uses the target's coordinates.
    ::SetWindowOrgEx(m_memory, m_rect.left, m_rect.top, nullptr);
}

COffscreenDC::~COffscreenDC()
{
    if (!IsOffscreen())
        return;
    ::BitBlt(m_target, m_rect.left, m_rect.top, m_rect.right - m_rect.left,
             m_rect.bottom - m_rect.top, m_memory, m_rect.left, m_rect.top, SRCCOPY);
}
