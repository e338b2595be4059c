#include "editor/core/editing/SelectionAside.h"

#include "editor/core/text/ColumnArithmetic.h"
#include "editor/core/editing/ColumnBlocks.h"
#include "editor/core/editing/SourceMemoCore.h"

namespace velmora::core
{

namespace
{

std::int32_t columnOf(TSourceMemoCore &memo, TSourceNavigator &nav)
{
    const TParagraphsList &pars = memo.paragraphs();
    return columnOfOffset(pars.textOf(nav.ParNumber()), nav.ParOffset(), memo.TabStops(), pars.StaticFormat);
}

// Drops the selection and the block flag, leaving the caret (and its overshoot) where it stands.
void collapseToCaret(TSourceMemoCore &memo)
{
    const std::int32_t overshoot = memo.overshoot();
    memo.setSelStart(memo.SelStart());
    memo.setSelLength(0);
    memo.setOvershoot(overshoot);
}

} // namespace

TSelectionAside::TSelectionAside(TSourceMemoCore &memo) : memo_(memo)
{
    if (!memo_.Options()[smoNoOverwriteBlocks] || memo_.SelLength() == 0)
        return;
    if (!memo_.Options()[smoPersistentBlocks]) {
        collapseToCaret(memo_);
        return;
    }
    start_ = std::make_unique<TSourceNavigator>(&memo_);
    end_ = std::make_unique<TSourceNavigator>(&memo_);
    start_->assign(memo_.selectionStart());
    end_->assign(memo_.selectionEnd());
    // Text pasted right at either end goes outside the kept selection.
    start_->atParagraphStart = true;
    block_ = memo_.blockSelection();
    if (block_) {
        const auto [column1, column2] = memo_.blockColumns();
        startDistance_ = column1 - columnOf(memo_, *start_);
        endDistance_ = column2 - columnOf(memo_, *end_);
    }
    collapseToCaret(memo_);
    update_.open(memo_);
}

void TSelectionAside::restore()
{
    if (!start_)
        return;
    const std::int32_t caret = memo_.SelStart();
    const std::unique_ptr<TSourceNavigator> start = std::move(start_);
    const std::unique_ptr<TSourceNavigator> end = std::move(end_);
    if (block_) {
        setBlockSelection(memo_, startDistance_ + columnOf(memo_, *start), start->ParNumber(), end->ParNumber(),
                          endDistance_ + columnOf(memo_, *end));
    } else {
        memo_.setSelStart(start->Pos());
        memo_.setSelLength(end->Pos() - start->Pos());
    }
    if (memo_.SelLength() != 0) {
        memo_.placeOriginApart(caret);
        memo_.setOvershoot(0);
    } else {
        memo_.setSelStart(caret);
    }
    update_.close();
}

} // namespace velmora::core
