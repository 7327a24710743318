// SimCardTest.cpp - the in-process fixture: the Os seam fakes reach the same
// dispatcher as the driver, time is fake, and what the program did is counted.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/SimCard.h"

namespace {

HANDLE OpenDevice(DWORD access, DWORD share)
{
    return g_os.CreateFileA(SIM_USER_PATH, access, share, nullptr, OPEN_EXISTING, 0, nullptr);
}

TEST(SimCard, DriverRequestsReachTheCard)
{
    SimCard card("iobase 0x300\nname fixture\n");
    HANDLE h = OpenDevice(GENERIC_WRITE, FILE_SHARE_WRITE);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    uint8_t in[6] = {0xC2, 0, 0, 0, 0x00, 0x04}; // ADDRESS_REG of 0x300, counted from 0x240
    DWORD returned = 99;
    EXPECT_TRUE(g_os.DeviceIoControl(h, SIM_IOCTL_WRITE_WORD, in, sizeof in, nullptr, 0, &returned,
                                     nullptr));
    EXPECT_EQ(0u, returned);
    EXPECT_TRUE(g_os.CloseHandle(h));
    EXPECT_EQ(0x0400, card.Core().Address());
    EXPECT_EQ(1u, card.DriverRequests(SIM_IOCTL_WRITE_WORD));
    ASSERT_EQ(1u, card.Calls().size());
    EXPECT_EQ(static_cast<DWORD>(GENERIC_WRITE), card.Calls()[0].openAccess);
    EXPECT_EQ(std::vector<uint8_t>(in, in + 6), card.Calls()[0].input);
    EXPECT_EQ(0u, card.OpenHandles());
    EXPECT_EQ(0u, card.PortInstructions());
}

TEST(SimCard, AccessOfTheOpenMustMatchTheCode)
{
    SimCard card;
    HANDLE h = OpenDevice(GENERIC_READ, FILE_SHARE_READ);
    uint8_t in[6] = {2, 0, 0, 0, 1, 2};
    DWORD returned = 0;
    EXPECT_FALSE(g_os.DeviceIoControl(h, SIM_IOCTL_WRITE_WORD, in, sizeof in, nullptr, 0, &returned,
                                      nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    uint8_t word[2];
    EXPECT_TRUE(g_os.DeviceIoControl(h, SIM_IOCTL_READ_WORD, in, 4, word, 2, &returned, nullptr));
    EXPECT_EQ(2u, returned);
    g_os.CloseHandle(h);
    HANDLE none = OpenDevice(0, FILE_SHARE_WRITE);
    SimBlockHeader header = {0, 2, 4, 0x300, 38};
    uint8_t block[38];
    EXPECT_TRUE(g_os.DeviceIoControl(none, SIM_IOCTL_BLOCK_READ, &header, sizeof header, block, 38,
                                     &returned, nullptr))
        << "block read needs no access rights";
    g_os.CloseHandle(none);
}

TEST(SimCard, MissingDriverAndFailingRequests)
{
    SimCard card;
    card.SetDriverMissing(true);
    EXPECT_EQ(INVALID_HANDLE_VALUE, OpenDevice(GENERIC_READ, FILE_SHARE_READ));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
    EXPECT_EQ(1u, card.FailedOpens());
    card.SetDriverMissing(false);
    card.SetRequestsFail(true);
    HANDLE h = OpenDevice(GENERIC_READ, FILE_SHARE_READ);
    uint8_t in[4] = {2, 0, 0, 0};
    uint8_t out[2] = {0xAB, 0xCD};
    DWORD returned = 7;
    EXPECT_FALSE(g_os.DeviceIoControl(h, SIM_IOCTL_READ_WORD, in, 4, out, 2, &returned, nullptr));
    EXPECT_EQ(0u, returned);
    EXPECT_EQ(0xAB, out[0]) << "a failed request writes nothing";
    card.SetCloseFails(true);
    EXPECT_FALSE(g_os.CloseHandle(h));
    EXPECT_EQ(0u, card.OpenHandles()) << "the handle is gone all the same";
}

TEST(SimCard, SleepMovesTheFakeClockAndTheFirmwareWithIt)
{
    SimCard card("scan-time 3000\ncell 00:A0:C5:00:00:01 Corvane 1 50\n");
    DWORD start = g_os.GetTickCount();
    g_os.Sleep(50);
    g_os.Sleep(1000);
    EXPECT_EQ(1050u, card.TotalSleep());
    EXPECT_EQ(2u, card.SleepCalls());
    EXPECT_EQ(start + 1050, g_os.GetTickCount());
    card.Fw().SetFault(SIM_FAULT_SCAN_ENDLESS, false, 0);
    card.Fw().Advance();
    EXPECT_EQ(11, card.Fw().LinkState());
}

TEST(SimCard, PortInstructionsReachTheRegisters)
{
    SimCard card("mailbox 0x0321\n");
    WORD base = card.IoBase();
    g_os.OutWord(base + 2, 0x1FF);
    EXPECT_EQ(0x0321, g_os.InWord(base + 4));
    g_os.OutByte(base + 2, 0xFF);
    g_os.OutByte(base + 3, 0x01);
    EXPECT_EQ(0x21, g_os.InByte(base + 4));
    EXPECT_EQ(0xFF, g_os.InByte(0x3F8)) << "nothing at that port";
    EXPECT_EQ(6u, card.PortInstructions());
    EXPECT_EQ(0u, card.DriverRequests());
}

TEST(SimCard, OtherFilesPassThrough)
{
    SimCard card;
    HANDLE h =
        g_os.CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    EXPECT_TRUE(g_os.CloseHandle(h));
    EXPECT_EQ(0u, card.Opens());
    EXPECT_EQ(0u, card.Closes());
}

TEST(SimCard, RestoresTheOsTableWhenItEnds)
{
    {
        SimCard card;
        EXPECT_NE(RealOs().Sleep, g_os.Sleep);
    }
    EXPECT_EQ(RealOs().Sleep, g_os.Sleep);
    EXPECT_EQ(RealOs().DeviceIoControl, g_os.DeviceIoControl);
    EXPECT_EQ(RealOs().InWord, g_os.InWord);
}

} // namespace
