#include "debugger/WatchValue.h"

#include "debugger/AsmNumbers.h"
#include "editor/core/text/CodePages.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

namespace velmora::debugger
{
namespace
{

constexpr std::uint32_t maxStringCharacters = 64;
constexpr std::uint32_t maxArrayElements = 16;

std::string placeText(std::uint16_t segment, std::uint16_t offset)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04X:%04X", segment, offset);
    return text;
}

bool printable(std::uint8_t byte)
{
    return byte >= 0x20 && byte != 0x7F;
}

std::string cp866Text(const std::string &bytes)
{
    return core::encodeUtf8(core::decode(bytes, core::CodePage::Dos866));
}

// Printable bytes as quoted runs, a quote doubled inside them, other bytes as numbers:
// 'Hello', 0Dh, 0Ah, '$'.
std::string stringText(const std::vector<std::uint8_t> &bytes)
{
    std::string text;
    std::string run;
    const auto closeRun = [&] {
        if (run.empty())
            return;
        text += (text.empty() ? "'" : ", '") + cp866Text(run) + "'";
        run.clear();
    };
    for (std::uint8_t byte : bytes) {
        if (printable(byte)) {
            run += static_cast<char>(byte);
            if (byte == '\'')
                run += '\'';
            continue;
        }
        closeRun();
        text += (text.empty() ? "" : ", ") + asmNumber(byte);
    }
    closeRun();
    return text;
}

} // namespace

std::string watchValue(const DebugSymbol &symbol, std::uint16_t segment, const machine::Memory &memory)
{
    if (symbol.kind != DebugSymbolKind::Variable)
        return placeText(segment, symbol.place.offset);
    const std::uint32_t unit = symbol.unitSize > 0 ? static_cast<std::uint32_t>(symbol.unitSize) : 1;
    const std::uint32_t count = symbol.count > 0 ? static_cast<std::uint32_t>(symbol.count) : 1;
    const auto bytesAt = [&](std::uint32_t start, std::uint32_t length) {
        std::vector<std::uint8_t> bytes;
        for (std::uint32_t i = 0; i < length; ++i)
            bytes.push_back(memory.read8(
                machine::Memory::linear(segment, static_cast<std::uint16_t>(symbol.place.offset + start + i))));
        return bytes;
    };

    if (symbol.isString && unit == 1) {
        const std::string text = stringText(bytesAt(0, std::min(count, maxStringCharacters)));
        return count > maxStringCharacters ? text + "..." : text;
    }
    if (count == 1) {
        const std::vector<std::uint8_t> bytes = bytesAt(0, unit);
        std::string text = asmMemoryValue(bytes);
        if (unit == 1 && printable(bytes[0]))
            text += " '" + cp866Text(std::string(1, static_cast<char>(bytes[0]))) + "'";
        return text;
    }
    std::string text = "[";
    for (std::uint32_t i = 0; i < std::min(count, maxArrayElements); ++i) {
        const std::vector<std::uint8_t> bytes = bytesAt(i * unit, unit);
        std::uint32_t value = 0;
        for (std::uint32_t k = unit; k-- > 0;)
            value = value << 8 | bytes[k];
        text += (i > 0 ? ", " : "") + (unit <= 4 ? asmNumber(value) : asmMemoryValue(bytes));
    }
    return text + (count > maxArrayElements ? ", ...]" : "]");
}

namespace
{

std::string lowerCase(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string trimmed(const std::string &text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<std::uint16_t> registerValue(const std::string &name, const machine::Registers &r)
{
    const std::pair<const char *, std::uint16_t> registers[] = {
        {"ax", r.ax}, {"bx", r.bx}, {"cx", r.cx}, {"dx", r.dx}, {"sp", r.sp}, {"bp", r.bp}, {"si", r.si},
        {"di", r.di}, {"cs", r.cs}, {"ds", r.ds}, {"es", r.es}, {"ss", r.ss}, {"ip", r.ip}};
    for (const auto &[registerName, value] : registers)
        if (name == registerName)
            return value;
    return std::nullopt;
}

// A hexadecimal number of at most four digits, with or without the h.
std::optional<std::uint16_t> hexNumber(std::string text)
{
    if (text.size() > 1 && text.back() == 'h')
        text.pop_back();
    while (text.size() > 1 && text.front() == '0')
        text.erase(text.begin());
    if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789abcdef") != std::string::npos)
        return std::nullopt;
    return static_cast<std::uint16_t>(std::stoul(text, nullptr, 16));
}

struct AddressParts {
    std::uint16_t offset = 0;
    std::optional<std::uint16_t> segment; // a symbol's, when the expression names one
};

// Terms joined by + and -: registers, symbols and numbers, in that order of precedence.
std::optional<AddressParts> offsetExpression(const std::string &text, const machine::Registers &registers,
                                             const DebugInfo &info, std::uint16_t loadSegment)
{
    AddressParts parts;
    std::size_t start = 0;
    bool negative = false;
    while (true) {
        const std::size_t end = text.find_first_of("+-", start);
        const std::string term =
            trimmed(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        std::optional<std::uint16_t> value = registerValue(term, registers);
        if (!value && !term.empty()) {
            if (const DebugSymbol *symbol = info.symbol(term)) {
                if (parts.segment || negative)
                    return std::nullopt;
                parts.segment = static_cast<std::uint16_t>(loadSegment + symbol->place.frame);
                value = symbol->place.offset;
            }
        }
        if (!value)
            value = hexNumber(term);
        if (!value)
            return std::nullopt;
        parts.offset = static_cast<std::uint16_t>(negative ? parts.offset - *value : parts.offset + *value);
        if (end == std::string::npos)
            return parts;
        negative = text[end] == '-';
        start = end + 1;
    }
}

} // namespace

std::optional<std::uint32_t> parseAddress(const std::string &text, const machine::Registers &registers,
                                          const DebugInfo &info, std::uint16_t loadSegment)
{
    const std::string address = lowerCase(text);
    const std::size_t colon = address.find(':');
    if (colon == std::string::npos) {
        const auto parts = offsetExpression(address, registers, info, loadSegment);
        if (!parts)
            return std::nullopt;
        return machine::Memory::linear(parts->segment.value_or(registers.ds), parts->offset);
    }
    if (address.find(':', colon + 1) != std::string::npos)
        return std::nullopt;
    const std::string segmentText = trimmed(address.substr(0, colon));
    std::optional<std::uint16_t> segment = registerValue(segmentText, registers);
    if (!segment)
        segment = hexNumber(segmentText);
    const auto parts = offsetExpression(address.substr(colon + 1), registers, info, loadSegment);
    if (!segment || !parts)
        return std::nullopt;
    return machine::Memory::linear(*segment, parts->offset);
}

} // namespace velmora::debugger
