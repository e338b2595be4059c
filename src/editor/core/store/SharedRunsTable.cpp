#include "editor/core/store/SharedRunsTable.h"

#include <cstring>

namespace velmora::core
{

std::uint64_t SharedRunsTable::hashOf(const Block *block)
{
    std::uint64_t h = 14695981039346656037ull;
    const auto *runs = TDynInfoArray::itemsOf(block);
    for (std::int32_t i = 0; i < block->count; ++i)
        h = (h ^ (static_cast<std::uint64_t>(runs[i].state) << 32 | static_cast<std::uint32_t>(runs[i].position))) *
            1099511628211ull;
    return h ^ h >> 29;
}

bool SharedRunsTable::sameRuns(const Block *a, const Block *b)
{
    return a->count == b->count &&
           std::memcmp(TDynInfoArray::itemsOf(a), TDynInfoArray::itemsOf(b),
                       static_cast<std::size_t>(a->count) * sizeof(TDynInfoArray::PackedRun)) == 0;
}

SharedRunsTable::Block *SharedRunsTable::find(const Block *block) const
{
    if (used_ == 0)
        return nullptr;
    const std::uint64_t hash = hashOf(block);
    for (std::size_t i = hash & mask(); slots_[i].block; i = (i + 1) & mask())
        if (slots_[i].hash == hash && sameRuns(slots_[i].block, block))
            return slots_[i].block;
    return nullptr;
}

void SharedRunsTable::insert(Block *block)
{
    if ((used_ + 1) * 2 > slots_.size())
        grow();
    const std::uint64_t hash = hashOf(block);
    std::size_t i = hash & mask();
    while (slots_[i].block)
        i = (i + 1) & mask();
    slots_[i] = {hash, block};
    ++used_;
}

void SharedRunsTable::erase(const Block *block)
{
    std::size_t i = hashOf(block) & mask();
    while (slots_[i].block != block)
        i = (i + 1) & mask();
    // Moves each later block of the probe run back into the hole unless its own slot lies
    // cyclically after the hole, so that no block is left beyond an empty slot.
    for (std::size_t j = (i + 1) & mask(); slots_[j].block; j = (j + 1) & mask()) {
        const std::size_t home = slots_[j].hash & mask();
        const bool stays = i <= j ? (i < home && home <= j) : (i < home || home <= j);
        if (!stays) {
            slots_[i] = slots_[j];
            i = j;
        }
    }
    slots_[i] = Slot();
    --used_;
}

void SharedRunsTable::grow()
{
    std::vector<Slot> old(slots_.empty() ? 64 : slots_.size() * 2);
    old.swap(slots_);
    for (const Slot &s : old) {
        if (!s.block)
            continue;
        std::size_t i = s.hash & mask();
        while (slots_[i].block)
            i = (i + 1) & mask();
        slots_[i] = s;
    }
}

SharedRunsTable &sharedRuns()
{
    static auto *table = new SharedRunsTable;
    return *table;
}

} // namespace velmora::core
