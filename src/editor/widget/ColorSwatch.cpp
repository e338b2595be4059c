#include "editor/widget/ColorSwatch.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>

namespace velmora::widget
{

namespace
{

constexpr std::uint32_t kSystemColorFlag = 0x80000000u;

// The palette role standing in for a system colour index.
QPalette::ColorRole systemColorRole(std::uint32_t index)
{
    switch (index) {
    case 5:
        return QPalette::Base; // window
    case 8:
        return QPalette::Text; // window text
    case 13:
        return QPalette::Highlight; // highlight
    case 14:
        return QPalette::HighlightedText; // highlight text
    case 15:
        return QPalette::Button; // button face
    case 16:
        return QPalette::Dark; // button shadow
    case 18:
        return QPalette::ButtonText; // button text
    case 20:
        return QPalette::Light; // button highlight
    default:
        return QPalette::WindowText;
    }
}

} // namespace

QColor colorFromValue(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    if (bits & kSystemColorFlag)
        return QApplication::palette().color(systemColorRole(bits & 0xFF));
    return QColor(bits & 0xFF, (bits >> 8) & 0xFF, (bits >> 16) & 0xFF);
}

std::int32_t colorToValue(const QColor &color)
{
    return color.red() | color.green() << 8 | color.blue() << 16;
}

ColorSwatch::ColorSwatch(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ColorSwatch::setColor(const QColor &color, Qt::BrushStyle style)
{
    if (color == color_ && style == style_)
        return;
    color_ = color;
    style_ = style;
    update();
}

void ColorSwatch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect box = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(box, palette().color(QPalette::Base));
    painter.setPen(Qt::black);
    painter.setBrush(QBrush(color_, style_));
    painter.drawRect(box);
}

} // namespace velmora::widget
