// The built-in linker: links object modules into a DOS program as the IDE's link command
// asks, with the command line the IDE passes to the DOS linker:
//   link({"/t", "src"}, folder) writes folder/src.com and folder/src.map.
// It writes no process and no console of its own; the caller shows `console` (CR LF
// lines: our banner first, then the messages) and uses `exitCode`: 0 linked (warnings
// allowed), 1 errors (the program and the map are still written), 2 fatal (no program).
#pragma once

#include "assembler/ToolRun.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velmora::assembler::link
{

ToolRun link(const std::vector<std::string> &arguments, const std::filesystem::path &folder);

} // namespace velmora::assembler::link
