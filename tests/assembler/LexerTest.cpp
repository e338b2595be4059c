// The line reader: TASM's number notation, strings with doubled quotes, comments, and the
// dot that starts a directive name but is the field operator after a name or bracket.
#include "assembler/Lexer.h"
#include "assembler/SourceLines.h"

#include <gtest/gtest.h>

namespace velmora::assembler
{
namespace
{

TEST(LexerTest, NumbersTakeTheirRadixFromTheSuffix)
{
    EXPECT_EQ(parseNumber("0FF80h"), 0xFF80);
    EXPECT_EQ(parseNumber("1110111b"), 0x77);
    EXPECT_EQ(parseNumber("157o"), 0157);
    EXPECT_EQ(parseNumber("334q"), 0334);
    EXPECT_EQ(parseNumber("210d"), 210);
    EXPECT_EQ(parseNumber("36827"), 36827);
    // A 'b' that ends a hexadecimal number is a digit when an h follows.
    EXPECT_EQ(parseNumber("0bbh"), 0xBB);
    EXPECT_EQ(parseNumber("1Bh"), 0x1B);
}

TEST(LexerTest, DigitsOutsideTheRadixAreIllegal)
{
    EXPECT_FALSE(parseNumber("102b").has_value() && *parseNumber("102b") != 102);
    EXPECT_FALSE(parseNumber("128o").has_value());
    EXPECT_FALSE(parseNumber("12AB").has_value());
    EXPECT_FALSE(parseNumber("FFh").has_value()); // a hexadecimal number must start with a digit
    const std::vector<Token> tokens = tokenize("mov al,19o");
    ASSERT_EQ(tokens[3].kind, TokenKind::Number);
    EXPECT_TRUE(tokens[3].bad);
}

TEST(LexerTest, StringsKeepDoubledQuotesAndCommentsEndTheLine)
{
    const std::vector<Token> tokens = tokenize("quote db 'It''s', \"a \"\"test\"\"\" ; 'not a string'");
    ASSERT_EQ(tokens.size(), 6u);
    EXPECT_EQ(tokens[2].text, "It's");
    EXPECT_EQ(tokens[4].text, "a \"test\"");
    EXPECT_EQ(tokens[5].kind, TokenKind::End);
    EXPECT_EQ(commentStart("db ';' ; comment"), 7u);
}

TEST(LexerTest, AnUnterminatedStringIsMarkedBad)
{
    const std::vector<Token> tokens = tokenize("msg db 'open");
    EXPECT_EQ(tokens[2].kind, TokenKind::String);
    EXPECT_TRUE(tokens[2].bad);
}

TEST(LexerTest, DotStartsADirectiveButSelectsAFieldAfterANameOrBracket)
{
    const std::vector<Token> directive = tokenize(".model small");
    EXPECT_EQ(directive[0].kind, TokenKind::Name);
    EXPECT_EQ(directive[0].text, ".model");
    const std::vector<Token> field = tokenize("mov ax,[si].y");
    EXPECT_TRUE(field[6].is('.'));
    EXPECT_EQ(field[7].text, "y");
    const std::vector<Token> member = tokenize("p1.x");
    EXPECT_TRUE(member[1].is('.'));
}

TEST(LexerTest, NamesCompareWithoutLetterCase)
{
    const std::vector<Token> tokens = tokenize("  MoV @@next ??0001");
    EXPECT_TRUE(tokens[0].isName("MOV"));
    EXPECT_EQ(tokens[1].text, "@@next");
    EXPECT_EQ(tokens[2].text, "??0001");
}

TEST(SourceLinesTest, LinesEndWithCrLfOrLfAndAtTheEndOfFileByte)
{
    EXPECT_EQ(splitLines("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(splitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(splitLines("end\r\n\x1a garbage"), (std::vector<std::string>{"end"}));
}

} // namespace
} // namespace velmora::assembler
