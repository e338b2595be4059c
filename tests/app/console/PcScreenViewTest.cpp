// The console's text screen as drawn: attribute colours, the cursor in its cell and scan
// lines, and keys handed on as the PC gives them.
#include "app/console/PcScreenView.h"
#include "machine/Memory.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace velmora::testing
{
namespace
{

using machine::TextScreen;

class PcScreenViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        screen.setMode3();
        view.setScreen(&screen);
    }

    QImage picture() { return view.grab().toImage(); }
    QColor at(const QImage &image, int row, int column, int dx, int dy)
    {
        const QRect cell = view.cellRect(row, column);
        return image.pixelColor(cell.left() + dx, cell.top() + dy);
    }
    // Every colour inside a cell.
    std::vector<QRgb> coloursIn(const QImage &image, int row, int column)
    {
        std::vector<QRgb> colours;
        const QRect cell = view.cellRect(row, column);
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                colours.push_back(image.pixel(x, y) & 0xFFFFFF);
        return colours;
    }

    machine::Memory memory;
    TextScreen screen{memory};
    app::PcScreenView view;
};

TEST_F(PcScreenViewTest, CellsTakeTheirAttributesColours)
{
    screen.setCell(0, 0, 'A', 0x1E);   // yellow on blue
    screen.setCell(3, 79, 0xDB, 0x4F); // a full block, white on red
    screen.setCell(24, 10, ' ', 0x20); // a blank on green
    screen.setCursor(10, 10);
    view.refresh();
    const QImage image = picture();

    EXPECT_EQ(at(image, 0, 0, 0, 0), app::pcTextColour(1));
    EXPECT_EQ(app::pcTextColour(1), QColor(0x00, 0x00, 0xAA));
    const auto letter = coloursIn(image, 0, 0);
    EXPECT_TRUE(std::any_of(letter.begin(), letter.end(), [](QRgb c) { return qRed(c) > 0x80; }))
        << "the letter is drawn in yellow over the blue";
    const QRect block = view.cellRect(3, 79);
    EXPECT_EQ(at(image, 3, 79, block.width() / 2, block.height() / 2), QColor(Qt::white));
    EXPECT_EQ(coloursIn(image, 24, 10), std::vector<QRgb>(coloursIn(image, 24, 10).size(), 0x00AA00));
    EXPECT_EQ(coloursIn(image, 12, 40), std::vector<QRgb>(coloursIn(image, 12, 40).size(), 0x000000));
}

TEST_F(PcScreenViewTest, TheCursorFillsItsScanLinesInItsCell)
{
    screen.setCursor(2, 5);
    view.refresh();
    QImage image = picture();
    const QRect cell = view.cellRect(2, 5);
    // The BIOS's shape, lines 6 and 7 of 8: the bottom quarter, in the cell's colour.
    EXPECT_EQ(at(image, 2, 5, 1, cell.height() - 1), app::pcTextColour(7));
    EXPECT_EQ(at(image, 2, 5, 1, 1), QColor(Qt::black));
    EXPECT_EQ(at(image, 2, 6, 1, cell.height() - 1), QColor(Qt::black));

    screen.setCursorShape(0x0007); // a full block
    screen.setCursor(4, 0);
    view.refresh();
    image = picture();
    EXPECT_EQ(at(image, 4, 0, 1, 1), app::pcTextColour(7));
    EXPECT_EQ(at(image, 2, 5, 1, cell.height() - 1), QColor(Qt::black)) << "the old place is clear";

    screen.setCursorShape(0x2007); // bit 5 of the start line hides it
    view.refresh();
    EXPECT_EQ(at(picture(), 4, 0, 1, 1), QColor(Qt::black));
}

TEST_F(PcScreenViewTest, KeysGoToTheProgramAndCtrlBreakAsksForAStop)
{
    std::vector<machine::Key> keys;
    int breaks = 0;
    view.OnKey = [&](machine::Key key) { keys.push_back(key); };
    view.OnBreak = [&] { ++breaks; };
    QTest::keyClick(&view, Qt::Key_B);
    QTest::keyClick(&view, Qt::Key_Left);
    QTest::keyClick(&view, Qt::Key_Tab);
    QTest::keyClick(&view, Qt::Key_Shift);
    QTest::keyClick(&view, Qt::Key_Pause, Qt::ControlModifier);
    // Ctrl+Pause as X11 delivers it: the Break keysym and no toolkit key.
    QKeyEvent x11Break(QEvent::KeyPress, 0, Qt::ControlModifier, 127, 0xFF6B, 0);
    QApplication::sendEvent(&view, &x11Break);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].word(), 0x3062);
    EXPECT_EQ(keys[1].word(), 0x4B00);
    EXPECT_EQ(keys[2].word(), 0x0F09) << "Tab reaches the program rather than moving the focus";
    EXPECT_EQ(breaks, 2);
}

} // namespace
} // namespace velmora::testing
