// What the linker writes besides the image itself: .com files and their refusals, the
// .exe header's stack and allocation, the map's optional parts, and the fatal paths.
#include "assembler/link/LinkFixture.h"

namespace velmora::assembler::link
{
namespace
{

using namespace velmora::assembler::link::testing;
using omf::Align;
using omf::Combine;

class LinkOutputsTest : public LinkFixture
{
protected:
    // A tiny-model program: code at 100h that ends with RET.
    TestModule comProgram()
    {
        TestModule module("src.asm");
        const std::uint16_t text = module.segment("_TEXT", "CODE", Align::Word, Combine::Public, 0x104);
        module.group("DGROUP", {text});
        module.data(text, 0x100, {0xB4, 0x4C, 0xCD, 0x21});
        return module;
    }
};

TEST_F(LinkOutputsTest, ComFileIsTheImageFrom100h)
{
    TestModule module = comProgram();
    module.end(1, 0x100);
    add("src.obj", module);
    const ToolRun result = run({"/t", "src"});
    EXPECT_EQ(result.exitCode, 0) << result.console;
    EXPECT_EQ(file("src.com"), (std::vector<std::uint8_t>{0xB4, 0x4C, 0xCD, 0x21}));
    EXPECT_EQ(text("src.map").find("Program entry point"), std::string::npos);
}

TEST_F(LinkOutputsTest, ComFileRefusesSegmentFixups)
{
    TestModule module = comProgram();
    module.data(1, 0x100, {0xB8, 0x00, 0x00});
    module.fixup(omf::Base16, 1, address(omf::FrameTarget, 0, omf::TargetSegment, 1));
    module.end(1, 0x100);
    add("src.obj", module);
    const ToolRun result = run({"/t", "src"});
    EXPECT_EQ(result.exitCode, 2);
    const std::string fatal = "Fatal: Cannot generate COM file : segment-relocatable items present\r\n";
    EXPECT_NE(result.console.find(fatal), std::string::npos) << result.console;
    EXPECT_FALSE(exists("src.com"));
    EXPECT_NE(text("src.map").find(fatal), std::string::npos);
}

TEST_F(LinkOutputsTest, ComFileNeedsItsEntryPointAt100h)
{
    TestModule module = comProgram();
    module.end(1, 0x101);
    add("src.obj", module);
    const ToolRun result = run({"/t", "src"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.console.find("Fatal: Cannot generate COM file : invalid initial entry point address"),
              std::string::npos);
    EXPECT_FALSE(exists("src.com"));
}

TEST_F(LinkOutputsTest, StackPartsJoinAndSetSsSp)
{
    for (const char *name : {"a", "b"}) {
        TestModule module(std::string(name) + ".asm");
        module.segment("_TEXT", "CODE", Align::Word, Combine::Public, 3);
        module.segment("STACK", "STACK", Align::Paragraph, Combine::Stack, 0x100);
        module.data(1, 0, {0x90, 0x90, 0xC3});
        module.end(std::string(name) == "a" ? 1 : 0, 0);
        add(std::string(name) + ".obj", module);
    }
    const ToolRun result = run({"a", "b"});
    EXPECT_EQ(result.exitCode, 0) << result.console;
    const auto exe = file("a.exe");
    EXPECT_EQ(word(exe, 0x0E), 1u);     // SS: the stack's paragraph
    EXPECT_EQ(word(exe, 0x10), 0x200u); // SP: both parts
    EXPECT_EQ(exe.size(), 0x200u + 7u); // the code of both modules, the second part at 4
    EXPECT_EQ(word(exe, 0x0A), 0x21u);  // the stack beyond the image, in paragraphs
}

TEST_F(LinkOutputsTest, NoStackIsAWarningAfterTheEntryPoint)
{
    TestModule module("src.asm");
    module.segment("_TEXT", "CODE", Align::Word, Combine::Public, 1);
    module.data(1, 0, {0xC3});
    module.end(1, 0);
    add("src.obj", module);
    const ToolRun result = run({"src"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.console.find("\r\nWarning: No stack\r\n"), std::string::npos);
    const std::string map = text("src.map");
    EXPECT_NE(map.find("Program entry point at 0000:0000\r\nWarning: No stack\r\n\r\n"), std::string::npos) << map;
    const auto exe = file("src.exe");
    EXPECT_EQ(word(exe, 0x0E), 0u);
    EXPECT_EQ(word(exe, 0x10), 0u);
}

TEST_F(LinkOutputsTest, InitializeAllWritesTheUninitialisedTail)
{
    TestModule module("src.asm");
    module.segment("_TEXT", "CODE", Align::Word, Combine::Public, 0x40);
    module.data(1, 0, {0xC3});
    module.end(1, 0);
    add("src.obj", module);
    run({"src"});
    EXPECT_EQ(file("src.exe").size(), 0x201u);
    run({"/i", "src"});
    EXPECT_EQ(file("src.exe").size(), 0x240u);
}

TEST_F(LinkOutputsTest, MapPublicsSegmentsAndLines)
{
    TestModule module("src.asm");
    module.segment("_TEXT", "CODE", Align::Word, Combine::Public, 0x20);
    module.segment("_DATA", "DATA", Align::Paragraph, Combine::Public, 0x10);
    module.publicAt(2, "BUFFER", 4);
    module.publicAt(1, "ZSTART", 0);
    module.absolutePublic("LIMIT", 300);
    module.data(1, 0, {0xC3});
    module.record(omf::Linnum{0, 1, {{3, 0}, {4, 1}}});
    module.end(1, 0);
    add("src.obj", module);
    EXPECT_EQ(run({"/m", "/s", "/l", "src"}).exitCode, 0);
    const std::string map = text("src.map");
    EXPECT_NE(map.find(" 00020H 0002FH 00010H _DATA              DATA\r\n"), std::string::npos) << map;
    EXPECT_NE(map.find("  Address         Publics by Name\r\n\r\n"
                       " 0002:0004       BUFFER\r\n"
                       " 0000:012C  Abs  LIMIT\r\n"
                       " 0000:0000       ZSTART\r\n\r\n"),
              std::string::npos)
        << map;
    EXPECT_NE(map.find("  Address         Publics by Value\r\n\r\n"
                       " 0000:0000       ZSTART\r\n"
                       " 0002:0004       BUFFER\r\n"
                       " 0000:012C  Abs  LIMIT\r\n\r\n"),
              std::string::npos)
        << map;
    EXPECT_NE(map.find("Detailed map of segments"), std::string::npos);
    EXPECT_NE(map.find(" 0002:0000 0010 C=DATA"), std::string::npos) << map;
    EXPECT_NE(map.find("M=SRC.ASM"), std::string::npos);
    EXPECT_NE(map.find("Line numbers for src.obj(SRC.ASM) segment _TEXT\r\n\r\n"
                       "     3 0000:0000      4 0000:0001\r\n"),
              std::string::npos)
        << map;

    run({"/x", "src"});
    EXPECT_EQ(text("src.map"), map); // /x leaves the old map alone and writes none
}

TEST_F(LinkOutputsTest, DuplicatesAreReportedBeforeTheSegmentList)
{
    for (const char *name : {"main", "util"}) {
        TestModule module(std::string(name) + ".asm");
        module.segment("_TEXT", "CODE", Align::Word, Combine::Public, 1);
        module.publicAt(1, "HELPER", 0);
        module.data(1, 0, {0xC3});
        module.end(std::string(name) == "main" ? 1 : 0, 0);
        add(std::string(name) + ".obj", module);
    }
    const ToolRun result = run({"main", "util"});
    EXPECT_EQ(result.exitCode, 1);
    const std::string error = "Error: HELPER defined in module MAIN.ASM is duplicated in module UTIL.ASM\r\n";
    EXPECT_NE(result.console.find(error), std::string::npos) << result.console;
    EXPECT_TRUE(text("main.map").starts_with(error + "\r\n Start  Stop"));
    EXPECT_TRUE(exists("main.exe"));
}

TEST_F(LinkOutputsTest, DamagedObjectIsFatal)
{
    TestModule module("bad.asm");
    module.segment("_TEXT", "CODE", Align::Word, Combine::Public, 1);
    module.end();
    add("bad.obj", module);
    std::vector<std::uint8_t> bytes = file("bad.obj");
    bytes.at(4) ^= 0x20; // inside THEADR's name
    std::ofstream(folder.path() / "bad.obj", std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));

    const ToolRun result = run({"bad"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.console.find("Fatal: Bad object file 'bad.obj': Bad checksum (record at offset 0)\r\n"),
              std::string::npos)
        << result.console;
    EXPECT_FALSE(exists("bad.exe"));
    EXPECT_TRUE(text("bad.map").starts_with("Fatal: Bad object file"));
}

TEST_F(LinkOutputsTest, ObjectIndexesOutsideTheirListsAreFatal)
{
    TestModule module("bad.asm");
    module.segment("_TEXT", "CODE", Align::Word, Combine::Public, 4);
    module.data(1, 0, {0xB8, 0, 0, 0xC3});
    module.fixup(omf::Offset16, 1, address(omf::FrameTarget, 0, omf::TargetExternal, 7));
    module.end(1, 0);
    add("bad.obj", module);
    const ToolRun result = run({"bad"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.console.find("Fatal: Bad object file 'bad.obj': fixup external index 7 out of range"),
              std::string::npos)
        << result.console;
}

TEST_F(LinkOutputsTest, MissingFilesAndOptionsAreFatal)
{
    TestModule module("src.asm");
    module.segment("_TEXT", "CODE", Align::Word, Combine::Public, 1);
    module.end(1, 0);
    add("SRC.OBJ", module); // found without regard to letter case

    ToolRun result = run({"src,,,nolib"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.console.find("Fatal: Unable to open file 'nolib.lib'\r\n"), std::string::npos);

    result = run({"/q", "src"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.console.ends_with("\r\nFatal: Unknown option\r\n"));
    EXPECT_TRUE(result.filesWritten.empty());

    result = run({});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.console.find("Syntax:"), std::string::npos);
    EXPECT_TRUE(result.filesWritten.empty());

    result = run({"src"});
    EXPECT_EQ(result.exitCode, 0) << result.console;
    EXPECT_EQ(result.filesWritten.size(), 2u);
}

} // namespace
} // namespace velmora::assembler::link
