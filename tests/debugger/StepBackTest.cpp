// Taking steps back: every step restores the registers, all of memory (the screen with
// it) and the output as they were; edits are steps; the disk and the history's bounds
// limit how far back it goes.
#include "debugger/DebugSession.h"

#include "debugger/BuiltProgram.h"
#include "debugger/SessionTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace velmora::debugger::test
{
namespace
{

using Outcome = DebugSession::Outcome;
using machine::Memory;

// Letters on the screen's first row and into a table, each also printed through DOS.
const std::string kLetters = R"(        .model  tiny
        .code
        org     100h
start:  mov     ax,0B800h
        mov     es,ax
        xor     di,di
        mov     cx,30
fill:   mov     ax,cx
        add     al,'A'
        mov     ah,1Eh
        stosw
        mov     bx,cx
        shl     bx,1
        mov     table[bx],ax
        push    ax
        pop     dx
        mov     ah,2
        int     21h
        loop    fill
        int     20h
table   dw      40 dup (0)
        end     start
)";

class StepBackTest : public ::testing::Test
{
protected:
    void startProgram(const std::string &source)
    {
        source_ = source;
        const BuiltProgram program = buildProgram(folder_, source, ProgramKind::Com);
        ASSERT_EQ(session_.start(program.path, "", program.info), "");
    }
    int line(const std::string &text) const { return lineOf(source_, text); }
    const machine::Registers &regs() const { return session_.registers(); }

    velmora::testing::TempFolder folder_;
    DebugSession session_;
    std::string source_;
};

TEST_F(StepBackTest, FiftyStepsBackAndForwardAgainGiveTheSameStates)
{
    startProgram(kLetters);
    std::vector<FullState> states{fullState(session_)};
    for (int i = 0; i < 60; ++i) {
        ASSERT_EQ(i % 3 ? session_.stepOver() : session_.traceInto(), Outcome::Paused);
        states.push_back(fullState(session_));
    }
    ASSERT_NE(states[10].output, states[60].output);
    ASSERT_NE(session_.pc().screen().rowText(0), std::string(80, ' '));
    for (int i = 59; i >= 10; --i) {
        ASSERT_TRUE(session_.stepBack());
        ASSERT_TRUE(fullState(session_) == states[size_t(i)])
            << "after step " << i << ": " << difference(fullState(session_), states[size_t(i)]);
    }
    EXPECT_EQ(session_.stepsRecorded(), 10);
    for (int i = 10; i < 60; ++i) {
        ASSERT_EQ(i % 3 ? session_.stepOver() : session_.traceInto(), Outcome::Paused);
        ASSERT_TRUE(fullState(session_) == states[size_t(i + 1)])
            << "step " << i + 1 << ": " << difference(fullState(session_), states[size_t(i + 1)]);
    }
    EXPECT_EQ(session_.stepsRecorded(), 60);
}

TEST_F(StepBackTest, StepsBackReachTheStartAndStopThere)
{
    startProgram(kLetters);
    const FullState start = fullState(session_);
    EXPECT_FALSE(session_.canStepBack());
    EXPECT_EQ(session_.stepBackLimit(), StepBackLimit::AtStart);
    EXPECT_EQ(session_.run(), Outcome::Ended);
    EXPECT_EQ(session_.pc().output().size(), 30u);
    EXPECT_TRUE(session_.canStepBack());
    EXPECT_EQ(session_.stepBackLimit(), StepBackLimit::None);
    // The whole run is one step, the end included.
    ASSERT_TRUE(session_.stepBack());
    EXPECT_TRUE(fullState(session_) == start) << difference(fullState(session_), start);
    EXPECT_TRUE(session_.active());
    EXPECT_FALSE(session_.stepBack());
    EXPECT_EQ(session_.stepBackLimit(), StepBackLimit::AtStart);
    EXPECT_EQ(session_.run(), Outcome::Ended);
    EXPECT_EQ(session_.pc().output().size(), 30u);
}

TEST_F(StepBackTest, EditsAreStepsOfTheirOwn)
{
    startProgram(kLetters);
    session_.runToLine(line("mov     table[bx],ax"));
    const FullState before = fullState(session_);
    const std::uint32_t at = Memory::linear(regs().ds, std::uint16_t(regs().ip + 2));
    const std::uint32_t table = session_.pc().memory().read16(at) + Memory::linear(regs().ds, regs().bx);

    session_.writeByte(table + 100, 0x77);
    machine::Registers edited = regs();
    edited.ax = 0xBEEF;
    edited.setFlag(machine::CF, true);
    session_.setRegisters(edited);
    EXPECT_EQ(session_.previousRegisters().ax, before.registers.ax);
    EXPECT_EQ(session_.stepsRecorded(), 3);
    session_.traceInto();
    EXPECT_EQ(session_.pc().memory().read16(table), 0xBEEF);
    EXPECT_EQ(session_.pc().memory().read8(table + 100), 0x77);

    ASSERT_TRUE(session_.stepBack());
    EXPECT_EQ(regs().ax, 0xBEEF);
    EXPECT_TRUE(regs().flag(machine::CF));
    ASSERT_TRUE(session_.stepBack());
    EXPECT_EQ(regs().ax, before.registers.ax);
    EXPECT_EQ(session_.pc().memory().read8(table + 100), 0x77);
    ASSERT_TRUE(session_.stepBack());
    EXPECT_TRUE(fullState(session_) == before) << difference(fullState(session_), before);
}

TEST_F(StepBackTest, AKeyTakenBackIsTakenAgainWithItsScanCode)
{
    startProgram(R"(        .model  tiny
        .code
        org     100h
start:  mov     ah,8
        int     21h     ; extended
        mov     bh,al
        mov     ah,8
        int     21h     ; scan code
        mov     cl,al
        int     20h
        end     start
)");
    session_.pressKey({0x48, 0}); // the up arrow: 0, then its scan code
    session_.traceInto();
    ASSERT_EQ(session_.stepOver(), Outcome::Paused);
    EXPECT_EQ(regs().al(), 0);
    ASSERT_TRUE(session_.stepBack());
    EXPECT_EQ(session_.stepOver(), Outcome::Paused);
    EXPECT_EQ(regs().al(), 0);
    EXPECT_EQ(session_.runToLine(line("mov     cl,al")), Outcome::Paused);
    EXPECT_EQ(regs().al(), 0x48);
}

TEST_F(StepBackTest, AStepBackDuringAKeyWaitTakesTheWholeStepBack)
{
    startProgram(R"(        .model  tiny
        .code
        org     100h
start:  mov     ah,1
        int     21h
        int     20h
        end     start
)");
    session_.traceInto();
    const FullState before = fullState(session_);
    ASSERT_EQ(session_.stepOver(), Outcome::WaitingForKey);
    ASSERT_TRUE(session_.stepBack());
    EXPECT_TRUE(fullState(session_) == before) << difference(fullState(session_), before);
    EXPECT_EQ(session_.currentLine(), line("int     21h"));
    EXPECT_EQ(session_.stepOver(), Outcome::WaitingForKey);
    session_.pressKey({0x2C, 'z'});
    EXPECT_EQ(session_.proceed(), Outcome::Paused);
    EXPECT_EQ(regs().al(), 'z');
}

TEST_F(StepBackTest, AStepThatUsedTheDiskCannotBeTakenBack)
{
    startProgram(R"(        .model  tiny
        .code
        org     100h
start:  mov     ah,40h
        mov     bx,1
        mov     cx,2
        mov     dx,offset fname
        int     21h     ; to the console
        mov     ah,3Ch
        xor     cx,cx
        mov     dx,offset fname
        int     21h     ; create
        mov     bx,ax
        mov     ah,3Eh
        int     21h     ; close
        mov     ax,4C00h
        int     21h
fname   db      'out.txt',0
        end     start
)");
    ASSERT_EQ(session_.runToLine(line("; to the console")), Outcome::Paused);
    session_.stepOver();
    EXPECT_EQ(session_.pc().output(), "ou");
    // Writing to the console is no disk access.
    ASSERT_TRUE(session_.stepBack());
    EXPECT_EQ(session_.pc().output(), "");
    session_.stepOver();

    ASSERT_EQ(session_.runToLine(line("; create")), Outcome::Paused);
    EXPECT_TRUE(session_.canStepBack());
    EXPECT_EQ(session_.stepOver(), Outcome::Paused);
    EXPECT_TRUE(folder_.exists("OUT.TXT"));
    EXPECT_FALSE(session_.canStepBack());
    EXPECT_EQ(session_.stepBackLimit(), StepBackLimit::DiskFile);
    EXPECT_FALSE(session_.stepBack());

    const machine::Registers afterCreate = regs();
    session_.traceInto();
    EXPECT_TRUE(session_.canStepBack());
    ASSERT_TRUE(session_.stepBack());
    EXPECT_TRUE(regs() == afterCreate);
    EXPECT_FALSE(session_.stepBack());
    EXPECT_EQ(session_.run(), Outcome::Ended);
    EXPECT_FALSE(session_.canStepBack());
}

TEST_F(StepBackTest, TheHistoryKeepsTheLastStepsOnly)
{
    startProgram(R"(        .model  tiny
        .code
        org     100h
start:  inc     ax
        jmp     start
        end     start
)");
    const int steps = DebugSession::kHistorySteps + 10;
    for (int i = 0; i < steps; ++i)
        session_.traceInto();
    EXPECT_EQ(session_.stepsRecorded(), DebugSession::kHistorySteps);
    const std::uint16_t ax = regs().ax;
    while (session_.stepBack()) {
    }
    EXPECT_EQ(regs().ax, ax - DebugSession::kHistorySteps / 2);
    EXPECT_NE(session_.stepBackLimit(), StepBackLimit::None);
}

// Random commands and edits over a program that writes pseudo-random bytes and words
// all over a buffer and its stack; every state comes back exactly on the way back.
TEST_F(StepBackTest, RandomStepsAndEditsAllComeBack)
{
    startProgram(R"(        .model  tiny
        .code
        org     100h
start:  push    ds
        pop     es
        cld
again:  mov     ax,seed
        mov     dx,25173
        mul     dx
        add     ax,13849
        mov     seed,ax
        mov     bx,ax
        and     bx,3FEh
        mov     word ptr buffer[bx],ax
        lea     di,buffer[bx]
        mov     cx,ax
        and     cx,0Fh
        rep     stosb
        call    swap
        jmp     again
swap    proc
        push    ax
        push    bx
        xchg    ax,word ptr buffer
        mov     dx,ax
        pop     bx
        pop     ax
        ret
swap    endp
seed    dw      1
buffer  db      1100 dup (0)
        end     start
)");
    std::mt19937 random(20261209);
    const int lines = line("jmp     again");
    std::vector<FullState> states{fullState(session_)};
    for (int i = 0; i < 400; ++i) {
        switch (random() % 6) {
        case 0:
        case 1:
            ASSERT_EQ(session_.traceInto(), Outcome::Paused);
            break;
        case 2:
            ASSERT_EQ(session_.stepOver(), Outcome::Paused);
            break;
        case 3:
            ASSERT_EQ(session_.runToLine(line("again:") + int(random() % unsigned(lines - line("again:")))),
                      Outcome::Paused);
            break;
        case 4: // into the buffer, after the code
            session_.writeByte(Memory::linear(regs().ds, std::uint16_t(0x200 + random() % 0x380)),
                               std::uint8_t(random()));
            break;
        default: {
            machine::Registers edited = regs();
            edited.si = std::uint16_t(random());
            edited.bp = std::uint16_t(random());
            session_.setRegisters(edited);
            break;
        }
        }
        states.push_back(fullState(session_));
    }
    ASSERT_EQ(session_.stepsRecorded(), 400);
    for (int i = 399; i >= 0; --i) {
        ASSERT_TRUE(session_.stepBack());
        ASSERT_TRUE(fullState(session_) == states[size_t(i)])
            << "step " << i << ": " << difference(fullState(session_), states[size_t(i)]);
    }
    EXPECT_FALSE(session_.canStepBack());
}

} // namespace
} // namespace velmora::debugger::test
