#include "editor/core/editing/ColumnBlocks.h"

#include "editor/core/text/ColumnArithmetic.h"
#include "editor/core/editing/SelectionAside.h"
#include "editor/core/editing/SourceMemoCore.h"

#include <algorithm>

namespace velmora::core
{

void setBlockSelection(TSourceMemoCore &memo, std::int32_t column1, std::int32_t line1, std::int32_t line2,
                       std::int32_t column2)
{
    if (memo.WordWrap())
        return;
    const TParagraphsList &pars = memo.paragraphs();
    const std::int32_t last = pars.count() - 1;
    line1 = std::clamp(line1, 0, last);
    line2 = std::clamp(line2, 0, last);
    column1 = std::max(column1, 0);
    column2 = std::max(column2, 0);
    const auto positionAt = [&](std::int32_t line, std::int32_t column) {
        return pars.startOf(line) + offsetAtColumn(pars.textOf(line), column, memo.TabStops(), pars.StaticFormat);
    };
    const std::int32_t caret = positionAt(line2, column2);
    memo.setSelStart(caret);
    memo.setSelLength(positionAt(line1, column1) - caret);
    memo.setOvershoot(columnShortfall(pars.textOf(line2), column2, memo.TabStops(), pars.StaticFormat));
    memo.setBlockColumns(column1, column2);
    memo.view().placeCaret();
}

void scrollCaretAfterPaste(TSourceMemoCore &memo)
{
    if (memo.updateCount() == 0)
        memo.view().scrollCaretIntoView(memo.origin());
}

std::vector<std::string> splitLines(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    std::vector<std::string> lines;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t stop = std::min(text.find_first_of("\r\n", i), text.size());
        lines.emplace_back(text.substr(i, stop - i));
        i = stop;
        if (i < text.size() && text[i] == '\r')
            ++i;
        if (i < text.size() && text[i] == '\n')
            ++i;
    }
    return lines;
}

void insertBlock(TSourceMemoCore &memo, std::string_view text, std::int32_t column)
{
    const std::vector<std::string> lines = splitLines(text);
    if (lines.empty())
        return;
    column = std::max(column, 0);
    const TParagraphsList &pars = memo.paragraphs();
    const std::int32_t origin = memo.SelPar();
    memo.setSelLength(0); // also ends a column block, which a replace would delete
    UpdateGuard update(memo);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::int32_t par = origin + static_cast<std::int32_t>(i);
        if (par >= pars.count()) {
            memo.setSelStart(memo.TextLength());
            memo.SetSelTextBuf("\r\n");
        }
        const std::string_view row = pars.textOf(par);
        memo.setSelStart(pars.startOf(par) + offsetAtColumn(row, column, memo.TabStops(), pars.StaticFormat));
        // An empty line adds nothing, so it needs no blanks before it either.
        const std::int32_t blanks =
            lines[i].empty() ? 0 : columnShortfall(row, column, memo.TabStops(), pars.StaticFormat);
        const std::string piece = std::string(static_cast<std::size_t>(blanks), ' ') + lines[i];
        memo.setSelText(piece.c_str());
    }
}

void blockPaste(TSourceMemoCore &memo, std::string_view text, std::int32_t column)
{
    TSelectionAside aside(memo);
    insertBlock(memo, text, column);
    aside.restore();
    scrollCaretAfterPaste(memo);
}

} // namespace velmora::core
