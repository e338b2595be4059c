// The PC's 1 MB of memory. Physical addresses wrap at 1 MB as on the 8086, whose address
// bus has 20 lines: FFFF:0010 is address 0. A write journal, when one is set, is told the
// old value of every byte written, here and by the CPU.
#pragma once

#include "machine/WriteJournal.h"

#include <cstdint>
#include <memory>

namespace velmora::machine
{

class Memory
{
public:
    static constexpr uint32_t kSize = 0x100000;
    static constexpr uint32_t kMask = kSize - 1;

    Memory();

    static uint32_t linear(uint16_t segment, uint16_t offset) { return ((uint32_t(segment) << 4) + offset) & kMask; }

    uint8_t read8(uint32_t address) const { return bytes_[address & kMask]; }
    void write8(uint32_t address, uint8_t value)
    {
        address &= kMask;
        if (journal_) [[unlikely]]
            journal_->note(address, bytes_[address]);
        bytes_[address] = value;
    }
    // Low byte at address, high byte at the next address, which wraps from FFFFFh to 0.
    uint16_t read16(uint32_t address) const { return uint16_t(read8(address) | (read8(address + 1) << 8)); }
    void write16(uint32_t address, uint16_t value)
    {
        write8(address, uint8_t(value));
        write8(address + 1, uint8_t(value >> 8));
    }

    uint8_t *data() { return bytes_.get(); }
    const uint8_t *data() const { return bytes_.get(); }
    // Writes through data() go around the journal; clear() too.
    void clear();

    // Null for none; the journal must outlive its use here.
    void setJournal(WriteJournal *journal) { journal_ = journal; }
    WriteJournal *journal() const { return journal_; }

private:
    std::unique_ptr<uint8_t[]> bytes_;
    WriteJournal *journal_ = nullptr;
};

} // namespace velmora::machine
