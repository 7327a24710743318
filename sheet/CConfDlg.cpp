// CConfDlg.cpp - the Configuration page: what it reads when it opens, what
// it checks and writes at OK, and the restart it offers.
#include "sheet/CConfDlg.h"

#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "adapter/CardItems.h"
#include "adapter/CardSettings.h"
#include "adapter/Mailbox.h"
#include "adapter/PortAccess.h"
#include "framework/CPropertySheet.h"
#include "framework/CWinApp.h"
#include "framework/DataExchange.h"
#include "framework/IntegerText.h"
#include "framework/Os.h"
#include "res/resource.h"

#include <stdio.h>
#include <string.h>

namespace {

const char* const PROFILE_PRIVATE = "Private";
const char* const PROFILE_ADV_CONFIG = "AdvConfig";

// Where Windows 95/98 keep the computer's name.
const char* const COMPUTER_NAME_KEY =
    "System\\CurrentControlSet\\control\\ComputerName\\ComputerName";
const char* const VNETSUP_KEY = "System\\CurrentControlSet\\Services\\VxD\\VNETSUP";
const char* const COMPUTER_NAME_VALUE = "ComputerName";

// Longest texts the user may give. A stored text may be longer: the fields
// show it whole and read it back whole, so that one left alone is not
// rewritten cut.
const int DOMAIN_LIMIT = 31;
const int COMPUTER_NAME_LIMIT = 15;
const int SECURITY_ID_LIMIT = 8;
const int FIELD_READ = static_cast<int>(CONFIG_TEXT_SIZE) - 1;

const UINT kCarrierNames[] = {IDS_CARRIER_USA,    IDS_CARRIER_EUROPE, IDS_CARRIER_JAPAN,
                              IDS_CARRIER_CANADA, IDS_CARRIER_SPAIN,  IDS_CARRIER_FRANCE};

std::string ReadSetting(HWND owner, int item)
{
    char text[CONFIG_TEXT_SIZE];
    ReadConfigValue(owner, item, text);
    return text;
}

// A card text item, empty when the card did not give it.
std::string QueryText(int item)
{
    char text[CARD_ITEM_BUFFER_SIZE];
    if (QueryCardItem(item, text) != ITEM_OK)
        return std::string();
    return text;
}

// A number setting's text; one that is no whole number counts as not set.
bool NumberOf(const std::string& text, int& value)
{
    long number = 0;
    if (!ParseInteger(text.c_str(), number))
        return false;
    value = static_cast<int>(number);
    return true;
}

// Digit settings are stored as one decimal digit, read from the text's first
// character; a text that does not begin with a digit counts as not set.
int DigitOr(const std::string& text, int otherwise)
{
    return !text.empty() && text[0] >= '0' && text[0] <= '9' ? text[0] - '0' : otherwise;
}

// A field's text as far as a setting holds it.
std::string FieldText(const CEdit& field)
{
    return field.GetWindowText().substr(0, FIELD_READ);
}

std::string Number(int value)
{
    char text[16];
    snprintf(text, sizeof(text), "%d", value);
    return text;
}

bool Failed()
{
    return GetAdapterState().m_bAdapterFailed != FALSE;
}

bool OnWin9x()
{
    return GetAdapterLink().PlatformKind == PLATFORM_WIN9X;
}

// A number the card also holds: the registry's, else the card's (when it may
// be asked), else otherwise.
int CardNumberSetting(HWND owner, int item, int otherwise, bool askCard)
{
    int value = otherwise;
    if (!NumberOf(ReadSetting(owner, item), value) && askCard)
        NumberOf(QueryText(item), value);
    return value;
}

} // namespace

CConfDlg::CConfDlg()
    : CPropertyPage(IDD_CONFIGURATION), m_bAdvancedShown(FALSE), m_nAdvancedResult(0),
      m_bHighRate(FALSE), m_bPcmcia(FALSE), m_nNetworkType(1), m_nCarrierSet(0), m_bRoaming(TRUE),
      m_bSecurity(FALSE)
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
    HWND self = m_hWnd;
    // The page's card reads are one poll: a tool's tick that comes while one
    // of them waits behind a box does not break into it. Opened beside
    // another poll, the page shows the registry's values alone.
    AdapterLock lock;
    m_bAskCard = !Failed() && lock.IsHeld();

    m_nNetworkType = 1;
    m_bRoaming = TRUE;
    m_nCarrierSet = 0;
    m_bSecurity = FALSE;

    m_comboNetworkType.ResetContent();
    m_comboNetworkType.AddString(LoadStr(IDS_INFRASTRUCTURE).c_str());
    m_comboNetworkType.AddString(LoadStr(IDS_CONF_ADHOC).c_str());
    m_nNetworkType = DigitOr(ReadSetting(self, CI_NETWORK_TYPE), m_nNetworkType);
    m_comboNetworkType.SetCurSel(m_nNetworkType);

    m_comboCarrierSet.ResetContent();
    for (UINT id : kCarrierNames)
        m_comboCarrierSet.AddString(LoadStr(id).c_str());
    m_nCarrierSet = DigitOr(ReadSetting(self, CI_CARRIER_SET), m_nCarrierSet);
    m_comboCarrierSet.SetCurSel(m_nCarrierSet);

    m_editDomainName.LimitText(DOMAIN_LIMIT);
    m_strDomainName = ReadSetting(self, CI_ESSID);
    m_editDomainName.SetWindowText(m_strDomainName.c_str());

    if (OnWin9x()) {
        m_editComputerName.LimitText(COMPUTER_NAME_LIMIT);
        m_strStationName = ReadSetting(self, CI_STATION_NAME);
    } else {
        m_strStationName = m_bAskCard ? QueryText(CI_STATION_NAME) : std::string();
        m_editComputerName.EnableWindow(FALSE);
    }
    m_editComputerName.SetWindowText(m_strStationName.c_str());

    std::string roaming = ReadSetting(self, CI_ROAMING);
    if (!roaming.empty())
        m_bRoaming = roaming[0] == '1';
    m_checkRoaming.SetChecked(m_bRoaming != FALSE);

    std::string security = ReadSetting(self, CI_SECURITY);
    if (!security.empty())
        m_bSecurity = security[0] == '1';
    if (m_bSecurity)
        m_checkSecurity.SetChecked(true);
    else
        m_editSecurityId.EnableWindow(FALSE);
    m_editSecurityId.LimitText(SECURITY_ID_LIMIT);
    m_strSecurityId = ReadSetting(self, CI_SECURITY_ID);
    m_editSecurityId.SetWindowText(m_strSecurityId.c_str());

    if (m_nNetworkType == 0)
        m_checkRoaming.EnableWindow(FALSE);

    AdvancedSettings read;
    read.retryLimit = CardNumberSetting(self, CI_TX_RETRY, read.retryLimit, m_bAskCard);

    std::string bssid = ReadSetting(self, CI_PREFER_BSSID);
    if (bssid.empty())
        bssid = "000000000000";
    for (char& c : bssid)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    read.bssid = bssid;

    read.roamingThreshold =
        CardNumberSetting(self, CI_ROAMING_THRESHOLD, read.roamingThreshold, m_bAskCard);

    m_bPcmcia = ReadSetting(self, CI_CARD_TYPE) == LoadStr(IDS_PCMCIA);
    if (m_bPcmcia)
        read.powerSaving = DigitOr(ReadSetting(self, CI_PS_MODE), read.powerSaving);

    m_bHighRate = lock.IsHeld() && CardHasHighRate() == 1;
    lock.Release();
    read.dataRate = m_bHighRate ? DigitOr(ReadSetting(self, CI_DATA_RATE), 0) : 0;

    m_advInitial = read;
    m_advCurrent = read;

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
    dlg.SetValues(m_bHighRate, m_bPcmcia, m_advCurrent);
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

BOOL CConfDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && header->code == PSN_HELP) {
        OnHelp();
        return TRUE;
    }
    return CPropertyPage::OnNotify(wParam, lParam, result);
}

BOOL CConfDlg::PreTranslateMessage(MSG* msg)
{
    if (m_hAccel && m_hWnd && ::TranslateAcceleratorA(m_hWnd, m_hAccel, msg))
        return TRUE;
    return CPropertyPage::PreTranslateMessage(msg);
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

bool CConfDlg::Write(int item, const std::string& text)
{
    if (WriteConfigValue(m_hWnd, item, text.c_str()) == ITEM_OK)
        return true;
    m_bUnsaved = true;
    return false;
}

bool CConfDlg::FieldWithin(const std::string& text, int limit, UINT messageId, CEdit& field)
{
    if (static_cast<int>(text.size()) <= limit)
        return true;
    Refuse(messageId, field, false);
    return false;
}

void CConfDlg::WriteComputerNameKeys(const std::string& name)
{
    // Through the writer of the driver settings, and only while it may write.
    if (!GetAdapterLink().DriverKeyValid)
        return;
    if (WriteNamedValue(HKEY_LOCAL_MACHINE, COMPUTER_NAME_KEY, nullptr, COMPUTER_NAME_VALUE,
                        name.c_str(), 0, REG_SZ, m_hWnd) != REG_FOUND)
        return;
    WriteNamedValue(HKEY_LOCAL_MACHINE, VNETSUP_KEY, nullptr, COMPUTER_NAME_VALUE, name.c_str(), 0,
                    REG_SZ, m_hWnd);
}

bool CConfDlg::ApplySettings(bool& restartNeeded)
{
    HWND self = m_hWnd;

    std::string domain = FieldText(m_editDomainName);
    if (domain.empty()) {
        Refuse(IDS_CONF_NO_DOMAIN, m_editDomainName, false);
        return false;
    }
    size_t first = domain.find_first_not_of(' ');
    if (first == std::string::npos) {
        Refuse(IDS_CONF_NO_DOMAIN, m_editDomainName, true);
        return false;
    }
    size_t last = domain.find_last_not_of(' ');
    if (first != 0 || last != domain.size() - 1) {
        domain = domain.substr(first, last - first + 1);
        g_os.MessageBoxA(self, LoadStr(IDS_CONF_TRUNCATED).c_str(), LoadStr(IDS_WARNING).c_str(),
                         MB_OK | MB_ICONEXCLAMATION);
    }
    if (domain != m_strDomainName) {
        if (!FieldWithin(domain, DOMAIN_LIMIT, IDS_CONF_DOMAIN_LONG, m_editDomainName))
            return false;
        if (Write(CI_ESSID, domain))
            restartNeeded = true;
    }

    bool roaming = m_checkRoaming.IsChecked();
    if (roaming != (m_bRoaming != FALSE)) {
        const char* text = roaming ? "1" : "0";
        Write(CI_ROAMING, text);
        if (m_bAskCard)
            SetCardItem(self, CI_ROAMING, text);
    }

    // A stored value that the list does not offer leaves it without a
    // selection; nothing is written for it unless the user picks one.
    int networkType = m_comboNetworkType.GetCurSel();
    if (networkType >= 0 && networkType != m_nNetworkType &&
        Write(CI_NETWORK_TYPE, Number(networkType)))
        restartNeeded = true;

    bool security = m_checkSecurity.IsChecked();
    if (security != (m_bSecurity != FALSE) && Write(CI_SECURITY, security ? "1" : "0"))
        restartNeeded = true;

    std::string securityId = FieldText(m_editSecurityId);
    if (securityId != m_strSecurityId) {
        if (!FieldWithin(securityId, SECURITY_ID_LIMIT, IDS_CONF_SECURITY_LONG, m_editSecurityId))
            return false;
        if (Write(CI_SECURITY_ID, securityId))
            restartNeeded = true;
    }

    if (OnWin9x()) {
        std::string name = FieldText(m_editComputerName);
        if (name.empty()) {
            Refuse(IDS_CONF_NO_COMPUTER, m_editComputerName, false);
            return false;
        }
        if (name != m_strStationName) {
            if (!FieldWithin(name, COMPUTER_NAME_LIMIT, IDS_CONF_COMPUTER_LONG, m_editComputerName))
                return false;
            if (Write(CI_STATION_NAME, name))
                restartNeeded = true;
            WriteComputerNameKeys(name);
        }
    }

    int carrier = m_comboCarrierSet.GetCurSel();
    if (carrier >= 0 && carrier != m_nCarrierSet && Write(CI_CARRIER_SET, Number(carrier)))
        restartNeeded = true;

    if (m_nAdvancedResult == IDOK)
        ApplyAdvancedSettings(restartNeeded);
    return true;
}

void CConfDlg::ApplyAdvancedSettings(bool& restartNeeded)
{
    HWND self = m_hWnd;
    const AdvancedSettings& now = m_advCurrent;
    const AdvancedSettings& was = m_advInitial;

    if (now.retryLimit != was.retryLimit) {
        std::string text = Number(now.retryLimit);
        if (m_bAskCard)
            SetCardItem(self, CI_TX_RETRY, text.c_str());
        Write(CI_TX_RETRY, text);
    }
    if (now.roamingThreshold != was.roamingThreshold) {
        std::string text = Number(now.roamingThreshold);
        if (m_bAskCard)
            SetCardItem(self, CI_ROAMING_THRESHOLD, text.c_str());
        Write(CI_ROAMING_THRESHOLD, text);
    }
    if (now.dataRate != was.dataRate && Write(CI_DATA_RATE, Number(now.dataRate)))
        restartNeeded = true;
    if (now.powerSaving != was.powerSaving) {
        std::string text = Number(now.powerSaving);
        Write(CI_PS_MODE, text);
        if (m_bAskCard)
            SetCardItem(self, CI_PS_MODE, text.c_str());
    }
    if (now.bssid.compare(0, 12, was.bssid, 0, 12) != 0) {
        std::string text = now.bssid.substr(0, 12);
        if (m_bAskCard)
            SetCardItem(self, CI_PREFER_BSSID, text.c_str());
        if (Write(CI_PREFER_BSSID, text))
            restartNeeded = true;
    }
}

void CConfDlg::Restart()
{
    if (!OnWin9x()) {
        HANDLE token = nullptr;
        if (!g_os.OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                                   &token)) {
            g_os.MessageBoxA(m_hWnd, LoadStr(IDS_CONF_ERR_TOKEN).c_str(), nullptr, MB_OK);
        } else {
            TOKEN_PRIVILEGES privileges;
            memset(&privileges, 0, sizeof(privileges));
            g_os.LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid);
            privileges.PrivilegeCount = 1;
            privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
            ::SetLastError(ERROR_SUCCESS);
            g_os.AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
            if (::GetLastError() != ERROR_SUCCESS)
                g_os.MessageBoxA(m_hWnd, LoadStr(IDS_CONF_ERR_PRIVILEGE).c_str(), nullptr, MB_OK);
            g_os.CloseHandle(token);
        }
    }
    g_os.ExitWindowsEx(EWX_REBOOT, 0);
}

BOOL CConfDlg::OnApply()
{
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileInt(PROFILE_PRIVATE, PROFILE_ADV_CONFIG, m_bAdvancedShown ? 1 : 0);

    bool restartNeeded = false;
    m_bUnsaved = false;
    // The card's own settings are written as one poll. Beside another poll
    // that holds the card (behind one of its boxes) they go to the registry
    // alone, as for a failed adapter, and reach the card at its next start.
    AdapterLock lock;
    m_bAskCard = !Failed() && lock.IsHeld();
    const bool applied = ApplySettings(restartNeeded);
    lock.Release();
    if (!applied)
        return FALSE;
    // What could not be written is never passed off as saved: said once,
    // and the sheet stays open.
    if (m_bUnsaved) {
        g_os.MessageBoxA(m_hWnd, LoadStr(IDS_CONF_NOT_SAVED).c_str(), LoadStr(IDS_ERROR).c_str(),
                         MB_OK | MB_ICONSTOP);
        return FALSE;
    }

    if (restartNeeded &&
        g_os.MessageBoxA(m_hWnd, LoadStr(IDS_CONF_RESTART).c_str(), LoadStr(IDS_PRODUCT).c_str(),
                         MB_OKCANCEL | MB_ICONQUESTION) == IDOK)
        Restart();
    return TRUE;
}

void CConfDlg::OnCancel()
{
    CPropertyPage::OnCancel();
}
