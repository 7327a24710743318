// CSliderCtrl.h - a handle to a trackbar.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "framework/CWindow.h"

class CSliderCtrl : public CWindow
{
public:
    using CWindow::CWindow;

    void SetRange(int minPos, int maxPos, BOOL redraw = TRUE)
    {
        SendMessage(TBM_SETRANGE, redraw, MAKELPARAM(minPos, maxPos));
    }
    int GetRangeMin() const { return (int)SendMessage(TBM_GETRANGEMIN); }
    int GetRangeMax() const { return (int)SendMessage(TBM_GETRANGEMAX); }
    void SetPos(int pos) { SendMessage(TBM_SETPOS, TRUE, (LPARAM)pos); }
    int GetPos() const { return (int)SendMessage(TBM_GETPOS); }
    void SetTicFreq(int freq) { SendMessage(TBM_SETTICFREQ, (WPARAM)freq); }
    int SetPageSize(int size) { return (int)SendMessage(TBM_SETPAGESIZE, 0, (LPARAM)size); }
    int SetLineSize(int size) { return (int)SendMessage(TBM_SETLINESIZE, 0, (LPARAM)size); }
};
