// The debug sections of a map read back: lines ordered by address, the first module's
// sections only, symbols with their types, and the map's other sections left alone.
#include "debugger/DebugInfo.h"

#include <gtest/gtest.h>

namespace velmora::debugger::test
{
namespace
{

const char *const map = "\r\n Start  Stop   Length Name               Class\r\n\r\n"
                        " 00000H 0001FH 00020H _TEXT              CODE\r\n\r\n"
                        "  Address         Publics by Name\r\n\r\n 0000:0100       MAIN\r\n\r\n"
                        "\r\nLine numbers for main.obj(MAIN.ASM) segment _TEXT\r\n\r\n"
                        "    12 0000:0103     10 0000:0100     14 0000:0108\r\n"
                        "\r\nLine numbers for main.obj(MAIN.ASM) segment _DATA\r\n\r\n"
                        "     3 0002:0000\r\n"
                        "\r\nLine numbers for util.obj(UTIL.ASM) segment _TEXT\r\n\r\n"
                        "     5 0000:0200\r\n"
                        "\r\nDebug symbols for main.obj(MAIN.ASM)\r\n\r\n"
                        " 0002:0000  Variable   1    15  S-  msg\r\n"
                        " 0000:0100  Procedure  0     0  -F  Main\r\n"
                        " 0000:0000  Segment    0    32  --  _TEXT\r\n"
                        "\r\nDebug symbols for util.obj(UTIL.ASM)\r\n\r\n"
                        " 0000:0200  Label      0     0  --  helper\r\n"
                        "\r\nProgram entry point at 0000:0100\r\n\r\n";

TEST(DebugMapReaderTest, LinesAndSymbolsOfTheFirstModule)
{
    const DebugInfo info = readDebugMap(map);
    EXPECT_EQ(info.sourceName, "MAIN.ASM");
    ASSERT_EQ(info.lines.size(), 4u);
    // By linear address: 0002:0000 comes before 0000:0100.
    const std::pair<int, CodePlace> expected[] = {{3, {2, 0}}, {10, {0, 0x100}}, {12, {0, 0x103}}, {14, {0, 0x108}}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(info.lines[i].line, expected[i].first);
        EXPECT_EQ(info.lines[i].place, expected[i].second);
    }
    EXPECT_EQ(info.lineAt({0, 0x105}), 12);
    EXPECT_EQ(info.placeOf(14), (CodePlace{0, 0x108}));

    ASSERT_EQ(info.symbols.size(), 3u); // util's helper belongs to another source
    const DebugSymbol *msg = info.symbol("MSG");
    ASSERT_NE(msg, nullptr);
    EXPECT_EQ(msg->kind, DebugSymbolKind::Variable);
    EXPECT_EQ(msg->place, (CodePlace{2, 0}));
    EXPECT_EQ(msg->unitSize, 1);
    EXPECT_EQ(msg->count, 15);
    EXPECT_TRUE(msg->isString);
    EXPECT_FALSE(msg->far);
    const DebugSymbol *main = info.symbol("main");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->name, "Main");
    EXPECT_EQ(main->kind, DebugSymbolKind::Procedure);
    EXPECT_TRUE(main->far);
    EXPECT_FALSE(main->isString);
    EXPECT_EQ(info.symbol("_TEXT")->count, 32);
    EXPECT_EQ(info.symbol("helper"), nullptr);
}

TEST(DebugMapReaderTest, AMapWithoutDebugSectionsGivesNothing)
{
    const std::string plain = "\r\n Start  Stop   Length Name               Class\r\n\r\n"
                              " 00000H 0001FH 00020H _TEXT              CODE\r\n\r\n"
                              "Program entry point at 0000:0100\r\n";
    const DebugInfo info = readDebugMap(plain);
    EXPECT_TRUE(info.empty());
    EXPECT_TRUE(info.sourceName.empty());
    EXPECT_TRUE(readDebugMap("").empty());
    EXPECT_TRUE(readDebugMap("Line numbers for \r\n     1 0000:0000\r\n").empty()); // no module named
}

TEST(DebugMapReaderTest, ASectionEndsAtTheFirstRowThatIsNotItsOwn)
{
    const std::string text = "Line numbers for a.obj(A.ASM) segment _TEXT\r\n\r\n"
                             "     1 0000:0000      2 0000:0002\r\n"
                             "  Address         Publics by Name\r\n"
                             "     7 0000:0010\r\n" // after another section's heading: not a line
                             "Debug symbols for a.obj(A.ASM)\r\n\r\n"
                             " 0000:0000  Variable   1     2  S-\r\n" // no name
                             " 0000:0004  Label      0     0  --  later\r\n";
    const DebugInfo info = readDebugMap(text);
    ASSERT_EQ(info.lines.size(), 2u);
    EXPECT_EQ(info.lines[1].line, 2);
    EXPECT_TRUE(info.symbols.empty());
}

} // namespace
} // namespace velmora::debugger::test
