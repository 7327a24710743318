// CAdvConfigDlg.cpp - the Advanced Configuration dialog.
#include "sheet/CAdvConfigDlg.h"

#include "framework/CWinApp.h"
#include "framework/DataExchange.h"
#include "framework/Os.h"
#include "res/resource.h"
#include "sheet/BssidInput.h"

#include <commctrl.h>

namespace {
// The edit field takes the colon form; a little more is read back so that
// an over-long text is refused rather than cut to a valid one.
const int BSSID_FIELD_LIMIT = 17;
const int BSSID_READ_SIZE = 20;
} // namespace

CAdvConfigDlg::CAdvConfigDlg(CWnd* parent)
    : CDialog(IDD_ADVANCED_CONFIG, parent), m_nRetryLimit(7), m_bHighRate(FALSE), m_bPcmcia(FALSE),
      m_nPowerSaving(0), m_nDataRate(0), m_nRoamingThreshold(40), m_nNetworkType(1),
      m_strBssid(NO_PREFERRED_BSSID_TEXT)
{}

void CAdvConfigDlg::SetValues(BOOL highRate, BOOL pcmcia, const AdvancedSettings& values)
{
    m_bHighRate = highRate;
    m_bPcmcia = pcmcia;
    m_nDataRate = values.dataRate;
    m_nRetryLimit = values.retryLimit;
    m_nRoamingThreshold = values.roamingThreshold;
    m_nPowerSaving = values.powerSaving;
    m_strBssid = values.bssid;
}

AdvancedSettings CAdvConfigDlg::GetValues() const
{
    AdvancedSettings values;
    values.dataRate = m_nDataRate;
    values.retryLimit = m_nRetryLimit;
    values.roamingThreshold = m_nRoamingThreshold;
    values.powerSaving = m_nPowerSaving;
    values.bssid = m_strBssid;
    return values;
}

void CAdvConfigDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_ADV_SENSITIVITY, m_sliderSensitivity);
    DDX_Control(pDX, IDC_ADV_RETRY_SPIN, m_spinRetry);
    DDX_Control(pDX, IDC_ADV_DATA_RATE, m_comboDataRate);
    DDX_Control(pDX, IDC_ADV_BSSID, m_editBssid);
    DDX_Control(pDX, IDC_ADV_POWER_SAVING, m_checkPowerSaving);
    if (!pDX->m_bSaveAndValidate) {
        DDX_Text(pDX, IDC_ADV_RETRY, m_nRetryLimit);
        return;
    }
    // Read back in the order the checks are told: the plain values, the
    // preferred BSSID, then the retry limit's range. A refusal gives every
    // member its old value back.
    DDX_Slider(pDX, IDC_ADV_SENSITIVITY, m_nRoamingThreshold);
    if (m_bHighRate) {
        int selected = m_nDataRate;
        DDX_CBIndex(pDX, IDC_ADV_DATA_RATE, selected);
        if (selected >= 0) // a stored value the list does not offer stays as it was
            pDX->Store(m_nDataRate, selected);
    }
    if (m_bPcmcia) {
        int checked = BST_UNCHECKED;
        DDX_Check(pDX, IDC_ADV_POWER_SAVING, checked);
        pDX->Store(m_nPowerSaving, checked == BST_CHECKED ? 1 : 0);
    }
    ExchangeBssid(pDX);
    // A stored limit outside 0 to 64 is kept, unchecked, while the field
    // shows it as it was shown.
    if (GetDlgItemText(IDC_ADV_RETRY) != m_strRetryShown) {
        DDX_Text(pDX, IDC_ADV_RETRY, m_nRetryLimit);
        DDV_MinMaxInt(pDX, m_nRetryLimit, RETRY_MIN, RETRY_MAX);
    }
}

void CAdvConfigDlg::ExchangeBssid(CDataExchange* pDX)
{
    if (pDX->Failed())
        return;
    pDX->PrepareEditCtrl(IDC_ADV_BSSID);
    const std::string typed = m_editBssid.GetWindowText().substr(0, BSSID_READ_SIZE - 1);
    std::string bssid;
    if (!ParseBssidInput(typed, bssid)) {
        g_os.MessageBoxA(m_hWnd, LoadStr(IDS_CONF_BAD_BSSID).c_str(), LoadStr(IDS_WARNING).c_str(),
                         MB_OK | MB_ICONSTOP);
        m_editBssid.SetWindowText("");
        pDX->Fail();
        return;
    }
    pDX->Store(m_strBssid, bssid);
}

BOOL CAdvConfigDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    UpdateData(FALSE);

    m_spinRetry.SetRange(RETRY_MIN, RETRY_MAX);
    m_spinRetry.SetBase(10);
    // The spin writes its position into the field; a stored limit outside
    // its range would be shown (and taken back) as the nearest end of it.
    m_spinRetry.SetPos(m_nRetryLimit);
    SetDlgItemText(IDC_ADV_RETRY, std::to_string(m_nRetryLimit).c_str());
    m_strRetryShown = std::to_string(m_nRetryLimit);

    m_comboDataRate.ResetContent();
    m_comboDataRate.AddString(LoadStr(IDS_CONF_RATE_AUTO).c_str());
    m_comboDataRate.AddString(LoadStr(IDS_CONF_RATE_ONE).c_str());
    m_comboDataRate.SetCurSel(m_nDataRate);
    // Only an infrastructure network chooses its rate; a stored type the
    // page's list does not offer (-1) is no choice of one.
    m_comboDataRate.EnableWindow(m_bHighRate && m_nNetworkType == 1);

    m_sliderSensitivity.SetTicFreq(THRESHOLD_TICK);
    m_sliderSensitivity.SetRange(0, THRESHOLD_MAX);
    m_sliderSensitivity.SetPos(m_nRoamingThreshold);
    m_sliderSensitivity.Invalidate();

    m_editBssid.LimitText(BSSID_FIELD_LIMIT);
    m_editBssid.SetWindowText(BssidDisplayText(m_strBssid).c_str());

    m_checkPowerSaving.SetChecked(m_nPowerSaving == 1);
    m_checkPowerSaving.EnableWindow(m_bPcmcia);
    return TRUE;
}

BOOL CAdvConfigDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDC_ADV_OK:
        OnOK();
        return TRUE;
    case IDC_ADV_CANCEL:
        OnCancel();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CAdvConfigDlg::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}
