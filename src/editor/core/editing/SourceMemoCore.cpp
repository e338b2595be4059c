#include "editor/core/editing/SourceMemoCore.h"

#include "editor/core/text/ColumnArithmetic.h"
#include "editor/core/text/StyleBits.h"

#include <algorithm>

namespace velmora::core
{

TSourceMemoCore::TSourceMemoCore()
{
    ParInfo empty;
    pars_.add(&empty);
    pars_.marks().addLines(1, 1);
    selStart_ = new TSourceNavigator(this);
    selEnd_ = new TSourceNavigator(this);
    scratch_ = new TSourceNavigator(this);
    caret_ = new TSourceNavigator(this);
    origin_ = selStart_;
}

TSourceMemoCore::~TSourceMemoCore()
{
    while (!navigators_.empty())
        delete navigators_.back();
}

void TSourceMemoCore::attachNavigator(TSourceNavigator *navigator)
{
    navigators_.push_back(navigator);
}

void TSourceMemoCore::detachNavigator(TSourceNavigator *navigator)
{
    const auto it = std::find(navigators_.begin(), navigators_.end(), navigator);
    if (it == navigators_.end())
        return;
    const auto index = static_cast<std::int32_t>(it - navigators_.begin());
    navigators_.erase(it);
    // Keep a correction pass in progress on the navigators it has not visited yet.
    if (index < passNext_)
        --passNext_;
    if (index < passEnd_)
        --passEnd_;
}

void TSourceMemoCore::setUpperCaseType(TsmUpperCase type)
{
    upperCaseType_ = type;
    upperCache_.drop();
}

const char *TSourceMemoCore::upperCased(std::int32_t par, std::int32_t first, std::int32_t len)
{
    return upperCache_.fold(pars_, par, first, len, upperCaseType_);
}

// ---- Selection ----------------------------------------------------------------------------

void TSourceMemoCore::setSelStart(std::int32_t p)
{
    // An empty selection is no column block: a later replace must not delete old block columns.
    block_ = false;
    selLength_ = 0;
    overshoot_ = 0;
    view_->dropCaretX();
    selStart_->setPos(std::clamp(p, 0, pars_.marks().textLength()));
    selEnd_->assign(*selStart_);
    origin_ = selStart_;
    newUndoGroup_ = true;
    view_->placeCaret();
}

void TSourceMemoCore::setSelLength(std::int32_t n)
{
    block_ = false;
    if (n == selLength_)
        return;
    newUndoGroup_ = true;
    const std::int32_t oldFrom = selStart_->Pos();
    const std::int32_t oldTo = selEnd_->Pos();
    const std::int32_t c = selLength_ < 0 ? selEnd_->Pos() : selStart_->Pos();
    n = std::clamp(n, -c, pars_.marks().textLength() - c);
    if (n <= 0) {
        selStart_->setPos(c + n);
        selEnd_->setPos(c);
        origin_ = selEnd_;
    } else {
        selStart_->setPos(c);
        selEnd_->setPos(c + n);
        origin_ = selStart_;
    }
    selLength_ = n;
    view_->repaintBetween(std::min(oldFrom, selStart_->Pos()), std::max(oldTo, selEnd_->Pos()));
}

void TSourceMemoCore::placeOriginApart(std::int32_t p)
{
    if (!apart_)
        apart_ = new TSourceNavigator(this);
    apart_->setPos(p);
    origin_ = apart_;
    view_->placeCaret();
}

void TSourceMemoCore::setBlockColumns(std::int32_t left, std::int32_t right)
{
    block_ = true;
    blockLeft_ = left;
    blockRight_ = right;
}

std::string TSourceMemoCore::blockText()
{
    std::string text;
    if (!block_ || selLength_ == 0)
        return text;
    const std::int32_t left = std::min(blockLeft_, blockRight_);
    const std::int32_t right = std::max(blockLeft_, blockRight_);
    for (std::int32_t i = selStart_->ParNumber(); i <= selEnd_->ParNumber(); ++i) {
        const std::string_view par = pars_.textOf(i);
        const std::int32_t a = offsetAtColumn(par, left, tabStops_, pars_.StaticFormat);
        const std::int32_t b = offsetAtColumn(par, right, tabStops_, pars_.StaticFormat);
        text.append(par.substr(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a)));
        text += "\r\n";
    }
    return text;
}

std::string TSourceMemoCore::SelText()
{
    if (selLength_ == 0)
        return {};
    if (block_)
        return blockText();
    return textRange(selStart_->Pos(), selEnd_->Pos());
}

void TSourceMemoCore::setSelText(const char *text)
{
    if (options_[smoPutExtraSpaces] && overshoot_ > 0 && (!block_ || selLength_ == 0)) {
        std::string padded(static_cast<std::size_t>(overshoot_), ' ');
        padded += text ? text : "";
        SetSelTextBuf(padded.c_str());
        return;
    }
    SetSelTextBuf(text);
}

std::int32_t TSourceMemoCore::copySelection(char *buffer, std::int32_t size)
{
    if (size <= 0)
        return 0;
    const std::int32_t n = std::min(size - 1, std::abs(selLength_));
    scratch_->setPos(selStart_->Pos());
    scratch_->copyText(buffer, n);
    return n;
}

void TSourceMemoCore::SelectAll()
{
    setSelStart(pars_.marks().textLength());
    setSelLength(-pars_.marks().textLength());
}

void TSourceMemoCore::SetTextBuf(const char *text)
{
    SelectAll();
    SetSelTextBuf(text);
    setSelStart(0);
    if (updateCount_ == 0)
        view_->scrollToTop();
}

std::string TSourceMemoCore::textRange(std::int32_t a, std::int32_t b)
{
    a = std::max(a, 0);
    b = std::min(b, pars_.marks().textLength());
    if (b <= a)
        return {};
    std::string text(static_cast<std::size_t>(b - a) + 1, '\0');
    scratch_->setPos(a);
    scratch_->copyText(text.data(), b - a);
    text.pop_back();
    return text;
}

unsigned char TSourceMemoCore::characterAt(std::int32_t p)
{
    scratch_->setPos(p);
    return scratch_->character();
}

std::uint8_t TSourceMemoCore::styleAtOrigin()
{
    view_->layOutParagraph(origin_->ParNumber());
    const std::uint8_t inlineStyle = origin_->styleByte();
    const RunInfo &run = origin_->currentRun();
    return (run.style & kRunAttributes) ? run.style & kStyleBits : inlineStyle;
}

void TSourceMemoCore::setSelCol(std::int32_t k)
{
    selLength_ = 0;
    overshoot_ = 0;
    newUndoGroup_ = true;
    selStart_->setLineOffset(k);
    selEnd_->assign(*selStart_);
    origin_ = selStart_;
    if (options_[smoKeepColumnPos] && !wordWrap_) {
        const std::int32_t reached = selStart_->LineOffset();
        if (reached < k)
            overshoot_ = k - reached;
    }
    view_->placeCaret();
}

void TSourceMemoCore::selectParagraph(std::int32_t i)
{
    setSelStart(pars_.startOf(std::clamp(i, 0, pars_.count() - 1)));
}

void TSourceMemoCore::selectLine(std::int32_t i)
{
    view_->layOutUpToLine(i);
    scratch_->setLineNumber(i);
    setSelStart(scratch_->Pos());
}

// ---- Update blocks and notification --------------------------------------------------------

void TSourceMemoCore::BeginUpdate()
{
    if (updateCount_++ == 0)
        ++updateSession_;
}

void TSourceMemoCore::EndUpdate()
{
    if (updateCount_ == 0)
        return;
    if (--updateCount_ == 0)
        refreshView();
}

void TSourceMemoCore::refreshView()
{
    view_->relayoutChangedRange();
    pars_.marks().changesTaken(pars_.count());
    if (pars_.marks().takeEditMark()) {
        view_->notifyTextChanged();
        if (OnChange)
            OnChange(*this);
    }
    view_->placeCaret();
}

} // namespace velmora::core
