// TLineRenderer: draws one display line of the editor into the line bitmap. Every x it draws at
// comes from the core's line geometry (lineCells, columnX), the same that places the caret and
// hit-tests the mouse; the renderer adds only the look: colours, fonts, the selection, the
// non-printing marks and the special underline.
#pragma once

#include "editor/core/layout/LineGeometry.h"
#include "editor/widget/SourceMemoTypes.h"

#include <QRect>

#include <cstdint>

class QPainter;
class QPixmap;

namespace velmora::core
{
class TLayoutEngine;
class TSourceNavigator;
} // namespace velmora::core

namespace velmora::widget
{

class QtTextMeasurer;

// What the control paints with at the moment, colours as colour values.
struct TLineLook {
    std::int32_t color = 0;              // the ground without a picture
    const QPixmap *background = nullptr; // tiled under the text when it is not empty
    std::int32_t horzOffset = 0;         // the horizontal offset the view is shown at
    bool selectionVisible = false;       // the selection or column block is shown
    std::int32_t fontColor = 0;
    std::int32_t selBackColor = 0;
    std::int32_t selTextColor = 0;
    std::int32_t highlightColor = 0;
    std::int32_t highlightBackgnd = 0;
    TsmPen specUnderline;
    TsmNonPrintChars nonPrintChars;
    bool showEndParSelected = true;
    std::int32_t markedPar = -1; // the paragraph painted on a band of markedColour
    std::int32_t markedColour = 0;
};

// The paragraph and the line record of a display line drawn.
struct TDrawnLine {
    std::int32_t par = 0;
    core::LineInfo line;
};

class TLineRenderer
{
public:
    // nav is the control's navigator for the line being drawn.
    TLineRenderer(core::TLayoutEngine &layout, QtTextMeasurer &measurer, core::TSourceNavigator &nav);

    // The cells of display line `line` between window x from and to, the view scrolled
    // sideways to horzOffset: the x and widths that draw() draws at.
    core::TLineCells cells(std::int32_t line, std::int32_t horzOffset, std::int32_t from, std::int32_t to);
    // Draws display line `line` into painter, its top at y 0, width pixels wide.
    TDrawnLine draw(QPainter &painter, std::int32_t line, std::int32_t width, const TLineLook &look);
    // Fills target with the tiled picture, aligned to the document (target's top at documentY),
    // or with the look's colour.
    void fillBackground(QPainter &painter, const QRect &target, std::int32_t documentY, const TLineLook &look);

private:
    // The selection's extent on the line being drawn; pilcrowWidth is the paragraph mark's.
    struct SelectionExtent {
        bool selected = false;
        bool parEndSelected = false;
        std::int32_t left = 0;
        std::int32_t right = 0;
        std::int32_t start = 0; // the selection's positions (not with a column block)
        std::int32_t end = 0;
    };
    SelectionExtent selectionExtent(const core::TLineCells &cells, const core::LineInfo &info, std::int32_t parNo,
                                    std::int32_t width, std::int32_t pilcrowWidth, const TLineLook &look);

    core::TLayoutEngine &layout_;
    QtTextMeasurer &measurer_;
    core::TSourceNavigator &nav_;
    // Where the painting of long lines may start measuring, near the window's left edge.
    core::TLineCheckpoints checkpoints_;
};

} // namespace velmora::widget
