// Metrics, scroll ranges, scrolling, caret into view, resizing and the view refresh's window
// updates.
#include "editor/core/layout/LayoutTestSupport.h"

#include "editor/core/editing/StoreConsistency.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace velmora::core::testing
{
namespace
{

std::string paragraphs(int n, const std::string &body)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += (i ? "\r\n" : "") + body;
    return text;
}

TEST(LayoutViewTest, MetricsFollowTheFontAndLineHeight)
{
    LayoutRig rig;
    rig.open(416, 140);
    EXPECT_EQ(rig.layout.lineHeight(), 14); // font height + 1
    EXPECT_EQ(rig.layout.baseline(), 10);
    EXPECT_EQ(rig.layout.textBottom(), 13);
    EXPECT_EQ(rig.layout.blankWidth(), 7);
    EXPECT_EQ(rig.layout.measuringChunk(), 16384 / 13);
    EXPECT_EQ(rig.layout.visibleLineCount(), 11);
    EXPECT_EQ(rig.layout.specialUnderlineY(1), 14 - 2 - 1); // above the line bottom

    rig.layout.setLineHeight(100000);
    EXPECT_EQ(rig.layout.LineHeight(), 65535);
    EXPECT_EQ(rig.layout.lineHeight(), 65535);
    rig.layout.setLineHeight(-1);
    EXPECT_EQ(rig.layout.lineHeight(), 14);
    rig.layout.setLineHeight(30);
    EXPECT_EQ(rig.layout.baseline(), 30 - 3 - 9);   // spare height shared above and below
    EXPECT_EQ(rig.layout.specialUnderlineY(4), 21); // the text bottom
    rig.layout.setLineHeight(12);
    EXPECT_EQ(rig.layout.specialUnderlineY(4), 12 - 7 - 1);

    // The line index and the sub-line remainder survive a change of line height.
    rig.setText(paragraphs(40, "x"));
    rig.layout.setLineHeight(14);
    rig.layout.scrollTo(3 * 14 + 5, 0, 0);
    const int before = rig.window.vScrolled;
    rig.layout.setLineHeight(20);
    EXPECT_EQ(rig.layout.geometry.vertOffset, 3 * 20 + 5);
    EXPECT_EQ(rig.window.vScrolled, before + 1);
}

TEST(LayoutViewTest, LineHeightKeepsPixelPositionsOfLongTextsInRange)
{
    LayoutRig rig;
    rig.open();
    rig.setText(paragraphs(70000, ""));
    rig.layout.setLineHeight(65535);
    const std::int64_t lines = rig.memo.paragraphs().marks().visibleLineCount();
    EXPECT_EQ(rig.layout.lineHeight(), INT32_MAX / 70000);
    EXPECT_LE(lines * rig.layout.lineHeight(), INT32_MAX);
}

TEST(LayoutViewTest, ScrollRangesStayBelowTheScrollBarLimit)
{
    LayoutRig rig;
    rig.open(416, 140);
    rig.setText(paragraphs(30, "x"));
    EXPECT_EQ(rig.layout.verticalRange(), (TScrollRange{1, 420, 137}));

    rig.layout.setWordWrap(false);
    rig.setText(std::string(1000 / 7, 'w') + "\r\nshort");
    const std::int32_t widest = 1000 / 7 * 7;
    EXPECT_EQ(rig.layout.widestLine(), widest);
    EXPECT_EQ(rig.layout.horizontalRange(), (TScrollRange{1, widest + 16 - 416 + 400 - 1, 400}));

    rig.setText(paragraphs(40000, "x"));
    const TScrollRange v = rig.layout.verticalRange();
    EXPECT_EQ(v.unit, 40000 * 14 / 32760 + 1);
    EXPECT_LT(v.max, 32760);
    rig.layout.scrollTo(20000 * 14, 0, 0);
    EXPECT_LT(20000 * 14 / v.unit, 32760);
}

TEST(LayoutViewTest, WithoutAutoScrollBarsTheHorizontalRangeIsOneLarger)
{
    LayoutRig with, without;
    TSourceMemoOptions options = defaultMemoOptions();
    options.reset(smoAutoScrollBars);
    without.memo.setOptions(options);
    with.open();
    without.open();
    EXPECT_EQ(with.layout.horizontalRange().max, with.layout.horizontalRange().page - 1);
    EXPECT_EQ(without.layout.horizontalRange().max, with.layout.horizontalRange().max + 1);
    EXPECT_EQ(without.layout.verticalRange().max, with.layout.verticalRange().max + 1);
}

TEST(LayoutViewTest, NarrowingTheWindowReWrapsAndKeepsTheTopLine)
{
    LayoutRig rig;
    rig.open(416, 140);
    rig.setText(paragraphs(30, "some words that fit one wide line"));
    ASSERT_EQ(rig.memo.LineCount(), 30);
    rig.layout.scrollTo(10 * 14 + 3, 0, 0);

    rig.layout.resize(216, 140); // 200 pixels: two lines per paragraph
    EXPECT_EQ(rig.memo.LineCount(), 60);
    EXPECT_EQ(rig.layout.topLine(), 20);
    EXPECT_EQ(rig.layout.geometry.vertOffset, 20 * 14 + 3);
    checkStoreConsistency(rig.memo.paragraphs());

    // Growing taller at the end of the text pulls the view down so no blank space shows.
    rig.layout.scrollTo(60 * 14 - 140 + 3, 0, 0);
    rig.layout.resize(216, 280);
    EXPECT_EQ(rig.layout.geometry.vertOffset, 60 * 14 - 280 + 3);
}

TEST(LayoutViewTest, CaretIntoViewJumpsByFiveBlanksAndWholeOrFineLines)
{
    LayoutRig rig;
    rig.open(416, 140);
    rig.layout.setWordWrap(false);
    rig.setText(std::string(200, 'w') + "\r\n" + paragraphs(30, "x"));
    TSourceNavigator caret(&rig.memo);
    caret.setPos(100); // x = 8 + 700
    rig.layout.scrollCaretIntoView(caret);
    EXPECT_EQ(rig.layout.geometry.horzOffset, 7 * ((708 - 416) / 35 + 1) * 5);
    caret.setPos(0);
    rig.layout.scrollCaretIntoView(caret);
    EXPECT_EQ(rig.layout.geometry.horzOffset, 0);

    caret.setParNumber(20);
    rig.layout.scrollCaretIntoView(caret);
    EXPECT_EQ(rig.layout.geometry.vertOffset, 20 * 14 + 14 - 140 + 1);
    caret.setParNumber(30); // the last line gets two pixels more
    rig.layout.scrollCaretIntoView(caret);
    EXPECT_EQ(rig.layout.geometry.vertOffset, 30 * 14 + 14 - 140 + 1 + 2);
    caret.setParNumber(2);
    rig.layout.scrollCaretIntoView(caret);
    EXPECT_EQ(rig.layout.geometry.vertOffset, 2 * 14);

    TSourceMemoOptions options = rig.memo.Options();
    options.set(smoNoFineScroll);
    rig.memo.setOptions(options);
    caret.setParNumber(20);
    rig.layout.scrollCaretIntoView(caret);
    EXPECT_EQ(rig.layout.geometry.vertOffset, (20 - 11 + 2) * 14);

    // With word wrap on there is nothing to scroll sideways.
    rig.layout.setWordWrap(true);
    caret.setPos(150);
    rig.layout.scrollCaretIntoView(caret);
    EXPECT_EQ(rig.layout.geometry.horzOffset, 0);
}

TEST(LayoutViewTest, ScrollingAnimatesByEitherLawOrMovesAtOnce)
{
    LayoutRig rig;
    rig.open(416, 140);
    rig.setText(paragraphs(100, "x"));
    rig.clock.step = 7;

    const auto sumOfSteps = [&] {
        std::int32_t sum = 0;
        for (const auto &s : rig.window.scrolls) {
            EXPECT_LT(s.dy, 0); // each step moves towards the goal, never back
            sum -= s.dy;
        }
        return sum;
    };
    rig.window.scrolls.clear();
    rig.layout.scrollTo(700, 0, -100); // linear over 100 ms
    EXPECT_EQ(rig.layout.geometry.vertOffset, 700);
    EXPECT_EQ(sumOfSteps(), 700);
    const std::size_t linearSteps = rig.window.scrolls.size();
    EXPECT_GE(linearSteps, 10u);
    EXPECT_LE(linearSteps, 16u);
    EXPECT_EQ(std::abs(rig.window.scrolls[1].dy - rig.window.scrolls[2].dy) <= 1, true);

    rig.window.scrolls.clear();
    rig.layout.scrollTo(1400, 0, 100); // decelerating
    EXPECT_EQ(rig.layout.geometry.vertOffset, 1400);
    EXPECT_EQ(sumOfSteps(), 700);
    EXPECT_GT(rig.window.scrolls.size(), 2u);
    EXPECT_EQ(rig.window.scrolls.back().dy, -1); // the last steps creep up to the goal

    rig.window.scrolls.clear();
    rig.layout.scrollTo(0, 0, 0);
    ASSERT_EQ(rig.window.scrolls.size(), 1u);
    EXPECT_EQ(rig.window.scrolls[0].dy, 1400);

    // Repeated scrolling within 201 ms of the last scroll moves at once.
    rig.layout.repeatedScrolling = true;
    rig.window.scrolls.clear();
    rig.layout.scrollTo(140, 0, 300);
    EXPECT_EQ(rig.window.scrolls.size(), 1u);

    // Differences beyond 16 bits repaint instead of moving the window contents.
    const int repaints = rig.window.fullRepaints;
    rig.layout.scrollTo(140 + 40000, 0, 0);
    EXPECT_EQ(rig.window.fullRepaints, repaints + 1);
}

TEST(LayoutViewTest, ViewRefreshMovesTheWindowBelowTheChangeAndKeepsTheTopLine)
{
    LayoutRig rig;
    rig.open(416, 140);
    rig.setText(paragraphs(50, "x"));
    rig.window.scrolls.clear();
    rig.memo.setSelStart(2 * 3); // end of paragraph 2
    rig.memo.SetSelTextBuf("\r\n");
    ASSERT_EQ(rig.window.scrolls.size(), 1u);
    EXPECT_EQ(rig.window.scrolls[0].dy, 14);
    EXPECT_EQ(rig.window.scrolls[0].fromY, 4 * 14);

    // An edit above the window moves the offset with the top line; nothing moves on screen.
    rig.layout.scrollTo(20 * 14, 0, 0);
    rig.window.scrolls.clear();
    rig.memo.setSelStart(0);
    rig.memo.SetSelTextBuf("\r\n\r\n");
    EXPECT_EQ(rig.layout.geometry.vertOffset, 22 * 14);
    EXPECT_TRUE(rig.window.scrolls.empty());

    // A background picture must stay aligned: the area is repainted instead.
    rig.layout.scrollTo(0, 0, 0);
    rig.window.picture = true;
    rig.window.scrolls.clear();
    rig.window.repaints.clear();
    rig.memo.setSelStart(0);
    rig.memo.SetSelTextBuf("\r\n");
    EXPECT_TRUE(rig.window.scrolls.empty());
    EXPECT_EQ(rig.window.repaints.front().first, 2);
    checkStoreConsistency(rig.memo.paragraphs());
}

TEST(LayoutViewTest, ASelectionChangeRepaintsTheLinesBetweenItsEnds)
{
    LayoutRig rig;
    rig.open(416, 140);
    rig.setText(paragraphs(10, "xy"));
    rig.memo.setSelStart(1);
    rig.window.repaints.clear();
    rig.memo.setSelLength(4 * 2 + 1); // into paragraph 2
    ASSERT_FALSE(rig.window.repaints.empty());
    EXPECT_EQ(rig.window.repaints.back(), (std::pair<std::int32_t, std::int32_t>{0, 2}));
}

} // namespace
} // namespace velmora::core::testing
