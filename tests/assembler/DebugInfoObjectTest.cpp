// Debug information in the object file and the map: /zd line numbers, /zi line numbers and
// symbols, /zn or no switch nothing; the linker's /v sections.
#include "assembler/AssemblerCommand.h"
#include "assembler/DebugSymbolComment.h"
#include "assembler/TasmTestData.h"
#include "assembler/TempFolder.h"
#include "assembler/link/Linker.h"
#include "assembler/omf/OmfError.h"
#include "assembler/omf/OmfReader.h"

#include <gtest/gtest.h>

#include <fstream>

namespace velmora::assembler
{
namespace
{

using testing::readBytes;
using testing::readText;

const char *const program = "print macro text\r\n"      // 1
                            "  mov dx,offset text\r\n"  // 2
                            "  mov ah,9\r\n"            // 3
                            "  int 21h\r\n"             // 4
                            "endm\r\n"                  // 5
                            ".model small\r\n"          // 6
                            ".stack 100h\r\n"           // 7
                            ".data\r\n"                 // 8
                            "msg db 'Hi',13,10,'$'\r\n" // 9
                            "table dw 1,2,3\r\n"        // 10
                            "buffer db 20 dup(?)\r\n"   // 11
                            "ten dt 1\r\n"              // 12
                            "letter db 'A'\r\n"         // 13
                            "words label word\r\n"      // 14
                            "include extra.inc\r\n"     // 15
                            ".code\r\n"                 // 16
                            "start proc far\r\n"        // 17
                            "  mov ax,@data\r\n"        // 18
                            "  mov ds,ax\r\n"           // 19
                            "again:\r\n"                // 20
                            "  print msg\r\n"           // 21
                            "  mov ax,4C00h\r\n"        // 22
                            "  int 21h\r\n"             // 23
                            "start endp\r\n"            // 24
                            "end start\r\n";            // 25

template <class T> std::vector<T> recordsOf(const omf::ObjectModule &module)
{
    std::vector<T> found;
    for (const omf::Record &record : module.records)
        if (const T *typed = std::get_if<T>(&record))
            found.push_back(*typed);
    return found;
}

class DebugInfoObjectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        write("prog.asm", program);
        write("extra.inc", "included db 7\r\n");
    }
    void write(const std::string &name, const std::string &text)
    {
        std::ofstream(folder.path() / name, std::ios::binary) << text;
    }
    std::vector<std::uint8_t> assembled(const std::vector<std::string> &switches, const std::string &source = "prog")
    {
        std::vector<std::string> arguments = switches;
        arguments.push_back(source);
        EXPECT_EQ(runAssembler(arguments, folder.path().string()).exitCode, 0);
        return readBytes(folder.path() / (source + ".obj"));
    }
    std::string linkedMap(const std::vector<std::string> &switches)
    {
        std::vector<std::string> arguments = switches;
        arguments.push_back("prog");
        EXPECT_EQ(link::link(arguments, folder.path()).exitCode, 0);
        return readText(folder.path() / "prog.map");
    }
    static std::vector<omf::LineEntry> allLines(const omf::ObjectModule &module)
    {
        std::vector<omf::LineEntry> lines;
        for (const omf::Linnum &record : recordsOf<omf::Linnum>(module))
            lines.insert(lines.end(), record.lines.begin(), record.lines.end());
        return lines;
    }
    static std::vector<DebugSymbol> allSymbols(const omf::ObjectModule &module)
    {
        std::vector<DebugSymbol> symbols;
        for (const omf::Coment &comment : recordsOf<omf::Coment>(module)) {
            if (comment.commentClass != DebugSymbolCommentClass)
                continue;
            const std::vector<DebugSymbol> more = readDebugSymbolComment(comment);
            symbols.insert(symbols.end(), more.begin(), more.end());
        }
        return symbols;
    }
    static const DebugSymbol &named(const std::vector<DebugSymbol> &symbols, const std::string &name)
    {
        for (const DebugSymbol &symbol : symbols)
            if (symbol.name == name)
                return symbol;
        throw std::runtime_error("no symbol " + name);
    }

    testing::TempFolder folder;
};

TEST_F(DebugInfoObjectTest, WithoutLineOrSymbolSwitchesTheObjectStaysAsItWas)
{
    const std::vector<std::uint8_t> plain = assembled({});
    EXPECT_EQ(assembled({"/zn"}), plain);
    EXPECT_EQ(assembled({"/zi", "/zn"}), plain); // the last debug switch counts
    const omf::ObjectModule module = omf::readObject(plain);
    EXPECT_TRUE(recordsOf<omf::Linnum>(module).empty());
    EXPECT_TRUE(allSymbols(module).empty());
}

TEST_F(DebugInfoObjectTest, LinesGiveEachMainFileLineWithBytesOnceAtItsFirstByte)
{
    const omf::ObjectModule module = omf::readObject(assembled({"/zd"}));
    EXPECT_TRUE(allSymbols(module).empty());
    const auto records = recordsOf<omf::Linnum>(module);
    ASSERT_EQ(records.size(), 2u); // _TEXT and _DATA; the stack has no bytes of a line
    const auto expectLines = [](const omf::Linnum &record, const std::vector<std::pair<int, int>> &lines) {
        ASSERT_EQ(record.lines.size(), lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(record.lines[i].line, lines[i].first);
            EXPECT_EQ(record.lines[i].offset, lines[i].second);
        }
    };
    // _TEXT: the macro call (three instructions) is one entry at its first byte.
    EXPECT_EQ(records[0].segmentIndex, 1);
    expectLines(records[0], {{18, 0}, {19, 3}, {21, 5}, {22, 12}, {23, 15}});
    // _DATA: msg 5 bytes, table 6, buffer 20, ten 10, letter 1; the included line is left out.
    EXPECT_EQ(records[1].segmentIndex, 2);
    expectLines(records[1], {{9, 0}, {10, 5}, {11, 11}, {12, 31}, {13, 41}});
}

TEST_F(DebugInfoObjectTest, FullInformationAddsTheSymbolsWithTheirTypes)
{
    const omf::ObjectModule module = omf::readObject(assembled({"/zi"}));
    EXPECT_EQ(allLines(module).size(), 10u);
    const std::vector<DebugSymbol> symbols = allSymbols(module);
    struct Expected {
        const char *name;
        DebugSymbolKind kind;
        int segment, offset, unit;
        std::uint32_t count;
        bool isString, far;
    };
    const Expected expected[] = {
        {"msg", DebugSymbolKind::Variable, 1, 0, 1, 5, true, false},
        {"table", DebugSymbolKind::Variable, 1, 5, 2, 3, false, false},
        {"buffer", DebugSymbolKind::Variable, 1, 11, 1, 20, false, false},
        {"ten", DebugSymbolKind::Variable, 1, 31, 10, 1, false, false},
        {"letter", DebugSymbolKind::Variable, 1, 41, 1, 1, false, false},
        {"words", DebugSymbolKind::Variable, 1, 42, 2, 1, false, false},
        {"included", DebugSymbolKind::Variable, 1, 42, 1, 1, false, false},
        {"start", DebugSymbolKind::Procedure, 0, 0, 0, 0, false, true},
        {"again", DebugSymbolKind::Label, 0, 5, 0, 0, false, false},
        {"_TEXT", DebugSymbolKind::Segment, 0, 0, 0, 17, false, false},
        {"_DATA", DebugSymbolKind::Segment, 1, 0, 0, 43, false, false},
        {"STACK", DebugSymbolKind::Segment, 2, 0, 0, 0x100, false, false},
    };
    EXPECT_EQ(symbols.size(), std::size(expected));
    for (const Expected &e : expected) {
        SCOPED_TRACE(e.name);
        const DebugSymbol &symbol = named(symbols, e.name);
        EXPECT_EQ(symbol.kind, e.kind);
        EXPECT_EQ(symbol.segment, e.segment);
        EXPECT_EQ(symbol.offset, e.offset);
        EXPECT_EQ(symbol.unitSize, e.unit);
        EXPECT_EQ(symbol.count, e.count);
        EXPECT_EQ(symbol.isString, e.isString);
        EXPECT_EQ(symbol.far, e.far);
    }
}

TEST_F(DebugInfoObjectTest, StructuresLocalLabelsAndGeneratedNames)
{
    write("more.asm", "point struc\r\nx dw 0\r\ny dw 0\r\npoint ends\r\n"
                      "step macro\r\nlocal skip\r\nskip: nop\r\nendm\r\n"
                      ".model small\r\nlocals\r\n.data\r\nspot point <1,2>\r\nspots point 3 dup(<>)\r\n"
                      ".code\r\nfirst: step\r\n@@inner: ret\r\nend\r\n");
    const std::vector<DebugSymbol> symbols = allSymbols(omf::readObject(assembled({"/zi"}, "more")));
    EXPECT_EQ(named(symbols, "spot").unitSize, 1); // a structure shows as its bytes
    EXPECT_EQ(named(symbols, "spot").count, 4u);
    EXPECT_EQ(named(symbols, "spots").count, 12u);
    EXPECT_EQ(named(symbols, "first").kind, DebugSymbolKind::Label);
    for (const DebugSymbol &symbol : symbols) {
        EXPECT_NE(symbol.name, "x"); // fields are no variables
        EXPECT_FALSE(symbol.name.starts_with("@@") || symbol.name.starts_with("??")) << symbol.name;
    }
}

TEST(DebugSymbolCommentTest, ManySymbolsSplitIntoRecordsAndReadBack)
{
    std::vector<DebugSymbol> symbols;
    for (int i = 0; i < 300; ++i) {
        DebugSymbol symbol;
        symbol.name = "symbol_with_a_long_name_" + std::to_string(i);
        symbol.kind = static_cast<DebugSymbolKind>(i % 4);
        symbol.segment = i % 200; // two-byte indexes from 128 on
        symbol.offset = static_cast<std::uint16_t>(i * 257);
        symbol.unitSize = i % 11;
        symbol.count = 0x10000u + static_cast<std::uint32_t>(i);
        symbol.isString = i % 3 == 0;
        symbol.far = i % 5 == 0;
        symbols.push_back(symbol);
    }
    const std::vector<omf::Coment> comments = debugSymbolComments(symbols);
    ASSERT_GT(comments.size(), 1u);
    std::vector<DebugSymbol> read;
    for (const omf::Coment &comment : comments) {
        EXPECT_LE(comment.text.size() + 5, 1024u); // type, length, flags, class, checksum
        const std::vector<DebugSymbol> part = readDebugSymbolComment(comment);
        read.insert(read.end(), part.begin(), part.end());
    }
    ASSERT_EQ(read.size(), symbols.size());
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        EXPECT_EQ(read[i].name, symbols[i].name);
        EXPECT_EQ(read[i].kind, symbols[i].kind);
        EXPECT_EQ(read[i].segment, symbols[i].segment);
        EXPECT_EQ(read[i].offset, symbols[i].offset);
        EXPECT_EQ(read[i].unitSize, symbols[i].unitSize);
        EXPECT_EQ(read[i].count, symbols[i].count);
        EXPECT_EQ(read[i].isString, symbols[i].isString);
        EXPECT_EQ(read[i].far, symbols[i].far);
    }
    EXPECT_TRUE(debugSymbolComments({}).empty());
}

TEST(DebugSymbolCommentTest, ACutOrUnknownEntryIsRejected)
{
    DebugSymbol symbol;
    symbol.name = "msg";
    omf::Coment comment = debugSymbolComments({symbol}).front();
    comment.text.pop_back();
    EXPECT_THROW(readDebugSymbolComment(comment), omf::OmfError);
    comment = debugSymbolComments({symbol}).front();
    comment.text[0] = 9; // no such kind
    EXPECT_THROW(readDebugSymbolComment(comment), omf::OmfError);
}

TEST_F(DebugInfoObjectTest, LongSourcesSplitTheirLineRecords)
{
    std::string source = ".model tiny\r\n.code\r\norg 100h\r\nstart:\r\n";
    for (int i = 0; i < 600; ++i)
        source += "  inc ax\r\n";
    source += "  ret\r\nend start\r\n";
    write("long.asm", source);
    const std::vector<std::uint8_t> bytes = assembled({"/zd"}, "long");
    const omf::ObjectModule module = omf::readObject(bytes);
    const auto records = recordsOf<omf::Linnum>(module);
    ASSERT_EQ(records.size(), 3u);
    const std::vector<omf::LineEntry> lines = allLines(module);
    ASSERT_EQ(lines.size(), 601u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].line, 5 + i);
        EXPECT_EQ(lines[i].offset, 0x100 + i);
    }
    // Every record of the file stays within 1024 bytes with its frame.
    for (std::size_t at = 0; at + 3 <= bytes.size();) {
        const std::size_t length = bytes[at + 1] | bytes[at + 2] << 8;
        EXPECT_LE(length + 3, 1024u);
        at += 3 + length;
    }
}

TEST_F(DebugInfoObjectTest, TheMapUnderVGivesTheLineSectionThenTheSymbols)
{
    assembled({"/zi"});
    const std::string plain = linkedMap({});
    const std::string withLines = linkedMap({"/l"});
    const std::string debug = linkedMap({"/v"});
    EXPECT_EQ(plain.find("Line numbers"), std::string::npos);
    EXPECT_EQ(plain.find("Debug symbols"), std::string::npos);
    // The line section exactly as /l writes it, the symbols right after it.
    const std::size_t entry = withLines.find("Program entry point");
    ASSERT_NE(entry, std::string::npos);
    const std::string symbols = "\r\nDebug symbols for prog.obj(PROG.ASM)\r\n\r\n"
                                " 0002:0000  Variable   1     5  S-  msg\r\n"
                                " 0002:0005  Variable   2     3  --  table\r\n";
    EXPECT_TRUE(debug.starts_with(withLines.substr(0, entry) + symbols)) << debug;
    EXPECT_NE(debug.find(" 0000:0000  Procedure  0     0  -F  start\r\n"), std::string::npos);
    EXPECT_NE(debug.find(" 0000:0005  Label      0     0  --  again\r\n"), std::string::npos);
    EXPECT_NE(debug.find(" 0000:0000  Segment    0    17  --  _TEXT\r\n"), std::string::npos);
    EXPECT_NE(debug.find("\r\n     9 0002:0000     10 0002:0005     11 0002:000B     12 0002:001F\r\n"),
              std::string::npos)
        << debug;

    // Objects without symbols give /v the same map as /l.
    assembled({"/zd"});
    EXPECT_EQ(linkedMap({"/v"}), linkedMap({"/l"}));
    assembled({});
    EXPECT_EQ(linkedMap({"/v"}), plain);
}

} // namespace
} // namespace velmora::assembler
