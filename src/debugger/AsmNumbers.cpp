#include "debugger/AsmNumbers.h"

#include <cstdio>

namespace velmora::debugger
{
namespace
{

// Hexadecimal digits as a number: a leading 0 before a letter, the h after.
std::string suffixed(std::string digits)
{
    if (digits.front() >= 'A')
        digits.insert(digits.begin(), '0');
    return digits + 'h';
}

std::string hexWithSuffix(std::uint32_t value, int digits)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*X", digits, static_cast<unsigned>(value));
    return suffixed(buffer);
}

} // namespace

std::string asmNumber(std::uint32_t value)
{
    if (value < 10)
        return std::to_string(value);
    return hexWithSuffix(value, 1);
}

std::string asmOffset(std::uint16_t value)
{
    return hexWithSuffix(value, 4);
}

std::string asmDataByte(std::uint8_t value)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "0%02Xh", static_cast<unsigned>(value));
    return buffer;
}

std::string asmMemoryValue(std::span<const std::uint8_t> littleEndian)
{
    std::string digits;
    for (std::size_t i = littleEndian.size(); i-- > 0;) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02X", static_cast<unsigned>(littleEndian[i]));
        digits += pair;
    }
    return suffixed(digits.empty() ? "0" : digits);
}

std::string asmDisplacement(int value)
{
    if (value < 0)
        return "-" + asmNumber(static_cast<std::uint32_t>(-value));
    return "+" + asmNumber(static_cast<std::uint32_t>(value));
}

} // namespace velmora::debugger
