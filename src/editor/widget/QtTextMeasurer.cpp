#include "editor/widget/QtTextMeasurer.h"

#include "editor/core/text/StyleBits.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <algorithm>

namespace velmora::widget
{

QtTextMeasurer::QtTextMeasurer()
{
    setFonts(QFont(), QFont(), core::kCyrillicCharset);
}

void QtTextMeasurer::setFonts(const QFont &font, const QFont &altFont, std::uint8_t charset)
{
    font_ = font;
    altFont_ = altFont;
    codePage_ = core::codePageForCharset(charset);
    for (StyleCache &cache : caches_)
        cache.ready = false;
}

QtTextMeasurer::StyleCache &QtTextMeasurer::cacheFor(std::uint8_t style)
{
    StyleCache &cache = caches_[style & core::kMeasuredStyleBits];
    if (cache.ready)
        return cache;
    QFont f = style & core::kStyleAltFont ? altFont_ : font_;
    f.setBold(style & core::kStyleBold);
    f.setItalic(style & core::kStyleItalic);
    f.setUnderline(style & core::kStyleUnderline);
    f.setStrikeOut(style & core::kStyleStrikeOut);
    // Drawn advances must add up exactly as measured ones do.
    f.setKerning(false);
    cache.font = f;
    cache.rawFont = QRawFont::fromFont(f);
    const QFontMetrics fm(f);
    const auto &table = core::toUnicodeTable(codePage_);
    for (int b = 0; b < 256; ++b)
        cache.advances[static_cast<std::size_t>(b)] = fm.horizontalAdvance(QChar(table[static_cast<std::size_t>(b)]));
    cache.ready = true;
    return cache;
}

const QFont &QtTextMeasurer::fontFor(std::uint8_t style)
{
    return cacheFor(style).font;
}

const QRawFont &QtTextMeasurer::rawFontFor(std::uint8_t style)
{
    return cacheFor(style).rawFont;
}

std::int32_t QtTextMeasurer::advance(unsigned char byte, std::uint8_t style)
{
    return cacheFor(style).advances[byte];
}

std::int32_t QtTextMeasurer::textWidth(std::string_view text, std::uint8_t style)
{
    const StyleCache &cache = cacheFor(style);
    std::int32_t width = 0;
    for (const char c : text)
        width += cache.advances[static_cast<unsigned char>(c)];
    return width;
}

core::TFontMetrics QtTextMeasurer::metrics()
{
    const QFontMetrics fm(cacheFor(0).font);
    core::TFontMetrics m;
    m.ascent = fm.ascent();
    m.descent = fm.descent();
    m.height = fm.height();
    m.internalLeading = std::max(0, fm.height() - QFontInfo(cacheFor(0).font).pixelSize());
    m.maxCharWidth = std::max(1, fm.maxWidth());
    return m;
}

} // namespace velmora::widget
