// Letter case of names: symbols, segments, groups and classes compare without regard to
// case unless the command line asks otherwise.
#pragma once

#include <string>

namespace velmora::assembler::link
{

// ASCII upper case, the way DOS file names and the linker's symbol names fold.
std::string upperCase(std::string text);

} // namespace velmora::assembler::link
