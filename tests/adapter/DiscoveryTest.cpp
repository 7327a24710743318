// Adapter discovery on Windows 95/98 and NT, and the mailbox link.
#include "adapter/AdapterDiscovery.h"
#include "adapter/PortAccess.h"
#include "tests/support/FakeOs.h"
#include "tests/support/RecordingReporter.h"
#include "tests/support/RegistryFixture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const char kConfigManager[] = "Config Manager";
const char kEnum[] = "enum";
const char kClass[] = "system\\currentcontrolset\\services\\class\\KvrTest";
const char kCards[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
const char kServices[] = "SYSTEM\\CurrentControlSet\\Services";
const char kResourceMap[] = "HARDWARE\\RESOURCEMAP\\OtherDrivers";

// Configuration Manager allocation data: IoBase at 20, IRQ at 18 + b.
std::vector<BYTE> Allocation(WORD ioBase, WORD irq, signed char b = 8, size_t size = 32)
{
    std::vector<BYTE> data(size, 0);
    data[8] = (BYTE)b;
    if (size >= 22) {
        data[20] = LOBYTE(ioBase);
        data[21] = HIBYTE(ioBase);
    }
    if (18 + b >= 0 && (size_t)(18 + b + 2) <= size) {
        data[18 + b] = LOBYTE(irq);
        data[18 + b + 1] = HIBYTE(irq);
    }
    return data;
}

struct Partial
{
    BYTE type;
    DWORD start;
};

// An NT resource list with one full descriptor; `claimed` may overstate the count.
std::vector<BYTE> ResourceList(const std::vector<Partial>& partials, int claimed = -1)
{
    std::vector<BYTE> data(20 + 16 * partials.size(), 0);
    data[0] = 1; // one full descriptor
    DWORD count = claimed < 0 ? (DWORD)partials.size() : (DWORD)claimed;
    memcpy(&data[16], &count, 4);
    for (size_t i = 0; i < partials.size(); ++i) {
        BYTE* d = &data[20 + 16 * i];
        d[0] = partials[i].type;
        memcpy(d + 4, &partials[i].start, 4);
    }
    return data;
}

class Discovery : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetAdapterState();
        reg.Own(HKEY_DYN_DATA, kConfigManager);
        reg.Own(HKEY_LOCAL_MACHINE, kEnum);
        reg.Own(HKEY_LOCAL_MACHINE, kClass);
        reg.Own(HKEY_LOCAL_MACHINE, kCards);
        reg.Own(HKEY_LOCAL_MACHINE, std::string(kServices) + "\\zorbNT");
        reg.Own(HKEY_LOCAL_MACHINE, std::string(kResourceMap) + "\\zorbNT");
        search = MakeDeviceSearch({"ISAPNP\\KVR1001", "ISAPNP\\KVR20"}, "802.11");
    }
    void TearDown() override { ResetAdapterState(); }

    // A Windows 95/98 device: its Configuration Manager key, enum key and class key.
    void AddWin9xDevice(const char* cmKey, const std::string& hardwareKey,
                        const std::vector<BYTE>& problem, const std::vector<BYTE>& allocation,
                        const char* driver = "KvrTest\\0000")
    {
        std::string cm = std::string(kConfigManager) + "\\Enum\\" + cmKey;
        reg.SetString(HKEY_DYN_DATA, cm, "HardWareKey", hardwareKey);
        reg.SetBinary(HKEY_DYN_DATA, cm, "Problem", problem);
        reg.SetBinary(HKEY_DYN_DATA, cm, "Allocation", allocation);
        if (driver)
            reg.SetString(HKEY_LOCAL_MACHINE, "enum\\" + hardwareKey, "Driver", driver);
    }

    void AddNtCard(const char* product, const std::vector<BYTE>* resources)
    {
        std::string card = std::string(kCards) + "\\1";
        reg.SetString(HKEY_LOCAL_MACHINE, card, "ProductName", product);
        reg.SetString(HKEY_LOCAL_MACHINE, card, "ServiceName", "zorbNT1");
        std::string bind = "\\Device\\zorbNT1";
        bind.push_back('\0'); // REG_MULTI_SZ
        reg.SetBinary(HKEY_LOCAL_MACHINE, std::string(kServices) + "\\" + product + "\\LinkAge",
                      "Bind", std::vector<BYTE>(bind.begin(), bind.end()), REG_MULTI_SZ);
        if (resources)
            reg.SetBinary(HKEY_LOCAL_MACHINE, std::string(kResourceMap) + "\\" + product,
                          "\\Device\\zorbNT1.Raw", *resources, REG_RESOURCE_LIST);
    }

    RegistryFixture reg;
    FakeOs os{FakeOs::kMachine};
    RecordingReporter reporter;
    DeviceSearch search;
};

const std::vector<BYTE> kHealthy = {0, 0, 0, 0};

TEST_F(Discovery, Win9xPcmciaCardIsFoundThroughItsSearchTextFirst)
{
    GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
    // An ISA device that a list entry would match is enumerated first.
    AddWin9xDevice("0000", "ISAPNP\\KVR1001\\0", kHealthy, Allocation(0x300, 10));
    AddWin9xDevice("0001", "KVRTEST\\PCMCIA-802.11-CARD\\1", kHealthy, Allocation(0x270, 5));
    reg.SetString(HKEY_LOCAL_MACHINE, kClass + std::string("\\0000"), "CardType", "1");

    EXPECT_EQ(ADAPTER_OK, DiscoverAdapter(search, nullptr));
    EXPECT_EQ(0x270, GetAdapterLink().AdapterIoBase);
    EXPECT_EQ(5, GetAdapterLink().AdapterIrq);
    EXPECT_EQ(1, GetAdapterLink().AdapterCardType);
    EXPECT_EQ("system\\currentcontrolset\\services\\class\\KvrTest\\0000",
              GetAdapterLink().DriverKeyPath);
    EXPECT_TRUE(GetAdapterLink().DriverKeyValid);
    EXPECT_TRUE(os.calls.empty()) << "no driver request on Windows 95/98";
    EXPECT_TRUE(reporter.notices.empty());
}

TEST_F(Discovery, Win9xIsaCardIsFoundThroughAListEntry)
{
    GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
    // The shortened entry "ISAPNP\KVR20" covers the model family.
    AddWin9xDevice("0000", "ISAPNP\\KVR2044\\0", kHealthy, Allocation(0x300, 11, -4));
    // CardType only in the driver's parameter description.
    reg.SetString(HKEY_LOCAL_MACHINE, kClass + std::string("\\0000\\ndi\\params\\CardType"),
                  "default", "2");
    EXPECT_EQ(ADAPTER_OK, DiscoverAdapter(search, nullptr));
    EXPECT_EQ(0x300, GetAdapterLink().AdapterIoBase);
    EXPECT_EQ(11, GetAdapterLink().AdapterIrq);
    EXPECT_EQ(2, GetAdapterLink().AdapterCardType);
}

TEST_F(Discovery, Win9xProblemByteGivesStatus6WithResourcesTaken)
{
    GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
    AddWin9xDevice("0000", "KVRTEST\\PCMCIA-802.11\\1", {0, 0, 0x16, 0}, Allocation(0x280, 9));
    EXPECT_EQ(ADAPTER_NOT_WORKING, DiscoverAdapter(search, nullptr));
    EXPECT_EQ(0x280, GetAdapterLink().AdapterIoBase);
    EXPECT_EQ(9, GetAdapterLink().AdapterIrq);
    EXPECT_EQ(0, GetAdapterLink().AdapterCardType) << "no CardType value";

    // A value that is no card type number is not read as one.
    for (const char* stored : {"300", "-1", "0", "1x", ""}) {
        reg.SetString(HKEY_LOCAL_MACHINE, kClass + std::string("\\0000"), "CardType", stored);
        DiscoverAdapter(search, nullptr);
        EXPECT_EQ(0, GetAdapterLink().AdapterCardType) << "CardType \"" << stored << "\"";
    }
}

TEST_F(Discovery, Win9xBadDataEndsWithStatus4)
{
    GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
    struct Case
    {
        const char* what;
        std::vector<BYTE> allocation;
    };
    const Case cases[] = {
        {"19 bytes", Allocation(0x300, 5, 0, 19)},
        {"21 bytes: IoBase word not all there", Allocation(0x300, 5, 0, 21)},
        {"IRQ beyond the data", Allocation(0x300, 5, 20, 32)},
        {"IRQ before the data", Allocation(0x300, 5, -19, 32)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RegistryFixture::DeleteTree(HKEY_DYN_DATA, kConfigManager);
        AddWin9xDevice("0000", "KVRTEST\\PCMCIA-802.11\\1", kHealthy, c.allocation);
        EXPECT_EQ(ADAPTER_BAD_INSTALL, DiscoverAdapter(search, nullptr));
    }
    RegistryFixture::DeleteTree(HKEY_DYN_DATA, kConfigManager);
    RegistryFixture::DeleteTree(HKEY_LOCAL_MACHINE, kEnum);
    AddWin9xDevice("0000", "KVRTEST\\PCMCIA-802.11\\1", kHealthy, Allocation(0x300, 5), nullptr);
    EXPECT_EQ(ADAPTER_BAD_INSTALL, DiscoverAdapter(search, nullptr)) << "no driver value";
}

TEST_F(Discovery, Win9xWithoutAMatchingDeviceGivesStatus3)
{
    GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
    AddWin9xDevice("0000", "PCI\\VEN_8086\\0", kHealthy, Allocation(0x300, 5));
    EXPECT_EQ(ADAPTER_NOT_FOUND, DiscoverAdapter(search, nullptr));
    EXPECT_FALSE(GetAdapterLink().DriverKeyValid);
}

TEST_F(Discovery, SearchSkipsDataLongerThanItReads)
{
    std::string key = std::string(kConfigManager) + "\\Enum\\0000";
    reg.SetString(HKEY_DYN_DATA, key, "Long", std::string(300, 'x') + "802.11");
    reg.SetString(HKEY_DYN_DATA, key + "\\Sub", "Short", "card 802.11 here");
    FoundValue found = FindValueContaining(HKEY_DYN_DATA, kConfigManager, "802.11");
    EXPECT_EQ(REG_FOUND, found.result);
    EXPECT_EQ(key + "\\Sub", found.keyPath);
    EXPECT_EQ("card 802.11 here", found.data);
    found = FindValueContaining(HKEY_DYN_DATA, kConfigManager, "zzz");
    EXPECT_EQ(REG_NOT_FOUND, found.result);
    EXPECT_TRUE(found.keyPath.empty() && found.data.empty()) << "nothing found, nothing named";
    EXPECT_TRUE(reporter.notices.empty());
    EXPECT_EQ(REG_ERROR, FindValueContaining(HKEY_DYN_DATA, "No Such Key", "802.11").result);
    EXPECT_EQ(std::vector<AdapterNotice>{AdapterNotice::RegOpenFailed}, reporter.Kinds());
}

TEST_F(Discovery, ReadNamedValueMatchesNamesIgnoringCaseAndFormatsNumbers)
{
    std::string key = std::string(kClass) + "\\0000";
    reg.SetDword(HKEY_LOCAL_MACHINE, key, "TxRetry", (DWORD)-3);
    reg.SetString(HKEY_LOCAL_MACHINE, key, "ESSID", "Office");
    reg.SetString(HKEY_LOCAL_MACHINE, key, "ESSIDX", "Other");
    std::string text;
    EXPECT_EQ(REG_FOUND, ReadNamedValue(HKEY_LOCAL_MACHINE, key, nullptr, "txretry", text));
    EXPECT_EQ("-3", text);
    EXPECT_EQ(REG_FOUND, ReadNamedValue(HKEY_LOCAL_MACHINE, kClass, "0000", "essid", text));
    EXPECT_EQ("Office", text);
    EXPECT_EQ(REG_NOT_FOUND, ReadNamedValue(HKEY_LOCAL_MACHINE, key, nullptr, "ESS", text));
    EXPECT_EQ("", text);
    reg.SetBinary(HKEY_LOCAL_MACHINE, key, "Short", {1, 2}, REG_DWORD);
    EXPECT_NE(REG_FOUND, ReadNamedValue(HKEY_LOCAL_MACHINE, key, nullptr, "Short", text))
        << "a REG_DWORD of two bytes is not a number";
    // Texts written with or without their terminating zero read the same,
    // with nothing after the text.
    const std::string driver = "Net\\0003";
    reg.SetBinary(HKEY_LOCAL_MACHINE, key, "Bare", {driver.begin(), driver.end()}, REG_SZ);
    reg.SetBinary(HKEY_LOCAL_MACHINE, key, "Ended", {driver.c_str(), driver.c_str() + 9}, REG_SZ);
    for (const char* name : {"Bare", "Ended"}) {
        EXPECT_EQ(REG_FOUND, ReadNamedValue(HKEY_LOCAL_MACHINE, key, nullptr, name, text));
        EXPECT_EQ(std::string("Net\\0003"), text) << name;
        EXPECT_EQ(8u, text.size()) << name;
    }
}

TEST_F(Discovery, NtCardFoundThroughResourceMap)
{
    GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
    auto resources = ResourceList({{2, 10}, {1, 0x270}, {1, 0x300}});
    AddNtCard("ZORBnt", &resources);
    reg.SetDword(HKEY_LOCAL_MACHINE, "system\\currentcontrolset\\services\\zorbNT1\\parameters",
                 "CardType", 1);
    reg.Own(HKEY_LOCAL_MACHINE, "system\\currentcontrolset\\services\\zorbNT1");
    reg.SetDword(HKEY_LOCAL_MACHINE, "system\\currentcontrolset\\services\\zorbNT1\\parameters",
                 "CardType", 1);

    EXPECT_EQ(ADAPTER_OK, DiscoverAdapter(search, nullptr))
        << "product name compared ignoring case";
    EXPECT_EQ(0x270, GetAdapterLink().AdapterIoBase) << "the first port descriptor";
    EXPECT_EQ(10, GetAdapterLink().AdapterIrq);
    EXPECT_EQ(1, GetAdapterLink().AdapterCardType);
    EXPECT_EQ("system\\currentcontrolset\\services\\zorbNT1\\parameters",
              GetAdapterLink().DriverKeyPath);
    EXPECT_TRUE(GetAdapterLink().DriverKeyValid);
    EXPECT_EQ(PLATFORM_NT_WORKSTATION, GetAdapterLink().PlatformKind);
    ASSERT_EQ(1u, os.calls.size());
    EXPECT_EQ(0x9C402488u, os.calls[0].code);
    EXPECT_EQ(0x70, os.calls[0].in[0]);
    EXPECT_EQ(0x02, os.calls[0].in[1]);
}

TEST_F(Discovery, NtOutcomes)
{
    GetAdapterLink().PlatformKind = PLATFORM_NT_SERVER;
    auto noIrq = ResourceList({{1, 0x240}});
    AddNtCard("zorb3", &noIrq);
    EXPECT_EQ(ADAPTER_OK, DiscoverAdapter(search, nullptr));
    EXPECT_EQ(0xFFFF, GetAdapterLink().AdapterIrq);
    EXPECT_EQ(0, GetAdapterLink().AdapterCardType);

    auto overstated = ResourceList({{2, 3}}, 1000);
    AddNtCard("zorb3", &overstated);
    EXPECT_EQ(ADAPTER_NOT_FOUND, DiscoverAdapter(search, nullptr)) << "no port among the real ones";

    os.driverPresent = false;
    AddNtCard("zorb3", &noIrq);
    EXPECT_EQ(ADAPTER_NOT_FOUND, DiscoverAdapter(search, nullptr)) << "driver cannot be opened";
    EXPECT_TRUE(reporter.notices.empty()) << "DriverSetBase tells nothing";
    os.driverPresent = true;

    RegistryFixture::DeleteTree(HKEY_LOCAL_MACHINE, std::string(kResourceMap) + "\\zorb3");
    EXPECT_EQ(ADAPTER_NOT_FOUND, DiscoverAdapter(search, nullptr))
        << "listed, no resource map entry";
    RegistryFixture::DeleteTree(HKEY_LOCAL_MACHINE, std::string(kServices) + "\\zorb3");
    RegistryFixture::DeleteTree(HKEY_LOCAL_MACHINE, kCards);

    ResetAdapterState();
    GetAdapterLink().PlatformKind = PLATFORM_NT_SERVER;
    AddNtCard("OtherCard", nullptr);
    EXPECT_EQ(ADAPTER_BAD_INSTALL, DiscoverAdapter(search, nullptr)) << "no matching card";
    RegistryFixture::DeleteTree(HKEY_LOCAL_MACHINE, std::string(kServices) + "\\OtherCard");
    EXPECT_FALSE(GetAdapterLink().DriverKeyValid);
}

TEST_F(Discovery, NtWithoutNetworkCardListShowsTheRegistryError)
{
    GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
    EXPECT_EQ(ADAPTER_BAD_INSTALL, DiscoverAdapter(search, nullptr));
    ASSERT_EQ(std::vector<AdapterNotice>{AdapterNotice::RegistryError}, reporter.Kinds());
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, reporter.notices[0].number);
}

TEST_F(Discovery, Nt50IsRefused)
{
    GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
    os.version.dwMajorVersion = 5;
    os.version.dwMinorVersion = 0;
    EXPECT_EQ(ADAPTER_BAD_INSTALL, DiscoverAdapter(search, nullptr));
    EXPECT_EQ(PLATFORM_NT5, GetAdapterLink().PlatformKind);
    EXPECT_EQ(std::vector<AdapterNotice>{AdapterNotice::Nt5Refused}, reporter.Kinds());
}

TEST_F(Discovery, FailedVersionQueryIsReportedAndDiscoveryGoesOn)
{
    GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
    os.versionFails = true;
    auto resources = ResourceList({{1, 0x270}});
    AddNtCard("zorbNT", &resources);
    EXPECT_EQ(ADAPTER_OK, DiscoverAdapter(search, nullptr));
    EXPECT_EQ(std::vector<AdapterNotice>{AdapterNotice::NoVersionInfo}, reporter.Kinds());
}

TEST_F(Discovery, ResourceListAndAllocationParsersStayInsideTheData)
{
    WORD io = 0, irq = 0;
    EXPECT_FALSE(ParseResourceList(nullptr, 0, &io, &irq));
    auto list = ResourceList({{1, 0x1234}});
    EXPECT_FALSE(ParseResourceList(list.data(), 35, &io, &irq)) << "descriptor cut short";
    EXPECT_TRUE(ParseResourceList(list.data(), 36, &io, &irq));
    EXPECT_EQ(0x1234, io);
    auto alloc = Allocation(0x300, 7, -2, 22);
    EXPECT_TRUE(ParseAllocation(alloc.data(), alloc.size(), &io, &irq));
    EXPECT_EQ(0x300, io);
    EXPECT_EQ(7, irq);
}

class Mailbox : public Discovery
{
protected:
    void AddHealthyNtCard()
    {
        GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
        resources = ResourceList({{1, 0x270}, {2, 5}});
        AddNtCard("zorbNT", &resources);
    }
    std::vector<BYTE> resources;
};

TEST_F(Mailbox, PointerRange)
{
    struct Case
    {
        WORD pointer;
        BYTE status;
        int state;
        bool ready;
    };
    const Case cases[] = {{0x1FE, ADAPTER_NOT_WORKING, 1, false},
                          {0x1FF, ADAPTER_OK, 2, true},
                          {0x7FFF, ADAPTER_OK, 2, true},
                          {0x8000, ADAPTER_NOT_WORKING, 1, false}};
    AddHealthyNtCard();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pointer);
        ResetAdapterState();
        GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
        os.cardMemory[0x1FF] = c.pointer;
        EXPECT_EQ(c.status, OpenAdapter(search));
        EXPECT_EQ(c.state, GetAdapterLink().MailboxState);
        EXPECT_EQ(c.ready, GetAdapterLink().AdapterReady);
        EXPECT_EQ(c.pointer, GetAdapterLink().MailboxPointer);
        EXPECT_EQ(0x270, GetAdapterLink().IoBase);
    }
}

TEST_F(Mailbox, UnwellWin9xCardIsReadyButItsMailboxStaysClosed)
{
    GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
    AddWin9xDevice("0000", "KVRTEST\\PCMCIA-802.11\\1", {1, 0, 0, 0}, Allocation(0x280, 9));
    GetAdapterLink().AdapterBusy = true;
    EXPECT_EQ(ADAPTER_NOT_WORKING, OpenAdapter(search));
    EXPECT_TRUE(GetAdapterLink().AdapterReady);
    EXPECT_FALSE(GetAdapterLink().AdapterBusy);
    EXPECT_EQ(0, GetAdapterLink().IoBase) << "the base is not handed to the port layer";
    EXPECT_EQ(0, GetAdapterLink().MailboxState);
    EXPECT_TRUE(os.ports.empty());
}

// A healthy card opens its mailbox and clears a busy flag left from before,
// on Windows 95/98 reading the mailbox pointer with port instructions only.
TEST_F(Mailbox, HealthyCardIsReadyAndNotBusyOnBothPaths)
{
    {
        SCOPED_TRACE("Windows 95/98");
        GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
        AddWin9xDevice("0000", "KVRTEST\\PCMCIA-802.11\\1", {0, 0, 0, 0}, Allocation(0x280, 9));
        os.cardMemory[0x1FF] = 0x0300;
        GetAdapterLink().AdapterBusy = true;
        EXPECT_EQ(ADAPTER_OK, OpenAdapter(search));
        EXPECT_TRUE(GetAdapterLink().AdapterReady);
        EXPECT_FALSE(GetAdapterLink().AdapterBusy);
        EXPECT_EQ(2, GetAdapterLink().MailboxState);
        EXPECT_EQ(0x0300, GetAdapterLink().MailboxPointer);
        EXPECT_EQ(0x280, GetAdapterLink().IoBase);
        EXPECT_TRUE(os.calls.empty()) << "no driver request";
        ASSERT_EQ(2u, os.ports.size());
        EXPECT_EQ('o', os.ports[0].kind);
        EXPECT_EQ(0x282, os.ports[0].port);
        EXPECT_EQ(0x1FF, os.ports[0].value);
        EXPECT_EQ('i', os.ports[1].kind);
        EXPECT_EQ(0x284, os.ports[1].port);
    }
    {
        SCOPED_TRACE("Windows NT");
        ResetAdapterState();
        GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
        AddHealthyNtCard();
        os.cardMemory[0x1FF] = 0x0400;
        GetAdapterLink().AdapterBusy = true;
        EXPECT_EQ(ADAPTER_OK, OpenAdapter(search));
        EXPECT_FALSE(GetAdapterLink().AdapterBusy);
        EXPECT_TRUE(GetAdapterLink().AdapterReady);
    }
}

TEST_F(Mailbox, MissingAdapterLeavesEverythingClosed)
{
    GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
    EXPECT_EQ(ADAPTER_NOT_FOUND, OpenAdapter(search));
    EXPECT_FALSE(GetAdapterLink().AdapterReady);
    EXPECT_EQ(0, GetAdapterLink().MailboxState);
}

TEST_F(Mailbox, CloseMailbox)
{
    EXPECT_EQ(STATUS_NOT_OPEN, CloseMailbox());
    AddHealthyNtCard();
    os.cardMemory[0x1FF] = 0x400;
    ASSERT_EQ(ADAPTER_OK, OpenAdapter(search));
    EXPECT_EQ(0, CloseMailbox());
    EXPECT_EQ(0, GetAdapterLink().MailboxState);
    EXPECT_EQ(STATUS_NOT_OPEN, CloseMailbox());
}

} // namespace
