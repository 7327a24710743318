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

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    // True when drawing goes to the memory bitmap.
    bool IsOffscreen() const { return m_offscreen; }
    const RECT& GetRect() const { return m_rect; }

private:
    HDC m_hDC;              // the context drawn into (memory or the target's)
    CBitmap m_bitmap;       // memory bitmap, owned
    HGDIOBJ m_oldBitmap;    // the bitmap it replaced in the memory context
    HDC m_target;           // not owned
    RECT m_rect;            // the target's clip box
    bool m_offscreen;       // false for a printer context
};
