#include "debugger/MachineCode.h"

#include "debugger/AsmNumbers.h"
#include "debugger/Disassembler.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <set>
#include <sstream>

namespace velmora::debugger
{
namespace
{

constexpr std::uint32_t dataBytesPerRow = 8;
constexpr std::uint32_t longestInstruction = 16;

// Whether the source line defines data (DB ... DT, with or without a name or label).
bool definesData(const std::string &text)
{
    std::string statement = text.substr(0, text.find(';'));
    for (char &c : statement)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::size_t colon = statement.find(':');
    if (colon != std::string::npos && statement.find_first_of("'\"") > colon)
        statement.erase(0, colon + 1);
    std::istringstream words(statement);
    std::string first, second;
    words >> first >> second;
    const auto isData = [](const std::string &word) {
        return word == "db" || word == "dw" || word == "dd" || word == "df" || word == "dq" || word == "dt";
    };
    return isData(first) || isData(second);
}

class CodeReader
{
public:
    CodeReader(const DebugInfo &info, std::uint16_t loadSegment, const machine::Memory &memory, machine::CpuModel model)
        : info_(info), loadSegment_(loadSegment), memory_(memory), model_(model)
    {
        for (const LineAddress &line : info.lines)
            boundaries_.insert(line.place.linear());
        for (const DebugSymbol &symbol : info.symbols) {
            if (symbol.kind == DebugSymbolKind::Segment) {
                boundaries_.insert(symbol.place.linear());
                boundaries_.insert(symbol.place.linear() + static_cast<std::uint32_t>(symbol.count));
            }
        }
    }

    // The rows of the bytes a line assembled at `place`.
    void rows(int line, CodePlace place, bool data, std::vector<MachineCodeLine> &out) const
    {
        const std::optional<std::uint32_t> length = lengthAt(place, data);
        const std::uint16_t segment = static_cast<std::uint16_t>(loadSegment_ + place.frame);
        std::uint32_t done = 0;
        do {
            MachineCodeLine row;
            row.sourceLine = line;
            row.segment = segment;
            row.offset = static_cast<std::uint16_t>(place.offset + done);
            const std::uint32_t left = length ? *length - done : longestInstruction;
            if (data) {
                row.bytes = bytes(place, done, std::min(left, dataBytesPerRow));
                row.text = "db ";
                for (std::size_t i = 0; i < row.bytes.size(); ++i)
                    row.text += (i > 0 ? "," : "") + asmDataByte(row.bytes[i]);
            } else {
                const std::vector<std::uint8_t> code = bytes(place, done, std::min(left, longestInstruction));
                const Disassembled instruction = disassemble(code, row.offset, model_);
                row.bytes.assign(code.begin(), code.begin() + instruction.length);
                row.text = instruction.text;
            }
            done += static_cast<std::uint32_t>(row.bytes.size());
            out.push_back(std::move(row));
        } while (length && done < *length);
    }

private:
    // Up to the next line's code or the end of the segment; for the last line of a segment
    // of unknown length, a variable's size, else one row of data or one instruction (nullopt).
    std::optional<std::uint32_t> lengthAt(CodePlace place, bool data) const
    {
        const std::uint32_t start = place.linear();
        const auto next = boundaries_.upper_bound(start);
        if (next != boundaries_.end())
            return std::min<std::uint32_t>(*next - start, 0x10000 - place.offset);
        for (const DebugSymbol &symbol : info_.symbols)
            if (symbol.kind == DebugSymbolKind::Variable && symbol.place.linear() == start)
                return static_cast<std::uint32_t>(std::max(symbol.unitSize, 1) * std::max(symbol.count, 1));
        return data ? std::optional<std::uint32_t>(dataBytesPerRow) : std::nullopt;
    }

    std::vector<std::uint8_t> bytes(CodePlace place, std::uint32_t from, std::uint32_t count) const
    {
        std::vector<std::uint8_t> result;
        const std::uint16_t segment = static_cast<std::uint16_t>(loadSegment_ + place.frame);
        for (std::uint32_t i = 0; i < count; ++i)
            result.push_back(
                memory_.read8(machine::Memory::linear(segment, static_cast<std::uint16_t>(place.offset + from + i))));
        return result;
    }

    const DebugInfo &info_;
    std::uint16_t loadSegment_;
    const machine::Memory &memory_;
    machine::CpuModel model_;
    std::set<std::uint32_t> boundaries_; // where a line's bytes end at the latest
};

} // namespace

std::vector<MachineCodeLine> machineCode(const std::vector<std::string> &sourceLines, const DebugInfo &info,
                                         std::uint16_t loadSegment, const machine::Memory &memory,
                                         machine::CpuModel model)
{
    std::map<int, std::vector<CodePlace>> placesByLine;
    for (const LineAddress &line : info.lines)
        placesByLine[line.line].push_back(line.place);
    const CodeReader reader(info, loadSegment, memory, model);
    std::vector<MachineCodeLine> rows;
    for (std::size_t i = 0; i < sourceLines.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        MachineCodeLine source;
        source.sourceLine = line;
        source.isSource = true;
        source.text = sourceLines[i];
        rows.push_back(std::move(source));
        const auto places = placesByLine.find(line);
        if (places == placesByLine.end())
            continue;
        for (const CodePlace &place : places->second) {
            const bool variable = std::any_of(info.symbols.begin(), info.symbols.end(), [&](const DebugSymbol &s) {
                return s.kind == DebugSymbolKind::Variable && s.place.linear() == place.linear();
            });
            reader.rows(line, place, variable || definesData(sourceLines[i]), rows);
        }
    }
    return rows;
}

} // namespace velmora::debugger
