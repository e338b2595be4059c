#include "editor/widget/LineRenderer.h"

#include "editor/core/editing/SourceMemoCore.h"
#include "editor/core/editing/SourceNavigator.h"
#include "editor/core/keyfiles/KeyInfo.h"
#include "editor/core/layout/LayoutEngine.h"
#include "editor/core/text/StyleBits.h"
#include "editor/widget/ColorSwatch.h"
#include "editor/widget/PaintTools.h"
#include "editor/widget/QtTextMeasurer.h"

#include <QGlyphRun>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <climits>

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
            run.setUnderline(style_ & core::kStyleUnderline);
            run.setStrikeOut(style_ & core::kStyleStrikeOut);
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

TLineRenderer::TLineRenderer(core::TLayoutEngine &layout, QtTextMeasurer &measurer, core::TSourceNavigator &nav)
    : layout_(layout), measurer_(measurer), nav_(nav)
{
}

core::TLineCells TLineRenderer::cells(std::int32_t line, std::int32_t horzOffset, std::int32_t from, std::int32_t to)
{
    nav_.setDisplayLine(line);
    const core::ParInfo &par = *nav_.paragraph();
    return core::lineCells(layout_, par, par.lineInfo(nav_.ParLine()), horzOffset, from, to, checkpoints_);
}

void TLineRenderer::fillBackground(QPainter &painter, const QRect &target, std::int32_t documentY,
                                   const TLineLook &look)
{
    const QPixmap *picture = look.background;
    if (picture && picture->width() >= 1 && picture->height() >= 1) {
        const QPoint source(positiveMod(look.horzOffset + target.left(), picture->width()),
                            positiveMod(documentY, picture->height()));
        painter.drawTiledPixmap(target, *picture, source);
    } else {
        painter.fillRect(target, colorFromValue(look.color));
    }
}

TLineRenderer::SelectionExtent TLineRenderer::selectionExtent(const core::TLineCells &cells, const core::LineInfo &info,
                                                              std::int32_t parNo, std::int32_t width,
                                                              std::int32_t pilcrowWidth, const TLineLook &look)
{
    SelectionExtent sel;
    core::TSourceMemoCore &memo = layout_.memo();
    if (!look.selectionVisible)
        return sel;
    if (memo.blockSelection()) {
        const auto [a, b] = memo.blockColumns();
        sel.selected = parNo >= memo.selectionStart().ParNumber() && parNo <= memo.selectionEnd().ParNumber();
        sel.left = core::columnX(layout_, std::min(a, b), look.horzOffset);
        sel.right = core::columnX(layout_, std::max(a, b), look.horzOffset);
        return sel;
    }
    const core::TParagraphsList &pars = layout_.paragraphs();
    const std::int32_t len = pars.par(parNo)->length();
    const bool lastLine = info.nextLineStart >= len;
    const std::int32_t parStart = pars.startOf(parNo);
    const std::int32_t s = memo.selectionStart().Pos();
    const std::int32_t e = memo.selectionEnd().Pos();
    const std::int32_t lineFrom = parStart + info.lineStart;
    const std::int32_t parEnd = parStart + len;
    const std::int32_t lineLimit = lastLine ? parEnd : parStart + info.nextLineStart;
    sel.selected = s <= lineLimit && e > lineFrom && !(s == lineLimit && !lastLine);
    sel.selected = sel.selected && (s < lineLimit || e > parEnd);
    if (!sel.selected)
        return sel;
    sel.start = s;
    sel.end = e;
    sel.parEndSelected = lastLine && s <= parEnd && e > parEnd;
    sel.left = s > lineFrom ? cells.xOf(s - parStart) : cells.left;
    if (lastLine ? e <= parEnd : e < lineLimit)
        sel.right = cells.xOf(e - parStart);
    else if (memo.Options()[core::smoFullLineSelect])
        sel.right = width;
    else
        sel.right = lastLine ? cells.end : cells.left + info.width;
    if (look.nonPrintChars[smNPReturn] && sel.parEndSelected)
        sel.right = std::max(sel.right, cells.end + pilcrowWidth);
    return sel;
}

TDrawnLine TLineRenderer::draw(QPainter &p, std::int32_t line, std::int32_t width, const TLineLook &look)
{
    const core::TLayoutEngine &layout = layout_;
    const core::TSourceMemoOptions &options = layout_.memo().Options();
    const std::int32_t lh = layout.lineHeight();
    const bool winSel = options[core::smoWindowsSelColors];

    // (b, c) The cells: only those in the window are measured, from a remembered state of the
    // walk near its left edge, and a little beyond the right edge, as far as a special underline
    // running off the line can show.
    const std::int32_t penWidth = std::max(1, look.specUnderline.Width);
    const std::int32_t beyond = width + layout.specialUnderlineAmplitude(penWidth) + penWidth;
    const core::TLineCells lineCells = cells(line, look.horzOffset, 0, beyond);
    const std::int32_t parNo = nav_.ParNumber();
    const core::ParInfo &par = *nav_.paragraph();
    const core::LineInfo info = par.lineInfo(nav_.ParLine());
    const bool lastLine = info.nextLineStart >= par.length();
    const std::int32_t textEnd = lineCells.end;

    // (a) Background: the marked line's band, the paragraph's own colour or the control's ground.
    if (parNo == look.markedPar)
        p.fillRect(0, 0, width, lh, colorFromValue(look.markedColour));
    else if (hasColour(par.backgroundColour()))
        p.fillRect(0, 0, width, lh, colorFromValue(par.backgroundColour()));
    else
        fillBackground(p, QRect(0, 0, width, lh), line * lh, look);

    // (d) Selection extent.
    const bool pilcrow = lastLine && look.nonPrintChars[smNPReturn];
    const std::int32_t pilcrowWidth = pilcrow ? measurer_.advance(kParagraphMark, layout.fontStyle()) : 0;
    const SelectionExtent sel = selectionExtent(lineCells, info, parNo, width, pilcrowWidth, look);
    const bool block = layout_.memo().blockSelection();
    if (sel.selected && winSel && sel.right > sel.left)
        p.fillRect(sel.left, 0, sel.right - sel.left, lh, colorFromValue(look.selBackColor));

    // (e) Text runs. Trailing blanks of a wrapped line are not drawn.
    std::int32_t drawEnd = std::min(info.nextLineStart, par.length());
    if (!lastLine && !look.nonPrintChars[smNPSpace])
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
        p.setPen(penOf(look.specUnderline));
        p.drawPolyline(zigzag);
        specialFrom = INT_MIN;
    };
    const std::int32_t parStart = layout_.paragraphs().startOf(parNo);
    const QColor parText = hasColour(par.textColour()) ? colorFromValue(par.textColour()) : QColor();
    for (const core::TLineCell &cell : lineCells.cells) {
        const std::int32_t k = cell.offset;
        const std::int32_t cx = lineCells.left + cell.x;
        if (cx >= width)
            break;
        const auto c = static_cast<unsigned char>(par.text[k]);
        if (cell.code)
            continue;
        if (cell.special && specialFrom == INT_MIN)
            specialFrom = lineCells.left + cell.specialFrom;
        else if (!cell.special)
            closeSpecial(cx);
        if (cx + cell.width < 0 || cx < kFarLeft)
            continue;

        QColor text = parText.isValid() ? parText : colorFromValue(look.fontColor);
        QColor back;
        if (cell.style & core::kStyleHighlight) {
            text = colorFromValue(look.highlightColor);
            back = colorFromValue(look.highlightBackgnd);
        } else if (cell.run->style & core::kRunAttributes) {
            if (hasColour(cell.run->foreground) && !parText.isValid())
                text = colorFromValue(cell.run->foreground);
            if (hasColour(cell.run->background) && !hasColour(par.backgroundColour()))
                back = colorFromValue(cell.run->background);
        }
        const bool inSelection =
            sel.selected && winSel &&
            (block ? cx >= sel.left && cx < sel.right : parStart + k >= sel.start && parStart + k < sel.end);
        if (inSelection) {
            text = colorFromValue(look.selTextColor);
            back = QColor();
        }
        if (back.isValid() && k < drawEnd) {
            batch.flush(p, measurer_);
            p.fillRect(cx, 0, cell.width, lh, back);
        }

        unsigned char shown = c;
        if (c == '\t')
            shown = look.nonPrintChars[smNPTab] ? kTabMark : 0;
        else if (c == ' ')
            shown = look.nonPrintChars[smNPSpace] ? kBlankMark : 0;
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
        const bool markSelected = sel.parEndSelected && winSel;
        p.setPen(markSelected ? colorFromValue(look.selTextColor)
                              : (parText.isValid() ? parText : colorFromValue(look.fontColor)));
        p.drawText(QPoint(textEnd, baseline), QString(measurer_.character(kParagraphMark)));
    }

    // (h) The inverted selection.
    if (sel.selected && !winSel && sel.right > sel.left)
        invert(p, QRect(sel.left, 0, sel.right - sel.left, lh));

    // (i) The end-of-paragraph block.
    if (sel.parEndSelected && look.showEndParSelected && !options[core::smoFullLineSelect] && !block &&
        !look.nonPrintChars[smNPReturn]) {
        const std::int32_t blank = layout.blankWidth();
        const QRect endBlock(sel.right, lh / 3, blank / 2 + 1, 2 * (lh / 3) - lh / 3);
        if (winSel)
            p.fillRect(endBlock, colorFromValue(look.selBackColor));
        else
            invert(p, endBlock);
    }
    return {parNo, info};
}

} // namespace velmora::widget
