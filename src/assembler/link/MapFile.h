// The parts of the .map file, each as CR LF text. The linker writes them in this order,
// with its messages between them where they happen:
//   the segment list (Start, Stop, Length, Name, Class), with /s the detailed map of the
//   segments' parts, with /m the publics by name and by value, with /l or /v the line
//   numbers, with /v the debug symbols, then "Program entry point at SSSS:OOOO" for an
//   .exe, and one empty line at the end.
//
// The debug symbols (/v) are one section for each module assembled with /zi:
//
//   Debug symbols for src.obj(SRC.ASM)
//
//    0000:0000  Segment    0    23  --  _TEXT
//    0000:0100  Procedure  0     0  -F  main
//    0000:0110  Label      0     0  --  again
//    0000:0118  Variable   1    15  S-  msg
//
// one symbol a line: its place FFFF:OOOO (the segment's frame relative to the program's
// load segment, as the line numbers give it), its kind (Label, Procedure, Variable,
// Segment), a variable's element size (1 DB, 2 DW, 4 DD, 6 DF, 8 DQ, 10 DT; 0 else), its
// element count (a segment: its length in this module; 0 for labels and procedures), two
// flags (S: a variable defined from a quoted string, F: a far label or procedure; '-' for
// neither) and the name as written in the source. Fields are separated by blanks; names
// hold none.
#pragma once

#include "assembler/link/LinkModule.h"
#include "assembler/link/SegmentLayout.h"
#include "assembler/link/SymbolTable.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::assembler::link
{

std::string mapSegmentList(const SegmentLayout &layout);
std::string mapDetailedSegments(const SegmentLayout &layout, const std::vector<LinkModule> &modules);
std::string mapPublics(const std::vector<PublicSymbol> &publics);
std::string mapLineNumbers(const SegmentLayout &layout, const std::vector<LinkModule> &modules);
std::string mapDebugSymbols(const SegmentLayout &layout, const std::vector<LinkModule> &modules);
std::string mapEntryPoint(std::uint16_t cs, std::uint16_t ip);

} // namespace velmora::assembler::link
