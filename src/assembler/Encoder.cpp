#include "assembler/Encoder.h"

#include "assembler/AsmError.h"

#include <cstdio>
#include <map>

namespace velmora::assembler
{

namespace
{

enum class Family {
    Simple, // one or two fixed bytes, no operands
    Alu,    // ADD OR ADC SBB AND SUB XOR CMP (sub-code in `code`)
    Test,
    Mov,
    Xchg,
    IncDec,
    Unary, // NOT NEG MUL IMUL DIV IDIV (F6/F7 /code)
    Shift, // ROL ... SAR (/code)
    Push,
    Pop,
    Jcc,  // condition code in `code`
    Loop, // opcode in `code` (LOOP E2, LOOPE E1, LOOPNE E0, JCXZ E3)
    Jmp,
    Call,
    Ret, // code: 0 by the procedure, 1 near, 2 far
    Int,
    In,
    Out,
    String,      // opcode (byte form) in `code`
    StringSized, // MOVSB ...: fixed opcode, operands optional
    Xlat,
    LoadAddress, // LEA 8D, LDS C5, LES C4
    Bound,
    Enter,
    Aam,    // AAM D4 0A, AAD D5 0A
    Prefix, // REP, LOCK, segment prefixes
};

struct InstructionInfo {
    Family family;
    int code;
    int code2 = -1;
    Cpu cpu = Cpu::I8086;
};

const std::map<std::string, InstructionInfo> &instructions()
{
    static const std::map<std::string, InstructionInfo> table{
        {"AAA", {Family::Simple, 0x37}},
        {"AAS", {Family::Simple, 0x3F}},
        {"DAA", {Family::Simple, 0x27}},
        {"DAS", {Family::Simple, 0x2F}},
        {"CBW", {Family::Simple, 0x98}},
        {"CWD", {Family::Simple, 0x99}},
        {"CLC", {Family::Simple, 0xF8}},
        {"STC", {Family::Simple, 0xF9}},
        {"CMC", {Family::Simple, 0xF5}},
        {"CLD", {Family::Simple, 0xFC}},
        {"STD", {Family::Simple, 0xFD}},
        {"CLI", {Family::Simple, 0xFA}},
        {"STI", {Family::Simple, 0xFB}},
        {"HLT", {Family::Simple, 0xF4}},
        {"LAHF", {Family::Simple, 0x9F}},
        {"SAHF", {Family::Simple, 0x9E}},
        {"PUSHF", {Family::Simple, 0x9C}},
        {"POPF", {Family::Simple, 0x9D}},
        {"NOP", {Family::Simple, 0x90}},
        {"WAIT", {Family::Simple, 0x9B}},
        {"FWAIT", {Family::Simple, 0x9B}},
        {"INTO", {Family::Simple, 0xCE}},
        {"IRET", {Family::Simple, 0xCF}},
        {"XLATB", {Family::Simple, 0xD7}},
        {"PUSHA", {Family::Simple, 0x60, -1, Cpu::I186}},
        {"POPA", {Family::Simple, 0x61, -1, Cpu::I186}},
        {"LEAVE", {Family::Simple, 0xC9, -1, Cpu::I186}},
        {"AAM", {Family::Aam, 0xD4}},
        {"AAD", {Family::Aam, 0xD5}},
        {"ADD", {Family::Alu, 0}},
        {"OR", {Family::Alu, 1}},
        {"ADC", {Family::Alu, 2}},
        {"SBB", {Family::Alu, 3}},
        {"AND", {Family::Alu, 4}},
        {"SUB", {Family::Alu, 5}},
        {"XOR", {Family::Alu, 6}},
        {"CMP", {Family::Alu, 7}},
        {"TEST", {Family::Test, 0}},
        {"MOV", {Family::Mov, 0}},
        {"XCHG", {Family::Xchg, 0}},
        {"INC", {Family::IncDec, 0}},
        {"DEC", {Family::IncDec, 1}},
        {"NOT", {Family::Unary, 2}},
        {"NEG", {Family::Unary, 3}},
        {"MUL", {Family::Unary, 4}},
        {"IMUL", {Family::Unary, 5}},
        {"DIV", {Family::Unary, 6}},
        {"IDIV", {Family::Unary, 7}},
        {"ROL", {Family::Shift, 0}},
        {"ROR", {Family::Shift, 1}},
        {"RCL", {Family::Shift, 2}},
        {"RCR", {Family::Shift, 3}},
        {"SHL", {Family::Shift, 4}},
        {"SAL", {Family::Shift, 4}},
        {"SHR", {Family::Shift, 5}},
        {"SAR", {Family::Shift, 7}},
        {"PUSH", {Family::Push, 0}},
        {"POP", {Family::Pop, 0}},
        {"JO", {Family::Jcc, 0}},
        {"JNO", {Family::Jcc, 1}},
        {"JB", {Family::Jcc, 2}},
        {"JC", {Family::Jcc, 2}},
        {"JNAE", {Family::Jcc, 2}},
        {"JAE", {Family::Jcc, 3}},
        {"JNB", {Family::Jcc, 3}},
        {"JNC", {Family::Jcc, 3}},
        {"JE", {Family::Jcc, 4}},
        {"JZ", {Family::Jcc, 4}},
        {"JNE", {Family::Jcc, 5}},
        {"JNZ", {Family::Jcc, 5}},
        {"JBE", {Family::Jcc, 6}},
        {"JNA", {Family::Jcc, 6}},
        {"JA", {Family::Jcc, 7}},
        {"JNBE", {Family::Jcc, 7}},
        {"JS", {Family::Jcc, 8}},
        {"JNS", {Family::Jcc, 9}},
        {"JP", {Family::Jcc, 10}},
        {"JPE", {Family::Jcc, 10}},
        {"JNP", {Family::Jcc, 11}},
        {"JPO", {Family::Jcc, 11}},
        {"JL", {Family::Jcc, 12}},
        {"JNGE", {Family::Jcc, 12}},
        {"JGE", {Family::Jcc, 13}},
        {"JNL", {Family::Jcc, 13}},
        {"JLE", {Family::Jcc, 14}},
        {"JNG", {Family::Jcc, 14}},
        {"JG", {Family::Jcc, 15}},
        {"JNLE", {Family::Jcc, 15}},
        {"LOOP", {Family::Loop, 0xE2}},
        {"LOOPE", {Family::Loop, 0xE1}},
        {"LOOPZ", {Family::Loop, 0xE1}},
        {"LOOPNE", {Family::Loop, 0xE0}},
        {"LOOPNZ", {Family::Loop, 0xE0}},
        {"JCXZ", {Family::Loop, 0xE3}},
        {"JMP", {Family::Jmp, 0}},
        {"CALL", {Family::Call, 0}},
        {"RET", {Family::Ret, 0}},
        {"RETN", {Family::Ret, 1}},
        {"RETF", {Family::Ret, 2}},
        {"INT", {Family::Int, 0}},
        {"IN", {Family::In, 0}},
        {"OUT", {Family::Out, 0}},
        {"MOVS", {Family::String, 0xA4}},
        {"CMPS", {Family::String, 0xA6}},
        {"STOS", {Family::String, 0xAA}},
        {"LODS", {Family::String, 0xAC}},
        {"SCAS", {Family::String, 0xAE}},
        {"INS", {Family::String, 0x6C, -1, Cpu::I186}},
        {"OUTS", {Family::String, 0x6E, -1, Cpu::I186}},
        {"MOVSB", {Family::StringSized, 0xA4}},
        {"MOVSW", {Family::StringSized, 0xA5}},
        {"CMPSB", {Family::StringSized, 0xA6}},
        {"CMPSW", {Family::StringSized, 0xA7}},
        {"STOSB", {Family::StringSized, 0xAA}},
        {"STOSW", {Family::StringSized, 0xAB}},
        {"LODSB", {Family::StringSized, 0xAC}},
        {"LODSW", {Family::StringSized, 0xAD}},
        {"SCASB", {Family::StringSized, 0xAE}},
        {"SCASW", {Family::StringSized, 0xAF}},
        {"INSB", {Family::StringSized, 0x6C, -1, Cpu::I186}},
        {"INSW", {Family::StringSized, 0x6D, -1, Cpu::I186}},
        {"OUTSB", {Family::StringSized, 0x6E, -1, Cpu::I186}},
        {"OUTSW", {Family::StringSized, 0x6F, -1, Cpu::I186}},
        {"XLAT", {Family::Xlat, 0xD7}},
        {"LEA", {Family::LoadAddress, 0x8D}},
        {"LDS", {Family::LoadAddress, 0xC5}},
        {"LES", {Family::LoadAddress, 0xC4}},
        {"BOUND", {Family::Bound, 0x62, -1, Cpu::I186}},
        {"ENTER", {Family::Enter, 0xC8, -1, Cpu::I186}},
        {"REP", {Family::Prefix, 0xF3}},
        {"REPE", {Family::Prefix, 0xF3}},
        {"REPZ", {Family::Prefix, 0xF3}},
        {"REPNE", {Family::Prefix, 0xF2}},
        {"REPNZ", {Family::Prefix, 0xF2}},
        {"LOCK", {Family::Prefix, 0xF0}},
        {"SEGES", {Family::Prefix, 0x26}},
        {"SEGCS", {Family::Prefix, 0x2E}},
        {"SEGSS", {Family::Prefix, 0x36}},
        {"SEGDS", {Family::Prefix, 0x3E}},
    };
    return table;
}

class Builder
{
public:
    Builder(const EncodeContext &context) : context_(context) {}

    Encoded result;

    void byte(int value)
    {
        result.bytes.push_back(static_cast<std::uint8_t>(value));
        result.shown.push_back(hexDigits(static_cast<std::uint8_t>(value), 2));
    }
    void word(std::int64_t value, const std::string &letters = "")
    {
        result.bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
        result.bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
        result.shown.push_back(hexDigits(static_cast<std::uint64_t>(value) & 0xFFFF, 4) + letters);
    }
    // A prefix byte: a segment override lists as "26:", a repeat or lock prefix as "F3>".
    void prefix(int value)
    {
        result.bytes.push_back(static_cast<std::uint8_t>(value));
        const bool segment = (value & 0xE7) == 0x26;
        result.shown.push_back(hexDigits(static_cast<std::uint8_t>(value), 2) + (segment ? ":" : ">"));
    }
    int size() const { return static_cast<int>(result.bytes.size()); }

    // A 16-bit field holding the value, with a fixup when the value is relocatable.
    void wordValue(const Value &value) { word(value.number, addFixup(value, FixupKind::Offset16, 2)); }

    // A far pointer: the offset, then a paragraph the linker fills in.
    void pointer(const Value &value)
    {
        const std::string letters = addFixup(value, FixupKind::Pointer32, 4);
        const std::uint64_t offset = static_cast<std::uint64_t>(value.number) & 0xFFFF;
        for (int i = 0; i < 4; ++i)
            result.bytes.push_back(i < 2 ? static_cast<std::uint8_t>(offset >> (8 * i)) : 0);
        result.shown.push_back(hexDigits(offset, 8) + letters);
    }

    // Records the fixup a relocatable value needs at the current end; returns its letters.
    std::string addFixup(const Value &value, FixupKind kind, int length)
    {
        if (!value.relocatable() || value.unknown)
            return "";
        EncodedFixup fixup;
        fixup.position = size();
        fixup.length = length;
        fixup.relocation = value.relocation;
        fixup.target = value.target;
        fixup.targetIsGroup = value.targetIsGroup;
        const bool segmentValue =
            value.relocation == Relocation::SegmentBase || value.relocation == Relocation::ExternalBase;
        fixup.kind = segmentValue && kind != FixupKind::Relative16 ? FixupKind::Segment16 : kind;
        result.fixups.push_back(fixup);
        return relocationLetters(fixup);
    }

    void immediate(const Value &value, int size)
    {
        if (size == 1) {
            if (value.relocatable() && !value.unknown && !value.isExternAbs)
                throw AsmError("Constant too large");
            if (!value.unknown && (value.number > 255 || value.number < -256))
                throw AsmError("Constant too large");
            byte(static_cast<int>(value.number & 0xFF));
        } else {
            if (!value.relocatable() && !value.unknown && (value.number > 0xFFFF || value.number < -0x10000))
                throw AsmError("Value out of range");
            wordValue(value);
        }
    }

    // The segment override byte an address needs, if any.
    void segmentPrefix(const Value &operand)
    {
        const int segment = prefixFor(operand);
        if (segment >= 0)
            prefix(0x26 | (segment << 3));
    }

    int prefixFor(const Value &operand) const
    {
        if (!operand.memory)
            return -1;
        const int defaultSegment = operand.base == reg::BP ? reg::SS : reg::DS;
        if (operand.override >= 0)
            return operand.override == defaultSegment ? -1 : operand.override;
        if (operand.relocation != Relocation::Offset || operand.target < 0 || operand.unknown || !context_.reaches)
            return -1;
        if (context_.reaches(defaultSegment, operand.target))
            return -1;
        for (int candidate : {reg::DS, reg::SS, reg::ES, reg::CS})
            if (candidate != defaultSegment && context_.reaches(candidate, operand.target))
                return candidate;
        throw AsmError("Can't address with currently ASSUMEd segment registers");
    }

    void modrm(int regField, const Value &operand)
    {
        if (operand.isRegister()) {
            byte(0xC0 | (regField << 3) | operand.reg);
            return;
        }
        if (!operand.memory)
            throw AsmError("Illegal immediate");
        const std::int64_t displacement = operand.number & 0xFFFF;
        const bool relocated = operand.relocatable() || operand.unknown;
        if (operand.base < 0 && operand.index < 0) {
            byte((regField << 3) | 6);
            wordValue(operand);
            return;
        }
        int rm = 0;
        if (operand.base == reg::BX && operand.index == reg::SI)
            rm = 0;
        else if (operand.base == reg::BX && operand.index == reg::DI)
            rm = 1;
        else if (operand.base == reg::BP && operand.index == reg::SI)
            rm = 2;
        else if (operand.base == reg::BP && operand.index == reg::DI)
            rm = 3;
        else if (operand.base < 0 && operand.index == reg::SI)
            rm = 4;
        else if (operand.base < 0 && operand.index == reg::DI)
            rm = 5;
        else if (operand.base == reg::BP)
            rm = 6;
        else
            rm = 7;
        if (relocated) {
            byte(0x80 | (regField << 3) | rm);
            wordValue(operand);
        } else if (displacement == 0 && rm != 6) {
            byte((regField << 3) | rm);
        } else if (fitsSignedByte(displacement)) {
            byte(0x40 | (regField << 3) | rm);
            byte(static_cast<int>(displacement & 0xFF));
        } else {
            byte(0x80 | (regField << 3) | rm);
            word(displacement);
        }
    }

    void warn(const std::string &text) const
    {
        if (context_.warn)
            context_.warn(text);
    }

    const EncodeContext &context_;
};

bool isAccumulator(const Value &value)
{
    return value.isRegister() && value.reg == 0 && value.regClass != RegClass::Segment;
}

bool isDirect(const Value &value)
{
    return value.memory && !value.hasIndex();
}

// The operand size of an instruction: from a register, else from a typed memory operand.
int operandSize(const Value &first, const Value *second, Builder &builder, bool warnWhenUnknown = true)
{
    auto sizeOf = [](const Value &value) -> int {
        if (value.regClass == RegClass::Byte)
            return 1;
        if (value.regClass == RegClass::Word || value.regClass == RegClass::Segment)
            return 2;
        if (value.memory && (value.type == 1 || value.type == 2 || value.type == 4))
            return value.type;
        return 0;
    };
    int size = sizeOf(first);
    if (second) {
        const int other = sizeOf(*second);
        if (size && other && size != other && (first.isRegister() || second->isRegister() || first.explicitType))
            throw AsmError("Operand types do not match");
        if (!size || (second->isRegister() && !first.isRegister()))
            size = other ? other : size;
    }
    if (size == 0 && warnWhenUnknown) {
        const bool anyUnknown = first.unknown || (second && second->unknown);
        if (!anyUnknown)
            builder.warn("Argument needs type override");
        size = 2;
    }
    return size == 4 ? 2 : size;
}

void requireOperands(const std::vector<Value> &operands, std::size_t count)
{
    if (operands.size() < count)
        throw AsmError(count == 1 ? "Need address or register" : "Too few operands to instruction");
    if (operands.size() > count)
        throw AsmError("Extra characters on line");
}

void requireCpu(const InstructionInfo &info, const EncodeContext &context)
{
    if (static_cast<int>(context.cpu) < static_cast<int>(info.cpu))
        throw AsmError("Illegal instruction for currently selected processor(s)");
}

void encodeAlu(Builder &b, int code, const std::vector<Value> &ops)
{
    requireOperands(ops, 2);
    const Value &dst = ops[0], &src = ops[1];
    if (dst.regClass == RegClass::Segment || src.regClass == RegClass::Segment)
        throw AsmError("Illegal use of segment register");
    if (dst.isImmediate() && !dst.unknown)
        throw AsmError("Illegal immediate");
    if (!dst.isRegister() && !src.isRegister() && !src.isImmediate())
        throw AsmError("Need register in expression");
    if (src.isImmediate()) {
        const int size = operandSize(dst, nullptr, b);
        const bool byteForm = size == 1;
        b.segmentPrefix(dst);
        if (isAccumulator(dst)) {
            b.byte(code * 8 + (byteForm ? 4 : 5));
            b.immediate(src, byteForm ? 1 : 2);
            return;
        }
        if (byteForm) {
            b.byte(0x80);
            b.modrm(code, dst);
            b.immediate(src, 1);
        } else if (!src.relocatable() && !src.unknown && fitsSignedByte(src.number)) {
            b.byte(0x83);
            b.modrm(code, dst);
            b.byte(static_cast<int>(src.number & 0xFF));
        } else {
            b.byte(0x81);
            b.modrm(code, dst);
            b.immediate(src, 2);
        }
        return;
    }
    const int size = operandSize(dst, &src, b);
    const int w = size == 1 ? 0 : 1;
    if (dst.isRegister()) {
        b.segmentPrefix(src);
        b.byte(code * 8 + 2 + w);
        b.modrm(dst.reg, src);
    } else if (src.isRegister()) {
        b.segmentPrefix(dst);
        b.byte(code * 8 + w);
        b.modrm(src.reg, dst);
    } else {
        throw AsmError("Need register in expression");
    }
}

void encodeTest(Builder &b, const std::vector<Value> &ops)
{
    requireOperands(ops, 2);
    const Value &dst = ops[0], &src = ops[1];
    if (src.isImmediate()) {
        const int size = operandSize(dst, nullptr, b);
        b.segmentPrefix(dst);
        if (isAccumulator(dst)) {
            b.byte(size == 1 ? 0xA8 : 0xA9);
        } else {
            b.byte(size == 1 ? 0xF6 : 0xF7);
            b.modrm(0, dst);
        }
        b.immediate(src, size);
        return;
    }
    const int size = operandSize(dst, &src, b);
    const Value &regOperand = dst.isRegister() ? dst : src;
    const Value &other = dst.isRegister() ? src : dst;
    if (!regOperand.isRegister())
        throw AsmError("Need register in expression");
    b.segmentPrefix(other);
    b.byte(size == 1 ? 0x84 : 0x85);
    b.modrm(regOperand.reg, other);
}

void encodeMov(Builder &b, const std::vector<Value> &ops)
{
    requireOperands(ops, 2);
    const Value &dst = ops[0], &src = ops[1];
    if (dst.regClass == RegClass::Segment || src.regClass == RegClass::Segment) {
        if (dst.regClass == RegClass::Segment && src.regClass == RegClass::Segment)
            throw AsmError("Illegal use of segment register");
        if (dst.regClass == RegClass::Segment) {
            if (dst.reg == reg::CS)
                throw AsmError("Invalid operand(s) to instruction");
            if (src.isImmediate() || src.regClass == RegClass::Byte)
                throw AsmError(src.isImmediate() ? "Illegal immediate" : "Operand types do not match");
            b.segmentPrefix(src);
            b.byte(0x8E);
            b.modrm(dst.reg, src);
        } else {
            if (dst.regClass == RegClass::Byte || dst.isImmediate())
                throw AsmError("Operand types do not match");
            b.segmentPrefix(dst);
            b.byte(0x8C);
            b.modrm(src.reg, dst);
        }
        return;
    }
    if (dst.isImmediate() && !dst.unknown)
        throw AsmError("Illegal immediate");
    if (!dst.isRegister() && !src.isRegister() && !src.isImmediate())
        throw AsmError("Need register in expression");
    if (src.isImmediate()) {
        const int size = operandSize(dst, nullptr, b);
        if (dst.isRegister()) {
            b.byte((size == 1 ? 0xB0 : 0xB8) + dst.reg);
        } else {
            b.segmentPrefix(dst);
            b.byte(size == 1 ? 0xC6 : 0xC7);
            b.modrm(0, dst);
        }
        b.immediate(src, size);
        return;
    }
    const int size = operandSize(dst, &src, b);
    const int w = size == 1 ? 0 : 1;
    if (dst.isRegister() && src.isRegister()) {
        b.byte(0x8A + w);
        b.modrm(dst.reg, src);
    } else if (dst.isRegister()) {
        b.segmentPrefix(src);
        if (isAccumulator(dst) && isDirect(src)) {
            b.byte(0xA0 + w);
            b.wordValue(src);
        } else {
            b.byte(0x8A + w);
            b.modrm(dst.reg, src);
        }
    } else if (src.isRegister()) {
        b.segmentPrefix(dst);
        if (isAccumulator(src) && isDirect(dst)) {
            b.byte(0xA2 + w);
            b.wordValue(dst);
        } else {
            b.byte(0x88 + w);
            b.modrm(src.reg, dst);
        }
    } else {
        throw AsmError("Need register in expression");
    }
}

void encodeXchg(Builder &b, const std::vector<Value> &ops)
{
    requireOperands(ops, 2);
    const Value &first = ops[0], &second = ops[1];
    const int size = operandSize(first, &second, b);
    if (size == 2 && first.isRegister() && second.isRegister() && (isAccumulator(first) || isAccumulator(second))) {
        b.byte(0x90 + (isAccumulator(first) ? second.reg : first.reg));
        return;
    }
    const Value &regOperand = first.isRegister() ? first : second;
    const Value &other = first.isRegister() ? second : first;
    if (!regOperand.isRegister() || other.isImmediate())
        throw AsmError("Need register in expression");
    b.segmentPrefix(other);
    b.byte(size == 1 ? 0x86 : 0x87);
    b.modrm(regOperand.reg, other);
}

void encodeIncDec(Builder &b, int code, const std::vector<Value> &ops)
{
    requireOperands(ops, 1);
    const Value &op = ops[0];
    if (op.regClass == RegClass::Word) {
        b.byte(0x40 + code * 8 + op.reg);
        return;
    }
    if (op.isImmediate() || op.regClass == RegClass::Segment)
        throw AsmError("Illegal immediate");
    const int size = operandSize(op, nullptr, b);
    b.segmentPrefix(op);
    b.byte(size == 1 ? 0xFE : 0xFF);
    b.modrm(code, op);
}

void encodeUnary(Builder &b, int code, const std::vector<Value> &ops, const EncodeContext &context)
{
    if (code == 5 && ops.size() >= 2) { // IMUL reg, r/m, imm and IMUL reg, imm (80186)
        if (context.cpu == Cpu::I8086)
            throw AsmError("Extra characters on line");
        if (ops.size() > 3)
            throw AsmError("Extra characters on line");
        const Value &dst = ops[0];
        const Value &src = ops.size() == 3 ? ops[1] : ops[0];
        const Value &imm = ops.back();
        if (dst.regClass != RegClass::Word || !imm.isImmediate())
            throw AsmError("Operand types do not match");
        b.segmentPrefix(src);
        const bool shortForm = !imm.relocatable() && !imm.unknown && fitsSignedByte(imm.number);
        b.byte(shortForm ? 0x6B : 0x69);
        b.modrm(dst.reg, src);
        if (shortForm)
            b.byte(static_cast<int>(imm.number & 0xFF));
        else
            b.immediate(imm, 2);
        return;
    }
    requireOperands(ops, 1);
    const Value &op = ops[0];
    if (op.isImmediate()) {
        b.warn("Argument needs type override");
        throw AsmError("Illegal immediate");
    }
    if (op.regClass == RegClass::Segment)
        throw AsmError("Illegal use of segment register");
    const int size = operandSize(op, nullptr, b);
    b.segmentPrefix(op);
    b.byte(size == 1 ? 0xF6 : 0xF7);
    b.modrm(code, op);
}

void encodeShift(Builder &b, int code, const std::vector<Value> &ops, const EncodeContext &context)
{
    requireOperands(ops, 2);
    const Value &op = ops[0], &count = ops[1];
    const int size = operandSize(op, nullptr, b);
    const int w = size == 1 ? 0 : 1;
    if (count.isRegister()) {
        if (count.regClass != RegClass::Byte || count.reg != reg::CL)
            throw AsmError("Rotate count must be constant or CL");
        b.segmentPrefix(op);
        b.byte(0xD2 + w);
        b.modrm(code, op);
        return;
    }
    if (!count.isImmediate())
        throw AsmError("Rotate count must be constant or CL");
    b.segmentPrefix(op);
    if (!count.unknown && count.number == 1) {
        b.byte(0xD0 + w);
        b.modrm(code, op);
        return;
    }
    if (context.cpu == Cpu::I8086)
        throw AsmError("Illegal instruction for currently selected processor(s)");
    b.byte(0xC0 + w);
    b.modrm(code, op);
    b.immediate(count, 1);
}

void encodePushPop(Builder &b, bool push, const std::vector<Value> &ops, const EncodeContext &context)
{
    requireOperands(ops, 1);
    const Value &op = ops[0];
    if (op.regClass == RegClass::Word) {
        b.byte((push ? 0x50 : 0x58) + op.reg);
        return;
    }
    if (op.regClass == RegClass::Segment) {
        if (!push && op.reg == reg::CS)
            throw AsmError("Illegal use of segment register");
        b.byte((push ? 0x06 : 0x07) + op.reg * 8);
        return;
    }
    if (op.regClass == RegClass::Byte || (op.memory && op.type == 1))
        throw AsmError("Argument to operation or instruction has illegal size");
    if (op.isImmediate()) {
        if (!push)
            throw AsmError("Illegal immediate");
        if (context.cpu == Cpu::I8086) {
            // PUSH immediate on the 8086: make room, then store through BP.
            for (int value : {0x50, 0x55, 0x8B, 0xEC, 0xC7, 0x46, 0x02})
                b.byte(value);
            b.immediate(op, 2);
            b.byte(0x5D);
            return;
        }
        if (!op.relocatable() && !op.unknown && fitsSignedByte(op.number)) {
            b.byte(0x6A);
            b.byte(static_cast<int>(op.number & 0xFF));
        } else {
            b.byte(0x68);
            b.immediate(op, 2);
        }
        return;
    }
    b.segmentPrefix(op);
    b.byte(push ? 0xFF : 0x8F);
    b.modrm(push ? 6 : 0, op);
}

// The distance from the end of an instruction of `length` bytes to the target.
std::int64_t relative(const Value &target, const EncodeContext &context, int length)
{
    return target.number - static_cast<std::int64_t>(context.offset + length);
}

bool sameSegment(const Value &target, const EncodeContext &context)
{
    return target.relocation == Relocation::Offset && target.target == context.segment;
}

[[noreturn]] void outOfRange(std::int64_t distance)
{
    const std::int64_t beyond = distance > 127 ? distance - 127 : -128 - distance;
    throw AsmError("Relative jump out of range by " + hexDigits(static_cast<std::uint64_t>(beyond), 4) + "h bytes");
}

bool isIndirect(const Value &target)
{
    if (target.isRegister())
        return true;
    if (target.isCode && !target.hasIndex())
        return false;
    if (target.unknown && !target.explicitType && !target.hasIndex())
        return false;
    if (target.isImmediate())
        return false;
    return true;
}

void encodeConditional(Builder &b, int opcode, bool isLoop, const Value &target, const EncodeContext &context)
{
    if (target.unknown) {
        b.byte(opcode);
        b.byte(static_cast<int>(relative(target, context, 2) & 0xFF));
        if (context.jumps)
            for (int i = 0; i < 3; ++i)
                b.byte(0x90);
        return;
    }
    if (!sameSegment(target, context) && target.relocation != Relocation::None)
        throw AsmError("Near jump or call to different CS");
    const std::int64_t distance = relative(target, context, 2);
    if (fitsSignedByte(distance) && distance >= -128 && distance <= 127) {
        b.byte(opcode);
        b.byte(static_cast<int>(distance & 0xFF));
        return;
    }
    if (!context.jumps || target.distance == Distance::Short)
        outOfRange(distance);
    if (isLoop) {
        // LOOP/JCXZ to a near target: jump over a short jump that skips the near jump.
        for (int value : {opcode, 0x02, 0xEB, 0x03, 0xE9})
            b.byte(value);
        b.word(relative(target, context, 7));
        return;
    }
    b.byte(opcode ^ 1);
    b.byte(0x03);
    b.byte(0xE9);
    b.word(relative(target, context, 5));
}

void relativeFixup(Builder &b, const Value &target)
{
    b.word(target.number, b.addFixup(target, FixupKind::Relative16, 2));
}

void encodeJmpCall(Builder &b, bool call, const std::vector<Value> &ops, const EncodeContext &context)
{
    requireOperands(ops, 1);
    const Value &target = ops[0];
    if (isIndirect(target)) {
        const bool far = target.memory && (target.type == 4 || target.type == TypeFar);
        b.segmentPrefix(target);
        b.byte(0xFF);
        b.modrm((call ? 2 : 4) + (far ? 1 : 0), target);
        return;
    }
    const bool far = target.distance == Distance::Far || (target.distance != Distance::Near && target.type == TypeFar);
    if (target.unknown) {
        // Room for the largest form; an unknown target counts as offset 0.
        if (target.distance == Distance::Short) {
            b.byte(0xEB);
            b.byte(static_cast<int>(relative(target, context, 2) & 0xFF));
        } else if (far) {
            b.byte(call ? 0x9A : 0xEA);
            b.pointer(target);
        } else {
            b.byte(call ? 0xE8 : 0xE9);
            b.word(relative(target, context, 3));
        }
        return;
    }
    if (target.relocation == Relocation::External) {
        if (far) {
            b.byte(call ? 0x9A : 0xEA);
            b.pointer(target);
        } else {
            b.byte(call ? 0xE8 : 0xE9);
            relativeFixup(b, target);
        }
        return;
    }
    const bool same = sameSegment(target, context) || target.relocation == Relocation::None;
    // A far label reached from its own segment: a near jump, or PUSH CS and a near call.
    const bool nearJumpToFar = far && !call && same && target.distance != Distance::Far;
    if (far && !(call && same) && !nearJumpToFar) {
        b.byte(call ? 0x9A : 0xEA);
        b.pointer(target);
        return;
    }
    if (!same)
        throw AsmError("Near jump or call to different CS");
    if (far && call) {
        // A far call within the segment: PUSH CS and a near call.
        b.byte(0x0E);
        b.byte(0xE8);
        b.word(relative(target, context, 4));
        return;
    }
    if (!call) {
        const std::int64_t shortDistance = relative(target, context, 2);
        const bool fits = shortDistance >= -128 && shortDistance <= 127;
        if (target.distance == Distance::Short) {
            if (!fits)
                outOfRange(shortDistance);
        }
        if (fits && (target.distance != Distance::Near || context.forwardStatement)) {
            b.byte(0xEB);
            b.byte(static_cast<int>(shortDistance & 0xFF));
            return;
        }
        b.byte(0xE9);
        b.word(relative(target, context, 3));
        return;
    }
    b.byte(0xE8);
    b.word(relative(target, context, 3));
}

void encodeRet(Builder &b, int code, const std::vector<Value> &ops, const EncodeContext &context)
{
    if (ops.size() > 1)
        throw AsmError("Extra characters on line");
    const bool far = code == 2 || (code == 0 && context.farProcedure);
    if (ops.empty()) {
        b.byte(far ? 0xCB : 0xC3);
        return;
    }
    if (ops[0].isRegister())
        throw AsmError("Illegal use of register");
    b.byte(far ? 0xCA : 0xC2);
    b.immediate(ops[0], 2);
}

void encodeIn(Builder &b, bool in, const std::vector<Value> &ops)
{
    requireOperands(ops, 2);
    const Value &data = in ? ops[0] : ops[1];
    const Value &port = in ? ops[1] : ops[0];
    if (!isAccumulator(data))
        throw AsmError("Register must be AL or AX");
    const int w = data.regClass == RegClass::Word ? 1 : 0;
    if (port.isRegister()) {
        if (port.regClass != RegClass::Word || port.reg != reg::DX)
            throw AsmError("Register must be DX");
        b.byte((in ? 0xEC : 0xEE) + w);
        return;
    }
    if (!port.isImmediate())
        throw AsmError("Illegal memory reference");
    if (!port.unknown && (port.number < 0 || port.number > 255))
        throw AsmError("Constant too large");
    b.byte((in ? 0xE4 : 0xE6) + w);
    b.byte(static_cast<int>(port.number & 0xFF));
}

// String instructions with operands: the operands give the size and a source override.
void encodeString(Builder &b, int opcode, const std::vector<Value> &ops, const EncodeContext &context)
{
    int size = 0;
    for (const Value &op : ops)
        if (op.memory && (op.type == 1 || op.type == 2) && size == 0)
            size = op.type;
    // The operand that addresses through SI may carry a segment override.
    const Value *source = nullptr;
    if (!ops.empty() && (opcode == 0xA4 || opcode == 0xAC || opcode == 0x6E))
        source = &ops.back();
    else if (!ops.empty() && opcode == 0xA6)
        source = &ops.front();
    if (opcode == 0x6C && !ops.empty() && context.cpu != Cpu::I286)
        throw AsmError("Illegal instruction for currently selected processor(s)");
    if (size == 0)
        throw AsmError("Argument needs type override");
    if (source && source->override >= 0 && source->override != reg::DS)
        b.prefix(0x26 | (source->override << 3));
    b.byte(opcode + (size == 2 ? 1 : 0));
}

} // namespace

std::string hexDigits(std::uint64_t value, int digits)
{
    static const char *const hex = "0123456789ABCDEF";
    std::string text(static_cast<std::size_t>(digits), '0');
    for (int i = digits - 1; i >= 0 && value; --i, value >>= 4)
        text[static_cast<std::size_t>(i)] = hex[value & 0xF];
    return text;
}

std::string relocationLetters(const EncodedFixup &fixup)
{
    const bool external = fixup.relocation == Relocation::External || fixup.relocation == Relocation::ExternalBase;
    switch (fixup.kind) {
    case FixupKind::Segment16:
        return "s";
    case FixupKind::Pointer32:
        return external ? "se" : "sr";
    default:
        return external ? "e" : "r";
    }
}

bool fitsSignedByte(std::int64_t value)
{
    if (value >= -128 && value <= 127)
        return true;
    return value >= 0xFF80 && value <= 0xFFFF;
}

bool isMnemonic(const std::string &upperName)
{
    return instructions().count(upperName) != 0;
}

bool isPrefix(const std::string &upperName)
{
    const auto it = instructions().find(upperName);
    return it != instructions().end() && it->second.family == Family::Prefix;
}

Encoded encodeInstruction(const std::string &mnemonic, const std::vector<Value> &operands, const EncodeContext &context)
{
    const auto it = instructions().find(mnemonic);
    if (it == instructions().end())
        throw AsmError("Illegal instruction");
    const InstructionInfo &info = it->second;
    requireCpu(info, context);
    Builder b(context);
    switch (info.family) {
    case Family::Simple:
        requireOperands(operands, 0);
        b.byte(info.code);
        break;
    case Family::Prefix:
        requireOperands(operands, 0);
        b.prefix(info.code);
        break;
    case Family::Aam:
        if (operands.size() > 1)
            throw AsmError("Extra characters on line");
        b.byte(info.code);
        b.immediate(operands.empty() ? Value{.number = 10} : operands[0], 1);
        break;
    case Family::Alu:
        encodeAlu(b, info.code, operands);
        break;
    case Family::Test:
        encodeTest(b, operands);
        break;
    case Family::Mov:
        encodeMov(b, operands);
        break;
    case Family::Xchg:
        encodeXchg(b, operands);
        break;
    case Family::IncDec:
        encodeIncDec(b, info.code, operands);
        break;
    case Family::Unary:
        encodeUnary(b, info.code, operands, context);
        break;
    case Family::Shift:
        encodeShift(b, info.code, operands, context);
        break;
    case Family::Push:
    case Family::Pop:
        encodePushPop(b, info.family == Family::Push, operands, context);
        break;
    case Family::Jcc:
        requireOperands(operands, 1);
        encodeConditional(b, 0x70 + info.code, false, operands[0], context);
        break;
    case Family::Loop:
        requireOperands(operands, 1);
        encodeConditional(b, info.code, true, operands[0], context);
        break;
    case Family::Jmp:
    case Family::Call:
        encodeJmpCall(b, info.family == Family::Call, operands, context);
        break;
    case Family::Ret:
        encodeRet(b, info.code, operands, context);
        break;
    case Family::Int:
        requireOperands(operands, 1);
        if (!operands[0].isImmediate())
            throw AsmError("Illegal use of register");
        if (!operands[0].unknown && (operands[0].number < 0 || operands[0].number > 255))
            throw AsmError("Constant too large");
        if (!operands[0].unknown && operands[0].number == 3) {
            b.byte(0xCC);
        } else {
            b.byte(0xCD);
            b.byte(static_cast<int>(operands[0].number & 0xFF));
        }
        break;
    case Family::In:
    case Family::Out:
        encodeIn(b, info.family == Family::In, operands);
        break;
    case Family::String:
        encodeString(b, info.code, operands, context);
        break;
    case Family::StringSized:
        b.byte(info.code);
        break;
    case Family::Xlat:
        if (operands.size() > 1)
            throw AsmError("Extra characters on line");
        if (!operands.empty() && operands[0].override >= 0 && operands[0].override != reg::DS)
            b.prefix(0x26 | (operands[0].override << 3));
        b.byte(info.code);
        break;
    case Family::LoadAddress: {
        requireOperands(operands, 2);
        const Value &dst = operands[0], &src = operands[1];
        if (dst.regClass != RegClass::Word)
            throw AsmError("Need register in expression");
        if (!src.memory)
            throw AsmError("Illegal immediate");
        if (info.code != 0x8D && src.type != 0 && src.type != 4 && !src.unknown)
            throw AsmError("Operand types do not match");
        if (info.code == 0x8D && isDirect(src) && src.override < 0) {
            b.byte(0xB8 + dst.reg);
            b.wordValue(src);
            break;
        }
        if (info.code != 0x8D)
            b.segmentPrefix(src);
        b.byte(info.code);
        b.modrm(dst.reg, src);
        break;
    }
    case Family::Bound:
        requireOperands(operands, 2);
        if (operands[0].regClass != RegClass::Word || !operands[1].memory)
            throw AsmError("Operand types do not match");
        b.segmentPrefix(operands[1]);
        b.byte(info.code);
        b.modrm(operands[0].reg, operands[1]);
        break;
    case Family::Enter:
        requireOperands(operands, 2);
        b.byte(info.code);
        b.immediate(operands[0], 2);
        b.immediate(operands[1], 1);
        break;
    }
    return b.result;
}

} // namespace velmora::assembler
