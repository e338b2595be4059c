#include "machine/DosErrors.h"
#include "machine/ServicesFixture.h"

namespace
{

using namespace velmora::machine;

class DosSystemServicesTest : public velmora::testing::ServicesFixture
{
protected:
    void expectError(uint16_t error)
    {
        EXPECT_TRUE(carry());
        EXPECT_EQ(regs().ax, error);
    }
};

TEST_F(DosSystemServicesTest, AllocateFreeAndResizeWithDosErrorCodes)
{
    regs().bx = 0x100;
    dos(0x4800);
    ASSERT_FALSE(carry());
    const uint16_t block = regs().ax;
    EXPECT_EQ(arena.owner(block), psp);
    EXPECT_EQ(arena.size(block), 0x100);

    regs().bx = 0xFFFF;
    dos(0x4800);
    expectError(dos_error::kInsufficientMemory);
    EXPECT_EQ(regs().bx, arena.largestFree());
    EXPECT_GT(regs().bx, 0x8000);

    regs().es = block;
    regs().bx = 0x20;
    dos(0x4A00);
    EXPECT_FALSE(carry());
    EXPECT_EQ(arena.size(block), 0x20);

    regs().es = psp;
    regs().bx = 0xFFFF;
    dos(0x4A00);
    expectError(dos_error::kInsufficientMemory);
    EXPECT_EQ(regs().bx, 0x1000); // the program's block cannot grow: the next block is owned

    regs().es = block;
    dos(0x4900);
    EXPECT_FALSE(carry());
    EXPECT_EQ(arena.owner(block), 0);

    regs().es = block + 3;
    dos(0x4900);
    expectError(dos_error::kInvalidBlock);
    regs().es = block + 3;
    regs().bx = 1;
    dos(0x4A00);
    expectError(dos_error::kInvalidBlock);

    memory.write8(uint32_t(psp - 1) << 4, 0);
    regs().bx = 1;
    dos(0x4800);
    expectError(dos_error::kArenaTrashed);
}

TEST_F(DosSystemServicesTest, SetAndGetInterruptVector)
{
    regs().ds = 0x1234;
    regs().dx = 0x5678;
    dos(0x2560);
    EXPECT_EQ(memory.read16(0x60 * 4), 0x5678);
    EXPECT_EQ(memory.read16(0x60 * 4 + 2), 0x1234);
    regs().ds = kData;
    dos(0x3560);
    EXPECT_EQ(regs().es, 0x1234);
    EXPECT_EQ(regs().bx, 0x5678);
}

TEST_F(DosSystemServicesTest, DateTimeAndTimerComeFromTheClock)
{
    services.setClock([] { return WallTime{2024, 2, 29, 4, 13, 45, 30, 55}; });
    dos(0x2A00);
    EXPECT_EQ(regs().cx, 2024);
    EXPECT_EQ(regs().dh(), 2);
    EXPECT_EQ(regs().dl(), 29);
    EXPECT_EQ(regs().al(), 4);
    dos(0x2C00);
    EXPECT_EQ(regs().ch(), 13);
    EXPECT_EQ(regs().cl(), 45);
    EXPECT_EQ(regs().dh(), 30);
    EXPECT_EQ(regs().dl(), 55);
    bios(0x1A, 0x0000);
    // 13:45:30.55 is 4953055 hundredths of 8640000 in a day of 1800B0h ticks.
    const uint32_t ticks = uint32_t(4953055ull * 0x1800B0 / 8640000);
    EXPECT_EQ(uint32_t(regs().cx) << 16 | regs().dx, ticks);
    EXPECT_EQ(regs().al(), 0);
}

TEST_F(DosSystemServicesTest, VersionDriveAndReturnCode)
{
    dos(0x3000);
    EXPECT_EQ(regs().al(), 5);
    EXPECT_EQ(regs().ah(), 0);
    dos(0x1900);
    EXPECT_EQ(regs().al(), 2); // C:
    dos(0x4D00);
    EXPECT_EQ(regs().ax, 0);
}

TEST_F(DosSystemServicesTest, ExitEndsTheProgramWithItsCode)
{
    EXPECT_EQ(services.outcome(), PcServices::Outcome::Running);
    dos(0x4C07);
    EXPECT_EQ(services.outcome(), PcServices::Outcome::Ended);
    EXPECT_EQ(services.exitCode(), 7);
}

TEST_F(DosSystemServicesTest, Int20hEndsTheProgramWithCodeZero)
{
    bios(0x20, 0x1234);
    EXPECT_EQ(services.outcome(), PcServices::Outcome::Ended);
    EXPECT_EQ(services.exitCode(), 0);
}

TEST_F(DosSystemServicesTest, UnsupportedFunctionsAndInterruptsStopWithTheirNames)
{
    dos(0x5A00);
    EXPECT_EQ(services.outcome(), PcServices::Outcome::Stopped);
    EXPECT_EQ(services.message(), "Unsupported function INT 21h AH=5Ah at 0000:0000");

    services.startProgram(psp, folder.path().string());
    bios(0x33, 0x0000);
    EXPECT_EQ(services.message(), "Unsupported interrupt INT 33h at 0000:0000");

    services.startProgram(psp, folder.path().string());
    bios(0x10, 0x0013);
    EXPECT_EQ(services.message(), "Unsupported video mode 13h (INT 10h AH=00h) at 0000:0000");

    services.startProgram(psp, folder.path().string());
    bios(0x16, 0x0500);
    EXPECT_EQ(services.message(), "Unsupported function INT 16h AH=05h at 0000:0000");
}

TEST_F(DosSystemServicesTest, DivideErrorStopsWithDivideOverflow)
{
    bios(0x00, 0);
    EXPECT_EQ(services.outcome(), PcServices::Outcome::Stopped);
    EXPECT_EQ(services.message(), "Divide overflow at 0000:0000");
}

TEST_F(DosSystemServicesTest, BreakpointOverflowAndSingleStepChangeNothing)
{
    regs().bx = 0x1111;
    for (uint8_t vector : {0x01, 0x03, 0x04}) {
        bios(vector, 0x2222);
        EXPECT_EQ(regs().ax, 0x2222);
    }
    EXPECT_EQ(regs().bx, 0x1111);
    EXPECT_EQ(services.outcome(), PcServices::Outcome::Running);
}

} // namespace
