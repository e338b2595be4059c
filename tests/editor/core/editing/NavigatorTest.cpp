// Navigators: coordinates, moves by word, line and run, text copies and their life cycle.
#include "editor/core/store/StoreTestSupport.h"
#include "editor/core/text/EditorErrors.h"
#include "editor/core/editing/StoreConsistency.h"

#include <gtest/gtest.h>

using namespace velmora::core;
using namespace velmora::core::testing;

namespace
{

class NotAnEditor : public TComponent
{
};

std::string copied(TSourceNavigator &nav, std::int32_t n)
{
    std::string buffer(static_cast<std::size_t>(n) + 1, '?');
    nav.copyText(buffer.data(), n);
    EXPECT_EQ(buffer.back(), '\0');
    buffer.pop_back();
    return buffer;
}

// Gives paragraph i lines starting at the given offsets and keeps the store's line totals right.
void layOut(TSourceMemoCore &memo, std::int32_t i, std::vector<std::int32_t> starts)
{
    TParagraphsList &s = memo.paragraphs();
    ParInfo *p = s.par(i);
    const std::int32_t added = static_cast<std::int32_t>(starts.size()) - p->lineCount();
    TLinesList lines;
    lines.setParagraph(p);
    lines.setCount(static_cast<std::int32_t>(starts.size()));
    starts.push_back(p->length());
    for (std::size_t l = 0; l + 1 < starts.size(); ++l) {
        LineInfo line = compactLine(0, 10);
        line.lineStart = starts[l];
        line.nextLineStart = line.justifyFrom = starts[l + 1];
        line.startRunIndex = static_cast<std::int32_t>(l);
        lines.put(static_cast<std::int32_t>(l), line);
    }
    s.marks().addLines(added, added);
    s.shiftFirstLines(i + 1, added);
}

} // namespace

TEST(Navigator, PositionsAroundAParagraphBreak)
{
    TSourceMemoCore memo;
    setText(memo, "ab\r\ncd");
    TSourceNavigator nav(&memo);
    nav.setPos(2);
    EXPECT_EQ(nav.ParNumber(), 0);
    EXPECT_EQ(nav.ParOffset(), 2);
    EXPECT_EQ(nav.character(), 13);
    nav.setPos(3);
    EXPECT_EQ(nav.ParNumber(), 0);
    EXPECT_EQ(nav.ParOffset(), 3);
    EXPECT_EQ(nav.character(), 10);
    nav.setPos(4);
    EXPECT_EQ(nav.ParNumber(), 1);
    EXPECT_EQ(nav.ParOffset(), 0);
    EXPECT_EQ(nav.character(), 'c');
    nav.setPos(1); // backwards: resolved afresh
    EXPECT_EQ(nav.ParNumber(), 0);
    nav.setPos(99);
    EXPECT_EQ(nav.Pos(), 6); // a position never leaves the text
}

TEST(Navigator, CopyTextWritesBreaksAsCrLfFromWhereverItStands)
{
    TSourceMemoCore memo;
    setText(memo, "ab\r\ncd\r\n\r\ne");
    TSourceNavigator nav(&memo);
    nav.setPos(2);
    EXPECT_EQ(copied(nav, 4), "\r\ncd");
    nav.setPos(3);
    EXPECT_EQ(copied(nav, 3), "\ncd");
    nav.setPos(0);
    EXPECT_EQ(copied(nav, 11), "ab\r\ncd\r\n\r\ne");
    EXPECT_EQ(copied(nav, 0), "");
}

TEST(Navigator, SetParOffsetStopsAtTheParagraphEndAndSetParNumberChecksTheIndex)
{
    TSourceMemoCore memo;
    setText(memo, "abc\r\nde");
    TSourceNavigator nav(&memo);
    nav.setParNumber(1);
    EXPECT_EQ(nav.Pos(), 5);
    nav.setParOffset(40);
    EXPECT_EQ(nav.ParOffset(), 2);
    EXPECT_EQ(nav.Pos(), 7);
    nav.setParOffset(-3);
    EXPECT_EQ(nav.ParOffset(), 0);
    EXPECT_THROW(nav.setParNumber(2), ERangeError);
    EXPECT_THROW(nav.setParNumber(-1), ERangeError);
}

TEST(Navigator, WordMovesStopAtWordStartsAndJumpBreaks)
{
    TSourceMemoCore memo;
    setText(memo, "mov ax, bx\r\nint 21h");
    const SeparatorSet &sep = memo.Separators();
    TSourceNavigator nav(&memo);
    nav.setPos(10); // end of the first paragraph
    nav.wordRight(sep);
    EXPECT_EQ(nav.Pos(), 12);
    nav.wordRight(sep);
    EXPECT_EQ(nav.Pos(), 16); // "21h"
    nav.setPos(0);
    nav.wordRight(sep);
    EXPECT_EQ(nav.Pos(), 4);
    nav.wordRight(sep);
    EXPECT_EQ(nav.Pos(), 8); // over ", "
    nav.wordLeft(sep);
    EXPECT_EQ(nav.Pos(), 4);
    nav.wordLeft(sep);
    EXPECT_EQ(nav.Pos(), 0);
    nav.wordLeft(sep);
    EXPECT_EQ(nav.Pos(), 0);
    nav.setPos(12);
    nav.wordLeft(sep); // back over the break to the last word of the paragraph before
    EXPECT_EQ(nav.Pos(), 8);
    nav.setPos(memo.TextLength());
    nav.wordRight(sep);
    EXPECT_EQ(nav.Pos(), memo.TextLength());

    nav.setPos(5); // inside "ax"
    nav.toWordEndInParagraph(sep);
    EXPECT_EQ(nav.ParOffset(), 6);
    nav.toWordStartInParagraph(sep);
    EXPECT_EQ(nav.ParOffset(), 4);
    nav.setPos(2);
    nav.toWordStartInParagraph(sep);
    EXPECT_EQ(nav.ParOffset(), 0);
}

TEST(Navigator, DisplayLinesInsideLaidOutParagraphs)
{
    TSourceMemoCore memo;
    setText(memo, "first\r\naaaa bbbb cccc\r\nlast");
    layOut(memo, 1, {0, 5, 10});
    ASSERT_NO_THROW(checkStoreConsistency(memo.paragraphs()));
    TSourceNavigator nav(&memo);
    nav.setPos(7 + 5); // exactly at the wrap point: on the later line
    EXPECT_EQ(nav.ParLine(), 1);
    EXPECT_EQ(nav.LineOffset(), 0);
    EXPECT_EQ(nav.LineNumber(), 2);
    EXPECT_EQ(nav.DisplayLine(), 2);
    EXPECT_EQ(nav.lineText(), "bbbb ");
    nav.setParOffset(5); // set by offset: the earlier line
    EXPECT_EQ(nav.ParLine(), 0);
    nav.setPos(nav.Pos() + 6); // moving forward keeps the line up to date
    EXPECT_EQ(nav.ParLine(), 2);
    nav.setLineOffset(99);
    EXPECT_EQ(nav.ParOffset(), 14);

    nav.setLineNumber(3);
    EXPECT_EQ(nav.ParNumber(), 1);
    EXPECT_EQ(nav.ParOffset(), 10);
    EXPECT_EQ(nav.runIndex(), 2); // the line's start run index
    nav.setLineNumber(99);
    EXPECT_EQ(nav.ParNumber(), 2);
    nav.setDisplayLine(2);
    EXPECT_EQ(nav.ParOffset(), 5);
    nav.setDisplayLine(0);
    EXPECT_EQ(nav.Pos(), 0);

    memo.setWordWrap(false); // line numbers are paragraph numbers now
    nav.setPos(7 + 12);
    EXPECT_EQ(nav.LineNumber(), 1);
    nav.setLineNumber(2);
    EXPECT_EQ(nav.Pos(), 23);
}

TEST(Navigator, HiddenParagraphsReportTheirFirstLine)
{
    TSourceMemoCore memo;
    setText(memo, "a\r\nb\r\nc\r\nd");
    TParagraphsList &s = memo.paragraphs();
    s.par(1)->flags |= pfHidden; // folded away by a collapse handler
    s.shiftFirstLines(2, -1);
    s.marks().addLines(0, -1);
    ASSERT_NO_THROW(checkStoreConsistency(s));
    TSourceNavigator nav(&memo);
    nav.setPos(3);
    EXPECT_FALSE(nav.visible());
    EXPECT_EQ(nav.DisplayLine(), 1);
    nav.setPos(6);
    EXPECT_EQ(nav.DisplayLine(), 1);
    nav.setDisplayLine(1); // the visible paragraph after the hidden one
    EXPECT_EQ(nav.ParNumber(), 2);
    nav.setDisplayLine(2);
    EXPECT_EQ(nav.ParNumber(), 3);
}

TEST(Navigator, RunWalkingInsertionAndDeletion)
{
    TSourceMemoCore memo;
    setText(memo, "abcdef\r\nxyz\r\n\r\nuvw");
    TSourceNavigator nav(&memo);
    RunInfo run;
    run.style = 0x81;
    nav.setPos(2);
    nav.insertRun(run);
    EXPECT_EQ(nav.runIndex(), 1);
    EXPECT_EQ(nav.currentRun().style, 0x81);
    nav.setPos(16);
    nav.insertRun(run);
    EXPECT_EQ(memo.paragraphs().par(3)->run(0).position, 1);

    nav.setPos(9);
    EXPECT_EQ(nav.currentRun().style, 0); // no run in this paragraph: its start run record
    EXPECT_TRUE(nav.nextRunStart(memo.TextLength()));
    EXPECT_EQ(nav.Pos(), 16);
    EXPECT_TRUE(nav.nextRunStart(memo.TextLength())); // a run starting here is found again
    nav.skipRunsHere();
    EXPECT_FALSE(nav.nextRunStart(memo.TextLength()));
    EXPECT_EQ(nav.Pos(), 16);
    EXPECT_TRUE(nav.previousRunStart(0)); // the skipped run lies before the run index now
    EXPECT_EQ(nav.Pos(), 16);
    EXPECT_TRUE(nav.previousRunStart(0));
    EXPECT_EQ(nav.Pos(), 2);
    EXPECT_FALSE(nav.previousRunStart(0));
    EXPECT_EQ(nav.Pos(), 2);
    nav.setPos(9);
    EXPECT_FALSE(nav.previousRunStart(5)); // the run at 2 lies before the limit
    EXPECT_EQ(nav.Pos(), 9);
    EXPECT_FALSE(nav.nextRunStart(15));
    EXPECT_EQ(nav.Pos(), 9);

    nav.setPos(2);
    nav.skipRunsHere();
    EXPECT_EQ(nav.runIndex(), 1);
    nav.setPos(3);
    try {
        nav.deleteRun();
        ADD_FAILURE() << "no exception";
    } catch (const EditorError &e) {
        EXPECT_STREQ(e.what(), "Internal SourceMemo error");
    }
    EXPECT_EQ(memo.paragraphs().par(0)->runCount(), 1);
    nav.setPos(2);
    nav.deleteRun();
    EXPECT_EQ(memo.paragraphs().par(0)->runCount(), 0);
}

TEST(Navigator, StyleByteFollowsInlineCodesOnlyUnderStaticFormat)
{
    TSourceMemoCore memo;
    setText(memo, "a\x02"
                  "bc\x02"
                  "d");
    TSourceNavigator nav(&memo);
    nav.setPos(3);
    EXPECT_EQ(nav.styleByte(), 0);
    memo.paragraphs().StaticFormat = true;
    EXPECT_EQ(nav.styleByte(), 0x01);
    nav.setPos(5);
    EXPECT_EQ(nav.styleByte(), 0);
}

TEST(Navigator, AttachmentDeletionCallbackAndWrongOwner)
{
    NotAnEditor other;
    try {
        TSourceNavigator bad(&other);
        ADD_FAILURE() << "no exception";
    } catch (const EditorError &e) {
        EXPECT_STREQ(e.what(), "Internal error: component is not a TSourceMemo");
    }
    int destroyed = 0;
    {
        TSourceMemoCore memo;
        const std::size_t own = memo.navigators().size();
        auto *nav = new TSourceNavigator(&memo);
        nav->onDestroy = [&destroyed](TSourceNavigator &) { ++destroyed; };
        EXPECT_EQ(memo.navigators().size(), own + 1);
        TSourceNavigator free;
        EXPECT_EQ(free.memo(), nullptr);
        free.setMemo(&memo);
        EXPECT_EQ(memo.navigators().size(), own + 2);
        free.setMemo(nullptr);
        EXPECT_EQ(memo.navigators().size(), own + 1);
        TSourceNavigator copy(&memo);
        nav->setPos(0);
        copy.assign(*nav);
        EXPECT_EQ(copy.Pos(), 0);
        EXPECT_EQ(copy.onDestroy, nullptr);
    } // the editor frees the navigator still attached to it
    EXPECT_EQ(destroyed, 1);
}

TEST(Navigator, AttachedNavigatorsBeforeAnEditFollowTheirParagraphWhenItsRecordMoves)
{
    // A full block of paragraphs: an Enter near its end splits it, moving records before the
    // edit into a new block; erasing the break again merges them back.
    TSourceMemoCore memo;
    const std::int32_t perBlock = memo.paragraphs().itemsPerBlock();
    std::string text;
    for (std::int32_t i = 0; i < perBlock + 50; ++i)
        text += "p" + std::to_string(i) + "\r\n";
    setText(memo, text);
    TSourceNavigator nav(&memo);
    const std::int32_t watched = perBlock - 100;
    nav.setPos(memo.paragraphs().startOf(watched) + 1);
    ASSERT_EQ(nav.ParNumber(), watched);
    const std::string expected = std::to_string(watched);

    for (const char *edit : {"\r\n", ""}) {
        if (*edit) {
            memo.setSelStart(memo.paragraphs().startOf(perBlock - 10));
        } else {
            memo.setSelStart(memo.paragraphs().startOf(perBlock - 10) - 2);
            memo.setSelLength(2);
        }
        memo.SetSelTextBuf(edit);
        EXPECT_EQ(nav.ParNumber(), watched);
        EXPECT_EQ(nav.paragraph(), memo.paragraphs().par(watched));
        EXPECT_EQ(nav.character(), static_cast<unsigned char>(expected[0]));
    }
}
