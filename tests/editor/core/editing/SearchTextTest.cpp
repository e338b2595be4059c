// Text search: the down and up walks, where the caret ends, case folding, the whole-word rule
// and the texts that are never found.
#include "editor/core/store/StoreTestSupport.h"
#include "editor/core/editing/StoreConsistency.h"
#include "editor/core/editing/TextSearch.h"

#include <gtest/gtest.h>

using namespace velmora::core;
using namespace velmora::core::testing;

namespace
{

struct Selection {
    std::int32_t start;
    std::int32_t length;
    bool operator==(const Selection &) const = default;
};

Selection selection(TSourceMemoCore &memo)
{
    return {memo.SelStart(), memo.SelLength()};
}

class SearchTextTest : public ::testing::Test
{
protected:
    void load(const std::string &text, std::int32_t caret = 0)
    {
        setText(memo, text);
        memo.setSelStart(caret);
    }
    bool down(std::string_view text, bool matchCase = true, bool wholeWord = false)
    {
        return SearchText(memo, text, true, matchCase, wholeWord, false);
    }
    bool up(std::string_view text, bool matchCase = true, bool wholeWord = false)
    {
        return SearchText(memo, text, false, matchCase, wholeWord, false);
    }

    TSourceMemoCore memo;
};

TEST_F(SearchTextTest, DownWalksThroughOccurrencesWithTheCaretAtEachEnd)
{
    load("ab ab");
    ASSERT_TRUE(down("ab"));
    EXPECT_EQ(selection(memo), (Selection{2, -2}));
    EXPECT_EQ(memo.SelText(), "ab");
    ASSERT_TRUE(down("ab"));
    EXPECT_EQ(selection(memo), (Selection{5, -2}));
    EXPECT_FALSE(down("ab"));
    EXPECT_EQ(selection(memo), (Selection{5, -2}));
}

TEST_F(SearchTextTest, DownContinuesInLaterParagraphsAndNeverAcrossABreak)
{
    load("mov ax\r\nint 21h\r\nmov bx", 3);
    ASSERT_TRUE(down("mov"));
    EXPECT_EQ(selection(memo), (Selection{20, -3}));
    load("ab\r\ncd", 0);
    EXPECT_FALSE(down("b\r\nc"));
    EXPECT_FALSE(down("bc"));
    EXPECT_EQ(selection(memo), (Selection{0, 0}));
}

TEST_F(SearchTextTest, UpFindsTheOccurrenceTheCaretStandsIn)
{
    load("xx abc xx", 5);
    ASSERT_TRUE(up("abc"));
    EXPECT_EQ(selection(memo), (Selection{3, 3}));
    // The caret now stands at the start: the next upward search finds an earlier one only.
    EXPECT_FALSE(up("abc"));
    ASSERT_TRUE(up("xx"));
    EXPECT_EQ(selection(memo), (Selection{0, 2}));
}

TEST_F(SearchTextTest, UpTakesTheLastOverlappingOccurrenceBeforeTheCaret)
{
    load("AAA", 3);
    ASSERT_TRUE(up("AA"));
    EXPECT_EQ(selection(memo), (Selection{1, 2}));
    ASSERT_TRUE(up("AA"));
    EXPECT_EQ(selection(memo), (Selection{0, 2}));
    EXPECT_FALSE(up("AA"));
}

TEST_F(SearchTextTest, UpMovesToEarlierParagraphsWithoutLimit)
{
    load("a1 a2\r\nb\r\nc a3", 11);
    ASSERT_TRUE(up("a"));
    EXPECT_EQ(selection(memo), (Selection{3, 1}));
}

TEST_F(SearchTextTest, FromTheEndsIgnoresTheCaret)
{
    load("x1\r\nx2\r\nx3", 5);
    ASSERT_TRUE(SearchText(memo, "x", true, true, false, true));
    EXPECT_EQ(selection(memo), (Selection{1, -1}));
    ASSERT_TRUE(SearchText(memo, "x", false, true, false, true));
    EXPECT_EQ(selection(memo), (Selection{8, 1}));
}

TEST_F(SearchTextTest, CaseFoldsBothSidesThroughTheUpperCaseType)
{
    load("Mov AX, bx");
    EXPECT_FALSE(down("ax"));
    ASSERT_TRUE(down("ax", false));
    EXPECT_EQ(selection(memo), (Selection{6, -2}));

    // Cyrillic letters fold only with the locale rule (Windows-1251: 0xE0 -> 0xC0).
    load("\xC0\xC1 \xE0\xE1");
    EXPECT_FALSE(down("\xE0\xE1\xE0", false));
    memo.setUpperCaseType(smuAscii);
    ASSERT_TRUE(down("\xE0\xE1", false));
    EXPECT_EQ(selection(memo), (Selection{5, -2}));
    memo.setSelStart(0);
    memo.setUpperCaseType(smuAnsi);
    ASSERT_TRUE(down("\xE0\xE1", false));
    EXPECT_EQ(selection(memo), (Selection{2, -2}));
}

TEST_F(SearchTextTest, FoldedSearchSeesEditsMadeAfterAnEarlierSearch)
{
    load("one\r\ntwo");
    ASSERT_TRUE(down("TWO", false));
    memo.setSelStart(6);
    memo.setSelText("x");
    memo.setSelStart(0);
    EXPECT_FALSE(down("TWO", false));
    ASSERT_TRUE(down("TXWO", false));
    EXPECT_EQ(selection(memo), (Selection{9, -4}));
}

TEST_F(SearchTextTest, WholeWordNeedsSeparatorsOrParagraphEndsOnBothSides)
{
    load("mov eax,1\r\nAXIS db 0\r\nmov ax,bx\r\nax");
    ASSERT_TRUE(down("ax", true, true));
    EXPECT_EQ(selection(memo), (Selection{28, -2}));
    ASSERT_TRUE(down("ax", true, true));
    EXPECT_EQ(selection(memo), (Selection{35, -2}));
    EXPECT_FALSE(down("ax", true, true));
    memo.setSelStart(0);
    ASSERT_TRUE(down("AX", false, true));
    EXPECT_EQ(selection(memo), (Selection{28, -2}));
    // Without whole word the first is inside EAX.
    memo.setSelStart(0);
    ASSERT_TRUE(down("ax", true, false));
    EXPECT_EQ(selection(memo), (Selection{7, -2}));

    load("mov ax,bx");
    EXPECT_FALSE(down("a", true, true));
    memo.setSeparators(makeSeparators(" "));
    EXPECT_FALSE(down("ax", true, true)); // the comma is no separator now
}

TEST_F(SearchTextTest, WholeWordUpSkipsOccurrencesInsideWords)
{
    load("ax eax axis ax2", 15);
    ASSERT_TRUE(up("ax", true, true));
    EXPECT_EQ(selection(memo), (Selection{0, 2}));
}

TEST_F(SearchTextTest, TextsThatAreNeverFoundChangeNothing)
{
    load("abc\r\ndef", 2);
    memo.setSelLength(1);
    const Selection before = selection(memo);
    for (const std::string_view text :
         {std::string_view(""), std::string_view("b\0c", 3), std::string_view("abcdefghijklmnop")}) {
        EXPECT_FALSE(down(text));
        EXPECT_FALSE(up(text));
        EXPECT_FALSE(SearchText(memo, text, true, false, true, true));
        EXPECT_EQ(selection(memo), before);
    }
    EXPECT_EQ(wholeText(memo), "abc\r\ndef");
    checkStoreConsistency(memo.paragraphs());
}

TEST_F(SearchTextTest, CaretInsideABreakOrAtTheTextEnd)
{
    load("ab\r\nab", 3);
    ASSERT_TRUE(down("ab"));
    EXPECT_EQ(selection(memo), (Selection{6, -2}));
    memo.setSelStart(3);
    ASSERT_TRUE(up("ab"));
    EXPECT_EQ(selection(memo), (Selection{0, 2}));
    load("", 0);
    EXPECT_FALSE(down("a"));
    EXPECT_FALSE(up("a"));
}

} // namespace
