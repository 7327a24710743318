// CardHarness.h - drives the simulated card's mailbox the way the program
// does (block transfers through the dispatcher, 50 ms pauses on a fake
// clock), for the firmware and dispatcher tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "sim/SimDevice.h"
#include "sim/SimProtocol.h"

class CardHarness
{
public:
    struct Reply
    {
        bool answered = false;
        uint16_t status = 0xFFFF;
        uint16_t code = 0;
        uint8_t value[32] = {};
        int polls = 0;

        uint16_t Word(int at = 0) const
        {
            return static_cast<uint16_t>(value[at] | (value[at + 1] << 8));
        }
        uint32_t Long(int at = 0) const
        {
            return Word(at) | (static_cast<uint32_t>(Word(at + 2)) << 16);
        }
        std::string Text(int at = 0) const
        {
            return std::string(reinterpret_cast<const char*>(value + at));
        }
    };

    explicit CardHarness(const char* scenario = nullptr);

    bool Load(const char* scenario);
    std::string error;

    // Block transfers through the dispatcher, as the driver path does.
    bool ReadBlock(uint16_t address, uint8_t* buffer, uint16_t count);
    bool WriteBlock(uint16_t address, const uint8_t* buffer, uint16_t count);

    // One command: await idle, write, await the answer (10 polls at most).
    Reply Command(uint16_t command, uint16_t code = 0, const uint8_t* value = nullptr,
                  int valueSize = 0);
    Reply GetParam(uint16_t code) { return Command(0x10, code); }
    Reply SetParam(uint16_t code, uint32_t value, int size = 4);
    Reply Status(uint16_t sub, uint16_t index = 0);

    uint16_t Mailbox() { return device->Core().Peek(0x1FF); }
    void Advance(uint32_t ms) { now += ms; }

    std::unique_ptr<SimDevice> device;
    uint32_t now = 5000;

private:
    static uint32_t Clock(void* context) { return static_cast<CardHarness*>(context)->now; }
};
