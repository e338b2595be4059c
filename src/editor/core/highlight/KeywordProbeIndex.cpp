#include "editor/core/highlight/KeywordProbeIndex.h"

#include <algorithm>

namespace velmora::core
{

PresentBytes::PresentBytes(std::string_view text)
{
    unsigned char previous = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        single[c] = true;
        if (i > 0)
            pairs[pairKey(previous, c)] = true;
        previous = c;
    }
}

bool PresentBytes::mayHold(std::string_view start) const
{
    const auto a = static_cast<unsigned char>(start[0]);
    return start.size() == 1 ? single[a] : pairs[pairKey(a, static_cast<unsigned char>(start[1]))];
}

void KeywordProbeIndex::clear()
{
    for (auto &keywords : bySingle_)
        keywords.clear();
    for (auto &keywords : byPair_)
        keywords.clear();
}

void KeywordProbeIndex::file(int keyword, std::string_view start)
{
    const auto a = static_cast<unsigned char>(start[0]);
    if (start.size() == 1)
        bySingle_[a].push_back(keyword);
    else
        byPair_[PresentBytes::pairKey(a, static_cast<unsigned char>(start[1]))].push_back(keyword);
}

void KeywordProbeIndex::candidates(std::string_view raw, std::string_view folded, std::vector<int> &out) const
{
    out.clear();
    std::bitset<256> seenSingle;
    std::bitset<PresentBytes::kPairs> seenPair;
    for (const std::string_view text : {raw, folded}) {
        unsigned char previous = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            if (!seenSingle[c]) {
                seenSingle[c] = true;
                out.insert(out.end(), bySingle_[c].begin(), bySingle_[c].end());
            }
            const std::size_t pair = PresentBytes::pairKey(previous, c);
            if (i > 0 && !seenPair[pair]) {
                seenPair[pair] = true;
                out.insert(out.end(), byPair_[pair].begin(), byPair_[pair].end());
            }
            previous = c;
        }
    }
    std::sort(out.begin(), out.end());
}

} // namespace velmora::core
