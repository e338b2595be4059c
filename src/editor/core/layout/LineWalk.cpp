#include "editor/core/layout/LineWalk.h"

#include "editor/core/highlight/HighlightRuns.h"
#include "editor/core/layout/LayoutEngine.h"
#include "editor/core/text/StyleBits.h"
#include "editor/core/text/StyleCodes.h"

#include <algorithm>

namespace velmora::core
{

TLineWalk::TLineWalk(TLayoutEngine &layout, const ParInfo &par, const LineInfo &line, std::int32_t horzOffset)
    : layout_(layout), par_(par)
{
    const std::int32_t len = par.length();
    end_ = std::min(line.nextLineStart, len);
    const std::int32_t free = layout.textAreaWidth() - layout.LeftMargin() - layout.RightMargin() - line.width;
    const bool justify = layout.Justified() && line.justifyFrom < len;
    if (layout.Alignment() == taLeftJustify || justify)
        left_ = layout.LeftMargin();
    else if (layout.Alignment() == taRightJustify)
        left_ = layout.textAreaWidth() - layout.RightMargin() - line.width;
    else
        left_ = layout.LeftMargin() + free / 2;
    left_ -= horzOffset;

    key_.layoutStamp = layout.layoutStamp();
    key_.par = &par;
    key_.text = par.text;
    key_.length = len;
    key_.lineStart = line.lineStart;
    key_.end = end_;
    key_.startStyle = line.startStyle;
    key_.fontStyle = layout.fontStyle();
    key_.staticFormat = layout.paragraphs().StaticFormat;
    key_.tabStops = layout.TabStops();
    key_.blankWidth = layout.blankWidth();
    key_.justifyFrom = line.justifyFrom;
    // Justification: widenBy pixels per counted blank, the remainder spread by an accumulator.
    if (justify && line.blankCount > 0 && free > 0) {
        key_.blankCount = line.blankCount;
        key_.widenBy = free / line.blankCount;
        key_.remainder = free % line.blankCount;
    }

    TLineWalkState start;
    start.offset = line.lineStart;
    start.inlineStyle = line.startStyle;
    start.justifyAcc = key_.remainder / 2;
    resume(start);
}

void TLineWalk::resume(const TLineWalkState &state)
{
    state_ = state;
    nextRun_ = runAfter(par_, state.offset);
}

TLineCell TLineWalk::next()
{
    TLineWalkState &s = state_;
    const auto c = static_cast<unsigned char>(par_.text[s.offset]);
    while (nextRun_ < par_.runCount() && par_.runPosition(nextRun_) <= s.offset)
        ++nextRun_;
    TLineCell cell;
    cell.offset = s.offset;
    cell.x = s.x;
    cell.run = nextRun_ > 0 ? &par_.runState(nextRun_ - 1) : par_.startRun();
    ++s.offset;
    if (key_.staticFormat && isStyleCode(c)) {
        s.inlineStyle ^= styleBitOf(c);
        cell.code = true;
        return cell;
    }
    cell.style = effectiveStyle(s.inlineStyle, *cell.run, key_.fontStyle);
    cell.special = hasSpecialUnderline(cell.run->style);
    const std::uint8_t measured = cell.style & kMeasuredStyleBits;
    if (c == '\t') {
        cell.width = tabAdvance(s.x, key_.tabStops, key_.blankWidth) - s.x;
    } else if (c == ' ') {
        cell.width = layout_.breaker().blankWidthIn(measured);
        if (key_.blankCount > 0 && cell.offset >= key_.justifyFrom) {
            cell.width += key_.widenBy;
            s.justifyAcc += key_.remainder;
            if (s.justifyAcc >= key_.blankCount) {
                ++cell.width;
                s.justifyAcc -= key_.blankCount;
            }
        }
    } else {
        cell.width = layout_.breaker().measurer().textWidth({par_.text + cell.offset, 1}, measured);
    }
    if (!cell.special)
        s.specialFrom = kNoSpecial;
    else if (s.specialFrom == kNoSpecial)
        s.specialFrom = s.x;
    cell.specialFrom = s.specialFrom;
    s.x += cell.width;
    return cell;
}

TLineCheckpoints::Line &TLineCheckpoints::lineFor(const TLineWalk &walk)
{
    for (Line &line : lines_)
        if (line.key == walk.key())
            return line;
    if (lines_.size() >= kLines)
        lines_.erase(lines_.begin());
    lines_.push_back({walk.key(), {walk.state()}});
    return lines_.back();
}

std::vector<TLineCell> TLineCheckpoints::cellsBetween(TLineWalk &walk, std::int32_t from, std::int32_t to)
{
    std::vector<TLineCell> cells;
    const std::int32_t lineStart = walk.key().lineStart;
    if (walk.end() - lineStart <= kStep) {
        while (!walk.atEnd() && walk.left() + walk.state().x < to)
            cells.push_back(walk.next());
        return cells;
    }
    Line &line = lineFor(walk);
    // x never falls along a line, so the states left of from are a prefix of the list.
    const auto after = std::partition_point(line.states.begin() + 1, line.states.end(),
                                            [&](const TLineWalkState &s) { return walk.left() + s.x < from; });
    walk.resume(*(after - 1));
    while (!walk.atEnd() && walk.left() + walk.state().x < to) {
        const TLineWalkState &s = walk.state();
        if (s.offset == lineStart + kStep * static_cast<std::int32_t>(line.states.size()))
            line.states.push_back(s);
        cells.push_back(walk.next());
    }
    return cells;
}

} // namespace velmora::core
