// CardSettingsTest.cpp - settings in the driver's registry parameters (read
// with fallbacks, written with each platform's types, the data rate
// description) and settings sent to the running card.
#include "adapter/CardSettings.h"
#include "adapter/AdapterDiscovery.h"
#include "adapter/CardItems.h"
#include "adapter/Mailbox.h"
#include "adapter/PortAccess.h"
#include "tests/support/ScriptedCard.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {
// Each test has a driver key of its own, so tests run side by side in one
// prefix do not meet.
std::string g_serviceKey;
std::string g_driverKey;

void DeleteTree(const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    char name[256];
    while (RegEnumKeyA(key, 0, name, sizeof(name)) == ERROR_SUCCESS)
        DeleteTree(path + "\\" + name);
    RegCloseKey(key);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
}

void SetValue(const std::string& path, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size));
    RegCloseKey(key);
}

void SetString(const std::string& path, const char* name, const char* text)
{
    SetValue(path, name, REG_SZ, text, static_cast<DWORD>(strlen(text) + 1));
}

struct Stored
{
    bool found = false;
    DWORD type = 0;
    std::vector<BYTE> data;
    // The text up to its terminating zero (Wine hands one back either way).
    std::string Text() const
    {
        std::string text(data.begin(), data.end());
        return text.substr(0, text.find('\0'));
    }
};

Stored Query(const std::string& path, const char* name)
{
    Stored stored;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return stored;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &stored.type, nullptr, &size) == ERROR_SUCCESS) {
        stored.data.resize(size);
        RegQueryValueExA(key, name, nullptr, &stored.type, stored.data.data(), &size);
        stored.data.resize(size);
        stored.found = true;
    }
    RegCloseKey(key);
    return stored;
}

// The stored size as the registry keeps it (in UTF-16: the ANSI query
// hands a terminating zero back whether one was stored or not).
DWORD StoredWideSize(const std::string& path, const char* name)
{
    HKEY key;
    DWORD size = 0;
    std::wstring wide(name, name + strlen(name));
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &key) ==
        ERROR_SUCCESS) {
        RegQueryValueExW(key, wide.c_str(), nullptr, nullptr, nullptr, &size);
        RegCloseKey(key);
    }
    return size;
}

std::string Params(const char* name)
{
    return std::string(g_driverKey) + "\\ndi\\params\\" + name;
}

// A card behind the scripted firmware plus a driver key of our own.
class Settings : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_serviceKey = std::string("System\\CurrentControlSet\\Services\\CorvaneFw_") +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name();
        g_driverKey = g_serviceKey + "\\Parameters";
        DeleteTree(g_serviceKey);
        SetString(g_driverKey, "Placeholder", "");
        GetAdapterLink().DriverKeyPath = g_driverKey;
        GetAdapterLink().DriverKeyValid = true;
        GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
    }
    void TearDown() override { DeleteTree(g_serviceKey); }

    std::string Read(int item)
    {
        char text[CONFIG_TEXT_SIZE];
        memset(text, 'x', sizeof(text));
        m_result = ReadConfigValue(nullptr, item, text);
        return text;
    }

    ScriptedCard m_card;
    BYTE m_result = 0xEE;
};
} // namespace

TEST_F(Settings, ReadFallsBackToTheParameterDescriptionThenToNothing)
{
    EXPECT_EQ("0", Read(CI_DATA_RATE)) << "no value and no description";
    EXPECT_EQ(ITEM_OK, m_result);
    EXPECT_EQ("", Read(CI_ESSID));
    EXPECT_EQ(ITEM_OK, m_result);

    SetString(Params("DataRate"), "default", "1");
    SetString(Params("ESSID"), "default", "Any");
    EXPECT_EQ("1", Read(CI_DATA_RATE));
    EXPECT_EQ("Any", Read(CI_ESSID));

    SetString(g_driverKey, "ESSID", "Office");
    DWORD seven = 7;
    SetValue(g_driverKey, "TxRetry", REG_DWORD, &seven, sizeof(seven));
    EXPECT_EQ("Office", Read(CI_ESSID)) << "the value itself comes first";
    EXPECT_EQ("7", Read(CI_TX_RETRY)) << "a number reads back as text";

    // Stored without its terminating zero, or with it: the same text.
    SetValue(g_driverKey, "StationName", REG_SZ, "PC-1", 4);
    EXPECT_EQ("PC-1", Read(CI_STATION_NAME));
    SetValue(g_driverKey, "StationName", REG_SZ, "PC-2\0", 5);
    EXPECT_EQ("PC-2", Read(CI_STATION_NAME));
}

TEST_F(Settings, PreferredBssidReadsUpperCaseAndNoneAsEmpty)
{
    SetString(g_driverKey, "PreferBSSID", "000000000000");
    EXPECT_EQ("", Read(CI_PREFER_BSSID));
    EXPECT_EQ(ITEM_OK, m_result);
    SetString(g_driverKey, "PreferBSSID", "00a0c5123456");
    EXPECT_EQ("00A0C5123456", Read(CI_PREFER_BSSID));
}

TEST_F(Settings, DiscoveryItems)
{
    GetAdapterLink().AdapterIoBase = 0x240;
    GetAdapterLink().AdapterCardType = 1;
    EXPECT_EQ("0240 - 0247", Read(CI_IO_RANGE));
    EXPECT_EQ("PCMCIA", Read(CI_CARD_TYPE));
    GetAdapterLink().AdapterCardType = 2;
    EXPECT_EQ("0240 - 024F", Read(CI_IO_RANGE));
    EXPECT_EQ("ISA", Read(CI_CARD_TYPE));
    GetAdapterLink().AdapterCardType = 0; // could not be read: no guess at bus or range
    EXPECT_EQ("Not available", Read(CI_CARD_TYPE));
    EXPECT_EQ("Not available", Read(CI_IO_RANGE));
    GetAdapterLink().AdapterIrq = 10;
    EXPECT_EQ("10", Read(CI_IRQ));
    GetAdapterLink().AdapterIrq = 0xFFFF;
    EXPECT_EQ("Not available", Read(CI_IRQ));
}

TEST_F(Settings, ReadRefusesUnknownItemsAndAnAdapterNotReady)
{
    for (int item : {0, 5, 12, 13, 17, 20, 50, 53}) {
        EXPECT_EQ("", Read(item)) << "item " << item;
        EXPECT_EQ(ITEM_UNKNOWN, m_result) << "item " << item;
    }
    SetString(g_driverKey, "ESSID", "Office");
    GetAdapterLink().AdapterReady = false;
    EXPECT_EQ("", Read(CI_ESSID));
    EXPECT_EQ(ITEM_NO_ADAPTER, m_result);
    EXPECT_EQ("", Read(CI_CARD_TYPE));
    EXPECT_EQ(ITEM_NO_ADAPTER, m_result);
}

TEST_F(Settings, ReadCutsLongValuesToTheBuffer)
{
    SetString(g_driverKey, "SecurityID", "0123456789ABCDEF");
    char text[8 + 4];
    memset(text, 'x', sizeof(text));
    EXPECT_EQ(ITEM_OK, ReadConfigValue(nullptr, CI_SECURITY_ID, text, 8));
    EXPECT_STREQ("0123456", text);
    EXPECT_EQ('x', text[8]);
}

TEST(SettingTypes, RegistryTypesPerPlatform)
{
    const int textEverywhere[] = {CI_ESSID, CI_PREFER_BSSID, CI_STATION_NAME, CI_SECURITY_ID};
    const int numbersOnNt4[] = {CI_NETWORK_TYPE, CI_CARRIER_SET, CI_PS_MODE,
                                CI_ROAMING,      CI_SENSITIVITY, CI_ROAMING_THRESHOLD,
                                CI_DATA_RATE,    CI_TX_RETRY,    CI_SECURITY};
    for (int platform :
         {PLATFORM_NT_SERVER, PLATFORM_NT_WORKSTATION, PLATFORM_NT5, PLATFORM_WIN9X}) {
        bool nt4 = platform == PLATFORM_NT_SERVER || platform == PLATFORM_NT_WORKSTATION;
        for (int item : textEverywhere)
            EXPECT_EQ(DWORD(REG_SZ), ConfigValueType(item, platform))
                << "item " << item << " platform " << platform;
        for (int item : numbersOnNt4)
            EXPECT_EQ(DWORD(nt4 ? REG_DWORD : REG_SZ), ConfigValueType(item, platform))
                << "item " << item << " platform " << platform;
    }
    EXPECT_STREQ("sensitivity", ConfigValueName(CI_SENSITIVITY));
    EXPECT_STREQ("PSmode", ConfigValueName(CI_PS_MODE));
    EXPECT_EQ(nullptr, ConfigValueName(CI_MANUFACTURER));
}

TEST_F(Settings, WriteUsesNumbersOnNt4AndTextOnWindows98)
{
    EXPECT_EQ(ITEM_OK, WriteConfigValue(nullptr, CI_ROAMING, "1"));
    Stored nt = Query(g_driverKey, "Roaming");
    ASSERT_TRUE(nt.found);
    EXPECT_EQ(DWORD(REG_DWORD), nt.type);
    ASSERT_EQ(4u, nt.data.size());
    EXPECT_EQ(1, nt.data[0]);

    EXPECT_EQ(ITEM_OK, WriteConfigValue(nullptr, CI_ESSID, "Lab"));
    EXPECT_EQ(DWORD(REG_SZ), Query(g_driverKey, "ESSID").type);
    EXPECT_EQ(DWORD(4 * sizeof(WCHAR)), StoredWideSize(g_driverKey, "ESSID"))
        << "the text and its terminating zero";

    GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
    SetString(Params("Roaming"), "default", "0");
    EXPECT_EQ(ITEM_OK, WriteConfigValue(nullptr, CI_ROAMING, "1"));
    Stored w98 = Query(g_driverKey, "Roaming");
    EXPECT_EQ(DWORD(REG_SZ), w98.type);
    EXPECT_EQ("1", w98.Text());
    Stored unnamed = Query(Params("Roaming"), "");
    EXPECT_TRUE(unnamed.found) << "the description's unnamed value follows";
    EXPECT_EQ("1", unnamed.Text());
    EXPECT_EQ("0", Query(Params("Roaming"), "default").Text());
    EXPECT_TRUE(m_card.reporter.notices.empty());
}

TEST_F(Settings, Windows98WithoutADescriptionWritesTheValueAndSaysSo)
{
    GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
    EXPECT_EQ(ITEM_OK, WriteConfigValue(nullptr, CI_SECURITY, "1"))
        << "the value's own write decides, not its missing description";
    EXPECT_EQ("1", Query(g_driverKey, "Security").Text());
    EXPECT_FALSE(Query(Params("Security"), "").found) << "the description key is not created";
    EXPECT_TRUE(m_card.reporter.notices.empty()) << "a key that cannot be opened is silent here";
}

TEST_F(Settings, WriteFailuresAndRefusals)
{
    EXPECT_EQ(ITEM_UNKNOWN, WriteConfigValue(nullptr, CI_MANUFACTURER, "x"));
    GetAdapterLink().DriverKeyValid = false;
    EXPECT_EQ(ITEM_NO_ADAPTER, WriteConfigValue(nullptr, CI_ESSID, "x"));
    GetAdapterLink().DriverKeyValid = true;
    GetAdapterLink().AdapterReady = false;
    EXPECT_EQ(ITEM_NO_ADAPTER, WriteConfigValue(nullptr, CI_ESSID, "x"));
    GetAdapterLink().AdapterReady = true;
    EXPECT_FALSE(Query(g_driverKey, "ESSID").found);

    // A driver key that has gone: NT says why.
    DeleteTree(g_serviceKey);
    EXPECT_EQ(ITEM_NO_ADAPTER, WriteConfigValue(nullptr, CI_ESSID, "x"));
    EXPECT_EQ(1u, m_card.reporter.notices.size());
    GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
    EXPECT_EQ(ITEM_NO_ADAPTER, WriteConfigValue(nullptr, CI_ESSID, "x"));
    EXPECT_EQ(1u, m_card.reporter.notices.size()) << "Windows 95/98 stays silent";
}

// The key opens but the value is refused (Wine refuses a name longer than
// the registry allows): the registry error on every platform, and 2.
TEST_F(Settings, RefusedValueWriteShowsTheRegistryErrorAndGives2)
{
    const std::string name(20000, 'n');
    struct Case
    {
        int platform;
        DWORD type;
    } cases[] = {{PLATFORM_NT_WORKSTATION, REG_SZ},
                 {PLATFORM_NT_WORKSTATION, REG_DWORD},
                 {PLATFORM_WIN9X, REG_SZ}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.platform * 100 + c.type);
        GetAdapterLink().PlatformKind = c.platform;
        m_card.reporter.notices.clear();
        EXPECT_EQ(REG_ERROR, WriteNamedValue(HKEY_LOCAL_MACHINE, g_driverKey, nullptr, name.c_str(),
                                             "x", 1, c.type));
        ASSERT_EQ(std::vector<AdapterNotice>{AdapterNotice::RegistryError},
                  m_card.reporter.Kinds());
        EXPECT_NE(0, m_card.reporter.notices[0].number) << "the system's error code";
    }
}

TEST_F(Settings, DataRateDescriptionIsCreatedOnceWithItsValues)
{
    GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
    WriteConfigValue(nullptr, CI_DATA_RATE, "1");
    EXPECT_EQ("1", Query(g_driverKey, "DataRate").Text());
    std::string params = Params("DataRate");
    EXPECT_EQ("1", Query(params, "").Text());
    EXPECT_EQ("0", Query(params, "default").Text());
    Stored flag = Query(params, "flag");
    EXPECT_EQ(DWORD(REG_BINARY), flag.type);
    EXPECT_EQ((std::vector<BYTE>{0x20, 0, 0, 0}), flag.data);
    EXPECT_EQ("Datarate", Query(params, "ParamDesc").Text());
    EXPECT_EQ("enum", Query(params, "type").Text());
    EXPECT_EQ("1, 2 Mbit/s Auto", Query(params + "\\enum", "0").Text());
    EXPECT_EQ("1 Mbit/s", Query(params + "\\enum", "1").Text());

    // An existing description is left alone.
    SetString(params, "ParamDesc", "Edited");
    WriteConfigValue(nullptr, CI_DATA_RATE, "0");
    EXPECT_EQ("Edited", Query(params, "ParamDesc").Text());
    EXPECT_EQ("0", Query(g_driverKey, "DataRate").Text());
}

TEST_F(Settings, DataRateDescriptionOnlyOnWindows98)
{
    EXPECT_EQ(ITEM_OK, WriteConfigValue(nullptr, CI_DATA_RATE, "1"));
    EXPECT_FALSE(Query(Params("DataRate"), "ParamDesc").found);
}

// ---- SetCardItem ----

namespace {
uint32_t ValueDword(const MailboxBlock& b)
{
    return b.data.value[0] | (b.data.value[1] << 8) | (b.data.value[2] << 16) |
           (uint32_t(b.data.value[3]) << 24);
}
} // namespace

TEST(SetCardItem, ValuesSentByForm)
{
    struct Case
    {
        int item;
        const char* text;
        uint16_t code;
        std::vector<uint8_t> value; // the first bytes of the value field
    } cases[] = {
        {CI_PS_MODE, "0", 0x0052, {0, 0, 0}},
        {CI_PS_MODE, "2", 0x0052, {1, 0, 0}},
        {CI_PS_MODE, "1", 0x0052, {1, 0, 0}},
        {CI_ROAMING, "0", 0x1024, {0, 0}},
        {CI_ROAMING, "1", 0x1024, {1, 0}},
        {CI_ROAMING_THRESHOLD, "70000", 0x1026, {0x70, 0x11, 0x01, 0x00}},
        {CI_PREFER_BSSID, "00a0c5123456", 0x1029, {0x00, 0xA0, 0xC5, 0x12, 0x34, 0x56, 0}},
        {CI_PREFER_BSSID, "", 0x1029, {0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        ScriptedCard card;
        card.Reply(0x0033, {}); // other firmware statuses are not reported
        EXPECT_EQ(ITEM_OK, SetCardItem(nullptr, c.item, c.text)) << c.item << " " << c.text;
        ASSERT_EQ(1u, card.sent.size()) << c.item;
        EXPECT_EQ(CMD_SET_PARAM, card.sent[0].command);
        EXPECT_EQ(c.code, card.sent[0].data.code);
        EXPECT_EQ(0, memcmp(c.value.data(), card.sent[0].data.value, c.value.size()))
            << c.item << " " << c.text;
    }
}

TEST(SetCardItem, TxRetryGoesToBothCopiesUnlessTheFirstGetsNoAnswer)
{
    {
        ScriptedCard card;
        EXPECT_EQ(ITEM_OK, SetCardItem(nullptr, CI_TX_RETRY, "5"));
        ASSERT_EQ(2u, card.sent.size());
        EXPECT_EQ(0x0019, card.sent[0].data.code);
        EXPECT_EQ(0x0020, card.sent[1].data.code);
        EXPECT_EQ(5u, ValueDword(card.sent[0]));
        EXPECT_EQ(5u, ValueDword(card.sent[1]));
    }
    {
        ScriptedCard card;
        card.pendingPolls = -1;
        EXPECT_EQ(ITEM_NO_RESPONSE, SetCardItem(nullptr, CI_TX_RETRY, "5"));
        EXPECT_EQ(1, card.CountSent(CMD_SET_PARAM)) << "the second copy is skipped";
    }
    {
        // The first copy answered, the second did not.
        ScriptedCard card;
        int commands = 0;
        card.firmware = [&card, &commands](MailboxBlock& b) {
            b.status = 0;
            if (++commands == 2)
                card.pendingPolls = -1;
        };
        EXPECT_EQ(ITEM_NO_RESPONSE, SetCardItem(nullptr, CI_TX_RETRY, "5"));
        EXPECT_EQ(2, card.CountSent(CMD_SET_PARAM));
    }
}

TEST(SetCardItem, ActionsAndRefusals)
{
    struct Case
    {
        int item;
        uint16_t command;
    } actions[] = {{CI_STATISTICS, CMD_RESET_STATISTICS},
                   {CI_START_BSS_SCAN, CMD_START_BSS_SCAN},
                   {CI_START_STATION_SCAN, CMD_START_STATION_SCAN}};
    for (const Case& c : actions) {
        ScriptedCard card;
        EXPECT_EQ(ITEM_OK, SetCardItem(nullptr, c.item, nullptr)) << c.item;
        EXPECT_EQ(1, card.CountSent(c.command)) << c.item;
        card.pendingPolls = -1;
        EXPECT_EQ(ITEM_NO_RESPONSE, SetCardItem(nullptr, c.item, "")) << c.item;
    }
    for (int item :
         {int(CI_MANUFACTURER), int(CI_ESSID), int(CI_NETWORK_TYPE), int(CI_DATA_RATE), 0, 99}) {
        ScriptedCard card;
        EXPECT_EQ(ITEM_UNKNOWN, SetCardItem(nullptr, item, "1")) << item;
        EXPECT_TRUE(card.sent.empty());
    }
    {
        ScriptedCard card;
        EXPECT_EQ(ITEM_UNKNOWN, SetCardItem(nullptr, CI_PREFER_BSSID, "00:a0:c5:12:34:56"));
        EXPECT_TRUE(card.sent.empty()) << "not twelve digits: nothing is sent";
        GetAdapterLink().AdapterReady = false;
        EXPECT_EQ(ITEM_NO_ADAPTER, SetCardItem(nullptr, CI_PS_MODE, "1"));
        EXPECT_TRUE(card.sent.empty());
    }
    {
        // A scan the firmware refused every time is told apart from one
        // that started; the card was asked twenty times.
        ScriptedCard card;
        card.Reply(3, {});
        EXPECT_EQ(ITEM_SCAN_REFUSED, SetCardItem(nullptr, CI_START_BSS_SCAN, ""));
        EXPECT_EQ(20, card.CountSent(CMD_START_BSS_SCAN));
    }
    for (int item :
         {int(CI_PS_MODE), int(CI_TX_RETRY), int(CI_STATISTICS), int(CI_START_BSS_SCAN)}) {
        ScriptedCard card;
        card.refuseWritesFrom = 1;
        EXPECT_EQ(ITEM_NO_RESPONSE, SetCardItem(nullptr, item, "1")) << item;
        EXPECT_EQ(1u, card.reporter.notices.size()) << item;
    }
    {
        ScriptedCard card;
        card.pendingPolls = -1;
        EXPECT_EQ(ITEM_NO_RESPONSE, SetCardItem(nullptr, CI_PS_MODE, "1"));
        GetAdapterLink().MailboxState = 0;
        EXPECT_EQ(ITEM_NO_RESPONSE, SetCardItem(nullptr, CI_ROAMING, "1"))
            << "a closed mailbox sends nothing, which is no answer";
    }
}
