#include "app/info/AsciiChart.h"

#include "editor/core/text/CodePages.h"

#include <QFont>
#include <QPainter>

#include <algorithm>

namespace velmora::app
{

namespace
{

// Layout: a header column and row, then 16 x 16 cells filling the rest of the picture.
constexpr int kCellSize = 29;
constexpr int kHeaderWidth = kAsciiChartWidth - 16 * kCellSize;   // 22
constexpr int kHeaderHeight = kAsciiChartHeight - 16 * kCellSize; // 16
constexpr int kCodeHeight = 10;                                   // the decimal code's strip at the top of a cell

// What a DOS screen draws for the control codes 0..31.
constexpr char16_t kControlGlyphs[32] = {
    u' ',      u'\u263A', u'\u263B', u'\u2665', u'\u2666', u'\u2663', u'\u2660', u'\u2022',
    u'\u25D8', u'\u25CB', u'\u25D9', u'\u2642', u'\u2640', u'\u266A', u'\u266B', u'\u263C',
    u'\u25BA', u'\u25C4', u'\u2195', u'\u203C', u'\u00B6', u'\u00A7', u'\u25AC', u'\u21A8',
    u'\u2191', u'\u2193', u'\u2192', u'\u2190', u'\u221F', u'\u2194', u'\u25B2', u'\u25BC',
};
constexpr char16_t kHouseGlyph = u'\u2302'; // code 127

QFont monospaceFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace

char16_t dosDisplayCharacter(std::uint8_t code)
{
    if (code < 32)
        return kControlGlyphs[code];
    if (code == 127)
        return kHouseGlyph;
    return core::toUnicodeTable(core::CodePage::Dos866)[code];
}

QRect asciiChartCell(std::uint8_t code)
{
    return {kHeaderWidth + (code % 16) * kCellSize, kHeaderHeight + (code / 16) * kCellSize, kCellSize, kCellSize};
}

QRect asciiChartGlyphArea(std::uint8_t code)
{
    return asciiChartCell(code).adjusted(1, kCodeHeight, -1, -1);
}

QImage asciiChartImage()
{
    QImage image(kAsciiChartWidth, kAsciiChartHeight, QImage::Format_RGB32);
    image.fill(QColor(0xF4, 0xF4, 0xEC));

    QPainter painter(&image);
    const QColor headerBack(0x1F, 0x3A, 0x5F);
    const QColor grid(0xB0, 0xB0, 0xA8);
    const QColor codeColour(0x2A, 0x5D, 0xA8);

    // Headers: the high hex digit of each row, the low hex digit of each column.
    painter.fillRect(0, 0, kAsciiChartWidth, kHeaderHeight, headerBack);
    painter.fillRect(0, 0, kHeaderWidth, kAsciiChartHeight, headerBack);
    painter.setPen(Qt::white);
    painter.setFont(monospaceFont(11, true));
    for (int i = 0; i < 16; ++i) {
        const QString digit = QString::number(i, 16).toUpper();
        painter.drawText(QRect(kHeaderWidth + i * kCellSize, 0, kCellSize, kHeaderHeight), Qt::AlignCenter,
                         QStringLiteral("x") + digit);
        painter.drawText(QRect(0, kHeaderHeight + i * kCellSize, kHeaderWidth, kCellSize), Qt::AlignCenter,
                         digit + QStringLiteral("x"));
    }

    // Cells: the grid, then each code and its character.
    painter.setPen(grid);
    for (int i = 0; i <= 16; ++i) {
        const int x = std::min(kHeaderWidth + i * kCellSize, kAsciiChartWidth - 1);
        const int y = std::min(kHeaderHeight + i * kCellSize, kAsciiChartHeight - 1);
        painter.drawLine(x, kHeaderHeight, x, kAsciiChartHeight - 1);
        painter.drawLine(kHeaderWidth, y, kAsciiChartWidth - 1, y);
    }
    const QFont codeFont = monospaceFont(9, false);
    const QFont glyphFont = monospaceFont(14, false);
    for (int code = 0; code < 256; ++code) {
        const QRect cell = asciiChartCell(code);
        painter.setFont(codeFont);
        painter.setPen(codeColour);
        painter.drawText(QRect(cell.left() + 1, cell.top() + 1, cell.width() - 2, kCodeHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::number(code));
        painter.setFont(glyphFont);
        painter.setPen(Qt::black);
        painter.drawText(asciiChartGlyphArea(code), Qt::AlignCenter, QString(QChar(dosDisplayCharacter(code))));
    }
    return image;
}

} // namespace velmora::app
