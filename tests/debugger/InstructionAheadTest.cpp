// Which instructions a step over runs through, and where the instruction after each starts.
#include "debugger/InstructionAhead.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace velmora::debugger
{
namespace
{

using machine::CpuModel;
using machine::Memory;

constexpr std::uint16_t kSegment = 0x1000;

InstructionAhead ahead(std::initializer_list<std::uint8_t> bytes, CpuModel model = CpuModel::i80186,
                       std::uint16_t at = 0x100)
{
    Memory memory;
    std::uint16_t offset = at;
    for (std::uint8_t byte : bytes)
        memory.write8(Memory::linear(kSegment, offset++), byte);
    return instructionAt(memory, kSegment, at, model);
}

void expectAhead(std::initializer_list<std::uint8_t> bytes, InstructionKind kind, std::uint16_t length)
{
    const InstructionAhead found = ahead(bytes);
    EXPECT_EQ(found.kind, kind) << "first byte " << int(*bytes.begin());
    EXPECT_EQ(found.length, length) << "first byte " << int(*bytes.begin());
}

TEST(InstructionAheadTest, CallsInEveryFormWithTheirLengths)
{
    expectAhead({0xE8, 0x10, 0x00}, InstructionKind::Call, 3);             // call near
    expectAhead({0x9A, 0, 0, 0, 0x20}, InstructionKind::Call, 5);          // call far
    expectAhead({0xFF, 0xD3}, InstructionKind::Call, 2);                   // call bx
    expectAhead({0xFF, 0x16, 0x34, 0x12}, InstructionKind::Call, 4);       // call [1234h]
    expectAhead({0xFF, 0x57, 0x02}, InstructionKind::Call, 3);             // call [bx+2]
    expectAhead({0xFF, 0x9F, 0x00, 0x01}, InstructionKind::Call, 4);       // call far [bx+100h]
    expectAhead({0x2E, 0xFF, 0x1E, 0x00, 0x02}, InstructionKind::Call, 5); // call far cs:[200h]
    expectAhead({0xFF, 0xE3}, InstructionKind::Other, 0);                  // jmp bx
    expectAhead({0xFF, 0x06, 0x00, 0x02}, InstructionKind::Other, 0);      // inc word ptr [200h]
}

TEST(InstructionAheadTest, InterruptsLoopsAndRepeatedStrings)
{
    expectAhead({0xCD, 0x21}, InstructionKind::Interrupt, 2);
    expectAhead({0xCC}, InstructionKind::Interrupt, 1);
    expectAhead({0xCE}, InstructionKind::Interrupt, 1); // into
    expectAhead({0xE2, 0xFE}, InstructionKind::Loop, 2);
    expectAhead({0xE1, 0xFE}, InstructionKind::Loop, 2);
    expectAhead({0xE0, 0xFE}, InstructionKind::Loop, 2);
    expectAhead({0xE3, 0xFE}, InstructionKind::Other, 0); // jcxz
    expectAhead({0xF3, 0xA4}, InstructionKind::RepeatedString, 2);
    expectAhead({0x26, 0xF3, 0xA5}, InstructionKind::RepeatedString, 3);
    expectAhead({0xF3, 0x2E, 0xA6}, InstructionKind::RepeatedString, 3);
    expectAhead({0xF2, 0xAE}, InstructionKind::RepeatedString, 2);
    expectAhead({0xA4}, InstructionKind::Other, 0);       // movsb alone is one instruction
    expectAhead({0xF3, 0x90}, InstructionKind::Other, 0); // rep before no string instruction
}

TEST(InstructionAheadTest, TheModelDecidesOnPortStringsAndTheInstructionMayCrossTheSegmentEnd)
{
    EXPECT_EQ(ahead({0xF3, 0x6C}).kind, InstructionKind::RepeatedString);
    EXPECT_EQ(ahead({0xF3, 0x6C}, CpuModel::i8086).kind, InstructionKind::Other);
    const InstructionAhead call = ahead({0xE8, 0x00, 0x00}, CpuModel::i80186, 0xFFFF);
    EXPECT_EQ(call.kind, InstructionKind::Call);
    EXPECT_EQ(call.length, 3);
}

} // namespace
} // namespace velmora::debugger
