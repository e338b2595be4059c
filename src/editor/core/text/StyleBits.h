// The style byte, bit by bit. A character's style: bits 0..3 the font styles, bit 4 the
// highlight colours, bit 5 AltFont instead of Font. A highlight run's style byte holds such a
// style in its low six bits; bit 7 says that the run brings its own attributes (style and
// colours), bits 6 and 7 together that it belongs to a keyword or start-stop span. A run with
// attributes whose style has both highlight and strike-out is drawn with the special
// underline instead of those two.
#pragma once

#include <cstdint>

namespace velmora::core
{

constexpr std::uint8_t kStyleBold = 0x01;
constexpr std::uint8_t kStyleItalic = 0x02;
constexpr std::uint8_t kStyleUnderline = 0x04;
constexpr std::uint8_t kStyleStrikeOut = 0x08;
constexpr std::uint8_t kStyleHighlight = 0x10;
constexpr std::uint8_t kStyleAltFont = 0x20;
// The font styles: bold, italic, underline and strike-out.
constexpr std::uint8_t kFontStyleBits = kStyleBold | kStyleItalic | kStyleUnderline | kStyleStrikeOut;
// Every bit of a character's style.
constexpr std::uint8_t kStyleBits = 0x3F;
// The bits that pick a font, and so widths: all but the highlight.
constexpr std::uint8_t kMeasuredStyleBits = kStyleBits & ~kStyleHighlight;

constexpr std::uint8_t kRunAttributes = 0x80;
constexpr std::uint8_t kRunSpan = 0xC0;
constexpr std::uint8_t kSpecialUnderlineBits = kStyleHighlight | kStyleStrikeOut;

// A run's style byte asks for the special underline.
constexpr bool hasSpecialUnderline(std::uint8_t runStyle)
{
    constexpr std::uint8_t bits = kRunAttributes | kSpecialUnderlineBits;
    return (runStyle & bits) == bits;
}

} // namespace velmora::core
