// SimBridge.cpp - the driver's one simulated card, behind a C interface: in
// the shared section when the driver could make one, else in its own memory.
#include "sim/SimBridge.h"

#include "sim/SharedCard.h"

namespace {

// Constant-initialised: nothing runs constructors inside a driver.
SharedCard g_ownCard;
SharedCard* g_card = &g_ownCard;
SharedLock::Side g_side = {};
SimProcessAlive g_alive = nullptr;

bool Alive(uint32_t process, void* context)
{
    return g_alive && g_alive(process, context) != 0;
}

} // namespace

extern "C" uint32_t SimBridge_SectionSize(void)
{
    return SharedCard::SectionSize();
}

extern "C" void SimBridge_Init(SimClock clock, void* context, void* view, uint32_t self, SimProcessAlive alive,
                               SimPause pause)
{
    Firmware::SetMachineClock(clock, context);
    g_alive = alive;
    g_side.self = self;
    g_side.alive = &Alive;
    g_side.pause = pause;
    g_side.context = context;
    // A section left by an earlier start of the driver may still hold the
    // lock of a side that died: PowerOn asks about it before taking over.
    if (view)
        g_card = static_cast<SharedCard*>(view);
    g_card->PowerOn(g_side, nullptr, nullptr);
}

extern "C" uint32_t SimBridge_Control(uint32_t code, const void* in, uint32_t inSize, void* out,
                                      uint32_t outSize, uint32_t* information)
{
    uint32_t status = SIM_STATUS_DEVICE_NOT_READY;
    *information = 0;
    g_card->Control(g_side, code, in, inSize, out, outSize, information, &status);
    return status;
}
