// The PC's 1 MB of memory. Physical addresses wrap at 1 MB as on the 8086, whose address
// bus has 20 lines: FFFF:0010 is address 0.
#pragma once

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
    void write8(uint32_t address, uint8_t value) { bytes_[address & kMask] = value; }
    // Low byte at address, high byte at the next address, which wraps from FFFFFh to 0.
    uint16_t read16(uint32_t address) const { return uint16_t(read8(address) | (read8(address + 1) << 8)); }
    void write16(uint32_t address, uint16_t value)
    {
        write8(address, uint8_t(value));
        write8(address + 1, uint8_t(value >> 8));
    }

    uint8_t *data() { return bytes_.get(); }
    const uint8_t *data() const { return bytes_.get(); }
    void clear();

private:
    std::unique_ptr<uint8_t[]> bytes_;
};

} // namespace velmora::machine
