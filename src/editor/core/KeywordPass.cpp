// The keyword pass of TSourceHighlightEngine: one run per keyword match in a paragraph.

#include "editor/core/HighlightRuns.h"
#include "editor/core/SourceHighlightEngine.h"
#include "editor/core/SourceHighlighter.h"
#include "editor/core/SourceMemoCore.h"

#include <algorithm>
#include <vector>

namespace velmora::core
{

namespace
{

// Matched and forbidden characters are blanked with this code so that no later keyword matches them.
constexpr char kBlank = 5;
constexpr std::size_t kBatchSize = 16;
// Keyword indexes go into 16-bit run stack entries.
constexpr int kMaxKeywordEntries = 32768;

struct KeywordMatch {
    int keyword;
    std::int32_t at;
    std::int32_t length;
};

} // namespace

const std::vector<TSourceHighlightEngine::KeywordProbe> &TSourceHighlightEngine::keywordProbes()
{
    const auto count = static_cast<std::size_t>(std::min(Keywords.Count(), kMaxKeywordEntries));
    if (probes_.size() != count || probedLongest_ != Keywords.LongestKeyword() ||
        probedSummary_ != Keywords.SummaryFlags()) {
        probes_.assign(count, {});
        probeIndex_.clear();
        for (std::size_t k = 0; k < count; ++k) {
            const TKeyInfoLen &key = Keywords.Item(static_cast<int>(k));
            KeywordProbe &probe = probes_[k];
            probe.active = key.ContextNum != 0 && key.KeyLength > 0 && key.KeyLength <= 32767;
            probe.start = probe.active ? key.MatchText.substr(0, 2) : std::string();
            probe.matchCase = key.KeyOptions & kOptMatchCase;
            if (probe.active)
                probeIndex_.file(static_cast<int>(k), probe.start);
        }
        probedLongest_ = Keywords.LongestKeyword();
        probedSummary_ = Keywords.SummaryFlags();
    }
    return probes_;
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
    rawBuffer_.assign(text);
    if (!allMatchCase)
        foldedBuffer_.assign(folded(p, 0, len), static_cast<std::size_t>(len));
    // Blank the text in force of runs that forbid keywords.
    for (std::int32_t r = -1; r < par.runCount(); ++r) {
        const RunInfo &run = r < 0 ? *par.startRun() : par.run(r);
        if (!forbidsKeywords(run))
            continue;
        const auto from = static_cast<std::size_t>(r < 0 ? 0 : run.position);
        const auto to = static_cast<std::size_t>(r + 1 < par.runCount() ? par.runPosition(r + 1) : len);
        if (from >= to)
            continue;
        rawBuffer_.replace(from, to - from, to - from, kBlank);
        if (!allMatchCase)
            foldedBuffer_.replace(from, to - from, to - from, kBlank);
    }
    const PresentBytes rawBytes(rawBuffer_);
    const PresentBytes foldedBytes = allMatchCase ? PresentBytes() : PresentBytes(foldedBuffer_);

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

    const std::vector<KeywordProbe> &probes = keywordProbes();
    probeIndex_.candidates(rawBuffer_, allMatchCase ? std::string_view() : std::string_view(foldedBuffer_),
                           candidates_);
    for (const int k : candidates_) {
        const KeywordProbe &probe = probes[static_cast<std::size_t>(k)];
        if (!(probe.matchCase ? rawBytes : foldedBytes).mayHold(probe.start))
            continue;
        const TKeyInfoLen &key = Keywords.Item(k);
        if (key.KeyLength > len)
            continue;
        std::string &buffer = probe.matchCase ? rawBuffer_ : foldedBuffer_;
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
            rawBuffer_.replace(f, n, n, kBlank);
            if (!allMatchCase)
                foldedBuffer_.replace(f, n, n, kBlank);
            f += n;
        }
    }
    applyBatch();
    if (applied)
        runsChanged(p);
}

} // namespace velmora::core
