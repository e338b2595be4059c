// The instructions the 80186 adds, each with a case of its own, and what the same opcodes
// do on the 8086.
#include "CpuTestSupport.h"

#include <gtest/gtest.h>

using namespace velmora::testing;

namespace
{

uint16_t stackWord(const TestMachine &m, uint16_t offset)
{
    return m.word(TestMachine::kStack, offset);
}

} // namespace

TEST(Cpu186Test, PushImmediateWordAndSignExtendedByte)
{
    TestMachine m;
    m.load({0x68, 0x34, 0x12, 0x6A, 0xFE, 0xF4}); // push 1234h / push -2 / hlt
    EXPECT_EQ(m.cpu.run(10), StopReason::Halted);
    EXPECT_EQ(m.cpu.regs().sp, 0xFFFA);
    EXPECT_EQ(stackWord(m, 0xFFFC), 0x1234);
    EXPECT_EQ(stackWord(m, 0xFFFA), 0xFFFE);
}

TEST(Cpu186Test, PushaAndPopaSaveAllRegistersButPopaSkipsSp)
{
    TestMachine m;
    Registers &r = m.cpu.regs();
    r.ax = 1, r.cx = 2, r.dx = 3, r.bx = 4, r.bp = 6, r.si = 7, r.di = 8;
    // pusha / mov ax,0 / mov di,0 / push 55h / pop bx / popa / hlt: POPA must not load SP
    m.load({0x60, 0xB8, 0x00, 0x00, 0xBF, 0x00, 0x00, 0x6A, 0x55, 0x5B, 0x61, 0xF4});
    m.cpu.step();
    EXPECT_EQ(r.sp, 0xFFFE - 16);
    const uint16_t expectedStack[8] = {8, 7, 6, 0xFFFE, 4, 3, 2, 1}; // DI first, at the lowest address
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(stackWord(m, uint16_t(0xFFEE + 2 * i)), expectedStack[i]) << "word " << i;
    EXPECT_EQ(m.cpu.run(10), StopReason::Halted);
    EXPECT_EQ(r.ax, 1);
    EXPECT_EQ(r.bx, 4);
    EXPECT_EQ(r.di, 8);
    EXPECT_EQ(r.sp, 0xFFFE);
}

TEST(Cpu186Test, ImulImmediateSetsCarryAndOverflowWhenTheProductLeavesSixteenBits)
{
    TestMachine m;
    Registers &r = m.cpu.regs();
    r.bx = 0x0100;
    m.load({0x69, 0xC3, 0x10, 0x00}); // imul ax,bx,16
    m.cpu.step();
    EXPECT_EQ(r.ax, 0x1000);
    EXPECT_FALSE(r.flag(CF) || r.flag(OF));

    m.load({0x6B, 0xCB, 0x80}, 0x0104); // imul cx,bx,-128: -32768 still fits
    m.cpu.step();
    EXPECT_EQ(r.cx, 0x8000);
    EXPECT_FALSE(r.flag(CF) || r.flag(OF));

    r.bx = 0x0200;
    m.load({0x6B, 0x57, 0x02, 0x80}, 0x0107); // imul dx,[bx+2],-128 with [0202h] = 200h
    m.memory.write16(Memory::linear(TestMachine::kCode, 0x0202), 0x0200);
    m.cpu.step();
    EXPECT_EQ(r.dx, 0x0000);
    EXPECT_TRUE(r.flag(CF) && r.flag(OF));
}

TEST(Cpu186Test, ShiftsAndRotatesByAnImmediateCount)
{
    TestMachine m;
    Registers &r = m.cpu.regs();
    r.ax = 0x1234;
    r.cx = 0x00F1;
    // shl ax,4 / shr cl,3 / rol word [0300h],8 / hlt
    m.load({0xC1, 0xE0, 0x04, 0xC0, 0xE9, 0x03, 0xC1, 0x06, 0x00, 0x03, 0x08, 0xF4});
    m.memory.write16(Memory::linear(TestMachine::kCode, 0x0300), 0xABCD);
    EXPECT_EQ(m.cpu.run(10), StopReason::Halted);
    EXPECT_EQ(r.ax, 0x2340);
    EXPECT_EQ(r.cl(), 0x1E);
    EXPECT_EQ(m.word(TestMachine::kCode, 0x0300), 0xCDAB);
}

TEST(Cpu186Test, EnterBuildsANestedFrameAndLeaveRemovesIt)
{
    TestMachine m;
    Registers &r = m.cpu.regs();
    r.bp = 0xB000;
    m.memory.write16(Memory::linear(TestMachine::kStack, 0xAFFE), 0xC000); // the enclosing frame's pointer
    m.load({0xC8, 0x08, 0x00, 0x02, 0xC9, 0xF4});                          // enter 8,2 / leave / hlt
    m.cpu.step();
    EXPECT_EQ(r.bp, 0xFFFC);
    EXPECT_EQ(r.sp, 0xFFF0);
    EXPECT_EQ(stackWord(m, 0xFFFC), 0xB000) << "the caller's BP";
    EXPECT_EQ(stackWord(m, 0xFFFA), 0xC000) << "the enclosing frame's pointer copied";
    EXPECT_EQ(stackWord(m, 0xFFF8), 0xFFFC) << "the new frame's own pointer";
    m.cpu.step();
    EXPECT_EQ(r.bp, 0xB000);
    EXPECT_EQ(r.sp, 0xFFFE);
}

TEST(Cpu186Test, BoundInterruptsAtTheInstructionOnlyOutsideTheSignedRange)
{
    TestMachine m;
    m.memory.write16(Memory::linear(TestMachine::kCode, 0x0300), uint16_t(-5));
    m.memory.write16(Memory::linear(TestMachine::kCode, 0x0302), 10);
    m.load({0x62, 0x06, 0x00, 0x03, 0xF4}); // bound ax,[0300h] / hlt
    for (const int16_t value : {-5, 0, 10})
        for (m.cpu.regs().ax = uint16_t(value), m.cpu.regs().ip = 0x0100; m.cpu.regs().ip != 0x0104;)
            m.cpu.step();
    EXPECT_TRUE(m.host.calls.empty());

    m.cpu.regs().ax = 11;
    m.cpu.regs().ip = 0x0100;
    m.cpu.step();
    m.cpu.step();
    ASSERT_EQ(m.host.calls.size(), 1u);
    EXPECT_EQ(m.host.calls[0].vector, 5);
    EXPECT_EQ(m.host.calls[0].callerIp, 0x0100);
}

TEST(Cpu186Test, InsAndOutsMoveStringsThroughPorts)
{
    TestMachine m;
    Registers &r = m.cpu.regs();
    r.dx = 0x40, r.cx = 3, r.di = 0x0400, r.si = 0x0500;
    m.memory.write16(Memory::linear(TestMachine::kCode, 0x0500), 0xA55A);
    m.load({0xF3, 0x6C, 0x6F, 0xF4}); // rep insb / outsw / hlt
    EXPECT_EQ(m.cpu.run(10), StopReason::Halted);
    for (uint16_t i = 0; i < 3; ++i)
        EXPECT_EQ(m.memory.read8(Memory::linear(TestMachine::kCode, uint16_t(0x0400 + i))), 0x41);
    EXPECT_EQ(r.di, 0x0403);
    EXPECT_EQ(r.cx, 0);
    const std::vector<std::pair<uint16_t, uint8_t>> expected{{0x40, 0x5A}, {0x41, 0xA5}};
    EXPECT_EQ(m.host.written, expected);
    EXPECT_EQ(r.si, 0x0502);
}

TEST(Cpu186Test, UnknownOpcodeRaisesInterruptSixAtTheOpcode)
{
    TestMachine m;
    m.load({0x0F, 0xF4});
    m.cpu.step();
    m.cpu.step();
    ASSERT_EQ(m.host.calls.size(), 1u);
    EXPECT_EQ(m.host.calls[0].vector, 6);
    EXPECT_EQ(m.host.calls[0].callerIp, 0x0100);
}

TEST(Cpu186Test, The8086RunsTheSameOpcodesAsItsOwnAliases)
{
    TestMachine m(CpuModel::i8086);
    Registers &r = m.cpu.regs();
    r.sp = 0xFFFC;
    m.memory.write16(Memory::linear(TestMachine::kStack, 0xFFFC), 0x0200);
    m.load({0xC1});                                 // RET on the 8086
    m.load({0x60, 0x10, 0xC8, 0x00, 0x00}, 0x0200); // JO +10h (not taken) / RETF 0
    m.cpu.step();
    EXPECT_EQ(r.ip, 0x0200);
    m.cpu.step();
    EXPECT_EQ(r.ip, 0x0202);
    m.memory.write16(Memory::linear(TestMachine::kStack, 0xFFFE), 0x0300);
    m.memory.write16(Memory::linear(TestMachine::kStack, 0x0000), 0x4000);
    m.cpu.step();
    EXPECT_EQ(r.cs, 0x4000);
    EXPECT_EQ(r.ip, 0x0300);
}
