#include "editor/core/layout/LineWidths.h"

#include "editor/core/store/ParagraphRecord.h"

#include <algorithm>

namespace velmora::core
{

void TLineWidths::add(std::int32_t width)
{
    if (width <= 0)
        return;
    if (width >= kNarrowWidths) {
        ++wide_[width];
        return;
    }
    const auto w = static_cast<std::size_t>(width);
    if (w >= narrow_.size())
        narrow_.resize(std::min(std::max(w + 1, narrow_.size() * 2), static_cast<std::size_t>(kNarrowWidths)));
    ++narrow_[w];
    widestNarrow_ = std::max(widestNarrow_, width);
}

void TLineWidths::remove(std::int32_t width)
{
    if (width <= 0)
        return;
    if (width >= kNarrowWidths) {
        const auto it = wide_.find(width);
        if (it != wide_.end() && --it->second == 0)
            wide_.erase(it);
        return;
    }
    const auto w = static_cast<std::size_t>(width);
    if (w >= narrow_.size() || narrow_[w] == 0)
        return;
    if (--narrow_[w] == 0 && width == widestNarrow_)
        while (widestNarrow_ > 0 && narrow_[static_cast<std::size_t>(widestNarrow_)] == 0)
            --widestNarrow_;
}

void TLineWidths::clear()
{
    narrow_.clear();
    widestNarrow_ = 0;
    wide_.clear();
}

void TLineWidths::addLines(const ParInfo &par)
{
    for (std::int32_t l = 0; l < par.lineCount(); ++l)
        add(par.lineInfo(l).width);
}

void TLineWidths::removeLines(const ParInfo &par)
{
    for (std::int32_t l = 0; l < par.lineCount(); ++l)
        remove(par.lineInfo(l).width);
}

} // namespace velmora::core
