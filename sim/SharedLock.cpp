// SharedLock.cpp - the spin lock shared between processes.
#include "sim/SharedLock.h"

bool SharedLock::TryAcquire(uint32_t self)
{
    uint32_t expected = 0;
    return __atomic_compare_exchange_n(&m_owner, &expected, self, false, __ATOMIC_ACQUIRE, __ATOMIC_RELAXED);
}

bool SharedLock::Acquire(const Side& side)
{
    uint32_t spins = 0;
    uint32_t pauses = 0;
    for (;;) {
        uint32_t owner = Owner();
        if (owner == 0) {
            if (TryAcquire(side.self))
                return false;
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
        // Another thread of this process holds it: it runs, by definition.
        if (owner == side.self || !side.alive || side.alive(owner, side.context))
            continue;
        uint32_t expected = owner;
        if (__atomic_compare_exchange_n(&m_owner, &expected, side.self, false, __ATOMIC_ACQUIRE,
                                        __ATOMIC_RELAXED)) {
            __atomic_fetch_add(&m_takeovers, 1, __ATOMIC_RELAXED);
            return true;
        }
    }
}

void SharedLock::Release(uint32_t self)
{
    uint32_t expected = self;
    __atomic_compare_exchange_n(&m_owner, &expected, 0, false, __ATOMIC_RELEASE, __ATOMIC_RELAXED);
}
