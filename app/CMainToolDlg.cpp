// CMainToolDlg.cpp - the tool window: its system menu and the About box.
#include "app/CMainToolDlg.h"

#include "app/CAboutDlg.h"
#include "app/CUtilityApp.h"
#include "res/resource.h"

CMainToolDlg::CMainToolDlg(CWnd* parent) : CDialog(IDD_MAINTOOL, parent) {}

BOOL CMainToolDlg::OnInitDialog()
{
    HMENU sysMenu = ::GetSystemMenu(m_hWnd, FALSE);
    if (sysMenu) {
        ::AppendMenuA(sysMenu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(sysMenu, MF_STRING, IDM_ABOUT, "&About...");
    }
    HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)icon);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)icon);
    return TRUE;
}

void CMainToolDlg::ShowAbout()
{
    CAboutDlg about(this);
    about.DoModal();
}

BOOL CMainToolDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDM_ABOUT) {
        ShowAbout();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CMainToolDlg::OnSysCommand(UINT id, LPARAM lParam)
{
    if (id == IDM_ABOUT) {
        ShowAbout();
        return;
    }
    Default();
}

LRESULT CMainToolDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_OPEN_TOOL)
        return 0; // the tools arrive with the link monitor
    return CDialog::WindowProc(msg, wParam, lParam);
}
