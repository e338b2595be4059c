#include "editor/core/highlight/HighlightTestSupport.h"

#include "editor/core/keyfiles/DefaultKeywordList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace velmora::core;
using velmora::core::testing::HighlightedMemo;
using velmora::core::testing::sameHighlighting;

namespace
{

constexpr std::uint8_t kFolded = 0;

void addKeyword(HighlightedMemo &m, const std::string &word, std::uint8_t options = kOptWholeWords,
                std::int32_t context = 7)
{
    m.engine.Keywords.AddKeyword(word, options, kStyleBold, context, 0, -1, 0xF5F5F5);
}

void addSpan(HighlightedMemo &m, const std::string &start, const std::string &stop, bool staysInParagraph = false,
             std::int32_t context = 2)
{
    m.engine.StartStopKeys.AddKey(start, stop, kFolded, kStyleItalic, context, 0, -1, 0x808080, staysInParagraph);
}

} // namespace

TEST(HighlightStartStop, SpanRunsOverParagraphsUntilItsStopText)
{
    HighlightedMemo m;
    addSpan(m, "/*", "*/");
    m.load("a /* b\r\nc d\r\ne */ f\r\ng");
    EXPECT_EQ(m.shape(0), "..ssss");
    EXPECT_EQ(m.shape(1), "sss");
    EXPECT_EQ(m.shape(2), "ssss..");
    EXPECT_EQ(m.shape(3), ".");
    EXPECT_EQ(m.runAt(1, 0).startLength, 2);
    EXPECT_EQ(m.memo.paragraphs().marks().lastStartStopPar(), 3);
}

TEST(HighlightStartStop, TypingAStartRedoesFollowingParagraphsUntilTheStateIsTheOld)
{
    HighlightedMemo m;
    addSpan(m, "/*", "*/");
    m.load("x\r\ny\r\nz */ w\r\nq");
    EXPECT_EQ(m.shape(1), ".");

    m.edit(0, 0, "/*");
    // The edited paragraph is redone at once, the next one marked for a full redo.
    EXPECT_EQ(m.shape(0), "sss");
    EXPECT_FALSE(m.par(1).flags & pfStartStopDone);
    m.engine.bringStartStopUpTo(2);
    EXPECT_EQ(m.shape(1), "s");
    EXPECT_EQ(m.shape(2), "ssss..");
    // Paragraph 2 ends in the state it ended in before, so paragraph 3 was left alone.
    EXPECT_TRUE(m.par(3).flags & pfKeywordsDone);

    m.edit(0, 2, "");
    m.engine.highlightAll();
    EXPECT_EQ(m.shape(0), ".");
    EXPECT_EQ(m.shape(1), ".");
    EXPECT_EQ(m.shape(2), "......") << "a lone */ opens nothing";
}

TEST(HighlightStartStop, UnclosedSpanMarksEveryParagraphInTurn)
{
    HighlightedMemo m;
    addSpan(m, "{", "}");
    m.load("a\r\nb\r\nc\r\nd");
    m.edit(0, 0, "{");
    m.engine.bringStartStopUpTo(1);
    EXPECT_FALSE(m.par(2).flags & pfStartStopDone);
    m.engine.highlightAll();
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(m.shape(i), "s") << i;
}

TEST(HighlightStartStop, StaysInParagraphEndsAnUnclosedSpanAtTheParagraphEnd)
{
    HighlightedMemo stays;
    addSpan(stays, "<", ">", true);
    stays.load("a < b\r\nc > d");
    EXPECT_EQ(stays.shape(0), "..sss");
    EXPECT_EQ(stays.shape(1), ".....");
    EXPECT_FALSE(isSpan(*stays.par(1).startRun()));

    HighlightedMemo crosses;
    addSpan(crosses, "<", ">");
    crosses.load("a < b\r\nc > d");
    EXPECT_EQ(crosses.shape(0), "..sss");
    EXPECT_EQ(crosses.shape(1), "sss..");
}

TEST(HighlightStartStop, EmptyStopTextNeverEndsTheSpanInsideItsParagraph)
{
    HighlightedMemo m;
    addSpan(m, ";", "", true);
    addSpan(m, "", "x"); // an empty start text matches nothing
    m.load("mov ax ; note\r\nnext");
    EXPECT_EQ(m.shape(0), ".......ssssss");
    EXPECT_EQ(m.shape(1), "....");
}

TEST(HighlightStartStop, AfterTheFirstStopTheTextContinuesInTheKeySharingItsStart)
{
    HighlightedMemo m;
    addSpan(m, "<", ">");
    addSpan(m, "<", "/>");
    m.load("<a>b/>c");
    EXPECT_EQ(m.entryAt(0, 0), -32768);
    EXPECT_EQ(m.entryAt(0, 2), -32768);
    EXPECT_EQ(m.entryAt(0, 3), -32767);
    EXPECT_EQ(m.entryAt(0, 5), -32767);
    EXPECT_EQ(m.entryAt(0, 6), HighlightedMemo::kPlain);
    EXPECT_EQ(m.runAt(0, 3).startLength, 0);
}

TEST(HighlightStartStop, WholeWordKeysNeedSeparatorsBesideTheirTexts)
{
    HighlightedMemo m;
    m.engine.StartStopKeys.AddKey("rem", "end", kOptWholeWords, 0, 2, 0, -1, 0, false);
    m.load("remark rem x blend end y");
    EXPECT_EQ(m.shape(0), ".......sssssssssssssss..");
}

TEST(HighlightKeywords, EarlierKeywordWinsAndWholeWordsDecideMovsb)
{
    HighlightedMemo partial;
    addKeyword(partial, "MOV", kFolded);
    addKeyword(partial, "MOVSB", kFolded);
    partial.load("movsb");
    EXPECT_EQ(partial.shape(0), "kkk..");
    EXPECT_EQ(partial.entryAt(0, 0), 0);

    HighlightedMemo whole;
    addKeyword(whole, "MOV");
    addKeyword(whole, "MOVSB");
    whole.load("movsb");
    EXPECT_EQ(whole.shape(0), "kkkkk");
    EXPECT_EQ(whole.entryAt(0, 0), 1);
}

TEST(HighlightKeywords, MatchesAtTheParagraphEdgesNeedNoSeparatorOutside)
{
    HighlightedMemo m;
    addKeyword(m, "INT");
    addKeyword(m, "Case", kOptWholeWords | kOptMatchCase);
    m.load("INT\r\nxINT INTx int\r\ncase Case");
    EXPECT_EQ(m.shape(0), "kkk");
    EXPECT_EQ(m.shape(1), "..........kkk");
    EXPECT_EQ(m.shape(2), ".....kkkk");
}

TEST(HighlightKeywords, SeventeenMatchesInOneParagraphAreAllApplied)
{
    HighlightedMemo m;
    addKeyword(m, "NOP");
    std::string line;
    for (int i = 0; i < 17; ++i)
        line += "nop ";
    m.load(line);
    int keywordRuns = 0;
    for (std::int32_t r = 0; r < m.par(0).runCount(); ++r)
        keywordRuns += isSpan(m.par(0).run(r)) ? 1 : 0;
    EXPECT_EQ(keywordRuns, 17);
    EXPECT_EQ(m.entryAt(0, 64), 0);
    EXPECT_EQ(m.entryAt(0, 67), HighlightedMemo::kPlain);
}

TEST(HighlightKeywords, SpansWithAContextNumberBlockKeywords)
{
    HighlightedMemo blocking;
    addSpan(blocking, "<", ">", false, 5);
    addKeyword(blocking, "MOV");
    blocking.load("mov <mov> mov");
    EXPECT_EQ(blocking.shape(0), "kkk.sssss.kkk");

    HighlightedMemo open;
    addSpan(open, "<", ">", false, 0);
    addKeyword(open, "MOV");
    open.load("mov <mov> mov");
    EXPECT_EQ(open.shape(0), "kkk.skkks.kkk") << "the keyword nests inside the span";
    EXPECT_EQ(open.runAt(0, 5).level, 1);
    // After the keyword the span is in force again, not the plain state.
    EXPECT_EQ(open.entryAt(0, 8), -32768);
}

TEST(HighlightKeywords, KeywordsWithoutContextNumberAreInert)
{
    HighlightedMemo m;
    m.engine.Keywords.Add("MOV");
    addKeyword(m, "", kFolded);
    m.load("mov ax");
    EXPECT_EQ(m.shape(0), "......");
}

TEST(HighlightKeywords, ApplyKeyWordsOffLeavesTheTextPlain)
{
    HighlightedMemo m;
    addKeyword(m, "MOV");
    m.engine.ApplyKeyWords = false;
    addSpan(m, "(", ")");
    m.engine.ApplyStartStopKeys = false;
    m.load("mov (x)");
    EXPECT_EQ(m.shape(0), ".......");
}

TEST(HighlightEngine, ContextReportsTheRunUnderAPosition)
{
    HighlightedMemo m;
    addKeyword(m, "MOV");
    m.load("x\r\n  mov ax");
    const auto context = m.engine.contextAt(5);
    ASSERT_TRUE(context.has_value());
    EXPECT_EQ(context->Context, 7);
    EXPECT_EQ(context->StartOffset, 5);
    EXPECT_EQ(context->StopOffset, 8);
    EXPECT_FALSE(m.engine.contextAt(8).has_value());
    EXPECT_FALSE(m.engine.contextAt(0).has_value());
    EXPECT_FALSE(m.engine.contextAt(m.memo.TextLength()).has_value());
}

TEST(HighlightEngine, ReApplyKeywordsDropsEveryRunAndRebuildsThem)
{
    HighlightedMemo m;
    addSpan(m, "/*", "*/");
    addKeyword(m, "MOV");
    m.load("mov /* a\r\nb */ mov");
    m.engine.ReApplyKeywords();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(m.par(i).runCount(), 0);
        EXPECT_FALSE(m.par(i).flags & (pfStartStopDone | pfKeywordsDone | pfLinesValid));
    }
    EXPECT_EQ(m.memo.paragraphs().marks().lastStartStopPar(), -1);
    m.engine.highlightAll();

    HighlightedMemo fresh;
    addSpan(fresh, "/*", "*/");
    addKeyword(fresh, "MOV");
    fresh.load("mov /* a\r\nb */ mov");
    EXPECT_TRUE(sameHighlighting(m, fresh));
    EXPECT_EQ(m.shape(1), "ssss.kkk");
}

TEST(HighlightEngine, EditsInsideAnUpdateAreHighlightedWhenFormatted)
{
    HighlightedMemo m;
    addKeyword(m, "MOV");
    m.load("x");
    m.memo.BeginUpdate();
    m.edit(0, 1, "mov");
    m.memo.EndUpdate();
    EXPECT_FALSE(m.par(0).flags & pfKeywordsDone);
    m.engine.highlightParagraph(0);
    EXPECT_EQ(m.shape(0), "kkk");
}

TEST(HighlightEngine, BinaryBytesAndLongParagraphsAreScannedSafely)
{
    HighlightedMemo m;
    fillDefaultKeywordList(m.engine.Keywords);
    addSpan(m, std::string(1, '\x01'), std::string(1, '\x02'));
    std::string binary;
    for (int i = 255; i >= 0; --i)
        binary += static_cast<char>(i);
    const std::string nul("mov\0ax\0mov", 10);
    m.loadParagraphs({nul, binary, "\x02" + std::string(300000, 'A') + " mov", binary + "\x01"});
    EXPECT_TRUE(m.runsWellFormed());
    EXPECT_EQ(m.shape(0), "..........") << "NUL is no separator, so no word stands alone";
    EXPECT_EQ(m.entryAt(1, 253), HighlightedMemo::kPlain);
    EXPECT_EQ(m.entryAt(1, 254), -32768) << "code 1 opens the span, which runs on to the next code 2";
    EXPECT_EQ(m.entryAt(2, 0), -32768);
    EXPECT_EQ(m.shape(2).substr(300001), ".kkk");
    EXPECT_EQ(m.entryAt(3, 256), -32768);
}

TEST(HighlightEngine, FoldingAndSeparatorChangesRehighlight)
{
    HighlightedMemo m;
    addKeyword(m, "\xCC\xCE\xC2"); // upper-case Cyrillic, folded matching
    m.engine.StartStopKeys.AddKey("go", "", kOptWholeWords, 0, 2, 0, -1, 0, true);
    m.load("\xEC\xEE\xE2 x-go");
    EXPECT_EQ(m.shape(0), "........") << "ASCII folding leaves Cyrillic letters alone";
    m.engine.setUpperCaseType(smuAnsi);
    m.engine.highlightAll();
    EXPECT_EQ(m.shape(0), "kkk.....");

    SeparatorSet separators = m.memo.Separators();
    separators.set('-');
    m.engine.setSeparators(separators);
    m.engine.highlightAll();
    EXPECT_EQ(m.shape(0), "kkk...ss") << "a whole-word start after the new separator";
}

TEST(HighlightEngine, CollapseHandlerIsLinkedAndUnlinked)
{
    struct Handler : IsmCollapseHandler {
        std::vector<bool> calls;
        void LinkControl(TSourceHighlightEngine &, bool linked) override { calls.push_back(linked); }
    } first, second;
    {
        HighlightedMemo m;
        m.engine.setCollapseHandler(&first);
        m.engine.setCollapseHandler(&first);
        m.engine.setCollapseHandler(&second);
    }
    EXPECT_EQ(first.calls, (std::vector<bool>{true, false}));
    EXPECT_EQ(second.calls, (std::vector<bool>{true, false}));
}

TEST(HighlightStartStop, SpansOfKeysThatNoLongerExistAreLeftAlone)
{
    HighlightedMemo m;
    addSpan(m, "(", ")");
    addSpan(m, "{", "}");
    m.load("{ a\r\nb } c");
    m.engine.StartStopKeys.ClearKeys();
    addSpan(m, "(", ")");
    m.edit(m.memo.TextLength(), 0, " (d)");
    m.engine.highlightAll();
    EXPECT_TRUE(m.runsWellFormed());
    EXPECT_EQ(m.entryAt(1, 0), -32767) << "the stale span goes on: no key can end it";
    m.engine.ReApplyKeywords();
    m.engine.highlightAll();
    EXPECT_EQ(m.shape(1), "......sss");
}

TEST(HighlightKeywords, ParagraphsWithEqualRunsShareThemUntilOneIsEdited)
{
    HighlightedMemo m;
    addKeyword(m, "MOV");
    m.load("mov ax\r\nmov ax\r\nmov bx");
    EXPECT_TRUE(m.par(0).runArray.sharesWith(m.par(1).runArray));
    m.edit(0, 0, "x"); // "xmov ax": no keyword left in the first paragraph
    m.engine.highlightAll();
    EXPECT_EQ(m.shape(0), ".......");
    EXPECT_EQ(m.shape(1), "kkk...");
    EXPECT_EQ(m.shape(2), "kkk...");
}
