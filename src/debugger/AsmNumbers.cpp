#include "debugger/AsmNumbers.h"

#include <cstdio>

namespace velmora::debugger
{
namespace
{

std::string hexWithSuffix(std::uint32_t value, int digits)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*X", digits, static_cast<unsigned>(value));
    std::string text = buffer;
    if (text.front() >= 'A')
        text.insert(text.begin(), '0');
    return text + 'h';
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

std::string asmDisplacement(int value)
{
    if (value < 0)
        return "-" + asmNumber(static_cast<std::uint32_t>(-value));
    return "+" + asmNumber(static_cast<std::uint32_t>(value));
}

} // namespace velmora::debugger
