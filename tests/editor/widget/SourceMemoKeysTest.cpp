// The editor control's keyboard: caret movement and selection, the editing keys, typing with
// its aids, the hot keys and the keys it passes on to its owner.
#include "SourceMemoInputFixture.h"

#include "editor/core/editing/StoreConsistency.h"
#include "support/ScriptedDialogs.h"

#include <QClipboard>
#include <QGuiApplication>

#include <random>

using namespace velmora;
using namespace velmora::widget;

namespace
{

class SourceMemoKeysTest : public test::SourceMemoInputFixture
{
protected:
    // Offset of the caret in its paragraph.
    std::int32_t caretOffset() { return memo->origin().ParOffset(); }
    std::int32_t caretPar() { return memo->origin().ParNumber(); }
    void caretTo(std::int32_t pos) { memo->setSelStart(pos); }
    std::string paragraph(std::int32_t i) { return std::string(memo->paragraphs().textOf(i)); }
};

// A parent that records the keys the control passes on.
class KeyRecorder : public QWidget
{
public:
    std::vector<int> keys;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        keys.push_back(event->key());
        event->accept();
    }
};

TEST_F(SourceMemoKeysTest, RightAtALineEndEntersVirtualSpaceOnlyWithKeepColumnPosAndNoWrapCaret)
{
    memo->setWordWrap(false);
    setOption(core::smoWrapCaret, false);
    load("abc\r\ndef");
    caretTo(3);
    hit(Qt::Key_Right);
    EXPECT_EQ(memo->SelStart(), 5) << "without smoKeepColumnPos the caret wraps";

    setOption(core::smoKeepColumnPos);
    caretTo(3);
    hit(Qt::Key_Right);
    hit(Qt::Key_Right);
    EXPECT_EQ(memo->SelStart(), 3);
    EXPECT_EQ(memo->overshoot(), 2);
    EXPECT_EQ(memo->SelCol(), 5);
    hit(Qt::Key_Left);
    EXPECT_EQ(memo->overshoot(), 1) << "Left in virtual space shrinks the overshoot";
    EXPECT_EQ(memo->SelStart(), 3);

    setOption(core::smoWrapCaret);
    caretTo(3);
    hit(Qt::Key_Right);
    EXPECT_EQ(memo->SelStart(), 5) << "smoWrapCaret wraps to the next paragraph";
    EXPECT_EQ(memo->overshoot(), 0);
    hit(Qt::Key_Left);
    EXPECT_EQ(memo->SelStart(), 3) << "Left at a paragraph start goes to the previous end";
}

TEST_F(SourceMemoKeysTest, UpAndDownAcrossAShortLineReturnToTheStartingX)
{
    memo->setWordWrap(false);
    load("abcdefgh\r\nab\r\nabcdefgh");
    caretTo(6);
    hit(Qt::Key_Down);
    EXPECT_EQ(caretPar(), 1);
    EXPECT_EQ(caretOffset(), 2) << "the short line's end is the nearest character";
    hit(Qt::Key_Down);
    EXPECT_EQ(caretPar(), 2);
    EXPECT_EQ(caretOffset(), 6) << "the desired x survives the short line";
    hit(Qt::Key_Up);
    hit(Qt::Key_Up);
    EXPECT_EQ(caretPar(), 0);
    EXPECT_EQ(caretOffset(), 6);
    hit(Qt::Key_Up);
    EXPECT_EQ(memo->SelStart(), 6) << "Up on the first line does nothing";

    // A horizontal move forgets the desired x.
    hit(Qt::Key_Down);
    hit(Qt::Key_Left);
    hit(Qt::Key_Down);
    EXPECT_EQ(caretPar(), 2);
    EXPECT_EQ(caretOffset(), 1);

    // With smoKeepColumnPos the short line is left in virtual space at the same x.
    setOption(core::smoKeepColumnPos);
    caretTo(6);
    hit(Qt::Key_Down);
    EXPECT_EQ(caretOffset(), 2);
    EXPECT_EQ(memo->overshoot(), 4);
    EXPECT_EQ(memo->SelCol(), 6);
}

TEST_F(SourceMemoKeysTest, ShiftExtendsTheSelectionAndAPlainMoveDropsIt)
{
    memo->setWordWrap(false);
    load("mov ax, bx\r\nadd ax, 1");
    caretTo(4);
    hit(Qt::Key_Right, Qt::ShiftModifier);
    hit(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(memo->SelText(), "ax");
    hit(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(memo->SelText(), "ax, bx");
    hit(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(memo->SelText(), "ax, bx\r\nadd ax, 1");
    hit(Qt::Key_Left);
    EXPECT_EQ(memo->SelLength(), 0);

    hit(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(memo->SelStart(), 0);
    hit(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(memo->SelStart(), 4) << "Ctrl+Right goes to the next word start";
    hit(Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(memo->SelText(), "ax, bx\r\nadd ax, 1");

    // With smoPersistentBlocks a plain move keeps the selection.
    setOption(core::smoPersistentBlocks);
    hit(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(memo->SelText(), "ax, bx\r\nadd ax, 1");
    EXPECT_EQ(memo->origin().Pos(), 0);
}

TEST_F(SourceMemoKeysTest, ShiftAltArrowsSelectAColumnBlockAndAltAloneDoesNothing)
{
    memo->setWordWrap(false);
    setOption(core::smoBlockSelection);
    load("abcdef\r\nghijkl\r\nmnopqr");
    caretTo(1);
    hit(Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(memo->SelStart(), 1) << "Alt+arrow outside block mode is ignored";
    for (int i = 0; i < 2; ++i)
        hit(Qt::Key_Right, Qt::ShiftModifier | Qt::AltModifier);
    hit(Qt::Key_Down, Qt::ShiftModifier | Qt::AltModifier);
    hit(Qt::Key_Down, Qt::ShiftModifier | Qt::AltModifier);
    ASSERT_TRUE(memo->blockSelection());
    EXPECT_EQ(memo->blockText(), "bc\r\nhi\r\nno\r\n");
    hit(Qt::Key_Left);
    EXPECT_FALSE(memo->blockSelection()) << "a plain move ends block mode";

    memo->setWordWrap(true);
    caretTo(1);
    hit(Qt::Key_Right, Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_FALSE(memo->blockSelection()) << "no blocks while WordWrap is on";
}

TEST_F(SourceMemoKeysTest, BackspaceInTheIndentationWithBackIndentRemovesOneStep)
{
    memo->setWordWrap(false);
    const std::string source = "start:\r\n    mov ax, 1\r\n\r\n        add ax, 2";
    load(source);
    const std::int32_t addLine = memo->paragraphs().startOf(3);
    caretTo(addLine + 8);
    hit(Qt::Key_Backspace);
    EXPECT_EQ(paragraph(3), "       add ax, 2") << "without smoBackIndent one blank goes";

    load(source);
    setOption(core::smoBackIndent);
    caretTo(addLine + 8);
    hit(Qt::Key_Backspace);
    EXPECT_EQ(paragraph(3), "    add ax, 2") << "back to the indentation above, past the empty line";
    hit(Qt::Key_Backspace);
    EXPECT_EQ(paragraph(3), "add ax, 2");
    hit(Qt::Key_Backspace);
    EXPECT_EQ(memo->ParagraphCount(), 3) << "at a paragraph start the break goes";
    EXPECT_EQ(paragraph(2), "add ax, 2");

    // Inside a word Backspace still deletes one character.
    caretTo(memo->paragraphs().startOf(1) + 7);
    hit(Qt::Key_Backspace);
    EXPECT_EQ(paragraph(1), "    mo ax, 1");
}

TEST_F(SourceMemoKeysTest, EnterWithAutoIndentTakesTheNearestNonEmptyLineAbove)
{
    memo->setWordWrap(false);
    setOption(core::smoAutoIndent);
    load("proc near\r\n\tmov ax, 1\r\n");
    caretTo(memo->TextLength());
    ASSERT_EQ(paragraph(caretPar()), "");
    hit(Qt::Key_Return, {}, QStringLiteral("\r"));
    EXPECT_EQ(paragraph(3), "\t") << "the empty line takes the indentation above it";
    EXPECT_EQ(memo->SelStart(), memo->TextLength());

    // Inside the caret's own indentation only the blanks before the caret are copied.
    load("        ret");
    caretTo(4);
    hit(Qt::Key_Return, {}, QStringLiteral("\r"));
    EXPECT_EQ(paragraph(0), "    ");
    EXPECT_EQ(paragraph(1), "        ret");

    // Without the option Enter only breaks the line.
    setOption(core::smoAutoIndent, false);
    load("    mov ax, 1");
    caretTo(memo->TextLength());
    hit(Qt::Key_Return, {}, QStringLiteral("\r"));
    EXPECT_EQ(paragraph(1), "");
}

TEST_F(SourceMemoKeysTest, TabLinesUpWithTheNextWordOfALongerLineAbove)
{
    memo->setWordWrap(false);
    setOption(core::smoSmartTabs);
    load("mov     ax, bx\r\nadd");
    caretTo(memo->TextLength());
    hit(Qt::Key_Tab, {}, QStringLiteral("\t"));
    EXPECT_EQ(paragraph(1), "add     ") << "blanks up to the column of ax";
    type("cx");
    hit(Qt::Key_Tab, {}, QStringLiteral("\t"));
    EXPECT_EQ(paragraph(1), "add     cx  ");

    // In the first paragraph nothing lines the caret up: a tab is typed.
    caretTo(0);
    hit(Qt::Key_Tab, {}, QStringLiteral("\t"));
    EXPECT_EQ(paragraph(0), "\tmov     ax, bx");

    // Without the option, or with Ctrl, Tab is a tab character or passes on.
    setOption(core::smoSmartTabs, false);
    caretTo(memo->TextLength());
    hit(Qt::Key_Tab, {}, QStringLiteral("\t"));
    EXPECT_EQ(paragraph(1), "add     cx  \t");
    EXPECT_FALSE(hit(Qt::Key_Tab, Qt::ControlModifier, QStringLiteral("\t")));
}

TEST_F(SourceMemoKeysTest, OverwriteReplacesCharactersAndInsertTogglesItWhenActive)
{
    int styleChanges = 0;
    memo->OnStyleChange = [&](TSourceMemo &) { ++styleChanges; };
    load("mov ax, bx\r\nret");
    setOption(core::smoInsertKeyActive, false);
    hit(Qt::Key_Insert);
    EXPECT_FALSE(memo->Overwrite()) << "Insert does nothing without smoInsertKeyActive";
    setOption(core::smoInsertKeyActive);
    hit(Qt::Key_Insert);
    EXPECT_TRUE(memo->Overwrite());
    EXPECT_EQ(styleChanges, 1);
    caretTo(4);
    type("cx");
    EXPECT_EQ(paragraph(0), "mov cx, bx");
    caretTo(8);
    type("dxy");
    EXPECT_EQ(paragraph(0), "mov cx, dxy") << "at the paragraph end characters are added";
    hit(Qt::Key_Return, {}, QStringLiteral("\r"));
    EXPECT_EQ(memo->ParagraphCount(), 2) << "Enter in overwrite mode only moves";
    EXPECT_EQ(memo->SelStart(), memo->paragraphs().startOf(1));
    hit(Qt::Key_Return, {}, QStringLiteral("\r"));
    EXPECT_EQ(memo->ParagraphCount(), 3) << "on the last line a line is added";
    EXPECT_EQ(memo->SelStart(), memo->TextLength());
}

TEST_F(SourceMemoKeysTest, DeletingKeysJoinWordsAndLineEnds)
{
    memo->setWordWrap(false);
    load("mov ax, bx\r\nret");
    caretTo(10);
    hit(Qt::Key_Delete);
    EXPECT_EQ(paragraph(0), "mov ax, bxret") << "Delete at a paragraph end joins";
    hit(Qt::Key_Delete);
    EXPECT_EQ(paragraph(0), "mov ax, bxet");
    hit(Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(paragraph(0), "mov ax, et") << "Ctrl+Backspace deletes back to the word start";
    caretTo(3);
    hit(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(paragraph(0), "mov") << "Ctrl+Delete deletes to the line end";
    hit(Qt::Key_Backspace);
    hit(Qt::Key_Backspace);
    hit(Qt::Key_Backspace);
    hit(Qt::Key_Backspace);
    EXPECT_EQ(text(), "");
    type("xyz");
    memo->Undo();
    EXPECT_EQ(text(), "") << "typing is one undo step";
    memo->Undo();
    EXPECT_EQ(text(), "m") << "each deletion is one";
}

TEST_F(SourceMemoKeysTest, NoOverwriteBlocksKeepsThePersistentBlockWhileTyping)
{
    memo->setWordWrap(false);
    setOption(core::smoNoOverwriteBlocks);
    load("mov ax, bx");
    select(4, 2);
    hit(Qt::Key_End);
    type("X");
    EXPECT_EQ(text(), "mov ax, bxX") << "without smoPersistentBlocks the selection is only dropped";
    EXPECT_EQ(memo->SelLength(), 0);

    setOption(core::smoPersistentBlocks);
    load("mov ax, bx");
    select(4, 2);
    hit(Qt::Key_End);
    EXPECT_EQ(memo->SelText(), "ax") << "the move keeps the block";
    type("Y");
    EXPECT_EQ(text(), "mov ax, bxY");
    EXPECT_EQ(memo->SelText(), "ax");
    hit(Qt::Key_Backspace);
    EXPECT_EQ(text(), "mov ax, bx");
    EXPECT_EQ(memo->SelText(), "ax");
    hit(Qt::Key_Backspace);
    EXPECT_EQ(text(), "mov ax, b");
    EXPECT_EQ(memo->SelText(), "ax") << "typing and deleting beside it keep the block";
    EXPECT_EQ(memo->origin().Pos(), 9);
    hit(Qt::Key_Home);
    hit(Qt::Key_Delete);
    EXPECT_EQ(text(), "ov ax, b");
    EXPECT_EQ(memo->SelText(), "ax");
}

TEST_F(SourceMemoKeysTest, CtrlChordsTypeNoCharactersAndUnhandledOnesPassOn)
{
    KeyRecorder owner;
    memo->setParent(&owner);
    load("mov");
    caretTo(3);
    EXPECT_TRUE(hit(Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier, QStringLiteral("#")));
    EXPECT_TRUE(hit(Qt::Key_X, Qt::AltModifier, QStringLiteral("x")));
    EXPECT_EQ(text(), "mov") << "Ctrl and Alt chords type nothing";
    EXPECT_EQ(owner.keys, (std::vector<int>{Qt::Key_3, Qt::Key_X}));

    // Ctrl+P is a hot key; with hot keys off the owner gets it and the text stays.
    hit(Qt::Key_P, Qt::ControlModifier, QStringLiteral("\x10"));
    EXPECT_EQ(text(), "mov\r\n\f");
    EXPECT_EQ(owner.keys.size(), 2u);
    memo->setEnableHotKeys(false);
    hit(Qt::Key_P, Qt::ControlModifier, QStringLiteral("\x10"));
    EXPECT_EQ(text(), "mov\r\n\f");
    EXPECT_EQ(owner.keys.back(), Qt::Key_P);

    // Keys of the control itself never reach the owner.
    owner.keys.clear();
    hit(Qt::Key_Left);
    hit(Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_TRUE(owner.keys.empty());
    memo->setParent(nullptr);
}

TEST_F(SourceMemoKeysTest, HotKeysUndoRedoAndTabAndOnKeyDownCanSwallowAKey)
{
    load("ret");
    caretTo(3);
    type("n");
    hit(Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(text(), "retn\t");
    hit(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), "ret") << "the tab continued the typing's undo step";
    hit(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(text(), "retn\t");
    memo->setReadOnly(true);
    hit(Qt::Key_Z, Qt::ControlModifier);
    type("x");
    hit(Qt::Key_Backspace);
    EXPECT_EQ(text(), "retn\t") << "ReadOnly blocks hot keys and editing";
    memo->setReadOnly(false);

    memo->OnKeyDown = [](TSourceMemo &, int &key, Qt::KeyboardModifiers) {
        if (key == Qt::Key_Q)
            key = 0;
    };
    type("qa");
    EXPECT_EQ(text(), "retn\ta");
}

TEST_F(SourceMemoKeysTest, ClipboardKeysCopyCutAndPaste)
{
    load("mov ax, bx");
    select(4, 2);
    hit(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("ax"));
    hit(Qt::Key_End);
    hit(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text(), "mov ax, bxax");
    select(0, 4);
    hit(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(text(), "ax, bxax");
    hit(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(text(), "mov ax, bxax");
    memo->setReadOnly(true);
    select(0, 3);
    hit(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(text(), "mov ax, bxax") << "ReadOnly does not cut";
    hit(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("mov")) << "but copies";
}

TEST_F(SourceMemoKeysTest, PageKeysMoveTheCaretAPageAndScrollWithIt)
{
    memo->setWordWrap(false);
    std::string lines;
    for (int i = 0; i < 60; ++i)
        lines += "line " + std::to_string(i) + "\r\n";
    load(lines);
    const std::int32_t page = layout().visibleLineCount() - 1;
    ASSERT_GT(page, 2);
    hit(Qt::Key_PageDown);
    EXPECT_EQ(memo->origin().DisplayLine(), page);
    EXPECT_EQ(layout().topLine(), page) << "the view scrolled a page with the caret";
    hit(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(memo->origin().DisplayLine(), 2 * page);
    const core::TViewGeometry &g = layout().geometry;
    EXPECT_GT(g.vertOffset, page * lineHeight()) << "Ctrl: only the caret moved, then into view";
    EXPECT_LE((2 * page + 1) * lineHeight(), g.vertOffset + g.clientHeight);
    hit(Qt::Key_PageUp, Qt::ShiftModifier);
    EXPECT_EQ(memo->origin().DisplayLine(), page);
    EXPECT_NE(memo->SelLength(), 0);
    hit(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(memo->SelStart(), memo->TextLength());
}

TEST_F(SourceMemoKeysTest, DisplayOnlyKeysScrollTheViewAndNeverMoveACaret)
{
    memo->setWordWrap(false);
    std::string lines;
    for (int i = 0; i < 60; ++i)
        lines += "line " + std::to_string(i) + std::string(i, '-') + "\r\n";
    load(lines);
    memo->setDisplayOnly(true);
    hit(Qt::Key_Down);
    hit(Qt::Key_Down);
    EXPECT_EQ(layout().topLine(), 2);
    hit(Qt::Key_PageDown, Qt::ControlModifier);
    const std::int32_t last = layout().topLine();
    EXPECT_GT(last, 40);
    hit(Qt::Key_Down);
    EXPECT_EQ(layout().topLine(), last) << "not past the last page";
    hit(Qt::Key_End);
    EXPECT_GT(layout().geometry.horzOffset, 0);
    hit(Qt::Key_Home);
    EXPECT_EQ(layout().geometry.horzOffset, 0);
    type("abc");
    hit(Qt::Key_Delete);
    EXPECT_EQ(memo->SelStart(), 0);
    EXPECT_EQ(text(), lines);
}

TEST_F(SourceMemoKeysTest, CtrlEChecksTheStoreAndReportsADisagreement)
{
    velmora::testing::ScriptedDialogs dialogs;
    load("one\r\ntwo\r\nthree");
    hit(Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(dialogs.messages.empty());
    memo->paragraphs().par(2)->rawStart += 1;
    hit(Qt::Key_E, Qt::ControlModifier);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("Error 2 in ")))
        << dialogs.messages[0].text.toStdString();
    memo->paragraphs().par(2)->rawStart -= 1;
}

TEST_F(SourceMemoKeysTest, RandomKeyAndMouseSequencesKeepTheStoreConsistentAndUndoRedoExact)
{
    for (const bool wrap : {true, false}) {
        memo->setWordWrap(wrap);
        setOption(core::smoBlockSelection);
        setOption(core::smoKeepColumnPos, !wrap);
        setOption(core::smoAutoIndent);
        setOption(core::smoBackIndent);
        setOption(core::smoSmartTabs);
        setOption(core::smoInsertKeyActive);
        setOption(core::smoNoDefaultPopup);
        std::string original;
        for (int i = 0; i < 30; ++i)
            original += std::string(i % 3 * 4, ' ') + "label" + std::to_string(i) + ":\tmov ax, " +
                        std::string(i % 5, 'q') + "\r\n";
        load(original);
        std::mt19937 rng(wrap ? 1234 : 5678);
        const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
        const Qt::Key keys[] = {Qt::Key_Left,      Qt::Key_Right,  Qt::Key_Up,     Qt::Key_Down,
                                Qt::Key_Home,      Qt::Key_End,    Qt::Key_PageUp, Qt::Key_PageDown,
                                Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Insert, Qt::Key_Tab,
                                Qt::Key_Return,    Qt::Key_T,      Qt::Key_P,      Qt::Key_Z};
        const Qt::KeyboardModifiers mods[] = {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier,
                                              Qt::ShiftModifier | Qt::AltModifier,
                                              Qt::ShiftModifier | Qt::ControlModifier};
        // Ctrl+Z and Ctrl+Shift+Z step through the undo list on the way.
        const char typed[] = "abc ;,:\t";
        for (int step = 0; step < 800; ++step) {
            const QPoint inside(pick(viewport()->width()) + 1, pick(viewport()->height()) + 1);
            // Held-button moves stay inside: beyond an edge the auto-scroll loop would wait for
            // the window system's button-up.
            const QPoint anywhere(pick(viewport()->width()), pick(viewport()->height()));
            switch (pick(9)) {
            case 0:
            case 1:
            case 2: {
                const Qt::Key k = keys[pick(16)];
                hit(k, mods[pick(5)], k == Qt::Key_Return ? QStringLiteral("\r") : QString());
                break;
            }
            case 3: {
                const char c = typed[pick(8)];
                hit(c == '\t' ? Qt::Key_Tab : static_cast<Qt::Key>(std::toupper(c)), {}, QString(QChar(c)));
                break;
            }
            case 4:
                click(inside, pick(3) ? Qt::NoModifier : Qt::ShiftModifier, pick(4) ? Qt::LeftButton : Qt::RightButton);
                break;
            case 5:
                doubleClick(inside);
                move(anywhere, Qt::LeftButton);
                release(inside);
                break;
            case 6:
                wheel(pick(2) ? 40 * (pick(3) + 1) : -40 * (pick(3) + 1));
                break;
            case 7: {
                // Drag and drop of a selection, moved or copied with Ctrl.
                const std::int32_t from = pick(std::max(memo->TextLength(), 1));
                select(from, pick(30) + 1);
                press(pointAt(from + 1));
                move(anywhere, Qt::LeftButton);
                release(inside, pick(2) ? Qt::NoModifier : Qt::ControlModifier);
                break;
            }
            default:
                press(inside, pick(2) ? Qt::NoModifier : Qt::AltModifier);
                move(anywhere, Qt::LeftButton);
                release(inside);
                break;
            }
            ASSERT_NO_THROW(core::checkStoreConsistency(memo->paragraphs())) << "step " << step;
            ASSERT_GE(memo->overshoot(), 0);
        }
        const std::string final = text();
        EXPECT_NE(final, original);
        while (memo->CanUndo())
            memo->Undo();
        EXPECT_EQ(text(), original);
        while (memo->CanRedo())
            memo->Redo();
        EXPECT_EQ(text(), final);
        memo->setOverwrite(false);
    }
}

} // namespace
