// A TSourceMemo set up for predictable pixels: a monospace font of fixed pixel size, black
// text on white, immediate layout, and helpers that grab the control and read its pixels.
#pragma once

#include "editor/core/layout/LayoutEngine.h"
#include "editor/widget/SourceMemo.h"

#include <QImage>
#include <QRect>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace velmora::widget::test
{

inline constexpr std::int32_t kWhite = 0xFFFFFF;
inline constexpr std::int32_t kBlack = 0x000000;

class SourceMemoFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        memo = std::make_unique<TSourceMemo>();
        QFont font(QStringLiteral("DejaVu Sans Mono"));
        font.setPixelSize(14);
        memo->setFont(font);
        memo->setColor(kWhite);
        memo->setFontColor(kBlack);
        memo->setUpdateMode(core::umImmediate);
        memo->setHideSelection(false);
        memo->setEndOfTextMark({-1, 0, Qt::SolidLine});
        memo->resize(400, 200);
        // Shown (on the offscreen platform), so that sizes take effect at once.
        memo->show();
    }

    // The viewport as painted now.
    QImage shot() { return memo->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    core::TLayoutEngine &layout() { return memo->layoutEngine(); }
    std::int32_t lineHeight() { return layout().lineHeight(); }

    // Pixels of rect that satisfy test.
    static int count(const QImage &image, const QRect &rect, const std::function<bool(QRgb)> &test)
    {
        int n = 0;
        const QRect r = rect.intersected(image.rect());
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += test(image.pixel(x, y)) ? 1 : 0;
        return n;
    }
    // A colour value (red in the low byte) as a pixel.
    static QRgb rgbOf(std::int32_t value) { return qRgb(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }
    static int countColour(const QImage &image, const QRect &rect, std::int32_t value)
    {
        const QRgb want = rgbOf(value);
        return count(image, rect, [want](QRgb p) { return (p & 0xFFFFFF) == (want & 0xFFFFFF); });
    }
    QRect lineRect(int line) { return QRect(0, line * lineHeight(), memo->viewport()->width(), lineHeight()); }

    std::unique_ptr<TSourceMemo> memo;
};

} // namespace velmora::widget::test
