// The editor control's mouse, wheel, scroll bars and popup menu, driven by events sent to its
// viewport.
#include "SourceMemoInputFixture.h"

#include "editor/core/keyfiles/KeyInfo.h"
#include "editor/core/layout/NavigatorPixels.h"
#include "editor/core/editing/SourceNavigator.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <string>

using namespace velmora;
using namespace velmora::widget;

namespace
{

class ContextRecorder : public IsmMemoListener
{
public:
    void notify(TSourceMemo &, TsmNotifyCodes codes) override { seen |= codes; }
    TsmNotifyCodes seen = 0;
};

using SourceMemoMouseTest = test::SourceMemoInputFixture;

std::string numberedLines(int n)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    return text;
}

} // namespace

TEST_F(SourceMemoMouseTest, DropInsideTheSelectionMovesNothingCtrlCopiesAndAPlainDropMovesInOneUndoStep)
{
    memo->SetTextBuf("alpha beta gamma");
    select(6, 4);
    drag(7, pointAt(9));
    EXPECT_EQ(text(), "alpha beta gamma");
    EXPECT_EQ(memo->SelLength(), 0);
    EXPECT_EQ(memo->SelStart(), 9);

    select(6, 4);
    drag(7, pointAt(16), Qt::ControlModifier);
    EXPECT_EQ(text(), "alpha beta gammabeta");
    EXPECT_EQ(memo->SelText(), "beta") << "the dropped text is selected";
    memo->Undo();
    ASSERT_EQ(text(), "alpha beta gamma");

    select(6, 4);
    drag(7, pointAt(0));
    EXPECT_EQ(text(), "betaalpha  gamma");
    EXPECT_EQ(memo->SelText(), "beta");
    memo->Undo();
    EXPECT_EQ(text(), "alpha beta gamma");
}

TEST_F(SourceMemoMouseTest, DuringADragCtrlShowsTheCopyPointerAndEscapeCancelsIt)
{
    memo->SetTextBuf("alpha beta gamma");
    select(6, 4);
    move(pointAt(7), Qt::NoButton);
    EXPECT_EQ(pointer(), Qt::ArrowCursor) << "resting on the selection";
    press(pointAt(7));
    move(pointAt(1), Qt::LeftButton);
    EXPECT_EQ(pointer(), Qt::DragMoveCursor);
    key(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_EQ(pointer(), Qt::BitmapCursor);
    key(QEvent::KeyRelease, Qt::Key_Control);
    EXPECT_EQ(pointer(), Qt::DragMoveCursor);
    key(QEvent::KeyPress, Qt::Key_Escape);
    EXPECT_EQ(pointer(), Qt::IBeamCursor);
    release(pointAt(1));
    EXPECT_EQ(text(), "alpha beta gamma");
    EXPECT_EQ(memo->SelText(), "beta");

    press(pointAt(7));
    move(pointAt(1), Qt::LeftButton);
    QFocusEvent focusLost(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(memo.get(), &focusLost);
    release(pointAt(1));
    EXPECT_EQ(text(), "alpha beta gamma") << "losing the focus cancels the drag";

    memo->setReadOnly(true);
    drag(7, pointAt(1));
    EXPECT_EQ(text(), "alpha beta gamma") << "read-only text is not dragged";
}

TEST_F(SourceMemoMouseTest, ClicksPlaceTheCaretBelowTheTextAtItsEndAndShiftClickExtends)
{
    memo->SetTextBuf("one\r\ntwo");
    click({60, 5 * lineHeight()});
    EXPECT_EQ(memo->SelStart(), memo->TextLength());
    EXPECT_EQ(memo->SelLength(), 0);

    click(pointAt(1));
    click(pointAt(6), Qt::ShiftModifier);
    EXPECT_EQ(memo->selectionStart().Pos(), 1);
    EXPECT_EQ(memo->selectionEnd().Pos(), 6);
    EXPECT_EQ(memo->origin().Pos(), 6) << "the caret is at the click";
    click(pointAt(7), Qt::ShiftModifier);
    EXPECT_EQ(memo->SelText(), "ne\r\ntw") << "the anchor stays";

    memo->setWordWrap(false);
    setOption(core::smoKeepColumnPos);
    const int blank = layout().blankWidth();
    click({pointAt(3).x() + 3 * blank, pointAt(3).y()});
    EXPECT_EQ(memo->SelStart(), 3);
    EXPECT_EQ(memo->overshoot(), 3) << "beyond the line end in virtual space";
}

TEST_F(SourceMemoMouseTest, TheLeftMarginSelectsWholeLinesUnlessLineSelectionIsOff)
{
    memo->SetTextBuf("first\r\nsecond\r\nthird");
    setOption(core::smoNoLineSelection);
    click(marginPoint(1));
    EXPECT_EQ(memo->SelLength(), 0);
    EXPECT_EQ(memo->SelStart(), 7);

    setOption(core::smoNoLineSelection, false);
    move(marginPoint(1), Qt::NoButton);
    EXPECT_EQ(pointer(), Qt::BitmapCursor) << "the line-selection arrow";
    move(pointAt(9), Qt::NoButton);
    EXPECT_EQ(pointer(), Qt::IBeamCursor);

    click(marginPoint(1));
    EXPECT_EQ(memo->SelText(), "second\r\n");
    EXPECT_EQ(memo->SelStart(), 7) << "the caret at the line's start";
    click(marginPoint(2));
    EXPECT_EQ(memo->SelText(), "third") << "the last line has no break";

    press(marginPoint(1));
    move(marginPoint(2), Qt::LeftButton);
    EXPECT_EQ(memo->SelText(), "second\r\nthird");
    move(marginPoint(0), Qt::LeftButton);
    EXPECT_EQ(memo->SelText(), "first\r\nsecond\r\n");
    release(marginPoint(0));
}

TEST_F(SourceMemoMouseTest, DoubleClickSelectsAWordAndDraggingExtendsByWords)
{
    memo->SetTextBuf("alpha beta gamma delta");
    doubleClick(pointAt(7));
    EXPECT_EQ(memo->SelText(), "beta");
    move(pointAt(13), Qt::LeftButton);
    EXPECT_EQ(memo->SelText(), "beta gamma");
    move(pointAt(2), Qt::LeftButton);
    EXPECT_EQ(memo->SelText(), "alpha beta");
    EXPECT_EQ(memo->origin().Pos(), 0);
    release(pointAt(2));
}

TEST_F(SourceMemoMouseTest, AltDragSelectsAColumnBlockThatTheNextPressEnds)
{
    memo->setWordWrap(false);
    setOption(core::smoBlockSelection);
    memo->SetTextBuf("abcdefgh\r\nABCDEFGH\r\n12345678");
    press(pointAt(2), Qt::AltModifier);
    move(pointAt(20 + 5), Qt::LeftButton);
    release(pointAt(20 + 5));
    ASSERT_TRUE(memo->blockSelection());
    EXPECT_EQ(memo->blockColumns(), std::make_pair(2, 5));
    EXPECT_EQ(memo->SelText(), "cde\r\nCDE\r\n345\r\n");

    click(pointAt(1));
    EXPECT_FALSE(memo->blockSelection());
}

TEST_F(SourceMemoMouseTest, ContextWordsFireOnContextInsteadOfThePopupAndShowTheirPointer)
{
    memo->Keywords().AddKeyword("mov", core::kOptWholeWords, 0, 42, core::kCursorHandPoint, -1, -1);
    memo->SetTextBuf("  mov ax, bx");
    memo->ReApplyKeywords();
    std::vector<std::array<std::int32_t, 3>> contexts;
    memo->OnContext = [&](TSourceMemo &, std::int32_t context, std::int32_t start, std::int32_t stop) {
        contexts.push_back({context, start, stop});
    };
    ContextRecorder listener;
    memo->addChangeListener(&listener);

    click(pointAt(3), {}, Qt::RightButton);
    ASSERT_EQ(contexts.size(), 1u);
    EXPECT_EQ(contexts[0], (std::array<std::int32_t, 3>{42, 2, 5}));
    EXPECT_EQ(memo->lastContextNumber(), 42);
    EXPECT_TRUE(listener.seen & ncContextRightClick);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    click(pointAt(4));
    EXPECT_EQ(contexts.size(), 2u) << "a left click that did not move";
    EXPECT_TRUE(listener.seen & ncContextLeftClick);

    click(pointAt(7), {}, Qt::RightButton);
    EXPECT_EQ(contexts.size(), 2u);
    QWidget *popup = QApplication::activePopupWidget();
    EXPECT_EQ(popup, memo->preparePopupMenu()) << "plain text opens the default popup";
    if (popup)
        popup->close();

    move(pointAt(3), Qt::NoButton);
    EXPECT_EQ(pointer(), Qt::PointingHandCursor);
    move(pointAt(7), Qt::NoButton);
    EXPECT_EQ(pointer(), Qt::IBeamCursor);
    memo->removeChangeListener(&listener);
}

TEST_F(SourceMemoMouseTest, DefaultPopupItemsFollowUndoSelectionModesAndClipboard)
{
    QMenu *menu = memo->preparePopupMenu();
    ASSERT_NE(menu, nullptr);
    const QList<QAction *> items = menu->actions();
    ASSERT_EQ(items.size(), 8);
    QStringList texts;
    for (const QAction *item : items)
        texts << (item->isSeparator() ? QStringLiteral("-") : item->text());
    EXPECT_EQ(texts.join(','), "&Undo,&Redo,-,Cu&t,&Copy,&Paste,-,&Select all");
    QAction *undo = items[0], *redo = items[1], *cut = items[3], *copy = items[4], *paste = items[5],
            *selectAll = items[7];
    const auto prepare = [&] { return memo->preparePopupMenu(); };

    QGuiApplication::clipboard()->clear();
    prepare();
    EXPECT_FALSE(undo->isEnabled() || redo->isEnabled() || cut->isEnabled() || copy->isEnabled() || paste->isEnabled());
    EXPECT_TRUE(selectAll->isEnabled());

    memo->SetSelTextBuf("some text");
    QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    selectAll->trigger();
    EXPECT_EQ(memo->SelText(), "some text");
    prepare();
    EXPECT_TRUE(undo->isEnabled() && cut->isEnabled() && copy->isEnabled() && paste->isEnabled());
    EXPECT_FALSE(redo->isEnabled());

    memo->setReadOnly(true);
    prepare();
    EXPECT_FALSE(cut->isEnabled() || paste->isEnabled());
    EXPECT_TRUE(copy->isEnabled());
    memo->setReadOnly(false);

    undo->trigger();
    prepare();
    EXPECT_EQ(memo->TextLength(), 0);
    EXPECT_TRUE(redo->isEnabled());

    QMenu own;
    memo->setPopupMenu(&own);
    EXPECT_EQ(prepare(), &own);
    memo->setPopupMenu(nullptr);
    setOption(core::smoNoDefaultPopup);
    EXPECT_EQ(prepare(), nullptr);
}

TEST_F(SourceMemoMouseTest, WheelTurnsAccumulateIntoWholeLines)
{
    memo->SetTextBuf(numberedLines(100).c_str());
    memo->setMouseWheelFactor(1);
    wheel(-40);
    wheel(-40);
    EXPECT_EQ(layout().geometry.vertOffset, 0);
    wheel(-40);
    EXPECT_EQ(layout().geometry.vertOffset, lineHeight());
    wheel(360);
    EXPECT_EQ(layout().geometry.vertOffset, 0) << "not above the first line";

    memo->setMouseWheelFactor(-1);
    wheel(-120);
    EXPECT_EQ(memo->MouseWheelFactor(), QApplication::wheelScrollLines());
    EXPECT_EQ(layout().topLine(), QApplication::wheelScrollLines());
}

TEST_F(SourceMemoMouseTest, ScrollBarRequestsMoveTheTopLineByLinesAndPages)
{
    memo->setScrollTime(0);
    memo->SetTextBuf(numberedLines(100).c_str());
    QScrollBar *bar = memo->verticalScrollBar();
    const int lh = lineHeight();
    const int shown = layout().visibleLineCount();
    const auto request = [](QScrollBar *b, QAbstractSlider::SliderAction action) { b->triggerAction(action); };

    request(bar, QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(layout().geometry.vertOffset, lh);
    EXPECT_EQ(bar->value(), lh / layout().verticalRange().unit);
    request(bar, QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(layout().topLine(), shown);
    request(bar, QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(layout().topLine(), 2);
    layout().scrollTo(2 * lh + 3, 0, 0);
    request(bar, QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(layout().geometry.vertOffset, 2 * lh) << "aligned to the top line first";
    request(bar, QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(layout().geometry.vertOffset, 2 * lh) << "other requests are ignored";
    EXPECT_EQ(bar->value(), 2 * lh / layout().verticalRange().unit);

    memo->BeginUpdate();
    request(bar, QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(layout().geometry.vertOffset, 2 * lh) << "ignored while updates are locked";
    memo->EndUpdate();

    for (int i = 0; i < 20; ++i)
        request(bar, QAbstractSlider::SliderPageStepAdd);
    const int bottom = 101 * lh - layout().geometry.clientHeight + 3;
    EXPECT_EQ(layout().geometry.vertOffset, bottom) << "page down stops at the last page";

    memo->setWordWrap(false);
    memo->setScrollBars(core::ssBoth);
    memo->SetTextBuf(std::string(300, 'x').c_str());
    QScrollBar *hbar = memo->horizontalScrollBar();
    const int step = layout().geometry.clientWidth / 20;
    request(hbar, QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(layout().geometry.horzOffset, step + 1);
    request(hbar, QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(layout().geometry.horzOffset, 0);
    for (int i = 0; i < 100; ++i)
        request(hbar, QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(layout().geometry.horzOffset, hbar->maximum() * layout().horizontalRange().unit)
        << "not beyond the bar's end";
}

TEST_F(SourceMemoMouseTest, SelectingBelowTheWindowScrollsUntilTheButtonComesUp)
{
    memo->setScrollTime(0);
    memo->SetTextBuf(numberedLines(100).c_str());
    int scrolls = 0;
    // The release arrives as an event while the loop runs, after its third step.
    memo->OnVScroll = [&](TSourceMemo &) {
        if (++scrolls == 3)
            QTimer::singleShot(0, viewport(), [this] {
                QTest::mouseRelease(viewport(), Qt::LeftButton, {}, {20, 20});
            });
    };
    QTest::mousePress(viewport(), Qt::LeftButton, {}, pointAt(2));
    // 30 pixels below: speed level 10, no wait between steps.
    QTest::mouseMove(viewport(), {20, viewport()->height() + 30});
    EXPECT_GE(layout().topLine(), 3);
    EXPECT_GT(memo->origin().DisplayLine(), layout().visibleLineCount()) << "the selection followed";
    const std::int32_t length = memo->SelLength();
    move({20, 20}, Qt::LeftButton);
    EXPECT_EQ(memo->SelLength(), length) << "the release ended selecting";
}
