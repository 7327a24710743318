// The Configuration page on a simulated machine: what it shows when it
// opens on each platform, what OK checks, writes to the registry and the
// card, and when it asks to restart; the advanced values kept until OK.
#include "tests/sheet/ConfTestSupport.h"
#include "tests/support/RecordedEvents.h"

#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "adapter/Mailbox.h"
#include "adapter/PortAccess.h"
#include "adapter/RegKey.h"
#include "framework/CPropertySheet.h"
#include "framework/MessageFilter.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace conftest;

namespace {

const char* const kNoDomain = "The domain name must be set.";
const char* const kTruncated = "Truncated Leading or Trailing blanks.";
const char* const kNoComputer = "The computer name must be set.";
const char* const kNotSaved =
    "The settings could not be saved: the adapter's driver settings cannot be written.";
const char* const kRestart = "You must restart your computer before the new setting take effect."
                             "\n\nDo you want to restart your computer now ?\n\n";

const char* const kComputerNameKey =
    "System\\CurrentControlSet\\control\\ComputerName\\ComputerName";
const char* const kVnetsupKey = "System\\CurrentControlSet\\Services\\VxD\\VNETSUP";

class ConfPage : public ::testing::Test
{
protected:
    ConfPage() { os.restartExpected = true; }
    // Makes the machine; the page opens with Open().
    void Boot(int platform, Bus bus = PCMCIA, const char* scenario = nullptr)
    {
        page.reset();
        machine.reset();
        machine.reset(new Machine(platform, bus, scenario));
    }
    void Open()
    {
        page.reset(new TestConfDlg);
        ASSERT_TRUE(page->Open());
    }
    // The sheet's OK; returns the page's verdict.
    bool Ok() { return page->OnApply() != FALSE; }
    void TearDown() override
    {
        page.reset();
        machine.reset();
    }
    bool Asked() const { return os.CountBoxes(kRestart) > 0; }

    FakeOs os;
    std::unique_ptr<Machine> machine;
    std::unique_ptr<TestConfDlg> page;
};

// --- opening -------------------------------------------------------------

TEST_F(ConfPage, OpensOnNtWithTheDriverParametersAndTheCardsStationName)
{
    Boot(PLATFORM_NT_WORKSTATION);
    machine->SetNumber("NetworkType", 0);
    machine->SetNumber("CarrierSet", 2);
    machine->SetText("ESSID", "Lobby");
    machine->SetNumber("Roaming", 0);
    machine->SetNumber("Security", 1);
    machine->SetText("SecurityID", "s3cret");
    Open();

    EXPECT_EQ("Ad-Hoc", page->Text(IDC_CONF_NETWORK_TYPE));
    EXPECT_EQ(0, page->Selected(IDC_CONF_NETWORK_TYPE));
    EXPECT_FALSE(page->Enabled(IDC_CONF_ROAMING)) << "roaming is for infrastructure networks";
    EXPECT_FALSE(page->Checked(IDC_CONF_ROAMING));
    EXPECT_EQ("Japan", page->Text(IDC_CONF_CARRIER_SET));
    EXPECT_EQ("Lobby", page->Text(IDC_CONF_DOMAIN_NAME));
    EXPECT_TRUE(page->Checked(IDC_CONF_SECURITY));
    EXPECT_TRUE(page->Enabled(IDC_CONF_SECURITY_ID));
    EXPECT_EQ("s3cret", page->Text(IDC_CONF_SECURITY_ID));
    EXPECT_EQ("CORVANE-PC", page->Text(IDC_CONF_COMPUTER_NAME)) << "NT shows the card's name";
    EXPECT_FALSE(page->Enabled(IDC_CONF_COMPUTER_NAME));
    EXPECT_FALSE(page->Visible(IDC_CONF_ADVANCED));
    EXPECT_TRUE(os.boxes.empty());
}

TEST_F(ConfPage, OpensWithItsDefaultsWhenTheDriverKeyHoldsNothing)
{
    Boot(PLATFORM_NT_WORKSTATION);
    Open();
    EXPECT_EQ("Infrastructure", page->Text(IDC_CONF_NETWORK_TYPE));
    EXPECT_TRUE(page->Enabled(IDC_CONF_ROAMING));
    EXPECT_TRUE(page->Checked(IDC_CONF_ROAMING));
    EXPECT_EQ("USA", page->Text(IDC_CONF_CARRIER_SET));
    EXPECT_FALSE(page->Checked(IDC_CONF_SECURITY));
    EXPECT_FALSE(page->Enabled(IDC_CONF_SECURITY_ID));
    EXPECT_TRUE(page->m_traits.highRate);
    EXPECT_TRUE(page->m_traits.pcmcia);
}

TEST_F(ConfPage, OpensOnWindows98WithAnEditableComputerNameFromTheRegistry)
{
    Boot(PLATFORM_WIN9X);
    machine->SetText("StationName", "DESK-98");
    machine->SetText("NetworkType", "1");
    machine->SetText("CarrierSet", "5");
    Open();
    EXPECT_EQ("DESK-98", page->Text(IDC_CONF_COMPUTER_NAME));
    EXPECT_TRUE(page->Enabled(IDC_CONF_COMPUTER_NAME));
    EXPECT_EQ(15, (int)::SendMessageA(page->Item(IDC_CONF_COMPUTER_NAME), EM_GETLIMITTEXT, 0, 0));
    EXPECT_EQ("France", page->Text(IDC_CONF_CARRIER_SET));
    EXPECT_EQ("Infrastructure", page->Text(IDC_CONF_NETWORK_TYPE));
}

TEST_F(ConfPage, AdvancedValuesComeFromTheRegistryFirst)
{
    struct Case
    {
        const char* name;
        Bus bus;
        const char* scenario;
        std::vector<std::pair<const char*, const char*>> values;
        AdvancedSettings expected;
    };
    AdvancedSettings defaults;
    std::vector<Case> cases = {
        {"registry values",
         PCMCIA,
         nullptr,
         {{"TxRetry", "12"},
          {"RoamingThreshold", "64"},
          {"PreferBSSID", "00a0c5123456"},
          {"PSmode", "1"},
          {"DataRate", "1"}},
         {1, 12, 64, 1, "00A0C5123456"}},
        {"an ISA card keeps power saving off",
         ISA,
         nullptr,
         {{"PSmode", "1"}},
         {0, 7, 40, 0, "000000000000"}},
        {"a 1 Mbit/s card has no data rate choice",
         PCMCIA,
         "rates 2\n",
         {{"DataRate", "1"}},
         {0, 7, 40, 0, "000000000000"}},
        {"the card's values when the registry has none",
         PCMCIA,
         "tx-retry 3\nroaming-threshold 25\n",
         {},
         {0, 3, 25, 0, "000000000000"}},
        {"registry texts that are no number count as not set",
         PCMCIA,
         "tx-retry 3\nroaming-threshold 25\n",
         {{"TxRetry", "12abc"}, {"RoamingThreshold", "64.5"}, {"PSmode", "x1"}, {"DataRate", " 1"}},
         {0, 3, 25, 0, "000000000000"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Boot(PLATFORM_NT_WORKSTATION, c.bus, c.scenario);
        for (const auto& v : c.values)
            machine->SetText(v.first, v.second);
        Open();
        EXPECT_EQ(c.expected.dataRate, page->m_stored.advanced.dataRate);
        EXPECT_EQ(c.expected.retryLimit, page->m_stored.advanced.retryLimit);
        EXPECT_EQ(c.expected.roamingThreshold, page->m_stored.advanced.roamingThreshold);
        EXPECT_EQ(c.expected.powerSaving, page->m_stored.advanced.powerSaving);
        EXPECT_EQ(c.expected.bssid, page->m_stored.advanced.bssid);
        EXPECT_EQ(page->m_stored.advanced.retryLimit, page->m_advCurrent.retryLimit);
        EXPECT_EQ(page->m_stored.advanced.bssid, page->m_advCurrent.bssid);
    }
}

TEST_F(ConfPage, ASilentCardLeavesTheCardValuesAtTheirDefaults)
{
    Boot(PLATFORM_NT_WORKSTATION, PCMCIA, "tx-retry 3\nroaming-threshold 25\n");
    machine->Silence();
    Open();
    EXPECT_EQ("", page->Text(IDC_CONF_COMPUTER_NAME));
    EXPECT_EQ(7, page->m_stored.advanced.retryLimit);
    EXPECT_EQ(40, page->m_stored.advanced.roamingThreshold);
    EXPECT_FALSE(page->m_traits.highRate);
    EXPECT_TRUE(os.boxes.empty());
}

TEST_F(ConfPage, AFailedAdapterIsNotAskedForItsValues)
{
    Boot(PLATFORM_NT_WORKSTATION, PCMCIA, "tx-retry 3\nroaming-threshold 25\n");
    GetAdapterState().m_bAdapterFailed = TRUE;
    uint32_t before = machine->card.Fw().CommandsAnswered();
    Open();
    EXPECT_EQ("", page->Text(IDC_CONF_COMPUTER_NAME));
    EXPECT_EQ(7, page->m_stored.advanced.retryLimit);
    EXPECT_EQ(40, page->m_stored.advanced.roamingThreshold);
    // A failed adapter is asked nothing, not even for its rates.
    EXPECT_EQ(0u, machine->card.Fw().CommandsAnswered() - before);
    EXPECT_FALSE(page->m_traits.highRate);
}

TEST_F(ConfPage, TheAdvancedButtonFollowsTheProfileAndCommand40004)
{
    Boot(PLATFORM_NT_WORKSTATION);
    machine->app.WriteProfileInt("Private", "AdvConfig", 1);
    Open();
    EXPECT_TRUE(page->Visible(IDC_CONF_ADVANCED));

    int runs = 0;
    page->advanced = [&runs](CAdvConfigDlg&) { ++runs; };
    page->Click(IDC_CONF_ADVANCED);
    EXPECT_EQ(1, runs) << "the button runs the dialog";
    EXPECT_EQ(IDCANCEL, page->m_nAdvancedResult);

    page->SendMessage(WM_COMMAND, IDM_ADVANCED_CONFIG);
    EXPECT_FALSE(page->Visible(IDC_CONF_ADVANCED));
    EXPECT_EQ(1u, machine->app.GetProfileInt("Private", "AdvConfig", 7)) << "stored only at OK";
    page->SendMessage(WM_COMMAND, IDM_ADVANCED_CONFIG);
    EXPECT_TRUE(page->Visible(IDC_CONF_ADVANCED));
    page->SendMessage(WM_COMMAND, IDM_ADVANCED_CONFIG);
    EXPECT_TRUE(Ok());
    EXPECT_EQ(0u, machine->app.GetProfileInt("Private", "AdvConfig", 7));
}

TEST_F(ConfPage, ListsEnableWhatTheyGovern)
{
    Boot(PLATFORM_NT_WORKSTATION);
    Open();
    page->Select(IDC_CONF_NETWORK_TYPE, 0);
    EXPECT_FALSE(page->Enabled(IDC_CONF_ROAMING));
    page->Select(IDC_CONF_NETWORK_TYPE, 1);
    EXPECT_TRUE(page->Enabled(IDC_CONF_ROAMING));
    page->Click(IDC_CONF_SECURITY);
    EXPECT_TRUE(page->Enabled(IDC_CONF_SECURITY_ID));
    page->Click(IDC_CONF_SECURITY);
    EXPECT_FALSE(page->Enabled(IDC_CONF_SECURITY_ID));
}

TEST_F(ConfPage, HelpAsksForTheConfigurationKeyword)
{
    Boot(PLATFORM_NT_WORKSTATION);
    Open();
    page->SendMessage(WM_COMMAND, IDM_CONF_HELP);
    ASSERT_EQ(1u, os.helpKeys.size());
    EXPECT_EQ("Configuration", os.helpKeys[0]);
    EXPECT_TRUE(os.boxes.empty());

    os.helpAnswer = FALSE;
    page->SendMessage(WM_COMMAND, IDM_CONF_HELP);
    ASSERT_EQ(1u, os.boxes.size());
    EXPECT_EQ("Cannot open help file.", os.boxes[0].text);
    EXPECT_EQ("Corvane", os.boxes[0].caption);
    EXPECT_EQ((UINT)MB_ICONSTOP, os.boxes[0].style & MB_ICONMASK);
}

// Holds Ctrl and Alt down for the accelerator table while it lives.
class CtrlAltDown
{
public:
    CtrlAltDown()
    {
        ::GetKeyboardState(m_saved);
        BYTE keys[256];
        memcpy(keys, m_saved, sizeof(keys));
        keys[VK_CONTROL] = keys[VK_MENU] = 0x80;
        ::SetKeyboardState(keys);
    }
    ~CtrlAltDown() { ::SetKeyboardState(m_saved); }

private:
    BYTE m_saved[256];
};

TEST_F(ConfPage, InASheetHelpAndAltCtrlNReachThePage)
{
    Boot(PLATFORM_NT_WORKSTATION);
    CPropertySheet sheet(IDS_PROPERTIES_CAPTION, nullptr, 0, PSH_HASHELP | PSH_NOAPPLYNOW);
    CConfDlg confPage;
    sheet.AddPage(&confPage);
    sheet.KeepStandardButtons();
    ASSERT_TRUE(sheet.Create());
    ASSERT_TRUE(confPage.m_hWnd);
    EXPECT_EQ("Corvane", confPage.GetDlgItemText(IDC_CONF_DOMAIN_NAME));

    sheet.SendMessage(WM_COMMAND, IDHELP);
    EXPECT_EQ(std::vector<std::string>{"Configuration"}, os.helpKeys);

    MSG key = {confPage.GetDlgItem(IDC_CONF_DOMAIN_NAME), WM_KEYDOWN, 'N', 0, 0, {0, 0}};
    {
        CtrlAltDown held;
        EXPECT_TRUE(PreTranslateThreadMessage(&key));
    }
    EXPECT_TRUE(::GetWindowLongA(confPage.GetDlgItem(IDC_CONF_ADVANCED), GWL_STYLE) & WS_VISIBLE)
        << "toggled once, by the page";
    sheet.EndSheet(IDCANCEL);
}

// --- OK: validation ---------------------------------------------------------

TEST_F(ConfPage, DomainNameIsCheckedAndStrippedOfBlanks)
{
    struct Case
    {
        const char* typed;
        bool mayClose;
        std::vector<std::string> boxes;
        const char* fieldAfter;
        const char* stored; // ESSID afterwards
    };
    const Case cases[] = {
        {"", false, {kNoDomain}, "", "Corvane"},
        {"   ", false, {kNoDomain}, "", "Corvane"},
        {"  lab  ", true, {kTruncated, kRestart}, "  lab  ", "lab"},
        {"lab ", true, {kTruncated, kRestart}, "lab ", "lab"},
        {"two words", true, {kRestart}, "two words", "two words"},
        {"Corvane", true, {}, "Corvane", "Corvane"},
        {"  Corvane", true, {kTruncated}, "  Corvane", "Corvane"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.typed + "\"");
        Boot(PLATFORM_NT_WORKSTATION);
        machine->SetText("ESSID", "Corvane");
        Open();
        os.boxes.clear();
        os.answers = {IDOK, IDCANCEL};
        page->SetText(IDC_CONF_DOMAIN_NAME, c.typed);
        EXPECT_EQ(c.mayClose, Ok());
        EXPECT_EQ(c.boxes, os.Texts());
        EXPECT_EQ(c.fieldAfter, page->Text(IDC_CONF_DOMAIN_NAME));
        EXPECT_EQ(c.stored, machine->Value("ESSID"));
        if (!c.mayClose) {
            EXPECT_EQ("Warning", os.boxes[0].caption);
            EXPECT_EQ((UINT)MB_ICONSTOP, os.boxes[0].style & MB_ICONMASK);
            EXPECT_EQ(page->Item(IDC_CONF_DOMAIN_NAME), ::GetFocus());
        } else if (!c.boxes.empty() && c.boxes[0] == kTruncated) {
            EXPECT_EQ((UINT)MB_ICONEXCLAMATION, os.boxes[0].style & MB_ICONMASK);
        }
    }
}

// Every field is checked before anything is written: a refused OK leaves
// the registry as it was, and the OK that passes writes everything.
TEST_F(ConfPage, ARefusedOkWritesNothingAndASecondOkWritesAll)
{
    Boot(PLATFORM_WIN9X);
    machine->SetText("StationName", "DESK-98");
    machine->SetText("Roaming", "1");
    machine->Describe("CarrierSet");
    Open();
    page->Click(IDC_CONF_ROAMING);         // handled before the computer name
    page->Select(IDC_CONF_CARRIER_SET, 2); // handled after it
    page->SetText(IDC_CONF_COMPUTER_NAME, "");
    EXPECT_FALSE(Ok());
    EXPECT_EQ(std::vector<std::string>{kNoComputer}, os.Texts());
    EXPECT_EQ(page->Item(IDC_CONF_COMPUTER_NAME), ::GetFocus());
    EXPECT_EQ("1", machine->Value("Roaming")) << "nothing written by a refused OK";
    EXPECT_EQ("<none>", machine->Value("CarrierSet"));

    os.boxes.clear();
    os.answers = {IDCANCEL};
    page->SetText(IDC_CONF_COMPUTER_NAME, "DESK-98");
    EXPECT_TRUE(Ok());
    EXPECT_EQ("0", machine->Value("Roaming"));
    EXPECT_EQ("2", machine->Value("CarrierSet"));
    EXPECT_EQ(std::vector<std::string>{kRestart}, os.Texts());
}

// --- OK: what is written ----------------------------------------------------

TEST_F(ConfPage, OnlyRoamingChangedWritesRegistryAndCardAndAsksNothing)
{
    Boot(PLATFORM_NT_WORKSTATION);
    Open();
    ASSERT_EQ(1, machine->card.Fw().World().roaming);
    page->Click(IDC_CONF_ROAMING);
    EXPECT_TRUE(Ok());
    DWORD type = 0;
    EXPECT_EQ("0", machine->Value("Roaming", &type));
    EXPECT_EQ((DWORD)REG_DWORD, type);
    EXPECT_EQ(0, machine->card.Fw().World().roaming);
    EXPECT_TRUE(os.boxes.empty());
    EXPECT_EQ("<none>", machine->Value("NetworkType")) << "nothing else written";
    EXPECT_EQ("<none>", machine->Value("Security"));
    EXPECT_EQ("<none>", machine->Value("CarrierSet"));
}

// Beside another poll that holds the card (behind one of its boxes) the page
// asks the card nothing, neither opening nor at OK. What the card takes at
// once goes to the registry and reaches the card when it starts again: the
// user is asked to restart, never left believing the card has it.
TEST_F(ConfPage, CardHeldByAnotherPollIsNotAskedAndTheRestartIsOffered)
{
    Boot(PLATFORM_NT_WORKSTATION, PCMCIA, "tx-retry 3\n");
    uint32_t before = machine->card.Fw().CommandsAnswered();
    ASSERT_EQ(0, TryLockAdapter());
    Open();
    EXPECT_EQ(7, page->m_stored.advanced.retryLimit) << "the default, not the card's 3";
    page->Click(IDC_CONF_ROAMING);
    os.answers = {IDCANCEL};
    EXPECT_TRUE(Ok());
    UnlockAdapter();
    EXPECT_EQ(0u, machine->card.Fw().CommandsAnswered() - before);
    EXPECT_EQ("0", machine->Value("Roaming"));
    EXPECT_EQ(1, machine->card.Fw().World().roaming);
    EXPECT_EQ(std::vector<std::string>{kRestart}, os.Texts());
    EXPECT_FALSE(GetAdapterState().m_bAdapterFailed);

    Open();
    EXPECT_EQ(3, page->m_stored.advanced.retryLimit);
    EXPECT_EQ(0, TryLockAdapter()) << "the page let the card go";
    UnlockAdapter();
}

// The page holds the card only for its card commands: while one of its own
// boxes is up (a warning, a registry error, the restart question) the
// tools' polls run.
TEST_F(ConfPage, NoBoxOfTheOkIsShownWhileThePageHoldsTheCard)
{
    Boot(PLATFORM_NT_WORKSTATION);
    machine->SetText("ESSID", "Corvane");
    Open();
    os.refusedValues = {"CarrierSet"};
    page->SetText(IDC_CONF_DOMAIN_NAME, "  Office  ");
    page->Select(IDC_CONF_CARRIER_SET, 2);
    page->Click(IDC_CONF_ROAMING);
    std::vector<bool> free;
    std::function<void()> probe = [&] {
        free.push_back(TryLockAdapter() == 0);
        if (free.back())
            UnlockAdapter();
        os.whileBoxOpen = probe;
    };
    os.whileBoxOpen = probe;
    os.answers = {IDOK, IDOK, IDOK, IDCANCEL};
    Ok();
    EXPECT_GE(os.boxes.size(), 3u);
    EXPECT_EQ(std::vector<bool>(free.size(), true), free);
    EXPECT_EQ(0, machine->card.Fw().World().roaming) << "the card was still given roaming";
}

TEST_F(ConfPage, CarrierSetUsaToJapanStoresTwoAndAsksToRestart)
{
    for (int platform : {PLATFORM_NT_WORKSTATION, PLATFORM_WIN9X}) {
        SCOPED_TRACE(platform);
        Boot(platform);
        machine->SetText("StationName", "DESK");
        machine->Describe("CarrierSet");
        Open();
        os.boxes.clear();
        os.answers = {IDCANCEL};
        page->Select(IDC_CONF_CARRIER_SET, 2);
        EXPECT_TRUE(Ok());
        DWORD type = 0;
        EXPECT_EQ("2", machine->Value("CarrierSet", &type));
        EXPECT_EQ(platform == PLATFORM_WIN9X ? (DWORD)REG_SZ : (DWORD)REG_DWORD, type);
        ASSERT_EQ(1u, os.boxes.size());
        EXPECT_EQ(kRestart, os.boxes[0].text);
        EXPECT_EQ("Corvane", os.boxes[0].caption);
        EXPECT_EQ((UINT)(MB_OKCANCEL | MB_ICONQUESTION), os.boxes[0].style);
        EXPECT_TRUE(os.restart.empty()) << "Cancel does not restart";
    }
}

TEST_F(ConfPage, EachRestartSettingAsksOnce)
{
    struct Case
    {
        const char* name;
        std::function<void(TestConfDlg&)> change;
        const char* value;
        const char* stored;
    };
    const Case cases[] = {
        {"network type", [](TestConfDlg& p) { p.Select(IDC_CONF_NETWORK_TYPE, 0); }, "NetworkType",
         "0"},
        {"security", [](TestConfDlg& p) { p.Click(IDC_CONF_SECURITY); }, "Security", "1"},
        {"security ID", [](TestConfDlg& p) { p.SetText(IDC_CONF_SECURITY_ID, "key1"); },
         "SecurityID", "key1"},
        {"domain name", [](TestConfDlg& p) { p.SetText(IDC_CONF_DOMAIN_NAME, "Office"); }, "ESSID",
         "Office"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Boot(PLATFORM_NT_WORKSTATION);
        machine->SetText("ESSID", "Corvane");
        Open();
        os.boxes.clear();
        os.answers = {IDCANCEL};
        c.change(*page);
        EXPECT_TRUE(Ok());
        EXPECT_EQ(c.stored, machine->Value(c.value));
        EXPECT_EQ(std::vector<std::string>{kRestart}, os.Texts());

        // What was saved is what the page holds as stored from then on.
        os.boxes.clear();
        EXPECT_TRUE(Ok());
        EXPECT_TRUE(os.Texts().empty()) << "nothing left to write";
    }
}

TEST_F(ConfPage, ARefusedRegistryWriteAsksNoRestartButTheCardIsStillSet)
{
    Boot(PLATFORM_NT_WORKSTATION);
    Open();
    // The driver's key disappears while the page is open.
    RegistryFixture::DeleteTree(HKEY_LOCAL_MACHINE, Machine::kDriverKey);
    page->Select(IDC_CONF_CARRIER_SET, 2);
    page->Click(IDC_CONF_ROAMING);
    EXPECT_FALSE(Ok()) << "settings not saved keep the sheet open";
    for (const FakeOs::Box& box : os.boxes)
        EXPECT_NE(kRestart, box.text);
    ASSERT_EQ(3u, os.boxes.size()) << "one registry error per refused write, then one word";
    EXPECT_EQ(kNotSaved, os.boxes[2].text);
    EXPECT_EQ(0, machine->card.Fw().World().roaming);
}

TEST_F(ConfPage, ASilentOrFailedCardStillGetsItsRegistryValues)
{
    for (bool failed : {false, true}) {
        SCOPED_TRACE(failed ? "adapter failed" : "card silent");
        Boot(PLATFORM_NT_WORKSTATION);
        Open();
        page->advanced = [](CAdvConfigDlg& dlg) {
            ::SetDlgItemTextA(dlg.m_hWnd, IDC_ADV_RETRY, "9");
            PressOk(dlg);
        };
        page->Click(IDC_CONF_ADVANCED);
        page->Click(IDC_CONF_ROAMING);
        if (failed)
            GetAdapterState().m_bAdapterFailed = TRUE;
        else
            machine->Silence();
        uint32_t before = machine->card.Fw().CommandsAnswered();
        EXPECT_TRUE(Ok());
        EXPECT_EQ("0", machine->Value("Roaming"));
        EXPECT_EQ("9", machine->Value("TxRetry"));
        EXPECT_EQ(1, machine->card.Fw().World().roaming);
        EXPECT_EQ(7, machine->card.Fw().World().txRetry);
        EXPECT_EQ(0u, machine->card.Fw().CommandsAnswered() - before);
        EXPECT_TRUE(os.boxes.empty());
    }
}

// --- OK: the computer name --------------------------------------------------

// Keeps the prefix's own computer name and gives back every key it changed.
class ComputerNameKeys
{
public:
    ComputerNameKeys()
    {
        m_saved = Machine::ValueOf(HKEY_LOCAL_MACHINE, kComputerNameKey, "ComputerName");
        m_reg.Own(HKEY_LOCAL_MACHINE, kVnetsupKey);
        m_reg.CreateKey(HKEY_LOCAL_MACHINE, kVnetsupKey);
        m_reg.SetString(HKEY_LOCAL_MACHINE, kVnetsupKey, "ComputerName", "OLD");
    }
    ~ComputerNameKeys()
    {
        if (m_saved != "<none>") {
            RegKey key;
            DWORD disposition = 0;
            ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kComputerNameKey, 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, key.Receive(), &disposition);
            ::RegSetValueExA(key, "ComputerName", 0, REG_SZ, (const BYTE*)m_saved.c_str(),
                             (DWORD)m_saved.size() + 1);
        }
    }
    std::string Named() const
    {
        return Machine::ValueOf(HKEY_LOCAL_MACHINE, kComputerNameKey, "ComputerName");
    }
    std::string Vnetsup() const
    {
        return Machine::ValueOf(HKEY_LOCAL_MACHINE, kVnetsupKey, "ComputerName");
    }

private:
    std::string m_saved;
    RegistryFixture m_reg;
};

// Stored texts longer than their fields are shown whole; an OK that leaves
// them alone writes nothing, and one the user edits is held to the limit.
TEST_F(ConfPage, StoredTextsLongerThanTheirFieldsAreKeptUnlessEdited)
{
    const std::string longDomain(100, 'd');
    const struct
    {
        int platform;
        const char* value;
        std::string stored;
        int field;
        const char* edited;
        const char* refusal;
    } cases[] = {
        {PLATFORM_NT_WORKSTATION, "SecurityID", "ABCDEFGHIJKL", IDC_CONF_SECURITY_ID, "ABCDEFGHIJK",
         "The security ID can have at most 8 characters."},
        {PLATFORM_NT_WORKSTATION, "ESSID", longDomain, IDC_CONF_DOMAIN_NAME, "Office-wing-A-2",
         nullptr},
        {PLATFORM_WIN9X, "StationName", "WORKSTATION-0042", IDC_CONF_COMPUTER_NAME,
         "WORKSTATION-004X", "The computer name can have at most 15 characters."},
        // Blanks around a stored name are the stored name's: left alone, it
        // is neither trimmed nor rewritten, and no restart is asked for.
        {PLATFORM_NT_WORKSTATION, "ESSID", "  lab  ", IDC_CONF_DOMAIN_NAME, "lab2", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        Boot(c.platform);
        machine->SetText(c.value, c.stored);
        machine->SetText("Security", "1"); // the ID field open to edits
        Open();
        EXPECT_EQ(c.stored, page->Text(c.field)) << "shown whole";
        os.boxes.clear();
        EXPECT_TRUE(Ok());
        EXPECT_TRUE(os.boxes.empty()) << "nothing written, nothing to restart for";
        EXPECT_EQ(c.stored, machine->Value(c.value));

        page->SetText(c.field, c.edited);
        os.answers = {IDCANCEL};
        bool closed = Ok();
        if (!c.refusal) {
            EXPECT_TRUE(closed);
            EXPECT_EQ(c.edited, machine->Value(c.value)) << "an edit within the limit is written";
            continue;
        }
        EXPECT_FALSE(closed);
        ASSERT_EQ(1u, os.boxes.size());
        EXPECT_EQ(c.refusal, os.boxes[0].text);
        EXPECT_EQ(page->Item(c.field), ::GetFocus());
        EXPECT_EQ(c.stored, machine->Value(c.value));
    }
}

// Some settings saved and some refused by the registry: the user is told
// which were and which were not, the restart is offered for what was saved,
// and the next OK writes only what is still unsaved.
TEST_F(ConfPage, APartlySavedOkSaysWhatWasSavedAndOffersTheRestartForIt)
{
    Boot(PLATFORM_NT_WORKSTATION);
    machine->SetText("ESSID", "Corvane");
    Open();
    os.refusedValues = {"CarrierSet"};
    page->SetText(IDC_CONF_DOMAIN_NAME, "Office");
    page->Select(IDC_CONF_CARRIER_SET, 2);
    os.answers = {IDOK, IDOK, IDCANCEL};
    EventsSince first;
    EXPECT_FALSE(Ok()) << "the sheet stays open for what was not saved";
    // The link history names what was saved, never what was not.
    const int essid = 1 << (IDS_SETTING_ESSID - IDS_SETTING_NETWORK_TYPE);
    const int carrier = 1 << (IDS_SETTING_CARRIER_SET - IDS_SETTING_NETWORK_TYPE);
    EXPECT_EQ((std::vector<RecordedEvent>{{HISTORY_SETTINGS, "", "", essid}}), first.Since());
    EXPECT_EQ("Office", machine->Value("ESSID"));
    EXPECT_EQ("<none>", machine->Value("CarrierSet"));
    std::vector<std::string> texts = os.Texts();
    ASSERT_EQ(3u, texts.size()) << "the registry's error, what was saved, the restart";
    EXPECT_EQ("These settings could not be saved: Carrier Set.\n\nThese settings were saved: "
              "Domain Name (ESSID).",
              texts[1]);
    EXPECT_EQ(kRestart, texts[2]);

    // The ESSID is saved: the next OK leaves it alone (a write of it would
    // now be refused) and writes the carrier set.
    os.refusedValues = {"ESSID"};
    os.boxes.clear();
    os.answers = {IDCANCEL};
    EventsSince second;
    EXPECT_TRUE(Ok());
    EXPECT_EQ("2", machine->Value("CarrierSet"));
    EXPECT_EQ(std::vector<std::string>{kRestart}, os.Texts());
    EXPECT_EQ((std::vector<RecordedEvent>{{HISTORY_SETTINGS, "", "", carrier}}), second.Since());
}

// Without an adapter (start-up status 3 or 4) nothing can be written: the OK
// says so once and the sheet stays open.
TEST_F(ConfPage, SettingsThatCannotBeWrittenAreNeverPassedOffAsSaved)
{
    Boot(PLATFORM_NT_WORKSTATION);
    GetAdapterLink().AdapterReady = false;
    Open();
    page->SetText(IDC_CONF_DOMAIN_NAME, "Office");
    page->Select(IDC_CONF_CARRIER_SET, 2);
    page->Click(IDC_CONF_ROAMING);
    EXPECT_FALSE(Ok());
    EXPECT_EQ(std::vector<std::string>{kNotSaved}, os.Texts());
    EXPECT_EQ("Corvane", machine->Value("ESSID"));
}

TEST_F(ConfPage, Windows98WritesTheComputerNameToBothKeys)
{
    ComputerNameKeys keys;
    Boot(PLATFORM_WIN9X);
    machine->SetText("StationName", "DESK-98");
    Open();
    page->SetText(IDC_CONF_COMPUTER_NAME, "LAB-PC");
    os.answers = {IDCANCEL};
    EXPECT_TRUE(Ok());
    EXPECT_EQ("LAB-PC", machine->Value("StationName"));
    EXPECT_EQ("LAB-PC", keys.Named());
    EXPECT_EQ("LAB-PC", keys.Vnetsup());
    // The driver setting is written although the driver has no parameter
    // description to copy it into: the restart question follows.
    EXPECT_EQ(std::vector<std::string>{kRestart}, os.Texts());

    // With the description as well.
    machine->Describe("StationName");
    os.boxes.clear();
    page->SetText(IDC_CONF_COMPUTER_NAME, "LAB-PC2");
    os.answers = {IDCANCEL};
    EXPECT_TRUE(Ok());
    EXPECT_EQ(std::vector<std::string>{kRestart}, os.Texts());
    EXPECT_EQ("LAB-PC2", keys.Vnetsup());
}

TEST_F(ConfPage, Windows98LeavesTheSecondKeyAloneWhenTheFirstIsRefused)
{
    ComputerNameKeys keys;
    Boot(PLATFORM_WIN9X);
    machine->SetText("StationName", "DESK-98");
    Open();
    RegistryFixture::DeleteTree(HKEY_LOCAL_MACHINE, kComputerNameKey);
    page->SetText(IDC_CONF_COMPUTER_NAME, "LAB-PC");
    os.answers = {IDCANCEL};
    EXPECT_TRUE(Ok());
    EXPECT_EQ("LAB-PC", machine->Value("StationName"));
    EXPECT_EQ("OLD", keys.Vnetsup());
    EXPECT_EQ(std::vector<std::string>{kRestart}, os.Texts())
        << "Windows 98 refuses the computer name's key silently";
}

// Windows' own name follows only a computer name the driver took, and a
// name Windows refused is not saved: the user is told, the sheet stays
// open and the next OK writes the name again.
TEST_F(ConfPage, Windows98ChangesItsComputerNameOnlyWithTheDriversAndSaysWhenItCannot)
{
    const struct
    {
        const char* refused;
        const char* stationName; // after the refused OK
    } cases[] = {
        {"StationName", "DESK-98"},
        {"ComputerName", "LAB-PC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refused);
        ComputerNameKeys keys;
        Boot(PLATFORM_WIN9X);
        machine->SetText("StationName", "DESK-98");
        Open();
        const std::string namedBefore = keys.Named();
        os.boxes.clear();
        os.refusedValues = {c.refused};
        page->SetText(IDC_CONF_COMPUTER_NAME, "LAB-PC");
        page->SetText(IDC_CONF_DOMAIN_NAME, "Office");
        os.answers = {IDOK, IDOK, IDCANCEL};
        EXPECT_FALSE(Ok()) << "the sheet stays open for what was not saved";
        EXPECT_EQ(c.stationName, machine->Value("StationName"));
        EXPECT_EQ(namedBefore, keys.Named());
        EXPECT_EQ("OLD", keys.Vnetsup());
        std::vector<std::string> texts = os.Texts();
        std::string shown;
        for (const std::string& t : texts)
            shown += "\n[" + t + "]";
        ASSERT_EQ(3u, texts.size()) << "the registry's error, what was saved, the restart" << shown;
        EXPECT_EQ("These settings could not be saved: Computer Name.\n\nThese settings were "
                  "saved: Domain Name (ESSID).",
                  texts[1]);
        EXPECT_EQ(kRestart, texts[2]);

        os.refusedValues.clear();
        os.boxes.clear();
        os.answers = {IDCANCEL};
        EXPECT_TRUE(Ok());
        EXPECT_EQ("LAB-PC", machine->Value("StationName"));
        EXPECT_EQ("LAB-PC", keys.Named());
        EXPECT_EQ("LAB-PC", keys.Vnetsup());
        EXPECT_EQ(std::vector<std::string>{kRestart}, os.Texts());
    }
}

TEST_F(ConfPage, NtNeverChecksNorWritesTheComputerName)
{
    ComputerNameKeys keys;
    std::string before = keys.Named();
    Boot(PLATFORM_NT_WORKSTATION);
    Open();
    page->SetText(IDC_CONF_COMPUTER_NAME, "");
    EXPECT_TRUE(Ok());
    page->SetText(IDC_CONF_COMPUTER_NAME, "OTHER");
    EXPECT_TRUE(Ok());
    EXPECT_TRUE(os.boxes.empty());
    EXPECT_EQ("<none>", machine->Value("StationName"));
    EXPECT_EQ(before, keys.Named());
    EXPECT_EQ("OLD", keys.Vnetsup());
}

// --- OK: the restart ----------------------------------------------------------

TEST_F(ConfPage, OkToTheRestartQuestionRestartsWithTheShutdownPrivilegeOnNt)
{
    struct Case
    {
        const char* name;
        int platform;
        bool tokenRefused;
        DWORD adjustError;
        std::vector<std::string> calls;
        std::vector<std::string> errors;
    };
    const std::string adjust = "Adjust 1 " + std::to_string(SE_PRIVILEGE_ENABLED) + " luid 19";
    const std::string exitCall = "ExitWindowsEx " + std::to_string(EWX_REBOOT);
    const Case cases[] = {
        {"NT",
         PLATFORM_NT_WORKSTATION,
         false,
         ERROR_SUCCESS,
         {"OpenProcessToken adjust+query", "Lookup SeShutdownPrivilege", adjust, exitCall},
         {}},
        {"NT server",
         PLATFORM_NT_SERVER,
         false,
         ERROR_SUCCESS,
         {"OpenProcessToken adjust+query", "Lookup SeShutdownPrivilege", adjust, exitCall},
         {}},
        {"Windows 98", PLATFORM_WIN9X, false, ERROR_SUCCESS, {exitCall}, {}},
        {"token refused",
         PLATFORM_NT_WORKSTATION,
         true,
         ERROR_SUCCESS,
         {"OpenProcessToken adjust+query", exitCall},
         {"Error: OpenProcessToken"}},
        {"privilege not held",
         PLATFORM_NT_WORKSTATION,
         false,
         ERROR_NOT_ALL_ASSIGNED,
         {"OpenProcessToken adjust+query", "Lookup SeShutdownPrivilege", adjust, exitCall},
         {"Error: AdjustTokenPrivileges"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Boot(c.platform);
        machine->SetText("StationName", "DESK");
        machine->Describe("CarrierSet");
        Open();
        os.boxes.clear();
        os.restart.clear();
        os.tokenRefused = c.tokenRefused;
        os.adjustError = c.adjustError;
        page->Select(IDC_CONF_CARRIER_SET, 1);
        EXPECT_TRUE(Ok());
        EXPECT_EQ(c.calls, os.restart);
        std::vector<std::string> expected = {kRestart};
        expected.insert(expected.end(), c.errors.begin(), c.errors.end());
        ASSERT_EQ(expected, os.Texts());
        for (size_t i = 1; i < os.boxes.size(); ++i) {
            EXPECT_EQ("Corvane", os.boxes[i].caption) << "the program's title, never none";
            EXPECT_EQ((UINT)MB_OK, os.boxes[i].style);
        }
    }
}

// --- the advanced values ------------------------------------------------------

TEST_F(ConfPage, AdvancedValuesReachCardAndRegistryOnlyAtOk)
{
    Boot(PLATFORM_NT_WORKSTATION);
    Open();
    page->advanced = [](CAdvConfigDlg& dlg) {
        ::SetDlgItemTextA(dlg.m_hWnd, IDC_ADV_RETRY, "12");
        dlg.m_sliderSensitivity.SetPos(56);
        ::SendDlgItemMessageA(dlg.m_hWnd, IDC_ADV_POWER_SAVING, BM_SETCHECK, BST_CHECKED, 0);
        ::SetDlgItemTextA(dlg.m_hWnd, IDC_ADV_BSSID, "00:A0:C5:00:00:02");
        PressOk(dlg);
    };
    page->Click(IDC_CONF_ADVANCED);
    EXPECT_EQ(IDOK, page->m_nAdvancedResult);
    EXPECT_EQ(7, machine->card.Fw().World().txRetry) << "nothing sent before OK";
    EXPECT_EQ("<none>", machine->Value("TxRetry"));

    os.answers = {IDCANCEL};
    EXPECT_TRUE(Ok());
    const Scenario& card = machine->card.Fw().World();
    EXPECT_EQ(12, card.txRetry);
    EXPECT_EQ(56, card.roamingThreshold);
    EXPECT_EQ(1, card.psMode);
    const uint8_t bssid[6] = {0x00, 0xA0, 0xC5, 0x00, 0x00, 0x02};
    EXPECT_EQ(0, memcmp(bssid, card.preferBssid, 6));
    EXPECT_EQ("12", machine->Value("TxRetry"));
    EXPECT_EQ("56", machine->Value("RoamingThreshold"));
    EXPECT_EQ("1", machine->Value("PSmode"));
    EXPECT_EQ("00A0C5000002", machine->Value("PreferBSSID"));
    EXPECT_EQ("<none>", machine->Value("DataRate")) << "unchanged";
    EXPECT_EQ(std::vector<std::string>{kRestart}, os.Texts()) << "asked for the BSSID";
}

TEST_F(ConfPage, RetryThresholdAndPowerSavingAloneAskNoRestartButDataRateDoes)
{
    Boot(PLATFORM_NT_WORKSTATION);
    Open();
    page->advanced = [](CAdvConfigDlg& dlg) {
        ::SetDlgItemTextA(dlg.m_hWnd, IDC_ADV_RETRY, "20");
        dlg.m_sliderSensitivity.SetPos(16);
        ::SendDlgItemMessageA(dlg.m_hWnd, IDC_ADV_POWER_SAVING, BM_SETCHECK, BST_CHECKED, 0);
        PressOk(dlg);
    };
    page->Click(IDC_CONF_ADVANCED);
    EXPECT_TRUE(Ok());
    EXPECT_TRUE(os.boxes.empty());

    page->advanced = [](CAdvConfigDlg& dlg) {
        ::SendDlgItemMessageA(dlg.m_hWnd, IDC_ADV_DATA_RATE, CB_SETCURSEL, 1, 0);
        PressOk(dlg);
    };
    page->Click(IDC_CONF_ADVANCED);
    os.answers = {IDCANCEL};
    EXPECT_TRUE(Ok());
    EXPECT_EQ("1", machine->Value("DataRate"));
    EXPECT_EQ(std::vector<std::string>{kRestart}, os.Texts());
}

TEST_F(ConfPage, ACancelledAdvancedDialogAfterAnOkOneAppliesNothing)
{
    Boot(PLATFORM_NT_WORKSTATION);
    Open();
    page->advanced = [](CAdvConfigDlg& dlg) {
        ::SetDlgItemTextA(dlg.m_hWnd, IDC_ADV_RETRY, "12");
        PressOk(dlg);
    };
    page->Click(IDC_CONF_ADVANCED);
    page->advanced = [](CAdvConfigDlg& dlg) {
        // It opens on the values the OK one left.
        EXPECT_EQ(12, dlg.m_nRetryLimit);
    };
    page->Click(IDC_CONF_ADVANCED);
    EXPECT_TRUE(Ok());
    EXPECT_EQ("<none>", machine->Value("TxRetry"));
    EXPECT_EQ(7, machine->card.Fw().World().txRetry);
}

TEST_F(ConfPage, AdvancedValuesAreForgottenWhenThePageOpensAgain)
{
    Boot(PLATFORM_NT_WORKSTATION);
    Open();
    page->advanced = [](CAdvConfigDlg& dlg) {
        ::SetDlgItemTextA(dlg.m_hWnd, IDC_ADV_RETRY, "12");
        PressOk(dlg);
    };
    page->Click(IDC_CONF_ADVANCED);
    EXPECT_EQ(12, page->m_advCurrent.retryLimit);
    // The sheet is closed without OK and opened again: the same page object
    // makes a new window.
    ASSERT_TRUE(page->Reopen());
    EXPECT_EQ(0, page->m_nAdvancedResult);
    EXPECT_EQ(7, page->m_advCurrent.retryLimit);
    EXPECT_TRUE(Ok());
    EXPECT_EQ("<none>", machine->Value("TxRetry"));
    EXPECT_EQ(7, machine->card.Fw().World().txRetry);
}

TEST_F(ConfPage, TheAdvancedDialogSeesTheNetworkTypeChosenNotTheStoredOne)
{
    Boot(PLATFORM_NT_WORKSTATION);
    Open();
    page->Click(IDC_CONF_ADVANCED);
    EXPECT_EQ(1, page->advancedNetworkType);
    EXPECT_TRUE(page->advancedRateEnabled);

    page->Select(IDC_CONF_NETWORK_TYPE, 0);
    page->Click(IDC_CONF_ADVANCED);
    EXPECT_EQ(0, page->advancedNetworkType);
    EXPECT_FALSE(page->advancedRateEnabled);
}

} // namespace
