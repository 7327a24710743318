// DataExchange.cpp - the exchange routines and their messages.
#include "framework/DataExchange.h"

#include <commctrl.h>

#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/FrameworkIds.h"
#include "framework/Os.h"

CDataExchange::CDataExchange(CWnd* dlg, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dlg), m_lastCtrl(nullptr), m_lastIsEdit(false),
      m_failed(false)
{}

HWND CDataExchange::PrepareCtrl(int id)
{
    m_lastCtrl = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, id) : nullptr;
    m_lastIsEdit = false;
    return m_lastCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int id)
{
    HWND ctrl = PrepareCtrl(id);
    m_lastIsEdit = true;
    return ctrl;
}

void CDataExchange::Fail()
{
    if (m_failed)
        return;
    m_failed = true;
    for (auto it = m_undo.rbegin(); it != m_undo.rend(); ++it)
        (*it)();
    m_undo.clear();
    if (m_lastCtrl && ::IsWindow(m_lastCtrl)) {
        ::SetFocus(m_lastCtrl);
        if (m_lastIsEdit)
            ::SendMessageA(m_lastCtrl, EM_SETSEL, 0, -1);
    }
}

void CDataExchange::Tell(const std::string& text)
{
    g_os.MessageBoxA(m_pDlgWnd ? m_pDlgWnd->m_hWnd : nullptr, text.c_str(),
                     AfxGetAppTitle().c_str(), MB_OK | MB_ICONEXCLAMATION);
}

std::string IntegerRangeMessage(int minValue, int maxValue)
{
    std::string text = LoadStr(IDS_PARSE_INT_RANGE);
    auto put = [&text](const char* mark, int number) {
        size_t at = text.find(mark);
        if (at != std::string::npos)
            text.replace(at, 2, std::to_string(number));
    };
    put("%1", minValue);
    put("%2", maxValue);
    return text;
}

void DDX_Control(CDataExchange* pDX, int id, CWindow& control)
{
    control.m_hWnd = pDX->m_pDlgWnd ? pDX->m_pDlgWnd->GetDlgItem(id) : nullptr;
}

void DDX_Text(CDataExchange* pDX, int id, int& value)
{
    if (pDX->Failed())
        return;
    HWND ctrl = pDX->PrepareEditCtrl(id);
    if (!pDX->m_bSaveAndValidate) {
        ::SetWindowTextA(ctrl, std::to_string(value).c_str());
        return;
    }
    long parsed = 0;
    if (!ParseInteger(CWnd::GetWindowText(ctrl).c_str(), parsed)) {
        pDX->Tell(LoadStr(IDS_PARSE_INT));
        pDX->Fail();
        return;
    }
    pDX->Store(value, (int)parsed);
}

void DDX_Text(CDataExchange* pDX, int id, std::string& value)
{
    if (pDX->Failed())
        return;
    HWND ctrl = pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate)
        pDX->Store(value, CWnd::GetWindowText(ctrl));
    else
        ::SetWindowTextA(ctrl, value.c_str());
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minValue, int maxValue)
{
    if (pDX->Failed() || !pDX->m_bSaveAndValidate)
        return;
    if (value < minValue || value > maxValue) {
        pDX->Tell(IntegerRangeMessage(minValue, maxValue));
        pDX->Fail();
    }
}

void DDX_Check(CDataExchange* pDX, int id, int& value)
{
    if (pDX->Failed())
        return;
    HWND ctrl = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
        pDX->Store(value, (int)::SendMessageA(ctrl, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(ctrl, BM_SETCHECK, (WPARAM)value, 0);
}

void DDX_CBIndex(CDataExchange* pDX, int id, int& index)
{
    if (pDX->Failed())
        return;
    HWND ctrl = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
        pDX->Store(index, (int)::SendMessageA(ctrl, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(ctrl, CB_SETCURSEL, (WPARAM)index, 0);
}

void DDX_Slider(CDataExchange* pDX, int id, int& pos)
{
    if (pDX->Failed())
        return;
    HWND ctrl = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
        pDX->Store(pos, (int)::SendMessageA(ctrl, TBM_GETPOS, 0, 0));
    else
        ::SendMessageA(ctrl, TBM_SETPOS, TRUE, (LPARAM)pos);
}
