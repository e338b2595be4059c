#include "editor/core/DynInfoArray.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace velmora::core
{

TDynInfoArray::TDynInfoArray(const TDynInfoArray &other)
{
    append(other);
}

TDynInfoArray &TDynInfoArray::operator=(const TDynInfoArray &other)
{
    if (this != &other) {
        clear();
        append(other);
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
    std::free(block_);
    block_ = nullptr;
}

void TDynInfoArray::set(std::int32_t i, const RunInfo &run)
{
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
    reserve(count + added);
    std::memcpy(items() + count, other.items(), static_cast<std::size_t>(added) * sizeof(PackedRun));
    block_->count = count + added;
}

void TDynInfoArray::erase(std::int32_t from, std::int32_t to)
{
    if (from == to)
        return;
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

void TDynInfoArray::reserve(std::int32_t n)
{
    const std::int32_t have = block_ ? block_->capacity : 0;
    if (n <= have && block_)
        return;
    const std::int32_t grown = have < 2 ? 2 : have * 2;
    const std::int32_t capacity = n > grown ? n : grown;
    auto *block = static_cast<Block *>(
        std::realloc(block_, sizeof(Block) + static_cast<std::size_t>(capacity) * sizeof(PackedRun)));
    if (!block)
        throw std::bad_alloc();
    if (!block_)
        block->count = 0;
    block->capacity = capacity;
    block_ = block;
}

} // namespace velmora::core
