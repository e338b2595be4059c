// TDynArray2's position fields: reading and writing them, and their lazy shifts.
#include "editor/core/store/DynArray2.h"

#include <algorithm>

namespace velmora::core
{

std::int32_t TDynArray2::baseOf(std::int32_t b, int field) const
{
    const std::int32_t raw = blocks_[static_cast<std::size_t>(b)].base[field];
    return lacksBlockStep(b) ? wrappedSum(raw, blockStep_.position[field]) : raw;
}

TDynArray2::Place TDynArray2::placeElsewhere(std::int32_t i) const
{
    // Walks go forward, and two walks (background work and the view) often take turns: try the
    // next block and the block looked up before this one before searching.
    const auto holds = [&](std::int32_t b) {
        if (b < 0 || b >= static_cast<std::int32_t>(blocks_.size()))
            return false;
        const std::int32_t first = firstOf(b);
        return i >= first && i - first < blocks_[static_cast<std::size_t>(b)].count;
    };
    for (const std::int32_t b : {cursor_ + 1, previousCursor_})
        if (holds(b)) {
            previousCursor_ = cursor_;
            cursor_ = b;
            return {b, i - firstOf(b)};
        }
    std::int32_t lo = 0, hi = static_cast<std::int32_t>(blocks_.size()) - 1;
    while (lo < hi) {
        const std::int32_t mid = (lo + hi + 1) / 2;
        if (firstOf(mid) <= i)
            lo = mid;
        else
            hi = mid - 1;
    }
    previousCursor_ = cursor_;
    cursor_ = lo;
    return {lo, i - firstOf(lo)};
}

std::int32_t TDynArray2::valueAt(Place p, int field) const
{
    std::int32_t value = fieldsOf(p)[field];
    if (p.block == recordStepBlock_ && p.at > recordStepAt_)
        value = wrappedSum(value, recordStep_[field]);
    return wrappedSum(baseOf(p.block, field), value);
}

std::int32_t TDynArray2::position(std::int32_t i, int field) const
{
    checkIndex(i);
    return valueAt(place(i), field);
}

void TDynArray2::setPosition(std::int32_t i, int field, std::int32_t value)
{
    checkIndex(i);
    const Place p = place(i);
    value = wrappedDifference(value, baseOf(p.block, field));
    if (p.block == recordStepBlock_ && p.at > recordStepAt_)
        value = wrappedDifference(value, recordStep_[field]);
    fieldsOf(p)[field] = value;
}

std::int32_t TDynArray2::indexAtStart(std::int32_t pos) const
{
    if (count_ == 0)
        return 0;
    std::int32_t lo = 0, hi = static_cast<std::int32_t>(blocks_.size()) - 1;
    while (lo < hi) {
        const std::int32_t mid = (lo + hi + 1) / 2;
        if (valueAt({mid, 0}, 0) <= pos)
            lo = mid;
        else
            hi = mid - 1;
    }
    std::int32_t first = 0, last = blocks_[static_cast<std::size_t>(lo)].count - 1;
    while (first < last) {
        const std::int32_t mid = (first + last + 1) / 2;
        if (valueAt({lo, mid}, 0) <= pos)
            first = mid;
        else
            last = mid - 1;
    }
    return firstOf(lo) + first;
}

void TDynArray2::shiftBoth(std::int32_t from, std::int32_t d, std::int32_t e)
{
    if (from >= count_ || (d == 0 && e == 0))
        return;
    const Place p = place(std::max(from, 0));
    Step step;
    step.position[0] = d;
    step.position[1] = e;
    if (p.at > 0) {
        if (recordStepBlock_ != p.block) {
            flushRecordStep();
            recordStepBlock_ = p.block;
            recordStepAt_ = p.at - 1;
        } else {
            moveRecordStep(p.at - 1);
        }
        recordStep_[0] = wrappedSum(recordStep_[0], d);
        recordStep_[1] = wrappedSum(recordStep_[1], e);
    }
    // A shift from a block's first record moves the block's bases instead.
    shiftBlocksAfter(p.at > 0 ? p.block : p.block - 1, step);
}

void TDynArray2::moveRecordStep(std::int32_t at)
{
    const Block &b = blocks_[static_cast<std::size_t>(recordStepBlock_)];
    const auto apply = [this, &b](std::int32_t from, std::int32_t to, bool back) {
        std::byte *r = b.data.get() + from * itemStride_;
        for (std::int32_t k = from; k < std::min(to, b.count); ++k, r += itemStride_) {
            std::int32_t *f = positions(r);
            f[0] = back ? wrappedDifference(f[0], recordStep_[0]) : wrappedSum(f[0], recordStep_[0]);
            f[1] = back ? wrappedDifference(f[1], recordStep_[1]) : wrappedSum(f[1], recordStep_[1]);
        }
    };
    if (at > recordStepAt_)
        apply(recordStepAt_ + 1, at + 1, false);
    else if (at < recordStepAt_)
        apply(at + 1, recordStepAt_ + 1, true);
    recordStepAt_ = at;
}

void TDynArray2::flushRecordStep()
{
    if (recordStepBlock_ >= 0)
        moveRecordStep(itemsPerBlock_);
    recordStepBlock_ = -1;
    recordStepAt_ = 0;
    recordStep_[0] = recordStep_[1] = 0;
}

void TDynArray2::shiftBlocksAfter(std::int32_t b, const Step &step)
{
    if (b + 1 >= static_cast<std::int32_t>(blocks_.size()))
        return;
    moveBlockStep(b);
    blockStep_.index += step.index;
    for (int f = 0; f < 2; ++f)
        blockStep_.position[f] = wrappedSum(blockStep_.position[f], step.position[f]);
}

void TDynArray2::moveBlockStep(std::int32_t b)
{
    if (blockStep_.index == 0 && blockStep_.position[0] == 0 && blockStep_.position[1] == 0) {
        stepBlock_ = b;
        return;
    }
    const std::int32_t last = static_cast<std::int32_t>(blocks_.size()) - 1;
    const auto apply = [this](std::int32_t from, std::int32_t to, std::int32_t sign) {
        for (std::int32_t j = from; j <= to; ++j) {
            Block &k = blocks_[static_cast<std::size_t>(j)];
            k.first += sign * blockStep_.index;
            for (int f = 0; f < 2; ++f)
                k.base[f] = sign > 0 ? wrappedSum(k.base[f], blockStep_.position[f])
                                     : wrappedDifference(k.base[f], blockStep_.position[f]);
        }
    };
    if (b > stepBlock_)
        apply(stepBlock_ + 1, std::min(b, last), +1);
    else if (b < stepBlock_)
        apply(b + 1, std::min(stepBlock_, last), -1);
    stepBlock_ = b;
}

void TDynArray2::setBlockValues(std::int32_t b, std::int32_t first, std::int32_t start, std::int32_t line)
{
    Block &k = blocks_[static_cast<std::size_t>(b)];
    const bool lacks = lacksBlockStep(b);
    k.first = first - (lacks ? blockStep_.index : 0);
    k.base[0] = lacks ? wrappedDifference(start, blockStep_.position[0]) : start;
    k.base[1] = lacks ? wrappedDifference(line, blockStep_.position[1]) : line;
}

} // namespace velmora::core
