// What the debugger knows of a program's source: which source line each address was
// assembled from, and the program's symbols with their types. The built-in assembler
// records it under /zi (/zd: lines only) and the built-in linker, under /v, writes it into
// the program's map, from which `readDebugMap` takes it back.
//
// Addresses are relative to the program's load segment: a place is frame:offset as the map
// gives it, so at run time it is (loadSegment + frame):offset. For a .com program the load
// segment is the PSP's; for an .exe it is the PSP's plus 10h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora::debugger
{

struct CodePlace {
    std::uint16_t frame = 0;
    std::uint16_t offset = 0;
    // Relative to the load segment's start, for ordering and lookup.
    std::uint32_t linear() const { return (std::uint32_t(frame) << 4) + offset; }
    bool operator==(const CodePlace &) const = default;
};

struct LineAddress {
    int line = 0; // 1-based line of the source file
    CodePlace place;
};

enum class DebugSymbolKind { Label, Procedure, Variable, Segment };

struct DebugSymbol {
    std::string name; // as written in the source
    DebugSymbolKind kind = DebugSymbolKind::Label;
    CodePlace place;  // a segment's own place is its start
    int unitSize = 0; // a variable's element size: 1 DB, 2 DW, 4 DD, 6 DF, 8 DQ, 10 DT; 0 else
    // A variable's elements, all that its definition gives (a string's bytes with those
    // that follow it, a DUP count); a segment's length in bytes; 0 else.
    int count = 0;
    bool isString = false; // defined from a quoted string, shown as text
    bool far = false;      // a FAR label or procedure
};

struct DebugInfo {
    std::string sourceName;          // the module's source file name as the assembler read it
    std::vector<LineAddress> lines;  // ordered by address
    std::vector<DebugSymbol> symbols;

    bool empty() const { return lines.empty() && symbols.empty(); }
    // The line whose code holds the place: the last line starting at or before it within
    // the same frame; none before the first line or outside every line's segment.
    std::optional<int> lineAt(CodePlace place) const;
    // The first address of a line; none for a line without code.
    std::optional<CodePlace> placeOf(int line) const;
    // The first line at or after `line` that has code, for a breakpoint on a blank line,
    // a comment or a directive; none after the last line with code.
    std::optional<int> lineWithCodeFrom(int line) const;
    // A symbol by name, letter case ignored; null when there is none.
    const DebugSymbol *symbol(const std::string &name) const;
};

// Reads the sections the built-in linker writes for /v from a map's text. A map without
// them gives empty debug information.
DebugInfo readDebugMap(const std::string &mapText);

} // namespace velmora::debugger
