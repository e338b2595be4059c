// TDynArray2: fixed-size records kept in separately allocated 32 KB blocks. Growing only
// appends blocks, so a record's address stays valid until the capacity is lowered below it.
// Record i lives in block i / itemsPerBlock at (i % itemsPerBlock) * stride bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace velmora::core
{

class TDynArray2
{
public:
    static constexpr int kBlockSize = 32768;

    TDynArray2(const TDynArray2 &) = delete;
    TDynArray2 &operator=(const TDynArray2 &) = delete;
    virtual ~TDynArray2() = default;

    // Address of record i; ERangeError "List index out of bounds" when i is outside 0 .. count - 1.
    std::byte *item(std::int32_t i) const;
    void get(std::int32_t i, void *destination) const;
    void put(std::int32_t i, const void *source);
    // Appends a copy of source and returns its index.
    std::int32_t add(const void *source);

    std::int32_t count() const { return count_; }
    std::int32_t capacity() const { return capacity_; }
    std::int16_t itemSize() const { return itemSize_; }
    std::int16_t itemStride() const { return itemStride_; }
    std::int16_t itemsPerBlock() const { return itemsPerBlock_; }
    std::size_t blockCount() const { return blocks_.size(); }

    // n < 0 counts as 0; raises the capacity when needed; lowering the count frees nothing.
    void setCount(std::int32_t n);
    // Keeps (n - 1) / itemsPerBlock + 1 blocks (so always at least one).
    void setCapacity(std::int32_t n);

protected:
    TDynArray2(std::int16_t itemSize, std::int16_t itemStride, std::int16_t itemsPerBlock);

    // Unchecked address of a record below the capacity.
    std::byte *slot(std::int32_t i) const
    {
        return blocks_[static_cast<std::size_t>(i / itemsPerBlock_)].get() + (i % itemsPerBlock_) * itemStride_;
    }
    // Copies count records from index from to index to (ranges may overlap), block run by block run.
    void moveRecords(std::int32_t from, std::int32_t to, std::int32_t count);
    // Calls f(record) for every record from index first up to but excluding last, walking
    // each block by the stride.
    template <class F> void forEachRecord(std::int32_t first, std::int32_t last, F f)
    {
        while (first < last) {
            std::byte *p = slot(first);
            const std::int32_t blockEnd = (first / itemsPerBlock_ + 1) * itemsPerBlock_;
            const std::int32_t stop = blockEnd < last ? blockEnd : last;
            for (std::int32_t i = first; i < stop; ++i, p += itemStride_)
                f(p);
            first = stop;
        }
    }

private:
    struct BlockDeleter {
        void operator()(std::byte *p) const { ::operator delete[](p, std::align_val_t{16}); }
    };
    using Block = std::unique_ptr<std::byte, BlockDeleter>;

    std::int16_t itemSize_;
    std::int16_t itemStride_;
    std::vector<Block> blocks_;
    std::int32_t count_ = 0;
    std::int32_t capacity_ = 0;
    std::int16_t itemsPerBlock_;
};

} // namespace velmora::core
