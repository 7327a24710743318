// Port access on the direct path and the driver path.
#include "adapter/PortAccess.h"
#include "tests/support/FakeOs.h"
#include "tests/support/RecordingReporter.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

LONG PortNumberSent(const DriverCall& call)
{
    LONG number;
    memcpy(&number, call.in.data(), sizeof(number));
    return number;
}

std::vector<WORD> Header(const DriverCall& call)
{
    std::vector<WORD> words(5);
    memcpy(words.data(), call.in.data(), 10);
    return words;
}

class PortAccess : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GetAdapterLink().IoBase = 0x240;
        GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
    }
    void TearDown() override
    {
        GetAdapterLink().IoBase = 0;
        GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
    }
    FakeOs os{FakeOs::kMachine};
    RecordingReporter reporter;
};

using N = AdapterNotice;

TEST_F(PortAccess, DirectPathUsesPortInstructionsOnly)
{
    GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
    GetAdapterLink().IoBase = 0x300;
    for (int i = 0; i < 19; ++i)
        os.cardMemory[0x200 + i] = (WORD)(0x1000 + i);
    BYTE block[38];
    ReadCardMemory(0x200, block, sizeof(block));
    PortReadByte(CONTROL_REG);
    PortWriteByte(DATA_REG, 7);

    EXPECT_TRUE(os.calls.empty());
    EXPECT_EQ(0, os.opens);
    ASSERT_EQ(1u + 19 + 2, os.ports.size());
    EXPECT_EQ('o', os.ports[0].kind);
    EXPECT_EQ(0x302, os.ports[0].port);
    EXPECT_EQ(0x200, os.ports[0].value);
    for (int i = 1; i <= 19; ++i) {
        EXPECT_EQ('i', os.ports[i].kind);
        EXPECT_EQ(16, os.ports[i].bits);
        EXPECT_EQ(0x304, os.ports[i].port);
    }
    EXPECT_EQ(0x00, block[0]);
    EXPECT_EQ(0x10, block[1]);
    EXPECT_EQ(0x12, block[36]);
    EXPECT_EQ(0x10, block[37]);
    EXPECT_EQ(0x300, os.ports[20].port);
    EXPECT_EQ(8, os.ports[21].bits);
}

TEST_F(PortAccess, DirectBlockWriteSendsWholeWords)
{
    GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
    GetAdapterLink().IoBase = 0x300;
    BYTE block[4] = {1, 2, 3, 4};
    WriteCardMemory(0x400, block, sizeof(block));
    ASSERT_EQ(3u, os.ports.size());
    EXPECT_EQ(0x0201, os.cardMemory[0x400]);
    EXPECT_EQ(0x0403, os.cardMemory[0x401]);
    EXPECT_TRUE(os.calls.empty());
}

TEST_F(PortAccess, DriverPathNeverExecutesPortInstructions)
{
    for (int platform : {PLATFORM_NT_SERVER, PLATFORM_NT_WORKSTATION, PLATFORM_NT5}) {
        GetAdapterLink().PlatformKind = platform;
        BYTE block[38];
        ReadCardMemory(0x300, block, sizeof(block));
        WriteCardMemory(0x300, block, sizeof(block));
        PortReadWord(DATA_REG);
        PortWriteWord(ADDRESS_REG, 5);
    }
    EXPECT_TRUE(os.ports.empty());
    EXPECT_EQ(12u, os.calls.size());
    EXPECT_EQ(os.opens, os.closes) << "every request closes its device";
}

TEST_F(PortAccess, SinglePortNumbersCountFrom0x240)
{
    struct Case
    {
        WORD base;
        WORD offset;
        LONG sent;
    };
    const Case cases[] = {
        {0x240, 2, 2}, {0x240, 0, 0}, {0x300, 4, 0xC4}, {0x100, 2, -0x13E}, {0x23E, 0, -2}};
    for (const Case& c : cases) {
        os.calls.clear();
        GetAdapterLink().IoBase = c.base;
        PortReadWord(c.offset);
        ASSERT_EQ(1u, os.calls.size());
        EXPECT_EQ(c.sent, PortNumberSent(os.calls[0]))
            << "base " << c.base << " offset " << c.offset;
        EXPECT_EQ(4u, os.calls[0].in.size());
    }
}

TEST_F(PortAccess, EachRequestUsesItsCodeAccessAndBuffers)
{
    struct Case
    {
        const char* what;
        DWORD code;
        DWORD access;
        DWORD share;
        size_t in;
        DWORD out;
    };
    const Case expected[] = {
        {"read byte", 0x9C406400, GENERIC_READ, FILE_SHARE_READ, 4, 1},
        {"read word", 0x9C406404, GENERIC_READ, FILE_SHARE_READ, 4, 2},
        {"write byte", 0x9C40A440, GENERIC_WRITE, FILE_SHARE_WRITE, 5, 0},
        {"write word", 0x9C40A444, GENERIC_WRITE, FILE_SHARE_WRITE, 6, 0},
        {"block read", 0x9C402480, 0, FILE_SHARE_WRITE, 10, 38},
        {"block write", 0x9C40A484, GENERIC_WRITE, FILE_SHARE_WRITE, 48, 0},
        {"set base", 0x9C402488, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, 2, 2},
    };
    BYTE block[38] = {};
    PortReadByte(2);
    PortReadWord(2);
    PortWriteByte(2, 0xAB);
    PortWriteWord(2, 0xBEEF);
    ReadCardMemory(0x300, block, 38);
    WriteCardMemory(0x300, block, 38);
    DriverSetBase(0x270);
    ASSERT_EQ(7u, os.calls.size());
    for (size_t i = 0; i < 7; ++i) {
        const DriverCall& call = os.calls[i];
        SCOPED_TRACE(expected[i].what);
        EXPECT_EQ(expected[i].code, call.code);
        EXPECT_EQ(expected[i].access, call.access);
        EXPECT_EQ(expected[i].share, call.share);
        EXPECT_EQ(expected[i].in, call.in.size());
        EXPECT_EQ(expected[i].out, call.outSize);
    }
    EXPECT_EQ(0xAB, os.calls[2].in[4]);
    EXPECT_EQ(0xEF, os.calls[3].in[4]);
    EXPECT_EQ(0xBE, os.calls[3].in[5]);
    EXPECT_EQ((std::vector<WORD>{0, 2, 4, 0x300, 38}), Header(os.calls[4]));
    EXPECT_EQ((std::vector<WORD>{0, 2, 4, 0x300, 38}), Header(os.calls[5]));
    EXPECT_EQ(0x70, os.calls[6].in[0]);
    EXPECT_EQ(0x02, os.calls[6].in[1]);
    EXPECT_TRUE(reporter.notices.empty());
}

TEST_F(PortAccess, BlockTransfersRoundTripThroughTheDriver)
{
    BYTE out[38], back[38];
    for (int i = 0; i < 38; ++i)
        out[i] = (BYTE)(i * 7);
    EXPECT_TRUE(WriteCardMemory(0x1234, out, sizeof(out)));
    EXPECT_TRUE(ReadCardMemory(0x1234, back, sizeof(back)));
    EXPECT_EQ(0, memcmp(out, back, sizeof(out)));
    EXPECT_EQ(0x0700, os.cardMemory[0x1234]);
}

TEST_F(PortAccess, OddCountsMoveTheLastByteAndKeepItsNeighbour)
{
    for (int platform : {PLATFORM_WIN9X, PLATFORM_NT_WORKSTATION}) {
        GetAdapterLink().PlatformKind = platform;
        os.cardMemory[0x500] = 0x2211;
        os.cardMemory[0x501] = 0x4433;
        BYTE three[3] = {0xA1, 0xA2, 0xA3};
        WriteCardMemory(0x500, three, 3);
        EXPECT_EQ(0xA2A1, os.cardMemory[0x500]);
        EXPECT_EQ(0x44A3, os.cardMemory[0x501]) << "the byte after the block is kept";
        BYTE back[4] = {0, 0, 0, 0x99};
        ReadCardMemory(0x500, back, 3);
        EXPECT_EQ(0xA3, back[2]);
        EXPECT_EQ(0x99, back[3]) << "nothing is written past the count";
    }
}

TEST_F(PortAccess, MissingDriverIsReportedAndTheCallerCarriesOn)
{
    os.driverPresent = false;
    BYTE block[38];
    memset(block, 0x77, sizeof(block));
    EXPECT_EQ(1, PortReadByte(2));
    EXPECT_EQ(1, PortReadWord(2));
    EXPECT_EQ(0, PortWriteByte(2, 5));
    EXPECT_EQ(0, PortWriteWord(2, 5));
    EXPECT_FALSE(ReadCardMemory(0x300, block, 38));
    EXPECT_FALSE(WriteCardMemory(0x300, block, 38));
    EXPECT_EQ(0x77, block[0]) << "nothing transferred";
    EXPECT_EQ(std::vector<N>(6, N::PortNoDevice), reporter.Kinds());
    EXPECT_EQ(-1, DriverSetBase(0x240));
    EXPECT_EQ(6u, reporter.notices.size()) << "DriverSetBase tells nothing";
}

TEST_F(PortAccess, FailedRequestsNameTheAbsolutePort)
{
    os.controlFails = true;
    GetAdapterLink().IoBase = 0x270;
    EXPECT_EQ(0, PortReadByte(4));
    EXPECT_EQ(0, PortWriteWord(2, 9));
    BYTE block[38] = {};
    EXPECT_FALSE(ReadCardMemory(0x300, block, 38));
    EXPECT_FALSE(WriteCardMemory(0x300, block, 38));
    EXPECT_EQ(0, DriverSetBase(0x270));
    const std::vector<N> told = {N::PortReadFailed, N::PortWriteFailed, N::PortIoctlFailed,
                                 N::PortIoctlFailed, N::PortIoctlFailed};
    ASSERT_EQ(told, reporter.Kinds());
    EXPECT_EQ(0x274, reporter.notices[0].number) << "the absolute port";
    EXPECT_EQ(0x272, reporter.notices[1].number);
    for (BYTE b : block)
        ASSERT_EQ(0, b) << "a refused read hands over nothing of the driver's buffer";
}

TEST_F(PortAccess, FailedCloseIsReportedAndTheValueStillDelivered)
{
    os.closeFails = true;
    EXPECT_EQ(0x4242, PortReadWord(2));
    EXPECT_EQ(std::vector<N>{N::PortCloseFailed}, reporter.Kinds());
}

TEST_F(PortAccess, DriverSetBaseAnswer)
{
    os.setBaseAnswer = 0;
    EXPECT_EQ(0, DriverSetBase(0x240));
    os.setBaseAnswer = 0x8000;
    EXPECT_EQ(1, DriverSetBase(0x240));
}

TEST_F(PortAccess, PriorityIsRaisedAndRestoredOnEveryPath)
{
    const std::vector<std::string> bracket = {"class 256", "thread 15", "thread 0", "class 32"};
    BYTE block[38] = {};
    struct Setup
    {
        const char* what;
        void (*apply)(FakeOs&);
    };
    const Setup setups[] = {
        {"driver ok", [](FakeOs&) {}},
        {"driver missing", [](FakeOs& r) { r.driverPresent = false; }},
        {"request fails", [](FakeOs& r) { r.controlFails = true; }},
        {"direct path", [](FakeOs&) { GetAdapterLink().PlatformKind = PLATFORM_WIN9X; }},
    };
    for (const Setup& s : setups) {
        SCOPED_TRACE(s.what);
        os.priority.clear();
        os.driverPresent = true;
        os.controlFails = false;
        GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
        s.apply(os);
        ReadCardMemory(0x300, block, 38);
        EXPECT_EQ(bracket, os.priority);
        os.priority.clear();
        WriteCardMemory(0x300, block, 38);
        EXPECT_EQ(bracket, os.priority);
    }
}

} // namespace
