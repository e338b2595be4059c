#include "debugger/InstructionAhead.h"

namespace velmora::debugger
{

namespace
{

// The CPU takes any number of prefixes; no real instruction has more than this many.
constexpr std::uint16_t kMaxPrefixes = 15;

// The bytes a ModR/M byte and its displacement take.
std::uint16_t modRmLength(std::uint8_t modRm)
{
    const unsigned mod = modRm >> 6;
    if (mod == 1)
        return 2;
    if (mod == 2 || (mod == 0 && (modRm & 7) == 6))
        return 3;
    return 1;
}

bool isStringOpcode(std::uint8_t op, machine::CpuModel model)
{
    if ((op >= 0xA4 && op <= 0xA7) || (op >= 0xAA && op <= 0xAF))
        return true;
    return model == machine::CpuModel::i80186 && op >= 0x6C && op <= 0x6F;
}

} // namespace

InstructionAhead instructionAt(const machine::Memory &memory, std::uint16_t cs, std::uint16_t ip,
                               machine::CpuModel model)
{
    const auto byte = [&](std::uint16_t at) {
        return memory.read8(machine::Memory::linear(cs, std::uint16_t(ip + at)));
    };
    std::uint16_t prefixes = 0;
    bool repeated = false;
    for (; prefixes < kMaxPrefixes; ++prefixes) {
        const std::uint8_t b = byte(prefixes);
        if (b == 0xF2 || b == 0xF3)
            repeated = true;
        else if (b != 0x26 && b != 0x2E && b != 0x36 && b != 0x3E && b != 0xF0)
            break;
    }
    const std::uint8_t op = byte(prefixes);
    const auto with = [&](InstructionKind kind, std::uint16_t length) {
        return InstructionAhead{kind, std::uint16_t(prefixes + length)};
    };
    switch (op) {
    case 0xE8:
        return with(InstructionKind::Call, 3);
    case 0x9A:
        return with(InstructionKind::Call, 5);
    case 0xFF: {
        const std::uint8_t modRm = byte(std::uint16_t(prefixes + 1));
        const unsigned reg = (modRm >> 3) & 7;
        if (reg == 2 || reg == 3)
            return with(InstructionKind::Call, std::uint16_t(1 + modRmLength(modRm)));
        return {};
    }
    case 0xCC:
    case 0xCE:
        return with(InstructionKind::Interrupt, 1);
    case 0xCD:
        return with(InstructionKind::Interrupt, 2);
    case 0xE0:
    case 0xE1:
    case 0xE2:
        return with(InstructionKind::Loop, 2);
    default:
        if (repeated && isStringOpcode(op, model))
            return with(InstructionKind::RepeatedString, 1);
        return {};
    }
}

} // namespace velmora::debugger
