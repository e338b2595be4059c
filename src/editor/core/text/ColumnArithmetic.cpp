#include "editor/core/text/ColumnArithmetic.h"

#include "editor/core/text/StyleCodes.h"

namespace velmora::core
{

namespace
{

std::int32_t advance(std::int32_t column, unsigned char c, std::int32_t tabSize, bool codes)
{
    if (c == '\t')
        return tabSize > 0 ? tabSize * (column / tabSize + 1) : column + 1;
    if (codes && isStyleCode(c))
        return column;
    return column + 1;
}

// Walks to the first character that would end beyond column; returns its offset and start column.
std::pair<std::int32_t, std::int32_t> walkToColumn(std::string_view text, std::int32_t column, std::int32_t tabSize,
                                                   bool codes)
{
    std::int32_t at = 0;
    std::int32_t offset = 0;
    for (; offset < static_cast<std::int32_t>(text.size()); ++offset) {
        const std::int32_t next = advance(at, static_cast<unsigned char>(text[offset]), tabSize, codes);
        if (next > column)
            break;
        at = next;
    }
    return {offset, at};
}

} // namespace

std::int32_t columnOfOffset(std::string_view text, std::int32_t n, std::int32_t tabSize, bool codes)
{
    if (tabSize == 0)
        tabSize = 1;
    std::int32_t column = 0;
    for (std::int32_t i = 0; i < n && i < static_cast<std::int32_t>(text.size()); ++i)
        column = advance(column, static_cast<unsigned char>(text[i]), tabSize, codes);
    return column;
}

std::int32_t offsetAtColumn(std::string_view text, std::int32_t column, std::int32_t tabSize, bool codes)
{
    return walkToColumn(text, column, tabSize, codes).first;
}

std::int32_t columnShortfall(std::string_view text, std::int32_t column, std::int32_t tabSize, bool codes)
{
    return column - walkToColumn(text, column, tabSize, codes).second;
}

} // namespace velmora::core
