// Small drawing helpers shared by the editor's painting: its pens and the inverting of
// rectangles that the inverted selection and the caret use.
#pragma once

#include "editor/widget/ColorSwatch.h"
#include "editor/widget/SourceMemoTypes.h"

#include <QPainter>
#include <QPen>

#include <algorithm>

namespace velmora::widget
{

inline QPen penOf(const TsmPen &pen)
{
    return QPen(colorFromValue(pen.Color), std::max(0, pen.Width), pen.Style);
}

// Flips every colour bit of a rectangle.
inline void invert(QPainter &painter, const QRect &rect)
{
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(rect, Qt::white);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

} // namespace velmora::widget
