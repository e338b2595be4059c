// The highlight run record split in two: RunState, what a run puts in force, and RunInfo, a
// state at a position. Paragraphs store a run as its position and a 32-bit reference to an
// interned state: a file uses few distinct states (one per key and nesting), so each stack is
// stored once however many runs share it.
#pragma once

#include <cstdint>

namespace velmora::core
{

// Every field of a run record but its position; the fields belong to the highlighter.
struct RunState {
    std::uint8_t style = 0; // bit 7: carries attributes; bits 6 and 7: keyword or start-stop span
    std::int8_t level = 0;
    std::uint8_t collapseDepth = 0;
    std::uint8_t collapseStart = 0;
    std::int32_t background = 0;
    std::int32_t foreground = 0;
    std::int32_t contextNum = 0;
    std::int16_t cursor = 0;
    std::int16_t stack[16] = {};
    std::int16_t startLength = 0;
    std::int16_t stopLength = 0;

    bool operator==(const RunState &) const = default;
};

// A highlight run: in force from position to the next run or the paragraph end. In a start
// run record position is the reference count instead.
struct RunInfo : RunState {
    std::int32_t position = 0;

    RunInfo() = default;
    RunInfo(const RunState &state, std::int32_t at) : RunState(state), position(at) {}
};

// The reference of state in the table of interned states, adding it on first use. References
// stay valid for the life of the process; reference 0 is the all-zero state.
std::uint32_t internRunState(const RunState &state);
namespace detail
{
// The table's chunks of 2^runStateChunkBits states, for the inline look-up below; before the
// first state is interned, one chunk holding the all-zero state.
constexpr std::uint32_t runStateChunkBits = 8;
extern const RunState *const *runStateChunks;
} // namespace detail

// The interned state behind a reference.
inline const RunState &internedRunState(std::uint32_t ref)
{
    return detail::runStateChunks[ref >> detail::runStateChunkBits][ref & ((1u << detail::runStateChunkBits) - 1)];
}

} // namespace velmora::core
