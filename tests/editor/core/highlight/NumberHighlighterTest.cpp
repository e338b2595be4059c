#include "editor/core/highlight/HighlightTestSupport.h"

#include "editor/core/keyfiles/DefaultKeywordList.h"
#include "editor/core/highlight/NumberHighlighter.h"

#include <gtest/gtest.h>

#include <string>

using namespace velmora::core;
using velmora::core::testing::HighlightedMemo;

namespace
{

constexpr std::int32_t kSkyBlue = 0xF0CAA6;

// The main window's editor: the default keyword list and NumberHL.
struct MainEditor {
    TNumberHighlighter numbers;
    HighlightedMemo m;

    MainEditor()
    {
        numbers.setForeground(kSkyBlue);
        numbers.setSeparators("\t ,;");
        fillDefaultKeywordList(m.engine.Keywords);
        m.engine.setHighlighter(&numbers);
    }
    bool isNumberAt(std::int32_t p, std::int32_t offset)
    {
        const RunInfo &run = m.runAt(p, offset);
        return isSpan(run) && innermostEntry(run) == m.engine.Keywords.Count();
    }
    // The words of paragraph p that were highlighted as numbers, space-separated.
    std::string numbersIn(std::int32_t p)
    {
        std::string out;
        const std::string text =
            m.memo.textRange(m.memo.paragraphs().startOf(p), m.memo.paragraphs().startOf(p) + m.par(p).length());
        for (std::size_t i = 0; i < text.size(); ++i)
            if (isNumberAt(p, static_cast<std::int32_t>(i)))
                out += text[i];
            else if (!out.empty() && out.back() != ' ')
                out += ' ';
        if (!out.empty() && out.back() == ' ')
            out.pop_back();
        return out;
    }
};

} // namespace

TEST(NumberHighlighter, SeparatorsKeepTheControlCodesAndReadBackWithoutThem)
{
    TNumberHighlighter numbers;
    numbers.setSeparators("\t ,;");
    EXPECT_EQ(numbers.Separators(), " ,;");
    for (unsigned c = 0; c < 27; ++c)
        EXPECT_TRUE(numbers.separatorSet().test(c)) << c;
    EXPECT_FALSE(numbers.separatorSet().test('.'));
    EXPECT_FALSE(numbers.separatorSet().test('$'));
    numbers.setSeparators(";,;\xFF");
    EXPECT_EQ(numbers.Separators(), ",;\xFF");
}

TEST(NumberHighlighter, PublishedDefaults)
{
    TNumberHighlighter numbers;
    EXPECT_FALSE(numbers.AltFont());
    EXPECT_EQ(numbers.Background(), clNone);
    EXPECT_EQ(numbers.ContextNum(), 3000);
    EXPECT_FALSE(numbers.CTypeHex());
    EXPECT_EQ(numbers.Foreground(), 255);
    EXPECT_EQ(numbers.Style(), 0);
    EXPECT_EQ(numbers.Scope(), 0);
    EXPECT_EQ(numbers.Priority(), 0);
    EXPECT_EQ(numbers.Separators(), " ,.;");
}

TEST(NumberHighlighter, OnlyDollarHexAndDecimalWordsAreNumbers)
{
    MainEditor e;
    e.m.load("mov ax, 123 $1F $ 0x1F 0x 1.5 0FFh -5 12a 10b MOV1 $G 007");
    EXPECT_EQ(e.numbersIn(0), "123 $1F $ 007");
    EXPECT_EQ(e.m.shape(0).substr(0, 3), "kkk") << "MOV stays a keyword";
    const RunInfo &run = e.m.runAt(0, 8);
    EXPECT_EQ(run.foreground, kSkyBlue);
    EXPECT_EQ(run.contextNum, 3000);
    EXPECT_EQ(run.startLength, 3);

    e.numbers.setCTypeHex(true);
    e.m.engine.ReApplyKeywords();
    e.m.engine.highlightAll();
    EXPECT_EQ(e.numbersIn(0), "123 $1F $ 0x1F 0x 007");
}

TEST(NumberHighlighter, SeventeenNumbersInOneParagraph)
{
    MainEditor e;
    std::string line;
    for (int i = 0; i < 17; ++i)
        line += std::to_string(i * 7) + ",";
    e.m.load(line);
    int runs = 0;
    for (std::int32_t r = 0; r < e.m.par(0).runCount(); ++r)
        runs += isSpan(e.m.par(0).run(r)) ? 1 : 0;
    EXPECT_EQ(runs, 17);
}

TEST(NumberHighlighter, ScopeAndPriorityDecideInsideSpans)
{
    MainEditor e;
    e.m.engine.StartStopKeys.AddKey(";", "", 0, 0, 7, 0, -1, 0, true);
    e.m.load("add ax, 5 ; 12");
    EXPECT_EQ(e.numbersIn(0), "5");
    e.numbers.setScope(7);
    e.m.engine.ReApplyKeywords();
    e.m.engine.highlightAll();
    EXPECT_EQ(e.numbersIn(0), "12") << "scope 7 admits only the span's text";
    e.numbers.setScope(0);
    e.numbers.setPriority(1);
    e.m.engine.ReApplyKeywords();
    e.m.engine.highlightAll();
    EXPECT_EQ(e.numbersIn(0), "5 12");

    std::int16_t asked = 0;
    e.numbers.OnQueryHighlight = [&](TNumberHighlighter &, std::int16_t scope, bool &doHighlight) {
        asked = scope;
        doHighlight = scope == 0;
    };
    e.m.engine.ReApplyKeywords();
    e.m.engine.highlightAll();
    EXPECT_EQ(e.numbersIn(0), "5");
    EXPECT_EQ(asked, 7);
}

TEST(NumberHighlighter, EditingInsideANumberReexaminesTheWholeWord)
{
    MainEditor e;
    e.m.load("db 123456");
    EXPECT_EQ(e.numbersIn(0), "123456");
    e.m.edit(6, 0, "a");
    EXPECT_EQ(e.numbersIn(0), "");
    e.m.edit(6, 1, "");
    EXPECT_EQ(e.numbersIn(0), "123456");
}

TEST(NumberHighlighter, StyleAltFontAndColoursGoIntoTheRun)
{
    MainEditor e;
    e.numbers.setStyle(kStyleBold | kStyleItalic | kStyleHighlight);
    e.numbers.setAltFont(true);
    e.numbers.setBackground(0x123456);
    e.numbers.setContextNum(42);
    e.m.load("42");
    const RunInfo &run = e.m.runAt(0, 0);
    EXPECT_EQ(run.style, kStyleBold | kStyleItalic | kStyleAltFont | kRunSpan);
    EXPECT_EQ(run.background, 0x123456);
    EXPECT_EQ(run.contextNum, 42);
    EXPECT_EQ(run.cursor, 0);
}

TEST(NumberHighlighter, DisabledOrDetachedItAddsNothing)
{
    MainEditor e;
    e.numbers.setEnabled(false);
    e.m.load("1 2 3");
    EXPECT_EQ(e.numbersIn(0), "");
    {
        TNumberHighlighter temporary;
        e.m.engine.setHighlighter(&temporary);
        EXPECT_EQ(temporary.Controls().size(), 1u);
        EXPECT_TRUE(e.numbers.Controls().empty());
    }
    EXPECT_EQ(e.m.engine.Highlighter(), nullptr);
}

TEST(NumberHighlighter, NumbersComeBeforeKeywordsAndBlockThem)
{
    MainEditor e;
    e.m.engine.Keywords.AddKeyword("12", 0, kStyleBold, 7, 0, -1, 0);
    e.m.load("12 x12");
    EXPECT_EQ(e.numbersIn(0), "12");
    EXPECT_EQ(e.m.entryAt(0, 4), e.m.engine.Keywords.Count() - 1) << "inside a word the keyword still matches";
}
