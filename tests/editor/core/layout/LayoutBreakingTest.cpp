// Line breaking of single paragraphs: words, blanks, tabs, split words, wrap widths, style
// codes and highlight runs.
#include "editor/core/layout/LayoutTestSupport.h"

#include "editor/core/editing/StoreConsistency.h"

#include <gtest/gtest.h>

namespace velmora::core::testing
{
namespace
{

TEST(LayoutBreakingTest, WordsFillLinesGreedilyAndTrailingBlanksStayOnTheirLine)
{
    LayoutRig rig;
    rig.open();
    rig.layout.setColumnWrap(-70); // ten characters of 7 pixels
    rig.setText("aaaa bbbb cccc");
    EXPECT_EQ(rig.breaks(0), (Breaks{{0, 10}, {10, 14}}));
    EXPECT_EQ(rig.line(0, 0).width, 63); // the blank after bbbb is not counted
    EXPECT_EQ(rig.line(0, 0).blankCount, 1);
    EXPECT_EQ(rig.line(0, 1).width, 28);

    rig.setText("aaaa      bbbbbbbb");
    EXPECT_EQ(rig.breaks(0), (Breaks{{0, 10}, {10, 18}}));
    EXPECT_EQ(rig.line(0, 0).width, 28);
    EXPECT_EQ(rig.line(0, 0).blankCount, 0);

    rig.setText("");
    EXPECT_EQ(rig.breaks(0), (Breaks{{0, 0}}));
    EXPECT_EQ(rig.memo.LineCount(), 1);
    checkStoreConsistency(rig.memo.paragraphs());
}

TEST(LayoutBreakingTest, OverlongWordsAreSplitWithAtLeastOneCharacterPerLine)
{
    LayoutRig rig;
    rig.open();
    rig.layout.setColumnWrap(-70);
    rig.setText("abcdefghijklmnopqrstuvwxy and");
    EXPECT_EQ(rig.breaks(0), (Breaks{{0, 10}, {10, 20}, {20, 29}}));
    EXPECT_EQ(rig.line(0, 0).width, 70);

    rig.layout.setColumnWrap(-3); // narrower than one character
    rig.setText("abc");
    EXPECT_EQ(rig.breaks(0), (Breaks{{0, 1}, {1, 2}, {2, 3}}));

    // Column mode: pieces of ColumnWrap characters, whole words up to ColumnWrap.
    rig.layout.setColumnWrap(4);
    rig.setText("abcdefghij ab cd");
    EXPECT_EQ(rig.breaks(0), (Breaks{{0, 4}, {4, 8}, {8, 11}, {11, 14}, {14, 16}}));
    checkStoreConsistency(rig.memo.paragraphs());
}

TEST(LayoutBreakingTest, WrapWidthFollowsColumnWrapAlignmentAndTheNoWrapFlag)
{
    LayoutRig rig;
    rig.open(1016, 140); // 1000 pixels between the margins
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "abcd ";

    rig.layout.setColumnWrap(40); // characters, whatever the font
    rig.setText(std::string(39, 'a') + " bbbbb " + text);
    EXPECT_EQ(rig.line(0, 0).nextLineStart, 40);
    const ParInfo &p = *rig.memo.paragraphs().par(0);
    for (std::int32_t l = 0; l + 1 < p.lineCount(); ++l)
        EXPECT_LE(p.lineInfo(l + 1).lineStart - p.lineInfo(l).lineStart, 41);

    rig.layout.setColumnWrap(-300); // pixels, whatever the window
    rig.setText(text);
    for (std::int32_t l = 0; l + 1 < rig.memo.paragraphs().par(0)->lineCount(); ++l) {
        EXPECT_LE(rig.line(0, l).width, 300);
        EXPECT_GT(rig.line(0, l).width + 7 + 28, 300); // the next word did not fit
    }

    rig.layout.setColumnWrap(0);
    rig.layout.setWordWrap(false);
    rig.setText(text + text + text);
    EXPECT_EQ(rig.memo.paragraphs().par(0)->lineCount(), 1);
    rig.layout.setAlignment(taCenter); // wraps at the window width though word wrap is off
    EXPECT_EQ(rig.memo.paragraphs().par(0)->lineCount(), 4);
    EXPECT_LE(rig.line(0, 0).width, 1000);

    rig.memo.paragraphs().par(0)->flags |= pfNoWrap;
    rig.layout.relayoutAll();
    EXPECT_EQ(rig.memo.paragraphs().par(0)->lineCount(), 1);
    checkStoreConsistency(rig.memo.paragraphs());
}

TEST(LayoutBreakingTest, TabsAdvanceToStopsAndRestartTheJustifiedBlanks)
{
    LayoutRig rig;
    rig.open();
    rig.setText("a\tb");
    EXPECT_EQ(rig.line(0, 0).width, 56 + 7); // stops every 8 blanks of 7 pixels
    rig.layout.setTabStops(-50);
    EXPECT_EQ(rig.line(0, 0).width, 57);
    rig.layout.setTabStops(0);
    EXPECT_EQ(rig.line(0, 0).width, 14);
    rig.layout.setTabStops(1);
    rig.setText("a\t\tb");
    EXPECT_EQ(rig.line(0, 0).width, 28);

    // Blank counts: only blanks after the last tab, without trailing ones; last lines none.
    rig.layout.setTabStops(8);
    rig.layout.setColumnWrap(-140);
    rig.setText("a b\tc d e fffffffff");
    EXPECT_EQ(rig.breaks(0), (Breaks{{0, 10}, {10, 19}}));
    EXPECT_EQ(rig.line(0, 0).blankCount, 2);
    EXPECT_EQ(rig.line(0, 0).justifyFrom, 4);
    EXPECT_EQ(rig.line(0, 1).blankCount, 0);
    EXPECT_EQ(rig.line(0, 1).justifyFrom, 19);
}

TEST(LayoutBreakingTest, WordWrapCharsEndWords)
{
    LayoutRig rig;
    rig.open();
    rig.layout.setColumnWrap(-70);
    rig.setText("aaaa,bbbbbb");
    EXPECT_EQ(rig.breaks(0), (Breaks{{0, 10}, {10, 11}})); // split, no break character
    rig.layout.setWordWrapChars(",");
    EXPECT_EQ(rig.breaks(0), (Breaks{{0, 5}, {5, 11}}));
    rig.layout.setWordWrapChars(";,");
    rig.setText("aa;bb,cccccc");
    EXPECT_EQ(rig.breaks(0), (Breaks{{0, 6}, {6, 12}}));
}

TEST(LayoutBreakingTest, StyleCodesAndHighlightRunsChooseTheMeasuringFont)
{
    LayoutRig rig;
    rig.open();
    rig.setText(std::string("ab\x02"
                            "cd\x04"
                            "e"));
    EXPECT_EQ(rig.line(0, 0).width, 7 * 7); // codes are characters without StaticFormat

    rig.memo.paragraphs().StaticFormat = true;
    rig.layout.relayoutAll();
    EXPECT_EQ(rig.line(0, 0).width, 7 + 7 + 9 + 9 + 13); // bold, then bold AltFont

    rig.layout.fontChanged(0x01); // a bold Font: code 2 switches bold off
    EXPECT_EQ(rig.line(0, 0).width, 9 + 9 + 7 + 7 + 11);
    rig.layout.fontChanged(0);

    // A run with attributes decides alone; bits 3 and 4 together are no font style.
    rig.memo.paragraphs().StaticFormat = false;
    rig.setText("abcdef");
    ParInfo &p = *rig.memo.paragraphs().par(0);
    RunInfo alt;
    alt.position = 2;
    alt.style = 0x80 | 0x20;
    RunInfo plain;
    plain.position = 4;
    plain.style = 0x80 | 0x18 | 0x01;
    p.runs() = {alt, plain};
    rig.layout.relayoutAll();
    EXPECT_EQ(rig.line(0, 0).width, 7 + 7 + 11 + 11 + 9 + 9);

    // Style state carried into continuation lines.
    rig.memo.paragraphs().StaticFormat = true;
    rig.layout.setColumnWrap(-70);
    rig.setText(std::string("\x02"
                            "aaaa bbbbbbb"));
    EXPECT_EQ(rig.line(0, 1).startStyle, 0x01);
    EXPECT_EQ(rig.line(0, 1).width, 63);
}

} // namespace
} // namespace velmora::core::testing
