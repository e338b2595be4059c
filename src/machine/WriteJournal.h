// The old values of the memory bytes written since a mark, so that memory can be put back
// as it was before any later mark: the debugger's way of taking steps back. Between two
// marks each byte is kept once, with its value at the earlier mark, so a loop that writes
// one variable a million times adds a single entry.
//
// Positions count every entry ever noted, so a position stays valid after older entries
// are dropped.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

namespace velmora::machine
{

class Memory;

class WriteJournal
{
public:
    WriteJournal();

    // Before the byte at address (below 1 MB) changes from old.
    void note(uint32_t address, uint8_t old)
    {
        uint64_t &word = seen_[address >> 6];
        const uint64_t bit = uint64_t(1) << (address & 63);
        if (word & bit)
            return;
        word |= bit;
        entries_.push_back(address | uint32_t(old) << kValueShift);
    }
    // Begins a new span: bytes written from now on are noted again. Returns its position.
    uint64_t mark();
    // The position after the last entry.
    uint64_t end() const { return first_ + entries_.size(); }
    // The position of the oldest entry kept.
    uint64_t begin() const { return first_; }
    // Puts back the old values of the entries from position on, newest first, and drops them.
    void undo(Memory &memory, uint64_t position);
    // Drops the entries before position, which can no longer be undone.
    void dropBefore(uint64_t position);
    void clear();

private:
    static constexpr int kValueShift = 20;
    static constexpr uint32_t kAddressMask = (uint32_t(1) << kValueShift) - 1;

    void forget(uint32_t entry) { seen_[(entry & kAddressMask) >> 6] &= ~(uint64_t(1) << (entry & 63)); }

    // One bit per byte of memory: noted since the last mark.
    std::vector<uint64_t> seen_;
    // Address in the low 20 bits, the old value above.
    std::deque<uint32_t> entries_;
    uint64_t first_ = 0;
    uint64_t markAt_ = 0;
};

} // namespace velmora::machine
