#include "editor/core/store/UpperCaseCache.h"

#include "editor/core/store/ParagraphsList.h"

#include <algorithm>

namespace velmora::core
{

const char *TUpperCaseCache::fold(const TParagraphsList &store, std::int32_t par, std::int32_t first, std::int32_t len,
                                  TsmUpperCase type)
{
    const std::string_view text = store.textOf(par);
    first = std::clamp(first, 0, static_cast<std::int32_t>(text.size()));
    len = std::clamp(len, 0, static_cast<std::int32_t>(text.size()) - first);
    // Copies [from, to) of the text to folded_ at index at (replacing nothing) and folds it there.
    const auto foldInto = [&](std::size_t at, std::int32_t from, std::int32_t to) {
        const auto n = static_cast<std::size_t>(to - from);
        folded_.insert(at, text.substr(static_cast<std::size_t>(from), n));
        foldUpper(folded_.data() + at, n, type);
    };
    const std::int32_t cachedEnd = first_ + static_cast<std::int32_t>(folded_.size());
    if (par == par_ && first <= cachedEnd && first + len >= first_) {
        if (first < first_) {
            foldInto(0, first, first_);
            first_ = first;
        }
        if (first + len > cachedEnd)
            foldInto(folded_.size(), cachedEnd, first + len);
    } else {
        par_ = par;
        first_ = first;
        folded_.clear(); // keeps its buffer for the next paragraph
        foldInto(0, first, first + len);
    }
    return folded_.data() + (first - first_);
}

} // namespace velmora::core
