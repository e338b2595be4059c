// TLineWidths: how many stored display lines have each pixel width, so that the widest line
// is known after any edit without a walk over the paragraphs. A line that gets wider raises
// the maximum at once; when the widest line shrinks or goes, the next width down is the new
// maximum. Lines of width 0 (never laid out) are not counted.
// Invariant: every stored line of positive width is counted exactly once.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

namespace velmora::core
{

struct ParInfo;

class TLineWidths
{
public:
    void add(std::int32_t width);
    void remove(std::int32_t width);
    // add() or remove() every line of the paragraph.
    void addLines(const ParInfo &par);
    void removeLines(const ParInfo &par);
    void clear();
    std::int32_t widest() const { return wide_.empty() ? widestNarrow_ : wide_.rbegin()->first; }

private:
    // Widths below this are counted in a flat table: adding and removing is an index.
    static constexpr std::int32_t kNarrowWidths = 65536;
    std::vector<std::int32_t> narrow_;          // width -> number of lines
    std::int32_t widestNarrow_ = 0;             // the widest counted width in narrow_, 0 when none
    std::map<std::int32_t, std::int32_t> wide_; // width -> number of lines, for the rest
};

} // namespace velmora::core
