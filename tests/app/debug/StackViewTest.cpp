// The stack view: the words from SS:SP upward with SP's and BP's rows named, up to the end
// of the stack segment.
#include "DebugViewTesting.h"

#include "app/debug/StackView.h"

namespace velmora::testing
{
namespace
{

enum Column { kMark, kAddress, kFromSp, kValue };

class StackViewTest : public DebugViewTest
{
protected:
    StackViewTest()
    {
        now.ss = 0x2000;
        now.sp = 0x0FF0;
        now.bp = 0x0FF4;
        for (int i = 0; i < 16; ++i)
            memory.write16(machine::Memory::linear(now.ss, std::uint16_t(now.sp + 2 * i)), std::uint16_t(0x1100 + i));
        before = now;
    }

    QTableWidget *table() { return view.findChild<QTableWidget *>(QStringLiteral("StackTable")); }

    app::StackView view;
};

TEST_F(StackViewTest, ShowsSixteenWordsFromSsSpUpwardWithSpAndBpNamed)
{
    view.show(snapshot());
    ASSERT_EQ(table()->rowCount(), app::StackView::kRows);
    EXPECT_EQ(textAt(table(), 0, kMark), QStringLiteral("SP"));
    EXPECT_EQ(textAt(table(), 0, kAddress), QStringLiteral("2000:0FF0"));
    EXPECT_EQ(textAt(table(), 0, kFromSp), QStringLiteral("SP+00"));
    EXPECT_EQ(textAt(table(), 0, kValue), QStringLiteral("1100"));
    EXPECT_EQ(textAt(table(), 2, kMark), QStringLiteral("BP"));
    EXPECT_EQ(textAt(table(), 2, kFromSp), QStringLiteral("SP+04"));
    EXPECT_EQ(textAt(table(), 15, kAddress), QStringLiteral("2000:100E"));
    EXPECT_EQ(textAt(table(), 15, kFromSp), QStringLiteral("SP+1E"));
    EXPECT_EQ(textAt(table(), 15, kValue), QStringLiteral("110F"));
    EXPECT_EQ(textAt(table(), 1, kMark), QString());

    EXPECT_TRUE(emphasized(table(), 0, kValue)) << "SP's row";
    EXPECT_FALSE(emphasized(table(), 2, kValue));

    now.bp = now.sp;
    view.show(snapshot());
    EXPECT_EQ(textAt(table(), 0, kMark), QStringLiteral("SP BP"));
    EXPECT_EQ(textAt(table(), 2, kMark), QString());
}

TEST_F(StackViewTest, EndsWithTheStackSegmentAndReadsTheLastWordAcrossItsWrap)
{
    now.sp = 0xFFFC;
    memory.write16(machine::Memory::linear(now.ss, 0xFFFC), 0xAAAA);
    memory.write16(machine::Memory::linear(now.ss, 0xFFFE), 0xBBBB);
    view.show(snapshot());
    ASSERT_EQ(table()->rowCount(), 2);
    EXPECT_EQ(textAt(table(), 1, kAddress), QStringLiteral("2000:FFFE"));
    EXPECT_EQ(textAt(table(), 1, kValue), QStringLiteral("BBBB"));

    // A word at FFFFh takes its high byte from the segment's first, not from the next
    // segment's memory.
    now.sp = 0xFFFF;
    memory.write8(machine::Memory::linear(now.ss, 0xFFFF), 0x34);
    memory.write8(machine::Memory::linear(now.ss, 0x0000), 0x12);
    memory.write8(machine::Memory::linear(now.ss, 0xFFFF) + 1, 0x99);
    view.show(snapshot());
    ASSERT_EQ(table()->rowCount(), 1);
    EXPECT_EQ(textAt(table(), 0, kValue), QStringLiteral("1234"));
}

TEST_F(StackViewTest, WithoutAProgramItIsEmptyAndItsTitleFollowsTheTexts)
{
    view.show(snapshot());
    view.show(app::DebugSnapshot{});
    EXPECT_EQ(table()->rowCount(), 0);

    EXPECT_EQ(view.windowTitle(), QStringLiteral("Stack"));
    app::DebuggerTexts texts;
    texts.stackTitle = QStringLiteral(u"Стек");
    view.setTexts(texts);
    EXPECT_EQ(view.windowTitle(), QStringLiteral(u"Стек"));
}

} // namespace
} // namespace velmora::testing
