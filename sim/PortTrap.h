// PortTrap.h - lets the program's own IN and OUT instructions work under
// Wine. Real Windows 95/98 executes them; Wine faults them, so when the
// program runs under Wine a vectored exception handler decodes the faulting
// instruction, performs it on the simulated bus and steps over it, as a
// virtual machine monitor would. The bus is the card itself, served in this
// process on the memory section razuDov shares (see sim/SharedCard.h) under
// the lock that the driver takes too; without that section, razuDov's raw
// bus request.
#pragma once

struct PortTrapCounters
{
    unsigned long trapped;   // instructions performed
    unsigned long noDriver;  // of those, performed without the driver (floating bus)
    unsigned long shared;    // of those, performed on the shared card in this process
    unsigned long takeovers; // locks of a dead side this process took over
};

// Installs the handler once when ntdll exports wine_get_version. Returns
// true when the trap is in place after the call.
bool InstallPortTrapIfWine();

// Removes the handler and closes the driver handle (tests, tools).
void RemovePortTrap();

PortTrapCounters GetPortTrapCounters();

// Performs one bus access as a trapped instruction would (width 1 or 2).
unsigned short PortTrapBus(bool isIn, unsigned short port, int width, unsigned short value);

// Decodes the port instruction at code. Returns its length in bytes (0 when
// it is not one), its port (from dx or the immediate), width 1, 2 or 4 and
// whether it reads. Exposed for tests.
int DecodePortInstruction(const unsigned char* code, unsigned short dx, unsigned short* port,
                          int* width, bool* isIn);
