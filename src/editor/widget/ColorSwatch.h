// A small box that shows a colour, filled solid or, when the selected entries differ,
// with a diagonal-cross brush.
#pragma once

#include <QColor>
#include <QWidget>

#include <cstdint>

namespace velmora::widget
{

// Stored colours are 24-bit values with red in the low byte; values with the top bit set
// name a system colour (its low byte the index), which comes from the palette.
QColor colorFromValue(std::int32_t value);
std::int32_t colorToValue(const QColor &color);

class ColorSwatch : public QWidget
{
public:
    explicit ColorSwatch(QWidget *parent = nullptr);

    void setColor(const QColor &color, Qt::BrushStyle style = Qt::SolidPattern);
    QColor color() const { return color_; }
    Qt::BrushStyle brushStyle() const { return style_; }

    QSize sizeHint() const override { return {24, 18}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor color_ = Qt::black;
    Qt::BrushStyle style_ = Qt::SolidPattern;
};

} // namespace velmora::widget
