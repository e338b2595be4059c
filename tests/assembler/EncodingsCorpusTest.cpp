// Every source of the corpus's encodings folder assembled and compared, row by row, with
// what TASM listed: the offset, the bytes (?? for uninitialised ones) and the relocation
// marks of every row that has bytes. At least 98% of those rows must agree.
#include "assembler/Assembly.h"
#include "assembler/Corpus.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <tuple>
#include <vector>

namespace velmora::assembler::test
{
namespace
{

struct Row {
    std::string file;
    int line = 0;
    int level = 0;
    std::string offset, bytes, relocs, source;
};

std::vector<std::string> splitTabs(const std::string &line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

std::string hex(unsigned value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

std::string bytesText(const ListingLine &line)
{
    std::string text;
    for (std::size_t i = 0; i < line.bytes.size(); ++i) {
        if (i)
            text += ' ';
        text += line.initialised[i] ? hex(line.bytes[i], 2) : "??";
    }
    return text;
}

std::string relocsText(const ListingLine &line)
{
    std::string text;
    for (const RelocationMark &mark : line.relocations) {
        if (!text.empty())
            text += ' ';
        text += std::to_string(mark.index) + ":" + std::to_string(mark.length) + ":" + mark.letters;
    }
    return text;
}

std::string offsetText(const ListingLine &line)
{
    if (!line.hasOffset)
        return "";
    return line.inStructure ? "*" + hex(line.offset, 3) : hex(line.offset, 4);
}

TEST(EncodingsCorpusTest, ListedBytesMatchTasmForAtLeast98PercentOfRows)
{
    const auto folder = tasmDataDir() / "encodings";
    const auto table = readFile((folder / "encodings.tsv").string());
    if (!table)
        GTEST_SKIP() << "the TASM corpus is not at " << folder << "; nothing to compare";

    // Rows with bytes, grouped by the assembled source (an .inc belongs to the .asm before it).
    std::map<std::string, std::vector<Row>> rowsBySource;
    std::vector<std::string> sources;
    std::string currentSource;
    for (const std::string &text : splitLines(*table)) {
        const std::vector<std::string> fields = splitTabs(text);
        if (fields.size() < 9 || fields[0] == "file")
            continue;
        if (fields[0].ends_with(".asm") && fields[0] != currentSource) {
            currentSource = fields[0];
            sources.push_back(currentSource);
        }
        if (fields[5].empty())
            continue;
        rowsBySource[currentSource].push_back(
            {fields[0], std::stoi(fields[1]), std::stoi(fields[2]), fields[4], fields[5], fields[6], fields[8]});
    }

    int total = 0, matched = 0;
    for (const std::string &source : sources) {
        const auto text = readFile((folder / source).string());
        ASSERT_TRUE(text) << source;
        AssemblyOptions options;
        options.keepListing = true;
        const Assembly assembly = assemble((folder / source).string(), *text, diskReader(), options);
        // Our listed lines with bytes by (file, line, level), in order.
        std::map<std::tuple<std::string, int, int>, std::vector<const ListingLine *>> ours;
        for (const ListingLine &line : assembly.listing)
            if (!line.bytes.empty())
                ours[{assembly.fileNames[static_cast<std::size_t>(line.source.file)], line.source.line,
                      line.source.level}]
                    .push_back(&line);
        std::map<std::tuple<std::string, int, int>, std::size_t> used;
        int fileMatched = 0;
        const std::vector<Row> &rows = rowsBySource[source];
        for (const Row &row : rows) {
            const auto key = std::make_tuple(row.file, row.line, row.level);
            const std::size_t index = used[key]++;
            const auto found = ours.find(key);
            const ListingLine *line =
                found != ours.end() && index < found->second.size() ? found->second[index] : nullptr;
            const std::string bytes = line ? bytesText(*line) : "-";
            const std::string relocs = line ? relocsText(*line) : "-";
            const std::string offset = line ? offsetText(*line) : "-";
            if (bytes == row.bytes && relocs == row.relocs && offset == row.offset) {
                ++fileMatched;
                continue;
            }
            std::printf("  mismatch %s(%d) level %d: %s\n    TASM %s [%s] %s\n    ours %s [%s] %s\n", row.file.c_str(),
                        row.line, row.level, row.source.c_str(), row.offset.c_str(), row.bytes.c_str(),
                        row.relocs.c_str(), offset.c_str(), bytes.c_str(), relocs.c_str());
        }
        if (fileMatched != static_cast<int>(rows.size()))
            for (const Message &message : assembly.messages)
                std::printf("  message %s(%d) %s\n", message.file.c_str(), message.line, message.text.c_str());
        std::printf("%-14s %3d of %3d rows match\n", source.c_str(), fileMatched, static_cast<int>(rows.size()));
        total += static_cast<int>(rows.size());
        matched += fileMatched;
    }
    std::printf("encodings: %d of %d rows with bytes match (%.1f%%)\n", matched, total, 100.0 * matched / total);
    EXPECT_GE(matched * 100, total * 98);
}

} // namespace
} // namespace velmora::assembler::test
