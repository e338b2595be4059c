// The measurer over the control's fonts: cached byte advances per style, code page by charset.
#include "editor/widget/QtTextMeasurer.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::widget::QtTextMeasurer;

TEST(QtTextMeasurer, WidthsAreSumsOfByteAdvancesInTheStylesFont)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(15);
    QFont alt(QStringLiteral("DejaVu Sans Mono"));
    alt.setPixelSize(30);
    QtTextMeasurer m;
    m.setFonts(font, alt, core::kCyrillicCharset);

    EXPECT_EQ(m.textWidth("", 0), 0);
    EXPECT_EQ(m.textWidth("il", 0), m.advance('i', 0) + m.advance('l', 0));
    EXPECT_LT(m.textWidth("iii", 0), m.textWidth("mmm", 0));
    EXPECT_GE(m.textWidth("mmm", 1), m.textWidth("mmm", 0)); // bold
    // AltFont: monospace at twice the size; style bits above the measured ones are ignored.
    EXPECT_EQ(m.textWidth("i", 0x20), m.textWidth("m", 0x20));
    EXPECT_GT(m.textWidth("i", 0x20), m.textWidth("i", 0));
    EXPECT_EQ(m.textWidth("ab", 0x40), m.textWidth("ab", 0));
    EXPECT_TRUE(m.fontFor(0x03).bold());
    EXPECT_TRUE(m.fontFor(0x03).italic());
    EXPECT_EQ(m.fontFor(0x20).family(), alt.family());

    const core::TFontMetrics metrics = m.metrics();
    EXPECT_EQ(metrics.height, QFontMetrics(font).height());
    EXPECT_GT(metrics.ascent, 0);
    EXPECT_GE(metrics.maxCharWidth, m.advance('W', 0));
}

TEST(QtTextMeasurer, TheFontsCharacterSetPicksTheCodePage)
{
    QtTextMeasurer m;
    m.setFonts(QFont(), QFont(), core::kCyrillicCharset);
    EXPECT_EQ(m.codePage(), core::CodePage::Windows1251);
    EXPECT_EQ(m.character(0xE6), QChar(0x0436));
    EXPECT_EQ(m.character(0xB6), QChar(0x00B6));
    m.setFonts(QFont(), QFont(), core::kOemCharset);
    EXPECT_EQ(m.codePage(), core::CodePage::Dos866);
    EXPECT_EQ(m.character(0xA6), QChar(0x0436));
    EXPECT_EQ(m.character(0xB0), QChar(0x2591));
    // A new code page drops the cached advances: a box-drawing byte is measured anew.
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    m.setFonts(mono, mono, core::kOemCharset);
    EXPECT_EQ(m.advance(0xB0, 0), QFontMetrics(mono).horizontalAdvance(QChar(0x2591)));
}
