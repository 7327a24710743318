// Gdi.h - owning and borrowing wrappers for GDI objects and device contexts.
// An owner deletes its handle in its destructor and cannot be copied; a
// selection puts the old object back before the owner may delete its own.
#pragma once

#include <windows.h>

#include <utility>

template <class H> class CGdiObject
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

// A memory device context (CreateCompatibleDC/DeleteDC), the one kind the
// program draws off screen with. Given a size it also owns a compatible
// bitmap, selected into it for its whole life; the bitmap is deselected
// before either is deleted.
class CMemoryDC
{
public:
    CMemoryDC() = default;
    explicit CMemoryDC(HDC like) { Create(like); }
    CMemoryDC(HDC like, int cx, int cy) { Create(like, cx, cy); }
    ~CMemoryDC() { Release(); }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

    // A context alone; false (and nothing held) when it cannot be made.
    bool Create(HDC like)
    {
        Release();
        m_dc = ::CreateCompatibleDC(like);
        return m_dc != nullptr;
    }
    // A context with a cx by cy bitmap; false (and nothing held) when either
    // cannot be made.
    bool Create(HDC like, int cx, int cy)
    {
        if (!Create(like))
            return false;
        if (cx <= 0 || cy <= 0 || !m_bitmap.CreateCompatibleBitmap(like, cx, cy)) {
            Release();
            return false;
        }
        m_oldBitmap = ::SelectObject(m_dc, m_bitmap);
        m_size = SIZE{cx, cy};
        return true;
    }
    void Release()
    {
        if (m_dc) {
            if (m_oldBitmap)
                ::SelectObject(m_dc, m_oldBitmap);
            ::DeleteDC(m_dc);
        }
        m_dc = nullptr;
        m_oldBitmap = nullptr;
        m_bitmap.DeleteObject();
        m_size = SIZE{0, 0};
    }

    operator HDC() const { return m_dc; }
    HDC Get() const { return m_dc; }
    HBITMAP GetBitmap() const { return m_bitmap; }
    // The bitmap's size; 0 by 0 without one.
    SIZE GetSize() const { return m_size; }

private:
    HDC m_dc = nullptr;
    CBitmap m_bitmap;
    HGDIOBJ m_oldBitmap = nullptr;
    SIZE m_size = {0, 0};
};

// A device context that belongs to someone else (a paint message, a caller):
// used, never released here.
class CDCHandle
{
public:
    explicit CDCHandle(HDC dc = nullptr) : m_dc(dc) {}
    operator HDC() const { return m_dc; }
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};
