// The assembler's object file: the module it assembled as 16-bit OMF records (THEADR, a
// translator comment, LNAMES, SEGDEF, GRPDEF, EXTDEF, PUBDEF, LEDATA with their FIXUPP,
// MODEND with the start address), written through the OMF record layer.
#pragma once

#include "assembler/ObjectModule.h"
#include "assembler/omf/OmfRecords.h"

#include <cstdint>
#include <vector>

namespace velmora::assembler
{

omf::ObjectModule toOmf(const ObjectModule &module);

std::vector<std::uint8_t> objectFileBytes(const ObjectModule &module);

} // namespace velmora::assembler
