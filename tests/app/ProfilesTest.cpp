// Network profiles on a simulated machine (the driver's parameter key in the
// test registry, the card in process): the notification icon menu's
// Profiles popup as it is made when the menu opens, Apply from it through
// the Configuration page's settings writer (what the registry and the card
// hold afterwards, the restart question, a write refused half-way, a
// damaged profile, the property sheet open), the names, and the keyboard in
// the two dialogs through the dialog manager.
#include "tests/sheet/ConfTestSupport.h"

#include "adapter/AdapterState.h"
#include "adapter/RegKey.h"
#include "app/CProfileCommands.h"
#include "app/CProfileNameDlg.h"
#include "app/CProfileStore.h"
#include "app/CProfilesDlg.h"
#include "app/ProfileApply.h"
#include "res/resource.h"
#include "widgets/COwnerDrawMenu.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace conftest;

namespace {

const char* const kRestart = "You must restart your computer before the new setting take effect."
                             "\n\nDo you want to restart your computer now ?\n\n";
const char* const kSheetOpen = "Close Corvane Properties before applying a profile: one of them "
                               "would undo the other.";

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// One item of the Profiles popup as the user sees it.
struct MenuRow
{
    std::string text;
    UINT id;
    bool checked, grayed;
};

// The office: the settings the machine starts with.
ProfileSettings Office()
{
    ProfileSettings office;
    office.essid = "Corvane";
    return office;
}

// The home network: every setting other than the defaults the office keeps.
ProfileSettings Home()
{
    ProfileSettings home;
    home.networkType = 0;
    home.essid = "Home";
    home.carrierSet = 0;
    home.roaming = false;
    home.security = true;
    home.securityId = "key1";
    home.powerSaving = 1;
    home.bssid = "00A0C5000004";
    home.retryLimit = 3;
    home.roamingThreshold = 60;
    return home;
}

class Profiles : public ::testing::Test
{
protected:
    void Boot(int platform, Bus bus = PCMCIA)
    {
        commands.reset();
        machine.reset();
        machine.reset(new Machine(platform, bus));
        os.boxes.clear();
        commands.reset(new CProfileCommands([this] { return sheetOpen; }));
    }
    void TearDown() override
    {
        commands.reset();
        machine.reset();
    }

    void Save(const std::string& name, const ProfileSettings& settings)
    {
        std::string reason;
        ASSERT_TRUE(CProfileStore().Save(name, settings, reason)) << name << ": " << reason;
    }
    std::string ProfileKey(const std::string& name) const
    {
        return CProfileStore().KeyPath() + "\\" + name;
    }

    // Opens the notification icon's menu as the tool window sees it open and
    // reads the Profiles popup; `place` gets the popup item's position and text.
    std::vector<MenuRow> OpenMenu(std::string* place = nullptr)
    {
        std::vector<MenuRow> rows;
        COwnerDrawMenu menu;
        EXPECT_TRUE(menu.LoadFromResource(IDR_TRAY_MENU));
        HMENU popup = menu.GetSubMenu(0);
        commands->OnMenuOpening(popup);
        for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
            MENUITEMINFOA item = {};
            item.cbSize = kMenuItemInfoSize;
            item.fMask = MIIM_SUBMENU | MIIM_DATA;
            ::GetMenuItemInfoA(popup, (UINT)i, TRUE, &item);
            if (!item.hSubMenu || !item.dwItemData)
                continue;
            const std::string text = Narrow(reinterpret_cast<MenuItemData*>(item.dwItemData)->text);
            if (place)
                *place = std::to_string(i) + " " + text;
            for (int j = 0; j < ::GetMenuItemCount(item.hSubMenu); ++j) {
                MENUITEMINFOA sub = {};
                sub.cbSize = kMenuItemInfoSize;
                sub.fMask = MIIM_ID | MIIM_STATE | MIIM_DATA;
                ::GetMenuItemInfoA(item.hSubMenu, (UINT)j, TRUE, &sub);
                auto* data = reinterpret_cast<MenuItemData*>(sub.dwItemData);
                rows.push_back({data ? Narrow(data->text) : std::string("?"), sub.wID,
                                (sub.fState & MFS_CHECKED) != 0, (sub.fState & MFS_GRAYED) != 0});
            }
        }
        menu.DestroyItems();
        return rows;
    }
    // The profiles of the popup, a "*" after the checked and a "-" after
    // the disabled.
    std::vector<std::string> Shown()
    {
        std::vector<std::string> shown;
        for (const MenuRow& row : OpenMenu())
            if (row.id >= IDM_PROFILE_FIRST && row.id <= IDM_PROFILE_LAST)
                shown.push_back(row.text + (row.checked ? "*" : "") + (row.grayed ? "-" : ""));
        return shown;
    }
    // Chooses a profile of the popup by its text.
    void Choose(const std::string& text)
    {
        for (const MenuRow& row : OpenMenu())
            if (row.text == text) {
                EXPECT_TRUE(commands->OnCommand(nullptr, row.id));
                return;
            }
        ADD_FAILURE() << "no item " << text;
    }

    // Each setting as the driver's key holds it, the page's default where
    // it holds none.
    std::vector<std::string> Stored() const
    {
        std::vector<std::string> stored;
        for (const ProfileField& field : ProfileFields()) {
            std::string value = machine->Value(field.valueName);
            if (value == "<none>")
                value = ProfileValueText(field, ProfileSettings());
            stored.push_back(std::string(field.valueName) + "=" + value);
        }
        return stored;
    }
    static std::vector<std::string> Texts(const ProfileSettings& settings)
    {
        std::vector<std::string> texts;
        for (const ProfileField& field : ProfileFields())
            texts.push_back(std::string(field.valueName) + "=" + ProfileValueText(field, settings));
        return texts;
    }
    // What the running card holds of the settings it takes at once.
    std::string Card() const
    {
        const auto& w = machine->card.Fw().World();
        char bssid[13];
        snprintf(bssid, sizeof(bssid), "%02X%02X%02X%02X%02X%02X", w.preferBssid[0],
                 w.preferBssid[1], w.preferBssid[2], w.preferBssid[3], w.preferBssid[4],
                 w.preferBssid[5]);
        return "roaming " + std::to_string(w.roaming) + ", retry " + std::to_string(w.txRetry) +
               ", sensitivity " + std::to_string(w.roamingThreshold) + ", power saving " +
               std::to_string(w.psMode) + ", prefer " + bssid;
    }

    FakeOs os;
    std::unique_ptr<Machine> machine;
    std::unique_ptr<CProfileCommands> commands;
    bool sheetOpen = false;
};

// Save, list, apply and back again, on Windows NT and Windows 98: afterwards
// the driver's key and the card hold the profile's settings, the profile is
// checked, and the settings before the first Apply are kept once.
TEST_F(Profiles, SaveListApplyAndSwitchBack)
{
    for (int platform : {PLATFORM_NT_WORKSTATION, PLATFORM_WIN9X}) {
        SCOPED_TRACE(platform == PLATFORM_WIN9X ? "Windows 98" : "Windows NT");
        Boot(platform);
        std::string reason;
        ASSERT_TRUE(SaveSettingsInForce(nullptr, CProfileStore(), "Office", reason)) << reason;
        const ProfileSettings office = Office();
        EXPECT_EQ(Texts(office), Texts(CProfileStore().Load("Office").settings));
        Save("home", Home());

        std::string place;
        std::vector<std::string> texts;
        for (const MenuRow& row : OpenMenu(&place))
            texts.push_back(row.text + (row.checked ? "*" : "") + (row.grayed ? "-" : ""));
        EXPECT_EQ("5 Profiles", place)
            << "after the tools and Link History, before the first separator";
        EXPECT_EQ((std::vector<std::string>{"home", "Office*", "-", "Save Current Settings As...",
                                            "Manage Profiles..."}),
                  texts);

        const std::string card = Card();
        os.answers = {IDCANCEL};
        Choose("home");
        EXPECT_EQ(Texts(Home()), Stored());
        DWORD type = 0;
        machine->Value("TxRetry", &type);
        EXPECT_EQ(platform == PLATFORM_WIN9X ? (DWORD)REG_SZ : (DWORD)REG_DWORD, type);
        EXPECT_EQ("roaming 0, retry 3, sensitivity 60, power saving 1, prefer 00A0C5000004",
                  Card());
        EXPECT_EQ(std::vector<std::string>{kRestart}, os.Texts());
        EXPECT_EQ((std::vector<std::string>{"home*", "Office", "Previous settings"}), Shown());
        EXPECT_EQ(Texts(office), Texts(CProfileStore().Load("Previous settings").settings));

        os.boxes.clear();
        os.answers = {IDCANCEL};
        Choose("Office");
        EXPECT_EQ(Texts(office), Stored());
        EXPECT_EQ(card, Card());
        EXPECT_EQ(std::vector<std::string>{kRestart}, os.Texts());
        EXPECT_EQ((std::vector<std::string>{"home", "Office*", "Previous settings*"}), Shown());
    }
}

// The restart question comes where a saved setting takes effect only when
// the card starts again; what the card takes at once asks nothing.
TEST_F(Profiles, RestartQuestionOnlyWhereASettingNeedsIt)
{
    struct Case
    {
        const char* what;
        std::function<void(ProfileSettings&)> change;
        bool asks;
    };
    const Case cases[] = {
        {"roaming", [](ProfileSettings& s) { s.roaming = false; }, false},
        {"retry limit", [](ProfileSettings& s) { s.retryLimit = 20; }, false},
        {"sensitivity", [](ProfileSettings& s) { s.roamingThreshold = 70; }, false},
        {"power saving", [](ProfileSettings& s) { s.powerSaving = 1; }, false},
        {"domain name", [](ProfileSettings& s) { s.essid = "Home"; }, true},
        {"network type", [](ProfileSettings& s) { s.networkType = 0; }, true},
        {"carrier set", [](ProfileSettings& s) { s.carrierSet = 2; }, true},
        {"security", [](ProfileSettings& s) { s.security = true; }, true},
        {"security ID", [](ProfileSettings& s) { s.securityId = "key1"; }, true},
        {"preferred AP", [](ProfileSettings& s) { s.bssid = "00A0C5000004"; }, true},
    };
    for (int platform : {PLATFORM_NT_WORKSTATION, PLATFORM_WIN9X}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(platform == PLATFORM_WIN9X ? "Windows 98: " : "NT: ") +
                         c.what);
            Boot(platform);
            ProfileSettings profile = Office();
            c.change(profile);
            Save("Changed", profile);
            os.answers = {IDCANCEL};
            EXPECT_TRUE(commands->Apply(nullptr, "Changed"));
            EXPECT_EQ(Texts(profile), Stored());
            EXPECT_EQ(c.asks ? std::vector<std::string>{kRestart} : std::vector<std::string>{},
                      os.Texts());
            EXPECT_EQ((std::vector<std::string>{"Changed*", "Previous settings"}), Shown());
        }
    }
}

// A registry write refused in the middle of an Apply: the user is told what
// was saved and what was not, the restart is offered for what was saved,
// and the profile is not checked.
TEST_F(Profiles, ARefusedWriteSaysWhatWasAppliedAndLeavesTheProfileUnchecked)
{
    Boot(PLATFORM_NT_WORKSTATION);
    Save("Previous settings", Office());
    ProfileSettings lab = Office();
    lab.essid = "Lab";
    lab.carrierSet = 2;
    lab.roaming = false;
    Save("Lab", lab);
    os.refusedValues = {"CarrierSet"};
    os.answers = {IDOK, IDOK, IDCANCEL};
    EXPECT_FALSE(commands->Apply(nullptr, "Lab"));
    std::vector<std::string> texts = os.Texts();
    ASSERT_EQ(3u, texts.size()) << "the registry's error, what was saved, the restart";
    EXPECT_EQ("These settings could not be saved: Carrier Set.\n\nThese settings were saved: "
              "Domain Name (ESSID), Roaming.",
              texts[1]);
    EXPECT_EQ(kRestart, texts[2]);
    EXPECT_EQ("Lab", machine->Value("ESSID"));
    EXPECT_EQ("0", machine->Value("Roaming"));
    EXPECT_EQ("<none>", machine->Value("CarrierSet"));
    EXPECT_EQ((std::vector<std::string>{"Lab", "Previous settings"}), Shown());
}

// A damaged profile is shown so, disabled, and refused whole: nothing of it
// is written, not even the settings kept before an Apply.
TEST_F(Profiles, ADamagedProfileIsRefusedWhole)
{
    struct Case
    {
        const char* what;
        std::function<void(RegistryFixture&, const std::string&)> damage;
        const char* reason;
    };
    const Case cases[] = {
        {"a value missing",
         [](RegistryFixture&, const std::string& key) {
             RegKey k;
             ASSERT_EQ(ERROR_SUCCESS, k.Open(HKEY_CURRENT_USER, key, KEY_SET_VALUE));
             ASSERT_EQ(ERROR_SUCCESS, ::RegDeleteValueA(k, "TxRetry"));
         },
         "Transmission Retry Limit is missing"},
        {"an ESSID of 33 characters",
         [](RegistryFixture& reg, const std::string& key) {
             reg.SetString(HKEY_CURRENT_USER, key, "ESSID", std::string(33, 'e'));
         },
         "Domain Name (ESSID) is not valid"},
        {"carrier set 9",
         [](RegistryFixture& reg, const std::string& key) {
             reg.SetDword(HKEY_CURRENT_USER, key, "CarrierSet", 9);
         },
         "Carrier Set is not valid"},
        {"a number that is no number",
         [](RegistryFixture& reg, const std::string& key) {
             reg.SetString(HKEY_CURRENT_USER, key, "RoamingThreshold", "6O");
         },
         "Roaming Sensitivity is not valid"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Boot(PLATFORM_NT_WORKSTATION);
        // A name with "%2" in it stays as it is in the message.
        Save("Home %2", Home());
        c.damage(machine->reg, ProfileKey("Home %2"));
        EXPECT_EQ(std::vector<std::string>{"Home %2 (damaged)-"}, Shown());

        const std::vector<std::string> before = Stored();
        const std::string card = Card();
        os.boxes.clear();
        commands->OnCommand(nullptr, IDM_PROFILE_FIRST);
        ASSERT_EQ(1u, os.boxes.size());
        EXPECT_EQ("The profile \"Home %2\" is damaged and cannot be applied: " +
                      std::string(c.reason) + ".",
                  os.boxes[0].text);
        EXPECT_EQ("Network Profiles", os.boxes[0].caption);
        EXPECT_EQ((UINT)(MB_OK | MB_ICONSTOP), os.boxes[0].style);
        EXPECT_EQ(before, Stored());
        EXPECT_EQ(card, Card());
        EXPECT_FALSE(CProfileStore().Exists("Previous settings"));
    }
}

// While the property sheet is open no profile is applied: it would undo the
// sheet's settings or they its.
TEST_F(Profiles, NoApplyWhileThePropertySheetIsOpen)
{
    Boot(PLATFORM_NT_WORKSTATION);
    Save("Home", Home());
    sheetOpen = true;
    const std::vector<std::string> before = Stored();
    Choose("Home");
    ASSERT_EQ(std::vector<std::string>{kSheetOpen}, os.Texts());
    EXPECT_EQ((UINT)(MB_OK | MB_ICONEXCLAMATION), os.boxes[0].style);
    EXPECT_EQ(before, Stored());
    EXPECT_FALSE(CProfileStore().Exists("Previous settings"));
}

// Names that differ only in letter case are one; "Previous settings" is
// kept once and never overwritten; with 16 profiles and none of that name
// the Apply stops before it writes anything.
TEST_F(Profiles, NamesCollideWithoutRegardToCaseAndSixteenIsTheMost)
{
    Boot(PLATFORM_NT_WORKSTATION);
    CProfileStore store;
    std::string reason;
    ASSERT_TRUE(store.Save("Office", Office(), reason));
    EXPECT_FALSE(store.Save("OFFICE", Home(), reason))
        << "an existing profile is never overwritten";
    EXPECT_TRUE(store.Exists("office"));
    EXPECT_EQ(std::vector<std::string>{"Office"}, store.List());
    EXPECT_EQ(Texts(Office()), Texts(store.Load("oFFICE").settings));

    for (int i = 1; i < 16; ++i)
        Save("Profile " + std::to_string(i), Home());
    ASSERT_EQ(16u, store.List().size());
    const std::vector<std::string> before = Stored();
    commands->Apply(nullptr, "Profile 1");
    EXPECT_EQ((std::vector<std::string>{
                  "There are 16 profiles: delete one, so that the settings in force can be kept "
                  "as \"Previous settings\" before this profile is applied."}),
              os.Texts());
    EXPECT_EQ(before, Stored());

    // With "Previous settings" among the 16 the Apply goes ahead and keeps it.
    ASSERT_TRUE(store.Delete("Profile 15", reason)) << reason;
    ProfileSettings kept;
    kept.essid = "Kept";
    Save("previous SETTINGS", kept);
    os.boxes.clear();
    os.answers = {IDCANCEL, IDCANCEL};
    EXPECT_TRUE(commands->Apply(nullptr, "Profile 1"));
    EXPECT_TRUE(commands->Apply(nullptr, "Office"));
    EXPECT_EQ(16u, store.List().size());
    EXPECT_EQ(Texts(kept), Texts(store.Load("Previous settings").settings));

    // One that no longer reads back whole is no way back: the next Apply
    // keeps the settings in force in its place.
    {
        RegKey k;
        ASSERT_EQ(ERROR_SUCCESS, k.Open(HKEY_CURRENT_USER, store.KeyPath() + "\\Previous settings",
                                        KEY_SET_VALUE));
        ASSERT_EQ(ERROR_SUCCESS, ::RegDeleteValueA(k, "TxRetry"));
    }
    ASSERT_TRUE(store.Load("Previous settings").damaged);
    // One the registry will not let go stays, and stops no Apply.
    os.refusedKeyDeletes = {"Previous settings"};
    os.boxes.clear();
    os.answers = {IDCANCEL};
    EXPECT_TRUE(commands->Apply(nullptr, "Profile 1"));
    EXPECT_EQ(std::vector<std::string>{kRestart}, os.Texts());
    EXPECT_TRUE(store.Load("Previous settings").damaged);
    os.refusedKeyDeletes.clear();
    os.boxes.clear();
    os.answers = {IDCANCEL};
    EXPECT_TRUE(commands->Apply(nullptr, "Office"));
    EXPECT_EQ(std::vector<std::string>{kRestart}, os.Texts());
    const StoredProfile renewed = store.Load("Previous settings");
    EXPECT_FALSE(renewed.damaged) << renewed.reason;
    EXPECT_EQ(Texts(Home()), Texts(renewed.settings));
    EXPECT_EQ(16u, store.List().size());
}

// A rename leaves the profile under exactly one name, with its settings: the
// new one, or, where the registry refuses a step, the old one with the
// system's reason told. The registry knows a key whatever the case of its
// letters, those beyond ASCII too.
TEST_F(Profiles, RenameLeavesTheProfileUnderOneName)
{
    const struct
    {
        const char* what;
        const char* from;
        const char* to;
        std::vector<std::string> refusedDeletes, refusedValues;
        bool renamed;
    } cases[] = {
        {"another name", "Office", "Lab", {}, {}, true},
        {"a change of case", "Office", "OFFICE", {}, {}, true},
        {"a change of case beyond ASCII", "B\xFCro", "B\xDCRO", {}, {}, true},
        {"the new key refuses a value", "Office", "Lab", {}, {"TxRetry"}, false},
        {"the old key cannot be deleted", "Office", "Lab", {"Office"}, {}, false},
        {"a change of case, the old key cannot be deleted",
         "Office",
         "OFFICE",
         {"Office"},
         {},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Boot(PLATFORM_NT_WORKSTATION);
        Save(c.from, Office());
        os.refusedKeyDeletes = c.refusedDeletes;
        os.refusedValues = c.refusedValues;
        std::string reason;
        EXPECT_EQ(c.renamed, CProfileStore().Rename(c.from, c.to, reason)) << reason;
        EXPECT_EQ(c.renamed, reason.empty()) << reason;
        os.refusedKeyDeletes.clear();
        os.refusedValues.clear();
        const std::string name = c.renamed ? c.to : c.from;
        EXPECT_EQ(std::vector<std::string>{name}, CProfileStore().List());
        EXPECT_EQ(Texts(Office()), Texts(CProfileStore().Load(name).settings));
    }
}

// --- the keyboard in the dialogs, through the dialog manager -------------

// Runs a modal dialog and, inside its modal loop, a script of steps: each
// step runs after the keys the one before it typed have been handled.
template <class Dialog> class Scripted : public Dialog
{
public:
    using Dialog::Dialog;
    std::vector<std::function<void(Scripted&)>> steps;

    // A key typed where the focus is, as the keyboard gives it.
    void Type(UINT vk, char ch, bool alt = false)
    {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[VK_MENU] = alt ? 0x80 : 0;
        ::SetKeyboardState(keys);
        LPARAM lParam = 1 | (::MapVirtualKeyA(vk, 0) << 16) | (alt ? (1 << 29) : 0);
        // The modal loop translates a key into its character.
        HWND focus = ::GetFocus();
        if (vk) {
            ::PostMessageA(focus, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, lParam);
            ::PostMessageA(focus, alt ? WM_SYSKEYUP : WM_KEYUP, vk, lParam | 0xC0000000);
        } else {
            ::PostMessageA(focus, WM_CHAR, (WPARAM)(BYTE)ch, lParam);
        }
    }
    int FocusId() const { return ::GetDlgCtrlID(::GetFocus()); }

protected:
    BOOL OnInitDialog() override
    {
        BOOL result = Dialog::OnInitDialog();
        this->PostMessage(WM_APP);
        return result;
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_APP) {
            // The next step comes once the keys typed, and the characters
            // the modal loop makes of them, are handled.
            MSG key;
            if (!::PeekMessageA(&key, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE)) {
                // A dialog the script did not end ends here, and the test
                // fails on its result rather than waiting for ever.
                if (m_next == steps.size()) {
                    this->EndDialog(-1);
                    return 0;
                }
                steps[m_next++](*this);
            }
            if (this->m_hWnd)
                this->PostMessage(WM_APP);
            return 0;
        }
        return Dialog::WindowProc(msg, wParam, lParam);
    }

private:
    size_t m_next = 0;
};

TEST_F(Profiles, KeyboardInTheNetworkProfilesDialog)
{
    Boot(PLATFORM_NT_WORKSTATION);
    Save("Home", Home());
    Save("Office", Office());
    using Dlg = Scripted<CProfilesDlg>;
    for (UINT end : {(UINT)VK_ESCAPE, (UINT)VK_RETURN}) {
        SCOPED_TRACE(end == VK_ESCAPE ? "Escape" : "Enter");
        os.boxes.clear();
        os.answers = {IDNO};
        Dlg dlg(nullptr, *commands);
        std::vector<int> focus;
        dlg.steps = {
            [&](Dlg& d) {
                focus.push_back(d.FocusId());
                d.Type(VK_TAB, 0);
            },
            [&](Dlg& d) {
                focus.push_back(d.FocusId());
                d.Type(VK_TAB, 0);
            },
            [&](Dlg& d) {
                focus.push_back(d.FocusId());
                d.Type('D', 'd', true);
            },
            [&](Dlg& d) {
                focus.push_back(d.FocusId());
                d.Type('P', 'p', true);
            },
            [&](Dlg& d) {
                focus.push_back(d.FocusId());
                d.Type(end, 0);
            },
        };
        EXPECT_EQ(end == VK_ESCAPE ? IDCANCEL : IDOK, dlg.DoModal());
        EXPECT_EQ((std::vector<int>{IDC_PROFILES_LIST, IDC_PROFILES_APPLY, IDC_PROFILES_NEW,
                                    IDC_PROFILES_DELETE, IDC_PROFILES_LIST}),
                  focus)
            << "the list first, Tab through the buttons, Alt+D clicks Delete, Alt+P to the list";
        EXPECT_EQ(std::vector<std::string>{"Delete the profile \"Home\"?"}, os.Texts())
            << "Alt+D asks about the selected profile";
        EXPECT_TRUE(CProfileStore().Exists("Home")) << "No keeps it";
    }
}

TEST_F(Profiles, KeyboardInTheProfileNameDialog)
{
    Boot(PLATFORM_NT_WORKSTATION);
    Save("Office", Office());
    using Dlg = Scripted<CProfileNameDlg>;
    CProfileStore store;
    Dlg dlg(nullptr, store);
    std::vector<int> focus;
    auto typeText = [](Dlg& d, const char* text) {
        for (const char* c = text; *c; ++c)
            d.Type(0, *c);
    };
    dlg.steps = {
        [&](Dlg& d) {
            focus.push_back(d.FocusId());
            d.Type(VK_TAB, 0);
        },
        [&](Dlg& d) {
            focus.push_back(d.FocusId());
            d.Type('N', 'n', true);
        },
        [&](Dlg& d) {
            focus.push_back(d.FocusId());
            typeText(d, " office ");
            d.Type(VK_RETURN, 0);
        },
        [&](Dlg& d) {
            // Refused: the dialog stays, on the field.
            focus.push_back(d.FocusId());
            typeText(d, "Lab");
            d.Type(VK_RETURN, 0);
        },
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ((std::vector<int>{IDC_PROFILE_NAME, IDOK, IDC_PROFILE_NAME, IDC_PROFILE_NAME}),
              focus);
    EXPECT_EQ(std::vector<std::string>{"There is already a profile named \"office\"."}, os.Texts());
    EXPECT_EQ("Lab", dlg.GetName());

    Dlg cancelled(nullptr, store);
    cancelled.steps = {[&](Dlg& d) { d.Type(VK_ESCAPE, 0); }};
    EXPECT_EQ(IDCANCEL, cancelled.DoModal());
}

} // namespace
