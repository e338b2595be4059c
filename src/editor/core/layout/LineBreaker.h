// TLineBreaker: greedy word-by-word breaking of one paragraph into display lines.
//
// Blanks and tabs stay on the line they follow; a line's stored width and blank count leave
// its trailing whitespace out. A word wider than the wrap width is split with at least one
// character per line. Only blanks after a line's last tab count for Justified, and the last
// line of a paragraph is never justified (its justify-from offset is the paragraph length).
#pragma once

#include "editor/core/store/ParagraphRecord.h"
#include "editor/core/layout/TextMeasurer.h"

#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <string>

namespace velmora::core
{

struct TBreakRules {
    std::int32_t wrapWidth = INT32_MAX; // pixels, or characters when columns is set
    bool columns = false;               // ColumnWrap > 0: widths counted in characters
    std::int32_t tabStops = 8;          // TabStops
    std::int32_t blankWidth = 1;        // width of a blank in Font: the unit of positive TabStops
    std::int32_t chunk = 16384;         // most characters measured in one call
    bool staticFormat = false;          // characters 1-4 and 21 are style codes
    std::uint8_t fontStyle = 0;         // style bits of Font itself
    std::string wordWrapChars;          // a line may also break after these
};

// x after a tab at x.
std::int32_t tabAdvance(std::int32_t x, std::int32_t tabStops, std::int32_t blankWidth);

// The style a character is measured and drawn in: the inline style byte XOR the style of Font,
// unless the run in force carries attributes (bit 7), whose own low bits then decide; bits 3 and
// 4 together are the special underline and no font style.
std::uint8_t effectiveStyle(std::uint8_t inlineStyle, const RunState &run, std::uint8_t fontStyle);

class TLineBreaker
{
public:
    explicit TLineBreaker(TTextMeasurer &measurer) : measurer_(measurer) {}

    TBreakRules rules;
    // Forget cached blank widths (after a font change).
    void fontsChanged() { blankWidths_.fill(-1); }

    // Called with each closed line; returning false stops the breaking there.
    using LineSink = std::function<bool(const LineInfo &)>;
    // Breaks par from a line that starts at from.lineStart with from.startStyle in force.
    void breakFrom(const ParInfo &par, const LineInfo &from, const LineSink &sink);

    // Width of the characters [from, to) of par, starting with inlineStyle in force at from.
    std::int32_t measure(const ParInfo &par, std::int32_t from, std::int32_t to, std::uint8_t inlineStyle);
    // Width of a blank in the font of a measured style.
    std::int32_t blankWidthIn(std::uint8_t style);
    TTextMeasurer &measurer() { return measurer_; }

private:
    TTextMeasurer &measurer_;
    std::array<std::int32_t, 64> blankWidths_ = filledWith(-1);

    static std::array<std::int32_t, 64> filledWith(std::int32_t v)
    {
        std::array<std::int32_t, 64> a;
        a.fill(v);
        return a;
    }
};

} // namespace velmora::core
