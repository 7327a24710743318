// MenuTestSupport.cpp - windows and pixel helpers shared by the menu tests.
#include "tests/support/MenuTestSupport.h"

#include <cstdio>

HWND SharedTopLevel()
{
    // Hiding or destroying a shown top-level window costs Wine two seconds
    // on a display without a window manager, so the tests share one that
    // lives as long as the process and put their windows in it.
    static CWnd* frame = nullptr;
    if (!frame) {
        frame = new CWnd;
        frame->CreateEx(WS_EX_TOPMOST, nullptr, "menu tests", WS_POPUP | WS_VISIBLE, 200, 150, 640,
                        480, nullptr, nullptr);
        ::SetForegroundWindow(frame->m_hWnd);
        ::SetActiveWindow(frame->m_hWnd);
        PumpMessages();
    }
    return frame->m_hWnd;
}

bool TestHostWindow::Open(int width, int height)
{
    HWND parent = SharedTopLevel();
    if (!CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, width, height,
                  parent, (HMENU)1))
        return false;
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::UpdateWindow(m_hWnd);
    PumpMessages();
    return true;
}

BOOL TestHostWindow::OnCommand(WPARAM wParam, LPARAM)
{
    commands.push_back(LOWORD(wParam));
    return TRUE;
}

LRESULT TestHostWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NULL)
        ++nullMessages;
    return CWnd::WindowProc(msg, wParam, lParam);
}

std::string ColorText(COLORREF c)
{
    char buf[32];
    std::snprintf(buf, sizeof(buf), "%d,%d,%d", GetRValue(c), GetGValue(c), GetBValue(c));
    return buf;
}

PixelGrab::PixelGrab(HDC dc, int width, int height)
    : m_width(width), m_height(height), m_pixels(width * height, 0)
{
    // One BitBlt into a 32-bit DIB; GetPixel one by one is slow under Wine.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(mem, dib);
    ::BitBlt(mem, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    ::GdiFlush();
    const DWORD* p = static_cast<const DWORD*>(bits);
    for (int i = 0; i < width * height; ++i) {
        DWORD v = p[i];
        m_pixels[i] = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::DeleteObject(dib);
}

int PixelGrab::Count(const RECT& rc, COLORREF c) const
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            if (At(x, y) == c)
                ++n;
    return n;
}

RECT PixelGrab::Ink(const RECT& rc, COLORREF background) const
{
    RECT ink = {rc.right, rc.bottom, rc.left, rc.top};
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            if (At(x, y) != background) {
                ink.left = std::min<LONG>(ink.left, x);
                ink.top = std::min<LONG>(ink.top, y);
                ink.right = std::max<LONG>(ink.right, x + 1);
                ink.bottom = std::max<LONG>(ink.bottom, y + 1);
            }
    if (ink.left >= ink.right)
        return RECT{0, 0, 0, 0};
    return ink;
}
