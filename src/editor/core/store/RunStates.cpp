#include "editor/core/store/RunStates.h"

#include <array>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

namespace velmora::core
{

namespace
{

constexpr RunState kAllZeroState{};
constexpr const RunState *kBeforeFirstChunk[] = {&kAllZeroState};

} // namespace

const RunState *const *detail::runStateChunks = kBeforeFirstChunk;

namespace
{

struct RunStateHash {
    std::size_t operator()(const RunState &s) const
    {
        std::uint64_t h = 14695981039346656037ull;
        const auto mix = [&h](std::uint64_t v) { h = (h ^ v) * 1099511628211ull; };
        mix(s.style | static_cast<std::uint8_t>(s.level) << 8 | s.collapseDepth << 16 |
            static_cast<std::uint32_t>(s.collapseStart) << 24);
        mix(static_cast<std::uint32_t>(s.background));
        mix(static_cast<std::uint32_t>(s.foreground));
        mix(static_cast<std::uint32_t>(s.contextNum));
        mix(static_cast<std::uint16_t>(s.cursor) | static_cast<std::uint16_t>(s.startLength) << 16 |
            static_cast<std::uint64_t>(static_cast<std::uint16_t>(s.stopLength)) << 32);
        for (std::int16_t entry : s.stack)
            mix(static_cast<std::uint16_t>(entry));
        return static_cast<std::size_t>(h);
    }
};

// A cheap mix of the fields that usually tell states apart: the slot of a state in the table's
// cache of recent references.
std::size_t cacheSlotOf(const RunState &s)
{
    const std::uint32_t h = (s.style | static_cast<std::uint32_t>(static_cast<std::uint8_t>(s.level)) << 8 |
                             static_cast<std::uint32_t>(static_cast<std::uint16_t>(s.stack[s.level & 15])) << 16) ^
                            static_cast<std::uint32_t>(s.contextNum) * 0x9E3779B1u ^
                            static_cast<std::uint32_t>(s.foreground) * 0x85EBCA77u ^
                            static_cast<std::uint32_t>(s.startLength) * 0xC2B2AE3Du;
    return (h ^ h >> 15) * 0x2C1B3C6Du >> 24;
}

// States live in fixed chunks so that a reference to one never moves. Passes intern the same
// few states over and over, so a direct-mapped cache of recent references answers most
// requests with one comparison instead of a full hash of the state.
class RunStateTable
{
public:
    RunStateTable() { internSlow(RunState{}); }

    std::uint32_t intern(const RunState &state)
    {
        std::uint32_t &cached = recent_[cacheSlotOf(state)];
        if (at(cached) == state)
            return cached;
        cached = internSlow(state);
        return cached;
    }
    const RunState &at(std::uint32_t ref) const { return internedRunState(ref); }

private:
    static constexpr std::uint32_t kChunkBits = detail::runStateChunkBits;
    static constexpr std::uint32_t kChunk = 1u << kChunkBits;
    static constexpr std::uint32_t kChunkMask = kChunk - 1;

    std::uint32_t internSlow(const RunState &state)
    {
        const auto [at, added] = refs_.try_emplace(state, count_);
        if (added) {
            if ((count_ & kChunkMask) == 0) {
                chunks_.push_back(std::make_unique<RunState[]>(kChunk));
                chunkAddresses_.push_back(chunks_.back().get());
                detail::runStateChunks = chunkAddresses_.data();
            }
            chunks_.back()[count_ & kChunkMask] = state;
            ++count_;
        }
        return at->second;
    }

    std::unordered_map<RunState, std::uint32_t, RunStateHash> refs_;
    std::vector<std::unique_ptr<RunState[]>> chunks_;
    std::vector<const RunState *> chunkAddresses_; // what detail::runStateChunks points at
    std::uint32_t count_ = 0;
    std::array<std::uint32_t, 256> recent_{}; // references; 0 (the all-zero state) where empty
};

RunStateTable &table()
{
    static RunStateTable t;
    return t;
}

} // namespace

std::uint32_t internRunState(const RunState &state)
{
    return table().intern(state);
}

} // namespace velmora::core
