// OwnerDrawMenuTest.cpp - loading, measuring and drawing of the owner-drawn
// popup menu, read back from the pixels of a real window.
#include <gtest/gtest.h>

#include "framework/Gdi.h"
#include "res/resource.h"
#include "tests/support/FakeOs.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/MenuTestSupport.h"
#include "widgets/COwnerDrawMenu.h"

#include <algorithm>
#include <memory>

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);

// A menu template in memory, written the way the resource compiler does.
class MenuTemplate
{
public:
    MenuTemplate() { Word(0), Word(0); }
    MenuTemplate& Item(WORD flags, WORD id, const wchar_t* text)
    {
        Word(flags);
        Word(id);
        Text(text);
        return *this;
    }
    MenuTemplate& Popup(WORD flags, const wchar_t* text)
    {
        Word(flags | MF_POPUP);
        Text(text);
        return *this;
    }
    const std::vector<BYTE>& Bytes() const { return m_bytes; }

private:
    void Word(WORD w)
    {
        m_bytes.push_back(LOBYTE(w));
        m_bytes.push_back(HIBYTE(w));
    }
    void Text(const wchar_t* text)
    {
        do
            Word(*text);
        while (*text++);
    }
    std::vector<BYTE> m_bytes;
};

MenuTemplate NestedTemplate()
{
    MenuTemplate t;
    t.Popup(0, L"File")
        .Item(0, 1, L"Open\tCtrl+O")
        .Popup(0, L"Recent")
        .Item(0, 2, L"One")
        .Item(MF_END, 3, L"Two")
        .Item(MF_END, 4, L"Exit")
        .Popup(MF_END, L"Help")
        .Item(MF_END, 5, L"About");
    return t;
}

std::string MenuString(HMENU menu, UINT pos)
{
    char buf[64] = {};
    ::GetMenuStringA(menu, pos, buf, sizeof(buf), MF_BYPOSITION);
    return buf;
}

UINT ItemType(HMENU menu, UINT pos)
{
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_TYPE;
    ::GetMenuItemInfoA(menu, pos, TRUE, &mii);
    return mii.fType;
}

int TextWidthInMenuFont(const wchar_t* text)
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    CFont font;
    font.CreateFontIndirect(ncm.lfMenuFont);
    CClientDC dc(nullptr);
    CSelectObject select(dc, font);
    SIZE size = {};
    ::GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
    return size.cx;
}

// DrawTextW and ModifyMenuW as Windows 95 and 98 have them: stubs.
int WINAPI StubDrawTextW(HDC, LPCWSTR, int, LPRECT, UINT)
{
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return 0;
}
BOOL WINAPI StubModifyMenuW(HMENU, UINT, UINT, UINT_PTR, LPCWSTR)
{
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
}

// Measures every item of a popup and lays them out one under the other,
// as the system does, then draws them into a real window.
class MenuDrawTest : public ::testing::Test
{
protected:
    // Plays a system of a kind (see COwnerDrawMenu::SystemKind) for the rest
    // of the test.
    void PlaySystem(int kind)
    {
        os.reset(); // one fake at a time: the next takes over from the real table
        os.reset(new FakeOs);
        os->version.dwPlatformId =
            kind == 2 || kind == 3 ? VER_PLATFORM_WIN32_NT : VER_PLATFORM_WIN32_WINDOWS;
        os->version.dwMajorVersion = kind == 1 || kind == 3 ? 4 : 3;
        os->ReportVersion();
        ASSERT_EQ(kind, COwnerDrawMenu::SystemKind());
    }
    std::unique_ptr<FakeOs> os;

    void Measure(COwnerDrawMenu& menu)
    {
        rects.clear();
        int y = 0, width = 0;
        for (auto& item : menu.Items()) {
            MEASUREITEMSTRUCT mis = {ODT_MENU, 0, (UINT)item->command, 0, 0, (ULONG_PTR)item.get()};
            menu.MeasureItem(&mis);
            rects.push_back(RECT{0, y, 0, y + (int)mis.itemHeight});
            heights.push_back((int)mis.itemHeight);
            widths.push_back((int)mis.itemWidth);
            width = std::max(width, (int)mis.itemWidth);
            y += mis.itemHeight;
        }
        for (auto& rc : rects)
            rc.right = width;
        clientWidth = width;
        clientHeight = y;
    }

    void OpenHost(int width, int height)
    {
        if (host.IsWindow())
            host.DestroyWindow();
        ASSERT_TRUE(host.Open(width, height));
        Fill(kMagenta);
    }

    void Fill(COLORREF color)
    {
        CClientDC dc(host);
        RECT rc;
        host.GetClientRect(&rc);
        CBrush brush(color);
        ::FillRect(dc, &rc, brush);
    }

    void Draw(COwnerDrawMenu& menu, size_t index, UINT state, RECT rc)
    {
        const auto& item = menu.Items()[index];
        CClientDC dc(host);
        DRAWITEMSTRUCT dis = {
            ODT_MENU, 0,  (UINT)item->command,  ODA_DRAWENTIRE, state, (HWND)menu.GetSafeHmenu(),
            dc,       rc, (ULONG_PTR)item.get()};
        menu.DrawItem(&dis);
    }
    void Draw(COwnerDrawMenu& menu, size_t index, UINT state = 0)
    {
        Draw(menu, index, state, rects[index]);
    }

    PixelGrab Grab()
    {
        RECT rc;
        host.GetClientRect(&rc);
        CClientDC dc(host);
        return PixelGrab(dc, rc.right, rc.bottom);
    }

    // A popup with the given items, each taking pictures from toolbar 1309.
    void Build(COwnerDrawMenu& menu,
               std::initializer_list<std::tuple<const wchar_t*, UINT, UINT, int>> items)
    {
        ASSERT_TRUE(menu.CreatePopupMenu());
        for (auto& [text, flags, command, source] : items)
            ASSERT_TRUE(menu.AppendItem(text, flags, command, source));
    }

    TestHostWindow host;
    std::vector<RECT> rects;
    std::vector<int> heights, widths;
    int clientWidth = 0, clientHeight = 0;
};

} // namespace

// ------------------------------------------------------------------- loading

TEST(OwnerDrawMenuLoad, TrayMenuResourceBuildsOwnerDrawnPopupUnderPlainTopLevel)
{
    COwnerDrawMenu menu;
    ASSERT_TRUE(menu.LoadFromResource(IDR_TRAY_MENU));
    ASSERT_EQ(1, menu.GetMenuItemCount());
    EXPECT_EQ("Dummy Popup", MenuString(menu, 0));
    EXPECT_EQ(0u, ItemType(menu, 0) & MFT_OWNERDRAW) << "the top level stays plain text";

    HMENU popup = menu.GetSubMenu(0);
    ASSERT_NE(nullptr, popup);
    ASSERT_EQ(menu.SubMenu(0)->GetSafeHmenu(), popup);
    const UINT expected[] = {1001, 1010, 40008, 40010, 40020, 0, 40018, 40012, 14, 0, 1004};
    ASSERT_EQ(11, ::GetMenuItemCount(popup));
    for (UINT i = 0; i < 11; ++i) {
        EXPECT_EQ(expected[i], ::GetMenuItemID(popup, i)) << "position " << i;
        UINT type = ItemType(popup, i);
        EXPECT_NE(0u, type & MFT_OWNERDRAW) << "position " << i;
        EXPECT_EQ(expected[i] == 0, (type & MFT_SEPARATOR) != 0) << "position " << i;
    }
    EXPECT_EQ(L"Adapter Properties", menu.SubMenu(0)->Items()[0]->text);
    EXPECT_EQ(L"Link History", menu.SubMenu(0)->Items()[4]->text);
    EXPECT_EQ(L"Exit", menu.SubMenu(0)->Items()[10]->text);
}

TEST(OwnerDrawMenuLoad, ToolbarGivesEachCommandItsOwnPicture)
{
    COwnerDrawMenu menu;
    ASSERT_TRUE(menu.LoadFromResource(IDR_TRAY_MENU));
    ASSERT_TRUE(menu.LoadToolbarImages(IDR_TRAY_TOOLBAR));
    struct Case
    {
        UINT command;
        int image;
    } cases[] = {
        {1001, 0},  {40008, 1}, {1010, 2},  {40010, 3}, {40018, 4},
        {40012, 5}, {14, 6},    {40020, 7}, {1004, -1},
    };
    for (auto& c : cases) {
        const MenuItemData* found = nullptr;
        for (auto& item : menu.SubMenu(0)->Items())
            if (item->command == c.command)
                found = item.get();
        ASSERT_NE(nullptr, found) << c.command;
        EXPECT_EQ(c.image, found->imageIndex) << "command " << c.command;
        if (c.image >= 0) {
            EXPECT_EQ(IDR_TRAY_TOOLBAR, found->imageSource);
            ASSERT_TRUE(found->images);
            EXPECT_EQ(8, ::ImageList_GetImageCount(found->images.get())) << "the whole strip";
        } else {
            EXPECT_FALSE(found->images);
        }
    }
}

TEST(OwnerDrawMenuLoad, MissingResourcesFail)
{
    COwnerDrawMenu menu;
    EXPECT_FALSE(menu.LoadFromResource(9999));
    EXPECT_EQ(nullptr, menu.GetSafeHmenu());
    ASSERT_TRUE(menu.LoadFromResource(IDR_TRAY_MENU));
    EXPECT_FALSE(menu.LoadToolbarImages(9999));
}

TEST(OwnerDrawMenuLoad, NestedPopupsLandAtTheirLevels)
{
    MenuTemplate t = NestedTemplate();
    COwnerDrawMenu menu;
    ASSERT_TRUE(menu.LoadFromTemplate(t.Bytes().data(), (DWORD)t.Bytes().size()));
    ASSERT_EQ(2, menu.GetMenuItemCount());
    EXPECT_EQ("File", MenuString(menu, 0));
    EXPECT_EQ("Help", MenuString(menu, 1));
    HMENU file = menu.GetSubMenu(0), help = menu.GetSubMenu(1);
    ASSERT_EQ(3, ::GetMenuItemCount(file));
    EXPECT_EQ(1u, ::GetMenuItemID(file, 0));
    HMENU recent = ::GetSubMenu(file, 1);
    ASSERT_NE(nullptr, recent);
    EXPECT_EQ(2, ::GetMenuItemCount(recent));
    EXPECT_EQ(3u, ::GetMenuItemID(recent, 1));
    EXPECT_EQ(4u, ::GetMenuItemID(file, 2));
    ASSERT_EQ(1, ::GetMenuItemCount(help));
    EXPECT_EQ(5u, ::GetMenuItemID(help, 0));

    // A nested item is found for its picture and new text.
    EXPECT_TRUE(menu.SetItemImage(3, IDR_TRAY_TOOLBAR, L"Second"));
    auto* recentMenu = static_cast<COwnerDrawMenu*>(CMenu::FromHandlePermanent(recent));
    ASSERT_NE(nullptr, recentMenu);
    EXPECT_EQ(L"Second", recentMenu->Items()[1]->text);
    EXPECT_EQ(0, recentMenu->Items()[1]->imageIndex) << "not on the toolbar: picture 0";
    EXPECT_FALSE(menu.SetItemImage(77, IDR_TRAY_TOOLBAR));

    // An extended template (version 1) is refused rather than misread.
    std::vector<BYTE> extended = t.Bytes();
    extended[0] = 1;
    EXPECT_FALSE(menu.LoadFromTemplate(extended.data(), (DWORD)extended.size()));
    EXPECT_EQ(nullptr, menu.GetSafeHmenu());
}

TEST(OwnerDrawMenuLoad, EveryTruncatedTemplateFailsCleanly)
{
    MenuTemplate t = NestedTemplate();
    const auto& bytes = t.Bytes();
    for (size_t len = 0; len < bytes.size(); ++len) {
        // Copied so that reading one byte too far is a read of freed memory.
        std::vector<BYTE> part(bytes.begin(), bytes.begin() + len);
        COwnerDrawMenu menu;
        EXPECT_FALSE(menu.LoadFromTemplate(part.data(), (DWORD)part.size())) << len << " bytes";
        EXPECT_EQ(nullptr, menu.GetSafeHmenu()) << len << " bytes";
        EXPECT_TRUE(menu.Items().empty());
    }
}

TEST(OwnerDrawMenuLoad, AcceleratorColumnIsAligned)
{
    MenuTemplate t;
    t.Popup(MF_END, L"Edit")
        .Item(0, 1, L"Cut\tCtrl+X")
        .Item(0, 2, L"Paste special\tCtrl+Alt+V")
        .Item(MF_END, 3, L"A long label without accelerator");
    COwnerDrawMenu menu;
    ASSERT_TRUE(menu.LoadFromTemplate(t.Bytes().data(), (DWORD)t.Bytes().size()));
    const auto& items = menu.SubMenu(0)->Items();
    int widest = TextWidthInMenuFont(L"A long label without accelerator ");
    for (int i = 0; i < 2; ++i) {
        const std::wstring& text = items[i]->text;
        size_t tab = text.find(L'\t');
        ASSERT_NE(std::wstring::npos, tab);
        std::wstring label = text.substr(0, tab);
        EXPECT_GE(TextWidthInMenuFont(label.c_str()), widest) << "item " << i;
        // Only spaces were added, and no more than needed.
        std::wstring trimmed = label.substr(0, label.find_last_not_of(L' ') + 1);
        EXPECT_LT(TextWidthInMenuFont(label.substr(0, label.size() - 1).c_str()), widest);
        EXPECT_EQ(i == 0 ? L"Cut" : L"Paste special", trimmed);
    }
    EXPECT_EQ(L"Ctrl+X", items[0]->text.substr(items[0]->text.find(L'\t') + 1));
    EXPECT_EQ(L"A long label without accelerator", items[2]->text);
}

TEST(OwnerDrawMenuLoad, ToolbarResourceParsing)
{
    struct Case
    {
        const char* name;
        std::vector<WORD> words;
        bool ok;
        std::vector<UINT> commands;
    };
    const Case cases[] = {
        {"three buttons and a separator", {1, 16, 15, 4, 7, 0, 8, 9}, true, {7, 0, 8, 9}},
        {"no buttons", {1, 16, 15, 0}, true, {}},
        {"wrong version", {2, 16, 15, 1, 7}, false, {}},
        {"count beyond the data", {1, 16, 15, 3, 7, 8}, false, {}},
        {"header cut short", {1, 16, 15}, false, {}},
    };
    for (const Case& c : cases) {
        std::vector<UINT> commands;
        int w = 0, h = 0;
        bool ok = COwnerDrawMenu::ParseToolbar(c.words.data(), (DWORD)(c.words.size() * 2), &w, &h,
                                               &commands);
        EXPECT_EQ(c.ok, ok) << c.name;
        if (ok) {
            EXPECT_EQ(c.commands, commands) << c.name;
            EXPECT_EQ(16, w);
            EXPECT_EQ(15, h);
        }
    }
    std::vector<UINT> tray;
    ASSERT_TRUE(COwnerDrawMenu::LoadToolbarCommands(IDR_TRAY_TOOLBAR, &tray));
    EXPECT_EQ((std::vector<UINT>{1001, 40008, 1010, 40010, 40018, 40012, 14, 40020}), tray);
}

TEST(OwnerDrawMenuLoad, DestroyItemsReleasesEveryHandle)
{
    COwnerDrawMenu menu;
    ASSERT_TRUE(menu.LoadFromResource(IDR_TRAY_MENU));
    ASSERT_TRUE(menu.LoadToolbarImages(IDR_TRAY_TOOLBAR));
    HMENU top = menu.GetSafeHmenu(), popup = menu.GetSubMenu(0);
    ASSERT_TRUE(::IsMenu(top) && ::IsMenu(popup));
    menu.DestroyItems();
    EXPECT_FALSE(::IsMenu(top));
    EXPECT_FALSE(::IsMenu(popup));
    EXPECT_EQ(nullptr, menu.GetSafeHmenu());
    EXPECT_EQ(nullptr, menu.SubMenu(0));
    EXPECT_TRUE(menu.Items().empty());
    EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(popup)) << "no stale map entry";
    // Loading again works on the same object.
    EXPECT_TRUE(menu.LoadFromResource(IDR_TRAY_MENU));
}

// ---------------------------------------------------------------- measuring

TEST_F(MenuDrawTest, ItemHeightsAndWidths)
{
    COwnerDrawMenu menu;
    Build(
        menu,
        {{L"Plain text", 0, 5, -1}, {L"", 0, 0, -1}, {L"With picture", 0, 1001, IDR_TRAY_TOOLBAR}});
    Measure(menu);
    const int cyMenu = ::GetSystemMetrics(SM_CYMENU);
    EXPECT_EQ(std::max(cyMenu, 15 + 4), heights[0]) << "never below the menu height";
    EXPECT_EQ(cyMenu / 2, heights[1]) << "a separator is half a menu line";
    EXPECT_EQ(std::max(cyMenu, 15 + 4), heights[2]);
    EXPECT_GE(heights[2], cyMenu);
    const int banner = 23;
    EXPECT_EQ(TextWidthInMenuFont(L"Plain text") + 2 * 16 + 1 + banner, widths[0]);
    EXPECT_EQ(banner, widths[1]);
}

TEST_F(MenuDrawTest, HostWindowRoutesOwnerDrawRequestsToTheMenu)
{
    COwnerDrawMenu menu;
    Build(menu, {{L"Routed", 0, 5, -1}});
    OpenHost(100, 40);
    const auto& item = menu.Items()[0];
    MEASUREITEMSTRUCT mis = {ODT_MENU, 0, 5, 0, 0, (ULONG_PTR)item.get()};
    host.SendMessage(WM_MEASUREITEM, 0, (LPARAM)&mis);
    EXPECT_EQ((UINT)std::max(::GetSystemMetrics(SM_CYMENU), 19), mis.itemHeight);

    CClientDC dc(host);
    DRAWITEMSTRUCT dis = {ODT_MENU,
                          0,
                          5,
                          ODA_DRAWENTIRE,
                          ODS_SELECTED,
                          (HWND)menu.GetSafeHmenu(),
                          dc,
                          RECT{0, 0, 100, 19},
                          (ULONG_PTR)item.get()};
    host.SendMessage(WM_DRAWITEM, 0, (LPARAM)&dis);
    PixelGrab pixels = Grab();
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), pixels.At(30, 2)) << "drawn by the menu";
}

// ------------------------------------------------------------------ drawing

TEST_F(MenuDrawTest, BannerIsPaintedOnceWhenTheLastItemIsDrawn)
{
    COwnerDrawMenu menu;
    ASSERT_TRUE(menu.LoadFromResource(IDR_TRAY_MENU));
    ASSERT_TRUE(menu.LoadToolbarImages(IDR_TRAY_TOOLBAR));
    COwnerDrawMenu& popup = *menu.SubMenu(0);
    Measure(popup);
    ASSERT_GT(clientHeight, 148) << "the tray menu is taller than the banner";
    OpenHost(clientWidth, clientHeight);

    for (size_t i = 0; i + 1 < popup.Items().size(); ++i)
        Draw(popup, i);
    {
        PixelGrab before = Grab();
        EXPECT_EQ(kMagenta, before.At(11, 2)) << "no banner before the last item";
    }
    Draw(popup, popup.Items().size() - 1);

    PixelGrab pixels = Grab();
    const int top = clientHeight - 148;
    EXPECT_EQ(23 * top, pixels.Count(RECT{0, 0, 23, top}, RGB(0, 0, 0)))
        << "black strip above the bitmap, the full client height";
    // The bitmap itself, pixel for pixel, with its bottom at the last item's bottom.
    CBitmap banner;
    ASSERT_TRUE(banner.LoadBitmap(IDB_MENU_BANNER));
    CClientDC screen(nullptr);
    CMemoryDC mem(screen);
    CSelectObject select(mem, banner);
    PixelGrab expected(mem, 23, 148);
    int wrong = 0;
    for (int y = 0; y < 148; ++y)
        for (int x = 0; x < 23; ++x)
            wrong += pixels.At(x, top + y) != expected.At(x, y);
    EXPECT_EQ(0, wrong) << "banner pixels that differ from bitmap 1313";
    EXPECT_GT(expected.Count(RECT{0, 0, 23, 148}, RGB(255, 255, 255)), 100) << "the white name";

    // A later redraw of one item leaves the strip alone.
    Fill(kMagenta);
    Draw(popup, 0, ODS_SELECTED);
    PixelGrab after = Grab();
    EXPECT_EQ(23 * clientHeight, after.Count(RECT{0, 0, 23, clientHeight}, kMagenta));
    EXPECT_NE(kMagenta, after.At(60, rects[0].top + 5)) << "the item itself was drawn";
}

TEST_F(MenuDrawTest, AcceleratorIsRightAlignedOnePictureWidthIn)
{
    for (int width : {220, 300, 420}) {
        COwnerDrawMenu menu;
        Build(menu, {{L"Open\tCtrl+O", 0, 100, -1}});
        Measure(menu);
        OpenHost(width, heights[0]);
        RECT rc = {0, 0, width, heights[0]};
        Draw(menu, 0, 0, rc);
        PixelGrab pixels = Grab();
        COLORREF back = ::GetSysColor(COLOR_MENU);
        RECT right = pixels.Ink(RECT{width / 2, 0, width, heights[0]}, back);
        EXPECT_LE(right.right, width - 16) << "width " << width;
        EXPECT_GE(right.right, width - 16 - 3) << "width " << width;
        RECT left = pixels.Ink(RECT{23, 0, width / 2, heights[0]}, back);
        EXPECT_GE(left.left, 23 + 16 + 9) << "label starts after banner and picture column";
        EXPECT_LE(left.left, 23 + 16 + 9 + 2);
        host.DestroyWindow();
        PumpMessages();
    }
}

TEST_F(MenuDrawTest, TextsShowWhereTheWideFunctionsAreStubs)
{
    PlaySystem(1); // Windows 95/98
    ImportPatch drawText("user32.dll", "DrawTextW", (const void*)StubDrawTextW);
    ImportPatch modifyMenu("user32.dll", "ModifyMenuW", (const void*)StubModifyMenuW);
    COwnerDrawMenu menu;
    ASSERT_TRUE(menu.LoadFromResource(IDR_TRAY_MENU));
    EXPECT_EQ("Dummy Popup", MenuString(menu, 0)) << "the plain top level keeps its text";
    COwnerDrawMenu& popup = *menu.SubMenu(0);
    Measure(popup);
    OpenHost(clientWidth, heights[0]);
    Draw(popup, 0); // "Adapter Properties"
    RECT label =
        Grab().Ink(RECT{23 + 16 + 9, 0, clientWidth, heights[0]}, ::GetSysColor(COLOR_MENU));
    EXPECT_GT(label.right - label.left, 50) << "the label is drawn";
}

TEST_F(MenuDrawTest, HighlightSparesThePictureColumn)
{
    struct Case
    {
        const char* name;
        int source;
        UINT command;
        bool columnSpared;
    };
    const Case cases[] = {
        {"item with a picture", IDR_TRAY_TOOLBAR, 1001, true},
        {"item without a picture", -1, 1004, false},
    };
    for (const Case& c : cases) {
        COwnerDrawMenu menu;
        Build(menu, {{L"Item", 0, c.command, c.source}});
        Measure(menu);
        OpenHost(clientWidth + 40, heights[0]);
        Draw(menu, 0, ODS_SELECTED, RECT{0, 0, clientWidth + 40, heights[0]});
        PixelGrab pixels = Grab();
        COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
        EXPECT_EQ(highlight, pixels.At(23 + 16 + 6, 1)) << c.name;
        EXPECT_EQ(!c.columnSpared, pixels.At(23 + 1, 0) == highlight)
            << c.name << ": column pixel " << ColorText(pixels.At(23 + 1, 0));
        host.DestroyWindow();
    }
}

TEST_F(MenuDrawTest, SelectedPictureBoxIsRaisedOnlyWithTheNewShell)
{
    struct Case
    {
        int kind;
        bool frame;
    } cases[] = {{3, true}, {1, true}, {0, false}, {2, false}};
    for (auto& c : cases) {
        PlaySystem(c.kind);
        COwnerDrawMenu menu;
        Build(menu, {{L"Item", 0, 1001, IDR_TRAY_TOOLBAR}});
        Measure(menu);
        OpenHost(clientWidth, heights[0]);
        Draw(menu, 0, ODS_SELECTED);
        PixelGrab pixels = Grab();
        const int dy = std::max(0, (heights[0] - 19) / 2);
        COLORREF topLeft = pixels.At(23 + 3, dy), bottomRight = pixels.At(23 + 19, dy + 18);
        if (c.frame) {
            EXPECT_EQ(::GetSysColor(COLOR_3DHILIGHT), topLeft) << "kind " << c.kind;
            EXPECT_EQ(::GetSysColor(COLOR_3DSHADOW), bottomRight) << "kind " << c.kind;
        } else {
            EXPECT_EQ(::GetSysColor(COLOR_MENU), topLeft) << "kind " << c.kind;
            EXPECT_EQ(::GetSysColor(COLOR_MENU), bottomRight) << "kind " << c.kind;
        }
        host.DestroyWindow();
    }
}

TEST_F(MenuDrawTest, DisabledItemIsEmbossedWithTwoToneText)
{
    for (int style : {0, 1}) {
        COwnerDrawMenu menu;
        menu.SetEmbossStyle(style);
        Build(menu, {{L"Adapter Properties", MF_GRAYED, 1001, IDR_TRAY_TOOLBAR}});
        Measure(menu);
        OpenHost(clientWidth, heights[0]);
        Draw(menu, 0, ODS_GRAYED);
        PixelGrab pixels = Grab();
        const int dy = std::max(0, (heights[0] - 19) / 2);
        RECT picture = {23 + 2, dy + 2, 23 + 2 + 17, dy + 2 + 16};
        const COLORREF hilite = ::GetSysColor(COLOR_3DHILIGHT),
                       shadow = ::GetSysColor(COLOR_3DSHADOW);
        const COLORREF face = ::GetSysColor(COLOR_3DFACE), menuColor = ::GetSysColor(COLOR_MENU);
        int area = (picture.right - picture.left) * (picture.bottom - picture.top);
        int shadowCount = pixels.Count(picture, shadow),
            hiliteCount = pixels.Count(picture, hilite);
        EXPECT_GT(shadowCount, 20) << "style " << style;
        EXPECT_GT(hiliteCount, 5) << "style " << style;
        int others = 0;
        for (int y = picture.top; y < picture.bottom; ++y)
            for (int x = picture.left; x < picture.right; ++x) {
                COLORREF c = pixels.At(x, y);
                others += c != hilite && c != shadow && c != face && c != menuColor;
            }
        EXPECT_EQ(0, others) << "style " << style << ": only the emboss colours in " << area
                             << " picture pixels";

        RECT text = {23 + 16 + 9, 0, clientWidth, heights[0]};
        EXPECT_GT(pixels.Count(text, ::GetSysColor(COLOR_GRAYTEXT)), 20) << "grey text";
        EXPECT_GT(pixels.Count(text, hilite), 10) << "highlight copy one pixel down-right";
        EXPECT_EQ(0, pixels.Count(text, ::GetSysColor(COLOR_MENUTEXT))) << "no normal text";
        host.DestroyWindow();
    }

    // The same item enabled shows its picture in colour.
    COwnerDrawMenu menu;
    Build(menu, {{L"Adapter Properties", 0, 1001, IDR_TRAY_TOOLBAR}});
    Measure(menu);
    OpenHost(clientWidth, heights[0]);
    Draw(menu, 0, 0);
    PixelGrab pixels = Grab();
    EXPECT_GT(pixels.Count(RECT{23, 0, 23 + 20, heights[0]}, RGB(0, 0, 128)), 10)
        << "the card's navy label";
}

TEST_F(MenuDrawTest, CheckedItemWithoutPictureGetsADrawnMark)
{
    COwnerDrawMenu menu;
    Build(menu, {{L"Tick", MF_CHECKED, 50, -1}, {L"Radio", 0, 51, -1}, {L"Off", 0, 52, -1}});
    ::CheckMenuRadioItem(menu, 51, 51, 51, MF_BYCOMMAND);
    Measure(menu);
    OpenHost(clientWidth, clientHeight);
    Draw(menu, 0, ODS_CHECKED);
    Draw(menu, 1, ODS_CHECKED);
    Draw(menu, 2, 0);
    PixelGrab pixels = Grab();
    const COLORREF mark = ::GetSysColor(COLOR_MENUTEXT);
    auto box = [&](int i) {
        const int dy = std::max(0, (heights[i] - 19) / 2);
        return RECT{23 + 1, rects[i].top + dy + 1, 23 + 19, rects[i].top + dy + 18};
    };
    EXPECT_EQ(21, pixels.Count(box(0), mark)) << "a 7 x 7 tick, three pixels thick";
    const int top0 = rects[0].top + std::max(0, (heights[0] - 19) / 2) + 1;
    EXPECT_EQ(mark, pixels.At(23 + 1 + 4, top0 + 4 + 2)) << "the tick's left end";
    EXPECT_EQ(mark, pixels.At(23 + 1 + 4 + 6, top0 + 4)) << "the tick's right end";
    int bullet = pixels.Count(box(1), mark);
    EXPECT_GE(bullet, 20) << "a 6 x 6 bullet";
    EXPECT_LE(bullet, 36);
    EXPECT_EQ(0, pixels.Count(box(2), mark)) << "unchecked: no mark";
}

// A popup inserted as the menu opens (the notification icon's Profiles)
// draws its items as the menu does, checked and disabled ones too, on every
// kind of system; the banner runs down the menu's own edge only.
TEST_F(MenuDrawTest, InsertedPopupDrawsItsItemsWithoutABanner)
{
    for (int kind = 0; kind < 4; ++kind) {
        SCOPED_TRACE(kind);
        PlaySystem(kind);
        COwnerDrawMenu menu;
        ASSERT_TRUE(menu.LoadFromResource(IDR_TRAY_MENU));
        ASSERT_TRUE(menu.LoadToolbarImages(IDR_TRAY_TOOLBAR));
        COwnerDrawMenu& popup = *menu.SubMenu(0);
        // Where the program puts it: after the tools and Link History.
        COwnerDrawMenu* sub = popup.InsertPopup(5, L"Profiles");
        ASSERT_NE(nullptr, sub);
        ASSERT_EQ(sub->GetSafeHmenu(), ::GetSubMenu(popup, 5));
        EXPECT_EQ(L"Profiles", popup.Items()[5]->text);
        EXPECT_EQ(L"Preferences", popup.Items()[7]->text) << "the records keep the menu's order";
        ASSERT_TRUE(sub->AppendItem(L"Home", MF_CHECKED, 40100));
        ASSERT_TRUE(sub->AppendItem(L"Lab (damaged)", MF_GRAYED, 40101));

        COwnerDrawMenu plain;
        Build(plain, {{L"Home", 0, 50, -1}});
        Measure(plain);
        const int withBanner = widths[0];
        widths.clear();
        heights.clear();
        Measure(*sub);
        EXPECT_EQ(withBanner - 23, widths[0]) << "no banner column";

        OpenHost(clientWidth, clientHeight);
        Draw(*sub, 0, ODS_CHECKED);
        Draw(*sub, 1, ODS_GRAYED);
        PixelGrab pixels = Grab();
        const int dy = std::max(0, (heights[0] - 19) / 2);
        EXPECT_EQ(21, pixels.Count(RECT{1, dy + 1, 19, dy + 18}, ::GetSysColor(COLOR_MENUTEXT)))
            << "the tick at the left edge";
        EXPECT_EQ(0, pixels.Count(RECT{0, rects[1].top, 23, rects[1].bottom}, RGB(0, 0, 0)))
            << "no banner strip";
        RECT text = {16 + 9, rects[1].top, clientWidth, rects[1].bottom};
        EXPECT_GT(pixels.Count(text, ::GetSysColor(COLOR_GRAYTEXT)), 20) << "disabled: grey text";
        host.DestroyWindow();
        widths.clear();
        heights.clear();
    }
}

TEST_F(MenuDrawTest, SeparatorIsAnEtchedLineThroughTheMiddle)
{
    COwnerDrawMenu menu;
    Build(menu, {{L"", 0, 0, -1}});
    Measure(menu);
    OpenHost(120, heights[0]);
    Draw(menu, 0, 0, RECT{0, 0, 120, heights[0]});
    PixelGrab pixels = Grab();
    const int mid = heights[0] / 2;
    EXPECT_EQ(::GetSysColor(COLOR_3DSHADOW), pixels.At(60, mid));
    EXPECT_EQ(::GetSysColor(COLOR_3DHILIGHT), pixels.At(60, mid + 1));
    EXPECT_EQ(kMagenta, pixels.At(60, mid - 1)) << "nothing else is painted";
}

TEST_F(MenuDrawTest, FixedMaskColourMakesThatColourTransparent)
{
    struct Case
    {
        const char* name;
        bool blackMask;
    } cases[] = {{"system face colour as mask", false}, {"black as mask", true}};
    for (const Case& c : cases) {
        COwnerDrawMenu menu;
        if (c.blackMask)
            menu.SetMaskColor(RGB(0, 0, 0));
        Build(menu, {{L"Adapter Properties", 0, 1001, IDR_TRAY_TOOLBAR}});
        Measure(menu);
        OpenHost(clientWidth, heights[0]);
        Draw(menu, 0, 0);
        PixelGrab pixels = Grab();
        RECT picture = {23 + 2, 0, 23 + 18, heights[0]};
        int black = pixels.Count(picture, RGB(0, 0, 0));
        if (c.blackMask)
            EXPECT_EQ(0, black) << c.name << ": the card's outline is see-through";
        else
            EXPECT_GT(black, 20) << c.name << ": the card's outline";
        EXPECT_GT(pixels.Count(picture, RGB(0, 0, 128)), 10) << c.name << ": the label stays";
    }
}
