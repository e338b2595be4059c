// What one run of a built-in tool's command line gives its caller: the console text the DOS
// tool would print, its exit code and the files it wrote. The tools write no console and
// start no process of their own; the caller shows `console` and checks the files.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace velmora::assembler
{

struct ToolRun {
    std::string console; // CR LF line ends, as the DOS tool prints
    int exitCode = 0;
    std::vector<std::filesystem::path> filesWritten; // names within the folder the tool ran in
};

} // namespace velmora::assembler
