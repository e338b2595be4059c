// The editor control's scroll bars and mouse wheel. The control answers the bars' line, page
// and thumb-track requests itself (by display lines vertically, by a twentieth of the window
// horizontally) and turns wheel turns into whole lines.
#include "editor/widget/SourceMemo.h"

#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <utility>

namespace velmora::widget
{

namespace
{

// One notch of a wheel.
constexpr std::int32_t kWheelNotch = 120;

} // namespace

void TSourceMemo::verticalScrollRequest(int action)
{
    if (updateCount() > 0 || !HandleAllocated())
        return;
    const core::TViewGeometry &g = layout_->geometry;
    const std::int64_t lh = layout_->lineHeight();
    const std::int32_t lines = paragraphs().marks().visibleLineCount();
    const std::int32_t shown = layout_->visibleLineCount();
    const std::int32_t top = layout_->topLine();
    std::int64_t v = g.vertOffset;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        // From between two lines to the upper one, else a line up.
        v = g.vertOffset % lh != 0 ? top * lh : std::max<std::int64_t>(g.vertOffset - lh, 0);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        if (top < lines - 1 && top < lines - shown + 2)
            v = (top + 1) * lh;
        break;
    case QAbstractSlider::SliderPageStepSub:
        layout_->layOutUpToLine(top);
        v = std::max(layout_->topLine() - shown + 2, 0) * lh;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        v = std::min(lh * (top + shown - 1), std::max<std::int64_t>(lines * lh - g.clientHeight + 3, 0));
        break;
    case QAbstractSlider::SliderMove:
        v = static_cast<std::int64_t>(verticalScrollBar()->sliderPosition()) * layout_->verticalRange().unit;
        if (Options()[core::smoNoFineScroll])
            v = (v + lh / 2) / lh * lh;
        break;
    default:
        return;
    }
    const bool repeated = std::exchange(layout_->repeatedScrolling, true);
    layout_->scrollTo(static_cast<std::int32_t>(v), g.horzOffset, ScrollTime());
    layout_->repeatedScrolling = repeated;
    viewport()->repaint();
}

void TSourceMemo::horizontalScrollRequest(int action)
{
    if (updateCount() > 0 || !HandleAllocated())
        return;
    const core::TViewGeometry &g = layout_->geometry;
    const std::int32_t width = g.clientWidth;
    const std::int32_t step = width / 20;
    // Scrolling right stops where the bar ends, not in the blank beyond the widest line.
    const std::int32_t end = std::max(horizontalScrollEnd(), g.horzOffset);
    std::int32_t h = g.horzOffset;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        h = std::max(g.horzOffset - step - 1, 0);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        h = std::min(g.horzOffset + step + 1, end);
        break;
    case QAbstractSlider::SliderPageStepSub:
        h = std::max(g.horzOffset + step - width, 0);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        h = std::min(g.horzOffset + width - step, end);
        break;
    case QAbstractSlider::SliderMove:
        h = horizontalScrollBar()->sliderPosition() * layout_->horizontalRange().unit;
        break;
    default:
        return;
    }
    layout_->scrollTo(g.vertOffset, h, 0);
    viewport()->repaint();
}

std::int32_t TSourceMemo::horizontalScrollEnd() const
{
    return horizontalScrollBar()->maximum() * layout_->horizontalRange().unit;
}

void TSourceMemo::wheelEvent(QWheelEvent *event)
{
    event->accept();
    if (mouseWheelFactor_ < 0)
        mouseWheelFactor_ = QApplication::wheelScrollLines();
    if (!HandleAllocated())
        return;
    mouse_.wheelRemainder += event->angleDelta().y() * mouseWheelFactor_;
    const std::int32_t linesUp = mouse_.wheelRemainder / kWheelNotch;
    mouse_.wheelRemainder -= linesUp * kWheelNotch;
    if (linesUp == 0)
        return;
    const std::int64_t lh = layout_->lineHeight();
    const std::int32_t lines = paragraphs().marks().visibleLineCount();
    const std::int32_t lastTop = std::max(lines - layout_->visibleLineCount() + 1, 0);
    const std::int64_t top = std::clamp<std::int64_t>(layout_->topLine() - linesUp, 0, lastTop);
    std::int64_t v = top * lh;
    if (!Options()[core::smoNoFineScroll])
        v = std::min(v, std::max<std::int64_t>(lines * lh - layout_->geometry.clientHeight + 3, 0));
    layout_->scrollTo(static_cast<std::int32_t>(v), layout_->geometry.horzOffset, 0);
}

} // namespace velmora::widget
