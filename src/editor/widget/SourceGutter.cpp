#include "editor/widget/SourceGutter.h"

#include "editor/core/editing/SourceMemoStrings.h"
#include "editor/core/editing/SourceNavigator.h"
#include "editor/widget/BookmarkIcons.h"
#include "editor/widget/SourceMemo.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace velmora::widget
{

namespace
{

// Keycodes of the digit row's keys 1 .. 9, 0 under X11 and Wayland.
constexpr quint32 kDigitRowFirst = 10;
constexpr quint32 kDigitRowLast = 19;

// The digit of a key of the digit row, -1 for other keys. With Shift most layouts report the
// symbol on the key, so the key's position decides then.
int digitOf(const QKeyEvent &key)
{
    if (key.key() >= Qt::Key_0 && key.key() <= Qt::Key_9)
        return key.key() - Qt::Key_0;
    const quint32 code = key.nativeScanCode();
    if (code >= kDigitRowFirst && code <= kDigitRowLast)
        return static_cast<int>((code - kDigitRowFirst + 1) % 10);
    return -1;
}

bool validNumber(std::int32_t number)
{
    return number >= 0 && number < TSourceGutter::kBookmarkCount;
}

} // namespace

TSourceGutter::TSourceGutter(QWidget *parent) : QWidget(parent), icons_(TBookmarkIcons::shared())
{
    // Paints its whole area, so that scrolling can move its pixels.
    setAttribute(Qt::WA_OpaquePaintEvent);
    paintedLines_.fill(-1);
    resize(30, 50);
}

TSourceGutter::~TSourceGutter()
{
    setSourceMemo(nullptr);
}

// ---- Properties --------------------------------------------------------------------------------

void TSourceGutter::setIgnoreLastLineIfEmpty(bool on)
{
    if (on == ignoreLastLineIfEmpty_)
        return;
    ignoreLastLineIfEmpty_ = on;
    if (memo_)
        rememberCounts();
    update();
}

void TSourceGutter::setKeepBookmarks(bool on)
{
    if (on == keepBookmarks_)
        return;
    keepBookmarks_ = on;
    for (core::TSourceNavigator *nav : slots_) {
        if (!nav)
            continue;
        nav->deleteWithText = !on;
        placeBookmark(*nav);
    }
    update();
}

void TSourceGutter::setSourceMemo(TSourceMemo *memo)
{
    if (memo == memo_)
        return;
    if (memo_)
        detach();
    memo_ = memo;
    if (memo_)
        attach();
    update();
}

void TSourceGutter::attach()
{
    memo_->addMessageListener(this);
    memo_->addChangeListener(this);
    // Key presses are read here for the key's digit and shift state, and acted on after the
    // memo handled them.
    memo_->installEventFilter(this);
    // By the time the memo's QObject part reports its end, its navigators are gone already
    // (each emptied its slot on the way); only the link is left to drop.
    memoDestroyed_ = connect(memo_, &QObject::destroyed, this, [this] {
        slots_.fill(nullptr);
        breakpoints_.clear();
        reportedBreakpoints_.clear();
        memo_ = nullptr;
        update();
    });
    rememberCounts();
    vertOffset_ = vertOffset();
    if (executionLine_ >= 0)
        memo_->setMarkedLine(executionLine_, executionBand_);
}

void TSourceGutter::detach()
{
    for (std::int32_t i = 0; i < kBookmarkCount; ++i)
        freeBookmark(i);
    freeBreakpoints();
    reportedBreakpoints_.clear();
    if (executionLine_ >= 0)
        memo_->setMarkedLine(-1, executionBand_);
    disconnect(memoDestroyed_);
    memo_->removeEventFilter(this);
    memo_->removeMessageListener(this);
    memo_->removeChangeListener(this);
    memo_ = nullptr;
}

// ---- Counts --------------------------------------------------------------------------------------

std::int32_t TSourceGutter::lineCount() const
{
    return ignoreLastLineIfEmpty_ ? memo_->Lines().Count() : memo_->LineCount();
}

std::int32_t TSourceGutter::paragraphCount() const
{
    return ignoreLastLineIfEmpty_ ? memo_->Paragraphs().Count() : memo_->ParagraphCount();
}

std::int32_t TSourceGutter::vertOffset() const
{
    return memo_->layoutEngine().geometry.vertOffset;
}

std::int32_t TSourceGutter::rowShift() const
{
    return mapToGlobal(QPoint(0, 0)).y() - memo_->viewport()->mapToGlobal(QPoint(0, 0)).y();
}

std::int32_t TSourceGutter::lineAt(std::int32_t y) const
{
    const std::int32_t documentY = y + rowShift() + vertOffset();
    return documentY < 0 ? -1 : documentY / memo_->layoutEngine().lineHeight();
}

void TSourceGutter::rememberCounts()
{
    lineCount_ = lineCount();
    paragraphCount_ = paragraphCount();
}

// ---- Bookmarks -----------------------------------------------------------------------------------

core::TSourceNavigator &TSourceGutter::bookmark(std::int32_t number)
{
    core::TSourceNavigator *&slot = slots_[static_cast<std::size_t>(number)];
    if (!slot) {
        slot = new core::TSourceNavigator(&memo_->core());
        slot->deleteWithText = !keepBookmarks_;
        // The memo deletes the navigator with its text, or with itself: the slot empties.
        slot->onDestroy = [this, number](core::TSourceNavigator &) {
            slots_[static_cast<std::size_t>(number)] = nullptr;
        };
    }
    return *slot;
}

void TSourceGutter::freeBookmark(std::int32_t number)
{
    delete slots_[static_cast<std::size_t>(number)];
}

void TSourceGutter::placeBookmark(core::TSourceNavigator &nav)
{
    if (!keepBookmarks_)
        nav.setLineOffset(0);
    nav.atParagraphStart = nav.LineOffset() == 0;
}

bool TSourceGutter::ToggleBookmark(std::int32_t line, std::int32_t number)
{
    if (!memo_ || !validNumber(number) || line < 0)
        return false;
    core::TSourceNavigator *own = slots_[static_cast<std::size_t>(number)];
    if (own && own->DisplayLine() == line) {
        freeBookmark(number);
    } else {
        if (BookmarkAt(line) >= 0)
            return false;
        core::TSourceNavigator &nav = bookmark(number);
        nav.setLineNumber(line);
        placeBookmark(nav);
    }
    update();
    return true;
}

void TSourceGutter::SetBookmark(std::int32_t offset, std::int32_t number)
{
    if (!memo_ || !validNumber(number))
        return;
    core::TSourceNavigator &nav = bookmark(number);
    nav.setPos(offset);
    placeBookmark(nav);
    update();
}

std::int32_t TSourceGutter::BookmarkLine(std::int32_t number) const
{
    if (!validNumber(number))
        return -1;
    core::TSourceNavigator *nav = slots_[static_cast<std::size_t>(number)];
    return nav ? nav->LineNumber() : -1;
}

std::int32_t TSourceGutter::BookmarkAt(std::int32_t line) const
{
    for (std::int32_t i = 0; i < kBookmarkCount; ++i) {
        core::TSourceNavigator *nav = slots_[static_cast<std::size_t>(i)];
        if (nav && nav->DisplayLine() == line)
            return i;
    }
    return -1;
}

void TSourceGutter::ClearBookmarks()
{
    for (std::int32_t i = 0; i < kBookmarkCount; ++i)
        if (slots_[static_cast<std::size_t>(i)])
            ToggleBookmark(BookmarkLine(i), i);
}

std::array<std::int32_t, TSourceGutter::kBookmarkCount> TSourceGutter::bookmarkLines() const
{
    std::array<std::int32_t, kBookmarkCount> lines{};
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i] = slots_[i] ? slots_[i]->DisplayLine() : -1;
    return lines;
}

// ---- Following the memo --------------------------------------------------------------------------

void TSourceGutter::notify(TSourceMemo &, TsmNotifyCodes codes)
{
    if (codes & ncAfterMessage)
        afterMessage();
    if (codes & ncFontChanged)
        update();
    if (codes & ncTextChanged)
        textChanged();
    if (codes & ncVScroll)
        scrolled();
}

void TSourceGutter::afterMessage()
{
    const TsmMessage &message = memo_->message();
    if (message.Msg == QEvent::Paint) {
        const core::TLayoutEngine &layout = memo_->layoutEngine();
        if (memo_->WordWrap() != wordWrap_ || vertOffset() != vertOffset_ ||
            layout.visibleLineCount() != clientLines_ || breakpointRows() != paintedBreakpoints_ ||
            executionRow() != paintedExecution_)
            update();
    } else if (message.Msg == QEvent::KeyPress && bookmarks_ && pendingDigit_ >= 0) {
        digitKey(pendingDigit_, pendingShift_);
    }
}

bool TSourceGutter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == memo_ && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<const QKeyEvent *>(event);
        pendingDigit_ = digitOf(*key);
        pendingShift_ = key->modifiers();
    }
    return QWidget::eventFilter(watched, event);
}

void TSourceGutter::digitKey(int digit, Qt::KeyboardModifiers shift)
{
    if (!shift.testFlag(Qt::ControlModifier) || shift.testFlag(Qt::AltModifier))
        return;
    if (shift.testFlag(Qt::ShiftModifier)) {
        SetBookmark(memo_->SelStart(), digit);
    } else if (core::TSourceNavigator *nav = slots_[static_cast<std::size_t>(digit)]) {
        memo_->setSelStart(nav->Pos());
        memo_->scrollCaretCommand();
    }
}

void TSourceGutter::textChanged()
{
    for (core::TSourceNavigator *nav : slots_)
        if (nav)
            placeBookmark(*nav);
    settleBreakpoints();
    const std::int32_t lines = lineCount_;
    const std::int32_t paragraphs = paragraphCount_;
    rememberCounts();
    if (lines != lineCount_ || paragraphs != paragraphCount_ || bookmarkLines() != paintedLines_ ||
        breakpointRows() != paintedBreakpoints_ || executionRow() != paintedExecution_)
        update();
    reportBreakpoints();
}

void TSourceGutter::scrolled()
{
    const std::int32_t offset = vertOffset();
    if (lineCount() != lineCount_ || paragraphCount() != paragraphCount_) {
        update();
        return;
    }
    // Moves the pixels already painted; only the rows scrolled in are painted anew.
    scroll(0, vertOffset_ - offset);
    vertOffset_ = offset;
}

// ---- Mouse ----------------------------------------------------------------------------------------

void TSourceGutter::mousePressEvent(QMouseEvent *event)
{
    leftPressed_ = event->button() == Qt::LeftButton;
    QWidget::mousePressEvent(event);
}

void TSourceGutter::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click =
        leftPressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    leftPressed_ = false;
    QWidget::mouseReleaseEvent(event);
    if (click && breakpointsOn_ && memo_ && memo_->HandleAllocated()) {
        const std::int32_t line = lineAt(static_cast<std::int32_t>(event->position().y()));
        if (line < lineCount())
            ToggleBreakpoint(line);
    }
    if (click && OnClick)
        OnClick(*this);
}

void TSourceGutter::mouseDoubleClickEvent(QMouseEvent *event)
{
    QWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && OnDblClick)
        OnDblClick(*this);
}

} // namespace velmora::widget
