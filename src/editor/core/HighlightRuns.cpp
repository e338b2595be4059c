#include "editor/core/HighlightRuns.h"

#include <algorithm>

namespace velmora::core
{

bool sameRunState(const RunInfo &a, const RunInfo &b)
{
    if (a.style != b.style)
        return false;
    if (!hasAttributes(a))
        return true;
    if (a.background != b.background || a.foreground != b.foreground || a.contextNum != b.contextNum ||
        a.cursor != b.cursor)
        return false;
    if (!isSpan(a))
        return true;
    return a.level == b.level && a.collapseDepth == b.collapseDepth && a.collapseStart == b.collapseStart &&
           a.startLength == b.startLength && a.stopLength == b.stopLength &&
           std::equal(a.stack, a.stack + a.level + 1, b.stack);
}

std::int32_t runAfter(const ParInfo &par, std::int32_t offset)
{
    std::int32_t lo = 0, hi = par.runCount();
    while (lo < hi) {
        const std::int32_t mid = (lo + hi) / 2;
        if (par.run(mid).position <= offset)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

const RunInfo &runInForce(const ParInfo &par, std::int32_t offset)
{
    const std::int32_t i = runAfter(par, offset);
    return i > 0 ? par.run(i - 1) : *par.startRun();
}

std::int32_t nextRunPosition(const ParInfo &par, std::int32_t offset)
{
    const std::int32_t i = runAfter(par, offset);
    return i < par.runCount() ? par.run(i).position : par.length();
}

RunInfo openSpanRun(const RunInfo &outer, const TKeyAttributes &key, std::int16_t entry, std::int16_t startLength,
                    std::int16_t stopLength)
{
    RunInfo run = outer;
    const int level = runLevel(outer) + 1;
    run.style = static_cast<std::uint8_t>(key.KeyStyle | kRunSpan);
    run.level = static_cast<std::int8_t>(level);
    if (!isSpan(outer))
        run.collapseDepth = 0;
    run.collapseStart = 0;
    run.background = key.Background;
    run.foreground = key.Foreground;
    run.contextNum = key.ContextNum;
    run.cursor = key.Cursor;
    std::fill(run.stack + level, run.stack + 16, std::int16_t{0});
    run.stack[level] = entry;
    run.startLength = startLength;
    run.stopLength = stopLength;
    return run;
}

void storeRun(ParInfo &par, const RunInfo &run)
{
    TDynInfoArray &runs = par.runs();
    auto at = std::lower_bound(runs.begin(), runs.end(), run.position,
                               [](const RunInfo &r, std::int32_t p) { return r.position < p; });
    if (at != runs.end() && at->position == run.position)
        *at = run;
    else
        runs.insert(at, run);
}

void putRunInForce(ParInfo &par, std::int32_t from, std::int32_t to, RunInfo run)
{
    RunInfo after = runInForce(par, to);
    TDynInfoArray &runs = par.runs();
    const auto first = std::lower_bound(runs.begin(), runs.end(), from,
                                        [](const RunInfo &r, std::int32_t p) { return r.position < p; });
    auto last = first;
    while (last != runs.end() && last->position < to)
        ++last;
    const bool runAtEnd = last != runs.end() && last->position == to;
    auto next = runs.erase(first, last);
    run.position = from;
    next = runs.insert(next, run);
    if (!runAtEnd && to < par.length()) {
        after.position = to;
        runs.insert(next + 1, after);
    }
}

} // namespace velmora::core
