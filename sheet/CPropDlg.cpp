// CPropDlg.cpp - the Advanced Information page.
#include "sheet/CPropDlg.h"

#include "adapter/AdapterState.h"
#include "adapter/CardItems.h"
#include "adapter/CardSettings.h"
#include "framework/CWinApp.h"
#include "framework/DataExchange.h"
#include "res/resource.h"
#include "sheet/PageCommon.h"
#include "sheet/ProgramIdentity.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const size_t AP_NAME_KEPT = 80;

std::string UpperCase(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = (char)(c - 'a' + 'A');
    return text;
}

} // namespace

CPropDlg::CPropDlg() : CPropertyPage(IDD_ADVANCED_INFO, IDS_ADVANCED_INFORMATION) {}

CPropDlg::~CPropDlg() = default;

void CPropDlg::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_INFO_STATUS, m_StatusEdit);
}

BOOL CPropDlg::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    UpdateData(FALSE);
    ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    ReadAdapter();
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    return TRUE;
}

void CPropDlg::ReadAdapter()
{
    AdapterState& state = GetAdapterState();
    char text[CARD_ITEM_BUFFER_SIZE];
    // The page's reads are one card poll: a tool's tick that comes while one
    // of them waits behind a box does not break into it. Opened beside
    // another poll, the page shows what the registry knows and leaves the
    // card's own fields empty.
    AdapterLock lock;
    const bool askCard = !state.m_bAdapterFailed && lock.IsHeld();

    if (!askCard) {
        SetDlgItemText(IDC_INFO_MANUFACTURER, ReadProgramIdentity().company.c_str());
    } else {
        QueryCardItem(CI_MANUFACTURER, text);
        if (strcmp(text, "WIRELESS LAN") == 0)
            SetDlgItemText(IDC_INFO_MANUFACTURER, ReadProgramIdentity().company.c_str());
        else if (text[0] != '\0')
            SetDlgItemText(IDC_INFO_MANUFACTURER, text);
    }

    if (askCard) {
        if (QueryCardItem(CI_FIRMWARE_VERSION, text) != ITEM_OK) {
            state.m_bAdapterFailed = TRUE;
            lock.Release();
            ReportPageNoResponse(m_hWnd);
            return;
        }
        SetDlgItemText(IDC_INFO_FIRMWARE, text);
    }

    const struct
    {
        int item;
        int control;
    } settings[] = {
        {CI_CARD_TYPE, IDC_INFO_BUS_TYPE},
        {CI_IO_RANGE, IDC_INFO_IO_RANGE},
        {CI_IRQ, IDC_INFO_IRQ},
    };
    for (const auto& s : settings) {
        char value[CONFIG_TEXT_SIZE];
        ReadConfigValue(m_hWnd, s.item, value);
        SetDlgItemText(s.control, value);
    }

    if (askCard) {
        QueryCardItem(CI_MAC_ADDRESS, text);
        SetDlgItemText(IDC_INFO_STATION_ADDRESS, text);
    }

    if (askCard || state.m_bAdapterFailed)
        AppendStatusText();
}

void CPropDlg::AppendStatusText()
{
    AdapterState& state = GetAdapterState();
    if (state.m_bAdapterFailed) {
        char line[128];
        snprintf(line, sizeof(line), LoadStr(IDS_ADAPTER_DISABLED).c_str(),
                 (int)state.m_nAdapterStatus);
        m_StatusEdit.AppendText(line);
        return;
    }

    char type[CARD_ITEM_BUFFER_SIZE];
    if (QueryCardItem(CI_NETWORK_TYPE, type) != ITEM_OK)
        return;
    std::string working = LoadStr(IDS_WORKING_PROPERLY);
    if (lstrcmpiA(type, LoadStr(IDS_INFRASTRUCTURE).c_str()) != 0) {
        m_StatusEdit.AppendText(working.c_str());
        return;
    }

    char current[CARD_ITEM_BUFFER_SIZE];
    QueryCardItem(CI_CURRENT_BSSID, current);
    WORD count = 0;
    if (QueryCardItem(CI_BSS_COUNT, count) != ITEM_OK)
        count = 0;
    if (count > BSS_TABLE_MAX)
        count = BSS_TABLE_MAX;

    std::string text = working;
    for (WORD i = 0; i < count; ++i) {
        char name[CARD_ITEM_BUFFER_SIZE] = {};
        char bssid[CARD_ITEM_BUFFER_SIZE] = {};
        char linkState[CARD_ITEM_BUFFER_SIZE] = {};
        memcpy(name, &i, sizeof(i));
        memcpy(bssid, &i, sizeof(i));
        memcpy(linkState, &i, sizeof(i));
        QueryCardItem(CI_BSS_AP_NAME, name);
        QueryCardItem(CI_BSS_BSSID, bssid);
        QueryCardItem(CI_BSS_STATE, linkState);
        std::string apName(name, strnlen(name, AP_NAME_KEPT));
        if (lstrcmpiA(UpperCase(bssid).c_str(), current) == 0 &&
            lstrcmpiA(linkState, "Associated") == 0) {
            std::string format = LoadStr(IDS_CONNECTED_AP);
            size_t size = format.size() + working.size() + apName.size() + strlen(current) + 1;
            std::string line(size, '\0');
            int n =
                snprintf(&line[0], size, format.c_str(), working.c_str(), apName.c_str(), current);
            line.resize(n > 0 ? (size_t)n : 0);
            text = line;
            break;
        }
    }
    m_StatusEdit.AppendText(text.c_str());
}

BOOL CPropDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDM_CONF_HELP) {
        OnHelp();
        return TRUE;
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

void CPropDlg::OnHelp()
{
    AfxHelpKeyword(m_hWnd, IDS_ADVANCED_INFORMATION, true);
}
