// The framing every OMF record shares: a type byte, a 16-bit length that counts the body
// and the checksum byte, the body, and a checksum that makes the record's bytes sum to 0
// modulo 256 (a checksum of 0 means "not computed" and is accepted).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace velmora::assembler::omf
{

struct RawRecord {
    std::uint8_t type = 0;
    std::span<const std::uint8_t> body; // without the checksum
    std::size_t offset = 0;             // of the type byte in the file
};

// Splits a file into its records up to and including MODEND; what follows MODEND is not
// part of the module. Throws `OmfError` for a truncated record, a bad checksum, or a file
// that ends without MODEND.
std::vector<RawRecord> splitRecords(std::span<const std::uint8_t> file);

// Appends one framed record with its length and checksum.
void appendRecord(std::vector<std::uint8_t> &out, std::uint8_t type, std::span<const std::uint8_t> body);

} // namespace velmora::assembler::omf
