// SharedLock.h - a spin lock that lives in memory shared between processes.
// Its word holds the process id of the side that holds it (0: free). A side
// that waits long asks whether that process still runs, and takes over the
// lock of one that died, so a side killed while serving the card never
// blocks the other for good. Freestanding, constant initialiser only.
#pragma once

#include <stdint.h>

class SharedLock
{
public:
    // What a side brings: its own process id, a question whether another
    // process still runs, and a way to let other threads run while it waits.
    struct Side
    {
        uint32_t self;
        bool (*alive)(uint32_t process, void* context);
        void (*pause)(void* context);
        void* context;
    };

    // Spins between pauses, and pauses between questions about the owner.
    static const uint32_t kSpinsPerPause = 64;
    static const uint32_t kPausesPerProbe = 16;

    constexpr SharedLock() {}

    // Waits for the lock. True when it had to take over from a dead owner.
    bool Acquire(const Side& side);
    bool TryAcquire(uint32_t self);
    // Frees the lock if this side still holds it.
    void Release(uint32_t self);

    uint32_t Owner() const { return __atomic_load_n(&m_owner, __ATOMIC_ACQUIRE); }
    // How many times a dead owner's lock was taken over.
    uint32_t Takeovers() const { return __atomic_load_n(&m_takeovers, __ATOMIC_RELAXED); }

private:
    uint32_t m_owner = 0;
    uint32_t m_takeovers = 0;
};
