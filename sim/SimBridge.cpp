// SimBridge.cpp - the driver's one simulated card, behind a C interface: in
// the shared section when the driver could make one, else in its own memory.
#include "sim/SimBridge.h"

#include "sim/SharedCard.h"

namespace {

// How long a request waits for a card whose lock another side holds, and,
// once one has waited in vain, how long the next ones wait until the card
// answers again: a held lock makes a silent card, never a stalled driver.
const uint32_t kWaitMs = 200;
const uint32_t kWaitAgainMs = 2;

// Constant-initialised: nothing runs constructors inside a driver.
SharedCard g_ownCard;
SharedCard* g_card = &g_ownCard;
SharedLock::Side g_side = {};
uint32_t g_held = 0;
SimProcessAlive g_alive = nullptr;

bool Alive(uint32_t process, void* context)
{
    return g_alive && g_alive(process, context) != 0;
}

SharedCard::Outcome Serve(uint32_t code, const void* in, uint32_t inSize, void* out,
                          uint32_t outSize, uint32_t* information, uint32_t* status)
{
    SharedCard::Outcome outcome =
        g_card->Control(g_side, code, in, inSize, out, outSize, information, status);
    g_side.waitMs = outcome == SharedCard::BUSY ? kWaitAgainMs : kWaitMs;
    return outcome;
}

} // namespace

extern "C" uint32_t SimBridge_SectionSize(void)
{
    return SharedCard::SectionSize();
}

extern "C" void SimBridge_Init(SimClock clock, void* context, void* view, uint32_t self,
                               SimProcessAlive alive, SimPause pause)
{
    Firmware::SetMachineClock(clock, context);
    g_alive = alive;
    g_side.self = self;
    g_side.alive = &Alive;
    g_side.pause = pause;
    g_side.now = clock;
    g_side.context = context;
    g_side.held = &g_held;
    g_side.waitMs = kWaitMs;
    if (view)
        g_card = static_cast<SharedCard*>(view);
    // The section outlives the driver (the machine keeps it): started
    // again, the driver keeps the card the machine was given (its scenario,
    // base, settings and state) rather than a default one.
    uint32_t information = 0, status = 0;
    if (Serve(SIM_IOCTL_NOP, nullptr, 0, nullptr, 0, &information, &status) != SharedCard::SERVED)
        g_card->PowerOn(g_side);
}

extern "C" uint32_t SimBridge_Control(uint32_t code, const void* in, uint32_t inSize, void* out,
                                      uint32_t outSize, uint32_t* information)
{
    uint32_t status = SIM_STATUS_DEVICE_NOT_READY;
    *information = 0;
    SharedCard::Outcome outcome = Serve(code, in, inSize, out, outSize, information, &status);
    // Loading a scenario powers the card up: it mends a card that another
    // program scribbled over.
    if (outcome != SharedCard::SERVED && outcome != SharedCard::BUSY &&
        code == SIM_IOCTL_LOAD_SCENARIO && g_card->PowerOn(g_side))
        outcome = Serve(code, in, inSize, out, outSize, information, &status);
    if (outcome == SharedCard::SERVED)
        return status;
    return SimDevice::NoAnswer(code, out, outSize, information);
}
