// ToolTestSupport.h - what the tool window tests share: the fake operating
// system, the simulated card opened in process, an application object with
// a clean profile, and a tool window whose tool creation a test can steer
// (its card is the simulated one, steered through SimCard).
#pragma once

#include "tests/support/TestWindows.h"

#include "app/CMainToolDlg.h"
#include "app/CUtilityApp.h"
#include "tests/support/FakeOs.h"
#include "tests/support/RegistryFixture.h"
#include "tests/support/SimCard.h"
#include "tests/support/ToolScenarios.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

// The simulated card behind the adapter functions (driver path), as after a
// successful start-up.
class OpenedCard
{
public:
    explicit OpenedCard(const char* scenario);
    ~OpenedCard();
    SimCard card;
};

// The application object of a test, with its profile emptied before and after.
class TestApp : public CUtilityApp
{
public:
    TestApp();
    ~TestApp() override;
    std::string SettingsKey() const { return GetProfileKeyPath() + "\\Settings"; }
    std::string PreferencesKey() const { return GetProfileKeyPath() + "\\Preferences"; }
    std::string PrivateKey() const { return GetProfileKeyPath() + "\\Private"; }

private:
    RegistryFixture m_reg;
};

// The tool window, with the system's making of its tools' windows watched.
class TestToolDlg : public CMainToolDlg
{
public:
    // Tools whose window the system refuses to make from now on.
    void FailCreate(const std::vector<Tool>& tools)
    {
        m_failCreate.insert(tools.begin(), tools.end());
    }
    // Every tool whose window the tool window asked the system to make.
    std::vector<Tool> Asked() const;
    // The tool a window made with this caption (its template's) belongs to.
    static Tool ToolOf(const std::string& caption);
    // Messages (with their wParam) posted to the window at initialisation,
    // handled once the modal loop runs.
    std::vector<std::pair<UINT, WPARAM>> postAtInit;
    // Runs when WM_RUN_HOOK arrives (post it before a modal command).
    std::function<void()> hook;
    static const UINT WM_RUN_HOOK = WM_APP + 71;

    // Makes the window, hidden; false when it could not be made.
    bool Open() { return Create((HWND) nullptr) != FALSE; }
    void Tick() { SendMessage(WM_TIMER, MONITOR_TIMER); }

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    using CMainToolDlg::ApplyIconPreference;

private:
    std::set<Tool> m_failCreate;
    DialogCreations m_creations{
        [this](const std::string& caption) { return m_failCreate.count(ToolOf(caption)) != 0; }};
};

// The objects of this thread's top-level windows.
std::vector<CWnd*> ThreadWindowObjects();
// The open window of this thread whose object is a T (a dialog the user
// has open), or null.
template <class T> T* OpenWindowOf()
{
    for (CWnd* wnd : ThreadWindowObjects())
        if (T* found = dynamic_cast<T*>(wnd))
            return found;
    return nullptr;
}

// The icon of a resource as the notification icon loads it (shared).
HICON SmallIcon(UINT id);
// The last tip and icon the shell was given.
std::string LastTip(const FakeOs& os);
HICON LastIcon(const FakeOs& os);

// A DWORD of the profile, or `missing` when absent.
DWORD ReadDword(HKEY root, const std::string& key, const char* name, DWORD missing = 0xDEAD);

// Shown top-level windows cost Wine two seconds each to hide or destroy on a
// display without a window manager; a test that showed some hands its tool
// window here, and the windows go with the process. Its timers are stopped.
void KeepShownWindowsToTheEnd(std::unique_ptr<TestToolDlg> tool);

// A test with the tool window open on a simulated card, as start-up leaves
// it; messages, beeps and shell calls are captured.
class ToolWindowFixture : public ::testing::Test
{
protected:
    void Start(const char* scenario = kInfrastructure)
    {
        tool.reset();
        card.reset();
        card.reset(new OpenedCard(scenario));
        tool.reset(new TestToolDlg);
        ASSERT_TRUE(tool->Open());
    }
    void TearDown() override
    {
        tool.reset();
        card.reset();
    }

    FakeOs os;
    TestApp app;
    std::unique_ptr<OpenedCard> card;
    std::unique_ptr<TestToolDlg> tool;
};
