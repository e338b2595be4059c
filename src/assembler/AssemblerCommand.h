// The assembler's command line, run in-process: TASM's switches and file operands, the
// console text it would print (banner, messages in TASM's format, the summary lines), its
// exit code (0 no errors, 1 errors or a bad switch, 2 a fatal error) and the files it
// wrote into the folder.
#pragma once

#include "assembler/ToolRun.h"

#include <string>
#include <vector>

namespace velmora::assembler
{

inline constexpr const char *assemblerBanner = "Velmora Assembler  Version 1.0";

// Runs the command line's words (without the program name) in `folder`, which plays the
// current directory: sources are read from it and products written into it.
ToolRun runAssembler(const std::vector<std::string> &arguments, const std::string &folder);

} // namespace velmora::assembler
