// DOS file names in a Linux folder: the assembler's sources and includes and the linker's
// objects are looked up without regard to letter case, as DOS would find them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace velmora::assembler
{

// The existing file in `folder` named `name` without regard to letter case (an exact match
// first); none when there is no such file. `name` may contain folders of its own.
std::optional<std::filesystem::path> findFileIgnoringCase(const std::filesystem::path &folder, const std::string &name);

} // namespace velmora::assembler
