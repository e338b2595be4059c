// The editor control's typing: the character handler (control characters, overwrite mode,
// blanks in virtual space), Enter with automatic indentation, Tab with the smart-tab filler,
// and the deleting keys Backspace (with back-indent) and Delete. Under smoNoOverwriteBlocks
// the selection is set aside around each of these edits.
#include "editor/widget/SourceMemo.h"

#include "editor/core/text/CodePages.h"
#include "editor/core/text/ColumnArithmetic.h"
#include "editor/core/editing/SelectionAside.h"
#include "editor/core/editing/SourceNavigator.h"
#include "editor/core/editing/StoreConsistency.h"
#include "editor/core/text/StyleCodes.h"

#include <algorithm>
#include <string>

namespace velmora::widget
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
    case 13:
        editAsideFromSelection([&] { c == 9 ? typeTab() : typeEnter(); });
        break;
    default:
        if (c < 32 || c == 127)
            return false;
        editAsideFromSelection([&] { typePrintable(c); });
        break;
    }
    placeCaret();
    layout_->scrollCaretIntoView(origin());
    return true;
}

void TSourceMemo::editAsideFromSelection(const std::function<void()> &edit)
{
    core::TSelectionAside aside(*this);
    edit();
    aside.restore();
}

void TSourceMemo::typePrintable(char16_t c)
{
    const std::int32_t paragraphLength = paragraphs().par(origin().ParNumber())->length();
    const bool atParagraphEnd = origin().ParOffset() >= paragraphLength;
    if (overwrite_ && SelLength() == 0 && !atParagraphEnd) {
        setSelStart(origin().Pos());
        setSelLength(1);
    }
    const core::TSourceMemoOptions &options = Options();
    if (c == ' ' && SelLength() == 0 && atParagraphEnd &&
        (options[core::smoKeepColumnPos] || options[core::smoDiscardTrailingSpaces])) {
        setOvershoot(overshoot() + 1);
        return;
    }
    SetSelTextBuf(core::encode(std::u16string(1, c), measurer_.codePage()).c_str());
}

void TSourceMemo::typeEnter()
{
    if (overwrite_ && SelLength() == 0) {
        // Overwrite mode only moves to the next line, adding one after the last.
        const std::int32_t line = origin().DisplayLine();
        if (line < lastDisplayLine()) {
            selectRange(displayLineStart(line + 1), displayLineStart(line + 1));
        } else {
            setSelStart(TextLength());
            SetSelTextBuf("\r\n");
        }
        return;
    }
    if (SelLength() != 0 || !Options()[core::smoAutoIndent]) {
        SetSelTextBuf("\r\n");
        return;
    }
    const std::string indentation = autoIndentation();
    const std::int32_t paragraphLength = paragraphs().par(origin().ParNumber())->length();
    if (Options()[core::smoDiscardTrailingSpaces] && origin().ParOffset() >= paragraphLength) {
        SetSelTextBuf("\r\n");
        const std::int32_t tab = TabStops() > 0 ? TabStops() : 1;
        std::int32_t width = 0;
        for (const char ch : indentation)
            width += ch == '\t' ? tab : 1;
        setOvershoot(width);
        return;
    }
    SetSelTextBuf(("\r\n" + indentation).c_str());
}

// The leading blanks and tabs of the nearest non-empty paragraph at or above the caret's; in
// the caret's own paragraph only those before the caret.
std::string TSourceMemo::autoIndentation()
{
    const std::int32_t caretPar = origin().ParNumber();
    for (std::int32_t i = caretPar; i >= 0; --i) {
        const std::string_view text = paragraphs().textOf(i);
        if (text.empty())
            continue;
        std::int32_t count = leadingBlanks(text);
        if (i == caretPar)
            count = std::min(count, origin().ParOffset());
        return std::string(text.substr(0, static_cast<std::size_t>(count)));
    }
    return {};
}

void TSourceMemo::typeTab()
{
    if (!Options()[core::smoSmartTabs]) {
        SetSelTextBuf("\t");
        return;
    }
    std::string filler = WordWrap() ? std::string() : smartTabFiller();
    // Where no paragraph above lines the caret up, Tab still types a tab.
    if (filler.empty())
        filler = "\t";
    SetSelTextBuf((SelText() + filler).c_str());
}

// Blanks that bring the caret to the next word start (or the end) of the nearest earlier
// paragraph reaching beyond the caret's column.
std::string TSourceMemo::smartTabFiller()
{
    const std::int32_t tab = TabStops();
    const bool codes = StaticFormat();
    const std::int32_t caretPar = origin().ParNumber();
    const std::int32_t c =
        core::columnOfOffset(paragraphs().textOf(caretPar), origin().ParOffset(), tab, codes) + overshoot();
    for (std::int32_t i = caretPar - 1; i >= 0; --i) {
        const std::string_view text = paragraphs().textOf(i);
        const auto length = static_cast<std::int32_t>(text.size());
        if (core::columnOfOffset(text, length, tab, codes) <= c)
            continue;
        std::int32_t k = core::offsetAtColumn(text, c, tab, codes);
        while (k < length && !isBlank(text[k]))
            ++k;
        while (k < length && isBlank(text[k]))
            ++k;
        return std::string(static_cast<std::size_t>(core::columnOfOffset(text, k, tab, codes) - c), ' ');
    }
    return {};
}

// ---- Deleting ---------------------------------------------------------------------------------

void TSourceMemo::backspaceKey(bool ctrl)
{
    desiredX_ = -1;
    editAsideFromSelection([&] {
        const bool hadSelection = SelLength() != 0;
        const std::int32_t column = caretColumn();
        if (!hadSelection && !selectBeforeCaret(ctrl)) {
            placeCaret();
            return;
        }
        ClearSelection();
        if (hadSelection)
            keepColumnAtParagraphEnd(column);
    });
    placeCaret();
    layout_->scrollCaretIntoView(origin());
}

// Selects what Backspace deletes; false when it deletes nothing (a step back in virtual
// space, or the text start).
bool TSourceMemo::selectBeforeCaret(bool ctrl)
{
    const std::int32_t caret = origin().Pos();
    const std::int32_t par = origin().ParNumber();
    const std::int32_t offset = origin().ParOffset();
    const std::string_view text = paragraphs().textOf(par);
    if (ctrl) {
        keyNav_->setPos(caret);
        keyNav_->wordLeft(TSourceMemoCore::Separators());
        selectRange(caret, keyNav_->Pos());
        return keyNav_->Pos() != caret;
    }
    if (offset == 0 && overshoot() == 0) {
        if (par == 0)
            return false;
        selectRange(caret, caret - 2);
        return true;
    }
    const std::int32_t lead = leadingBlanks(text);
    if (Options()[core::smoBackIndent] && lead > 0 && offset + overshoot() == lead) {
        const std::int32_t start = paragraphs().startOf(par);
        selectRange(caret, start + std::min(backIndentTarget(par, lead), offset));
        return true;
    }
    if (overshoot() > 0) {
        setOvershoot(overshoot() - 1);
        return false;
    }
    std::int32_t from = offset - 1;
    if (StaticFormat())
        while (from > 0 && core::isStyleCode(static_cast<unsigned char>(text[from - 1])))
            --from;
    selectRange(caret, caret - (offset - from));
    return true;
}

// The indentation of the nearest earlier paragraph indented less than lead; paragraphs of
// blanks only say nothing about indentation and are passed over.
std::int32_t TSourceMemo::backIndentTarget(std::int32_t par, std::int32_t lead)
{
    for (std::int32_t i = par - 1; i >= 0; --i) {
        const std::string_view text = paragraphs().textOf(i);
        const std::int32_t count = leadingBlanks(text);
        if (count < static_cast<std::int32_t>(text.size()) && count < lead)
            return count;
    }
    return 0;
}

void TSourceMemo::deleteKey()
{
    editAsideFromSelection([&] {
        if (SelLength() == 0) {
            const std::int32_t column = caretColumn();
            const bool virtualCaret = overshoot() > 0;
            const std::int32_t caret = origin().Pos();
            const std::int32_t par = origin().ParNumber();
            const std::int32_t offset = origin().ParOffset();
            const std::string_view text = paragraphs().textOf(par);
            const auto length = static_cast<std::int32_t>(text.size());
            if (offset >= length) {
                if (par == ParagraphCount() - 1)
                    return;
                selectRange(caret, caret + 2);
            } else {
                std::int32_t to = offset + 1;
                if (StaticFormat())
                    while (to < length && core::isStyleCode(static_cast<unsigned char>(text[to])))
                        ++to;
                selectRange(caret, caret + (to - offset));
            }
            ClearSelection();
            if (virtualCaret && !WordWrap())
                keepColumnAtParagraphEnd(column);
            return;
        }
        ClearSelection();
    });
}

void TSourceMemo::deleteToLineEnd()
{
    if (selectionStart().ParNumber() != selectionEnd().ParNumber())
        return;
    const std::int32_t caret = origin().Pos();
    keyNav_->assign(origin());
    keyNav_->setParOffset(keyNav_->paragraph()->lineInfo(keyNav_->ParLine()).nextLineStart);
    selectRange(caret, keyNav_->Pos());
    ClearSelection();
}

// With smoKeepColumnPos, a caret left at its paragraph's end after a deletion keeps the display
// column it had as virtual overshoot.
void TSourceMemo::keepColumnAtParagraphEnd(std::int32_t column)
{
    if (!Options()[core::smoKeepColumnPos])
        return;
    const std::int32_t length = paragraphs().par(origin().ParNumber())->length();
    if (origin().ParOffset() < length)
        return;
    setOvershoot(std::max(0, column - caretColumn()));
}

} // namespace velmora::widget
