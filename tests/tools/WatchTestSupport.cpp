// WatchTestSupport.cpp - the opened card, the application and the watchers.
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

namespace {

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

WatchCard::WatchCard(const char* scenario) : card(scenario)
{
    static const char kDriverKey[] = "SOFTWARE\\CorvaneTest\\Watch\\Driver";
    reg.Own(HKEY_LOCAL_MACHINE, kDriverKey);
    reg.SetString(HKEY_LOCAL_MACHINE, kDriverKey, "ESSID", "Corvane");
    ResetAdapterState();
    ClearAdapterState();
    GetAdapterLink().DriverKeyPath = kDriverKey;
    GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
    GetAdapterLink().IoBase = card.IoBase();
    OpenMailbox();
    GetAdapterLink().AdapterReady = true;
    GetAdapterLink().DriverKeyValid = true;
    card.WatchAnswers([this](uint16_t command, uint16_t code, uint16_t index, uint8_t* value) {
        if (command == CMD_GET_STATUS && (code == SUB_BSS_ESSID || code == SUB_STATION_ENTRY)) {
            progressSeen = progressSeen || FindProgressWindow() != nullptr;
            if (code == SUB_BSS_ESSID)
                essidIndexes.push_back(index);
        }
        if (hook)
            hook(command, code, index, value);
    });
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

WatchApp::WatchApp() : CWinApp("watch_tests", LoadStr(IDS_PRODUCT).c_str())
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

std::string CellsScenario(int n, const std::string& extraLines)
{
    std::string s = "name cells\nnetwork infrastructure\nessid Corvane\ndrift 0\nroaming off\n";
    char line[128];
    for (int i = 0; i < n; ++i) {
        snprintf(line, sizeof line,
                 "cell 00:A0:C5:01:00:%02X Corvane %d %d name=AP%02d stations=%d\n", i, 1 + i % 14,
                 10 + i, i, i % 7);
        s += line;
    }
    s += extraLines;
    if (n > 0)
        s += "current 00:A0:C5:01:00:00\n";
    return s;
}

// ---------------------------------------------------------------------------

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
