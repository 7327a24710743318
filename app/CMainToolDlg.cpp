// CMainToolDlg.cpp - the tool window: construction and initialisation, the
// link monitor's tick and what it shows and keeps, opening and owning the
// tools, and the commands of the system menu, the buttons and the
// notification icon's menu.
#include "app/CMainToolDlg.h"

#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "adapter/CardItems.h"
#include "adapter/HistoryEvents.h"
#include "adapter/LinkHistory.h"
#include "adapter/Mailbox.h"
#include "adapter/QualityScale.h"
#include "app/CAboutDlg.h"
#include "app/CPrefsDlg.h"
#include "app/CUtilityApp.h"
#include "framework/Gdi.h"
#include "framework/Os.h"
#include "res/resource.h"
#include "sheet/CPropertyTab.h"
#include "tools/CBssWatchDlg.h"
#include "tools/CLinkHistoryDlg.h"
#include "tools/CSignalDlg.h"
#include "tools/CStationWatchDlg.h"
#include "tools/CThroughputDlg.h"

#include <cstdio>

static_assert(IDM_ABOUT < 0xF000 && IDM_PREFERENCES < 0xF000,
              "system menu commands stay below the system's own");

namespace {

const char kSettings[] = "Settings";
const char kInfrastructure[] = "Infrastructure";

struct ButtonInfo
{
    UINT id;
    UINT hotIcon;
    UINT normalIcon;
    UINT tip;
};
const ButtonInfo kButtons[4] = {
    {IDC_BTN_PROPERTIES, IDI_PROPERTIES_HOT, IDI_PROPERTIES_NORMAL, IDS_PROPERTIES_CAPTION},
    {IDC_BTN_WATCHER, IDI_WATCHER_HOT, IDI_WATCHER_NORMAL, IDS_NETWORK_WATCHER},
    {IDC_BTN_SIGNAL, IDI_SIGNAL_HOT, IDI_SIGNAL_NORMAL, IDS_SIGNAL_INDICATOR},
    {IDC_BTN_THROUGHPUT, IDI_THROUGHPUT_HOT, IDI_THROUGHPUT_NORMAL, IDS_VIEW_THROUGHPUT},
};

// The taskbar's small picture of an icon resource; shared, so never freed.
HICON TrayIcon(UINT id)
{
    return (HICON)::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON,
                               ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                               LR_SHARED);
}

// An open tool asked for again, perhaps by a second start while another
// program is in front: it comes to the front with the focus.
void FocusWindow(HWND hWnd)
{
    if (::IsIconic(hWnd))
        ::ShowWindow(hWnd, SW_RESTORE);
    ::SetForegroundWindow(hWnd);
    ::SetFocus(hWnd);
}

} // namespace

CMainToolDlg::CMainToolDlg(CWnd* parent)
    : CDialog(IDD_MAINTOOL, parent),
      m_hIcon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APPLICATION_ICON))),
      m_pPropertySheet(
          new CPropertyTab(IDS_PROPERTIES_CAPTION, this, 0, PSH_HASHELP | PSH_NOAPPLYNOW)),
      m_pSignalDlg(new CSignalDlg(this)), m_xPos(0), m_yPos(1), m_nWidth(79), m_nHeight(17),
      m_fMaximized(0), m_fMinimized(0), m_pAboutDlg(nullptr), m_pPrefsDlg(nullptr),
      // One writer of the card's settings at a time: no profile is applied
      // while the property sheet is open.
      m_profiles([this] { return GetToolWindow(TOOL_PROPERTIES) != nullptr; }), m_bIconShown(false),
      m_bInfraWatcher(false), m_bAdHocAtStart(false), m_bMonitoring(false),
      m_bFailureRecorded(false), m_nMonitorPeriod(MONITOR_PERIOD), m_bTrayFailedThisRun(false),
      m_bTipsTried(false)
{
    // Buttons only: the start does not wait for comctl32, which loads with
    // the first tool, tip or menu picture.
    m_bCommonControls = false;
    // Exactly one of the two watchers, by the card's network type; an
    // unreadable type counts as not infrastructure.
    CUtilityApp* app = CUtilityApp::Get();
    std::string type;
    bool answered = app && !GetAdapterState().m_bAdapterFailed && ReadNetworkType(type);
    m_bInfraWatcher = lstrcmpiA(type.c_str(), kInfrastructure) == 0;
    // The monitor starts on the same answer where it can (see OnInitDialog).
    m_bAdHocAtStart = answered && !m_bInfraWatcher;
    if (m_bInfraWatcher)
        m_pBssWatchDlg.reset(new CBssWatchDlg(this));
    else
        m_pStationWatchDlg.reset(new CStationWatchDlg(this));
    m_pThroughputDlg.reset(new CThroughputDlg(this));
    m_pHistoryDlg.reset(new CLinkHistoryDlg(m_survey, this));
}

CMainToolDlg::~CMainToolDlg()
{
    m_pPropertySheet.reset();
    m_pSignalDlg.reset();
    m_pBssWatchDlg.reset();
    m_pStationWatchDlg.reset();
    m_pThroughputDlg.reset();
    m_pHistoryDlg.reset();
    m_tray.RemoveIcon();
}

bool CMainToolDlg::ReadNetworkType(std::string& type)
{
    char text[CARD_ITEM_BUFFER_SIZE] = "";
    BYTE result = QueryCardItem(CI_NETWORK_TYPE, text, sizeof(text));
    text[sizeof(text) - 1] = '\0';
    type = text;
    return result == ITEM_OK;
}

// ---------------------------------------------------------------------------
// Initialisation

BOOL CMainToolDlg::OnInitDialog()
{
    CUtilityApp* app = CUtilityApp::Get();

    // About and Preferences in the system menu.
    std::string about = LoadStr(IDM_ABOUT);
    HMENU sysMenu = ::GetSystemMenu(m_hWnd, FALSE);
    if (sysMenu && !about.empty()) {
        ::AppendMenuA(sysMenu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(sysMenu, MF_STRING, IDM_PREFERENCES, LoadStr(IDM_PREFERENCES).c_str());
        ::AppendMenuA(sysMenu, MF_STRING, IDM_ABOUT, about.c_str());
    }
    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_hIcon);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)m_hIcon);
    SetWindowText(LoadStr(IDS_MAIN_TITLE).c_str());

    for (int i = 0; i < 4; ++i) {
        m_buttons[i].SubclassDlgItem(kButtons[i].id, this);
        m_buttons[i].SetIcons(kButtons[i].hotIcon, kButtons[i].normalIcon, 32, 32);
    }

    // The stored position, pulled back onto the screen.
    RECT rc;
    GetWindowRect(&rc);
    const int width = rc.right - rc.left, height = rc.bottom - rc.top;
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    if (app) {
        m_xPos = (int)app->GetProfileInt(kSettings, "xPos", screenWidth - width);
        m_yPos = (int)app->GetProfileInt(kSettings, "yPos", 1);
        m_nWidth = (int)app->GetProfileInt(kSettings, "nWidth", 79);
        m_nHeight = (int)app->GetProfileInt(kSettings, "nHeight", 17);
        m_fMinimized = (int)app->GetProfileInt(kSettings, "fMinimized", 0);
        m_fMaximized = (int)app->GetProfileInt(kSettings, "fMaximized", 0);
    } else {
        m_xPos = screenWidth - width;
        m_yPos = 1;
    }
    if (m_xPos >= screenWidth)
        m_xPos = screenWidth - width;
    if (m_xPos < 0)
        m_xPos = 0;
    if (m_yPos >= screenHeight)
        m_yPos = screenHeight - height;
    if (m_yPos < 0)
        m_yPos = 1;
    ::SetWindowPos(m_hWnd, nullptr, m_xPos, m_yPos, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    bool acted = RunCommandLineAction();

    if (app && app->EnableTrayIcon)
        AddTrayIcon(LoadStr(IDS_FIRST_TIP).c_str(), IDI_QUALITY_NONE);

    // The monitor takes the network type read a moment ago, unless a box
    // was up since (the command-line action's or the refused icon's: a second
    // start may open the property sheet meanwhile and change the card's
    // settings) or a tool opened: then it asks again. A type the card does
    // not give counts as infrastructure.
    if (app && !GetAdapterState().m_bAdapterFailed) {
        std::string type;
        if (acted || m_bTrayFailedThisRun)
            m_bAdHocAtStart =
                ReadNetworkType(type) && lstrcmpiA(type.c_str(), kInfrastructure) != 0;
        m_monitor.Start(m_bAdHocAtStart);
    }
    m_nMonitorPeriod = m_monitor.GetPeriod();
    GetLinkHistory().SetPeriod(m_nMonitorPeriod);
    m_bMonitoring = SetTimer(MONITOR_TIMER, m_nMonitorPeriod) != 0;

    // A link that is idle from the start counts as a card that gives no answer.
    if (app && !GetAdapterState().m_bAdapterFailed && m_monitor.LinkIsIdle()) {
        OnNoResponse();
        GetAdapterState().m_nAdapterStatus = ADAPTER_IDLE;
        ShowAdapterFailure();
    }
    // FALSE: the dialog passes the focus to its first button when it is
    // shown and activated. Focus given now would activate the window while it
    // is still hidden, and the activation's work would delay its appearing.
    return FALSE;
}

BOOL CMainToolDlg::OnSetCursor(HWND hWnd, UINT hitTest, UINT message)
{
    MakeButtonTips();
    return CDialog::OnSetCursor(hWnd, hitTest, message);
}

// The tips serve only the mouse, so they are made when it first comes over
// the window (the window hears of it before its buttons do), not at a start
// that would wait for the tooltip's window. Made once; a refusal is final.
void CMainToolDlg::MakeButtonTips()
{
    if (m_bTipsTried)
        return;
    m_bTipsTried = true;
    // The tooltip watches the buttons' mouse messages itself.
    if (!m_toolTip.Create(m_hWnd))
        return;
    m_toolTip.SendMessage(TTM_ACTIVATE, TRUE);
    for (int i = 0; i < 4; ++i) {
        HWND button = GetDlgItem(kButtons[i].id);
        RECT none = {};
        m_toolTip.AddTool(m_hWnd, LoadStr(kButtons[i].tip).c_str(), none, (UINT)(UINT_PTR)button,
                          TTF_IDISHWND | TTF_SUBCLASS);
    }
}

bool CMainToolDlg::AddTrayIcon(const char* tip, UINT iconId)
{
    if (!m_tray.Create(this, TRAY_ICON_ID, tip, TrayIcon(iconId), WM_TRAY_NOTIFY)) {
        OnTrayRefused();
        return false;
    }
    OnTrayShown();
    return true;
}

void CMainToolDlg::OnTrayRefused()
{
    std::string caption = AfxGetAppTitle();
    g_os.MessageBoxA(m_hWnd, LoadStr(IDS_NO_TRAY_ICON).c_str(), caption.c_str(), MB_ICONSTOP);
    // For this run only: the stored choice stays the user's.
    m_bTrayFailedThisRun = true;
}

void CMainToolDlg::OnTrayShown()
{
    m_bIconShown = true;
    // An adapter found failed before the icon was shown shows as such.
    if (GetAdapterState().m_bAdapterFailed)
        ShowAdapterFailure();
}

bool CMainToolDlg::RunCommandLineAction()
{
    CUtilityApp* app = CUtilityApp::Get();
    if (!app || app->m_args.size() != 1 || app->m_args[0].size() < 2)
        return false;
    // "/n" shows the adapter's status; the other letters open their tools.
    if (app->m_args[0][1] == 'n') {
        ShowStatusBox();
        return true;
    }
    Tool tool = ToolForArgument(app->m_args[0]);
    if (tool == TOOL_NONE)
        return false;
    OpenTool(tool);
    return true;
}

void CMainToolDlg::ShowStatusBox()
{
    CUtilityApp* app = CUtilityApp::Get();
    int status = app ? GetAdapterState().m_nAdapterStatus : 0;
    if (status != 0) {
        char text[64];
        snprintf(text, sizeof(text), LoadStr(IDS_ADAPTER_CODE).c_str(), status);
        g_os.MessageBoxA(nullptr, text, LoadStr(IDS_ERROR).c_str(), MB_ICONSTOP);
    } else {
        g_os.MessageBoxA(nullptr, LoadStr(IDS_WELCOME).c_str(),
                         LoadStr(IDS_INFORMATION_CAPTION).c_str(), MB_ICONINFORMATION);
    }
}

// ---------------------------------------------------------------------------
// The link monitor

void CMainToolDlg::StopMonitor()
{
    if (m_hWnd)
        KillTimer(MONITOR_TIMER);
    m_bMonitoring = false;
}

void CMainToolDlg::OnTimer(UINT_PTR id)
{
    if (id == MONITOR_TIMER)
        MonitorTick();
    else
        Default();
}

void CMainToolDlg::MonitorTick()
{
    CUtilityApp* app = CUtilityApp::Get();
    if (!app || GetAdapterState().m_bAdapterFailed) {
        // Another window found the card failed: stop, and let the tray and
        // the signal window show it. A tool that closed on a silent card
        // left the one message to say here.
        StopMonitor();
        if (GetAdapterState().m_bSilenceToTell)
            ReportAdapterSilent(m_hWnd);
        ShowAdapterFailure();
        return;
    }
    CLinkMonitor::Reading reading = m_monitor.Read(m_bIconShown);
    switch (reading.outcome) {
    case CLinkMonitor::SKIPPED:
        return;
    case CLinkMonitor::NO_RESPONSE:
        OnNoResponse();
        return;
    case CLinkMonitor::READ:
        break;
    }
    // What the link did: the sample (and the band's event), the survey
    // log's line, the alert; all before the alert's box may hold the tick.
    GetLinkHistory().AddSample(HistoryNow(), reading.quality);
    HWND open = GetToolWindow(TOOL_HISTORY);
    m_survey.OnTick(reading.quality, open ? open : m_hWnd);
    // A write that failed held this tick behind its box, and a tick meanwhile
    // may have found the adapter failed: this reading is older than that.
    if (!m_hWnd || GetAdapterState().m_bAdapterFailed)
        return;
    if (m_monitor.AlertDue())
        RecordHistoryEvent(HISTORY_ALERT, "", "", reading.quality);
    TellHistoryWindow();
    if (!m_hWnd)
        return;
    if (m_pSignalDlg && m_pSignalDlg->m_hWnd)
        m_pSignalDlg->SetQuality(reading.quality);
    if (m_bIconShown)
        ShowOnIcon(reading.tip, reading.icon);
    m_monitor.ApplyAlertRule(m_hWnd);
}

void CMainToolDlg::TellHistoryWindow()
{
    if (HWND open = GetToolWindow(TOOL_HISTORY))
        ::PostMessageA(open, CLinkHistoryDlg::WM_HISTORY_CHANGED, 0, 0);
}

void CMainToolDlg::ShowOnIcon(const std::string& tip, UINT iconId)
{
    // Most ticks change nothing.
    if (tip.compare(0, 63, m_tray.GetTooltipText()) != 0)
        m_tray.SetTooltipText(tip.c_str());
    HICON icon = TrayIcon(iconId);
    if (icon != m_tray.GetIcon())
        m_tray.SetIcon(icon);
}

void CMainToolDlg::OnNoResponse()
{
    StopMonitor();
    ReportAdapterSilent(m_hWnd);
    ShowAdapterFailure();
}

void CMainToolDlg::ShowAdapterFailure()
{
    // Monitoring has stopped for good: said once in the history, and the
    // survey log writes its last line and ends.
    if (!m_bFailureRecorded) {
        m_bFailureRecorded = true;
        RecordHistoryEvent(HISTORY_ADAPTER_FAILED);
    }
    m_survey.StopOnFailure();
    TellHistoryWindow();
    if (m_pSignalDlg && m_pSignalDlg->m_hWnd)
        m_pSignalDlg->ShowNoConnection();
    if (m_bIconShown)
        ShowOnIcon(CLinkMonitor::FailureTip(), IDI_QUALITY_POOR);
}

// ---------------------------------------------------------------------------
// The tools

HWND CMainToolDlg::GetToolWindow(Tool tool) const
{
    CWnd* wnd = nullptr;
    switch (tool) {
    case TOOL_PROPERTIES:
        wnd = m_pPropertySheet.get();
        break;
    case TOOL_WATCHER:
        if (m_bInfraWatcher)
            wnd = m_pBssWatchDlg.get();
        else
            wnd = m_pStationWatchDlg.get();
        break;
    case TOOL_SIGNAL:
        wnd = m_pSignalDlg.get();
        break;
    case TOOL_THROUGHPUT:
        wnd = m_pThroughputDlg.get();
        break;
    case TOOL_HISTORY:
        wnd = m_pHistoryDlg.get();
        break;
    case TOOL_NONE:
        break;
    }
    return wnd && wnd->m_hWnd && ::IsWindow(wnd->m_hWnd) ? wnd->m_hWnd : nullptr;
}

BOOL CMainToolDlg::CreateToolWindow(Tool tool)
{
    switch (tool) {
    case TOOL_PROPERTIES:
        return m_pPropertySheet->Create(this);
    case TOOL_WATCHER:
        if (m_bInfraWatcher)
            return m_pBssWatchDlg && m_pBssWatchDlg->Create(this);
        return m_pStationWatchDlg && m_pStationWatchDlg->Create(this);
    case TOOL_SIGNAL:
        return m_pSignalDlg->Create(this);
    case TOOL_THROUGHPUT:
        return m_pThroughputDlg->Create(this);
    case TOOL_HISTORY:
        return m_pHistoryDlg->Create(this);
    case TOOL_NONE:
        break;
    }
    return FALSE;
}

void CMainToolDlg::OpenTool(Tool tool)
{
    CUtilityApp* app = CUtilityApp::Get();
    bool failed = !app || GetAdapterState().m_bAdapterFailed;
    switch (tool) {
    case TOOL_PROPERTIES:
        break;
    case TOOL_WATCHER: {
        if (failed)
            return;
        // The card may have changed its network type since start-up: the
        // watcher of the other kind is made when it is first needed. While
        // another poll holds the card the kind known last stands.
        AdapterLock lock;
        if (lock.IsHeld()) {
            std::string type;
            if (!ReadNetworkType(type)) {
                lock.Release();
                OnNoResponse();
                return;
            }
            m_bInfraWatcher = lstrcmpiA(type.c_str(), kInfrastructure) == 0;
        }
        if (m_bInfraWatcher && !m_pBssWatchDlg)
            m_pBssWatchDlg.reset(new CBssWatchDlg(this));
        if (!m_bInfraWatcher && !m_pStationWatchDlg)
            m_pStationWatchDlg.reset(new CStationWatchDlg(this));
        break;
    }
    case TOOL_SIGNAL:
    case TOOL_THROUGHPUT:
        if (failed)
            return;
        break;
    case TOOL_HISTORY:
        // It asks the card nothing: what the link did before it failed is
        // worth seeing most then.
        break;
    default:
        return;
    }

    if (HWND open = GetToolWindow(tool)) {
        FocusWindow(open);
        return;
    }
    bool created = CreateToolWindow(tool) != FALSE;
    if (created && tool == TOOL_SIGNAL && m_pSignalDlg) {
        // The window starts from what the monitor knows, never a made-up value.
        m_pSignalDlg->SetQuality(m_bMonitoring && m_monitor.HasReading()
                                     ? (int)m_monitor.GetQuality()
                                     : QUALITY_NO_CONNECTION);
    }
    if (!created && tool != TOOL_SIGNAL)
        g_os.MessageBoxA(m_hWnd, LoadStr(IDS_UNABLE_DISPLAY).c_str(), LoadStr(IDS_ERROR).c_str(),
                         MB_ICONSTOP | MB_SYSTEMMODAL);
}

// ---------------------------------------------------------------------------
// Commands and messages

BOOL CMainToolDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (lParam && HIWORD(wParam) != BN_CLICKED)
        return CDialog::OnCommand(wParam, lParam);
    switch (LOWORD(wParam)) {
    case IDC_BTN_PROPERTIES:
    case IDM_ADAPTER_PROPERTIES:
        OpenTool(TOOL_PROPERTIES);
        return TRUE;
    case IDC_BTN_WATCHER:
    case IDM_NETWORK_WATCHER:
        OpenTool(TOOL_WATCHER);
        return TRUE;
    case IDC_BTN_SIGNAL:
    case IDM_SIGNAL_QUALITY:
        OpenTool(TOOL_SIGNAL);
        return TRUE;
    case IDC_BTN_THROUGHPUT:
    case IDM_THROUGHPUT_MONITOR:
        OpenTool(TOOL_THROUGHPUT);
        return TRUE;
    case IDM_LINK_HISTORY:
        OpenTool(TOOL_HISTORY);
        return TRUE;
    case IDM_ABOUT:
        RunAbout();
        return TRUE;
    case IDM_PREFERENCES:
        RunPreferences();
        return TRUE;
    case IDM_HELP_CONTENTS:
        OpenHelp();
        return TRUE;
    case IDM_EXIT:
        Exit();
        return TRUE;
    }
    if (m_profiles.OnCommand(this, LOWORD(wParam)))
        return TRUE;
    return CDialog::OnCommand(wParam, lParam);
}

void CMainToolDlg::OnSysCommand(UINT id, LPARAM lParam)
{
    // Compared whole: 14 has bits in the four that the system keeps for itself.
    if (id == IDM_ABOUT) {
        RunAbout();
        return;
    }
    if (id == IDM_PREFERENCES) {
        RunPreferences();
        return;
    }
    Default();
}

void CMainToolDlg::OnInitMenuPopup(HMENU popup, UINT index, BOOL sysMenu)
{
    CDialog::OnInitMenuPopup(popup, index, sysMenu);
    if (!sysMenu)
        m_profiles.OnMenuOpening(popup);
}

void CMainToolDlg::RunAbout()
{
    // The notification icon's menu still works while a box is open: a second
    // request brings the open one forward instead of stacking another.
    if (m_pAboutDlg) {
        if (m_pAboutDlg->m_hWnd)
            ::SetForegroundWindow(m_pAboutDlg->m_hWnd);
        return;
    }
    CAboutDlg about(this);
    m_pAboutDlg = &about;
    about.DoModal();
    m_pAboutDlg = nullptr;
}

void CMainToolDlg::RunPreferences()
{
    if (m_pPrefsDlg) {
        if (m_pPrefsDlg->m_hWnd)
            ::SetForegroundWindow(m_pPrefsDlg->m_hWnd);
        return;
    }
    // After the shell refused the icon, the box still shows the stored
    // choice. Left so, OK asks the shell nothing more this run; unticked, it
    // stores the icon off; ticked by the user (again), this OK asks the shell
    // again.
    CPrefsDlg prefs(this);
    m_pPrefsDlg = &prefs;
    INT_PTR result = prefs.DoModal();
    m_pPrefsDlg = nullptr;
    if (result == IDOK && prefs.TrayIconTickedByUser())
        m_bTrayFailedThisRun = false;
    ApplyIconPreference();
}

void CMainToolDlg::ApplyIconPreference()
{
    CUtilityApp* app = CUtilityApp::Get();
    if (!app)
        return;
    if (!app->EnableTrayIcon && m_bIconShown) {
        m_tray.HideIcon();
        m_bIconShown = false;
    } else if (app->EnableTrayIcon && !m_bIconShown && !m_bTrayFailedThisRun) {
        if (m_tray.IsEnabled()) {
            if (m_tray.ShowIcon())
                OnTrayShown();
            else
                OnTrayRefused();
        } else {
            // Never added (it failed at start-up): try again now.
            AddTrayIcon(LoadStr(IDS_FIRST_TIP).c_str(), IDI_QUALITY_NONE);
        }
    }
}

void CMainToolDlg::OpenHelp()
{
    AfxHelpKeyword(m_hWnd, IDS_HELP_CONTENTS, false);
}

void CMainToolDlg::Exit()
{
    if (m_pPrefsDlg && m_pPrefsDlg->m_hWnd)
        m_pPrefsDlg->SendMessage(WM_CLOSE);
    if (m_pAboutDlg && m_pAboutDlg->m_hWnd)
        m_pAboutDlg->SendMessage(WM_CLOSE);
    m_profiles.CloseDialogs();
    if (m_hWnd)
        SendMessage(WM_CLOSE);
}

void CMainToolDlg::OnClose()
{
    StopMonitor();
    CUtilityApp* app = CUtilityApp::Get();
    if (app) {
        app->WriteProfileInt(kSettings, "xPos", m_xPos);
        app->WriteProfileInt(kSettings, "yPos", m_yPos);
        app->WriteProfileInt(kSettings, "nWidth", m_nWidth);
        app->WriteProfileInt(kSettings, "nHeight", m_nHeight);
        app->WriteProfileInt(kSettings, "fMaximized", m_fMaximized);
        app->WriteProfileInt(kSettings, "fMinimized", m_fMinimized);
    }
    EndDialog(IDCANCEL);
}

// The window has no OK or Cancel button: Enter and Escape do not end the program.
void CMainToolDlg::OnOK() {}
void CMainToolDlg::OnCancel() {}

void CMainToolDlg::OnPaint()
{
    if (!::IsIconic(m_hWnd)) {
        Default();
        return;
    }
    CPaintDC dc(m_hWnd);
    RECT rc;
    GetClientRect(&rc);
    int x = (rc.right - rc.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (rc.bottom - rc.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
}

LRESULT CMainToolDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_OPEN_TOOL:
        if (wParam >= TOOL_PROPERTIES && wParam <= TOOL_HISTORY)
            OpenTool(static_cast<Tool>(wParam));
        return 0;
    case WM_TRAY_NOTIFY:
        return m_tray.OnTrayNotification(wParam, lParam);
    case WM_MOVE:
        // A minimised window's position is not the one to come back to.
        if (!::IsIconic(m_hWnd)) {
            RECT rc;
            GetWindowRect(&rc);
            m_xPos = rc.left;
            m_yPos = rc.top;
        }
        return CDialog::WindowProc(msg, wParam, lParam);
    case WM_QUERYDRAGICON:
        return (LRESULT)m_hIcon;
    }
    return CDialog::WindowProc(msg, wParam, lParam);
}
