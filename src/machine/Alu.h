// The 8086's arithmetic and logic with the flags each operation sets. W selects a word
// (true) or a byte (false) operand; operands and results travel in uint32_t so that carries
// out of the operand's width can be seen.
#pragma once

#include "machine/Registers.h"

#include <cstdint>

namespace velmora::machine::alu
{

// The flags that arithmetic sets; the others (TF, IF, DF) belong to the program.
constexpr uint16_t kStatus = CF | PF | AF | ZF | SF | OF;

template <bool W> constexpr uint32_t kMask = W ? 0xFFFF : 0xFF;
template <bool W> constexpr uint32_t kSign = W ? 0x8000 : 0x80;
template <bool W> constexpr unsigned kBits = W ? 16 : 8;

// SF, ZF and PF of every byte value.
struct ByteFlags {
    uint8_t szp[256];
    constexpr ByteFlags() : szp()
    {
        for (unsigned v = 0; v < 256; ++v) {
            unsigned ones = 0;
            for (unsigned b = v; b != 0; b >>= 1)
                ones += b & 1;
            szp[v] = uint8_t(((ones & 1) == 0 ? PF : 0) | (v == 0 ? ZF : 0) | (v & 0x80 ? SF : 0));
        }
    }
};
inline constexpr ByteFlags kByteFlags{};

// SF, ZF and PF of a result; PF looks at the low byte only.
template <bool W> inline uint16_t szp(uint32_t v)
{
    if constexpr (W)
        return uint16_t((kByteFlags.szp[v & 0xFF] & PF) | ((v & 0xFFFF) == 0 ? ZF : 0) | ((v >> 8) & SF));
    else
        return kByteFlags.szp[v & 0xFF];
}

inline void setStatus(uint16_t &flags, uint32_t status, uint16_t which = kStatus)
{
    flags = uint16_t((flags & ~which) | (status & which));
}

template <bool W> inline uint32_t add(uint16_t &flags, uint32_t a, uint32_t b, uint32_t carry = 0)
{
    const uint32_t wide = a + b + carry;
    const uint32_t result = wide & kMask<W>;
    const uint32_t carryOut = wide >> kBits<W>; // 0 or 1, which is CF
    uint32_t f = szp<W>(result) | carryOut | ((a ^ b ^ wide) & AF);
    if ((wide ^ a) & (wide ^ b) & kSign<W>)
        f |= OF;
    setStatus(flags, f);
    return result;
}

template <bool W> inline uint32_t sub(uint16_t &flags, uint32_t a, uint32_t b, uint32_t borrow = 0)
{
    const uint32_t wide = a - b - borrow;
    const uint32_t result = wide & kMask<W>;
    uint32_t f = szp<W>(result) | ((wide >> kBits<W>)&CF) | ((a ^ b ^ wide) & AF);
    if ((a ^ b) & (a ^ wide) & kSign<W>)
        f |= OF;
    setStatus(flags, f);
    return result;
}

// AND, OR, XOR and TEST clear CF, OF and AF.
template <bool W> inline uint32_t logic(uint16_t &flags, uint32_t result)
{
    setStatus(flags, szp<W>(result));
    return result;
}

// INC and DEC leave CF as it was.
template <bool W> inline uint32_t inc(uint16_t &flags, uint32_t a)
{
    const uint16_t carry = flags & CF;
    const uint32_t result = add<W>(flags, a, 1);
    flags = uint16_t((flags & ~CF) | carry);
    return result;
}

template <bool W> inline uint32_t dec(uint16_t &flags, uint32_t a)
{
    const uint16_t carry = flags & CF;
    const uint32_t result = sub<W>(flags, a, 1);
    flags = uint16_t((flags & ~CF) | carry);
    return result;
}

// The eight operations of opcodes 00h-3Fh and 80h-83h in the order of their reg field:
// ADD OR ADC SBB AND SUB XOR CMP. CMP returns a, the operand it leaves unchanged.
template <bool W> inline uint32_t arith(uint16_t &flags, unsigned op, uint32_t a, uint32_t b)
{
    switch (op) {
    case 0:
        return add<W>(flags, a, b);
    case 1:
        return logic<W>(flags, a | b);
    case 2:
        return add<W>(flags, a, b, flags & CF);
    case 3:
        return sub<W>(flags, a, b, flags & CF);
    case 4:
        return logic<W>(flags, a & b);
    case 5:
        return sub<W>(flags, a, b);
    case 6:
        return logic<W>(flags, a ^ b);
    default:
        sub<W>(flags, a, b);
        return a;
    }
}

// The rotates and shifts of opcodes D0h-D3h and C0h-C1h in the order of their reg field:
// ROL ROR RCL RCR SHL SHR SAL SAR, applied one bit at a time as the 8086 does, so a count
// beyond the operand's width behaves as on the chip. A count of 0 changes nothing. Rotates
// set only CF and OF; shifts set SF, ZF and PF from the result too.
template <bool W> uint32_t shift(uint16_t &flags, unsigned op, uint32_t v, unsigned count)
{
    if (count == 0)
        return v;
    constexpr uint32_t mask = kMask<W>, sign = kSign<W>;
    uint32_t carry = flags & CF;
    uint32_t overflow = 0;
    switch (op) {
    case 0: // ROL
        for (unsigned i = 0; i < count; ++i) {
            carry = (v & sign) ? 1 : 0;
            v = ((v << 1) | carry) & mask;
        }
        overflow = ((v & sign) ? 1 : 0) ^ carry;
        break;
    case 1: // ROR
        for (unsigned i = 0; i < count; ++i) {
            carry = v & 1;
            v = (v >> 1) | (carry ? sign : 0);
        }
        overflow = ((v ^ (v << 1)) & sign) ? 1 : 0;
        break;
    case 2: // RCL
        for (unsigned i = 0; i < count; ++i) {
            const uint32_t out = (v & sign) ? 1 : 0;
            v = ((v << 1) | carry) & mask;
            carry = out;
        }
        overflow = ((v & sign) ? 1 : 0) ^ carry;
        break;
    case 3: // RCR
        for (unsigned i = 0; i < count; ++i) {
            const uint32_t out = v & 1;
            v = (v >> 1) | (carry ? sign : 0);
            carry = out;
        }
        overflow = ((v ^ (v << 1)) & sign) ? 1 : 0;
        break;
    case 4: // SHL
    case 6: // SAL
        for (unsigned i = 0; i < count; ++i) {
            carry = (v & sign) ? 1 : 0;
            v = (v << 1) & mask;
        }
        overflow = ((v & sign) ? 1 : 0) ^ carry;
        break;
    case 5: // SHR
        for (unsigned i = 0; i < count; ++i) {
            overflow = (v & sign) ? 1 : 0;
            carry = v & 1;
            v >>= 1;
        }
        break;
    default: // SAR
        for (unsigned i = 0; i < count; ++i) {
            carry = v & 1;
            v = (v >> 1) | (v & sign);
        }
        overflow = 0;
        break;
    }
    uint16_t which = CF | OF;
    uint32_t f = carry | (overflow ? OF : 0);
    if (op >= 4) {
        which |= SF | ZF | PF | AF;
        f |= szp<W>(v);
    }
    setStatus(flags, f, which);
    return v;
}

} // namespace velmora::machine::alu
