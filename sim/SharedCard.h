// SharedCard.h - the simulated card as it lives in the named memory section
// that the driver creates: a stamp, the lock both sides take, and the whole
// device. Every side (the driver, a program's port trap) maps the same bytes
// and serves requests on them with the same code under the lock, so there is
// one card however it is reached. The state holds offsets only, never a
// pointer; the firmware reads the machine clock of the side that serves it.
#pragma once

#include <stdint.h>

#include "sim/SharedLock.h"
#include "sim/SimDevice.h"

class SharedCard
{
public:
    static const uint32_t kMagic = 0x64526343; // "CcRd"

    constexpr SharedCard() {}

    // Bytes a section needs for one card, in whole 64 KiB steps.
    static uint32_t SectionSize() { return (sizeof(SharedCard) + 0xFFFFu) & ~0xFFFFu; }

    // Powers the card up with the default scenario and stamps it, under the
    // lock. clock nullptr: the machine clock (Firmware::SetMachineClock).
    void PowerOn(const SharedLock::Side& side, Firmware::Clock clock, void* context);

    // True when these bytes carry a card of this very layout.
    bool Stamped() const { return __atomic_load_n(&m_magic, __ATOMIC_ACQUIRE) == kMagic && m_size == sizeof(SharedCard); }

    // One control request under the lock (see SimDevice::Control). False
    // when the card is not (or no longer) stamped: nothing was done.
    bool Control(const SharedLock::Side& side, uint32_t code, const void* in, uint32_t inSize, void* out,
                 uint32_t outSize, uint32_t* information, uint32_t* status);

    SharedLock& Lock() { return m_lock; }
    // Unlocked: only for a side that holds the lock, or a card of its own.
    SimDevice& Device() { return m_device; }

private:
    uint32_t m_magic = 0;
    uint32_t m_size = 0;
    SharedLock m_lock;
    SimDevice m_device;
};
