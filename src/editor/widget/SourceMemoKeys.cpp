// The editor control's keys: what a key does before any character it types, namely the hot
// keys, the keys of display-only mode, caret movement with and without Shift, column blocks
// from the keyboard, and the editing keys that act at once (Backspace, Delete, Insert).
#include "editor/widget/SourceMemo.h"

#include "editor/core/layout/NavigatorPixels.h"
#include "editor/core/editing/SourceNavigator.h"
#include "editor/core/text/StyleCodes.h"
#include "editor/core/editing/StyleCommands.h"
#include "platform/Dialogs.h"

#include <QKeyEvent>
#include <QScopedValueRollback>

#include <algorithm>
#include <optional>

namespace velmora::widget
{

namespace
{

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The character a key types, 0 for none. Alt without Ctrl types nothing (the key belongs to
// menus and block selection); Ctrl with a letter types its control character, with any other
// key nothing; Ctrl with Alt is AltGr and types what the layout gives.
char16_t characterOf(int key, Qt::KeyboardModifiers shift, const QString &text)
{
    const Qt::KeyboardModifiers mods = shift & kShiftStateKeys;
    const bool ctrl = mods & Qt::ControlModifier;
    const bool alt = mods & Qt::AltModifier;
    if ((mods & Qt::MetaModifier) || (alt && !ctrl))
        return 0;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 0; // typed at key down, while the control wants tabs
    case Qt::Key_Escape:
        return 27;
    default:
        break;
    }
    if (ctrl && !alt)
        return key >= Qt::Key_A && key <= Qt::Key_Z ? static_cast<char16_t>(key - Qt::Key_A + 1) : 0;
    return text.isEmpty() ? 0 : text.front().unicode();
}

// The style command a Ctrl+letter hot key applies.
std::optional<core::TStyleCommand> styleCommandOf(int key)
{
    switch (key) {
    case Qt::Key_B:
        return core::TStyleCommand::Bold;
    case Qt::Key_I:
        return core::TStyleCommand::Italic;
    case Qt::Key_U:
        return core::TStyleCommand::Underline;
    case Qt::Key_H:
        return core::TStyleCommand::Highlight;
    case Qt::Key_F:
        return core::TStyleCommand::AltFont;
    default:
        return std::nullopt;
    }
}

} // namespace

void TSourceMemo::keyPressEvent(QKeyEvent *event)
{
    if (dragKeyPress(event))
        return;
    int key = event->key();
    const Qt::KeyboardModifiers shift = event->modifiers();
    if (OnKeyDown)
        OnKeyDown(*this, key, shift);
    event->accept();
    if (key == 0 || updateCount() > 0)
        return;
    const QScopedValueRollback repeated(layout_->repeatedScrolling, true);
    bool consumed = true;
    try {
        if (!keyDown(key, shift)) {
            QChar typed(characterOf(key, shift, key == event->key() ? event->text() : QString()));
            if (OnKeyPress && !typed.isNull())
                OnKeyPress(*this, typed);
            consumed = typed.isNull() ? false : typeKey(typed.unicode());
        }
    } catch (const std::exception &error) {
        platform::dialogs().message(platform::MessageKind::Error, QString::fromLocal8Bit(error.what()));
    }
    // While a key is held down the view follows each repeat at once.
    if (event->isAutoRepeat())
        viewport()->repaint();
    event->setAccepted(consumed);
}

void TSourceMemo::keyReleaseEvent(QKeyEvent *event)
{
    dragKeyRelease(event);
    QAbstractScrollArea::keyReleaseEvent(event);
}

bool TSourceMemo::focusNextPrevChild(bool next)
{
    // Tab stays in the control while it wants tabs and can be edited.
    return wantTabs_ && !displayOnly_ ? false : QAbstractScrollArea::focusNextPrevChild(next);
}

// ---- Key down ----------------------------------------------------------------------------------

bool TSourceMemo::keyDown(int key, Qt::KeyboardModifiers shift)
{
    if (displayOnly_)
        return displayOnlyKey(key, shift);
    const Qt::KeyboardModifiers mods = shift & kShiftStateKeys;
    const bool ctrl = mods & Qt::ControlModifier;
    const bool alt = mods & Qt::AltModifier;
    if (ctrl && !alt && key == Qt::Key_A && !(mods & Qt::ShiftModifier)) {
        // Select all, as the popup menu's item does; also in a read-only text.
        selectAllCommand();
        scrollCaretCommand();
        return true;
    }
    if (ctrl && !alt && !readOnly_ && enableHotKeys_ && hotKey(key, mods & Qt::ShiftModifier)) {
        layout_->scrollCaretIntoView(origin());
        return true;
    }
    if (key == Qt::Key_Menu) {
        const core::TPixelPoint caret = core::toPoint(origin(), *layout_);
        popupAt(QPoint(caret.x, caret.y + layout_->lineHeight()));
        return true;
    }
    return editingKey(key, mods);
}

bool TSourceMemo::hotKey(int key, bool shift)
{
    if (const std::optional<core::TStyleCommand> command = styleCommandOf(key)) {
        core::applyStyleCommand(*this, *command);
        placeCaret();
        return true;
    }
    switch (key) {
    case Qt::Key_P:
        SetSelTextBuf("\r\n\f");
        break;
    case Qt::Key_T:
        SetSelTextBuf("\t");
        break;
    case Qt::Key_Z:
        if (shift)
            Redo();
        else
            Undo();
        break;
    default:
        return false;
    }
    placeCaret();
    return true;
}

bool TSourceMemo::displayOnlyKey(int key, Qt::KeyboardModifiers shift)
{
    const core::TViewGeometry &g = layout_->geometry;
    const std::int32_t lh = layout_->lineHeight();
    const std::int32_t page = std::max(layout_->visibleLineCount() - 1, 1) * lh;
    const std::int32_t bottom =
        std::max(0, paragraphs().marks().visibleLineCount() * lh - std::max(g.clientHeight / lh, 1) * lh);
    const std::int32_t rightEnd = std::max(0, layout_->widestLine() + RightMargin() - g.clientWidth);
    const std::int32_t sideStep = g.clientWidth / 5 + 1;
    const std::int32_t top = layout_->topLine() * lh;
    const bool ctrl = shift & Qt::ControlModifier;
    std::int32_t v = g.vertOffset;
    std::int32_t h = g.horzOffset;
    switch (key) {
    case Qt::Key_Up:
        v = top - lh;
        break;
    case Qt::Key_Down:
        v = top + lh;
        break;
    case Qt::Key_PageUp:
        v = ctrl ? 0 : top - page;
        break;
    case Qt::Key_PageDown:
        v = ctrl ? bottom : top + page;
        break;
    case Qt::Key_Home:
        h = 0;
        break;
    case Qt::Key_End:
        h = rightEnd;
        break;
    case Qt::Key_Left:
        h -= sideStep;
        break;
    case Qt::Key_Right:
        h += sideStep;
        break;
    default:
        return false;
    }
    layout_->scrollTo(std::clamp(v, 0, std::max(bottom, 0)), std::clamp(h, 0, rightEnd), ScrollTime());
    return true;
}

// Keys below the letters: consumed here whether or not they act.
bool TSourceMemo::editingKey(int key, Qt::KeyboardModifiers mods)
{
    const bool shift = mods & Qt::ShiftModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    const bool alt = mods & Qt::AltModifier;
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        arrowKey(key, mods);
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        if (!alt)
            moveByKey(key, shift, ctrl, false, 0);
        return true;
    case Qt::Key_Backspace:
        if (!alt && !readOnly_)
            backspaceKey(ctrl);
        return true;
    case Qt::Key_Delete:
        if (alt || readOnly_)
            return true;
        if (ctrl)
            deleteToLineEnd();
        else if (shift)
            cutCommand();
        else
            deleteKey();
        placeCaret();
        layout_->scrollCaretIntoView(origin());
        return true;
    case Qt::Key_Insert:
        if (ctrl)
            copyCommand();
        else if (shift && !readOnly_)
            pasteCommand();
        else if (!shift && Options()[core::smoInsertKeyActive])
            toggleOverwrite();
        placeCaret();
        layout_->scrollCaretIntoView(origin());
        return true;
    case Qt::Key_Tab:
        // Typed by the character handler; Alt+Tab and Ctrl+Tab belong to others.
        return !alt && !ctrl && wantTabs_ && typeKey(9);
    default:
        return false;
    }
}

void TSourceMemo::toggleOverwrite()
{
    setOverwrite(!overwrite_);
    if (OnStyleChange)
        OnStyleChange(*this);
    notifyChangeListeners(ncStyleChanged);
}

// ---- Caret movement ----------------------------------------------------------------------------

void TSourceMemo::arrowKey(int key, Qt::KeyboardModifiers mods)
{
    const bool alt = mods & Qt::AltModifier;
    const bool blockKeys =
        mods == (Qt::ShiftModifier | Qt::AltModifier) && Options()[core::smoBlockSelection] && !WordWrap();
    if (alt && !blockKeys && !blockSelection())
        return;
    const bool block = blockSelection() || blockKeys;
    const std::int32_t firstColumn = blockSelection() ? blockColumns().first : caretColumn();
    moveByKey(key, mods & Qt::ShiftModifier, (mods & Qt::ControlModifier) && !alt, block, firstColumn);
}

void TSourceMemo::moveByKey(int key, bool shift, bool ctrl, bool block, std::int32_t firstColumn)
{
    layout_->layOutParagraph(origin().ParNumber());
    keyNav_->assign(origin());
    std::int32_t over = overshoot();
    switch (key) {
    case Qt::Key_Left:
        over = stepLeft(ctrl, over);
        break;
    case Qt::Key_Right:
        over = stepRight(ctrl, over, block);
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (!verticalStep(key == Qt::Key_Up ? -1 : 1, shift, block, over))
            return;
        break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        pageStep(key == Qt::Key_PageUp ? -1 : 1, shift, ctrl, block, over);
        break;
    case Qt::Key_Home:
        over = 0;
        if (ctrl)
            keyNav_->setPos(0);
        else
            keyNav_->setLineOffset(0);
        break;
    default: // End
        over = 0;
        if (ctrl)
            keyNav_->setPos(TextLength());
        else
            toLineEnd(*keyNav_);
        break;
    }
    if (key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_PageUp && key != Qt::Key_PageDown)
        desiredX_ = -1;
    caretMoved(shift, block, firstColumn, over);
}

std::int32_t TSourceMemo::stepLeft(bool ctrl, std::int32_t over)
{
    core::TSourceNavigator &nav = *keyNav_;
    if (ctrl) {
        nav.wordLeft(TSourceMemoCore::Separators());
        return 0;
    }
    if (over > 0)
        return over - 1;
    const std::string_view text = paragraphs().textOf(nav.ParNumber());
    std::int32_t offset = nav.ParOffset();
    if (offset > 0) {
        const bool skipCodes = StaticFormat() && passOverCodes_;
        do
            --offset;
        while (skipCodes && offset > 0 && core::isStyleCode(static_cast<unsigned char>(text[offset])));
        nav.setParOffset(offset);
    } else if (nav.ParNumber() > 0) {
        nav.setPos(nav.Pos() - 2);
        if (Options()[core::smoDiscardTrailingSpaces]) {
            const std::string_view previous = paragraphs().textOf(nav.ParNumber());
            offset = static_cast<std::int32_t>(previous.size());
            while (offset > 0 && isBlank(previous[offset - 1]))
                --offset;
            nav.setParOffset(offset);
        }
    }
    return 0;
}

std::int32_t TSourceMemo::stepRight(bool ctrl, std::int32_t over, bool block)
{
    core::TSourceNavigator &nav = *keyNav_;
    if (ctrl) {
        nav.wordRight(TSourceMemoCore::Separators());
        return 0;
    }
    const std::string_view text = paragraphs().textOf(nav.ParNumber());
    const auto length = static_cast<std::int32_t>(text.size());
    std::int32_t offset = nav.ParOffset();
    bool atEnd = offset >= length;
    if (!atEnd && Options()[core::smoDiscardTrailingSpaces])
        atEnd = std::all_of(text.begin() + offset, text.end(), isBlank);
    if (atEnd) {
        if ((Options()[core::smoKeepColumnPos] && !Options()[core::smoWrapCaret]) || block)
            return over + 1;
        if (nav.ParNumber() < ParagraphCount() - 1)
            nav.setPos(paragraphs().startOf(nav.ParNumber() + 1));
        return 0;
    }
    if (StaticFormat() && passOverCodes_)
        while (offset < length - 1 && core::isStyleCode(static_cast<unsigned char>(text[offset])))
            ++offset;
    nav.setParOffset(offset + 1);
    return 0;
}

// Up and Down: false when the caret is on the first or last line already.
bool TSourceMemo::verticalStep(std::int32_t direction, bool shift, bool block, std::int32_t &over)
{
    const std::int32_t line = origin().DisplayLine();
    const std::int32_t target = line + direction;
    if (target < 0 || target > lastDisplayLine())
        return false;
    over = toLineKeepingX(target, shift, block);
    return true;
}

void TSourceMemo::pageStep(std::int32_t direction, bool shift, bool ctrl, bool block, std::int32_t &over)
{
    const core::TViewGeometry &g = layout_->geometry;
    const std::int32_t lh = layout_->lineHeight();
    const std::int32_t lines = std::max(layout_->visibleLineCount() - 1, 1);
    const std::int32_t line = origin().DisplayLine();
    const std::int32_t top = layout_->topLine();
    const bool caretVisible = line >= top && line < top + lines;
    over = toLineKeepingX(std::clamp(line + direction * lines, 0, lastDisplayLine()), shift, block);
    if (ctrl || !caretVisible)
        return;
    const std::int32_t bottom = std::max(0, paragraphs().marks().visibleLineCount() * lh - g.clientHeight + 3);
    const std::int32_t v = direction < 0 ? std::max(g.vertOffset - lines * lh, 0)
                                         : std::max(std::min(g.vertOffset + lines * lh, bottom), g.vertOffset);
    layout_->scrollTo(v, g.horzOffset, ScrollTime());
}

// Moves the key navigator to the character of display line target nearest to the desired x;
// returns the virtual overshoot the move leaves.
std::int32_t TSourceMemo::toLineKeepingX(std::int32_t target, bool shift, bool block)
{
    const std::int32_t blank = std::max(layout_->blankWidth(), 1);
    const std::int32_t horz = layout_->geometry.horzOffset;
    const core::TSourceMemoOptions &options = Options();
    if (desiredX_ < 0 || (!WordWrap() && options[core::smoPutExtraSpaces] && !options[core::smoKeepColumnPos]))
        desiredX_ = core::navigatorX(origin(), *layout_) + overshoot() * blank + horz;
    layout_->layOutUpToLine(target);
    core::TSourceNavigator &nav = *keyNav_;
    nav.setDisplayLine(target);
    core::setX(nav, *layout_, desiredX_ - horz);
    stayOnLine(nav);
    if (!(block || options[core::smoKeepColumnPos]) || (shift && !block && !options[core::smoPersistentBlocks]))
        return 0;
    const std::string_view text = paragraphs().textOf(nav.ParNumber());
    const std::int32_t offset = nav.ParOffset();
    if (offset < static_cast<std::int32_t>(text.size()) && text[offset] != '\t')
        return 0;
    return std::max(0, (desiredX_ - horz - core::navigatorX(nav, *layout_)) / blank);
}

// A position at the end of a wrapped line is also the next line's start: the caret steps back
// before the line's last character so that it stays on its line.
void TSourceMemo::stayOnLine(core::TSourceNavigator &nav)
{
    const std::int32_t line = nav.ParLine();
    const core::ParInfo *par = nav.paragraph();
    const core::LineInfo info = par->lineInfo(line);
    if (info.nextLineStart < par->length() && nav.ParOffset() >= info.nextLineStart && nav.ParOffset() > info.lineStart)
        nav.setParOffset(info.nextLineStart - 1);
}

void TSourceMemo::toLineEnd(core::TSourceNavigator &nav)
{
    const core::LineInfo info = nav.paragraph()->lineInfo(nav.ParLine());
    nav.setParOffset(info.nextLineStart);
    stayOnLine(nav);
}

// The caret went to the key navigator: with Shift the selection follows it (a column block
// keeping its first column), without it the selection is dropped unless blocks persist.
void TSourceMemo::caretMoved(bool shift, bool block, std::int32_t firstColumn, std::int32_t over)
{
    const std::int32_t desiredX = desiredX_; // placing the caret below forgets it
    const std::int32_t from = origin().Pos();
    const std::int32_t to = keyNav_->Pos();
    const bool persistent = Options()[core::smoPersistentBlocks];
    if (shift) {
        std::int32_t anchor = anchorPosition();
        if (persistent && SelLength() != 0 && &origin() != &selectionStart() && &origin() != &selectionEnd()) {
            // The caret stands apart from the block: it is extended only from one of its ends.
            if (from == selectionStart().Pos())
                anchor = selectionEnd().Pos();
            else if (from == selectionEnd().Pos())
                anchor = selectionStart().Pos();
            else
                anchor = from;
        }
        selectRange(anchor, to);
        setOvershoot(over);
        if (block)
            setBlockColumns(firstColumn, caretColumn());
        layout_->repaintBetween(std::min(from, to), std::max(from, to));
    } else if (persistent && SelLength() != 0) {
        placeOriginApart(to);
        setOvershoot(over);
    } else {
        selectRange(to, to);
        setOvershoot(over);
    }
    desiredX_ = desiredX;
    placeCaret();
    layout_->scrollCaretIntoView(origin());
}

} // namespace velmora::widget
