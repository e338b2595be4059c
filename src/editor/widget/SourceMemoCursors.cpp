#include "editor/widget/SourceMemoCursors.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

#include <array>

namespace velmora::widget
{

namespace
{

// The outline of the usual arrow pointer, its tip at (0, 0).
const QPolygon &arrowOutline()
{
    static const QPolygon outline({{0, 0}, {0, 15}, {4, 11}, {7, 17}, {9, 16}, {6, 10}, {11, 10}});
    return outline;
}

// A 32 x 32 pointer image drawn by paint, white filled with black edges. The cursor is never
// freed: it lives as long as the process, past the application object.
const QCursor &makeCursor(void (*paint)(QPainter &), QPoint hotSpot)
{
    QPixmap image(32, 32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    paint(painter);
    painter.end();
    return *new QCursor(image, hotSpot.x(), hotSpot.y());
}

void paintRightArrow(QPainter &painter)
{
    QPolygon mirrored;
    for (const QPoint &p : arrowOutline())
        mirrored << QPoint(11 - p.x(), p.y());
    painter.drawPolygon(mirrored);
}

void paintDragCopy(QPainter &painter)
{
    painter.drawPolygon(arrowOutline());
    painter.drawRect(12, 15, 10, 10);
    painter.drawLine(14, 20, 20, 20);
    painter.drawLine(17, 17, 17, 23);
}

} // namespace

const QCursor &rightArrowCursor()
{
    static const QCursor &cursor = makeCursor(paintRightArrow, {11, 0});
    return cursor;
}

const QCursor &dragCopyCursor()
{
    static const QCursor &cursor = makeCursor(paintDragCopy, {0, 0});
    return cursor;
}

QCursor standardCursor(std::int16_t number, const QCursor &fallback)
{
    // Indexed by -number; BitmapCursor marks crDefault (0) and the unused -5.
    static constexpr std::array<Qt::CursorShape, 23> kShapes{
        Qt::BitmapCursor,    Qt::BlankCursor,        Qt::ArrowCursor,    Qt::CrossCursor,     Qt::IBeamCursor,
        Qt::BitmapCursor,    Qt::SizeBDiagCursor,    Qt::SizeVerCursor,  Qt::SizeFDiagCursor, Qt::SizeHorCursor,
        Qt::UpArrowCursor,   Qt::WaitCursor,         Qt::DragMoveCursor, Qt::ForbiddenCursor, Qt::SplitHCursor,
        Qt::SplitVCursor,    Qt::DragCopyCursor,     Qt::BusyCursor,     Qt::ForbiddenCursor, Qt::BusyCursor,
        Qt::WhatsThisCursor, Qt::PointingHandCursor, Qt::SizeAllCursor,
    };
    const int index = -number;
    if (index < 0 || index >= static_cast<int>(kShapes.size()) || kShapes[index] == Qt::BitmapCursor)
        return fallback;
    return QCursor(kShapes[index]);
}

} // namespace velmora::widget
