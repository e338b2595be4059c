#include "editor/widget/SourceMemo.h"

#include "editor/core/editing/ClipboardCommands.h"
#include "editor/core/editing/SourceNavigator.h"
#include "editor/core/layout/NavigatorPixels.h"
#include "editor/core/text/CodePages.h"
#include "editor/core/text/EditorErrors.h"
#include "editor/widget/QtClipboard.h"
#include "editor/widget/SourceMemoView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

namespace velmora::widget
{

namespace
{

// Controls destroyed while handling their own messages, with the number of handler frames
// still to return for each; a returning frame finds its control here and leaves it alone.
std::vector<std::pair<const TSourceMemo *, int>> &destroyedWhileHandling()
{
    static std::vector<std::pair<const TSourceMemo *, int>> list;
    return list;
}

auto findDestroyed(const TSourceMemo *memo)
{
    auto &list = destroyedWhileHandling();
    return std::find_if(list.begin(), list.end(), [memo](const auto &e) { return e.first == memo; });
}

bool isDestroyed(const TSourceMemo *memo)
{
    return findDestroyed(memo) != destroyedWhileHandling().end();
}

// True when memo was destroyed; the frame asking is then counted out.
bool leaveIfDestroyed(const TSourceMemo *memo)
{
    auto &list = destroyedWhileHandling();
    const auto it = findDestroyed(memo);
    if (it == list.end())
        return false;
    if (--it->second == 0)
        list.erase(it);
    return true;
}

// Every control alive, so that a collapse handler finds the control of a highlighting engine.
std::vector<TSourceMemo *> &liveMemos()
{
    static std::vector<TSourceMemo *> list;
    return list;
}

class QtFormatTimer : public core::TFormatTimer
{
public:
    QtFormatTimer() { timer_.setInterval(1); }
    void start() override { timer_.start(); }
    void stop() override { timer_.stop(); }
    QTimer *timer() { return &timer_; }

private:
    QTimer timer_;
};

std::uint8_t styleBitsOf(const QFont &font)
{
    return static_cast<std::uint8_t>((font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) | (font.underline() ? 4 : 0) |
                                     (font.strikeOut() ? 8 : 0));
}

std::pair<std::intptr_t, std::intptr_t> messageParameters(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto *key = static_cast<const QKeyEvent *>(event);
        return {key->key(), key->text().isEmpty() ? 0 : key->text().front().unicode()};
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<const QMouseEvent *>(event);
        const QPoint p = mouse->position().toPoint();
        return {static_cast<std::intptr_t>(mouse->buttons()), (p.y() << 16) | (p.x() & 0xFFFF)};
    }
    default:
        return {0, 0};
    }
}

} // namespace

// ---- Collapse handler ------------------------------------------------------------------------

TsmsCollapseHandler::~TsmsCollapseHandler()
{
    dying_ = true;
    for (TSourceMemo *memo : std::vector<TSourceMemo *>(memos_))
        memo->setCollapseHandler(nullptr);
}

void TsmsCollapseHandler::LinkControl(core::TSourceHighlightEngine &engine, bool linked)
{
    const auto &memos = liveMemos();
    const auto it =
        std::find_if(memos.begin(), memos.end(), [&](TSourceMemo *m) { return &m->highlighting() == &engine; });
    if (it == memos.end())
        throw core::EditorError("Internal error: component is not a TSourceMemo");
    TSourceMemo *memo = *it;
    std::erase(memos_, memo);
    if (linked)
        memos_.push_back(memo);
    if (!dying_)
        attachNotify(*memo, linked);
}

// ---- View --------------------------------------------------------------------------------------

void TsmMemoView::notifyTextChanged()
{
    memo_.textChanged();
}

void TsmMemoView::dropCaretX()
{
    memo_.dropDesiredX();
}

// ---- Creation and destruction --------------------------------------------------------------

TSourceMemo::TSourceMemo(QWidget *parent)
    : QAbstractScrollArea(parent), layout_(std::make_unique<core::TLayoutEngine>(core_, measurer_)),
      engine_(std::make_unique<core::TSourceHighlightEngine>(core_)),
      view_(std::make_unique<TsmMemoView>(*this, *layout_, *engine_)),
      lines_(std::make_unique<core::TSourceLinesStrings>(core_)),
      paragraphStrings_(std::make_unique<core::TSourceParaStrings>(core_)),
      paintNav_(new core::TSourceNavigator(&core_)), keyLayout_(*layout_),
      keys_(std::make_unique<core::TKeyCommands>(core_, keyLayout_))
{
    liveMemos().push_back(this);
    core_.setView(view_.get());
    layout_->setWindow(&window_);
    layout_->HighlightParagraph = [this](std::int32_t par) { engine_->highlightParagraph(par); };
    core::TFormatSchedule &schedule = layout_->schedule();
    schedule.CreateTimer = [this](std::function<void()> tick) {
        auto timer = std::make_unique<QtFormatTimer>();
        connect(timer->timer(), &QTimer::timeout, this, [this, tick] { backgroundStep(tick); });
        return timer;
    };
    schedule.OnProgress = [this] {
        if (OnProgress)
            OnProgress(core_);
    };

    setFrameShape(QFrame::StyledPanel);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    applyScrollBarPolicies();
    setUpMouse();
    connect(&caretBlink_, &QTimer::timeout, this, [this] { blinkCaret(); });
    connect(&scrollAnimationTimer_, &QTimer::timeout, this, [this] { stepScrollAnimation(); });
    QFont font(QStringLiteral("Arial"));
    setFont(font);
    applyFonts();
    resize(100, 60);
}

TSourceMemo::~TSourceMemo()
{
    if (nesting_ > 0)
        destroyedWhileHandling().emplace_back(this, nesting_);
    setCollapseHandler(nullptr);
    if (!QCoreApplication::closingDown())
        layout_->schedule().stopThread();
    // Nothing is told about the text going away.
    OnChange = nullptr;
    messageListeners_.clear();
    changeListeners_.clear();
    core_.setView(nullptr);
    layout_->setWindow(nullptr);
    std::erase(liveMemos(), this);
}

void TSourceMemo::HandleNeeded()
{
    if (!HandleAllocated())
        createHandle();
}

void TSourceMemo::createHandle()
{
    layout_->createHandle(viewport()->width(), viewport()->height());
    if (autoCaretWidth_)
        caretWidth_ = layout_->lineHeight() / 14 + 1;
    placeCaret();
    if (OnVScroll)
        OnVScroll(*this);
}

void TSourceMemo::destroyHandle()
{
    layout_->schedule().stopThread();
    lineBitmap_ = QImage();
}

void TSourceMemo::RecreateWnd()
{
    if (!HandleAllocated())
        return;
    destroyHandle();
    // A new window starts at the top of the text.
    layout_->scrollTo(0, 0, 0);
    createHandle();
    viewport()->update();
}

// ---- Messages ----------------------------------------------------------------------------------

bool TSourceMemo::dispatch(std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam,
                           const std::function<bool()> &handle, bool &handled)
{
    ++nesting_;
    if (!messageListeners_.empty()) {
        message_ = {msg, wParam, lParam, 0};
        notifyList(messageListeners_, ncBeforeMessage);
        if (leaveIfDestroyed(this))
            return false;
    }
    const bool stopped = !messageListeners_.empty() && message_.Result == kStopMessage;
    if (!stopped) {
        handled = handle();
        if (leaveIfDestroyed(this))
            return false;
    }
    if (!messageListeners_.empty()) {
        message_.Msg = msg;
        message_.WParam = wParam;
        message_.LParam = lParam;
        notifyList(messageListeners_, ncAfterMessage);
        if (leaveIfDestroyed(this))
            return false;
    }
    --nesting_;
    return !stopped;
}

bool TSourceMemo::event(QEvent *event)
{
    const auto [wParam, lParam] = messageParameters(event);
    bool handled = true;
    if (!dispatch(
            event->type(), wParam, lParam, [&] { return QAbstractScrollArea::event(event); }, handled))
        event->accept();
    return handled;
}

bool TSourceMemo::viewportEvent(QEvent *event)
{
    const auto [wParam, lParam] = messageParameters(event);
    bool handled = true;
    if (!dispatch(
            event->type(), wParam, lParam, [&] { return QAbstractScrollArea::viewportEvent(event); }, handled)) {
        event->accept();
        return handled;
    }
    if (OnClick && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        OnClick(*this);
    return handled;
}

void TSourceMemo::backgroundStep(const std::function<void()> &tick)
{
    bool handled = false;
    dispatch(
        kBackgroundStepMessage, 0, 0,
        [&] {
            tick();
            return true;
        },
        handled);
}

void TSourceMemo::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (!HandleAllocated())
        createHandle();
    else
        layout_->resize(viewport()->width(), viewport()->height());
}

void TSourceMemo::showEvent(QShowEvent *event)
{
    QAbstractScrollArea::showEvent(event);
    HandleNeeded();
}

void TSourceMemo::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    placeCaret();
    if (hideSelection_)
        repaintSelection();
}

void TSourceMemo::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    endMouseSelection();
    placeCaret();
    if (hideSelection_)
        repaintSelection();
}

void TSourceMemo::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fontChanged();
}

void TSourceMemo::fontChanged()
{
    applyFonts();
    lines_->setCodePage(measurer_.codePage());
    paragraphStrings_->setCodePage(measurer_.codePage());
    layout_->fontChanged(styleBitsOf(font()));
    if (!HandleAllocated())
        return;
    if (autoCaretWidth_)
        caretWidth_ = layout_->lineHeight() / 14 + 1;
    layout_->updateVerticalRange();
    layout_->updateHorizontalRange();
    layout_->updateScrollPositions();
    viewport()->update();
    placeCaret();
    notifyChangeListeners(ncFontChanged);
}

void TSourceMemo::applyFonts()
{
    measurer_.setFonts(font(), altFont_, fontCharset_);
}

void TSourceMemo::scrollContentsBy(int, int)
{
    if (settingScrollBars_ || !HandleAllocated())
        return;
    const std::int32_t v = verticalScrollBar()->value() * layout_->verticalRange().unit;
    const std::int32_t h = horizontalScrollBar()->value() * layout_->horizontalRange().unit;
    layout_->scrollTo(v, h, 0);
}

// ---- Listeners --------------------------------------------------------------------------------

void TSourceMemo::notifyList(std::vector<IsmMemoListener *> &list, TsmNotifyCodes codes)
{
    ++notifyDepth_;
    // Listeners added meanwhile wait for the next pass; removed ones leave a null entry.
    const std::size_t count = list.size();
    for (std::size_t i = 0; i < count && i < list.size(); ++i) {
        if (!list[i])
            continue;
        list[i]->notify(*this, codes);
        // A listener destroyed the control: its lists are gone.
        if (isDestroyed(this))
            return;
    }
    if (--notifyDepth_ == 0)
        std::erase(list, nullptr);
}

void TSourceMemo::removeFrom(std::vector<IsmMemoListener *> &list, IsmMemoListener *listener)
{
    std::replace(list.begin(), list.end(), listener, static_cast<IsmMemoListener *>(nullptr));
}

void TSourceMemo::notifyChangeListeners(TsmNotifyCodes codes)
{
    if (!changeListeners_.empty())
        notifyList(changeListeners_, codes);
}

void TSourceMemo::textChanged()
{
    notifyChangeListeners(ncTextChanged);
    if (!messageListeners_.empty()) {
        bool handled = false;
        dispatch(
            kChangedMessage, 0, 0, [] { return true; }, handled);
    }
}

// ---- Properties -------------------------------------------------------------------------------

void TSourceMemo::setBorderStyle(TBorderStyle style)
{
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    setFrameShape(style == bsSingle ? QFrame::StyledPanel : QFrame::NoFrame);
    RecreateWnd();
}

void TSourceMemo::setHideSelection(bool on)
{
    if (on == hideSelection_)
        return;
    hideSelection_ = on;
    repaintSelection();
}

void TSourceMemo::setScrollBars(core::TScrollStyle s)
{
    if (s == ScrollBars())
        return;
    layout_->setScrollBars(s);
    applyScrollBarPolicies();
    RecreateWnd();
}

void TSourceMemo::applyScrollBarPolicies()
{
    const core::TScrollStyle s = ScrollBars();
    const Qt::ScrollBarPolicy shown =
        Options()[core::smoAutoScrollBars] ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
    setVerticalScrollBarPolicy(s == core::ssVertical || s == core::ssBoth ? shown : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(s == core::ssHorizontal || s == core::ssBoth ? shown : Qt::ScrollBarAlwaysOff);
}

void TSourceMemo::setAltFont(const QFont &font)
{
    if (font == altFont_)
        return;
    altFont_ = font;
    applyFonts();
    layout_->altFontChanged();
}

void TSourceMemo::setBackgroundBmp(const QPixmap &picture)
{
    backgroundBmp_ = picture;
    repaintAll();
}

void TSourceMemo::setCaretWidth(std::int32_t width)
{
    autoCaretWidth_ = width == 0;
    width = autoCaretWidth_ ? layout_->lineHeight() / 14 + 1 : width;
    if (width == caretWidth_)
        return;
    caretWidth_ = width;
    placeCaret();
}

void TSourceMemo::setCollapseHandler(TsmsCollapseHandler *handler)
{
    if (handler == collapseHandler_)
        return;
    collapseHandler_ = handler;
    engine_->setCollapseHandler(handler);
    repaintAll();
}

void TSourceMemo::setDisplayOnly(bool on)
{
    if (on == displayOnly_)
        return;
    displayOnly_ = on;
    placeCaret();
}

void TSourceMemo::setPen(TsmPen &pen, const TsmPen &value)
{
    if (pen == value)
        return;
    pen = value;
    repaintAll();
}

void TSourceMemo::setHighlightBackgnd(std::int32_t colour)
{
    if (colour == engine_->HighlightBackgnd)
        return;
    engine_->HighlightBackgnd = colour;
    repaintAll();
}

void TSourceMemo::setHighlightColor(std::int32_t colour)
{
    if (colour == engine_->HighlightColor)
        return;
    engine_->HighlightColor = colour;
    repaintAll();
}

void TSourceMemo::setLineHeight(std::int32_t h)
{
    layout_->setLineHeight(h);
    if (autoCaretWidth_)
        caretWidth_ = layout_->lineHeight() / 14 + 1;
    placeCaret();
}

void TSourceMemo::setOptions(const core::TSourceMemoOptions &options)
{
    const core::TSourceMemoOptions old = Options();
    if (options == old)
        return;
    core_.setOptions(options);
    const core::TSourceMemoOptions changed = old ^ options;
    if (changed[core::smoWindowsSelColors] || changed[core::smoFullLineSelect])
        repaintSelection();
    if (changed[core::smoAutoScrollBars]) {
        applyScrollBarPolicies();
        if (HandleAllocated()) {
            layout_->updateVerticalRange();
            layout_->updateHorizontalRange();
        }
    }
}

void TSourceMemo::setOverwrite(bool on)
{
    if (on == keys_->overwrite)
        return;
    keys_->overwrite = on;
    placeCaret();
}

void TSourceMemo::setProgressInterval(std::int32_t ms)
{
    core_.setProgressInterval(ms);
    layout_->schedule().ProgressInterval = ms;
}

void TSourceMemo::setRightLinePos(std::int32_t pos)
{
    if (pos == rightLinePos_)
        return;
    rightLinePos_ = pos;
    repaintAll();
}

void TSourceMemo::setSelectionLook(std::int32_t &field, std::int32_t value)
{
    if (field == value)
        return;
    field = value;
    repaintSelection();
}

void TSourceMemo::setSeparators(const std::string &chars)
{
    if (chars == separatorText_)
        return;
    separatorText_ = chars;
    const core::SeparatorSet set = core::makeSeparators(chars);
    core_.setSeparators(set);
    engine_->setSeparators(set);
}

void TSourceMemo::setShowEndParSelected(bool on)
{
    if (on == showEndParSelected_)
        return;
    showEndParSelected_ = on;
    repaintSelection();
}

void TSourceMemo::setShowNonPrintChars(TsmNonPrintChars marks)
{
    if (marks == nonPrintChars_)
        return;
    nonPrintChars_ = marks;
    repaintAll();
}

void TSourceMemo::setUpperCaseType(core::TsmUpperCase type)
{
    core_.setUpperCaseType(type);
    engine_->setUpperCaseType(type);
}

void TSourceMemo::setColor(std::int32_t colour)
{
    if (colour == color_)
        return;
    color_ = colour;
    repaintAll();
}

void TSourceMemo::setFontColor(std::int32_t colour)
{
    if (colour == fontColor_)
        return;
    fontColor_ = colour;
    repaintAll();
}

void TSourceMemo::setFontCharset(std::uint8_t charset)
{
    if (charset == fontCharset_)
        return;
    fontCharset_ = charset;
    fontChanged();
}

// ---- Edit commands ----------------------------------------------------------------------------

void TSourceMemo::cutCommand()
{
    QtClipboard clipboard(measurer_.codePage());
    core::CutToClipboard(core_, clipboard);
}

void TSourceMemo::copyCommand()
{
    QtClipboard clipboard(measurer_.codePage());
    core::CopyToClipboard(core_, clipboard);
}

void TSourceMemo::pasteCommand()
{
    QtClipboard clipboard(measurer_.codePage());
    core::PasteFromClipboard(core_, clipboard, SelCol());
}

// ---- Window of the layout ---------------------------------------------------------------------

void TSourceMemo::repaintLines(std::int32_t first, std::int32_t last)
{
    if (!HandleAllocated())
        return;
    const std::int64_t lh = layout_->lineHeight();
    const std::int64_t vo = shownVertOffset();
    const std::int64_t height = viewport()->height();
    const std::int64_t top = std::max<std::int64_t>(first * lh - vo, 0);
    const std::int64_t bottom = std::min<std::int64_t>((static_cast<std::int64_t>(last) + 1) * lh - vo, height);
    if (top >= height || bottom <= 0 || bottom <= top)
        return;
    viewport()->update(0, static_cast<int>(top), layout_->textAreaWidth(), static_cast<int>(bottom - top));
}

void TSourceMemo::repaintAll()
{
    viewport()->update();
}

void TSourceMemo::scrollContents(std::int32_t, std::int32_t, std::int32_t)
{
    // The whole view is painted again: the tiled background follows the document.
    viewport()->update();
    placeCaret();
}

void TSourceMemo::setScrollRange(bool vertical, const core::TScrollRange &range)
{
    QScrollBar *bar = vertical ? verticalScrollBar() : horizontalScrollBar();
    settingScrollBars_ = true;
    bar->setRange(0, std::max(0, range.max - range.page + 1));
    bar->setPageStep(std::max(1, range.page));
    settingScrollBars_ = false;
}

void TSourceMemo::setScrollPosition(bool vertical, std::int32_t position)
{
    settingScrollBars_ = true;
    (vertical ? verticalScrollBar() : horizontalScrollBar())->setValue(position);
    settingScrollBars_ = false;
}

void TSourceMemo::scrolled(bool vertical, bool horizontal)
{
    TsmNotifyCodes codes = 0;
    if (vertical) {
        codes |= ncVScroll;
        if (OnVScroll)
            OnVScroll(*this);
    }
    if (horizontal) {
        codes |= ncHScroll;
        if (OnHScroll)
            OnHScroll(*this);
    }
    if (codes)
        notifyChangeListeners(codes);
}

void TSourceMemo::repaintSelection()
{
    keys_->repaintSelection();
}

bool TSourceMemo::selectionShown() const
{
    const bool any = SelLength() != 0;
    return any && (!hideSelection_ || hasFocus());
}

// ---- Caret ------------------------------------------------------------------------------------

std::int32_t TSourceMemo::effectiveCaretWidth()
{
    if (keys_->overwrite && Options()[core::smoWideOverwriteCaret] && SelLength() == 0)
        return std::max(1, core::characterWidth(origin(), *layout_));
    return std::max(1, caretWidth_);
}

void TSourceMemo::placeCaret()
{
    const QRect old = caretRect_;
    caretRect_ = QRect();
    if (HandleAllocated() && hasFocus() && !displayOnly_ && updateCount() == 0) {
        // While text is dragged the caret is the drop mark under the mouse.
        core::TSourceNavigator &caret = mouse_.dragging ? *mouse_.nav : origin();
        std::int32_t x =
            core::navigatorX(caret, *layout_) + (mouse_.dragging ? 0 : overshoot() * layout_->blankWidth());
        if (WordWrap() && x >= layout_->textAreaWidth())
            x = layout_->textAreaWidth() - 1;
        caretRect_ = QRect(x + layout_->geometry.horzOffset - shownHorzOffset(),
                           core::navigatorY(caret, *layout_) + layout_->geometry.vertOffset - shownVertOffset(),
                           effectiveCaretWidth(), layout_->lineHeight());
    }
    // A placed caret shows at once and then blinks at the desktop's rate.
    caretShown_ = true;
    const int flash = QApplication::cursorFlashTime();
    if (caretRect_.isEmpty() || flash <= 0)
        caretBlink_.stop();
    else
        caretBlink_.start(flash / 2);
    if (old != caretRect_) {
        viewport()->update(old);
        viewport()->update(caretRect_);
    }
    caretPlaced();
}

void TSourceMemo::blinkCaret()
{
    caretShown_ = !caretShown_;
    viewport()->update(caretRect_);
}

// OnSelMove when the caret moved, OnStyleChange when the style at the caret changed.
void TSourceMemo::caretPlaced()
{
    TsmNotifyCodes codes = 0;
    const std::int32_t pos = origin().Pos();
    if (pos != lastCaretPos_) {
        lastCaretPos_ = pos;
        codes |= ncSelMoved;
        if (OnSelMove)
            OnSelMove(*this);
    }
    const std::uint8_t style = styleAtOrigin();
    if (style != lastCaretStyle_) {
        lastCaretStyle_ = style;
        codes |= ncStyleChanged;
        if (OnStyleChange)
            OnStyleChange(*this);
    }
    if (codes)
        notifyChangeListeners(codes);
}

void TSourceMemo::ReApplyKeywords()
{
    engine_->ReApplyKeywords();
    layout_->relayoutAll();
    repaintAll();
}

} // namespace velmora::widget
