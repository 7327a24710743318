// COwnerDrawMenu.h - a popup menu that draws its own items: small pictures
// from a toolbar resource in a column with 3-D boxes, the system menu font,
// highlight bars that leave the picture column alone, embossed disabled
// entries and a banner bitmap down the left edge of the popup.
#pragma once

#include "framework/CMenu.h"

#include <commctrl.h>
#include <memory>
#include <string>
#include <vector>

// One owner-drawn item; owned by the menu object that appended it. Its
// address is the item data Windows hands back in the owner-draw requests.
struct MenuItemData
{
    struct ImageListDeleter
    {
        void operator()(HIMAGELIST list) const
        {
            if (list)
                ::ImageList_Destroy(list);
        }
    };
    using ImageList = std::unique_ptr<std::remove_pointer<HIMAGELIST>::type, ImageListDeleter>;

    std::wstring text;    // label, optionally a tab and an accelerator text
    int imageIndex = -1;  // picture in `images`; -1 none
    int imageSource = -1; // bitmap the pictures come from; -1 none
    UINT menuFlags = 0;   // flags the item was added with
    UINT_PTR command = 0; // command ID, or the popup handle of a popup item
    bool kept = false;    // working mark while re-synchronising with a menu
    ImageList images;     // the pictures of this item
};

class COwnerDrawMenu : public CMenu
{
public:
    COwnerDrawMenu();
    ~COwnerDrawMenu() override;

    // Builds the menu from a menu resource; every popup item is owner-drawn.
    bool LoadFromResource(UINT menuId);
    // The same from a menu template in memory (the RT_MENU layout); false
    // when it is malformed or ends early.
    bool LoadFromTemplate(const void* menuTemplate, DWORD size);
    // Gives each item whose command is a button of the toolbar resource that
    // button's picture (from the bitmap with the same ID).
    bool LoadToolbarImages(UINT toolbarId);
    // Appends an owner-drawn item; command 0 makes a separator. imageSource
    // is a toolbar/bitmap ID or -1.
    bool AppendItem(const wchar_t* text, UINT flags, UINT_PTR command, int imageSource = -1);
    // Inserts an owner-drawn popup item before the item at `position` (at
    // the end when there is none) and returns its new, empty popup menu,
    // which this menu owns and which draws its items as this one does (but
    // no banner); null when the menu refuses it.
    COwnerDrawMenu* InsertPopup(UINT position, const wchar_t* text);
    // Finds the item by command (popups searched depth-first) and sets its
    // picture, and its text when one is given.
    bool SetItemImage(UINT command, int imageSource, const wchar_t* newText = nullptr);
    // Releases sub-menus, item records, image lists and the menu handle.
    void DestroyItems();

    void MeasureItem(LPMEASUREITEMSTRUCT mis) override;
    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    // The popup shows again: its banner is painted again once its items
    // have been drawn.
    void OnInitMenuPopup() override;

    // Transparent colour of the pictures: the fixed colour instead of the
    // system 3-D face colour.
    void SetMaskColor(COLORREF color)
    {
        m_maskColor = color;
        m_useMaskColor = true;
    }
    // 0: disabled pictures embossed through a device-dependent bitmap; other
    // values: through a monochrome DIB section.
    void SetEmbossStyle(int style) { m_embossStyle = style; }

    const std::vector<std::unique_ptr<MenuItemData>>& Items() const { return m_items; }
    COwnerDrawMenu* SubMenu(size_t index) const
    {
        return index < m_subMenus.size() ? m_subMenus[index].get() : nullptr;
    }
    int IconWidth() const { return m_iconWidth; }
    int IconHeight() const { return m_iconHeight; }

    // Operating-system kind, as the system says through the Os seam: 0
    // Windows before 4.0 without NT, 1 Windows 95/98, 2 Windows NT 3.x (or no
    // answer), 3 Windows NT 4.0 and later. Kinds 1 and 3 have the new shell's
    // 3-D look.
    static int SystemKind();
    static int SystemKindOf(const OSVERSIONINFOA* info);

    // Commands of the buttons of a toolbar resource (type 241), separators
    // as 0. False when the resource is missing or malformed.
    static bool ParseToolbar(const void* data, DWORD size, int* width, int* height,
                             std::vector<UINT>* commands);
    static bool LoadToolbarCommands(UINT toolbarId, std::vector<UINT>* commands);
    // Picture index of the command in the toolbar (buttons counted without
    // separators); 0 when it is not there.
    static int ToolbarImageIndex(UINT toolbarId, UINT command);

private:
    bool AddBitmapToImageList(HIMAGELIST list, UINT bitmapId) const;
    MenuItemData* FindItem(UINT command, COwnerDrawMenu** owner);
    void AlignAccelerators();
    // A child popup that takes this menu's check-mark settings.
    std::unique_ptr<COwnerDrawMenu> NewSubMenu() const;
    // The banner is to be painted when the popup's last item is drawn.
    void ArmBanner();
    COLORREF MaskColor() const;
    void PaintBanner(LPDRAWITEMSTRUCT dis);
    void DrawEmbossed(HDC dc, HIMAGELIST list, int index, int x, int y, COLORREF back) const;
    static void DrawCheckMark(HDC dc, const RECT& box, bool radio, COLORREF color);

    std::vector<std::unique_ptr<MenuItemData>> m_items;
    std::vector<std::unique_ptr<COwnerDrawMenu>> m_subMenus;
    HIMAGELIST m_checkImages;
    bool m_checkImagesShared;
    int m_checkedImage, m_uncheckedImage;
    int m_iconWidth;
    int m_iconHeight;
    COLORREF m_maskColor;
    bool m_useMaskColor;
    int m_embossStyle;
    BITMAP m_banner;
    bool m_bannerPending;
    int m_itemCount; // items still to be drawn before the banner is painted
    // A popup inserted beside the menu's items (InsertPopup) has no banner:
    // the banner runs down the menu's own left edge only.
    bool m_bannerless = false;
};
