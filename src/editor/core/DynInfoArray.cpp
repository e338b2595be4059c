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

TDynInfoArray::~TDynInfoArray()
{
    std::free(items_);
}

void TDynInfoArray::set(std::int32_t i, const RunInfo &run)
{
    items_[i] = {run.position, internRunState(run)};
}

void TDynInfoArray::insert(std::int32_t i, const RunInfo &run)
{
    const PackedRun packed{run.position, internRunState(run)};
    reserve(count_ + 1);
    std::memmove(items_ + i + 1, items_ + i, static_cast<std::size_t>(count_ - i) * sizeof(PackedRun));
    items_[i] = packed;
    ++count_;
}

void TDynInfoArray::append(const TDynInfoArray &other)
{
    if (other.count_ == 0)
        return;
    reserve(count_ + other.count_);
    std::memcpy(items_ + count_, other.items_, static_cast<std::size_t>(other.count_) * sizeof(PackedRun));
    count_ += other.count_;
}

void TDynInfoArray::erase(std::int32_t from, std::int32_t to)
{
    std::memmove(items_ + from, items_ + to, static_cast<std::size_t>(count_ - to) * sizeof(PackedRun));
    count_ -= to - from;
}

void TDynInfoArray::resize(std::int32_t n)
{
    reserve(n);
    for (std::int32_t i = count_; i < n; ++i)
        items_[i] = {0, 0};
    count_ = n;
}

void TDynInfoArray::reserve(std::int32_t n)
{
    if (n <= capacity_)
        return;
    const std::int32_t grown = capacity_ < 4 ? 4 : capacity_ * 2;
    const std::int32_t capacity = n > grown ? n : grown;
    auto *items =
        static_cast<PackedRun *>(std::realloc(items_, static_cast<std::size_t>(capacity) * sizeof(PackedRun)));
    if (!items)
        throw std::bad_alloc();
    items_ = items;
    capacity_ = capacity;
}

} // namespace velmora::core
