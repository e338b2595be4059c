// The editor control's keys: the hot keys, the keys of display-only mode, and the translation
// of the editing keys and typed characters into the core's key commands (caret moves, column
// blocks from the keyboard, Backspace, Delete, typing); the clipboard keys and Insert act here.
#include "editor/widget/SourceMemo.h"

#include "editor/core/editing/StoreConsistency.h"
#include "editor/core/editing/StyleCommands.h"
#include "editor/core/layout/NavigatorPixels.h"
#include "editor/core/text/CodePages.h"
#include "platform/Dialogs.h"

#include <QKeyEvent>
#include <QScopedValueRollback>

#include <algorithm>
#include <optional>

namespace velmora::widget
{

namespace
{

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

// The caret move of a movement key; with Ctrl, words, text ends and pages that leave the view.
core::TCaretMove caretMoveOf(int key, bool ctrl)
{
    using core::TCaretMove;
    switch (key) {
    case Qt::Key_Left:
        return ctrl ? TCaretMove::WordLeft : TCaretMove::CharLeft;
    case Qt::Key_Right:
        return ctrl ? TCaretMove::WordRight : TCaretMove::CharRight;
    case Qt::Key_Up:
        return TCaretMove::LineUp;
    case Qt::Key_Down:
        return TCaretMove::LineDown;
    case Qt::Key_PageUp:
        return ctrl ? TCaretMove::PageUpCaretOnly : TCaretMove::PageUp;
    case Qt::Key_PageDown:
        return ctrl ? TCaretMove::PageDownCaretOnly : TCaretMove::PageDown;
    case Qt::Key_Home:
        return ctrl ? TCaretMove::TextStart : TCaretMove::LineStart;
    default:
        return ctrl ? TCaretMove::TextEnd : TCaretMove::LineEnd;
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
        core::applyStyleCommand(core_, *command);
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
            keys_->moveCaret(caretMoveOf(key, ctrl), {.extend = shift});
        return true;
    case Qt::Key_Backspace:
        if (!alt && !readOnly_)
            keys_->backspace(ctrl);
        return true;
    case Qt::Key_Delete:
        if (alt || readOnly_)
            return true;
        if (ctrl)
            keys_->deleteToLineEnd();
        else if (shift)
            cutCommand();
        else
            keys_->deleteForward();
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
    setOverwrite(!Overwrite());
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
    const core::TCaretMoveMode mode{.extend = static_cast<bool>(mods & Qt::ShiftModifier),
                                    .block = blockSelection() || blockKeys,
                                    .firstColumn = blockSelection() ? blockColumns().first : caretColumn()};
    keys_->moveCaret(caretMoveOf(key, (mods & Qt::ControlModifier) && !alt), mode);
}

// ---- Typing ------------------------------------------------------------------------------------

bool TSourceMemo::typeKey(char16_t c)
{
    if (updateCount() > 0 || mouse_.dragging || displayOnly_ || (readOnly_ && c != 3))
        return false;
    switch (c) {
    case 3:
        copyCommand();
        return true;
    case 5:
        core::checkStoreConsistency(paragraphs());
        return true;
    case 22:
        pasteCommand();
        break;
    case 24:
        cutCommand();
        break;
    case 9:
        keys_->typeTab();
        break;
    case 13:
        keys_->typeEnter();
        break;
    default:
        if (c < 32 || c == 127)
            return false;
        keys_->typeCharacter(core::encode(std::u16string(1, c), measurer_.codePage()));
        break;
    }
    placeCaret();
    layout_->scrollCaretIntoView(origin());
    return true;
}

} // namespace velmora::widget
