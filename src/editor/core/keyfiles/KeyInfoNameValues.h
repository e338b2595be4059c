// The name=value text form of the key lists: one line per entry, its name, "=", then
// decimal integers each followed by a comma (AND=2,1,7,0,-1,16119285,0,0,).
#pragma once

#include "editor/core/keyfiles/KeyInfo.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora::core
{

// Gives the line named `name` the value, as a string list's Values property does: the
// first line with that name (compared without regard to letter case) is replaced, else a
// line is appended.
void setNameValue(std::vector<std::string> &lines, std::string_view name, std::string_view value);

// Appends n in decimal followed by a comma.
void appendValue(std::string &value, std::int64_t n);

// Appends the six fields of an attribute block, in their stored order, each as appendValue.
void appendAttributes(std::string &value, const TKeyAttributes &attributes);

// Splits a line at its first "="; nullopt when it has none.
std::optional<std::pair<std::string_view, std::string_view>> splitNameValue(std::string_view line);

// A decimal integer with an optional sign; surrounding blanks are ignored. Anything else,
// or a value outside 32 bits, throws std::invalid_argument naming the text.
std::int32_t parseDecimal(std::string_view text);

// Reads the values of one line left to right, each up to the next comma or the end.
class NameValueReader
{
public:
    explicit NameValueReader(std::string_view values) : rest_(values) {}

    // Whether text remains after the values read so far.
    bool HasMore() const { return !rest_.empty(); }
    // The next value; with no text left it is the empty text, which does not convert.
    std::int32_t Next();

private:
    std::string_view rest_;
};

} // namespace velmora::core
