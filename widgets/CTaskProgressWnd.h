// CTaskProgressWnd.h - a small popup with a status text and a progress bar
// for a long loop on the user-interface thread. The loop advances it and
// pumps pending messages between its steps; Escape cancels the pumping.
#pragma once

#include <windows.h>

#include "framework/CWnd.h"
#include "framework/Gdi.h"

class CTaskProgressWnd : public CWnd
{
public:
    CTaskProgressWnd();
    ~CTaskProgressWnd() override;

    // Creates and shows the window; owner null means the application's main
    // window. Returns false when a window cannot be created. The bar is
    // smooth only where the common controls know the style (4.70 and
    // later); elsewhere it is the segmented bar.
    bool Open(HWND owner, const char* caption, bool smooth);

    // The bounds are taken to 0..65535, the range every comctl32 holds.
    void SetLimits(int lower, int upper, int increment);
    // Returns the previous position (low 16 bits as the bar gives it).
    int SetPosition(int position);
    int Advance();
    int AdvanceBy(int delta);
    int SetIncrement(int increment);
    // printf-style; the text is cut at 511 characters.
    void SetStatusText(const char* format, ...);
    void Clear();
    void Reveal();
    void Conceal();
    // Dispatches what is waiting, until the queue is empty or a cancel comes.
    void PumpPending(bool escapeCancels);

    bool IsCancelled() const { return m_cancelled; }
    int GetPosition() const { return m_position; }
    HWND GetStatusWindow() const { return m_status; }
    HWND GetBarWindow() const { return m_bar; }
    HWND GetCancelButton() const { return m_cancelButton; }

    static const int kCancelId = 10;
    static const int kStatusId = 11;
    static const int kBarId = 12;
    static const int kStatusMax = 512;

protected:
    BOOL OnEraseBkgnd(HDC hdc) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void Layout(int lines, int textWidth);
    void Centre();

    bool m_cancelled;
    int m_position;
    int m_increment;
    int m_upper;
    int m_lower;
    int m_textLines;
    HWND m_status;
    HWND m_bar;
    HWND m_cancelButton;
    CFont m_font;
};
