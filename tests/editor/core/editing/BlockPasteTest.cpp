// Column blocks: setting a block selection, splitting pasted text into lines, and the block
// paste with its padding, appended paragraphs and single undo step.
#include "editor/core/store/StoreTestSupport.h"
#include "editor/core/editing/ColumnBlocks.h"
#include "editor/core/text/EditorErrors.h"
#include "editor/core/editing/StoreConsistency.h"

#include <gtest/gtest.h>

using namespace velmora::core;
using namespace velmora::core::testing;

namespace
{

class BlockPasteTest : public ::testing::Test
{
protected:
    BlockPasteTest() { memo.setWordWrap(false); }

    void pasteAt(std::int32_t caret, std::string_view text, std::int32_t column)
    {
        memo.setSelStart(caret);
        blockPaste(memo, text, column);
        checkStoreConsistency(memo.paragraphs());
    }

    TSourceMemoCore memo;
};

TEST_F(BlockPasteTest, LinesSplitAsAStringListSplitsThem)
{
    using Lines = std::vector<std::string>;
    EXPECT_EQ(splitLines(""), Lines{});
    EXPECT_EQ(splitLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(splitLines("a\r\n\r\n"), (Lines{"a", ""}));
    EXPECT_EQ(splitLines("a\n\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(splitLines(std::string_view("a\r\nb\0c\r\nd", 9)), (Lines{"a", "b"}));
}

TEST_F(BlockPasteTest, ThreeLinesAtColumnTenIntoTwoParagraphsAppendOneAndPad)
{
    setText(memo, "short\r\nlonger line here");
    pasteAt(0, "AAA\r\nBBB\r\nCCC\r\n", 10);
    EXPECT_EQ(wholeText(memo), "short     AAA\r\nlonger linBBBe here\r\n          CCC");
    EXPECT_EQ(memo.ParagraphCount(), 3);
    EXPECT_EQ(memo.SelStart(), memo.TextLength());
    EXPECT_EQ(memo.updateCount(), 0);

    // The whole paste is one undo step, and one redo step.
    memo.Undo();
    EXPECT_EQ(wholeText(memo), "short\r\nlonger line here");
    EXPECT_FALSE(memo.CanUndo());
    memo.Redo();
    EXPECT_EQ(wholeText(memo), "short     AAA\r\nlonger linBBBe here\r\n          CCC");
    checkStoreConsistency(memo.paragraphs());
}

TEST_F(BlockPasteTest, TheCaretIsScrolledIntoViewOnceTheUpdateIsClosed)
{
    struct ScrollRecorder : TMemoView {
        std::vector<std::int32_t> scrolls;
        void scrollCaretIntoView(TSourceNavigator &caret) override { scrolls.push_back(caret.Pos()); }
    } view;
    memo.setView(&view);
    setText(memo, "ab\r\ncd");
    view.scrolls.clear();
    memo.BeginUpdate();
    pasteAt(0, "1\r\n2", 1);
    EXPECT_TRUE(view.scrolls.empty());
    memo.EndUpdate();
    pasteAt(0, "3", 0);
    EXPECT_EQ(view.scrolls, std::vector<std::int32_t>{1});
    memo.setView(nullptr);
}

TEST_F(BlockPasteTest, RowsStartAtTheCaretsParagraphAndDropTheSelection)
{
    setText(memo, "p0\r\np1\r\np2");
    memo.setSelStart(4);
    memo.setSelLength(5);
    blockPaste(memo, "x\r\ny", 1);
    EXPECT_EQ(wholeText(memo), "p0\r\npx1\r\npy2");
    EXPECT_EQ(memo.SelLength(), 0);
    // A selected column block is left in the text as well.
    setBlockSelection(memo, 0, 0, 1, 2);
    blockPaste(memo, "z", 1);
    EXPECT_EQ(wholeText(memo), "p0\r\npzx1\r\npy2");
    EXPECT_FALSE(memo.blockSelection());
}

TEST_F(BlockPasteTest, ColumnsCountTabsAndBlanksFillAColumnInsideATab)
{
    memo.setTabStops(8);
    setText(memo, "\tx\r\nab\tc");
    pasteAt(0, "1\r\n2", 3);
    // Column 3 lies inside the first row's tab (padding before it) and the second row's.
    EXPECT_EQ(wholeText(memo), "   1\tx\r\nab 2\tc");
    setText(memo, "\tx");
    pasteAt(0, "Q", 8);
    EXPECT_EQ(wholeText(memo), "\tQx");
}

TEST_F(BlockPasteTest, EmptyLinesAddNoBlanks)
{
    setText(memo, "a");
    pasteAt(0, "X\r\n\r\nZ", 4);
    EXPECT_EQ(wholeText(memo), "a   X\r\n\r\n    Z");
    setText(memo, "a");
    pasteAt(0, "", 4);
    EXPECT_EQ(wholeText(memo), "a");
    EXPECT_FALSE(memo.CanUndo());
}

TEST_F(BlockPasteTest, SetBlockSelectionPlacesTheCaretAtTheSecondCornerWithOvershoot)
{
    setText(memo, "0123456789\r\nab\r\n0123456789");
    setBlockSelection(memo, 6, 0, 1, 3);
    ASSERT_TRUE(memo.blockSelection());
    EXPECT_EQ(memo.SelStart(), 14); // line 1 is two characters long
    EXPECT_EQ(memo.overshoot(), 1);
    EXPECT_EQ(memo.SelCol(), 3);
    EXPECT_EQ(memo.SelText(), "345\r\n\r\n");

    // Lines are clamped to the paragraphs and the caret may be the upper corner.
    setBlockSelection(memo, 1, 99, -5, 2);
    EXPECT_EQ(memo.SelStart(), 2);
    EXPECT_EQ(memo.SelText(), "1\r\nb\r\n1\r\n");

    memo.setWordWrap(true);
    memo.setSelStart(1);
    memo.setSelLength(1);
    setBlockSelection(memo, 1, 0, 1, 2);
    EXPECT_FALSE(memo.blockSelection());
    EXPECT_EQ(memo.SelStart(), 1);
    EXPECT_EQ(memo.SelLength(), 1);
}

TEST_F(BlockPasteTest, MovingTheCaretEndsTheBlockSoTypingDeletesNothing)
{
    setText(memo, "0123456789\r\n0123456789");
    setBlockSelection(memo, 2, 0, 1, 5);
    ASSERT_TRUE(memo.blockSelection());
    memo.setSelStart(1);
    EXPECT_FALSE(memo.blockSelection());
    memo.SetSelTextBuf("x");
    EXPECT_EQ(memo.textRange(0, memo.TextLength()), "0x123456789\r\n0123456789");
    checkStoreConsistency(memo.paragraphs());
}

TEST_F(BlockPasteTest, TextTooLongStopsThePasteWithTheUpdateClosed)
{
    setText(memo, "a\r\nb");
    memo.paragraphs().maxTextLength = 12;
    memo.setSelStart(0);
    EXPECT_THROW(blockPaste(memo, "xxxx\r\nyyyy\r\nzzzz", 0), EditorError);
    EXPECT_EQ(memo.updateCount(), 0);
    checkStoreConsistency(memo.paragraphs());
    memo.Undo();
    EXPECT_EQ(wholeText(memo), "a\r\nb");
}

} // namespace
