// Every instruction row of the TASM encodings corpus (bytes without relocation marks)
// disassembled and assembled again by the built-in assembler, which must give the same
// bytes. A row may hold several instructions (a JUMPS expansion, the NOP after a short
// jump): all of them are disassembled and assembled together.
#include "Reassemble.h"

#include "assembler/Encoder.h"
#include "assembler/TasmTestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <sstream>

namespace velmora::debugger::test
{
namespace
{

struct Row {
    std::string where; // file:line
    std::uint16_t offset = 0;
    std::vector<std::uint8_t> bytes;
    std::string source;
};

std::vector<std::string> splitTabs(const std::string &line)
{
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');)
        fields.push_back(field);
    return fields;
}

std::string upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

// Whether the source line is an instruction: its first word, after a "label:", is a
// mnemonic or prefix.
bool isInstruction(const std::string &source)
{
    std::istringstream in(source.substr(0, source.find(';')));
    std::string word;
    in >> word;
    if (word.ends_with(':') && !(in >> word))
        return false;
    word = upper(word);
    return assembler::isMnemonic(word) || assembler::isPrefix(word);
}

std::vector<Row> instructionRows(const std::string &tsv)
{
    std::vector<Row> rows;
    std::istringstream in(tsv);
    std::string line;
    std::getline(in, line); // the header
    while (std::getline(in, line)) {
        const std::vector<std::string> f = splitTabs(line);
        if (f.size() < 9 || f[5].empty() || !f[6].empty() || !isInstruction(f[8]))
            continue;
        Row row{f[0] + ":" + f[1], static_cast<std::uint16_t>(std::stoul(f[4], nullptr, 16)), {}, f[8]};
        std::istringstream bytes(f[5]);
        for (std::string b; bytes >> b;)
            row.bytes.push_back(static_cast<std::uint8_t>(std::stoul(b, nullptr, 16)));
        rows.push_back(row);
    }
    return rows;
}

TEST(RoundTripCorpusTest, EveryInstructionRowAssemblesBackToItsBytes)
{
    const auto tsv = assembler::testing::tasmDataDir() / "encodings" / "encodings.tsv";
    if (!std::filesystem::exists(tsv))
        GTEST_SKIP() << assembler::testing::missingDataMessage();
    const std::vector<Row> rows = instructionRows(assembler::testing::readText(tsv));
    ASSERT_FALSE(rows.empty());
    int passed = 0;
    for (const Row &row : rows) {
        if (roundTrips(row.bytes, row.offset)) {
            ++passed;
            continue;
        }
        std::string text;
        for (const std::string &line : disassembleAll(row.bytes, row.offset))
            text += "  " + line;
        ADD_FAILURE() << row.where << " '" << row.source << "' disassembles to" << text;
    }
    std::cout << passed << " of " << rows.size() << " instruction rows round-trip\n";
}

} // namespace
} // namespace velmora::debugger::test
