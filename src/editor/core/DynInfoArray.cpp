#include "editor/core/DynInfoArray.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <unordered_set>

namespace velmora::core
{

// The allocations that share() stored, found by their runs. Single-threaded, like the table
// of interned states.
struct SharedRunsTable {
    using Block = TDynInfoArray::Block;

    static std::size_t bytesOf(const Block *block)
    {
        return static_cast<std::size_t>(block->count) * sizeof(TDynInfoArray::PackedRun);
    }
    struct Hash {
        std::size_t operator()(const Block *block) const
        {
            std::uint64_t h = 14695981039346656037ull;
            const auto *runs = TDynInfoArray::itemsOf(block);
            for (std::int32_t i = 0; i < block->count; ++i)
                h = (h ^
                     (static_cast<std::uint64_t>(runs[i].state) << 32 | static_cast<std::uint32_t>(runs[i].position))) *
                    1099511628211ull;
            return static_cast<std::size_t>(h ^ h >> 29);
        }
    };
    struct Equal {
        bool operator()(const Block *a, const Block *b) const
        {
            return a->count == b->count &&
                   std::memcmp(TDynInfoArray::itemsOf(a), TDynInfoArray::itemsOf(b), bytesOf(a)) == 0;
        }
    };

    std::unordered_set<Block *, Hash, Equal> blocks;
};

namespace
{

// Never destroyed, so that records released during static destruction still find it.
SharedRunsTable &sharedRuns()
{
    static auto *table = new SharedRunsTable;
    return *table;
}

} // namespace

TDynInfoArray &TDynInfoArray::operator=(const TDynInfoArray &other)
{
    if (block_ != other.block_) {
        reset();
        block_ = other.block_;
        retain();
    }
    return *this;
}

TDynInfoArray &TDynInfoArray::operator=(std::initializer_list<RunInfo> runs)
{
    clear();
    for (const RunInfo &run : runs)
        push_back(run);
    return *this;
}

void TDynInfoArray::reset()
{
    if (!block_)
        return;
    if (--block_->users == 0) {
        if (block_->stored)
            sharedRuns().blocks.erase(block_);
        std::free(block_);
    }
    block_ = nullptr;
}

void TDynInfoArray::set(std::int32_t i, const RunInfo &run)
{
    own();
    items()[i] = {run.position, internRunState(run)};
}

void TDynInfoArray::insert(std::int32_t i, const RunInfo &run)
{
    const PackedRun packed{run.position, internRunState(run)};
    const std::int32_t count = size();
    reserve(count + 1);
    std::memmove(items() + i + 1, items() + i, static_cast<std::size_t>(count - i) * sizeof(PackedRun));
    items()[i] = packed;
    block_->count = count + 1;
}

void TDynInfoArray::append(const TDynInfoArray &other)
{
    const std::int32_t added = other.size(), count = size();
    if (added == 0)
        return;
    const TDynInfoArray keep(other); // other may be this array
    reserve(count + added);
    std::memcpy(items() + count, keep.items(), static_cast<std::size_t>(added) * sizeof(PackedRun));
    block_->count = count + added;
}

void TDynInfoArray::erase(std::int32_t from, std::int32_t to)
{
    if (from == to)
        return;
    own();
    std::memmove(items() + from, items() + to, static_cast<std::size_t>(size() - to) * sizeof(PackedRun));
    block_->count -= to - from;
}

void TDynInfoArray::resize(std::int32_t n)
{
    if (n == 0 && !block_)
        return;
    reserve(n);
    for (std::int32_t i = block_->count; i < n; ++i)
        items()[i] = {0, 0};
    block_->count = n;
}

void TDynInfoArray::share()
{
    if (!block_ || block_->stored)
        return;
    if (block_->count == 0) {
        reset();
        return;
    }
    SharedRunsTable &table = sharedRuns();
    if (const auto found = table.blocks.find(block_); found != table.blocks.end()) {
        Block *equal = *found;
        reset();
        block_ = equal;
        retain();
        return;
    }
    if (block_->users == 1 && block_->capacity > block_->count) {
        auto *trimmed = static_cast<Block *>(
            std::realloc(block_, sizeof(Block) + static_cast<std::size_t>(block_->count) * sizeof(PackedRun)));
        if (trimmed) {
            block_ = trimmed;
            block_->capacity = block_->count;
        }
    }
    block_->stored = true;
    table.blocks.insert(block_);
}

void TDynInfoArray::unshare()
{
    if (block_->users == 1) {
        // Only the table knows of it besides this array: take it out and change it in place.
        sharedRuns().blocks.erase(block_);
        block_->stored = false;
        return;
    }
    Block *old = block_;
    const std::int32_t count = old->count;
    block_ = nullptr;
    reserve(count);
    std::memcpy(items(), itemsOf(old), static_cast<std::size_t>(count) * sizeof(PackedRun));
    block_->count = count;
    --old->users; // others still use it
}

void TDynInfoArray::reserve(std::int32_t n)
{
    own();
    const std::int32_t have = block_ ? block_->capacity : 0;
    if (n <= have && block_)
        return;
    const std::int32_t grown = have < 2 ? 2 : have * 2;
    const std::int32_t capacity = n > grown ? n : grown;
    auto *block = static_cast<Block *>(
        std::realloc(block_, sizeof(Block) + static_cast<std::size_t>(capacity) * sizeof(PackedRun)));
    if (!block)
        throw std::bad_alloc();
    if (!block_) {
        block->count = 0;
        block->users = 1;
        block->stored = false;
    }
    block->capacity = capacity;
    block_ = block;
}

} // namespace velmora::core
