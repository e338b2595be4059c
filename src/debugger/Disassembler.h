// The disassembler of the debugger's instruction view: one 8086/80186 instruction at a
// time, in TASM syntax as a student reads it, such that the built-in assembler turns the
// text back into the same bytes.
#pragma once

#include "machine/Cpu.h"

#include <cstdint>
#include <span>
#include <string>

namespace velmora::debugger
{

struct Disassembled {
    int length = 0;   // bytes the instruction takes, with its prefixes
    std::string text; // e.g. "mov word ptr es:[bx+si+4],0FFFFh"
};

// Decodes the instruction at the start of `bytes`, which lies at `offset` in its code
// segment (jump targets are shown as absolute offsets). Bytes that start no instruction of
// `model`, or an instruction cut short by the end of `bytes`, give "db 0xxh" of length 1.
// An empty span gives length 0.
Disassembled disassemble(std::span<const std::uint8_t> bytes, std::uint16_t offset, machine::CpuModel model);

} // namespace velmora::debugger
