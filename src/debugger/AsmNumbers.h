// Numbers as TASM source writes them: hexadecimal with an h suffix and a leading 0 when
// the first digit is a letter; 0..9 stay plain.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace velmora::debugger
{

// A value: "7", "21h", "0FFFFh".
std::string asmNumber(std::uint32_t value);
// An address or offset with four digits: "0010h", "0FF00h".
std::string asmOffset(std::uint16_t value);
// A byte of data as a DB line shows it, always two digits after the leading 0: "0D6h", "00Fh".
std::string asmDataByte(std::uint8_t value);
// A value as memory holds it, least significant byte first, with two digits a byte:
// "41h", "0FF00h", "00012345h".
std::string asmMemoryValue(std::span<const std::uint8_t> littleEndian);
// A signed displacement as written after a base register: "+4", "-81h".
std::string asmDisplacement(int value);

} // namespace velmora::debugger
