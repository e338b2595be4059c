// The view's side of the layout: top line, scroll ranges, scrolling, caret into view and
// window resizing.
#include "editor/core/layout/LayoutEngine.h"
#include "editor/core/layout/NavigatorPixels.h"

#include <algorithm>
#include <cstdlib>

namespace velmora::core
{

namespace
{

constexpr std::int32_t kScrollLimit = 32760;

bool fitsScrollDelta(std::int64_t d)
{
    return d >= -32768 && d <= 32767;
}

} // namespace

std::int32_t TLayoutEngine::topLine() const
{
    return std::max(geometry.vertOffset, 0) / lineHeight_;
}

bool TLayoutEngine::updateVerticalRange()
{
    const std::int64_t docHeight = static_cast<std::int64_t>(paragraphs().marks().visibleLineCount()) * lineHeight_;
    TScrollRange r;
    r.unit = static_cast<std::int32_t>(docHeight / kScrollLimit + 1);
    r.max =
        static_cast<std::int32_t>(std::max<std::int64_t>(docHeight / r.unit, geometry.clientHeight - lineHeight_ - 1));
    r.page = (geometry.clientHeight - 3) / r.unit;
    if (!memo_.Options()[smoAutoScrollBars] && r.max < geometry.clientHeight)
        ++r.max;
    if (r == vRange_)
        return false;
    vRange_ = r;
    if (handle_) {
        settingRange_ = true;
        window_->setScrollRange(true, r);
        settingRange_ = false;
    }
    return true;
}

void TLayoutEngine::updateHorizontalRange()
{
    const std::int64_t total = static_cast<std::int64_t>(widestLine()) + leftMargin_ + rightMargin_;
    const std::int32_t width = textAreaWidth();
    TScrollRange r;
    r.unit = static_cast<std::int32_t>(total / kScrollLimit + 1);
    r.page = (width - leftMargin_ - rightMargin_) / r.unit;
    r.max = static_cast<std::int32_t>(std::max<std::int64_t>(0, (total - width) / r.unit)) + r.page - 1;
    if (WordWrap() && columnWrap_ == 0)
        r.max = r.page - 1;
    if (!memo_.Options()[smoAutoScrollBars])
        ++r.max;
    if (Alignment() == taRightJustify || Alignment() == taCenter)
        r.max = r.page;
    if (r != hRange_) {
        hRange_ = r;
        if (handle_) {
            settingRange_ = true;
            window_->setScrollRange(false, r);
            settingRange_ = false;
        }
    }
    if (r.max < r.page && geometry.horzOffset != 0)
        scrollTo(geometry.vertOffset, 0, 0);
}

void TLayoutEngine::updateScrollPositions()
{
    if (!handle_)
        return;
    window_->setScrollPosition(true, geometry.vertOffset / vRange_.unit);
    window_->setScrollPosition(false, geometry.horzOffset / hRange_.unit);
}

std::int64_t scrollAnimationStep(std::int64_t distance, std::int64_t moved, std::int64_t elapsed, std::int32_t time)
{
    if (moved == distance)
        return 0;
    const std::int64_t span = std::abs(static_cast<std::int64_t>(time));
    std::int64_t target;
    if (time < 0)
        target = distance * std::min(elapsed, span) / span - moved;
    else
        target = elapsed * (distance - moved) / (2 * span);
    if (target == 0)
        target = distance > moved ? 1 : -1;
    return distance > moved ? std::min(target, distance - moved) : std::max(target, distance - moved);
}

void TLayoutEngine::scrollTo(std::int32_t vertOffset, std::int32_t horzOffset, std::int32_t time)
{
    const std::int64_t dv = static_cast<std::int64_t>(vertOffset) - geometry.vertOffset;
    const std::int64_t dh = static_cast<std::int64_t>(horzOffset) - geometry.horzOffset;
    if (dv == 0 && dh == 0)
        return;
    const std::int32_t fromV = geometry.vertOffset;
    const std::int32_t fromH = geometry.horzOffset;
    geometry.caretX -= static_cast<std::int32_t>(dh);
    geometry.caretY -= static_cast<std::int32_t>(dv);
    top_->setDisplayLine(std::max(vertOffset, 0) / lineHeight_);

    const std::uint32_t started = schedule_.now();
    const bool atOnce = time == 0 || (repeatedScrolling && static_cast<std::int32_t>(started - lastScrollEnd_) < 201);
    bool animated = false; // by the window, after this returns
    if (atOnce || !handle_) {
        geometry.vertOffset = vertOffset;
        geometry.horzOffset = horzOffset;
        updateScrollPositions();
        if (fitsScrollDelta(dv) && fitsScrollDelta(dh))
            window_->scrollContents(static_cast<std::int32_t>(-dh), static_cast<std::int32_t>(-dv), 0);
        else
            window_->repaintAll();
    } else if (window_->animateScroll(dv, dh, time)) {
        geometry.vertOffset = vertOffset;
        geometry.horzOffset = horzOffset;
        updateScrollPositions();
        animated = true;
    } else {
        // The offsets follow the steps so that what is painted meanwhile is where it belongs.
        std::int64_t movedV = 0, movedH = 0;
        std::uint32_t tick = started;
        while (movedV != dv || movedH != dh) {
            std::uint32_t t;
            while ((t = schedule_.now()) == tick) {
            }
            tick = t;
            const std::int64_t elapsed = static_cast<std::int32_t>(tick - started);
            const std::int64_t sv = scrollAnimationStep(dv, movedV, elapsed, time);
            const std::int64_t sh = scrollAnimationStep(dh, movedH, elapsed, time);
            movedV += sv;
            movedH += sh;
            geometry.vertOffset = static_cast<std::int32_t>(fromV + movedV);
            geometry.horzOffset = static_cast<std::int32_t>(fromH + movedH);
            if (fitsScrollDelta(sv) && fitsScrollDelta(sh))
                window_->scrollContents(static_cast<std::int32_t>(-sh), static_cast<std::int32_t>(-sv), 0);
            else
                window_->repaintAll();
        }
        updateScrollPositions();
    }
    lastScrollEnd_ = animated ? started + static_cast<std::uint32_t>(std::abs(time)) : schedule_.now();
    window_->placeCaret();
    window_->scrolled(dv != 0, dh != 0);
}

void TLayoutEngine::scrollCaretIntoView(TSourceNavigator &caret)
{
    layOutParagraph(caret.ParNumber());
    const std::int32_t width = textAreaWidth();
    const std::int32_t bw = std::max(blankWidth(), 1);
    std::int32_t h = geometry.horzOffset;
    if ((WordWrap() && columnWrap_ <= 0) || (Alignment() != taLeftJustify && h == 0)) {
        h = 0;
    } else {
        const std::int32_t x = navigatorX(caret, *this);
        if (x >= width)
            h += bw * ((x - width) / (bw * 5) + 1) * 5;
        else if (x < 0)
            h = std::max(h + bw * (x / (bw * 5) - 1) * 5, 0);
    }

    const std::int32_t line = caret.DisplayLine();
    const std::int64_t top = static_cast<std::int64_t>(line) * lineHeight_;
    std::int64_t v = geometry.vertOffset;
    if (top < v) {
        v = top;
    } else if (top - v > geometry.clientHeight - lineHeight_ - 3) {
        if (memo_.Options()[smoNoFineScroll]) {
            v = static_cast<std::int64_t>(std::max(line - clientLines_ + 2, 0)) * lineHeight_;
        } else {
            v = top + lineHeight_ - geometry.clientHeight + 1;
            if (line >= paragraphs().marks().visibleLineCount() - 1)
                v += 2;
        }
        v = std::min(v, top);
    }
    scrollTo(static_cast<std::int32_t>(v), h, ScrollTime);
}

void TLayoutEngine::resize(std::int32_t clientWidth, std::int32_t clientHeight)
{
    if (!handle_ || settingRange_) {
        geometry.clientWidth = clientWidth;
        geometry.clientHeight = clientHeight;
        return;
    }
    const std::int64_t docHeight = static_cast<std::int64_t>(paragraphs().marks().visibleLineCount()) * lineHeight_;
    const bool notPastEnd = geometry.vertOffset < docHeight - geometry.clientHeight + 5;
    const std::int32_t oldWidth = geometry.clientWidth;
    geometry.clientWidth = clientWidth;
    geometry.clientHeight = clientHeight;
    clientLines_ = clientHeight / lineHeight_ + 1;
    updateHorizontalRange();
    updateVerticalRange();
    updateScrollPositions();
    if (clientWidth != oldWidth) {
        if (WordWrap() || Alignment() != taLeftJustify)
            relayoutAll();
        else
            updateHorizontalRange();
    }
    const std::int64_t endOffset =
        static_cast<std::int64_t>(paragraphs().marks().visibleLineCount()) * lineHeight_ - clientHeight + 3;
    if (notPastEnd && geometry.vertOffset > endOffset)
        scrollTo(static_cast<std::int32_t>(std::max<std::int64_t>(0, endOffset)), geometry.horzOffset, 0);
}

} // namespace velmora::core
