#include "debugger/DebugInfo.h"

#include <algorithm>
#include <cctype>

namespace velmora::debugger
{

std::optional<int> DebugInfo::lineAt(CodePlace place) const
{
    // The last line at or before the place; lines are ordered by address.
    const auto after = std::upper_bound(lines.begin(), lines.end(), place.linear(),
                                        [](std::uint32_t at, const LineAddress &l) { return at < l.place.linear(); });
    if (after == lines.begin())
        return std::nullopt;
    const LineAddress &found = *std::prev(after);
    if (found.place.frame != place.frame)
        return std::nullopt;
    return found.line;
}

std::optional<CodePlace> DebugInfo::placeOf(int line) const
{
    std::optional<CodePlace> first;
    for (const LineAddress &l : lines)
        if (l.line == line && (!first || l.place.linear() < first->linear()))
            first = l.place;
    return first;
}

std::optional<int> DebugInfo::lineWithCodeFrom(int line) const
{
    std::optional<int> best;
    for (const LineAddress &l : lines)
        if (l.line >= line && (!best || l.line < *best))
            best = l.line;
    return best;
}

const DebugSymbol *DebugInfo::symbol(const std::string &name) const
{
    const auto same = [&name](const std::string &other) {
        return other.size() == name.size() && std::equal(other.begin(), other.end(), name.begin(), [](char a, char b) {
                   return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
               });
    };
    const auto found = std::find_if(symbols.begin(), symbols.end(), [&](const DebugSymbol &s) { return same(s.name); });
    return found == symbols.end() ? nullptr : &*found;
}

} // namespace velmora::debugger
