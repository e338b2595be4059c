#include "editor/core/highlight/HighlightTestSupport.h"

#include "editor/core/highlight/AssemblerSyntax.h"
#include "editor/core/keyfiles/KeywordList.h"
#include "editor/core/highlight/NumberHighlighter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

using namespace velmora::core;
using velmora::core::testing::HighlightedMemo;

namespace
{

constexpr std::int32_t kNumberColour = 0xF0CAA6;

// What a token looks like: style bits, text colour and context number; plain text has none.
struct Look {
    int style;
    std::int32_t foreground;
    std::int32_t context;
    bool operator==(const Look &) const = default;
};
constexpr Look kPlainLook{-1, -1, 0};

std::ostream &operator<<(std::ostream &out, const Look &look)
{
    return out << "{style " << look.style << ", colour 0x" << std::hex << look.foreground << std::dec << ", context "
               << look.context << "}";
}

// The main editor's highlighting: assembler keywords, spans and numbers.
struct AssemblerEditor {
    TNumberHighlighter numbers;
    HighlightedMemo m;
    TAssemblerColours colours;

    AssemblerEditor()
    {
        numbers.setForeground(kNumberColour);
        useAssemblerNumbers(numbers);
        m.engine.setSeparators(makeSeparators(kAsmSeparators));
        fillAssemblerKeywordList(m.engine.Keywords);
        fillAssemblerStartStopKeys(m.engine.StartStopKeys);
        m.engine.setHighlighter(&numbers);
    }

    Look lookAt(std::int32_t p, std::int32_t offset)
    {
        const RunInfo &run = m.runAt(p, offset);
        if (!hasAttributes(run))
            return kPlainLook;
        return {run.style & 0x3F, run.foreground, run.contextNum};
    }

    // Every character of the n-th occurrence of token in paragraph p has the same look, and
    // that look is returned; a token whose characters differ fails the test.
    Look tokenLook(std::int32_t p, const std::string &line, const std::string &token, int n = 0)
    {
        std::size_t at = line.find(token);
        while (n-- > 0 && at != std::string::npos)
            at = line.find(token, at + 1);
        EXPECT_NE(at, std::string::npos) << token;
        if (at == std::string::npos)
            return kPlainLook;
        const Look first = lookAt(p, static_cast<std::int32_t>(at));
        for (std::size_t i = 1; i < token.size(); ++i)
            EXPECT_EQ(lookAt(p, static_cast<std::int32_t>(at + i)), first) << token << " at " << i;
        return first;
    }
};

// A lab program of our own with each element the main editor distinguishes.
const std::vector<std::string> kCorpus = {
    "; HELLO1.ASM - press ENTER to end, mov 21h",      // 0
    ".model small",                                    // 1
    ".stack 100h",                                     // 2
    ".data",                                           // 3
    "msg db 'Press 1 key; 0FFh$', 0Dh, 0Ah, \"it's\"", // 4
    "buf db 10 dup(0)",                                // 5
    ".code",                                           // 6
    "start: mov ax, @data",                            // 7
    "    xor ax, ax        ; clear AX",                // 8
    "    mov al, [si+1]",                              // 9
    "    mov eax, 4C00h + 1010b + 17o + 17q + 12d",    // 10
    "    mov bx, 2*3",                                 // 11
    "    int 21h",                                     // 12
    "    fld st(1)",                                   // 13
    "    mov dx, offset msg",                          // 14
    "IDEAL",                                           // 15
    "DATASEG",                                         // 16
    "CODESEG",                                         // 17
    "    shl ax, 1",                                   // 18
    "x1 dw 1.5, 12a, 0FFh, $, L2, 19b, 0x1F",          // 19
    "end start",                                       // 20
};

} // namespace

TEST(AssemblerSyntax, EveryTokenOfTheCorpusHasItsLook)
{
    AssemblerEditor e;
    e.m.loadParagraphs(kCorpus);
    ASSERT_TRUE(e.m.runsWellFormed());
    const TAssemblerColours &c = e.colours;
    const Look instruction{kStyleBold, c.instruction, kAsmInstructionContext};
    const Look reg{0, c.reg, kAsmRegisterContext};
    const Look directive{kStyleBold, c.directive, kAsmDirectiveContext};
    const Look comment{kStyleItalic, c.comment, kAsmCommentContext};
    const Look string{0, c.string, kAsmStringContext};
    const Look number{0, kNumberColour, e.numbers.ContextNum()};
    const auto look = [&](int p, const std::string &token, int n = 0) {
        return e.tokenLook(p, kCorpus[static_cast<std::size_t>(p)], token, n);
    };

    // A comment is one span: no keyword or number inside it.
    EXPECT_EQ(look(0, kCorpus[0]), comment);
    EXPECT_EQ(look(8, "; clear AX"), comment);

    EXPECT_EQ(look(1, ".model"), directive);
    EXPECT_EQ(look(1, "small"), directive);
    EXPECT_EQ(look(2, ".stack"), directive);
    EXPECT_EQ(look(2, "100h"), number);
    EXPECT_EQ(look(3, ".data"), directive);

    // Strings in either quote hold keywords, numbers and semicolons as plain string text.
    EXPECT_EQ(look(4, "msg"), kPlainLook);
    EXPECT_EQ(look(4, "db"), directive);
    EXPECT_EQ(look(4, "'Press 1 key; 0FFh$'"), string);
    EXPECT_EQ(look(4, "0Dh"), number);
    EXPECT_EQ(look(4, "0Ah"), number);
    EXPECT_EQ(look(4, "\"it's\""), string);

    EXPECT_EQ(look(5, "10"), number);
    EXPECT_EQ(look(5, "dup"), directive);
    EXPECT_EQ(look(5, "0"), number);
    EXPECT_EQ(look(5, "("), kPlainLook);

    EXPECT_EQ(look(7, "start"), kPlainLook);
    EXPECT_EQ(look(7, "mov"), instruction);
    EXPECT_EQ(look(7, "ax"), reg);
    EXPECT_EQ(look(7, "@data"), directive);

    EXPECT_EQ(look(8, "xor"), instruction);
    EXPECT_EQ(look(8, "ax", 1), reg);

    EXPECT_EQ(look(9, "al"), reg);
    EXPECT_EQ(look(9, "["), kPlainLook);
    EXPECT_EQ(look(9, "si"), reg);
    EXPECT_EQ(look(9, "+"), kPlainLook);
    EXPECT_EQ(look(9, "1"), number);

    EXPECT_EQ(look(10, "eax"), reg);
    for (const char *n : {"4C00h", "1010b", "17o", "17q", "12d"})
        EXPECT_EQ(look(10, n), number) << n;

    EXPECT_EQ(look(11, "2"), number);
    EXPECT_EQ(look(11, "*"), kPlainLook);
    EXPECT_EQ(look(11, "3"), number);

    EXPECT_EQ(look(12, "int"), instruction);
    EXPECT_EQ(look(12, "21h"), number);

    EXPECT_EQ(look(13, "fld"), instruction);
    EXPECT_EQ(look(13, "st"), reg);
    EXPECT_EQ(look(13, "1"), number);

    EXPECT_EQ(look(14, "offset"), directive);
    EXPECT_EQ(look(14, "msg"), kPlainLook);

    EXPECT_EQ(look(15, "IDEAL"), directive);
    EXPECT_EQ(look(16, "DATASEG"), directive);
    EXPECT_EQ(look(17, "CODESEG"), directive);
    EXPECT_EQ(look(18, "shl"), instruction);

    // Neither the other notation nor malformed numbers count; names with digits are plain.
    EXPECT_EQ(look(19, "x1"), kPlainLook);
    for (const char *n : {"1.5", "12a", "$", "L2", "19b", "0x1F"})
        EXPECT_EQ(look(19, n), kPlainLook) << n;
    EXPECT_EQ(look(19, "0FFh"), number);

    EXPECT_EQ(look(20, "end"), directive);
}

TEST(AssemblerSyntax, AnUnclosedStringEndsWithItsLineAndTypingAQuoteClosesIt)
{
    AssemblerEditor e;
    e.m.loadParagraphs({"db 'abc", "mov ax, 1"});
    EXPECT_EQ(e.lookAt(0, 6).context, kAsmStringContext);
    EXPECT_EQ(e.lookAt(1, 0).context, kAsmInstructionContext);
    e.m.edit(7, 0, "' , 5");
    EXPECT_EQ(e.lookAt(0, 7).context, kAsmStringContext);
    EXPECT_EQ(e.lookAt(0, 11).context, e.numbers.ContextNum());
}

TEST(AssemblerSyntax, TypingASemicolonTurnsTheRestOfTheLineIntoAComment)
{
    AssemblerEditor e;
    e.m.loadParagraphs({"mov ax, 21h", "int 21h"});
    e.m.edit(4, 0, ";");
    EXPECT_EQ(e.lookAt(0, 5).context, kAsmCommentContext);
    EXPECT_EQ(e.lookAt(0, 10).context, kAsmCommentContext);
    EXPECT_EQ(e.lookAt(1, 0).context, kAsmInstructionContext);
    EXPECT_EQ(e.lookAt(1, 4).context, e.numbers.ContextNum());
    EXPECT_TRUE(e.m.runsWellFormed());
}

TEST(AssemblerSyntax, ListsHoldNoDuplicateAndNoNonInstruction)
{
    TKeywordList list;
    fillAssemblerKeywordList(list);
    std::vector<std::string> seen;
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_FALSE(list.Get(i).empty());
        EXPECT_EQ(std::count(seen.begin(), seen.end(), list.Item(i).MatchText), 0) << list.Get(i);
        seen.push_back(list.Item(i).MatchText);
    }
    for (const char *word : {"XOR", "OR", "NOT", "SHL", "SHR", "DIV", "IN", "OUT", "FLD", "FSTP", "EAX", ".MODEL"})
        EXPECT_NE(std::find(seen.begin(), seen.end(), word), seen.end()) << word;
    EXPECT_EQ(std::find(seen.begin(), seen.end(), "ASM"), seen.end());
}

TEST(NumberHighlighter, AssemblerNotationTakesEveryRadixSuffixAndOnlyDigitsOfThatRadix)
{
    TNumberHighlighter numbers;
    numbers.setAsmNotation(true);
    for (const char *n : {"0", "123", "12d", "12D", "0FFh", "21H", "1010b", "1B", "17o", "17Q", "0Bh", "0b"})
        EXPECT_TRUE(numbers.isNumber(n)) << n;
    for (const char *n : {"", "FFh", "12a", "102b", "18o", "1Fd", "$", "$1F", "0x1F", "h", "1.5", "-5"})
        EXPECT_FALSE(numbers.isNumber(n)) << n;
    numbers.setAsmNotation(false);
    EXPECT_TRUE(numbers.isNumber("$1F"));
    EXPECT_FALSE(numbers.isNumber("0FFh"));
}
