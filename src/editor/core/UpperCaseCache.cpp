#include "editor/core/UpperCaseCache.h"

#include "editor/core/ParagraphsList.h"

#include <algorithm>

namespace velmora::core
{

const char *TUpperCaseCache::fold(const TParagraphsList &store, std::int32_t par, std::int32_t first, std::int32_t len,
                                  TsmUpperCase type)
{
    const std::string_view text = store.textOf(par);
    first = std::clamp(first, 0, static_cast<std::int32_t>(text.size()));
    len = std::clamp(len, 0, static_cast<std::int32_t>(text.size()) - first);
    const auto foldPart = [&](std::int32_t from, std::int32_t to) {
        std::string part(text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from)));
        foldUpper(part.data(), part.size(), type);
        return part;
    };
    const std::int32_t cachedEnd = first_ + static_cast<std::int32_t>(folded_.size());
    if (par == par_ && first <= cachedEnd && first + len >= first_) {
        if (first < first_) {
            folded_.insert(0, foldPart(first, first_));
            first_ = first;
        }
        if (first + len > cachedEnd)
            folded_ += foldPart(cachedEnd, first + len);
    } else {
        par_ = par;
        first_ = first;
        folded_ = foldPart(first, first + len);
    }
    return folded_.data() + (first - first_);
}

} // namespace velmora::core
