#include "editor/core/keyfiles/KeyInfoNameValues.h"

#include "editor/core/text/UpperCase.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace velmora::core
{

namespace
{

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return ansiUpper(static_cast<std::uint8_t>(x)) == ansiUpper(static_cast<std::uint8_t>(y));
           });
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

void setNameValue(std::vector<std::string> &lines, std::string_view name, std::string_view value)
{
    std::string line;
    line.reserve(name.size() + 1 + value.size());
    line.append(name).append("=").append(value);
    for (auto &existing : lines) {
        const auto parts = splitNameValue(existing);
        if (parts && sameName(parts->first, name)) {
            existing = std::move(line);
            return;
        }
    }
    lines.push_back(std::move(line));
}

void appendValue(std::string &value, std::int64_t n)
{
    value += std::to_string(n);
    value += ',';
}

void appendAttributes(std::string &value, const TKeyAttributes &a)
{
    for (const std::int64_t n : {std::int64_t{a.KeyOptions}, std::int64_t{a.KeyStyle}, std::int64_t{a.ContextNum},
                                 std::int64_t{a.Cursor}, std::int64_t{a.Background}, std::int64_t{a.Foreground}})
        appendValue(value, n);
}

std::optional<std::pair<std::string_view, std::string_view>> splitNameValue(std::string_view line)
{
    const auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return std::pair{line.substr(0, eq), line.substr(eq + 1)};
}

std::int32_t parseDecimal(std::string_view text)
{
    std::string_view s = text;
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    if (s.size() > 1 && s[0] == '+' && s[1] >= '0' && s[1] <= '9')
        s.remove_prefix(1);
    std::int32_t result = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), result);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size())
        throw std::invalid_argument("'" + std::string(text) + "' is not a valid decimal integer");
    return result;
}

std::int32_t NameValueReader::Next()
{
    const auto comma = rest_.find(',');
    const std::string_view value = rest_.substr(0, comma);
    rest_ = comma == std::string_view::npos ? std::string_view() : rest_.substr(comma + 1);
    return parseDecimal(value);
}

} // namespace velmora::core
