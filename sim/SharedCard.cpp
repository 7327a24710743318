// SharedCard.cpp - the card in shared memory.
#include "sim/SharedCard.h"

#include <new>

void SharedCard::PowerOn(const SharedLock::Side& side, Firmware::Clock clock, void* context)
{
    m_lock.Acquire(side);
    __atomic_store_n(&m_magic, 0, __ATOMIC_RELEASE);
    new (&m_device) SimDevice();
    m_device.Init(clock, context);
    m_size = sizeof(SharedCard);
    __atomic_store_n(&m_magic, kMagic, __ATOMIC_RELEASE);
    m_lock.Release(side.self);
}

bool SharedCard::Control(const SharedLock::Side& side, uint32_t code, const void* in, uint32_t inSize, void* out,
                         uint32_t outSize, uint32_t* information, uint32_t* status)
{
    m_lock.Acquire(side);
    bool stamped = Stamped();
    if (stamped)
        *status = m_device.Control(code, in, inSize, out, outSize, information);
    m_lock.Release(side.self);
    return stamped;
}
