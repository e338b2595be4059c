// Every fixup kind, applied to the image of a linked .exe (whose image starts at file
// offset 200h): offsets, bytes, segment bases with their relocations, far pointers,
// self-relative jumps, threads, frame numbers, iterated data, and overflows.
#include "assembler/link/LinkFixture.h"

namespace velmora::assembler::link
{
namespace
{

using namespace velmora::assembler::link::testing;
using omf::Align;
using omf::Combine;

constexpr std::size_t Image = 0x200;

class FixupTest : public LinkFixture
{
protected:
    // A module with a 16-byte CODE segment (1) and a DATA segment (2) at 10h.
    TestModule codeAndData()
    {
        TestModule module("a.asm");
        module.segment("_TEXT", "CODE", Align::Paragraph, Combine::Public, 16);
        module.segment("_DATA", "DATA", Align::Paragraph, Combine::Public, 4);
        return module;
    }

    std::vector<std::uint8_t> linkOne(TestModule &module)
    {
        module.end(1, 0);
        add("a.obj", module);
        const ToolRun result = run({"a"});
        EXPECT_EQ(result.exitCode, 0) << result.console;
        return file("a.exe");
    }
};

TEST_F(FixupTest, OffsetsAreAddedToWhatTheDataHolds)
{
    TestModule module = codeAndData();
    module.data(1, 0, {0xB8, 0x03, 0x00, 0xB0, 0x00, 0xB4, 0x00});
    // mov ax,offset _DATA+3 through the CODE frame: 10h + 3 (the 3 from the data).
    module.fixup(omf::Offset16, 1, address(omf::FrameSegment, 1, omf::TargetSegment, 2));
    // Low and high byte of 1234h.
    module.fixup(omf::LowByte, 4, address(omf::FrameTarget, 0, omf::TargetSegment, 2, 0x1234));
    module.fixup(omf::HighByte, 6, address(omf::FrameTarget, 0, omf::TargetSegment, 2, 0x1234));
    const auto exe = linkOne(module);
    EXPECT_EQ(word(exe, Image + 1), 0x13u);
    EXPECT_EQ(exe.at(Image + 4), 0x34);
    EXPECT_EQ(exe.at(Image + 6), 0x12);
    EXPECT_EQ(word(exe, 6), 0u); // no relocations
}

TEST_F(FixupTest, SegmentBasesAndFarPointersAreRelocated)
{
    TestModule module = codeAndData();
    module.data(1, 0, {0xB8, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
    module.fixup(omf::Base16, 1, address(omf::FrameTarget, 0, omf::TargetSegment, 2));
    module.fixup(omf::Pointer32, 3, address(omf::FrameTarget, 0, omf::TargetSegment, 2, 2));
    const auto exe = linkOne(module);
    EXPECT_EQ(word(exe, Image + 1), 1u);
    EXPECT_EQ(word(exe, Image + 3), 2u);
    EXPECT_EQ(word(exe, Image + 5), 1u);
    ASSERT_EQ(word(exe, 6), 2u);
    const unsigned table = word(exe, 0x18);
    EXPECT_EQ(word(exe, table), 1u); // offset, segment of the first entry
    EXPECT_EQ(word(exe, table + 2), 0u);
    EXPECT_EQ(word(exe, table + 4), 5u);
    EXPECT_EQ(word(exe, table + 6), 0u);
}

TEST_F(FixupTest, FrameNumbersAreNotRelocated)
{
    TestModule module = codeAndData();
    module.data(1, 0, {0xB8, 0x00, 0x00});
    module.fixup(omf::Base16, 1, address(omf::FrameNumber, 0xB800, omf::TargetNumber, 0xB800));
    const auto exe = linkOne(module);
    EXPECT_EQ(word(exe, Image + 1), 0xB800u);
    EXPECT_EQ(word(exe, 6), 0u);
}

TEST_F(FixupTest, SelfRelativeFixupsCountFromTheNextInstruction)
{
    TestModule module = codeAndData();
    const std::uint16_t target = module.external("TARGET");
    module.publicAt(1, "TARGET", 0x0C);
    module.data(1, 0, {0xE8, 0x00, 0x00, 0xEB, 0x00});
    module.fixup(omf::Offset16, 1, address(omf::FrameSegment, 1, omf::TargetExternal, target), false);
    module.fixup(omf::LowByte, 4, address(omf::FrameSegment, 1, omf::TargetExternal, target), false);
    const auto exe = linkOne(module);
    EXPECT_EQ(word(exe, Image + 1), 0x09u);
    EXPECT_EQ(exe.at(Image + 4), 0x07);
}

TEST_F(FixupTest, ThreadsStandForFrameAndTarget)
{
    TestModule module = codeAndData();
    module.data(1, 0, {0xB8, 0x00, 0x00});
    omf::Fixupp fixups;
    fixups.items.emplace_back(omf::FixupThread{true, omf::FrameSegment, 1, 1});
    fixups.items.emplace_back(omf::FixupThread{false, omf::TargetSegment, 2, 2});
    omf::Fixup fixup;
    fixup.location = omf::Offset16;
    fixup.dataOffset = 1;
    fixup.address = {true, 1, 0, true, 2, 0, true, 3};
    fixups.items.emplace_back(fixup);
    module.record(fixups);
    const auto exe = linkOne(module);
    EXPECT_EQ(word(exe, Image + 1), 0x13u);
}

TEST_F(FixupTest, FixupsOnIteratedDataApplyToEveryCopy)
{
    TestModule module = codeAndData();
    // 3 DUP (offset _DATA+2) through the CODE frame: 3 words of 12h.
    module.record(omf::Lidata{1, 4, {omf::IteratedBlock{3, {}, {0x02, 0x00}}}});
    module.fixup(omf::Offset16, 5, address(omf::FrameSegment, 1, omf::TargetSegment, 2));
    const auto exe = linkOne(module);
    for (std::size_t k = 0; k < 3; ++k)
        EXPECT_EQ(word(exe, Image + 4 + 2 * k), 0x12u) << k;
}

TEST_F(FixupTest, OverflowsAreReportedAndTheProgramStillWritten)
{
    TestModule module("main.asm");
    module.segment("_TEXT", "CODE", Align::Word, Combine::Public, 2);
    const std::uint16_t far = module.external("FARAWAY");
    module.data(1, 0, {0xEB, 0x00});
    module.fixup(omf::LowByte, 1, address(omf::FrameSegment, 1, omf::TargetExternal, far), false);
    module.end(1, 0);
    add("main.obj", module);
    TestModule other("far.asm");
    other.segment("FAR", "FAR", Align::Byte, Combine::Public, 0x200);
    other.publicAt(1, "FARAWAY", 0x1FF);
    other.end();
    add("far.obj", other);

    const ToolRun result = run({"main", "far"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.console.find("Error: Fixup overflow at _TEXT:0001, target = FARAWAY in module MAIN.ASM\r\n"),
              std::string::npos)
        << result.console;
    EXPECT_EQ(file("main.exe").at(Image + 1), 0x00);
}

TEST_F(FixupTest, UndefinedSymbolsAreReportedPerModule)
{
    for (const char *name : {"a", "b"}) {
        TestModule module(std::string(name) + ".asm");
        module.segment("_TEXT", "CODE", Align::Word, Combine::Public, 3);
        const std::uint16_t missing = module.external("MISSING");
        module.data(1, 0, {0xA1, 0x00, 0x00});
        module.fixup(omf::Offset16, 1, address(omf::FrameTarget, 0, omf::TargetExternal, missing));
        module.end(std::string(name) == "a" ? 1 : 0, 0);
        add(std::string(name) + ".obj", module);
    }
    const ToolRun result = run({"a", "b"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.console.find("Error: Undefined symbol MISSING in module A.ASM\r\n"
                                  "Error: Undefined symbol MISSING in module B.ASM\r\n"),
              std::string::npos)
        << result.console;
    EXPECT_TRUE(exists("a.exe"));
}

} // namespace
} // namespace velmora::assembler::link
