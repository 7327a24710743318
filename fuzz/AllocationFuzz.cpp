// AllocationFuzz.cpp - the Windows 95/98 configuration manager's allocation
// that discovery reads.
#include "adapter/ResourceData.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    uint16_t ioBase = 0x1234, irq = 0x5678;
    if (!ParseAllocation(data, size, &ioBase, &irq) && (ioBase != 0x1234 || irq != 0x5678))
        std::abort(); // a refused allocation must leave the outputs alone
    return 0;
}
