// Fonts of the window's components are given in pixels, as the forms lay them out.
#pragma once

#include <QFont>

namespace velmora::app
{

inline QFont pixelFont(const QString &family, int pixels, bool bold = false)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace velmora::app
