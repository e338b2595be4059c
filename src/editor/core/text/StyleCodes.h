// Inline style codes: with StaticFormat on, the characters 1, 2, 3, 4 and 21 toggle one bit
// of the running style byte each and take no room on screen.
#pragma once

#include "editor/core/text/StyleBits.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::core
{

// The style bit a code toggles, or 0 for a character that is not a style code.
constexpr std::uint8_t styleBitOf(unsigned char c)
{
    switch (c) {
    case 2:
        return kStyleBold;
    case 1:
        return kStyleItalic;
    case 21:
        return kStyleUnderline;
    case 3:
        return kStyleHighlight;
    case 4:
        return kStyleAltFont;
    default:
        return 0;
    }
}

constexpr bool isStyleCode(unsigned char c)
{
    return styleBitOf(c) != 0;
}

// The bits toggled by all the codes in text.
std::uint8_t styleToggles(std::string_view text);
// The codes that toggle exactly the given bits, in the order 21, 1, 2, 3, 4.
std::string styleCodesFor(std::uint8_t bits);

// The first redundant pair: a code followed, with only other codes between, by the same code.
// Returns the offsets of both, or false when there is none.
bool findRedundantCodePair(std::string_view text, std::size_t &first, std::size_t &second);

} // namespace velmora::core
