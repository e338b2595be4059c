// The ASCII table picture of the info window: the 256 character codes of the DOS character
// set (code page 866) in a 16 x 16 grid. Column headers give the low hex digit, row headers
// the high one; each cell shows its code in decimal above its character.
#pragma once

#include <QImage>
#include <QRect>

#include <cstdint>

namespace velmora::app
{

constexpr int kAsciiChartWidth = 486;
constexpr int kAsciiChartHeight = 480;

// The character a DOS screen shows for code: the code page 866 character, except that the
// control codes 1..31 and 127 show their classic display glyphs (smiley, card suits,
// arrows, house) and 0 shows nothing.
char16_t dosDisplayCharacter(std::uint8_t code);

// Where code's cell lies in the chart, and the part of it that holds the character.
QRect asciiChartCell(std::uint8_t code);
QRect asciiChartGlyphArea(std::uint8_t code);

// Draws the chart; the same picture every time.
QImage asciiChartImage();

} // namespace velmora::app
