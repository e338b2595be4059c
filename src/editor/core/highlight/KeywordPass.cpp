// The keyword pass of TSourceHighlightEngine: one run per keyword match in a paragraph.

#include "editor/core/editing/SourceMemoCore.h"
#include "editor/core/highlight/HighlightRuns.h"
#include "editor/core/highlight/SourceHighlightEngine.h"
#include "editor/core/highlight/SourceHighlighter.h"

#include <algorithm>
#include <vector>

namespace velmora::core
{

namespace
{

// Matched and forbidden characters are blanked with this code so that no later keyword matches them.
constexpr char kBlank = 5;
// Keyword indexes go into 16-bit run stack entries.
constexpr int kMaxKeywordEntries = 32768;
// Beside word keywords, at most this many others are searched for one by one.
constexpr std::size_t kMostOtherKeywords = 8;

} // namespace

const std::vector<TSourceHighlightEngine::KeywordProbe> &TSourceHighlightEngine::keywordProbes()
{
    const auto count = static_cast<std::size_t>(std::min(Keywords.Count(), kMaxKeywordEntries));
    if (probes_.size() != count || probedLongest_ != Keywords.LongestKeyword() ||
        probedSummary_ != Keywords.SummaryFlags()) {
        probes_.assign(count, {});
        probeIndex_.clear();
        wordTable_.clear();
        otherKeywords_.clear();
        bool anyFoldedWord = false;
        for (std::size_t k = 0; k < count; ++k) {
            const TKeyInfoLen &key = Keywords.Item(static_cast<int>(k));
            KeywordProbe &probe = probes_[k];
            probe.active = key.ContextNum != 0 && key.KeyLength > 0 && key.KeyLength <= 32767;
            probe.start = probe.active ? key.MatchText.substr(0, 2) : std::string();
            probe.matchCase = key.KeyOptions & kOptMatchCase;
            if (!probe.active)
                continue;
            probeIndex_.file(static_cast<int>(k), probe.start);
            if (isWordKeyword(static_cast<int>(k))) {
                const std::string_view text = key.MatchText;
                const std::size_t word = wordStart(text);
                wordTable_.file(static_cast<int>(k), text.substr(0, word), text.substr(word), probe.matchCase);
                anyFoldedWord = anyFoldedWord || !probe.matchCase;
            } else {
                otherKeywords_.push_back(static_cast<int>(k));
            }
        }
        // A blank in another keyword could match where a word keyword blanked its word.
        const bool othersFew = otherKeywords_.size() <= kMostOtherKeywords &&
                               std::none_of(otherKeywords_.begin(), otherKeywords_.end(), [&](int k) {
                                   return Keywords.Item(k).MatchText.find(kBlank) != std::string::npos;
                               });
        byWords_ = othersFew && (!anyFoldedWord || foldingKeepsWords());
        probedLongest_ = Keywords.LongestKeyword();
        probedSummary_ = Keywords.SummaryFlags();
    }
    return probes_;
}

std::size_t TSourceHighlightEngine::wordStart(std::string_view text) const
{
    std::size_t i = 0;
    while (i < text.size() && isSeparator(static_cast<unsigned char>(text[i])))
        ++i;
    return i;
}

bool TSourceHighlightEngine::isWordKeyword(int k) const
{
    const TKeyInfoLen &key = Keywords.Item(k);
    const std::string_view text = key.MatchText;
    const std::size_t word = wordStart(text);
    return (key.KeyOptions & kOptWholeWords) && word < text.size() && text.find(kBlank) == std::string_view::npos &&
           std::none_of(text.begin() + static_cast<std::ptrdiff_t>(word), text.end(),
                        [&](char c) { return isSeparator(static_cast<unsigned char>(c)); });
}

bool TSourceHighlightEngine::foldingKeepsWords() const
{
    if (memo_.UpperCaseType() == smuUserDefined && userUpperCaseHook())
        return false; // the application's folding is not known byte by byte
    const std::array<char, 256> folded = foldedBytes();
    for (int c = 1; c <= 255; ++c)
        if (isSeparator(static_cast<unsigned char>(c)) != isSeparator(static_cast<unsigned char>(folded[c])))
            return false;
    return true;
}

std::array<char, 256> TSourceHighlightEngine::foldedBytes() const
{
    std::array<char, 256> bytes;
    for (int c = 0; c < 256; ++c)
        bytes[static_cast<std::size_t>(c)] = static_cast<char>(c);
    foldUpper(bytes.data() + 1, bytes.size() - 1, memo_.UpperCaseType()); // byte 0 ends a C string
    return bytes;
}

void TSourceHighlightEngine::blank(std::size_t at, std::size_t n, bool allMatchCase)
{
    if (raw_.data() != rawBuffer_.data()) {
        rawBuffer_.assign(raw_);
        raw_ = rawBuffer_;
        if (!allMatchCase) {
            foldedBuffer_.assign(folded_);
            folded_ = foldedBuffer_;
        }
    }
    std::fill_n(rawBuffer_.begin() + static_cast<std::ptrdiff_t>(at), n, kBlank);
    if (!allMatchCase)
        std::fill_n(foldedBuffer_.begin() + static_cast<std::ptrdiff_t>(at), n, kBlank);
}

void TSourceHighlightEngine::prepareKeywordBuffers(std::int32_t p, std::string_view text, bool allMatchCase,
                                                   bool blankForbidden)
{
    const ParInfo &par = *paragraphs().par(p);
    const auto len = static_cast<std::int32_t>(text.size());
    raw_ = text;
    // The start-stop pass has usually folded this paragraph already.
    folded_ = allMatchCase ? std::string_view() : std::string_view(matchText(p, false), text.size());
    forbidden_.clear();
    for (std::int32_t r = -1; r < par.runCount(); ++r) {
        const RunState &run = r < 0 ? *par.startRun() : par.runState(r);
        if (!forbidsKeywords(run))
            continue;
        const std::int32_t from = r < 0 ? 0 : par.runPosition(r);
        const std::int32_t to = r + 1 < par.runCount() ? par.runPosition(r + 1) : len;
        if (from >= to)
            continue;
        if (blankForbidden)
            blank(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from), allMatchCase);
        else
            forbidden_.push_back({from, to});
    }
}

bool TSourceHighlightEngine::touchesForbidden(std::int32_t from, std::int32_t to) const
{
    return std::any_of(forbidden_.begin(), forbidden_.end(),
                       [&](const Stretch &f) { return f.from < to && from < f.to; });
}

void TSourceHighlightEngine::findWordKeywords(std::string_view text, bool allMatchCase)
{
    const auto len = static_cast<std::int32_t>(text.size());
    const auto longest = static_cast<std::int32_t>(wordTable_.longest());
    const SeparatorSet &separators = memo_.Separators();
    const auto separatorAt = [&](std::int32_t i) {
        return separators[static_cast<unsigned char>(text[static_cast<std::size_t>(i)])];
    };
    for (std::int32_t i = 0; i < len;) {
        if (separatorAt(i)) {
            ++i;
            continue;
        }
        std::int32_t end = i + 1;
        while (end < len && !separatorAt(end))
            ++end;
        const auto at = static_cast<std::size_t>(i);
        const auto n = static_cast<std::size_t>(end - i);
        const std::string_view raw = raw_.substr(at, n);
        if (end - i <= longest && !touchesForbidden(i, end)) {
            const std::string_view folded =
                allMatchCase ? std::string_view() : folded_.substr(at, n);
            // The first keyword whose separators, if any, stand before the word, themselves
            // after a separator or at the paragraph start.
            int best = -1;
            std::int32_t bestPrefix = 0;
            wordTable_.forEachFiled(raw, folded, [&](int k, std::string_view prefix, bool matchCase) {
                const auto from = i - static_cast<std::int32_t>(prefix.size());
                if (from < 0 || (best >= 0 && k > best) || (from > 0 && !separatorAt(from - 1)) ||
                    touchesForbidden(from, i) ||
                    (matchCase ? raw_ : folded_).substr(static_cast<std::size_t>(from), prefix.size()) != prefix)
                    return;
                best = k;
                bestPrefix = static_cast<std::int32_t>(prefix.size());
            });
            if (best >= 0)
                matches_.push_back({best, i - bestPrefix, end - i + bestPrefix});
        }
        i = end;
    }
}

void TSourceHighlightEngine::searchKeywords(const std::vector<int> &keywords, std::string_view text, bool allMatchCase)
{
    const std::vector<KeywordProbe> &probes = probes_; // keywordPass brought them up to date
    for (const int k : keywords) {
        const TKeyInfoLen &key = Keywords.Item(k);
        if (key.KeyLength > static_cast<std::int32_t>(text.size()))
            continue;
        const bool matchCase = probes[static_cast<std::size_t>(k)].matchCase;
        const bool wholeWords = key.KeyOptions & kOptWholeWords;
        const auto n = static_cast<std::size_t>(key.KeyLength);
        // Blanking may move the text into the buffers: the view is taken afresh for each search.
        const auto searched = [&] { return matchCase ? raw_ : folded_; };
        for (std::size_t f = searched().find(key.MatchText); f != std::string_view::npos;
             f = searched().find(key.MatchText, f)) {
            if ((wholeWords && ((f > 0 && !isSeparator(static_cast<unsigned char>(text[f - 1]))) ||
                                (f + n < text.size() && !isSeparator(static_cast<unsigned char>(text[f + n]))))) ||
                touchesForbidden(static_cast<std::int32_t>(f), static_cast<std::int32_t>(f + n))) {
                ++f;
                continue;
            }
            matches_.push_back({k, static_cast<std::int32_t>(f), key.KeyLength});
            blank(f, n, allMatchCase);
            f += n;
        }
    }
}

void TSourceHighlightEngine::findAnyKeywords(std::string_view text, bool allMatchCase)
{
    const PresentBytes rawBytes(raw_);
    const PresentBytes foldedBytes = allMatchCase ? PresentBytes() : PresentBytes(folded_);
    const std::vector<KeywordProbe> &probes = probes_; // keywordPass brought them up to date
    probeIndex_.candidates(raw_, folded_, candidates_);
    std::erase_if(candidates_, [&](int k) {
        const KeywordProbe &probe = probes[static_cast<std::size_t>(k)];
        return !(probe.matchCase ? rawBytes : foldedBytes).mayHold(probe.start);
    });
    searchKeywords(candidates_, text, allMatchCase);
}

void TSourceHighlightEngine::keywordPass(std::int32_t p)
{
    TParagraphsList &store = paragraphs();
    ParInfo &par = *store.par(p);
    const std::int32_t len = par.length();
    if (highlighter_) {
        THighlightScan scan{*this, p, 0, len};
        highlighter_->HighlightKeywords(scan, Keywords.Count(), StartStopKeys.Count());
    }
    if (!ApplyKeyWords || Keywords.Count() == 0 || len == 0)
        return;
    if (forbidsKeywords(*par.startRun()) && par.runCount() == 0)
        return;

    const bool allMatchCase = Keywords.SummaryFlags() & kSummaryAllMatchCase;
    const std::string_view text = store.textOf(p);
    keywordProbes();
    // Word keywords hold no blank, so they can skip forbidden stretches instead of finding them
    // blanked; a search for any keyword needs them blanked.
    prepareKeywordBuffers(p, text, allMatchCase, !byWords_);
    matches_.clear();
    if (byWords_) {
        // Word matches come in text order; the searched ones after them.
        findWordKeywords(text, allMatchCase);
        const auto words = static_cast<std::ptrdiff_t>(matches_.size());
        searchKeywords(otherKeywords_, text, allMatchCase);
        const auto overlapsWord = [&](const KeywordMatch &m) {
            const auto after = std::upper_bound(matches_.begin(), matches_.begin() + words, m.at + m.length - 1,
                                                [](std::int32_t at, const KeywordMatch &w) { return at < w.at; });
            return after != matches_.begin() && std::prev(after)->at + std::prev(after)->length > m.at;
        };
        if (std::any_of(matches_.begin() + words, matches_.end(), overlapsWord)) {
            matches_.clear();
            prepareKeywordBuffers(p, text, allMatchCase, true);
            findAnyKeywords(text, allMatchCase);
        }
    } else {
        findAnyKeywords(text, allMatchCase);
    }

    // Matches do not overlap and each puts back the state in force after it, so applying them
    // in any order gives the same runs.
    bool applied = false;
    for (const KeywordMatch &m : matches_)
        applied |= spanStates_.put(par, m.at, m.at + m.length, Keywords.Item(m.keyword),
                                   static_cast<std::int16_t>(m.keyword), true);
    if (applied)
        runsChanged(p);
}

} // namespace velmora::core
