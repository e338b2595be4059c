// Painting of the editor control: every visible display line is drawn into the one-line
// off-screen bitmap and copied to the window; the marks, the right margin line and the caret
// follow.
#include "editor/widget/SourceMemo.h"

#include "editor/core/highlight/HighlightRuns.h"
#include "editor/core/keyfiles/KeyInfo.h"
#include "editor/core/layout/LineWalk.h"
#include "editor/core/editing/SourceNavigator.h"
#include "editor/widget/ColorSwatch.h"

#include <QGlyphRun>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <vector>

namespace velmora::widget
{

namespace
{

constexpr unsigned char kBlankMark = 0xB7;
constexpr unsigned char kTabMark = 0xBB;
constexpr unsigned char kParagraphMark = 0xB6;
// Text further left than this is only measured.
constexpr std::int32_t kFarLeft = -16383;

bool hasColour(std::int32_t colour)
{
    return colour != -1 && colour != core::clNone;
}

std::int32_t positiveMod(std::int32_t a, std::int32_t b)
{
    const std::int32_t m = a % b;
    return m < 0 ? m + b : m;
}

QPen penOf(const TsmPen &pen)
{
    return QPen(colorFromValue(pen.Color), std::max(0, pen.Width), pen.Style);
}

// Flips every colour bit of a rectangle, as the inverted selection and the caret show.
void invert(QPainter &painter, const QRect &rect)
{
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(rect, Qt::white);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// Characters of one font and colour, each drawn at its own measured x, so that drawing
// agrees with measuring whatever the font's fractional advances.
class GlyphBatch
{
public:
    bool fits(std::uint8_t style, const QColor &colour) const
    {
        return text_.isEmpty() || (style == style_ && colour == colour_);
    }
    void add(std::uint8_t style, const QColor &colour, QChar c, QPointF at)
    {
        style_ = style;
        colour_ = colour;
        text_ += c;
        positions_.push_back(at);
    }
    void flush(QPainter &p, QtTextMeasurer &measurer)
    {
        if (text_.isEmpty())
            return;
        p.setPen(colour_);
        const QRawFont &raw = measurer.rawFontFor(style_);
        const QList<quint32> glyphs = raw.isValid() ? raw.glyphIndexesForString(text_) : QList<quint32>();
        if (glyphs.size() == text_.size() && !glyphs.contains(0)) {
            QGlyphRun run;
            run.setRawFont(raw);
            run.setGlyphIndexes(glyphs);
            run.setPositions(positions_);
            run.setUnderline(style_ & 0x04);
            run.setStrikeOut(style_ & 0x08);
            p.drawGlyphRun(QPointF(0, 0), run);
        } else {
            // A character the font lacks: let the toolkit find a font that has it.
            p.setFont(measurer.fontFor(style_));
            for (qsizetype i = 0; i < text_.size(); ++i)
                p.drawText(positions_[i], QString(text_[i]));
        }
        text_.clear();
        positions_.clear();
    }

private:
    std::uint8_t style_ = 0;
    QColor colour_;
    QString text_;
    QList<QPointF> positions_;
};

} // namespace

void TSourceMemo::paintEvent(QPaintEvent *event)
{
    HandleNeeded();
    // Painting waits while an edit is in progress; its re-layout repaints what changed.
    if (updateCount() > 0)
        return;
    QPainter painter(viewport());
    paintDocument(painter, event->rect());
}

void TSourceMemo::fillBackground(QPainter &painter, const QRect &target, std::int32_t documentY)
{
    if (backgroundBmp_.width() >= 1 && backgroundBmp_.height() >= 1) {
        const QPoint source(positiveMod(shownHorzOffset() + target.left(), backgroundBmp_.width()),
                            positiveMod(documentY, backgroundBmp_.height()));
        painter.drawTiledPixmap(target, backgroundBmp_, source);
    } else {
        painter.fillRect(target, colorFromValue(color_));
    }
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

    const std::int32_t lines = paragraphs().marks().visibleLineCount();
    if (vo < 0 && first == 0 && top < std::min(-vo, bottom))
        fillBackground(painter, QRect(area.left(), top, area.width(), std::min(-vo, bottom) - top), vo + top);

    const QSize bitmapSize(std::max(1, viewport()->width()), lh);
    if (lineBitmap_.size() != bitmapSize)
        lineBitmap_ = QImage(bitmapSize, QImage::Format_RGB32);
    for (std::int32_t line = first; line <= last && line < lines; ++line) {
        QPainter linePainter(&lineBitmap_);
        drawLine(linePainter, line);
        linePainter.end();
        painter.drawImage(0, line * lh - vo, lineBitmap_);
    }

    const std::int32_t restTop = std::max(top, lines * lh - vo);
    if (restTop < bottom)
        fillBackground(painter, QRect(area.left(), restTop, area.width(), bottom - restTop), vo + restTop);

    if (endOfTextMark_.Color != -1 && lines >= first && lines <= last) {
        const std::int32_t y = endOfTextMark_.Width / 2 + lines * lh - vo;
        painter.setPen(penOf(endOfTextMark_));
        painter.drawLine(area.left(), y, area.right(), y);
    }

    if (rightLinePos_ != 0) {
        const std::int32_t x = layout.LeftMargin() - shownHorzOffset() +
                               (rightLinePos_ > 0 ? rightLinePos_ * layout.blankWidth() : -rightLinePos_);
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
    for (std::int32_t line = std::max(0, first); line <= last && line < lines; ++line) {
        QPainter linePainter(&lineBitmap_);
        drawLine(linePainter, line);
        linePainter.end();
        const QRectF target(origin.x(), origin.y() + (line - first) * lh * scale, bitmapSize.width() * scale,
                            lh * scale);
        canvas.drawImage(target, lineBitmap_);
    }
}

void TSourceMemo::drawLine(QPainter &p, std::int32_t line)
{
    core::TLayoutEngine &layout = *layout_;
    core::TParagraphsList &pars = paragraphs();
    paintNav_->setDisplayLine(line);
    const std::int32_t parNo = paintNav_->ParNumber();
    core::ParInfo &par = *paintNav_->paragraph();
    const core::LineInfo info = par.lineInfo(paintNav_->ParLine());
    const std::int32_t len = par.length();
    const std::int32_t end = std::min(info.nextLineStart, len);
    const bool lastLine = info.nextLineStart >= len;
    const std::int32_t lh = layout.lineHeight();
    const std::int32_t width = lineBitmap_.width();
    const std::int32_t ho = shownHorzOffset();
    const std::int32_t blank = layout.blankWidth();
    const bool winSel = Options()[core::smoWindowsSelColors];

    // (a) Background.
    if (hasColour(par.backgroundColour()))
        p.fillRect(0, 0, width, lh, colorFromValue(par.backgroundColour()));
    else
        fillBackground(p, QRect(0, 0, width, lh), line * lh);

    // (b, c) Left x, justification and the characters' cells: only those in the window are
    // measured, from a remembered state of the walk near its left edge, and a little beyond the
    // right edge, as far as a special underline running off the line can show.
    core::TLineWalk walk(layout, par, info);
    const std::int32_t left = walk.left();
    const std::int32_t penWidth = std::max(1, specUnderline_.Width);
    const std::int32_t beyond = width + layout.specialUnderlineAmplitude(penWidth) + penWidth;
    const std::vector<core::TLineCell> cells = paintCheckpoints_.cellsBetween(walk, 0, beyond);
    // Past the cells measured, the line's text lies beyond the right edge.
    const std::int32_t textEnd = left + walk.state().x;
    const auto xOf = [&](std::int32_t offset) {
        if (cells.empty())
            return textEnd;
        const std::int32_t i = offset - cells.front().offset;
        if (i < 0)
            return left + cells.front().x; // left of the window
        return i < static_cast<std::int32_t>(cells.size()) ? left + cells[static_cast<std::size_t>(i)].x : textEnd;
    };
    const bool pilcrow = lastLine && nonPrintChars_[smNPReturn];
    const std::int32_t pilcrowWidth = pilcrow ? measurer_.advance(kParagraphMark, layout.fontStyle()) : 0;

    // (d) Selection extent.
    bool selected = false;
    bool parEndSelected = false;
    std::int32_t selLeft = 0;
    std::int32_t selRight = 0;
    std::int32_t s = 0;
    std::int32_t e = 0;
    const std::int32_t parStart = pars.startOf(parNo);
    if (selectionShown() || (blockSelection() && (!hideSelection_ || hasFocus()))) {
        if (blockSelection()) {
            const auto [a, b] = blockColumns();
            selected = parNo >= selectionStart().ParNumber() && parNo <= selectionEnd().ParNumber();
            selLeft = blank * std::min(a, b) + layout.LeftMargin() - ho;
            selRight = blank * std::max(a, b) + layout.LeftMargin() - ho;
        } else {
            s = selectionStart().Pos();
            e = selectionEnd().Pos();
            const std::int32_t lineFrom = parStart + info.lineStart;
            const std::int32_t parEnd = parStart + len;
            const std::int32_t lineLimit = lastLine ? parEnd : parStart + info.nextLineStart;
            selected = s <= lineLimit && e > lineFrom && !(s == lineLimit && !lastLine);
            selected = selected && (s < lineLimit || e > parEnd);
            if (selected) {
                parEndSelected = lastLine && s <= parEnd && e > parEnd;
                selLeft = s > lineFrom ? xOf(s - parStart) : left;
                if (lastLine ? e <= parEnd : e < lineLimit)
                    selRight = xOf(e - parStart);
                else if (Options()[core::smoFullLineSelect])
                    selRight = width;
                else
                    selRight = lastLine ? textEnd : left + info.width;
                if (pilcrow && parEndSelected)
                    selRight = std::max(selRight, textEnd + pilcrowWidth);
            }
        }
    }
    if (selected && winSel && selRight > selLeft)
        p.fillRect(selLeft, 0, selRight - selLeft, lh, colorFromValue(selBackColor_));

    // (e) Text runs. Trailing blanks of a wrapped line are not drawn.
    std::int32_t drawEnd = end;
    if (!lastLine && !nonPrintChars_[smNPSpace])
        while (drawEnd > info.lineStart && par.text[drawEnd - 1] == ' ')
            --drawEnd;
    const std::int32_t baseline = layout.baseline();
    GlyphBatch batch;
    std::int32_t specialFrom = INT_MIN;
    const auto closeSpecial = [&](std::int32_t to) {
        if (specialFrom == INT_MIN)
            return;
        const std::int32_t y = layout.specialUnderlineY(penWidth);
        const std::int32_t amplitude = layout.specialUnderlineAmplitude(penWidth);
        QPolygon zigzag;
        bool down = false;
        for (std::int32_t zx = std::max(specialFrom, -32768); zx <= std::min(to, 32767); zx += amplitude) {
            zigzag << QPoint(zx, down ? y + amplitude : y);
            down = !down;
        }
        p.setPen(penOf(specUnderline_));
        p.drawPolyline(zigzag);
        specialFrom = INT_MIN;
    };
    const QColor parText = hasColour(par.textColour()) ? colorFromValue(par.textColour()) : QColor();
    for (const core::TLineCell &cell : cells) {
        const std::int32_t k = cell.offset;
        const std::int32_t cx = left + cell.x;
        if (cx >= width)
            break;
        const auto c = static_cast<unsigned char>(par.text[k]);
        if (cell.code)
            continue;
        if (cell.special && specialFrom == INT_MIN)
            specialFrom = left + cell.specialFrom;
        else if (!cell.special)
            closeSpecial(cx);
        if (cx + cell.width < 0 || cx < kFarLeft)
            continue;

        QColor text = parText.isValid() ? parText : colorFromValue(fontColor_);
        QColor back;
        if (cell.style & 0x10) {
            text = colorFromValue(engine_->HighlightColor);
            back = colorFromValue(engine_->HighlightBackgnd);
        } else if (cell.run->style & core::kRunAttributes) {
            if (hasColour(cell.run->foreground) && !parText.isValid())
                text = colorFromValue(cell.run->foreground);
            if (hasColour(cell.run->background) && !hasColour(par.backgroundColour()))
                back = colorFromValue(cell.run->background);
        }
        const bool inSelection =
            selected && winSel &&
            (blockSelection() ? cx >= selLeft && cx < selRight : parStart + k >= s && parStart + k < e);
        if (inSelection) {
            text = colorFromValue(selTextColor_);
            back = QColor();
        }
        if (back.isValid() && k < drawEnd) {
            batch.flush(p, measurer_);
            p.fillRect(cx, 0, cell.width, lh, back);
        }

        unsigned char shown = c;
        if (c == '\t')
            shown = nonPrintChars_[smNPTab] ? kTabMark : 0;
        else if (c == ' ')
            shown = nonPrintChars_[smNPSpace] ? kBlankMark : 0;
        if (shown) {
            const std::uint8_t measured = cell.style & core::kMeasuredStyleBits;
            if (!batch.fits(measured, text))
                batch.flush(p, measurer_);
            batch.add(measured, text, measurer_.character(shown), QPointF(cx, baseline));
        }
    }
    batch.flush(p, measurer_);
    // (f) A special underline still open ends at the line end.
    closeSpecial(textEnd);

    // (g) The paragraph mark.
    if (pilcrow && textEnd < width) {
        p.setFont(measurer_.fontFor(layout.fontStyle()));
        const bool markSelected = parEndSelected && winSel;
        p.setPen(markSelected ? colorFromValue(selTextColor_)
                              : (parText.isValid() ? parText : colorFromValue(fontColor_)));
        p.drawText(QPoint(textEnd, baseline), QString(measurer_.character(kParagraphMark)));
    }

    // (h) The inverted selection.
    if (selected && !winSel && selRight > selLeft)
        invert(p, QRect(selLeft, 0, selRight - selLeft, lh));

    // (i) The end-of-paragraph block.
    if (parEndSelected && showEndParSelected_ && !Options()[core::smoFullLineSelect] && !blockSelection() &&
        !nonPrintChars_[smNPReturn]) {
        const QRect block(selRight, lh / 3, blank / 2 + 1, 2 * (lh / 3) - lh / 3);
        if (winSel)
            p.fillRect(block, colorFromValue(selBackColor_));
        else
            invert(p, block);
    }

    // (j) The collapse handler's part.
    if (collapseHandler_)
        collapseHandler_->paintLine(*this, p, info, parNo, lh, ho);
}

} // namespace velmora::widget
