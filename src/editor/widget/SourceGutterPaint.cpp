#include "editor/widget/SourceGutter.h"

#include "editor/core/editing/SourceNavigator.h"
#include "editor/widget/BookmarkIcons.h"
#include "editor/widget/ColorSwatch.h"
#include "editor/widget/SourceMemo.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace velmora::widget
{

std::int32_t TSourceGutter::alignedX(std::int32_t w) const
{
    const std::int32_t area = width() - 2;
    switch (alignment_) {
    case core::taLeftJustify:
        return 0;
    case core::taRightJustify:
        return area - w;
    case core::taCenter:
        break;
    }
    return (area - w) / 2;
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

    // Rows follow the memo's lines on screen, wherever the two stand.
    const std::int32_t shift = mapToGlobal(QPoint(0, 0)).y() - memo_->viewport()->mapToGlobal(QPoint(0, 0)).y();
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
        if (OnDrawItem) {
            OnDrawItem(*this, line, text, graphic);
            painter.drawText(alignedX(fontMetrics().horizontalAdvance(text)), top + baseline, text);
            if (!graphic.isNull())
                painter.drawImage(0, top, graphic);
            continue;
        }
        const auto mark = std::find(paintedLines_.begin(), paintedLines_.end(), line);
        if (mark != paintedLines_.end()) {
            const int number = static_cast<int>(mark - paintedLines_.begin());
            painter.drawImage(alignment_ == core::taLeftJustify ? 2 : alignedX(TBookmarkIcons::kSize), top + iconTop,
                              icons_->icon(number));
            continue;
        }
        row.setDisplayLine(line);
        QString number;
        if (paragraphNumbers_) {
            if (row.ParLine() == 0)
                number = QString::number(row.ParNumber() + 1);
        } else if (lineNumbers_) {
            number = QString::number(row.LineNumber() + 1);
        }
        if (!number.isEmpty())
            painter.drawText(alignedX(static_cast<std::int32_t>(number.size()) * digitWidth), top + baseline, number);
    }
}

} // namespace velmora::widget
