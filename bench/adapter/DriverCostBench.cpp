// DriverCostBench.cpp - a command's own cost through the real razuDov driver,
// on both paths, against its floor measured in the same run: the three block
// transfers a command needs (read the idle mailbox, write the command, read
// the answer). The protocol's pauses are taken out (Sleep does nothing here),
// so what is left is the transfers plus our own work. Figures for
// scripts/bench.sh, never a test: they depend on the machine. Skipped when
// razuDov is not installed in this Wine prefix.
#include "adapter/AdapterDiscovery.h"
#include "adapter/CardItems.h"
#include "adapter/Mailbox.h"
#include "adapter/PortAccess.h"
#include "framework/Os.h"
#include "sim/PortTrap.h"
#include "tests/support/DriverAccess.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
const char* const kScenario = "name cost\n"
                              "iobase 0x240\n"
                              "mailbox 0x0300\n"
                              "answer-delay 0\n"
                              "cell 00:A0:C5:00:00:01 Corvane 1 70\n"
                              "current 00:A0:C5:00:00:01\n";

void WINAPI NoPause(DWORD) {}

double Micro()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart) * 1e6 / double(frequency.QuadPart);
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double Least(const std::vector<double>& v)
{
    return *std::min_element(v.begin(), v.end());
}

// Medians for the report; the least times for the check, since a busy
// machine only ever adds to a sample.
struct Figures
{
    double floor, command, item;
    double leastFloor, leastCommand, leastItem;
};

// Interleaves one sample of each kind so a busy machine slows them alike.
Figures Measure(int samples)
{
    std::vector<double> floor, command, item;
    BYTE scratch[38], spare[38];
    const WORD spareAddress = 0x6000; // written back with what it held
    ReadCardMemory(spareAddress, spare, sizeof(spare));
    for (int i = 0; i < samples; ++i) {
        double a = Micro();
        ReadCardMemory(GetAdapterLink().MailboxPointer, scratch, sizeof(scratch));
        WriteCardMemory(spareAddress, spare, sizeof(spare));
        ReadCardMemory(GetAdapterLink().MailboxPointer, scratch, sizeof(scratch));
        double b = Micro();
        MailboxData data;
        memset(&data, 0, sizeof(data));
        data.code = PARAM_LINK_STATE;
        EXPECT_EQ(0, GetParam(data));
        double c = Micro();
        char text[32];
        EXPECT_EQ(ITEM_OK, QueryCardItem(CI_SIGNAL_QUALITY, text));
        double d = Micro();
        floor.push_back(b - a);
        command.push_back(c - b);
        item.push_back(d - c);
    }
    return {Median(floor), Median(command), Median(item),
            Least(floor),  Least(command),  Least(item)};
}

void Report(const char* path, const Figures& f)
{
    printf("%s, medians: 3 block transfers %.1f us; GetParam %.1f us (ratio %.3f); "
           "QueryCardItem(23) %.1f us (ratio %.3f)\n",
           path, f.floor, f.command, f.command / f.floor, f.item, f.item / f.floor);
    printf("%s, least:   3 block transfers %.1f us; GetParam %.1f us (ratio %.3f); "
           "QueryCardItem(23) %.1f us (ratio %.3f)\n",
           path, f.leastFloor, f.leastCommand, f.leastCommand / f.leastFloor, f.leastItem,
           f.leastItem / f.leastFloor);
    ::testing::Test::RecordProperty("median_ratio", std::to_string(f.command / f.floor));
    ::testing::Test::RecordProperty("least_ratio", std::to_string(f.leastCommand / f.leastFloor));
}

// The figure lines of scripts/bench.sh (medians; the least times go in the
// detail lines above).
void Figure(const char* path, const Figures& f)
{
    printf(
        "firmware command (%s): %.1f us, ratio %.2f (floor: its three block transfers, %.1f us)\n",
        path, f.command, f.command / f.floor, f.floor);
}

class DriverCost : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string why = LoadDriverScenario(kScenario);
        if (!why.empty())
            GTEST_SKIP() << why;
        WORD base = DriverCardBase();
        g_os.Sleep = NoPause;
        ResetAdapterState();
        GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
        ASSERT_EQ(1, DriverSetBase(base));
        GetAdapterLink().IoBase = base;
        ASSERT_EQ(0, OpenMailbox());
        GetAdapterLink().AdapterReady = true;
    }
    void TearDown() override { ResetAdapterState(); }

    OsGuard m_guard;
};
} // namespace

TEST_F(DriverCost, NtDriverPath)
{
    Figures f = Measure(300);
    Report("driver path", f);
    Figure("driver path", f);
}

TEST_F(DriverCost, DirectPortPath)
{
    if (!InstallPortTrapIfWine())
        GTEST_SKIP() << "no port trap";
    GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
    Figures f = Measure(100);
    RemovePortTrap();
    Report("direct path", f);
    Figure("trapped path", f);
}
