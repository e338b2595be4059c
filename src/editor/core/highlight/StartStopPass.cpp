// The start-stop pass of TSourceHighlightEngine: spans from a start text through a stop text.

#include "editor/core/editing/SourceMemoCore.h"
#include "editor/core/highlight/HighlightRuns.h"
#include "editor/core/highlight/SourceHighlightEngine.h"
#include "editor/core/highlight/SourceHighlighter.h"

#include <algorithm>
#include <bitset>
#include <cstring>

namespace velmora::core
{

namespace
{

// The first key after span entry e that shares its start: the text after e's stop text
// continues in that key's span.
const RunInfo *continuationOf(const TStartStopKeyList &keys, const RunInfo &span, RunInfo &out)
{
    const int e = innermostEntry(span) + kStartStopEntryBias;
    for (int k = e + 1; k < keys.Count(); ++k) {
        const StartStopInfo &key = keys.Item(k);
        if (key.SameStartIndex != e)
            continue;
        out = span;
        out.stack[out.level] = static_cast<std::int16_t>(k - kStartStopEntryBias);
        out.style = static_cast<std::uint8_t>(key.KeyStyle | kRunSpan);
        out.cursor = key.Cursor;
        out.background = key.Background;
        out.foreground = key.Foreground;
        out.startLength = 0;
        out.stopLength = key.StopLength;
        return &out;
    }
    return nullptr;
}

} // namespace

RunInfo TSourceHighlightEngine::startStopPass(std::int32_t p)
{
    TParagraphsList &store = paragraphs();
    ParInfo &par = *store.par(p);
    if (!StartStopKeys.DelimitersPrepared())
        StartStopKeys.PrepareDelimiters(memo_.Separators());
    const bool hadRuns = par.runCount() > 0;
    if (hadRuns)
        par.runs().eraseIf([](const RunState &r) { return !hasAttributes(r) || isSpan(r); });
    const std::int32_t len = par.length();
    const int ownKeys = StartStopKeys.Count();
    const bool searchOwn = ApplyStartStopKeys && ownKeys > 0;

    // A stalled scan (a change that did not advance) may only repeat while spans end in turn
    // at the paragraph end, which a chain of shared starts bounds.
    int stalls = 0;
    std::int32_t pos = 0;
    while (pos <= len && stalls <= ownKeys + kMaxRunLevel + 1) {
        const RunInfo state = runInForce(par, pos);
        const std::int32_t limit = nextRunPosition(par, pos);
        std::int32_t next = -1;
        if (isSpan(state)) {
            const int e = innermostEntry(state) + kStartStopEntryBias;
            if (innermostEntry(state) < 0 && e < ownKeys) {
                const StartStopInfo &key = StartStopKeys.Item(e);
                next = findOwnStop(p, key, pos, limit);
                if (next < 0 && limit == len && (key.KeyFlags & kKeyStaysInParagraph))
                    next = len;
                if (next >= 0) {
                    RunInfo continued;
                    endSpanAt(p, next, state, continuationOf(StartStopKeys, state, continued));
                }
            } else if (highlighter_) {
                THighlightScan scan{*this, p, pos, limit};
                if (highlighter_->FindStopKey(scan, ownKeys))
                    next = scan.pos;
            }
        } else {
            std::int32_t matchAt = -1;
            int key = -1;
            const std::int32_t after = searchOwn ? findOwnStart(p, pos, limit, matchAt, key) : -1;
            THighlightScan scan{*this, p, pos, after >= 0 ? matchAt : limit};
            if (highlighter_ && highlighter_->FindStartKey(scan, ownKeys)) {
                next = scan.pos;
            } else if (after >= 0) {
                const StartStopInfo &k = StartStopKeys.Item(key);
                const auto startLength = static_cast<std::int16_t>(after - matchAt);
                RunInfo run = openSpanRun(state, k, static_cast<std::int16_t>(key - kStartStopEntryBias), startLength,
                                          k.StopLength);
                run.collapseDepth = 0;
                run.position = matchAt;
                storeRun(par, run);
                next = after;
            }
        }
        if (next < 0) {
            if (limit >= len)
                break;
            pos = limit;
        } else {
            stalls = next > pos ? 0 : stalls + 1;
            pos = std::min(std::max(next, pos), len);
        }
    }
    par.flags = static_cast<std::uint8_t>((par.flags | pfStartStopDone) & ~(pfKeywordsDone | pfLinesValid));
    if (hadRuns || par.runCount() > 0) // a paragraph that stays without runs changes nothing
        runsChanged(p);
    RunInfo end = runInForce(par, len);
    end.position = 0;
    return end;
}

const TSourceHighlightEngine::StartBytes &TSourceHighlightEngine::startBytes()
{
    StartBytes &b = startBytes_;
    const TsmUpperCase upperCase = memo_.UpperCaseType();
    const UserUpperCaseHook hook = upperCase == smuUserDefined ? userUpperCaseHook() : nullptr;
    if (b.built && b.revision == StartStopKeys.Revision() && b.upperCase == upperCase && b.hook == hook)
        return b;
    b = StartBytes{};
    b.revision = StartStopKeys.Revision();
    b.upperCase = upperCase;
    b.hook = hook;
    b.built = true;
    std::bitset<256> foldedFirst;
    for (int k = 0; k < StartStopKeys.Count(); ++k) {
        const StartStopInfo &key = StartStopKeys.Item(k);
        if (key.StartLength <= 0)
            continue;
        const auto first = static_cast<unsigned char>(key.StartText[0]);
        if (key.KeyOptions & kOptMatchCase) {
            b.candidate[first] = true;
        } else {
            foldedFirst.set(first);
            b.anyFolded = true;
        }
    }
    if (!b.anyFolded)
        return b;
    if (hook) { // the application's folding is not known byte by byte: every byte may fold to a start
        b.candidate.fill(true);
        return b;
    }
    const std::array<char, 256> folded = foldedBytes();
    for (std::size_t c = 0; c < 256; ++c)
        b.candidate[c] = b.candidate[c] || foldedFirst[static_cast<unsigned char>(folded[c])];
    return b;
}

std::int32_t TSourceHighlightEngine::findOwnStart(std::int32_t p, std::int32_t pos, std::int32_t limit,
                                                  std::int32_t &matchAt, int &keyIndex)
{
    const std::string_view raw = paragraphs().textOf(p);
    const std::int32_t len = static_cast<std::int32_t>(raw.size());
    const StartBytes &first = startBytes();
    const int count = StartStopKeys.Count();
    // The folded copy is made only when a position may begin a folded key.
    const char *fold = nullptr;
    for (std::int32_t m = pos; m < limit; ++m) {
        if (!first.candidate[static_cast<unsigned char>(raw[m])])
            continue;
        if (first.anyFolded && !fold)
            fold = matchText(p, false);
        for (int k = 0; k < count; ++k) {
            const StartStopInfo &key = StartStopKeys.Item(k);
            const std::int32_t n = key.StartLength;
            if (n <= 0 || m + n > len)
                continue;
            const char *text = (key.KeyOptions & kOptMatchCase) ? raw.data() : fold;
            if (text[m] != key.StartText[0] || std::memcmp(text + m, key.StartText.data(), static_cast<std::size_t>(n)))
                continue;
            if (key.NeedSepBeforeStart && m > 0 && !isSeparator(static_cast<unsigned char>(raw[m - 1])))
                continue;
            if (key.NeedSepAfterStart && m + n < len && !isSeparator(static_cast<unsigned char>(raw[m + n])))
                continue;
            matchAt = m;
            keyIndex = k;
            return std::min(m + n + (key.NeedSepAfterStart ? 1 : 0), len);
        }
    }
    return -1;
}

std::int32_t TSourceHighlightEngine::findOwnStop(std::int32_t p, const StartStopInfo &key, std::int32_t pos,
                                                 std::int32_t limit)
{
    const std::string_view raw = paragraphs().textOf(p);
    const std::int32_t n = key.StopLength;
    if (n <= 0)
        return -1;
    const std::string_view text(matchText(p, key.KeyOptions & kOptMatchCase), raw.size());
    const std::string_view stop(key.StopText.data(), static_cast<std::size_t>(n));
    for (std::size_t f = text.find(stop, static_cast<std::size_t>(pos));
         f != std::string_view::npos && static_cast<std::int32_t>(f) < limit; f = text.find(stop, f + 1)) {
        const auto at = static_cast<std::int32_t>(f);
        if (key.NeedSepBeforeStop && at > 0 && !isSeparator(static_cast<unsigned char>(raw[f - 1])))
            continue;
        if (key.NeedSepAfterStop && at + n < static_cast<std::int32_t>(raw.size()) &&
            !isSeparator(static_cast<unsigned char>(raw[f + static_cast<std::size_t>(n)])))
            continue;
        return at + n;
    }
    return -1;
}

} // namespace velmora::core
