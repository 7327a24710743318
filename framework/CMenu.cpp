// CMenu.cpp - menu handle ownership and owner-drawn item routing.
#include "framework/CMenu.h"

#include <map>

namespace {

std::map<HMENU, CMenu*>& MenuMap()
{
    static std::map<HMENU, CMenu*> map;
    return map;
}

// Whether the menu holds an item with this command and item data.
bool MenuHoldsItem(HMENU hMenu, UINT id, ULONG_PTR data)
{
    int count = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA mii = {};
        mii.cbSize = kMenuItemInfoSize;
        mii.fMask = MIIM_ID | MIIM_DATA;
        if (::GetMenuItemInfoA(hMenu, i, TRUE, &mii) && mii.wID == id && mii.dwItemData == data)
            return true;
    }
    return false;
}

} // namespace

CMenu::CMenu() : m_hMenu(nullptr) {}

CMenu::~CMenu()
{
    DestroyMenu();
}

CMenu* CMenu::FromHandlePermanent(HMENU hMenu)
{
    auto& map = MenuMap();
    auto it = map.find(hMenu);
    return it == map.end() ? nullptr : it->second;
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (!hMenu || m_hMenu)
        return FALSE;
    m_hMenu = hMenu;
    MenuMap()[hMenu] = this;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    if (hMenu) {
        auto& map = MenuMap();
        auto it = map.find(hMenu);
        if (it != map.end() && it->second == this)
            map.erase(it);
    }
    m_hMenu = nullptr;
    return hMenu;
}

BOOL CMenu::CreateMenu()
{
    return !m_hMenu && Attach(::CreateMenu());
}

BOOL CMenu::CreatePopupMenu()
{
    return !m_hMenu && Attach(::CreatePopupMenu());
}

BOOL CMenu::LoadMenu(UINT id)
{
    return !m_hMenu && Attach(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)));
}

BOOL CMenu::DestroyMenu()
{
    HMENU hMenu = Detach();
    return hMenu && ::DestroyMenu(hMenu);
}

void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}
void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CMenu::RouteMeasureItem(LPMEASUREITEMSTRUCT mis)
{
    if (!mis || mis->CtlType != ODT_MENU)
        return FALSE;
    // The request names no menu: find the one that holds this very item.
    for (auto& entry : MenuMap()) {
        if (MenuHoldsItem(entry.first, mis->itemID, mis->itemData)) {
            entry.second->MeasureItem(mis);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CMenu::RouteDrawItem(LPDRAWITEMSTRUCT dis)
{
    if (!dis || dis->CtlType != ODT_MENU)
        return FALSE;
    CMenu* menu = FromHandlePermanent(reinterpret_cast<HMENU>(dis->hwndItem));
    if (!menu)
        return FALSE;
    menu->DrawItem(dis);
    return TRUE;
}

BOOL CMenu::RouteInitMenuPopup(HMENU hMenu)
{
    CMenu* menu = FromHandlePermanent(hMenu);
    if (!menu)
        return FALSE;
    menu->OnInitMenuPopup();
    return TRUE;
}
