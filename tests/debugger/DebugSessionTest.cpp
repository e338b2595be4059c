// The debug session driving small programs built with the built-in tools: stepping
// into and over instructions, breakpoints, running to a line, runs in slices and key waits.
#include "debugger/DebugSession.h"

#include "debugger/BuiltProgram.h"
#include "debugger/SessionTestSupport.h"

#include <gtest/gtest.h>

namespace velmora::debugger::test
{
namespace
{

using Outcome = DebugSession::Outcome;
using machine::Memory;

const std::string kSteps = R"(        .model  tiny
        .code
        org     100h
start:  mov     ax,1234h
        mov     bx,ax
        add     ax,bx
        mov     value,ax
        call    double
        mov     dx,offset msg
        mov     ah,9
        int     21h
        mov     cx,3
again:  inc     si
        loop    again
        ; the end
        mov     ax,4C05h
        int     21h
double  proc
        shl     word ptr value,1
        ret
double  endp
value   dw      0
msg     db      'Hi$'
        end     start
)";

class DebugSessionTest : public ::testing::Test
{
protected:
    void startProgram(const std::string &source, ProgramKind kind = ProgramKind::Com)
    {
        source_ = source;
        const BuiltProgram program = buildProgram(folder_, source, kind);
        ASSERT_EQ(session_.start(program.path, "", program.info), "");
    }
    int line(const std::string &text) const { return lineOf(source_, text); }
    std::optional<int> current() const { return session_.currentLine(); }
    std::uint16_t word(std::uint16_t segment, std::uint16_t offset) const
    {
        return session_.pc().memory().read16(Memory::linear(segment, offset));
    }
    const machine::Registers &regs() const { return session_.registers(); }

    velmora::testing::TempFolder folder_;
    DebugSession session_;
    std::string source_;
};

TEST_F(DebugSessionTest, TracingShowsRegistersFlagsMemoryAndTheLineAfterEachInstruction)
{
    startProgram(kSteps);
    EXPECT_EQ(session_.loadSegment(), regs().cs); // a .com runs in its PSP's segment
    EXPECT_EQ(regs().ip, 0x100);
    EXPECT_EQ(current(), line("start:"));
    EXPECT_TRUE(session_.active());

    EXPECT_EQ(session_.traceInto(), Outcome::Paused);
    EXPECT_EQ(regs().ax, 0x1234);
    EXPECT_EQ(session_.previousRegisters().ip, 0x100);
    EXPECT_NE(session_.previousRegisters().ax, 0x1234);
    EXPECT_EQ(current(), line("mov     bx,ax"));

    session_.traceInto();
    EXPECT_EQ(regs().bx, 0x1234);
    session_.traceInto();
    EXPECT_EQ(regs().ax, 0x2468);
    EXPECT_FALSE(regs().flag(machine::CF));
    EXPECT_FALSE(regs().flag(machine::ZF));
    EXPECT_FALSE(regs().flag(machine::SF));
    EXPECT_EQ(session_.previousRegisters().ax, 0x1234);

    // mov value,ax is A3 and value's offset.
    const std::uint16_t value = word(regs().cs, std::uint16_t(regs().ip + 1));
    session_.traceInto();
    EXPECT_EQ(word(regs().ds, value), 0x2468);
    EXPECT_EQ(current(), line("call    double"));

    // Into the procedure and back out of it.
    const std::uint16_t sp = regs().sp;
    EXPECT_EQ(session_.traceInto(), Outcome::Paused);
    EXPECT_EQ(current(), line("shl     word ptr value"));
    EXPECT_EQ(regs().sp, sp - 2);
    session_.traceInto();
    EXPECT_EQ(word(regs().ds, value), 0x48D0);
    EXPECT_TRUE(regs().flag(machine::CF) == false);
    session_.traceInto();
    EXPECT_EQ(current(), line("mov     dx,offset msg"));
    EXPECT_EQ(regs().sp, sp);
}

TEST_F(DebugSessionTest, SteppingOverACallAnIntAndALoopRunsThemWhole)
{
    startProgram(kSteps);
    for (int i = 0; i < 3; ++i)
        session_.stepOver();
    ASSERT_EQ(current(), line("mov     value,ax"));
    const std::uint16_t value = word(regs().cs, std::uint16_t(regs().ip + 1));
    session_.stepOver();
    ASSERT_EQ(current(), line("call    double"));
    const std::uint16_t sp = regs().sp;
    EXPECT_EQ(session_.stepOver(), Outcome::Paused);
    EXPECT_EQ(current(), line("mov     dx,offset msg"));
    EXPECT_EQ(regs().sp, sp);
    EXPECT_EQ(word(regs().ds, value), 0x48D0);

    session_.stepOver();
    session_.stepOver();
    ASSERT_EQ(current(), line("int     21h"));
    // Tracing into an INT steps over the service behind it.
    EXPECT_EQ(session_.traceInto(), Outcome::Paused);
    EXPECT_EQ(current(), line("mov     cx,3"));
    EXPECT_EQ(session_.pc().output(), "Hi");
    EXPECT_EQ(regs().al(), '$');
    EXPECT_EQ(session_.pc().screen().rowText(0).substr(0, 2), "Hi");

    session_.stepOver();
    const std::uint16_t si = regs().si;
    session_.stepOver();
    ASSERT_EQ(current(), line("loop    again"));
    EXPECT_EQ(session_.stepOver(), Outcome::Paused);
    EXPECT_EQ(current(), line("mov     ax,4C05h"));
    EXPECT_EQ(regs().cx, 0);
    EXPECT_EQ(regs().si, si + 3);

    EXPECT_EQ(session_.stepOver(), Outcome::Paused);
    EXPECT_EQ(session_.stepOver(), Outcome::Ended);
    EXPECT_EQ(session_.exitCode(), 5);
    EXPECT_FALSE(session_.active());
    EXPECT_EQ(session_.traceInto(), Outcome::Ended);
}

TEST_F(DebugSessionTest, BreakpointsStopRunsAndSitOnTheNextLineWithCode)
{
    startProgram(kSteps);
    const int comment = line("; the end");
    const int loopStart = line("again:  inc");
    session_.setBreakpointLines({comment, loopStart, line("end     start")});
    EXPECT_EQ(session_.effectiveBreakpointLine(comment), line("mov     ax,4C05h"));
    EXPECT_EQ(session_.effectiveBreakpointLine(loopStart), loopStart);
    EXPECT_EQ(session_.effectiveBreakpointLine(line("end     start")), std::nullopt);
    EXPECT_EQ(session_.effectiveBreakpointLine(line("mov     bx,ax")), std::nullopt);

    EXPECT_EQ(session_.run(), Outcome::AtBreakpoint);
    EXPECT_EQ(current(), loopStart);
    EXPECT_EQ(regs().cx, 3);
    // A run from a breakpoint executes its instruction first.
    EXPECT_EQ(session_.run(), Outcome::AtBreakpoint);
    EXPECT_EQ(current(), loopStart);
    EXPECT_EQ(regs().cx, 2);

    session_.setBreakpointLines({comment});
    EXPECT_EQ(session_.run(), Outcome::AtBreakpoint);
    EXPECT_EQ(current(), line("mov     ax,4C05h"));
    EXPECT_EQ(session_.pc().output(), "Hi");
    EXPECT_EQ(session_.run(), Outcome::Ended);
    EXPECT_EQ(session_.exitCode(), 5);
}

TEST_F(DebugSessionTest, ABreakpointInsideAStepOverStopsIt)
{
    startProgram(kSteps);
    session_.setBreakpointLines({line("shl     word ptr value")});
    for (int i = 0; i < 4; ++i)
        session_.stepOver();
    ASSERT_EQ(current(), line("call    double"));
    EXPECT_EQ(session_.stepOver(), Outcome::AtBreakpoint);
    EXPECT_EQ(current(), line("shl     word ptr value"));
}

TEST_F(DebugSessionTest, RunToLineStopsAtTheLineOrTheNextLineWithCode)
{
    startProgram(kSteps);
    EXPECT_EQ(session_.runToLine(line("mov     ah,9")), Outcome::Paused);
    EXPECT_EQ(current(), line("mov     ah,9"));
    EXPECT_EQ(session_.pc().output(), "");
    EXPECT_EQ(session_.runToLine(line("; the end")), Outcome::Paused);
    EXPECT_EQ(current(), line("mov     ax,4C05h"));
    EXPECT_EQ(session_.pc().output(), "Hi");
    // A line the program does not reach again: the run ends first.
    EXPECT_EQ(session_.runToLine(line("start:")), Outcome::Ended);
}

TEST_F(DebugSessionTest, SteppingOverARecursiveCallWaitsForTheOutermostReturn)
{
    startProgram(R"(        .model  tiny
        .code
        org     100h
start:  mov     ax,5
        call    fact
        int     20h
fact    proc            ; AX = AX factorial
        cmp     ax,1
        jbe     done
        push    ax
        dec     ax
        call    fact    ; deeper
        pop     bx
        mul     bx
done:   ret
fact    endp
        end     start
)");
    ASSERT_EQ(session_.runToLine(line("; deeper")), Outcome::Paused);
    ASSERT_EQ(regs().ax, 4);
    const std::uint16_t sp = regs().sp;
    // The same call is reached again, deeper, before this one returns.
    EXPECT_EQ(session_.stepOver(), Outcome::Paused);
    EXPECT_EQ(current(), line("pop     bx"));
    EXPECT_EQ(regs().sp, sp);
    EXPECT_EQ(regs().ax, 24);
    EXPECT_EQ(session_.stepOver(), Outcome::Paused);
    EXPECT_EQ(regs().bx, 5);
    session_.stepOver();
    EXPECT_EQ(regs().ax, 120);
}

TEST_F(DebugSessionTest, StepOverARepeatedStringInstructionRunsAllItsRepetitions)
{
    startProgram(R"(        .model  tiny
        .code
        org     100h
start:  push    ds
        pop     es
        mov     di,offset buffer
        mov     cx,300
        mov     al,'x'
        cld
        rep     stosb
        mov     cx,2
        int     20h
buffer  db      300 dup (0)
        end     start
)");
    ASSERT_EQ(session_.runToLine(line("rep     stosb")), Outcome::Paused);
    const std::uint16_t di = regs().di;
    // Tracing runs the whole instruction too: it is one step of the program.
    EXPECT_EQ(session_.traceInto(), Outcome::Paused);
    EXPECT_EQ(current(), line("mov     cx,2"));
    EXPECT_EQ(regs().cx, 0);
    EXPECT_EQ(regs().di, di + 300);
    EXPECT_EQ(session_.pc().memory().read8(Memory::linear(regs().es, std::uint16_t(di + 299))), 'x');
    EXPECT_EQ(session_.pc().memory().read8(Memory::linear(regs().es, std::uint16_t(di + 300))), 0);
    ASSERT_TRUE(session_.stepBack());
    EXPECT_EQ(session_.stepOver(), Outcome::Paused);
    EXPECT_EQ(current(), line("mov     cx,2"));
    EXPECT_EQ(regs().di, di + 300);
}

TEST_F(DebugSessionTest, ALongRunGoesOnInSlicesUntilItsBreakpoint)
{
    startProgram(R"(        .model  tiny
        .code
        org     100h
start:  mov     bx,4
outer:  xor     cx,cx
inner:  loop    inner
        dec     bx
        jnz     outer
        mov     dx,bx   ; after
        int     20h
        end     start
)");
    session_.setBreakpointLines({line("; after")});
    Outcome outcome = session_.run();
    EXPECT_EQ(outcome, Outcome::Running);
    int slices = 0;
    while (outcome == Outcome::Running) {
        outcome = session_.proceed(10000);
        ++slices;
    }
    EXPECT_EQ(outcome, Outcome::AtBreakpoint);
    EXPECT_GT(slices, 5);
    EXPECT_EQ(current(), line("; after"));
    EXPECT_EQ(regs().bx, 0);
    // The whole run was one step.
    EXPECT_EQ(session_.stepsRecorded(), 1);
    EXPECT_EQ(session_.proceed(), Outcome::Paused);
    EXPECT_EQ(session_.run(), Outcome::Ended);
}

TEST_F(DebugSessionTest, AnExeRunsFromItsLoadSegmentAfterThePsp)
{
    startProgram(R"(        .model  small
        .stack  100h
        .data
msg     db      'Hello$'
        .code
start:  mov     ax,@data
        mov     ds,ax
        mov     dx,offset msg
        mov     ah,9
        int     21h
        mov     ax,4C02h
        int     21h
        end     start
)",
                 ProgramKind::Exe);
    // DS holds the PSP at the start.
    EXPECT_EQ(session_.loadSegment(), regs().ds + 0x10);
    EXPECT_EQ(regs().cs, session_.loadSegment());
    EXPECT_EQ(current(), line("start:"));
    EXPECT_EQ(session_.runToLine(line("int     21h")), Outcome::Paused);
    EXPECT_EQ(session_.stepOver(), Outcome::Paused);
    EXPECT_EQ(session_.pc().output(), "Hello");
    EXPECT_EQ(current(), line("mov     ax,4C02h"));
    EXPECT_EQ(session_.run(), Outcome::Ended);
    EXPECT_EQ(session_.exitCode(), 2);
}

const std::string kKeys = R"(        .model  tiny
        .code
        org     100h
start:  mov     ah,1
        int     21h
        mov     bl,al
        mov     ah,8
        int     21h     ; extended
        mov     bh,al
        mov     ah,8
        int     21h     ; scan code
        mov     cl,al
        int     20h
        end     start
)";

TEST_F(DebugSessionTest, AProgramWaitingForAKeyGoesOnWhenOneIsPressed)
{
    startProgram(kKeys);
    session_.traceInto();
    EXPECT_EQ(session_.stepOver(), Outcome::WaitingForKey);
    EXPECT_TRUE(session_.active());
    EXPECT_EQ(session_.proceed(), Outcome::WaitingForKey);
    session_.pressKey({0x1E, 'a'});
    EXPECT_EQ(session_.proceed(), Outcome::Paused);
    EXPECT_EQ(current(), line("mov     bl,al"));
    EXPECT_EQ(regs().al(), 'a');
    EXPECT_EQ(session_.pc().screen().character(0, 0), 'a');
    EXPECT_EQ(session_.stepsRecorded(), 2);
}

TEST_F(DebugSessionTest, StoppingEndsTheProgramWithAMessage)
{
    startProgram(kKeys);
    session_.traceInto();
    ASSERT_EQ(session_.stepOver(), Outcome::WaitingForKey);
    session_.stop();
    EXPECT_FALSE(session_.active());
    EXPECT_EQ(session_.message(), "Stopped by the user");
    EXPECT_EQ(session_.proceed(), Outcome::Stopped);
    EXPECT_EQ(session_.run(), Outcome::Stopped);
}

TEST_F(DebugSessionTest, AProgramThatCannotBeLoadedGivesTheReason)
{
    EXPECT_NE(session_.start(folder_.file("missing.com"), "", {}), "");
    EXPECT_FALSE(session_.active());
    EXPECT_FALSE(session_.canStepBack());
    EXPECT_EQ(session_.traceInto(), Outcome::Stopped);
}

} // namespace
} // namespace velmora::debugger::test
