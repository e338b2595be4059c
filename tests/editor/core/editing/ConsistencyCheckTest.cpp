// The consistency check names the first stored number that disagrees with its recount.
#include "editor/core/store/StoreTestSupport.h"
#include "editor/core/text/EditorErrors.h"
#include "editor/core/store/LinesList.h"
#include "editor/core/editing/StoreConsistency.h"

#include <gtest/gtest.h>

#include <functional>

using namespace velmora::core;
using namespace velmora::core::testing;

namespace
{

std::string checkMessage(const TParagraphsList &store)
{
    try {
        checkStoreConsistency(store);
    } catch (const EditorError &e) {
        return e.what();
    }
    return "consistent";
}

} // namespace

TEST(ConsistencyCheck, EachDisagreementHasItsOwnMessage)
{
    const std::string version = kSourceMemoVersion;
    const std::vector<std::pair<std::function<void(TParagraphsList &)>, std::string>> cases = {
        {[](TParagraphsList &s) { s.setFirstLineOf(1, 7); }, "Error 1 " + version},
        {[](TParagraphsList &s) { s.setStartOf(2, 10); }, "Error 2 in " + version},
        {[](TParagraphsList &s) {
             TLinesList lines;
             lines.setParagraph(s.par(0));
             lines.setCount(2);
             LineInfo second = compactLine(3, 0);
             second.lineStart = 2; // the first line ends at 3
             lines.put(1, second);
             s.marks().addLines(1, 1);
             s.shiftFirstLines(1, 1);
         },
         "Error 3 in " + version},
        {[](TParagraphsList &s) { s.par(1)->convertToExtended(), s.par(1)->data.extra->firstLine.nextLineStart = 1; },
         "Error 4 in " + version},
        {[](TParagraphsList &s) { s.marks().addText(1, 0, 0); }, "Error 5 in " + version},
        {[](TParagraphsList &s) { s.marks().addLines(0, 2 - s.marks().visibleLineCount()); }, "Error 6 in " + version},
        {[](TParagraphsList &s) { s.marks().addLines(5 - s.marks().lineCount(), 0); }, "Error 6.01 in " + version},
    };
    for (const auto &[corrupt, message] : cases) {
        TSourceMemoCore memo;
        setText(memo, "abc\r\nde\r\nf");
        ASSERT_EQ(checkMessage(memo.paragraphs()), "consistent");
        corrupt(memo.paragraphs());
        EXPECT_EQ(checkMessage(memo.paragraphs()), message);
    }
}

TEST(ConsistencyCheck, HiddenParagraphsCountInLinesButNotInVisibleLines)
{
    TSourceMemoCore memo;
    setText(memo, "a\r\nb\r\nc");
    TParagraphsList &s = memo.paragraphs();
    s.par(1)->flags |= pfHidden;
    EXPECT_EQ(checkMessage(s), "Error 1 " + std::string(kSourceMemoVersion));
    s.shiftFirstLines(2, -1);
    EXPECT_EQ(checkMessage(s), "Error 6 in " + std::string(kSourceMemoVersion));
    s.marks().addLines(0, -1);
    EXPECT_EQ(checkMessage(s), "consistent");
    memo.setSelStart(2);
    memo.SetSelTextBuf("x\r\ny"); // an edit keeps the counts of a folded text right
    EXPECT_EQ(checkMessage(s), "consistent");
}
