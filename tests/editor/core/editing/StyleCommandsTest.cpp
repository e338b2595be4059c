// The style-code commands: the codes they insert, what they select afterwards, and when they
// do nothing.
#include "editor/core/editing/StyleCommands.h"
#include "editor/core/store/StoreTestSupport.h"
#include "editor/core/editing/ColumnBlocks.h"
#include "editor/core/editing/StoreConsistency.h"

#include <gtest/gtest.h>

using namespace velmora::core;
using namespace velmora::core::testing;

namespace
{

class StyleCommandsTest : public ::testing::Test
{
protected:
    StyleCommandsTest()
    {
        memo.paragraphs().StaticFormat = true;
        memo.setWordWrap(false);
    }
    void apply(TStyleCommand command)
    {
        applyStyleCommand(memo, command);
        checkStoreConsistency(memo.paragraphs());
    }

    TSourceMemoCore memo;
};

TEST_F(StyleCommandsTest, BoldWithoutSelectionLeavesTheCaretBetweenTwoCodes)
{
    setText(memo, "ab");
    int changes = 0;
    memo.OnChange = [&](TSourceMemoCore &) { ++changes; };
    memo.setSelStart(1);
    apply(TStyleCommand::Bold);
    EXPECT_EQ(wholeText(memo), "a\2\2b");
    EXPECT_EQ(memo.SelStart(), 2);
    EXPECT_EQ(memo.SelLength(), 0);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(memo.keepCodes);
    EXPECT_FALSE(memo.suppressRefresh);
    memo.setSelText("B");
    EXPECT_EQ(wholeText(memo), "a\2B\2b");
    memo.setSelStart(0);
    apply(TStyleCommand::Bold);
    EXPECT_EQ(wholeText(memo), "\2\2"
                               "a\2B\2b");
    memo.Undo();
    EXPECT_EQ(wholeText(memo), "a\2B\2b");
}

TEST_F(StyleCommandsTest, UndoAndRedoThroughTheCodesOfAnEmptyBoldRestoreEveryText)
{
    setText(memo, "ab");
    memo.ClearUndo();
    memo.setSelStart(1);
    apply(TStyleCommand::Bold);
    memo.SetSelTextBuf("B");
    ASSERT_EQ(wholeText(memo), "a\2B\2b");
    memo.Undo();
    EXPECT_EQ(wholeText(memo), "a\2\2b") << "undo restores the text as it was, codes included";
    memo.Undo();
    EXPECT_EQ(wholeText(memo), "ab");
    memo.Redo();
    memo.Redo();
    EXPECT_EQ(wholeText(memo), "a\2B\2b");
    checkStoreConsistency(memo.paragraphs());
}

TEST_F(StyleCommandsTest, EachCommandInsertsItsCode)
{
    const std::pair<TStyleCommand, char> commands[] = {{TStyleCommand::Italic, 1},
                                                       {TStyleCommand::Bold, 2},
                                                       {TStyleCommand::Highlight, 3},
                                                       {TStyleCommand::AltFont, 4},
                                                       {TStyleCommand::Underline, 21}};
    for (const auto &[command, code] : commands) {
        setText(memo, "xy");
        memo.setSelStart(0);
        memo.setSelLength(2);
        apply(command);
        EXPECT_EQ(wholeText(memo), std::string(1, code) + "xy" + code);
    }
}

TEST_F(StyleCommandsTest, TheWrappedTextIsSelectedInTheSelectionsDirection)
{
    setText(memo, "abcd");
    memo.setSelStart(1);
    memo.setSelLength(2);
    apply(TStyleCommand::Italic);
    EXPECT_EQ(wholeText(memo), "a\1bc\1d");
    EXPECT_EQ(memo.SelStart(), 1);
    EXPECT_EQ(memo.SelLength(), 4);

    setText(memo, "abcd");
    memo.setSelStart(3);
    memo.setSelLength(-2);
    apply(TStyleCommand::Italic);
    EXPECT_EQ(memo.SelStart(), 5);
    EXPECT_EQ(memo.SelLength(), -4);
    EXPECT_EQ(memo.SelText(), "\1bc\1");
}

TEST_F(StyleCommandsTest, BoldOverBoldTextTakesTheCodesAway)
{
    setText(memo, "a\2bc\2d");
    memo.setSelStart(1);
    memo.setSelLength(4);
    apply(TStyleCommand::Bold);
    EXPECT_EQ(wholeText(memo), "abcd");
    EXPECT_EQ(memo.SelText(), "bc");
}

TEST_F(StyleCommandsTest, AcrossParagraphsAndInAColumnBlock)
{
    setText(memo, "ab\r\ncd");
    memo.SelectAll();
    apply(TStyleCommand::Underline);
    EXPECT_EQ(wholeText(memo), "\x15"
                               "ab\r\ncd\x15");
    EXPECT_EQ(memo.SelLength(), -8);

    setText(memo, "0123\r\n01\r\n0123");
    setBlockSelection(memo, 1, 0, 2, 3);
    apply(TStyleCommand::Bold);
    EXPECT_EQ(wholeText(memo), "0\2"
                               "12\2"
                               "3\r\n0\2"
                               "1\2\r\n0\2"
                               "12\2"
                               "3");
    ASSERT_TRUE(memo.blockSelection());
    // A code on the left column's boundary lies before it, as every zero-width code does.
    EXPECT_EQ(memo.SelText(), "12\2\r\n1\2\r\n12\2\r\n");
    memo.Undo();
    EXPECT_EQ(wholeText(memo), "0123\r\n01\r\n0123");
}

TEST_F(StyleCommandsTest, ABlockLeftWithNothingSelectedKeepsItsColumns)
{
    setText(memo, "0123\r\n0123");
    setBlockSelection(memo, 1, 0, 1, 3);
    memo.setSelStart(6);
    apply(TStyleCommand::Bold);
    EXPECT_EQ(wholeText(memo), "0123\r\n\2\2"
                               "0123");
}

TEST_F(StyleCommandsTest, NothingHappensWithoutStaticFormat)
{
    memo.paragraphs().StaticFormat = false;
    setText(memo, "ab");
    memo.setSelStart(0);
    memo.setSelLength(2);
    apply(TStyleCommand::Bold);
    EXPECT_EQ(wholeText(memo), "ab");
    EXPECT_EQ(memo.SelLength(), 2);
}

} // namespace
