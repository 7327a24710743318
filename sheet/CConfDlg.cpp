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
#include "framework/Os.h"
#include "res/resource.h"

#include <stdio.h>
#include <stdlib.h>
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

// Digit settings are stored as one decimal digit.
int DigitOf(const std::string& text, int otherwise)
{
    return text.empty() ? otherwise : text[0] - '0';
}

std::string FieldText(HWND dlg, int id, int maxChars)
{
    std::string text(static_cast<size_t>(maxChars) + 1, '\0');
    int length = ::GetDlgItemTextA(dlg, id, &text[0], maxChars + 1);
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return text;
}

int Selection(HWND dlg, int id)
{
    return static_cast<int>(::SendDlgItemMessageA(dlg, id, CB_GETCURSEL, 0, 0));
}

bool Ticked(HWND dlg, int id)
{
    return ::IsDlgButtonChecked(dlg, id) == BST_CHECKED;
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

} // namespace

CConfDlg::CConfDlg()
    : CPropertyPage(IDD_CONFIGURATION), m_bMayClose(TRUE), m_bAdvancedShown(FALSE),
      m_nAdvancedResult(0), m_bHighRate(FALSE), m_bPcmcia(FALSE), m_nNetworkType(1),
      m_nCarrierSet(0), m_bRoaming(TRUE), m_bSecurity(FALSE)
{
    LoadAccelTable(IDR_ACCELERATORS);
}

CConfDlg::~CConfDlg() = default;

BOOL CConfDlg::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    HWND self = m_hWnd;

    m_nNetworkType = 1;
    m_bRoaming = TRUE;
    m_nCarrierSet = 0;
    m_bSecurity = FALSE;

    HWND networkType = GetDlgItem(IDC_CONF_NETWORK_TYPE);
    ::SendMessageA(networkType, CB_RESETCONTENT, 0, 0);
    ::SendMessageA(networkType, CB_ADDSTRING, 0, (LPARAM)LoadStr(IDS_INFRASTRUCTURE).c_str());
    ::SendMessageA(networkType, CB_ADDSTRING, 0, (LPARAM)LoadStr(IDS_CONF_ADHOC).c_str());
    m_nNetworkType = DigitOf(ReadSetting(self, CI_NETWORK_TYPE), m_nNetworkType);
    ::SendMessageA(networkType, CB_SETCURSEL, m_nNetworkType, 0);

    HWND carrier = GetDlgItem(IDC_CONF_CARRIER_SET);
    ::SendMessageA(carrier, CB_RESETCONTENT, 0, 0);
    for (UINT id : kCarrierNames)
        ::SendMessageA(carrier, CB_ADDSTRING, 0, (LPARAM)LoadStr(id).c_str());
    m_nCarrierSet = DigitOf(ReadSetting(self, CI_CARRIER_SET), m_nCarrierSet);
    ::SendMessageA(carrier, CB_SETCURSEL, m_nCarrierSet, 0);

    ::SendDlgItemMessageA(self, IDC_CONF_DOMAIN_NAME, EM_LIMITTEXT, DOMAIN_LIMIT, 0);
    m_strDomainName = ReadSetting(self, CI_ESSID);
    SetDlgItemText(IDC_CONF_DOMAIN_NAME, m_strDomainName.c_str());

    if (OnWin9x()) {
        ::SendDlgItemMessageA(self, IDC_CONF_COMPUTER_NAME, EM_LIMITTEXT, COMPUTER_NAME_LIMIT, 0);
        m_strStationName = ReadSetting(self, CI_STATION_NAME);
    } else {
        m_strStationName = Failed() ? std::string() : QueryText(CI_STATION_NAME);
        ::EnableWindow(GetDlgItem(IDC_CONF_COMPUTER_NAME), FALSE);
    }
    SetDlgItemText(IDC_CONF_COMPUTER_NAME, m_strStationName.c_str());

    std::string roaming = ReadSetting(self, CI_ROAMING);
    if (!roaming.empty())
        m_bRoaming = roaming[0] == '1';
    ::CheckDlgButton(self, IDC_CONF_ROAMING, m_bRoaming ? BST_CHECKED : BST_UNCHECKED);

    std::string security = ReadSetting(self, CI_SECURITY);
    if (!security.empty())
        m_bSecurity = security[0] == '1';
    if (m_bSecurity)
        ::CheckDlgButton(self, IDC_CONF_SECURITY, BST_CHECKED);
    else
        ::EnableWindow(GetDlgItem(IDC_CONF_SECURITY_ID), FALSE);
    ::SendDlgItemMessageA(self, IDC_CONF_SECURITY_ID, EM_LIMITTEXT, SECURITY_ID_LIMIT, 0);
    m_strSecurityId = ReadSetting(self, CI_SECURITY_ID);
    SetDlgItemText(IDC_CONF_SECURITY_ID, m_strSecurityId.c_str());

    if (m_nNetworkType == 0)
        ::EnableWindow(GetDlgItem(IDC_CONF_ROAMING), FALSE);

    AdvancedSettings read;
    std::string retry = ReadSetting(self, CI_TX_RETRY);
    if (retry.empty() && !Failed())
        retry = QueryText(CI_TX_RETRY);
    if (!retry.empty())
        read.retryLimit = atoi(retry.c_str());

    std::string bssid = ReadSetting(self, CI_PREFER_BSSID);
    if (bssid.empty())
        bssid = "000000000000";
    for (char& c : bssid)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    read.bssid = bssid;

    std::string threshold = ReadSetting(self, CI_ROAMING_THRESHOLD);
    if (threshold.empty() && !Failed())
        threshold = QueryText(CI_ROAMING_THRESHOLD);
    if (!threshold.empty())
        read.roamingThreshold = atoi(threshold.c_str());

    m_bPcmcia = ReadSetting(self, CI_CARD_TYPE) == LoadStr(IDS_PCMCIA);
    if (m_bPcmcia)
        read.powerSaving = DigitOf(ReadSetting(self, CI_PS_MODE), read.powerSaving);

    m_bHighRate = CardHasHighRate() == 1;
    read.dataRate = m_bHighRate ? DigitOf(ReadSetting(self, CI_DATA_RATE), 0) : 0;

    m_advInitial = read;
    m_advCurrent = read;

    CWinApp* app = AfxGetApp();
    m_bAdvancedShown = app && app->GetProfileInt(PROFILE_PRIVATE, PROFILE_ADV_CONFIG, 0) != 0;
    ::ShowWindow(GetDlgItem(IDC_CONF_ADVANCED), m_bAdvancedShown ? SW_SHOW : SW_HIDE);

    m_bMayClose = TRUE;
    m_nAdvancedResult = 0;
    return TRUE;
}

void CConfDlg::ToggleAdvancedButton()
{
    m_bAdvancedShown = !m_bAdvancedShown;
    if (m_hWnd)
        ::ShowWindow(GetDlgItem(IDC_CONF_ADVANCED), m_bAdvancedShown ? SW_SHOW : SW_HIDE);
}

INT_PTR CConfDlg::RunAdvancedDialog(CAdvConfigDlg& dlg)
{
    return dlg.DoModal();
}

void CConfDlg::OnAdvancedConfig()
{
    CAdvConfigDlg dlg(this);
    dlg.SetNetworkType(Selection(m_hWnd, IDC_CONF_NETWORK_TYPE));
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
            ::EnableWindow(GetDlgItem(IDC_CONF_ROAMING),
                           Selection(m_hWnd, IDC_CONF_NETWORK_TYPE) == 1);
            return TRUE;
        }
        break;
    case IDC_CONF_SECURITY:
        if (HIWORD(wParam) == BN_CLICKED) {
            ::EnableWindow(GetDlgItem(IDC_CONF_SECURITY_ID), Ticked(m_hWnd, IDC_CONF_SECURITY));
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

void CConfDlg::Refuse(UINT messageId, int control, bool empty)
{
    g_os.MessageBoxA(m_hWnd, LoadStr(messageId).c_str(), LoadStr(IDS_WARNING).c_str(),
                     MB_OK | MB_ICONSTOP);
    HWND field = GetDlgItem(control);
    if (empty)
        ::SetWindowTextA(field, "");
    // The OK may have come from another tab: the field is focused where the
    // user can see it, never on a hidden page.
    if (CPropertySheet* sheet = GetSheet())
        sheet->SetActivePage(this);
    ::SetFocus(field);
    m_bMayClose = FALSE;
}

bool CConfDlg::Write(int item, const std::string& text)
{
    if (WriteConfigValue(m_hWnd, item, text.c_str()) == ITEM_OK)
        return true;
    m_bUnsaved = true;
    return false;
}

bool CConfDlg::FieldWithin(const std::string& text, int limit, UINT messageId, int control)
{
    if (static_cast<int>(text.size()) <= limit)
        return true;
    Refuse(messageId, control, false);
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

    std::string domain = FieldText(self, IDC_CONF_DOMAIN_NAME, FIELD_READ);
    if (domain.empty()) {
        Refuse(IDS_CONF_NO_DOMAIN, IDC_CONF_DOMAIN_NAME, false);
        return false;
    }
    size_t first = domain.find_first_not_of(' ');
    if (first == std::string::npos) {
        Refuse(IDS_CONF_NO_DOMAIN, IDC_CONF_DOMAIN_NAME, true);
        return false;
    }
    size_t last = domain.find_last_not_of(' ');
    if (first != 0 || last != domain.size() - 1) {
        domain = domain.substr(first, last - first + 1);
        g_os.MessageBoxA(self, LoadStr(IDS_CONF_TRUNCATED).c_str(), LoadStr(IDS_WARNING).c_str(),
                         MB_OK | MB_ICONEXCLAMATION);
    }
    if (domain != m_strDomainName) {
        if (!FieldWithin(domain, DOMAIN_LIMIT, IDS_CONF_DOMAIN_LONG, IDC_CONF_DOMAIN_NAME))
            return false;
        if (Write(CI_ESSID, domain))
            restartNeeded = true;
    }

    bool roaming = Ticked(self, IDC_CONF_ROAMING);
    if (roaming != (m_bRoaming != FALSE)) {
        const char* text = roaming ? "1" : "0";
        Write(CI_ROAMING, text);
        if (!Failed())
            SetCardItem(self, CI_ROAMING, text);
    }

    // A stored value that the list does not offer leaves it without a
    // selection; nothing is written for it unless the user picks one.
    int networkType = Selection(self, IDC_CONF_NETWORK_TYPE);
    if (networkType >= 0 && networkType != m_nNetworkType &&
        Write(CI_NETWORK_TYPE, Number(networkType)))
        restartNeeded = true;

    bool security = Ticked(self, IDC_CONF_SECURITY);
    if (security != (m_bSecurity != FALSE) && Write(CI_SECURITY, security ? "1" : "0"))
        restartNeeded = true;

    std::string securityId = FieldText(self, IDC_CONF_SECURITY_ID, FIELD_READ);
    if (securityId != m_strSecurityId) {
        if (!FieldWithin(securityId, SECURITY_ID_LIMIT, IDS_CONF_SECURITY_LONG,
                         IDC_CONF_SECURITY_ID))
            return false;
        if (Write(CI_SECURITY_ID, securityId))
            restartNeeded = true;
    }

    if (OnWin9x()) {
        std::string name = FieldText(self, IDC_CONF_COMPUTER_NAME, FIELD_READ);
        if (name.empty()) {
            Refuse(IDS_CONF_NO_COMPUTER, IDC_CONF_COMPUTER_NAME, false);
            return false;
        }
        if (name != m_strStationName) {
            if (!FieldWithin(name, COMPUTER_NAME_LIMIT, IDS_CONF_COMPUTER_LONG,
                             IDC_CONF_COMPUTER_NAME))
                return false;
            if (Write(CI_STATION_NAME, name))
                restartNeeded = true;
            WriteComputerNameKeys(name);
        }
    }

    int carrier = Selection(self, IDC_CONF_CARRIER_SET);
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
        if (!Failed())
            SetCardItem(self, CI_TX_RETRY, text.c_str());
        Write(CI_TX_RETRY, text);
    }
    if (now.roamingThreshold != was.roamingThreshold) {
        std::string text = Number(now.roamingThreshold);
        if (!Failed())
            SetCardItem(self, CI_ROAMING_THRESHOLD, text.c_str());
        Write(CI_ROAMING_THRESHOLD, text);
    }
    if (now.dataRate != was.dataRate && Write(CI_DATA_RATE, Number(now.dataRate)))
        restartNeeded = true;
    if (now.powerSaving != was.powerSaving) {
        std::string text = Number(now.powerSaving);
        Write(CI_PS_MODE, text);
        if (!Failed())
            SetCardItem(self, CI_PS_MODE, text.c_str());
    }
    if (now.bssid.compare(0, 12, was.bssid, 0, 12) != 0) {
        std::string text = now.bssid.substr(0, 12);
        if (!Failed())
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

void CConfDlg::OnOK()
{
    m_bMayClose = TRUE;
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileInt(PROFILE_PRIVATE, PROFILE_ADV_CONFIG, m_bAdvancedShown ? 1 : 0);

    bool restartNeeded = false;
    m_bUnsaved = false;
    if (!ApplySettings(restartNeeded))
        return;
    // What could not be written is never passed off as saved: said once,
    // and the sheet stays open.
    if (m_bUnsaved) {
        g_os.MessageBoxA(m_hWnd, LoadStr(IDS_CONF_NOT_SAVED).c_str(), LoadStr(IDS_ERROR).c_str(),
                         MB_OK | MB_ICONSTOP);
        m_bMayClose = FALSE;
        return;
    }

    if (restartNeeded &&
        g_os.MessageBoxA(m_hWnd, LoadStr(IDS_CONF_RESTART).c_str(), LoadStr(IDS_PRODUCT).c_str(),
                         MB_OKCANCEL | MB_ICONQUESTION) == IDOK)
        Restart();

    CPropertyPage::OnOK();
}

void CConfDlg::OnCancel()
{
    CPropertyPage::OnCancel();
}
