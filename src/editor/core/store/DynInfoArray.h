// TDynInfoArray: the highlight runs of one paragraph, sorted by position, each packed into
// 8 bytes (its position and the reference of its interned state) in one allocation that grows
// by doubling, so that storing runs allocates only now and then, never per run. The array
// itself is a 32-bit handle of its allocation (0 while empty and never grown), so that every
// paragraph record holds its runs in 4 bytes without an extension.
//
// Allocations are reference-counted and copied on write: a copy shares its source's runs, and
// share() swaps a finished array for an equal one that is already stored (most paragraphs of a
// source have the same runs as many others), or files its own for later arrays to find. A shared
// allocation is never changed; every change first gives the array an allocation of its own.
#pragma once

#include "editor/core/store/RunStates.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace velmora::core
{

class TDynInfoArray
{
public:
    TDynInfoArray() = default;
    TDynInfoArray(const TDynInfoArray &other) : handle_(other.handle_) { retain(); }
    TDynInfoArray &operator=(const TDynInfoArray &other);
    TDynInfoArray &operator=(std::initializer_list<RunInfo> runs);
    ~TDynInfoArray() { reset(); }

    std::int32_t size() const { return handle_ ? block()->count : 0; }
    bool empty() const { return size() == 0; }
    std::int32_t position(std::int32_t i) const { return items()[i].position; }
    const RunState &state(std::int32_t i) const { return internedRunState(items()[i].state); }
    // The reference of the interned state of run i.
    std::uint32_t stateRef(std::int32_t i) const { return items()[i].state; }
    RunInfo operator[](std::int32_t i) const { return RunInfo(state(i), position(i)); }
    // Index of the first run whose position is after offset (runs are sorted by position).
    std::int32_t after(std::int32_t offset) const
    {
        if (!handle_)
            return 0;
        const Block *b = block();
        const PackedRun *runs = itemsOf(b);
        std::int32_t lo = 0, hi = b->count;
        while (lo < hi) {
            const std::int32_t mid = (lo + hi) / 2;
            if (runs[mid].position <= offset)
                lo = mid + 1;
            else
                hi = mid;
        }
        return lo;
    }

    void setPosition(std::int32_t i, std::int32_t position)
    {
        own();
        items()[i].position = position;
    }
    void set(std::int32_t i, const RunInfo &run) { set(i, run.position, internRunState(run)); }
    void insert(std::int32_t i, const RunInfo &run) { insert(i, run.position, internRunState(run)); }
    // The same with the reference of an interned state.
    void set(std::int32_t i, std::int32_t position, std::uint32_t state);
    void insert(std::int32_t i, std::int32_t position, std::uint32_t state);
    // Inserts two runs at i and i + 1 with one move of the runs after them.
    void insertPair(std::int32_t i, std::int32_t position, std::uint32_t state, std::int32_t nextPosition,
                    std::uint32_t nextState);
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
        if (handle_)
            block()->count = kept;
        return kept != count;
    }
    // Empties the array, keeping an allocation of its own.
    void clear()
    {
        own();
        if (handle_)
            block()->count = 0;
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
    bool sharesWith(const TDynInfoArray &other) const { return handle_ && handle_ == other.handle_; }

    struct PackedRun {
        std::int32_t position;
        std::uint32_t state; // the reference of its interned state
    };
    // The runs in order (null while there are none), valid until the array changes.
    const PackedRun *data() const { return handle_ ? items() : nullptr; }

private:
    // The allocation: this header, then capacity runs.
    struct Block {
        std::int32_t count;
        std::int32_t capacity;
        std::int32_t users;   // arrays using it
        std::uint32_t handle; // its slot in blocks()
        bool stored;          // in the table of shared allocations
    };
    friend struct SharedRunsTable;

    // The allocation behind every handle in use; slot 0 stays null. Never destroyed, so that
    // records released during static destruction still find it. Single-threaded, like the
    // table of interned states.
    static std::vector<Block *> &blocks()
    {
        static auto *all = new std::vector<Block *>(1, nullptr);
        return *all;
    }
    Block *block() const { return blocks()[handle_]; }
    // Gives block (new, or moved by a reallocation) to this array's handle, or a new handle.
    void place(Block *block);

    static PackedRun *itemsOf(const Block *block)
    {
        return reinterpret_cast<PackedRun *>(const_cast<Block *>(block) + 1);
    }
    PackedRun *items() const { return itemsOf(block()); }
    void reserve(std::int32_t n);
    // Makes room for n runs at i, moving the runs from i on; returns the first of the new slots.
    PackedRun *openGap(std::int32_t i, std::int32_t n);
    void retain()
    {
        if (handle_)
            ++block()->users;
    }
    // Gives the array an allocation that no other array uses and the table does not hold.
    void own()
    {
        if (handle_ && (block()->users > 1 || block()->stored))
            unshare();
    }
    void unshare();

    std::uint32_t handle_ = 0;
};

} // namespace velmora::core
