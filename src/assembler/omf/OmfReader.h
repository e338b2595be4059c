// Reads an object file into its records. It accepts what the assembler writes (16-bit
// records, fixups with or without threads, every COMENT class kept as bytes) and throws
// `OmfError` naming the record's offset for anything else: a truncated record, a bad
// checksum, a field that runs past its record, or a record type it does not know.
#pragma once

#include "assembler/omf/OmfError.h"
#include "assembler/omf/OmfRecords.h"

#include <cstdint>
#include <span>

namespace velmora::assembler::omf
{

ObjectModule readObject(std::span<const std::uint8_t> file);

} // namespace velmora::assembler::omf
