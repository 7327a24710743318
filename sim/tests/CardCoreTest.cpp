// CardCoreTest.cpp - the card's registers and memory as the bus sees them.
#include <gtest/gtest.h>

#include <memory>

#include "sim/CardCore.h"
#include "sim/SimProtocol.h"

namespace {

TEST(CardCore, DataAccessStepsTheWordAddress)
{
    std::unique_ptr<CardCore> core(new CardCore);
    core->WriteWord(SIM_ADDRESS_REG, 0x1234);
    core->WriteWord(SIM_DATA_REG, 0xAAAA);
    core->WriteWord(SIM_DATA_REG, 0xBBBB);
    EXPECT_EQ(0x1236, core->ReadWord(SIM_ADDRESS_REG));
    EXPECT_EQ(0xAAAA, core->Peek(0x1234));
    EXPECT_EQ(0xBBBB, core->Peek(0x1235));
    core->WriteWord(SIM_ADDRESS_REG, 0x1234);
    EXPECT_EQ(0xAAAA, core->ReadWord(SIM_DATA_REG));
    EXPECT_EQ(0xBBBB, core->ReadWord(SIM_DATA_REG));
}

TEST(CardCore, AddressWrapsAtTheEndOfCardMemory)
{
    std::unique_ptr<CardCore> core(new CardCore);
    core->WriteWord(SIM_ADDRESS_REG, 0xFFFF);
    core->WriteWord(SIM_DATA_REG, 1);
    core->WriteWord(SIM_DATA_REG, 2);
    EXPECT_EQ(1, core->Peek(0xFFFF));
    EXPECT_EQ(2, core->Peek(0));
}

TEST(CardCore, ByteAccessReachesEachHalfAndTheHighDataByteSteps)
{
    std::unique_ptr<CardCore> core(new CardCore);
    core->WriteByte(SIM_ADDRESS_REG, 0x34);
    core->WriteByte(SIM_ADDRESS_REG + 1, 0x12);
    EXPECT_EQ(0x1234, core->Address());
    core->WriteByte(SIM_DATA_REG, 0xCD);
    EXPECT_EQ(0x1234, core->Address()) << "low byte does not step";
    core->WriteByte(SIM_DATA_REG + 1, 0xAB);
    EXPECT_EQ(0x1235, core->Address());
    EXPECT_EQ(0xABCD, core->Peek(0x1234));
    core->WriteWord(SIM_ADDRESS_REG, 0x1234);
    EXPECT_EQ(0xCD, core->ReadByte(SIM_DATA_REG));
    EXPECT_EQ(0xAB, core->ReadByte(SIM_DATA_REG + 1));
    EXPECT_EQ(0x1235, core->Address());
    core->WriteByte(SIM_CONTROL_REG + 1, 0x80);
    EXPECT_EQ(0x8000, core->ReadWord(SIM_CONTROL_REG));
    EXPECT_EQ(0x80, core->ReadByte(SIM_CONTROL_REG + 1));
}

TEST(CardCore, CardMemoryHoldsBytesLowFirst)
{
    std::unique_ptr<CardCore> core(new CardCore);
    const uint8_t bytes[5] = {1, 2, 3, 4, 5};
    core->Poke(0x102, 0xFF00);
    core->PokeBytes(0x100, bytes, 5);
    EXPECT_EQ(0x0201, core->Peek(0x100));
    EXPECT_EQ(0xFF05, core->Peek(0x102)) << "an odd count leaves the high byte";
    uint8_t back[5] = {};
    core->PeekBytes(0x100, back, 5);
    EXPECT_EQ(0, memcmp(bytes, back, 5));
}

} // namespace
