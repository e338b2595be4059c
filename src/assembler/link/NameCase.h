// Letter case of names: symbols, segments, groups and classes compare without regard to
// case unless the command line asks otherwise, and DOS file names are looked up the same way.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace velmora::assembler::link
{

// ASCII upper case, the way DOS file names and the linker's symbol names fold.
std::string upperCase(std::string text);

// The existing file in `folder` named `name` without regard to letter case (an exact match
// first); none when there is no such file. `name` may contain folders of its own.
std::optional<std::filesystem::path> findFileIgnoringCase(const std::filesystem::path &folder, const std::string &name);

} // namespace velmora::assembler::link
