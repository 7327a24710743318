// WidgetDemo.cpp - shows each widget in a window of its own and saves what
// the screen shows of it as <dir>/<widget>.bmp, for the screenshots in the
// documentation. Not a test: run it by hand under a display.
#include <windows.h>

#include <commctrl.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "framework/CImageList.h"
#include "res/resource.h"
#include "tests/support/TestWindows.h"
#include "tools/CLineChart.h"
#include "tools/WatchLayout.h"
#include "widgets/CLinkStatic.h"
#include "widgets/CListViewEx.h"
#include "widgets/CStyledLabel.h"
#include "widgets/CTaskProgressWnd.h"
#include "widgets/DialogLayout.h"

namespace {

std::string g_dir = ".";

// Saves the whole window (frame included) as it is on screen.
void Save(HWND hWnd, const char* name)
{
    PumpTestMessages();
    ::Sleep(200);
    PumpTestMessages();
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    ::BitBlt(mem, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
    ::SelectObject(mem, old);
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof ih;
    ih.biWidth = w;
    ih.biHeight = h;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    const int stride = (w * 3 + 3) & ~3;
    std::string bits((size_t)stride * h, '\0');
    ::GetDIBits(mem, bmp, 0, h, &bits[0], reinterpret_cast<BITMAPINFO*>(&ih), DIB_RGB_COLORS);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + (DWORD)bits.size();
    std::string path = g_dir + "\\" + name + ".bmp";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return;
    std::fwrite(&fh, sizeof fh, 1, f);
    std::fwrite(&ih, sizeof ih, 1, f);
    std::fwrite(bits.data(), 1, bits.size(), f);
    std::fclose(f);
}

// A dialog from an in-memory template, laid out by the infrastructure table.
class WatcherHost : public CWnd
{
public:
    void OnSize(UINT type, int cx, int cy) override
    {
        Default();
        ApplyLayout(m_hWnd, g_bssWatchLayout);
    }
};

void ListDemo()
{
    HWND dlg = CreateTestDialog(
        "Network Watcher (Infrastructure)", 330, 150,
        {{"SysListView32", "", 220, 7, 7, 316, 110, LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER},
         {"BUTTON", "OK", 100, 7, 128, 50, 14, 0},
         {"BUTTON", "&Scan", 221, 70, 128, 50, 14, 0},
         {"BUTTON", "&Join ", 222, 133, 128, 50, 14, WS_DISABLED},
         {"BUTTON", "&Cancel", 102, 196, 128, 50, 14, WS_DISABLED},
         {"BUTTON", "&Help", 101, 259, 128, 50, 14, 0}});
    WatcherHost host;
    host.SubclassWindow(dlg);
    CListViewEx list;
    list.SubclassDlgItem(220, &host);
    list.EnableWholeRowSelection(true);
    CImageList icons;
    icons.Create(IDB_COLUMN_ICONS, 16, 1, RGB(255, 255, 255));
    list.SetColumnIcons(&icons);
    RECT rc;
    ::GetWindowRect(list, &rc);
    const int unit = (rc.right - rc.left) / 14;
    const char* headers[] = {
        "AP Name", "Address", "Domain Name ", "Signal Strength", "Stations connected",
        "State",   "Secure"};
    const int weights[] = {3, 3, 3, 1, 1, 2, 1};
    for (int c = 0; c < 7; ++c)
        list.InsertColumn(c, headers[c], LVCFMT_LEFT, weights[c] * unit - 1);
    const char* rows[][7] = {
        {"Lobby", "00:40:96:21:4A:0C", "CORVANE", "48", "3", "Associated", "1"},
        {"Warehouse north gate with a long name", "00:40:96:33:10:7E", "CORVANE", "25", " ",
         "Not associated", "0"},
        {"Lab", "00:40:96:05:77:B2", "TESTNET", "9", "12", "Not associated", "1"},
        {"Office", "00:40:96:4C:02:91", "CORVANE", "71", "0", "Not associated", "0"},
    };
    for (int r = 0; r < 4; ++r) {
        list.InsertItem(r, rows[r][0]);
        for (int c = 1; c < 7; ++c)
            list.SetItemText(r, c, rows[r][c]);
    }
    list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ::SetWindowPos(dlg, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT wr;
    ::GetWindowRect(dlg, &wr);
    ::SetWindowPos(dlg, nullptr, 0, 0, wr.right - wr.left + 60, wr.bottom - wr.top + 20,
                   SWP_NOMOVE | SWP_NOZORDER);
    ::SetFocus(list);
    Save(dlg, "listview");
    host.UnsubclassWindow();
    list.UnsubclassWindow();
    ::DestroyWindow(dlg);
}

void ChartDemo()
{
    CWnd host;
    host.CreateEx(0, nullptr, "Station Throughput Monitor", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE,
                  20, 20, 460, 280, nullptr, nullptr);
    RECT client;
    ::GetClientRect(host, &client);
    RECT rc = {8, 8, client.right - 8, client.bottom - 8};
    CLineChart chart;
    chart.Create(WS_CHILD | WS_VISIBLE, rc, host, 342);
    chart.SetRange(0, 200, 0);
    chart.SetYTitle("Kbytes/sec");
    chart.SetXTitle("Samples time: 1 second");
    chart.SetBackColor(RGB(0, 0, 64));
    chart.SetGridColor(RGB(0, 128, 0));
    chart.AddSeries(RGB(0, 255, 0), 200, 0);
    chart.AddSeries(RGB(0, 255, 255), 200, 0);
    for (int i = 0; i < 80; ++i) {
        chart.SetValue(0, (float)(60 + 50 * std::sin(i / 6.0) + (i % 7) * 3));
        chart.SetValue(1, (float)(i < 40 ? 20 + i * 2 : 240 - i * 2.5));
        chart.Advance();
    }
    Save(host, "linechart");
}

void ProgressDemo()
{
    CTaskProgressWnd progress;
    progress.Open(nullptr, "Network Watcher", false);
    progress.SetLimits(0, 12, 1);
    progress.SetStatusText("Processing the BSS data ...\n");
    for (int i = 0; i < 7; ++i)
        progress.Advance();
    Save(progress, "progress");
}

HWND MakeStatic(HWND host, const char* text, int x, int y, int cx, int id, DWORD style)
{
    HWND h = ::CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | style, x, y, cx, 18, host,
                               (HMENU)(INT_PTR)id, nullptr, nullptr);
    ::SendMessageA(h, WM_SETFONT, (WPARAM)::GetStockObject(DEFAULT_GUI_FONT), FALSE);
    return h;
}

void LinksDemo()
{
    CWnd host;
    host.CreateEx(0, nullptr, "Troubleshooting", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 20, 20,
                  300, 120, nullptr, nullptr);
    MakeStatic(host, "For support, write to:", 12, 12, 200, -1, SS_LEFT);
    CLinkStatic support, sales;
    support.SetTarget("mailto:support@kvr.example");
    support.SubclassWindow(MakeStatic(host, "", 12, 32, 260, 363, SS_LEFT));
    sales.SetTarget("mailto:sales@kvr.example");
    sales.SubclassWindow(MakeStatic(host, "Sales department (visited)", 12, 52, 260, 364, SS_LEFT));
    sales.MarkVisited();
    HCURSOR hand = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_CURSOR));
    support.SetHandCursor(hand);
    sales.SetHandCursor(hand);
    ::InvalidateRect(host, nullptr, TRUE);
    Save(host, "hyperlink");
}

void StyledDemo()
{
    CWnd host;
    host.CreateEx(0, nullptr, "Station Throughput Monitor", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE,
                  20, 20, 240, 100, nullptr, nullptr);
    MakeStatic(host, "Sent:", 12, 14, 60, -1, SS_LEFT);
    MakeStatic(host, "Received:", 12, 38, 60, -1, SS_LEFT);
    CStyledLabel sent, received;
    sent.SubclassWindow(MakeStatic(host, "123.4", 80, 12, 70, 337, SS_RIGHT));
    received.SubclassWindow(MakeStatic(host, "56.7", 80, 36, 70, 338, SS_RIGHT));
    sent.ChangeTextColor(RGB(0, 255, 0)).ChangeBackColor(RGB(0, 0, 0)).SetBold(true);
    received.ChangeTextColor(RGB(0, 255, 255)).ChangeBackColor(RGB(0, 0, 0)).SetBold(true);
    MakeStatic(host, "Kbps", 158, 14, 40, -1, SS_LEFT);
    MakeStatic(host, "Kbps", 158, 38, 40, -1, SS_LEFT);
    ::InvalidateRect(host, nullptr, TRUE);
    Save(host, "styledlabel");
}

} // namespace

int main(int argc, char** argv)
{
    ::InitCommonControls();
    if (argc > 1)
        g_dir = argv[1];
    ListDemo();
    ChartDemo();
    ProgressDemo();
    LinksDemo();
    StyledDemo();
    return 0;
}
