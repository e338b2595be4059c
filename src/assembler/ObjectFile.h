// The assembler's object file: the module it assembled as 16-bit OMF records (THEADR, a
// translator comment, LNAMES, SEGDEF, GRPDEF, EXTDEF, PUBDEF, LEDATA with their FIXUPP,
// with debug information LINNUM and the symbols' COMENT, MODEND with the start address),
// written through the OMF record layer.
#pragma once

#include "assembler/ObjectModule.h"
#include "assembler/omf/OmfRecords.h"

#include <cstdint>
#include <vector>

namespace velmora::assembler
{

// What the object file tells a debugger: nothing (/zn), the line numbers (/zd), or the
// line numbers and the symbols (/zi).
enum class DebugInfoLevel { None, Lines, Full };

omf::ObjectModule toOmf(const ObjectModule &module, DebugInfoLevel debugInfo = DebugInfoLevel::None);

std::vector<std::uint8_t> objectFileBytes(const ObjectModule &module, DebugInfoLevel debugInfo = DebugInfoLevel::None);

} // namespace velmora::assembler
