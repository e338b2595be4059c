// The replace of the selection, in the order its steps must run, with the navigator
// correction, the highlighting upkeep and the code clean-up that follow it.
#include "editor/core/text/ColumnArithmetic.h"
#include "editor/core/editing/SourceMemoCore.h"
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

bool onlyBlanks(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), isBlank);
}

// Restores a flag when the scope ends, also on an exception.
class FlagScope
{
public:
    FlagScope(bool &flag, bool value) : flag_(flag), old_(flag) { flag_ = value; }
    ~FlagScope() { flag_ = old_; }
    FlagScope(const FlagScope &) = delete;
    FlagScope &operator=(const FlagScope &) = delete;

private:
    bool &flag_;
    bool old_;
};

} // namespace

void TSourceMemoCore::SetSelTextBuf(const char *text)
{
    if (OnBeforeChange)
        OnBeforeChange(*this, text);
    const std::string_view t = text ? text : "";
    if (selLength_ == 0 && t.empty())
        return;
    if (block_) {
        deleteBlock();
        if (t.empty())
            return;
    }
    replaceSelection(t);
}

void TSourceMemoCore::deleteBlock()
{
    const std::int32_t left = std::min(blockLeft_, blockRight_);
    const std::int32_t right = std::max(blockLeft_, blockRight_);
    const std::int32_t first = selStart_->ParNumber();
    const std::int32_t last = selEnd_->ParNumber();
    block_ = false;
    UpdateGuard update(*this);
    for (std::int32_t i = first; i <= last; ++i) {
        const std::string_view par = pars_.textOf(i);
        const std::int32_t a = offsetAtColumn(par, left, tabStops_, pars_.StaticFormat);
        const std::int32_t b = offsetAtColumn(par, right, tabStops_, pars_.StaticFormat);
        setSelStart(pars_.startOf(i) + a);
        setSelLength(b - a);
        SetSelTextBuf(nullptr);
    }
}

void TSourceMemoCore::leaveBreak(TSourceNavigator &nav)
{
    if (nav.ParOffset() > nav.paragraph()->length())
        nav.setPos(nav.Pos() + 1);
}

void TSourceMemoCore::replaceSelection(std::string_view t)
{
    // A selection end between the two characters of a break takes the whole break.
    leaveBreak(*selStart_);
    leaveBreak(*selEnd_);
    const bool discardBlanks = options_[smoDiscardTrailingSpaces] && !inUndo_;
    if (discardBlanks) {
        // Breaking a line after blanks drops them; the selection takes them so that undo restores them.
        const std::size_t cr = t.find('\r');
        if (cr != std::string_view::npos && onlyBlanks(t.substr(0, cr))) {
            const std::string_view par = pars_.textOf(selStart_->ParNumber());
            std::int32_t off = selStart_->ParOffset();
            while (off > 0 && isBlank(par[static_cast<std::size_t>(off) - 1]))
                --off;
            selStart_->setParOffset(off);
        }
    }
    const std::int32_t extent = selEnd_->Pos() - selStart_->Pos();
    selLength_ = origin_ == selStart_ ? extent : -extent;
    if (selLength_ == 0 && t.empty())
        return;

    const std::int32_t s = selStart_->Pos();
    const std::int32_t e = selEnd_->Pos();
    const std::int32_t sPar = selStart_->ParNumber();
    const std::int32_t ePar = selEnd_->ParNumber();

    overshoot_ = 0;
    view_->dropCaretX();
    modified_ = true;
    view_->paragraphsTouched(sPar, ePar);
    view_->recordHighlightStates(*selStart_, *selEnd_);

    UndoPlan plan = planUndo();
    ReplaceOptions options;
    options.preserveCodes = !keepCodes;
    options.discardTrailingSpaces = discardBlanks;
    const ReplaceResult r = pars_.replace(sPar, selStart_->ParOffset(), ePar, selEnd_->ParOffset(), t, options);
    view_->paragraphsReplaced(r.startPar, r.endPar);

    selStart_->setParNumber(r.startPar);
    selStart_->setParOffset(r.startOffset);
    selEnd_->setParNumber(r.endPar);
    selEnd_->setParOffset(r.endOffset);
    if (commitUndo(plan))
        undo_.record(undo_.position() - 1).end = selEnd_->Pos();

    if (updateCount_ > 0)
        pars_.par(r.startPar)->flags &= ~pfLinesValid;
    if (upperCache_.paragraph() > ePar)
        upperCache_.shift(r.parChange);
    else if (upperCache_.paragraph() >= sPar)
        upperCache_.drop();
    correctNavigators(s, e, r, ePar);
    upkeepHighlighting(r, selStart_->Pos());

    selLength_ = 0;
    block_ = false;
    if (suppressRefresh)
        return;
    // Undo and redo restore texts exactly: a clean-up there would change the text without a
    // record and the next undo step would take back the wrong characters.
    if (pars_.StaticFormat && codeCleanUp && !inUndo_)
        cleanUpCodes(r.startPar, r.endPar);
    selStart_->assign(*selEnd_);
    origin_ = selStart_;
    if (updateCount_ == 0)
        refreshView();
    pars_.marks().setLayoutValid(false);
}

TSourceMemoCore::UndoPlan TSourceMemoCore::planUndo()
{
    UndoPlan plan;
    if (inUndo_ || loading || undo_.UndoMaxLevel() == 0)
        return plan;
    plan.record = true;
    const std::int32_t position = undo_.position();
    if (selLength_ == 0 && position > 0 && !newUndoGroup_) {
        const UndoRecord &previous = undo_.record(position - 1);
        const std::int32_t at = origin_->Pos();
        if (at == previous.end && at != previous.start && updateCount_ == previous.group &&
            (previous.group == 0 || previous.session == updateSession_)) {
            plan.extend = true;
            return plan;
        }
    }
    plan.entry.start = selStart_->Pos();
    plan.entry.group = updateCount_;
    plan.entry.session = updateSession_;
    plan.entry.removed = textRange(selStart_->Pos(), selEnd_->Pos());
    return plan;
}

bool TSourceMemoCore::commitUndo(UndoPlan &plan)
{
    if (!plan.record)
        return false;
    undo_.dropRedo();
    if (plan.extend)
        return true;
    newUndoGroup_ = false;
    return undo_.append(std::move(plan.entry));
}

void TSourceMemoCore::correctNavigators(std::int32_t s, std::int32_t e, const ReplaceResult &r, std::int32_t ePar)
{
    passNext_ = 0;
    passEnd_ = static_cast<std::int32_t>(navigators_.size());
    while (passNext_ < passEnd_) {
        TSourceNavigator *n = navigators_[static_cast<std::size_t>(passNext_++)];
        if (n == selStart_ || n == selEnd_)
            continue;
        const std::int32_t pos = n->pos_;
        if (pos < s) {
            if (n->par_ && n->parNumber_ == r.startPar)
                n->parLine_ = -1;              // the paragraph's lines may have been rebuilt
            if (n->par_ && r.parChange != 0) { // records near the edit may have moved
                n->par_ = pars_.par(n->parNumber_);
                n->lines_.setParagraph(n->par_);
            }
            continue;
        }
        if (pos > e) {
            n->pos_ = pos + r.charChange;
            if (!n->par_)
                continue;
            const bool inEndParagraph = n->parNumber_ == ePar;
            n->parNumber_ += r.parChange;
            if (r.parChange != 0 || inEndParagraph) {
                n->par_ = pars_.par(n->parNumber_);
                n->lines_.setParagraph(n->par_);
            }
            if (inEndParagraph) {
                n->runIndex_ = -1;
                n->parLine_ = -1;
                n->parOffset_ = n->pos_ - pars_.startOf(n->parNumber_);
            }
            continue;
        }
        if (n->atParagraphStart) {
            if (n->deleteWithText && pos < e)
                delete n;
            else
                n->assign(*selEnd_);
        } else {
            if (n->deleteWithText && pos > s)
                delete n;
            else
                n->assign(*selStart_);
        }
    }
    passNext_ = -1;
    passEnd_ = -1;
}

void TSourceMemoCore::upkeepHighlighting(const ReplaceResult &r, std::int32_t changeStart)
{
    std::int32_t start = changeStart;
    std::int32_t end = selEnd_->Pos();
    bool parse = view_->repairHighlightStretch(start, end, r.runsCrossed);
    ParInfo *first = pars_.par(r.startPar);
    if (first->flags & pfViewMark) {
        first->flags &= ~pfViewMark;
        start = pars_.startOf(r.startPar);
        if (r.endPar == r.startPar)
            end = start + first->length();
        parse = true;
    }
    if (!parse)
        return;
    if (OnParse) {
        ++updateCount_;
        pars_.par(r.startPar)->flags &= ~pfLinesValid;
        try {
            OnParse(*this, start, end);
        } catch (...) {
            --updateCount_;
            throw;
        }
        --updateCount_;
    }
    if (updateCount_ < 1)
        view_->highlightStretch(start, end);
    else if (r.startPar < pars_.count())
        pars_.par(r.startPar)->flags &= ~(pfStartStopDone | pfKeywordsDone);
}

void TSourceMemoCore::cleanUpCodes(std::int32_t firstPar, std::int32_t lastPar)
{
    caret_->assign(*selEnd_);
    {
        FlagScope codes(keepCodes, true);
        FlagScope refresh(suppressRefresh, true);
        for (std::int32_t i = firstPar; i <= lastPar && i < pars_.count(); ++i) {
            std::size_t a, b;
            while (findRedundantCodePair(pars_.textOf(i), a, b)) {
                const std::int32_t start = pars_.startOf(i);
                for (const std::size_t at : {b, a}) {
                    setSelStart(start + static_cast<std::int32_t>(at));
                    setSelLength(1);
                    SetSelTextBuf(nullptr);
                }
            }
        }
    }
    selEnd_->assign(*caret_);
}

// ---- Undo and redo -------------------------------------------------------------------------

void TSourceMemoCore::undoStep(std::int32_t index)
{
    UndoRecord &rec = undo_.record(index);
    setSelStart(rec.start);
    setSelLength(rec.end - rec.start);
    const std::string restore = rec.removed;
    rec.start = selStart_->Pos();
    rec.end = rec.start + static_cast<std::int32_t>(restore.size());
    undo_.setRemoved(index, SelText());
    SetSelTextBuf(restore.c_str());
}

void TSourceMemoCore::Undo()
{
    FlagScope undoing(inUndo_, true);
    while (undo_.position() > 0) {
        const std::int32_t i = undo_.position() - 1;
        undo_.setPosition(i);
        undoStep(i);
        const UndoRecord &rec = undo_.record(i);
        if (rec.group == 0 || i == 0 || undo_.record(i - 1).group != rec.group ||
            undo_.record(i - 1).session != rec.session)
            break;
    }
    newUndoGroup_ = true;
}

void TSourceMemoCore::Redo()
{
    FlagScope undoing(inUndo_, true);
    while (undo_.position() < undo_.count()) {
        const std::int32_t i = undo_.position();
        undoStep(i);
        undo_.setPosition(i + 1);
        const UndoRecord &rec = undo_.record(i);
        if (rec.group == 0 || i + 1 >= undo_.count() || undo_.record(i + 1).group != rec.group ||
            undo_.record(i + 1).session != rec.session)
            break;
    }
    newUndoGroup_ = true;
}

bool TSourceMemoCore::CanUndo() const
{
    return undo_.position() >= (inUndo_ ? 2 : 1);
}

bool TSourceMemoCore::CanRedo() const
{
    return inUndo_ ? undo_.count() >= undo_.position() : undo_.position() < undo_.count();
}

} // namespace velmora::core
