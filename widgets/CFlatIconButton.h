// CFlatIconButton.h - a push button that draws itself: flat until the mouse
// is over it, then raised; a normal and a hot icon; an optional caption;
// its own colours for the idle and the hot state. Painted off screen.
#pragma once

#include "framework/CWnd.h"

class CFlatIconButton : public CWnd
{
public:
    CFlatIconButton();
    ~CFlatIconButton() override;

    // SubclassDlgItem turns an existing button into a flat icon button. The
    // parent must be one of our windows, so it reflects WM_DRAWITEM back here.

    // Loads the icons from the program's resources at their natural size;
    // normalId 0 uses the hot icon for both. Sizes are held in 8 bits: a
    // width or height above 255 is refused and changes nothing.
    bool SetIcons(UINT hotId, UINT normalId, int width, int height);

    void SetFlatLook(bool flat);
    bool IsFlatLook() const { return m_flat; }
    // 0: icon left of the caption; 1: icon above it. Other values are ignored.
    void SetIconAlign(int align);
    int GetIconAlign() const { return m_iconAlign; }
    void SetDrawBorder(bool draw) { m_drawBorder = draw; }
    void SetShowText(bool show);
    bool IsShowText() const { return m_showText; }

    void SetIdleBackColor(COLORREF color, int repaint = 1);
    void SetIdleTextColor(COLORREF color, int repaint = 1);
    void SetHotBackColor(COLORREF color, int repaint = 1);
    void SetHotTextColor(COLORREF color, int repaint = 1);
    void DefaultIdleBackColor(int repaint = 1);
    void DefaultIdleTextColor(int repaint = 1);
    void DefaultHotBackColor(int repaint = 1);
    void DefaultHotTextColor(int repaint = 1);
    COLORREF GetIdleBackColor() const { return m_idleBackColor; }
    COLORREF GetIdleTextColor() const { return m_idleTextColor; }
    COLORREF GetHotBackColor() const { return m_hotBackColor; }
    COLORREF GetHotTextColor() const { return m_hotTextColor; }

    // The mouse is over the button (and captured by it): the hot state ends
    // when the capture does (a click, another window taking the mouse) and
    // when the focus moves away.
    bool IsHot() const { return m_mouseOver; }

    // Paints the button for an owner-draw request.
    virtual void DrawItem(LPDRAWITEMSTRUCT dis);

protected:
    // Switches the button to the owner-draw style.
    void PreSubclassWindow() override;
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnMouseMove(UINT flags, POINT pt) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Repaint(int repaint);
    // Leaves the hot state of a flat button, with a repaint.
    void DropHot();
    void FreeIcons();

    int m_iconAlign;
    bool m_showText;
    bool m_drawBorder;
    bool m_flat;
    bool m_mouseOver;
    HICON m_iconHot;
    HICON m_iconNormal;
    BYTE m_iconHeight, m_iconWidth;
    COLORREF m_idleBackColor;
    COLORREF m_idleTextColor;
    COLORREF m_hotBackColor;
    COLORREF m_hotTextColor;
};
