#include "assembler/SourceLines.h"

namespace velmora::assembler
{

std::vector<std::string> splitLines(std::string_view text)
{
    const std::size_t eof = text.find('\x1a');
    if (eof != std::string_view::npos)
        text = text.substr(0, eof);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last)
            end = text.size();
        std::size_t stop = end;
        if (stop > start && text[stop - 1] == '\r')
            --stop;
        lines.emplace_back(text.substr(start, stop - start));
        start = last ? text.size() : end + 1;
    }
    return lines;
}

} // namespace velmora::assembler
