// The assembler's command line run in-process: switches, the summary, exit codes and the
// /z and /t variants, on sources in a scratch folder.
#include "assembler/AssemblerCommand.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace velmora::assembler
{
namespace
{

class AssemblerCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder_ = std::filesystem::temp_directory_path() / ("velmora_asmcmd_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    void write(const std::string &name, const std::string &text)
    {
        std::ofstream(folder_ / name, std::ios::binary) << text;
    }
    ToolRun run(std::vector<std::string> arguments) { return runAssembler(arguments, folder_.string()); }

    std::filesystem::path folder_;
};

TEST_F(AssemblerCommandTest, ACleanSourcePrintsTheSummaryAndExitsWithZero)
{
    write("ok.asm", ".model small\r\n.code\r\nstart: ret\r\nend start\r\n");
    const ToolRun result = run({"ok.asm"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.console, std::string(assemblerBanner) +
                                  "\r\n\r\nAssembling file:   ok.asm\r\nError messages:    None\r\n"
                                  "Warning messages:  None\r\nPasses:            1\r\nRemaining memory:  470k\r\n\r\n");
}

TEST_F(AssemblerCommandTest, ErrorsAreCountedAndGiveExitCodeOne)
{
    write("bad.asm", ".model small\r\n.code\r\n\tmov\tal,bx\r\n\tmov\tax,nowhere\r\nend\r\n");
    const ToolRun plain = run({"BAD.ASM"});
    EXPECT_EQ(plain.exitCode, 1);
    EXPECT_NE(plain.console.find("**Error** BAD.ASM(3) Operand types do not match\r\n"
                                 "**Error** BAD.ASM(4) Undefined symbol: NOWHERE\r\nError messages:    2\r\n"),
              std::string::npos)
        << plain.console;
    const ToolRun withSource = run({"/z", "bad"});
    EXPECT_NE(withSource.console.find("\tmov\tal,bx\r\n**Error** bad.asm(3) Operand types do not match\r\n"),
              std::string::npos)
        << withSource.console;
}

TEST_F(AssemblerCommandTest, AMissingSourceIsFatal)
{
    const ToolRun result = run({"nosuch"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.console.find("**Fatal** Command line: Can't locate file: nosuch.asm\r\nError messages:    1"),
              std::string::npos);
}

TEST_F(AssemblerCommandTest, AnUnknownSwitchStopsBeforeTheBanner)
{
    write("ok.asm", "end\r\n");
    const ToolRun result = run({"/z", "/y", "ok.asm"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.console, "**Fatal** Bad switch: /y\r\n");
}

TEST_F(AssemblerCommandTest, WithoutASourceTheHelpIsShown)
{
    const ToolRun result = run({});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.console.starts_with(std::string(assemblerBanner) + "\r\nSyntax:"));
    EXPECT_NE(result.console.find("/z "), std::string::npos);
}

TEST_F(AssemblerCommandTest, SlashTSilencesACleanRunOnly)
{
    write("ok.asm", ".model small\r\n.code\r\nret\r\nend\r\n");
    write("warn.asm", ".model small\r\n.code\r\nmov [bx],5\r\nend\r\n");
    EXPECT_EQ(run({"/t", "ok.asm"}).console, "");
    EXPECT_NE(run({"/t", "warn.asm"}).console.find("*Warning* warn.asm(3) Argument needs type override"),
              std::string::npos);
    EXPECT_EQ(run({"/t", "/w0", "warn.asm"}).console, "");
}

TEST_F(AssemblerCommandTest, MultiplePassesAreCountedAndRemoveThePadding)
{
    write("fwd.asm", ".model tiny\r\n.code\r\norg 100h\r\nstart: jmp done\r\ndone: ret\r\nend start\r\n");
    EXPECT_NE(run({"fwd.asm"}).console.find("Passes:            1"), std::string::npos);
    EXPECT_NE(run({"/m2", "fwd.asm"}).console.find("Passes:            2"), std::string::npos);
}

TEST_F(AssemblerCommandTest, TheObjectAndTheListingAreWrittenBesideTheSource)
{
    write("prog.asm", ".model small\r\n.code\r\nstart: ret\r\nend start\r\n");
    const ToolRun plain = run({"prog"});
    EXPECT_EQ(plain.filesWritten, std::vector<std::filesystem::path>{"prog.obj"});
    EXPECT_TRUE(std::filesystem::file_size(folder_ / "prog.obj") > 0);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "prog.lst"));

    const ToolRun listed = run({"/la", "prog.asm"});
    EXPECT_EQ(listed.filesWritten, (std::vector<std::filesystem::path>{"prog.obj", "prog.lst"}));
    std::ifstream listing(folder_ / "prog.lst", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(listing)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("      3\t0000  C3\t\t     start: ret"), std::string::npos) << text;

    const ToolRun named = run({"prog.asm,out\\other,mine"});
    EXPECT_EQ(named.filesWritten, (std::vector<std::filesystem::path>{"out\\other.obj", "mine.lst"}));
}

TEST_F(AssemblerCommandTest, NoObjectIsWrittenWhenTheSourceHasErrors)
{
    write("bad.asm", ".model small\r\n.code\r\nmov al,bx\r\nend\r\n");
    const ToolRun result = run({"bad.asm"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.filesWritten.empty());
    EXPECT_FALSE(std::filesystem::exists(folder_ / "bad.obj"));
}

} // namespace
} // namespace velmora::assembler
