// Application start-up: platform, messages, single instance, preferences.
#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "adapter/PortAccess.h"
#include "app/CUtilityApp.h"
#include "res/resource.h"
#include "tests/support/FakeOs.h"
#include "tests/support/RegistryFixture.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <algorithm>

namespace {

// The header's structure has grown since; the first version is what the
// shell of Windows 95 and NT 4.0 takes.
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "Windows 95 notification data");
static_assert(sizeof(OSVERSIONINFOA) == 148, "version structure");
static_assert(sizeof(NONCLIENTMETRICSA) == 340, "Windows 95 metrics");

const char kProductOptions[] = "SYSTEM\\CurrentControlSet\\Control\\ProductOptions";

// The program started as the user starts it: the test counts the tool
// windows it makes, and the user closes one that waits for input.
class TestApp : public CUtilityApp
{
public:
    int mainWindowRuns = 0;

    BOOL Start()
    {
        const std::string title = LoadStr(IDS_MAIN_TITLE);
        DialogCreations made;
        BOOL result = FALSE;
        RunClosingWindow(title, [&] { result = InitInstance(); });
        mainWindowRuns = (int)std::count(made.asked.begin(), made.asked.end(), title);
        return result;
    }
};

class Startup : public ::testing::Test
{
public:
    void SetUp() override
    {
        ResetAdapterState();
        reg.Own(HKEY_CURRENT_USER, "Software\\KVR");
        reg.Own(HKEY_LOCAL_MACHINE,
                "Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards");
        reg.Own(HKEY_DYN_DATA, "Config Manager");
        reg.CreateKey(HKEY_DYN_DATA, "Config Manager\\Enum");
        SetProductType("WinNT");
    }
    void TearDown() override
    {
        SetProductType("WinNT");
        ResetAdapterState();
    }
    void SetProductType(const char* type)
    {
        if (type)
            reg.SetString(HKEY_LOCAL_MACHINE, kProductOptions, "ProductType", type);
        else
            RegDeleteKeyValueless();
    }
    void RegDeleteKeyValueless()
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductOptions, 0, KEY_SET_VALUE, &key) == 0) {
            RegDeleteValueA(key, "ProductType");
            RegCloseKey(key);
        }
    }
    void BeWindows98()
    {
        os.version.dwMajorVersion = 4;
        os.version.dwMinorVersion = 10;
        os.version.dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
    }

    RegistryFixture reg;
    FakeOs os{FakeOs::kMachine};
};

TEST_F(Startup, ProductTypeDecidesThePlatform)
{
    struct Case
    {
        const char* type;
        int server;
        int workstation;
    };
    const Case cases[] = {{"ServerNT", 1, 0},
                          {"lanmannt", 1, 0},
                          {"WINNT", 0, 1},
                          {"Terminal", 0, 0},
                          {nullptr, -1, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type ? c.type : "(missing)");
        SetProductType(c.type);
        EXPECT_EQ(c.server, IsNTProductType(NT_SERVER));
        EXPECT_EQ(c.workstation, IsNTProductType(NT_WORKSTATION));
    }
    reg.SetString(HKEY_LOCAL_MACHINE, kProductOptions, "ProductType", std::string(40, 'W'));
    EXPECT_EQ(-1, IsNTProductType(NT_SERVER)) << "longer than the 16-byte buffer";
    BeWindows98();
    EXPECT_EQ(0, IsNTProductType(NT_SERVER));
    os.versionFails = true;
    EXPECT_EQ(-1, IsNTProductType(NT_WORKSTATION));
}

TEST_F(Startup, SecondStartArgumentChoosesTheTool)
{
    struct Case
    {
        std::vector<std::string> args;
        WPARAM request;
    };
    const Case cases[] = {
        {{"/p"}, 1}, {{"/s"}, 2}, {{"-s"}, 2}, {{"/m"}, 3},       {{"/v"}, 4},  {{"/S"}, 0},
        {{"/x"}, 0}, {{"s"}, 0},  {{}, 0},     {{"/s", "/m"}, 0}, {{"xsz"}, 2},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& a : c.args)
            shown += a + " ";
        EXPECT_EQ(c.request, CUtilityApp::OpenToolRequest(c.args)) << shown;
    }
}

TEST_F(Startup, ProgramDirectory)
{
    struct Case
    {
        const char* path;
        const char* dir;
    };
    const Case cases[] = {{"C:\\corvane.exe", "C:"},
                          {"C:\\Program Files\\Corvane\\corvane.exe", "C:\\Program Files\\Corvane"},
                          {"D:corvane.exe", "D:"},
                          {"corvane.exe", ""}};
    for (const Case& c : cases)
        EXPECT_EQ(c.dir, CUtilityApp::ProgramDirectoryOf(c.path, strlen(c.path), 200)) << c.path;
    std::string longPath = "C:\\" + std::string(210, 'a') + "\\corvane.exe";
    EXPECT_EQ("", CUtilityApp::ProgramDirectoryOf(longPath.c_str(), 200, 200))
        << "a path that filled the buffer was cut";
}

TEST_F(Startup, DeviceSearchListFromTheComments)
{
    std::vector<std::string> list;
    std::string first;
    SplitDeviceSearchList("ISAPNP\\KVR1001,ISAPNP\\KVR20;802.11", list, first);
    EXPECT_EQ((std::vector<std::string>{"ISAPNP\\KVR1001", "ISAPNP\\KVR20"}), list);
    EXPECT_EQ("802.11", first);

    std::string many;
    for (int i = 0; i < 25; ++i)
        many += "ISAPNP\\KVR" + std::to_string(1000 + i) + ",";
    SplitDeviceSearchList(many + ";x", list, first);
    EXPECT_EQ(20u, list.size());
    EXPECT_EQ("ISAPNP\\KVR1019", list.back());

    SplitDeviceSearchList("ISAPNP\\KVR1001", list, first);
    EXPECT_EQ(1u, list.size());
    EXPECT_EQ("", first);
}

TEST_F(Startup, VersionRecordIsRead)
{
    TestApp app;
    ASSERT_TRUE(app.ReadVersionRecord());
    EXPECT_EQ("KVR", app.m_strCompanyName);
    EXPECT_EQ("Corvane Utility", app.m_strMainTitle);
    EXPECT_FALSE(app.m_strFileVersion.empty());
    EXPECT_FALSE(app.m_strFileDescription.empty());
    EXPECT_FALSE(app.m_strCopyright.empty());
}

struct StatusCase
{
    const char* what;
    void (*arrange)(Startup&, FakeOs&);
    std::vector<std::string> texts;
    std::string lastCaption;
    UINT lastStyle;
    int answer;
    bool runs;
    int platform;
};

TEST_F(Startup, AdapterStatusIsToldOnce)
{
    const UINT kInfo = MB_TASKMODAL | MB_ICONINFORMATION;
    const StatusCase cases[] = {
        {"no adapter on Windows 98",
         [](Startup& t, FakeOs&) { t.BeWindows98(); },
         {"Cannot find the Corvane adapter."},
         "Error",
         kInfo,
         IDOK,
         true,
         PLATFORM_WIN9X},
        {"NT 5.0",
         [](Startup&, FakeOs& os) { os.version.dwMajorVersion = 5; },
         {"This version does not support NT 5.0.",
          "The Corvane driver has not been installed properly."},
         "Error",
         kInfo,
         IDOK,
         true,
         PLATFORM_NT5},
        {"unwell card, OK",
         [](Startup& t, FakeOs&) {
             t.BeWindows98();
             std::string cm = "Config Manager\\Enum\\0000";
             t.reg.SetString(HKEY_DYN_DATA, cm, "HardWareKey", "PCMCIA\\802.11\\1");
             t.reg.SetBinary(HKEY_DYN_DATA, cm, "Problem", {0, 1, 0, 0});
             std::vector<BYTE> allocation(32, 0);
             allocation[20] = 0x70;
             allocation[21] = 0x02;
             t.reg.SetBinary(HKEY_DYN_DATA, cm, "Allocation", allocation);
             t.reg.Own(HKEY_LOCAL_MACHINE, "enum\\PCMCIA");
             t.reg.SetString(HKEY_LOCAL_MACHINE, "enum\\PCMCIA\\802.11\\1", "Driver", "Net\\0000");
         },
         {"The Corvane adapter is not working properly.\n\nDo you want to continue running "
          "this program ?"},
         "Corvane",
         MB_OKCANCEL | MB_ICONQUESTION,
         IDOK,
         true,
         PLATFORM_WIN9X},
    };
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.what);
        ResetAdapterState();
        os.boxes.clear();
        os.version = OSVERSIONINFOA{};
        os.version.dwMajorVersion = 4;
        os.version.dwPlatformId = VER_PLATFORM_WIN32_NT;
        c.arrange(*this, os);
        os.boxAnswer = c.answer;
        TestApp app;
        app.m_args.clear();
        EXPECT_EQ(c.runs, app.Start() != FALSE);
        EXPECT_EQ(c.runs ? 1 : 0, app.mainWindowRuns);
        EXPECT_TRUE(GetAdapterState().m_bAdapterFailed);
        EXPECT_EQ(c.platform, GetAdapterLink().PlatformKind);
        ASSERT_EQ(c.texts.size(), os.boxes.size());
        for (size_t i = 0; i < c.texts.size(); ++i)
            EXPECT_EQ(c.texts[i], os.boxes[i].text);
        EXPECT_EQ(c.lastCaption, os.boxes.back().caption);
        EXPECT_EQ(c.lastStyle, os.boxes.back().style);
    }
}

TEST_F(Startup, CancelOnAnUnwellCardEndsTheProgram)
{
    BeWindows98();
    std::string cm = "Config Manager\\Enum\\0000";
    reg.SetString(HKEY_DYN_DATA, cm, "HardWareKey", "PCMCIA\\802.11\\1");
    reg.SetBinary(HKEY_DYN_DATA, cm, "Problem", {9, 0, 0, 0});
    reg.SetBinary(HKEY_DYN_DATA, cm, "Allocation", std::vector<BYTE>(32, 0));
    reg.Own(HKEY_LOCAL_MACHINE, "enum\\PCMCIA");
    reg.SetString(HKEY_LOCAL_MACHINE, "enum\\PCMCIA\\802.11\\1", "Driver", "Net\\0000");
    os.boxAnswer = IDCANCEL;
    TestApp app;
    app.m_args.clear();
    EXPECT_FALSE(app.Start());
    EXPECT_EQ(0, app.mainWindowRuns);
}

TEST_F(Startup, ServerProductMakesPlatformOne)
{
    SetProductType("ServerNT");
    TestApp app;
    app.m_args.clear();
    EXPECT_TRUE(app.Start());
    EXPECT_EQ(PLATFORM_NT_SERVER, GetAdapterLink().PlatformKind);
}

TEST_F(Startup, PreferencesAreLoadedAndWrittenBack)
{
    BeWindows98();
    {
        TestApp first;
        first.m_args.clear();
        ASSERT_TRUE(first.Start());
        EXPECT_EQ(0u, GetAdapterState().AlertBeep);
        EXPECT_EQ(0u, GetAdapterState().AlertMessage);
        EXPECT_EQ(1u, first.AutoRun);
        EXPECT_EQ(1u, first.EnableTrayIcon);
    }
    std::string section = "Software\\KVR\\" + TestApp().GetAppName() + "\\Preferences";
    reg.SetDword(HKEY_CURRENT_USER, section, "AlertBeep", 1);
    reg.SetDword(HKEY_CURRENT_USER, section, "EnableTrayIcon", 0);
    TestApp app;
    app.m_args.clear();
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(1u, GetAdapterState().AlertBeep);
    EXPECT_EQ(0u, app.EnableTrayIcon);
    EXPECT_EQ(1u, app.AutoRun);
    EXPECT_EQ(0u, app.GetProfileInt("Preferences", "EnableTrayIcon", 7));
    EXPECT_EQ(1u, app.GetProfileInt("Preferences", "AutoRun", 7)) << "written back after the run";
}

// A stand-in for the running copy: a window with the main title.
struct RunningCopy
{
    static std::vector<WPARAM> requests;
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l)
    {
        if (msg == WM_OPEN_TOOL)
            requests.push_back(w);
        return DefWindowProcA(h, msg, w, l);
    }
    RunningCopy()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "RunningCopyTest";
        RegisterClassA(&wc);
        hWnd = CreateWindowA("RunningCopyTest", "Corvane Utility", WS_POPUP, 0, 0, 10, 10, nullptr,
                             nullptr, wc.hInstance, nullptr);
        requests.clear();
    }
    ~RunningCopy() { DestroyWindow(hWnd); }
    HWND hWnd;
};
std::vector<WPARAM> RunningCopy::requests;

TEST_F(Startup, SecondStartHandsItsRequestToTheRunningCopy)
{
    BeWindows98();
    RunningCopy running;
    ASSERT_TRUE(running.hWnd);
    struct Case
    {
        std::vector<std::string> args;
        std::vector<WPARAM> sent;
    };
    const Case cases[] = {{{"/s"}, {2}}, {{"-s"}, {2}}, {{"/S"}, {}}, {{"/m", "/p"}, {}}, {{}, {}}};
    for (const Case& c : cases) {
        RunningCopy::requests.clear();
        os.boxes.clear();
        TestApp app;
        app.m_args = c.args;
        EXPECT_FALSE(app.Start());
        EXPECT_EQ(0, app.mainWindowRuns);
        EXPECT_EQ(c.sent, RunningCopy::requests);
        ASSERT_EQ(1u, os.boxes.size()) << "the adapter message comes before the hand-over";
        EXPECT_EQ("Cannot find the Corvane adapter.", os.boxes[0].text);
    }
}

// Two copies started at once: the one that finds the instance mutex taken
// waits for the first copy's window, hands its request over and ends without
// finding the adapter or showing anything.
struct SecondStartClock
{
    static DWORD now;
    static int windowAfterSleeps; // -1: the first copy never shows a window
    static RunningCopy* window;
    static void WINAPI Sleep(DWORD ms)
    {
        now += ms;
        if (windowAfterSleeps >= 0 && --windowAfterSleeps < 0)
            window = new RunningCopy;
    }
    static DWORD WINAPI GetTickCount() { return now; }
};
DWORD SecondStartClock::now = 0;
int SecondStartClock::windowAfterSleeps = -1;
RunningCopy* SecondStartClock::window = nullptr;

TEST_F(Startup, CopyStartedBesideAnotherWaitsForItsWindowAndNeverTouchesTheCard)
{
    BeWindows98();
    HANDLE first = CreateMutexA(nullptr, FALSE, CUtilityApp::InstanceMutexName);
    ASSERT_TRUE(first);
    OsGuard guard;
    g_os.Sleep = SecondStartClock::Sleep;
    g_os.GetTickCount = SecondStartClock::GetTickCount;
    struct Case
    {
        int windowAfterSleeps;
        std::vector<WPARAM> sent;
    };
    for (const Case& c : {Case{5, {2}}, Case{-1, {}}}) {
        SCOPED_TRACE(c.windowAfterSleeps);
        SecondStartClock::now = 0;
        SecondStartClock::windowAfterSleeps = c.windowAfterSleeps;
        RunningCopy::requests.clear();
        GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
        {
            TestApp app;
            app.m_args = {"/s"};
            EXPECT_FALSE(app.Start());
            EXPECT_EQ(0, app.mainWindowRuns);
        }
        EXPECT_EQ(c.sent, RunningCopy::requests);
        EXPECT_TRUE(os.boxes.empty()) << "no adapter message from the second copy";
        EXPECT_EQ(0, os.opens);
        EXPECT_EQ(PLATFORM_NT_WORKSTATION, GetAdapterLink().PlatformKind)
            << "the platform was not even looked at";
        if (c.windowAfterSleeps < 0)
            EXPECT_EQ(CUtilityApp::FirstCopyWaitMs, SecondStartClock::now) << "the wait is bounded";
        delete SecondStartClock::window;
        SecondStartClock::window = nullptr;
    }
    CloseHandle(first);
    // With the first copy gone the next start is a first copy again.
    TestApp app;
    app.m_args.clear();
    EXPECT_TRUE(app.Start());
    EXPECT_EQ(1, app.mainWindowRuns);
}

} // namespace
