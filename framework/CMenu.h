// CMenu.h - an owning menu handle, and the routing of owner-drawn menu items
// (WM_MEASUREITEM / WM_DRAWITEM with ODT_MENU) to the menu object that made
// them. Every attached menu is kept in one HMENU-to-object map.
#pragma once

#include <windows.h>

#include <cstddef>

// MENUITEMINFOA as Windows 95 and NT 4.0 know it, ending at cch (44 bytes):
// the Win32 Programmer's Reference of their SDK ends the structure there, and
// their user32 refuses the larger size with hbmpItem (Windows 98/2000) that
// mingw-w64's header gives.
const UINT kMenuItemInfoSize = offsetof(MENUITEMINFOA, hbmpItem);
static_assert(kMenuItemInfoSize == 44, "the first MENUITEMINFOA layout");

class CMenu
{
public:
    CMenu();
    virtual ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu;
    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }

    // The object attached to a menu handle, or null.
    static CMenu* FromHandlePermanent(HMENU hMenu);

    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    BOOL LoadMenu(UINT id);
    // Destroys the handle (and the popups it holds) and forgets it.
    BOOL DestroyMenu();

    BOOL AppendMenu(UINT flags, UINT_PTR idOrPopup = 0, LPCSTR item = nullptr)
    {
        return ::AppendMenuA(m_hMenu, flags, idOrPopup, item);
    }
    BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR idOrPopup = 0, LPCSTR item = nullptr)
    {
        return ::ModifyMenuA(m_hMenu, position, flags, idOrPopup, item);
    }
    UINT GetMenuState(UINT id, UINT flags) const { return ::GetMenuState(m_hMenu, id, flags); }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
    HMENU GetSubMenu(int position) const { return ::GetSubMenu(m_hMenu, position); }
    BOOL TrackPopupMenu(UINT flags, int x, int y, HWND owner) const
    {
        return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner, nullptr);
    }

    // Owner-draw operations of the items this object appended.
    virtual void MeasureItem(LPMEASUREITEMSTRUCT mis);
    virtual void DrawItem(LPDRAWITEMSTRUCT dis);
    // The menu is about to show as a popup (WM_INITMENUPOPUP), again each
    // time it opens.
    virtual void OnInitMenuPopup() {}

    // The framework's routing of owner-drawn menu items: finds the menu
    // object that holds the item and calls its operation. FALSE when no
    // object of ours holds it.
    static BOOL RouteMeasureItem(LPMEASUREITEMSTRUCT mis);
    static BOOL RouteDrawItem(LPDRAWITEMSTRUCT dis);
    // Tells the menu object of a popup that it opens; FALSE when no object
    // of ours holds it.
    static BOOL RouteInitMenuPopup(HMENU hMenu);
};
