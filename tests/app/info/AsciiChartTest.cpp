// The ASCII table picture: its size, the characters it shows for each code, and that every
// cell is drawn and tells itself apart.
#include "app/info/AsciiChart.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace velmora::app;

namespace
{

const QImage &chart()
{
    static const QImage image = asciiChartImage();
    return image;
}

bool isUniform(const QImage &image)
{
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != first)
                return false;
    return true;
}

QByteArray pixels(const QImage &image)
{
    const QImage copy = image.convertToFormat(QImage::Format_RGB32);
    QByteArray bytes;
    for (int y = 0; y < copy.height(); ++y)
        bytes.append(reinterpret_cast<const char *>(copy.constScanLine(y)), copy.width() * 4);
    return bytes;
}

} // namespace

TEST(AsciiChart, DisplayCharactersFollowCodePage866WithTheDosControlGlyphs)
{
    EXPECT_EQ(dosDisplayCharacter(0), u' ');
    EXPECT_EQ(dosDisplayCharacter(1), u'\u263A');   // smiley
    EXPECT_EQ(dosDisplayCharacter(3), u'\u2665');   // heart
    EXPECT_EQ(dosDisplayCharacter(13), u'\u266A');  // note
    EXPECT_EQ(dosDisplayCharacter(26), u'\u2192');  // right arrow
    EXPECT_EQ(dosDisplayCharacter(31), u'\u25BC');  // down triangle
    EXPECT_EQ(dosDisplayCharacter(127), u'\u2302'); // house
    EXPECT_EQ(dosDisplayCharacter('A'), u'A');
    EXPECT_EQ(dosDisplayCharacter(0x80), u'\u0410'); // Cyrillic capital A
    EXPECT_EQ(dosDisplayCharacter(0xB0), u'\u2591'); // light shade
    EXPECT_EQ(dosDisplayCharacter(0xC9), u'\u2554'); // double box corner
    EXPECT_EQ(dosDisplayCharacter(0xF0), u'\u0401'); // Cyrillic capital IO
    for (int code = 1; code < 32; ++code)
        EXPECT_GT(dosDisplayCharacter(code), u' ') << code;
}

TEST(AsciiChart, IsTheChartSizeAndDrawnTheSameEachTime)
{
    EXPECT_EQ(chart().size(), QSize(486, 480));
    EXPECT_EQ(asciiChartImage(), chart());
}

TEST(AsciiChart, CellsTileTheGridInsideThePicture)
{
    const QRect picture(0, 0, 486, 480);
    for (int code = 0; code < 256; ++code) {
        const QRect cell = asciiChartCell(code);
        EXPECT_TRUE(picture.contains(cell)) << code;
        EXPECT_TRUE(cell.contains(asciiChartGlyphArea(code))) << code;
        if (code % 16 != 0) {
            EXPECT_EQ(cell.left(), asciiChartCell(code - 1).right() + 1) << code;
        }
        if (code >= 16) {
            EXPECT_EQ(cell.top(), asciiChartCell(code - 16).bottom() + 1) << code;
        }
    }
}

TEST(AsciiChart, EveryCellDiffersAndPrintableCharactersAreDrawn)
{
    QSet<QByteArray> cells;
    for (int code = 0; code < 256; ++code)
        cells.insert(pixels(chart().copy(asciiChartCell(code))));
    EXPECT_EQ(cells.size(), 256);

    for (int code : {0, 32, 255}) // nothing to draw: no character, blank, no-break space
        EXPECT_TRUE(isUniform(chart().copy(asciiChartGlyphArea(code)))) << code;
    for (int code = 1; code < 256; ++code) {
        if (code != 32 && code != 255) {
            EXPECT_FALSE(isUniform(chart().copy(asciiChartGlyphArea(code)))) << code;
        }
    }
    EXPECT_NE(pixels(chart().copy(asciiChartGlyphArea('A'))), pixels(chart().copy(asciiChartGlyphArea('B'))));
}
