#include "editor/core/editing/TextSearch.h"

#include "editor/core/editing/SourceMemoCore.h"

#include <climits>
#include <string>

namespace velmora::core
{

namespace
{

class TTextSearch
{
public:
    TTextSearch(TSourceMemoCore &memo, std::string_view text, bool matchCase, bool wholeWord)
        : memo_(memo), pattern_(text), matchCase_(matchCase), wholeWord_(wholeWord)
    {
        if (!matchCase_)
            foldUpper(pattern_.data(), pattern_.size(), memo_.UpperCaseType());
    }

    std::int32_t length() const { return static_cast<std::int32_t>(pattern_.size()); }

    // The first accepted occurrence in paragraph par at or after offset from, or -1.
    std::int32_t find(std::int32_t par, std::int32_t from)
    {
        const std::string_view text = paragraph(par);
        if (from < 0 || from > static_cast<std::int32_t>(text.size()))
            return -1;
        for (std::size_t q = text.find(pattern_, static_cast<std::size_t>(from)); q != std::string_view::npos;
             q = text.find(pattern_, q + 1)) {
            if (!wholeWord_ || boundedBySeparators(text, q))
                return static_cast<std::int32_t>(q);
        }
        return -1;
    }

private:
    // The paragraph as compared: its own characters, or its folded copy from the memo's cache.
    std::string_view paragraph(std::int32_t par)
    {
        const std::int32_t len = memo_.paragraphs().lengthOf(par);
        if (matchCase_)
            return memo_.paragraphs().textOf(par);
        return {memo_.upperCased(par, 0, len), static_cast<std::size_t>(len)};
    }

    bool boundedBySeparators(std::string_view text, std::size_t q) const
    {
        const SeparatorSet &separators = memo_.Separators();
        const std::size_t after = q + pattern_.size();
        return (q == 0 || separators[static_cast<unsigned char>(text[q - 1])]) &&
               (after == text.size() || separators[static_cast<unsigned char>(text[after])]);
    }

    TSourceMemoCore &memo_;
    std::string pattern_;
    bool matchCase_;
    bool wholeWord_;
};

} // namespace

bool SearchText(TSourceMemoCore &memo, std::string_view text, bool down, bool matchCase, bool wholeWord, bool fromEnds)
{
    if (text.empty() || text.find('\0') != std::string_view::npos)
        return false;
    TTextSearch search(memo, text, matchCase, wholeWord);
    const TParagraphsList &pars = memo.paragraphs();
    const std::int32_t last = pars.count() - 1;
    std::int32_t n = fromEnds ? (down ? 0 : last) : memo.SelPar();
    std::int32_t start = fromEnds ? (down ? 0 : pars.lengthOf(n)) : memo.SelStart() - pars.startOf(n);
    const std::int32_t len = search.length();

    if (down) {
        for (; n <= last; ++n, start = 0) {
            const std::int32_t q = search.find(n, start);
            if (q >= 0) {
                memo.setSelLength(0);
                memo.setSelStart(pars.startOf(n) + q + len);
                memo.setSelLength(-len);
                return true;
            }
        }
        return false;
    }

    // Upward: the last occurrence that starts before the limit (the caret, then no limit).
    for (std::int32_t limit = start; n >= 0; --n, limit = INT32_MAX) {
        std::int32_t found = search.find(n, 0);
        if (found < 0 || found >= limit)
            continue;
        for (std::int32_t next = search.find(n, found + 1); next >= 0 && next < limit; next = search.find(n, next + 1))
            found = next;
        memo.setSelStart(pars.startOf(n) + found);
        memo.setSelLength(len);
        return true;
    }
    return false;
}

} // namespace velmora::core
