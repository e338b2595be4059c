// The rarer instructions: the F6h/F7h/FEh/FFh groups, multiplication and division, the
// decimal adjustments, I/O ports, the host call of the service stubs and the 80186's
// ENTER, BOUND and IMUL with an immediate.
#include "machine/Instruction.h"

namespace velmora::machine
{

// F6h/F7h: TEST NOT NEG MUL IMUL DIV IDIV by the reg field (reg 1 is TEST again).
template <bool W> void Instruction::unaryGroup()
{
    decodeModRM();
    switch (reg_) {
    case 0:
    case 1:
        alu::logic<W>(r_.flags, readRM<W>() & fetch<W>());
        break;
    case 2:
        writeRM<W>(~readRM<W>() & alu::kMask<W>);
        break;
    case 3:
        writeRM<W>(alu::sub<W>(r_.flags, 0, readRM<W>()));
        break;
    case 4:
    case 5:
        multiply<W>(reg_);
        break;
    default:
        divide<W>(reg_);
        break;
    }
}
template void Instruction::unaryGroup<false>();
template void Instruction::unaryGroup<true>();

// MUL (4) and IMUL (5): CF and OF tell whether the upper half of the product is needed.
template <bool W> void Instruction::multiply(unsigned op)
{
    const uint32_t source = readRM<W>();
    bool upperNeeded;
    if constexpr (W) {
        uint32_t product;
        if (op == 4) {
            product = uint32_t(r_.ax) * source;
            upperNeeded = (product >> 16) != 0;
        } else {
            const int32_t p = int32_t(int16_t(r_.ax)) * int16_t(source);
            product = uint32_t(p);
            upperNeeded = p != int16_t(p);
        }
        r_.ax = uint16_t(product);
        r_.dx = uint16_t(product >> 16);
    } else {
        if (op == 4) {
            r_.ax = uint16_t(r_.al() * source);
            upperNeeded = r_.ah() != 0;
        } else {
            const int p = int8_t(r_.al()) * int8_t(source);
            r_.ax = uint16_t(p);
            upperNeeded = p != int8_t(p);
        }
    }
    alu::setStatus(r_.flags, upperNeeded ? CF | OF : 0, CF | OF);
}

// DIV (6) and IDIV (7): a zero divisor or a quotient too large for its register raises
// interrupt 0 with the registers unchanged. The 8086 cannot produce the most negative
// quotient, and its microcode negates the quotient of an IDIV with a REP prefix.
template <bool W> void Instruction::divide(unsigned op)
{
    const uint32_t divisor = readRM<W>();
    uint32_t quotient, remainder;
    if (op == 6) {
        const uint32_t dividend = W ? (uint32_t(r_.dx) << 16) | r_.ax : r_.ax;
        if (divisor == 0 || dividend / divisor > alu::kMask<W>)
            return divideError();
        quotient = dividend / divisor;
        remainder = dividend % divisor;
    } else {
        const int64_t dividend = W ? int32_t((uint32_t(r_.dx) << 16) | r_.ax) : int16_t(r_.ax);
        const int64_t d = W ? int16_t(divisor) : int8_t(divisor);
        if (d == 0)
            return divideError();
        int64_t q = dividend / d;
        constexpr int64_t largest = alu::kSign<W> - 1;
        if (q > largest || q < -largest)
            return divideError();
        if (repeat_ != kNoRepeat && !is186())
            q = -q;
        quotient = uint32_t(q);
        remainder = uint32_t(dividend % d);
    }
    if constexpr (W) {
        r_.ax = uint16_t(quotient);
        r_.dx = uint16_t(remainder);
    } else {
        r_.setAl(uint8_t(quotient));
        r_.setAh(uint8_t(remainder));
    }
}

// FEh: INC and DEC of a byte.
void Instruction::incDecGroup()
{
    decodeModRM();
    if (reg_ == 0)
        writeRM<false>(alu::inc<false>(r_.flags, readRM<false>()));
    else if (reg_ == 1)
        writeRM<false>(alu::dec<false>(r_.flags, readRM<false>()));
    else if (is186())
        undefinedOpcode();
}

// FFh: INC DEC CALL CALLF JMP JMPF PUSH by the reg field (reg 7 is PUSH again). The far
// forms need a memory operand holding offset and segment.
void Instruction::wordGroup()
{
    decodeModRM();
    switch (reg_) {
    case 0:
        writeRM<true>(alu::inc<true>(r_.flags, readRM<true>()));
        break;
    case 1:
        writeRM<true>(alu::dec<true>(r_.flags, readRM<true>()));
        break;
    case 2: {
        const auto target = uint16_t(readRM<true>());
        push(r_.ip);
        r_.ip = target;
        break;
    }
    case 4:
        r_.ip = uint16_t(readRM<true>());
        break;
    case 3:
    case 5: {
        if (mod_ == 3) {
            if (is186())
                undefinedOpcode();
            break;
        }
        const uint16_t ip = read16(eaBase_, eaOffset_);
        const uint16_t cs = read16(eaBase_, uint16_t(eaOffset_ + 2));
        if (reg_ == 3) {
            push(r_.cs);
            push(r_.ip);
        }
        r_.cs = cs, r_.ip = ip;
        break;
    }
    default:
        // PUSH SP pushes SP as it is after the decrement, as opcode 54h does.
        if (mod_ == 3 && rm_ == 4)
            push(uint16_t(r_.sp - 2));
        else
            push(uint16_t(readRM<true>()));
        break;
    }
}

// DAA (27h), DAS (2Fh), AAA (37h), AAS (3Fh).
void Instruction::adjust(uint8_t opcode)
{
    const uint8_t al = r_.al();
    const bool carry = r_.flags & CF;
    const bool auxiliary = r_.flags & AF;
    const bool lowAdjust = (al & 0x0F) > 9 || auxiliary;
    if (opcode == 0x27 || opcode == 0x2F) {
        const bool subtract = opcode == 0x2F;
        // The 8086 compares AL before the adjustment with 9Fh instead of 99h when AF is set.
        const bool highAdjust = carry || al > (auxiliary ? 0x9F : 0x99);
        uint8_t result = al;
        if (lowAdjust)
            result = uint8_t(subtract ? result - 6 : result + 6);
        if (highAdjust)
            result = uint8_t(subtract ? result - 0x60 : result + 0x60);
        r_.setAl(result);
        alu::setStatus(r_.flags, alu::szp<false>(result) | (highAdjust ? CF : 0) | (lowAdjust ? AF : 0),
                       CF | AF | SF | ZF | PF);
        return;
    }
    if (lowAdjust) {
        if (opcode == 0x37) {
            r_.setAl(uint8_t(al + 6));
            r_.setAh(uint8_t(r_.ah() + 1));
        } else {
            r_.setAl(uint8_t(al - 6));
            r_.setAh(uint8_t(r_.ah() - 1));
        }
    }
    r_.setAl(r_.al() & 0x0F);
    alu::setStatus(r_.flags, lowAdjust ? CF | AF : 0, CF | AF);
}

// AAM: AH = AL / base, AL = AL % base; a base of 0 is a divide error.
void Instruction::asciiAdjustMultiply(uint8_t base)
{
    if (base == 0)
        return divideError();
    const uint8_t al = r_.al();
    r_.setAh(uint8_t(al / base));
    r_.setAl(uint8_t(al % base));
    alu::setStatus(r_.flags, alu::szp<false>(r_.al()), SF | ZF | PF);
}

// AAD: AL = AH * base + AL, AH = 0.
void Instruction::asciiAdjustDivide(uint8_t base)
{
    const auto al = uint8_t(r_.ah() * base + r_.al());
    r_.ax = al;
    alu::setStatus(r_.flags, alu::szp<false>(al), SF | ZF | PF);
}

uint8_t Instruction::portIn(uint16_t port)
{
    return cpu_.host_ ? cpu_.host_->portIn(port) : 0xFF;
}

void Instruction::portOut(uint16_t port, uint8_t v)
{
    if (cpu_.host_)
        cpu_.host_->portOut(port, v);
}

// F1h n, the whole service stub: calls the host, then returns to the caller of the INT,
// whose IP, CS and FLAGS are on the stack, as a far return that drops the pushed FLAGS
// would. The service sees the caller's IF, which the INT cleared, and the caller gets the
// flags the service leaves, with its own TF back: a program being single-stepped traps
// after the instruction that follows its INT, as with a handler ending in IRET.
void Instruction::hostCall(uint8_t vector)
{
    const uint32_t stack = base(r_.ss);
    cpu_.callerIp_ = read16(stack, r_.sp);
    cpu_.callerCs_ = read16(stack, uint16_t(r_.sp + 2));
    const uint16_t callerFlags = read16(stack, uint16_t(r_.sp + 4));
    alu::setStatus(r_.flags, callerFlags, IF);
    if (cpu_.host_)
        cpu_.host_->service(vector, cpu_);
    if (cpu_.waiting_) {
        r_.ip = startIp_;
        return;
    }
    r_.ip = pop();
    r_.cs = pop();
    r_.sp += 2;
    alu::setStatus(r_.flags, callerFlags, TF);
}

// The 80186 raises interrupt 6 for an opcode it does not know, pointing at the opcode.
void Instruction::undefinedOpcode()
{
    r_.ip = startIp_;
    interrupt(6);
}

// ENTER size, level: a stack frame of size bytes, with level - 1 frame pointers of the
// enclosing procedures copied and the new frame's own pointer pushed for nesting.
void Instruction::enter()
{
    const uint16_t size = fetch16();
    const uint8_t level = fetch8() & 31;
    push(r_.bp);
    const uint16_t frame = r_.sp;
    if (level > 0) {
        for (unsigned i = 1; i < level; ++i) {
            r_.bp -= 2;
            push(read16(base(r_.ss), r_.bp));
        }
        push(frame);
    }
    r_.bp = frame;
    r_.sp -= size;
}

// BOUND reg, [lower, upper]: interrupt 5, pointing at BOUND, when reg lies outside the
// signed bounds.
void Instruction::bound()
{
    decodeModRM();
    if (mod_ == 3)
        return undefinedOpcode();
    const auto index = int16_t(readReg<true>());
    const auto lower = int16_t(read16(eaBase_, eaOffset_));
    const auto upper = int16_t(read16(eaBase_, uint16_t(eaOffset_ + 2)));
    if (index < lower || index > upper) {
        r_.ip = startIp_;
        interrupt(5);
    }
}

// IMUL reg, r/m, immediate (69h word, 6Bh sign-extended byte).
void Instruction::imulImmediate(bool byteImmediate)
{
    decodeModRM();
    const auto source = int16_t(readRM<true>());
    const int32_t factor = byteImmediate ? int8_t(fetch8()) : int16_t(fetch16());
    const int32_t product = source * factor;
    writeReg<true>(uint16_t(product));
    alu::setStatus(r_.flags, product != int16_t(product) ? CF | OF : 0, CF | OF);
}

} // namespace velmora::machine
