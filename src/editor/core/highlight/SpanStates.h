// TSpanStates: the interned states of the spans that keyword and number matches open,
// remembered by what they are built from. A file opens the same few spans over and over, so a
// match mostly finds its state here instead of building a run record and hashing it.
#pragma once

#include "editor/core/keyfiles/KeyInfo.h"
#include "editor/core/store/ParagraphRecord.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace velmora::core
{

class TSpanStates
{
public:
    // Puts in force over [from, to) the span that key opens with stack entry and start and stop
    // lengths to - from (at most 32767) inside the state in force at from, unless that state is
    // nested too deep for another span; with restartCollapse the span's collapse depth is 0.
    // Returns whether the span was put in force.
    bool put(ParInfo &par, std::int32_t from, std::int32_t to, const TKeyAttributes &key, std::int16_t entry,
             bool restartCollapse);

private:
    struct Entry {
        bool used = false;
        bool restartCollapse = false;
        std::int16_t entry = 0;
        std::int16_t length = 0;
        std::uint32_t outer = 0;
        TKeyAttributes key;
        std::uint32_t state = 0;
    };
    // The reference of par's start run, interned once for each different start state.
    std::uint32_t startRef(const ParInfo &par);

    static constexpr std::size_t kEntries = 1024; // a power of two
    std::vector<Entry> entries_ = std::vector<Entry>(kEntries);
    RunState lastStart_;
    std::uint32_t lastStartRef_ = 0; // reference 0 is the all-zero state lastStart_ begins with
    std::optional<std::uint32_t> defaultStartRef_; // the shared default start run's
};

} // namespace velmora::core
