#include "editor/core/NavigatorPixels.h"

#include "editor/core/HighlightRuns.h"
#include "editor/core/LayoutEngine.h"
#include "editor/core/SourceNavigator.h"
#include "editor/core/StyleCodes.h"

#include <algorithm>

namespace velmora::core
{

namespace
{

// Walks the characters of the navigator's display line, giving each one's left edge in
// window pixels and its width, until visit returns false. Returns the x after the last
// character visited (the line end when all were).
template <class Visit> std::int32_t walkLine(TSourceNavigator &nav, TLayoutEngine &layout, Visit visit)
{
    ParInfo &par = *nav.paragraph();
    const LineInfo line = par.lineInfo(nav.ParLine());
    const bool codes = layout.paragraphs().StaticFormat;
    const TViewGeometry &g = layout.geometry;
    const std::int32_t len = par.length();
    const std::int32_t free = g.clientWidth - layout.LeftMargin() - layout.RightMargin() - line.width;
    const bool justify = layout.Justified() && line.justifyFrom < len;

    std::int32_t origin;
    if (layout.Alignment() == taLeftJustify || justify)
        origin = layout.LeftMargin();
    else if (layout.Alignment() == taRightJustify)
        origin = g.clientWidth - layout.RightMargin() - line.width;
    else
        origin = layout.LeftMargin() + free / 2;
    origin -= g.horzOffset;

    // Justification: q pixels per counted blank, the remainder spread by an accumulator.
    const bool widen = justify && line.blankCount > 0 && free > 0;
    const std::int32_t q = widen ? free / line.blankCount : 0;
    const std::int32_t r = widen ? free % line.blankCount : 0;
    std::int32_t acc = r / 2;

    std::uint8_t inlineStyle = line.startStyle;
    std::int32_t x = 0;
    for (std::int32_t k = line.lineStart; k < line.nextLineStart && k < len; ++k) {
        const char c = par.text[k];
        std::int32_t w;
        if (codes && isStyleCode(static_cast<unsigned char>(c))) {
            inlineStyle ^= styleBitOf(static_cast<unsigned char>(c));
            w = 0;
        } else if (c == '\t') {
            w = tabAdvance(x, layout.TabStops(), layout.blankWidth()) - x;
        } else {
            const std::uint8_t style =
                effectiveStyle(inlineStyle, runInForce(par, k), layout.fontStyle()) & kMeasuredStyleBits;
            w = c == ' ' ? layout.breaker().blankWidthIn(style)
                         : layout.breaker().measurer().textWidth({&par.text[k], 1}, style);
            if (c == ' ' && widen && k >= line.justifyFrom) {
                w += q;
                acc += r;
                if (acc >= line.blankCount) {
                    ++w;
                    acc -= line.blankCount;
                }
            }
        }
        if (!visit(k, origin + x, w))
            return origin + x;
        x += w;
    }
    return origin + x;
}

} // namespace

std::int32_t navigatorX(TSourceNavigator &nav, TLayoutEngine &layout)
{
    const std::int32_t offset = nav.ParOffset();
    return walkLine(nav, layout, [offset](std::int32_t k, std::int32_t, std::int32_t) { return k < offset; });
}

std::int32_t navigatorY(TSourceNavigator &nav, TLayoutEngine &layout)
{
    return nav.DisplayLine() * layout.lineHeight() - layout.geometry.vertOffset;
}

TPixelPoint toPoint(TSourceNavigator &nav, TLayoutEngine &layout)
{
    return {navigatorX(nav, layout), navigatorY(nav, layout)};
}

void fromPoint(TSourceNavigator &nav, TLayoutEngine &layout, std::int32_t x, std::int32_t y)
{
    const std::int64_t row = (static_cast<std::int64_t>(y) + layout.geometry.vertOffset) / layout.lineHeight();
    if (row >= layout.paragraphs().visibleLineCount) {
        nav.setPos(layout.paragraphs().textLength);
        return;
    }
    nav.setDisplayLine(static_cast<std::int32_t>(std::max<std::int64_t>(row, 0)));
    setX(nav, layout, x);
}

void setX(TSourceNavigator &nav, TLayoutEngine &layout, std::int32_t x)
{
    std::int32_t count = 0;
    walkLine(nav, layout, [&](std::int32_t, std::int32_t left, std::int32_t w) {
        if (x < left + w / 2)
            return false;
        ++count;
        return true;
    });
    nav.setLineOffset(count);
}

bool toCharacterAt(TSourceNavigator &nav, TLayoutEngine &layout, std::int32_t x)
{
    std::int32_t hit = -1;
    walkLine(nav, layout, [&](std::int32_t k, std::int32_t left, std::int32_t w) {
        if (x < left)
            return false;
        if (x < left + w)
            hit = k;
        return hit < 0;
    });
    if (hit < 0)
        return false;
    nav.setParOffset(hit);
    return true;
}

std::int32_t characterWidth(TSourceNavigator &nav, TLayoutEngine &layout)
{
    const std::int32_t offset = nav.ParOffset();
    if (offset >= nav.paragraph()->length())
        return 0;
    std::int32_t width = 0;
    walkLine(nav, layout, [&](std::int32_t k, std::int32_t, std::int32_t w) {
        if (k < offset)
            return true;
        width = w;
        return false;
    });
    return width;
}

} // namespace velmora::core
