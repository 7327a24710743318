// TestWindows.h - helpers for the widget window tests: dialogs built from
// in-memory templates, message pumping and pixel reading.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

struct TestControl
{
    const char* className; // "BUTTON", "STATIC", "SysListView32", ...
    const char* text;
    int id;
    short x, y, cx, cy; // dialog units
    DWORD style;
};

// Builds a DLGTEMPLATE (8 pt "MS Sans Serif") and creates a modeless,
// resizable dialog from it with a procedure that does nothing. A hidden
// dialog is much quicker to destroy under Wine with no window manager.
HWND CreateTestDialog(const char* caption, short cx, short cy,
                      const std::vector<TestControl>& controls, bool visible = true,
                      HWND owner = nullptr, DLGPROC proc = nullptr);

// Handles the messages waiting now, through the message filter as the
// program's own pumps do (accelerators of modeless windows included).
void PumpMessages();
// Handles messages three times, 10 ms apart, for what other threads post.
void PumpTestMessages();
// Handles messages for `ms` of real time, running `eachRound` before each
// round: a demo holds a state on screen.
void PumpFor(DWORD ms, const std::function<void()>& eachRound = nullptr);

// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND hWnd);

// Saves what the window shows on screen (client area) as a 24-bit BMP.
bool SaveWindowBitmap(HWND hWnd, const char* path);

// The client area as it is on screen, read once.
struct ClientPixels
{
    explicit ClientPixels(HWND hWnd);
    COLORREF At(int x, int y) const; // CLR_INVALID outside
    int Count(const RECT& rc, COLORREF color) const;
    int width, height;
    std::vector<COLORREF> pixels;
};

// Pixel of the window's client area, read from the screen.
COLORREF ScreenPixel(HWND hWnd, int x, int y);

// Counts pixels of a colour in a client rectangle of the window, read back
// from the screen in one block.
int CountColor(HWND hWnd, const RECT& rc, COLORREF color);
