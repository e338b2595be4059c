#include "editor/core/highlight/KeywordWordTable.h"

#include <algorithm>

namespace velmora::core
{

void KeywordWordTable::clear()
{
    raw_ = {};
    folded_ = {};
    texts_.clear();
    longest_ = 0;
}

std::uint32_t KeywordWordTable::hashOf(std::string_view text)
{
    std::uint32_t h = 2166136261u;
    for (const char c : text)
        h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h ^ h >> 16;
}

void KeywordWordTable::file(int keyword, std::string_view prefix, std::string_view word, bool matchCase)
{
    Table &table = matchCase ? raw_ : folded_;
    if ((table.used + 1) * 2 > table.entries.size()) {
        // Grow to keep the table at most half full.
        Table grown;
        grown.entries.resize(table.entries.empty() ? 16 : table.entries.size() * 2);
        for (const Entry &e : table.entries)
            if (e.keyword >= 0)
                insert(grown, e);
        table = std::move(grown);
    }
    const Entry entry{keyword, static_cast<std::uint32_t>(texts_.size()), static_cast<std::uint16_t>(prefix.size()),
                      static_cast<std::uint16_t>(word.size()), hashOf(word)};
    texts_.append(prefix);
    texts_.append(word);
    insert(table, entry);
    longest_ = std::max(longest_, word.size());
}

void KeywordWordTable::insert(Table &table, const Entry &entry)
{
    const std::size_t mask = table.entries.size() - 1;
    std::size_t i = entry.hash & mask;
    while (table.entries[i].keyword >= 0)
        i = (i + 1) & mask;
    table.entries[i] = entry;
    ++table.used;
}

} // namespace velmora::core
