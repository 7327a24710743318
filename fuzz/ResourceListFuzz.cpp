// ResourceListFuzz.cpp - the NT resource list discovery reads from the
// registry's resource map.
#include "adapter/ResourceData.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    uint16_t ioBase = 0x1234, irq = 0x5678;
    bool found = ParseResourceList(data, size, &ioBase, &irq);
    if (!found && size < 36 && ioBase != 0x1234)
        std::abort(); // no whole descriptor, yet a port was taken
    return 0;
}
