// A student's program built for a debugger test: the source written into a fresh folder,
// assembled and linked with the built-in tools as the IDE builds it, and its debug
// information taken from the assembler's listing (the lines of the code segment, which
// the tests keep first, at the load segment).
#pragma once

#include "assembler/AssemblerCommand.h"
#include "assembler/Assembly.h"
#include "assembler/link/Linker.h"
#include "debugger/DebugInfo.h"
#include "machine/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace velmora::debugger::test
{

enum class ProgramKind { Com, Exe };

inline DebugInfo infoFromListing(const std::string &source)
{
    assembler::AssemblyOptions options;
    options.keepListing = true;
    const assembler::Assembly assembly = assembler::assemble(
        "prog.asm", source, [](const std::string &) { return std::nullopt; }, options);
    DebugInfo info;
    info.sourceName = "prog.asm";
    bool inCode = false;
    for (const assembler::ListingLine &line : assembly.listing) {
        std::string text = line.source.text;
        text.erase(0, text.find_first_not_of(" \t"));
        std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        if (text.starts_with(".code"))
            inCode = true;
        else if (text.starts_with(".data") || text.starts_with(".stack"))
            inCode = false;
        if (inCode && line.hasOffset && !line.bytes.empty() && line.source.level == 0)
            info.lines.push_back({line.source.line, {0, std::uint16_t(line.offset)}});
    }
    std::stable_sort(info.lines.begin(), info.lines.end(),
                     [](const LineAddress &a, const LineAddress &b) { return a.place.linear() < b.place.linear(); });
    return info;
}

struct BuiltProgram {
    std::string path;
    DebugInfo info;
};

// Fails the test when the source does not assemble or link.
inline BuiltProgram buildProgram(const velmora::testing::TempFolder &folder, const std::string &source,
                                 ProgramKind kind)
{
    folder.write("prog.asm", source);
    const assembler::ToolRun assembled = assembler::runAssembler({"/z", "prog.asm"}, folder.path().string());
    EXPECT_EQ(assembled.exitCode, 0) << assembled.console;
    const bool com = kind == ProgramKind::Com;
    const assembler::ToolRun linked = assembler::link::link(
        com ? std::vector<std::string>{"/t", "prog"} : std::vector<std::string>{"prog"}, folder.path());
    EXPECT_EQ(linked.exitCode, 0) << linked.console;
    return {folder.file(com ? "prog.com" : "prog.exe"), infoFromListing(source)};
}

} // namespace velmora::debugger::test
