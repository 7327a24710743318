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

// Runs each step when the thread's message loop next waits, whichever loop
// runs then (a modal dialog's too): a step that opens a modal window finds
// the next step running inside it, as a user acts on what just opened.
// Steps not run when the object goes are dropped.
class WhenIdle
{
public:
    explicit WhenIdle(std::vector<std::function<void()>> steps);
    ~WhenIdle();
    WhenIdle(const WhenIdle&) = delete;
    WhenIdle& operator=(const WhenIdle&) = delete;
    size_t Left() const { return m_steps.size() - m_next; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD);
    void Arm();

    std::vector<std::function<void()>> m_steps;
    size_t m_next = 0;
    UINT_PTR m_timer = 0;
};

// The dialog windows (top-level, not pages) that this thread asks the
// system to make while the object lives, by the caption they are made with
// (a template's); the system refuses those `refuse` answers true for, as it
// does when it runs out of memory.
class DialogCreations
{
public:
    explicit DialogCreations(std::function<bool(const std::string& caption)> refuse = nullptr);
    ~DialogCreations();
    DialogCreations(const DialogCreations&) = delete;
    DialogCreations& operator=(const DialogCreations&) = delete;

    std::vector<std::string> asked;
    std::function<bool(const std::string& caption)> refuse;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
};

// A top-level window of this thread by its caption, or null.
HWND FindThreadWindow(const std::string& caption);

// Runs `run`, during which a window captioned `caption` may come up with a
// loop of its own (a program's main window): the user closes it (WM_CLOSE)
// once it waits for input. Returns whether it came.
bool RunClosingWindow(const std::string& caption, const std::function<void()>& run);

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
