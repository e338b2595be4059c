#include "debugger/Disassembler.h"

#include "debugger/AsmNumbers.h"

#include <array>

namespace velmora::debugger
{
namespace
{

constexpr std::array<const char *, 8> kWordRegs = {"ax", "cx", "dx", "bx", "sp", "bp", "si", "di"};
constexpr std::array<const char *, 8> kByteRegs = {"al", "cl", "dl", "bl", "ah", "ch", "dh", "bh"};
constexpr std::array<const char *, 4> kSegRegs = {"es", "cs", "ss", "ds"};
constexpr std::array<const char *, 8> kAlu = {"add", "or", "adc", "sbb", "and", "sub", "xor", "cmp"};
constexpr std::array<const char *, 8> kShifts = {"rol", "ror", "rcl", "rcr", "shl", "shr", nullptr, "sar"};
constexpr std::array<const char *, 8> kUnary = {"test", nullptr, "not", "neg", "mul", "imul", "div", "idiv"};
constexpr std::array<const char *, 16> kConditions = {"jo", "jno", "jb", "jae", "je", "jne", "jbe", "ja",
                                                      "js", "jns", "jp", "jnp", "jl", "jge", "jle", "jg"};
constexpr std::array<const char *, 8> kAddresses = {"bx+si", "bx+di", "bp+si", "bp+di", "si", "di", "bp", "bx"};

// Thrown while decoding when the bytes form no instruction (or end too soon).
struct Undefined {
};

constexpr int kSs = 2, kDs = 3;

enum Size { NoPtr = 0, Byte = 1, Word = 2, Dword = 4 };

const char *sizeName(Size size)
{
    switch (size) {
    case Byte:
        return "byte ptr ";
    case Word:
        return "word ptr ";
    case Dword:
        return "dword ptr ";
    case NoPtr:
        break;
    }
    return "";
}

class Decoder
{
public:
    Decoder(std::span<const std::uint8_t> bytes, std::uint16_t offset, machine::CpuModel model)
        : bytes_(bytes), offset_(offset), is186_(model == machine::CpuModel::i80186)
    {
    }

    Disassembled run()
    {
        if (bytes_.empty())
            return {};
        try {
            readPrefixes();
            const std::string text = instruction(next());
            if ((segment_ >= 0 && !overrideUsed_) || (repeat_ && !repeatUsed_))
                return prefixAlone();
            // LOCK and REP in the order of their bytes, which the assembler keeps.
            std::string prefixes;
            for (int i = 0; i < prefixCount_; ++i)
                if (bytes_[i] == 0xF0)
                    prefixes += "lock ";
                else if (bytes_[i] == repeat_)
                    prefixes += repeatName_ + " ";
            return {static_cast<int>(pos_), prefixes + text};
        } catch (const Undefined &) {
            if (prefixCount_ > 0)
                return prefixAlone();
            return {1, "db " + asmDataByte(bytes_[0])};
        }
    }

private:
    // A prefix the instruction after it does not use stands as an instruction of its own.
    Disassembled prefixAlone() const
    {
        const std::uint8_t first = bytes_[0];
        if (first == 0xF0)
            return {1, "lock"};
        if (first == 0xF2)
            return {1, "repne"};
        if (first == 0xF3)
            return {1, "rep"};
        return {1, std::string("seg") + kSegRegs[(first >> 3) & 3]};
    }

    // Reads LOCK, REP and a segment override. The assembler writes a segment override
    // last, so one before another prefix ends the run and stands alone.
    void readPrefixes()
    {
        while (pos_ < bytes_.size() && segment_ < 0) {
            const std::uint8_t b = bytes_[pos_];
            if ((b & 0xE7) == 0x26)
                segment_ = (b >> 3) & 3;
            else if ((b == 0xF2 || b == 0xF3) && !repeat_)
                repeat_ = b;
            else if (b == 0xF0 && !lock_)
                lock_ = true;
            else
                return;
            ++pos_;
            ++prefixCount_;
        }
    }

    std::uint8_t next()
    {
        if (pos_ >= bytes_.size())
            throw Undefined{};
        return bytes_[pos_++];
    }
    std::uint16_t nextWord()
    {
        const std::uint16_t low = next();
        return static_cast<std::uint16_t>(low | (next() << 8));
    }
    std::uint16_t nextSignExtended() { return static_cast<std::uint16_t>(static_cast<std::int8_t>(next())); }
    std::uint16_t nextImmediate(Size size) { return size == Byte ? next() : nextWord(); }

    void readModRM()
    {
        const std::uint8_t modrm = next();
        mod_ = modrm >> 6;
        reg_ = (modrm >> 3) & 7;
        rm_ = modrm & 7;
        if (mod_ == 1)
            displacement_ = static_cast<std::int8_t>(next());
        else if (mod_ == 2)
            displacement_ = static_cast<std::int16_t>(nextWord());
        else if (mod_ == 0 && rm_ == 6)
            displacement_ = nextWord();
    }
    void requireMemory() const
    {
        if (mod_ == 3)
            throw Undefined{};
    }

    static std::string reg(int number, Size size) { return size == Byte ? kByteRegs[number] : kWordRegs[number]; }

    // An override of the segment the address uses anyway changes nothing; the assembler
    // drops it, so it stands alone as SEGDS or SEGSS.
    int defaultSegment() const
    {
        if (mod_ == 0 && rm_ == 6)
            return kDs;
        return rm_ == 2 || rm_ == 3 || rm_ == 6 ? kSs : kDs;
    }
    bool overrides(int defaultSegment) const { return segment_ >= 0 && segment_ != defaultSegment; }

    // A memory address with its segment override: "es:[bx+si+4]", "ds:[0010h]".
    std::string memory()
    {
        std::string segment;
        if (overrides(defaultSegment())) {
            segment = std::string(kSegRegs[segment_]) + ':';
            overrideUsed_ = true;
        }
        if (mod_ == 0 && rm_ == 6)
            return (segment.empty() ? "ds:" : segment) + "[" + asmOffset(static_cast<std::uint16_t>(displacement_)) +
                   "]";
        std::string address = std::string("[") + kAddresses[rm_];
        if (mod_ != 0 && !(displacement_ == 0 && rm_ == 6))
            address += asmDisplacement(displacement_);
        return segment + address + "]";
    }
    std::string memory(Size size) { return sizeName(size) + memory(); }

    // The ModRM r/m operand; `ptr` is the size named for memory when no register gives it.
    std::string rm(Size size, Size ptr = NoPtr)
    {
        if (mod_ == 3)
            return reg(rm_, size);
        return memory(ptr);
    }

    std::string relativeTarget(int displacement) const
    {
        return asmOffset(static_cast<std::uint16_t>(offset_ + pos_ + displacement));
    }
    std::string farPointer()
    {
        const std::uint16_t off = nextWord();
        return asmOffset(nextWord()) + ":" + asmOffset(off);
    }
    void need186() const
    {
        if (!is186_)
            throw Undefined{};
    }

    std::string stringInstruction(std::uint8_t opcode)
    {
        const bool word = opcode & 1;
        const char *name = nullptr;
        switch (opcode & 0xFE) {
        case 0xA4:
            name = "movs";
            break;
        case 0xA6:
            name = "cmps";
            break;
        case 0xAA:
            name = "stos";
            break;
        case 0xAC:
            name = "lods";
            break;
        case 0xAE:
            name = "scas";
            break;
        case 0x6C:
            name = "ins";
            break;
        case 0x6E:
            name = "outs";
            break;
        }
        repeatUsed_ = true;
        const bool compares = (opcode & 0xFE) == 0xA6 || (opcode & 0xFE) == 0xAE;
        repeatName_ = repeat_ == 0xF2 ? "repne" : compares ? "repe" : "rep";
        const std::string shortForm = std::string(name) + (word ? 'w' : 'b');
        // A segment override applies to the operand read through SI, which the long form shows.
        const int group = opcode & 0xFE;
        const bool readsSi = group == 0xA4 || group == 0xA6 || group == 0xAC || group == 0x6E;
        if (!overrides(kDs) || !readsSi)
            return shortForm;
        overrideUsed_ = true;
        const std::string ptr = word ? "word ptr " : "byte ptr ";
        const std::string source = ptr + kSegRegs[segment_] + ":[si]";
        switch (opcode & 0xFE) {
        case 0xA4:
            return "movs " + ptr + "[di]," + source;
        case 0xA6:
            return "cmps " + source + "," + ptr + "[di]";
        case 0xAC:
            return "lods " + source;
        default:
            return "outs dx," + source;
        }
    }

    std::string instruction(std::uint8_t op)
    {
        if (op < 0x40 && (op & 7) < 6) {
            const std::string name = std::string(kAlu[op >> 3]) + ' ';
            const Size size = (op & 1) ? Word : Byte;
            switch (op & 7) {
            case 0:
            case 1:
                readModRM();
                return name + rm(size) + ',' + reg(reg_, size);
            case 2:
            case 3:
                readModRM();
                return name + reg(reg_, size) + ',' + rm(size);
            default:
                return name + reg(0, size) + ',' + asmNumber(nextImmediate(size));
            }
        }
        if (op >= 0x40 && op < 0x60) {
            static constexpr std::array<const char *, 4> names = {"inc ", "dec ", "push ", "pop "};
            return std::string(names[(op - 0x40) >> 3]) + kWordRegs[op & 7];
        }
        if (op >= 0x70 && op < 0x80) {
            const int displacement = static_cast<std::int8_t>(next());
            return std::string(kConditions[op & 15]) + ' ' + relativeTarget(displacement);
        }
        if (op >= 0x91 && op < 0x98)
            return std::string("xchg ax,") + kWordRegs[op & 7];
        if (op >= 0xB0 && op < 0xC0) {
            const Size size = op < 0xB8 ? Byte : Word;
            return "mov " + reg(op & 7, size) + ',' + asmNumber(nextImmediate(size));
        }
        switch (op) {
        case 0x06:
        case 0x0E:
        case 0x16:
        case 0x1E:
            return std::string("push ") + kSegRegs[op >> 3];
        case 0x07:
        case 0x17:
        case 0x1F:
            return std::string("pop ") + kSegRegs[op >> 3];
        case 0x27:
            return "daa";
        case 0x2F:
            return "das";
        case 0x37:
            return "aaa";
        case 0x3F:
            return "aas";
        case 0x60:
            need186();
            return "pusha";
        case 0x61:
            need186();
            return "popa";
        case 0x62:
            need186();
            readModRM();
            requireMemory();
            return "bound " + reg(reg_, Word) + ',' + memory(Dword);
        case 0x68:
            need186();
            return "push " + asmNumber(nextWord());
        case 0x6A:
            need186();
            return "push " + asmNumber(nextSignExtended());
        case 0x69:
        case 0x6B: {
            need186();
            readModRM();
            const std::string operands = reg(reg_, Word) + ',' + rm(Word, Word);
            return "imul " + operands + ',' + asmNumber(op == 0x6B ? nextSignExtended() : nextWord());
        }
        case 0x6C:
        case 0x6D:
        case 0x6E:
        case 0x6F:
            need186();
            return stringInstruction(op);
        case 0x80:
        case 0x81:
        case 0x83: {
            readModRM();
            const Size size = op == 0x80 ? Byte : Word;
            const std::string target = rm(size, size);
            const std::uint16_t value = op == 0x83 ? nextSignExtended() : nextImmediate(size);
            return std::string(kAlu[reg_]) + ' ' + target + ',' + asmNumber(value);
        }
        case 0x84:
        case 0x85:
        case 0x86:
        case 0x87: {
            readModRM();
            const Size size = (op & 1) ? Word : Byte;
            // AX comes first, as in the one-byte XCHG the assembler makes of it.
            if (op == 0x87 && mod_ == 3 && rm_ == 0)
                return std::string("xchg ax,") + kWordRegs[reg_];
            return std::string(op < 0x86 ? "test " : "xchg ") + reg(reg_, size) + ',' + rm(size);
        }
        case 0x88:
        case 0x89:
        case 0x8A:
        case 0x8B: {
            readModRM();
            const Size size = (op & 1) ? Word : Byte;
            if (op & 2)
                return "mov " + reg(reg_, size) + ',' + rm(size);
            return "mov " + rm(size) + ',' + reg(reg_, size);
        }
        case 0x8C:
            readModRM();
            if (reg_ > 3)
                throw Undefined{};
            return "mov " + rm(Word, Word) + ',' + kSegRegs[reg_];
        case 0x8E:
            readModRM();
            if (reg_ > 3 || reg_ == 1)
                throw Undefined{};
            return std::string("mov ") + kSegRegs[reg_] + ',' + rm(Word, Word);
        case 0x8D: {
            // LEA takes no segment override: a prefix before it stands alone.
            const int segment = segment_;
            segment_ = -1;
            readModRM();
            requireMemory();
            const std::string text = "lea " + reg(reg_, Word) + ',' + memory();
            segment_ = segment;
            return text;
        }
        case 0x8F:
            readModRM();
            if (reg_ != 0)
                throw Undefined{};
            return "pop " + rm(Word, Word);
        case 0x90:
            return "nop";
        case 0x98:
            return "cbw";
        case 0x99:
            return "cwd";
        case 0x9A:
            return "call far ptr " + farPointer();
        case 0x9B:
            return "wait";
        case 0x9C:
            return "pushf";
        case 0x9D:
            return "popf";
        case 0x9E:
            return "sahf";
        case 0x9F:
            return "lahf";
        case 0xA0:
        case 0xA1:
        case 0xA2:
        case 0xA3: {
            const Size size = (op & 1) ? Word : Byte;
            mod_ = 0;
            rm_ = 6;
            displacement_ = nextWord();
            if (op & 2)
                return "mov " + memory() + ',' + reg(0, size);
            return "mov " + reg(0, size) + ',' + memory();
        }
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
            return stringInstruction(op);
        case 0xA8:
            return "test al," + asmNumber(next());
        case 0xA9:
            return "test ax," + asmNumber(nextWord());
        case 0xC0:
        case 0xC1:
        case 0xD0:
        case 0xD1:
        case 0xD2:
        case 0xD3: {
            if (op < 0xD0)
                need186();
            readModRM();
            if (!kShifts[reg_])
                throw Undefined{};
            const Size size = (op & 1) ? Word : Byte;
            const std::string target = std::string(kShifts[reg_]) + ' ' + rm(size, size) + ',';
            if (op < 0xD0)
                return target + asmNumber(next());
            return target + (op < 0xD2 ? "1" : "cl");
        }
        case 0xC2:
            return "ret " + asmNumber(nextWord());
        case 0xC3:
            return "ret";
        case 0xC4:
        case 0xC5:
            readModRM();
            requireMemory();
            return std::string(op == 0xC4 ? "les " : "lds ") + reg(reg_, Word) + ',' + memory(Dword);
        case 0xC6:
        case 0xC7: {
            readModRM();
            if (reg_ != 0)
                throw Undefined{};
            const Size size = op == 0xC6 ? Byte : Word;
            const std::string target = rm(size, size);
            return "mov " + target + ',' + asmNumber(nextImmediate(size));
        }
        case 0xC8: {
            need186();
            const std::uint16_t frame = nextWord();
            return "enter " + asmNumber(frame) + ',' + asmNumber(next());
        }
        case 0xC9:
            need186();
            return "leave";
        case 0xCA:
            return "retf " + asmNumber(nextWord());
        case 0xCB:
            return "retf";
        case 0xCC:
            return "int 3";
        case 0xCD:
            return "int " + asmNumber(next());
        case 0xCE:
            return "into";
        case 0xCF:
            return "iret";
        case 0xD4:
        case 0xD5: {
            const std::uint8_t base = next();
            const std::string name = op == 0xD4 ? "aam" : "aad";
            return base == 10 ? name : name + ' ' + asmNumber(base);
        }
        case 0xD7:
            if (!overrides(kDs))
                return "xlat";
            mod_ = 0;
            rm_ = 7;
            return "xlat " + memory(Byte);
        case 0xE0:
        case 0xE1:
        case 0xE2:
        case 0xE3: {
            static constexpr std::array<const char *, 4> names = {"loopne ", "loope ", "loop ", "jcxz "};
            const int displacement = static_cast<std::int8_t>(next());
            return names[op & 3] + relativeTarget(displacement);
        }
        case 0xE4:
        case 0xE5:
            return "in " + reg(0, (op & 1) ? Word : Byte) + ',' + asmNumber(next());
        case 0xE6:
        case 0xE7:
            return "out " + asmNumber(next()) + ',' + reg(0, (op & 1) ? Word : Byte);
        case 0xE8: {
            const int displacement = static_cast<std::int16_t>(nextWord());
            return "call " + relativeTarget(displacement);
        }
        case 0xE9: {
            const int displacement = static_cast<std::int16_t>(nextWord());
            // A near jump that a short one would reach keeps its size only when said so.
            const bool reachesShort = displacement + 1 >= -128 && displacement + 1 <= 127;
            return std::string(reachesShort ? "jmp near ptr " : "jmp ") + relativeTarget(displacement);
        }
        case 0xEA:
            return "jmp far ptr " + farPointer();
        case 0xEB: {
            const int displacement = static_cast<std::int8_t>(next());
            return "jmp short " + relativeTarget(displacement);
        }
        case 0xEC:
            return "in al,dx";
        case 0xED:
            return "in ax,dx";
        case 0xEE:
            return "out dx,al";
        case 0xEF:
            return "out dx,ax";
        case 0xF4:
            return "hlt";
        case 0xF5:
            return "cmc";
        case 0xF6:
        case 0xF7: {
            readModRM();
            if (!kUnary[reg_])
                throw Undefined{};
            const Size size = op == 0xF6 ? Byte : Word;
            const std::string target = std::string(kUnary[reg_]) + ' ' + rm(size, size);
            if (reg_ == 0)
                return target + ',' + asmNumber(nextImmediate(size));
            return target;
        }
        case 0xF8:
            return "clc";
        case 0xF9:
            return "stc";
        case 0xFA:
            return "cli";
        case 0xFB:
            return "sti";
        case 0xFC:
            return "cld";
        case 0xFD:
            return "std";
        case 0xFE:
            readModRM();
            if (reg_ > 1)
                throw Undefined{};
            return std::string(reg_ == 0 ? "inc " : "dec ") + rm(Byte, Byte);
        case 0xFF: {
            readModRM();
            static constexpr std::array<const char *, 8> names = {"inc ", "dec ", "call ", "call ",
                                                                  "jmp ", "jmp ", "push ", nullptr};
            if (!names[reg_])
                throw Undefined{};
            if (reg_ == 3 || reg_ == 5) { // far through a pointer in memory
                requireMemory();
                return names[reg_] + memory(Dword);
            }
            return names[reg_] + rm(Word, Word);
        }
        default:
            throw Undefined{};
        }
    }

    std::span<const std::uint8_t> bytes_;
    std::uint16_t offset_;
    bool is186_;
    std::size_t pos_ = 0;
    int prefixCount_ = 0;
    int segment_ = -1;
    bool overrideUsed_ = false;
    std::uint8_t repeat_ = 0;
    bool repeatUsed_ = false;
    std::string repeatName_;
    bool lock_ = false;
    int mod_ = 0, reg_ = 0, rm_ = 0;
    int displacement_ = 0;
};

} // namespace

Disassembled disassemble(std::span<const std::uint8_t> bytes, std::uint16_t offset, machine::CpuModel model)
{
    return Decoder(bytes, offset, model).run();
}

} // namespace velmora::debugger
