#include "machine/Memory.h"

#include <gtest/gtest.h>

using velmora::machine::Memory;

TEST(MemoryTest, LinearAddressesWrapAtOneMegabyte)
{
    EXPECT_EQ(Memory::linear(0x1234, 0x0010), 0x12350u);
    EXPECT_EQ(Memory::linear(0xFFFF, 0x0010), 0x00000u);
    EXPECT_EQ(Memory::linear(0xFFFF, 0xFFFF), 0x0FFEFu);
}

TEST(MemoryTest, WordAtTheLastByteTakesItsHighByteFromAddressZero)
{
    Memory memory;
    memory.write16(0xFFFFF, 0xBEEF);
    EXPECT_EQ(memory.read8(0xFFFFF), 0xEF);
    EXPECT_EQ(memory.read8(0), 0xBE);
    EXPECT_EQ(memory.read16(0xFFFFF), 0xBEEF);
    // Addresses beyond 20 bits name the same bytes.
    EXPECT_EQ(memory.read8(0x100000), 0xBE);
    memory.clear();
    EXPECT_EQ(memory.read16(0xFFFFF), 0);
}
