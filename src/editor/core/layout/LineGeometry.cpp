#include "editor/core/layout/LineGeometry.h"

#include "editor/core/layout/LayoutEngine.h"

#include <algorithm>

namespace velmora::core
{

std::int32_t columnX(const TLayoutEngine &layout, std::int32_t column, std::int32_t horzOffset)
{
    return layout.LeftMargin() - horzOffset + column * std::max(layout.blankWidth(), 1);
}

std::int32_t columnAt(const TLayoutEngine &layout, std::int32_t x, std::int32_t horzOffset)
{
    return (x + horzOffset - layout.LeftMargin()) / std::max(layout.blankWidth(), 1);
}

std::int32_t TLineCells::xOf(std::int32_t offset) const
{
    if (cells.empty())
        return end;
    const std::int32_t i = offset - cells.front().offset;
    if (i < 0)
        return left + cells.front().x;
    return i < static_cast<std::int32_t>(cells.size()) ? left + cells[static_cast<std::size_t>(i)].x : end;
}

TLineCells lineCells(TLayoutEngine &layout, const ParInfo &par, const LineInfo &line, std::int32_t horzOffset,
                     std::int32_t from, std::int32_t to, TLineCheckpoints &checkpoints)
{
    TLineWalk walk(layout, par, line, horzOffset);
    TLineCells result;
    result.left = walk.left();
    result.cells = checkpoints.cellsBetween(walk, from, to);
    result.end = walk.left() + walk.state().x;
    return result;
}

} // namespace velmora::core
