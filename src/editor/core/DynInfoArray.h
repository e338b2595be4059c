// TDynInfoArray: the highlight runs of one paragraph, sorted by position, each packed into
// 8 bytes (its position and the reference of its interned state) in one allocation that grows
// by doubling, so that storing runs allocates only now and then, never per run. The array
// itself is one pointer (null while empty and never grown), so that every paragraph record can
// hold its runs without an extension.
//
// Allocations are reference-counted and copied on write: a copy shares its source's runs, and
// share() swaps a finished array for an equal one that is already stored (most paragraphs of a
// source have the same runs as many others), or files its own for later arrays to find. A shared
// allocation is never changed; every change first gives the array an allocation of its own.
#pragma once

#include "editor/core/RunStates.h"

#include <cstdint>
#include <initializer_list>

namespace velmora::core
{

class TDynInfoArray
{
public:
    TDynInfoArray() = default;
    TDynInfoArray(const TDynInfoArray &other) : block_(other.block_) { retain(); }
    TDynInfoArray &operator=(const TDynInfoArray &other);
    TDynInfoArray &operator=(std::initializer_list<RunInfo> runs);
    ~TDynInfoArray() { reset(); }

    std::int32_t size() const { return block_ ? block_->count : 0; }
    bool empty() const { return size() == 0; }
    std::int32_t position(std::int32_t i) const { return items()[i].position; }
    const RunState &state(std::int32_t i) const { return internedRunState(items()[i].state); }
    RunInfo operator[](std::int32_t i) const { return RunInfo(state(i), position(i)); }

    void setPosition(std::int32_t i, std::int32_t position)
    {
        own();
        items()[i].position = position;
    }
    void set(std::int32_t i, const RunInfo &run);
    void insert(std::int32_t i, const RunInfo &run);
    void push_back(const RunInfo &run) { insert(size(), run); }
    // Appends the runs of other, in order.
    void append(const TDynInfoArray &other);
    // Removes runs [from, to).
    void erase(std::int32_t from, std::int32_t to);
    // Removes every run for which drop(state) holds; returns whether any was removed.
    template <class F> bool eraseIf(F drop)
    {
        own();
        const std::int32_t count = size();
        std::int32_t kept = 0;
        for (std::int32_t i = 0; i < count; ++i)
            if (!drop(state(i)))
                items()[kept++] = items()[i];
        if (block_)
            block_->count = kept;
        return kept != count;
    }
    // Empties the array, keeping an allocation of its own.
    void clear()
    {
        own();
        if (block_)
            block_->count = 0;
    }
    // Empties the array and drops its allocation.
    void reset();
    // New runs are at position 0 in the all-zero state.
    void resize(std::int32_t n);
    // Called when the runs are complete for now: takes the stored allocation with the same runs,
    // or stores this one (trimmed to its size) for others to take; an empty array drops its
    // allocation.
    void share();
    // Whether both arrays use one allocation (for tests).
    bool sharesWith(const TDynInfoArray &other) const { return block_ && block_ == other.block_; }

private:
    struct PackedRun {
        std::int32_t position;
        std::uint32_t state;
    };
    // The allocation: this header, then capacity runs.
    struct Block {
        std::int32_t count;
        std::int32_t capacity;
        std::int32_t users; // arrays using it
        bool stored;        // in the table of shared allocations
    };
    friend struct SharedRunsTable;

    static PackedRun *itemsOf(const Block *block)
    {
        return reinterpret_cast<PackedRun *>(const_cast<Block *>(block) + 1);
    }
    PackedRun *items() const { return itemsOf(block_); }
    void reserve(std::int32_t n);
    void retain()
    {
        if (block_)
            ++block_->users;
    }
    // Gives the array an allocation that no other array uses and the table does not hold.
    void own()
    {
        if (block_ && (block_->users > 1 || block_->stored))
            unshare();
    }
    void unshare();

    Block *block_ = nullptr;
};

} // namespace velmora::core
