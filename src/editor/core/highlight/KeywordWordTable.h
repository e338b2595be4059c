// KeywordWordTable: keywords filed by the word they match. A whole-words keyword whose match
// text is a word, perhaps after separators (".MODEL"), can match only where a word of the text
// is exactly its word and its separators stand right before it; so the keyword pass looks each
// word of a paragraph up once instead of searching the paragraph for every keyword.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::core
{

class KeywordWordTable
{
public:
    void clear();
    // Files keyword, whose match text is prefix then word, compared with the raw text when
    // matchCase is set and with the folded text otherwise.
    void file(int keyword, std::string_view prefix, std::string_view word, bool matchCase);
    // Calls f(keyword, prefix, matchCase) for every keyword filed under word: the raw word for
    // match-case keywords, the folded word for the others.
    template <class F> void forEachFiled(std::string_view raw, std::string_view folded, F f) const
    {
        visit(raw_, raw, true, f);
        visit(folded_, folded, false, f);
    }
    // The length of the longest word filed.
    std::size_t longest() const { return longest_; }

private:
    struct Entry {
        std::int32_t keyword = -1; // -1: an empty slot
        std::uint32_t offset = 0;  // of the prefix, then the word, in texts_
        std::uint16_t prefixLength = 0;
        std::uint16_t wordLength = 0;
        std::uint32_t hash = 0; // of the word: most other words filed nearby differ in it
    };
    // An open-addressing table of one comparison kind, keyed by the word, its size a power of two.
    struct Table {
        std::vector<Entry> entries;
        std::size_t used = 0;
    };
    static std::uint32_t hashOf(std::string_view text);
    std::string_view prefixOf(const Entry &e) const
    {
        return std::string_view(texts_).substr(e.offset, e.prefixLength);
    }
    std::string_view wordOf(const Entry &e) const
    {
        return std::string_view(texts_).substr(e.offset + e.prefixLength, e.wordLength);
    }
    // Files entry, whose texts are already in texts_, in a table with a free slot.
    void insert(Table &table, const Entry &entry);
    template <class F> void visit(const Table &table, std::string_view word, bool matchCase, F &f) const
    {
        if (table.used == 0)
            return;
        const std::size_t mask = table.entries.size() - 1;
        const std::uint32_t hash = hashOf(word);
        for (std::size_t i = hash & mask; table.entries[i].keyword >= 0; i = (i + 1) & mask) {
            const Entry &e = table.entries[i];
            if (e.hash == hash && e.wordLength == word.size() && wordOf(e) == word)
                f(e.keyword, prefixOf(e), matchCase);
        }
    }

    Table raw_;
    Table folded_;
    std::string texts_;
    std::size_t longest_ = 0;
};

} // namespace velmora::core
