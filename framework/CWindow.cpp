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
