#include "machine/WriteJournal.h"

#include "machine/Memory.h"

#include <algorithm>
#include <cstddef>

namespace velmora::machine
{

WriteJournal::WriteJournal() : seen_(Memory::kSize / 64) {}

uint64_t WriteJournal::mark()
{
    for (uint64_t i = markAt_ - first_; i < entries_.size(); ++i)
        forget(entries_[i]);
    markAt_ = end();
    return markAt_;
}

void WriteJournal::undo(Memory &memory, uint64_t position)
{
    position = std::max(position, first_);
    uint8_t *bytes = memory.data();
    while (end() > position) {
        const uint32_t entry = entries_.back();
        entries_.pop_back();
        bytes[entry & kAddressMask] = uint8_t(entry >> kValueShift);
        forget(entry);
    }
    markAt_ = std::min(markAt_, position);
}

void WriteJournal::dropBefore(uint64_t position)
{
    position = std::min(position, end());
    if (markAt_ < position)
        mark();
    entries_.erase(entries_.begin(), entries_.begin() + std::ptrdiff_t(position - first_));
    first_ = position;
}

void WriteJournal::clear()
{
    std::fill(seen_.begin(), seen_.end(), 0);
    first_ = end();
    markAt_ = first_;
    entries_.clear();
}

} // namespace velmora::machine
