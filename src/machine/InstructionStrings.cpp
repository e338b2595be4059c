// The string instructions MOVS CMPS STOS LODS SCAS and the 80186's INS OUTS, with REP.
#include "machine/Instruction.h"

#include <algorithm>

namespace velmora::machine
{

// One element: the source at DS:SI (the segment may be overridden), the destination at
// ES:DI; SI and DI step back when DF is set.
template <bool W, uint8_t Op> void Instruction::stringStep()
{
    constexpr uint16_t size = W ? 2 : 1;
    const uint16_t delta = (r_.flags & DF) ? uint16_t(-size) : size;
    const uint32_t extra = base(r_.es);
    switch (Op) {
    case 0xA4:
        write<W>(extra, r_.di, read<W>(segBase(DS), r_.si));
        r_.si += delta, r_.di += delta;
        break;
    case 0xA6:
        alu::sub<W>(r_.flags, read<W>(segBase(DS), r_.si), read<W>(extra, r_.di));
        r_.si += delta, r_.di += delta;
        break;
    case 0xAA:
        write<W>(extra, r_.di, r_.ax);
        r_.di += delta;
        break;
    case 0xAC:
        if constexpr (W)
            r_.ax = read16(segBase(DS), r_.si);
        else
            r_.setAl(read8(segBase(DS), r_.si));
        r_.si += delta;
        break;
    case 0xAE:
        alu::sub<W>(r_.flags, r_.ax & alu::kMask<W>, read<W>(extra, r_.di));
        r_.di += delta;
        break;
    case 0x6C: {
        uint32_t v = portIn(r_.dx);
        if constexpr (W)
            v |= portIn(uint16_t(r_.dx + 1)) << 8;
        write<W>(extra, r_.di, v);
        r_.di += delta;
        break;
    }
    default: { // 6Eh
        const uint32_t v = read<W>(segBase(DS), r_.si);
        portOut(r_.dx, uint8_t(v));
        if constexpr (W)
            portOut(uint16_t(r_.dx + 1), uint8_t(v >> 8));
        r_.si += delta;
        break;
    }
    }
}

// With a REP prefix: one element per CX, and CMPS/SCAS also stop when ZF differs from
// the prefix's (REPE goes on while equal, REPNE while not). When the run's instruction
// budget ends first, IP goes back to the first prefix so that the next run goes on.
template <bool W, uint8_t Op> void Instruction::repeatString()
{
    if (repeat_ == kNoRepeat) {
        stringStep<W, Op>();
        return;
    }
    constexpr bool compares = Op == 0xA6 || Op == 0xAE;
    uint64_t done = 0;
    while (r_.cx != 0) {
        if (done == repeatBudget_) {
            r_.ip = startIp_;
            noTrap_ = true;
            break;
        }
        stringStep<W, Op>();
        r_.cx--;
        ++done;
        if (compares && bool(r_.flags & ZF) != (repeat_ == kRepE))
            break;
    }
    counted_ = std::max<uint64_t>(done, 1);
}

void Instruction::stringOp(uint8_t opcode)
{
    switch (opcode) {
    case 0xA4:
        repeatString<false, 0xA4>();
        break;
    case 0xA5:
        repeatString<true, 0xA4>();
        break;
    case 0xA6:
        repeatString<false, 0xA6>();
        break;
    case 0xA7:
        repeatString<true, 0xA6>();
        break;
    case 0xAA:
        repeatString<false, 0xAA>();
        break;
    case 0xAB:
        repeatString<true, 0xAA>();
        break;
    case 0xAC:
        repeatString<false, 0xAC>();
        break;
    case 0xAD:
        repeatString<true, 0xAC>();
        break;
    case 0xAE:
        repeatString<false, 0xAE>();
        break;
    case 0xAF:
        repeatString<true, 0xAE>();
        break;
    case 0x6C:
        repeatString<false, 0x6C>();
        break;
    case 0x6D:
        repeatString<true, 0x6C>();
        break;
    case 0x6E:
        repeatString<false, 0x6E>();
        break;
    default:
        repeatString<true, 0x6E>();
        break;
    }
}

} // namespace velmora::machine
