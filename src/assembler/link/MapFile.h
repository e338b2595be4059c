// The parts of the .map file, each as CR LF text. The linker writes them in this order,
// with its messages between them where they happen:
//   the segment list (Start, Stop, Length, Name, Class), with /s the detailed map of the
//   segments' parts, with /m the publics by name and by value, with /l the line numbers,
//   then "Program entry point at SSSS:OOOO" for an .exe, and one empty line at the end.
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
std::string mapEntryPoint(std::uint16_t cs, std::uint16_t ip);

} // namespace velmora::assembler::link
