// PortAccess.h - the adapter's three 16-bit registers and its card memory,
// reached with the processor's port instructions on Windows 95/98 or through
// the razuDov port-I/O driver on Windows NT.
#pragma once

#include <windows.h>

// The platform (PLATFORM_*) and the I/O base: GetAdapterLink().
#include "adapter/AdapterState.h"

// Register offsets from the I/O base.
enum : WORD
{
    CONTROL_REG = 0,
    ADDRESS_REG = 2,
    DATA_REG = 4,
};

// The driver's control codes (device type 0x9C40, buffered).
enum : DWORD
{
    IOCTL_RAZU_READ_BYTE = 0x9C406400,
    IOCTL_RAZU_READ_WORD = 0x9C406404,
    IOCTL_RAZU_WRITE_BYTE = 0x9C40A440,
    IOCTL_RAZU_WRITE_WORD = 0x9C40A444,
    IOCTL_RAZU_READ_BLOCK = 0x9C402480,
    IOCTL_RAZU_WRITE_BLOCK = 0x9C40A484,
    IOCTL_RAZU_SET_BASE = 0x9C402488,
};

// The driver counts single ports from this one.
const WORD RAZU_PORT_ORIGIN = 0x240;
// Header of a block request: five little-endian words.
const DWORD RAZU_BLOCK_HEADER_SIZE = 10;

BYTE PortReadByte(WORD offset);
WORD PortReadWord(WORD offset);
BYTE PortWriteByte(WORD offset, BYTE value);
WORD PortWriteWord(WORD offset, WORD value);

// Block transfers of card memory, at real-time priority for their duration.
// False when the driver could not be opened or refused the request (already
// shown to the user); a read that failed leaves `buffer` untouched. The
// mailbox and discovery use the result to tell a refused transfer from the
// card's contents; the direct path always succeeds.
bool ReadCardMemory(WORD wordAddress, void* buffer, WORD byteCount);
bool WriteCardMemory(WORD wordAddress, const void* buffer, WORD byteCount);

// Hands the I/O base to the driver: -1 when the driver cannot be opened,
// otherwise 1 when its answer word is non-zero, 0 when zero or on failure.
int DriverSetBase(WORD ioBase);
