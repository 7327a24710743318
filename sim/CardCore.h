// CardCore.h - the simulated card's bus side: three 16-bit registers and
// 64 K words of card memory. Freestanding: no heap, no library calls, a
// constant initialiser only, so it can live as a static object in a driver.
// It holds no pointers: the firmware is found by its distance from the core,
// so the same bytes work wherever a process maps them.
#pragma once

#include <stdint.h>

class Firmware;

class CardCore
{
public:
    static const uint32_t kMemoryWords = 0x10000;

    constexpr CardCore() {}

    // Connects the firmware that watches host accesses to card memory.
    void Attach(Firmware* firmware);

    // Power-on state: memory and registers cleared.
    void Reset();

    // Register access by offset from the card's base (0..5). Word access
    // needs an even offset. Byte access reaches the low (even offset) or
    // high (odd offset) half; a byte access to the high half of DATA_REG
    // completes the word and steps the address, as an 8-bit host reading a
    // word as two bytes expects.
    uint16_t ReadWord(uint16_t offset);
    void WriteWord(uint16_t offset, uint16_t value);
    uint8_t ReadByte(uint16_t offset);
    void WriteByte(uint16_t offset, uint8_t value);

    // Firmware side: card memory without host side effects.
    uint16_t Peek(uint16_t address) const { return m_memory[address]; }
    void Poke(uint16_t address, uint16_t value) { m_memory[address] = value; }
    void PokeBytes(uint16_t address, const uint8_t* bytes, uint32_t count);
    void PeekBytes(uint16_t address, uint8_t* bytes, uint32_t count) const;

    uint16_t Control() const { return m_control; }
    uint16_t Address() const { return m_address; }

private:
    Firmware* Fw();
    uint16_t HostRead();
    void HostWrite(uint16_t value);

    int32_t m_firmwareOffset = 0; // from this object to the firmware; 0: none
    uint16_t m_control = 0;
    uint16_t m_address = 0;
    uint16_t m_memory[kMemoryWords] = {};
};
