// ResourceData.cpp - decoding the resource list and the allocation.
#include "adapter/ResourceData.h"

#include "adapter/CardText.h"

bool ParseResourceList(const uint8_t* data, size_t size, uint16_t* ioBase, uint16_t* irq)
{
    const size_t kCountOffset = 16, kFirstDescriptor = 20, kDescriptorSize = 16;
    *irq = 0xFFFF;
    if (!data || size < kFirstDescriptor)
        return false;
    uint32_t count = LeDword(data + kCountOffset);
    // Only descriptors that really stand in the data are looked at.
    size_t available = (size - kFirstDescriptor) / kDescriptorSize;
    if (count > available)
        count = (uint32_t)available;
    bool havePort = false, haveIrq = false;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* d = data + kFirstDescriptor + i * kDescriptorSize;
        if (d[0] == 1 && !havePort) {
            *ioBase = LeWord(d + 4);
            havePort = true;
        } else if (d[0] == 2 && !haveIrq) {
            *irq = LeWord(d + 4);
            haveIrq = true;
        }
    }
    return havePort;
}

bool ParseAllocation(const uint8_t* data, size_t size, uint16_t* ioBase, uint16_t* irq)
{
    const size_t kIoBaseOffset = 20, kShiftOffset = 8, kIrqBase = 18;
    if (!data || size < kIoBaseOffset + 2)
        return false;
    long irqOffset = (long)kIrqBase + (signed char)data[kShiftOffset];
    if (irqOffset < 0 || (size_t)irqOffset + 2 > size)
        return false;
    *ioBase = LeWord(data + kIoBaseOffset);
    *irq = LeWord(data + irqOffset);
    return true;
}
