// CToolTipCtrl.h - a tooltip window owned by an object; its tools are parts
// of other windows.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "framework/CWnd.h"

class CToolTipCtrl : public CWnd
{
public:
    CToolTipCtrl() = default;
    // The tooltip window was made by this object and goes with it.
    ~CToolTipCtrl() override;

    // Creates the tooltip window owned by owner (destroyed with this object).
    BOOL Create(HWND owner, DWORD style = 0);

    // Adds tool id of window tool over rect (client coordinates of tool). With
    // TTF_SUBCLASS in flags the tooltip watches the tool's mouse messages itself.
    BOOL AddTool(HWND tool, LPCSTR text, const RECT& rect, UINT id, UINT flags = 0);
    void UpdateTipText(LPCSTR text, HWND tool, UINT id);
    // The tip text of a tool (at most 1023 characters).
    std::string GetText(HWND tool, UINT id) const;
    int GetToolCount() const { return (int)SendMessage(TTM_GETTOOLCOUNT); }
    // Hands a mouse message of a tool to the tooltip.
    void RelayEvent(const MSG* msg);
};
