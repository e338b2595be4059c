// The editor's text measurer over its two fonts: Font and AltFont, each in the four font
// styles. Bytes become characters through the code page that the font's character set picks,
// and the advance of every byte is cached per style, so a line is measured by adding cached
// advances without shaping any text.
#pragma once

#include "editor/core/text/CodePages.h"
#include "editor/core/layout/TextMeasurer.h"

#include <QFont>
#include <QRawFont>

#include <array>
#include <cstdint>

namespace velmora::widget
{

class QtTextMeasurer : public core::TTextMeasurer
{
public:
    QtTextMeasurer();

    // New fonts or character set: every cached advance is dropped.
    void setFonts(const QFont &font, const QFont &altFont, std::uint8_t charset);
    core::CodePage codePage() const { return codePage_; }

    std::int32_t textWidth(std::string_view text, std::uint8_t style) override;
    const std::int32_t *advances(std::uint8_t style) override { return cacheFor(style).advances.data(); }
    core::TFontMetrics metrics() override;

    // The font a style draws in: AltFont with bit 5, else Font; bits 0..3 its styles.
    const QFont &fontFor(std::uint8_t style);
    // The same font's glyphs, for drawing characters at positions of their own.
    const QRawFont &rawFontFor(std::uint8_t style);
    std::int32_t advance(unsigned char byte, std::uint8_t style);
    // The character a byte stands for in the current code page.
    QChar character(unsigned char byte) const { return QChar(core::toUnicodeTable(codePage_)[byte]); }

private:
    struct StyleCache {
        bool ready = false;
        QFont font;
        QRawFont rawFont;
        std::array<std::int32_t, 256> advances{};
    };
    StyleCache &cacheFor(std::uint8_t style);

    QFont font_;
    QFont altFont_;
    core::CodePage codePage_ = core::CodePage::Windows1251;
    std::array<StyleCache, core::kMeasuredStyleBits + 1> caches_;
};

} // namespace velmora::widget
