// The machine code view of a small program built with the built-in tools: every source
// line, and under each line with code its instructions or data rows from memory.
#include "debugger/MachineCode.h"
#include "assembler/AssemblerCommand.h"
#include "assembler/TasmTestData.h"
#include "assembler/TempFolder.h"
#include "assembler/link/Linker.h"

#include <gtest/gtest.h>

#include <fstream>

namespace velmora::debugger::test
{
namespace
{

const std::vector<std::string> source = {
    "exit macro",                      // 1
    "  mov ax,4C00h",                  // 2
    "  int 21h",                       // 3
    "endm",                            // 4
    ".model tiny",                     // 5
    ".code",                           // 6
    "org 100h",                        // 7
    "start: mov ah,9",                 // 8  0100 B4 09
    "  mov dx,offset msg",             // 9  0102 BA 0C 01
    "  int 21h",                       // 10 0105 CD 21
    "  exit",                          // 11 0107 B8 00 4C, 010A CD 21
    "msg db 'Hello, world',13,10,'$'", // 12 010C, 15 bytes
    "end start",                       // 13
};

constexpr std::uint16_t loadSegment = 0x0700;

class MachineCodeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::ofstream file(folder.path() / "prog.asm", std::ios::binary);
        for (const std::string &line : source)
            file << line << "\r\n";
        file.close();
        ASSERT_EQ(assembler::runAssembler({"/zi", "prog"}, folder.path().string()).exitCode, 0);
        ASSERT_EQ(assembler::link::link({"/t", "/v", "prog"}, folder.path()).exitCode, 0);
        info = readDebugMap(assembler::testing::readText(folder.path() / "prog.map"));
        const std::vector<std::uint8_t> program = assembler::testing::readBytes(folder.path() / "prog.com");
        for (std::size_t i = 0; i < program.size(); ++i)
            memory.write8(machine::Memory::linear(loadSegment, static_cast<std::uint16_t>(0x100 + i)), program[i]);
    }
    std::vector<MachineCodeLine> rows() const
    {
        return machineCode(source, info, loadSegment, memory, machine::CpuModel::i8086);
    }

    assembler::testing::TempFolder folder;
    DebugInfo info;
    machine::Memory memory;
};

TEST_F(MachineCodeTest, EachLineIsFollowedByItsInstructionsOrData)
{
    struct Row {
        int line;
        std::uint16_t offset;
        std::vector<std::uint8_t> bytes;
        std::string text;
    };
    const std::vector<Row> code = {
        {8, 0x100, {0xB4, 0x09}, "mov ah,9"},
        {9, 0x102, {0xBA, 0x0C, 0x01}, "mov dx,10Ch"},
        {10, 0x105, {0xCD, 0x21}, "int 21h"},
        {11, 0x107, {0xB8, 0x00, 0x4C}, "mov ax,4C00h"},
        {11, 0x10A, {0xCD, 0x21}, "int 21h"},
        {12, 0x10C, {'H', 'e', 'l', 'l', 'o', ',', ' ', 'w'}, "db 048h,065h,06Ch,06Ch,06Fh,02Ch,020h,077h"},
        {12, 0x114, {'o', 'r', 'l', 'd', 13, 10, '$'}, "db 06Fh,072h,06Ch,064h,00Dh,00Ah,024h"},
    };
    const std::vector<MachineCodeLine> all = rows();
    ASSERT_EQ(all.size(), source.size() + code.size());
    std::size_t next = 0;
    int line = 0;
    for (const MachineCodeLine &row : all) {
        if (row.isSource) {
            ++line;
            EXPECT_EQ(row.sourceLine, line);
            EXPECT_EQ(row.text, source[static_cast<std::size_t>(line - 1)]);
            continue;
        }
        ASSERT_LT(next, code.size());
        const Row &expected = code[next++];
        SCOPED_TRACE(expected.text);
        EXPECT_EQ(row.sourceLine, expected.line);
        EXPECT_EQ(line, expected.line); // right under its source line
        EXPECT_EQ(row.segment, loadSegment);
        EXPECT_EQ(row.offset, expected.offset);
        EXPECT_EQ(row.bytes, expected.bytes);
        EXPECT_EQ(row.text, expected.text);
    }
    EXPECT_EQ(next, code.size());
}

TEST_F(MachineCodeTest, RowsShowMemoryAsItIsNow)
{
    memory.write8(machine::Memory::linear(loadSegment, 0x100), 0x90); // nop over the first byte of mov ah,9
    const std::vector<MachineCodeLine> all = rows();
    std::vector<std::string> texts;
    for (const MachineCodeLine &row : all)
        if (!row.isSource && row.sourceLine == 8)
            texts.push_back(row.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"nop", "db 009h"}));
}

TEST_F(MachineCodeTest, WithLinesOnlyTheLastLineShowsOneRow)
{
    // Without the symbols (/zd) the end of the segment is not known.
    info.symbols.clear();
    std::vector<std::string> texts;
    for (const MachineCodeLine &row : rows())
        if (!row.isSource && row.sourceLine >= 11)
            texts.push_back(row.text);
    EXPECT_EQ(texts,
              (std::vector<std::string>{"mov ax,4C00h", "int 21h", "db 048h,065h,06Ch,06Ch,06Fh,02Ch,020h,077h"}));

    // A last line of code shows one instruction.
    info.lines.pop_back();
    texts.clear();
    for (const MachineCodeLine &row : rows())
        if (!row.isSource && row.sourceLine >= 11)
            texts.push_back(row.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"mov ax,4C00h"}));
}

TEST_F(MachineCodeTest, WithoutDebugInformationOnlyTheSourceIsShown)
{
    const std::vector<MachineCodeLine> all =
        machineCode(source, DebugInfo{}, loadSegment, memory, machine::CpuModel::i8086);
    ASSERT_EQ(all.size(), source.size());
    for (const MachineCodeLine &row : all)
        EXPECT_TRUE(row.isSource);
}

} // namespace
} // namespace velmora::debugger::test
