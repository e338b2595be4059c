#include "editor/core/store/DynArray2.h"

#include "editor/core/text/EditorErrors.h"

#include <algorithm>
#include <cstring>

namespace velmora::core
{

TDynArray2::TDynArray2(std::int16_t itemSize, std::int16_t itemStride, std::int16_t itemsPerBlock,
                       std::size_t positionsOffset)
    : itemSize_(itemSize), itemStride_(itemStride), itemsPerBlock_(itemsPerBlock), positionsOffset_(positionsOffset)
{
    blocks_.push_back(Block{newBlockData()});
}

void TDynArray2::outOfBounds()
{
    throw ERangeError(kListIndexOutOfBounds);
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
    appendRecords(1);
    put(count_ - 1, source);
    return count_ - 1;
}

void TDynArray2::setCount(std::int32_t n)
{
    n = std::max(n, 0);
    if (n > count_)
        appendRecords(n - count_);
    else
        eraseRecords(n, count_ - n);
}

void TDynArray2::setCapacity(std::int32_t n)
{
    const std::size_t asked = n <= 0 ? 1 : static_cast<std::size_t>((n - 1) / itemsPerBlock_ + 1);
    const std::size_t wanted = std::max(asked, blocks_.size());
    while (blockCount() > wanted && !spare_.empty())
        spare_.pop_back();
    while (blockCount() < wanted)
        spare_.push_back(allocateBlockData());
}

TDynArray2::BlockData TDynArray2::allocateBlockData()
{
    return BlockData(static_cast<std::byte *>(::operator new[](kBlockSize, std::align_val_t{16})));
}

TDynArray2::BlockData TDynArray2::newBlockData()
{
    if (spare_.empty())
        return allocateBlockData();
    BlockData data = std::move(spare_.back());
    spare_.pop_back();
    return data;
}

void TDynArray2::insertBlocks(std::int32_t b, std::int32_t n)
{
    std::vector<Block> fresh(static_cast<std::size_t>(n));
    for (Block &k : fresh)
        k.data = newBlockData();
    blocks_.insert(blocks_.begin() + b, std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
    if (stepBlock_ >= b)
        stepBlock_ += n;
    cursor_ = b;
}

void TDynArray2::removeBlocks(std::int32_t b, std::int32_t n)
{
    if (n <= 0)
        return;
    for (std::int32_t j = b; j < b + n; ++j)
        spare_.push_back(std::move(blocks_[static_cast<std::size_t>(j)].data));
    blocks_.erase(blocks_.begin() + b, blocks_.begin() + b + n);
    if (stepBlock_ >= b + n)
        stepBlock_ -= n;
    else if (stepBlock_ >= b)
        stepBlock_ = b - 1;
    cursor_ = std::min(b, static_cast<std::int32_t>(blocks_.size()) - 1);
}

void TDynArray2::appendRecords(std::int32_t n)
{
    while (n > 0) {
        const std::int32_t last = static_cast<std::int32_t>(blocks_.size()) - 1;
        Block &b = blocks_[static_cast<std::size_t>(last)];
        if (b.count == itemsPerBlock_) {
            const std::int32_t first = firstOf(last) + b.count;
            const std::int32_t start = baseOf(last, 0), line = baseOf(last, 1);
            insertBlocks(last + 1, 1);
            setBlockValues(last + 1, first, start, line);
            continue;
        }
        const std::int32_t take = std::min(n, itemsPerBlock_ - b.count);
        b.count += take;
        count_ += take;
        n -= take;
    }
}

void TDynArray2::insertRecords(std::int32_t at, std::int32_t n)
{
    if (n <= 0)
        return;
    flushRecordStep();
    if (at == count_) {
        appendRecords(n);
        return;
    }
    const Place p = place(at);
    Block &b = blocks_[static_cast<std::size_t>(p.block)];
    if (b.count + n > itemsPerBlock_) {
        splitInsert(p, n);
        return;
    }
    std::byte *from = b.data.get() + p.at * itemStride_;
    std::memmove(from + n * itemStride_, from, static_cast<std::size_t>(b.count - p.at) * itemStride_);
    b.count += n;
    count_ += n;
    Step step;
    step.index = n;
    shiftBlocksAfter(p.block, step);
}

void TDynArray2::splitInsert(Place p, std::int32_t n)
{
    // The block's records go aside; then its first p.at records, n new ones and the rest are
    // laid out evenly over as many blocks as they need, all with the block's bases.
    const std::int32_t old = blocks_[static_cast<std::size_t>(p.block)].count;
    const std::int32_t total = old + n;
    const std::int32_t m = (total - 1) / itemsPerBlock_ + 1;
    scratch_.resize(static_cast<std::size_t>(old) * itemStride_);
    std::memcpy(scratch_.data(), blocks_[static_cast<std::size_t>(p.block)].data.get(), scratch_.size());
    std::int32_t first = firstOf(p.block);
    const std::int32_t start = baseOf(p.block, 0), line = baseOf(p.block, 1);
    insertBlocks(p.block + 1, m - 1);

    const auto copy = [this](Block &to, std::int32_t toAt, std::int32_t from, std::int32_t records) {
        if (records > 0)
            std::memcpy(to.data.get() + toAt * itemStride_, scratch_.data() + from * itemStride_,
                        static_cast<std::size_t>(records) * itemStride_);
    };
    std::int32_t seq = 0; // index in the new sequence of the block's first record
    for (std::int32_t j = 0; j < m; ++j) {
        Block &to = blocks_[static_cast<std::size_t>(p.block + j)];
        const std::int32_t size = total / m + (j < total % m ? 1 : 0);
        const std::int32_t end = seq + size;
        copy(to, 0, seq, std::min(end, p.at) - seq); // records before the new ones
        const std::int32_t tailFrom = std::max(seq, p.at + n);
        copy(to, tailFrom - seq, tailFrom - n, end - tailFrom); // records after them
        to.count = size;
        setBlockValues(p.block + j, first, start, line);
        first += size;
        seq = end;
    }
    count_ += n;
    Step step;
    step.index = n;
    shiftBlocksAfter(p.block + m - 1, step);
}

void TDynArray2::eraseRecords(std::int32_t at, std::int32_t n)
{
    if (n <= 0)
        return;
    flushRecordStep();
    const Place s = place(at);
    const Place e = place(at + n - 1);
    Block &first = blocks_[static_cast<std::size_t>(s.block)];
    Block &last = blocks_[static_cast<std::size_t>(e.block)];
    const std::int32_t kept = last.count - e.at - 1;
    std::memmove(last.data.get() + (s.block == e.block ? s.at : 0) * itemStride_,
                 last.data.get() + (e.at + 1) * itemStride_, static_cast<std::size_t>(kept) * itemStride_);
    std::int32_t touched = s.block;
    if (s.block == e.block) {
        last.count -= n;
    } else {
        first.count = s.at;
        last.count = kept;
        setBlockValues(e.block, firstOf(s.block) + s.at, baseOf(e.block, 0), baseOf(e.block, 1));
        removeBlocks(s.block + 1, e.block - s.block - 1);
        touched = s.block + 1;
    }
    count_ -= n;
    Step step;
    step.index = -n;
    shiftBlocksAfter(touched, step);

    if (count_ == 0) {
        removeBlocks(1, static_cast<std::int32_t>(blocks_.size()) - 1);
        blocks_[0].first = 0;
        blocks_[0].base[0] = blocks_[0].base[1] = 0;
        stepBlock_ = -1;
        blockStep_ = Step();
        cursor_ = 0;
        return;
    }
    for (std::int32_t j = touched; j >= s.block; --j)
        if (blocks_[static_cast<std::size_t>(j)].count == 0)
            removeBlocks(j, 1);
    for (std::int32_t j = std::min(s.block + 1, static_cast<std::int32_t>(blocks_.size()) - 2);
         j >= std::max(s.block - 1, 0); --j)
        mergeWithNext(j);
}

void TDynArray2::mergeWithNext(std::int32_t b)
{
    Block &to = blocks_[static_cast<std::size_t>(b)];
    const Block &from = blocks_[static_cast<std::size_t>(b + 1)];
    if (to.count + from.count > itemsPerBlock_)
        return;
    // The moved records are rebased from the next block's bases onto this one's.
    const std::int32_t d[2] = {wrappedDifference(baseOf(b + 1, 0), baseOf(b, 0)),
                               wrappedDifference(baseOf(b + 1, 1), baseOf(b, 1))};
    std::byte *r = to.data.get() + to.count * itemStride_;
    std::memcpy(r, from.data.get(), static_cast<std::size_t>(from.count) * itemStride_);
    for (std::int32_t k = 0; k < from.count; ++k, r += itemStride_) {
        std::int32_t *f = positions(r);
        f[0] = wrappedSum(f[0], d[0]);
        f[1] = wrappedSum(f[1], d[1]);
    }
    to.count += from.count;
    removeBlocks(b + 1, 1);
}

} // namespace velmora::core
