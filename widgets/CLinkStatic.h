// CLinkStatic.h - a static text that behaves as a hyperlink: underlined text
// in a link colour, a hand cursor, a tooltip with the target, a hover colour,
// and opening of the target through the shell (or the registered web
// browser when the shell has no association) when clicked.
#pragma once

#include <windows.h>

#include <string>

#include "framework/CStatic.h"
#include "framework/CToolTipCtrl.h"
#include "framework/Gdi.h"

class CLinkStatic : public CStatic
{
public:
    CLinkStatic();
    ~CLinkStatic() override;

    void SetTarget(const char* target);
    const std::string& GetTarget() const { return m_target; }

    // A hover colour of (COLORREF)-1 means the system highlight colour.
    void SetLinkColors(COLORREF link, COLORREF visited, COLORREF hover = (COLORREF)-1);
    COLORREF GetLinkColor() const { return m_linkColor; }
    COLORREF GetVisitedColor() const { return m_visitedColor; }
    COLORREF GetHoverColor() const { return m_hoverColor; }

    void MarkVisited(bool visited = true);
    bool IsVisited() const { return m_visited; }

    // A null cursor loads the default hand (winhlp32's, when it has one).
    void SetHandCursor(HCURSOR cursor);
    HCURSOR GetHandCursor() const { return m_cursor; }

    void ShowUnderline(bool on);
    bool IsUnderlined() const { return m_underline; }

    void EnableFitToText(bool on);
    bool IsFitToText() const { return m_fitToText; }

    bool IsMouseOver() const { return m_mouseOver; }
    CToolTipCtrl& GetToolTip() { return m_toolTip; }

    // Opens a target: the shell first, then the ".htm" browser with the target
    // appended. Returns the last result code (above 32 for success).
    static int OpenTarget(const char* target, int show);
    // The report text for a failed open, after "Unable to open hyperlink:\n\n".
    static std::string FailureText(int code);
    // The browser command line for a target, or empty when there is none or it
    // would not fit the 520-character command buffer.
    static std::string BrowserCommand(const char* target);

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnSetCursor(HWND hWnd, UINT hitTest, UINT message) override;
    void OnMouseMove(UINT flags, POINT pt) override;

private:
    void RebuildFont();
    void FitToText();
    void LoadDefaultCursor();
    void ReleaseOwnCursor();
    void OnClicked();

    COLORREF m_linkColor;
    COLORREF m_visitedColor;
    COLORREF m_hoverColor;
    bool m_mouseOver;
    bool m_visited;
    bool m_underline;
    bool m_fitToText;
    DWORD m_alignment = SS_LEFT; // the text's alignment as the control came
    std::string m_target;
    CFont m_font;
    HCURSOR m_cursor;
    bool m_ownsCursor; // m_cursor is our copy of winhlp32's cursor
    CToolTipCtrl m_toolTip;
};
