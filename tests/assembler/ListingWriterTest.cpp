// The listing writer's own rules: tabs as TASM writes them, the wrapped data field, the
// nesting digit, messages after their line, pages and the /l selection.
#include "assembler/ListingWriter.h"
#include "assembler/Assembly.h"

#include <gtest/gtest.h>

namespace velmora::assembler
{
namespace
{

TEST(ListingWriterTest, BlanksReachingATabStopBecomeTabs)
{
    EXPECT_EQ(retab("a       b"), "a\tb");
    EXPECT_EQ(retab("abcdefg x"), "abcdefg\tx"); // one blank reaching the stop
    EXPECT_EQ(retab("ab  c"), "ab  c");          // blanks short of the stop stay
    EXPECT_EQ(retab("        "), "\t");
    EXPECT_EQ(expandTabs("a\tb\tc"), "a       b       c");
    EXPECT_EQ(expandTabs("abcdefgh\tx"), "abcdefgh        x");
}

std::vector<std::string> listingLines(const std::string &source, bool expanded = true)
{
    AssemblyOptions options;
    options.keepListing = true;
    const Assembly assembly = assemble(
        "t.asm", source, [](const std::string &) { return std::nullopt; }, options);
    std::vector<std::string> lines;
    for (const std::string &line : splitLines(writeListing(assembly, {"t.asm", expanded, "01/02/03", "04:05:06"})))
        lines.push_back(line);
    return lines;
}

TEST(ListingWriterTest, ALongDataFieldContinuesOnNumberedLines)
{
    const std::vector<std::string> lines = listingLines(".model small\n.data\nm db 'abcdefghij'\nn dw 1\nend\n");
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(lines[7], "      3\t0000  61 62 63 64 65 66\t67+  m db 'abcdefghij'");
    EXPECT_EQ(lines[8], "      4\t      68 69 6A");
    EXPECT_EQ(lines[9], "      5\t000A  0001\t\t     n dw 1");
}

TEST(ListingWriterTest, MessagesFollowTheirLineAndGatherInTheErrorSummary)
{
    const std::vector<std::string> lines = listingLines(".model small\n.code\nmov al,bx\nend\n");
    const auto error = std::find(lines.begin(), lines.end(), "**Error** t.asm(3) Operand types do not\tmatch");
    ASSERT_NE(error, lines.end());
    EXPECT_TRUE(error[-1].starts_with("      3\t"));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Error Summary"), lines.end());
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "**Error** t.asm(3) Operand types do not\tmatch"), 2);
}

TEST(ListingWriterTest, ExpansionsCarryTheirDepthAndShortListingsLeaveOutLinesWithoutCode)
{
    const std::string source = ".model small\n.code\nrept 2\nnop\nendm\nif 0\nhlt\nendif\nend\n";
    const std::vector<std::string> full = listingLines(source);
    EXPECT_NE(std::find(full.begin(), full.end(), "1     6\t0000  90\t\t     nop"), full.end());
    EXPECT_NE(std::find(full.begin(), full.end(), "      9\t\t\t\t     hlt"), full.end());
    const std::vector<std::string> brief = listingLines(source, false);
    EXPECT_EQ(std::find(brief.begin(), brief.end(), "      9\t\t\t\t     hlt"), brief.end());
    EXPECT_EQ(
        std::count_if(brief.begin(), brief.end(), [](const std::string &line) { return line.starts_with("      6"); }),
        0); // the if line is not listed either, so the numbers close up
}

TEST(ListingWriterTest, PagesHoldFiftySevenLines)
{
    std::string source = ".model small\n.code\n";
    for (int i = 0; i < 70; ++i)
        source += "nop\n";
    source += "end\n";
    const std::vector<std::string> lines = listingLines(source);
    const auto secondPage =
        std::find_if(lines.begin(), lines.end(), [](const std::string &line) { return line.ends_with("Page 2"); });
    ASSERT_NE(secondPage, lines.end());
    EXPECT_TRUE(secondPage->starts_with("\f"));
    EXPECT_EQ(secondPage - lines.begin(), 5 + 57);
    EXPECT_EQ(secondPage[1], "t.asm");
    EXPECT_TRUE(secondPage[5].starts_with("     58\t"));
}

} // namespace
} // namespace velmora::assembler
