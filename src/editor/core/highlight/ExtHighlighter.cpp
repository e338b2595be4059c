#include "editor/core/highlight/ExtHighlighter.h"

#include "editor/core/text/EditorErrors.h"
#include "editor/core/highlight/SourceHighlightEngine.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace velmora::core
{

namespace
{

constexpr std::size_t kBatchSize = 16;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isOwnStartStop(const RunInfo &state, std::int32_t base, int count, int &index)
{
    if (!isSpan(state) || innermostEntry(state) >= 0)
        return false;
    index = innermostEntry(state) + kStartStopEntryBias - base;
    return index >= 0 && index < count;
}

} // namespace

TCustomExtHighlighter::TCustomExtHighlighter() = default;

TCustomExtHighlighter::~TCustomExtHighlighter()
{
    unwatch(chained_);
}

void TCustomExtHighlighter::setSeparatorSet(const SeparatorSet &separators)
{
    separators_ = separators;
    startStopKeys_.PrepareDelimiters(separators_);
}

void TCustomExtHighlighter::setChainedHighlighter(TSourceHighlighter *highlighter)
{
    for (TSourceHighlighter *h = highlighter; h;) {
        if (h == this)
            throw EditorError("Circular highlighter chain");
        const auto *ext = dynamic_cast<TCustomExtHighlighter *>(h);
        h = ext ? ext->chained_ : nullptr;
    }
    unwatch(chained_);
    chained_ = highlighter;
    watch(chained_);
}

void TCustomExtHighlighter::highlighterRemoved(TSourceHighlighter *other)
{
    if (other == chained_)
        chained_ = nullptr;
}

void TCustomExtHighlighter::HighlighterMessage(std::int32_t code, std::int16_t value)
{
    if (chained_)
        chained_->HighlighterMessage(code, value);
}

std::int32_t TCustomExtHighlighter::innermostPriority(const RunInfo &state, std::int32_t base) const
{
    if (!isSpan(state))
        return 0;
    if (innermostEntry(state) >= 0)
        return kTopPriority;
    int index;
    return isOwnStartStop(state, base, startStopKeys_.Count(), index) ? startStopKeys_.Item(index).Priority : 0;
}

bool TCustomExtHighlighter::admits(std::int32_t scope, std::int32_t priority, const RunInfo &state,
                                   std::int32_t base) const
{
    if (priority == kTopPriority)
        return true;
    if (scope == 0 && priority > innermostPriority(state, base))
        return true;
    return scope != 0 ? scope == state.contextNum : !hasAttributes(state);
}

bool TCustomExtHighlighter::positionHolds(std::uint8_t options, std::string_view text, std::int32_t offset) const
{
    const std::string_view before = text.substr(0, static_cast<std::size_t>(offset));
    if (options & kOptParagraphStart)
        return offset == 0;
    if (options & kOptFirstNonBlank)
        return std::all_of(before.begin(), before.end(), isBlank);
    if (options & kOptFirstWord)
        return std::all_of(before.begin(), before.end(),
                           [this](char c) { return isSeparator(static_cast<unsigned char>(c)); });
    return true;
}

void TCustomExtHighlighter::chainKeywords(THighlightScan &scan, std::int32_t keywordBase, std::int32_t startStopBase)
{
    if (chained_)
        chained_->HighlightKeywords(scan, keywordBase, startStopBase);
}

bool TCustomExtHighlighter::keywordFits(const ParInfo &par, std::int32_t at, const TKeyInfoLen &key, std::int32_t base)
{
    const std::int32_t length = key.KeyLength;
    const RunInfo &state = runInForce(par, at);
    const int level = runLevel(state);
    if (level >= kMaxRunLevel || !admits(key.Scope, key.Priority, state, base))
        return false;
    // No run boundary inside the match may open or close a start-stop span or leave its level.
    for (std::int32_t r = runAfter(par, at); r < par.runCount() && par.runPosition(r) < at + length; ++r) {
        const RunInfo &run = par.run(r);
        const RunInfo &before = r > 0 ? par.run(r - 1) : *par.startRun();
        const bool startStop = isSpan(run) && innermostEntry(run) < 0;
        const bool closes = isSpan(before) && innermostEntry(before) < 0 && runLevel(run) < runLevel(before);
        if (startStop || closes || runLevel(run) < level)
            return false;
    }
    return true;
}

void TCustomExtHighlighter::HighlightKeywords(THighlightScan &scan, std::int32_t keywordBase,
                                              std::int32_t startStopBase)
{
    const int count = keywords_.Count();
    if (enabled_ && count > 0) {
        TParagraphsList &store = scan.engine.paragraphs();
        ParInfo &par = *store.par(scan.par);
        const std::string_view text = store.textOf(scan.par);
        const auto len = static_cast<std::int32_t>(text.size());
        const std::string_view fold(scan.engine.folded(scan.par, 0, len), text.size());
        // Matches of different keywords may overlap: nothing is blanked.
        struct Match {
            int keyword;
            std::int32_t at;
        };
        std::vector<Match> batch;
        bool applied = false;
        const auto applyBatch = [&] {
            for (const Match &m : batch) {
                const TKeyInfoLen &key = keywords_.Item(m.keyword);
                if (!keywordFits(par, m.at, key, startStopBase))
                    continue;
                bool accept = true;
                if (OnKeywordMatch)
                    OnKeywordMatch(*this, scan.par, m.at, m.at + key.KeyLength, m.keyword, accept);
                if (!accept)
                    continue;
                RunInfo run =
                    openSpanRun(runInForce(par, m.at), key, static_cast<std::int16_t>(keywordBase + m.keyword),
                                static_cast<std::int16_t>(key.KeyLength), static_cast<std::int16_t>(key.KeyLength));
                putRunInForce(par, m.at, m.at + key.KeyLength, run);
                applied = true;
            }
            batch.clear();
        };
        const std::int32_t from = std::max(0, scan.pos);
        const std::int32_t to = std::min(len, scan.end);
        for (int k = 0; k < count && keywordBase + k <= 32767; ++k) {
            const TKeyInfoLen &key = keywords_.Item(k);
            if (key.ContextNum == 0 || key.KeyLength <= 0 || key.KeyLength > 32767)
                continue;
            const std::string_view buffer = (key.KeyOptions & kOptMatchCase) ? text : fold;
            const auto n = static_cast<std::size_t>(key.KeyLength);
            for (std::size_t f = buffer.find(key.MatchText, static_cast<std::size_t>(from));
                 f != std::string_view::npos && f < static_cast<std::size_t>(to); f = buffer.find(key.MatchText, f)) {
                const bool wordOk = !(key.KeyOptions & kOptWholeWords) ||
                                    ((f == 0 || isSeparator(static_cast<unsigned char>(text[f - 1]))) &&
                                     (f + n >= text.size() || isSeparator(static_cast<unsigned char>(text[f + n]))));
                if (!wordOk || !positionHolds(key.KeyOptions, text, static_cast<std::int32_t>(f))) {
                    ++f;
                    continue;
                }
                if (batch.size() == kBatchSize)
                    applyBatch();
                batch.push_back({k, static_cast<std::int32_t>(f)});
                f += n;
            }
        }
        applyBatch();
        if (applied)
            scan.engine.runsChanged(scan.par);
    }
    chainKeywords(scan, keywordBase + count, startStopBase + startStopKeys_.Count());
}

bool TCustomExtHighlighter::openOwnSpan(THighlightScan &scan, std::int32_t from, std::int32_t to, std::int32_t base)
{
    TParagraphsList &store = scan.engine.paragraphs();
    ParInfo &par = *store.par(scan.par);
    const std::string_view text = store.textOf(scan.par);
    const auto len = static_cast<std::int32_t>(text.size());
    const RunInfo state = runInForce(par, from);
    if (runLevel(state) >= kMaxRunLevel)
        return false;
    if (!startStopKeys_.DelimitersPrepared())
        startStopKeys_.PrepareDelimiters(separators_);
    int inner = -1;
    isOwnStartStop(state, base, startStopKeys_.Count(), inner);
    const char *fold = scan.engine.folded(scan.par, 0, len);
    for (std::int32_t m = from; m < to; ++m) {
        for (int k = 0; k < startStopKeys_.Count(); ++k) {
            const StartStopInfo &key = startStopKeys_.Item(k);
            const std::int32_t n = key.StartLength;
            if (n <= 0 || m + n > len || !admits(key.Scope, key.Priority, state, base))
                continue;
            const char *source = (key.KeyOptions & kOptMatchCase) ? text.data() : fold;
            if (std::memcmp(source + m, key.StartText.data(), static_cast<std::size_t>(n)) != 0)
                continue;
            if (key.NeedSepBeforeStart && m > 0 && !isSeparator(static_cast<unsigned char>(text[m - 1])))
                continue;
            if (key.NeedSepAfterStart && m + n < len && !isSeparator(static_cast<unsigned char>(text[m + n])))
                continue;
            if (!positionHolds(key.KeyOptions, text, m))
                continue;
            // The start of the span in force, when it also ends it, is left to the stop search.
            if (k == inner && key.StartText == key.StopText)
                continue;
            bool accept = true;
            if (OnStartKeyMatch)
                OnStartKeyMatch(*this, scan.par, m, accept, k);
            if (!accept)
                continue;
            const std::int32_t after = std::min(m + n + (key.NeedSepAfterStart ? 1 : 0), len);
            RunInfo run = openSpanRun(state, key, static_cast<std::int16_t>(base + k - kStartStopEntryBias),
                                      static_cast<std::int16_t>(after - m), key.StopLength);
            if (key.KeyFlags & kKeyCollapsible) {
                ++run.collapseDepth;
                run.collapseStart = 1;
            }
            run.position = m;
            storeRun(par, run);
            scan.pos = after;
            return true;
        }
    }
    return false;
}

bool TCustomExtHighlighter::FindStartKey(THighlightScan &scan, std::int32_t startStopBase)
{
    const int count = startStopKeys_.Count();
    if (enabled_ && count > 0 && startStopBase + count <= kStartStopEntryBias) {
        if (openOwnSpan(scan, scan.pos, scan.end, startStopBase))
            return true;
    }
    return chained_ && chained_->FindStartKey(scan, startStopBase + count);
}

std::int32_t TCustomExtHighlighter::findStop(THighlightScan &scan, const StartStopInfo &key, std::int32_t from,
                                             std::int32_t to, std::int32_t &stopEnd)
{
    const std::int32_t par = scan.par;
    const std::string_view text = scan.engine.paragraphs().textOf(par);
    if (key.KeyFlags & kKeyEndAtDelimiter) {
        for (std::int32_t f = from; f < to; ++f)
            if (isSeparator(static_cast<unsigned char>(text[static_cast<std::size_t>(f)]))) {
                stopEnd = f;
                return f;
            }
        return -1;
    }
    const std::int32_t n = key.StopLength;
    if (n <= 0)
        return -1;
    const std::string_view source =
        (key.KeyOptions & kOptMatchCase)
            ? text
            : std::string_view(scan.engine.folded(par, 0, static_cast<std::int32_t>(text.size())), text.size());
    const std::string_view stop(key.StopText.data(), static_cast<std::size_t>(n));
    for (std::size_t f = source.find(stop, static_cast<std::size_t>(from));
         f != std::string_view::npos && static_cast<std::int32_t>(f) < to; f = source.find(stop, f + 1)) {
        if (key.NeedSepBeforeStop && f > 0 && !isSeparator(static_cast<unsigned char>(text[f - 1])))
            continue;
        const std::size_t e = f + static_cast<std::size_t>(n);
        if (key.NeedSepAfterStop && e < text.size() && !isSeparator(static_cast<unsigned char>(text[e])))
            continue;
        stopEnd = static_cast<std::int32_t>(e);
        return static_cast<std::int32_t>(f);
    }
    return -1;
}

bool TCustomExtHighlighter::FindStopKey(THighlightScan &scan, std::int32_t startStopBase)
{
    const int count = startStopKeys_.Count();
    ParInfo &par = *scan.engine.paragraphs().par(scan.par);
    const RunInfo state = runInForce(par, scan.pos);
    int index = -1;
    if (!enabled_ || !isOwnStartStop(state, startStopBase, count, index))
        return chained_ && chained_->FindStopKey(scan, startStopBase + count);
    const StartStopInfo &key = startStopKeys_.Item(index);
    if (!startStopKeys_.DelimitersPrepared())
        startStopKeys_.PrepareDelimiters(separators_);
    const std::int32_t len = par.length();
    std::int32_t stopEnd = -1;
    const std::int32_t stop = findStop(scan, key, scan.pos, scan.end, stopEnd);
    // A span of this highlighter nested before the stop comes first.
    if (openOwnSpan(scan, scan.pos, stop >= 0 ? stop : scan.end, startStopBase))
        return true;
    if (stop < 0 && scan.end == len && (key.KeyFlags & kKeyStaysInParagraph))
        stopEnd = len;
    else if (stop < 0)
        return false;
    RunInfo continuation;
    const RunInfo *next = nullptr;
    for (int k = index + 1; k < count && !next; ++k) {
        const StartStopInfo &other = startStopKeys_.Item(k);
        if (other.SameStartIndex != index || other.Scope != key.Scope || other.Priority != key.Priority)
            continue;
        continuation = state;
        continuation.stack[continuation.level] = static_cast<std::int16_t>(startStopBase + k - kStartStopEntryBias);
        continuation.style = static_cast<std::uint8_t>(other.KeyStyle | kRunSpan);
        continuation.cursor = other.Cursor;
        continuation.background = other.Background;
        continuation.foreground = other.Foreground;
        continuation.startLength = 0;
        continuation.stopLength = other.StopLength;
        next = &continuation;
    }
    scan.engine.endSpanAt(scan.par, stopEnd, state, next);
    scan.pos = stopEnd;
    return true;
}

bool TCustomExtHighlighter::AdjustScanStart(THighlightScan &scan, std::int32_t startStopBase)
{
    const std::uint8_t positional =
        (keywords_.SummaryFlags() | startStopKeys_.SummaryFlags()) & (kOptFirstWord | kOptFirstNonBlank);
    TParagraphsList &store = scan.engine.paragraphs();
    const ParInfo &par = *store.par(scan.par);
    if (!enabled_ || positional == 0 || scan.pos >= par.length())
        return false;
    if (par.runCount() > 0 && scan.pos < par.runPosition(0)) {
        const RunInfo &first = par.run(0);
        int index = -1;
        if (runLevel(first) > runLevel(runInForce(par, scan.pos)) &&
            isOwnStartStop(first, startStopBase, startStopKeys_.Count(), index) &&
            (startStopKeys_.Item(index).KeyOptions & (kOptFirstWord | kOptFirstNonBlank)))
            scan.pos = first.position;
    }
    const std::string_view text = store.textOf(scan.par);
    std::int32_t first = 0;
    while (first < par.length() && ((positional & kOptFirstWord)
                                        ? isSeparator(static_cast<unsigned char>(text[static_cast<std::size_t>(first)]))
                                        : isBlank(text[static_cast<std::size_t>(first)])))
        ++first;
    if (scan.pos >= first)
        return false;
    scan.pos = first;
    return true;
}

} // namespace velmora::core
