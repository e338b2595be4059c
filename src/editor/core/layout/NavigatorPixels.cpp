#include "editor/core/layout/NavigatorPixels.h"

#include "editor/core/editing/SourceNavigator.h"
#include "editor/core/layout/LayoutEngine.h"
#include "editor/core/layout/LineGeometry.h"

#include <algorithm>

namespace velmora::core
{

namespace
{

// Walks the cells of the navigator's display line in the window as the layout scrolls it.
template <class Visit> std::int32_t walkLine(TSourceNavigator &nav, TLayoutEngine &layout, Visit visit)
{
    const ParInfo &par = *nav.paragraph();
    return walkCells(layout, par, par.lineInfo(nav.ParLine()), layout.geometry.horzOffset, visit);
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
    if (row >= layout.paragraphs().marks().visibleLineCount()) {
        nav.setPos(layout.paragraphs().marks().textLength());
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
