// SharedLock.cpp - the spin lock shared between processes.
#include "sim/SharedLock.h"

namespace {

void Count(const SharedLock::Side& side, int step)
{
    if (side.held)
        __atomic_add_fetch(side.held, static_cast<uint32_t>(step), __ATOMIC_ACQ_REL);
}

} // namespace

// Counted as held before the word changes hands, so that another thread of
// this process never sees its own id in the word with no holder counted.
bool SharedLock::Claim(const Side& side, uint32_t expected)
{
    Count(side, 1);
    if (__atomic_compare_exchange_n(&m_owner, &expected, side.self, false, __ATOMIC_ACQUIRE,
                                    __ATOMIC_RELAXED))
        return true;
    Count(side, -1);
    return false;
}

// A word naming this process is ours to take while none of our threads
// holds the lock or is taking it: counted as held first, the count then
// says whether another thread of ours came before (it stays theirs) or
// comes after (it sees the lock held and waits).
bool SharedLock::ClaimOwnWord(const Side& side)
{
    if (!side.held)
        return false;
    Count(side, 1);
    if (__atomic_load_n(side.held, __ATOMIC_ACQUIRE) == 1 && Owner() == side.self)
        return true;
    Count(side, -1);
    return false;
}

bool SharedLock::TryAcquire(const Side& side)
{
    return Claim(side, 0);
}

SharedLock::Result SharedLock::Acquire(const Side& side)
{
    uint32_t start = side.now ? side.now(side.context) : 0;
    uint32_t spins = 0;
    uint32_t pauses = 0;
    uint32_t probes = 0;
    for (;;) {
        uint32_t owner = Owner();
        if (owner == 0) {
            if (TryAcquire(side))
                return ACQUIRED;
            continue;
        }
        if (++spins < kSpinsPerPause) {
            __builtin_ia32_pause();
            continue;
        }
        spins = 0;
        if (side.pause)
            side.pause(side.context);
        if (++pauses < kPausesPerProbe)
            continue;
        pauses = 0;
        ++probes;
        // The word names this process: a thread of ours holds it, or nobody
        // does (a process of the same id that ended, or bytes written there).
        bool taken = owner == side.self
                         ? ClaimOwnWord(side)
                         : side.alive && !side.alive(owner, side.context) && Claim(side, owner);
        if (taken) {
            __atomic_fetch_add(&m_takeovers, 1, __ATOMIC_RELAXED);
            return TOOK_OVER;
        }
        uint32_t waited = side.now ? side.now(side.context) - start : probes;
        if (waited >= (side.now ? side.waitMs : side.waitMs / 4 + 1))
            return BUSY;
    }
}

// The word is freed only while it still names this process, but the hold
// ends either way: a word written over while held must not leave this
// process counting a holder that is gone, or a word naming it could never
// be taken over again. Freed before the count drops, so that no thread of
// ours sees its own id with no holder counted while the word is still ours.
void SharedLock::Release(const Side& side)
{
    uint32_t expected = side.self;
    __atomic_compare_exchange_n(&m_owner, &expected, 0, false, __ATOMIC_RELEASE, __ATOMIC_RELAXED);
    Count(side, -1);
}
