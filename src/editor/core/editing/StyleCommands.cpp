#include "editor/core/editing/StyleCommands.h"

#include "editor/core/text/ColumnArithmetic.h"
#include "editor/core/editing/ColumnBlocks.h"
#include "editor/core/editing/SourceMemoCore.h"

#include <algorithm>
#include <string>

namespace velmora::core
{

namespace
{

// Sets the replace's keep-codes (and, for an empty selection, refresh) suppression while a
// command inserts its codes, and clears both afterwards.
class TSuppression
{
public:
    TSuppression(TSourceMemoCore &memo, bool refresh) : memo_(memo)
    {
        memo_.keepCodes = true;
        memo_.suppressRefresh = refresh;
    }
    ~TSuppression()
    {
        memo_.keepCodes = false;
        memo_.suppressRefresh = false;
    }
    TSuppression(const TSuppression &) = delete;
    TSuppression &operator=(const TSuppression &) = delete;

private:
    TSourceMemoCore &memo_;
};

// Replaces the selection by the code, the selected text and the code again.
void wrapSelection(TSourceMemoCore &memo, char code, bool emptySelection)
{
    const std::string text = code + memo.SelText() + code;
    TSuppression suppression(memo, emptySelection);
    memo.setSelText(text.c_str());
}

// Wraps each row's part of a column block, in one undo step, and selects the block again.
void wrapBlockRows(TSourceMemoCore &memo, char code)
{
    const TParagraphsList &pars = memo.paragraphs();
    const auto [column1, column2] = memo.blockColumns();
    const std::int32_t left = std::min(column1, column2);
    const std::int32_t right = std::max(column1, column2);
    const std::int32_t caretLine = memo.SelPar();
    const std::int32_t first = memo.selectionStart().ParNumber();
    const std::int32_t last = memo.selectionEnd().ParNumber();
    const std::int32_t anchorLine = caretLine == first ? last : first;
    UpdateGuard update(memo);
    for (std::int32_t i = first; i <= last; ++i) {
        const std::string_view row = pars.textOf(i);
        const std::int32_t a = offsetAtColumn(row, left, memo.TabStops(), pars.StaticFormat);
        const std::int32_t b = offsetAtColumn(row, right, memo.TabStops(), pars.StaticFormat);
        if (a == b)
            continue;
        memo.setSelStart(pars.startOf(i) + a);
        memo.setSelLength(b - a);
        wrapSelection(memo, code, false);
    }
    update.close();
    // The codes take no columns, so the block keeps its columns.
    setBlockSelection(memo, column1, anchorLine, caretLine, column2);
}

} // namespace

void applyStyleCommand(TSourceMemoCore &memo, TStyleCommand command)
{
    if (!memo.paragraphs().StaticFormat)
        return;
    const char code = static_cast<char>(command);
    const std::int32_t length = memo.SelLength();
    if (memo.blockSelection() && length != 0) {
        wrapBlockRows(memo, code);
        return;
    }
    // A column block with nothing selected is no block, and must not make the replace delete one.
    if (length == 0)
        memo.setSelLength(0);
    TSourceNavigator start(&memo);
    start.assign(memo.selectionStart());
    wrapSelection(memo, code, length == 0);
    if (length == 0) {
        // The refresh was held back so that code clean-up would not take the new pair away.
        memo.setSelStart(memo.selectionEnd().Pos() - 1);
        if (memo.updateCount() == 0)
            memo.refreshView();
        return;
    }
    const std::int32_t end = memo.SelStart();
    if (length < 0) {
        memo.setSelStart(end);
        memo.setSelLength(start.Pos() - end);
    } else {
        memo.setSelStart(start.Pos());
        memo.setSelLength(end - start.Pos());
    }
}

} // namespace velmora::core
