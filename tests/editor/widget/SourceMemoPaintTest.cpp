// Pixels of the painted control: selections, highlighter and keyword colours, the marks,
// the tiled background, justification and painting onto an outside canvas.
#include "SourceMemoFixture.h"

#include "editor/core/highlight/NumberHighlighter.h"
#include "editor/core/keyfiles/KeyInfo.h"

#include <QPainter>

#include <string>

using namespace velmora;
using namespace velmora::widget;
using velmora::widget::test::kBlack;
using velmora::widget::test::kWhite;
using velmora::widget::test::SourceMemoFixture;

namespace
{

constexpr std::int32_t kBlue = 0xFF0000;
constexpr std::int32_t kGreen = 0x00C000;
constexpr std::int32_t kRed = 0x0000FF;

bool dark(QRgb p)
{
    return qGray(p) < 96;
}

// The rightmost column of rect holding a pixel that passes test, or -1.
int rightmost(const QImage &image, const QRect &rect, bool (*test)(QRgb))
{
    for (int x = rect.right(); x >= rect.left(); --x)
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            if (test(image.pixel(x, y)))
                return x;
    return -1;
}

} // namespace

class SourceMemoPaint : public SourceMemoFixture
{
};

TEST_F(SourceMemoPaint, SelectionIsInvertedOrDrawnInTheSelectionColours)
{
    memo->SetTextBuf("mmmm mmmm\r\nsecond");
    memo->setSelStart(0);
    memo->setSelLength(4);
    const std::int32_t m4 = memo->measurer().textWidth("mmmm", 0);
    const QRect selected(memo->LeftMargin(), 0, m4, lineHeight());
    const QRect after(memo->LeftMargin() + m4 + 2, 0, memo->measurer().textWidth(" mmmm", 0) - 4, lineHeight());

    // Inverted: the white ground turns black, the black text white.
    QImage image = shot();
    EXPECT_GT(countColour(image, selected, kBlack), selected.width() * selected.height() / 2);
    EXPECT_LT(countColour(image, after, kBlack), after.width() * after.height() / 2);

    core::TSourceMemoOptions options = memo->Options();
    options.set(core::smoWindowsSelColors);
    memo->setOptions(options);
    memo->setSelBackColor(kGreen);
    memo->setSelTextColor(kRed);
    image = shot();
    EXPECT_GT(countColour(image, selected, kGreen), selected.width() * selected.height() / 2);
    EXPECT_GT(countColour(image, selected, kRed), 0);
    EXPECT_EQ(countColour(image, after, kGreen), 0);
    EXPECT_EQ(countColour(image, after, kRed), 0);

    // A hidden selection shows nothing without the focus.
    memo->setHideSelection(true);
    image = shot();
    EXPECT_EQ(countColour(image, selected, kGreen), 0);
}

TEST_F(SourceMemoPaint, SelectedParagraphEndShowsTheHalfBlankBlock)
{
    core::TSourceMemoOptions options = memo->Options();
    options.set(core::smoWindowsSelColors);
    memo->setOptions(options);
    memo->setSelBackColor(kGreen);
    memo->SetTextBuf("ab\r\ncd");
    memo->setSelStart(0);
    memo->setSelLength(5);
    const int textEnd = memo->LeftMargin() + memo->measurer().textWidth("ab", 0);
    const int blockWidth = layout().blankWidth() / 2 + 1;
    const QRect block(textEnd, lineHeight() / 3, blockWidth, lineHeight() / 3);
    EXPECT_EQ(countColour(shot(), block, kGreen), block.width() * block.height());
    memo->setShowEndParSelected(false);
    EXPECT_EQ(countColour(shot(), block, kGreen), 0);
    // With the whole line selected the selection reaches the window's right edge instead.
    options.set(core::smoFullLineSelect);
    memo->setOptions(options);
    const QRect right(memo->viewport()->width() - 20, 2, 10, lineHeight() - 4);
    EXPECT_EQ(countColour(shot(), right, kGreen), right.width() * right.height());
}

TEST_F(SourceMemoPaint, KeywordIsDrawnBoldInItsColour)
{
    memo->Keywords().AddKeyword("mov", core::kOptWholeWords, core::kStyleBold, 1, 0, core::clNone, kBlue);
    memo->SetTextBuf("mov ax\r\nmove");
    const QRect word(memo->LeftMargin(), 0, memo->measurer().textWidth("mov", 1), lineHeight());
    const QImage bold = shot();
    const int boldInk = countColour(bold, word, kBlue);
    EXPECT_GT(boldInk, 0);
    // "ax" and the longer word "move" keep the font colour.
    const QRect rest(word.right() + 1, 0, 200, lineHeight());
    EXPECT_EQ(countColour(bold, rest, kBlue), 0);
    EXPECT_EQ(countColour(bold, lineRect(1), kBlue), 0);
    EXPECT_GT(count(bold, lineRect(1), dark), 0);

    memo->Keywords().Clear();
    memo->Keywords().AddKeyword("mov", core::kOptWholeWords, 0, 1, 0, core::clNone, kBlue);
    memo->ReApplyKeywords();
    const int plainInk = countColour(shot(), word, kBlue);
    EXPECT_GT(plainInk, 0);
    EXPECT_GT(boldInk, plainInk);
}

TEST_F(SourceMemoPaint, NumbersTakeTheNumberColourOnlyWhileHighlighted)
{
    core::TNumberHighlighter numbers;
    numbers.setForeground(kGreen);
    memo->setHighlighter(&numbers);
    memo->SetTextBuf("x 1234");
    const int from = memo->LeftMargin() + memo->measurer().textWidth("x ", 0);
    const QRect number(from, 0, memo->measurer().textWidth("1234", 0), lineHeight());
    const QRect letter(memo->LeftMargin(), 0, from - memo->LeftMargin(), lineHeight());
    QImage image = shot();
    EXPECT_GT(countColour(image, number, kGreen), 0);
    EXPECT_EQ(countColour(image, letter, kGreen), 0);

    memo->setHighlighter(nullptr);
    memo->ReApplyKeywords();
    image = shot();
    EXPECT_EQ(countColour(image, number, kGreen), 0);
    EXPECT_GT(countColour(image, number, kBlack), 0);
}

TEST_F(SourceMemoPaint, HighlightBitUsesTheHighlightColoursButSelectionTextWins)
{
    memo->Keywords().AddKeyword("hot", core::kOptWholeWords, core::kStyleHighlight, 1, 0, core::clNone, core::clNone);
    memo->setHighlightColor(kRed);
    memo->setHighlightBackgnd(kGreen);
    memo->SetTextBuf("hot");
    const QRect word(memo->LeftMargin(), 0, memo->measurer().textWidth("hot", 0), lineHeight());
    QImage image = shot();
    EXPECT_GT(countColour(image, word, kGreen), word.width() * word.height() / 2);
    EXPECT_GT(countColour(image, word, kRed), 0);

    core::TSourceMemoOptions options = memo->Options();
    options.set(core::smoWindowsSelColors);
    memo->setOptions(options);
    memo->setSelBackColor(kWhite);
    memo->setSelTextColor(kBlue);
    memo->SelectAll();
    image = shot();
    EXPECT_EQ(countColour(image, word, kRed), 0);
    EXPECT_GT(countColour(image, word, kBlue), 0);
}

TEST_F(SourceMemoPaint, MarkedLineLiesBehindTheTextAndUnderTheSelection)
{
    memo->SetTextBuf("mmmm mmmm\r\nsecond\r\nthird");
    const int area = lineRect(0).width() * lineHeight();
    memo->setMarkedLine(0, kGreen);
    QImage image = shot();
    EXPECT_GT(countColour(image, lineRect(0), kGreen), area / 2);
    EXPECT_GT(countColour(image, lineRect(0), kBlack), 0) << "the text stays on the band";
    EXPECT_EQ(countColour(image, lineRect(1), kGreen), 0);

    // The selection's colours win over the band where it lies.
    core::TSourceMemoOptions options = memo->Options();
    options.set(core::smoWindowsSelColors);
    memo->setOptions(options);
    memo->setSelBackColor(kBlue);
    memo->setSelStart(0);
    memo->setSelLength(4);
    const QRect selected(memo->LeftMargin(), 0, memo->measurer().textWidth("mmmm", 0), lineHeight());
    image = shot();
    EXPECT_EQ(countColour(image, selected, kGreen), 0);
    EXPECT_GT(countColour(image, selected, kBlue), selected.width() * selected.height() / 2);
    EXPECT_GT(countColour(image, lineRect(0), kGreen), area / 2);

    // Another paragraph moves the band, another colour recolours it, -1 ends it.
    memo->setMarkedLine(2, kGreen);
    memo->setMarkedLine(2, kRed);
    image = shot();
    EXPECT_EQ(countColour(image, lineRect(0), kGreen), 0);
    EXPECT_GT(countColour(image, lineRect(2), kRed), area / 2);
    memo->setMarkedLine(-1, kRed);
    EXPECT_EQ(memo->markedLine(), -1);
    EXPECT_EQ(countColour(shot(), lineRect(2), kRed), 0);
}

TEST_F(SourceMemoPaint, EndOfTextMarkLiesBelowTheLastLineWhileItIsInView)
{
    memo->setEndOfTextMark({kRed, 0, Qt::SolidLine});
    memo->SetTextBuf("one\r\ntwo");
    const int y = 2 * lineHeight();
    QImage image = shot();
    EXPECT_EQ(countColour(image, QRect(0, y, image.width(), 1), kRed), image.width());
    EXPECT_EQ(countColour(image, QRect(0, 0, image.width(), y), kRed), 0);

    memo->setEndOfTextMark({-1, 0, Qt::SolidLine});
    EXPECT_EQ(countColour(shot(), QRect(0, y, image.width(), 1), kRed), 0);

    memo->setEndOfTextMark({kRed, 0, Qt::SolidLine});
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "line\r\n";
    memo->SetTextBuf(text.c_str());
    EXPECT_EQ(countColour(shot(), shot().rect(), kRed), 0);
}

TEST_F(SourceMemoPaint, RightLineStandsBlankWidthsOrPixelsRightOfTheLeftMargin)
{
    memo->resize(800, 100);
    memo->setRightLinePen({kRed, 1, Qt::SolidLine});
    memo->SetTextBuf("");
    memo->setRightLinePos(20);
    const int blankX = memo->LeftMargin() + 20 * layout().blankWidth();
    QImage image = shot();
    EXPECT_EQ(countColour(image, QRect(blankX, 0, 1, image.height()), kRed), image.height());
    EXPECT_EQ(countColour(image, image.rect(), kRed), image.height());
    memo->setRightLinePos(-500);
    image = shot();
    EXPECT_EQ(countColour(image, QRect(memo->LeftMargin() + 500, 0, 1, image.height()), kRed), image.height());
    memo->setRightLinePos(0);
    EXPECT_EQ(countColour(shot(), image.rect(), kRed), 0);
}

TEST_F(SourceMemoPaint, FarEndOfALongLineIsDrawnWhereItsCharactersAddUpTo)
{
    memo->setWordWrap(false);
    constexpr std::int32_t kBlanks = 200000;
    memo->SetTextBuf((std::string(kBlanks, ' ') + "MMMM").c_str());
    const std::int32_t textX = memo->LeftMargin() + kBlanks * memo->measurer().textWidth(" ", 0);
    const std::int32_t m4 = memo->measurer().textWidth("MMMM", 0);
    layout().scrollTo(0, textX - 100, 0);
    ASSERT_EQ(layout().geometry.horzOffset, textX - 100);
    const QRect text(100, 0, m4, lineHeight());
    const QRect before(0, 0, 99, lineHeight());
    const QRect after(100 + m4 + 2, 0, 100, lineHeight());
    // Twice: the second paint starts its walk where the first one left a checkpoint.
    for (int pass = 0; pass < 2; ++pass) {
        const QImage image = shot();
        EXPECT_GT(countColour(image, text, kBlack), 0);
        EXPECT_EQ(countColour(image, before, kBlack), 0);
        EXPECT_EQ(countColour(image, after, kBlack), 0);
    }

    // A selection from the line start, far left of the window, inverts all up to its end.
    memo->setSelStart(0);
    memo->setSelLength(kBlanks + 2);
    layout().scrollTo(0, textX - 100, 0);
    const QImage image = shot();
    EXPECT_EQ(countColour(image, before, kBlack), before.width() * before.height());
    EXPECT_EQ(countColour(image, after, kBlack), 0);
}

TEST_F(SourceMemoPaint, TiledBackgroundStaysAlignedToTheDocumentWhenScrolled)
{
    // A picture of 7 rows: its top row red, the rest white; no text over the test column.
    QImage tile(5, 7, QImage::Format_RGB32);
    tile.fill(Qt::white);
    for (int x = 0; x < 5; ++x)
        tile.setPixel(x, 0, qRgb(255, 0, 0));
    memo->setBackgroundBmp(QPixmap::fromImage(tile));
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "\r\n";
    memo->SetTextBuf(text.c_str());
    layout().ScrollTime = 0;

    const auto redRowsAt = [&](int scroll) {
        layout().scrollTo(scroll, 0, 0);
        const QImage image = shot();
        std::vector<int> rows;
        for (int y = 0; y < image.height(); ++y)
            if ((image.pixel(300, y) & 0xFFFFFF) == 0xFF0000)
                rows.push_back(y);
        return rows;
    };
    for (const int scroll : {0, 3, 2 * lineHeight() + 1}) {
        const std::vector<int> rows = redRowsAt(scroll);
        ASSERT_FALSE(rows.empty());
        for (const int y : rows)
            EXPECT_EQ((y + scroll) % 7, 0) << "scrolled by " << scroll;
        EXPECT_EQ(static_cast<int>(rows.size()), (memo->viewport()->height() + 6 - rows.front()) / 7);
    }
}

TEST_F(SourceMemoPaint, JustifiedLineReachesTheRightMargin)
{
    memo->resize(300, 200);
    std::string text;
    for (int i = 0; i < 12; ++i)
        text += "ab c ";
    memo->SetTextBuf(text.c_str());
    ASSERT_GT(memo->LineCount(), 1);
    const int marginX = layout().textAreaWidth() - memo->RightMargin();
    const int slack = memo->measurer().textWidth("b", 0);

    const int ragged = rightmost(shot(), lineRect(0), dark);
    memo->setJustified(true);
    const int justified = rightmost(shot(), lineRect(0), dark);
    EXPECT_GT(justified, ragged);
    EXPECT_LE(justified, marginX);
    EXPECT_GE(justified, marginX - slack);
    // The last line of the paragraph is not justified.
    const int lastLine = memo->LineCount() - 1;
    EXPECT_LT(rightmost(shot(), lineRect(lastLine), dark), marginX - slack);
}

TEST_F(SourceMemoPaint, NonPrintingMarksShowBlanksTabsAndParagraphEnds)
{
    memo->SetTextBuf("a b\tc");
    const int blankX = memo->LeftMargin() + memo->measurer().textWidth("a", 0);
    const QRect blank(blankX, 0, layout().blankWidth(), lineHeight());
    const int tabX = blankX + layout().blankWidth() + memo->measurer().textWidth("b", 0);
    const QRect tab(tabX, 0, layout().blankWidth(), lineHeight());
    const int before = count(shot(), blank, dark) + count(shot(), tab, dark);
    EXPECT_EQ(before, 0);
    TsmNonPrintChars marks;
    marks.set(smNPSpace).set(smNPTab).set(smNPReturn);
    memo->setShowNonPrintChars(marks);
    const QImage image = shot();
    EXPECT_GT(count(image, blank, dark), 0);
    EXPECT_GT(count(image, tab, dark), 0);
    // The tab keeps its width: "c" stands at the first tab stop.
    const int tabStop = memo->LeftMargin() + 8 * layout().blankWidth();
    const QRect cCell(tabStop, 0, layout().blankWidth(), lineHeight());
    EXPECT_GT(count(image, cCell, dark), 0);
    const QRect pilcrow(tabStop + layout().blankWidth(), 0, 2 * layout().blankWidth(), lineHeight());
    EXPECT_GT(count(image, pilcrow, dark), 0);
}

TEST_F(SourceMemoPaint, LinesPaintOntoAnOutsideCanvasAtAScale)
{
    core::TSourceMemoOptions options = memo->Options();
    options.set(core::smoWindowsSelColors).set(core::smoFullLineSelect);
    memo->setOptions(options);
    memo->setSelBackColor(kGreen);
    memo->SetTextBuf("a\r\nb\r\nc");
    memo->setSelStart(3);
    memo->setSelLength(2); // "b" and its paragraph end
    const int lh = lineHeight();
    QImage canvas(2 * memo->viewport()->width() + 20, 4 * lh + 20, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    {
        QPainter painter(&canvas);
        memo->paintLines(painter, 1, 2, QPointF(10, 10), 2.0);
    }
    // Line 1 (selected to the right edge) fills rows 10 .. 10 + 2 lh; line 2 follows unselected.
    const QRect firstRight(canvas.width() - 60, 14, 40, 2 * lh - 8);
    EXPECT_EQ(countColour(canvas, firstRight, kGreen), firstRight.width() * firstRight.height());
    const QRect secondRight(canvas.width() - 60, 10 + 2 * lh + 4, 40, 2 * lh - 8);
    EXPECT_EQ(countColour(canvas, secondRight, kWhite), secondRight.width() * secondRight.height());
    EXPECT_EQ(countColour(canvas, QRect(0, 0, canvas.width(), 10), kBlack), canvas.width() * 10);
}
