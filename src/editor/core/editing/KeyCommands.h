// TKeyCommands: what the editing keys do to the text, the caret and the selection, without a
// window: typing (insert or overwrite), Enter with automatic indentation, the smart tab,
// Backspace with back-indent, Delete, and the caret moves by key with or without extending the
// selection. The control translates its key events into these calls and keeps what needs the
// window system (clipboard, drag, focus, repainting).
//
// Under smoNoOverwriteBlocks every edit sets the selection aside first. moveCaret and backspace
// place the caret and scroll it into view themselves; after the other edits the caller does.
#pragma once

#include "editor/core/editing/KeyLayout.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace velmora::core
{

class TSourceMemoCore;
class TSourceNavigator;

enum class TCaretMove {
    CharLeft,
    CharRight,
    WordLeft,
    WordRight,
    LineUp,
    LineDown,
    // A page of display lines; the view scrolls along while the caret was in it.
    PageUp,
    PageDown,
    // A page of display lines with the view left where it is.
    PageUpCaretOnly,
    PageDownCaretOnly,
    LineStart,
    LineEnd,
    TextStart,
    TextEnd,
};

struct TCaretMoveMode {
    // The selection follows the caret from its anchor.
    bool extend = false;
    // Column block keys: the caret may go beyond line ends, and an extended selection is a
    // column block from firstColumn to the caret's column.
    bool block = false;
    std::int32_t firstColumn = 0;
};

class TKeyCommands
{
public:
    TKeyCommands(TSourceMemoCore &memo, TKeyLayout &layout);
    TKeyCommands(const TKeyCommands &) = delete;
    TKeyCommands &operator=(const TKeyCommands &) = delete;

    // Overwrite mode: a typed character replaces the one after the caret, Enter only moves.
    bool overwrite = false;
    // With StaticFormat, Left and Right step over style codes as if they were not there.
    bool passOverCodes = true;

    // ---- Caret moves
    void moveCaret(TCaretMove move, const TCaretMoveMode &mode = {});
    // The caret was placed or the text edited: the next vertical move takes the caret's x.
    void dropDesiredX() { desiredX_ = -1; }
    // The caret's display column in blank widths from the left margin, overshoot included.
    std::int32_t caretColumn();
    // The selection end that stays while the caret moves.
    std::int32_t anchorPosition();
    // Selects from anchor to caret, repainting what was selected before.
    void selectRange(std::int32_t anchor, std::int32_t caret);
    void repaintSelection();
    std::int32_t lastDisplayLine() const;
    // Position of the first character of display line `line`, laid out first.
    std::int32_t displayLineStart(std::int32_t line);

    // ---- Typing
    // The bytes of one typed character, in place of the selection (or, in overwrite mode, of the
    // next character). A blank at a paragraph end only moves the caret into virtual space under
    // smoKeepColumnPos or smoDiscardTrailingSpaces.
    void typeCharacter(std::string_view bytes);
    void typeEnter();
    void typeTab();

    // ---- Deleting
    // Backspace: the selection, else the character (or, with word, the word) before the caret;
    // back-indents over leading blanks under smoBackIndent.
    void backspace(bool word);
    // Delete: the selection, else the character after the caret or the paragraph break.
    void deleteForward();
    // Ctrl+Delete: from the caret to its display line's end, when the selection lies in one
    // paragraph.
    void deleteToLineEnd();

private:
    // Runs edit with the selection set aside under smoNoOverwriteBlocks.
    void editAside(const std::function<void()> &edit);
    void showCaret();

    // Caret moves (KeyCaretMoves.cpp): each moves keyNav_ and returns the new overshoot.
    std::int32_t stepLeft(bool word, std::int32_t over);
    std::int32_t stepRight(bool word, std::int32_t over, bool block);
    std::int32_t pageStep(std::int32_t direction, bool scrollView, const TCaretMoveMode &mode);
    std::int32_t toLineKeepingX(std::int32_t target, bool extend, bool block);
    void stayOnLine(TSourceNavigator &nav);
    void toLineEnd(TSourceNavigator &nav);
    void caretMoved(const TCaretMoveMode &mode, std::int32_t over);

    // Typing (KeyTyping.cpp).
    std::string autoIndentation();
    std::string smartTabFiller();
    bool selectBeforeCaret(bool word);
    std::int32_t backIndentTarget(std::int32_t par, std::int32_t lead);
    void keepColumnAtParagraphEnd(std::int32_t column);

    TSourceMemoCore &memo_;
    TKeyLayout &layout_;
    TSourceNavigator *keyNav_; // where a key moves the caret; attached to, and freed by, memo_
    // The pixel x (scroll offset excluded) vertical moves keep; -1: take the caret's.
    std::int32_t desiredX_ = -1;
};

} // namespace velmora::core
