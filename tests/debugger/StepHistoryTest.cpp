// The step history's bounds: the number of steps, the journal's size, and a single step
// larger than the journal may hold.
#include "debugger/StepHistory.h"

#include "machine/TempFolder.h"

#include <gtest/gtest.h>

namespace velmora::debugger::test
{
namespace
{

class StepHistoryTest : public ::testing::Test
{
protected:
    StepHistoryTest()
    {
        folder_.write("p.com", std::vector<std::uint8_t>{0xCD, 0x20});
        EXPECT_EQ(pc_.load(folder_.file("p.com"), ""), "");
    }
    // A step that writes `count` bytes from `at` on with `value`.
    void step(StepHistory &history, std::uint32_t at, int count, std::uint8_t value)
    {
        history.begin({});
        for (int i = 0; i < count; ++i)
            pc_.memory().write8(at + std::uint32_t(i), value);
        history.end();
    }
    std::uint8_t byte(std::uint32_t at) const { return pc_.memory().data()[at]; }

    velmora::testing::TempFolder folder_;
    machine::BuiltInPc pc_;
    machine::Registers previous_;
};

TEST_F(StepHistoryTest, OnlyTheLastStepsAreKept)
{
    StepHistory history(pc_, 3);
    history.reset();
    for (std::uint8_t value = 1; value <= 5; ++value)
        step(history, 0x50000, 1, value);
    EXPECT_EQ(history.size(), 3);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(history.back(previous_));
    EXPECT_EQ(byte(0x50000), 2);
    EXPECT_FALSE(history.back(previous_));
    EXPECT_EQ(history.limit(), StepBackLimit::HistoryFull);
}

TEST_F(StepHistoryTest, TheOldestStepsGoWhenTheJournalIsFull)
{
    StepHistory history(pc_, 100, 64);
    history.reset();
    step(history, 0x50000, 40, 1);
    step(history, 0x50020, 40, 2); // overlaps the first step's bytes
    EXPECT_EQ(history.size(), 1);
    ASSERT_TRUE(history.back(previous_));
    EXPECT_EQ(byte(0x50000), 1);
    EXPECT_EQ(byte(0x50027), 1);
    EXPECT_EQ(byte(0x50028), 0);
    EXPECT_FALSE(history.back(previous_));
    EXPECT_NE(history.limit(), StepBackLimit::None);
}

TEST_F(StepHistoryTest, AStepLargerThanTheJournalClearsTheHistory)
{
    StepHistory history(pc_, 100, 64);
    history.reset();
    step(history, 0x50000, 10, 1);
    step(history, 0x51000, 65, 2);
    EXPECT_EQ(history.size(), 0);
    EXPECT_EQ(history.limit(), StepBackLimit::TooMuchMemory);
    EXPECT_FALSE(history.back(previous_));
    EXPECT_EQ(byte(0x51000), 2);
    // Later steps are recorded again.
    step(history, 0x50000, 1, 3);
    ASSERT_TRUE(history.back(previous_));
    EXPECT_EQ(byte(0x50000), 1);
}

TEST_F(StepHistoryTest, TheRegistersGivenAtTheStartOfAStepComeBackWithIt)
{
    StepHistory history(pc_, 10);
    history.reset();
    machine::Registers marked;
    marked.ax = 0x1234;
    const machine::Registers atStart = pc_.cpu().regs();
    history.begin(marked);
    pc_.cpu().regs().bx = 0x5678;
    history.end();
    ASSERT_TRUE(history.back(previous_));
    EXPECT_TRUE(previous_ == marked);
    EXPECT_TRUE(pc_.cpu().regs() == atStart);
}

} // namespace
} // namespace velmora::debugger::test
