// The block array, paragraph records, line lists, column arithmetic and store-level rules.
#include "editor/core/store/StoreTestSupport.h"
#include "editor/core/text/ColumnArithmetic.h"
#include "editor/core/text/EditorErrors.h"
#include "editor/core/store/LinesList.h"
#include "editor/core/editing/StoreConsistency.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace velmora::core;
using namespace velmora::core::testing;

namespace
{

// Expects fn to raise an EditorError of type E with exactly the given message.
template <class E, class F> void expectError(F fn, const std::string &message)
{
    try {
        fn();
        ADD_FAILURE() << "no exception, expected " << message;
    } catch (const E &e) {
        EXPECT_EQ(std::string(e.what()), message);
    }
}

RunInfo attributeRun(std::int32_t position, std::uint8_t style)
{
    RunInfo r;
    r.position = position;
    r.style = style;
    r.foreground = 0x0000FF;
    return r;
}

} // namespace

TEST(DynArray2, IndexesOutsideTheRecordsRaiseAndCapacityKeepsOneBlock)
{
    TParagraphsList list;
    ParInfo rec;
    list.add(&rec);
    list.add(&rec);
    expectError<ERangeError>([&] { list.item(-1); }, "List index out of bounds");
    expectError<ERangeError>([&] { list.item(2); }, "List index out of bounds");
    expectError<ERangeError>([&] { list.put(2, &rec); }, "List index out of bounds");
    EXPECT_EQ(list.count(), 2);

    list.setCount(-5);
    EXPECT_EQ(list.count(), 0);
    list.setCapacity(0);
    EXPECT_EQ(list.blockCount(), 1u);
    EXPECT_EQ(list.capacity(), list.itemsPerBlock());
    EXPECT_LE(list.itemsPerBlock() * list.itemStride(), TDynArray2::kBlockSize);
}

TEST(DynArray2, GrowingNeverMovesRecordsAndShrinkingFreesBlocks)
{
    TParagraphsList list;
    ParInfo rec;
    list.add(&rec);
    std::byte *first = list.item(0);
    const std::int32_t n = list.itemsPerBlock() * 3 + 5;
    list.setCount(n);
    EXPECT_EQ(list.item(0), first);
    EXPECT_EQ(list.blockCount(), 4u);
    EXPECT_EQ(list.capacity(), 4 * list.itemsPerBlock());
    // Appended records fill a block before the next one is started.
    EXPECT_EQ(list.item(list.itemsPerBlock() - 1) - first, (list.itemsPerBlock() - 1) * list.itemStride());
    list.setCount(1);
    EXPECT_EQ(list.blockCount(), 4u); // lowering the count frees nothing
    list.setCapacity(1);
    EXPECT_EQ(list.blockCount(), 1u);
    EXPECT_EQ(list.item(0), first);
}

TEST(ParagraphRecord, CompactUpTo65534CharactersExtendedFrom65535)
{
    ParInfo p;
    p.setLength(65534);
    EXPECT_FALSE(p.extended());
    EXPECT_EQ(p.length(), 65534);
    p.setLength(65535);
    ASSERT_TRUE(p.extended());
    EXPECT_EQ(p.length(), 65535);
    // The converted record is still one line over the whole paragraph, with no colours or runs.
    EXPECT_EQ(p.lineCount(), 1);
    EXPECT_EQ(p.firstLineInfo().nextLineStart, 65535);
    EXPECT_EQ(p.textColour(), -1);
    EXPECT_EQ(p.backgroundColour(), -1);
    EXPECT_EQ(p.startRun(), sharedDefaultRun());
    p.setLength(10);
    EXPECT_TRUE(p.extended()); // conversion is one-way
    p.release();
}

TEST(ParagraphRecord, FirstLineStaysCompactOnlyWhenTheCompactFormCanHoldIt)
{
    ParInfo p;
    p.setLength(20);
    LineInfo line = compactLine(20, 300);
    p.setFirstLineInfo(line);
    EXPECT_FALSE(p.extended());
    EXPECT_EQ(p.firstLineInfo().width, 300);

    for (auto change : {+[](LineInfo &l) { l.width = 70000; }, +[](LineInfo &l) { l.nextLineStart = 12; },
                        +[](LineInfo &l) { l.justifyFrom = 5; }, +[](LineInfo &l) { l.startStyle = 2; }}) {
        ParInfo q;
        q.setLength(20);
        LineInfo odd = compactLine(20, 10);
        change(odd);
        q.setFirstLineInfo(odd);
        EXPECT_TRUE(q.extended());
        EXPECT_EQ(q.firstLineInfo().width, odd.width);
        EXPECT_EQ(q.firstLineInfo().startStyle, odd.startStyle);
        q.release();
    }
}

TEST(ParagraphRecord, StartRunRecordsAreSharedAndCountedButTheDefaultNeverChanges)
{
    RunInfo *shared = sharedDefaultRun();
    const std::int32_t defaultCount = shared->position;
    ParInfo a, b;
    RunInfo plain = attributeRun(0, 0x01);
    a.setStartRun(&plain, true);
    EXPECT_FALSE(a.extended()); // no attributes: the shared default, nothing converted
    EXPECT_EQ(a.startRun(), shared);

    RunInfo attr = attributeRun(0, 0x81);
    a.setStartRun(&attr, true);
    ASSERT_TRUE(a.extended());
    RunInfo *copy = a.startRun();
    EXPECT_NE(copy, &attr);
    EXPECT_EQ(copy->position, 1);
    EXPECT_EQ(copy->foreground, attr.foreground);
    b.setStartRun(copy, false);
    EXPECT_EQ(copy->position, 2);
    a.setStartRun(copy, false); // re-setting its own record keeps it alive
    EXPECT_EQ(copy->position, 2);
    a.setStartRun(&plain, false); // back to the default; the copy keeps b's reference
    EXPECT_EQ(a.startRun(), shared);
    EXPECT_EQ(copy->position, 1);
    b.release(); // frees the copy (the sanitizer build checks this)
    a.release();
    EXPECT_EQ(shared->position, defaultCount);
}

TEST(LinesList, CompactParagraphShowsOneImplicitLine)
{
    ParInfo p;
    p.setLength(7);
    TLinesList lines;
    lines.setParagraph(&p);
    ASSERT_EQ(lines.count(), 1);
    const LineInfo line = lines.item(0);
    EXPECT_EQ(line.lineStart, 0);
    EXPECT_EQ(line.nextLineStart, 7);
    EXPECT_EQ(line.offsetValue, 7);
    EXPECT_EQ(line.justifyFrom, 7);
    expectError<ERangeError>([&] { lines.item(1); }, "List index out of bounds");
    expectError<ERangeError>([&] { lines.item(-1); }, "List index out of bounds");
    lines.setCount(0);
    EXPECT_FALSE(p.extended());
    lines.setCount(3);
    EXPECT_TRUE(p.extended());
    EXPECT_EQ(lines.count(), 3);
    p.release();
}

TEST(ColumnArithmetic, TabsCodesAndColumnsBeyondTheEnd)
{
    const std::string_view text = "a\tbc";
    EXPECT_EQ(columnOfOffset(text, 1, 4, false), 1);
    EXPECT_EQ(columnOfOffset(text, 2, 4, false), 4);
    EXPECT_EQ(columnOfOffset(text, 4, 4, false), 6);
    EXPECT_EQ(columnOfOffset(text, 2, 0, false), 2); // tab size 0 counts as 1
    EXPECT_EQ(offsetAtColumn(text, 2, 4, false), 1); // inside the tab
    EXPECT_EQ(columnShortfall(text, 2, 4, false), 1);
    EXPECT_EQ(offsetAtColumn(text, 4, 4, false), 2);
    EXPECT_EQ(columnShortfall(text, 4, 4, false), 0);
    EXPECT_EQ(offsetAtColumn(text, 9, 4, false), 4); // beyond the end
    EXPECT_EQ(columnShortfall(text, 9, 4, false), 3);
    EXPECT_EQ(offsetAtColumn(text, 3, -1, false), 3); // a tab is one column without stops

    const std::string_view coded = "\x02"
                                   "ab\x15";
    EXPECT_EQ(columnOfOffset(coded, 4, 8, true), 2);
    EXPECT_EQ(columnOfOffset(coded, 4, 8, false), 4);
    EXPECT_EQ(offsetAtColumn(coded, 0, 8, true), 1); // the code takes no column
}

TEST(ParagraphStore, EmptyTextAndPositionsAcrossABreak)
{
    TSourceMemoCore memo;
    const TParagraphsList &s = memo.paragraphs();
    EXPECT_EQ(s.count(), 1);
    EXPECT_EQ(s.lengthOf(0), 0);
    EXPECT_EQ(s.marks().textLength(), 0);
    EXPECT_EQ(s.marks().lineCount(), 1);
    EXPECT_NO_THROW(checkStoreConsistency(s));

    setText(memo, "abc\r\nde");
    EXPECT_EQ(s.startOf(0), 0);
    EXPECT_EQ(s.startOf(1), 5); // 3 + the two positions of the break
    EXPECT_EQ(s.marks().textLength(), 7);
    EXPECT_EQ(memo.characterAt(3), 13);
    EXPECT_EQ(memo.characterAt(4), 10);
    EXPECT_EQ(memo.characterAt(5), 'd');
}

TEST(ParagraphStore, OwnedBuffersCarrySlackAndAreReusedUntilAnEighthIsSpare)
{
    TSourceMemoCore memo;
    setText(memo, std::string(640, 'x'));
    const ParInfo *p = memo.paragraphs().par(0);
    ASSERT_TRUE(p->ownsText());
    EXPECT_EQ(textBufferSize(p->text), 640 + 10 + 1);
    const char *buffer = p->text;

    memo.setSelStart(100);
    memo.SetSelTextBuf("yyyy"); // 644 < 651: in place
    EXPECT_EQ(memo.paragraphs().par(0)->text, buffer);
    memo.setSelStart(0);
    memo.setSelLength(70); // 574 + 71 = 645 > 651? no: 651 >= 574 + 71 -> a new, smaller buffer
    memo.ClearSelection();
    EXPECT_EQ(textBufferSize(memo.paragraphs().par(0)->text), 574 + 8 + 1);
    EXPECT_EQ(wholeText(memo).substr(30, 4), "yyyy");

    memo.SelectAll();
    memo.ClearSelection();
    EXPECT_EQ(memo.paragraphs().par(0)->text, nullptr); // an empty paragraph has no buffer
}

TEST(ParagraphStore, LoadedParagraphsBorrowTheirTextUntilChanged)
{
    TSourceMemoCore memo;
    TParagraphsList &s = memo.paragraphs();
    s.clear();
    char *buffer = s.addLoadBuffer(16);
    std::memcpy(buffer, "ab\0cde\0\0", 8);
    s.appendLoaded(buffer, 2, 0);
    s.appendLoaded(buffer + 3, 3, 0x01);
    s.appendLoaded(buffer + 7, 0, 0);
    s.finishLoad();
    EXPECT_NO_THROW(checkStoreConsistency(s));
    EXPECT_EQ(s.marks().textLength(), 2 + 2 + 3 + 2 + 0);
    EXPECT_FALSE(s.par(0)->ownsText());
    EXPECT_TRUE(s.par(1)->extended()); // a start style byte needs the extension
    EXPECT_EQ(s.par(1)->startStyle(), 0x01);
    EXPECT_EQ(s.marks().lastChangedPar(), 2);
    EXPECT_EQ(s.marks().lastStartStopPar(), -1);

    memo.setSelStart(6);
    memo.SetSelTextBuf("X");
    EXPECT_TRUE(s.par(1)->ownsText());
    EXPECT_FALSE(s.par(0)->ownsText());
    EXPECT_EQ(s.par(0)->text, buffer);
    EXPECT_EQ(wholeText(memo), "ab\r\ncdXe\r\n");
    EXPECT_EQ(buffer[5], 'e'); // the load buffer is never written by an edit
    EXPECT_EQ(s.loadBufferCount(), 1u);
    s.clear();
    EXPECT_EQ(s.loadBufferCount(), 0u);
    EXPECT_EQ(s.count(), 0);
    EXPECT_EQ(s.marks().lastParToFormat(), -1);
}

TEST(ParagraphStore, ChangeMarksAndLayoutProgressFollowAnEdit)
{
    TSourceMemoCore memo;
    setText(memo, "0\r\n1\r\n2\r\n3\r\n4\r\n5");
    TParagraphsList &s = memo.paragraphs();
    s.invalidateLayout();
    EXPECT_EQ(s.marks().firstUnformattedPar(), 0);
    EXPECT_EQ(s.marks().lastParToFormat(), 5);
    s.marks().setFirstUnformattedPar(4);
    s.marks().startStopDoneThrough(5);
    memo.BeginUpdate(); // keep the recorded range until the refresh
    memo.setSelStart(s.startOf(2));
    memo.SetSelTextBuf("a\r\nb\r\n");
    EXPECT_TRUE(s.marks().editMark());
    EXPECT_EQ(s.marks().firstChangedPar(), 2);
    EXPECT_EQ(s.marks().firstChangedLine(), 2);
    EXPECT_EQ(s.marks().lastChangedPar(), 4); // 2 moved by the two new paragraphs
    EXPECT_EQ(s.marks().lastStartStopPar(), 1);
    EXPECT_EQ(s.marks().firstUnformattedPar(), 6);
    EXPECT_EQ(s.marks().lastParToFormat(), 7);
    EXPECT_EQ(s.marks().pendingVisibleChange(), 2);
    memo.EndUpdate();
    EXPECT_FALSE(s.marks().editMark());
    EXPECT_EQ(s.marks().lastChangedPar(), -1);
    EXPECT_NO_THROW(checkStoreConsistency(s));
}

TEST(ParagraphStore, ArrayShrinksWhenMostParagraphsAreDeleted)
{
    TSourceMemoCore memo;
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "p\r\n";
    setText(memo, text);
    const std::int32_t before = memo.paragraphs().capacity();
    memo.setSelStart(0);
    memo.setSelLength(memo.TextLength() - 30);
    memo.ClearSelection();
    EXPECT_EQ(memo.ParagraphCount(), 11);
    EXPECT_LT(memo.paragraphs().capacity(), before);
    EXPECT_EQ(memo.paragraphs().blockCount(), 1u);
    EXPECT_NO_THROW(checkStoreConsistency(memo.paragraphs()));
}

TEST(ParagraphStore, TextTooLongLeavesTheStoreAsItWas)
{
    TSourceMemoCore memo;
    setText(memo, "abc\r\ndef");
    memo.paragraphs().maxTextLength = 12;
    memo.setSelStart(3);
    memo.SetSelTextBuf("12"); // 10 positions: fine
    memo.setSelStart(2);
    expectError<EditorError>([&] { memo.SetSelTextBuf("x\r\nyz"); }, "Text too long");
    EXPECT_EQ(wholeText(memo), "abc12\r\ndef");
    EXPECT_EQ(memo.ParagraphCount(), 2);
    EXPECT_EQ(memo.undoList().count(), 1); // the failed change left no undo record
    EXPECT_NO_THROW(checkStoreConsistency(memo.paragraphs()));
    memo.Undo();
    EXPECT_EQ(wholeText(memo), "abc\r\ndef");
}

TEST(ParagraphStore, EditInsideALaidOutParagraphCorrectsItsLines)
{
    TSourceMemoCore memo;
    setText(memo, "aaaa bbbb cccc\r\nnext");
    TParagraphsList &s = memo.paragraphs();
    TLinesList lines;
    lines.setParagraph(s.par(0));
    lines.setCount(3);
    const std::int32_t starts[] = {0, 5, 10, 14};
    for (int i = 0; i < 3; ++i) {
        LineInfo l = compactLine(0, 40);
        l.lineStart = starts[i];
        l.nextLineStart = l.justifyFrom = starts[i + 1];
        lines.put(i, l);
    }
    s.marks().addLines(2, 2);
    s.shiftFirstLines(1, 2);
    ASSERT_NO_THROW(checkStoreConsistency(s));

    memo.setSelStart(6);
    memo.SetSelTextBuf("XY"); // inside line 1
    EXPECT_EQ(lines.item(0).nextLineStart, 5);
    EXPECT_EQ(lines.item(1).nextLineStart, 12);
    EXPECT_EQ(lines.item(2).lineStart, 12);
    EXPECT_EQ(lines.item(2).justifyFrom, 16);
    EXPECT_NO_THROW(checkStoreConsistency(s));

    memo.setSelStart(3);
    memo.setSelLength(10); // from line 0 into line 2
    memo.ClearSelection();
    EXPECT_EQ(lines.item(0).nextLineStart, 3);
    EXPECT_EQ(lines.item(1).lineStart, 3);
    EXPECT_EQ(lines.item(1).nextLineStart, 3);
    EXPECT_EQ(lines.item(2).lineStart, 3);
    EXPECT_EQ(lines.item(2).nextLineStart, 6);
    EXPECT_NO_THROW(checkStoreConsistency(s));
}

TEST(ParagraphStore, RunsCrossedByAnEditDropTheLinesAfterTheEdit)
{
    TSourceMemoCore memo;
    setText(memo, "one two three\r\nx");
    TParagraphsList &s = memo.paragraphs();
    ParInfo *p = s.par(0);
    p->runs() = {attributeRun(4, 0xC1), attributeRun(8, 0x00)};
    TLinesList lines;
    lines.setParagraph(p);
    lines.setCount(2);
    LineInfo first = compactLine(4, 10), second = compactLine(13, 10);
    second.lineStart = 4;
    lines.put(0, first);
    lines.put(1, second);
    s.marks().addLines(1, 1);
    s.shiftFirstLines(1, 1);

    memo.setSelStart(2);
    memo.setSelLength(4); // removes the run at 4
    memo.ClearSelection();
    EXPECT_EQ(p->runCount(), 1);
    EXPECT_EQ(p->run(0).position, 4); // the run at 8 moved back by 4
    EXPECT_EQ(p->lineCount(), 1);
    EXPECT_EQ(s.marks().lineCount(), 2);
    EXPECT_NO_THROW(checkStoreConsistency(s));
}

TEST(ParagraphStore, ACompactParagraphKeepsItsRunsThroughAnEditInside)
{
    TSourceMemoCore memo;
    setText(memo, "mov ax, bx\r\nnext");
    ParInfo *p = memo.paragraphs().par(0);
    p->runs() = {attributeRun(0, 0xC1), attributeRun(3, 0x00), attributeRun(8, 0xC2)};
    EXPECT_FALSE(p->extended()); // runs alone need no extension

    memo.setSelStart(4);
    memo.setSelLength(2); // "ax" holds no run start
    memo.SetSelTextBuf("cx, dx");
    ASSERT_EQ(p->runCount(), 3);
    EXPECT_FALSE(p->extended());
    EXPECT_EQ(p->run(1).position, 3);
    EXPECT_EQ(p->run(2).position, 12); // moved on by the 4 characters added
    EXPECT_EQ(p->run(2).style, 0xC2);

    memo.setSelStart(2);
    memo.setSelLength(2); // takes the run at 3 with it
    memo.ClearSelection();
    ASSERT_EQ(p->runCount(), 2);
    EXPECT_EQ(p->run(1).position, 10);
    EXPECT_NO_THROW(checkStoreConsistency(memo.paragraphs()));
}

TEST(ParagraphStore, SplittingAParagraphCarriesTheRunInForceIntoTheNewOnes)
{
    TSourceMemoCore memo;
    setText(memo, "abcdef");
    ParInfo *p = memo.paragraphs().par(0);
    p->runs() = {attributeRun(1, 0x81), attributeRun(4, 0x82)};
    p->flags |= pfNoWrap | pfStartStopDone;
    memo.setSelStart(3);
    memo.SetSelTextBuf("\r\nX\r\n");
    const TParagraphsList &s = memo.paragraphs();
    ASSERT_EQ(s.count(), 3);
    EXPECT_EQ(s.par(0)->runCount(), 1);
    EXPECT_EQ(s.par(0)->flags & (pfNoWrap | pfStartStopDone), pfNoWrap | pfStartStopDone);
    EXPECT_EQ(s.par(1)->flags & pfNoWrap, 0);
    // The run in force at the split (style 0x81) starts the new paragraphs, one shared copy.
    EXPECT_EQ(s.par(1)->startRun()->style, 0x81);
    EXPECT_EQ(s.par(1)->startRun(), s.par(2)->startRun());
    EXPECT_EQ(s.par(2)->startRun()->position, 2);
    ASSERT_EQ(s.par(2)->runCount(), 1);
    EXPECT_EQ(s.par(2)->run(0).position, 1); // "def" with its run at old offset 4
}

TEST(ParagraphStore, ReplaceReportsRunsOnlyWhenItRemovesThem)
{
    TSourceMemoCore memo;
    setText(memo, "abcdef\r\nghi\r\njkl");
    TParagraphsList &s = memo.paragraphs();
    s.par(0)->runs() = {attributeRun(1, 0x81), attributeRun(5, 0x82)};
    s.par(2)->runs() = {attributeRun(2, 0x81)};
    const ReplaceOptions plain;
    EXPECT_FALSE(s.replace(0, 3, 0, 3, "\r\n", plain).runsCrossed); // a split between runs
    EXPECT_FALSE(s.replace(1, 0, 1, 1, "x", plain).runsCrossed);    // "de": no run inside
    EXPECT_TRUE(s.replace(1, 2, 1, 3, "", plain).runsCrossed);      // the run at old offset 5
    EXPECT_FALSE(s.replace(2, 0, 3, 2, "", plain).runsCrossed);     // up to the run of "jkl"
    EXPECT_TRUE(s.replace(0, 0, 2, 1, "", plain).runsCrossed);      // the run at 1
    EXPECT_NO_THROW(checkStoreConsistency(s));
}
