#include "editor/core/store/DynInfoArray.h"

#include "editor/core/store/SharedRunsTable.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace velmora::core
{

namespace
{

constexpr std::int32_t kFirstCapacity = 8;
constexpr std::size_t kMostSpareFirstBlocks = 64;

} // namespace

TDynInfoArray &TDynInfoArray::operator=(const TDynInfoArray &other)
{
    if (handle_ != other.handle_) {
        reset();
        handle_ = other.handle_;
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
    if (!handle_)
        return;
    Block *b = block();
    if (--b->users == 0) {
        SharedRunsTable &table = sharedRuns();
        if (b->stored)
            table.erase(b);
        blocks()[handle_] = nullptr;
        table.freeHandles.push_back(handle_);
        if (b->capacity == kFirstCapacity && table.spareFirstBlocks.size() < kMostSpareFirstBlocks)
            table.spareFirstBlocks.push_back(b);
        else
            std::free(b);
    }
    handle_ = 0;
}

void TDynInfoArray::set(std::int32_t i, std::int32_t position, std::uint32_t state)
{
    own();
    items()[i] = {position, state};
}

TDynInfoArray::PackedRun *TDynInfoArray::openGap(std::int32_t i, std::int32_t n)
{
    const std::int32_t count = size();
    Block *b = handle_ ? block() : nullptr;
    if (!b || b->users > 1 || b->stored || b->capacity < count + n) {
        reserve(count + n);
        b = block();
    }
    PackedRun *runs = itemsOf(b);
    std::memmove(runs + i + n, runs + i, static_cast<std::size_t>(count - i) * sizeof(PackedRun));
    b->count = count + n;
    return runs + i;
}

void TDynInfoArray::insert(std::int32_t i, std::int32_t position, std::uint32_t state)
{
    *openGap(i, 1) = {position, state};
}

void TDynInfoArray::insertPair(std::int32_t i, std::int32_t position, std::uint32_t state, std::int32_t nextPosition,
                               std::uint32_t nextState)
{
    PackedRun *gap = openGap(i, 2);
    gap[0] = {position, state};
    gap[1] = {nextPosition, nextState};
}

void TDynInfoArray::append(const TDynInfoArray &other)
{
    const std::int32_t added = other.size(), count = size();
    if (added == 0)
        return;
    const TDynInfoArray keep(other); // other may be this array
    reserve(count + added);
    std::memcpy(items() + count, keep.items(), static_cast<std::size_t>(added) * sizeof(PackedRun));
    block()->count = count + added;
}

void TDynInfoArray::erase(std::int32_t from, std::int32_t to)
{
    if (from == to)
        return;
    own();
    std::memmove(items() + from, items() + to, static_cast<std::size_t>(size() - to) * sizeof(PackedRun));
    block()->count -= to - from;
}

void TDynInfoArray::resize(std::int32_t n)
{
    if (n == 0 && !handle_)
        return;
    reserve(n);
    for (std::int32_t i = block()->count; i < n; ++i)
        items()[i] = {0, 0};
    block()->count = n;
}

void TDynInfoArray::share()
{
    if (!handle_ || block()->stored)
        return;
    Block *b = block();
    if (b->count == 0) {
        reset();
        return;
    }
    SharedRunsTable &table = sharedRuns();
    if (Block *equal = table.find(b)) {
        reset();
        handle_ = equal->handle;
        retain();
        return;
    }
    if (b->users == 1 && b->capacity > b->count) {
        if (auto *trimmed = static_cast<Block *>(
                std::realloc(b, sizeof(Block) + static_cast<std::size_t>(b->count) * sizeof(PackedRun)))) {
            b = trimmed;
            b->capacity = b->count;
            place(b);
        }
    }
    b->stored = true;
    table.insert(b);
}

void TDynInfoArray::unshare()
{
    Block *old = block();
    if (old->users == 1) {
        // Only the table knows of it besides this array: take it out and change it in place.
        sharedRuns().erase(old);
        old->stored = false;
        return;
    }
    const std::int32_t count = old->count;
    --old->users; // the others keep it
    handle_ = 0;
    reserve(count);
    std::memcpy(items(), itemsOf(old), static_cast<std::size_t>(count) * sizeof(PackedRun));
    block()->count = count;
}

void TDynInfoArray::reserve(std::int32_t n)
{
    own();
    Block *old = handle_ ? block() : nullptr;
    const std::int32_t have = old ? old->capacity : 0;
    if (n <= have && old)
        return;
    // A paragraph usually gets a handful of runs: start with room for them.
    const std::int32_t grown = have < kFirstCapacity ? kFirstCapacity : have * 2;
    const std::int32_t capacity = n > grown ? n : grown;
    std::vector<Block *> &spare = sharedRuns().spareFirstBlocks;
    Block *b = nullptr;
    if (!old && capacity == kFirstCapacity && !spare.empty()) {
        b = spare.back();
        spare.pop_back();
    } else {
        b = static_cast<Block *>(
            std::realloc(old, sizeof(Block) + static_cast<std::size_t>(capacity) * sizeof(PackedRun)));
    }
    if (!b)
        throw std::bad_alloc();
    if (!old) {
        b->count = 0;
        b->users = 1;
        b->stored = false;
    }
    b->capacity = capacity;
    place(b);
}

void TDynInfoArray::place(Block *b)
{
    if (!handle_) {
        std::vector<std::uint32_t> &free = sharedRuns().freeHandles;
        if (free.empty()) {
            handle_ = static_cast<std::uint32_t>(blocks().size());
            blocks().push_back(nullptr);
        } else {
            handle_ = free.back();
            free.pop_back();
        }
    }
    b->handle = handle_;
    blocks()[handle_] = b;
}

} // namespace velmora::core
