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
#include "sim/SharedLock.h"
#include "sim/SimProtocol.h"
#include "tests/support/TestThread.h"

namespace {

// Processes for the lock's questions: the dead ones are listed. A side's
// clock moves a millisecond at every reading, so a bounded wait ends
// without real time passing.
struct Processes
{
    std::set<uint32_t> dead;
    std::atomic<int> questions{0};
    HANDLE asked = ::CreateEventA(nullptr, TRUE, FALSE, nullptr); // set at the first question
    std::atomic<uint32_t> now{0};
    ~Processes() { ::CloseHandle(asked); }
};

bool Alive(uint32_t process, void* context)
{
    Processes* p = static_cast<Processes*>(context);
    ++p->questions;
    ::SetEvent(p->asked);
    return p->dead.count(process) == 0;
}

void Pause(void*)
{
    ::SwitchToThread();
}

uint32_t Ticking(void* context)
{
    return ++static_cast<Processes*>(context)->now;
}

uint32_t RealClock(void*)
{
    return ::GetTickCount();
}

// A side of process `self`; `held` counts its threads that hold the lock.
SharedLock::Side SideOf(uint32_t self, Processes* processes, uint32_t* held, uint32_t waitMs = 1000,
                        uint32_t (*now)(void*) = &Ticking)
{
    return SharedLock::Side{self, &Alive, &Pause, now, processes, held, waitMs};
}

TEST(SharedLock, TakesOverOnlyFromAnOwnerThatDied)
{
    Processes processes;
    uint32_t held100 = 0, held200 = 0, held300 = 0;
    SharedLock lock;
    ASSERT_TRUE(lock.TryAcquire(SideOf(100, &processes, &held100)));
    EXPECT_FALSE(lock.TryAcquire(SideOf(200, &processes, &held200)));
    EXPECT_EQ(0u, held200) << "a failed try counts nothing";
    processes.dead.insert(100);
    EXPECT_EQ(SharedLock::TOOK_OVER, lock.Acquire(SideOf(200, &processes, &held200)));
    EXPECT_EQ(200u, lock.Owner());
    EXPECT_EQ(1u, lock.Takeovers());
    EXPECT_GT(processes.questions.load(), 0);
    lock.Release(
        SideOf(100, &processes, &held100)); // the dead side's late release must not free it
    EXPECT_EQ(200u, lock.Owner());
    lock.Release(SideOf(200, &processes, &held200));
    EXPECT_EQ(0u, lock.Owner());
    EXPECT_EQ(0u, held200);
    EXPECT_EQ(SharedLock::ACQUIRED, lock.Acquire(SideOf(300, &processes, &held300)))
        << "a free lock is taken";
}

// A live owner that keeps the lock makes the card busy after the side's
// time, and never a waiter that waits for good.
TEST(SharedLock, ALiveOwnerIsWaitedForABoundedTimeOnly)
{
    Processes processes;
    uint32_t held100 = 0, held200 = 0;
    SharedLock lock;
    ASSERT_TRUE(lock.TryAcquire(SideOf(100, &processes, &held100)));
    EXPECT_EQ(SharedLock::BUSY, lock.Acquire(SideOf(200, &processes, &held200, 500)));
    EXPECT_GE(processes.now.load(), 500u) << "it waited the side's time";
    EXPECT_GT(processes.questions.load(), 0) << "and asked about the owner meanwhile";
    EXPECT_EQ(100u, lock.Owner());
    EXPECT_EQ(0u, held200);
    // Without a clock the probes bound the wait.
    SharedLock::Side clockless = SideOf(200, &processes, &held200, 8, nullptr);
    EXPECT_EQ(SharedLock::BUSY, lock.Acquire(clockless));

    // An owner that lets go while the other waits hands the lock over.
    ::ResetEvent(processes.asked);
    SharedLock::Result result = SharedLock::BUSY;
    TestThread waiter(
        [&] { result = lock.Acquire(SideOf(200, &processes, &held200, 60000, &RealClock)); });
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(processes.asked, 60000))
        << "the waiter is waiting";
    lock.Release(SideOf(100, &processes, &held100));
    waiter.join();
    EXPECT_EQ(SharedLock::ACQUIRED, result);
    EXPECT_EQ(200u, lock.Owner());
    EXPECT_EQ(0u, lock.Takeovers());
}

// The word may name the waiter's own process: while a thread of it holds
// the lock it is waited for (without asking the process about itself);
// while none does, the word is stale and taken over at once.
TEST(SharedLock, ItsOwnProcessIdIsWaitedForOnlyWhileItsThreadHoldsTheLock)
{
    Processes processes;
    processes.dead.insert(200); // a question about itself would let it take over
    uint32_t held = 0;
    SharedLock lock;
    ASSERT_TRUE(lock.TryAcquire(SideOf(200, &processes, &held)));
    EXPECT_EQ(1u, held);
    EXPECT_EQ(SharedLock::BUSY, lock.Acquire(SideOf(200, &processes, &held, 300)));
    EXPECT_EQ(0, processes.questions.load());
    EXPECT_EQ(0u, lock.Takeovers());
    lock.Release(SideOf(200, &processes, &held));
    EXPECT_EQ(0u, held);

    // Bytes written there, or a process of the same id that ended.
    uint32_t word = 200;
    std::memcpy(&lock, &word, sizeof word);
    EXPECT_EQ(SharedLock::TOOK_OVER, lock.Acquire(SideOf(200, &processes, &held, 60000)));
    EXPECT_LT(processes.now.load(), 1000u) << "taken over at the first probe";
    EXPECT_EQ(1u, lock.Takeovers());
}

// A word written over while a side holds the lock (freed, another side's
// id that died or lives) ends that side's hold all the same at its release:
// a word naming its process later, with none of its threads holding the
// lock, is taken over at once rather than keeping the card busy for good.
TEST(SharedLock, AWordWrittenOverWhileHeldLeavesNoHoldBehind)
{
    Processes processes;
    processes.dead.insert(300);
    for (uint32_t written : {0u, 300u, 400u}) {
        uint32_t held = 0;
        SharedLock lock;
        ASSERT_TRUE(lock.TryAcquire(SideOf(200, &processes, &held))) << written;
        std::memcpy(&lock, &written, sizeof written);
        lock.Release(SideOf(200, &processes, &held));
        EXPECT_EQ(0u, held) << written << ": the hold ended";
        EXPECT_EQ(written, lock.Owner()) << written << ": a word not ours is not freed";

        uint32_t own = 200;
        std::memcpy(&lock, &own, sizeof own);
        processes.now = 0;
        EXPECT_EQ(SharedLock::TOOK_OVER, lock.Acquire(SideOf(200, &processes, &held, 1000)))
            << written;
        EXPECT_LT(processes.now.load(), 100u) << written << ": taken over at the first probe";
        lock.Release(SideOf(200, &processes, &held));
        EXPECT_EQ(0u, lock.Owner()) << written;
        EXPECT_EQ(0u, held) << written;
    }
}

TEST(SharedLock, KeepsOneSideAtATime)
{
    Processes processes;
    uint32_t held4 = 0, held8 = 0;
    SharedLock lock;
    long counter = 0;
    auto work = [&](uint32_t self, uint32_t* held) {
        for (int i = 0; i < 20000; ++i) {
            SharedLock::Side side = SideOf(self, &processes, held, 60000, &RealClock);
            ASSERT_NE(SharedLock::BUSY, lock.Acquire(side));
            long seen = counter;
            counter = seen + 1;
            lock.Release(side);
        }
    };
    TestThread a(work, 4, &held4), b(work, 8, &held8);
    a.join();
    b.join();
    EXPECT_EQ(40000, counter);
    EXPECT_EQ(0u, lock.Takeovers());
}

uint32_t g_now = 1000;
uint32_t FakeClock(void*)
{
    return g_now;
}

// A card in memory of its own, as a section holds it, powered up.
struct Card
{
    Card()
    {
        Firmware::SetMachineClock(&FakeClock, nullptr);
        card->PowerOn(side);
    }
    ~Card() { Firmware::SetMachineClock(nullptr, nullptr); }

    SharedCard::Outcome Request(uint32_t code, const void* in, uint32_t inSize, void* out,
                                uint32_t outSize, uint32_t* status)
    {
        uint32_t information = 0;
        return card->Control(side, code, in, inSize, out, outSize, &information, status);
    }

    Processes processes;
    uint32_t held = 0;
    SharedLock::Side side = SideOf(4, &processes, &held);
    std::unique_ptr<SharedCard> card{new SharedCard};
};

// Raw port access on a card, as the port trap does it.
uint16_t Raw(SharedCard& card, const SharedLock::Side& side, bool read, uint16_t port,
             uint16_t value = 0)
{
    SimRawPort request = {port, 2, value, 0};
    uint32_t information = 0, status = 0xFFFFFFFF;
    EXPECT_EQ(SharedCard::SERVED,
              card.Control(side, read ? SIM_IOCTL_RAW_READ : SIM_IOCTL_RAW_WRITE, &request,
                           sizeof request, &request, read ? sizeof request : 0, &information,
                           &status));
    EXPECT_EQ(SIM_STATUS_SUCCESS, status);
    return request.value;
}

// A second process maps the section at another address: the copy must
// answer a mailbox command on its own bytes, not reach into the first.
TEST(SharedCard, BytesWorkWhereverTheyAreMapped)
{
    Card first;
    SharedCard* a = first.card.get();
    ASSERT_TRUE(a->Stamped());
    std::vector<char> second(sizeof(SharedCard) + 64);
    SharedCard* b = reinterpret_cast<SharedCard*>(
        (reinterpret_cast<uintptr_t>(second.data()) + 31) & ~uintptr_t(15));
    std::memcpy(static_cast<void*>(b), a, sizeof(SharedCard));
    std::memset(static_cast<void*>(a), 0, sizeof(SharedCard)); // the first mapping's bytes are gone
    ASSERT_TRUE(b->Stamped());

    const SharedLock::Side& side = first.side;
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
    Raw(*b, side, false, static_cast<uint16_t>(base + SIM_ADDRESS_REG),
        static_cast<uint16_t>(mailbox + 1));
    EXPECT_NE(0xFFFF, Raw(*b, side, true, static_cast<uint16_t>(base + SIM_DATA_REG)))
        << "answered";
    EXPECT_EQ(1u, b->Device().Fw().CommandsAnswered());
    EXPECT_EQ(0u, a->Device().Fw().CommandsAnswered()) << "nothing reached the first mapping";
}

// The stamp names the layout: a card of another build (another layout, or
// the same layout with bytes of another meaning) is no card, and a card
// whose bytes were written over answers nothing; either way nothing is
// served and the lock is let go.
TEST(SharedCard, ServesOnlyAStampedCardThatPassesItsChecks)
{
    struct Case
    {
        const char* what;
        void (*damage)(SharedCard& card, Scenario& world);
        SharedCard::Outcome outcome;
    } cases[] = {
        {"intact", [](SharedCard&, Scenario&) {}, SharedCard::SERVED},
        {"magic", [](SharedCard& c, Scenario&) { reinterpret_cast<uint32_t*>(&c)[0] ^= 1; },
         SharedCard::NO_CARD},
        {"layout of another build",
         [](SharedCard& c, Scenario&) { reinterpret_cast<uint32_t*>(&c)[1] ^= 1; },
         SharedCard::NO_CARD},
        {"cell count", [](SharedCard&, Scenario& w) { w.cellCount = Scenario::kMaxCells + 1; },
         SharedCard::BROKEN},
        {"station slots", [](SharedCard&, Scenario& w) { w.stationSlots = 0xFFFF; },
         SharedCard::BROKEN},
        {"setting count",
         [](SharedCard&, Scenario& w) { w.settingCount = Scenario::kMaxSettings + 1; },
         SharedCard::BROKEN},
        {"beacon period divisor", [](SharedCard&, Scenario& w) { w.beaconPeriod = 0; },
         SharedCard::BROKEN},
        {"frame size divisor", [](SharedCard&, Scenario& w) { w.frameSize = 0; },
         SharedCard::BROKEN},
        {"scenario's cell", [](SharedCard&, Scenario& w) { w.currentCell = 0x7F00; },
         SharedCard::BROKEN},
        {"ESSID without its end", [](SharedCard&, Scenario& w) { w.essid[32] = 'x'; },
         SharedCard::BROKEN},
        {"a cell's name without its end",
         [](SharedCard&, Scenario& w) { w.cells[47].apName[16] = 'x'; }, SharedCard::BROKEN},
    };
    for (const Case& c : cases) {
        Card card;
        c.damage(*card.card, const_cast<Scenario&>(card.card->Device().Fw().World()));
        SimState state = {};
        uint32_t status = 12345;
        EXPECT_EQ(c.outcome,
                  card.Request(SIM_IOCTL_GET_STATE, nullptr, 0, &state, sizeof state, &status))
            << c.what;
        EXPECT_EQ(c.outcome == SharedCard::SERVED ? SIM_STATUS_SUCCESS : 12345u, status) << c.what;
        EXPECT_EQ(0u, card.card->Lock().Owner()) << c.what << ": the lock is let go";
        EXPECT_EQ(0u, card.held) << c.what;
    }
}

// What the driver answers for a card that answers nothing: the product's
// reads float, its writes are lost, the simulation's own requests fail.
TEST(SharedCard, ASilentCardFloatsTheBus)
{
    uint8_t out[38];
    std::memset(out, 0, sizeof out);
    uint32_t information = 0;
    EXPECT_EQ(SIM_STATUS_SUCCESS,
              SimDevice::NoAnswer(SIM_IOCTL_BLOCK_READ, out, sizeof out, &information));
    EXPECT_EQ(sizeof out, information);
    EXPECT_EQ(std::vector<uint8_t>(sizeof out, 0xFF), std::vector<uint8_t>(out, out + sizeof out));
    EXPECT_EQ(SIM_STATUS_SUCCESS,
              SimDevice::NoAnswer(SIM_IOCTL_WRITE_WORD, nullptr, 0, &information));
    EXPECT_EQ(0u, information);
    EXPECT_EQ(SIM_STATUS_DEVICE_NOT_READY,
              SimDevice::NoAnswer(SIM_IOCTL_GET_STATE, out, sizeof out, &information));
}

// A card whose lock a live side keeps is busy, not a side that waits for good.
TEST(SharedCard, ALockKeptByALiveSideMakesTheCardBusy)
{
    Card card;
    uint32_t otherHeld = 0;
    ASSERT_TRUE(card.card->Lock().TryAcquire(SideOf(99, &card.processes, &otherHeld)));
    SimState state = {};
    uint32_t status = 12345;
    EXPECT_EQ(SharedCard::BUSY,
              card.Request(SIM_IOCTL_GET_STATE, nullptr, 0, &state, sizeof state, &status));
    EXPECT_EQ(12345u, status);
    EXPECT_EQ(99u, card.card->Lock().Owner());
}

// Sides read one clock, but should one ever read behind, the firmware's
// time must not run a lap back (which would add 49 days to
// the uptime counter at once).
TEST(SharedCard, ClockReadingBehindStandsStill)
{
    g_now = 50000;
    Card card;
    SimState state = {};
    uint32_t status = 0;
    ASSERT_EQ(SharedCard::SERVED,
              card.Request(SIM_IOCTL_GET_STATE, nullptr, 0, &state, sizeof state, &status));
    uint32_t before = card.card->Device().Fw().Counter(252);
    g_now = 49990;
    ASSERT_EQ(SharedCard::SERVED,
              card.Request(SIM_IOCTL_GET_STATE, nullptr, 0, &state, sizeof state, &status));
    EXPECT_EQ(50000u, state.nowMs);
    EXPECT_EQ(before, card.card->Device().Fw().Counter(252));
}

} // namespace
