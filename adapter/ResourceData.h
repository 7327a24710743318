// ResourceData.h - the two binary forms discovery reads from the registry:
// the NT resource list of the adapter's driver and the Windows 95/98
// configuration manager's allocation. Pure decoding, no Windows needed.
#pragma once

#include <cstddef>
#include <cstdint>

// Both return false when the data is too short for what it claims; the
// I/O base and interrupt are only written from bytes that stand in the data.
bool ParseResourceList(const uint8_t* data, size_t size, uint16_t* ioBase, uint16_t* irq);
bool ParseAllocation(const uint8_t* data, size_t size, uint16_t* ioBase, uint16_t* irq);
