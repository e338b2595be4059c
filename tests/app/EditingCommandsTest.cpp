// Comment and uncomment, the typing aids, find and search again, undo and redo, and the
// character set, through the main window.
#include "AppFixture.h"

#include "app/FindDialog.h"
#include "app/StatusBar.h"
#include "editor/core/layout/LayoutEngine.h"
#include "editor/widget/SourceMemo.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>

namespace velmora::testing
{
namespace
{

class EditingCommandsTest : public AppFixture
{
protected:
    widget::TSourceMemo &editorWith(const char *text)
    {
        auto &memo = *start().editor;
        memo.SetTextBuf(text);
        memo.setSelStart(0);
        return memo;
    }

    std::string text() { return window->editor->textRange(0, window->editor->TextLength()); }

    void searchFor(const char *what, bool wholeWord)
    {
        auto *find = component<app::TFindDialog>("FD");
        find->findChild<QLineEdit *>(QStringLiteral("FindText"))->setText(QString::fromLatin1(what));
        find->findChild<QCheckBox *>(QStringLiteral("WholeWord"))->setChecked(wholeWord);
    }
};

TEST_F(EditingCommandsTest, CommentAndUncommentChangeTheBlockInTwoUndoStepsAndKeepTheClipboard)
{
    auto &memo = editorWith("mov ax,1\r\nint 21h\r\nret\r\n");
    QApplication::clipboard()->setText(QStringLiteral("the user's text"));
    window->Comment1Click();
    EXPECT_EQ(text(), "mov ax,1\r\nint 21h\r\nret\r\n") << "no selection: nothing happens";

    memo.setSelLength(static_cast<std::int32_t>(std::string("mov ax,1\r\nint 21h\r\n").size()));
    window->Comment1Click();
    EXPECT_EQ(text(), ";mov ax,1\r\n;int 21h\r\nret\r\n");
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("the user's text"));
    memo.Undo();
    memo.Undo();
    EXPECT_EQ(text(), "mov ax,1\r\nint 21h\r\nret\r\n");

    memo.SetTextBuf(";;mov ax,1\r\n  ; note\r\nmov ax,1 ; note\r\nnop");
    memo.SelectAll();
    window->UnComment1Click();
    EXPECT_EQ(text(), ";mov ax,1\r\n note\r\n note\r\nnop");
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("the user's text"));
}

TEST_F(EditingCommandsTest, TypingAidsRewriteTheCaretLine)
{
    auto &memo = editorWith("mov ax\r\nint 21h");
    window->state().settings.opt[0] = true;
    window->state().settings.opt[1] = true;
    memo.setSelStart(2);
    QTest::keyClicks(&memo, QStringLiteral(","));
    EXPECT_EQ(text(), "mov ax, \r\nint 21h");
    EXPECT_EQ(memo.SelCol(), 8) << "the caret stands at the line's end";

    memo.setSelStart(12);
    QTest::keyClicks(&memo, QStringLiteral(";"));
    EXPECT_EQ(text(), "mov ax, \r\nint 21h\t\t;");
    QTest::keyClicks(&memo, QStringLiteral(";"));
    EXPECT_EQ(text(), "mov ax, \r\nint 21h\t\t;;") << "a line with a comment takes the key as typed";

    window->state().settings.opt[0] = false;
    memo.setSelStart(3);
    QTest::keyClicks(&memo, QStringLiteral(","));
    EXPECT_EQ(text(), "mov, ax, \r\nint 21h\t\t;;");
}

TEST_F(EditingCommandsTest, KeysInTheEditorTypeUndoRedoAndLeaveChordsAlone)
{
    auto &memo = editorWith("");
    QTest::keyClicks(&memo, QStringLiteral("start:"));
    QTest::keyClick(&memo, Qt::Key_Return);
    QTest::keyClick(&memo, Qt::Key_Tab);
    QTest::keyClicks(&memo, QStringLiteral("mov ax, 1"));
    QTest::keyClick(&memo, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(&memo, Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(text(), "start:\r\n      mov ax, 1")
        << "Tab lines up with the label's end; the bookmark chord types nothing";
    EXPECT_EQ(memo.SelText(), "1");
    QTest::keyClicks(&memo, QStringLiteral("2"));
    EXPECT_EQ(text(), "start:\r\n      mov ax, 2");
    QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), "start:\r\n      mov ax, 1");
    QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(text(), "start:\r\n      mov ax, 2");
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->findChild<QAction *>(QStringLiteral("Undo1"))->isEnabled());
}

TEST_F(EditingCommandsTest, PasteAndCutLeaveTheCaretInView)
{
    auto &memo = editorWith("");
    QString lines;
    for (int i = 0; i < 200; ++i)
        lines += QStringLiteral("\tnop\r\n");
    QApplication::clipboard()->setText(lines);
    window->Paste1Click();
    const core::TViewGeometry &view = memo.layoutEngine().geometry;
    EXPECT_GT(view.vertOffset, 0) << "the view followed the caret to the pasted text's end";
    memo.setSelStart(0);
    memo.setSelLength(6);
    memo.layoutEngine().scrollTo(view.vertOffset, 0, 0);
    window->Cut1Click();
    EXPECT_EQ(view.vertOffset, 0) << "back at the cut's place at the top";
}

TEST_F(EditingCommandsTest, SearchAgainWalksThroughTheMatches)
{
    auto &memo = editorWith("ab ab");
    window->SearchAgain1Click();
    EXPECT_EQ(memo.SelLength(), 0) << "before any find the text is empty";

    searchFor("ab", false);
    window->SearchAgain1Click();
    EXPECT_EQ(memo.SelStart(), 2);
    EXPECT_EQ(memo.SelText(), "ab");
    window->SearchAgain1Click();
    EXPECT_EQ(memo.SelStart(), 5);
    window->SearchAgain1Click();
    EXPECT_EQ(memo.SelStart(), 5) << "nothing more: the selection stays";
    EXPECT_EQ(memo.SelLength(), -2);

    memo.SetTextBuf("mov ax,bx");
    memo.setSelStart(0);
    searchFor("a", true);
    window->FDFind();
    EXPECT_EQ(memo.SelLength(), 0);
    searchFor("ax", true);
    window->FDFind();
    EXPECT_EQ(memo.SelText(), "ax");
}

TEST_F(EditingCommandsTest, UndoAndRedoItemsAreGreyedWhileThereIsNothingToDo)
{
    auto &memo = editorWith("");
    auto *undo = component<QAction>("Undo1");
    auto *redo = component<QAction>("Repeatcommand1");
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    QTest::keyClicks(&memo, QStringLiteral("x"));
    EXPECT_TRUE(undo->isEnabled());
    window->UndoA();
    EXPECT_EQ(memo.TextLength(), 0);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(redo->isEnabled());
    window->RedoA();
    EXPECT_EQ(text(), "x");
}

TEST_F(EditingCommandsTest, CharsetConvertsTheTextAsAnEditThatUndoTakesBack)
{
    // "Привет" in Windows-1251.
    const std::string cp1251 = "; \xCF\xF0\xE8\xE2\xE5\xF2";
    auto &memo = editorWith(cp1251.c_str());
    window->DOS1Click();
    EXPECT_EQ(memo.FontCharset(), 255);
    EXPECT_EQ(text(), "; \x8F\xE0\xA8\xA2\xA5\xE2") << "the same letters in 866";
    EXPECT_TRUE(component<QAction>("DOS1")->isChecked());
    EXPECT_EQ(component<app::TStatusBar>("sb")->panelText(app::TStatusBar::EncodingPanel), QStringLiteral("CP866"));
    EXPECT_EQ(window->state().settings.Charset, QStringLiteral("CP866")) << "remembered for new files";

    window->UndoA();
    EXPECT_EQ(text(), cp1251);
    EXPECT_EQ(memo.FontCharset(), 204) << "the old encoding comes back with the old bytes";
    EXPECT_TRUE(component<QAction>("Windows1")->isChecked());
    window->RedoA();
    EXPECT_EQ(memo.FontCharset(), 255);

    // Windows-1251 and UTF-8 share the editor's bytes; the switch is still an edit Undo takes back.
    window->UndoA();
    window->UTF81Click();
    EXPECT_EQ(text(), cp1251);
    EXPECT_EQ(component<app::TStatusBar>("sb")->panelText(app::TStatusBar::EncodingPanel), QStringLiteral("UTF-8"));
    EXPECT_TRUE(memo.Modified());
    window->UndoA();
    EXPECT_EQ(component<app::TStatusBar>("sb")->panelText(app::TStatusBar::EncodingPanel),
              QStringLiteral("Windows-1251"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(EditingCommandsTest, ACharacterTheChosenEncodingLacksIsReportedAndNothingChanges)
{
    // Line 2 holds the Windows-1251 letter "Ђ" (0x80), which 866 lacks.
    auto &memo = editorWith("mov ax, 1\r\n; \x80\r\n");
    window->DOS1Click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("Line 2"))) << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(text(), "mov ax, 1\r\n; \x80\r\n");
    EXPECT_EQ(memo.FontCharset(), 204);
    EXPECT_TRUE(component<QAction>("Windows1")->isChecked());
    EXPECT_FALSE(component<QAction>("DOS1")->isChecked());
    EXPECT_EQ(window->state().settings.Charset, QStringLiteral("Windows-1251"));
}

} // namespace
} // namespace velmora::testing
