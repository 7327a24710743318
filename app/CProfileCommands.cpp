// CProfileCommands.cpp - the profiles' menu, commands and Apply.
#include "app/CProfileCommands.h"

#include "app/CProfileNameDlg.h"
#include "app/CProfilesDlg.h"
#include "app/ProfileApply.h"
#include "framework/CMenu.h"
#include "framework/CWinApp.h"
#include "framework/Os.h"
#include "res/resource.h"
#include "widgets/COwnerDrawMenu.h"

#include <utility>

static_assert(IDM_PROFILE_LAST - IDM_PROFILE_FIRST + 1 == MAX_PROFILES,
              "a command for each profile the menu can hold");

namespace {

std::wstring Wide(const std::string& text)
{
    int len = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), (int)text.size(), nullptr, 0);
    std::wstring wide(len > 0 ? len : 0, L'\0');
    if (len > 0)
        ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), (int)text.size(), &wide[0], len);
    return wide;
}

// A profile's name as a menu item shows it: an "&" is a letter, not a mnemonic.
std::string MenuText(const std::string& name)
{
    std::string text;
    for (char c : name) {
        text += c;
        if (c == '&')
            text += '&';
    }
    return text;
}

// Whether a menu holds the command among its own items (not its popups').
bool HoldsAtItsLevel(HMENU menu, UINT command)
{
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA mii = {};
        mii.cbSize = kMenuItemInfoSize;
        mii.fMask = MIIM_ID | MIIM_SUBMENU;
        if (::GetMenuItemInfoA(menu, (UINT)i, TRUE, &mii) && !mii.hSubMenu && mii.wID == command)
            return true;
    }
    return false;
}

// The notification icon's menu, not yet given its profiles.
bool IsTrayPopup(HMENU menu)
{
    if (!HoldsAtItsLevel(menu, IDM_EXIT))
        return false;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        HMENU sub = ::GetSubMenu(menu, i);
        if (sub && HoldsAtItsLevel(sub, IDM_PROFILES_MANAGE))
            return false;
    }
    return true;
}

void BringForward(CWnd* wnd)
{
    if (wnd && wnd->m_hWnd)
        ::SetForegroundWindow(wnd->m_hWnd);
}

} // namespace

CProfileCommands::CProfileCommands(std::function<bool()> sheetOpen)
    : m_sheetOpen(std::move(sheetOpen)), m_pManageDlg(nullptr), m_pNameDlg(nullptr),
      m_bApplying(false)
{}

CProfileCommands::~CProfileCommands() = default;

void CProfileCommands::OnMenuOpening(HMENU popup)
{
    auto* menu = dynamic_cast<COwnerDrawMenu*>(CMenu::FromHandlePermanent(popup));
    if (!menu || !IsTrayPopup(popup))
        return;
    // Before the first separator: after the tools.
    const int count = ::GetMenuItemCount(popup);
    int at = count;
    for (int i = 0; i < count; ++i) {
        if (::GetMenuState(popup, i, MF_BYPOSITION) & MF_SEPARATOR) {
            at = i;
            break;
        }
    }
    COwnerDrawMenu* profiles =
        menu->InsertPopup((UINT)at, Wide(LoadStr(IDS_PROFILES_MENU)).c_str());
    if (!profiles)
        return;

    CProfileStore store;
    std::vector<std::string> names = store.List();
    if (names.size() > MAX_PROFILES)
        names.resize(MAX_PROFILES);
    const SettingsInForce inForce = ReadSettingsInForce(nullptr);
    m_menuNames.clear();
    for (const std::string& name : names) {
        const StoredProfile profile = store.Load(name);
        std::string text = MenuText(profile.name);
        UINT flags = MF_STRING;
        if (profile.damaged) {
            text += LoadStr(IDS_PROFILE_DAMAGED_ITEM);
            flags |= MF_GRAYED;
        } else if (inForce.known &&
                   ProfileInForce(inForce.settings, profile.settings, inForce.reach)) {
            flags |= MF_CHECKED;
        }
        const UINT command = IDM_PROFILE_FIRST + (UINT)m_menuNames.size();
        profiles->AppendItem(Wide(text).c_str(), flags, command);
        m_menuNames.push_back(profile.name);
    }
    if (names.empty())
        profiles->AppendItem(Wide(LoadStr(IDS_PROFILES_NONE)).c_str(), MF_GRAYED,
                             IDM_PROFILES_NONE);
    profiles->AppendItem(L"", 0, 0);
    profiles->AppendItem(Wide(LoadStr(IDS_PROFILES_SAVE_AS)).c_str(),
                         CanSaveSettingsInForce() ? 0 : MF_GRAYED, IDM_PROFILES_SAVE_AS);
    profiles->AppendItem(Wide(LoadStr(IDS_PROFILES_MANAGE)).c_str(), 0, IDM_PROFILES_MANAGE);
}

bool CProfileCommands::OnCommand(CWnd* owner, UINT id)
{
    if (id >= IDM_PROFILE_FIRST && id <= IDM_PROFILE_LAST) {
        const size_t index = id - IDM_PROFILE_FIRST;
        // The n-th profile of the popup as it was made; a command that
        // comes from no popup of ours names none.
        if (index < m_menuNames.size()) {
            const std::string name = m_menuNames[index];
            Apply(owner ? owner->m_hWnd : nullptr, name);
        }
        return true;
    }
    switch (id) {
    case IDM_PROFILES_SAVE_AS: {
        std::string made;
        SaveSettingsInForceAs(owner, made);
        return true;
    }
    case IDM_PROFILES_MANAGE:
        Manage(owner);
        return true;
    case IDM_PROFILES_NONE:
        return true;
    }
    return false;
}

bool CProfileCommands::Apply(HWND owner, const std::string& name)
{
    // An Apply waiting behind one of its boxes is not broken into.
    if (m_bApplying)
        return false;
    if (m_sheetOpen && m_sheetOpen()) {
        g_os.MessageBoxA(owner, LoadStr(IDS_PROFILE_SHEET_OPEN).c_str(),
                         LoadStr(IDS_PROFILES_CAPTION).c_str(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    m_bApplying = true;
    bool saved = ApplyProfile(owner, CProfileStore(), name);
    m_bApplying = false;
    Changed();
    return saved;
}

bool CProfileCommands::CanSaveSettingsInForce() const
{
    return ReadSettingsInForce(nullptr).known;
}

bool CProfileCommands::SaveSettingsInForceAs(CWnd* owner, std::string& made)
{
    if (m_pNameDlg) {
        BringForward(m_pNameDlg);
        return false;
    }
    if (!CanSaveSettingsInForce())
        return false;
    HWND ownerWnd = owner ? owner->m_hWnd : nullptr;
    CProfileStore store;
    if (store.List().size() >= MAX_PROFILES) {
        g_os.MessageBoxA(ownerWnd, LoadStr(IDS_PROFILES_FULL).c_str(),
                         LoadStr(IDS_PROFILES_CAPTION).c_str(), MB_OK | MB_ICONSTOP);
        return false;
    }
    CProfileNameDlg dlg(owner, store);
    m_pNameDlg = &dlg;
    const INT_PTR result = dlg.DoModal();
    m_pNameDlg = nullptr;
    if (result != IDOK)
        return false;
    std::string reason;
    if (!SaveSettingsInForce(ownerWnd, store, dlg.GetName(), reason)) {
        g_os.MessageBoxA(ownerWnd, LoadStr(IDS_PROFILE_NOT_STORED, reason).c_str(),
                         LoadStr(IDS_PROFILES_CAPTION).c_str(), MB_OK | MB_ICONSTOP);
        return false;
    }
    made = dlg.GetName();
    Changed();
    return true;
}

void CProfileCommands::Manage(CWnd* owner)
{
    if (m_pManageDlg) {
        BringForward(m_pManageDlg);
        return;
    }
    CProfilesDlg dlg(owner, *this);
    m_pManageDlg = &dlg;
    dlg.DoModal();
    m_pManageDlg = nullptr;
}

void CProfileCommands::CloseDialogs()
{
    if (m_pNameDlg && m_pNameDlg->m_hWnd)
        m_pNameDlg->SendMessage(WM_CLOSE);
    if (m_pManageDlg && m_pManageDlg->m_hWnd)
        m_pManageDlg->SendMessage(WM_CLOSE);
}

void CProfileCommands::Changed()
{
    if (m_pManageDlg && m_pManageDlg->m_hWnd)
        m_pManageDlg->Refill();
}
