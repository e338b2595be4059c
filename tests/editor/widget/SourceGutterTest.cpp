// The gutter beside a memo: the bookmark hot keys, toggling, bookmarks that vanish with their
// text, paragraph numbers under word wrap, owner drawing and the memo going away first.
#include "SourceGutterFixture.h"

#include "editor/widget/BookmarkIcons.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

namespace velmora::widget::test
{
namespace
{

using SourceGutterTest = SourceGutterFixture;

TEST_F(SourceGutterTest, CtrlShiftDigitSetsAndCtrlDigitReturnsAfterTextWasInsertedAbove)
{
    setText("aaa\r\nbbb\r\nccc");
    memo->setSelStart(6);
    hotKey(Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(gutter->BookmarkLine(3), 1);
    EXPECT_EQ(gutter->BookmarkAt(1), 3);

    edit(0, 0, "xx\r\n");
    memo->setSelStart(0);
    hotKey(Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(memo->SelStart(), 10) << "the bookmark moved with the text inserted above it";
    EXPECT_EQ(gutter->BookmarkLine(3), 2);

    // Alt with the keys, an unset slot and hot keys switched off do nothing.
    memo->setSelStart(0);
    hotKey(Qt::Key_4, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    hotKey(Qt::Key_7, Qt::ControlModifier);
    EXPECT_EQ(gutter->BookmarkLine(4), -1);
    EXPECT_EQ(memo->SelStart(), 0);

    // Under Shift the layout reports the symbol on the key; its place in the digit row counts.
    QKeyEvent numberSign(QEvent::KeyPress, Qt::Key_NumberSign, Qt::ControlModifier | Qt::ShiftModifier, 19, 0, 0);
    QApplication::sendEvent(memo.get(), &numberSign);
    EXPECT_EQ(gutter->BookmarkLine(0), 0);

    gutter->setBookmarks(false);
    hotKey(Qt::Key_5, Qt::ControlModifier | Qt::ShiftModifier);
    hotKey(Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(gutter->BookmarkLine(5), -1);
    EXPECT_EQ(memo->SelStart(), 0);
}

TEST_F(SourceGutterTest, ToggleOnlyOwnOrFreeLinesAndIgnoresNumbersOutsideTheTen)
{
    setText("one\r\ntwo\r\nthree");
    EXPECT_TRUE(gutter->ToggleBookmark(1, 2));
    EXPECT_FALSE(gutter->ToggleBookmark(1, 5)) << "line 1 holds bookmark 2";
    EXPECT_EQ(gutter->BookmarkLine(5), -1);
    EXPECT_EQ(gutter->BookmarkAt(1), 2);

    // Toggling a set bookmark on another free line moves it there, at the line's start.
    EXPECT_TRUE(gutter->ToggleBookmark(2, 2));
    EXPECT_EQ(gutter->BookmarkAt(1), -1);
    memo->setSelStart(0);
    hotKey(Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(memo->SelStart(), 10);

    EXPECT_TRUE(gutter->ToggleBookmark(2, 2));
    EXPECT_EQ(gutter->BookmarkLine(2), -1);

    EXPECT_FALSE(gutter->ToggleBookmark(0, 10));
    EXPECT_FALSE(gutter->ToggleBookmark(0, -1));
    EXPECT_FALSE(gutter->ToggleBookmark(-1, 3));
    EXPECT_EQ(gutter->BookmarkLine(3), -1);
    gutter->SetBookmark(0, 11);
    EXPECT_EQ(gutter->BookmarkLine(10), -1);
    EXPECT_EQ(gutter->BookmarkAt(0), -1);

    gutter->SetBookmark(1, 0);
    gutter->SetBookmark(7, 9);
    gutter->ClearBookmarks();
    EXPECT_EQ(gutter->BookmarkLine(0), -1);
    EXPECT_EQ(gutter->BookmarkLine(9), -1);
}

TEST_F(SourceGutterTest, WithoutKeepBookmarksDeletingTheLineRemovesBookmarkAndIcon)
{
    setText("l0\r\nl1\r\nl2\r\nl3\r\nl4");
    gutter->setKeepBookmarks(false);
    gutter->SetBookmark(9, 4);  // inside "l2": moved to its start
    gutter->SetBookmark(13, 6); // "l3"
    EXPECT_EQ(gutter->BookmarkLine(4), 2);
    const QImage before = gutterShot();
    EXPECT_GT(iconPixels(before, 2), 0);

    edit(8, 12, ""); // "l2" and its break
    EXPECT_EQ(gutter->BookmarkLine(4), -1);
    EXPECT_EQ(gutter->BookmarkLine(6), 2) << "a line start exactly at the range's end survives";
    const QImage after = gutterShot();
    EXPECT_NE(before.copy(row(3)), after.copy(row(3)));

    // Deleting the rest of "l1" from its middle takes no bookmark at a line start with it.
    edit(5, 8, "");
    EXPECT_EQ(gutter->BookmarkLine(6), 1);
    edit(4, 9, "");
    EXPECT_EQ(gutter->BookmarkLine(6), -1);
    const QImage cleared = gutterShot();
    EXPECT_EQ(iconPixels(cleared, 1) + iconPixels(cleared, 2), 0);
}

TEST_F(SourceGutterTest, KeptBookmarksMoveToTheEditPointAndStayAtTheirColumn)
{
    setText("l0\r\nl1\r\nlong line");
    gutter->SetBookmark(9, 1); // column 1 of "long line"
    gutter->SetBookmark(4, 0); // start of "l1"
    edit(4, 8, "");
    EXPECT_EQ(gutter->BookmarkLine(0), 1) << "at a line start: follows the end of the edit";
    EXPECT_EQ(gutter->BookmarkLine(1), 1);
    memo->setSelStart(0);
    hotKey(Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(memo->SelStart(), 5);

    gutter->setKeepBookmarks(false);
    hotKey(Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(memo->SelStart(), 4) << "switching off moves bookmarks to their line starts";
}

TEST_F(SourceGutterTest, ParagraphNumbersLeaveContinuationLinesBlank)
{
    memo->setWordWrap(true);
    setText("first paragraph that is long enough to wrap across several display lines here\r\nsecond");
    ASSERT_GE(memo->LineCount(), 3);
    const int last = memo->LineCount() - 1;

    gutter->setParagraphNumbers(true);
    QImage image = gutterShot();
    EXPECT_GT(inkPixels(image, 0), 0);
    for (int line = 1; line < last; ++line)
        EXPECT_EQ(inkPixels(image, line), 0) << line;
    EXPECT_GT(inkPixels(image, last), 0);

    gutter->setParagraphNumbers(false);
    image = gutterShot();
    EXPECT_GT(inkPixels(image, 1), 0) << "line numbers count every display line";
}

TEST_F(SourceGutterTest, OwnerDrawingGetsEveryRowWithWhatThePreviousRowLeft)
{
    setText("a\r\nb\r\nc");
    gutter->SetBookmark(0, 1);
    std::vector<std::pair<int, QString>> calls;
    gutter->OnDrawItem = [&calls](TSourceGutter &, std::int32_t line, QString &text, QImage &) {
        calls.emplace_back(line, text);
        text = QString::number(line * 10);
    };
    gutterShot();
    using Call = std::pair<int, QString>;
    EXPECT_EQ(calls, (std::vector<Call>{{0, ""}, {1, "0"}, {2, "10"}})) << "a bookmark row is owner-drawn too";

    // An empty last line has a row unless the gutter counts as the Lines list does.
    setText("a\r\nb\r\n");
    calls.clear();
    gutterShot();
    EXPECT_EQ(calls.size(), 3u);
    gutter->setIgnoreLastLineIfEmpty(true);
    calls.clear();
    gutterShot();
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(SourceGutterTest, IconsStandByAlignmentInTheAreaLeftOfTheEdge)
{
    setText("a");
    gutter->SetBookmark(0, 0);
    const auto iconLeft = [this] {
        const QImage image = gutterShot();
        const QRgb body = TBookmarkIcons::shared()->icon(0).pixel(5, 0);
        for (int x = 0; x < image.width(); ++x)
            if (count(image, QRect(x, row(0).top(), 1, lineHeight()), [body](QRgb p) { return p == body; }) > 0)
                return x;
        return -1;
    };
    EXPECT_EQ(iconLeft(), (28 - TBookmarkIcons::kSize) / 2) << "centred by default";
    gutter->setAlignment(core::taLeftJustify);
    EXPECT_EQ(iconLeft(), 2);
    gutter->setAlignment(core::taRightJustify);
    EXPECT_EQ(iconLeft(), 28 - TBookmarkIcons::kSize);
}

TEST_F(SourceGutterTest, ClickNeedsPressAndReleaseInsideTheGutter)
{
    int clicks = 0;
    int doubleClicks = 0;
    gutter->OnClick = [&clicks](TSourceGutter &) { ++clicks; };
    gutter->OnDblClick = [&doubleClicks](TSourceGutter &) { ++doubleClicks; };
    QTest::mouseClick(gutter.get(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(gutter.get(), Qt::RightButton, {}, QPoint(5, 5));
    QTest::mousePress(gutter.get(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(gutter.get(), Qt::LeftButton, {}, QPoint(50, 5));
    EXPECT_EQ(clicks, 1);
    QTest::mouseDClick(gutter.get(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(doubleClicks, 1);
}

TEST_F(SourceGutterTest, MemoDestroyedFirstLeavesAGutterThatOnlyPaintsItsBackground)
{
    setText("a\r\nb");
    gutter->SetBookmark(3, 2);
    memo.reset();
    EXPECT_EQ(gutter->SourceMemo(), nullptr);
    EXPECT_EQ(gutter->BookmarkLine(2), -1);
    EXPECT_FALSE(gutter->ToggleBookmark(0, 1));
    const QImage image = gutterShot();
    EXPECT_EQ(count(image, QRect(0, 0, 28, 200), [](QRgb p) { return (p & 0xFFFFFF) != 0xFFFFFF; }), 0);
}

} // namespace
} // namespace velmora::widget::test
