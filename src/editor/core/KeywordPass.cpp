// The keyword pass of TSourceHighlightEngine: one run per keyword match in a paragraph.

#include "editor/core/HighlightRuns.h"
#include "editor/core/SourceHighlightEngine.h"
#include "editor/core/SourceHighlighter.h"
#include "editor/core/SourceMemoCore.h"

#include <bitset>
#include <vector>

namespace velmora::core
{

namespace
{

// Matched and forbidden characters are blanked with this code so that no later keyword matches them.
constexpr char kBlank = 5;
constexpr std::size_t kBatchSize = 16;

struct KeywordMatch {
    int keyword;
    std::int32_t at;
    std::int32_t length;
};

std::bitset<256> bytesOf(const std::string &text)
{
    std::bitset<256> present;
    for (const char c : text)
        present.set(static_cast<unsigned char>(c));
    return present;
}

} // namespace

void TSourceHighlightEngine::keywordPass(std::int32_t p)
{
    TParagraphsList &store = paragraphs();
    ParInfo &par = *store.par(p);
    const std::int32_t len = par.length();
    if (highlighter_) {
        THighlightScan scan{*this, p, 0, len};
        highlighter_->HighlightKeywords(scan, Keywords.Count());
    }
    if (!ApplyKeyWords || Keywords.Count() == 0 || len == 0)
        return;
    if (forbidsKeywords(*par.startRun()) && par.runCount() == 0)
        return;

    const bool allMatchCase = Keywords.SummaryFlags() & kSummaryAllMatchCase;
    const std::string_view text = store.textOf(p);
    raw_.assign(text);
    if (!allMatchCase)
        folded_.assign(folded(p, 0, len), static_cast<std::size_t>(len));
    // Blank the text in force of runs that forbid keywords.
    for (std::int32_t r = -1; r < par.runCount(); ++r) {
        const RunInfo &run = r < 0 ? *par.startRun() : par.run(r);
        if (!forbidsKeywords(run))
            continue;
        const auto from = static_cast<std::size_t>(r < 0 ? 0 : run.position);
        const auto to = static_cast<std::size_t>(r + 1 < par.runCount() ? par.run(r + 1).position : len);
        if (from >= to)
            continue;
        raw_.replace(from, to - from, to - from, kBlank);
        if (!allMatchCase)
            folded_.replace(from, to - from, to - from, kBlank);
    }
    const std::bitset<256> rawBytes = bytesOf(raw_);
    const std::bitset<256> foldedBytes = allMatchCase ? std::bitset<256>() : bytesOf(folded_);

    std::vector<KeywordMatch> batch;
    bool applied = false;
    const auto applyBatch = [&] {
        for (const KeywordMatch &m : batch) {
            const RunInfo &state = runInForce(par, m.at);
            if (runLevel(state) >= kMaxRunLevel)
                continue;
            const auto length = static_cast<std::int16_t>(m.length);
            RunInfo run =
                openSpanRun(state, Keywords.Item(m.keyword), static_cast<std::int16_t>(m.keyword), length, length);
            run.collapseDepth = 0;
            putRunInForce(par, m.at, m.at + m.length, run);
            applied = true;
        }
        batch.clear();
    };

    for (int k = 0; k < Keywords.Count(); ++k) {
        const TKeyInfoLen &key = Keywords.Item(k);
        if (key.ContextNum == 0 || key.KeyLength <= 0 || key.KeyLength > len || key.KeyLength > 32767)
            continue;
        const bool matchCase = key.KeyOptions & kOptMatchCase;
        std::string &buffer = matchCase ? raw_ : folded_;
        if (!(matchCase ? rawBytes : foldedBytes).test(static_cast<unsigned char>(key.MatchText[0])))
            continue;
        const bool wholeWords = key.KeyOptions & kOptWholeWords;
        const auto n = static_cast<std::size_t>(key.KeyLength);
        for (std::size_t f = buffer.find(key.MatchText); f != std::string::npos; f = buffer.find(key.MatchText, f)) {
            if (wholeWords && ((f > 0 && !isSeparator(static_cast<unsigned char>(text[f - 1]))) ||
                               (f + n < text.size() && !isSeparator(static_cast<unsigned char>(text[f + n]))))) {
                ++f;
                continue;
            }
            if (batch.size() == kBatchSize)
                applyBatch();
            batch.push_back({k, static_cast<std::int32_t>(f), key.KeyLength});
            raw_.replace(f, n, n, kBlank);
            if (!allMatchCase)
                folded_.replace(f, n, n, kBlank);
            f += n;
        }
    }
    applyBatch();
    if (applied)
        runsChanged(p);
}

} // namespace velmora::core
