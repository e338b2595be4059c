// The caret moves by key without a window: characters and words, display lines keeping the
// pixel x, line and text ends, pages with and without the view, each with and without
// extending the selection, and column blocks from the keyboard.
#include "KeyCommandsRig.h"

#include <gtest/gtest.h>

namespace velmora::core::testing
{
namespace
{

std::string numberedLines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += (i ? "\r\n" : "") + std::string("line ") + std::to_string(i);
    return text;
}

TEST(KeyCaretMovesTest, CharactersStepOverBreaksAndOverStyleCodesWhenPassingOverThem)
{
    KeyRig rig("ab\r\ncd");
    rig.caretTo(2);
    rig.move(TCaretMove::CharRight);
    EXPECT_EQ(rig.caret(), 4) << "from a paragraph end to the next paragraph's start";
    rig.move(TCaretMove::CharLeft);
    EXPECT_EQ(rig.caret(), 2);
    rig.caretTo(0);
    rig.move(TCaretMove::CharLeft);
    EXPECT_EQ(rig.caret(), 0);
    rig.caretTo(6);
    rig.move(TCaretMove::CharRight);
    EXPECT_EQ(rig.caret(), 6);

    rig.memo.setStaticFormat(true);
    rig.setText("a\x02"
                "bc");
    rig.caretTo(1);
    rig.move(TCaretMove::CharRight);
    EXPECT_EQ(rig.caretOffset(), 3) << "the code and the character after it";
    rig.move(TCaretMove::CharLeft);
    rig.move(TCaretMove::CharLeft);
    EXPECT_EQ(rig.caretOffset(), 0);

    rig.keys.passOverCodes = false;
    rig.caretTo(1);
    rig.move(TCaretMove::CharRight);
    EXPECT_EQ(rig.caretOffset(), 2);
}

TEST(KeyCaretMovesTest, RightAtALineEndEntersVirtualSpaceWithKeepColumnPosWithoutWrapCaret)
{
    KeyRig rig("abc\r\ndef");
    rig.option(smoKeepColumnPos);
    rig.caretTo(3);
    rig.move(TCaretMove::CharRight);
    EXPECT_EQ(rig.caret(), 5) << "smoWrapCaret still wraps";

    rig.option(smoWrapCaret, false);
    rig.caretTo(3);
    rig.move(TCaretMove::CharRight);
    rig.move(TCaretMove::CharRight);
    EXPECT_EQ(rig.caret(), 3);
    EXPECT_EQ(rig.memo.overshoot(), 2);
    EXPECT_EQ(rig.keys.caretColumn(), 5);
    rig.move(TCaretMove::CharLeft);
    EXPECT_EQ(rig.memo.overshoot(), 1);
    rig.move(TCaretMove::LineStart);
    EXPECT_EQ(rig.caret(), 0);
    EXPECT_EQ(rig.memo.overshoot(), 0);
}

TEST(KeyCaretMovesTest, WordsLeftAndRight)
{
    KeyRig rig("mov ax, bx");
    rig.move(TCaretMove::WordRight);
    EXPECT_EQ(rig.caret(), 4);
    rig.caretTo(6);
    rig.move(TCaretMove::WordLeft);
    EXPECT_EQ(rig.caret(), 4);
}

TEST(KeyCaretMovesTest, UpAndDownKeepThePixelXUntilAHorizontalMove)
{
    KeyRig rig("abcdefgh\r\nab\r\nabcdefgh");
    rig.caretTo(6);
    rig.move(TCaretMove::LineDown);
    EXPECT_EQ(rig.caretPar(), 1);
    EXPECT_EQ(rig.caretOffset(), 2) << "the short line's end";
    rig.move(TCaretMove::LineDown);
    EXPECT_EQ(rig.caretPar(), 2);
    EXPECT_EQ(rig.caretOffset(), 6) << "back at the remembered x";
    rig.move(TCaretMove::LineDown);
    EXPECT_EQ(rig.caretPar(), 2) << "the last line stays";

    rig.move(TCaretMove::CharLeft);
    rig.move(TCaretMove::LineUp);
    rig.move(TCaretMove::LineUp);
    EXPECT_EQ(rig.caretPar(), 0);
    EXPECT_EQ(rig.caretOffset(), 5) << "a horizontal move takes a new x";

    rig.type("-");
    rig.move(TCaretMove::LineDown);
    rig.move(TCaretMove::LineDown);
    EXPECT_EQ(rig.caretOffset(), 6) << "typing also takes a new x";
}

TEST(KeyCaretMovesTest, UpAndDownWithKeepColumnPosLeaveTheCaretInVirtualSpace)
{
    KeyRig rig("abcdefgh\r\nab");
    rig.option(smoKeepColumnPos);
    rig.caretTo(6);
    rig.move(TCaretMove::LineDown);
    EXPECT_EQ(rig.caretOffset(), 2);
    EXPECT_EQ(rig.memo.overshoot(), 4);
    EXPECT_EQ(rig.memo.SelCol(), 6);
    rig.move(TCaretMove::LineUp);
    EXPECT_EQ(rig.caret(), 6);
    EXPECT_EQ(rig.memo.overshoot(), 0);
}

TEST(KeyCaretMovesTest, LineAndTextEnds)
{
    KeyRig rig("first line\r\nsecond");
    rig.caretTo(3);
    rig.move(TCaretMove::LineEnd);
    EXPECT_EQ(rig.caret(), 10);
    rig.move(TCaretMove::LineStart);
    EXPECT_EQ(rig.caret(), 0);
    rig.move(TCaretMove::TextEnd);
    EXPECT_EQ(rig.caret(), 18);
    rig.move(TCaretMove::TextStart);
    EXPECT_EQ(rig.caret(), 0);
}

TEST(KeyCaretMovesTest, TheEndOfAWrappedLineStaysOnItsLine)
{
    KeyRig rig("alpha beta gamma delta epsilon", true);
    rig.layout.setColumnWrap(-70);
    const Breaks lines = rig.breaks(0);
    ASSERT_GE(lines.size(), 3u);
    rig.move(TCaretMove::LineEnd);
    EXPECT_EQ(rig.caretLine(), 0);
    EXPECT_EQ(rig.caretOffset(), lines[0].second - 1) << "before the last character, not on the next line";
    rig.move(TCaretMove::LineDown);
    EXPECT_EQ(rig.caretLine(), 1);
    rig.move(TCaretMove::LineStart);
    EXPECT_EQ(rig.caretOffset(), lines[1].first);
}

TEST(KeyCaretMovesTest, ExtendingMovesSelectFromTheAnchorAndPlainMovesDropTheSelection)
{
    KeyRig rig("abcdef\r\nghi");
    rig.caretTo(1);
    for (int i = 0; i < 3; ++i)
        rig.move(TCaretMove::CharRight, true);
    EXPECT_EQ(rig.memo.SelStart(), 4) << "the caret's end";
    EXPECT_EQ(rig.memo.SelLength(), -3) << "the anchor lies before it";
    rig.move(TCaretMove::CharLeft, true);
    EXPECT_EQ(rig.memo.SelText(), "bc");

    rig.move(TCaretMove::LineDown, true);
    EXPECT_EQ(rig.memo.SelText(), "bcdef\r\nghi") << "from offset 3 to the shorter line's end";
    rig.move(TCaretMove::TextStart, true);
    EXPECT_EQ(rig.memo.SelText(), "a") << "across the anchor the selection turns round";
    EXPECT_EQ(rig.caret(), 0);

    rig.move(TCaretMove::LineEnd);
    EXPECT_EQ(rig.memo.SelLength(), 0);
    EXPECT_EQ(rig.caret(), 6);
}

TEST(KeyCaretMovesTest, PersistentBlocksStayWhileTheCaretMovesApart)
{
    KeyRig rig("abcdef");
    rig.option(smoPersistentBlocks);
    rig.caretTo(1);
    rig.move(TCaretMove::CharRight, true);
    rig.move(TCaretMove::CharRight, true);
    rig.move(TCaretMove::TextEnd);
    EXPECT_EQ(rig.caret(), 6);
    EXPECT_EQ(rig.memo.SelText(), "bc");

    // Extending from apart starts from where the caret stands.
    rig.move(TCaretMove::CharLeft, true);
    EXPECT_EQ(rig.memo.SelText(), "f");
}

TEST(KeyCaretMovesTest, BlockMovesSelectColumnsAndMayPassLineEnds)
{
    KeyRig rig("abcdef\r\nabcdef\r\nab");
    rig.caretTo(1);
    const TCaretMoveMode block{.extend = true, .block = true, .firstColumn = rig.keys.caretColumn()};
    rig.keys.moveCaret(TCaretMove::LineDown, block);
    rig.keys.moveCaret(TCaretMove::CharRight, block);
    ASSERT_TRUE(rig.memo.blockSelection());
    EXPECT_EQ(rig.memo.blockColumns(), std::make_pair(1, 2));
    EXPECT_EQ(rig.memo.blockText(), "b\r\nb\r\n");

    rig.keys.moveCaret(TCaretMove::LineDown, block);
    EXPECT_EQ(rig.caretPar(), 2);
    EXPECT_EQ(rig.caretOffset(), 2);
    rig.keys.moveCaret(TCaretMove::CharRight, block);
    EXPECT_EQ(rig.caretOffset(), 2);
    EXPECT_EQ(rig.memo.overshoot(), 1) << "beyond the short line's end";
    EXPECT_EQ(rig.memo.blockColumns(), std::make_pair(1, 3));
}

TEST(KeyCaretMovesTest, PagesMoveTheCaretAndTheViewByTheWindowsLinesLessOne)
{
    KeyRig rig(numberedLines(40));
    ASSERT_EQ(rig.keyLayout.pageLines(), 10);
    rig.caretTo(3);
    rig.move(TCaretMove::PageDown);
    EXPECT_EQ(rig.caretLine(), 10);
    EXPECT_EQ(rig.caretOffset(), 3) << "the pixel x is kept";
    EXPECT_EQ(rig.layout.geometry.vertOffset, 10 * 14);
    rig.move(TCaretMove::PageDown);
    EXPECT_EQ(rig.caretLine(), 20);
    EXPECT_EQ(rig.layout.geometry.vertOffset, 20 * 14);
    rig.move(TCaretMove::PageUp, true);
    EXPECT_EQ(rig.caretLine(), 10);
    EXPECT_EQ(rig.layout.geometry.vertOffset, 10 * 14);
    EXPECT_EQ(rig.memo.SelLength(), rig.memo.paragraphs().startOf(20) - rig.memo.paragraphs().startOf(10));

    rig.move(TCaretMove::TextEnd);
    rig.move(TCaretMove::LineStart);
    rig.move(TCaretMove::LineUp);
    rig.move(TCaretMove::PageDown);
    EXPECT_EQ(rig.caretLine(), 39) << "no further than the last line";
    rig.move(TCaretMove::TextStart);
    rig.move(TCaretMove::PageUp);
    EXPECT_EQ(rig.caretLine(), 0);
}

TEST(KeyCaretMovesTest, CaretOnlyPagesScrollJustEnoughToShowTheCaret)
{
    KeyRig rig(numberedLines(40));
    rig.move(TCaretMove::PageDownCaretOnly);
    EXPECT_EQ(rig.caretLine(), 10);
    const std::int32_t v = rig.layout.geometry.vertOffset;
    EXPECT_LT(v, 10 * 14) << "the view did not move by a page";
    EXPECT_GE(v + 140, 11 * 14) << "the caret's line shows";

    rig.move(TCaretMove::PageUpCaretOnly);
    EXPECT_EQ(rig.caretLine(), 0);
    EXPECT_EQ(rig.layout.geometry.vertOffset, 0);
}

} // namespace
} // namespace velmora::core::testing
