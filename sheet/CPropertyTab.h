// CPropertyTab.h - the "Corvane Properties" sheet that the tool window owns
// and opens modeless: the Configuration, Advanced Information and
// Troubleshooting pages (in that tab order), its own OK and Cancel, and the
// hidden-mode accelerators, of which Alt+Ctrl+N goes to the Configuration
// page. The object and its pages live on between openings.
#pragma once

#include "framework/CPropertySheet.h"
#include "sheet/CConfDlg.h"
#include "sheet/CHwConfig.h"
#include "sheet/CPropDlg.h"

class CPropertyTab : public CPropertySheet
{
public:
    CPropertyTab(UINT captionId, CWnd* parent = nullptr, UINT selectPage = 0, DWORD flags = 0);
    ~CPropertyTab() override;

    CPropDlg m_AdvancedInfoPage;
    CConfDlg m_ConfigurationPage;
    CHwConfig m_TroubleshootingPage;
    HICON m_hIcon;

    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnClose() override;
    void OnSysCommand(UINT id, LPARAM lParam) override;

    // OK: each page whose window exists applies (Advanced Information,
    // Configuration, Troubleshooting); the sheet ends with IDOK when none
    // refused. TRUE when the sheet was ended.
    BOOL OnSheetOK();

protected:
    void EnableHelpButton();
    void PlaceOnScreen();
};
