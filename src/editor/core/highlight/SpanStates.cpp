#include "editor/core/highlight/SpanStates.h"

#include "editor/core/highlight/HighlightRuns.h"

#include <algorithm>

namespace velmora::core
{

std::uint32_t TSpanStates::startRef(const ParInfo &par)
{
    const RunInfo *startRun = par.startRun();
    if (startRun == sharedDefaultRun()) { // never changes: interned once
        if (!defaultStartRef_)
            defaultStartRef_ = internRunState(*startRun);
        return *defaultStartRef_;
    }
    const RunState &start = *startRun;
    if (!(start == lastStart_)) {
        lastStart_ = start;
        lastStartRef_ = internRunState(start);
    }
    return lastStartRef_;
}

bool TSpanStates::put(ParInfo &par, std::int32_t from, std::int32_t to, const TKeyAttributes &key, std::int16_t entry,
                      bool restartCollapse)
{
    const TDynInfoArray &runs = par.runArray;
    const std::int32_t first = runAfter(par, from - 1); // the first run at or after from
    const std::uint32_t start = startRef(par);
    const std::int32_t atFrom = first < runs.size() && runs.position(first) == from ? first : first - 1;
    const std::uint32_t outer = atFrom >= 0 ? runs.stateRef(atFrom) : start;
    const RunState &outerState = internedRunState(outer);
    if (runLevel(outerState) >= kMaxRunLevel)
        return false;
    const auto length = static_cast<std::int16_t>(std::min(to - from, 32767));
    const std::size_t slot =
        (outer * 2654435761u ^ static_cast<std::uint32_t>(entry) * 40503u ^ static_cast<std::uint32_t>(length)) &
        (kEntries - 1);
    Entry &e = entries_[slot];
    if (!e.used || e.outer != outer || e.entry != entry || e.length != length || e.restartCollapse != restartCollapse ||
        !(e.key == key)) {
        RunInfo run = openSpanRun(outerState, key, entry, length, length);
        if (restartCollapse)
            run.collapseDepth = 0;
        e = {true, restartCollapse, entry, length, outer, key, internRunState(run)};
    }
    putRunInForce(par, first, from, to, e.state, start);
    return true;
}

} // namespace velmora::core
