// Pixel conversions of a navigator: where its position is drawn in the window and which
// position a window point hits, with the layout's fonts, tabs, margins, alignment and
// justification. Coordinates are window pixels: the scroll offsets are already applied.
#pragma once

#include <cstdint>

namespace velmora::core
{

class TLayoutEngine;
class TSourceNavigator;

struct TPixelPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const TPixelPoint &) const = default;
};

// x of the position in its display line.
std::int32_t navigatorX(TSourceNavigator &nav, TLayoutEngine &layout);
// Top of the position's display line.
std::int32_t navigatorY(TSourceNavigator &nav, TLayoutEngine &layout);
TPixelPoint toPoint(TSourceNavigator &nav, TLayoutEngine &layout);
// Moves to the character at window point (x, y); below the last line, to the text end.
void fromPoint(TSourceNavigator &nav, TLayoutEngine &layout, std::int32_t x, std::int32_t y);
// Moves inside the current display line to the character boundary nearest to window x.
void setX(TSourceNavigator &nav, TLayoutEngine &layout, std::int32_t x);
// Moves inside the current display line to the character whose cell holds window x; false
// (the navigator unmoved) when x lies before the line's first or after its last character.
bool toCharacterAt(TSourceNavigator &nav, TLayoutEngine &layout, std::int32_t x);
// Width of the character at the position in the font of its style; 0 at the paragraph end.
std::int32_t characterWidth(TSourceNavigator &nav, TLayoutEngine &layout);

} // namespace velmora::core
