#include "machine/BiosDataArea.h"
#include "machine/ServicesFixture.h"

namespace
{

using namespace velmora::machine;

class BiosServicesTest : public velmora::testing::ServicesFixture
{
protected:
    // Row r holds the letter 'A' + r with attribute 10h + r in every column.
    void fillRows()
    {
        for (int row = 0; row < TextScreen::kRows; ++row)
            for (int column = 0; column < TextScreen::kColumns; ++column)
                screen.setCell(row, column, uint8_t('A' + row), uint8_t(0x10 + row));
    }
    void setCursor(int row, int column)
    {
        regs().bx = 0;
        regs().dx = uint16_t(row << 8 | column);
        bios(0x10, 0x0200);
    }
    void scroll(uint8_t function, uint8_t lines, uint8_t attribute, int top, int left, int bottom, int right)
    {
        regs().bx = uint16_t(attribute << 8);
        regs().cx = uint16_t(top << 8 | left);
        regs().dx = uint16_t(bottom << 8 | right);
        bios(0x10, uint16_t(function << 8 | lines));
    }
};

TEST_F(BiosServicesTest, SetModeThreeClearsTheScreenAndHomesTheCursor)
{
    fillRows();
    setCursor(5, 5);
    bios(0x10, 0x0003);
    EXPECT_EQ(screen.character(10, 40), ' ');
    EXPECT_EQ(screen.attribute(10, 40), 0x07);
    EXPECT_EQ(screen.cursorRow(), 0);
    EXPECT_EQ(screen.cursorColumn(), 0);
    bios(0x10, 0x0F00);
    EXPECT_EQ(regs().al(), 3);
    EXPECT_EQ(regs().ah(), 80);
    EXPECT_EQ(regs().bh(), 0);
    // Bit 7 keeps what is on the screen.
    fillRows();
    bios(0x10, 0x0083);
    EXPECT_EQ(screen.character(10, 40), 'K');
}

TEST_F(BiosServicesTest, CursorPositionAndShapeAreKeptInTheBiosDataArea)
{
    setCursor(12, 34);
    EXPECT_EQ(memory.read16(bda::kCursorPositions), 12 << 8 | 34);
    regs().cx = 0x2000;
    bios(0x10, 0x0100);
    EXPECT_FALSE(screen.cursorVisible());
    regs().bx = 0;
    bios(0x10, 0x0300);
    EXPECT_EQ(regs().dh(), 12);
    EXPECT_EQ(regs().dl(), 34);
    EXPECT_EQ(regs().cx, 0x2000);
}

TEST_F(BiosServicesTest, ScrollUpMovesTheWindowsRowsAndBlanksTheBottomWithTheAttribute)
{
    fillRows();
    scroll(0x06, 2, 0x4E, 1, 10, 5, 20);
    EXPECT_EQ(screen.character(1, 10), 'D'); // row 3's contents
    EXPECT_EQ(screen.attribute(1, 10), 0x13);
    EXPECT_EQ(screen.character(3, 20), 'F');
    EXPECT_EQ(screen.character(4, 15), ' ');
    EXPECT_EQ(screen.attribute(5, 15), 0x4E);
    // Outside the window nothing moved.
    EXPECT_EQ(screen.character(1, 9), 'B');
    EXPECT_EQ(screen.character(1, 21), 'B');
    EXPECT_EQ(screen.character(0, 10), 'A');
    EXPECT_EQ(screen.character(6, 10), 'G');
}

TEST_F(BiosServicesTest, ScrollDownMovesRowsTheOtherWay)
{
    fillRows();
    scroll(0x07, 1, 0x20, 2, 0, 4, 79);
    EXPECT_EQ(screen.character(2, 0), ' ');
    EXPECT_EQ(screen.attribute(2, 79), 0x20);
    EXPECT_EQ(screen.character(3, 0), 'C');
    EXPECT_EQ(screen.character(4, 79), 'D');
    EXPECT_EQ(screen.character(5, 0), 'F');
}

TEST_F(BiosServicesTest, ScrollingZeroLinesOrMoreThanTheWindowClearsIt)
{
    fillRows();
    scroll(0x06, 0, 0x17, 0, 0, 24, 79);
    EXPECT_EQ(screen.character(24, 79), ' ');
    EXPECT_EQ(screen.attribute(0, 0), 0x17);
    fillRows();
    scroll(0x07, 30, 0x17, 10, 0, 12, 79);
    EXPECT_EQ(screen.character(11, 5), ' ');
    EXPECT_EQ(screen.character(13, 5), 'N');
}

TEST_F(BiosServicesTest, WriteCharacterRepeatsFromTheCursorWithoutMovingIt)
{
    setCursor(0, 78);
    regs().bx = 0x001F;
    regs().cx = 4;
    bios(0x10, 0x0900 | '*');
    EXPECT_EQ(screen.character(0, 78), '*');
    EXPECT_EQ(screen.character(1, 1), '*'); // on into the next row
    EXPECT_EQ(screen.attribute(1, 1), 0x1F);
    EXPECT_EQ(screen.character(1, 2), ' ');
    EXPECT_EQ(screen.cursorColumn(), 78);
    setCursor(0, 78);
    regs().cx = 2;
    bios(0x10, 0x0A00 | '#');
    EXPECT_EQ(screen.character(0, 79), '#');
    EXPECT_EQ(screen.attribute(0, 79), 0x1F); // 0Ah keeps the attribute
    bios(0x10, 0x0800);
    EXPECT_EQ(regs().al(), '#');
    EXPECT_EQ(regs().ah(), 0x1F);
}

TEST_F(BiosServicesTest, TeletypeWrapsAtTheRowsEndAndHandlesControlCharacters)
{
    setCursor(3, 78);
    for (char c : std::string("ab\rc\bd\a"))
        bios(0x10, uint16_t(0x0E00 | uint8_t(c)));
    EXPECT_EQ(screen.character(3, 78), 'a');
    EXPECT_EQ(screen.character(3, 79), 'b');
    EXPECT_EQ(screen.character(4, 0), 'd');
    EXPECT_EQ(screen.cursorRow(), 4);
    EXPECT_EQ(screen.cursorColumn(), 1);
    bios(0x10, 0x0E0A);
    EXPECT_EQ(screen.cursorRow(), 5);
    EXPECT_EQ(screen.cursorColumn(), 1);
}

TEST_F(BiosServicesTest, TeletypeBelowTheLastRowScrollsTheScreenUp)
{
    fillRows();
    setCursor(24, 79);
    bios(0x10, 0x0E00 | '!');
    EXPECT_EQ(screen.character(23, 79), '!');
    EXPECT_EQ(screen.character(0, 0), 'B');
    EXPECT_EQ(screen.character(24, 0), ' ');
    EXPECT_EQ(screen.cursorRow(), 24);
    EXPECT_EQ(screen.cursorColumn(), 0);
    bios(0x10, 0x0E0A);
    EXPECT_EQ(screen.character(0, 0), 'C');
}

TEST_F(BiosServicesTest, KeyboardReadWaitsAndPeekSetsZeroFlag)
{
    bios(0x16, 0x0100);
    EXPECT_TRUE(regs().flag(ZF));
    bios(0x16, 0x0000);
    EXPECT_EQ(regs().ax, 0x0000); // still waiting
    keyboard.push({0x1E, 'a'});
    bios(0x16, 0x0100);
    EXPECT_FALSE(regs().flag(ZF));
    EXPECT_EQ(regs().ax, 0x1E61);
    EXPECT_FALSE(keyboard.empty());
    bios(0x16, 0x0000);
    EXPECT_EQ(regs().ax, 0x1E61);
    EXPECT_TRUE(keyboard.empty());
    memory.write8(bda::kKeyboardFlags, 0x03);
    bios(0x16, 0x0200);
    EXPECT_EQ(regs().al(), 0x03);
}

TEST_F(BiosServicesTest, EquipmentAndMemorySizeComeFromTheBiosDataArea)
{
    memory.write16(bda::kEquipment, 0x0020);
    memory.write16(bda::kMemorySizeKb, 640);
    bios(0x11, 0xFFFF);
    EXPECT_EQ(regs().ax, 0x0020);
    bios(0x12, 0xFFFF);
    EXPECT_EQ(regs().ax, 640);
}

} // namespace
