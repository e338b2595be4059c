// Writes an object module: each record framed with its length and checksum, in the order
// the module holds them. Writing a module read by `readObject` gives the same bytes.
// Throws std::invalid_argument for a field the format cannot hold (an index of 0x8000 or
// more, a name longer than 255 characters, a record body longer than 65534 bytes).
#pragma once

#include "assembler/omf/OmfRecords.h"

#include <cstdint>
#include <vector>

namespace velmora::assembler::omf
{

std::vector<std::uint8_t> writeObject(const ObjectModule &module);

} // namespace velmora::assembler::omf
