// The 8086's registers as a program sees them.
#pragma once

#include <cstdint>

namespace velmora::machine
{

enum Flag : uint16_t {
    CF = 0x0001,
    PF = 0x0004,
    AF = 0x0010,
    ZF = 0x0040,
    SF = 0x0080,
    TF = 0x0100,
    IF = 0x0200,
    DF = 0x0400,
    OF = 0x0800,
};

struct Registers {
    uint16_t ax = 0, bx = 0, cx = 0, dx = 0, sp = 0, bp = 0, si = 0, di = 0;
    uint16_t cs = 0, ds = 0, es = 0, ss = 0, ip = 0;
    // Bits 12-15 and 1 always read as one, bits 3 and 5 as zero.
    uint16_t flags = 0xF002;

    uint8_t al() const { return uint8_t(ax); }
    uint8_t ah() const { return uint8_t(ax >> 8); }
    uint8_t bl() const { return uint8_t(bx); }
    uint8_t bh() const { return uint8_t(bx >> 8); }
    uint8_t cl() const { return uint8_t(cx); }
    uint8_t ch() const { return uint8_t(cx >> 8); }
    uint8_t dl() const { return uint8_t(dx); }
    uint8_t dh() const { return uint8_t(dx >> 8); }
    void setAl(uint8_t v) { ax = uint16_t((ax & 0xFF00) | v); }
    void setAh(uint8_t v) { ax = uint16_t((ax & 0x00FF) | (v << 8)); }
    void setBl(uint8_t v) { bx = uint16_t((bx & 0xFF00) | v); }
    void setBh(uint8_t v) { bx = uint16_t((bx & 0x00FF) | (v << 8)); }
    void setCl(uint8_t v) { cx = uint16_t((cx & 0xFF00) | v); }
    void setCh(uint8_t v) { cx = uint16_t((cx & 0x00FF) | (v << 8)); }
    void setDl(uint8_t v) { dx = uint16_t((dx & 0xFF00) | v); }
    void setDh(uint8_t v) { dx = uint16_t((dx & 0x00FF) | (v << 8)); }

    bool flag(Flag f) const { return (flags & f) != 0; }
    bool operator==(const Registers &) const = default;
    void setFlag(Flag f, bool on) { flags = on ? uint16_t(flags | f) : uint16_t(flags & ~f); }
};

} // namespace velmora::machine
