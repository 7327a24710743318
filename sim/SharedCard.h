// SharedCard.h - the simulated card as it lives in the named memory section
// that the driver creates: a stamp, the lock every side takes, and the whole
// device. Every side (the driver, a program's port trap, cardctl) maps the
// same bytes and serves requests on them with the same code under the lock,
// so there is one card however it is reached.
//
// Any program that can open the section can write into it, at any time, so
// nothing in it is trusted: the state holds no pointer of any kind (the
// machine clock and the answer filter belong to the side that serves), the
// stamp names this very layout, and each request is served from the side's
// private copy of the firmware, whose every index, count, offset and divisor
// is checked under the lock before it is used. A card that fails a check,
// or whose lock cannot be had in time, answers nothing, as a card that fell
// silent.
#pragma once

#include <stdint.h>

#include "sim/SharedLock.h"
#include "sim/SimDevice.h"

class SharedCard
{
public:
    static const uint32_t kMagic = 0x64526343; // "CcRd"
    // Raised by hand when the meaning of the bytes changes without their
    // places changing; the layout hash follows the places by itself.
    static const uint32_t kVersion = 2;
    static uint32_t Layout();

    constexpr SharedCard() {}

    // Bytes a section needs for one card, in whole 64 KiB steps.
    static uint32_t SectionSize() { return (sizeof(SharedCard) + 0xFFFFu) & ~0xFFFFu; }

    // Powers the card up with the built-in default scenario and stamps it.
    // False when the lock could not be had.
    bool PowerOn(const SharedLock::Side& side);

    // True when these bytes carry a card of this very layout.
    bool Stamped() const;

    enum Outcome
    {
        SERVED,  // *status holds the dispatcher's answer
        NO_CARD, // not stamped: no card of this build here
        BUSY,    // the lock could not be had in the side's time
        BROKEN,  // the card failed its checks
    };
    // One control request under the lock (see SimDevice::Control), served
    // from a checked private copy of the firmware that then goes back into
    // the section. Only SERVED did anything; the others answer as a silent
    // card would.
    Outcome Control(const SharedLock::Side& side, uint32_t code, const void* in, uint32_t inSize,
                    void* out, uint32_t outSize, uint32_t* information, uint32_t* status);

    SharedLock& Lock() { return m_lock; }
    // Unlocked: only for a side that holds the lock, or a card of its own.
    SimDevice& Device() { return m_device; }

private:
    uint32_t m_magic = 0;
    uint32_t m_layout = 0;
    SharedLock m_lock;
    SimDevice m_device;
};
