// Reading and writing the highlight runs of one paragraph. A paragraph keeps its runs sorted
// by position; a run is in force from its position to the next run's position, and before the
// first run the paragraph's start run is. A run with style bits 6 and 7 both set belongs to a
// keyword or start-stop span; its stack holds entries 0 .. level, the innermost deciding what
// the run is: a keyword index (0 or more) or a start-stop key index - 32768.
#pragma once

#include "editor/core/keyfiles/KeyInfo.h"
#include "editor/core/store/ParagraphRecord.h"
#include "editor/core/text/StyleBits.h"

#include <cstdint>

namespace velmora::core
{

// Stack entries 0 .. 15: a span nested this deep admits no further match.
constexpr int kMaxRunLevel = 15;
constexpr std::int32_t kStartStopEntryBias = 32768;

inline bool hasAttributes(const RunState &run)
{
    return run.style & kRunAttributes;
}
inline bool isSpan(const RunState &run)
{
    return (run.style & kRunSpan) == kRunSpan;
}
// The index of the innermost stack entry; -1 for a run that belongs to no span.
inline int runLevel(const RunState &run)
{
    return isSpan(run) ? run.level : -1;
}
inline std::int16_t innermostEntry(const RunState &run)
{
    return run.stack[run.level];
}
// Keywords are blocked over text in force of a run with attributes and a context number.
inline bool forbidsKeywords(const RunState &run)
{
    return hasAttributes(run) && run.contextNum != 0;
}

// Equal in every field that the run's style makes valid (the position aside).
bool sameRunState(const RunState &a, const RunState &b);

// Index of the first run of par whose position is after offset.
inline std::int32_t runAfter(const ParInfo &par, std::int32_t offset)
{
    return par.runArray.after(offset);
}
// The run in force at offset: the last run at or before it, or the start run.
RunInfo runInForce(const ParInfo &par, std::int32_t offset);
// The state of that run, without a copy.
const RunState &stateInForce(const ParInfo &par, std::int32_t offset);
// Position of the first run after offset, or the paragraph length when there is none.
std::int32_t nextRunPosition(const ParInfo &par, std::int32_t offset);

// A run opening a span one level inside outer, with the attributes of the entry that opens it.
RunInfo openSpanRun(const RunState &outer, const TKeyAttributes &key, std::int16_t entry, std::int16_t startLength,
                    std::int16_t stopLength);

// Stores run at its position, replacing a run that begins there.
void storeRun(ParInfo &par, const RunInfo &run);
// Puts run in force over [from, to): runs inside are removed and the state in force at to
// before the call is put back there, so the text after keeps its look.
void putRunInForce(ParInfo &par, std::int32_t from, std::int32_t to, const RunState &run);
// The same with the reference of the interned run state, given first, the index of the first
// run at or after from, and the reference of par's start run.
void putRunInForce(ParInfo &par, std::int32_t first, std::int32_t from, std::int32_t to, std::uint32_t state,
                   std::uint32_t startState);

} // namespace velmora::core
