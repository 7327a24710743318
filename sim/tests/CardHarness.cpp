// CardHarness.cpp - the program's mailbox procedure over the dispatcher.
#include "sim/tests/CardHarness.h"

#include <vector>

CardHarness::CardHarness(const char* scenario) : device(new SimDevice)
{
    device->Init(&CardHarness::Clock, this);
    if (scenario)
        Load(scenario);
    device->SetDriverBase(device->Fw().World().ioBase);
}

bool CardHarness::Load(const char* scenario)
{
    SimTextResult result;
    bool ok = device->LoadScenario(scenario, static_cast<uint32_t>(std::strlen(scenario)), result);
    error = ok ? "" : "line " + std::to_string(result.line) + ": " + result.message;
    device->SetDriverBase(device->Fw().World().ioBase);
    return ok;
}

bool CardHarness::ReadBlock(uint16_t address, uint8_t* buffer, uint16_t count)
{
    SimBlockHeader header = {0, 2, 4, address, count};
    std::vector<uint8_t> out(count + 1u);
    uint32_t info = 0;
    uint32_t status = device->Control(SIM_IOCTL_BLOCK_READ, &header, sizeof header, out.data(),
                                      static_cast<uint32_t>(out.size()), &info);
    std::memcpy(buffer, out.data(), count);
    return status == SIM_STATUS_SUCCESS;
}

bool CardHarness::WriteBlock(uint16_t address, const uint8_t* buffer, uint16_t count)
{
    std::vector<uint8_t> in(sizeof(SimBlockHeader) + count);
    SimBlockHeader header = {0, 2, 4, address, count};
    std::memcpy(in.data(), &header, sizeof header);
    std::memcpy(in.data() + sizeof header, buffer, count);
    uint32_t info = 0;
    return device->Control(SIM_IOCTL_BLOCK_WRITE, in.data(), static_cast<uint32_t>(in.size()),
                           nullptr, 0, &info) == SIM_STATUS_SUCCESS;
}

CardHarness::Reply CardHarness::Command(uint16_t command, uint16_t code, const uint8_t* value,
                                        int valueSize)
{
    Reply reply;
    uint16_t mailbox = Mailbox();
    uint8_t block[38] = {};
    bool idle = false;
    for (int i = 0; i < 10 && !idle; ++i) {
        Advance(50);
        ReadBlock(mailbox, block, 38);
        idle = (block[2] | (block[3] << 8)) != 0xFFFF;
    }
    if (!idle)
        return reply;
    block[0] = static_cast<uint8_t>(command);
    block[1] = static_cast<uint8_t>(command >> 8);
    block[2] = block[3] = 0xFF;
    block[4] = static_cast<uint8_t>(code);
    block[5] = static_cast<uint8_t>(code >> 8);
    if (value)
        std::memcpy(block + 6, value, static_cast<size_t>(valueSize));
    WriteBlock(mailbox, block, 38);
    for (int i = 0; i < 10; ++i) {
        Advance(50);
        ++reply.polls;
        ReadBlock(mailbox, block, 38);
        uint16_t status = static_cast<uint16_t>(block[2] | (block[3] << 8));
        if (status != 0xFFFF) {
            reply.answered = true;
            reply.status = status;
            reply.code = static_cast<uint16_t>(block[4] | (block[5] << 8));
            std::memcpy(reply.value, block + 6, 32);
            return reply;
        }
    }
    return reply;
}

CardHarness::Reply CardHarness::SetParam(uint16_t code, uint32_t value, int size)
{
    uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                        static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    return Command(0x11, code, bytes, size);
}

CardHarness::Reply CardHarness::Status(uint16_t sub, uint16_t index)
{
    uint8_t bytes[2] = {static_cast<uint8_t>(index), static_cast<uint8_t>(index >> 8)};
    return Command(0x60, sub, bytes, 2);
}
