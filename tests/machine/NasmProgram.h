// Small DOS programs for the built-in PC's tests, assembled with nasm (part of the
// project's setup) from source written in the test.
#pragma once

#include "machine/TempFolder.h"

#include <cstdlib>
#include <string>

namespace velmora::testing
{

// Assembles source as a flat binary into folder/name (the source beside it as name.asm).
// False when nasm fails.
inline bool assembleWithNasm(const TempFolder &folder, const std::string &name, const std::string &source)
{
    folder.write(name + ".asm", source);
    const std::string command =
        "nasm -f bin -o '" + folder.file(name) + "' '" + folder.file(name + ".asm") + "' > /dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

} // namespace velmora::testing
