// TLineWidths: how many stored display lines have each pixel width, so that the widest line
// is known after any edit without a walk over the paragraphs. A line that gets wider raises
// the maximum at once; when the widest line shrinks or goes, the next width down is the new
// maximum. Lines of width 0 (never laid out) are not counted.
// Invariant: every stored line of positive width is counted exactly once.
#pragma once

#include <cstdint>
#include <map>

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
    void clear() { counts_.clear(); }
    std::int32_t widest() const { return counts_.empty() ? 0 : counts_.rbegin()->first; }

private:
    std::map<std::int32_t, std::int32_t> counts_; // width -> number of lines
};

} // namespace velmora::core
