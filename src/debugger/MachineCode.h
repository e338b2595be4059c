// The "show machine code" view of a source: each source line followed by the offset and
// bytes of the code and data assembled from it, as the program's memory holds them now,
// with each instruction disassembled.
#pragma once

#include "debugger/DebugInfo.h"
#include "machine/Cpu.h"
#include "machine/Memory.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::debugger
{

struct MachineCodeLine {
    int sourceLine = 0;       // 1-based line of the source this row belongs to
    bool isSource = false;    // the source line itself; else one instruction or data row
    std::uint16_t segment = 0; // the running program's segment of the row's bytes
    std::uint16_t offset = 0;
    std::vector<std::uint8_t> bytes;
    std::string text;         // the source text, or the disassembled instruction
};

// The rows for the whole source: every source line, and after each line with code its
// instructions, each with segment:offset, bytes and disassembly (data lines show their
// bytes, at most 8 a row).
std::vector<MachineCodeLine> machineCode(const std::vector<std::string> &sourceLines, const DebugInfo &info,
                                         std::uint16_t loadSegment, const machine::Memory &memory,
                                         machine::CpuModel model);

} // namespace velmora::debugger
