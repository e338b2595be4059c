// The debug symbols of a module assembled with /zi, carried in the object file by COMENT
// records of class C7h, a class of the user range that no other meaning is given to. Each
// record's text is a run of entries, as many as fit in 1024 bytes, each one:
//   kind     byte   0 label, 1 procedure, 2 variable, 3 segment
//   flags    byte   bit 0 far (labels and procedures), bit 1 string (variables)
//   segment  index  the SEGDEF's 1-based index, one byte or two as every OMF index
//   offset   word   in that segment; 0 for a segment
//   unit     byte   a variable's element size (1, 2, 4, 6, 8 or 10); 0 else
//   count    dword  a variable's elements; a segment's length in bytes; 0 else
//   name     a length byte, then the name as written in the source
// Words are little-endian as everywhere in OMF.
#pragma once

#include "assembler/ObjectModule.h"
#include "assembler/omf/OmfRecords.h"

#include <vector>

namespace velmora::assembler
{

inline constexpr std::uint8_t DebugSymbolCommentClass = 0xC7;

// The COMENT records that carry the symbols (none for none).
std::vector<omf::Coment> debugSymbolComments(const std::vector<DebugSymbol> &symbols);

// The symbols of one such record, with 0-based segments; throws omf::OmfError for a record
// that ends inside an entry or names a kind that does not exist.
std::vector<DebugSymbol> readDebugSymbolComment(const omf::Coment &comment);

} // namespace velmora::assembler
