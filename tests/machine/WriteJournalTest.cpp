// The memory's write journal: the old values of the bytes written through the memory and
// by the CPU's own writes, put back newest first.
#include "machine/WriteJournal.h"

#include "machine/CpuTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace velmora::testing
{
namespace
{

TEST(WriteJournalTest, UndoPutsBackTheValuesOfEachMarkNewestFirst)
{
    Memory memory;
    WriteJournal journal;
    memory.setJournal(&journal);
    memory.write8(0x500, 1);
    const uint64_t second = journal.mark();
    memory.write8(0x500, 2);
    memory.write8(0x500, 3); // kept once: the value at the mark is what counts
    memory.write16(0x501, 0xBEEF);
    EXPECT_EQ(journal.end() - second, 3u);
    const uint64_t third = journal.mark();
    memory.write8(0x500, 4);

    journal.undo(memory, third);
    EXPECT_EQ(memory.read8(0x500), 3);
    EXPECT_EQ(memory.read16(0x501), 0xBEEF);
    journal.undo(memory, second);
    EXPECT_EQ(memory.read8(0x500), 1);
    EXPECT_EQ(memory.read16(0x501), 0);
    // After an undo the byte is noted again, with the value it has now.
    memory.write8(0x500, 9);
    journal.undo(memory, second);
    EXPECT_EQ(memory.read8(0x500), 1);
    journal.undo(memory, 0);
    EXPECT_EQ(memory.read8(0x500), 0);
}

TEST(WriteJournalTest, DroppedEntriesStayAsTheyAreAndPositionsKeepTheirMeaning)
{
    Memory memory;
    WriteJournal journal;
    memory.setJournal(&journal);
    memory.write8(0x10, 1);
    const uint64_t second = journal.mark();
    memory.write8(0x10, 2);
    memory.write8(0xFFFFF, 7);
    journal.dropBefore(second);
    EXPECT_EQ(journal.begin(), second);
    journal.undo(memory, 0); // nothing before what is kept
    EXPECT_EQ(memory.read8(0x10), 1);
    EXPECT_EQ(memory.read8(0xFFFFF), 0);
    journal.clear();
    memory.write8(0x10, 5);
    journal.undo(memory, second);
    EXPECT_EQ(memory.read8(0x10), 1);
    memory.setJournal(nullptr);
    memory.write8(0x10, 6);
    EXPECT_EQ(journal.end(), journal.begin());
}

// Words across the end of a segment and of the 1 MB, pushes, string stores: whatever the
// CPU writes comes back.
TEST(WriteJournalTest, TheCpusOwnWritesAreJournaled)
{
    TestMachine m(CpuModel::i80186);
    WriteJournal journal;
    m.memory.write16(Memory::linear(TestMachine::kCode, 0xFFFF), 0x1111);
    m.memory.setJournal(&journal);
    m.load({
        0xC7, 0x06, 0xFF, 0xFF, 0x34, 0x12,       // mov word [0FFFFh],1234h
        0xB8, 0xFF, 0xFF, 0x8E, 0xC0,             // mov ax,0FFFFh / mov es,ax
        0x26, 0xC7, 0x06, 0x0F, 0x00, 0xCD, 0xAB, // mov word es:[000Fh],0ABCDh: FFFFFh and 0
        0x60,                                     // pusha
        0xBF, 0x00, 0x02, 0xB9, 0x08, 0x00,       // mov di,200h / mov cx,8
        0xF3, 0xAB,                               // rep stosw
        0xC8, 0x04, 0x00, 0x00,                   // enter 4,0
    });
    const std::vector<uint8_t> before(m.memory.data(), m.memory.data() + Memory::kSize);
    const uint64_t start = journal.mark();
    m.cpu.run(8 + 8);
    EXPECT_EQ(m.memory.read8(Memory::linear(TestMachine::kCode, 0xFFFF)), 0x34);
    EXPECT_EQ(m.memory.read8(Memory::linear(TestMachine::kCode, 0)), 0x12); // the word wraps in its segment
    EXPECT_EQ(m.memory.read8(0xFFFFF), 0xCD);
    EXPECT_EQ(m.memory.read8(0), 0xAB);
    EXPECT_EQ(m.word(0xFFFF, 0x0200), 0xFFFF); // the stores went to ES = FFFFh
    journal.undo(m.memory, start);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), m.memory.data()));
}

TEST(WriteJournalTest, RandomWritesUndoneMarkByMarkGiveEachMarksMemory)
{
    Memory memory;
    WriteJournal journal;
    memory.setJournal(&journal);
    std::mt19937 random(7);
    std::vector<std::vector<uint8_t>> atMarks;
    std::vector<uint64_t> marks;
    for (int span = 0; span < 20; ++span) {
        atMarks.emplace_back(memory.data(), memory.data() + 0x2000);
        marks.push_back(journal.mark());
        for (int i = 0; i < 300; ++i) {
            const uint32_t address = random() % 0x2000;
            if (random() % 2)
                memory.write8(address, uint8_t(random()));
            else
                memory.write16(address, uint16_t(random()));
        }
    }
    for (int span = 19; span >= 0; --span) {
        journal.undo(memory, marks[size_t(span)]);
        ASSERT_TRUE(std::equal(atMarks[size_t(span)].begin(), atMarks[size_t(span)].end(), memory.data())) << span;
    }
}

} // namespace
} // namespace velmora::testing
