// The one way the layout measures text. The editor control implements it over its fonts
// (main font and AltFont, each with the four font styles); tests use a fixed-width fake.
#pragma once

#include "editor/core/text/StyleBits.h"

#include <cstdint>
#include <string_view>

namespace velmora::core
{

// Metrics of the main font, in pixels.
struct TFontMetrics {
    std::int32_t height = 0;
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
    std::int32_t internalLeading = 0;
    std::int32_t maxCharWidth = 1;
};

class TTextMeasurer
{
public:
    virtual ~TTextMeasurer() = default;
    // Width of text drawn in one go in the font of style (only kMeasuredStyleBits matter).
    virtual std::int32_t textWidth(std::string_view text, std::uint8_t style) = 0;
    // The advance of each of the 256 bytes in the font of style, where a text's width is always
    // the sum of its bytes' advances; null where widths do not add up byte by byte.
    virtual const std::int32_t *advances(std::uint8_t /*style*/) { return nullptr; }
    virtual TFontMetrics metrics() = 0;
};

} // namespace velmora::core
