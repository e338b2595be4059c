// Animated scrolling without blocking: the layout's offsets move at once, and the view is
// painted at offsets that follow them step by step from a timer, by the layout's scrolling law.
#include "editor/widget/SourceMemo.h"

namespace velmora::widget
{

bool TSourceMemo::animateScroll(std::int64_t dv, std::int64_t dh, std::int32_t time)
{
    finishScrollAnimation();
    scrollAnimation_ = {};
    scrollAnimation_.distanceV = dv;
    scrollAnimation_.distanceH = dh;
    scrollAnimation_.time = time;
    scrollAnimation_.clock.start();
    scrollAnimationTimer_.start(1);
    return true;
}

void TSourceMemo::stepScrollAnimation()
{
    ScrollAnimation &a = scrollAnimation_;
    const std::int64_t elapsed = a.clock.elapsed();
    a.movedV += core::scrollAnimationStep(a.distanceV, a.movedV, elapsed, a.time);
    a.movedH += core::scrollAnimationStep(a.distanceH, a.movedH, elapsed, a.time);
    if (a.movedV == a.distanceV && a.movedH == a.distanceH)
        scrollAnimationTimer_.stop();
    viewport()->update();
    placeCaret();
}

void TSourceMemo::finishScrollAnimation()
{
    if (!scrollAnimationTimer_.isActive())
        return;
    scrollAnimationTimer_.stop();
    scrollAnimation_.movedV = scrollAnimation_.distanceV;
    scrollAnimation_.movedH = scrollAnimation_.distanceH;
    viewport()->update();
    placeCaret();
}

std::int32_t TSourceMemo::shownVertOffset() const
{
    const ScrollAnimation &a = scrollAnimation_;
    return static_cast<std::int32_t>(layout_->geometry.vertOffset - (a.distanceV - a.movedV));
}

std::int32_t TSourceMemo::shownHorzOffset() const
{
    const ScrollAnimation &a = scrollAnimation_;
    return static_cast<std::int32_t>(layout_->geometry.horzOffset - (a.distanceH - a.movedH));
}

} // namespace velmora::widget
