// What the debug session tests share: a line of a source found by its text, and the whole
// state of the program under the debugger for comparing before and after steps back.
#pragma once

#include "debugger/DebugSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace velmora::debugger::test
{

// The 1-based number of the first source line containing text.
inline int lineOf(const std::string &source, const std::string &text)
{
    std::istringstream lines(source);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        if (line.find(text) != std::string::npos)
            return number;
    }
    ADD_FAILURE() << "no line has " << text;
    return 0;
}

// The registers, the output, the PC's state and all of memory: a 64-bit hash of the whole
// megabyte and, to say where two states differ, the program's 64 KB from its load segment.
struct FullState {
    machine::Registers registers;
    std::uint64_t memoryHash = 0;
    std::vector<std::uint8_t> programBytes;
    std::string output;
    machine::PcState state = machine::PcState::Empty;
    bool operator==(const FullState &) const = default;
};

inline FullState fullState(const DebugSession &session)
{
    const std::uint8_t *bytes = session.pc().memory().data();
    std::uint64_t hash = 0xCBF29CE484222325u; // FNV-1a
    for (std::uint32_t i = 0; i < machine::Memory::kSize; ++i)
        hash = (hash ^ bytes[i]) * 0x100000001B3u;
    const std::uint8_t *program = bytes + machine::Memory::linear(session.loadSegment(), 0);
    return {session.registers(), hash, std::vector<std::uint8_t>(program, program + 0x10000), session.pc().output(),
            session.pc().state()};
}

// Where two states differ, for a failing comparison's message.
inline std::string difference(const FullState &a, const FullState &b)
{
    std::ostringstream text;
    if (!(a.registers == b.registers))
        text << "registers differ (IP " << std::hex << a.registers.ip << " vs " << b.registers.ip << "); ";
    if (a.memoryHash != b.memoryHash)
        text << "memory differs; ";
    const auto [inA, inB] = std::mismatch(a.programBytes.begin(), a.programBytes.end(), b.programBytes.begin());
    if (inA != a.programBytes.end())
        text << "first at offset " << std::hex << (inA - a.programBytes.begin()) << " of the program; ";
    if (a.output != b.output)
        text << "output \"" << a.output << "\" vs \"" << b.output << "\"; ";
    if (a.state != b.state)
        text << "state differs";
    return text.str();
}

} // namespace velmora::debugger::test
