// Every program of the corpus assembled with /zi and linked with /v: the debug information
// read back from the map must agree with the built-in assembler's own listing, line by
// line (the offset of each main-file line's first byte, and back) and variable by variable
// (element size and count of each definition).
#include "assembler/AssemblerCommand.h"
#include "assembler/Assembly.h"
#include "assembler/TasmTestData.h"
#include "assembler/TempFolder.h"
#include "assembler/link/Linker.h"
#include "debugger/DebugInfo.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

namespace velmora::debugger::test
{
namespace
{

namespace tasm = assembler::testing;

std::string lower(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The link command of the program's args.txt without "tlink".
std::vector<std::string> linkArguments(const std::filesystem::path &program)
{
    std::istringstream rows(tasm::readText(program / "args.txt"));
    for (std::string row; std::getline(rows, row);) {
        const std::size_t start = row.find("\ttlink ");
        if (start == std::string::npos)
            continue;
        std::istringstream command(row.substr(start + 7, row.rfind('\t') - start - 7));
        std::vector<std::string> words;
        for (std::string word; command >> word;)
            words.push_back(word);
        return words;
    }
    return {};
}

// The segment whose bytes hold the place.
const DebugSymbol *segmentAt(const DebugInfo &info, CodePlace place)
{
    for (const DebugSymbol &symbol : info.symbols)
        if (symbol.kind == DebugSymbolKind::Segment && symbol.place.frame == place.frame &&
            place.linear() >= symbol.place.linear() && place.linear() < symbol.place.linear() + symbol.count)
            return &symbol;
    return nullptr;
}

int unitOf(const std::string &directive)
{
    static const std::map<std::string, int> units = {{"db", 1}, {"dw", 2}, {"dd", 4}, {"df", 6}, {"dq", 8}, {"dt", 10}};
    const auto found = units.find(lower(directive));
    return found == units.end() ? 0 : found->second;
}

// Adds the variables it checked to `variables`.
void checkProgram(const std::filesystem::path &program, int &variables)
{
    tasm::TempFolder folder;
    for (const auto &entry : std::filesystem::directory_iterator(program))
        if (entry.path().extension() == ".asm" || entry.path().extension() == ".inc")
            std::filesystem::copy(entry.path(), folder.path() / entry.path().filename());
    ASSERT_EQ(assembler::runAssembler({"/zi", "src.asm"}, folder.path().string()).exitCode, 0);
    std::vector<std::string> arguments = linkArguments(program);
    ASSERT_FALSE(arguments.empty());
    arguments.insert(arguments.begin(), "/v");
    assembler::link::link(arguments, folder.path());
    const DebugInfo info = readDebugMap(tasm::readText(folder.path() / "src.map"));
    EXPECT_EQ(info.sourceName, "SRC.ASM");

    assembler::AssemblyOptions options;
    options.keepListing = true;
    const assembler::FileReader reader = [](const std::string &path) -> std::optional<std::string> {
        if (!std::filesystem::is_regular_file(path))
            return std::nullopt;
        return tasm::readText(path);
    };
    const std::string path = (folder.path() / "src.asm").string();
    const assembler::Assembly assembly = assembler::assemble(path, tasm::readText(path), reader, options);

    std::map<int, std::uint32_t> firstOffsets; // main-file line -> offset of its first byte
    for (const assembler::ListingLine &row : assembly.listing) {
        if (row.source.file != 0 || row.inStructure || row.bytes.empty() || firstOffsets.count(row.source.line))
            continue;
        firstOffsets[row.source.line] = row.offset;
        const std::optional<CodePlace> place = info.placeOf(row.source.line);
        ASSERT_TRUE(place) << "line " << row.source.line;
        const DebugSymbol *segment = segmentAt(info, *place);
        ASSERT_NE(segment, nullptr) << "line " << row.source.line;
        EXPECT_EQ(place->offset - segment->place.offset, row.offset) << "line " << row.source.line;
        EXPECT_EQ(info.lineAt(*place), row.source.line);
        // The line's last byte still belongs to it.
        const CodePlace last{place->frame, static_cast<std::uint16_t>(place->offset + row.bytes.size() - 1)};
        EXPECT_EQ(info.lineAt(last), row.source.line);
    }
    EXPECT_EQ(info.lines.size(), firstOffsets.size());
    EXPECT_FALSE(firstOffsets.empty());

    for (const assembler::ListingLine &row : assembly.listing) {
        std::istringstream words(row.source.text);
        std::string name, directive;
        words >> name >> directive;
        const int unit = unitOf(directive);
        if (row.source.file != 0 || row.source.level != 0 || row.inStructure || unit == 0)
            continue;
        const DebugSymbol *symbol = info.symbol(name);
        ASSERT_NE(symbol, nullptr) << name;
        EXPECT_EQ(symbol->kind, DebugSymbolKind::Variable) << name;
        EXPECT_EQ(symbol->unitSize, unit) << name;
        EXPECT_EQ(symbol->count, static_cast<int>(row.bytes.size()) / unit) << name;
        std::string rest;
        std::getline(words, rest);
        const std::size_t first = rest.find_first_not_of(" \t");
        const bool quoted = first != std::string::npos && (rest[first] == '\'' || rest[first] == '"') &&
                            rest.size() > first + 2 && rest[first + 2] != rest[first];
        EXPECT_EQ(symbol->isString, unit == 1 && quoted) << name;
        ++variables;
    }
}

TEST(DebugMapCorpusTest, EveryProgramsLinesAndVariablesComeBackFromTheMap)
{
    const std::filesystem::path folder = tasm::tasmDataDir() / "programs";
    if (!std::filesystem::exists(folder))
        GTEST_SKIP() << tasm::missingDataMessage();
    std::vector<std::filesystem::path> programs;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        programs.push_back(entry.path());
    std::sort(programs.begin(), programs.end());
    int variables = 0;
    for (const std::filesystem::path &program : programs) {
        SCOPED_TRACE(program.filename().string());
        checkProgram(program, variables);
    }
    EXPECT_GT(variables, 20);
}

} // namespace
} // namespace velmora::debugger::test
