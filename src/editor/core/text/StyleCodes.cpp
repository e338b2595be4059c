#include "editor/core/text/StyleCodes.h"

namespace velmora::core
{

std::uint8_t styleToggles(std::string_view text)
{
    std::uint8_t bits = 0;
    for (const char c : text)
        bits ^= styleBitOf(static_cast<unsigned char>(c));
    return bits;
}

std::string styleCodesFor(std::uint8_t bits)
{
    std::string codes;
    for (const char c : {'\x15', '\x01', '\x02', '\x03', '\x04'})
        if (bits & styleBitOf(static_cast<unsigned char>(c)))
            codes += c;
    return codes;
}

bool findRedundantCodePair(std::string_view text, std::size_t &first, std::size_t &second)
{
    for (std::size_t j = 0; j < text.size(); ++j) {
        if (!isStyleCode(static_cast<unsigned char>(text[j])))
            continue;
        for (std::size_t k = j + 1; k < text.size() && isStyleCode(static_cast<unsigned char>(text[k])); ++k)
            if (text[k] == text[j]) {
                first = j;
                second = k;
                return true;
            }
    }
    return false;
}

} // namespace velmora::core
