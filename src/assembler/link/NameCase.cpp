#include "assembler/link/NameCase.h"

namespace velmora::assembler::link
{

std::string upperCase(std::string text)
{
    for (char &c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

} // namespace velmora::assembler::link
