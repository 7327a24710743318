// CardCore.h - the simulated card's bus side: three 16-bit registers and
// 64 K words of card memory. Freestanding: no heap, no library calls, a
// constant initialiser only, so it can live as a static object in a driver.
// It holds no pointers, so the same bytes work wherever a process maps them:
// the firmware that watches host accesses is handed in with each access.
#pragma once

#include <stdint.h>

#include "sim/LayoutHash.h"

class Firmware;

class CardCore
{
public:
    static const uint32_t kMemoryWords = 0x10000;

    constexpr CardCore() {}

    // Power-on state: memory and registers cleared.
    void Reset();

    // Register access by offset from the card's base (0..5). Word access
    // needs an even offset. Byte access reaches the low (even offset) or
    // high (odd offset) half; a byte access to the high half of DATA_REG
    // completes the word and steps the address, as an 8-bit host reading a
    // word as two bytes expects. The firmware, when given, sees the host's
    // accesses to card memory.
    uint16_t ReadWord(uint16_t offset, Firmware* firmware = nullptr);
    void WriteWord(uint16_t offset, uint16_t value, Firmware* firmware = nullptr);
    uint8_t ReadByte(uint16_t offset, Firmware* firmware = nullptr);
    void WriteByte(uint16_t offset, uint8_t value, Firmware* firmware = nullptr);

    // Firmware side: card memory without host side effects.
    uint16_t Peek(uint16_t address) const { return m_memory[address]; }
    void Poke(uint16_t address, uint16_t value) { m_memory[address] = value; }
    void PokeBytes(uint16_t address, const uint8_t* bytes, uint32_t count);
    void PeekBytes(uint16_t address, uint8_t* bytes, uint32_t count) const;

    uint16_t Control() const { return m_control; }
    uint16_t Address() const { return m_address; }

    static constexpr uint32_t MixLayout(uint32_t h)
    {
        const uint32_t places[] = {SIM_PLACE(CardCore, m_control), SIM_PLACE(CardCore, m_address),
                                   SIM_PLACE(CardCore, m_memory)};
        return LayoutMix(h, places);
    }

private:
    uint16_t HostRead(Firmware* firmware);
    void HostWrite(uint16_t value, Firmware* firmware);

    uint16_t m_control = 0;
    uint16_t m_address = 0;
    uint16_t m_memory[kMemoryWords] = {};
};
