// The paragraph and display-line views of the editor's text: reads, writes through the
// selection, bounds, the shared whole-text and stream operations and the wide variants.
#include "editor/core/layout/LayoutTestSupport.h"
#include "editor/core/store/StoreTestSupport.h"
#include "editor/core/text/EditorErrors.h"
#include "editor/core/editing/SourceMemoStrings.h"
#include "editor/core/editing/StoreConsistency.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace velmora::core;
using namespace velmora::core::testing;

namespace
{

void expectConsistent(TSourceMemoCore &memo)
{
    EXPECT_NO_THROW(checkStoreConsistency(memo.paragraphs()));
}

// The layout view, counting the requests to scroll the caret into view.
class CaretView : public TLayoutView
{
public:
    using TLayoutView::TLayoutView;
    void scrollCaretIntoView(TSourceNavigator &caret) override
    {
        ++scrolls;
        layout_.scrollCaretIntoView(caret);
    }
    int scrolls = 0;
};

// An editor laid out with word wrap; 400 pixels give 57 characters of 7 pixels per line.
struct WrappedRig : LayoutRig {
    CaretView caretView{layout};
    TSourceLinesStrings lines{memo};
    WrappedRig()
    {
        memo.setView(&caretView);
        open();
    }
};

// Ten words of eight characters: a paragraph of 80 that wraps after the seventh word.
const std::string kLong = "alpha01 alpha02 alpha03 alpha04 alpha05 alpha06 alpha07 alpha08 alpha09 alpha10";

} // namespace

TEST(StringsParagraphs, ReadsCountAndBounds)
{
    TSourceMemoCore memo;
    TSourceParaStrings pars(memo);
    EXPECT_EQ(pars.Count(), 0); // one empty paragraph is no item
    setText(memo, "one\r\ntwo\r\n");
    EXPECT_EQ(pars.Count(), 2);
    EXPECT_EQ(pars.Get(1), "two");
    EXPECT_EQ(pars.Get(2), ""); // the empty last paragraph can still be read
    EXPECT_THROW(pars.Get(3), ERangeError);
    EXPECT_THROW(pars.Get(-1), ERangeError);
    EXPECT_THROW(pars.Delete(3), ERangeError);
    EXPECT_THROW(pars.Put(-1, "x"), ERangeError);
    EXPECT_THROW(pars.Insert(-1, "x"), ERangeError);
    EXPECT_EQ(wholeText(memo), "one\r\ntwo\r\n");
}

TEST(StringsParagraphs, AddFillsAnEmptyLastParagraphAndReturnsTheItemIndex)
{
    TSourceMemoCore memo;
    TSourceParaStrings pars(memo);
    EXPECT_EQ(pars.Add("a"), 0); // empty text: the item and a break after it
    EXPECT_EQ(wholeText(memo), "a\r\n");
    EXPECT_EQ(pars.Add("b"), 1);
    EXPECT_EQ(wholeText(memo), "a\r\nb\r\n");
    setText(memo, "x");
    EXPECT_EQ(pars.Add("y"), 1); // a last paragraph with text gets a break first
    EXPECT_EQ(wholeText(memo), "x\r\ny");
    for (std::int32_t i = 0; i < pars.Count(); ++i)
        EXPECT_EQ(pars.Get(i), i == 0 ? "x" : "y");
    expectConsistent(memo);
}

TEST(StringsParagraphs, WritesGoThroughTheSelectionAndUndo)
{
    TSourceMemoCore memo;
    TSourceParaStrings pars(memo);
    setText(memo, "zero\r\none\r\ntwo");
    pars.Insert(1, "half");
    EXPECT_EQ(wholeText(memo), "zero\r\nhalf\r\none\r\ntwo");
    pars.Insert(9, "end"); // beyond the paragraphs: appended after a break
    EXPECT_EQ(wholeText(memo), "zero\r\nhalf\r\none\r\ntwo\r\nend");
    pars.Delete(1);
    EXPECT_EQ(wholeText(memo), "zero\r\none\r\ntwo\r\nend");
    pars.Delete(3); // the last paragraph has no break of its own to remove
    EXPECT_EQ(wholeText(memo), "zero\r\none\r\ntwo\r\n");
    EXPECT_EQ(pars.Count(), 3);
    pars.Put(1, "ONE");
    pars.Put(5, "five");
    EXPECT_EQ(wholeText(memo), "zero\r\nONE\r\ntwo\r\n\r\n\r\nfive");
    expectConsistent(memo);
    while (memo.CanUndo())
        memo.Undo();
    EXPECT_EQ(wholeText(memo), "zero\r\none\r\ntwo");
    expectConsistent(memo);
}

TEST(StringsShared, WholeTextStreamsFilesAndAssign)
{
    TSourceMemoCore memo;
    TSourceParaStrings pars(memo);
    pars.setText("a\nb\r\nc");
    EXPECT_EQ(pars.Text(), "a\nb\r\nc"); // an edit breaks only at 13
    setText(memo, "a\r\nb");
    memo.setLineBreak(pbLF);
    std::ostringstream out;
    pars.SaveToStream(out);
    EXPECT_EQ(out.str(), "a\r\nb"); // the view always writes 13, 10

    TSourceMemoCore other;
    TSourceLinesStrings otherLines(other);
    otherLines.Assign(pars); // through the source editor's own save, with its LineBreak
    EXPECT_EQ(wholeText(other), "a\r\nb");
    otherLines.Assign(std::vector<std::string>{"x", "", "z"});
    EXPECT_EQ(wholeText(other), "x\r\n\r\nz\r\n");
    EXPECT_EQ(otherLines.Count(), 3);
    EXPECT_FALSE(other.CanUndo());

    const auto path = std::filesystem::temp_directory_path() / "velmora-strings-view.asm";
    pars.SaveToFile(path);
    otherLines.LoadFromFile(path);
    EXPECT_EQ(wholeText(other), "a\r\nb");
    std::filesystem::remove(path);
    EXPECT_THROW(otherLines.LoadFromFile(path), EditorError);
    EXPECT_THROW(pars.SaveToFile(path / "no" / "such" / "folder"), EditorError);
    EXPECT_EQ(wholeText(other), "a\r\nb");

    pars.BeginUpdate();
    pars.BeginUpdate();
    EXPECT_EQ(memo.updateCount(), 1);
    pars.EndUpdate();
    pars.EndUpdate();
    pars.EndUpdate(); // unbalanced: ignored
    EXPECT_EQ(memo.updateCount(), 0);
    pars.Clear();
    EXPECT_EQ(memo.TextLength(), 0);
}

TEST(StringsShared, WideVariantsConvertWithTheEditorsCodePage)
{
    TSourceMemoCore memo;
    TSourceParaStrings pars(memo);
    setText(memo, "\xC4\xE0\r\nx"); // "Да" in Windows-1251
    EXPECT_EQ(pars.GetWide(0), u"\u0414\u0430");
    pars.PutWide(1, u"\u042F?\u20AC"); // the euro sign is 0x88 in Windows-1251
    EXPECT_EQ(pars.Get(1), "\xDF?\x88");
    pars.setCodePage(CodePage::Dos866);
    pars.InsertWide(0, u"\u0414\u00E9"); // é is not in 866
    EXPECT_EQ(pars.Get(0), "\x84?");
    EXPECT_EQ(pars.GetWide(1), u"\u2500\u0440"); // the same bytes read in 866
}

TEST(StringsLines, WithoutWordWrapItemsAreFirstLinesOfParagraphs)
{
    TSourceMemoCore memo;
    memo.setWordWrap(false);
    TSourceLinesStrings lines(memo);
    setText(memo, "one\r\ntwo\r\n");
    EXPECT_EQ(lines.Get(1), "two");
    EXPECT_EQ(lines.Get(-1), "");
    EXPECT_THROW(lines.Get(3), ERangeError);
    EXPECT_EQ(lines.Count(), 2);
    lines.Put(0, "ONE");
    EXPECT_EQ(wholeText(memo), "ONE\r\ntwo\r\n");
    lines.Delete(0);
    EXPECT_EQ(wholeText(memo), "two\r\n");
}

TEST(StringsLines, WithWordWrapItemsAreDisplayLines)
{
    WrappedRig rig;
    rig.setText(kLong + "\r\nshort");
    EXPECT_EQ(rig.lines.Get(0), kLong.substr(0, 56));
    EXPECT_EQ(rig.lines.Get(1), kLong.substr(56));
    EXPECT_EQ(rig.lines.Get(2), "short");
    EXPECT_EQ(rig.lines.Get(3), ""); // beyond the lines
    EXPECT_EQ(rig.lines.Count(), 3);

    rig.lines.Put(1, "new words"); // only the line's text: the paragraph keeps its break
    EXPECT_EQ(wholeText(rig.memo), kLong.substr(0, 56) + "new words\r\nshort");
    EXPECT_EQ(rig.lines.Get(1), "new words");
    EXPECT_EQ(rig.caretView.scrolls, 1);
    rig.lines.Delete(1); // the line ends its paragraph: the break goes with it
    EXPECT_EQ(wholeText(rig.memo), kLong.substr(0, 56) + "short");
    EXPECT_EQ(rig.caretView.scrolls, 2);
    expectConsistent(rig.memo);
}

TEST(StringsLines, WritesBeyondTheEndDoNothingAndAppendsScroll)
{
    WrappedRig rig;
    rig.setText(kLong + "\r\n");
    EXPECT_EQ(rig.lines.Count(), 2); // the empty last line is no item
    const std::string before = wholeText(rig.memo);
    rig.lines.Put(3, "x");
    rig.lines.Put(-1, "x");
    rig.lines.Delete(2);
    rig.lines.Insert(4, "x");
    EXPECT_EQ(wholeText(rig.memo), before);
    EXPECT_EQ(rig.caretView.scrolls, 0);

    EXPECT_EQ(rig.lines.Add("tail"), 2);
    EXPECT_EQ(wholeText(rig.memo), kLong + "\r\ntail\r\n");
    EXPECT_EQ(rig.memo.SelStart(), rig.memo.TextLength());
    rig.lines.Insert(1, "mid"); // before the second display line, inside the paragraph
    EXPECT_EQ(wholeText(rig.memo), kLong.substr(0, 56) + "mid\r\n" + kLong.substr(56) + "\r\ntail\r\n");
    rig.lines.Insert(rig.memo.LineCount(), "end");
    EXPECT_EQ(rig.lines.Get(rig.lines.Count() - 1), "end");
    EXPECT_EQ(rig.caretView.scrolls, 3);
    expectConsistent(rig.memo);
}
