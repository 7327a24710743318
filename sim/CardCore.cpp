// CardCore.cpp - registers and card memory of the simulated card.
#include "sim/CardCore.h"

#include "sim/Firmware.h"
#include "sim/SimProtocol.h"

void CardCore::Reset()
{
    for (uint32_t i = 0; i < kMemoryWords; ++i)
        m_memory[i] = 0;
    m_control = 0;
    m_address = 0;
}

uint16_t CardCore::HostRead(Firmware* firmware)
{
    if (firmware)
        firmware->OnHostRead(*this, m_address);
    uint16_t value = m_memory[m_address];
    m_address = static_cast<uint16_t>(m_address + 1);
    return value;
}

void CardCore::HostWrite(uint16_t value, Firmware* firmware)
{
    uint16_t address = m_address;
    m_memory[address] = value;
    m_address = static_cast<uint16_t>(m_address + 1);
    if (firmware)
        firmware->OnHostWrite(address, value);
}

uint16_t CardCore::ReadWord(uint16_t offset, Firmware* firmware)
{
    switch (offset) {
    case SIM_CONTROL_REG:
        return m_control;
    case SIM_ADDRESS_REG:
        return m_address;
    case SIM_DATA_REG:
        return HostRead(firmware);
    default:
        return 0xFFFF;
    }
}

void CardCore::WriteWord(uint16_t offset, uint16_t value, Firmware* firmware)
{
    switch (offset) {
    case SIM_CONTROL_REG:
        m_control = value;
        break;
    case SIM_ADDRESS_REG:
        m_address = value;
        break;
    case SIM_DATA_REG:
        HostWrite(value, firmware);
        break;
    default:
        break;
    }
}

uint8_t CardCore::ReadByte(uint16_t offset, Firmware* firmware)
{
    switch (offset) {
    case SIM_CONTROL_REG:
        return static_cast<uint8_t>(m_control);
    case SIM_CONTROL_REG + 1:
        return static_cast<uint8_t>(m_control >> 8);
    case SIM_ADDRESS_REG:
        return static_cast<uint8_t>(m_address);
    case SIM_ADDRESS_REG + 1:
        return static_cast<uint8_t>(m_address >> 8);
    case SIM_DATA_REG:
        if (firmware)
            firmware->OnHostRead(*this, m_address);
        return static_cast<uint8_t>(m_memory[m_address]);
    case SIM_DATA_REG + 1: {
        uint8_t high = static_cast<uint8_t>(m_memory[m_address] >> 8);
        m_address = static_cast<uint16_t>(m_address + 1);
        return high;
    }
    default:
        return 0xFF;
    }
}

void CardCore::WriteByte(uint16_t offset, uint8_t value, Firmware* firmware)
{
    switch (offset) {
    case SIM_CONTROL_REG:
        m_control = static_cast<uint16_t>((m_control & 0xFF00) | value);
        break;
    case SIM_CONTROL_REG + 1:
        m_control = static_cast<uint16_t>((m_control & 0x00FF) | (value << 8));
        break;
    case SIM_ADDRESS_REG:
        m_address = static_cast<uint16_t>((m_address & 0xFF00) | value);
        break;
    case SIM_ADDRESS_REG + 1:
        m_address = static_cast<uint16_t>((m_address & 0x00FF) | (value << 8));
        break;
    case SIM_DATA_REG:
        m_memory[m_address] = static_cast<uint16_t>((m_memory[m_address] & 0xFF00) | value);
        break;
    case SIM_DATA_REG + 1: {
        uint16_t address = m_address;
        uint16_t word = static_cast<uint16_t>((m_memory[address] & 0x00FF) | (value << 8));
        m_memory[address] = word;
        m_address = static_cast<uint16_t>(m_address + 1);
        if (firmware)
            firmware->OnHostWrite(address, word);
        break;
    }
    default:
        break;
    }
}

void CardCore::PokeBytes(uint16_t address, const uint8_t* bytes, uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i) {
        uint16_t word = static_cast<uint16_t>(address + i / 2);
        if (i % 2 == 0)
            m_memory[word] = static_cast<uint16_t>((m_memory[word] & 0xFF00) | bytes[i]);
        else
            m_memory[word] = static_cast<uint16_t>((m_memory[word] & 0x00FF) | (bytes[i] << 8));
    }
}

void CardCore::PeekBytes(uint16_t address, uint8_t* bytes, uint32_t count) const
{
    for (uint32_t i = 0; i < count; ++i) {
        uint16_t word = m_memory[static_cast<uint16_t>(address + i / 2)];
        bytes[i] = static_cast<uint8_t>(i % 2 == 0 ? word : word >> 8);
    }
}
