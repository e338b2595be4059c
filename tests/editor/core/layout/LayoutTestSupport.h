// Helpers shared by the layout tests: a fixed-width measurer, a window that records what the
// layout asks of it, a clock the test moves, and an editor with its layout.
#pragma once

#include "editor/core/editing/SourceMemoCore.h"
#include "editor/core/layout/LayoutEngine.h"
#include "editor/core/layout/LayoutView.h"
#include "editor/core/text/StyleBits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace velmora::core::testing
{

// Every character is 7 pixels wide, 9 in bold, 11 in AltFont (bold AltFont 13).
class FixedWidthMeasurer : public TTextMeasurer
{
public:
    static std::int32_t charWidth(std::uint8_t style)
    {
        std::int32_t w = (style & kStyleAltFont) ? 11 : 7;
        if (style & kStyleBold)
            w += 2;
        return w;
    }
    std::int32_t textWidth(std::string_view text, std::uint8_t style) override
    {
        ++calls;
        bytes += static_cast<std::int64_t>(text.size());
        return static_cast<std::int32_t>(text.size()) * charWidth(style);
    }
    TFontMetrics metrics() override { return {13, 10, 3, 2, 13}; }
    std::int64_t calls = 0;
    std::int64_t bytes = 0; // characters measured
};

class RecordingWindow : public TLayoutWindow
{
public:
    struct Scroll {
        std::int32_t dx, dy, fromY;
    };
    void repaintLines(std::int32_t first, std::int32_t last) override { repaints.push_back({first, last}); }
    void repaintAll() override { ++fullRepaints; }
    void scrollContents(std::int32_t dx, std::int32_t dy, std::int32_t fromY) override
    {
        scrolls.push_back({dx, dy, fromY});
    }
    void setScrollRange(bool vertical, const TScrollRange &range) override
    {
        (vertical ? vRanges : hRanges).push_back(range);
    }
    void scrolled(bool vertical, bool horizontal) override
    {
        vScrolled += vertical;
        hScrolled += horizontal;
    }
    bool hasBackgroundPicture() const override { return picture; }

    std::vector<std::pair<std::int32_t, std::int32_t>> repaints;
    std::vector<Scroll> scrolls;
    std::vector<TScrollRange> vRanges, hRanges;
    int fullRepaints = 0;
    int vScrolled = 0;
    int hScrolled = 0;
    bool picture = false;
};

// A tick count that moves only when told, or by step on every reading.
struct ManualClock {
    std::uint32_t now = 1000;
    std::uint32_t step = 0;
    std::uint32_t read()
    {
        const std::uint32_t t = now;
        now += step;
        return t;
    }
};

// An editor with its layout, window and clock; the window is created by open().
struct LayoutRig {
    TSourceMemoCore memo;
    FixedWidthMeasurer measurer;
    TLayoutEngine layout{memo, measurer};
    TLayoutView view{layout};
    RecordingWindow window;
    ManualClock clock;

    explicit LayoutRig(TsmUpdateMode mode = umImmediate)
    {
        memo.setView(&view);
        layout.setWindow(&window);
        layout.schedule().Microseconds = [this] { return std::int64_t{clock.read()} * 1000; };
        layout.schedule().setUpdateMode(mode);
        layout.ScrollTime = 0;
    }
    void open(std::int32_t width = 416, std::int32_t height = 140) { layout.createHandle(width, height); }
    void setText(const std::string &text)
    {
        memo.SetTextBuf(text.c_str());
        memo.ClearUndo();
    }
    // Lines of paragraph i as (start, end) pairs.
    std::vector<std::pair<std::int32_t, std::int32_t>> breaks(std::int32_t i)
    {
        std::vector<std::pair<std::int32_t, std::int32_t>> out;
        const ParInfo &p = *memo.paragraphs().par(i);
        for (std::int32_t l = 0; l < p.lineCount(); ++l)
            out.emplace_back(p.lineInfo(l).lineStart, p.lineInfo(l).nextLineStart);
        return out;
    }
    LineInfo line(std::int32_t par, std::int32_t l) { return memo.paragraphs().par(par)->lineInfo(l); }
    void drainSlices()
    {
        for (int guard = 0; layout.schedule().hasWork() && guard < 1000000; ++guard)
            layout.schedule().runSlice();
    }
};

using Breaks = std::vector<std::pair<std::int32_t, std::int32_t>>;

// Fills dst with the paragraphs of src (texts and start styles) as a load leaves them.
inline void loadParagraphsOf(TParagraphsList &src, TParagraphsList &dst)
{
    dst.clear();
    char *buffer = dst.addLoadBuffer(static_cast<std::size_t>(src.marks().textLength()) + 1);
    char *at = buffer;
    for (std::int32_t i = 0; i < src.count(); ++i) {
        const std::string_view t = src.textOf(i);
        std::memcpy(at, t.data(), t.size());
        at[t.size()] = 0;
        dst.appendLoaded(at, static_cast<std::int32_t>(t.size()), src.par(i)->startStyle());
        at += t.size() + 1;
    }
    dst.finishLoad();
}

// Every paragraph of a is laid out, with the same lines, first lines and totals as in b.
inline void expectSameLines(TParagraphsList &a, TParagraphsList &b)
{
    ASSERT_EQ(a.count(), b.count());
    EXPECT_EQ(a.marks().lineCount(), b.marks().lineCount());
    EXPECT_EQ(a.marks().visibleLineCount(), b.marks().visibleLineCount());
    for (std::int32_t i = 0; i < a.count(); ++i) {
        const ParInfo &p = *a.par(i);
        const ParInfo &q = *b.par(i);
        ASSERT_TRUE(p.flags & pfLinesValid) << "paragraph " << i;
        ASSERT_EQ(p.lineCount(), q.lineCount()) << "paragraph " << i;
        EXPECT_EQ(a.firstLineOf(i), b.firstLineOf(i));
        for (std::int32_t l = 0; l < p.lineCount(); ++l) {
            const LineInfo x = p.lineInfo(l), y = q.lineInfo(l);
            SCOPED_TRACE("paragraph " + std::to_string(i) + " line " + std::to_string(l));
            EXPECT_EQ(x.lineStart, y.lineStart);
            EXPECT_EQ(x.nextLineStart, y.nextLineStart);
            EXPECT_EQ(x.width, y.width);
            EXPECT_EQ(x.blankCount, y.blankCount);
            EXPECT_EQ(x.justifyFrom, y.justifyFrom);
            EXPECT_EQ(x.startStyle, y.startStyle);
            EXPECT_EQ(x.startRunIndex, y.startRunIndex);
        }
    }
}

} // namespace velmora::core::testing
