// How the CPU meets the PC around it: the service stubs behind the interrupt vectors, a
// service waiting for input, stops from another thread, HLT, the exceptions and the
// single-step trap.
#include "CpuTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace velmora::testing;

TEST(CpuServiceTest, IntReachesTheHostWithItsCallerAndKeepsTheFlagsTheServiceSet)
{
    TestMachine m;
    m.cpu.regs().flags |= IF;
    m.load({0xF8, 0xCD, 0x21, 0xF4}); // clc / int 21h / hlt
    m.host.actions[0x21] = [](Cpu &cpu) {
        EXPECT_TRUE(cpu.regs().flag(IF)) << "the service sees the caller's IF";
        cpu.regs().ax = 0x1234;
        cpu.regs().setFlag(CF, true);
    };
    EXPECT_EQ(m.cpu.run(100), StopReason::Halted);
    ASSERT_EQ(m.host.calls.size(), 1u);
    EXPECT_EQ(m.host.calls[0].vector, 0x21);
    EXPECT_EQ(m.host.calls[0].callerCs, TestMachine::kCode);
    EXPECT_EQ(m.host.calls[0].callerIp, 0x0103);
    const Registers &r = m.cpu.regs();
    EXPECT_EQ(r.ax, 0x1234);
    EXPECT_TRUE(r.flag(CF));
    EXPECT_TRUE(r.flag(IF));
    EXPECT_EQ(r.sp, 0xFFFE);
    EXPECT_EQ(r.ip, 0x0104);
}

TEST(CpuServiceTest, ProgramHandlerChainsToTheServiceThroughTheOldVector)
{
    TestMachine m;
    // handler at 0200: inc bx / pushf / call far [cs:0300] / iret
    m.load({0x43, 0x9C, 0x2E, 0xFF, 0x1E, 0x00, 0x03, 0xCF}, 0x0200);
    m.memory.write16(Memory::linear(TestMachine::kCode, 0x0300), m.word(0, 0x21 * 4));
    m.memory.write16(Memory::linear(TestMachine::kCode, 0x0302), m.word(0, 0x21 * 4 + 2));
    m.memory.write16(0x21 * 4, 0x0200);
    m.memory.write16(0x21 * 4 + 2, TestMachine::kCode);
    m.load({0xCD, 0x21, 0xF4}); // int 21h / hlt
    m.host.actions[0x21] = [](Cpu &cpu) { cpu.regs().ax = 0x4321; };

    EXPECT_EQ(m.cpu.run(100), StopReason::Halted);
    ASSERT_EQ(m.host.calls.size(), 1u);
    EXPECT_EQ(m.host.calls[0].callerIp, 0x0207) << "the caller is the handler's CALL FAR";
    EXPECT_EQ(m.cpu.regs().bx, 1);
    EXPECT_EQ(m.cpu.regs().ax, 0x4321);
    EXPECT_EQ(m.cpu.regs().ip, 0x0103);
    EXPECT_EQ(m.cpu.regs().sp, 0xFFFE);
}

TEST(CpuServiceTest, WaitAndRetryCallsTheSameServiceAgainOnTheNextRun)
{
    TestMachine m;
    m.load({0xB4, 0x00, 0xCD, 0x16, 0xF4}); // mov ah,0 / int 16h / hlt
    int attempts = 0;
    m.host.actions[0x16] = [&](Cpu &cpu) {
        if (++attempts == 1)
            cpu.waitAndRetry();
        else
            cpu.regs().ax = 'A';
    };
    EXPECT_EQ(m.cpu.run(1000), StopReason::WaitingForInput);
    EXPECT_EQ(m.cpu.regs().cs, Cpu::kStubSegment);
    EXPECT_EQ(m.cpu.run(1000), StopReason::Halted);
    ASSERT_EQ(m.host.calls.size(), 2u);
    EXPECT_EQ(m.host.calls[1].vector, 0x16);
    EXPECT_EQ(m.host.calls[1].callerIp, 0x0104);
    EXPECT_EQ(m.cpu.regs().ax, 'A');
    EXPECT_EQ(m.cpu.regs().sp, 0xFFFE);
}

TEST(CpuServiceTest, RequestStopFromAnotherThreadEndsAnEndlessLoop)
{
    TestMachine m;
    m.load({0xEB, 0xFE}); // jmp $
    EXPECT_EQ(m.cpu.run(5), StopReason::StepLimit);
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        m.cpu.requestStop();
    });
    const StopReason reason = m.cpu.run(UINT64_MAX);
    stopper.join();
    EXPECT_EQ(reason, StopReason::Stopped);
    EXPECT_EQ(m.cpu.regs().ip, 0x0100);
    // The request is used up: the program goes on when run again.
    EXPECT_EQ(m.cpu.run(10), StopReason::StepLimit);
}

TEST(CpuServiceTest, RequestStopFromAServiceStopsBeforeTheNextInstruction)
{
    TestMachine m;
    m.load({0xCD, 0x21, 0x40, 0xEB, 0xFE}); // int 21h / inc ax / jmp $
    m.host.actions[0x21] = [](Cpu &cpu) { cpu.requestStop(); };
    EXPECT_EQ(m.cpu.run(1000), StopReason::Stopped);
    EXPECT_EQ(m.cpu.regs().ip, 0x0102) << "stopped back at the caller, before INC";
    EXPECT_EQ(m.cpu.regs().ax, 0);
    EXPECT_EQ(m.cpu.run(2), StopReason::StepLimit);
    EXPECT_EQ(m.cpu.regs().ax, 1);
}

TEST(CpuServiceTest, HaltStaysHaltedUntilTheHostResumes)
{
    TestMachine m;
    m.load({0xF4, 0x40}); // hlt / inc ax
    EXPECT_EQ(m.cpu.run(100), StopReason::Halted);
    EXPECT_TRUE(m.cpu.halted());
    EXPECT_EQ(m.cpu.regs().ip, 0x0101);
    EXPECT_EQ(m.cpu.instructionCount(), 1u);
    EXPECT_EQ(m.cpu.run(100), StopReason::Halted);
    m.cpu.step();
    EXPECT_EQ(m.cpu.instructionCount(), 1u) << "a halted CPU executes nothing";
    m.cpu.setHalted(false);
    EXPECT_EQ(m.cpu.run(1), StopReason::StepLimit);
    EXPECT_EQ(m.cpu.regs().ax, 1);
}

TEST(CpuServiceTest, DivideErrorInt3AndIntoGoThroughTheirVectors)
{
    TestMachine m;
    m.cpu.regs().ax = 0x1111;
    m.cpu.regs().dx = 0x2222;
    // xor cx,cx / div cx / int3 / mov al,7Fh / add al,1 / into / hlt
    m.load({0x31, 0xC9, 0xF7, 0xF1, 0xCC, 0xB0, 0x7F, 0x04, 0x01, 0xCE, 0xF4});
    EXPECT_EQ(m.cpu.run(100), StopReason::Halted);
    ASSERT_EQ(m.host.calls.size(), 3u);
    EXPECT_EQ(m.host.calls[0].vector, 0);
    EXPECT_EQ(m.host.calls[0].callerIp, 0x0104) << "the 8086 returns after the DIV";
    EXPECT_EQ(m.host.calls[1].vector, 3);
    EXPECT_EQ(m.host.calls[1].callerIp, 0x0105);
    EXPECT_EQ(m.host.calls[2].vector, 4);
    EXPECT_EQ(m.host.calls[2].callerIp, 0x010A);
    EXPECT_EQ(m.cpu.regs().dx, 0x2222) << "a divide error changes no register";
}

TEST(CpuServiceTest, TrapFlagInterruptsAfterEachInstructionWhileSet)
{
    TestMachine m;
    m.load({
        0x9C, 0x58, 0x0D, 0x00, 0x01, 0x50, 0x9D, // pushf / pop ax / or ax,100h / push ax / popf
        0x41, 0x41,                               // inc cx / inc cx
        0x9C, 0x58, 0x25, 0xFF, 0xFE, 0x50, 0x9D, // pushf / pop ax / and ax,0FEFFh / push ax / popf
        0x41, 0xF4,                               // inc cx / hlt
    });
    EXPECT_EQ(m.cpu.run(1000), StopReason::Halted);
    std::vector<uint16_t> stepped;
    for (const RecordingHost::Call &call : m.host.calls) {
        EXPECT_EQ(call.vector, 1);
        stepped.push_back(call.callerIp);
    }
    // From the instruction after the POPF that sets TF up to the POPF that clears it.
    EXPECT_EQ(stepped, (std::vector<uint16_t>{0x108, 0x109, 0x10A, 0x10B, 0x10E, 0x10F, 0x110}));
    EXPECT_EQ(m.cpu.regs().cx, 3) << "each stepped instruction runs once";
    EXPECT_FALSE(m.cpu.regs().flag(TF));
}
