// The gutter beside a memo: the bookmark hot keys, toggling, bookmarks that vanish with their
// text, paragraph numbers under word wrap, owner drawing and the memo going away first.
#include "SourceMemoFixture.h"
#include "editor/widget/BookmarkIcons.h"
#include "editor/widget/SourceGutter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

namespace velmora::widget::test
{
namespace
{

class SourceGutterTest : public SourceMemoFixture
{
protected:
    void SetUp() override
    {
        SourceMemoFixture::SetUp();
        gutter = std::make_unique<TSourceGutter>();
        gutter->setColor(kWhite);
        QPalette palette = gutter->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        gutter->setPalette(palette);
        gutter->resize(30, 200);
        gutter->setSourceMemo(memo.get());
        gutter->show();
    }

    void setText(const char *text)
    {
        memo->SetTextBuf(text);
        memo->setSelStart(0);
    }
    // Replaces the characters from..to by text.
    void edit(std::int32_t from, std::int32_t to, const char *text)
    {
        memo->setSelStart(from);
        memo->setSelLength(to - from);
        memo->SetSelTextBuf(text);
    }
    // A Ctrl chord as the keyboard delivers it: without printable text.
    void hotKey(Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        QTest::sendKeyEvent(QTest::Press, memo.get(), key, QString(), modifiers);
        QTest::sendKeyEvent(QTest::Release, memo.get(), key, QString(), modifiers);
    }
    QImage gutterShot() { return gutter->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // A row of the gutter: where the memo's display line stands on screen.
    QRect row(int line)
    {
        const int shift = gutter->mapToGlobal(QPoint()).y() - memo->viewport()->mapToGlobal(QPoint()).y();
        return QRect(0, line * lineHeight() - layout().geometry.vertOffset - shift, gutter->width() - 2, lineHeight());
    }
    // Pixels of a row in the colour of the bookmark icons' body.
    int iconPixels(const QImage &image, int line)
    {
        const QRgb body = TBookmarkIcons::shared()->icon(0).pixel(5, 0);
        return count(image, row(line), [body](QRgb p) { return (p & 0xFFFFFF) == (body & 0xFFFFFF); });
    }
    int inkPixels(const QImage &image, int line)
    {
        return count(image, row(line), [](QRgb p) { return qGray(p) < 128; });
    }

    std::unique_ptr<TSourceGutter> gutter;
};

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
    gutter->SetBookmark(9, 4); // inside "l2": moved to its start
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
    gutter->SetBookmark(4, 0);  // start of "l1"
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
