// What the step commands need to know of the instruction at CS:IP: whether a step over
// runs through it (a CALL, an INT, a LOOP or a REP string instruction) and where the
// instruction after it starts.
#pragma once

#include "machine/Cpu.h"
#include "machine/Memory.h"

#include <cstdint>

namespace velmora::debugger
{

enum class InstructionKind { Other, Call, Interrupt, Loop, RepeatedString };

struct InstructionAhead {
    InstructionKind kind = InstructionKind::Other;
    // Bytes with the prefixes; known only for the kinds other than Other.
    std::uint16_t length = 0;
};

InstructionAhead instructionAt(const machine::Memory &memory, std::uint16_t cs, std::uint16_t ip,
                               machine::CpuModel model);

} // namespace velmora::debugger
