#include "machine/ServicesFixture.h"

namespace
{

using namespace velmora::machine;

class DosConsoleServicesTest : public velmora::testing::ServicesFixture
{
};

TEST_F(DosConsoleServicesTest, CharacterOutputGoesToStandardOutputAndTheScreen)
{
    regs().dx = 'A';
    dos(0x0200);
    regs().dx = '\t';
    dos(0x0200);
    EXPECT_EQ(regs().al(), ' '); // DOS returns the last character shown
    regs().dx = 'B';
    dos(0x0600);
    EXPECT_EQ(regs().al(), 'B');
    EXPECT_EQ(services.output(), "A\tB");
    // The tab is shown as blanks up to the next multiple of eight.
    EXPECT_EQ(screen.rowText(0).substr(0, 10), "A       B ");
    EXPECT_EQ(screen.cursorColumn(), 9);
}

TEST_F(DosConsoleServicesTest, PrintStringStopsAtTheDollarSign)
{
    put(0x10, "Hi\r\nthere$not this");
    regs().dx = 0x10;
    dos(0x0900);
    EXPECT_EQ(services.output(), "Hi\r\nthere");
    EXPECT_EQ(regs().al(), '$');
    EXPECT_EQ(screen.rowText(0).substr(0, 3), "Hi ");
    EXPECT_EQ(screen.rowText(1).substr(0, 6), "there ");
    EXPECT_EQ(screen.cursorRow(), 1);
    EXPECT_EQ(screen.cursorColumn(), 5);
}

TEST_F(DosConsoleServicesTest, InputWithEchoShowsTheKeyOnTheScreenButNotInTheOutput)
{
    type("x");
    dos(0x0100);
    EXPECT_EQ(regs().al(), 'x');
    EXPECT_EQ(screen.character(0, 0), 'x');
    EXPECT_EQ(services.output(), "");
}

TEST_F(DosConsoleServicesTest, InputWithoutEchoLeavesTheScreenAlone)
{
    type("ab");
    dos(0x0700);
    EXPECT_EQ(regs().al(), 'a');
    dos(0x0800);
    EXPECT_EQ(regs().al(), 'b');
    EXPECT_EQ(screen.character(0, 0), ' ');
    EXPECT_EQ(screen.cursorColumn(), 0);
}

TEST_F(DosConsoleServicesTest, InputWithNoKeyWaitsAndTheRetryTakesTheKeyPressedMeanwhile)
{
    dos(0x0100);
    EXPECT_EQ(regs().ax, 0x0100); // nothing returned yet
    type("q");
    dos(0x0100);
    EXPECT_EQ(regs().al(), 'q');
}

TEST_F(DosConsoleServicesTest, AnExtendedKeyComesAsZeroThenItsScanCode)
{
    keyboard.push({0x48, 0x00}); // up arrow
    dos(0x0800);
    EXPECT_EQ(regs().al(), 0);
    dos(0x0B00);
    EXPECT_EQ(regs().al(), 0xFF); // the scan code is still to come
    dos(0x0800);
    EXPECT_EQ(regs().al(), 0x48);
    dos(0x0B00);
    EXPECT_EQ(regs().al(), 0x00);
}

TEST_F(DosConsoleServicesTest, DirectConsoleInputSetsZeroFlagWhenNoKeyAndNeverWaits)
{
    regs().dx = 0x00FF;
    dos(0x0600);
    EXPECT_TRUE(regs().flag(ZF));
    EXPECT_EQ(regs().al(), 0);
    type("k");
    dos(0x0600);
    EXPECT_FALSE(regs().flag(ZF));
    EXPECT_EQ(regs().al(), 'k');
    EXPECT_EQ(services.output(), "");
}

TEST_F(DosConsoleServicesTest, FlushThenInputDropsKeysTypedBeforeButNotWhileWaiting)
{
    type("old");
    dos(0x0C08);
    EXPECT_TRUE(keyboard.empty());
    type("n");
    dos(0x0C08); // the retry of the waiting call
    EXPECT_EQ(regs().al(), 'n');
}

TEST_F(DosConsoleServicesTest, BufferedInputStoresTheLineItsLengthAndCr)
{
    put(0x20, std::string("\x0A", 1) + std::string(12, '\xEE'));
    regs().dx = 0x20;
    type("hello\r");
    dos(0x0A00);
    EXPECT_EQ(get(0x21, 7), std::string("\x05hello\r"));
    // The echo is standard output, as a redirected run records it.
    EXPECT_EQ(services.output(), "hello\r");
    EXPECT_EQ(screen.rowText(0).substr(0, 6), "hello ");
    EXPECT_EQ(screen.cursorColumn(), 0);
}

TEST_F(DosConsoleServicesTest, BufferedInputEditsWithBackspace)
{
    put(0x20, "\x10");
    regs().dx = 0x20;
    type("abx\bc\b\b\bz\b\b\r");
    dos(0x0A00);
    EXPECT_EQ(get(0x21, 2), std::string("\x00\r", 2));
    type("ab\bc\r");
    dos(0x0A00);
    EXPECT_EQ(get(0x21, 4), std::string("\x02"
                                        "ac\r"));
    EXPECT_EQ(screen.rowText(0).substr(0, 3), "ac ");
}

TEST_F(DosConsoleServicesTest, BufferedInputRingsTheBellPastItsLimitAndKeepsRoomForTheCr)
{
    put(0x20, "\x04");
    regs().dx = 0x20;
    type("abcdef\r");
    dos(0x0A00);
    EXPECT_EQ(get(0x21, 5), std::string("\x03"
                                        "abc\r"));
    EXPECT_EQ(services.output(), "abc\a\a\a\r");
}

TEST_F(DosConsoleServicesTest, BufferedInputWaitsForEnterAcrossRetries)
{
    put(0x20, "\x08");
    regs().dx = 0x20;
    type("ab");
    dos(0x0A00);
    EXPECT_EQ(get(0x21, 1), std::string("\x00", 1));
    type("c\r");
    dos(0x0A00);
    EXPECT_EQ(get(0x21, 5), std::string("\x03"
                                        "abc\r"));
    EXPECT_EQ(services.output(), "abc\r");
}

TEST_F(DosConsoleServicesTest, BufferedInputIgnoresKeysWithoutACharacter)
{
    put(0x20, "\x08");
    regs().dx = 0x20;
    keyboard.push({0x4B, 0x00}); // left arrow
    keyboard.push({0x01, 0x1B}); // Esc
    type("a\r");
    dos(0x0A00);
    EXPECT_EQ(get(0x21, 3), std::string("\x01"
                                        "a\r"));
}

TEST_F(DosConsoleServicesTest, WritingToHandleOneIsStandardOutputHandleTwoOnlyTheScreen)
{
    put(0x40, "out");
    regs().dx = 0x40;
    regs().cx = 3;
    regs().bx = 1;
    dos(0x4000);
    EXPECT_FALSE(carry());
    EXPECT_EQ(regs().ax, 3);
    put(0x40, "ERR");
    regs().bx = 2;
    dos(0x4000);
    EXPECT_EQ(regs().ax, 3);
    EXPECT_EQ(services.output(), "out");
    EXPECT_EQ(screen.rowText(0).substr(0, 7), "outERR ");
    // AUX and PRN take the bytes and show nothing.
    regs().bx = 4;
    dos(0x4000);
    EXPECT_EQ(regs().ax, 3);
    EXPECT_EQ(screen.cursorColumn(), 6);
}

TEST_F(DosConsoleServicesTest, ReadingTheKeyboardHandleGivesALineWithCrLfInParts)
{
    regs().dx = 0x60;
    regs().cx = 4;
    regs().bx = 0;
    type("abcdef\r");
    dos(0x3F00);
    EXPECT_FALSE(carry());
    EXPECT_EQ(regs().ax, 4);
    EXPECT_EQ(get(0x60, 4), "abcd");
    regs().cx = 10;
    regs().bx = 0;
    dos(0x3F00);
    EXPECT_EQ(regs().ax, 4);
    EXPECT_EQ(get(0x60, 4), "ef\r\n");
    // The echo is the screen's, not standard output's.
    EXPECT_EQ(services.output(), "");
    EXPECT_EQ(screen.rowText(0).substr(0, 7), "abcdef ");
    EXPECT_EQ(screen.cursorRow(), 1);
}

} // namespace
