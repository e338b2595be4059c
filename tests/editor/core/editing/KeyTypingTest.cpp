// The typing key commands without a window: characters in insert and overwrite mode, Enter
// with automatic indentation, the smart tab, Backspace with back-indent and Delete, with and
// without a selection, at paragraph starts and ends.
#include "KeyCommandsRig.h"

#include <gtest/gtest.h>

namespace velmora::core::testing
{
namespace
{

TEST(KeyTypingTest, CharactersInsertOrOverwriteAndReplaceTheSelection)
{
    KeyRig rig("abc\r\nxyz");
    rig.caretTo(1);
    rig.type("12");
    EXPECT_EQ(rig.paragraph(0), "a12bc");
    EXPECT_EQ(rig.caret(), 3);

    rig.keys.overwrite = true;
    rig.type("XYZ");
    EXPECT_EQ(rig.paragraph(0), "a12XYZ") << "overwrite replaces b and c, then appends at the paragraph end";
    EXPECT_EQ(rig.paragraph(1), "xyz") << "the paragraph break is never overwritten";
    EXPECT_EQ(rig.caret(), 6);

    rig.memo.setSelStart(1);
    rig.memo.setSelLength(4);
    rig.type("-");
    EXPECT_EQ(rig.paragraph(0), "a-Z") << "a selection is replaced, not one character after it";
    EXPECT_EQ(rig.memo.SelLength(), 0);
}

TEST(KeyTypingTest, ABlankAtAParagraphEndGoesIntoVirtualSpaceWhereTrailingBlanksAreNotKept)
{
    KeyRig rig("ab\r\ncd");
    rig.caretTo(2);
    rig.type(" ");
    EXPECT_EQ(rig.paragraph(0), "ab ") << "without the options the blank is typed";

    rig.keys.backspace(false);
    rig.option(smoKeepColumnPos);
    rig.type("  ");
    EXPECT_EQ(rig.paragraph(0), "ab");
    EXPECT_EQ(rig.memo.overshoot(), 2);
    rig.type("x");
    EXPECT_EQ(rig.paragraph(0), "abx") << "a character goes at the paragraph end, the virtual blanks go";
    EXPECT_EQ(rig.memo.overshoot(), 0);
}

TEST(KeyTypingTest, EnterIndentsLikeTheNearestNonEmptyParagraphAbove)
{
    KeyRig rig("    mov ax, 1\r\n\r\nend");
    rig.option(smoAutoIndent);
    rig.caretTo(13);
    rig.keys.typeEnter();
    EXPECT_EQ(rig.paragraph(1), "    ");
    EXPECT_EQ(rig.caretPar(), 1);
    EXPECT_EQ(rig.caretOffset(), 4);

    // From an empty paragraph the indentation comes from the nearest one with text above it.
    rig.caretTo(rig.memo.paragraphs().startOf(2));
    rig.keys.typeEnter();
    EXPECT_EQ(rig.paragraph(3), "    ");

    // Inside the leading blanks only those before the caret count.
    rig.caretTo(2);
    rig.keys.typeEnter();
    EXPECT_EQ(rig.paragraph(0), "  ");
    EXPECT_EQ(rig.paragraph(1), "    mov ax, 1");
    EXPECT_EQ(rig.caretOffset(), 2);

    rig.option(smoAutoIndent, false);
    rig.caretTo(rig.memo.paragraphs().startOf(1) + 13);
    rig.keys.typeEnter();
    EXPECT_EQ(rig.paragraph(2), "");
}

TEST(KeyTypingTest, EnterGivesTheIndentationAsVirtualSpaceWhenTrailingBlanksAreDiscarded)
{
    KeyRig rig("\t  x");
    rig.layout.setTabStops(4);
    rig.option(smoAutoIndent);
    rig.option(smoDiscardTrailingSpaces);
    rig.caretTo(4);
    rig.keys.typeEnter();
    EXPECT_EQ(rig.text(), "\t  x\r\n");
    EXPECT_EQ(rig.memo.overshoot(), 4 + 2) << "a tab counts TabStops columns";
}

TEST(KeyTypingTest, EnterInOverwriteModeMovesToTheNextLineAndAddsOneOnlyAfterTheLast)
{
    KeyRig rig("abc\r\ndef");
    rig.keys.overwrite = true;
    rig.caretTo(1);
    rig.keys.typeEnter();
    EXPECT_EQ(rig.text(), "abc\r\ndef");
    EXPECT_EQ(rig.caret(), 5);
    rig.keys.typeEnter();
    EXPECT_EQ(rig.text(), "abc\r\ndef\r\n");
    EXPECT_EQ(rig.caret(), 10);

    // With a selection Enter replaces it, overwrite or not.
    rig.memo.setSelStart(0);
    rig.memo.setSelLength(2);
    rig.keys.typeEnter();
    EXPECT_EQ(rig.paragraph(0), "");
    EXPECT_EQ(rig.paragraph(1), "c");
}

TEST(KeyTypingTest, SmartTabLinesUpWithTheNextWordOfTheParagraphsAbove)
{
    KeyRig rig("mov   ax, bx\r\nlonger text here\r\n");
    rig.option(smoSmartTabs);
    rig.caretTo(rig.memo.paragraphs().startOf(2));
    rig.keys.typeTab();
    EXPECT_EQ(rig.paragraph(2), std::string(7, ' ')) << "the word after \"longer \" starts at column 7";
    rig.keys.typeTab();
    EXPECT_EQ(rig.paragraph(2), std::string(12, ' '));
    rig.keys.typeTab();
    EXPECT_EQ(rig.paragraph(2), std::string(16, ' ')) << "after the last word: the paragraph's end";
    rig.keys.typeTab();
    EXPECT_EQ(rig.paragraph(2), std::string(16, ' ') + "\t") << "no paragraph above reaches further";

    // Column 3 of the second paragraph is inside "longer": the next word of it, not of the first.
    rig.caretTo(rig.memo.paragraphs().startOf(1) + 3);
    rig.keys.typeTab();
    EXPECT_EQ(rig.paragraph(1), "lon   ger text here") << "from \"mov\" the next word is at 6";

    rig.option(smoSmartTabs, false);
    rig.caretTo(0);
    rig.keys.typeTab();
    EXPECT_EQ(rig.paragraph(0), "\tmov   ax, bx");
}

TEST(KeyTypingTest, BackspaceBackIndentsToTheIndentationOfAShallowerParagraphAbove)
{
    KeyRig rig("a\r\n    b\r\n   \r\n        c");
    rig.option(smoBackIndent);
    const std::int32_t start = rig.memo.paragraphs().startOf(3);
    rig.caretTo(start + 8);
    rig.keys.backspace(false);
    EXPECT_EQ(rig.paragraph(3), "    c") << "the blanks-only paragraph says nothing about indentation";
    EXPECT_EQ(rig.caret(), start + 4);
    rig.keys.backspace(false);
    EXPECT_EQ(rig.paragraph(3), "c");

    // Not at the end of the leading blanks: one character.
    rig.caretTo(rig.memo.paragraphs().startOf(1) + 2);
    rig.keys.backspace(false);
    EXPECT_EQ(rig.paragraph(1), "   b");

    rig.option(smoBackIndent, false);
    rig.caretTo(rig.memo.paragraphs().startOf(1) + 3);
    rig.keys.backspace(false);
    EXPECT_EQ(rig.paragraph(1), "  b");
}

TEST(KeyTypingTest, BackspaceAtParagraphStartsJoinsAndAtTheTextStartDoesNothing)
{
    KeyRig rig("ab\r\ncd");
    rig.caretTo(4);
    rig.keys.backspace(false);
    EXPECT_EQ(rig.text(), "abcd");
    EXPECT_EQ(rig.caret(), 2);

    rig.caretTo(0);
    rig.keys.backspace(false);
    EXPECT_EQ(rig.text(), "abcd");
    EXPECT_EQ(rig.caret(), 0);

    rig.memo.setSelStart(1);
    rig.memo.setSelLength(2);
    rig.keys.backspace(false);
    EXPECT_EQ(rig.text(), "ad") << "a selection goes, not the character before it";
    EXPECT_EQ(rig.caret(), 1);
}

TEST(KeyTypingTest, BackspaceWithWordDeletesToTheWordStartAndStepsOverStyleCodes)
{
    KeyRig rig("mov ax, bx");
    rig.caretTo(6);
    rig.keys.backspace(true);
    EXPECT_EQ(rig.text(), "mov , bx");
    EXPECT_EQ(rig.caret(), 4);

    rig.memo.setStaticFormat(true);
    rig.setText("ab\x02\x03"
                "c");
    rig.caretTo(5);
    rig.keys.backspace(false);
    EXPECT_EQ(rig.text(), "ab") << "the codes before the character go with it";
}

TEST(KeyTypingTest, BackspaceInVirtualSpaceOnlyStepsBack)
{
    KeyRig rig("ab");
    rig.option(smoKeepColumnPos);
    rig.caretTo(2);
    rig.type("   ");
    ASSERT_EQ(rig.memo.overshoot(), 3);
    rig.keys.backspace(false);
    EXPECT_EQ(rig.memo.overshoot(), 2);
    EXPECT_EQ(rig.text(), "ab");
}

TEST(KeyTypingTest, DeleteTakesTheNextCharacterOrBreakAndNothingAtTheTextEnd)
{
    KeyRig rig("ab\r\ncd");
    rig.caretTo(1);
    rig.keys.deleteForward();
    EXPECT_EQ(rig.text(), "a\r\ncd");
    rig.keys.deleteForward();
    EXPECT_EQ(rig.text(), "acd") << "at a paragraph end the break goes";
    EXPECT_EQ(rig.caret(), 1);

    rig.caretTo(3);
    rig.keys.deleteForward();
    EXPECT_EQ(rig.text(), "acd");

    rig.memo.setSelStart(0);
    rig.memo.setSelLength(2);
    rig.keys.deleteForward();
    EXPECT_EQ(rig.text(), "d");
}

TEST(KeyTypingTest, DeleteInVirtualSpaceKeepsTheCaretColumnWhileItStaysAtTheParagraphEnd)
{
    KeyRig rig("ab\r\n\r\ncd");
    rig.option(smoKeepColumnPos);
    rig.caretTo(2);
    rig.type("  ");
    rig.keys.deleteForward();
    EXPECT_EQ(rig.text(), "ab\r\ncd") << "the empty paragraph came up";
    EXPECT_EQ(rig.caret(), 2);
    EXPECT_EQ(rig.memo.overshoot(), 2);

    rig.keys.deleteForward();
    EXPECT_EQ(rig.text(), "abcd");
    EXPECT_EQ(rig.caret(), 2);
    EXPECT_EQ(rig.memo.overshoot(), 0) << "the caret is no longer at its paragraph's end";
}

TEST(KeyTypingTest, DeleteToLineEndStopsAtTheDisplayLineEnd)
{
    KeyRig rig("alpha beta gamma\r\nnext");
    rig.caretTo(6);
    rig.keys.deleteToLineEnd();
    EXPECT_EQ(rig.text(), "alpha \r\nnext");

    // A selection across paragraphs is left alone.
    rig.memo.setSelStart(2);
    rig.memo.setSelLength(8);
    rig.keys.deleteToLineEnd();
    EXPECT_EQ(rig.text(), "alpha \r\nnext");
}

TEST(KeyTypingTest, EditsSetASelectionAsideUnderNoOverwriteBlocks)
{
    KeyRig rig("abcdef");
    rig.option(smoNoOverwriteBlocks);
    rig.memo.setSelStart(4);
    rig.memo.setSelLength(-3); // caret at 4, anchor at 1
    rig.type("X");
    EXPECT_EQ(rig.text(), "abcdXef") << "the selection was dropped, the character typed at the caret";
    EXPECT_EQ(rig.memo.SelLength(), 0);
}

} // namespace
} // namespace velmora::core::testing
