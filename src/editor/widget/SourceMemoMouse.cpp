// The editor control's mouse: selection by character, by word (double click), by whole lines
// (left margin) and by column block (Alt), clicks on highlighted words with a context number,
// and the pointers shown over the text.
#include "editor/widget/SourceMemo.h"

#include "editor/core/editing/SourceNavigator.h"
#include "editor/core/highlight/HighlightRuns.h"
#include "editor/core/layout/LineGeometry.h"
#include "editor/core/layout/NavigatorPixels.h"
#include "editor/widget/SourceMemoCursors.h"

#include <QContextMenuEvent>
#include <QEventLoop>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include <utility>

namespace velmora::widget
{

namespace
{

QPoint pointOf(const QMouseEvent *event)
{
    return event->position().toPoint();
}

} // namespace

void TSourceMemo::setUpMouse()
{
    mouse_.nav = new core::TSourceNavigator(&core_);
    mouse_.wordStart = new core::TSourceNavigator(&core_);
    mouse_.wordEnd = new core::TSourceNavigator(&core_);
    mouse_.scratch = new core::TSourceNavigator(&core_);
    viewport()->setMouseTracking(true);
    // The control answers every request itself; the bar then shows where the view went.
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this](int action) {
        verticalScrollRequest(action);
        verticalScrollBar()->setSliderPosition(verticalScrollBar()->value());
    });
    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this, [this](int action) {
        horizontalScrollRequest(action);
        horizontalScrollBar()->setSliderPosition(horizontalScrollBar()->value());
    });
}

void TSourceMemo::setCursor(const QCursor &cursor)
{
    cursor_ = cursor;
    showPointer(cursor);
}

void TSourceMemo::showPointer(const QCursor &cursor)
{
    viewport()->setCursor(cursor);
}

// ---- Events -------------------------------------------------------------------------------------

void TSourceMemo::mousePressEvent(QMouseEvent *event)
{
    finishScrollAnimation();
    mouse_.pressPoint = pointOf(event);
    mouse_.movedSincePress = false;
    if (event->button() == Qt::LeftButton)
        leftButtonDown(pointOf(event), event->modifiers(), false);
    buttonWentDown(event);
}

void TSourceMemo::mouseDoubleClickEvent(QMouseEvent *event)
{
    mouse_.pressPoint = pointOf(event);
    mouse_.movedSincePress = false;
    if (event->button() == Qt::LeftButton) {
        if (!displayOnly_) {
            mouse_.wordSelecting = true;
            selectWordAt(pointOf(event));
        }
        leftButtonDown(pointOf(event), event->modifiers(), true);
    }
    buttonWentDown(event);
}

void TSourceMemo::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint point = pointOf(event);
    if (point != mouse_.pressPoint)
        mouse_.movedSincePress = true;
    mouse_.last = point;
    if (event->buttons() == Qt::NoButton)
        hover(point);
    else if (mouse_.selecting)
        mouseMoved(point, event->modifiers());
}

void TSourceMemo::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint point = pointOf(event);
    const Qt::MouseButton button = event->button();
    if (button == Qt::LeftButton) {
        if (mouse_.wordSelecting)
            setOvershoot(0);
        const bool dragged = std::exchange(mouse_.dragging, false);
        endMouseSelection();
        if (dragged) {
            drop(point, event->modifiers());
            return;
        }
    }
    const bool clicked = !mouse_.movedSincePress || button == Qt::RightButton;
    const bool contextHit =
        clicked && (button == Qt::LeftButton || button == Qt::RightButton) && contextClick(point, button);
    if (button == Qt::RightButton && !contextHit)
        popupAt(point);
    if (button == Qt::LeftButton && !displayOnly_)
        layout_->scrollCaretIntoView(origin());
}

void TSourceMemo::contextMenuEvent(QContextMenuEvent *event)
{
    // A right click's popup opens when the button comes up, unless the click hit a context word.
    if (event->reason() == QContextMenuEvent::Mouse)
        event->accept();
    else
        QAbstractScrollArea::contextMenuEvent(event);
}

void TSourceMemo::endMouseSelection()
{
    if (mouse_.dragging) {
        mouse_.dragging = false;
        showPointer(cursor_);
        placeCaret();
    }
    mouse_.selecting = false;
    mouse_.wordSelecting = false;
    mouse_.scrollDirection = TsmScrollDirection::none;
    if (mouse_.scrollWait)
        mouse_.scrollWait->quit();
}

// Every button: the focus, then OnAfterMouseDown.
void TSourceMemo::buttonWentDown(QMouseEvent *event)
{
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    if (OnAfterMouseDown)
        OnAfterMouseDown(*this, event->button(), event->modifiers(), pointOf(event).x(), pointOf(event).y());
}

// ---- Pressing the left button ------------------------------------------------------------------

void TSourceMemo::leftButtonDown(QPoint point, Qt::KeyboardModifiers shift, bool doubleClick)
{
    if (blockSelection()) {
        repaintSelection();
        setSelLength(SelLength()); // ends the column block
    }
    dropDesiredX();
    if (displayOnly_)
        return;
    mouse_.selecting = true;
    if (doubleClick)
        return;
    setOvershoot(0);
    hover(point);
    if (mouse_.overSelection) {
        startDrag(point);
        return;
    }
    if (mouse_.lineSelectLine >= 0)
        selectDisplayLines(mouse_.lineSelectLine, mouse_.lineSelectLine);
    else
        placeAtPoint(point, shift);
    placeCaret();
}

void TSourceMemo::placeAtPoint(QPoint point, Qt::KeyboardModifiers shift)
{
    const bool block =
        (shift & kShiftStateKeys) == Qt::AltModifier && Options()[core::smoBlockSelection] && !WordWrap();
    mouseNavigatorTo(point);
    const std::int32_t over = Options()[core::smoKeepColumnPos] || block ? overshootAt(point) : 0;
    const std::int32_t caret = mouse_.nav->Pos();
    selectRange(shift & Qt::ShiftModifier ? anchorPosition() : caret, caret);
    setOvershoot(over);
    if (block) {
        const std::int32_t column = caretColumn();
        setBlockColumns(column, column);
    }
}

// ---- Moving the mouse --------------------------------------------------------------------------

void TSourceMemo::hover(QPoint point)
{
    if (inLineSelectionZone(point)) {
        mouse_.lineSelectLine = std::min(displayLineAt(point.y()), lastDisplayLine());
        mouse_.overSelection = false;
        showPointer(rightArrowCursor());
        return;
    }
    mouse_.lineSelectLine = -1;
    mouse_.overSelection = dragAllowedAt(point);
    if (mouse_.overSelection) {
        showPointer(Qt::ArrowCursor);
        return;
    }
    std::int16_t pointer = 0;
    if (characterUnder(point)) {
        const core::RunInfo &run = mouse_.scratch->currentRun();
        if (core::hasAttributes(run))
            pointer = run.cursor;
    }
    showPointer(standardCursor(pointer, cursor_));
}

// A move with the left button held after a press in the text, real or fed by auto-scrolling.
void TSourceMemo::mouseMoved(QPoint point, Qt::KeyboardModifiers shift)
{
    const bool startAutoScroll = takeAutoScrollDirection(point);
    if (mouse_.dragging)
        dragMoved(point, shift);
    else
        extendSelection(onLastLineAtMost(point));
    if (startAutoScroll)
        autoScroll();
}

void TSourceMemo::extendSelection(QPoint point)
{
    if (mouse_.lineSelectLine >= 0) {
        selectDisplayLines(mouse_.lineSelectLine, std::max(displayLineAt(point.y()), 0));
        return;
    }
    mouseNavigatorTo(point);
    if (mouse_.wordSelecting) {
        selectWords();
        return;
    }
    const bool block = blockSelection();
    const std::int32_t firstColumn = blockColumns().first;
    selectRange(anchorPosition(), mouse_.nav->Pos());
    if (block) {
        setOvershoot(overshootAt(point));
        setBlockColumns(firstColumn, caretColumn());
    }
    placeCaret();
}

// ---- Words and lines ---------------------------------------------------------------------------

void TSourceMemo::selectWordAt(QPoint point)
{
    mouseNavigatorTo(point);
    const core::SeparatorSet &separators = core_.Separators();
    mouse_.wordStart->assign(*mouse_.nav);
    mouse_.wordStart->toWordStartInParagraph(separators);
    mouse_.wordEnd->assign(*mouse_.nav);
    mouse_.wordEnd->toWordEndInParagraph(separators);
    selectRange(mouse_.wordStart->Pos(), mouse_.wordEnd->Pos());
    placeCaret();
}

// The selection keeps the word first double-clicked; its moving end snaps to the start or the
// end of the word under the mouse.
void TSourceMemo::selectWords()
{
    const std::int32_t at = mouse_.nav->Pos();
    const std::int32_t wordStart = mouse_.wordStart->Pos();
    const std::int32_t wordEnd = mouse_.wordEnd->Pos();
    core::TSourceNavigator &end = *mouse_.scratch;
    end.setPos(at);
    if (at < wordStart) {
        end.toWordStartInParagraph(core_.Separators());
        selectRange(wordEnd, end.Pos());
    } else if (at > wordEnd) {
        end.toWordEndInParagraph(core_.Separators());
        selectRange(wordStart, end.Pos());
    } else {
        selectRange(wordStart, wordEnd);
    }
    placeCaret();
}

bool TSourceMemo::inLineSelectionZone(QPoint point) const
{
    return !Options()[core::smoNoLineSelection] && point.x() < LeftMargin() - layout_->geometry.horzOffset - 2;
}

// Whole display lines from..to, each with its end (a paragraph's last line with its break).
// The caret goes to the end of line to below from, else to the start of line to.
void TSourceMemo::selectDisplayLines(std::int32_t from, std::int32_t to)
{
    to = std::min(to, lastDisplayLine());
    if (to > from)
        selectRange(displayLineStart(from), displayLineEnd(to));
    else
        selectRange(displayLineEnd(from), displayLineStart(to));
    placeCaret();
}

std::int32_t TSourceMemo::displayLineStart(std::int32_t line)
{
    return keys_->displayLineStart(line);
}

std::int32_t TSourceMemo::displayLineEnd(std::int32_t line)
{
    return line < lastDisplayLine() ? displayLineStart(line + 1) : TextLength();
}

// ---- Context clicks ----------------------------------------------------------------------------

bool TSourceMemo::contextClick(QPoint point, Qt::MouseButton button)
{
    const std::optional<std::int32_t> at = characterUnder(point);
    if (!at)
        return false;
    const std::optional<core::THighlightContext> context = engine_->contextAt(*at);
    if (!context)
        return false;
    mouse_.lastContext = context->Context;
    notifyChangeListeners(button == Qt::RightButton ? ncContextRightClick : ncContextLeftClick);
    if (OnContext)
        OnContext(*this, context->Context, context->StartOffset, context->StopOffset);
    return true;
}

// ---- Positions and points ----------------------------------------------------------------------

std::int32_t TSourceMemo::displayLineAt(std::int32_t y) const
{
    const std::int64_t documentY = static_cast<std::int64_t>(y) + layout_->geometry.vertOffset;
    const std::int64_t lh = layout_->lineHeight();
    // Rounded down, also above the document's top.
    return static_cast<std::int32_t>(documentY >= 0 ? documentY / lh : (documentY - lh + 1) / lh);
}

std::int32_t TSourceMemo::lastDisplayLine() const
{
    return keys_->lastDisplayLine();
}

QPoint TSourceMemo::onLastLineAtMost(QPoint point) const
{
    const std::int64_t lastRow =
        static_cast<std::int64_t>(lastDisplayLine() + 1) * layout_->lineHeight() - layout_->geometry.vertOffset - 1;
    return {point.x(), static_cast<int>(std::min<std::int64_t>(point.y(), lastRow))};
}

void TSourceMemo::mouseNavigatorTo(QPoint point)
{
    const std::int32_t line = displayLineAt(point.y());
    if (line >= 0 && line <= lastDisplayLine())
        layout_->layOutUpToLine(line);
    core::fromPoint(*mouse_.nav, *layout_, point.x(), point.y());
}

std::optional<std::int32_t> TSourceMemo::characterUnder(QPoint point)
{
    const std::int32_t line = displayLineAt(point.y());
    if (line < 0 || line > lastDisplayLine() || paragraphs().marks().visibleLineCount() == 0)
        return std::nullopt;
    layout_->layOutUpToLine(line);
    mouse_.scratch->setDisplayLine(line);
    if (!core::toCharacterAt(*mouse_.scratch, *layout_, point.x()))
        return std::nullopt;
    return mouse_.scratch->Pos();
}

std::int32_t TSourceMemo::overshootAt(QPoint point)
{
    core::TSourceNavigator &nav = *mouse_.nav;
    if (displayLineAt(point.y()) > lastDisplayLine())
        return 0;
    const bool atEnd = nav.ParOffset() >= nav.paragraph()->length();
    if (!atEnd && nav.character() != '\t')
        return 0;
    return std::max(0, (point.x() - core::navigatorX(nav, *layout_)) / std::max(layout_->blankWidth(), 1));
}

std::int32_t TSourceMemo::caretColumn()
{
    return keys_->caretColumn();
}

// ---- Selection ---------------------------------------------------------------------------------

std::int32_t TSourceMemo::anchorPosition()
{
    return keys_->anchorPosition();
}

void TSourceMemo::selectRange(std::int32_t anchor, std::int32_t caret)
{
    keys_->selectRange(anchor, caret);
}

} // namespace velmora::widget
