// CStyledLabel.h - a static text whose colours and font its owner sets with
// chained calls; it can blink its text or its background and open its text
// with the shell when clicked.
#pragma once

#include <windows.h>

#include <string>

#include "framework/CStatic.h"
#include "framework/Gdi.h"

class CStyledLabel : public CStatic
{
public:
    CStyledLabel();
    ~CStyledLabel() override;

    CStyledLabel& ChangeText(const char* text);
    CStyledLabel& ChangeTextColor(COLORREF color);
    // Takes effect at the next repaint.
    CStyledLabel& ChangeBackColor(COLORREF color);
    CStyledLabel& SetBold(bool on);
    CStyledLabel& SetItalic(bool on);
    CStyledLabel& SetUnderlined(bool on);
    CStyledLabel& SetCharHeight(int height);
    // Names of 32 characters or more are cut to the 31 that the font takes.
    CStyledLabel& SetFaceName(const char* name);
    CStyledLabel& SetSunkenEdge(bool on);
    CStyledLabel& SetThinBorder(bool on);
    CStyledLabel& BlinkText(bool on);
    CStyledLabel& BlinkBackground(bool on);
    CStyledLabel& SetClickOpens(bool on);
    CStyledLabel& SetPointer(HCURSOR cursor);

    const LOGFONTA& GetLogFont() const { return m_logFont; }
    HFONT GetFont() const { return m_font; }
    bool IsBlinking() const { return m_timerRunning; }

    static const UINT_PTR kBlinkTimer = 1;
    static const UINT kBlinkPeriod = 500;

protected:
    void PreSubclassWindow() override;
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnTimer(UINT_PTR id) override;
    void OnLButtonDown(UINT flags, POINT pt) override;
    BOOL OnSetCursor(HWND hWnd, UINT hitTest, UINT message) override;
    void OnDestroy() override;

private:
    enum BlinkKind
    {
        BLINK_NONE = 0,
        BLINK_TEXT = 1,
        BLINK_BACKGROUND = 2
    };

    void RebuildFont();
    void RedrawNow();
    void StopBlink();

    COLORREF m_textColor;
    CBrush m_backBrush;
    CBrush m_blinkBrush;
    LOGFONTA m_logFont;
    CFont m_font;
    std::string m_savedText;
    bool m_phase;
    bool m_timerRunning;
    bool m_clickOpens;
    int m_blinkKind;
    HCURSOR m_pointer;
};
