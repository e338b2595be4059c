// The instruction view: the instruction at CS:IP marked, the next ones after it, and the
// ones before it only where a source line's code start decodes onto CS:IP.
#include "DebugViewTesting.h"

#include "app/debug/InstructionView.h"

#include <initializer_list>

namespace velmora::testing
{
namespace
{

enum Column { kMark, kAddress, kBytes, kText };

const QString kCurrentMark = QStringLiteral(u"\u25BA");

class InstructionViewTest : public DebugViewTest
{
protected:
    InstructionViewTest()
    {
        now.cs = loadSegment;
        now.ip = 0x0106;
        before = now;
        // 0100 mov ax,1234h / 0103 nop / 0104 mov ax,bx / 0106 int 21h / 0108 nops
        put(0x0100, {0xB8, 0x34, 0x12, 0x90, 0x89, 0xD8, 0xCD, 0x21});
        for (std::uint16_t offset = 0x0108; offset < 0x0120; ++offset)
            put(offset, {0x90});
    }

    void put(std::uint16_t offset, std::initializer_list<std::uint8_t> bytes)
    {
        for (const std::uint8_t byte : bytes)
            memory.write8(machine::Memory::linear(now.cs, offset++), byte);
    }
    void lineAt(int line, std::uint16_t frame, std::uint16_t offset) { info.lines.push_back({line, {frame, offset}}); }
    QTableWidget *table() { return view.findChild<QTableWidget *>(QStringLiteral("InstructionTable")); }
    int markedRow()
    {
        int marked = -1;
        for (int row = 0; row < table()->rowCount(); ++row)
            if (textAt(table(), row, kMark) == kCurrentMark) {
                EXPECT_EQ(marked, -1) << "one current row";
                marked = row;
            }
        return marked;
    }

    app::InstructionView view;
};

TEST_F(InstructionViewTest, WithoutSourceLinesItStartsAtCsIpMarkedAndShowsTheNextEight)
{
    view.show(snapshot());
    ASSERT_EQ(table()->rowCount(), 1 + app::InstructionView::kFollowing);
    EXPECT_EQ(markedRow(), 0);
    EXPECT_EQ(textAt(table(), 0, kAddress), QStringLiteral("1000:0106"));
    EXPECT_EQ(textAt(table(), 0, kBytes), QStringLiteral("CD 21"));
    EXPECT_EQ(textAt(table(), 0, kText), QStringLiteral("int 21h"));
    EXPECT_TRUE(emphasized(table(), 0, kText));
    EXPECT_EQ(textAt(table(), 1, kAddress), QStringLiteral("1000:0108"));
    EXPECT_EQ(textAt(table(), 1, kText), QStringLiteral("nop"));
    EXPECT_FALSE(emphasized(table(), 1, kText));
    EXPECT_EQ(textAt(table(), 8, kAddress), QStringLiteral("1000:010F"));
}

TEST_F(InstructionViewTest, SourceLinesBeforeCsIpGiveTheTwoInstructionsBeforeIt)
{
    lineAt(1, 0, 0x0100);
    lineAt(2, 0, 0x0103);
    lineAt(3, 0, 0x0104);
    lineAt(4, 0, 0x0106);
    view.show(snapshot());
    ASSERT_EQ(table()->rowCount(), app::InstructionView::kPreceding + 1 + app::InstructionView::kFollowing);
    EXPECT_EQ(markedRow(), 2);
    EXPECT_EQ(textAt(table(), 0, kAddress), QStringLiteral("1000:0103"));
    EXPECT_EQ(textAt(table(), 0, kText), QStringLiteral("nop"));
    EXPECT_EQ(textAt(table(), 1, kBytes), QStringLiteral("89 D8"));
    EXPECT_EQ(textAt(table(), 2, kAddress), QStringLiteral("1000:0106"));
    EXPECT_FALSE(emphasized(table(), 1, kText));
    EXPECT_TRUE(emphasized(table(), 2, kText));

    // One line holding both instructions before CS:IP gives both.
    info.lines = {};
    lineAt(1, 0, 0x0103);
    lineAt(2, 0, 0x0106);
    view.show(snapshot());
    EXPECT_EQ(markedRow(), 2);
    EXPECT_EQ(textAt(table(), 0, kAddress), QStringLiteral("1000:0103"));
}

TEST_F(InstructionViewTest, NothingIsShownBeforeCsIpWhereDecodingMissesIt)
{
    // CS:IP in the middle of mov ax,1234h: its line's start decodes past it.
    now.ip = 0x0101;
    lineAt(1, 0, 0x0100);
    // Lines of another segment do not count.
    lineAt(7, 1, 0x00F0);
    view.show(snapshot());
    EXPECT_EQ(markedRow(), 0);
    EXPECT_EQ(textAt(table(), 0, kAddress), QStringLiteral("1000:0101"));
    EXPECT_EQ(table()->rowCount(), 1 + app::InstructionView::kFollowing);
}

TEST_F(InstructionViewTest, TheSnapshotsProcessorDecidesWhatAnInstructionIs)
{
    put(0x0106, {0x6A, 0x05}); // push 5, an 80186 instruction
    view.show(snapshot(machine::CpuModel::i80186));
    EXPECT_EQ(textAt(table(), 0, kBytes), QStringLiteral("6A 05"));
    view.show(snapshot(machine::CpuModel::i8086));
    EXPECT_EQ(textAt(table(), 0, kBytes), QStringLiteral("6A"));
    EXPECT_EQ(textAt(table(), 1, kAddress), QStringLiteral("1000:0107"));
}

TEST_F(InstructionViewTest, AnInstructionRunningPastTheSegmentEndTakesItsBytesFromItsStart)
{
    now.ip = 0xFFFF;
    put(0xFFFF, {0xB0}); // mov al, with its operand at CS:0000
    put(0x0000, {0x42});
    view.show(snapshot());
    EXPECT_EQ(textAt(table(), 0, kBytes), QStringLiteral("B0 42"));
    EXPECT_EQ(textAt(table(), 1, kAddress), QStringLiteral("1000:0001"));
}

TEST_F(InstructionViewTest, WithoutAProgramItIsEmptyAndItsTitleFollowsTheTexts)
{
    view.show(snapshot());
    view.show(app::DebugSnapshot{});
    EXPECT_EQ(table()->rowCount(), 0);
    app::DebuggerTexts texts;
    texts.instructionsTitle = QStringLiteral(u"Команды");
    view.setTexts(texts);
    EXPECT_EQ(view.windowTitle(), texts.instructionsTitle);
}

} // namespace
} // namespace velmora::testing
