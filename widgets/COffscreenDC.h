// COffscreenDC.h - a drawing context that renders into a memory bitmap the
// size of the target's clip box and copies the result to the target in one
// step when it ends, so a control repaints without flicker. A printer
// context is drawn into directly.
#pragma once

#include "framework/Gdi.h"

class COffscreenDC
{
public:
    explicit COffscreenDC(HDC target);
    ~COffscreenDC();
    COffscreenDC(const COffscreenDC&) = delete;
    COffscreenDC& operator=(const COffscreenDC&) = delete;

    HDC GetSafeHdc() const { return IsOffscreen() ? m_memory.Get() : m_target.Get(); }
    operator HDC() const { return GetSafeHdc(); }
    // True when drawing goes to the memory bitmap.
    bool IsOffscreen() const { return m_memory.Get() != nullptr; }
    const RECT& GetRect() const { return m_rect; }

private:
    CMemoryDC m_memory; // with a bitmap the size of the clip box
    CDCHandle m_target;
    RECT m_rect; // the target's clip box
};
