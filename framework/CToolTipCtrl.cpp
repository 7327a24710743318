// CToolTipCtrl.cpp - the tooltip window and its tools.
#include "framework/CToolTipCtrl.h"

namespace {

TOOLINFOA MakeInfo(HWND tool, UINT id)
{
    TOOLINFOA ti = {};
    // The first version's size (without lParam): the only one the tooltips
    // of Windows 95 and NT 4.0 (common controls 4.00) know; later ones accept
    // it too. mingw-w64's TOOLINFOA is larger whatever _WIN32_IE says.
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.hwnd = tool;
    ti.uId = id;
    return ti;
}

} // namespace

CToolTipCtrl::~CToolTipCtrl()
{
    if (m_hWnd)
        ::DestroyWindow(UnsubclassWindow());
}

BOOL CToolTipCtrl::Create(HWND owner, DWORD style)
{
    ::InitCommonControls();
    return CreateEx(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr);
}

BOOL CToolTipCtrl::AddTool(HWND tool, LPCSTR text, const RECT& rect, UINT id, UINT flags)
{
    TOOLINFOA ti = MakeInfo(tool, id);
    ti.uFlags = flags;
    ti.rect = rect;
    ti.lpszText = const_cast<LPSTR>(text ? text : "");
    return (BOOL)SendMessage(TTM_ADDTOOLA, 0, (LPARAM)&ti);
}

void CToolTipCtrl::UpdateTipText(LPCSTR text, HWND tool, UINT id)
{
    TOOLINFOA ti = MakeInfo(tool, id);
    ti.lpszText = const_cast<LPSTR>(text ? text : "");
    SendMessage(TTM_UPDATETIPTEXTA, 0, (LPARAM)&ti);
}

std::string CToolTipCtrl::GetText(HWND tool, UINT id) const
{
    char buffer[1024] = ""; // the control copies up to its own tip size limit
    TOOLINFOA ti = MakeInfo(tool, id);
    ti.lpszText = buffer;
    SendMessage(TTM_GETTEXTA, 0, (LPARAM)&ti);
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
}

void CToolTipCtrl::RelayEvent(const MSG* msg)
{
    if (m_hWnd && msg)
        SendMessage(TTM_RELAYEVENT, 0, (LPARAM)msg);
}
