// Numbers as the debugger's views show them and read them back: plain upper-case
// hexadecimal without a suffix, addresses as segment:offset.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace velmora::app
{

// value in `digits` hexadecimal digits, with leading zeros: hexText(0x3A, 4) is "003A".
QString hexText(std::uint32_t value, int digits);
// "0F3A:0100".
QString addressText(std::uint16_t segment, std::uint16_t offset);
// A hexadecimal number typed by the student, with or without a trailing h, blanks around it
// ignored; none when the text is no such number or exceeds largest.
std::optional<std::uint16_t> parseHex(const QString &text, std::uint16_t largest);

} // namespace velmora::app
