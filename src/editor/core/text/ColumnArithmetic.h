// Display columns inside one paragraph: a character advances the column by one, a tab to the
// next multiple of the tab size (by one for a tab size <= 0), and with inline codes
// interpreted a style code by nothing.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>

namespace velmora::core
{

// The column reached after the first n characters (a tab size of 0 counts as 1).
std::int32_t columnOfOffset(std::string_view text, std::int32_t n, std::int32_t tabSize, bool codes);
// The number of characters whose end column is <= column, stopping at the first that would end beyond.
std::int32_t offsetAtColumn(std::string_view text, std::int32_t column, std::int32_t tabSize, bool codes);
// column minus the column where the character at offsetAtColumn(column) starts.
std::int32_t columnShortfall(std::string_view text, std::int32_t column, std::int32_t tabSize, bool codes);

} // namespace velmora::core
