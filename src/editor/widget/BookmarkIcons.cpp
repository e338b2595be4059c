#include "editor/widget/BookmarkIcons.h"

#include <QPainter>

#include <cstdint>

namespace velmora::widget
{

namespace
{

// 5 x 7 digit glyphs, one row per byte, bit 4 the leftmost pixel.
constexpr std::uint8_t kGlyphs[TBookmarkIcons::kCount][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
};

const QColor kBody(0, 96, 128);
const QColor kDigit(255, 255, 0);

QImage drawIcon(int number)
{
    constexpr int s = TBookmarkIcons::kSize;
    QImage image(s, s, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        // A square body with cut corners.
        painter.fillRect(1, 0, s - 2, s, kBody);
        painter.fillRect(0, 1, s, s - 2, kBody);
    }
    for (int row = 0; row < 7; ++row)
        for (int column = 0; column < 5; ++column)
            if (kGlyphs[number][row] & (0x10 >> column))
                image.setPixelColor(2 + column, 1 + row, kDigit);
    // White is the transparent colour.
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF)
                image.setPixel(x, y, 0);
    return image;
}

} // namespace

TBookmarkIcons::TBookmarkIcons()
{
    for (int i = 0; i < kCount; ++i)
        images_[static_cast<std::size_t>(i)] = drawIcon(i);
}

std::shared_ptr<const TBookmarkIcons> TBookmarkIcons::shared()
{
    static std::weak_ptr<const TBookmarkIcons> current;
    std::shared_ptr<const TBookmarkIcons> icons = current.lock();
    if (!icons) {
        icons = std::make_shared<const TBookmarkIcons>();
        current = icons;
    }
    return icons;
}

} // namespace velmora::widget
