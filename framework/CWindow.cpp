// CWindow.cpp - reading a window's text whole.
#include "framework/CWindow.h"

std::string CWindow::GetWindowText(HWND hWnd)
{
    int len = ::GetWindowTextLengthA(hWnd);
    std::string text(len + 1, '\0');
    int got = ::GetWindowTextA(hWnd, &text[0], len + 1);
    text.resize(got > 0 ? got : 0);
    return text;
}

void CWindow::CenterWindow(HWND alternateOwner)
{
    HWND owner = alternateOwner ? alternateOwner : ::GetParent(m_hWnd);
    RECT rcOwner;
    // With no owner to be seen (a window over the desktop has none: the
    // system makes the desktop nobody's owner) the window is centred in the
    // work area, clear of the taskbar.
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &rcOwner);
    else
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcOwner, 0);
    CentreOver(rcOwner);
}

void CWindow::CenterInWorkArea()
{
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    CentreOver(work);
}

void CWindow::CentreOver(const RECT& rcOwner)
{
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    int x = rcOwner.left + ((rcOwner.right - rcOwner.left) - w) / 2;
    int y = rcOwner.top + ((rcOwner.bottom - rcOwner.top) - h) / 2;
    // Never leave the screen: an owner in a corner pushes us back inside.
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    if (x + w > work.right)
        x = work.right - w;
    if (y + h > work.bottom)
        y = work.bottom - h;
    if (x < work.left)
        x = work.left;
    if (y < work.top)
        y = work.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
