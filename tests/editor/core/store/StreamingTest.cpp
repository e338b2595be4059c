// Loading the text from a byte stream, saving it, and the writes that reload it.
#include "editor/core/store/StoreTestSupport.h"
#include "editor/core/editing/StoreConsistency.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace velmora::core;
using namespace velmora::core::testing;

namespace
{

void load(TSourceMemoCore &memo, const std::string &bytes)
{
    std::istringstream in(bytes);
    memo.LoadFromStream(in);
    ASSERT_NO_THROW(checkStoreConsistency(memo.paragraphs()));
}

std::string saved(TSourceMemoCore &memo)
{
    std::ostringstream out;
    memo.SaveToStream(out);
    return out.str();
}

} // namespace

TEST(Streaming, EveryBreakKindIsReadAndTheLastOneRemembered)
{
    TSourceMemoCore memo;
    memo.setOptions(TSourceMemoOptions(memo.Options()).set(smoAutoLineBreak));
    const struct {
        std::string bytes;
        std::int32_t paragraphs;
        std::int32_t length;
        TSourceLineBreak type;
    } cases[] = {
        {"a\r\nb", 2, 4, pbCRLF}, {"a\n\rb", 2, 4, pbLFCR}, {"a\r\rb", 3, 6, pbCR},   {"a\nb", 2, 4, pbLF},
        {"", 1, 0, pbCRLF},       {"a\r\n", 2, 3, pbCRLF},  {"a\r\n\nb", 3, 6, pbLF}, {"a\n\r\nb", 3, 6, pbLF},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes);
        memo.setLineBreak(pbCR);
        load(memo, c.bytes);
        EXPECT_EQ(memo.ParagraphCount(), c.paragraphs);
        EXPECT_EQ(memo.TextLength(), c.length);
        EXPECT_EQ(memo.LineBreak(), c.type);
        EXPECT_EQ(memo.LineCount(), c.paragraphs);
    }
}

TEST(Streaming, SavingWritesTheChosenBreak)
{
    TSourceMemoCore memo;
    load(memo, "ab\r\ncd\r\n");
    memo.setLineBreak(pbLF);
    EXPECT_EQ(saved(memo), "ab\ncd\n");
    memo.setLineBreak(pbLFCR);
    EXPECT_EQ(saved(memo), "ab\n\rcd\n\r");
    memo.setLineBreak(pbCRLF);
    EXPECT_EQ(saved(memo), "ab\r\ncd\r\n");
}

TEST(Streaming, ANulEndsTheTextUnlessItIsReplaced)
{
    TSourceMemoCore memo;
    std::istringstream in(std::string("ab\r\nc\0de", 8));
    memo.LoadFromStream(in);
    EXPECT_EQ(wholeText(memo), "ab\r\nc");
    EXPECT_EQ(in.tellg(), 5); // left at the NUL
    memo.setNullReplacement('.');
    load(memo, std::string("c\0d", 3));
    EXPECT_EQ(wholeText(memo), "c.d");
}

TEST(Streaming, LargeTextsSpanChunksAndKeepEveryByte)
{
    std::string text;
    for (int i = 0; text.size() < 200000; ++i)
        text += "line " + std::to_string(i) + (i % 7 == 0 ? "\r" : "\r\n");
    text += std::string(100000, 'w') + "\r\n"; // one paragraph longer than a chunk
    text += "tail";
    TSourceMemoCore memo;
    load(memo, text);
    EXPECT_EQ(wholeText(memo), normalized(text));
    EXPECT_LE(memo.paragraphs().loadBufferCount(), 6u);
    EXPECT_FALSE(memo.paragraphs().par(0)->ownsText());
    EXPECT_EQ(saved(memo), normalized(text));

    load(memo, "short\r\ntext"); // a small text ends in one exact-size buffer
    EXPECT_EQ(memo.paragraphs().loadBufferCount(), 1u);
    EXPECT_EQ(wholeText(memo), "short\r\ntext");
}

TEST(Streaming, LoadResetsSelectionUndoAndNavigatorsAndNotifiesOnce)
{
    TSourceMemoCore memo;
    setText(memo, "old text");
    memo.setSelStart(3);
    memo.SetSelTextBuf("x");
    auto *nav = new TSourceNavigator(&memo);
    nav->setPos(5);
    int changes = 0;
    std::vector<std::int32_t> parsed;
    memo.OnChange = [&changes](TSourceMemoCore &) { ++changes; };
    memo.OnParse = [&parsed](TSourceMemoCore &m, std::int32_t a, std::int32_t b) { parsed = {a, b, m.updateCount()}; };
    load(memo, "new\r\ntext");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(parsed, (std::vector<std::int32_t>{0, 9, 1}));
    EXPECT_FALSE(memo.CanUndo());
    EXPECT_EQ(memo.SelStart(), 0);
    EXPECT_EQ(memo.SelLength(), 0);
    EXPECT_EQ(nav->Pos(), 0);
    EXPECT_TRUE(memo.Modified());
    memo.setSelStart(5);
    memo.SetSelTextBuf("!"); // the loaded paragraphs edit like any others
    EXPECT_EQ(wholeText(memo), "new\r\n!text");
}

TEST(Streaming, TrailingBlanksAndStyleCodesOnLoadAndSave)
{
    TSourceMemoCore memo;
    load(memo, "a \t\r\nb  ");
    memo.setOptions(TSourceMemoOptions(memo.Options()).set(smoDiscardTrailingSpaces)); // reloads
    EXPECT_EQ(wholeText(memo), "a\r\nb");
    memo.setModified(false);

    load(memo, "x\x02y\x02\x02z\r\nw");
    memo.setModified(false);
    memo.codeCleanUp = false;
    memo.setStaticFormat(true); // read anew: the codes now carry over paragraph starts
    EXPECT_FALSE(memo.Modified());
    EXPECT_EQ(memo.paragraphs().par(1)->startStyle(), 0x01);
    EXPECT_EQ(saved(memo), "x\x02y\x02\x02z\r\nw");
    memo.codeCleanUp = true;
    EXPECT_EQ(saved(memo), "x\x02yz\r\nw"); // the redundant pair is not written
}

TEST(Streaming, ParagraphWritesAppendAndKeepTheSelection)
{
    TSourceMemoCore memo;
    load(memo, "zero\r\none\r\ntwo");
    memo.setSelStart(11);
    memo.setSelLength(2); // "tw"
    memo.setParagraphText(0, "0");
    EXPECT_EQ(wholeText(memo), "0\r\none\r\ntwo");
    EXPECT_EQ(memo.SelText(), "tw");
    memo.setParagraphText(5, "five");
    EXPECT_EQ(wholeText(memo), "0\r\none\r\ntwo\r\n\r\n\r\nfive");
    EXPECT_EQ(memo.SelText(), "tw");
    memo.setParagraphText(2, "2"); // the origin's own paragraph: the caret goes to its start
    EXPECT_EQ(memo.SelStart(), 8);
    EXPECT_EQ(memo.SelLength(), 0);
    memo.Undo(); // each write is one undo step
    EXPECT_EQ(wholeText(memo), "0\r\none\r\ntwo\r\n\r\n\r\nfive");
}
