// MailboxCostBench.cpp - what a command costs us beyond the protocol's pauses,
// a figure for scripts/bench.sh (never a test: it depends on the machine).
// With the fake clock the pauses cost nothing, so a command's time is our
// own work plus the three block transfers it needs (read the idle mailbox,
// write the command, read the answer). Compares it with those three
// transfers done bare, in the same run.
#include "adapter/AdapterDiscovery.h"
#include "adapter/CardItems.h"
#include "adapter/Mailbox.h"
#include "adapter/PortAccess.h"
#include "tests/support/ScriptedCard.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include <algorithm>

namespace {
double Seconds()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

// Time per call of `work`, the best of several rounds.
template <typename F> double Round(int count, F work)
{
    double start = Seconds();
    for (int i = 0; i < count; ++i)
        work();
    return (Seconds() - start) / count;
}
} // namespace

TEST(MailboxCost, OwnTimePerCommandIsCloseToItsThreeBlockTransfers)
{
    ScriptedCard card;
    card.Reply(0, {11, 0});
    const int kCount = 500;

    // The rounds interleave so that a busy machine slows all three alike.
    MailboxBlock scratch{};
    double floor = 1e9, command = 1e9, item = 1e9;
    for (int round = 0; round < 10; ++round) {
        floor =
            std::min(floor, Round(kCount, [&] {
                         ReadCardMemory(ScriptedCard::kMailbox, &scratch, sizeof(scratch));
                         WriteCardMemory(ScriptedCard::kMailbox + 0x100, &scratch, sizeof(scratch));
                         ReadCardMemory(ScriptedCard::kMailbox, &scratch, sizeof(scratch));
                     }));
        command = std::min(command, Round(kCount, [&] {
                               MailboxData data{};
                               data.code = PARAM_LINK_STATE;
                               GetParam(data);
                           }));
        item = std::min(item, Round(kCount, [&] {
                            char text[32];
                            QueryCardItem(CI_LINK_STATE, text);
                        }));
    }
    card.sent.clear();

    // Our own part should stay small beside the transfers (within a few per
    // cent on an idle machine); a pause that really slept would show here
    // ten thousand times over.
    printf("firmware command (in process): %.2f us, ratio %.2f (floor: its three block transfers, "
           "%.2f us)\n",
           command * 1e6, command / floor, floor * 1e6);
    printf(
        "card item (in process): %.2f us, ratio %.2f (floor: its three block transfers, %.2f us)\n",
        item * 1e6, item / floor, floor * 1e6);
}
