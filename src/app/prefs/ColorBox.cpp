#include "app/prefs/ColorBox.h"

#include "editor/widget/ColorSwatch.h"

#include <QColorDialog>
#include <QPixmap>

namespace velmora::app
{

TColorBox::TColorBox(const char *name, QWidget *parent) : QPushButton(parent)
{
    setObjectName(QString::fromLatin1(name));
    setAutoDefault(false);
    ChooseColor = [this](const QColor &initial) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(initial, window());
        return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
    };
    connect(this, &QPushButton::clicked, this, &TColorBox::choose);
    setSelected(0);
}

void TColorBox::setSelected(int value)
{
    selected_ = value;
    const QColor color = widget::colorFromValue(value);
    QPixmap swatch(40, 14);
    swatch.fill(color);
    setIcon(QIcon(swatch));
    setIconSize(swatch.size());
    setText(color.name(QColor::HexRgb).toUpper());
}

void TColorBox::choose()
{
    const std::optional<QColor> chosen = ChooseColor(widget::colorFromValue(selected_));
    if (!chosen)
        return;
    setSelected(widget::colorToValue(*chosen));
    if (OnChange)
        OnChange();
}

} // namespace velmora::app
