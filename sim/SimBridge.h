/* SimBridge.h - the C interface through which the driver's dispatch layer
 * (C, driver-kit headers) reaches the C++ simulation. */
#ifndef SIM_SIMBRIDGE_H
#define SIM_SIMBRIDGE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t (*SimClock)(void* context);
/* Whether a process still runs (non-zero), for the card's lock. */
typedef int (*SimProcessAlive)(uint32_t process, void* context);
/* Lets other threads run while the lock is busy. */
typedef void (*SimPause)(void* context);

/* Bytes of the memory section that holds the card. */
uint32_t SimBridge_SectionSize(void);

/* Powers the simulated card up with its default scenario: in the mapped
 * section when view is not NULL (it then holds SimBridge_SectionSize()
 * bytes), otherwise in the driver's own memory. self is the driver's
 * process id; the clock becomes this process's machine clock. */
void SimBridge_Init(SimClock clock, void* context, void* view, uint32_t self, SimProcessAlive alive,
                    SimPause pause);

/* One control request under the card's lock; see SimDevice::Control.
 * Returns an NTSTATUS value. */
uint32_t SimBridge_Control(uint32_t code, const void* in, uint32_t inSize, void* out,
                           uint32_t outSize, uint32_t* information);

#ifdef __cplusplus
}
#endif

#endif /* SIM_SIMBRIDGE_H */
