// The replace of the selection: selection model, undo records and grouping, limits, events,
// view calls in order, style codes, clean-up, navigators and the upper-case cache.
#include "editor/core/store/StoreTestSupport.h"
#include "editor/core/text/EditorErrors.h"
#include "editor/core/editing/StoreConsistency.h"

#include <gtest/gtest.h>

using namespace velmora::core;
using namespace velmora::core::testing;

namespace
{

void type(TSourceMemoCore &memo, const std::string &chars)
{
    for (const char c : chars) {
        const char one[2] = {c, 0};
        memo.SetSelTextBuf(one);
    }
}

// Records what the editor asks of its view, in order.
class RecordingView : public TMemoView
{
public:
    void recordHighlightStates(TSourceNavigator &start, TSourceNavigator &end) override
    {
        calls.push_back("states " + std::to_string(start.Pos()) + " " + std::to_string(end.Pos()));
    }
    bool repairHighlightStretch(std::int32_t &start, std::int32_t &end, bool runsCrossed) override
    {
        calls.push_back("repair " + std::to_string(start) + " " + std::to_string(end) + (runsCrossed ? " x" : ""));
        return !insideAttributeRun;
    }
    void highlightStretch(std::int32_t start, std::int32_t end) override
    {
        calls.push_back("highlight " + std::to_string(start) + " " + std::to_string(end));
    }
    void relayoutChangedRange() override { calls.push_back("relayout"); }
    void notifyTextChanged() override { calls.push_back("listeners"); }
    void scrollToTop() override { calls.push_back("top"); }

    std::vector<std::string> calls;
    bool insideAttributeRun = false;
};

} // namespace

TEST(Replace, TypedCharactersMakeOneRecordUntilTheCaretMoves)
{
    TSourceMemoCore memo;
    setText(memo, "x");
    memo.setSelStart(1);
    type(memo, "abc");
    EXPECT_EQ(memo.undoList().count(), 1);
    EXPECT_EQ(memo.undoList().record(0).start, 1);
    EXPECT_EQ(memo.undoList().record(0).end, 4);
    memo.Undo();
    EXPECT_EQ(wholeText(memo), "x");
    memo.Redo();
    EXPECT_EQ(wholeText(memo), "xabc");

    memo.setSelStart(2); // between typed characters: a new record
    type(memo, "Z");
    memo.setSelStart(3);
    type(memo, "Y");
    EXPECT_EQ(memo.undoList().count(), 3);
    memo.Undo();
    EXPECT_EQ(wholeText(memo), "xaZbc");

    memo.setSelStart(1); // typing after a pure deletion starts a new record too
    memo.setSelLength(1);
    memo.ClearSelection();
    type(memo, "q");
    EXPECT_EQ(memo.undoList().count(), 4);
}

TEST(Replace, ReplacingASelectionRecordsTheRemovedTextAndUndoRedoSwapIt)
{
    TSourceMemoCore memo;
    setText(memo, "hello");
    memo.setSelStart(1);
    memo.setSelLength(2);
    memo.SetSelTextBuf("E");
    ASSERT_EQ(memo.undoList().count(), 1);
    const UndoRecord &r = memo.undoList().record(0);
    EXPECT_EQ(r.start, 1);
    EXPECT_EQ(r.end, 2);
    EXPECT_EQ(r.removed, "el");
    EXPECT_EQ(r.size(), 12 + 2 + 1);
    EXPECT_TRUE(memo.CanUndo());
    EXPECT_FALSE(memo.CanRedo());
    memo.Undo();
    EXPECT_EQ(wholeText(memo), "hello");
    EXPECT_TRUE(memo.CanRedo());
    memo.Redo();
    EXPECT_EQ(wholeText(memo), "hElo");
    memo.Undo();
    memo.setSelStart(0);
    type(memo, "!"); // a new change drops the redo records
    EXPECT_FALSE(memo.CanRedo());
    EXPECT_EQ(memo.undoList().count(), 1);
}

TEST(Replace, OnlyACarriageReturnBreaksAParagraph)
{
    TSourceMemoCore memo;
    setText(memo, "abcd");
    memo.setSelStart(2);
    memo.SetSelTextBuf("\n");
    EXPECT_EQ(memo.ParagraphCount(), 1);
    EXPECT_EQ(memo.TextLength(), 5);
    memo.SetSelTextBuf("\r\n");
    EXPECT_EQ(memo.ParagraphCount(), 2);
    EXPECT_EQ(memo.SelStart(), 5); // the caret stands after the inserted text
    memo.SetSelTextBuf("\r");      // a lone 13 is a whole break
    memo.SetSelTextBuf("\n\r");    // 10 then 13: an ordinary 10 and a break
    EXPECT_EQ(wholeText(memo), "ab\n\r\n\r\n\n\r\ncd");
    EXPECT_EQ(memo.ParagraphCount(), 4);
    EXPECT_NO_THROW(checkStoreConsistency(memo.paragraphs()));
}

TEST(Replace, BadInputIsStoredOrCutButNeverBreaksTheStore)
{
    TSourceMemoCore memo;
    const char withNul[] = "ab\0cd";
    memo.SetSelTextBuf(withNul); // a NUL ends the text given
    EXPECT_EQ(wholeText(memo), "ab");
    std::string binary;
    for (int c = 1; c < 256; ++c)
        if (c != 13)
            binary += static_cast<char>(c);
    memo.SetSelTextBuf(binary.c_str());
    EXPECT_EQ(wholeText(memo), "ab" + binary);
    memo.setSelStart(memo.TextLength());
    memo.SetSelTextBuf(std::string(70000, 'w').c_str()); // past the compact limit
    EXPECT_TRUE(memo.paragraphs().par(0)->extended());
    EXPECT_EQ(memo.TextLength(), 2 + 254 + 70000);
    memo.setSelStart(5);
    memo.setSelLength(66000);
    memo.ClearSelection();
    EXPECT_NO_THROW(checkStoreConsistency(memo.paragraphs()));
    memo.Undo();
    memo.Undo();
    EXPECT_EQ(wholeText(memo), "ab" + binary);
}

TEST(Replace, SelectionModel)
{
    TSourceMemoCore memo;
    setText(memo, "abc\r\ndef");
    memo.SelectAll();
    EXPECT_EQ(memo.SelStart(), 8);
    EXPECT_EQ(memo.SelLength(), -8);
    EXPECT_EQ(memo.SelText(), "abc\r\ndef");

    memo.setSelStart(-4);
    EXPECT_EQ(memo.SelStart(), 0);
    memo.setSelLength(100);
    EXPECT_EQ(memo.SelLength(), 8);
    memo.setSelStart(6);
    memo.setSelLength(-100);
    EXPECT_EQ(memo.SelLength(), -6);
    EXPECT_EQ(memo.SelStart(), 6);
    EXPECT_EQ(memo.selectionStart().Pos(), 0);
    char buffer[4];
    EXPECT_EQ(memo.copySelection(buffer, sizeof buffer), 3);
    EXPECT_STREQ(buffer, "abc");

    EXPECT_EQ(memo.textRange(-5, 2), "ab");
    EXPECT_EQ(memo.textRange(6, 100), "ef");
    EXPECT_EQ(memo.textRange(4, 2), "");
    memo.setSelStart(6);
    EXPECT_EQ(memo.SelPar(), 1);
    EXPECT_EQ(memo.SelLine(), 1);
    EXPECT_EQ(memo.SelCol(), 1);
    memo.setSelCol(10);
    EXPECT_EQ(memo.SelCol(), 3);
    memo.setWordWrap(false);
    memo.setOptions(TSourceMemoOptions(memo.Options()).set(smoKeepColumnPos));
    memo.setSelCol(10); // beyond the line: the caret stands in virtual space
    EXPECT_EQ(memo.SelCol(), 10);
    EXPECT_EQ(memo.overshoot(), 7);
    memo.selectParagraph(7);
    EXPECT_EQ(memo.SelStart(), 5);
    memo.selectLine(0);
    EXPECT_EQ(memo.SelStart(), 0);
}

TEST(Replace, ExtraSpacesFillVirtualSpaceBeforeTypedText)
{
    TSourceMemoCore memo;
    setText(memo, "ab");
    memo.setSelStart(2);
    memo.setOvershoot(3);
    memo.setSelText("x");
    EXPECT_EQ(wholeText(memo), "abx");
    memo.setOptions(TSourceMemoOptions(memo.Options()).set(smoPutExtraSpaces));
    memo.setOvershoot(2);
    memo.setSelText("y");
    EXPECT_EQ(wholeText(memo), "abx  y");
    EXPECT_EQ(memo.overshoot(), 0);
}

TEST(Replace, DiscardingTrailingBlanksWhenBreakingALine)
{
    TSourceMemoCore memo;
    setText(memo, "a  b ");
    memo.setOptions(TSourceMemoOptions(memo.Options()).set(smoDiscardTrailingSpaces)); // reloads
    EXPECT_EQ(wholeText(memo), "a  b");
    memo.setSelStart(3);
    memo.SetSelTextBuf("\r\n"); // after the letter and two blanks
    EXPECT_EQ(wholeText(memo), "a\r\nb");
    EXPECT_EQ(memo.SelStart(), 3);
    memo.Undo(); // the blanks come back with the undo
    EXPECT_EQ(wholeText(memo), "a  b");
    memo.Redo();
    EXPECT_EQ(wholeText(memo), "a\r\nb");
    memo.setSelStart(4);
    memo.SetSelTextBuf("  "); // blanks typed at a paragraph end are dropped at once
    EXPECT_EQ(wholeText(memo), "a\r\nb");

    setText(memo, "x\r\nyz");
    EXPECT_EQ(wholeText(memo), "x\r\nyz");
    memo.setSelStart(1);
    memo.SetSelTextBuf("b \t\r\nc  "); // every piece loses its trailing blanks
    EXPECT_EQ(wholeText(memo), "xb\r\nc\r\nyz");
    memo.setSelStart(4);
    memo.SetSelTextBuf("d  "); // not at the paragraph end: kept
    EXPECT_EQ(wholeText(memo), "xb\r\nd  c\r\nyz");
}

TEST(Replace, DeletedStyleCodesComeBackSoTheTextAfterKeepsItsStyle)
{
    TSourceMemoCore memo;
    memo.paragraphs().StaticFormat = true;
    setText(memo, "ab\x02"
                  "cd\x02"
                  "ef");
    memo.setSelStart(1);
    memo.setSelLength(3); // "b", bold on, "c"
    memo.ClearSelection();
    EXPECT_EQ(wholeText(memo), "a\x02"
                               "d\x02"
                               "ef");
    memo.Undo();
    EXPECT_EQ(wholeText(memo), "ab\x02"
                               "cd\x02"
                               "ef");

    memo.keepCodes = true; // the style-code commands insert and remove codes themselves
    memo.setSelStart(2);
    memo.setSelLength(1);
    memo.ClearSelection();
    EXPECT_EQ(wholeText(memo), "abcd\x02"
                               "ef");
    memo.keepCodes = false;

    setText(memo, "a\x04\x02"
                  "b"); // replacing up to the end of the text adds no codes
    EXPECT_EQ(memo.TextLength(), 4);
    memo.keepCodes = true;
    memo.setSelStart(3);
    memo.SetSelTextBuf("\x02\x01"); // the same code behind codes only: both go
    EXPECT_EQ(wholeText(memo), "a\x04\x01"
                               "b");
    EXPECT_EQ(memo.SelStart(), 3); // the caret stays after the typed text
    memo.codeCleanUp = false;
    memo.SetSelTextBuf("\x01");
    EXPECT_EQ(wholeText(memo), "a\x04\x01\x01"
                               "b");
}

TEST(Replace, SplittingUnderStaticFormatCarriesTheRunningStyle)
{
    TSourceMemoCore memo;
    memo.paragraphs().StaticFormat = true;
    setText(memo, "a\x02"
                  "bc");
    memo.setSelStart(3);
    memo.SetSelTextBuf("\r\nx\x03\r\ny");
    const TParagraphsList &s = memo.paragraphs();
    ASSERT_EQ(s.count(), 3);
    EXPECT_EQ(s.par(1)->startStyle(), 0x01);
    EXPECT_EQ(s.par(2)->startStyle(), 0x11);
    EXPECT_NO_THROW(checkStoreConsistency(s));
}

TEST(Replace, DeleteWithTextNavigatorsInsideDeletedTextAreDestroyed)
{
    TSourceMemoCore memo;
    setText(memo, "0123456789");
    int destroyed = 0;
    const auto make = [&](std::int32_t pos, bool atStart) {
        auto *nav = new TSourceNavigator(&memo);
        nav->deleteWithText = true;
        nav->atParagraphStart = atStart;
        nav->onDestroy = [&destroyed](TSourceNavigator &) { ++destroyed; };
        nav->setPos(pos);
        return nav;
    };
    TSourceNavigator *atStart = make(2, false);
    make(4, false);
    TSourceNavigator *atEnd = make(6, true);
    make(2, true);
    TSourceNavigator *after = make(8, false);
    after->ParNumber(); // resolved before the edit
    memo.setSelStart(2);
    memo.setSelLength(4);
    memo.SetSelTextBuf("ab\r\nc");
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(atStart->Pos(), 2);
    EXPECT_EQ(atEnd->Pos(), 7); // follows the end of the inserted text
    EXPECT_EQ(after->Pos(), 9);
    EXPECT_EQ(after->ParNumber(), 1);
    EXPECT_EQ(after->ParOffset(), 3);

    // A callback that frees another navigator during the same correction pass.
    TSourceNavigator *victim = make(3, false);
    TSourceNavigator *killer = make(3, false);
    victim->onDestroy = [&](TSourceNavigator &) { ++destroyed; };
    killer->onDestroy = [&, victim](TSourceNavigator &) {
        ++destroyed;
        if (destroyed < 10)
            delete victim;
    };
    victim->deleteWithText = false;
    memo.setSelStart(2);
    memo.setSelLength(3);
    memo.ClearSelection();
    EXPECT_EQ(destroyed, 4);
    EXPECT_NO_THROW(checkStoreConsistency(memo.paragraphs()));
}

TEST(Replace, UpdateBlocksGroupUndoAndNotifyOnce)
{
    TSourceMemoCore memo;
    int changes = 0;
    memo.OnChange = [&changes](TSourceMemoCore &) { ++changes; };
    memo.SetSelTextBuf("x");
    EXPECT_EQ(changes, 1);

    memo.BeginUpdate();
    memo.SetSelTextBuf("a");
    memo.setSelStart(0);
    memo.SetSelTextBuf("b");
    memo.BeginUpdate();
    memo.EndUpdate();
    EXPECT_EQ(changes, 1);
    memo.EndUpdate();
    memo.EndUpdate(); // never below 0
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(memo.updateCount(), 0);

    memo.BeginUpdate(); // a second block of the same depth is undone on its own
    memo.setSelStart(3);
    memo.SetSelTextBuf("c");
    memo.EndUpdate();
    EXPECT_EQ(wholeText(memo), "bxac");
    memo.Undo();
    EXPECT_EQ(wholeText(memo), "bxa");
    memo.Undo();
    EXPECT_EQ(wholeText(memo), "x");
    memo.Redo();
    EXPECT_EQ(wholeText(memo), "bxa");
    memo.Undo();
    memo.Undo();
    EXPECT_EQ(wholeText(memo), "");
    EXPECT_FALSE(memo.CanUndo());
}

TEST(Replace, UndoLevelAndSpaceLimits)
{
    TSourceMemoCore memo;
    try {
        memo.setUndoMaxLevel(134217728);
        ADD_FAILURE() << "no exception";
    } catch (const EListError &e) {
        EXPECT_STREQ(e.what(), "Undo set too high");
    }
    EXPECT_EQ(memo.UndoMaxLevel(), 65536);

    memo.setUndoMaxLevel(1);
    memo.SetSelTextBuf("a");
    memo.setSelStart(0);
    memo.SetSelTextBuf("b");
    EXPECT_EQ(memo.undoList().count(), 2);
    memo.setUndoMaxLevel(1);
    EXPECT_EQ(memo.undoList().count(), 1);
    memo.Undo();
    EXPECT_EQ(wholeText(memo), "a");
    EXPECT_FALSE(memo.CanUndo());
    memo.setUndoMaxLevel(0); // recording off
    memo.SetSelTextBuf("c");
    EXPECT_EQ(memo.undoList().count(), 0);

    memo.setUndoMaxLevel(-1);
    memo.setUndoMaxSpace(50);
    memo.setSelStart(0);
    memo.setSelLength(1);
    memo.SetSelTextBuf("1"); // 12 + 1 + 1 = 14 bytes each
    memo.setSelStart(0);
    memo.setSelLength(1);
    memo.SetSelTextBuf("2");
    memo.setSelStart(0);
    memo.setSelLength(1);
    memo.SetSelTextBuf("3");
    memo.setSelStart(0);
    memo.setSelLength(1);
    memo.SetSelTextBuf("4");
    EXPECT_EQ(memo.undoList().count(), 3);
    EXPECT_EQ(memo.undoList().size(), 42);
    memo.setUndoMaxSpace(20);
    EXPECT_EQ(memo.undoList().count(), 1);
    memo.SelectAll();
    memo.SetSelTextBuf(std::string(40, 'z').c_str()); // larger than the whole space
    memo.SelectAll();
    memo.SetSelTextBuf("q");
    EXPECT_EQ(memo.undoList().count(), 0);
    EXPECT_FALSE(memo.CanUndo());
}

TEST(Replace, EventsAndViewCallsInTheirOrder)
{
    TSourceMemoCore memo;
    RecordingView view;
    memo.setView(&view);
    memo.OnBeforeChange = [](TSourceMemoCore &, const char *&text) {
        if (text && std::string(text) == "swap")
            text = "SW";
    };
    std::vector<std::string> parsed;
    memo.OnParse = [&](TSourceMemoCore &m, std::int32_t a, std::int32_t b) {
        parsed.push_back(std::to_string(a) + ".." + std::to_string(b) + " at " + std::to_string(m.updateCount()));
    };
    memo.OnChange = [&](TSourceMemoCore &) { view.calls.push_back("OnChange"); };
    memo.SetSelTextBuf("swap");
    EXPECT_EQ(wholeText(memo), "SW");
    const std::vector<std::string> expected = {"states 0 0", "repair 0 2", "highlight 0 2",
                                               "relayout",   "listeners",  "OnChange"};
    EXPECT_EQ(view.calls, expected);
    EXPECT_EQ(parsed, std::vector<std::string>{"0..2 at 1"});

    view.calls.clear();
    memo.OnBeforeChange = [](TSourceMemoCore &, const char *&text) { text = nullptr; };
    memo.SetSelTextBuf("ignored"); // emptied with nothing selected: no change at all
    EXPECT_TRUE(view.calls.empty());
    memo.OnBeforeChange = nullptr;

    memo.BeginUpdate(); // inside an update the passes wait; the flags say so
    memo.paragraphs().par(0)->flags |= pfStartStopDone | pfKeywordsDone | pfLinesValid;
    memo.SetSelTextBuf("z");
    EXPECT_EQ(memo.paragraphs().par(0)->flags & (pfStartStopDone | pfKeywordsDone | pfLinesValid), 0);
    memo.EndUpdate();

    view.calls.clear();
    view.insideAttributeRun = true; // no parse and no passes for text inside an attribute run
    parsed.clear();
    memo.SetSelTextBuf("y");
    EXPECT_TRUE(parsed.empty());
    memo.paragraphs().par(0)->flags |= pfViewMark; // unless the paragraph asks to be redone whole
    memo.SetSelTextBuf("w");
    EXPECT_FALSE(memo.paragraphs().par(0)->flags & pfViewMark);
    EXPECT_EQ(parsed, std::vector<std::string>{"0..5 at 1"});

    view.calls.clear();
    memo.SetTextBuf("new");
    EXPECT_EQ(view.calls.back(), "top");
    memo.setView(nullptr);
}

TEST(Replace, ColumnBlockDeletesEachRowBetweenTheColumns)
{
    TSourceMemoCore memo;
    memo.setWordWrap(false);
    memo.setTabStops(2);
    setText(memo, "abcdef\r\na\tbc\r\nxyzuvw");
    memo.setSelStart(1);
    memo.setSelLength(memo.paragraphs().startOf(2) + 4 - 1);
    memo.setBlockColumns(4, 1);
    EXPECT_EQ(memo.SelText(), "bcd\r\n\tbc\r\nyzu\r\n");
    memo.SetSelTextBuf("Q");
    EXPECT_EQ(wholeText(memo), "aef\r\na\r\nxQvw");
    memo.Undo(); // the insertion first, then all rows at once
    EXPECT_EQ(wholeText(memo), "aef\r\na\r\nxvw");
    memo.Undo();
    EXPECT_EQ(wholeText(memo), "abcdef\r\na\tbc\r\nxyzuvw");
}

TEST(Replace, UpperCaseCacheExtendsFollowsAndDrops)
{
    TSourceMemoCore memo;
    const auto folded = [&memo](std::int32_t par, std::int32_t first, std::int32_t len) {
        return std::string(memo.upperCased(par, first, len), static_cast<std::size_t>(len));
    };
    setText(memo, "zero\r\nmov ax,bx\r\nend");
    EXPECT_EQ(folded(1, 4, 2), "AX");
    EXPECT_EQ(folded(1, 0, 3), "MOV");
    EXPECT_EQ(folded(1, 0, 9), "MOV AX,BX");
    EXPECT_EQ(folded(1, 7, 2), "BX");
    memo.setSelStart(0);
    memo.SetSelTextBuf("new\r\n"); // a paragraph before it: the cache follows its paragraph
    EXPECT_EQ(folded(2, 4, 2), "AX");
    memo.setSelStart(memo.paragraphs().startOf(2));
    memo.SetSelTextBuf("x"); // its paragraph changed: folded afresh
    EXPECT_EQ(folded(2, 0, 4), "XMOV");
    memo.setUpperCaseType(smuAnsi);
    setText(memo, "\xE0");
    EXPECT_EQ(folded(0, 0, 1), "\xC0");
}
