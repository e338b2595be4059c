// The typing keys: a character (insert or overwrite, blanks in virtual space), Enter with
// automatic indentation, Tab with the smart-tab filler, and the deleting keys Backspace (with
// back-indent) and Delete. Under smoNoOverwriteBlocks the selection is set aside around each.
#include "editor/core/editing/KeyCommands.h"

#include "editor/core/editing/SelectionAside.h"
#include "editor/core/editing/SourceMemoCore.h"
#include "editor/core/editing/SourceNavigator.h"
#include "editor/core/text/ColumnArithmetic.h"
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

std::int32_t leadingBlanks(std::string_view text)
{
    const auto end = std::find_if_not(text.begin(), text.end(), isBlank);
    return static_cast<std::int32_t>(end - text.begin());
}

} // namespace

void TKeyCommands::editAside(const std::function<void()> &edit)
{
    TSelectionAside aside(memo_);
    edit();
    aside.restore();
}

void TKeyCommands::typeCharacter(std::string_view bytes)
{
    editAside([&] {
        TSourceNavigator &origin = memo_.origin();
        const bool atParagraphEnd = origin.ParOffset() >= memo_.paragraphs().par(origin.ParNumber())->length();
        if (overwrite && memo_.SelLength() == 0 && !atParagraphEnd) {
            memo_.setSelStart(origin.Pos());
            memo_.setSelLength(1);
        }
        const TSourceMemoOptions &options = memo_.Options();
        if (bytes == " " && memo_.SelLength() == 0 && atParagraphEnd &&
            (options[smoKeepColumnPos] || options[smoDiscardTrailingSpaces])) {
            memo_.setOvershoot(memo_.overshoot() + 1);
            return;
        }
        memo_.SetSelTextBuf(std::string(bytes).c_str());
    });
}

void TKeyCommands::typeEnter()
{
    editAside([&] {
        TSourceNavigator &origin = memo_.origin();
        if (overwrite && memo_.SelLength() == 0) {
            // Overwrite mode only moves to the next line, adding one after the last.
            const std::int32_t line = origin.DisplayLine();
            if (line < lastDisplayLine()) {
                const std::int32_t next = displayLineStart(line + 1);
                selectRange(next, next);
            } else {
                memo_.setSelStart(memo_.TextLength());
                memo_.SetSelTextBuf("\r\n");
            }
            return;
        }
        if (memo_.SelLength() != 0 || !memo_.Options()[smoAutoIndent]) {
            memo_.SetSelTextBuf("\r\n");
            return;
        }
        const std::string indentation = autoIndentation();
        const std::int32_t paragraphLength = memo_.paragraphs().par(origin.ParNumber())->length();
        if (memo_.Options()[smoDiscardTrailingSpaces] && origin.ParOffset() >= paragraphLength) {
            // No trailing blanks are stored: the indentation is virtual space.
            memo_.SetSelTextBuf("\r\n");
            const std::int32_t tab = memo_.TabStops() > 0 ? memo_.TabStops() : 1;
            std::int32_t width = 0;
            for (const char ch : indentation)
                width += ch == '\t' ? tab : 1;
            memo_.setOvershoot(width);
            return;
        }
        memo_.SetSelTextBuf(("\r\n" + indentation).c_str());
    });
}

// The leading blanks and tabs of the nearest non-empty paragraph at or above the caret's; in
// the caret's own paragraph only those before the caret.
std::string TKeyCommands::autoIndentation()
{
    const std::int32_t caretPar = memo_.origin().ParNumber();
    for (std::int32_t i = caretPar; i >= 0; --i) {
        const std::string_view text = memo_.paragraphs().textOf(i);
        if (text.empty())
            continue;
        std::int32_t count = leadingBlanks(text);
        if (i == caretPar)
            count = std::min(count, memo_.origin().ParOffset());
        return std::string(text.substr(0, static_cast<std::size_t>(count)));
    }
    return {};
}

void TKeyCommands::typeTab()
{
    editAside([&] {
        if (!memo_.Options()[smoSmartTabs]) {
            memo_.SetSelTextBuf("\t");
            return;
        }
        std::string filler = memo_.WordWrap() ? std::string() : smartTabFiller();
        // Where no paragraph above lines the caret up, Tab still types a tab.
        if (filler.empty())
            filler = "\t";
        memo_.SetSelTextBuf((memo_.SelText() + filler).c_str());
    });
}

// Blanks that bring the caret to the next word start (or the end) of the nearest earlier
// paragraph reaching beyond the caret's column.
std::string TKeyCommands::smartTabFiller()
{
    const std::int32_t tab = memo_.TabStops();
    const bool codes = memo_.StaticFormat();
    const TParagraphsList &pars = memo_.paragraphs();
    const std::int32_t caretPar = memo_.origin().ParNumber();
    const std::int32_t c =
        columnOfOffset(pars.textOf(caretPar), memo_.origin().ParOffset(), tab, codes) + memo_.overshoot();
    for (std::int32_t i = caretPar - 1; i >= 0; --i) {
        const std::string_view text = pars.textOf(i);
        const auto length = static_cast<std::int32_t>(text.size());
        if (columnOfOffset(text, length, tab, codes) <= c)
            continue;
        std::int32_t k = offsetAtColumn(text, c, tab, codes);
        while (k < length && !isBlank(text[k]))
            ++k;
        while (k < length && isBlank(text[k]))
            ++k;
        return std::string(static_cast<std::size_t>(columnOfOffset(text, k, tab, codes) - c), ' ');
    }
    return {};
}

// ---- Deleting ---------------------------------------------------------------------------------

void TKeyCommands::backspace(bool word)
{
    desiredX_ = -1;
    editAside([&] {
        const bool hadSelection = memo_.SelLength() != 0;
        const std::int32_t column = caretColumn();
        if (!hadSelection && !selectBeforeCaret(word)) {
            layout_.placeCaret();
            return;
        }
        memo_.ClearSelection();
        if (hadSelection)
            keepColumnAtParagraphEnd(column);
    });
    showCaret();
}

// Selects what Backspace deletes; false when it deletes nothing (a step back in virtual
// space, or the text start).
bool TKeyCommands::selectBeforeCaret(bool word)
{
    TSourceNavigator &origin = memo_.origin();
    const std::int32_t caret = origin.Pos();
    const std::int32_t par = origin.ParNumber();
    const std::int32_t offset = origin.ParOffset();
    const std::int32_t over = memo_.overshoot();
    const std::string_view text = memo_.paragraphs().textOf(par);
    if (word) {
        keyNav_->setPos(caret);
        keyNav_->wordLeft(memo_.Separators());
        selectRange(caret, keyNav_->Pos());
        return keyNav_->Pos() != caret;
    }
    if (offset == 0 && over == 0) {
        if (par == 0)
            return false;
        selectRange(caret, caret - 2);
        return true;
    }
    const std::int32_t lead = leadingBlanks(text);
    if (memo_.Options()[smoBackIndent] && lead > 0 && offset + over == lead) {
        const std::int32_t start = memo_.paragraphs().startOf(par);
        selectRange(caret, start + std::min(backIndentTarget(par, lead), offset));
        return true;
    }
    if (over > 0) {
        memo_.setOvershoot(over - 1);
        return false;
    }
    std::int32_t from = offset - 1;
    if (memo_.StaticFormat())
        while (from > 0 && isStyleCode(static_cast<unsigned char>(text[from - 1])))
            --from;
    selectRange(caret, caret - (offset - from));
    return true;
}

// The indentation of the nearest earlier paragraph indented less than lead; paragraphs of
// blanks only say nothing about indentation and are passed over.
std::int32_t TKeyCommands::backIndentTarget(std::int32_t par, std::int32_t lead)
{
    for (std::int32_t i = par - 1; i >= 0; --i) {
        const std::string_view text = memo_.paragraphs().textOf(i);
        const std::int32_t count = leadingBlanks(text);
        if (count < static_cast<std::int32_t>(text.size()) && count < lead)
            return count;
    }
    return 0;
}

void TKeyCommands::deleteForward()
{
    editAside([&] {
        if (memo_.SelLength() != 0) {
            memo_.ClearSelection();
            return;
        }
        const std::int32_t column = caretColumn();
        const bool virtualCaret = memo_.overshoot() > 0;
        TSourceNavigator &origin = memo_.origin();
        const std::int32_t caret = origin.Pos();
        const std::int32_t par = origin.ParNumber();
        const std::int32_t offset = origin.ParOffset();
        const std::string_view text = memo_.paragraphs().textOf(par);
        const auto length = static_cast<std::int32_t>(text.size());
        if (offset >= length) {
            if (par == memo_.ParagraphCount() - 1)
                return;
            selectRange(caret, caret + 2);
        } else {
            std::int32_t to = offset + 1;
            if (memo_.StaticFormat())
                while (to < length && isStyleCode(static_cast<unsigned char>(text[to])))
                    ++to;
            selectRange(caret, caret + (to - offset));
        }
        memo_.ClearSelection();
        if (virtualCaret && !memo_.WordWrap())
            keepColumnAtParagraphEnd(column);
    });
}

void TKeyCommands::deleteToLineEnd()
{
    if (memo_.selectionStart().ParNumber() != memo_.selectionEnd().ParNumber())
        return;
    const std::int32_t caret = memo_.origin().Pos();
    keyNav_->assign(memo_.origin());
    keyNav_->setParOffset(keyNav_->paragraph()->lineInfo(keyNav_->ParLine()).nextLineStart);
    selectRange(caret, keyNav_->Pos());
    memo_.ClearSelection();
}

// With smoKeepColumnPos, a caret left at its paragraph's end after a deletion keeps the display
// column it had as virtual overshoot.
void TKeyCommands::keepColumnAtParagraphEnd(std::int32_t column)
{
    if (!memo_.Options()[smoKeepColumnPos])
        return;
    const std::int32_t length = memo_.paragraphs().par(memo_.origin().ParNumber())->length();
    if (memo_.origin().ParOffset() < length)
        return;
    memo_.setOvershoot(std::max(0, column - caretColumn()));
}

} // namespace velmora::core
