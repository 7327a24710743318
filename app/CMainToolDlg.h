// CMainToolDlg.h - the floating tool window, the program's main window.
#pragma once

#include "framework/CDialog.h"

class CMainToolDlg : public CDialog
{
public:
    explicit CMainToolDlg(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnSysCommand(UINT id, LPARAM lParam) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void ShowAbout();
};
