// MenuTestSupport.h - windows to draw in and pixel helpers for the menu,
// button and notification icon tests.
#pragma once

#include "tests/support/TestWindows.h"

#include "framework/CWnd.h"

#include <string>
#include <vector>

// The one shown top-level window of the test program (active, topmost).
HWND SharedTopLevel();

// A child window of our own class in the shared top-level window, at its
// top-left corner; it records the commands and WM_NULL messages it receives.
class TestHostWindow : public CWnd
{
public:
    bool Open(int width, int height);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    std::vector<UINT> commands;
    int nullMessages = 0;
};

// "r,g,b" for failure messages.
std::string ColorText(COLORREF c);

// Pixels of a DC region read into memory, for scanning.
class PixelGrab
{
public:
    PixelGrab(HDC dc, int width, int height);
    COLORREF At(int x, int y) const { return m_pixels[y * m_width + x]; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // How many pixels of the rectangle have exactly this colour.
    int Count(const RECT& rc, COLORREF c) const;
    // Bounding box of the pixels that differ from `background`; empty when none.
    RECT Ink(const RECT& rc, COLORREF background) const;

private:
    int m_width, m_height;
    std::vector<COLORREF> m_pixels;
};
