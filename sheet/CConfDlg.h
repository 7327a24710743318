// CConfDlg.h - the "Configuration" page of the property sheet: network type,
// computer name (Windows 95/98), domain name, carrier set, roaming and
// security, and through "&Advanced Config." the advanced settings, which it
// keeps until OK. At the sheet's OK it validates, writes what changed to the
// driver's registry parameters and to the card, and offers to restart.
#pragma once

#include "framework/CButton.h"
#include "framework/CComboBox.h"
#include "framework/CEdit.h"
#include "framework/CPropertyPage.h"
#include "sheet/CAdvConfigDlg.h"

#include <string>

class CConfDlg : public CPropertyPage
{
public:
    CConfDlg();
    ~CConfDlg() override;

    // "&Advanced Config." shown; from the profile, toggled by command 40004.
    BOOL m_bAdvancedShown;
    // Result of the last Advanced Configuration dialog of this opening
    // (IDOK: its values are applied at OK).
    INT_PTR m_nAdvancedResult;

    BOOL m_bHighRate;
    BOOL m_bPcmcia;
    // The advanced settings as read at initialisation and as the Advanced
    // Configuration dialog left them.
    AdvancedSettings m_advInitial;
    AdvancedSettings m_advCurrent;

    // The settings as read at initialisation; OK compares with these.
    std::string m_strStationName;
    std::string m_strDomainName;
    std::string m_strSecurityId;
    int m_nNetworkType; // 0 Ad-Hoc, 1 Infrastructure
    int m_nCarrierSet;  // 0 USA ... 5 France
    BOOL m_bRoaming;
    BOOL m_bSecurity;

    BOOL OnInitDialog() override;
    // The sheet's OK: validates and writes; FALSE keeps the sheet open.
    BOOL OnApply() override;
    void OnCancel() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void DoDataExchange(CDataExchange* pDX) override;

    // Shows or hides "&Advanced Config." (command 40004, Alt+Ctrl+N).
    void ToggleAdvancedButton();
    // Runs the Advanced Configuration dialog on the current values.
    void OnAdvancedConfig();
    // Help with the keyword "Configuration".
    void OnHelp();

protected:
    // Runs the dialog modally; tests drive it here.
    virtual INT_PTR RunAdvancedDialog(CAdvConfigDlg& dlg);

private:
    // OK processing; false when a validation step refused.
    bool ApplySettings(bool& restartNeeded);
    void ApplyAdvancedSettings(bool& restartNeeded);
    void WriteComputerNameKeys(const std::string& name);
    void Restart();
    void Refuse(UINT messageId, CEdit& field, bool empty);
    // WriteConfigValue, noting a setting that could not be written.
    bool Write(int item, const std::string& text);
    // An edited text within its field's limit; refused with the message otherwise.
    bool FieldWithin(const std::string& text, int limit, UINT messageId, CEdit& field);

    // A setting of this OK could not be written.
    bool m_bUnsaved = false;
    // The card may be asked: the adapter has not failed and the page holds it.
    bool m_bAskCard = false;

    CComboBox m_comboNetworkType;
    CComboBox m_comboCarrierSet;
    CEdit m_editDomainName;
    CEdit m_editComputerName;
    CEdit m_editSecurityId;
    CButton m_checkRoaming;
    CButton m_checkSecurity;
    CWindow m_buttonAdvanced;
};
