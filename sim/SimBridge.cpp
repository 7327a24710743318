// SimBridge.cpp - the driver's one simulated device, behind a C interface.
#include "sim/SimBridge.h"

#include "sim/SimDevice.h"

namespace {

// Constant-initialised: nothing runs constructors inside a driver.
SimDevice g_device;

} // namespace

extern "C" void SimBridge_Init(SimClock clock, void* context)
{
    g_device.Init(clock, context);
}

extern "C" uint32_t SimBridge_Control(uint32_t code, const void* in, uint32_t inSize, void* out,
                                      uint32_t outSize, uint32_t* information)
{
    return g_device.Control(code, in, inSize, out, outSize, information);
}
