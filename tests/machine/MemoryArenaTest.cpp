#include "machine/MemoryArena.h"
#include "machine/DosErrors.h"

#include <gtest/gtest.h>

namespace
{

using namespace velmora::machine;

class MemoryArenaTest : public ::testing::Test
{
protected:
    static constexpr uint16_t kFirst = 0x1000;
    static constexpr uint16_t kEnd = 0x2000; // 0FFFh paragraphs after the first MCB
    static constexpr uint16_t kOwner = 0x0500;

    void SetUp() override { arena.reset(kFirst, kEnd); }

    uint16_t allocate(uint16_t paragraphs)
    {
        const MemoryArena::Result result = arena.allocate(paragraphs, kOwner);
        EXPECT_EQ(result.error, 0);
        return result.segment;
    }
    char signature(uint16_t segment) const { return char(memory.read8(uint32_t(segment - 1) << 4)); }

    Memory memory;
    MemoryArena arena{memory};
};

TEST_F(MemoryArenaTest, BlocksAreCutFirstFitOneParagraphApartAndTheLastIsMarked)
{
    const uint16_t a = allocate(0x10);
    const uint16_t b = allocate(0x20);
    EXPECT_EQ(a, kFirst + 1);
    EXPECT_EQ(b, a + 0x10 + 1);
    EXPECT_EQ(signature(a), 'M');
    EXPECT_EQ(signature(b), 'M');
    EXPECT_EQ(arena.owner(b), kOwner);
    EXPECT_EQ(arena.size(b), 0x20);
    // The rest is one free block ending the chain.
    const uint16_t rest = b + 0x20 + 1;
    EXPECT_EQ(signature(rest), 'Z');
    EXPECT_EQ(arena.owner(rest), 0);
    EXPECT_EQ(arena.largestFree(), kEnd - rest);
}

TEST_F(MemoryArenaTest, TooLargeARequestGivesError8AndTheLargestFreeBlock)
{
    allocate(0x100);
    const MemoryArena::Result result = arena.allocate(0xF000, kOwner);
    EXPECT_EQ(result.error, dos_error::kInsufficientMemory);
    EXPECT_EQ(result.largest, 0x0FFF - 0x100 - 1);
}

TEST_F(MemoryArenaTest, FreedNeighboursMergeSoALargerBlockFitsWhereTheyWere)
{
    const uint16_t a = allocate(0x10);
    const uint16_t b = allocate(0x10);
    allocate(0x0FFF - 0x10 - 0x10 - 3); // the arena is full now
    EXPECT_EQ(arena.largestFree(), 0);
    EXPECT_EQ(arena.release(a).error, 0);
    EXPECT_EQ(arena.release(b).error, 0);
    // a and b with b's MCB between them make 0x21 paragraphs.
    EXPECT_EQ(arena.allocate(0x21, kOwner).segment, a);
    EXPECT_EQ(arena.allocate(1, kOwner).error, dos_error::kInsufficientMemory);
}

TEST_F(MemoryArenaTest, ReleasingWhatIsNotABlockGivesError9)
{
    const uint16_t a = allocate(0x10);
    EXPECT_EQ(arena.release(a + 1).error, dos_error::kInvalidBlock);
    EXPECT_EQ(arena.release(0x3000).error, dos_error::kInvalidBlock);
    EXPECT_EQ(arena.resize(a + 5, 1).error, dos_error::kInvalidBlock);
    EXPECT_EQ(arena.owner(a), kOwner);
}

TEST_F(MemoryArenaTest, ShrinkingGivesTheRestBackAndGrowingTakesFollowingFreeBlocks)
{
    const uint16_t a = allocate(0x100);
    const uint16_t total = arena.largestFree() + 0x100 + 1;
    EXPECT_EQ(arena.resize(a, 0x40).error, 0);
    EXPECT_EQ(arena.size(a), 0x40);
    EXPECT_EQ(arena.largestFree(), total - 0x40 - 1);

    EXPECT_EQ(arena.resize(a, 0x200).error, 0);
    EXPECT_EQ(arena.size(a), 0x200);
    EXPECT_EQ(arena.owner(a), kOwner);
    EXPECT_EQ(arena.largestFree(), total - 0x200 - 1);
}

TEST_F(MemoryArenaTest, GrowingPastAnOwnedBlockGivesError8WithTheMostItCouldHave)
{
    const uint16_t a = allocate(0x10);
    const uint16_t b = allocate(0x10);
    allocate(0x10);
    EXPECT_EQ(arena.release(b).error, 0);
    const MemoryArena::Result result = arena.resize(a, 0x30);
    EXPECT_EQ(result.error, dos_error::kInsufficientMemory);
    EXPECT_EQ(result.largest, 0x21);
    EXPECT_EQ(arena.size(a), 0x10);
    EXPECT_EQ(arena.resize(a, 0x21).error, 0);
    EXPECT_EQ(arena.size(a), 0x21);
}

TEST_F(MemoryArenaTest, ADamagedChainGivesError7)
{
    const uint16_t a = allocate(0x10);
    const uint16_t b = allocate(0x10);
    memory.write8(uint32_t(b - 1) << 4, 'X');
    EXPECT_EQ(arena.allocate(0x800, kOwner).error, dos_error::kArenaTrashed);
    EXPECT_EQ(arena.release(b).error, dos_error::kArenaTrashed);
    EXPECT_EQ(arena.resize(a, 0x800).error, dos_error::kArenaTrashed);
}

TEST_F(MemoryArenaTest, ABlockSizeRunningPastTheEndIsDamageToo)
{
    const uint16_t a = allocate(0x10);
    memory.write16((uint32_t(a - 1) << 4) + 3, 0xF000);
    EXPECT_EQ(arena.allocate(1, kOwner).error, dos_error::kArenaTrashed);
    EXPECT_EQ(arena.largestFree(), 0);
}

} // namespace
