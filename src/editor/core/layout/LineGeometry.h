// The one geometry of display lines: the window x and width of every character's cell, and the
// x of display columns, for a window scrolled horizontally to horzOffset. Caret placement,
// hit-testing and painting all take their x from here, so what is drawn is what is hit.
#pragma once

#include "editor/core/layout/LineWalk.h"

#include <cstdint>
#include <vector>

namespace velmora::core
{

class TLayoutEngine;

// Window x of a display column: blank widths right of LeftMargin (column blocks, the right line).
std::int32_t columnX(const TLayoutEngine &layout, std::int32_t column, std::int32_t horzOffset);
// The display column whose blank-wide cell holds window x (rounded towards LeftMargin).
std::int32_t columnAt(const TLayoutEngine &layout, std::int32_t x, std::int32_t horzOffset);

// Walks the cells of a display line from its start, calling visit(offset, x, width) with each
// cell's window x until visit returns false. Returns the x of the cell it stopped at, or the
// x after the last cell (the line's text end) when it visited them all.
template <class Visit>
std::int32_t walkCells(TLayoutEngine &layout, const ParInfo &par, const LineInfo &line, std::int32_t horzOffset,
                       Visit visit)
{
    TLineWalk walk(layout, par, line, horzOffset);
    while (!walk.atEnd()) {
        const TLineCell cell = walk.next();
        if (!visit(cell.offset, walk.left() + cell.x, cell.width))
            return walk.left() + cell.x;
    }
    return walk.left() + walk.state().x;
}

// The cells of a display line that a stretch of the window shows.
struct TLineCells {
    std::int32_t left = 0; // window x of the line's start
    // Window x after the last cell: the line's text end when the cells reach the line end.
    std::int32_t end = 0;
    std::vector<TLineCell> cells; // their x counted from left

    // Window x of the boundary before the character at offset: left of the first cell for an
    // offset before it, end for one after the last.
    std::int32_t xOf(std::int32_t offset) const;
};

// The cells of a display line from the last one before window x from (every cell before it ends
// left of from) to the first one at or right of window x to, or the line end. Long lines are
// measured from the checkpoints' states near from.
TLineCells lineCells(TLayoutEngine &layout, const ParInfo &par, const LineInfo &line, std::int32_t horzOffset,
                     std::int32_t from, std::int32_t to, TLineCheckpoints &checkpoints);

} // namespace velmora::core
