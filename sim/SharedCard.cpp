// SharedCard.cpp - the card in shared memory.
#include "sim/SharedCard.h"

#include <new>

#include "sim/LayoutHash.h"

namespace {

// This process's own copy of the firmware that serves a request, and the
// scenario parser's scratch: a program writing the section during a request
// cannot move an index, a count or a divisor the firmware has checked. One
// thread at a time uses it; while the lock is whole that is the lock's
// holder, but a lock word written over can let two threads of this process
// in at once, and they then take turns here.
struct Workspace
{
    Firmware firmware;
    Scenario scratch;
};
Workspace g_workspace;
uint32_t g_workspaceTaken = 0;

Workspace& TakeWorkspace(const SharedLock::Side& side)
{
    while (__atomic_exchange_n(&g_workspaceTaken, 1, __ATOMIC_ACQUIRE)) {
        if (side.pause)
            side.pause(side.context);
        else
            __builtin_ia32_pause();
    }
    return g_workspace;
}

void ReleaseWorkspace()
{
    __atomic_store_n(&g_workspaceTaken, 0, __ATOMIC_RELEASE);
}

} // namespace

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
    Workspace& work = TakeWorkspace(side);
    work.firmware = m_device.Fw();
    m_device.Init(work.firmware, work.scratch);
    m_device.Fw() = work.firmware;
    ReleaseWorkspace();
    m_layout = Layout();
    __atomic_store_n(&m_magic, kMagic, __ATOMIC_RELEASE);
    m_lock.Release(side);
    return true;
}

// The firmware is copied out of the section, checked, serves the request
// and is copied back: whatever another program writes meanwhile, the
// request sees one state that passed its checks.
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
        Workspace& work = TakeWorkspace(side);
        work.firmware = m_device.Fw();
        outcome = work.firmware.Consistent() ? SERVED : BROKEN;
        if (outcome == SERVED) {
            *status = m_device.Control(work.firmware, work.scratch, code, in, inSize, out, outSize,
                                       information);
            m_device.Fw() = work.firmware;
        }
        ReleaseWorkspace();
    }
    m_lock.Release(side);
    return outcome;
}
