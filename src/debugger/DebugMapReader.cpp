// Reads the line numbers and debug symbols the built-in linker writes into a map under /v
// (the formats are described in assembler/link/MapFile.h). Only the first module named
// in those sections is read: the debugger follows one source file.
#include "debugger/DebugInfo.h"

#include <algorithm>
#include <charconv>
#include <sstream>
#include <string_view>

namespace velmora::debugger
{
namespace
{

constexpr std::string_view lineHeader = "Line numbers for ";
constexpr std::string_view symbolHeader = "Debug symbols for ";

std::vector<std::string> words(const std::string &line)
{
    std::vector<std::string> result;
    std::istringstream stream(line);
    for (std::string word; stream >> word;)
        result.push_back(word);
    return result;
}

template <typename Number> std::optional<Number> number(std::string_view text, int base)
{
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// "FFFF:OOOO".
std::optional<CodePlace> place(const std::string &text)
{
    if (text.size() != 9 || text[4] != ':')
        return std::nullopt;
    const auto frame = number<std::uint16_t>(std::string_view(text).substr(0, 4), 16);
    const auto offset = number<std::uint16_t>(std::string_view(text).substr(5), 16);
    if (!frame || !offset)
        return std::nullopt;
    return CodePlace{*frame, *offset};
}

// A row of line entries: "    12 0000:0103     13 0000:0106".
bool readLines(const std::vector<std::string> &fields, std::vector<LineAddress> &lines)
{
    if (fields.empty() || fields.size() % 2 != 0)
        return false;
    std::vector<LineAddress> row;
    for (std::size_t i = 0; i < fields.size(); i += 2) {
        const auto line = number<int>(fields[i], 10);
        const auto at = place(fields[i + 1]);
        if (!line || !at)
            return false;
        row.push_back({*line, *at});
    }
    lines.insert(lines.end(), row.begin(), row.end());
    return true;
}

// A symbol: place, kind, unit size, count, flags, name.
bool readSymbol(const std::vector<std::string> &fields, std::vector<DebugSymbol> &symbols)
{
    static const std::pair<std::string_view, DebugSymbolKind> kinds[] = {{"Label", DebugSymbolKind::Label},
                                                                         {"Procedure", DebugSymbolKind::Procedure},
                                                                         {"Variable", DebugSymbolKind::Variable},
                                                                         {"Segment", DebugSymbolKind::Segment}};
    if (fields.size() != 6 || fields[4].size() != 2)
        return false;
    const auto at = place(fields[0]);
    const auto kind =
        std::find_if(std::begin(kinds), std::end(kinds), [&](const auto &k) { return k.first == fields[1]; });
    const auto unit = number<int>(fields[2], 10);
    const auto count = number<int>(fields[3], 10);
    if (!at || kind == std::end(kinds) || !unit || !count)
        return false;
    DebugSymbol symbol;
    symbol.place = *at;
    symbol.kind = kind->second;
    symbol.unitSize = *unit;
    symbol.count = *count;
    symbol.isString = fields[4][0] == 'S';
    symbol.far = fields[4][1] == 'F';
    symbol.name = fields[5];
    symbols.push_back(std::move(symbol));
    return true;
}

} // namespace

DebugInfo readDebugMap(const std::string &mapText)
{
    enum class Section { None, Lines, Symbols } section = Section::None;
    DebugInfo info;
    std::string module; // "src.obj(SRC.ASM)" of the module being read
    bool ours = false;  // whether the current section belongs to it
    std::istringstream stream(mapText);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const bool lineSection = line.starts_with(lineHeader);
        if (lineSection || line.starts_with(symbolHeader)) {
            std::string name = line.substr(lineSection ? lineHeader.size() : symbolHeader.size());
            if (const std::size_t segment = name.find(") segment "); segment != std::string::npos)
                name.resize(segment + 1);
            const std::size_t open = name.find('(');
            if (open == std::string::npos || !name.ends_with(')')) {
                section = Section::None;
                continue;
            }
            if (module.empty()) {
                module = name;
                info.sourceName = name.substr(open + 1, name.size() - open - 2);
            }
            ours = name == module;
            section = lineSection ? Section::Lines : Section::Symbols;
            continue;
        }
        const std::vector<std::string> fields = words(line);
        if (fields.empty() || section == Section::None)
            continue;
        std::vector<LineAddress> lines;
        std::vector<DebugSymbol> symbols;
        const bool read = section == Section::Lines ? readLines(fields, lines) : readSymbol(fields, symbols);
        if (!read) {
            section = Section::None;
        } else if (ours) {
            info.lines.insert(info.lines.end(), lines.begin(), lines.end());
            info.symbols.insert(info.symbols.end(), symbols.begin(), symbols.end());
        }
    }
    std::stable_sort(info.lines.begin(), info.lines.end(),
                     [](const LineAddress &a, const LineAddress &b) { return a.place.linear() < b.place.linear(); });
    return info;
}

} // namespace velmora::debugger
