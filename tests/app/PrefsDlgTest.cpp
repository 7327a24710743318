// PrefsDlgTest.cpp - the Preferences dialog: its boxes from the
// preferences, OK storing them in the application object, the profile and
// the Run key, Cancel storing nothing; and the tool window applying the
// taskbar choice.
#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "app/CAboutDlg.h"
#include "app/CPrefsDlg.h"
#include "res/resource.h"
#include "tests/support/ToolScenarios.h"
#include "tests/support/ToolTestSupport.h"

#include <gtest/gtest.h>

namespace {

const char kProgram[] = "C:\\Program Files\\Corvane\\corvane.exe";

std::string RunValue()
{
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, RUN_KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "(no key)";
    char data[MAX_PATH] = "";
    DWORD size = sizeof(data) - 1, type = 0;
    LONG rc = ::RegQueryValueExA(key, RUN_VALUE_NAME, nullptr, &type, (BYTE*)data, &size);
    ::RegCloseKey(key);
    if (rc != ERROR_SUCCESS)
        return "(none)";
    return type == REG_SZ ? data : "(not text)";
}

void SetRunValue(const char* data)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, RUN_KEY_PATH, 0, nullptr, 0,
                                               KEY_ALL_ACCESS, nullptr, &key, nullptr));
    if (data)
        ::RegSetValueExA(key, RUN_VALUE_NAME, 0, REG_SZ, (const BYTE*)data, lstrlenA(data) + 1);
    else
        ::RegDeleteValueA(key, RUN_VALUE_NAME);
    ::RegCloseKey(key);
}

BOOL CALLBACK CountAboutBoxes(HWND wnd, LPARAM count)
{
    if (CWnd::GetWindowText(wnd) == "About")
        ++*(int*)count;
    return TRUE;
}

class Prefs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetRunValue(nullptr);
        lstrcpynA(app.m_szProgramPath, kProgram, sizeof(app.m_szProgramPath));
    }
    void TearDown() override
    {
        dlg.reset();
        SetRunValue(nullptr);
        ResetAdapterState();
    }
    void Open()
    {
        dlg.reset(new CPrefsDlg);
        ASSERT_TRUE(dlg->Create((HWND) nullptr));
    }
    bool Checked(int id) const { return ::IsDlgButtonChecked(*dlg, id) == BST_CHECKED; }
    void Check(int id, bool on) { ::CheckDlgButton(*dlg, id, on ? BST_CHECKED : BST_UNCHECKED); }
    void Command(int id) { dlg->SendMessage(WM_COMMAND, id); }
    DWORD Stored(const char* name)
    {
        return ReadDword(HKEY_CURRENT_USER, app.PreferencesKey(), name);
    }

    FakeOs os;
    TestApp app;
    std::unique_ptr<CPrefsDlg> dlg;
};

TEST_F(Prefs, BoxesShowThePreferences)
{
    struct Case
    {
        DWORD autoRun, tray, message, beep;
    };
    for (const Case& c : {Case{1, 0, 1, 0}, Case{0, 1, 0, 1}}) {
        app.AutoRun = c.autoRun;
        app.EnableTrayIcon = c.tray;
        GetAdapterState().AlertMessage = c.message;
        GetAdapterState().AlertBeep = c.beep;
        Open();
        EXPECT_EQ(c.autoRun != 0, Checked(IDC_PREFS_AUTORUN));
        EXPECT_EQ(c.tray != 0, Checked(IDC_PREFS_TRAY_ICON));
        EXPECT_EQ(c.message != 0, Checked(IDC_PREFS_ALERT_MESSAGE));
        EXPECT_EQ(c.beep != 0, Checked(IDC_PREFS_ALERT_BEEP));
        EXPECT_EQ("Preferences", dlg->GetWindowText());
    }
}

TEST_F(Prefs, OkStoresThePreferencesAndTheRunEntry)
{
    OpenedCard card(kInfrastructure); // discovery found the driver's key
    app.AutoRun = 0;
    Open();
    Check(IDC_PREFS_AUTORUN, true);
    Check(IDC_PREFS_TRAY_ICON, false);
    Check(IDC_PREFS_ALERT_MESSAGE, true);
    Check(IDC_PREFS_ALERT_BEEP, true);
    Command(IDOK);
    EXPECT_FALSE(dlg->IsWindow());
    EXPECT_EQ(1u, app.AutoRun);
    EXPECT_EQ(0u, app.EnableTrayIcon);
    EXPECT_EQ(1u, GetAdapterState().AlertMessage);
    EXPECT_EQ(1u, GetAdapterState().AlertBeep);
    EXPECT_EQ(1u, Stored("AutoRun"));
    EXPECT_EQ(0u, Stored("EnableTrayIcon"));
    EXPECT_EQ(1u, Stored("AlertMessage"));
    EXPECT_EQ(1u, Stored("AlertBeep"));
    EXPECT_EQ(kProgram, RunValue());
    EXPECT_TRUE(os.boxes.empty());

    // Unticked again: the entry goes; a missing entry is no error.
    for (int round = 0; round < 2; ++round) {
        Open();
        Check(IDC_PREFS_AUTORUN, false);
        Command(IDOK);
        EXPECT_EQ("(none)", RunValue()) << round;
        EXPECT_EQ(0u, Stored("AutoRun"));
    }
    EXPECT_TRUE(os.boxes.empty());
}

TEST_F(Prefs, AfterAFailedDiscoveryTheChoiceIsStoredButNoRunEntryWritten)
{
    ResetAdapterState();
    ASSERT_FALSE(GetAdapterLink().DriverKeyValid);
    app.AutoRun = 0;
    Open();
    Check(IDC_PREFS_AUTORUN, true);
    Command(IDOK);
    EXPECT_EQ(1u, app.AutoRun);
    EXPECT_EQ(1u, Stored("AutoRun"));
    EXPECT_EQ("(none)", RunValue());
    EXPECT_TRUE(os.boxes.empty());
}

TEST_F(Prefs, CancelStoresNothing)
{
    OpenedCard card(kInfrastructure);
    const std::pair<UINT, const char*> ways[] = {
        {WM_COMMAND, "Cancel"}, {WM_CLOSE, "close box"}, {IDCANCEL, "Escape"}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.second);
        app.AutoRun = 0;
        app.EnableTrayIcon = 1;
        GetAdapterState().AlertMessage = 0;
        GetAdapterState().AlertBeep = 0;
        Open();
        Check(IDC_PREFS_AUTORUN, true);
        Check(IDC_PREFS_TRAY_ICON, false);
        Check(IDC_PREFS_ALERT_MESSAGE, true);
        Check(IDC_PREFS_ALERT_BEEP, true);
        if (way.first == WM_CLOSE) {
            dlg->SendMessage(WM_CLOSE);
            PumpMessages(); // the dialog manager posts its Cancel
        } else {
            Command(way.first == WM_COMMAND ? IDC_PREFS_CANCEL : IDCANCEL);
        }
        EXPECT_FALSE(dlg->IsWindow());
        EXPECT_EQ(0u, app.AutoRun);
        EXPECT_EQ(1u, app.EnableTrayIcon);
        EXPECT_EQ(0u, GetAdapterState().AlertMessage);
        EXPECT_EQ(0u, GetAdapterState().AlertBeep);
        EXPECT_EQ(0xDEADu, Stored("AutoRun"));
        EXPECT_EQ("(none)", RunValue());
    }
}

TEST_F(Prefs, HelpAsksForThePreferencesKeyword)
{
    Open();
    Command(IDC_PREFS_HELP);
    EXPECT_EQ(std::vector<std::string>{"Preferences"}, os.helpKeys);
    EXPECT_TRUE(dlg->IsWindow());
}

// The tool window runs Preferences modally; a hook queued before the command
// acts inside the dialog's modal loop, as the user would.
class PrefsFromToolWindow : public ToolWindowFixture
{
protected:
    // Opens Preferences, clicks the taskbar box as the user would to set it
    // (or leaves it as shown; kRetick unticks a ticked box and ticks it
    // again) and ends the dialog; returns whether the box was shown ticked.
    bool RunPreferences(bool trayIcon, UINT message = WM_COMMAND, UINT button = IDOK)
    {
        return RunPreferencesWith(trayIcon ? kTick : kUntick, message, button);
    }
    enum TrayBox
    {
        kLeave,
        kTick,
        kUntick,
        kRetick
    };
    bool RunPreferencesWith(TrayBox box, UINT message = WM_COMMAND, UINT button = IDOK)
    {
        bool shownTicked = false;
        tool->hook = [this, box, button, &shownTicked] {
            CPrefsDlg* prefs = OpenWindowOf<CPrefsDlg>();
            ASSERT_TRUE(prefs && prefs->m_hWnd);
            shownTicked = ::IsDlgButtonChecked(*prefs, IDC_PREFS_TRAY_ICON) == BST_CHECKED;
            HWND tray = ::GetDlgItem(*prefs, IDC_PREFS_TRAY_ICON);
            int clicks = box == kLeave    ? 0
                         : box == kRetick ? (shownTicked ? 2 : 1)
                                          : (shownTicked != (box == kTick));
            for (int i = 0; i < clicks; ++i)
                ::SendMessageA(tray, BM_CLICK, 0, 0);
            if (box != kLeave)
                ASSERT_EQ(box == kUntick ? BST_UNCHECKED : BST_CHECKED,
                          ::IsDlgButtonChecked(*prefs, IDC_PREFS_TRAY_ICON));
            ::SendMessageA(*prefs, WM_COMMAND, button, 0);
        };
        tool->PostMessage(TestToolDlg::WM_RUN_HOOK);
        tool->SendMessage(message, IDM_PREFERENCES);
        EXPECT_EQ(nullptr, OpenWindowOf<CPrefsDlg>());
        return shownTicked;
    }
    DWORD StoredTrayChoice()
    {
        return ReadDword(HKEY_CURRENT_USER, app.PreferencesKey(), "EnableTrayIcon");
    }
};

TEST_F(PrefsFromToolWindow, TaskbarBoxHidesAndShowsTheIcon)
{
    Start();
    os.shell.clear();
    RunPreferences(false);
    ASSERT_EQ(1u, os.shell.size());
    EXPECT_EQ((DWORD)NIM_DELETE, os.shell[0].message);
    EXPECT_FALSE(os.IconShown());
    EXPECT_TRUE(tool->GetTrayIcon().IsHidden());
    tool->Tick();
    EXPECT_EQ(1u, os.shell.size()) << "a hidden icon is not updated";

    RunPreferences(true, WM_SYSCOMMAND);
    ASSERT_EQ(2u, os.shell.size());
    EXPECT_EQ((DWORD)NIM_ADD, os.shell[1].message);
    EXPECT_TRUE(os.IconShown());
    EXPECT_FALSE(tool->GetTrayIcon().IsHidden());

    // Cancel leaves the icon as it is.
    RunPreferences(false, WM_COMMAND, IDC_PREFS_CANCEL);
    EXPECT_TRUE(os.IconShown());
    EXPECT_EQ(2u, os.shell.size());
    EXPECT_TRUE(os.boxes.empty());
}

TEST_F(PrefsFromToolWindow, IconTheShellRefusesIsReportedAndTheStoredChoiceKept)
{
    os.shellAnswer = FALSE;
    Start();
    ASSERT_EQ(1u, os.boxes.size());
    EXPECT_EQ("Failed to create tray icon", os.boxes[0].text);
    EXPECT_EQ((UINT)MB_ICONSTOP, os.boxes[0].style);
    EXPECT_EQ(1u, app.EnableTrayIcon) << "the refusal counts for this run only";
    EXPECT_FALSE(os.IconShown());
    os.shell.clear();
    tool->Tick();
    EXPECT_TRUE(os.shell.empty()) << "no icon, no shell calls";
    tool->SendMessage(WM_CLOSE);
    EXPECT_EQ(1u, app.EnableTrayIcon) << "the user's choice is what start-up writes back";
}

// After the shell refused the icon (when it was added at start-up, or put
// back after Preferences hid it), Preferences shows the taskbar box as the
// stored choice, on. Left so, OK keeps it and asks the shell nothing;
// ticked again by the user, that one OK asks the shell again; unticked, OK
// stores the icon off and asks nothing.
TEST_F(PrefsFromToolWindow, AfterARefusalOneOkTriesAgainOrStoresTheIconOff)
{
    struct Case
    {
        const char* what;
        bool refusedWhenHiddenIconReturns; // else refused at start-up
        TrayBox box;
        BOOL shellAnswer;
        bool asksShell, shown;
        DWORD stored;
    } cases[] = {
        {"start-up, OK as shown", false, kLeave, TRUE, false, false, 1},
        {"start-up, ticked again, refused again", false, kRetick, FALSE, true, false, 1},
        {"start-up, ticked again, accepted", false, kRetick, TRUE, true, true, 1},
        {"start-up, unticked", false, kUntick, TRUE, false, false, 0},
        {"shown again, OK as shown", true, kLeave, TRUE, false, false, 1},
        {"shown again, ticked again, accepted", true, kRetick, TRUE, true, true, 1},
        {"shown again, unticked", true, kUntick, TRUE, false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        app.EnableTrayIcon = 1;
        if (c.refusedWhenHiddenIconReturns) {
            os.shellAnswer = TRUE;
            Start();
            RunPreferences(false);
            ASSERT_TRUE(tool->GetTrayIcon().IsHidden());
            os.shellAnswer = FALSE;
            os.boxes.clear();
            EXPECT_FALSE(RunPreferences(true)) << "shown off after hiding";
            ASSERT_EQ(std::vector<std::string>{"Failed to create tray icon"}, os.Texts())
                << "a refused return is told like a refused start";
            EXPECT_TRUE(tool->GetTrayIcon().IsHidden());
        } else {
            os.shellAnswer = FALSE;
            Start();
        }
        ASSERT_FALSE(os.IconShown());
        os.shell.clear();
        os.boxes.clear();
        os.shellAnswer = c.shellAnswer;

        EXPECT_TRUE(RunPreferencesWith(c.box)) << "the box shows the stored choice";
        EXPECT_EQ(c.asksShell ? 1u : 0u, os.shell.size());
        if (c.asksShell)
            EXPECT_EQ((DWORD)NIM_ADD, os.shell[0].message);
        EXPECT_EQ(c.shown, os.IconShown());
        EXPECT_EQ(c.asksShell && !c.shown ? 1 : 0, os.CountBoxes("Failed to create tray icon"));
        EXPECT_EQ(c.stored, app.EnableTrayIcon);
        EXPECT_EQ(c.stored, StoredTrayChoice());
        os.shell.clear();
        EXPECT_EQ(c.stored == 1, RunPreferencesWith(kLeave)) << "the next opening";
        EXPECT_TRUE(os.shell.empty()) << "left as shown, the next OK asks nothing";
    }
}

TEST_F(PrefsFromToolWindow, AboutFromTheSystemMenuOpensOnce)
{
    Start();
    int aboutWindows = -1;
    tool->hook = [&] {
        CAboutDlg* about = OpenWindowOf<CAboutDlg>();
        ASSERT_TRUE(about && about->m_hWnd);
        tool->SendMessage(WM_COMMAND, IDM_ABOUT); // from the icon's menu meanwhile
        aboutWindows = 0;
        ::EnumThreadWindows(::GetCurrentThreadId(), CountAboutBoxes, (LPARAM)&aboutWindows);
        about->EndDialog(IDOK);
    };
    tool->PostMessage(TestToolDlg::WM_RUN_HOOK);
    tool->SendMessage(WM_SYSCOMMAND, IDM_ABOUT);
    EXPECT_EQ(1, aboutWindows);
    EXPECT_EQ(nullptr, OpenWindowOf<CAboutDlg>());

    tool->SendMessage(WM_COMMAND, IDM_HELP_CONTENTS);
    EXPECT_EQ(std::vector<std::string>{"Contents"}, os.helpKeys);
}

} // namespace
