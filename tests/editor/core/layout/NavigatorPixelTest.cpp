// Pixel conversions of navigators: x and y of positions, hit-testing, character widths, with
// tabs, style codes, scrolling, alignment and justification.
#include "editor/core/layout/LayoutTestSupport.h"

#include "editor/core/layout/NavigatorPixels.h"

#include <gtest/gtest.h>

namespace velmora::core::testing
{
namespace
{

TEST(NavigatorPixelTest, PositionsMapToPointsAndBack)
{
    LayoutRig rig;
    rig.open(416, 140);
    rig.setText("ab\tcd efg\r\nsecond");
    TSourceNavigator nav(&rig.memo);
    const auto xAt = [&](std::int32_t pos) {
        nav.setPos(pos);
        return navigatorX(nav, rig.layout);
    };
    EXPECT_EQ(xAt(0), 8);
    EXPECT_EQ(xAt(2), 8 + 14);
    EXPECT_EQ(xAt(3), 8 + 56); // after the tab
    EXPECT_EQ(xAt(9), 8 + 56 + 42);
    nav.setPos(11 + 3);
    EXPECT_EQ(toPoint(nav, rig.layout), (TPixelPoint{8 + 21, 14}));

    rig.layout.scrollTo(10, 20, 0);
    EXPECT_EQ(toPoint(nav, rig.layout), (TPixelPoint{8 + 21 - 20, 14 - 10}));

    // A character counts as passed once x reaches its middle.
    fromPoint(nav, rig.layout, 8 - 20 + 7 + 2, 14 - 10);
    EXPECT_EQ(nav.Pos(), 11 + 1);
    fromPoint(nav, rig.layout, 8 - 20 + 7 + 3, 14 - 10);
    EXPECT_EQ(nav.Pos(), 11 + 2);
    fromPoint(nav, rig.layout, 5000, 0); // right of the line: its end
    EXPECT_EQ(nav.Pos(), 9);
    fromPoint(nav, rig.layout, -100, -500); // above the text: the first line
    EXPECT_EQ(nav.Pos(), 0);
    fromPoint(nav, rig.layout, 0, 200); // below the last line: the text end
    EXPECT_EQ(nav.Pos(), rig.memo.TextLength());
}

TEST(NavigatorPixelTest, WrappedLinesAndCharacterWidths)
{
    LayoutRig rig;
    rig.open(416, 140);
    rig.layout.setColumnWrap(-70);
    rig.memo.paragraphs().StaticFormat = true;
    rig.setText(std::string("aaaaaa bb\x02"
                            "cc dd\tx"));
    TSourceNavigator nav(&rig.memo);
    nav.setPos(7); // the second line starts with bb
    EXPECT_EQ(toPoint(nav, rig.layout), (TPixelPoint{8, 14}));
    EXPECT_EQ(characterWidth(nav, rig.layout), 7);
    nav.setPos(10);
    EXPECT_EQ(navigatorX(nav, rig.layout), 8 + 14); // the code takes no width
    EXPECT_EQ(characterWidth(nav, rig.layout), 9);  // bold
    nav.setPos(9);
    EXPECT_EQ(characterWidth(nav, rig.layout), 0);
    nav.setPos(rig.memo.TextLength());
    EXPECT_EQ(characterWidth(nav, rig.layout), 0);
    nav.setPos(15); // the tab reaches the next stop
    const std::int32_t x = navigatorX(nav, rig.layout) - 8;
    EXPECT_EQ(x, 14 + 18 + 9 + 18);
    EXPECT_EQ(characterWidth(nav, rig.layout), 112 - x);

    fromPoint(nav, rig.layout, 8 + 15, 14); // left of the middle of the bold c
    EXPECT_EQ(nav.Pos(), 10);
    setX(nav, rig.layout, 8 + 14 + 5);
    EXPECT_EQ(nav.Pos(), 11);
}

TEST(NavigatorPixelTest, AlignmentAndJustificationMoveTheLine)
{
    LayoutRig rig;
    rig.open(416, 140);
    rig.setText("abc");
    TSourceNavigator nav(&rig.memo);
    rig.layout.setAlignment(taRightJustify);
    EXPECT_EQ(navigatorX(nav, rig.layout), 416 - 8 - 21);
    rig.layout.setAlignment(taCenter);
    EXPECT_EQ(navigatorX(nav, rig.layout), 8 + (400 - 21) / 2);
    nav.setPos(3);
    setX(nav, rig.layout, 8 + (400 - 21) / 2 + 4);
    EXPECT_EQ(nav.Pos(), 1);

    // Justified lines end at the right margin; the last line of a paragraph is not justified.
    rig.layout.setAlignment(taLeftJustify);
    rig.layout.setJustified(true);
    rig.setText("aa bb cc dd ee ff gg hh ii jj kk ll mm nn oo pp qq rr ss tt uu vv ww xx yy");
    ASSERT_GT(rig.memo.paragraphs().par(0)->lineCount(), 1);
    const LineInfo first = rig.line(0, 0);
    nav.setPos(first.nextLineStart - 1); // after the last word of the first line
    EXPECT_EQ(navigatorX(nav, rig.layout), 416 - 8);
    nav.setPos(3);
    const std::int32_t free = 400 - first.width;
    EXPECT_EQ(navigatorX(nav, rig.layout),
              8 + 21 + free / first.blankCount +
                  (free % first.blankCount / 2 + free % first.blankCount >= first.blankCount));
    nav.setPos(first.nextLineStart + 2);
    rig.layout.setAlignment(taCenter);
    const LineInfo last = rig.line(0, 1);
    EXPECT_EQ(navigatorX(nav, rig.layout), 8 + (400 - last.width) / 2 + 14);
}

} // namespace
} // namespace velmora::core::testing
