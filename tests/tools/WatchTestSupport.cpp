// WatchTestSupport.cpp - the fakes, the opened card and the steerable watchers.
#include "tests/tools/WatchTestSupport.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "adapter/CardItem.h"
#include "adapter/CardItems.h"
#include "adapter/PortAccess.h"
#include "res/resource.h"

WatchOs* WatchOs::current = nullptr;

namespace {

int WINAPI FakeMessageBox(HWND, LPCSTR text, LPCSTR caption, UINT style)
{
    if (WatchOs::current)
        WatchOs::current->boxes.push_back({text ? text : "", caption ? caption : "", style});
    return IDOK;
}

BOOL WINAPI FakeHelp(HWND, LPCSTR, UINT command, ULONG_PTR data)
{
    if (!WatchOs::current)
        return FALSE;
    WatchOs::current->helpKeys.push_back(command == HELP_KEY && data ? (const char*)data : "?");
    return WatchOs::current->helpAnswer;
}

BOOL CALLBACK FindProgress(HWND hWnd, LPARAM lParam)
{
    char title[64] = "";
    ::GetWindowTextA(hWnd, title, sizeof title);
    if (::IsWindowVisible(hWnd) && strcmp(title, "Network Watcher") == 0) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

void NotifyColumnClick(CWnd& dlg, HWND list, int id, int column)
{
    NMLISTVIEW nm = {};
    nm.hdr.hwndFrom = list;
    nm.hdr.idFrom = id;
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = column;
    dlg.SendMessage(WM_NOTIFY, id, (LPARAM)&nm);
}

} // namespace

WatchOs::WatchOs()
{
    current = this;
    g_os.MessageBoxA = FakeMessageBox;
    g_os.WinHelpA = FakeHelp;
}

WatchOs::~WatchOs()
{
    current = nullptr;
}

WatchCard::WatchCard(const char* scenario) : card(scenario)
{
    ResetAdapterState();
    ClearAdapterState();
    GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
    GetAdapterLink().IoBase = card.IoBase();
    OpenMailbox();
    GetAdapterLink().AdapterReady = true;
    GetAdapterLink().DriverKeyValid = true;
}

WatchCard::~WatchCard()
{
    ResetAdapterState();
    ClearAdapterState();
}

SimState WatchCard::State()
{
    SimState s = {};
    card.Fw().FillState(s);
    return s;
}

bool RecordingMainWnd::Open()
{
    return CreateEx(0, nullptr, "watch test main", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr) !=
           FALSE;
}

WatchApp::WatchApp() : CWinApp("watch_tests")
{
    mainWnd.Open();
    m_pMainWnd = &mainWnd;
}

WatchApp::~WatchApp()
{
    m_pMainWnd = nullptr;
}

HWND FindProgressWindow()
{
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindProgress, (LPARAM)&found);
    return found;
}

std::string ListCell(HWND list, int row, int column)
{
    char text[64] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ::SendMessageA(list, LVM_GETITEMTEXTA, row, (LPARAM)&item);
    return text;
}

int ListRows(HWND list)
{
    return (int)::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
}

void PumpWatchMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

std::string CellsScenario(int n, const std::string& extraLines)
{
    std::string s = "name cells\nnetwork infrastructure\nessid Corvane\ndrift 0\nroaming off\n";
    char line[128];
    for (int i = 0; i < n; ++i) {
        snprintf(line, sizeof line, "cell 00:A0:C5:01:00:%02X Corvane %d %d name=AP%02d stations=%d\n",
                 i, 1 + i % 14, 10 + i, i, i % 7);
        s += line;
    }
    s += extraLines;
    if (n > 0)
        s += "current 00:A0:C5:01:00:00\n";
    return s;
}

// ---------------------------------------------------------------------------

BYTE TestBssWatch::ReadCardItem(int item, void* output, size_t size)
{
    ++reads[item];
    int index = size >= 2 ? *static_cast<WORD*>(output) : 0;
    if (item == CI_BSS_ESSID) {
        indexes30.push_back(index);
        progressSeen = progressSeen || FindProgressWindow() != nullptr;
    }
    BYTE result = CBssWatchDlg::ReadCardItem(item, output, size);
    return hook ? hook(item, index, output, size, result) : result;
}

void TestBssWatch::ReadConfiguredEssid(char* text, size_t size)
{
    snprintf(text, size, "%s", essid.c_str());
}

int TestBssWatch::Reads(int item) const
{
    auto it = reads.find(item);
    return it == reads.end() ? 0 : it->second;
}

int TestBssWatch::TotalReads() const
{
    int n = 0;
    for (const auto& r : reads)
        n += r.second;
    return n;
}

void TestBssWatch::ClickColumn(int column)
{
    NotifyColumnClick(*this, GetList().m_hWnd, IDC_BSS_LIST, column);
}

void TestBssWatch::ClickRow(int row)
{
    HWND list = GetList().m_hWnd;
    POINT pt = {5, 0};
    if (row >= 0) {
        RECT rc = {LVIR_BOUNDS, 0, 0, 0};
        ::SendMessageA(list, LVM_GETITEMRECT, row, (LPARAM)&rc);
        pt.x = rc.left + 5;
        pt.y = (rc.top + rc.bottom) / 2;
    } else {
        RECT rc;
        ::GetClientRect(list, &rc);
        pt.y = rc.bottom - 2;
    }
    ::ClientToScreen(list, &pt);
    ::SetCursorPos(pt.x, pt.y);
    NMITEMACTIVATE nm = {};
    nm.hdr.hwndFrom = list;
    nm.hdr.idFrom = IDC_BSS_LIST;
    nm.hdr.code = NM_CLICK;
    SendMessage(WM_NOTIFY, IDC_BSS_LIST, (LPARAM)&nm);
}

std::vector<std::string> TestBssWatch::Column(int column)
{
    std::vector<std::string> cells;
    for (int r = 0; r < ListRows(GetList().m_hWnd); ++r)
        cells.push_back(ListCell(GetList().m_hWnd, r, column));
    return cells;
}

std::string TestBssWatch::Cell(int row, int column)
{
    return ListCell(GetList().m_hWnd, row, column);
}

BYTE TestStationWatch::ReadCardItem(int item, void* output, size_t size)
{
    ++reads[item];
    int index = size >= 2 ? *static_cast<WORD*>(output) : 0;
    if (item == CI_STA_ENTRY)
        progressSeen = progressSeen || FindProgressWindow() != nullptr;
    BYTE result = CStationWatchDlg::ReadCardItem(item, output, size);
    return hook ? hook(item, index, output, size, result) : result;
}

int TestStationWatch::Reads(int item) const
{
    auto it = reads.find(item);
    return it == reads.end() ? 0 : it->second;
}

void TestStationWatch::ClickColumn(int column)
{
    NotifyColumnClick(*this, GetList().m_hWnd, IDC_STATION_LIST, column);
}

std::vector<std::string> TestStationWatch::Column(int column)
{
    std::vector<std::string> cells;
    for (int r = 0; r < ListRows(GetList().m_hWnd); ++r)
        cells.push_back(ListCell(GetList().m_hWnd, r, column));
    return cells;
}
