// The gutter's breakpoints and execution line. Each breakpoint is a navigator at its
// paragraph's start that the memo deletes with the text there; after every edit they are put
// back at their paragraphs' starts and those that met on one paragraph are merged.
#include "editor/widget/SourceGutter.h"

#include "editor/core/editing/SourceNavigator.h"
#include "editor/widget/SourceMemo.h"

#include <algorithm>

namespace velmora::widget
{

std::int32_t TSourceGutter::paragraphOfLine(std::int32_t line) const
{
    if (!memo_ || line < 0 || line >= memo_->paragraphs().marks().visibleLineCount())
        return -1;
    core::TSourceNavigator row(&memo_->core());
    row.setDisplayLine(line);
    return row.ParNumber();
}

void TSourceGutter::addBreakpoint(std::int32_t paragraph)
{
    auto *nav = new core::TSourceNavigator(&memo_->core());
    nav->atParagraphStart = true;
    nav->deleteWithText = true;
    nav->setParNumber(paragraph);
    // The memo deletes the navigator with the text at its paragraph's start, or with itself.
    nav->onDestroy = [this](core::TSourceNavigator &gone) { std::erase(breakpoints_, &gone); };
    breakpoints_.push_back(nav);
}

void TSourceGutter::freeBreakpoints()
{
    while (!breakpoints_.empty())
        delete breakpoints_.back();
}

bool TSourceGutter::ToggleBreakpoint(std::int32_t line)
{
    const std::int32_t paragraph = paragraphOfLine(line);
    if (paragraph < 0)
        return false;
    if (core::TSourceNavigator *own = breakpointAt(paragraph))
        delete own;
    else
        addBreakpoint(paragraph);
    update();
    reportBreakpoints();
    return true;
}

bool TSourceGutter::HasBreakpoint(std::int32_t line) const
{
    const std::int32_t paragraph = paragraphOfLine(line);
    return paragraph >= 0 && breakpointAt(paragraph);
}

core::TSourceNavigator *TSourceGutter::breakpointAt(std::int32_t paragraph) const
{
    const auto at = std::ranges::find_if(breakpoints_,
                                         [paragraph](core::TSourceNavigator *nav) { return nav->ParNumber() == paragraph; });
    return at != breakpoints_.end() ? *at : nullptr;
}

std::vector<std::int32_t> TSourceGutter::BreakpointLines() const
{
    std::vector<std::int32_t> paragraphs;
    paragraphs.reserve(breakpoints_.size());
    for (core::TSourceNavigator *nav : breakpoints_)
        paragraphs.push_back(nav->ParNumber());
    std::ranges::sort(paragraphs);
    return paragraphs;
}

void TSourceGutter::SetBreakpointLines(const std::vector<std::int32_t> &paragraphs)
{
    if (!memo_)
        return;
    freeBreakpoints();
    std::vector<std::int32_t> wanted = paragraphs;
    std::ranges::sort(wanted);
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    for (const std::int32_t paragraph : wanted)
        if (paragraph >= 0 && paragraph < memo_->ParagraphCount())
            addBreakpoint(paragraph);
    update();
    reportBreakpoints();
}

void TSourceGutter::ClearBreakpoints()
{
    freeBreakpoints();
    update();
    reportBreakpoints();
}

void TSourceGutter::settleBreakpoints()
{
    std::vector<core::TSourceNavigator *> navs = breakpoints_;
    for (core::TSourceNavigator *nav : navs)
        nav->setParOffset(0);
    std::ranges::sort(navs, {}, &core::TSourceNavigator::Pos);
    core::TSourceNavigator *kept = nullptr;
    for (core::TSourceNavigator *nav : navs) {
        if (kept && kept->Pos() == nav->Pos())
            delete nav;
        else
            kept = nav;
    }
}

void TSourceGutter::reportBreakpoints()
{
    std::vector<std::int32_t> now = BreakpointLines();
    if (now == reportedBreakpoints_)
        return;
    reportedBreakpoints_ = std::move(now);
    if (OnBreakpointsChanged)
        OnBreakpointsChanged(*this);
}

std::vector<std::int32_t> TSourceGutter::breakpointRows() const
{
    std::vector<std::int32_t> rows;
    rows.reserve(breakpoints_.size());
    for (core::TSourceNavigator *nav : breakpoints_)
        rows.push_back(nav->DisplayLine());
    std::ranges::sort(rows);
    return rows;
}

// ---- The execution line --------------------------------------------------------------------------

void TSourceGutter::SetExecutionLine(std::int32_t paragraph)
{
    paragraph = std::max(paragraph, -1);
    if (paragraph == executionLine_)
        return;
    executionLine_ = paragraph;
    if (memo_)
        memo_->setMarkedLine(paragraph, executionBand_);
    update();
}

void TSourceGutter::SetExecutionBand(std::int32_t colour)
{
    if (colour == executionBand_)
        return;
    executionBand_ = colour;
    if (memo_ && executionLine_ >= 0)
        memo_->setMarkedLine(executionLine_, executionBand_);
}

std::int32_t TSourceGutter::executionRow() const
{
    if (!memo_ || executionLine_ < 0 || executionLine_ >= memo_->ParagraphCount())
        return -1;
    core::TSourceNavigator row(&memo_->core());
    row.setParNumber(executionLine_);
    return row.DisplayLine();
}

} // namespace velmora::widget
