// CConfDlg.cpp - the Configuration page: what it shows when it opens and
// what it checks at OK before the settings writer stores the changes.
#include "sheet/CConfDlg.h"

#include "adapter/AdapterState.h"
#include "adapter/CardSettings.h"
#include "framework/CPropertySheet.h"
#include "framework/CWinApp.h"
#include "framework/DataExchange.h"
#include "framework/Os.h"
#include "res/resource.h"
#include "sheet/CConfigWriter.h"

namespace {

const char* const PROFILE_PRIVATE = "Private";
const char* const PROFILE_ADV_CONFIG = "AdvConfig";

// Longest texts the user may give. A stored text may be longer: the fields
// show it whole and read it back whole, so that one left alone is not
// rewritten cut.
const int DOMAIN_LIMIT = 31;
const int COMPUTER_NAME_LIMIT = 15;
const int SECURITY_ID_LIMIT = 8;
const int FIELD_READ = static_cast<int>(CONFIG_TEXT_SIZE) - 1;

const UINT kCarrierNames[] = {IDS_CARRIER_USA,    IDS_CARRIER_EUROPE, IDS_CARRIER_JAPAN,
                              IDS_CARRIER_CANADA, IDS_CARRIER_SPAIN,  IDS_CARRIER_FRANCE};

// A field's text as far as a setting holds it.
std::string FieldText(const CEdit& field)
{
    return field.GetWindowText().substr(0, FIELD_READ);
}

bool OnWin9x()
{
    return GetAdapterLink().PlatformKind == PLATFORM_WIN9X;
}

} // namespace

CConfDlg::CConfDlg()
    : CPropertyPage(IDD_CONFIGURATION), m_bAdvancedShown(FALSE), m_nAdvancedResult(0)
{
    LoadAccelTable(IDR_ACCELERATORS);
}

CConfDlg::~CConfDlg() = default;

void CConfDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_CONF_NETWORK_TYPE, m_comboNetworkType);
    DDX_Control(pDX, IDC_CONF_CARRIER_SET, m_comboCarrierSet);
    DDX_Control(pDX, IDC_CONF_DOMAIN_NAME, m_editDomainName);
    DDX_Control(pDX, IDC_CONF_COMPUTER_NAME, m_editComputerName);
    DDX_Control(pDX, IDC_CONF_SECURITY_ID, m_editSecurityId);
    DDX_Control(pDX, IDC_CONF_ROAMING, m_checkRoaming);
    DDX_Control(pDX, IDC_CONF_SECURITY, m_checkSecurity);
    DDX_Control(pDX, IDC_CONF_ADVANCED, m_buttonAdvanced);
}

BOOL CConfDlg::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    UpdateData(FALSE);
    {
        // The page's card reads are one poll: a tool's tick that comes while
        // one of them waits behind a box does not break into it. Opened
        // beside another poll, or with the adapter failed, the page shows
        // the registry's values alone.
        AdapterLock lock;
        m_stored =
            ReadCardConfig(m_hWnd, !GetAdapterState().m_bAdapterFailed && lock.IsHeld(), m_traits);
    }
    const CardConfig& c = m_stored;

    m_comboNetworkType.ResetContent();
    m_comboNetworkType.AddString(LoadStr(IDS_INFRASTRUCTURE).c_str());
    m_comboNetworkType.AddString(LoadStr(IDS_CONF_ADHOC).c_str());
    m_comboNetworkType.SetCurSel(c.networkType);

    m_comboCarrierSet.ResetContent();
    for (UINT id : kCarrierNames)
        m_comboCarrierSet.AddString(LoadStr(id).c_str());
    m_comboCarrierSet.SetCurSel(c.carrierSet);

    m_editDomainName.LimitText(DOMAIN_LIMIT);
    m_editDomainName.SetWindowText(c.essid.c_str());

    if (OnWin9x())
        m_editComputerName.LimitText(COMPUTER_NAME_LIMIT);
    else
        m_editComputerName.EnableWindow(FALSE);
    m_editComputerName.SetWindowText(c.stationName.c_str());

    m_checkRoaming.SetChecked(c.roaming);
    if (c.security)
        m_checkSecurity.SetChecked(true);
    else
        m_editSecurityId.EnableWindow(FALSE);
    m_editSecurityId.LimitText(SECURITY_ID_LIMIT);
    m_editSecurityId.SetWindowText(c.securityId.c_str());
    if (c.networkType == 0)
        m_checkRoaming.EnableWindow(FALSE);

    m_advCurrent = c.advanced;

    CWinApp* app = AfxGetApp();
    m_bAdvancedShown = app && app->GetProfileInt(PROFILE_PRIVATE, PROFILE_ADV_CONFIG, 0) != 0;
    m_buttonAdvanced.ShowWindow(m_bAdvancedShown ? SW_SHOW : SW_HIDE);

    m_nAdvancedResult = 0;
    return TRUE;
}

void CConfDlg::ToggleAdvancedButton()
{
    m_bAdvancedShown = !m_bAdvancedShown;
    if (m_hWnd)
        m_buttonAdvanced.ShowWindow(m_bAdvancedShown ? SW_SHOW : SW_HIDE);
}

INT_PTR CConfDlg::RunAdvancedDialog(CAdvConfigDlg& dlg)
{
    return dlg.DoModal();
}

void CConfDlg::OnAdvancedConfig()
{
    CAdvConfigDlg dlg(this);
    dlg.SetNetworkType(m_comboNetworkType.GetCurSel());
    dlg.SetValues(m_traits.highRate, m_traits.pcmcia, m_advCurrent);
    m_nAdvancedResult = RunAdvancedDialog(dlg);
    if (m_nAdvancedResult == IDOK)
        m_advCurrent = dlg.GetValues();
}

void CConfDlg::OnHelp()
{
    AfxHelpKeyword(m_hWnd, IDS_CONF_HELP_KEY, true);
}

BOOL CConfDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDM_ADVANCED_CONFIG:
        ToggleAdvancedButton();
        return TRUE;
    case IDM_CONF_HELP:
        OnHelp();
        return TRUE;
    case IDC_CONF_ADVANCED:
        if (HIWORD(wParam) == BN_CLICKED) {
            OnAdvancedConfig();
            return TRUE;
        }
        break;
    case IDC_CONF_NETWORK_TYPE:
        if (HIWORD(wParam) == CBN_SELCHANGE) {
            m_checkRoaming.EnableWindow(m_comboNetworkType.GetCurSel() == 1);
            return TRUE;
        }
        break;
    case IDC_CONF_SECURITY:
        if (HIWORD(wParam) == BN_CLICKED) {
            m_editSecurityId.EnableWindow(m_checkSecurity.IsChecked());
            return TRUE;
        }
        break;
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

void CConfDlg::Refuse(UINT messageId, CEdit& field, bool empty)
{
    g_os.MessageBoxA(m_hWnd, LoadStr(messageId).c_str(), LoadStr(IDS_WARNING).c_str(),
                     MB_OK | MB_ICONSTOP);
    if (empty)
        field.SetWindowText("");
    // The OK may have come from another tab: the field is focused where the
    // user can see it, never on a hidden page.
    if (CPropertySheet* sheet = GetSheet())
        sheet->SetActivePage(this);
    field.SetFocus();
}

bool CConfDlg::FieldWithin(const std::string& text, int limit, UINT messageId, CEdit& field)
{
    if (static_cast<int>(text.size()) <= limit)
        return true;
    Refuse(messageId, field, false);
    return false;
}

bool CConfDlg::ReadDomainName(std::string& essid)
{
    std::string domain = FieldText(m_editDomainName);
    size_t first = domain.find_first_not_of(' ');
    // A stored name the user left alone is kept as it is, blanks and all.
    if (domain == m_stored.essid && first != std::string::npos) {
        essid = domain;
        return true;
    }
    if (domain.empty()) {
        Refuse(IDS_CONF_NO_DOMAIN, m_editDomainName, false);
        return false;
    }
    if (first == std::string::npos) {
        Refuse(IDS_CONF_NO_DOMAIN, m_editDomainName, true);
        return false;
    }
    size_t last = domain.find_last_not_of(' ');
    if (first != 0 || last != domain.size() - 1) {
        domain = domain.substr(first, last - first + 1);
        g_os.MessageBoxA(m_hWnd, LoadStr(IDS_CONF_TRUNCATED).c_str(), LoadStr(IDS_WARNING).c_str(),
                         MB_OK | MB_ICONEXCLAMATION);
    }
    if (domain != m_stored.essid &&
        !FieldWithin(domain, DOMAIN_LIMIT, IDS_CONF_DOMAIN_LONG, m_editDomainName))
        return false;
    essid = domain;
    return true;
}

bool CConfDlg::ReadFields(CardConfig& now)
{
    now = m_stored;
    if (!ReadDomainName(now.essid))
        return false;
    now.roaming = m_checkRoaming.IsChecked();
    // A stored value that the list does not offer leaves it without a
    // selection; it stays as it is unless the user picks one.
    if (m_comboNetworkType.GetCurSel() >= 0)
        now.networkType = m_comboNetworkType.GetCurSel();
    now.security = m_checkSecurity.IsChecked();
    now.securityId = FieldText(m_editSecurityId);
    if (now.securityId != m_stored.securityId &&
        !FieldWithin(now.securityId, SECURITY_ID_LIMIT, IDS_CONF_SECURITY_LONG, m_editSecurityId))
        return false;
    if (OnWin9x()) {
        now.stationName = FieldText(m_editComputerName);
        if (now.stationName.empty()) {
            Refuse(IDS_CONF_NO_COMPUTER, m_editComputerName, false);
            return false;
        }
        if (now.stationName != m_stored.stationName &&
            !FieldWithin(now.stationName, COMPUTER_NAME_LIMIT, IDS_CONF_COMPUTER_LONG,
                         m_editComputerName))
            return false;
    }
    if (m_comboCarrierSet.GetCurSel() >= 0)
        now.carrierSet = m_comboCarrierSet.GetCurSel();
    if (m_nAdvancedResult == IDOK)
        now.advanced = m_advCurrent;
    return true;
}

BOOL CConfDlg::OnApply()
{
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileInt(PROFILE_PRIVATE, PROFILE_ADV_CONFIG, m_bAdvancedShown ? 1 : 0);

    // Every field is checked before anything is written: a refused OK
    // writes nothing.
    CardConfig now;
    if (!ReadFields(now))
        return FALSE;
    CConfigWriter writer(m_hWnd);
    ConfigWriteResult result = writer.Write(m_stored, now, m_nAdvancedResult == IDOK);
    writer.Conclude(result);
    // What could not be saved keeps the sheet open for another try.
    return result.AllSaved() ? TRUE : FALSE;
}

void CConfDlg::OnCancel()
{
    CPropertyPage::OnCancel();
}
