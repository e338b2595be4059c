// The disassembler's text for forms the TASM corpus does not show: 80186 instructions,
// prefixes, undefined and cut-off bytes, far jumps and calls.
#include "Reassemble.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora::debugger::test
{
namespace
{

using machine::CpuModel;

struct Case {
    std::vector<std::uint8_t> bytes;
    std::string text;
    int length;
};

Disassembled at(const std::vector<std::uint8_t> &bytes, std::uint16_t offset = 0, CpuModel model = CpuModel::i80186)
{
    return disassemble(bytes, offset, model);
}

void expectCases(const std::vector<Case> &cases, std::uint16_t offset = 0x100)
{
    for (const Case &c : cases) {
        const Disassembled result = at(c.bytes, offset);
        EXPECT_EQ(result.text, c.text);
        EXPECT_EQ(result.length, c.length) << c.text;
    }
}

TEST(DisassemblerTest, OperandsAreWrittenAsTasmSourceWritesThem)
{
    expectCases({
        {{0x26, 0x8B, 0x40, 0x04}, "mov ax,es:[bx+si+4]", 4},
        {{0xC7, 0x06, 0x10, 0x00, 0xFF, 0xFF}, "mov word ptr ds:[0010h],0FFFFh", 6},
        {{0x80, 0x7E, 0xFE, 0x0A}, "cmp byte ptr [bp-2],0Ah", 4},
        {{0x8B, 0x46, 0x00}, "mov ax,[bp]", 3},
        {{0x01, 0xB7, 0x7F, 0xFF}, "add [bx-81h],si", 4},
        {{0x83, 0xC7, 0xFF}, "add di,0FFFFh", 3},
        {{0xA0, 0x34, 0x12}, "mov al,ds:[1234h]", 3},
        {{0x2E, 0xA3, 0xCD, 0xAB}, "mov cs:[0ABCDh],ax", 4},
        {{0xCD, 0x21}, "int 21h", 2},
        {{0xD1, 0xE0}, "shl ax,1", 2},
        {{0xD2, 0x0F}, "ror byte ptr [bx],cl", 2},
        {{0xFF, 0x2F}, "jmp dword ptr [bx]", 2},
        {{0xFF, 0xE3}, "jmp bx", 2},
        {{0xC4, 0x1C}, "les bx,dword ptr [si]", 2},
        {{0xE4, 0x60}, "in al,60h", 2},
        {{0xEF}, "out dx,ax", 1},
        {{0xD4, 0x10}, "aam 10h", 2},
        {{0xD5, 0x0A}, "aad", 2},
    });
}

TEST(DisassemblerTest, JumpAndCallTargetsAreAbsoluteOffsets)
{
    expectCases({
        {{0xEB, 0xFE}, "jmp short 0100h", 2},
        {{0x74, 0x10}, "je 0112h", 2},
        {{0xE2, 0x80}, "loop 0082h", 2},
        {{0xE8, 0xFD, 0xFF}, "call 0100h", 3},
        // A near jump a short one would reach says so, or it would assemble short.
        {{0xE9, 0x00, 0x00}, "jmp near ptr 0103h", 3},
        {{0xE9, 0x00, 0x10}, "jmp 1103h", 3},
    });
    // Targets wrap around the segment.
    EXPECT_EQ(at({0xEB, 0x10}, 0xFFF0).text, "jmp short 0002h");
}

TEST(DisassemblerTest, FarJumpsAndCallsShowSegmentAndOffset)
{
    expectCases({
        {{0xEA, 0x34, 0x12, 0x00, 0xF0}, "jmp far ptr 0F000h:1234h", 5},
        {{0x9A, 0x00, 0x01, 0x40, 0x00}, "call far ptr 0040h:0100h", 5},
        {{0xFF, 0x1E, 0x20, 0x00}, "call dword ptr ds:[0020h]", 4},
        {{0xCB}, "retf", 1},
        {{0xCA, 0x04, 0x00}, "retf 4", 3},
    });
}

TEST(DisassemblerTest, RepeatAndLockPrefixesStandBeforeTheirInstruction)
{
    expectCases({
        {{0xF3, 0xAB}, "rep stosw", 2},
        {{0xF3, 0xA4}, "rep movsb", 2},
        {{0xF3, 0xA6}, "repe cmpsb", 2},
        {{0xF2, 0xAE}, "repne scasb", 2},
        {{0xF0, 0x87, 0x07}, "lock xchg ax,[bx]", 3},
        {{0xF3, 0x2E, 0xA5}, "rep movs word ptr [di],word ptr cs:[si]", 3},
        {{0x26, 0xAC}, "lods byte ptr es:[si]", 2},
        {{0x26, 0xD7}, "xlat byte ptr es:[bx]", 2},
        {{0xF3, 0xF0, 0xA4}, "rep lock movsb", 3},
        {{0xF0, 0xF3, 0xA4}, "lock rep movsb", 3},
    });
    // The assembler writes LOCK and REP in the order given and an override after them.
    for (const std::vector<std::uint8_t> &bytes : {std::vector<std::uint8_t>{0xF3, 0xF0, 0xA4},
                                                   {0xF0, 0xF3, 0xA4},
                                                   {0xF3, 0x2E, 0xA5},
                                                   {0xF0, 0x26, 0x87, 0x07}})
        EXPECT_TRUE(roundTrips(bytes, 0x100)) << disassemble(bytes, 0x100, CpuModel::i80186).text;
}

TEST(DisassemblerTest, PrefixesTheInstructionDoesNotUseStandAlone)
{
    expectCases({
        {{0x26, 0x90}, "seges", 1},       // no memory operand
        {{0x26, 0xAA}, "seges", 1},       // STOS writes through ES always
        {{0x36, 0x8D, 0x07}, "segss", 1}, // LEA reads no memory
        {{0xF3, 0x40}, "rep", 1},         // not a string instruction
        {{0xF3}, "rep", 1},               // the bytes end after the prefix
        {{0x26, 0xF3, 0xA4}, "seges", 1}, // an override before REP: the assembler puts it after
        {{0xF0, 0x0F}, "lock", 1},        // before an undefined byte
    });
    EXPECT_TRUE(roundTrips(std::vector<std::uint8_t>{0x26, 0xF3, 0xA4}, 0x100));
    EXPECT_TRUE(roundTrips(std::vector<std::uint8_t>{0x3E, 0x8B, 0x07}, 0x100)); // DS: of [bx] stays a byte
}

TEST(DisassemblerTest, InstructionsAddedBy80186AreDataOn8086)
{
    const std::vector<Case> cases = {
        {{0x60}, "pusha", 1},
        {{0x61}, "popa", 1},
        {{0x62, 0x07}, "bound ax,dword ptr [bx]", 2},
        {{0x68, 0x34, 0x12}, "push 1234h", 3},
        {{0x6A, 0xFE}, "push 0FFFEh", 2},
        {{0x69, 0xC3, 0x00, 0x01}, "imul ax,bx,100h", 4},
        {{0x6B, 0x07, 0x05}, "imul ax,word ptr [bx],5", 3},
        {{0x6C}, "insb", 1},
        {{0x6F}, "outsw", 1},
        {{0xC0, 0xE0, 0x04}, "shl al,4", 3},
        {{0xC1, 0x3F, 0x03}, "sar word ptr [bx],3", 3},
        {{0xC8, 0x10, 0x00, 0x01}, "enter 10h,1", 4},
        {{0xC9}, "leave", 1},
    };
    for (const Case &c : cases) {
        const Disassembled on186 = at(c.bytes, 0, CpuModel::i80186);
        EXPECT_EQ(on186.text, c.text);
        EXPECT_EQ(on186.length, c.length) << c.text;
        const Disassembled on8086 = at(c.bytes, 0, CpuModel::i8086);
        EXPECT_EQ(on8086.length, 1) << c.text;
        EXPECT_TRUE(on8086.text.starts_with("db 0")) << on8086.text;
        EXPECT_TRUE(roundTrips(c.bytes, 0)) << c.text;
    }
}

TEST(DisassemblerTest, BytesThatStartNoInstructionAreOneDataByte)
{
    const std::vector<std::pair<std::vector<std::uint8_t>, std::string>> cases = {
        {{0x0F, 0x01}, "db 00Fh"},       // POP CS
        {{0x82, 0xC0, 0x01}, "db 082h"}, // the duplicate of 80h
        {{0xD6}, "db 0D6h"},
        {{0xF1}, "db 0F1h"},
        {{0xD8, 0xC0}, "db 0D8h"},       // coprocessor escape
        {{0x8E, 0xC8}, "db 08Eh"},       // MOV CS,AX
        {{0x8C, 0xE0}, "db 08Ch"},       // segment register 4
        {{0x8D, 0xC0}, "db 08Dh"},       // LEA of a register
        {{0xC4, 0xC0}, "db 0C4h"},       // LES of a register
        {{0xFE, 0x10}, "db 0FEh"},       // FE /2
        {{0xFF, 0x38}, "db 0FFh"},       // FF /7
        {{0xFF, 0xD8}, "db 0FFh"},       // far call through a register
        {{0xC6, 0x08, 0x01}, "db 0C6h"}, // C6 /1
        {{0xF6, 0x08, 0x01}, "db 0F6h"}, // F6 /1
        {{0xD0, 0x30}, "db 0D0h"},       // shift /6
        {{0xB8, 0x12}, "db 0B8h"},       // cut off by the end of the bytes
        {{0xC7, 0x06, 0x10, 0x00, 0xFF}, "db 0C7h"},
    };
    for (const auto &[bytes, text] : cases) {
        const Disassembled result = at(bytes);
        EXPECT_EQ(result.text, text);
        EXPECT_EQ(result.length, 1) << text;
    }
    EXPECT_EQ(at({}).length, 0);
}

} // namespace
} // namespace velmora::debugger::test
