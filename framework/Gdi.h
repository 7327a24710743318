// Gdi.h - owning and borrowing wrappers for GDI objects and device contexts.
// An owner deletes its handle in its destructor and cannot be copied; a
// selection puts the old object back before the owner may delete its own.
#pragma once

#include <windows.h>
#include <utility>

template <class H>
class CGdiObject
{
public:
    CGdiObject() : m_h(nullptr) {}
    explicit CGdiObject(H h) : m_h(h) {}
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    CGdiObject(CGdiObject&& other) noexcept : m_h(other.Detach()) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept
    {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }

    operator H() const { return m_h; }
    H Get() const { return m_h; }
    bool IsNull() const { return m_h == nullptr; }
    void Attach(H h)
    {
        DeleteObject();
        m_h = h;
    }
    H Detach() { return std::exchange(m_h, nullptr); }
    void DeleteObject()
    {
        if (m_h)
            ::DeleteObject(m_h);
        m_h = nullptr;
    }

protected:
    H m_h;
};

class CPen : public CGdiObject<HPEN>
{
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { m_h = ::CreatePen(style, width, color); }
};

class CBrush : public CGdiObject<HBRUSH>
{
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { m_h = ::CreateSolidBrush(color); }
};

class CFont : public CGdiObject<HFONT>
{
public:
    CFont() = default;
    BOOL CreateFontIndirect(const LOGFONTA& lf)
    {
        Attach(::CreateFontIndirectA(&lf));
        return m_h != nullptr;
    }
};

class CBitmap : public CGdiObject<HBITMAP>
{
public:
    CBitmap() = default;
    BOOL LoadBitmap(UINT id)
    {
        Attach(::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)));
        return m_h != nullptr;
    }
    BOOL CreateCompatibleBitmap(HDC dc, int cx, int cy)
    {
        Attach(::CreateCompatibleBitmap(dc, cx, cy));
        return m_h != nullptr;
    }
};

class CRgn : public CGdiObject<HRGN>
{
public:
    CRgn() = default;
};

// Selects an object into a DC for the lifetime of this guard.
class CSelectObject
{
public:
    CSelectObject(HDC dc, HGDIOBJ obj) : m_dc(dc), m_old(obj ? ::SelectObject(dc, obj) : nullptr) {}
    ~CSelectObject()
    {
        if (m_old)
            ::SelectObject(m_dc, m_old);
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// BeginPaint/EndPaint.
class CPaintDC
{
public:
    explicit CPaintDC(HWND hWnd) : m_hWnd(hWnd) { m_dc = ::BeginPaint(hWnd, &m_ps); }
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    operator HDC() const { return m_dc; }
    PAINTSTRUCT m_ps;

private:
    HWND m_hWnd;
    HDC m_dc;
};

// GetDC/ReleaseDC (a null window gives the screen).
class CClientDC
{
public:
    explicit CClientDC(HWND hWnd) : m_hWnd(hWnd), m_dc(::GetDC(hWnd)) {}
    ~CClientDC()
    {
        if (m_dc)
            ::ReleaseDC(m_hWnd, m_dc);
    }
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;
    operator HDC() const { return m_dc; }

private:
    HWND m_hWnd;
    HDC m_dc;
};

// CreateCompatibleDC/DeleteDC.
class CMemoryDC
{
public:
    explicit CMemoryDC(HDC like) : m_dc(::CreateCompatibleDC(like)) {}
    ~CMemoryDC()
    {
        if (m_dc)
            ::DeleteDC(m_dc);
    }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;
    operator HDC() const { return m_dc; }

private:
    HDC m_dc;
};
