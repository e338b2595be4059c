#include "machine/BuiltInPc.h"

#include "machine/NasmProgram.h"
#include "machine/TempFolder.h"

#include <gtest/gtest.h>

namespace
{

using namespace velmora::machine;
using velmora::testing::TempFolder;

class BuiltInPcTest : public ::testing::Test
{
protected:
    // Assembles a .com program (org 100h is added) and loads it with the command tail.
    void load(const std::string &source, const std::string &tail = {})
    {
        ASSERT_TRUE(velmora::testing::assembleWithNasm(folder, "PROG.COM", "org 100h\n" + source));
        ASSERT_EQ(pc.load(folder.file("PROG.COM"), tail), "");
    }
    PcState runToEnd()
    {
        PcState state = PcState::Running;
        for (int slice = 0; slice < 100 && state == PcState::Running; ++slice)
            state = pc.run(100000);
        return state;
    }

    TempFolder folder;
    BuiltInPc pc;
};

TEST_F(BuiltInPcTest, AProgramRunsToItsExitCodeAndItsOutputIsKept)
{
    load("mov dx, text\n mov ah, 9\n int 21h\n mov ax, 4C03h\n int 21h\n text db 'hi', 13, 10, '$'\n");
    EXPECT_EQ(runToEnd(), PcState::Ended);
    EXPECT_EQ(pc.exitCode(), 3);
    EXPECT_EQ(pc.output(), "hi\r\n");
    EXPECT_EQ(pc.screen().rowText(0).substr(0, 3), "hi ");
    EXPECT_EQ(pc.screen().cursorRow(), 1);
    // An ended program stays ended.
    EXPECT_EQ(pc.run(1000), PcState::Ended);
}

TEST_F(BuiltInPcTest, AReadWithNoKeyWaitsUntilAKeyIsPressed)
{
    load("mov ah, 1\n int 21h\n mov dl, al\n mov ah, 2\n int 21h\n mov ax, 4C00h\n int 21h\n");
    EXPECT_EQ(runToEnd(), PcState::WaitingForKey);
    EXPECT_EQ(pc.run(1000), PcState::WaitingForKey);
    pc.pressKey(0x25, 'k');
    EXPECT_EQ(pc.state(), PcState::Running);
    EXPECT_EQ(runToEnd(), PcState::Ended);
    EXPECT_EQ(pc.output(), "k");
    EXPECT_EQ(pc.screen().rowText(0).substr(0, 3), "kk ");
}

TEST_F(BuiltInPcTest, AnUnsupportedFunctionStopsNamingItAndTheCallersAddress)
{
    load("nop\n mov ah, 5Ah\n int 21h\n int 20h\n");
    const uint16_t segment = pc.cpu().regs().cs;
    EXPECT_EQ(runToEnd(), PcState::Stopped);
    char expected[64];
    std::snprintf(expected, sizeof expected, "Unsupported function INT 21h AH=5Ah at %04X:0105", segment);
    EXPECT_EQ(pc.message(), expected);
}

TEST_F(BuiltInPcTest, DivisionByZeroStopsWithDivideOverflow)
{
    load("mov ax, 1\n mov bl, 0\n div bl\n int 20h\n");
    EXPECT_EQ(runToEnd(), PcState::Stopped);
    EXPECT_EQ(pc.message().rfind("Divide overflow at ", 0), 0u) << pc.message();
}

TEST_F(BuiltInPcTest, AProgramsOwnInterruptHandlerIsCalledThroughTheVector)
{
    load("mov dx, handler\n mov ax, 2560h\n int 21h\n int 60h\n int 60h\n mov ax, 4C00h\n int 21h\n"
         "handler: mov dl, '!'\n mov ah, 2\n int 21h\n iret\n");
    EXPECT_EQ(runToEnd(), PcState::Ended);
    EXPECT_EQ(pc.output(), "!!");
}

TEST_F(BuiltInPcTest, StopEndsAProgramThatNeverEndsAndTheNextProgramRunsNormally)
{
    load("again: jmp again\n");
    EXPECT_EQ(pc.run(10000), PcState::Running);
    pc.stop();
    EXPECT_EQ(pc.run(10000), PcState::Stopped);
    EXPECT_EQ(pc.message(), "Stopped by the user");

    load("mov ah, 1\n int 21h\n int 20h\n");
    EXPECT_EQ(runToEnd(), PcState::WaitingForKey);
    pc.stop();
    EXPECT_EQ(pc.run(10000), PcState::Stopped);

    load("int 20h\n");
    EXPECT_EQ(runToEnd(), PcState::Ended);
}

TEST_F(BuiltInPcTest, HaltWithInterruptsOffStopsTheProgram)
{
    load("cli\n hlt\n");
    EXPECT_EQ(runToEnd(), PcState::Stopped);
    EXPECT_NE(pc.message().find("HLT"), std::string::npos) << pc.message();
}

TEST_F(BuiltInPcTest, BadProgramFilesGiveAnErrorAndNothingRuns)
{
    EXPECT_NE(pc.load(folder.file("missing.exe"), ""), "");
    EXPECT_EQ(pc.run(1000), PcState::Empty);
    folder.write("EMPTY.COM", "");
    EXPECT_NE(pc.load(folder.file("EMPTY.COM"), ""), "");
    folder.write("BAD.EXE", "MZ\x01");
    EXPECT_NE(pc.load(folder.file("BAD.EXE"), ""), "");
    EXPECT_EQ(pc.run(1000), PcState::Empty);
}

} // namespace
