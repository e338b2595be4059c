#include "editor/core/highlight/HighlightRuns.h"

#include <algorithm>

namespace velmora::core
{

bool sameRunState(const RunState &a, const RunState &b)
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

RunInfo runInForce(const ParInfo &par, std::int32_t offset)
{
    const std::int32_t i = runAfter(par, offset);
    return i > 0 ? par.run(i - 1) : *par.startRun();
}

const RunState &stateInForce(const ParInfo &par, std::int32_t offset)
{
    const std::int32_t i = runAfter(par, offset);
    return i > 0 ? par.runState(i - 1) : *par.startRun();
}

std::int32_t nextRunPosition(const ParInfo &par, std::int32_t offset)
{
    const std::int32_t i = runAfter(par, offset);
    return i < par.runCount() ? par.runPosition(i) : par.length();
}

RunInfo openSpanRun(const RunState &outer, const TKeyAttributes &key, std::int16_t entry, std::int16_t startLength,
                    std::int16_t stopLength)
{
    RunInfo run(outer, 0);
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
    const std::int32_t at = runAfter(par, run.position - 1);
    if (at < runs.size() && runs.position(at) == run.position)
        runs.set(at, run);
    else
        runs.insert(at, run);
}

void putRunInForce(ParInfo &par, std::int32_t from, std::int32_t to, const RunState &run)
{
    putRunInForce(par, runAfter(par, from - 1), from, to, internRunState(run), internRunState(*par.startRun()));
}

void putRunInForce(ParInfo &par, std::int32_t first, std::int32_t from, std::int32_t to, std::uint32_t state,
                   std::uint32_t startState)
{
    TDynInfoArray &runs = par.runs();
    std::int32_t last = first;
    while (last < runs.size() && runs.position(last) < to)
        ++last;
    const bool runAtEnd = last < runs.size() && runs.position(last) == to;
    const bool putBackAfter = !runAtEnd && to < par.length();
    // Without a run at to, the state in force there is that of the last run before it.
    const std::uint32_t after = putBackAfter && last > 0 ? runs.stateRef(last - 1) : startState;
    if (last > first) {
        runs.set(first, from, state);
        runs.erase(first + 1, last);
    } else if (putBackAfter) {
        runs.insertPair(first, from, state, to, after);
        return;
    } else {
        runs.insert(first, from, state);
    }
    if (putBackAfter)
        runs.insert(first + 1, to, after);
}

} // namespace velmora::core
