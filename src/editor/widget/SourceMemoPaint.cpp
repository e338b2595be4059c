// Painting of the editor control: every visible display line is drawn by the line renderer
// into the one-line off-screen bitmap and copied to the window; the marks, the right margin
// line and the caret follow. The marked line's band is the line renderer's background.
#include "editor/widget/SourceMemo.h"

#include "editor/core/layout/LineGeometry.h"
#include "editor/widget/PaintTools.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace velmora::widget
{

void TSourceMemo::paintEvent(QPaintEvent *event)
{
    HandleNeeded();
    // Painting waits while an edit is in progress; its re-layout repaints what changed.
    if (updateCount() > 0)
        return;
    QPainter painter(viewport());
    paintDocument(painter, event->rect());
}

TLineLook TSourceMemo::lineLook()
{
    TLineLook look;
    look.color = color_;
    look.background = &backgroundBmp_;
    look.horzOffset = shownHorzOffset();
    look.selectionVisible = selectionShown() || (blockSelection() && (!hideSelection_ || hasFocus()));
    look.fontColor = fontColor_;
    look.selBackColor = selBackColor_;
    look.selTextColor = selTextColor_;
    look.highlightColor = engine_->HighlightColor;
    look.highlightBackgnd = engine_->HighlightBackgnd;
    look.specUnderline = specUnderline_;
    look.nonPrintChars = nonPrintChars_;
    look.showEndParSelected = showEndParSelected_;
    look.markedPar = markedLine_;
    look.markedColour = markedColour_;
    return look;
}

void TSourceMemo::setMarkedLine(std::int32_t paragraph, std::int32_t colour)
{
    paragraph = std::max(paragraph, -1);
    if (paragraph == markedLine_ && (paragraph < 0 || colour == markedColour_))
        return;
    markedLine_ = paragraph;
    markedColour_ = colour;
    repaintAll();
}

void TSourceMemo::drawLine(QPainter &painter, std::int32_t line, const TLineLook &look)
{
    const TDrawnLine drawn = lineRenderer_.draw(painter, line, lineBitmap_.width(), look);
    // (j) The collapse handler's part.
    if (collapseHandler_)
        collapseHandler_->paintLine(*this, painter, drawn.line, drawn.par, layout_->lineHeight(), look.horzOffset);
}

void TSourceMemo::paintDocument(QPainter &painter, const QRect &area)
{
    core::TLayoutEngine &layout = *layout_;
    const std::int32_t lh = layout.lineHeight();
    const std::int32_t vo = shownVertOffset();
    const std::int32_t top = area.top();
    const std::int32_t bottom = area.top() + area.height();
    const std::int32_t first = std::max(0, (vo + top) / lh);
    const std::int32_t last = std::max(0, (bottom + vo - 1) / lh);
    layout.layOutUpToLine(last);
    const TLineLook look = lineLook();

    const std::int32_t lines = paragraphs().marks().visibleLineCount();
    if (vo < 0 && first == 0 && top < std::min(-vo, bottom))
        lineRenderer_.fillBackground(painter, QRect(area.left(), top, area.width(), std::min(-vo, bottom) - top),
                                     vo + top, look);

    const QSize bitmapSize(std::max(1, viewport()->width()), lh);
    if (lineBitmap_.size() != bitmapSize)
        lineBitmap_ = QImage(bitmapSize, QImage::Format_RGB32);
    for (std::int32_t line = first; line <= last && line < lines; ++line) {
        QPainter linePainter(&lineBitmap_);
        drawLine(linePainter, line, look);
        linePainter.end();
        painter.drawImage(0, line * lh - vo, lineBitmap_);
    }

    const std::int32_t restTop = std::max(top, lines * lh - vo);
    if (restTop < bottom)
        lineRenderer_.fillBackground(painter, QRect(area.left(), restTop, area.width(), bottom - restTop), vo + restTop,
                                     look);

    if (endOfTextMark_.Color != -1 && lines >= first && lines <= last) {
        const std::int32_t y = endOfTextMark_.Width / 2 + lines * lh - vo;
        painter.setPen(penOf(endOfTextMark_));
        painter.drawLine(area.left(), y, area.right(), y);
    }

    if (rightLinePos_ != 0) {
        const std::int32_t x = rightLinePos_ > 0 ? core::columnX(layout, rightLinePos_, look.horzOffset)
                                                 : core::columnX(layout, 0, look.horzOffset) - rightLinePos_;
        const std::int32_t w = std::max(1, rightLinePen_.Width);
        if (x + w > area.left() && x - w < area.right() + 1) {
            painter.setPen(penOf(rightLinePen_));
            painter.drawLine(x, top, x, bottom - 1);
        }
    }

    if (caretShown_ && !caretRect_.isEmpty() && caretRect_.intersects(area))
        invert(painter, caretRect_);
}

void TSourceMemo::paintLines(QPainter &canvas, std::int32_t first, std::int32_t last, QPointF origin, qreal scale)
{
    HandleNeeded();
    if (updateCount() > 0 || first > last)
        return;
    const std::int32_t lh = layout_->lineHeight();
    layout_->layOutUpToLine(last);
    const QSize bitmapSize(std::max(1, viewport()->width()), lh);
    if (lineBitmap_.size() != bitmapSize)
        lineBitmap_ = QImage(bitmapSize, QImage::Format_RGB32);
    const std::int32_t lines = paragraphs().marks().visibleLineCount();
    const TLineLook look = lineLook();
    for (std::int32_t line = std::max(0, first); line <= last && line < lines; ++line) {
        QPainter linePainter(&lineBitmap_);
        drawLine(linePainter, line, look);
        linePainter.end();
        const QRectF target(origin.x(), origin.y() + (line - first) * lh * scale, bitmapSize.width() * scale,
                            lh * scale);
        canvas.drawImage(target, lineBitmap_);
    }
}

} // namespace velmora::widget
