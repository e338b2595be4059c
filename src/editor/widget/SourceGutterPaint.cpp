#include "editor/widget/SourceGutter.h"

#include "editor/core/editing/SourceNavigator.h"
#include "editor/widget/BookmarkIcons.h"
#include "editor/widget/ColorSwatch.h"
#include "editor/widget/SourceMemo.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <iterator>

namespace velmora::widget
{

std::int32_t TSourceGutter::markSize() const
{
    return std::max(5, memo_->layoutEngine().lineHeight() * 2 / 3);
}

std::int32_t TSourceGutter::markStripWidth() const
{
    if (!memo_ || (!breakpointsOn_ && breakpoints_.empty() && executionLine_ < 0))
        return 0;
    return markSize() + 2;
}

std::int32_t TSourceGutter::alignedX(std::int32_t w) const
{
    const std::int32_t left = markStripWidth();
    const std::int32_t area = width() - 2 - left;
    switch (alignment_) {
    case core::taLeftJustify:
        return left;
    case core::taRightJustify:
        return left + area - w;
    case core::taCenter:
        break;
    }
    return left + (area - w) / 2;
}

void TSourceGutter::paintMarks(QPainter &painter, std::int32_t top, bool breakpoint, bool execution) const
{
    const qreal size = markSize();
    const qreal middle = top + memo_->layoutEngine().lineHeight() / 2.0;
    const qreal left = 1;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (breakpoint) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colorFromValue(clBreakpoint));
        painter.drawEllipse(QRectF(left, middle - size / 2, size, size));
    }
    if (execution) {
        // An arrow pointing at the text: a shaft half as high as its head.
        const qreal neck = left + size / 2;
        const QPointF arrow[] = {
            {left, middle - size / 4}, {neck, middle - size / 4}, {neck, middle - size / 2}, {left + size, middle},
            {neck, middle + size / 2}, {neck, middle + size / 4}, {left, middle + size / 4},
        };
        painter.setPen(QPen(colorFromValue(clExecutionArrowEdge), 1));
        painter.setBrush(colorFromValue(clExecutionArrow));
        painter.drawPolygon(arrow, static_cast<int>(std::size(arrow)));
    }
    painter.restore();
}

void TSourceGutter::paintEvent(QPaintEvent *event)
{
    const QRect clip = event->rect();
    QPainter painter(this);
    painter.fillRect(clip, colorFromValue(color_));
    const int edge = width() - 2;
    if (edge < clip.right() + 1) {
        painter.setPen(colorFromValue(clBtnHighlight));
        painter.drawLine(edge, clip.top(), edge, clip.bottom());
        painter.setPen(colorFromValue(clBtnShadow));
        painter.drawLine(edge + 1, clip.top(), edge + 1, clip.bottom());
    }
    if (!memo_ || !memo_->HandleAllocated())
        return;

    const core::TLayoutEngine &layout = memo_->layoutEngine();
    const std::int32_t lineHeight = layout.lineHeight();
    const std::int32_t baseline = layout.baseline();
    vertOffset_ = vertOffset();
    wordWrap_ = memo_->WordWrap();
    clientLines_ = layout.visibleLineCount();
    paintedLines_ = bookmarkLines();
    paintedBreakpoints_ = breakpointRows();
    paintedExecution_ = executionRow();

    // Rows follow the memo's lines on screen, wherever the two stand.
    const std::int32_t shift = rowShift();
    const std::int32_t first = std::max(0, (shift + clip.top() + vertOffset_) / lineHeight);
    const std::int32_t count = lineCount();

    const bool texts = lineNumbers_ || paragraphNumbers_ || OnDrawItem;
    if (texts) {
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::WindowText));
    }
    const std::int32_t digitWidth = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    std::int32_t iconTop = (lineHeight - TBookmarkIcons::kSize) / 2;
    if (iconTop + TBookmarkIcons::kSize < baseline)
        iconTop = baseline - TBookmarkIcons::kSize;

    core::TSourceNavigator row(&memo_->core());
    QString text;
    QImage graphic;
    for (std::int32_t line = first; line < count; ++line) {
        const std::int32_t top = line * lineHeight - vertOffset_ - shift;
        if (top > clip.bottom())
            break;
        const auto mark = std::find(paintedLines_.begin(), paintedLines_.end(), line);
        if (OnDrawItem) {
            OnDrawItem(*this, line, text, graphic);
            painter.drawText(alignedX(fontMetrics().horizontalAdvance(text)), top + baseline, text);
            if (!graphic.isNull())
                painter.drawImage(0, top, graphic);
        } else if (mark != paintedLines_.end()) {
            const int number = static_cast<int>(mark - paintedLines_.begin());
            const std::int32_t x =
                alignment_ == core::taLeftJustify ? alignedX(0) + 2 : alignedX(TBookmarkIcons::kSize);
            painter.drawImage(x, top + iconTop, icons_->icon(number));
        } else {
            row.setDisplayLine(line);
            QString number;
            if (paragraphNumbers_) {
                if (row.ParLine() == 0)
                    number = QString::number(row.ParNumber() + 1);
            } else if (lineNumbers_) {
                number = QString::number(row.LineNumber() + 1);
            }
            if (!number.isEmpty())
                painter.drawText(alignedX(static_cast<std::int32_t>(number.size()) * digitWidth), top + baseline,
                                 number);
        }
        const bool breakpoint = std::binary_search(paintedBreakpoints_.begin(), paintedBreakpoints_.end(), line);
        if (breakpoint || line == paintedExecution_)
            paintMarks(painter, top, breakpoint, line == paintedExecution_);
    }
}

} // namespace velmora::widget
