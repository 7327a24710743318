// CConfDlg.h - the "Configuration" page of the property sheet: network type,
// computer name (Windows 95/98), domain name, carrier set, roaming and
// security, and through "&Advanced Config." the advanced settings, which it
// keeps until OK. At the sheet's OK it checks every field and then has the
// settings writer store what changed and offer to restart.
#pragma once

#include "framework/CButton.h"
#include "framework/CComboBox.h"
#include "framework/CEdit.h"
#include "framework/CPropertyPage.h"
#include "sheet/CAdvConfigDlg.h"
#include "sheet/CardConfig.h"

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

    CardTraits m_traits;
    // The settings as read at initialisation and, after an OK, as stored; OK
    // writes what differs from these.
    CardConfig m_stored;
    // The advanced settings as the Advanced Configuration dialog left them.
    AdvancedSettings m_advCurrent;

    BOOL OnInitDialog() override;
    // The sheet's OK: validates and writes; FALSE keeps the sheet open.
    BOOL OnApply() override;
    void OnCancel() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;

    // Shows or hides "&Advanced Config." (command 40004, Alt+Ctrl+N).
    void ToggleAdvancedButton();
    // Runs the Advanced Configuration dialog on the current values.
    void OnAdvancedConfig();
    // Help with the keyword "Configuration".
    void OnHelp() override;

protected:
    // Runs the dialog modally; tests drive it here.
    virtual INT_PTR RunAdvancedDialog(CAdvConfigDlg& dlg);

private:
    // The settings as the fields hold them, checked; false (after telling
    // the user and focusing the field) when a field is refused.
    bool ReadFields(CardConfig& now);
    bool ReadDomainName(std::string& essid);
    void Refuse(UINT messageId, CEdit& field, bool empty);
    // An edited text within its field's limit; refused with the message otherwise.
    bool FieldWithin(const std::string& text, int limit, UINT messageId, CEdit& field);

    CComboBox m_comboNetworkType;
    CComboBox m_comboCarrierSet;
    CEdit m_editDomainName;
    CEdit m_editComputerName;
    CEdit m_editSecurityId;
    CButton m_checkRoaming;
    CButton m_checkSecurity;
    CWindow m_buttonAdvanced;
};
