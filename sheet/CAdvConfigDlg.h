// CAdvConfigDlg.h - the modal "Advanced Configuration" dialog that the
// Configuration page runs: data rate, preferred access point (BSSID),
// transmission retry limit, roaming sensitivity and power saving. It touches
// neither the card nor the registry: it takes the page's current values,
// checks what the user enters and, on OK only, hands the values back. A
// refused OK leaves every value as it was.
#pragma once

#include "framework/CButton.h"
#include "framework/CComboBox.h"
#include "framework/CDialog.h"
#include "framework/CEdit.h"
#include "framework/CSliderCtrl.h"
#include "framework/CSpinButtonCtrl.h"
#include "sheet/CardConfig.h"

#include <string>

class CAdvConfigDlg : public CDialog
{
public:
    static const int RETRY_MIN = 0;
    static const int RETRY_MAX = 64;
    static const int THRESHOLD_MAX = 80;
    static const int THRESHOLD_TICK = 8;

    explicit CAdvConfigDlg(CWnd* parent = nullptr);

    // The page's current network type selection: 0 Ad-Hoc, 1 Infrastructure.
    void SetNetworkType(int index) { m_nNetworkType = index; }
    void SetValues(BOOL highRate, BOOL pcmcia, const AdvancedSettings& values);
    // The values after an OK result.
    AdvancedSettings GetValues() const;

    CSliderCtrl m_sliderSensitivity;
    CSpinButtonCtrl m_spinRetry;
    CComboBox m_comboDataRate;
    CEdit m_editBssid;
    CButton m_checkPowerSaving;
    int m_nRetryLimit;
    BOOL m_bHighRate;
    BOOL m_bPcmcia;
    int m_nPowerSaving;
    int m_nDataRate;
    int m_nRoamingThreshold;
    int m_nNetworkType;
    std::string m_strBssid;
    // The retry limit as the dialog showed it.
    std::string m_strRetryShown;

    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    // The preferred BSSID field: "Invalid BSS ID Format!" and an emptied
    // field when it holds no valid BSSID.
    void ExchangeBssid(CDataExchange* pDX);
};
