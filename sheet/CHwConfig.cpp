// CHwConfig.cpp - the Troubleshooting page and its report.
#include "sheet/CHwConfig.h"

#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "adapter/CardItems.h"
#include "adapter/CardSettings.h"
#include "adapter/PortAccess.h"
#include "framework/CWinApp.h"
#include "framework/DataExchange.h"
#include "res/resource.h"
#include "sheet/PageCommon.h"
#include "sheet/ProgramIdentity.h"
#include "sheet/ReportSources.h"
#include "sheet/ReportText.h"

#include <windows.h>

#include <cstring>

namespace {

const char* const NOT_AVAILABLE_LINE = "not available";

// The card items of "[Current Card Settings]", in their order.
const int kSettingItems[] = {
    CI_BSS_STATIONS, CI_NETWORK_TYPE,  CI_BEACON_WORD, CI_CARRIER_SET,  CI_ESSID,
    CI_LINK_STATE,   CI_MANUFACTURER,  CI_TX_RETRY,    CI_SENSITIVITY,  CI_FIRMWARE_VERSION,
    CI_DATA_RATE,    CI_CURRENT_BSSID, CI_MAC_ADDRESS, CI_STATION_NAME,
};

} // namespace

CHwConfig::CHwConfig() : CPropertyPage(IDD_HW_CONFIG, IDS_TROUBLESHOOTING) {}

CHwConfig::~CHwConfig() = default;

const char* CHwConfig::WindowsKeyPath(int platform)
{
    return platform == PLATFORM_WIN9X ? "SOFTWARE\\Microsoft\\Windows\\CurrentVersion"
                                      : "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
}

void CHwConfig::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_REPORT, m_ReportEdit);
    // Target and hand cursor are set before binding: the labels keep their
    // texts and no other cursor is looked for.
    HCURSOR hand = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_CURSOR));
    const struct
    {
        CLinkStatic* link;
        UINT target;
        int id;
    } links[] = {
        {&m_SupportLinkUs, IDS_SUPPORT_TARGET_US, IDC_SUPPORT_LINK_US},
        {&m_SupportLink, IDS_SUPPORT_TARGET, IDC_SUPPORT_LINK},
    };
    for (const auto& l : links) {
        if (l.link->m_hWnd)
            continue;
        l.link->SetTarget(LoadStr(l.target).c_str());
        l.link->SetHandCursor(hand);
        l.link->SubclassDlgItem(l.id, this);
        l.link->SetLinkColors(l.link->GetLinkColor(), l.link->GetLinkColor(),
                              l.link->GetHoverColor());
    }
}

BOOL CHwConfig::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    UpdateData(FALSE);
    // A long registry listing must not be cut by the edit's default limit.
    m_ReportEdit.LimitText(0);
    BuildReport();
    return TRUE;
}

void CHwConfig::Append(const std::string& text)
{
    m_report += text;
}

namespace {

// The drivers' log as the report gives it, in at most room characters, its
// own lines counted: the file whole, or its newest part after a line that
// says it was cut. A section that does not fit at all is left out.
std::string DriverLogSection(size_t room)
{
    const std::string cutLine = LoadStr(IDS_DRIVER_LOG_CUT) + "\r\n";
    const std::string path = DriverLogPath();
    std::string log;
    DriverLogResult read = AppendDriverLogFile(log, path, room);
    if (read == DRIVER_LOG_CUT) {
        log.clear();
        read = AppendDriverLogFile(log, path, room > cutLine.size() ? room - cutLine.size() : 0);
    }
    std::string section;
    switch (read) {
    case DRIVER_LOG_NONE:
        section = DRIVER_WORKING_LINE;
        break;
    case DRIVER_LOG_UNREADABLE:
        section = LoadStr(IDS_DRIVER_LOG_UNREADABLE) + "\r\n";
        break;
    case DRIVER_LOG_CUT:
        section = cutLine + log;
        break;
    case DRIVER_LOG_READ:
        section = log;
        break;
    }
    return section.size() <= room ? section : std::string();
}

} // namespace

void CHwConfig::BuildReport()
{
    AdapterState& state = GetAdapterState();
    m_report.clear();
    char dump[CARD_ITEM_BUFFER_SIZE] = "";
    // The report's card reads are one poll (see the Advanced Information
    // page); beside another poll the card's own sections stay empty.
    AdapterLock lock;
    bool askCard = !state.m_bAdapterFailed && lock.IsHeld();
    if (askCard && QueryCardItem(CI_DEBUG_DUMP, dump) != ITEM_OK) {
        dump[0] = '\0';
        state.m_bAdapterFailed = TRUE;
        askCard = false;
        lock.Release();
        ReportPageNoResponse(m_hWnd);
    }
    ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));

    ProgramIdentity id = ReadProgramIdentity();
    Append(DiagnosticSection(id.directory, id.description, id.version, id.company));
    Append(DumpSection(dump));

    Append(AdapterParamsHead(GetAdapterLink().DriverKeyPath));
    Append(ListRegistryValues(HKEY_LOCAL_MACHINE, GetAdapterLink().DriverKeyPath));

    Append(DriverStatusSection(state.m_bAdapterFailed ? 1 : 0, state.m_nAdapterStatus,
                               LoadStr(IDS_NO_RESPONSE)));
    // The drivers' log comes here, but it is read last: it gets the room
    // that the other sections leave of what the copy takes, so that its
    // newest lines are copied too.
    const std::string head = m_report;
    m_report.clear();

    Append("\r\n[Current Card Settings]\r\n");
    if (askCard) {
        for (int item : kSettingItems) {
            char text[CARD_ITEM_BUFFER_SIZE] = {}; // indexed items read entry 0
            if (QueryCardItem(item, text) != ITEM_OK)
                strcpy(text, NOT_AVAILABLE_LINE);
            Append(std::string(text) + "\r\n");
        }
    }
    lock.Release();
    Append("-----------\r\n");
    for (int item : {CI_CARD_TYPE, CI_IO_RANGE, CI_IRQ}) {
        char text[CONFIG_TEXT_SIZE];
        if (ReadConfigValue(m_hWnd, item, text) != ITEM_OK)
            strcpy(text, NOT_AVAILABLE_LINE);
        Append(std::string(text) + "\r\n");
    }

    Append("\r\n[Windows]\r\n");
    Append(ListRegistryValues(HKEY_LOCAL_MACHINE, WindowsKeyPath(GetAdapterLink().PlatformKind)));

    std::string log;
    if (GetAdapterLink().PlatformKind == PLATFORM_WIN9X) {
        const size_t used = head.size() + m_report.size();
        log = DriverLogSection(used < COPY_LIMIT ? COPY_LIMIT - used : 0);
    }
    // The pieces go to the edit at once, after what it holds, shown from the
    // report's first line.
    m_ReportEdit.AppendText((head + log + m_report).c_str());
    m_report.clear();
    m_ReportEdit.SetSel(0, 0);
    m_ReportEdit.ScrollCaret();
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
}

void CHwConfig::CopyReport()
{
    m_ReportEdit.SetSel(0, COPY_LIMIT);
    m_ReportEdit.ScrollCaret();
    m_ReportEdit.Copy();
}

BOOL CHwConfig::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDC_COPY_REPORT:
        if (HIWORD(wParam) == BN_CLICKED)
            CopyReport();
        return TRUE;
    case IDM_CONF_HELP:
        OnHelp();
        return TRUE;
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

void CHwConfig::OnHelp()
{
    AfxHelpKeyword(m_hWnd, IDS_TROUBLESHOOTING, true);
}
