// TDynArray2: fixed-size records in separately allocated 32 KB blocks, kept in order. Each
// block holds its own count of records from its front, so inserting or erasing records moves
// only records of the blocks concerned: a block that overflows is split into evenly filled
// ones, and after an erase a block that is empty, or fits into a neighbour together with it,
// is merged away. Appending never moves a record; any other insert or erase may move the
// records of the blocks it touches, before the place of the change as well as after it.
// Blocks that fall out of use are kept as spare capacity until the capacity is lowered.
//
// Every record carries two 32-bit position fields, a start and a first line, at the offset
// the descendant gives. They are held relative to their block's base values, and shifting
// them for every record from some index on is lazy at two levels:
// - the blocks after stepBlock_ still lack blockStep_ (in their first index and base values);
// - in block recordStepBlock_, the records after local index recordStepAt_ still lack
//   recordStep_.
// Each mark moves only as far as the next shift needs, so a shift costs at most one walk over
// a block plus one over the block list, and shifts near the previous one cost almost nothing.
// Position arithmetic wraps modulo 2^32: a lazily held value may leave the 32-bit range while
// the value it stands for does not.
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
    std::byte *item(std::int32_t i) const
    {
        checkIndex(i);
        return slot(i);
    }
    void get(std::int32_t i, void *destination) const;
    void put(std::int32_t i, const void *source);
    // Appends a copy of source and returns its index.
    std::int32_t add(const void *source);

    std::int32_t count() const { return count_; }
    // Records that the allocated blocks (in use and spare) can hold.
    std::int32_t capacity() const { return static_cast<std::int32_t>(blockCount()) * itemsPerBlock_; }
    std::int16_t itemSize() const { return itemSize_; }
    std::int16_t itemStride() const { return itemStride_; }
    std::int16_t itemsPerBlock() const { return itemsPerBlock_; }
    std::size_t blockCount() const { return blocks_.size() + spare_.size(); }

    // n < 0 counts as 0; new records are appended (their contents undefined); lowering the
    // count drops records from the end and frees no block.
    void setCount(std::int32_t n);
    // Keeps (n - 1) / itemsPerBlock + 1 blocks, but never fewer than hold the records: spare
    // blocks are allocated or freed.
    void setCapacity(std::int32_t n);

    std::int32_t startOf(std::int32_t i) const { return position(i, 0); }
    std::int32_t firstLineOf(std::int32_t i) const { return position(i, 1); }
    void setStartOf(std::int32_t i, std::int32_t start) { setPosition(i, 0, start); }
    void setFirstLineOf(std::int32_t i, std::int32_t line) { setPosition(i, 1, line); }
    // Add d to the start and/or e to the first line of every record from index from on.
    void shiftStarts(std::int32_t from, std::int32_t d) { shiftBoth(from, d, 0); }
    void shiftFirstLines(std::int32_t from, std::int32_t e) { shiftBoth(from, 0, e); }
    void shiftBoth(std::int32_t from, std::int32_t d, std::int32_t e);

    // The last record whose start is at most pos (0 when there is none), by binary search.
    std::int32_t indexAtStart(std::int32_t pos) const;

protected:
    // positionsOffset: where the two 32-bit position fields (start, then first line) lie in a record.
    TDynArray2(std::int16_t itemSize, std::int16_t itemStride, std::int16_t itemsPerBlock, std::size_t positionsOffset);

    // Unchecked address of record i (0 <= i < count).
    std::byte *slot(std::int32_t i) const
    {
        const Place p = place(i);
        return blocks_[static_cast<std::size_t>(p.block)].data.get() + p.at * itemStride_;
    }
    // Room for n records before index at (at = count appends); their contents, position
    // fields included, are undefined until written. Records after them keep their positions.
    void insertRecords(std::int32_t at, std::int32_t n);
    // Removes records [at, at + n); whatever they own must have been released.
    void eraseRecords(std::int32_t at, std::int32_t n);
    // Calls f(record) for every record from index first up to but excluding last.
    template <class F> void forEachRecord(std::int32_t first, std::int32_t last, F f)
    {
        if (first >= last)
            return;
        Place p = place(first);
        for (std::int32_t left = last - first; left > 0; ++p.block, p.at = 0) {
            const Block &b = blocks_[static_cast<std::size_t>(p.block)];
            std::byte *r = b.data.get() + p.at * itemStride_;
            for (std::int32_t k = p.at; k < b.count && left > 0; ++k, --left, r += itemStride_)
                f(r);
        }
    }

private:
    struct BlockDeleter {
        void operator()(std::byte *p) const { ::operator delete[](p, std::align_val_t{16}); }
    };
    using BlockData = std::unique_ptr<std::byte, BlockDeleter>;
    struct Block {
        BlockData data;
        std::int32_t count = 0;
        // Raw values: the index of the block's first record and the bases of its records'
        // position fields, each still lacking blockStep_ when the block lies after stepBlock_.
        std::int32_t first = 0;
        std::int32_t base[2] = {0, 0};
    };
    struct Step {
        std::int32_t index = 0;
        std::int32_t position[2] = {0, 0};
    };
    // Record i is record at of block block.
    struct Place {
        std::int32_t block;
        std::int32_t at;
    };

    [[noreturn]] static void outOfBounds();
    void checkIndex(std::int32_t i) const
    {
        if (i < 0 || i >= count_)
            outOfBounds();
    }
    static std::int32_t wrappedSum(std::int32_t a, std::int32_t b)
    {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
    }
    static std::int32_t wrappedDifference(std::int32_t a, std::int32_t b)
    {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
    }
    std::int32_t *positions(std::byte *record) const
    {
        return reinterpret_cast<std::int32_t *>(record + positionsOffset_);
    }
    std::int32_t *fieldsOf(Place p) const
    {
        return positions(blocks_[static_cast<std::size_t>(p.block)].data.get() + p.at * itemStride_);
    }
    bool lacksBlockStep(std::int32_t b) const { return b > stepBlock_; }
    std::int32_t firstOf(std::int32_t b) const
    {
        return blocks_[static_cast<std::size_t>(b)].first + (lacksBlockStep(b) ? blockStep_.index : 0);
    }
    std::int32_t baseOf(std::int32_t b, int field) const;
    Place place(std::int32_t i) const
    {
        const std::int32_t first = firstOf(cursor_);
        if (i >= first && i - first < blocks_[static_cast<std::size_t>(cursor_)].count)
            return {cursor_, i - first};
        return placeElsewhere(i);
    }
    Place placeElsewhere(std::int32_t i) const;
    // The effective value of a position field of the record at p.
    std::int32_t valueAt(Place p, int field) const;
    std::int32_t position(std::int32_t i, int field) const;
    void setPosition(std::int32_t i, int field, std::int32_t value);

    // The record step: apply it up to local index at of its block (forward or back), or fully.
    void moveRecordStep(std::int32_t at);
    void flushRecordStep();
    // Adds the step to every block after b: the block step mark moves to b first.
    void shiftBlocksAfter(std::int32_t b, const Step &step);
    void moveBlockStep(std::int32_t b);

    // Block list changes; the block step mark stays with the blocks it names.
    static BlockData allocateBlockData();
    // A spare block if there is one, else a new one.
    BlockData newBlockData();
    void insertBlocks(std::int32_t b, std::int32_t n);
    void removeBlocks(std::int32_t b, std::int32_t n);
    // Sets the effective first index and bases of block b.
    void setBlockValues(std::int32_t b, std::int32_t first, std::int32_t start, std::int32_t line);
    void appendRecords(std::int32_t n);
    void splitInsert(Place p, std::int32_t n);
    // Merges block b + 1 into block b when both fit into one block.
    void mergeWithNext(std::int32_t b);

    std::int16_t itemSize_;
    std::int16_t itemStride_;
    std::int16_t itemsPerBlock_;
    std::size_t positionsOffset_;
    std::vector<Block> blocks_;    // in order; all non-empty unless the array is empty (then one)
    std::vector<BlockData> spare_; // allocated blocks not in use
    std::int32_t count_ = 0;
    std::int32_t stepBlock_ = -1;
    Step blockStep_;
    std::int32_t recordStepBlock_ = -1;
    std::int32_t recordStepAt_ = 0;
    std::int32_t recordStep_[2] = {0, 0};
    mutable std::int32_t cursor_ = 0; // the block of the last record looked up
    mutable std::int32_t previousCursor_ = 0; // the block looked up before it: a hint only
    std::vector<std::byte> scratch_;  // a block's records while it is split
};

} // namespace velmora::core
