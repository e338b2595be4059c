// TDynInfoArray: the highlight runs of one paragraph, sorted by position, each packed into
// 8 bytes (its position and the reference of its interned state) in one allocation that grows
// by doubling, so that storing runs allocates only now and then, never per run.
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
    TDynInfoArray(const TDynInfoArray &other);
    TDynInfoArray &operator=(const TDynInfoArray &other);
    TDynInfoArray &operator=(std::initializer_list<RunInfo> runs);
    ~TDynInfoArray();

    std::int32_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    std::int32_t position(std::int32_t i) const { return items_[i].position; }
    const RunState &state(std::int32_t i) const { return internedRunState(items_[i].state); }
    RunInfo operator[](std::int32_t i) const { return RunInfo(state(i), position(i)); }

    void setPosition(std::int32_t i, std::int32_t position) { items_[i].position = position; }
    void set(std::int32_t i, const RunInfo &run);
    void insert(std::int32_t i, const RunInfo &run);
    void push_back(const RunInfo &run) { insert(count_, run); }
    // Appends the runs of other, in order.
    void append(const TDynInfoArray &other);
    // Removes runs [from, to).
    void erase(std::int32_t from, std::int32_t to);
    // Removes every run for which drop(state) holds; returns whether any was removed.
    template <class F> bool eraseIf(F drop)
    {
        std::int32_t kept = 0;
        for (std::int32_t i = 0; i < count_; ++i)
            if (!drop(state(i)))
                items_[kept++] = items_[i];
        const bool removed = kept != count_;
        count_ = kept;
        return removed;
    }
    void clear() { count_ = 0; }
    // New runs are at position 0 in the all-zero state.
    void resize(std::int32_t n);

private:
    struct PackedRun {
        std::int32_t position;
        std::uint32_t state;
    };

    void reserve(std::int32_t n);

    PackedRun *items_ = nullptr;
    std::int32_t count_ = 0;
    std::int32_t capacity_ = 0;
};

} // namespace velmora::core
