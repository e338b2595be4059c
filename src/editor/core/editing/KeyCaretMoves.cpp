// The caret moves by key: characters and words left and right (over style codes and trailing
// blanks as the options say), display lines up and down keeping the pixel x, pages, line and
// text ends; the selection follows with Shift, as a column block with the block keys.
#include "editor/core/editing/KeyCommands.h"

#include "editor/core/editing/SourceMemoCore.h"
#include "editor/core/editing/SourceNavigator.h"
#include "editor/core/text/StyleCodes.h"

#include <algorithm>

namespace velmora::core
{

namespace
{

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isVertical(TCaretMove move)
{
    switch (move) {
    case TCaretMove::LineUp:
    case TCaretMove::LineDown:
    case TCaretMove::PageUp:
    case TCaretMove::PageDown:
    case TCaretMove::PageUpCaretOnly:
    case TCaretMove::PageDownCaretOnly:
        return true;
    default:
        return false;
    }
}

} // namespace

TKeyCommands::TKeyCommands(TSourceMemoCore &memo, TKeyLayout &layout)
    : memo_(memo), layout_(layout), keyNav_(new TSourceNavigator(&memo))
{
}

void TKeyCommands::moveCaret(TCaretMove move, const TCaretMoveMode &mode)
{
    TSourceNavigator &origin = memo_.origin();
    layout_.layOutParagraph(origin.ParNumber());
    keyNav_->assign(origin);
    std::int32_t over = memo_.overshoot();
    switch (move) {
    case TCaretMove::CharLeft:
    case TCaretMove::WordLeft:
        over = stepLeft(move == TCaretMove::WordLeft, over);
        break;
    case TCaretMove::CharRight:
    case TCaretMove::WordRight:
        over = stepRight(move == TCaretMove::WordRight, over, mode.block);
        break;
    case TCaretMove::LineUp:
    case TCaretMove::LineDown: {
        // On the first or last line already the key does nothing.
        const std::int32_t target = origin.DisplayLine() + (move == TCaretMove::LineUp ? -1 : 1);
        if (target < 0 || target > lastDisplayLine())
            return;
        over = toLineKeepingX(target, mode.extend, mode.block);
        break;
    }
    case TCaretMove::PageUp:
    case TCaretMove::PageDown:
        over = pageStep(move == TCaretMove::PageUp ? -1 : 1, true, mode);
        break;
    case TCaretMove::PageUpCaretOnly:
    case TCaretMove::PageDownCaretOnly:
        over = pageStep(move == TCaretMove::PageUpCaretOnly ? -1 : 1, false, mode);
        break;
    case TCaretMove::LineStart:
        over = 0;
        keyNav_->setLineOffset(0);
        break;
    case TCaretMove::LineEnd:
        over = 0;
        toLineEnd(*keyNav_);
        break;
    case TCaretMove::TextStart:
        over = 0;
        keyNav_->setPos(0);
        break;
    case TCaretMove::TextEnd:
        over = 0;
        keyNav_->setPos(memo_.TextLength());
        break;
    }
    if (!isVertical(move))
        desiredX_ = -1;
    caretMoved(mode, over);
}

std::int32_t TKeyCommands::stepLeft(bool word, std::int32_t over)
{
    TSourceNavigator &nav = *keyNav_;
    if (word) {
        nav.wordLeft(memo_.Separators());
        return 0;
    }
    if (over > 0)
        return over - 1;
    const TParagraphsList &pars = memo_.paragraphs();
    const std::string_view text = pars.textOf(nav.ParNumber());
    std::int32_t offset = nav.ParOffset();
    if (offset > 0) {
        const bool skipCodes = memo_.StaticFormat() && passOverCodes;
        do
            --offset;
        while (skipCodes && offset > 0 && isStyleCode(static_cast<unsigned char>(text[offset])));
        nav.setParOffset(offset);
    } else if (nav.ParNumber() > 0) {
        nav.setPos(nav.Pos() - 2);
        if (memo_.Options()[smoDiscardTrailingSpaces]) {
            const std::string_view previous = pars.textOf(nav.ParNumber());
            offset = static_cast<std::int32_t>(previous.size());
            while (offset > 0 && isBlank(previous[offset - 1]))
                --offset;
            nav.setParOffset(offset);
        }
    }
    return 0;
}

std::int32_t TKeyCommands::stepRight(bool word, std::int32_t over, bool block)
{
    TSourceNavigator &nav = *keyNav_;
    if (word) {
        nav.wordRight(memo_.Separators());
        return 0;
    }
    const TSourceMemoOptions &options = memo_.Options();
    const std::string_view text = memo_.paragraphs().textOf(nav.ParNumber());
    const auto length = static_cast<std::int32_t>(text.size());
    std::int32_t offset = nav.ParOffset();
    bool atEnd = offset >= length;
    if (!atEnd && options[smoDiscardTrailingSpaces])
        atEnd = std::all_of(text.begin() + offset, text.end(), isBlank);
    if (atEnd) {
        if ((options[smoKeepColumnPos] && !options[smoWrapCaret]) || block)
            return over + 1;
        if (nav.ParNumber() < memo_.ParagraphCount() - 1)
            nav.setPos(memo_.paragraphs().startOf(nav.ParNumber() + 1));
        return 0;
    }
    if (memo_.StaticFormat() && passOverCodes)
        while (offset < length - 1 && isStyleCode(static_cast<unsigned char>(text[offset])))
            ++offset;
    nav.setParOffset(offset + 1);
    return 0;
}

// A page of display lines up or down; the view follows by the same page when scrollView is
// set and the caret was in it.
std::int32_t TKeyCommands::pageStep(std::int32_t direction, bool scrollView, const TCaretMoveMode &mode)
{
    const std::int32_t lines = layout_.pageLines();
    const std::int32_t line = memo_.origin().DisplayLine();
    const std::int32_t top = layout_.topLine();
    const bool caretVisible = line >= top && line < top + lines;
    const std::int32_t over =
        toLineKeepingX(std::clamp(line + direction * lines, 0, lastDisplayLine()), mode.extend, mode.block);
    if (scrollView && caretVisible)
        layout_.scrollPage(direction, lines);
    return over;
}

// Moves the key navigator to the character of display line target nearest to the desired x;
// returns the virtual overshoot the move leaves.
std::int32_t TKeyCommands::toLineKeepingX(std::int32_t target, bool extend, bool block)
{
    const std::int32_t blank = std::max(layout_.blankWidth(), 1);
    const std::int32_t horz = layout_.horzOffset();
    const TSourceMemoOptions &options = memo_.Options();
    if (desiredX_ < 0 || (!memo_.WordWrap() && options[smoPutExtraSpaces] && !options[smoKeepColumnPos]))
        desiredX_ = layout_.xOf(memo_.origin()) + memo_.overshoot() * blank + horz;
    layout_.layOutUpToLine(target);
    TSourceNavigator &nav = *keyNav_;
    nav.setDisplayLine(target);
    layout_.moveToX(nav, desiredX_ - horz);
    stayOnLine(nav);
    if (!(block || options[smoKeepColumnPos]) || (extend && !block && !options[smoPersistentBlocks]))
        return 0;
    const std::string_view text = memo_.paragraphs().textOf(nav.ParNumber());
    const std::int32_t offset = nav.ParOffset();
    if (offset < static_cast<std::int32_t>(text.size()) && text[offset] != '\t')
        return 0;
    return std::max(0, (desiredX_ - horz - layout_.xOf(nav)) / blank);
}

// A position at the end of a wrapped line is also the next line's start: the caret steps back
// before the line's last character so that it stays on its line.
void TKeyCommands::stayOnLine(TSourceNavigator &nav)
{
    const std::int32_t line = nav.ParLine();
    const ParInfo *par = nav.paragraph();
    const LineInfo info = par->lineInfo(line);
    if (info.nextLineStart < par->length() && nav.ParOffset() >= info.nextLineStart && nav.ParOffset() > info.lineStart)
        nav.setParOffset(info.nextLineStart - 1);
}

void TKeyCommands::toLineEnd(TSourceNavigator &nav)
{
    const LineInfo info = nav.paragraph()->lineInfo(nav.ParLine());
    nav.setParOffset(info.nextLineStart);
    stayOnLine(nav);
}

// The caret went to the key navigator: extending, the selection follows it (a column block
// keeping its first column); otherwise the selection is dropped unless blocks persist.
void TKeyCommands::caretMoved(const TCaretMoveMode &mode, std::int32_t over)
{
    const std::int32_t desiredX = desiredX_; // placing the caret below forgets it
    TSourceNavigator &origin = memo_.origin();
    const std::int32_t from = origin.Pos();
    const std::int32_t to = keyNav_->Pos();
    const bool persistent = memo_.Options()[smoPersistentBlocks];
    if (mode.extend) {
        std::int32_t anchor = anchorPosition();
        TSourceNavigator &start = memo_.selectionStart();
        TSourceNavigator &end = memo_.selectionEnd();
        if (persistent && memo_.SelLength() != 0 && &origin != &start && &origin != &end) {
            // The caret stands apart from the block: it is extended only from one of its ends.
            if (from == start.Pos())
                anchor = end.Pos();
            else if (from == end.Pos())
                anchor = start.Pos();
            else
                anchor = from;
        }
        selectRange(anchor, to);
        memo_.setOvershoot(over);
        if (mode.block)
            memo_.setBlockColumns(mode.firstColumn, caretColumn());
        layout_.repaintBetween(std::min(from, to), std::max(from, to));
    } else if (persistent && memo_.SelLength() != 0) {
        memo_.placeOriginApart(to);
        memo_.setOvershoot(over);
    } else {
        selectRange(to, to);
        memo_.setOvershoot(over);
    }
    desiredX_ = desiredX;
    showCaret();
}

void TKeyCommands::showCaret()
{
    layout_.placeCaret();
    layout_.scrollCaretIntoView(memo_.origin());
}

std::int32_t TKeyCommands::caretColumn()
{
    const std::int32_t blank = std::max(layout_.blankWidth(), 1);
    const std::int32_t x = layout_.xOf(memo_.origin()) + memo_.overshoot() * blank;
    return (x + layout_.horzOffset() - layout_.leftMargin()) / blank;
}

std::int32_t TKeyCommands::anchorPosition()
{
    TSourceNavigator &origin = memo_.origin();
    return &origin == &memo_.selectionEnd() ? memo_.selectionStart().Pos() : memo_.selectionEnd().Pos();
}

void TKeyCommands::selectRange(std::int32_t anchor, std::int32_t caret)
{
    repaintSelection();
    memo_.setSelStart(caret);
    memo_.setSelLength(anchor - caret);
}

void TKeyCommands::repaintSelection()
{
    if (memo_.blockSelection() || memo_.SelLength() != 0)
        layout_.repaintBetween(memo_.selectionStart().Pos(), memo_.selectionEnd().Pos());
}

std::int32_t TKeyCommands::lastDisplayLine() const
{
    return std::max(memo_.paragraphs().marks().visibleLineCount() - 1, 0);
}

std::int32_t TKeyCommands::displayLineStart(std::int32_t line)
{
    layout_.layOutUpToLine(line);
    keyNav_->setDisplayLine(line);
    return keyNav_->Pos();
}

} // namespace velmora::core
