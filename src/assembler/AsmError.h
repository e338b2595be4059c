// A statement's failure in TASM's words ("Undefined symbol: COUNT"); the assembler turns
// it into an "**Error**" message for the statement's line.
#pragma once

#include <stdexcept>
#include <string>

namespace velmora::assembler
{

class AsmError : public std::runtime_error
{
public:
    explicit AsmError(const std::string &text) : std::runtime_error(text) {}
};

} // namespace velmora::assembler
