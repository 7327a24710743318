// COwnerDrawMenu.cpp - loading, measuring and drawing of the owner-drawn
// popup menu.
#include "widgets/COwnerDrawMenu.h"

#include "widgets/MenuTemplateReader.h"
#include "widgets/ToolbarResource.h"

#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/Gdi.h"
#include "framework/Os.h"
#include "res/resource.h"

#include <algorithm>

namespace {

bool NewShell()
{
    int kind = COwnerDrawMenu::SystemKind();
    return kind == 1 || kind == 3;
}

// The non-client metrics of Windows 95 and NT 4.0: 340 bytes, without the
// iPaddedBorderWidth of Windows Vista, which their SystemParametersInfoA would
// refuse (Microsoft's NONCLIENTMETRICS documentation, Remarks).
static_assert(sizeof(NONCLIENTMETRICSA) == 340, "the first NONCLIENTMETRICSA layout");

// The menu font of the current non-client metrics.
bool MakeMenuFont(CFont& font)
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
        return false;
    return font.CreateFontIndirect(ncm.lfMenuFont);
}

void FillSolid(HDC dc, const RECT& rc, COLORREF color)
{
    COLORREF old = ::SetBkColor(dc, color);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

// A 1-pixel frame: topLeft on the top and left lines, bottomRight on the others.
void Frame3d(HDC dc, const RECT& rc, COLORREF topLeft, COLORREF bottomRight)
{
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    FillSolid(dc, RECT{rc.left, rc.top, rc.left + w - 1, rc.top + 1}, topLeft);
    FillSolid(dc, RECT{rc.left, rc.top, rc.left + 1, rc.top + h - 1}, topLeft);
    FillSolid(dc, RECT{rc.right - 1, rc.top, rc.right, rc.bottom}, bottomRight);
    FillSolid(dc, RECT{rc.left, rc.bottom - 1, rc.right, rc.bottom}, bottomRight);
}

// The item texts are kept wide, as the menu template has them, and go to
// the system in the ANSI code page: on Windows 95 and 98 DrawTextW and
// ModifyMenuW are stubs that do nothing (Microsoft Layer for Unicode: only a
// few wide functions such as TextOutW and GetTextExtentPoint32W work there).
std::string Ansi(const std::wstring& text)
{
    int len = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), (int)text.size(), nullptr, 0, nullptr,
                                    nullptr);
    std::string ansi(len > 0 ? len : 0, '\0');
    if (len > 0)
        ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), (int)text.size(), &ansi[0], len, nullptr,
                              nullptr);
    return ansi;
}

int ExtentOf(HDC dc, const std::string& text)
{
    SIZE size = {};
    ::GetTextExtentPoint32A(dc, text.c_str(), (int)text.size(), &size);
    return size.cx;
}

// Text width in the given DC.
int TextWidth(HDC dc, const std::wstring& text)
{
    const std::string ansi = Ansi(text);
    if (COwnerDrawMenu::SystemKind() != 0)
        return ExtentOf(dc, ansi);
    RECT rc = {0, 0, 0, 0};
    ::DrawTextA(dc, ansi.c_str(), (int)ansi.size(), &rc, DT_SINGLELINE | DT_CALCRECT);
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(dc, &tm);
    return rc.right - rc.left + 3 + 3 * tm.tmAveCharWidth;
}

} // namespace

COwnerDrawMenu::COwnerDrawMenu()
    : m_checkImages(nullptr), m_checkImagesShared(false), m_checkedImage(-1), m_uncheckedImage(-1),
      m_iconWidth(16), m_iconHeight(15), m_maskColor(RGB(192, 192, 192)), m_useMaskColor(false),
      m_embossStyle(0), m_banner{}, m_bannerPending(false), m_itemCount(0)
{}

COwnerDrawMenu::~COwnerDrawMenu()
{
    DestroyItems();
}

// ----------------------------------------------------------------- system kind

int COwnerDrawMenu::SystemKindOf(const OSVERSIONINFOA* info)
{
    if (!info)
        return 2;
    if (info->dwPlatformId == VER_PLATFORM_WIN32_NT)
        return info->dwMajorVersion >= 4 ? 3 : 2;
    return info->dwMajorVersion >= 4 ? 1 : 0;
}

int COwnerDrawMenu::SystemKind()
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    return SystemKindOf(g_os.GetVersionExA(&info) ? &info : nullptr);
}

// -------------------------------------------------------------------- toolbar

bool COwnerDrawMenu::ParseToolbar(const void* data, DWORD size, int* width, int* height,
                                  std::vector<UINT>* commands)
{
    return ToolbarResource::Parse(data, size, width, height, commands);
}

bool COwnerDrawMenu::LoadToolbarCommands(UINT toolbarId, std::vector<UINT>* commands)
{
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC res =
        ::FindResourceA(module, MAKEINTRESOURCEA(toolbarId), MAKEINTRESOURCEA(RT_TOOLBAR_RES));
    if (!res)
        return false;
    HGLOBAL global = ::LoadResource(module, res);
    const void* data = global ? ::LockResource(global) : nullptr;
    return data && ParseToolbar(data, ::SizeofResource(module, res), nullptr, nullptr, commands);
}

int COwnerDrawMenu::ToolbarImageIndex(UINT toolbarId, UINT command)
{
    std::vector<UINT> commands;
    if (!LoadToolbarCommands(toolbarId, &commands))
        return 0;
    int image = 0;
    for (UINT id : commands) {
        if (id == 0)
            continue; // a separator has no picture
        if (id == command)
            return image;
        ++image;
    }
    return 0;
}

COLORREF COwnerDrawMenu::MaskColor() const
{
    return m_useMaskColor ? m_maskColor : ::GetSysColor(COLOR_3DFACE);
}

bool COwnerDrawMenu::AddBitmapToImageList(HIMAGELIST list, UINT bitmapId) const
{
    // The standard greys and black/white of the artwork follow the system colours.
    HBITMAP bitmap = ::CreateMappedBitmap(::GetModuleHandleA(nullptr), bitmapId, 0, nullptr, 0);
    if (!bitmap)
        return false;
    int added = ::ImageList_AddMasked(list, bitmap, MaskColor());
    ::DeleteObject(bitmap);
    return added >= 0;
}

bool COwnerDrawMenu::LoadToolbarImages(UINT toolbarId)
{
    std::vector<UINT> commands;
    if (!LoadToolbarCommands(toolbarId, &commands))
        return false;
    for (UINT id : commands) {
        if (id != 0 && m_hMenu && ::GetMenuState(m_hMenu, id, MF_BYCOMMAND) != (UINT)-1)
            SetItemImage(id, (int)toolbarId);
    }
    return true;
}

// ---------------------------------------------------------------------- items

bool COwnerDrawMenu::AppendItem(const wchar_t* text, UINT flags, UINT_PTR command, int imageSource)
{
    if (!m_hMenu)
        return false;
    if (command == 0)
        flags = MF_SEPARATOR | MF_OWNERDRAW;
    else
        flags |= MF_OWNERDRAW;

    auto item = std::make_unique<MenuItemData>();
    item->text = text ? text : L"";
    item->menuFlags = flags;
    item->command = command;
    if (imageSource > 0) {
        item->imageSource = imageSource;
        item->images.reset(
            ::ImageList_Create(m_iconWidth, m_iconHeight, ILC_COLORDDB | ILC_MASK, 1, 1));
        if (item->images && AddBitmapToImageList(item->images.get(), (UINT)imageSource))
            item->imageIndex = ToolbarImageIndex((UINT)imageSource, (UINT)command);
    }
    if (!::AppendMenuA(m_hMenu, flags, command, reinterpret_cast<LPCSTR>(item.get())))
        return false;
    m_items.push_back(std::move(item));
    return true;
}

std::unique_ptr<COwnerDrawMenu> COwnerDrawMenu::NewSubMenu() const
{
    auto child = std::make_unique<COwnerDrawMenu>();
    child->m_checkImages = m_checkImages;
    child->m_checkImagesShared = true;
    child->m_checkedImage = m_checkedImage;
    child->m_uncheckedImage = m_uncheckedImage;
    return child;
}

COwnerDrawMenu* COwnerDrawMenu::InsertPopup(UINT position, const wchar_t* text)
{
    if (!m_hMenu)
        return nullptr;
    std::unique_ptr<COwnerDrawMenu> child = NewSubMenu();
    child->m_bannerless = true;
    if (!child->CreatePopupMenu())
        return nullptr;
    const UINT count = (UINT)std::max(0, ::GetMenuItemCount(m_hMenu));
    position = std::min(position, count);
    auto item = std::make_unique<MenuItemData>();
    item->text = text ? text : L"";
    item->menuFlags = MF_POPUP | MF_OWNERDRAW;
    item->command = (UINT_PTR)child->m_hMenu;
    // As AppendMenu makes a popup item: its identifier is the popup's handle,
    // by which the owner-draw requests name it.
    MENUITEMINFOA mii = {};
    mii.cbSize = kMenuItemInfoSize;
    mii.fMask = MIIM_TYPE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    mii.fType = MFT_OWNERDRAW;
    mii.wID = (UINT)item->command;
    mii.hSubMenu = child->m_hMenu;
    mii.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
    if (!::InsertMenuItemA(m_hMenu, position, TRUE, &mii))
        return nullptr;
    // The records keep the menu's order.
    m_items.insert(m_items.begin() + std::min<size_t>(position, m_items.size()), std::move(item));
    m_subMenus.push_back(std::move(child));
    return m_subMenus.back().get();
}

MenuItemData* COwnerDrawMenu::FindItem(UINT command, COwnerDrawMenu** owner)
{
    for (auto& item : m_items) {
        if (!(item->menuFlags & MF_POPUP) && item->command == command) {
            if (owner)
                *owner = this;
            return item.get();
        }
    }
    for (auto& sub : m_subMenus) {
        if (MenuItemData* found = sub->FindItem(command, owner))
            return found;
    }
    return nullptr;
}

bool COwnerDrawMenu::SetItemImage(UINT command, int imageSource, const wchar_t* newText)
{
    COwnerDrawMenu* owner = nullptr;
    MenuItemData* item = FindItem(command, &owner);
    if (!item)
        return false;
    if (newText)
        item->text = newText;
    item->imageSource = imageSource;
    item->imageIndex = -1;
    item->images.reset();
    if (imageSource <= 0)
        return true;
    item->images.reset(
        ::ImageList_Create(owner->m_iconWidth, owner->m_iconHeight, ILC_COLORDDB | ILC_MASK, 1, 1));
    if (!item->images || !owner->AddBitmapToImageList(item->images.get(), (UINT)imageSource)) {
        item->images.reset();
        return false;
    }
    item->imageIndex = ToolbarImageIndex((UINT)imageSource, command);
    return true;
}

void COwnerDrawMenu::AlignAccelerators()
{
    CFont font;
    if (!MakeMenuFont(font))
        return;
    CClientDC dc(nullptr);
    CSelectObject selectFont(dc, font);
    int widest = 0;
    for (auto& item : m_items) {
        std::wstring label = item->text.substr(0, item->text.find(L'\t')) + L" ";
        widest = std::max(widest, ExtentOf(dc, Ansi(label)));
    }
    for (auto& item : m_items) {
        size_t tab = item->text.find(L'\t');
        if (tab == std::wstring::npos)
            continue;
        std::wstring label = item->text.substr(0, tab);
        std::wstring accel = item->text.substr(tab + 1);
        // A space is at least a pixel wide, so this ends; the bound keeps it so.
        for (int guard = 0; guard < 1000 && ExtentOf(dc, Ansi(label)) < widest; ++guard)
            label += L' ';
        item->text = label + L"\t" + accel;
    }
}

bool COwnerDrawMenu::LoadFromResource(UINT menuId)
{
    DestroyItems();
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC res = ::FindResourceA(module, MAKEINTRESOURCEA(menuId), RT_MENU);
    if (!res)
        return false;
    HGLOBAL global = ::LoadResource(module, res);
    const void* data = global ? ::LockResource(global) : nullptr;
    return data && LoadFromTemplate(data, ::SizeofResource(module, res));
}

bool COwnerDrawMenu::LoadFromTemplate(const void* menuTemplate, DWORD size)
{
    DestroyItems();
    MenuTemplateReader reader(menuTemplate, size);
    // Version 0 is the plain template; the extended one (1) is not ours.
    if (!reader.Valid() || !CreateMenu())
        return false;

    struct Level
    {
        COwnerDrawMenu* menu;
        bool finished;
    };
    std::vector<Level> stack{{this, false}};
    bool ok = true;
    while (ok && !stack.empty()) {
        // A truncated template ends the load as a failure.
        MenuTemplateReader::Item item;
        if (!reader.Next(&item)) {
            ok = false;
            break;
        }
        UINT flags = item.flags;
        UINT id = item.id;
        const std::wstring& text = item.text;
        bool last = (flags & MF_END) != 0;
        flags &= ~(UINT)MF_END;
        COwnerDrawMenu* level = stack.back().menu;
        if (flags & MF_POPUP) {
            if (last)
                stack.back().finished = true;
            std::unique_ptr<COwnerDrawMenu> child = level->NewSubMenu();
            if (!child->CreatePopupMenu() ||
                !level->AppendItem(text.c_str(), flags, (UINT_PTR)child->m_hMenu)) {
                ok = false;
                break;
            }
            stack.push_back({child.get(), false});
            m_subMenus.push_back(std::move(child));
        } else {
            if (!level->AppendItem(text.c_str(), flags, id)) {
                ok = false;
                break;
            }
            if (last) {
                stack.back().finished = true;
                while (!stack.empty() && stack.back().finished) {
                    stack.back().menu->AlignAccelerators();
                    stack.pop_back();
                }
            }
        }
    }
    if (!ok) {
        DestroyItems();
        return false;
    }

    // The top level (a menu bar when used as one) stays plain text; only
    // popup items are drawn by us.
    for (size_t i = 0; i < m_items.size(); ++i) {
        const MenuItemData& item = *m_items[i];
        bool popup = (item.menuFlags & MF_POPUP) != 0;
        ::ModifyMenuA(m_hMenu, (UINT)i, MF_BYPOSITION | MF_STRING | (popup ? MF_POPUP : 0),
                      item.command, Ansi(item.text).c_str());
    }
    return true;
}

void COwnerDrawMenu::DestroyItems()
{
    // The sub-menus' handles belong to this menu's handle, which destroys
    // them with itself: the sub-menu objects let go of them first.
    for (auto& sub : m_subMenus) {
        sub->Detach();
        sub->DestroyItems();
    }
    m_subMenus.clear();
    m_items.clear();
    if (m_checkImages && !m_checkImagesShared)
        ::ImageList_Destroy(m_checkImages);
    m_checkImages = nullptr;
    m_checkImagesShared = false;
    DestroyMenu();
    m_banner = BITMAP{};
    m_bannerPending = false;
    m_itemCount = 0;
}

// ------------------------------------------------------------------ measuring

void COwnerDrawMenu::MeasureItem(LPMEASUREITEMSTRUCT mis)
{
    auto* item = reinterpret_cast<MenuItemData*>(mis->itemData);
    if (!item)
        return;
    if (m_banner.bmWidth == 0 && !m_bannerless) {
        CBitmap banner;
        if (banner.LoadBitmap(IDB_MENU_BANNER) &&
            ::GetObjectA(banner, sizeof(m_banner), &m_banner) == sizeof(m_banner))
            ArmBanner();
        else
            m_banner = BITMAP{};
    }

    if (item->menuFlags & MF_SEPARATOR) {
        mis->itemWidth = 0;
        mis->itemHeight = ::GetSystemMetrics(SM_CYMENU) / 2;
    } else {
        CFont font;
        MakeMenuFont(font);
        CWinApp* app = AfxGetApp();
        HWND main = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
        CClientDC dc(main);
        CSelectObject selectFont(dc, NewShell() ? (HGDIOBJ)font.Get() : nullptr);
        int width = TextWidth(dc, item->text);
        mis->itemWidth = width + 2 * m_iconWidth + 1;
        mis->itemHeight = std::max(::GetSystemMetrics(SM_CYMENU), m_iconHeight + 4);
    }
    mis->itemWidth += m_banner.bmWidth;
}

void COwnerDrawMenu::ArmBanner()
{
    // Every item of the popup is drawn when it shows; the last one drawn
    // paints the banner.
    m_bannerPending = true;
    m_itemCount = std::max(1, ::GetMenuItemCount(m_hMenu));
}

void COwnerDrawMenu::OnInitMenuPopup()
{
    // The first showing arms the banner at its first measurement; a popup
    // that shows again (a submenu opened a second time) is not always
    // measured again, but every item of it is drawn again.
    if (m_banner.bmWidth != 0)
        ArmBanner();
}

// -------------------------------------------------------------------- drawing

void COwnerDrawMenu::PaintBanner(LPDRAWITEMSTRUCT dis)
{
    HDC dc = dis->hDC;
    RECT client = {0, 0, 0, dis->rcItem.bottom};
    if (HWND wnd = ::WindowFromDC(dc))
        ::GetClientRect(wnd, &client);
    // The strip starts where the items start: the client's left edge, or
    // further in where the system draws the popup's frame inside the client
    // area (Wine does, with a margin of three pixels).
    const int left = std::max(client.left, dis->rcItem.left);
    RECT strip = {left, client.top, left + m_banner.bmWidth, client.bottom};
    {
        CBrush black(RGB(0, 0, 0));
        ::FillRect(dc, &strip, black);
    }
    CBitmap banner;
    if (!banner.LoadBitmap(IDB_MENU_BANNER))
        return;
    CMemoryDC mem(dc);
    CSelectObject select(mem, banner);
    ::BitBlt(dc, strip.left, dis->rcItem.bottom - m_banner.bmHeight, m_banner.bmWidth,
             m_banner.bmHeight, mem, 0, 0, SRCCOPY);
}

void COwnerDrawMenu::DrawEmbossed(HDC dc, HIMAGELIST list, int index, int x, int y,
                                  COLORREF back) const
{
    int w = m_iconWidth, h = m_iconHeight;
    // The picture over white, then a monochrome shape of every pixel that is
    // neither white nor the face colour (those are the picture's light parts).
    CMemoryDC colorDC(dc);
    CBitmap colorBitmap;
    if (!colorBitmap.CreateCompatibleBitmap(dc, w, h))
        return;
    CSelectObject selectColor(colorDC, colorBitmap);
    FillSolid(colorDC, RECT{0, 0, w, h}, RGB(255, 255, 255));
    ::ImageList_Draw(list, index, colorDC, 0, 0, ILD_TRANSPARENT);

    CBitmap mono;
    if (m_embossStyle == 0) {
        mono.Attach(::CreateBitmap(w, h, 1, 1, nullptr));
    } else {
        struct
        {
            BITMAPINFOHEADER header;
            RGBQUAD colors[2];
        } info = {};
        info.header.biSize = sizeof(info.header);
        info.header.biWidth = w;
        info.header.biHeight = h;
        info.header.biPlanes = 1;
        info.header.biBitCount = 1;
        info.colors[1] = RGBQUAD{255, 255, 255, 0};
        void* bits = nullptr;
        mono.Attach(::CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                       &bits, nullptr, 0));
    }
    if (mono.IsNull())
        return;
    CMemoryDC monoDC(dc);
    CSelectObject selectMono(monoDC, mono);
    ::SetBkColor(colorDC, RGB(255, 255, 255));
    ::BitBlt(monoDC, 0, 0, w, h, colorDC, 0, 0, SRCCOPY);
    ::SetBkColor(colorDC, ::GetSysColor(COLOR_3DFACE));
    ::BitBlt(monoDC, 0, 0, w, h, colorDC, 0, 0, SRCPAINT);

    FillSolid(dc, RECT{x, y, x + w, y + h}, back);
    COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
    const DWORD kPaintWhereBlack = 0x00B8074A; // brush where the shape is black
    {
        CBrush light(::GetSysColor(COLOR_3DHILIGHT));
        CSelectObject selectBrush(dc, light);
        ::BitBlt(dc, x + 1, y + 1, w, h, monoDC, 0, 0, kPaintWhereBlack);
    }
    {
        CBrush shadow(::GetSysColor(COLOR_3DSHADOW));
        CSelectObject selectBrush(dc, shadow);
        ::BitBlt(dc, x, y, w, h, monoDC, 0, 0, kPaintWhereBlack);
    }
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
}

void COwnerDrawMenu::DrawCheckMark(HDC dc, const RECT& box, bool radio, COLORREF color)
{
    if (radio) {
        CBrush brush(color);
        CPen pen(PS_SOLID, 1, color);
        CSelectObject selectBrush(dc, brush);
        CSelectObject selectPen(dc, pen);
        ::Ellipse(dc, box.left + 5, box.top + 4, box.left + 11, box.top + 10);
        return;
    }
    // A 7 x 7 tick, three pixels thick.
    static const int kTop[7] = {2, 3, 4, 3, 2, 1, 0};
    for (int x = 0; x < 7; ++x)
        for (int y = kTop[x]; y < kTop[x] + 3; ++y)
            ::SetPixel(dc, box.left + 4 + x, box.top + 4 + y, color);
}

void COwnerDrawMenu::DrawItem(LPDRAWITEMSTRUCT dis)
{
    auto* item = reinterpret_cast<MenuItemData*>(dis->itemData);
    if (!item || dis->CtlType != ODT_MENU)
        return;
    HDC dc = dis->hDC;

    if (m_bannerPending && --m_itemCount <= 0) {
        m_bannerPending = false;
        m_itemCount = 0;
        PaintBanner(dis);
    }

    RECT rc = dis->rcItem;
    rc.left += m_banner.bmWidth;

    if (item->menuFlags & MF_SEPARATOR) {
        RECT line = rc;
        line.top += (rc.bottom - rc.top) / 2;
        ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }

    const bool newShell = NewShell();
    const bool selected = (dis->itemState & ODS_SELECTED) != 0;
    const bool grayed = (dis->itemState & ODS_GRAYED) != 0;
    const bool checked = (dis->itemState & ODS_CHECKED) != 0;
    const bool hasPicture = item->images && item->imageIndex >= 0;
    const bool customCheck = checked && !hasPicture && m_checkImages;
    const bool drawnCheck = checked && !hasPicture && !m_checkImages;

    const COLORREF menuColor = ::GetSysColor(COLOR_MENU);
    COLORREF textColor = ::GetSysColor(COLOR_MENUTEXT);
    CFont font;
    MakeMenuFont(font);
    CSelectObject selectFont(dc, font.IsNull() ? nullptr : (HGDIOBJ)font.Get());

    // Background: the highlight leaves the picture column alone.
    if (!selected) {
        FillSolid(dc, rc, menuColor);
    } else {
        RECT bar = rc;
        if (hasPicture || checked)
            bar.left = rc.left + m_iconWidth + 5;
        FillSolid(dc, bar, ::GetSysColor(COLOR_HIGHLIGHT));
        textColor = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    }

    // Picture column.
    const int dy = std::max(0, (int)(rc.bottom - rc.top - m_iconHeight - 4) / 2);
    const RECT box = {rc.left, rc.top + dy, rc.left + m_iconWidth + 4,
                      rc.top + dy + m_iconHeight + 4};
    const int px = rc.left + 2, py = rc.top + dy + 2;
    const COLORREF light = ::GetSysColor(COLOR_3DLIGHT);
    const COLORREF hilite = ::GetSysColor(COLOR_3DHILIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_3DSHADOW);
    if (customCheck) {
        FillSolid(dc, box, menuColor);
        ::ImageList_Draw(m_checkImages, selected ? 1 : 0, dc, px, py, ILD_TRANSPARENT);
    } else if (hasPicture && grayed) {
        FillSolid(dc, box, menuColor);
        DrawEmbossed(dc, item->images.get(), item->imageIndex, px, py,
                     newShell ? ::GetSysColor(COLOR_3DFACE) : menuColor);
    } else if (hasPicture && selected) {
        FillSolid(dc, box, menuColor);
        if (newShell) {
            if (checked)
                Frame3d(dc, box, shadow, hilite);
            else
                Frame3d(dc, box, hilite, shadow);
        }
        ::ImageList_Draw(item->images.get(), item->imageIndex, dc, px, py, ILD_TRANSPARENT);
    } else if (hasPicture && checked) {
        FillSolid(dc, box, light);
        if (newShell)
            Frame3d(dc, box, shadow, hilite);
        ::ImageList_Draw(item->images.get(), item->imageIndex, dc, px, py, ILD_TRANSPARENT);
    } else if (hasPicture) {
        FillSolid(dc, box, menuColor);
        ::ImageList_Draw(item->images.get(), item->imageIndex, dc, px, py, ILD_TRANSPARENT);
    } else if (drawnCheck) {
        RECT inner = {box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
        FillSolid(dc, inner, (selected || !newShell) ? menuColor : light);
        if (newShell)
            Frame3d(dc, inner, shadow, hilite);
        MENUITEMINFOA mii = {};
        mii.cbSize = kMenuItemInfoSize;
        mii.fMask = MIIM_CHECKMARKS | MIIM_TYPE;
        bool radio = false;
        if (::GetMenuItemInfoA(reinterpret_cast<HMENU>(dis->hwndItem), dis->itemID, FALSE, &mii))
            radio = mii.hbmpChecked != nullptr || (mii.fType & MFT_RADIOCHECK) != 0;
        DrawCheckMark(dc, inner, radio, ::GetSysColor(COLOR_MENUTEXT));
    }

    // Text: label on the left, accelerator right-aligned one picture width in.
    RECT textRect = {rc.left + m_iconWidth + 9, rc.top - 1, rc.right, rc.bottom - 1};
    size_t tab = item->text.find(L'\t');
    const std::string label = Ansi(item->text.substr(0, tab));
    const std::string accel =
        tab == std::wstring::npos ? std::string() : Ansi(item->text.substr(tab + 1));
    RECT accelRect = textRect;
    accelRect.right -= m_iconWidth;
    const UINT format = DT_SINGLELINE | DT_VCENTER;
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    auto drawText = [&](COLORREF color, int offset) {
        ::SetTextColor(dc, color);
        RECT r = textRect;
        ::OffsetRect(&r, offset, offset);
        ::DrawTextA(dc, label.c_str(), (int)label.size(), &r, format | DT_LEFT);
        if (!accel.empty()) {
            RECT a = accelRect;
            ::OffsetRect(&a, offset, offset);
            ::DrawTextA(dc, accel.c_str(), (int)accel.size(), &a, format | DT_RIGHT);
        }
    };
    if (grayed && selected) {
        drawText(menuColor, 0);
    } else if (grayed) {
        drawText(hilite, 1);
        drawText(::GetSysColor(COLOR_GRAYTEXT), 0);
    } else {
        drawText(textColor, 0);
    }
    ::SetBkMode(dc, oldMode);
}
