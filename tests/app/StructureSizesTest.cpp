// StructureSizesTest.cpp - every structure the program hands to the system
// carries the size that Windows 95 and NT 4.0 know. Wine takes any size, so
// the sizes are caught on their way: in this program's import table, or in
// the Os seam where the call goes through it.
#include "app/CMainToolDlg.h"
#include "framework/Gdi.h"
#include "res/resource.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/ToolTestSupport.h"
#include "widgets/COwnerDrawMenu.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

// The sizes seen, by structure.
std::map<std::string, std::set<DWORD>> g_seen;

void Seen(const char* structure, DWORD size)
{
    g_seen[structure].insert(size);
}

ImportPatch* g_sheetPatch;
ImportPatch* g_sendPatch;
ImportPatch* g_menuInfoPatch;
ImportPatch* g_metricsPatch;
OsApi g_next;

INT_PTR WINAPI SeePropertySheet(LPCPROPSHEETHEADERA psh)
{
    Seen("PROPSHEETHEADERA", psh->dwSize);
    // The control steps from page to page by each page's own size.
    const BYTE* page = reinterpret_cast<const BYTE*>(psh->ppsp);
    for (UINT i = 0; (psh->dwFlags & PSH_PROPSHEETPAGE) && i < psh->nPages; ++i) {
        DWORD size = reinterpret_cast<const PROPSHEETPAGEA*>(page)->dwSize;
        Seen("PROPSHEETPAGEA", size);
        page += size ? size : sizeof(PROPSHEETPAGEA);
    }
    return g_sheetPatch->Original<decltype(&SeePropertySheet)>()(psh);
}

LRESULT WINAPI SeeSendMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case TTM_ADDTOOLA:
    case TTM_DELTOOLA:
    case TTM_UPDATETIPTEXTA:
    case TTM_GETTEXTA:
    case TTM_GETTOOLINFOA:
    case TTM_SETTOOLINFOA:
    case TTM_NEWTOOLRECTA:
        Seen("TTTOOLINFOA", reinterpret_cast<const TTTOOLINFOA*>(lParam)->cbSize);
        break;
    }
    return g_sendPatch->Original<decltype(&SeeSendMessage)>()(wnd, msg, wParam, lParam);
}

BOOL WINAPI SeeGetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOA mii)
{
    Seen("MENUITEMINFOA", mii->cbSize);
    return g_menuInfoPatch->Original<decltype(&SeeGetMenuItemInfo)>()(menu, item, byPosition, mii);
}

BOOL WINAPI SeeSystemParameters(UINT action, UINT param, PVOID data, UINT winIni)
{
    if (action == SPI_GETNONCLIENTMETRICS) {
        Seen("NONCLIENTMETRICSA", param);
        Seen("NONCLIENTMETRICSA", static_cast<const NONCLIENTMETRICSA*>(data)->cbSize);
    }
    return g_metricsPatch->Original<decltype(&SeeSystemParameters)>()(action, param, data, winIni);
}

BOOL WINAPI SeeNotifyIcon(DWORD message, PNOTIFYICONDATAA data)
{
    Seen("NOTIFYICONDATAA", data->cbSize);
    return g_next.Shell_NotifyIconA(message, data);
}

BOOL WINAPI SeeVersion(LPOSVERSIONINFOA info)
{
    Seen("OSVERSIONINFOA", info->dwOSVersionInfoSize);
    return g_next.GetVersionExA(info);
}

// The Save dialog is seen and cancelled: nothing on the screen waits.
BOOL WINAPI SeeSaveFileName(LPOPENFILENAMEA ofn)
{
    Seen("OPENFILENAMEA", ofn->lStructSize);
    return FALSE;
}

class StructureSizes : public ToolWindowFixture
{
protected:
    StructureSizes()
        : sheet("comctl32.dll", "PropertySheetA", (const void*)SeePropertySheet),
          send("user32.dll", "SendMessageA", (const void*)SeeSendMessage),
          menuInfo("user32.dll", "GetMenuItemInfoA", (const void*)SeeGetMenuItemInfo),
          metrics("user32.dll", "SystemParametersInfoA", (const void*)SeeSystemParameters)
    {
        g_sheetPatch = &sheet;
        g_sendPatch = &send;
        g_menuInfoPatch = &menuInfo;
        g_metricsPatch = &metrics;
        g_seen.clear();
        g_next = g_os;
        g_os.Shell_NotifyIconA = SeeNotifyIcon;
        g_os.GetVersionExA = SeeVersion;
        g_os.GetSaveFileNameA = SeeSaveFileName;
    }

    OsGuard guard;
    ImportPatch sheet, send, menuInfo, metrics;
};

TEST_F(StructureSizes, EveryStructureHandedOverHasTheFirstSystemsSize)
{
    // What the tool window, its tools and the notification icon's menu pass.
    Start();
    // The buttons' tips are made when the mouse first comes over the window.
    tool->SendMessage(WM_SETCURSOR, (WPARAM)(HWND)*tool, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    tool->SendMessage(WM_COMMAND, IDC_BTN_PROPERTIES);
    ASSERT_TRUE(tool->GetToolWindow(TOOL_PROPERTIES));
    tool->SendMessage(WM_COMMAND, IDM_LINK_HISTORY);
    HWND history = tool->GetToolWindow(TOOL_HISTORY);
    ASSERT_TRUE(history);
    ::SendMessageA(history, WM_COMMAND, IDC_HISTORY_RECORD, 0);
    COwnerDrawMenu menu;
    ASSERT_TRUE(menu.LoadFromResource(IDR_TRAY_MENU));
    const MenuItemData& first = *menu.SubMenu(0)->Items()[0];
    MEASUREITEMSTRUCT mis = {ODT_MENU, 0, (UINT)first.command, 0, 0, (ULONG_PTR)&first};
    tool->SendMessage(WM_MEASUREITEM, 0, (LPARAM)&mis);
    CClientDC dc(*tool);
    DRAWITEMSTRUCT dis = {ODT_MENU,
                          0,
                          (UINT)first.command,
                          ODA_DRAWENTIRE,
                          ODS_CHECKED,
                          (HWND)menu.SubMenu(0)->GetSafeHmenu(),
                          dc,
                          {0, 0, 200, 20},
                          (ULONG_PTR)&first};
    tool->SendMessage(WM_DRAWITEM, 0, (LPARAM)&dis);
    KeepShownWindowsToTheEnd(std::move(tool));

    // Each size with where it is documented.
    const struct
    {
        const char* structure;
        DWORD size;
        const char* source;
    } kSizes[] = {
        {"PROPSHEETHEADERA", 40, "PROPSHEETHEADERA_V1_SIZE, Microsoft KB Q197631"},
        {"PROPSHEETPAGEA", 40, "PROPSHEETPAGEA_V1_SIZE, Microsoft KB Q197631"},
        {"TTTOOLINFOA", 40, "TTTOOLINFOA_V1_SIZE, TOOLINFO of common controls 4.00"},
        {"MENUITEMINFOA", 44, "MENUITEMINFO of the Win32 Programmer's Reference, up to cch"},
        {"NONCLIENTMETRICSA", 340, "NONCLIENTMETRICS without Vista's iPaddedBorderWidth"},
        {"NOTIFYICONDATAA", 88, "NOTIFYICONDATA_V1_SIZE, shell32 4.00"},
        {"OSVERSIONINFOA", 148, "OSVERSIONINFO, Windows 95 and NT 4.0"},
        {"OPENFILENAMEA", 76, "OPENFILENAME_SIZE_VERSION_400A, comdlg32 of 95 and NT 4.0"},
    };
    for (const auto& expected : kSizes) {
        SCOPED_TRACE(expected.source);
        auto seen = g_seen.find(expected.structure);
        ASSERT_NE(seen, g_seen.end()) << expected.structure << " was never handed over";
        EXPECT_EQ(std::set<DWORD>{expected.size}, seen->second) << expected.structure;
        g_seen.erase(seen);
    }
    EXPECT_TRUE(g_seen.empty()) << "a structure without an expected size";
}

} // namespace
