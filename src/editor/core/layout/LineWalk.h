// Walking the characters of one display line as they are drawn: each character's x from the
// line's left x, its width and its effective style. Tabs reach the next tab stop, blanks after
// the justify-from offset are widened on a justified line, and inline style codes (with
// StaticFormat) take no width. LineGeometry.h gives its cells to painting, caret placement
// and hit-testing alike.
//
// TLineCheckpoints keeps the walk's state every kStep characters of long lines, so that
// painting a long line measures only what lies in the window, not the whole line before it.
#pragma once

#include "editor/core/store/ParagraphRecord.h"

#include <climits>
#include <cstdint>
#include <vector>

namespace velmora::core
{

class TLayoutEngine;

constexpr std::int32_t kNoSpecial = INT_MIN;

struct TLineCell {
    std::int32_t offset = 0; // in the paragraph
    std::int32_t x = 0;      // from the line's left x
    std::int32_t width = 0;
    std::uint8_t style = 0; // effective style (0 for a style code)
    bool code = false;      // an inline style code: no width, never drawn
    bool special = false;   // drawn with the special underline
    // With special: x where the stretch of special underline that holds the character began.
    std::int32_t specialFrom = kNoSpecial;
    const RunState *run = nullptr;
};

// Where a walk stands: before the character at offset.
struct TLineWalkState {
    std::int32_t offset = 0;
    std::int32_t x = 0;
    std::uint8_t inlineStyle = 0;
    std::int32_t justifyAcc = 0; // spreads the remainder of the justification
    std::int32_t specialFrom = kNoSpecial;
};

// Everything that decides the x of a line's characters: equal keys, equal walks.
struct TLineWalkKey {
    std::uint64_t layoutStamp = 0;
    const ParInfo *par = nullptr;
    const char *text = nullptr;
    std::int32_t length = 0;
    std::int32_t lineStart = 0;
    std::int32_t end = 0;
    std::uint8_t startStyle = 0;
    std::uint8_t fontStyle = 0;
    bool staticFormat = false;
    std::int32_t tabStops = 0;
    std::int32_t blankWidth = 0;
    std::int32_t justifyFrom = 0;
    std::int32_t blankCount = 0; // the justified blanks
    std::int32_t widenBy = 0;    // pixels added to each of them
    std::int32_t remainder = 0;  // pixels spread over them
    bool operator==(const TLineWalkKey &) const = default;
};

class TLineWalk
{
public:
    // The walk of a line in a window scrolled horizontally to horzOffset.
    TLineWalk(TLayoutEngine &layout, const ParInfo &par, const LineInfo &line, std::int32_t horzOffset);

    // The line's left x in window pixels: margin, alignment and horizontal scroll applied.
    std::int32_t left() const { return left_; }
    // The offset after the line's last character.
    std::int32_t end() const { return end_; }
    bool atEnd() const { return state_.offset >= end_; }
    const TLineWalkState &state() const { return state_; }
    const TLineWalkKey &key() const { return key_; }
    // Continues from a state that an equal walk reached.
    void resume(const TLineWalkState &state);
    // Measures the character at the walk's offset and steps past it.
    TLineCell next();

private:
    TLayoutEngine &layout_;
    const ParInfo &par_;
    TLineWalkKey key_;
    std::int32_t left_ = 0;
    std::int32_t end_ = 0;
    TLineWalkState state_;
    std::int32_t nextRun_ = 0; // index of the first run after the walk's offset
};

class TLineCheckpoints
{
public:
    static constexpr std::int32_t kStep = 512;
    // Lines remembered at a time; the oldest goes first.
    static constexpr std::size_t kLines = 16;

    // The cells of the walk's line from the last one before window x from (every cell before
    // it ends left of from) to the first one at or right of window x to, or the line end. The
    // walk stands after the last cell returned.
    std::vector<TLineCell> cellsBetween(TLineWalk &walk, std::int32_t from, std::int32_t to);

private:
    struct Line {
        TLineWalkKey key;
        std::vector<TLineWalkState> states; // states[i] stands at lineStart + i * kStep
    };
    Line &lineFor(const TLineWalk &walk);

    std::vector<Line> lines_;
};

} // namespace velmora::core
