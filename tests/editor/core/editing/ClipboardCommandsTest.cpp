// Copy, cut and paste through the clipboard: what goes on it for text and for column blocks,
// clipboards without usable text, undo steps, and pasting beside a selection.
#include "editor/core/editing/ClipboardCommands.h"
#include "editor/core/editing/ClipboardTestSupport.h"
#include "editor/core/store/StoreTestSupport.h"
#include "editor/core/editing/ColumnBlocks.h"
#include "editor/core/editing/StoreConsistency.h"

#include <gtest/gtest.h>

using namespace velmora::core;
using namespace velmora::core::testing;

namespace
{

class ClipboardCommandsTest : public ::testing::Test
{
protected:
    ClipboardCommandsTest() { memo.setWordWrap(false); }

    void setOption(TSourceMemoOption option)
    {
        TSourceMemoOptions options = memo.Options();
        options.set(option);
        memo.setOptions(options);
    }
    void select(std::int32_t start, std::int32_t length)
    {
        memo.setSelStart(start);
        memo.setSelLength(length);
    }
    void paste(std::int32_t column = 0)
    {
        PasteFromClipboard(memo, clipboard, column);
        checkStoreConsistency(memo.paragraphs());
    }

    TSourceMemoCore memo;
    MemoryClipboard clipboard;
};

TEST_F(ClipboardCommandsTest, CopyPutsTheSelectedTextAndLeavesTheEditorAlone)
{
    setText(memo, "mov ax,1\r\nint 21h");
    select(14, -10);
    CopyToClipboard(memo, clipboard);
    EXPECT_EQ(clipboard.plain, "ax,1\r\nint ");
    EXPECT_EQ(clipboard.blockData(), std::nullopt);
    EXPECT_EQ(memo.SelLength(), -10);
    EXPECT_EQ(wholeText(memo), "mov ax,1\r\nint 21h");

    memo.setSelStart(3);
    CopyToClipboard(memo, clipboard);
    EXPECT_EQ(clipboard.puts, 1);
}

TEST_F(ClipboardCommandsTest, CopyOfAColumnBlockEndsEveryRowWithABreakAndAddsTheBlockFormat)
{
    setText(memo, "abcdef\r\nghijkl\r\nmn");
    setBlockSelection(memo, 1, 0, 1, 4);
    CopyToClipboard(memo, clipboard);
    EXPECT_EQ(clipboard.plain, "bcd\r\nhij\r\n");
    EXPECT_EQ(clipboard.blockData(), std::string(1, '\2'));
    // A row shorter than the left column gives its break alone.
    setBlockSelection(memo, 3, 0, 2, 5);
    CopyToClipboard(memo, clipboard);
    EXPECT_EQ(clipboard.plain, "de\r\njk\r\n\r\n");
}

TEST_F(ClipboardCommandsTest, PlainClipboardDropsStyleCodesFromTextAndBlocks)
{
    setText(memo, "a\2bold\2 \1it\1\x15u\x15\3h\3\4f\4");
    memo.SelectAll();
    CopyToClipboard(memo, clipboard);
    EXPECT_EQ(clipboard.plain, "a\2bold\2 \1it\1\x15u\x15\3h\3\4f\4");
    setOption(smoPlainClipboard);
    CopyToClipboard(memo, clipboard);
    EXPECT_EQ(clipboard.plain, "abold ituhf");
    setBlockSelection(memo, 0, 0, 0, 4);
    CopyToClipboard(memo, clipboard);
    EXPECT_EQ(clipboard.plain, "abo\r\n"); // the codes took columns
}

TEST_F(ClipboardCommandsTest, CutCopiesThenDeletesTheSelectionOrTheBlock)
{
    setText(memo, "abcdef\r\nghijkl");
    select(1, 3);
    CutToClipboard(memo, clipboard);
    EXPECT_EQ(clipboard.plain, "bcd");
    EXPECT_EQ(wholeText(memo), "aef\r\nghijkl");

    setBlockSelection(memo, 1, 0, 1, 2);
    CutToClipboard(memo, clipboard);
    EXPECT_EQ(clipboard.plain, "e\r\nh\r\n");
    EXPECT_EQ(wholeText(memo), "af\r\ngijkl");
    checkStoreConsistency(memo.paragraphs());

    memo.setSelStart(0);
    CutToClipboard(memo, clipboard);
    EXPECT_EQ(wholeText(memo), "af\r\ngijkl");
}

TEST_F(ClipboardCommandsTest, PasteReplacesTheSelectionAndTypingAfterItIsAStepOfItsOwn)
{
    setText(memo, "one two");
    select(4, 3);
    clipboard.set("three\r\nfour", std::nullopt);
    paste();
    EXPECT_EQ(wholeText(memo), "one three\r\nfour");
    EXPECT_EQ(memo.SelStart(), 15);
    memo.setSelText("!");
    memo.Undo();
    EXPECT_EQ(wholeText(memo), "one three\r\nfour");
    memo.Undo();
    EXPECT_EQ(wholeText(memo), "one two");
}

TEST_F(ClipboardCommandsTest, ClipboardsWithoutUsableTextInsertNothingBeyondTheirEnd)
{
    setText(memo, "abc");
    memo.setSelStart(1);
    clipboard.set(std::nullopt, std::string(1, '\2'));
    setOption(smoBlockSelection);
    paste();
    EXPECT_EQ(wholeText(memo), "abc");

    clipboard.set(std::string("x\0y", 3), std::nullopt);
    paste();
    EXPECT_EQ(wholeText(memo), "axbc");
    clipboard.set(std::string("p\0q\r\nr", 6), std::string(1, '\2'));
    paste(0);
    EXPECT_EQ(wholeText(memo), "paxbc");

    // A very long line goes in whole.
    const std::string line(200000, 'L');
    clipboard.set(line, std::nullopt);
    memo.setSelStart(1);
    paste();
    EXPECT_EQ(memo.paragraphs().lengthOf(0), 200005);
    EXPECT_EQ(memo.SelStart(), 200001);
}

TEST_F(ClipboardCommandsTest, BlockModeNeedsTheOptionNoWordWrapAndTheRightByte)
{
    setText(memo, "ab\r\ncd");
    clipboard.set("X\r\nY\r\n", std::string(1, '\2'));
    memo.setSelStart(1);
    paste(1);
    EXPECT_EQ(wholeText(memo), "aX\r\nY\r\nb\r\ncd"); // without smoBlockSelection: plain text

    setText(memo, "ab\r\ncd");
    setOption(smoBlockSelection);
    memo.setSelStart(1);
    paste(1);
    EXPECT_EQ(wholeText(memo), "aXb\r\ncYd");

    setText(memo, "ab\r\ncd");
    clipboard.set("X\r\nY\r\n", std::string()); // empty block data still marks a block
    memo.setSelStart(1);
    paste(1);
    EXPECT_EQ(wholeText(memo), "aXb\r\ncYd");

    setText(memo, "ab\r\ncd");
    clipboard.set("X\r\nY\r\n", std::string(1, '\1'));
    memo.setSelStart(1);
    paste(1);
    EXPECT_EQ(wholeText(memo), "aX\r\nY\r\nb\r\ncd");

    setText(memo, "ab\r\ncd");
    clipboard.set("X\r\nY\r\n", std::string(1, '\2'));
    memo.setWordWrap(true);
    memo.setSelStart(1);
    paste(1);
    EXPECT_EQ(wholeText(memo), "aX\r\nY\r\nb\r\ncd");
}

TEST_F(ClipboardCommandsTest, NoOverwriteBlocksPastesAtTheCaretAndDropsTheSelection)
{
    setOption(smoNoOverwriteBlocks);
    setText(memo, "0123456789");
    select(8, -3);
    clipboard.set("XY", std::nullopt);
    paste();
    EXPECT_EQ(wholeText(memo), "01234567XY89"); // at the caret, the selection's upper end
    EXPECT_EQ(memo.SelLength(), 0);
    EXPECT_EQ(memo.SelStart(), 10);
    select(2, 3);
    paste();
    EXPECT_EQ(wholeText(memo), "01XY234567XY89"); // a forward selection's caret is its start
}

TEST_F(ClipboardCommandsTest, PersistentBlocksKeepTheSelectionWhereItsEndsMoved)
{
    setOption(smoNoOverwriteBlocks);
    setOption(smoPersistentBlocks);
    setText(memo, "0123456789");
    select(5, 3);
    memo.placeOriginApart(2);
    clipboard.set("XY", std::nullopt);
    paste();
    EXPECT_EQ(wholeText(memo), "01XY23456789");
    EXPECT_EQ(memo.selectionStart().Pos(), 7);
    EXPECT_EQ(memo.selectionEnd().Pos(), 10);
    EXPECT_EQ(memo.SelText(), "567");
    EXPECT_EQ(memo.SelStart(), 4); // the caret after the pasted text
    // A second paste goes on at the caret, and one undo step takes back each paste.
    paste();
    EXPECT_EQ(wholeText(memo), "01XYXY23456789");
    EXPECT_EQ(memo.SelText(), "567");
    memo.Undo();
    EXPECT_EQ(wholeText(memo), "01XY23456789");
    memo.Undo();
    EXPECT_EQ(wholeText(memo), "0123456789");

    // A paste at the selection's far end leaves it as it was.
    select(8, -3);
    paste();
    EXPECT_EQ(wholeText(memo), "01234567XY89");
    EXPECT_EQ(memo.SelText(), "567");
    EXPECT_EQ(memo.SelStart(), 10);

    // A clipboard without text still gives the selection back.
    clipboard.set(std::nullopt, std::nullopt);
    paste();
    EXPECT_EQ(memo.SelText(), "567");
    EXPECT_EQ(memo.updateCount(), 0);
}

TEST_F(ClipboardCommandsTest, PersistentSelectionKeepsItsTextWhenThePasteTouchesItsStart)
{
    setOption(smoNoOverwriteBlocks);
    setOption(smoPersistentBlocks);
    setText(memo, "0123456789");
    select(5, 3); // forward: the caret stands at the selection's start
    clipboard.set("XY", std::nullopt);
    paste();
    EXPECT_EQ(wholeText(memo), "01234XY56789");
    EXPECT_EQ(memo.SelText(), "567");
    EXPECT_EQ(memo.SelStart(), 7);
}

TEST_F(ClipboardCommandsTest, PersistentColumnBlockIsSelectedAgainAfterAPasteBetweenItsRows)
{
    setOption(smoNoOverwriteBlocks);
    setOption(smoPersistentBlocks);
    setText(memo, "0123456789\r\n0123456789\r\n0123456789");
    setBlockSelection(memo, 4, 0, 2, 7);
    memo.placeOriginApart(12);
    clipboard.set("XY", std::nullopt);
    paste();
    EXPECT_EQ(wholeText(memo), "0123456789\r\nXY0123456789\r\n0123456789");
    ASSERT_TRUE(memo.blockSelection());
    EXPECT_EQ(memo.blockColumns(), std::make_pair(4, 7));
    EXPECT_EQ(memo.SelText(), "456\r\n234\r\n456\r\n");
    EXPECT_EQ(memo.SelStart(), 14);
    EXPECT_EQ(memo.overshoot(), 0);
}

} // namespace
