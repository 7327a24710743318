// CConfDlg.h - the "Configuration" page of the property sheet: network type,
// computer name (Windows 95/98), domain name, carrier set, roaming and
// security, and through "&Advanced Config." the advanced settings, which it
// keeps until OK. At the sheet's OK it validates, writes what changed to the
// driver's registry parameters and to the card, and offers to restart.
#pragma once

#include "framework/CPropertyPage.h"

#include <string>

class CConfDlg : public CPropertyPage
{
public:
    CConfDlg();
    ~CConfDlg() override;

    // The verdict of the last OK processing, read by the sheet.
    BOOL m_bMayClose;
    // "&Advanced Config." shown; toggled by command 40004.
    BOOL m_bAdvancedShown;
    // Result of the last Advanced Configuration dialog of this opening (IDOK: take its values).
    INT_PTR m_nAdvancedResult;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // Shows or hides "&Advanced Config." (command 40004, Alt+Ctrl+N).
    void ToggleAdvancedButton();

private:
    HACCEL m_hAccelTable;
};
