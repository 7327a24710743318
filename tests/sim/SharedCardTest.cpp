// SharedCardTest.cpp - the card as it lives in shared memory: bytes that
// work wherever a process maps them, and a lock that a side which died
// while holding it cannot keep for good.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <set>
#include <vector>

#include "sim/SharedCard.h"
#include "tests/support/TestThread.h"
#include "sim/SharedLock.h"
#include "sim/SimProtocol.h"

namespace {

// Processes for the lock's questions: the dead ones are listed.
struct Processes
{
    std::set<uint32_t> dead;
    std::atomic<int> questions{0};
};

bool Alive(uint32_t process, void* context)
{
    Processes* p = static_cast<Processes*>(context);
    ++p->questions;
    return p->dead.count(process) == 0;
}

void Pause(void*)
{
    ::SwitchToThread();
}

SharedLock::Side SideOf(uint32_t self, Processes* processes)
{
    return SharedLock::Side{self, &Alive, &Pause, processes};
}

TEST(SharedLock, TakesOverOnlyFromAnOwnerThatDied)
{
    Processes processes;
    SharedLock lock;
    ASSERT_TRUE(lock.TryAcquire(100));
    EXPECT_FALSE(lock.TryAcquire(200));
    processes.dead.insert(100);
    EXPECT_TRUE(lock.Acquire(SideOf(200, &processes))) << "took over from the dead side";
    EXPECT_EQ(200u, lock.Owner());
    EXPECT_EQ(1u, lock.Takeovers());
    EXPECT_GT(processes.questions.load(), 0);
    lock.Release(100); // the dead side's late release must not free the new owner's lock
    EXPECT_EQ(200u, lock.Owner());
    lock.Release(200);
    EXPECT_EQ(0u, lock.Owner());
    EXPECT_FALSE(lock.Acquire(SideOf(300, &processes))) << "a free lock is simply taken";
}

TEST(SharedLock, WaitsForAnOwnerThatRunsAndNeverAsksAboutItself)
{
    Processes processes;
    SharedLock lock;
    ASSERT_TRUE(lock.TryAcquire(100));
    std::atomic<bool> acquired{false};
    TestThread waiter([&] {
        lock.Acquire(SideOf(200, &processes));
        acquired = true;
    });
    ::Sleep(100);
    EXPECT_FALSE(acquired.load()) << "the owner still runs";
    EXPECT_GT(processes.questions.load(), 0) << "the waiter asked about the owner";
    lock.Release(100);
    waiter.join();
    EXPECT_TRUE(acquired.load());
    EXPECT_EQ(200u, lock.Owner());
    EXPECT_EQ(0u, lock.Takeovers());

    // A second thread of the owner's own process waits without asking.
    processes.questions = 0;
    processes.dead.insert(200); // a wrong answer would let it take over
    TestThread sibling([&] { lock.Acquire(SideOf(200, &processes)); });
    ::Sleep(50);
    EXPECT_EQ(0, processes.questions.load());
    lock.Release(200);
    sibling.join();
    EXPECT_EQ(0u, lock.Takeovers());
}

TEST(SharedLock, KeepsOneSideAtATime)
{
    Processes processes;
    SharedLock lock;
    long counter = 0;
    auto work = [&](uint32_t self) {
        for (int i = 0; i < 20000; ++i) {
            lock.Acquire(SideOf(self, &processes));
            long seen = counter;
            counter = seen + 1;
            lock.Release(self);
        }
    };
    TestThread a(work, 4), b(work, 8);
    a.join();
    b.join();
    EXPECT_EQ(40000, counter);
}

uint32_t g_now = 1000;
uint32_t FakeClock(void*)
{
    return g_now;
}

// Raw port access on a card, as the port trap does it.
uint16_t Raw(SharedCard& card, const SharedLock::Side& side, bool read, uint16_t port, uint16_t value = 0)
{
    SimRawPort request = {port, 2, value, 0};
    uint32_t information = 0, status = 0xFFFFFFFF;
    EXPECT_TRUE(card.Control(side, read ? SIM_IOCTL_RAW_READ : SIM_IOCTL_RAW_WRITE, &request, sizeof request,
                             &request, read ? sizeof request : 0, &information, &status));
    EXPECT_EQ(SIM_STATUS_SUCCESS, status);
    return request.value;
}

// A second process maps the section at another address: the copy must
// answer a mailbox command on its own bytes, not reach into the first.
TEST(SharedCard, BytesWorkWhereverTheyAreMapped)
{
    Processes processes;
    SharedLock::Side side = SideOf(4, &processes);
    Firmware::SetMachineClock(&FakeClock, nullptr);
    std::vector<char> first(sizeof(SharedCard) + 64), second(sizeof(SharedCard) + 64);
    SharedCard* a = reinterpret_cast<SharedCard*>((reinterpret_cast<uintptr_t>(first.data()) + 15) & ~uintptr_t(15));
    new (a) SharedCard();
    a->PowerOn(side, nullptr, nullptr);
    ASSERT_TRUE(a->Stamped());
    SharedCard* b = reinterpret_cast<SharedCard*>((reinterpret_cast<uintptr_t>(second.data()) + 31) & ~uintptr_t(15));
    std::memcpy(static_cast<void*>(b), a, sizeof(SharedCard));
    std::memset(static_cast<void*>(a), 0, sizeof(SharedCard)); // the first mapping's bytes are gone
    ASSERT_TRUE(b->Stamped());

    uint16_t base = b->Device().Fw().World().ioBase;
    Raw(*b, side, false, static_cast<uint16_t>(base + SIM_ADDRESS_REG), 0x1FF);
    uint16_t mailbox = Raw(*b, side, true, static_cast<uint16_t>(base + SIM_DATA_REG));
    ASSERT_NE(0, mailbox);
    // GET_STATUS 0 ("link state"): command word, pending status, sub-code.
    const uint16_t command[3] = {0x60, 0xFFFF, 0};
    Raw(*b, side, false, static_cast<uint16_t>(base + SIM_ADDRESS_REG), mailbox);
    for (uint16_t word : command)
        Raw(*b, side, false, static_cast<uint16_t>(base + SIM_DATA_REG), word);
    EXPECT_TRUE(b->Device().Fw().Pending()) << "the copy's core told the copy's firmware";
    g_now += 1000;
    Raw(*b, side, false, static_cast<uint16_t>(base + SIM_ADDRESS_REG), static_cast<uint16_t>(mailbox + 1));
    EXPECT_NE(0xFFFF, Raw(*b, side, true, static_cast<uint16_t>(base + SIM_DATA_REG))) << "answered";
    EXPECT_EQ(1u, b->Device().Fw().CommandsAnswered());
    EXPECT_EQ(0u, a->Device().Fw().CommandsAnswered()) << "nothing reached the first mapping";
    Firmware::SetMachineClock(nullptr, nullptr);
}

TEST(SharedCard, AnUnstampedCardServesNothing)
{
    Processes processes;
    std::unique_ptr<SharedCard> card(new SharedCard);
    SimRawPort request = {0x300, 2, 0, 0};
    uint32_t information = 0, status = 12345;
    EXPECT_FALSE(card->Control(SideOf(4, &processes), SIM_IOCTL_RAW_READ, &request, sizeof request, &request,
                               sizeof request, &information, &status));
    EXPECT_EQ(12345u, status);
    EXPECT_EQ(0u, card->Lock().Owner()) << "the lock is let go again";
}

// Sides read one clock, but should one ever read behind, the firmware's
// time must not run a lap back (which would add 49 days to
// the uptime counter at once).
TEST(SharedCard, ClockReadingBehindStandsStill)
{
    Processes processes;
    SharedLock::Side side = SideOf(4, &processes);
    Firmware::SetMachineClock(&FakeClock, nullptr);
    std::unique_ptr<SharedCard> card(new SharedCard);
    g_now = 50000;
    card->PowerOn(side, nullptr, nullptr);
    SimState state = {};
    uint32_t information = 0, status = 0;
    ASSERT_TRUE(card->Control(side, SIM_IOCTL_GET_STATE, nullptr, 0, &state, sizeof state, &information, &status));
    uint32_t before = card->Device().Fw().Counter(252);
    g_now = 49990;
    ASSERT_TRUE(card->Control(side, SIM_IOCTL_GET_STATE, nullptr, 0, &state, sizeof state, &information, &status));
    EXPECT_EQ(50000u, state.nowMs);
    EXPECT_EQ(before, card->Device().Fw().Counter(252));
    Firmware::SetMachineClock(nullptr, nullptr);
}

} // namespace
