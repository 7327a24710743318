// SharedLock.h - a spin lock that lives in memory shared between processes.
// Its word holds the process id of the side that holds it (0: free). A side
// waits a bounded time only: a lock it cannot have by then is reported busy,
// and the card behind it answers nothing. While it waits it asks whether the
// owner still runs, and takes over the lock of one that died, or of a word
// that names its own process while none of its threads holds the lock.
// Freestanding, constant initialiser only.
#pragma once

#include <stdint.h>

class SharedLock
{
public:
    // What a side brings. Everything here lives in the side's own process,
    // never in the shared memory.
    struct Side
    {
        uint32_t self;                                  // process id
        bool (*alive)(uint32_t process, void* context); // does another process still run?
        void (*pause)(void* context);                   // let other threads run
        uint32_t (*now)(void* context);                 // milliseconds, for the wait's limit
        void* context;
        uint32_t* held;  // this process's threads holding (or taking) the lock
        uint32_t waitMs; // how long Acquire may wait for a live owner
    };

    enum Result
    {
        ACQUIRED,
        TOOK_OVER,
        BUSY
    };

    // Spins between pauses, and pauses between questions about the owner.
    static const uint32_t kSpinsPerPause = 64;
    static const uint32_t kPausesPerProbe = 16;

    constexpr SharedLock() {}

    // Waits up to side.waitMs for the lock (without a clock: a bounded
    // number of probes). BUSY: not had, nothing to release.
    Result Acquire(const Side& side);
    bool TryAcquire(const Side& side);
    // Ends this side's hold (after ACQUIRED or TOOK_OVER) and frees the
    // lock if its word still names this side's process.
    void Release(const Side& side);

    uint32_t Owner() const { return __atomic_load_n(&m_owner, __ATOMIC_ACQUIRE); }
    // How many times a lock was taken over from a side that no longer held it.
    uint32_t Takeovers() const { return __atomic_load_n(&m_takeovers, __ATOMIC_RELAXED); }

private:
    bool Claim(const Side& side, uint32_t expected);
    bool ClaimOwnWord(const Side& side);

    uint32_t m_owner = 0;
    uint32_t m_takeovers = 0;
};
