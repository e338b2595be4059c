// What the debugger's views show of memory by name: a watched variable by its type, and an
// address typed by the student for the memory dump.
#pragma once

#include "debugger/DebugInfo.h"
#include "machine/Memory.h"
#include "machine/Registers.h"

#include <cstdint>
#include <optional>
#include <string>

namespace velmora::debugger
{

// The value of a variable at segment:offset as its type shows it: a byte "41h 'A'", a word
// "1234h", a doubleword "00012345h", a string as quoted text (CP866 bytes, control bytes as
// numbers, at most 64 characters then "..."), an array as "[1, 2, 3]" (at most 16 elements
// then "..."). Labels and procedures show their segment:offset.
std::string watchValue(const DebugSymbol &symbol, std::uint16_t segment, const machine::Memory &memory);

// An address typed for the memory dump, as a linear address: "DS:0010", "ES:DI", "1234:5",
// "0B800h:0", a symbol's name ("msg", "msg+2"), a register pair or a plain offset (taken in
// DS). Numbers are hexadecimal with or without the h. Letter case is ignored. None for text
// that names no address.
std::optional<std::uint32_t> parseAddress(const std::string &text, const machine::Registers &registers,
                                          const DebugInfo &info, std::uint16_t loadSegment);

} // namespace velmora::debugger
