// CSpinButtonCtrl.h - a handle to an up-down control.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "framework/CWindow.h"

class CSpinButtonCtrl : public CWindow
{
public:
    using CWindow::CWindow;

    void SetRange(int lower, int upper)
    {
        SendMessage(UDM_SETRANGE, 0, MAKELPARAM((short)upper, (short)lower));
    }
    void GetRange(int& lower, int& upper) const
    {
        DWORD range = (DWORD)SendMessage(UDM_GETRANGE);
        upper = (short)LOWORD(range);
        lower = (short)HIWORD(range);
    }
    int SetPos(int pos)
    {
        return (short)LOWORD(SendMessage(UDM_SETPOS, 0, MAKELPARAM((short)pos, 0)));
    }
    // The position; the buddy's text is read back first, as the control does.
    int GetPos() const { return (short)LOWORD(SendMessage(UDM_GETPOS)); }
    int SetBase(int base) { return (int)SendMessage(UDM_SETBASE, (WPARAM)base); }
    HWND SetBuddy(HWND buddy) { return (HWND)SendMessage(UDM_SETBUDDY, (WPARAM)buddy); }
    HWND GetBuddy() const { return (HWND)SendMessage(UDM_GETBUDDY); }
};
