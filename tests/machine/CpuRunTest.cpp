// Running instructions: REP string instructions cut by the step limit, and the 8086's
// address wrap in memory operands and instruction fetch.
#include "CpuTestSupport.h"

#include <gtest/gtest.h>

using namespace velmora::testing;

TEST(CpuRunTest, RepStringCutByTheStepLimitGoesOnFromItsFirstPrefix)
{
    TestMachine m;
    m.cpu.regs().ds = 0x3000; // the CS override must survive the cut
    for (uint8_t i = 0; i < 10; ++i)
        m.memory.write8(Memory::linear(TestMachine::kCode, uint16_t(0x0200 + i)), uint8_t(i + 1));
    m.load({
        0xB9, 0x0A, 0x00, // mov cx,10
        0xBE, 0x00, 0x02, // mov si,200h
        0xBF, 0x00, 0x03, // mov di,300h
        0xFC,             // cld
        0x2E, 0xF3, 0xA4, // rep movsb with a CS source
        0xF4,             // hlt
    });
    EXPECT_EQ(m.cpu.run(4 + 3), StopReason::StepLimit);
    EXPECT_EQ(m.cpu.instructionCount(), 7u) << "each repetition counts";
    EXPECT_EQ(m.cpu.regs().cx, 7);
    EXPECT_EQ(m.cpu.regs().ip, 0x010A);
    EXPECT_EQ(m.memory.read8(Memory::linear(TestMachine::kCode, 0x0303)), 0) << "three bytes so far";

    EXPECT_EQ(m.cpu.run(100), StopReason::Halted);
    EXPECT_EQ(m.cpu.instructionCount(), 4u + 10u + 1u);
    EXPECT_EQ(m.cpu.regs().cx, 0);
    for (uint8_t i = 0; i < 10; ++i)
        EXPECT_EQ(m.memory.read8(Memory::linear(TestMachine::kCode, uint16_t(0x0300 + i))), i + 1);
}

TEST(CpuRunTest, RepMovswWithDirectionFlagCopiesWordsDownwards)
{
    TestMachine m;
    for (uint16_t i = 0; i < 3; ++i)
        m.memory.write16(Memory::linear(TestMachine::kCode, uint16_t(0x0200 + 2 * i)), uint16_t(0x1111 * (i + 1)));
    // mov cx,3 / mov si,204h / mov di,304h / std / rep movsw / hlt
    m.load({0xB9, 0x03, 0x00, 0xBE, 0x04, 0x02, 0xBF, 0x04, 0x03, 0xFD, 0xF3, 0xA5, 0xF4});
    EXPECT_EQ(m.cpu.run(100), StopReason::Halted);
    for (uint16_t i = 0; i < 3; ++i)
        EXPECT_EQ(m.word(TestMachine::kCode, uint16_t(0x0300 + 2 * i)), 0x1111 * (i + 1));
    EXPECT_EQ(m.cpu.regs().si, 0x01FE);
    EXPECT_EQ(m.cpu.regs().di, 0x02FE);
    EXPECT_EQ(m.word(TestMachine::kCode, 0x02FE), 0) << "nothing below the first word";
}

TEST(CpuRunTest, RepeCompareStopsAtTheFirstDifference)
{
    TestMachine m;
    const uint8_t left[] = {'a', 'b', 'c', 'd'}, right[] = {'a', 'b', 'x', 'd'};
    for (uint16_t i = 0; i < 4; ++i) {
        m.memory.write8(Memory::linear(TestMachine::kCode, uint16_t(0x0200 + i)), left[i]);
        m.memory.write8(Memory::linear(TestMachine::kCode, uint16_t(0x0300 + i)), right[i]);
    }
    // mov cx,4 / mov si,200h / mov di,300h / repe cmpsb / hlt
    m.load({0xB9, 0x04, 0x00, 0xBE, 0x00, 0x02, 0xBF, 0x00, 0x03, 0xF3, 0xA6, 0xF4});
    EXPECT_EQ(m.cpu.run(100), StopReason::Halted);
    EXPECT_EQ(m.cpu.regs().cx, 1);
    EXPECT_EQ(m.cpu.regs().si, 0x0203);
    EXPECT_FALSE(m.cpu.regs().flag(ZF));
    EXPECT_TRUE(m.cpu.regs().flag(CF)) << "'c' is below 'x'";
}

TEST(CpuRunTest, MemoryOperandsWrapAtOneMegabyteAndWithinTheirSegment)
{
    TestMachine m;
    m.cpu.regs().ax = 0xBEEF;
    m.load({0xA3, 0x0F, 0x00,             // mov [000Fh],ax with DS = FFFFh
            0x8E, 0xD9,                   // mov ds,cx
            0xA3, 0xFF, 0xFF, 0xA1, 0xFF, // mov [0FFFFh],ax / mov ax,[0FFFFh]
            0xFF, 0xF4});
    m.cpu.regs().ds = 0xFFFF;
    m.cpu.regs().cx = 0x3000;
    EXPECT_EQ(m.cpu.run(100), StopReason::Halted);
    EXPECT_EQ(m.memory.read8(0xFFFFF), 0xEF);
    EXPECT_EQ(m.memory.read8(0x00000), 0xBE) << "FFFF:0010 is address 0";
    EXPECT_EQ(m.memory.read8(0x3FFFF), 0xEF);
    EXPECT_EQ(m.memory.read8(0x30000), 0xBE) << "a word at offset FFFFh ends at offset 0 of its segment";
    EXPECT_EQ(m.memory.read8(0x40000), 0x00);
    EXPECT_EQ(m.cpu.regs().ax, 0xBEEF);
}

TEST(CpuRunTest, InstructionFetchWrapsFromOffsetFFFFToZero)
{
    TestMachine m;
    m.load({0xB8}, 0xFFFF);        // mov ax, ...
    m.load({0x34, 0x12, 0xF4}, 0); // ... 1234h / hlt
    m.cpu.regs().ip = 0xFFFF;
    EXPECT_EQ(m.cpu.run(10), StopReason::Halted);
    EXPECT_EQ(m.cpu.regs().ax, 0x1234);
    EXPECT_EQ(m.cpu.regs().ip, 0x0003);
}
