// Disassembly checked the only way that matters to a student: the built-in assembler turns
// the text back into the bytes it came from.
#pragma once

#include "assembler/Assembly.h"
#include "debugger/AsmNumbers.h"
#include "debugger/Disassembler.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velmora::debugger::test
{

// The texts of the instructions that fill `bytes`, which start at `offset`.
inline std::vector<std::string> disassembleAll(std::span<const std::uint8_t> bytes, std::uint16_t offset,
                                               machine::CpuModel model = machine::CpuModel::i80186)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const Disassembled one = disassemble(bytes.subspan(at), static_cast<std::uint16_t>(offset + at), model);
        lines.push_back(one.text);
        at += static_cast<std::size_t>(one.length);
    }
    return lines;
}

// What the assembler makes of the lines placed at `offset` of a tiny model's code, or
// nothing when it reports an error.
inline std::optional<std::vector<std::uint8_t>> reassemble(const std::vector<std::string> &lines, std::uint16_t offset)
{
    std::string source = ".186\n.model tiny\n.code\norg " + asmOffset(offset) + "\n";
    for (const std::string &line : lines)
        source += line + "\n";
    source += "end\n";
    const assembler::Assembly assembly =
        assembler::assemble("roundtrip.asm", source, [](const std::string &) { return std::nullopt; });
    for (const assembler::Message &message : assembly.messages)
        if (message.kind != assembler::MessageKind::Warning)
            return std::nullopt;
    for (const assembler::Segment &segment : assembly.module.segments)
        if (segment.size > offset)
            return std::vector<std::uint8_t>(segment.bytes.begin() + offset, segment.bytes.begin() + segment.size);
    return std::vector<std::uint8_t>{};
}

// Whether the bytes disassemble to instructions (no "db") that assemble back to them.
inline bool roundTrips(std::span<const std::uint8_t> bytes, std::uint16_t offset)
{
    const std::vector<std::string> lines = disassembleAll(bytes, offset);
    for (const std::string &line : lines)
        if (line.starts_with("db "))
            return false;
    const auto again = reassemble(lines, offset);
    return again && std::equal(again->begin(), again->end(), bytes.begin(), bytes.end());
}

} // namespace velmora::debugger::test
