#include "editor/core/highlight/SpanStates.h"

#include "editor/core/highlight/HighlightRuns.h"

#include <algorithm>

namespace velmora::core
{

std::uint32_t TSpanStates::startRef(const ParInfo &par)
{
    const RunState &start = *par.startRun();
    if (!(start == lastStart_)) {
        lastStart_ = start;
        lastStartRef_ = internRunState(start);
    }
    return lastStartRef_;
}

std::uint32_t TSpanStates::refInForce(const ParInfo &par, std::int32_t offset)
{
    const std::int32_t i = runAfter(par, offset);
    return i > 0 ? par.runArray.stateRef(i - 1) : startRef(par);
}

bool TSpanStates::put(ParInfo &par, std::int32_t from, std::int32_t to, const TKeyAttributes &key, std::int16_t entry,
                      bool restartCollapse)
{
    const std::uint32_t outer = refInForce(par, from);
    const RunState &outerState = internedRunState(outer);
    if (runLevel(outerState) >= kMaxRunLevel)
        return false;
    const auto length = static_cast<std::int16_t>(std::min(to - from, 32767));
    const std::size_t slot =
        (outer * 2654435761u ^ static_cast<std::uint32_t>(entry) * 40503u ^ static_cast<std::uint32_t>(length)) %
        entries_.size();
    Entry &e = entries_[slot];
    if (!e.used || e.outer != outer || e.entry != entry || e.length != length || e.restartCollapse != restartCollapse ||
        !(e.key == key)) {
        RunInfo run = openSpanRun(outerState, key, entry, length, length);
        if (restartCollapse)
            run.collapseDepth = 0;
        e = {true, restartCollapse, entry, length, outer, key, internRunState(run)};
    }
    putRunInForce(par, from, to, e.state, refInForce(par, to));
    return true;
}

} // namespace velmora::core
