// One instruction being executed: its prefixes, its ModR/M operand, and the register,
// memory and stack accesses every opcode uses. Lives for one Cpu::execute(); the CPU's
// private state is reached through the Cpu it belongs to.
#pragma once

#include "machine/Alu.h"
#include "machine/Cpu.h"

#include <bit>
#include <cstring>

namespace velmora::machine
{

static_assert(std::endian::native == std::endian::little, "byte registers are addressed inside word registers");

class Instruction
{
public:
    Instruction(Cpu &cpu, uint64_t &repeatBudget)
        : cpu_(cpu), r_(cpu.regs_), ram_(cpu.ram_), repeatBudget_(repeatBudget), startIp_(r_.ip)
    {
    }

    // Executes the instruction at CS:IP and returns how many instructions it counts for:
    // one, or for a REP string instruction the repetitions it ran (at least one).
    uint64_t execute();

private:
    enum Segment : uint8_t { ES, CS, SS, DS, kNone };
    enum Repeat : uint8_t { kNoRepeat, kRepNE, kRepE };

    // Registers by their encoding: AX CX DX BX SP BP SI DI, and AL CL DL BL AH CH DH BH.
    static constexpr uint16_t Registers::*kWordRegs[8] = {&Registers::ax, &Registers::cx, &Registers::dx,
                                                          &Registers::bx, &Registers::sp, &Registers::bp,
                                                          &Registers::si, &Registers::di};
    static constexpr uint16_t Registers::*kSegRegs[4] = {&Registers::es, &Registers::cs, &Registers::ss,
                                                         &Registers::ds};
    uint16_t &wreg(unsigned i) { return r_.*kWordRegs[i]; }
    uint8_t &breg(unsigned i) { return reinterpret_cast<uint8_t *>(&(r_.*kWordRegs[i & 3]))[i >> 2]; }
    uint16_t &sreg(unsigned i) { return r_.*kSegRegs[i & 3]; }

    // Memory through segment base (segment * 16) and offset. A word's second byte lies at
    // offset + 1 within the same segment, and physical addresses wrap at 1 MB.
    static uint32_t base(uint16_t segment) { return uint32_t(segment) << 4; }
    uint8_t read8(uint32_t segBase, uint16_t offset) const { return ram_[(segBase + offset) & Memory::kMask]; }
    // Every write tells the memory's journal, when there is one, the bytes' old values.
    void write8(uint32_t segBase, uint16_t offset, uint8_t v)
    {
        const uint32_t a = (segBase + offset) & Memory::kMask;
        if (WriteJournal *journal = cpu_.memory_.journal()) [[unlikely]]
            journal->note(a, ram_[a]);
        ram_[a] = v;
    }
    uint16_t read16(uint32_t segBase, uint16_t offset) const
    {
        const uint32_t a = (segBase + offset) & Memory::kMask;
        if (offset != 0xFFFF && a != Memory::kMask) [[likely]] {
            uint16_t v;
            std::memcpy(&v, ram_ + a, 2);
            return v;
        }
        return uint16_t(ram_[a] | (read8(segBase, uint16_t(offset + 1)) << 8));
    }
    void write16(uint32_t segBase, uint16_t offset, uint16_t v)
    {
        const uint32_t a = (segBase + offset) & Memory::kMask;
        if (offset != 0xFFFF && a != Memory::kMask) [[likely]] {
            if (WriteJournal *journal = cpu_.memory_.journal()) [[unlikely]] {
                journal->note(a, ram_[a]);
                journal->note(a + 1, ram_[a + 1]);
            }
            std::memcpy(ram_ + a, &v, 2);
            return;
        }
        write8(segBase, offset, uint8_t(v));
        write8(segBase, uint16_t(offset + 1), uint8_t(v >> 8));
    }
    template <bool W> uint32_t read(uint32_t segBase, uint16_t offset) const
    {
        if constexpr (W)
            return read16(segBase, offset);
        else
            return read8(segBase, offset);
    }
    template <bool W> void write(uint32_t segBase, uint16_t offset, uint32_t v)
    {
        if constexpr (W)
            write16(segBase, offset, uint16_t(v));
        else
            write8(segBase, offset, uint8_t(v));
    }

    uint8_t fetch8() { return ram_[(base(r_.cs) + r_.ip++) & Memory::kMask]; }
    uint16_t fetch16()
    {
        const uint16_t low = fetch8();
        return uint16_t(low | (fetch8() << 8));
    }
    template <bool W> uint32_t fetch()
    {
        if constexpr (W)
            return fetch16();
        else
            return fetch8();
    }

    void push(uint16_t v)
    {
        r_.sp -= 2;
        write16(base(r_.ss), r_.sp, v);
    }
    uint16_t pop()
    {
        const uint16_t v = read16(base(r_.ss), r_.sp);
        r_.sp += 2;
        return v;
    }

    // The segment of a memory operand: the override prefix's, else the default.
    uint32_t segBase(Segment defaultSegment) { return base(sreg(override_ != kNone ? override_ : defaultSegment)); }

    // Reads the ModR/M byte and any displacement; a memory operand's address goes to ea*.
    void decodeModRM();
    template <bool W> uint32_t readRM()
    {
        if (mod_ == 3)
            return W ? wreg(rm_) : breg(rm_);
        return read<W>(eaBase_, eaOffset_);
    }
    template <bool W> void writeRM(uint32_t v)
    {
        if (mod_ != 3)
            write<W>(eaBase_, eaOffset_, v);
        else if constexpr (W)
            wreg(rm_) = uint16_t(v);
        else
            breg(rm_) = uint8_t(v);
    }
    template <bool W> uint32_t readReg() { return W ? wreg(reg_) : breg(reg_); }
    template <bool W> void writeReg(uint32_t v)
    {
        if constexpr (W)
            wreg(reg_) = uint16_t(v);
        else
            breg(reg_) = uint8_t(v);
    }

    bool condition(unsigned code) const;
    void jumpShort(bool taken)
    {
        const auto displacement = int8_t(fetch8());
        if (taken)
            r_.ip = uint16_t(r_.ip + displacement);
    }
    static uint16_t normalFlags(uint16_t v) { return uint16_t((v & 0x0FD5) | 0xF002); }

    // Pushes FLAGS, CS and IP and continues at the vector's handler.
    void interrupt(uint8_t vector);
    void hostCall(uint8_t vector);
    void undefinedOpcode();
    bool is186() const { return cpu_.model_ == CpuModel::i80186; }

    template <bool W> void arithGroup(bool byteImmediate);
    template <bool W> void unaryGroup();
    template <bool W> void multiply(unsigned op);
    template <bool W> void divide(unsigned op);
    void incDecGroup();
    void wordGroup();
    void adjust(uint8_t opcode);
    void divideError() { interrupt(0); }
    void asciiAdjustMultiply(uint8_t base);
    void asciiAdjustDivide(uint8_t base);
    void stringOp(uint8_t opcode);
    template <bool W, uint8_t Op> void repeatString();
    template <bool W, uint8_t Op> void stringStep();
    uint8_t portIn(uint16_t port);
    void portOut(uint16_t port, uint8_t v);
    void enter();
    void bound();
    void imulImmediate(bool byteImmediate);

    Cpu &cpu_;
    Registers &r_;
    uint8_t *ram_;
    uint64_t &repeatBudget_;
    uint16_t startIp_;
    uint64_t counted_ = 1;
    Segment override_ = kNone;
    Repeat repeat_ = kNoRepeat;
    uint8_t mod_ = 0, reg_ = 0, rm_ = 0;
    uint32_t eaBase_ = 0;
    uint16_t eaOffset_ = 0;
    // Set when the instruction raised an interrupt, which clears TF, so no single-step trap
    // follows it; or when it loaded SS, after which the next instruction runs before any.
    bool noTrap_ = false;
};

} // namespace velmora::machine
