// SharedCard.cpp - the card in shared memory.
#include "sim/SharedCard.h"

#include <new>

#include "sim/LayoutHash.h"

uint32_t SharedCard::Layout()
{
    constexpr uint32_t places[] = {kVersion, sizeof(SharedCard), SIM_PLACE(SharedCard, m_lock),
                                   SIM_PLACE(SharedCard, m_device)};
    constexpr uint32_t layout = SimDevice::MixLayout(LayoutMix(kLayoutSeed, places));
    return layout;
}

bool SharedCard::Stamped() const
{
    return __atomic_load_n(&m_magic, __ATOMIC_ACQUIRE) == kMagic &&
           __atomic_load_n(&m_layout, __ATOMIC_RELAXED) == Layout();
}

bool SharedCard::PowerOn(const SharedLock::Side& side)
{
    if (m_lock.Acquire(side) == SharedLock::BUSY)
        return false;
    __atomic_store_n(&m_magic, 0, __ATOMIC_RELEASE);
    new (&m_device) SimDevice();
    m_device.Init();
    m_layout = Layout();
    __atomic_store_n(&m_magic, kMagic, __ATOMIC_RELEASE);
    m_lock.Release(side);
    return true;
}

SharedCard::Outcome SharedCard::Control(const SharedLock::Side& side, uint32_t code, const void* in,
                                        uint32_t inSize, void* out, uint32_t outSize,
                                        uint32_t* information, uint32_t* status)
{
    *information = 0;
    if (!Stamped())
        return NO_CARD;
    if (m_lock.Acquire(side) == SharedLock::BUSY)
        return BUSY;
    Outcome outcome = NO_CARD;
    if (Stamped()) {
        outcome = m_device.Consistent() ? SERVED : BROKEN;
        if (outcome == SERVED)
            *status = m_device.Control(code, in, inSize, out, outSize, information);
    }
    m_lock.Release(side);
    return outcome;
}
