// The run loop and the opcode dispatch, with the operations most programs spend their time
// in; the rarer groups live in InstructionGroups.cpp and InstructionStrings.cpp.
#include "machine/Instruction.h"

namespace velmora::machine
{

StopReason Cpu::run(uint64_t maxInstructions)
{
    // A limit beyond what the counter can still count means no limit.
    const uint64_t end =
        maxInstructions > UINT64_MAX - instructionCount_ ? UINT64_MAX : instructionCount_ + maxInstructions;
    waiting_ = false;
    if (halted_)
        return StopReason::Halted;
    while (instructionCount_ < end) {
        if (stopRequested_.load(std::memory_order_relaxed)) [[unlikely]] {
            stopRequested_.store(false, std::memory_order_relaxed);
            return StopReason::Stopped;
        }
        uint64_t budget = end - instructionCount_;
        instructionCount_ += Instruction(*this, budget).execute();
        if (halted_ || waiting_) [[unlikely]] {
            if (waiting_) {
                waiting_ = false;
                return StopReason::WaitingForInput;
            }
            return StopReason::Halted;
        }
    }
    return StopReason::StepLimit;
}

void Cpu::step()
{
    if (halted_)
        return;
    uint64_t budget = UINT64_MAX;
    instructionCount_ += Instruction(*this, budget).execute();
    waiting_ = false;
}

void Instruction::decodeModRM()
{
    const uint8_t m = fetch8();
    mod_ = m >> 6;
    reg_ = (m >> 3) & 7;
    rm_ = m & 7;
    if (mod_ == 3)
        return;
    uint16_t offset = 0;
    Segment segment = DS;
    switch (rm_) {
    case 0:
        offset = uint16_t(r_.bx + r_.si);
        break;
    case 1:
        offset = uint16_t(r_.bx + r_.di);
        break;
    case 2:
        offset = uint16_t(r_.bp + r_.si), segment = SS;
        break;
    case 3:
        offset = uint16_t(r_.bp + r_.di), segment = SS;
        break;
    case 4:
        offset = r_.si;
        break;
    case 5:
        offset = r_.di;
        break;
    case 6:
        if (mod_ == 0)
            offset = fetch16();
        else
            offset = r_.bp, segment = SS;
        break;
    default:
        offset = r_.bx;
        break;
    }
    if (mod_ == 1)
        offset = uint16_t(offset + int8_t(fetch8()));
    else if (mod_ == 2)
        offset = uint16_t(offset + fetch16());
    eaOffset_ = offset;
    eaBase_ = segBase(segment);
}

bool Instruction::condition(unsigned code) const
{
    const uint16_t f = r_.flags;
    bool result;
    switch (code >> 1) {
    case 0:
        result = f & OF;
        break;
    case 1:
        result = f & CF;
        break;
    case 2:
        result = f & ZF;
        break;
    case 3:
        result = f & (CF | ZF);
        break;
    case 4:
        result = f & SF;
        break;
    case 5:
        result = f & PF;
        break;
    case 6:
        result = bool(f & SF) != bool(f & OF);
        break;
    default:
        result = (f & ZF) || bool(f & SF) != bool(f & OF);
        break;
    }
    return result != bool(code & 1);
}

void Instruction::interrupt(uint8_t vector)
{
    push(normalFlags(r_.flags));
    r_.flags &= uint16_t(~(IF | TF));
    push(r_.cs);
    push(r_.ip);
    r_.ip = read16(0, uint16_t(vector * 4));
    r_.cs = read16(0, uint16_t(vector * 4 + 2));
    noTrap_ = true;
}

// Opcodes 80h-83h: the operation in the reg field, an immediate operand; 83h's byte
// immediate is sign-extended to a word.
template <bool W> void Instruction::arithGroup(bool byteImmediate)
{
    decodeModRM();
    const uint32_t a = readRM<W>();
    const uint32_t b = byteImmediate ? uint32_t(uint16_t(int8_t(fetch8()))) : fetch<W>();
    const uint32_t result = alu::arith<W>(r_.flags, reg_, a, b);
    if (reg_ != 7)
        writeRM<W>(result);
}

uint64_t Instruction::execute()
{
    const bool trap = r_.flags & TF;
    uint8_t op;
    for (;;) {
        op = fetch8();
        switch (op) {
        case 0x26:
            override_ = ES;
            continue;
        case 0x2E:
            override_ = CS;
            continue;
        case 0x36:
            override_ = SS;
            continue;
        case 0x3E:
            override_ = DS;
            continue;
        case 0xF0:
            continue; // LOCK: a single processor has nothing to lock
        case 0xF2:
            repeat_ = kRepNE;
            continue;
        case 0xF3:
            repeat_ = kRepE;
            continue;
        default:
            break;
        }
        break;
    }

    switch (op) {
        // ADD OR ADC SBB AND SUB XOR CMP with ModR/M (bit 1 of the opcode: the register is the
        // destination; bit 0: words), and with AL/AX and an immediate.
#define VELMORA_ARITH(base)                                                                                            \
    case base + 0: {                                                                                                   \
        decodeModRM();                                                                                                 \
        const uint32_t v = alu::arith<false>(r_.flags, base >> 3, readRM<false>(), readReg<false>());                  \
        if (base != 0x38)                                                                                              \
            writeRM<false>(v);                                                                                         \
        break;                                                                                                         \
    }                                                                                                                  \
    case base + 1: {                                                                                                   \
        decodeModRM();                                                                                                 \
        const uint32_t v = alu::arith<true>(r_.flags, base >> 3, readRM<true>(), readReg<true>());                     \
        if (base != 0x38)                                                                                              \
            writeRM<true>(v);                                                                                          \
        break;                                                                                                         \
    }                                                                                                                  \
    case base + 2: {                                                                                                   \
        decodeModRM();                                                                                                 \
        const uint32_t v = alu::arith<false>(r_.flags, base >> 3, readReg<false>(), readRM<false>());                  \
        if (base != 0x38)                                                                                              \
            writeReg<false>(v);                                                                                        \
        break;                                                                                                         \
    }                                                                                                                  \
    case base + 3: {                                                                                                   \
        decodeModRM();                                                                                                 \
        const uint32_t v = alu::arith<true>(r_.flags, base >> 3, readReg<true>(), readRM<true>());                     \
        if (base != 0x38)                                                                                              \
            writeReg<true>(v);                                                                                         \
        break;                                                                                                         \
    }                                                                                                                  \
    case base + 4:                                                                                                     \
        r_.setAl(uint8_t(alu::arith<false>(r_.flags, base >> 3, r_.al(), fetch8()) & 0xFF));                           \
        break;                                                                                                         \
    case base + 5:                                                                                                     \
        r_.ax = uint16_t(alu::arith<true>(r_.flags, base >> 3, r_.ax, fetch16()));                                     \
        break;
        VELMORA_ARITH(0x00)
        VELMORA_ARITH(0x08)
        VELMORA_ARITH(0x10)
        VELMORA_ARITH(0x18)
        VELMORA_ARITH(0x20)
        VELMORA_ARITH(0x28)
        VELMORA_ARITH(0x30)
        VELMORA_ARITH(0x38)
#undef VELMORA_ARITH

    case 0x06:
        push(r_.es);
        break;
    case 0x07:
        r_.es = pop();
        break;
    case 0x0E:
        push(r_.cs);
        break;
    case 0x0F: // POP CS on the 8086; the 80186 has no such instruction
        if (is186())
            undefinedOpcode();
        else
            r_.cs = pop();
        break;
    case 0x16:
        push(r_.ss);
        break;
    case 0x17:
        r_.ss = pop();
        noTrap_ = true;
        break;
    case 0x1E:
        push(r_.ds);
        break;
    case 0x1F:
        r_.ds = pop();
        break;
    case 0x27:
    case 0x2F:
    case 0x37:
    case 0x3F:
        adjust(op);
        break;

    case 0x40:
    case 0x41:
    case 0x42:
    case 0x43:
    case 0x44:
    case 0x45:
    case 0x46:
    case 0x47:
        wreg(op & 7) = uint16_t(alu::inc<true>(r_.flags, wreg(op & 7)));
        break;
    case 0x48:
    case 0x49:
    case 0x4A:
    case 0x4B:
    case 0x4C:
    case 0x4D:
    case 0x4E:
    case 0x4F:
        wreg(op & 7) = uint16_t(alu::dec<true>(r_.flags, wreg(op & 7)));
        break;
    case 0x50:
    case 0x51:
    case 0x52:
    case 0x53:
    case 0x55:
    case 0x56:
    case 0x57:
        push(wreg(op & 7));
        break;
    case 0x54: // the 8086 pushes SP as it is after the decrement
        push(uint16_t(r_.sp - 2));
        break;
    case 0x58:
    case 0x59:
    case 0x5A:
    case 0x5B:
    case 0x5C:
    case 0x5D:
    case 0x5E:
    case 0x5F:
        wreg(op & 7) = pop();
        break;

    case 0x60:
        if (!is186())
            jumpShort(condition(op & 0xF));
        else {
            const uint16_t sp = r_.sp;
            push(r_.ax), push(r_.cx), push(r_.dx), push(r_.bx), push(sp), push(r_.bp), push(r_.si), push(r_.di);
        }
        break;
    case 0x61:
        if (!is186())
            jumpShort(condition(op & 0xF));
        else {
            r_.di = pop(), r_.si = pop(), r_.bp = pop();
            pop();
            r_.bx = pop(), r_.dx = pop(), r_.cx = pop(), r_.ax = pop();
        }
        break;
    case 0x62:
        if (!is186())
            jumpShort(condition(op & 0xF));
        else
            bound();
        break;
    case 0x63:
    case 0x64:
    case 0x65:
    case 0x66:
    case 0x67:
        if (!is186())
            jumpShort(condition(op & 0xF));
        else
            undefinedOpcode();
        break;
    case 0x68:
        if (!is186())
            jumpShort(condition(op & 0xF));
        else
            push(fetch16());
        break;
    case 0x69:
        if (!is186())
            jumpShort(condition(op & 0xF));
        else
            imulImmediate(false);
        break;
    case 0x6A:
        if (!is186())
            jumpShort(condition(op & 0xF));
        else
            push(uint16_t(int8_t(fetch8())));
        break;
    case 0x6B:
        if (!is186())
            jumpShort(condition(op & 0xF));
        else
            imulImmediate(true);
        break;
    case 0x6C:
    case 0x6D:
    case 0x6E:
    case 0x6F:
        if (!is186())
            jumpShort(condition(op & 0xF));
        else
            stringOp(op);
        break;
    case 0x70:
    case 0x71:
    case 0x72:
    case 0x73:
    case 0x74:
    case 0x75:
    case 0x76:
    case 0x77:
    case 0x78:
    case 0x79:
    case 0x7A:
    case 0x7B:
    case 0x7C:
    case 0x7D:
    case 0x7E:
    case 0x7F:
        jumpShort(condition(op & 0xF));
        break;

    case 0x80:
    case 0x82:
        arithGroup<false>(false);
        break;
    case 0x81:
        arithGroup<true>(false);
        break;
    case 0x83:
        arithGroup<true>(true);
        break;
    case 0x84:
        decodeModRM(), alu::logic<false>(r_.flags, readRM<false>() & readReg<false>());
        break;
    case 0x85:
        decodeModRM(), alu::logic<true>(r_.flags, readRM<true>() & readReg<true>());
        break;
    case 0x86: {
        decodeModRM();
        const uint32_t v = readRM<false>();
        writeRM<false>(readReg<false>());
        writeReg<false>(v);
        break;
    }
    case 0x87: {
        decodeModRM();
        const uint32_t v = readRM<true>();
        writeRM<true>(readReg<true>());
        writeReg<true>(v);
        break;
    }
    case 0x88:
        decodeModRM(), writeRM<false>(readReg<false>());
        break;
    case 0x89:
        decodeModRM(), writeRM<true>(readReg<true>());
        break;
    case 0x8A:
        decodeModRM(), writeReg<false>(readRM<false>());
        break;
    case 0x8B:
        decodeModRM(), writeReg<true>(readRM<true>());
        break;
    case 0x8C:
        decodeModRM(), writeRM<true>(sreg(reg_));
        break;
    case 0x8D: // LEA of a register operand has no address; it leaves the register alone
        decodeModRM();
        if (mod_ != 3)
            writeReg<true>(eaOffset_);
        break;
    case 0x8E:
        decodeModRM();
        sreg(reg_) = uint16_t(readRM<true>());
        if ((reg_ & 3) == SS)
            noTrap_ = true;
        break;
    case 0x8F:
        decodeModRM(), writeRM<true>(pop());
        break;
    case 0x90:
        break;
    case 0x91:
    case 0x92:
    case 0x93:
    case 0x94:
    case 0x95:
    case 0x96:
    case 0x97: {
        const uint16_t v = wreg(op & 7);
        wreg(op & 7) = r_.ax;
        r_.ax = v;
        break;
    }
    case 0x98:
        r_.ax = uint16_t(int8_t(r_.al()));
        break;
    case 0x99:
        r_.dx = (r_.ax & 0x8000) ? 0xFFFF : 0;
        break;
    case 0x9A: {
        const uint16_t ip = fetch16();
        const uint16_t cs = fetch16();
        push(r_.cs);
        push(r_.ip);
        r_.cs = cs, r_.ip = ip;
        break;
    }
    case 0x9B:
        break; // WAIT: there is no coprocessor to wait for
    case 0x9C:
        push(normalFlags(r_.flags));
        break;
    case 0x9D:
        r_.flags = normalFlags(pop());
        break;
    case 0x9E:
        r_.flags = normalFlags(uint16_t((r_.flags & 0xFF00) | r_.ah()));
        break;
    case 0x9F:
        r_.setAh(uint8_t(normalFlags(r_.flags)));
        break;
    case 0xA0:
        r_.setAl(read8(segBase(DS), fetch16()));
        break;
    case 0xA1:
        r_.ax = read16(segBase(DS), fetch16());
        break;
    case 0xA2:
        write8(segBase(DS), fetch16(), r_.al());
        break;
    case 0xA3:
        write16(segBase(DS), fetch16(), r_.ax);
        break;
    case 0xA4:
    case 0xA5:
    case 0xA6:
    case 0xA7:
    case 0xAA:
    case 0xAB:
    case 0xAC:
    case 0xAD:
    case 0xAE:
    case 0xAF:
        stringOp(op);
        break;
    case 0xA8:
        alu::logic<false>(r_.flags, r_.al() & fetch8());
        break;
    case 0xA9:
        alu::logic<true>(r_.flags, r_.ax & fetch16());
        break;
    case 0xB0:
    case 0xB1:
    case 0xB2:
    case 0xB3:
    case 0xB4:
    case 0xB5:
    case 0xB6:
    case 0xB7:
        breg(op & 7) = fetch8();
        break;
    case 0xB8:
    case 0xB9:
    case 0xBA:
    case 0xBB:
    case 0xBC:
    case 0xBD:
    case 0xBE:
    case 0xBF:
        wreg(op & 7) = fetch16();
        break;

    case 0xC0:
        if (is186()) {
            decodeModRM();
            const uint32_t v = readRM<false>();
            writeRM<false>(alu::shift<false>(r_.flags, reg_, v, fetch8() & 31));
            break;
        }
        [[fallthrough]];
    case 0xC2: {
        const uint16_t release = fetch16();
        r_.ip = pop();
        r_.sp += release;
        break;
    }
    case 0xC1:
        if (is186()) {
            decodeModRM();
            const uint32_t v = readRM<true>();
            writeRM<true>(alu::shift<true>(r_.flags, reg_, v, fetch8() & 31));
            break;
        }
        [[fallthrough]];
    case 0xC3:
        r_.ip = pop();
        break;
    case 0xC4:
    case 0xC5:
        decodeModRM();
        if (mod_ != 3) {
            writeReg<true>(read16(eaBase_, eaOffset_));
            (op == 0xC4 ? r_.es : r_.ds) = read16(eaBase_, uint16_t(eaOffset_ + 2));
        }
        break;
    case 0xC6:
        decodeModRM(), writeRM<false>(fetch8());
        break;
    case 0xC7:
        decodeModRM(), writeRM<true>(fetch16());
        break;
    case 0xC8:
        if (is186()) {
            enter();
            break;
        }
        [[fallthrough]];
    case 0xCA: {
        const uint16_t release = fetch16();
        r_.ip = pop();
        r_.cs = pop();
        r_.sp += release;
        break;
    }
    case 0xC9:
        if (is186()) {
            r_.sp = r_.bp;
            r_.bp = pop();
            break;
        }
        [[fallthrough]];
    case 0xCB:
        r_.ip = pop();
        r_.cs = pop();
        break;
    case 0xCC:
        interrupt(3);
        break;
    case 0xCD:
        interrupt(fetch8());
        break;
    case 0xCE:
        if (r_.flags & OF)
            interrupt(4);
        break;
    case 0xCF:
        r_.ip = pop();
        r_.cs = pop();
        r_.flags = normalFlags(pop());
        break;
    case 0xD0: {
        decodeModRM();
        const uint32_t v = readRM<false>();
        writeRM<false>(alu::shift<false>(r_.flags, reg_, v, 1));
        break;
    }
    case 0xD1: {
        decodeModRM();
        const uint32_t v = readRM<true>();
        writeRM<true>(alu::shift<true>(r_.flags, reg_, v, 1));
        break;
    }
    case 0xD2: {
        decodeModRM();
        const uint32_t v = readRM<false>();
        writeRM<false>(alu::shift<false>(r_.flags, reg_, v, is186() ? r_.cl() & 31 : r_.cl()));
        break;
    }
    case 0xD3: {
        decodeModRM();
        const uint32_t v = readRM<true>();
        writeRM<true>(alu::shift<true>(r_.flags, reg_, v, is186() ? r_.cl() & 31 : r_.cl()));
        break;
    }
    case 0xD4:
        asciiAdjustMultiply(fetch8());
        break;
    case 0xD5:
        asciiAdjustDivide(fetch8());
        break;
    case 0xD6: // SALC: AL from CF, undocumented but on every 8086
        r_.setAl((r_.flags & CF) ? 0xFF : 0);
        break;
    case 0xD7:
        r_.setAl(read8(segBase(DS), uint16_t(r_.bx + r_.al())));
        break;
    case 0xD8:
    case 0xD9:
    case 0xDA:
    case 0xDB:
    case 0xDC:
    case 0xDD:
    case 0xDE:
    case 0xDF:
        decodeModRM(); // ESC: the operand is for a coprocessor, and there is none
        break;
    case 0xE0:
        r_.cx--;
        jumpShort(r_.cx != 0 && !(r_.flags & ZF));
        break;
    case 0xE1:
        r_.cx--;
        jumpShort(r_.cx != 0 && (r_.flags & ZF));
        break;
    case 0xE2:
        r_.cx--;
        jumpShort(r_.cx != 0);
        break;
    case 0xE3:
        jumpShort(r_.cx == 0);
        break;
    case 0xE4:
        r_.setAl(portIn(fetch8()));
        break;
    case 0xE5: {
        const uint8_t port = fetch8();
        r_.setAl(portIn(port));
        r_.setAh(portIn(uint16_t(port + 1)));
        break;
    }
    case 0xE6:
        portOut(fetch8(), r_.al());
        break;
    case 0xE7: {
        const uint8_t port = fetch8();
        portOut(port, r_.al());
        portOut(uint16_t(port + 1), r_.ah());
        break;
    }
    case 0xE8: {
        const uint16_t displacement = fetch16();
        push(r_.ip);
        r_.ip = uint16_t(r_.ip + displacement);
        break;
    }
    case 0xE9: {
        const uint16_t displacement = fetch16();
        r_.ip = uint16_t(r_.ip + displacement);
        break;
    }
    case 0xEA: {
        const uint16_t ip = fetch16();
        r_.cs = fetch16();
        r_.ip = ip;
        break;
    }
    case 0xEB:
        jumpShort(true);
        break;
    case 0xEC:
        r_.setAl(portIn(r_.dx));
        break;
    case 0xED:
        r_.setAl(portIn(r_.dx));
        r_.setAh(portIn(uint16_t(r_.dx + 1)));
        break;
    case 0xEE:
        portOut(r_.dx, r_.al());
        break;
    case 0xEF:
        portOut(r_.dx, r_.al());
        portOut(uint16_t(r_.dx + 1), r_.ah());
        break;
    case 0xF1: // the host call of a service stub; elsewhere an opcode without a use
        if (r_.cs == Cpu::kStubSegment)
            hostCall(fetch8());
        else if (is186())
            undefinedOpcode();
        break;
    case 0xF4:
        cpu_.halted_ = true;
        break;
    case 0xF5:
        r_.flags ^= CF;
        break;
    case 0xF6:
        unaryGroup<false>();
        break;
    case 0xF7:
        unaryGroup<true>();
        break;
    case 0xF8:
        r_.flags &= uint16_t(~CF);
        break;
    case 0xF9:
        r_.flags |= CF;
        break;
    case 0xFA:
        r_.flags &= uint16_t(~IF);
        break;
    case 0xFB:
        r_.flags |= IF;
        break;
    case 0xFC:
        r_.flags &= uint16_t(~DF);
        break;
    case 0xFD:
        r_.flags |= DF;
        break;
    case 0xFE:
        incDecGroup();
        break;
    case 0xFF:
        wordGroup();
        break;
    }

    if (trap && !noTrap_)
        interrupt(1);
    return counted_;
}

} // namespace velmora::machine
