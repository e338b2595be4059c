// The gutter's breakpoints and execution line: toggling by call and by click, following edits
// (merging on a join), the change callback, and the circle, arrow and memo band on the right
// rows with and without word wrap.
#include "SourceGutterFixture.h"

#include <vector>

namespace velmora::widget::test
{
namespace
{

using Lines = std::vector<std::int32_t>;

class SourceGutterBreakpoints : public SourceGutterFixture
{
protected:
    void SetUp() override
    {
        SourceGutterFixture::SetUp();
        gutter->OnBreakpointsChanged = [this](TSourceGutter &sender) {
            EXPECT_EQ(&sender, gutter.get());
            reported.push_back(sender.BreakpointLines());
        };
    }
    int redPixels(const QImage &image, int line) { return countColour(image, row(line), clBreakpoint); }
    int arrowPixels(const QImage &image, int line) { return countColour(image, row(line), clExecutionArrow); }
    // The pixels of a memo row in the execution band's colour.
    int bandPixels(const QImage &image, int line) { return countColour(image, lineRect(line), clExecutionBand); }
    void click(int line) { QTest::mouseClick(gutter.get(), Qt::LeftButton, {}, row(line).center()); }

    // What OnBreakpointsChanged saw, one entry a call.
    std::vector<Lines> reported;
};

TEST_F(SourceGutterBreakpoints, ToggleSetAndClearKeepOneSortedEntryPerParagraphAndReportEachChange)
{
    setText("l0\r\nl1\r\nl2\r\nl3\r\nl4");
    EXPECT_TRUE(gutter->ToggleBreakpoint(3));
    EXPECT_TRUE(gutter->ToggleBreakpoint(1));
    EXPECT_EQ(gutter->BreakpointLines(), (Lines{1, 3}));
    EXPECT_TRUE(gutter->HasBreakpoint(1));
    EXPECT_FALSE(gutter->HasBreakpoint(2));
    EXPECT_TRUE(gutter->ToggleBreakpoint(3));
    EXPECT_EQ(reported, (std::vector<Lines>{{3}, {1, 3}, {1}}));

    // Lines outside the text change nothing.
    EXPECT_FALSE(gutter->ToggleBreakpoint(-1));
    EXPECT_FALSE(gutter->ToggleBreakpoint(5));
    EXPECT_FALSE(gutter->HasBreakpoint(5));
    EXPECT_EQ(reported.size(), 3u);

    // Duplicates merge, paragraphs outside the text are skipped; the same list again is no change.
    gutter->SetBreakpointLines({4, 0, 4, 9, -2});
    EXPECT_EQ(gutter->BreakpointLines(), (Lines{0, 4}));
    gutter->SetBreakpointLines({0, 4});
    gutter->ClearBreakpoints();
    gutter->ClearBreakpoints();
    EXPECT_EQ(reported, (std::vector<Lines>{{3}, {1, 3}, {1}, {0, 4}, {}}));
    EXPECT_FALSE(gutter->HasBreakpoint(0));
}

TEST_F(SourceGutterBreakpoints, BreakpointsFollowLinesInsertedAndDeletedAbove)
{
    setText("l0\r\nl1\r\nl2\r\nl3");
    gutter->SetBreakpointLines({2});
    edit(0, 0, "a\r\nb\r\n");
    EXPECT_EQ(gutter->BreakpointLines(), (Lines{4}));
    edit(0, 6, "");
    edit(4, 8, ""); // "l1" with its break
    EXPECT_EQ(gutter->BreakpointLines(), (Lines{1}));
    EXPECT_EQ(reported, (std::vector<Lines>{{2}, {4}, {2}, {1}}));

    // A break typed at the line's start takes it down with its text; typing there keeps it.
    edit(4, 4, "\r\n");
    EXPECT_EQ(gutter->BreakpointLines(), (Lines{2}));
    edit(6, 6, "x");
    EXPECT_EQ(gutter->BreakpointLines(), (Lines{2}));
    EXPECT_EQ(reported.size(), 5u) << "an edit that moves no breakpoint is not reported";
}

TEST_F(SourceGutterBreakpoints, DeletingTheLineTextRemovesItsBreakpointAndJoiningMerges)
{
    setText("l0\r\nl1\r\nl2\r\nl3");
    gutter->SetBreakpointLines({1, 2, 3});
    edit(4, 6, ""); // the text of "l1"; its empty line stays
    EXPECT_EQ(gutter->BreakpointLines(), (Lines{2, 3}));
    EXPECT_EQ(reported.back(), (Lines{2, 3}));

    // Joining "l2" to "l3" leaves one breakpoint on the joined line.
    edit(8, 10, "");
    EXPECT_EQ(memo->Paragraphs().Count(), 3);
    EXPECT_EQ(gutter->BreakpointLines(), (Lines{2}));
    EXPECT_EQ(reported.back(), (Lines{2}));

    // A join from the empty line onto the breakpoint line below: the breakpoint moves up with it.
    edit(4, 6, "");
    EXPECT_EQ(gutter->BreakpointLines(), (Lines{1}));

    // Undoing the join takes the breakpoint down with its text again.
    memo->Undo();
    EXPECT_EQ(gutter->BreakpointLines(), (Lines{2}));
}

TEST_F(SourceGutterBreakpoints, ClickTogglesOnlyWhenSwitchedOnAndStillFiresOnClick)
{
    setText("a\r\nb\r\nc");
    int clicks = 0;
    gutter->OnClick = [&clicks](TSourceGutter &) { ++clicks; };
    click(1);
    EXPECT_TRUE(gutter->BreakpointLines().empty()) << "off by default";

    gutter->setBreakpoints(true);
    click(1);
    EXPECT_EQ(gutter->BreakpointLines(), (Lines{1}));
    click(2);
    click(1);
    EXPECT_EQ(gutter->BreakpointLines(), (Lines{2}));
    click(6); // below the text
    QTest::mouseClick(gutter.get(), Qt::RightButton, {}, row(0).center());
    EXPECT_EQ(gutter->BreakpointLines(), (Lines{2}));
    EXPECT_EQ(clicks, 5);
}

TEST_F(SourceGutterBreakpoints, CircleArrowAndBookmarkShareARowInTheirOwnPlaces)
{
    setText("l0\r\nl1\r\nl2\r\nl3");
    const QImage plain = gutterShot();
    gutter->SetBreakpointLines({1, 2});
    gutter->ToggleBookmark(1, 4);
    gutter->SetExecutionLine(2);
    const QImage image = gutterShot();

    EXPECT_GT(redPixels(image, 1), 20);
    EXPECT_GT(iconPixels(image, 1), 20) << "the bookmark stays visible beside the circle";
    EXPECT_EQ(arrowPixels(image, 1), 0);
    EXPECT_GT(arrowPixels(image, 2), 10);
    EXPECT_GT(redPixels(image, 2), 0) << "the circle shows around the arrow";
    for (int line : {0, 3}) {
        EXPECT_EQ(redPixels(image, line) + arrowPixels(image, line), 0) << line;
        EXPECT_GT(inkPixels(image, line), 0) << "line number " << line;
    }
    EXPECT_EQ(redPixels(plain, 1) + arrowPixels(plain, 2), 0);

    // The marks scale with the row height.
    const int small = redPixels(image, 1);
    memo->setLineHeight(2 * lineHeight());
    EXPECT_GT(redPixels(gutterShot(), 1), 2 * small);

    gutter->ClearBreakpoints();
    gutter->SetExecutionLine(-1);
    const QImage cleared = gutterShot();
    EXPECT_EQ(redPixels(cleared, 1) + redPixels(cleared, 2) + arrowPixels(cleared, 2), 0);
}

TEST_F(SourceGutterBreakpoints, ExecutionLineBandsTheMemoLineAndScrollsNothing)
{
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    setText(text.c_str());
    gutter->SetExecutionLine(1);
    EXPECT_EQ(memo->markedLine(), 1);
    QImage image = shot();
    EXPECT_GT(bandPixels(image, 1), lineRect(1).width() * lineHeight() / 2);
    EXPECT_EQ(bandPixels(image, 0) + bandPixels(image, 2), 0);

    gutter->SetExecutionLine(30);
    EXPECT_EQ(layout().geometry.vertOffset, 0);
    EXPECT_EQ(bandPixels(shot(), 1), 0);

    // A gutter leaving the memo takes the band with it.
    gutter->setSourceMemo(nullptr);
    EXPECT_EQ(memo->markedLine(), -1);
}

TEST_F(SourceGutterBreakpoints, ExecutionBandColourRecoloursTheBandWhereItIsAndFollowsTheLine)
{
    setText("l0\r\nl1\r\nl2\r\nl3");
    constexpr std::int32_t kDarkBlue = 0x603800;
    const int half = lineRect(1).width() * lineHeight() / 2;
    gutter->SetExecutionLine(1);
    gutter->SetExecutionBand(kDarkBlue);
    QImage image = shot();
    EXPECT_GT(countColour(image, lineRect(1), kDarkBlue), half);
    EXPECT_EQ(bandPixels(image, 1), 0);

    gutter->SetExecutionLine(2);
    image = shot();
    EXPECT_GT(countColour(image, lineRect(2), kDarkBlue), half);
    EXPECT_EQ(countColour(image, lineRect(1), kDarkBlue), 0);
    EXPECT_EQ(gutter->ExecutionBand(), kDarkBlue);
}

TEST_F(SourceGutterBreakpoints, WrappedParagraphShowsMarksOnItsFirstRowAndTheBandOnAllRows)
{
    memo->setWordWrap(true);
    setText("first paragraph that is long enough to wrap across several display lines here\r\nsecond");
    ASSERT_GE(memo->LineCount(), 3);
    const int last = memo->LineCount() - 1;

    EXPECT_TRUE(gutter->ToggleBreakpoint(1)) << "a continuation row stands for its paragraph";
    EXPECT_EQ(gutter->BreakpointLines(), (Lines{0}));
    EXPECT_TRUE(gutter->HasBreakpoint(last - 1));
    EXPECT_FALSE(gutter->HasBreakpoint(last));
    gutter->ToggleBreakpoint(last);
    EXPECT_EQ(gutter->BreakpointLines(), (Lines{0, 1}));
    gutter->SetExecutionLine(0);

    QImage image = gutterShot();
    EXPECT_GT(redPixels(image, 0), 0);
    EXPECT_GT(arrowPixels(image, 0), 0);
    EXPECT_GT(redPixels(image, last), 0);
    for (int line = 1; line < last; ++line)
        EXPECT_EQ(redPixels(image, line) + arrowPixels(image, line), 0) << line;
    QImage band = shot();
    for (int line = 0; line < last; ++line)
        EXPECT_GT(bandPixels(band, line), lineRect(line).width() * lineHeight() / 2) << line;
    EXPECT_EQ(bandPixels(band, last), 0);

    // Without wrap the paragraph is one row: the marks follow to the rows that now hold them.
    memo->setWordWrap(false);
    image = gutterShot();
    EXPECT_GT(redPixels(image, 1), 0);
    EXPECT_EQ(redPixels(image, last), 0);
    band = shot();
    EXPECT_GT(bandPixels(band, 0), 0);
    EXPECT_EQ(bandPixels(band, 1), 0);
}

TEST_F(SourceGutterBreakpoints, MemoDestroyedFirstFreesBreakpointsWithoutAReport)
{
    setText("a\r\nb");
    gutter->SetBreakpointLines({0, 1});
    reported.clear();
    memo.reset();
    EXPECT_TRUE(gutter->BreakpointLines().empty());
    EXPECT_FALSE(gutter->ToggleBreakpoint(0));
    EXPECT_FALSE(gutter->HasBreakpoint(0));
    EXPECT_TRUE(reported.empty());
}

} // namespace
} // namespace velmora::widget::test
