/* SimBridge.h - the C interface through which the driver's dispatch layer
 * (C, driver-kit headers) reaches the C++ simulation. */
#ifndef SIM_SIMBRIDGE_H
#define SIM_SIMBRIDGE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t (*SimClock)(void* context);

/* Powers the simulated card up with its default scenario. */
void SimBridge_Init(SimClock clock, void* context);

/* One control request; see SimDevice::Control. Returns an NTSTATUS value. */
uint32_t SimBridge_Control(uint32_t code, const void* in, uint32_t inSize, void* out,
                           uint32_t outSize, uint32_t* information);

#ifdef __cplusplus
}
#endif

#endif /* SIM_SIMBRIDGE_H */
