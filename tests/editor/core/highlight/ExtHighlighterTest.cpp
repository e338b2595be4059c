#include "editor/core/highlight/HighlightTestSupport.h"

#include "editor/core/text/EditorErrors.h"
#include "editor/core/highlight/ExtHighlighter.h"
#include "editor/core/highlight/NumberHighlighter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace velmora::core;
using velmora::core::testing::HighlightedMemo;

namespace
{

struct ExtEditor {
    TCustomExtHighlighter ext;
    HighlightedMemo m;

    ExtEditor() { m.engine.setHighlighter(&ext); }
    int addKeyword(const std::string &word, std::uint8_t options, std::int32_t scope, std::int32_t priority)
    {
        const int i = ext.Keywords().AddKeyword(word, options, kStyleBold, 7, 0, -1, 0x10);
        ext.Keywords().SetScopeAndPriority(i, scope, priority);
        return i;
    }
    int addSpan(const std::string &start, const std::string &stop, std::uint8_t flags, std::int32_t context,
                std::int32_t priority, std::int32_t scope = 0, std::uint8_t options = 0)
    {
        return ext.StartStopKeys().AddExtKey(start, stop, options, 0, context, 0, -1, 0x20, flags, scope, priority);
    }
    int level(std::int32_t p, std::int32_t offset) { return runLevel(m.runAt(p, offset)); }
};

} // namespace

TEST(ExtHighlighter, ScopeAndPriorityDecideWhereKeywordsApply)
{
    ExtEditor e;
    e.addSpan("(", ")", 0, 4, 1);
    e.addKeyword("low", kOptWholeWords, 0, 0);
    e.addKeyword("high", kOptWholeWords, 0, 2);
    e.addKeyword("inner", kOptWholeWords, 4, 0);
    e.addKeyword("top", kOptWholeWords, 9, kTopPriority);
    e.m.load("low high inner top (low high inner top)");
    EXPECT_EQ(e.m.shape(0), "kkk.kkkk.......kkk.ssssskkkkskkkkksssss");
    EXPECT_EQ(e.level(0, 25), 1) << "top) is no whole word: ) is not a separator here";
    EXPECT_EQ(e.m.entryAt(0, 25), 1) << "entries number from the control's keyword count";
}

TEST(ExtHighlighter, PositionalOptionsOfKeywords)
{
    ExtEditor e;
    e.addKeyword("start", kOptParagraphStart, 0, 0);
    e.addKeyword("blank", kOptFirstNonBlank, 0, 0);
    e.addKeyword("first", kOptFirstWord, 0, 0);
    e.m.load("start start\r\n \tblank blank\r\n,.first first\r\n x start");
    EXPECT_EQ(e.m.shape(0), "kkkkk......");
    EXPECT_EQ(e.m.shape(1), "..kkkkk......");
    EXPECT_EQ(e.m.shape(2), "..kkkkk......");
    EXPECT_EQ(e.m.shape(3), "........");
}

TEST(ExtHighlighter, OverlappingKeywordsNestOnlyWhereAdmitted)
{
    ExtEditor e;
    e.addKeyword("abcd", 0, 0, 0);
    e.addKeyword("bc", 0, 0, 0);
    e.m.load("abcd bc");
    EXPECT_EQ(e.m.shape(0), "kkkk.kk");
    EXPECT_EQ(e.m.entryAt(0, 1), 0) << "inside a keyword only priority 32767 applies";

    ExtEditor top;
    top.addKeyword("abcd", 0, 0, 0);
    top.addKeyword("bc", 0, 0, kTopPriority);
    top.m.load("abcd");
    EXPECT_EQ(top.m.entryAt(0, 1), 1);
    EXPECT_EQ(top.level(0, 1), 1);
    EXPECT_EQ(top.m.entryAt(0, 3), 0) << "the outer keyword is in force again after the inner one";
}

TEST(ExtHighlighter, SpansNestEndAtDelimitersAndCountCollapsibleDepth)
{
    ExtEditor e;
    // Only priority 32767 lets a key open inside its own span (its priority is not above itself).
    e.addSpan("[", "]", kKeyCollapsible, 5, kTopPriority);
    e.addSpan("@", "", kKeyEndAtDelimiter, 8, kTopPriority);
    e.m.load("a [b [c] @d e] f");
    EXPECT_EQ(e.level(0, 3), 0);
    EXPECT_EQ(e.level(0, 6), 1);
    EXPECT_EQ(e.m.runAt(0, 6).collapseDepth, 2);
    EXPECT_EQ(e.m.runAt(0, 5).collapseStart, 1);
    EXPECT_EQ(e.level(0, 8), 0) << "the outer span is in force again after ]";
    EXPECT_EQ(e.m.runAt(0, 8).collapseDepth, 1);
    EXPECT_EQ(e.m.entryAt(0, 10), -32768 + 1) << "@ span up to the blank";
    EXPECT_EQ(e.m.entryAt(0, 11), -32768);
    EXPECT_EQ(e.m.entryAt(0, 15), HighlightedMemo::kPlain);
}

TEST(ExtHighlighter, EqualStartAndStopTextsCloseRatherThanNest)
{
    ExtEditor e;
    e.addSpan("\"", "\"", kKeyStaysInParagraph, 3, 1);
    e.m.load("x \"a\" y \"b");
    EXPECT_EQ(e.m.shape(0), "..sss...ss");
    EXPECT_EQ(e.level(0, 3), 0);
}

TEST(ExtHighlighter, SixteenNestedSpansAreTheLimit)
{
    ExtEditor e;
    TNumberHighlighter numbers;
    numbers.setPriority(1);
    e.ext.setChainedHighlighter(&numbers);
    e.addSpan("(", ")", 0, 4, kTopPriority);
    const std::string text = std::string(20, '(') + " 7 " + std::string(20, ')');
    e.m.load(text);
    EXPECT_TRUE(e.m.runsWellFormed());
    EXPECT_EQ(e.level(0, 15), 15);
    EXPECT_EQ(e.level(0, 19), 15) << "no seventeenth span";
    EXPECT_EQ(e.m.entryAt(0, 21), -32768) << "no number at level 15";
    // The 16 closing brackets unwind the 16 spans; the rest are plain.
    EXPECT_EQ(e.level(0, 23 + 15), 0);
    EXPECT_EQ(e.m.entryAt(0, 23 + 16), HighlightedMemo::kPlain);
}

TEST(ExtHighlighter, ContinuationNeedsTheSameScopeAndPriority)
{
    ExtEditor same;
    same.addSpan("<", ">", 0, 2, 1);
    same.addSpan("<", "/>", 0, 2, 1);
    same.m.load("<a>b/>c");
    EXPECT_EQ(same.m.entryAt(0, 3), -32768 + 1);
    EXPECT_EQ(same.m.entryAt(0, 6), HighlightedMemo::kPlain);

    ExtEditor other;
    other.addSpan("<", ">", 0, 2, 1);
    other.addSpan("<", "/>", 0, 2, 5);
    other.m.load("<a>b/>c");
    EXPECT_EQ(other.m.entryAt(0, 3), HighlightedMemo::kPlain);
}

TEST(ExtHighlighter, MatchEventsMayRefuse)
{
    ExtEditor e;
    e.addKeyword("mov", kOptWholeWords, 0, 0);
    e.addSpan("(", ")", 0, 4, 1);
    std::vector<std::int32_t> keywordAt;
    e.ext.OnKeywordMatch = [&](TCustomExtHighlighter &, std::int32_t, std::int32_t start, std::int32_t, int,
                               bool &accept) {
        keywordAt.push_back(start);
        accept = start != 0;
    };
    e.ext.OnStartKeyMatch = [](TCustomExtHighlighter &, std::int32_t, std::int32_t at, bool &accept, int) {
        accept = at > 5;
    };
    e.m.load("mov (x) mov (y)");
    EXPECT_EQ(e.m.shape(0), "........kkk.sss");
    EXPECT_EQ(keywordAt, (std::vector<std::int32_t>{0, 8}));
}

TEST(ExtHighlighter, ChainNumbersEntriesAfterItsOwnAndForgetsDestroyedLinks)
{
    ExtEditor e;
    e.addKeyword("mov", kOptWholeWords, 0, 0);
    e.addKeyword("add", kOptWholeWords, 0, 0);
    e.m.engine.Keywords.AddKeyword("int", kOptWholeWords, 0, 7, 0, -1, 0);
    {
        TNumberHighlighter numbers;
        e.ext.setChainedHighlighter(&numbers);
        EXPECT_THROW(numbers.setChainedHighlighter(&e.ext), EditorError);
        e.m.load("mov 5 int");
        EXPECT_EQ(e.m.entryAt(0, 4), 1 + 2) << "control keyword count + own keyword count";
        EXPECT_EQ(e.m.entryAt(0, 6), 0) << "the control's own keyword";
    }
    EXPECT_EQ(e.ext.ChainedHighlighter(), nullptr);
    e.m.engine.ReApplyKeywords();
    e.m.engine.highlightAll();
    EXPECT_EQ(e.m.entryAt(0, 4), HighlightedMemo::kPlain);

    e.ext.setEnabled(false);
    e.m.engine.ReApplyKeywords();
    e.m.engine.highlightAll();
    EXPECT_EQ(e.m.shape(0), "......kkk");
}

TEST(ExtHighlighter, AdjustScanStartMovesToTheFirstItem)
{
    ExtEditor e;
    e.m.load("  \tmov ax");
    THighlightScan scan{e.m.engine, 0, 1, 9};
    EXPECT_FALSE(e.ext.AdjustScanStart(scan, 0)) << "no positional key";
    e.addKeyword("mov", kOptFirstNonBlank, 0, 0);
    EXPECT_TRUE(e.ext.AdjustScanStart(scan, 0));
    EXPECT_EQ(scan.pos, 3);
    EXPECT_FALSE(e.ext.AdjustScanStart(scan, 0));
    scan.pos = 9;
    EXPECT_FALSE(e.ext.AdjustScanStart(scan, 0));

    ExtEditor spans;
    spans.addSpan("#", "", kKeyStaysInParagraph, 6, 1, 0, kOptFirstNonBlank);
    spans.m.load("  # x");
    THighlightScan before{spans.m.engine, 0, 1, 5};
    EXPECT_FALSE(spans.ext.AdjustScanStart(before, 0));
    EXPECT_EQ(before.pos, 2) << "moved to the run that opens the positional span";
}

TEST(ExtHighlighter, TextFormCarriesScopePriorityAndFlags)
{
    TExtKeywordList keywords;
    keywords.LoadFromNameValues({"MOV=2,1,7,0,-1,255,4,9,", "ADD=2,1,7,0,-1,255,", "JMP=0,0,1,0,-1,0,3,"});
    EXPECT_EQ(keywords.Item(0).Scope, 4);
    EXPECT_EQ(keywords.Item(0).Priority, 9);
    EXPECT_EQ(keywords.Item(1).Scope, 0);
    EXPECT_EQ(keywords.Item(2).Scope, 3);
    EXPECT_EQ(keywords.Item(2).Priority, 0);

    TExtStartStopList keys;
    keys.LoadFromNameValues({"(|)=0,0,4,0,-1,0,0,2,3,6,", "[|]=0,0,5,0,-1,0,1,", "@|=0,0,8,0,-1,0,6,1,1,"});
    EXPECT_EQ(keys.Item(0).Scope, 2);
    EXPECT_EQ(keys.Item(0).Priority, 3);
    EXPECT_EQ(keys.Item(0).KeyFlags, kKeyEndAtDelimiter | kKeyCollapsible);
    EXPECT_EQ(keys.Item(1).KeyFlags, kKeyStaysInParagraph);
    EXPECT_EQ(keys.Item(2).KeyFlags, kKeyEndAtDelimiter | kKeyCollapsible) << "saved KeyFlags survive a reload";

    std::vector<std::string> saved;
    keys.SaveToNameValues(saved);
    TExtStartStopList reloaded;
    reloaded.LoadFromNameValues(saved);
    for (int i = 0; i < keys.Count(); ++i) {
        EXPECT_EQ(reloaded.Item(i).KeyFlags, keys.Item(i).KeyFlags) << i;
        EXPECT_EQ(reloaded.Item(i).Scope, keys.Item(i).Scope) << i;
        EXPECT_EQ(reloaded.Item(i).Priority, keys.Item(i).Priority) << i;
    }
}
