// The line renderer and hit-testing share one geometry: for random lines (tabs, blanks, style
// codes, keyword styles) in every alignment, justified or not, scrolled sideways, each cell the
// renderer draws stands where the caret of its column is placed and where the mouse hits that
// column, and a selection is painted exactly between those x.
#include "SourceMemoFixture.h"

#include "editor/core/editing/SourceNavigator.h"
#include "editor/core/keyfiles/KeyInfo.h"
#include "editor/core/layout/NavigatorPixels.h"
#include "editor/widget/LineRenderer.h"

#include <random>
#include <string>

namespace velmora::widget::test
{
namespace
{

constexpr std::int32_t kGreen = 0x00C000;

class LineRendererTest : public SourceMemoFixture
{
protected:
    int pick(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }

    // Random look and text: alignment, justification, wrapping, tab stops, style codes.
    void randomEditor()
    {
        memo->setStaticFormat(pick(2) == 0);
        memo->setWordWrap(pick(3) != 0);
        memo->setJustified(pick(2) == 0);
        memo->setAlignment(static_cast<core::TAlignment>(pick(3)));
        memo->setTabStops(pick(4) == 0 ? -30 - pick(20) : 1 + pick(8));
        static const char *const pieces[] = {"mov",  " ",    "  ",   "\t",   "ax",   "Wide", "i",        ",",
                                             "\x02", "\x04", "\x01", "\x15", "\x03", "M",    "\xC0\xE1", "x"};
        std::string text;
        const int paragraphs = 1 + pick(4);
        for (int p = 0; p < paragraphs; ++p) {
            for (int n = pick(60); n > 0; --n)
                text += pieces[pick(sizeof pieces / sizeof *pieces)];
            if (p + 1 < paragraphs)
                text += "\r\n";
        }
        memo->SetTextBuf(text.c_str());
        if (!memo->WordWrap())
            layout().scrollTo(0, pick(150), 0);
    }

    std::mt19937 rng{24};
};

TEST_F(LineRendererTest, CellsStandWhereTheCaretIsPlacedAndTheMouseHits)
{
    memo->Keywords().AddKeyword("mov", core::kOptWholeWords, core::kStyleBold, 1, 0, core::clNone, core::clNone);
    memo->Keywords().AddKeyword("Wide", 0, core::kStyleAltFont | core::kStyleItalic, 1, 0, core::clNone, core::clNone);
    memo->setAltFont(QFont(QStringLiteral("DejaVu Serif")));
    core::TSourceNavigator lineNav(&layout().memo());
    core::TSourceNavigator nav(&layout().memo());
    TLineRenderer renderer(layout(), memo->measurer(), lineNav);
    const std::int32_t width = memo->viewport()->width();
    int checked = 0;
    for (int round = 0; round < 60; ++round) {
        randomEditor();
        const std::int32_t horz = layout().geometry.horzOffset;
        for (std::int32_t line = 0; line < memo->LineCount(); ++line) {
            SCOPED_TRACE("round " + std::to_string(round) + ", line " + std::to_string(line));
            // The whole line, and the window's part of it as painting measures it.
            const core::TLineCells whole = renderer.cells(line, horz, -1000000, 1000000);
            const core::TLineCells shown = renderer.cells(line, horz, 0, width);
            nav.setDisplayLine(line);
            const std::int32_t lineStart = nav.paragraph()->lineInfo(nav.ParLine()).lineStart;
            EXPECT_EQ(whole.left, shown.left);
            for (const core::TLineCell &cell : shown.cells) {
                ASSERT_LT(static_cast<std::size_t>(cell.offset - lineStart), whole.cells.size());
                EXPECT_EQ(cell.x, whole.cells[static_cast<std::size_t>(cell.offset - lineStart)].x);
            }
            for (const core::TLineCell &cell : whole.cells) {
                const std::int32_t x = whole.left + cell.x;
                nav.setDisplayLine(line);
                nav.setLineOffset(cell.offset - lineStart);
                ASSERT_EQ(core::navigatorX(nav, layout()), x) << "caret at offset " << cell.offset;
                if (cell.code || cell.width < 2)
                    continue;
                EXPECT_EQ(core::characterWidth(nav, layout()), cell.width);
                for (const std::int32_t at : {x, x + cell.width - 1}) {
                    nav.setDisplayLine(line);
                    ASSERT_TRUE(core::toCharacterAt(nav, layout(), at));
                    EXPECT_EQ(nav.ParOffset(), cell.offset) << "the mouse at " << at;
                }
                core::fromPoint(nav, layout(), x, line * lineHeight());
                EXPECT_EQ(nav.ParOffset(), cell.offset) << "the mouse at the cell's left edge";
                ++checked;
            }
            EXPECT_EQ(whole.end, core::walkCells(layout(), *nav.paragraph(), nav.paragraph()->lineInfo(nav.ParLine()),
                                                 horz, [](auto...) { return true; }));
        }
    }
    EXPECT_GT(checked, 1000) << "enough cells were compared";
}

TEST_F(LineRendererTest, SelectionIsPaintedBetweenTheCaretPositionsOfItsEnds)
{
    core::TSourceMemoOptions options = memo->Options();
    options.set(core::smoWindowsSelColors);
    memo->setOptions(options);
    memo->setSelBackColor(kGreen);
    memo->clearFocus();
    core::TSourceNavigator nav(&layout().memo());
    int checked = 0;
    for (int round = 0; round < 40; ++round) {
        randomEditor();
        const std::int32_t line = pick(memo->LineCount());
        nav.setDisplayLine(line);
        const core::LineInfo info = nav.paragraph()->lineInfo(nav.ParLine());
        const std::int32_t lineEnd = std::min(info.nextLineStart - 1, nav.paragraph()->length());
        if (lineEnd <= info.lineStart)
            continue;
        const std::int32_t a = info.lineStart + pick(lineEnd - info.lineStart);
        const std::int32_t b = a + 1 + pick(lineEnd - a);
        memo->setSelStart(layout().paragraphs().startOf(nav.ParNumber()) + a);
        memo->setSelLength(b - a);
        // Selecting may scroll the caret into view: the x are taken at the offset painted.
        ASSERT_EQ(layout().geometry.horzOffset, memo->shownHorzOffset());
        const auto xAt = [&](std::int32_t offset) {
            nav.setDisplayLine(line);
            nav.setLineOffset(offset - info.lineStart);
            return core::navigatorX(nav, layout());
        };
        const std::int32_t left = xAt(a);
        const std::int32_t right = xAt(b);
        const QImage image = shot();
        const int y = line * lineHeight() - memo->shownVertOffset();
        if (y < 0 || y >= image.height() || right <= left)
            continue;
        SCOPED_TRACE("round " + std::to_string(round));
        const QRect inside(left, y, right - left, 1);
        EXPECT_EQ(countColour(image, inside, kGreen), inside.intersected(image.rect()).width());
        EXPECT_EQ(countColour(image, QRect(left - 1, y, 1, 1), kGreen), 0);
        EXPECT_EQ(countColour(image, QRect(right, y, 1, 1), kGreen), 0);
        ++checked;
    }
    EXPECT_GT(checked, 20);
}

} // namespace
} // namespace velmora::widget::test
