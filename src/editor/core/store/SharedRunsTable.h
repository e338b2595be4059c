// The allocations of runs that TDynInfoArray::share() stored, found by their runs, with the
// handles and allocations free for reuse. Single-threaded, like the table of interned states.
#pragma once

#include "editor/core/store/DynInfoArray.h"

#include <cstdint>
#include <vector>

namespace velmora::core
{

struct SharedRunsTable {
    using Block = TDynInfoArray::Block;

    // The stored allocation whose runs equal block's, or null.
    Block *find(const Block *block) const;
    // Files block, whose runs no stored allocation has.
    void insert(Block *block);
    // Takes the stored block itself (not an equal one) out.
    void erase(const Block *block);
    std::size_t size() const { return used_; }

    std::vector<std::uint32_t> freeHandles;
    // Freed allocations of the first capacity, kept for the next arrays that start to grow:
    // highlighting builds a paragraph's runs and then mostly drops them for equal stored ones.
    std::vector<Block *> spareFirstBlocks;

private:
    // Open addressing with linear probing, at most half full; each slot keeps its block's hash
    // so that a look-up reads a block only where the hashes agree.
    struct Slot {
        std::uint64_t hash = 0;
        Block *block = nullptr; // null: empty
    };
    static std::uint64_t hashOf(const Block *block);
    static bool sameRuns(const Block *a, const Block *b);
    std::size_t mask() const { return slots_.size() - 1; }
    void grow();

    std::vector<Slot> slots_;
    std::size_t used_ = 0;
};

// The one table. Never destroyed, so that records released during static destruction still find it.
SharedRunsTable &sharedRuns();

} // namespace velmora::core
