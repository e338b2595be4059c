// Macro arguments and parameter substitution, and the expansion of macros, REPT, IRP and
// conditional blocks as the assembler sees them.
#include "assembler/Expander.h"
#include "assembler/Assembly.h"

#include <gtest/gtest.h>

namespace velmora::assembler
{
namespace
{

TEST(ExpanderTest, ArgumentsSplitAtCommasOutsideBracketsAndQuotes)
{
    EXPECT_EQ(splitArguments("ax, <1,2>, 'a,b'"), (std::vector<std::string>{"ax", "1,2", "'a,b'"}));
    EXPECT_EQ(splitArguments("<dx,cx,bx,ax>"), (std::vector<std::string>{"dx,cx,bx,ax"}));
    EXPECT_TRUE(splitArguments("   ").empty());
}

TEST(ExpanderTest, ParametersAreReplacedAsWholeWordsAndInQuotesOnlyNextToAmpersands)
{
    const std::vector<std::string> names{"REG", "CH"};
    const std::vector<std::string> values{"bx", "x"};
    EXPECT_EQ(substituteParameters("  mov reg,register", names, values), "  mov bx,register");
    EXPECT_EQ(substituteParameters("  db '&ch&', 'ch'", names, values), "  db 'x', 'ch'");
    EXPECT_EQ(substituteParameters("lbl&reg: nop ;; private", names, values), "lblbx: nop ");
    EXPECT_EQ(substituteParameters("  inc reg ; reg", names, values), "  inc bx ; reg");
}

std::vector<std::string> assembledBytes(const std::string &source)
{
    AssemblyOptions options;
    options.keepListing = true;
    const Assembly assembly = assemble(
        "t.asm", source, [](const std::string &) { return std::nullopt; }, options);
    std::vector<std::string> rows;
    for (const ListingLine &line : assembly.listing) {
        if (line.bytes.empty())
            continue;
        std::string row = std::to_string(line.source.line) + ":" + std::to_string(line.source.level) + ":";
        for (std::uint8_t byte : line.bytes)
            row += std::to_string(byte) + " ";
        rows.push_back(row);
    }
    for (const Message &message : assembly.messages)
        rows.push_back("message " + std::to_string(message.line) + " " + message.text);
    return rows;
}

TEST(ExpanderTest, MacroLocalsAreNumberedPerExpansionAndNestedBlocksNest)
{
    const std::vector<std::string> rows = assembledBytes(".model small\n.code\n"
                                                         "spin macro n\n local again\n"
                                                         "again: loop again\n irp r,<n>\n push r\n endm\n endm\n"
                                                         "spin <ax,bx>\n"
                                                         "spin cx\n"
                                                         "end\n");
    EXPECT_EQ(rows, (std::vector<std::string>{"10:1:226 254 ", "10:2:80 ", "10:2:83 ", "11:1:226 254 ", "11:2:81 "}));
}

TEST(ExpanderTest, ReptRepeatsAndAssignmentsSeeEachRound)
{
    const std::vector<std::string> rows = assembledBytes(".model small\n.data\nn = 0\n"
                                                         "rept 3\nn = n+1\ndb n\nendm\nend\n");
    EXPECT_EQ(rows, (std::vector<std::string>{"7:1:1 ", "7:1:2 ", "7:1:3 "}));
}

TEST(ExpanderTest, ConditionalsChooseOneBranchAndNestInsideFalseBlocks)
{
    const std::vector<std::string> rows = assembledBytes(".model small\n.data\nflag = 0\n"
                                                         "if flag\ndb 1\nif 1\ndb 2\nendif\nelse\ndb 3\nendif\n"
                                                         "ifdef flag\ndb 4\nendif\nifndef flag\ndb 5\nendif\n"
                                                         "ifb <>\ndb 6\nendif\nend\n");
    EXPECT_EQ(rows, (std::vector<std::string>{"10:0:3 ", "13:0:4 ", "19:0:6 "}));
}

TEST(ExpanderTest, IncludedFilesAreReadRelativeToTheSource)
{
    std::string requested;
    const Assembly assembly = assemble("/src/dir/t.asm", ".model small\n.code\ninclude sub\\x.inc\nend\n",
                                       [&](const std::string &path) -> std::optional<std::string> {
                                           requested = path;
                                           return std::string("nop\r\n");
                                       });
    EXPECT_EQ(requested, "/src/dir/sub\\x.inc");
    ASSERT_EQ(assembly.fileNames.size(), 2u);
    EXPECT_EQ(assembly.fileNames[1], "x.inc");
    EXPECT_EQ(assembly.module.segments[0].bytes, std::vector<std::uint8_t>{0x90});
}

} // namespace
} // namespace velmora::assembler
