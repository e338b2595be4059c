#include "editor/core/DynArray2.h"

#include "editor/core/EditorErrors.h"

#include <algorithm>
#include <cstring>

namespace velmora::core
{

TDynArray2::TDynArray2(std::int16_t itemSize, std::int16_t itemStride, std::int16_t itemsPerBlock)
    : itemSize_(itemSize), itemStride_(itemStride), itemsPerBlock_(itemsPerBlock)
{
}

std::byte *TDynArray2::item(std::int32_t i) const
{
    if (i < 0 || i >= count_)
        throw ERangeError(kListIndexOutOfBounds);
    return slot(i);
}

void TDynArray2::get(std::int32_t i, void *destination) const
{
    std::memcpy(destination, item(i), itemSize_);
}

void TDynArray2::put(std::int32_t i, const void *source)
{
    std::memcpy(item(i), source, itemSize_);
}

std::int32_t TDynArray2::add(const void *source)
{
    setCount(count_ + 1);
    put(count_ - 1, source);
    return count_ - 1;
}

void TDynArray2::setCount(std::int32_t n)
{
    if (n < 0)
        n = 0;
    if (n == count_)
        return;
    if (capacity_ < n)
        setCapacity(n);
    count_ = n;
}

void TDynArray2::setCapacity(std::int32_t n)
{
    const std::size_t wanted = static_cast<std::size_t>((n - 1) / itemsPerBlock_ + 1);
    if (blocks_.size() > wanted)
        blocks_.resize(wanted);
    while (blocks_.size() < wanted)
        blocks_.emplace_back(static_cast<std::byte *>(::operator new[](kBlockSize, std::align_val_t{16})));
    capacity_ = static_cast<std::int32_t>(blocks_.size()) * itemsPerBlock_;
}

void TDynArray2::moveRecords(std::int32_t from, std::int32_t to, std::int32_t count)
{
    if (count <= 0 || from == to)
        return;
    // Copy in pieces that stay inside one block on both sides, in the direction that keeps
    // overlapping ranges intact.
    const auto piece = [this](std::int32_t a, std::int32_t b, std::int32_t left) {
        const std::int32_t roomA = itemsPerBlock_ - a % itemsPerBlock_;
        const std::int32_t roomB = itemsPerBlock_ - b % itemsPerBlock_;
        return std::min({left, roomA, roomB});
    };
    if (to < from) {
        std::int32_t done = 0;
        while (done < count) {
            const std::int32_t n = piece(from + done, to + done, count - done);
            std::memmove(slot(to + done), slot(from + done), static_cast<std::size_t>(n) * itemStride_);
            done += n;
        }
    } else {
        std::int32_t left = count; // records from + left .. from + count - 1 are moved already
        while (left > 0) {
            // The last piece ends at from + left - 1; it must start in the same block on both sides.
            const std::int32_t lastA = from + left - 1;
            const std::int32_t lastB = to + left - 1;
            const std::int32_t n = std::min({left, lastA % itemsPerBlock_ + 1, lastB % itemsPerBlock_ + 1});
            std::memmove(slot(lastB - n + 1), slot(lastA - n + 1), static_cast<std::size_t>(n) * itemStride_);
            left -= n;
        }
    }
}

} // namespace velmora::core
