// Builds the program's memory image: the data records of every module copied to their
// segments' places, LIDATA expanded, and every fixup applied (added to what the data
// holds, as the object format specifies). Segment words that depend on the load address
// are collected as relocations. Unresolvable fixups are reported and leave their bytes
// as they are.
#pragma once

#include "assembler/link/AddressResolver.h"
#include "assembler/link/LinkLog.h"

#include <cstdint>
#include <vector>

namespace velmora::assembler::link
{

struct LinkedImage {
    std::vector<std::uint8_t> bytes;        // from linear address 0 to the layout's end
    std::uint32_t initializedEnd = 0;       // first byte after the last byte a data record wrote
    std::vector<std::uint32_t> relocations; // linear addresses of segment words, in fixup order
};

// Throws std::runtime_error for a data record or fixup that does not fit its segment or
// names something the module does not define.
LinkedImage buildImage(const std::vector<LinkModule> &modules, const SegmentLayout &layout, const SymbolTable &symbols,
                       LinkLog &log);

} // namespace velmora::assembler::link
