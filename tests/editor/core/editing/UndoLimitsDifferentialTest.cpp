// Random edits, column deletes and block pastes under small undo limits: whatever the limits
// trim, every undo and redo lands on a text that the edits produced, undo-all included, and
// redo-all comes back to the last text. A paragraph-list model checks every edit.
#include "editor/core/store/StoreTestSupport.h"
#include "editor/core/editing/ColumnBlocks.h"
#include "editor/core/editing/StoreConsistency.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <set>
#include <vector>

using namespace velmora::core;
using namespace velmora::core::testing;

namespace
{

class UndoLimitsRun
{
public:
    explicit UndoLimitsRun(unsigned seed) : rng_(seed)
    {
        memo_.setWordWrap(false);
        setText(memo_, "first line\r\nsecond\r\n\r\nfourth line here");
        model_ = {"first line", "second", "", "fourth line here"};
        reached_.insert(wholeText(memo_));
        changeLimits();
    }

    void run(int steps)
    {
        for (int step = 0; step < steps; ++step) {
            const int op = pick(0, 99);
            lastOp_ = "op " + std::to_string(op);
            if (op < 25)
                replace();
            else if (op < 35)
                typeRun();
            else if (op < 52)
                columnDelete();
            else if (op < 67)
                pasteBlock();
            else if (op < 80)
                undo(pick(1, 3));
            else if (op < 88)
                redo(pick(1, 2));
            else if (op < 94)
                changeLimits();
            else
                undoAllAndRedoAll();
            verify(step);
            if (::testing::Test::HasFatalFailure())
                return;
        }
        typeRun(); // no redo is left: redo-all must come back to this last text
        verify(steps);
        const std::string last = wholeText(memo_);
        undoAllAndRedoAll();
        EXPECT_EQ(wholeText(memo_), last);
    }

private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    std::string modelText() const
    {
        std::string text;
        for (std::size_t i = 0; i < model_.size(); ++i)
            text += (i ? "\r\n" : "") + model_[i];
        return text;
    }

    // A fresh model from the editor's text, after an undo or redo that the model cannot predict.
    void takeModelFromEditor()
    {
        model_.clear();
        for (std::int32_t i = 0; i < memo_.ParagraphCount(); ++i)
            model_.emplace_back(memo_.paragraphs().textOf(i));
    }

    std::string word()
    {
        static const std::string pieces[] = {"a", "bb", " ", "mov", "x1", "zz z"};
        std::string t;
        for (int i = pick(0, 3); i > 0; --i)
            t += pieces[pick(0, 5)];
        return t;
    }

    std::int32_t randomPosition()
    {
        const std::int32_t par = pick(0, static_cast<int>(model_.size()) - 1);
        const auto len = static_cast<std::int32_t>(model_[static_cast<std::size_t>(par)].size());
        return memo_.paragraphs().startOf(par) + pick(0, len);
    }

    void replace()
    {
        std::int32_t a = randomPosition();
        std::int32_t b = pick(0, 2) == 0 ? a : randomPosition();
        if (a > b)
            std::swap(a, b);
        if (b - a > 40 && modelText().size() < 300)
            b = a; // let the text grow now and then
        std::string text = word();
        if (pick(0, 3) == 0)
            text += "\r\n" + word();
        memo_.setSelStart(a);
        memo_.setSelLength(b - a);
        memo_.SetSelTextBuf(text.c_str());
        const std::string whole = modelText();
        setModel(whole.substr(0, static_cast<std::size_t>(a)) + text + whole.substr(static_cast<std::size_t>(b)));
    }

    void typeRun()
    {
        std::int32_t at = randomPosition();
        memo_.setSelStart(at);
        for (int i = pick(1, 5); i > 0; --i) {
            const std::string c(1, "ab "[pick(0, 2)]);
            memo_.SetSelTextBuf(c.c_str());
            const std::string whole = modelText();
            setModel(whole.substr(0, static_cast<std::size_t>(at)) + c + whole.substr(static_cast<std::size_t>(at)));
            ++at;
        }
    }

    // The text holds no tabs, so display columns are character offsets.
    void columnDelete()
    {
        const int last = static_cast<int>(model_.size()) - 1;
        const std::int32_t line1 = pick(0, last);
        const std::int32_t line2 = pick(0, last);
        const std::int32_t column1 = pick(0, 12);
        const std::int32_t column2 = pick(0, 12);
        setBlockSelection(memo_, column1, line1, line2, column2);
        memo_.ClearSelection();
        const auto [lo, hi] = std::minmax(column1, column2);
        for (std::int32_t i = std::min(line1, line2); i <= std::max(line1, line2); ++i) {
            std::string &par = model_[static_cast<std::size_t>(i)];
            const std::size_t a = std::min<std::size_t>(static_cast<std::size_t>(lo), par.size());
            const std::size_t b = std::min<std::size_t>(static_cast<std::size_t>(hi), par.size());
            if (line1 != line2 || column1 != column2)
                par.erase(a, b - a);
        }
    }

    void pasteBlock()
    {
        std::vector<std::string> lines(static_cast<std::size_t>(pick(1, 4)));
        std::string text;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            lines[i] = word();
            text += (i ? "\r\n" : "") + lines[i];
        }
        // A final break adds no empty line.
        if (lines.size() > 1 && lines.back().empty())
            lines.pop_back();
        const std::int32_t column = pick(0, 14);
        memo_.setSelStart(randomPosition());
        const std::size_t origin = static_cast<std::size_t>(memo_.SelPar());
        blockPaste(memo_, text, column);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (origin + i >= model_.size())
                model_.emplace_back();
            std::string &par = model_[origin + i];
            const std::size_t at = std::min(static_cast<std::size_t>(column), par.size());
            const std::size_t blanks = lines[i].empty() ? 0 : static_cast<std::size_t>(column) - at;
            par.insert(at, std::string(blanks, ' ') + lines[i]);
        }
    }

    void undo(int steps)
    {
        for (int i = 0; i < steps && memo_.CanUndo(); ++i) {
            memo_.Undo();
            expectReached("undo");
        }
        takeModelFromEditor();
    }

    void redo(int steps)
    {
        for (int i = 0; i < steps && memo_.CanRedo(); ++i) {
            memo_.Redo();
            expectReached("redo");
        }
        takeModelFromEditor();
    }

    // Redo-all first, so that what the undo list leads to is known, then undo-all and redo-all.
    void undoAllAndRedoAll()
    {
        redo(INT_MAX);
        const std::string last = wholeText(memo_);
        while (memo_.CanUndo())
            memo_.Undo();
        expectReached("undo-all");
        redo(INT_MAX);
        EXPECT_EQ(wholeText(memo_), last) << "redo-all";
    }

    void changeLimits()
    {
        memo_.setUndoMaxLevel(pick(0, 4) == 0 ? -1 : pick(1, 12));
        memo_.setUndoMaxSpace(pick(0, 4) == 0 ? 0 : pick(30, 500));
    }

    void setModel(const std::string &text)
    {
        model_.clear();
        std::size_t from = 0;
        for (std::size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
            model_.push_back(text.substr(from, at - from));
        model_.push_back(text.substr(from));
    }

    void expectReached(const char *what)
    {
        const std::string text = wholeText(memo_);
        EXPECT_TRUE(reached_.count(text)) << what << " gave a text no edit produced: \"" << text << "\"";
    }

    void verify(int step)
    {
        SCOPED_TRACE("step " + std::to_string(step) + " " + lastOp_);
        ASSERT_EQ(wholeText(memo_), modelText());
        ASSERT_NO_THROW(checkStoreConsistency(memo_.paragraphs()));
        ASSERT_EQ(memo_.updateCount(), 0);
        reached_.insert(modelText());
    }

    std::mt19937 rng_;
    TSourceMemoCore memo_;
    std::vector<std::string> model_;
    std::set<std::string> reached_;
    std::string lastOp_;
};

} // namespace

TEST(UndoLimitsDifferential, UndoNeverGivesATextThatNoEditProduced)
{
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        UndoLimitsRun run(seed);
        run.run(1500);
        if (HasFatalFailure())
            return;
    }
}

TEST(UndoLimits, TheOldestColumnDeleteIsTrimmedWhole)
{
    TSourceMemoCore memo;
    memo.setWordWrap(false);
    setText(memo, "abcd\r\nabcd\r\nabcd");
    memo.setUndoMaxLevel(4);
    setBlockSelection(memo, 1, 0, 2, 3);
    memo.ClearSelection(); // three records, one group
    const std::string deleted = wholeText(memo);
    ASSERT_EQ(deleted, "ad\r\nad\r\nad");
    for (const char *typed : {"x", "y", "z"}) {
        memo.setSelStart(0);
        memo.SetSelTextBuf(typed);
    }
    EXPECT_EQ(memo.undoList().count(), 3);
    while (memo.CanUndo())
        memo.Undo();
    EXPECT_EQ(wholeText(memo), deleted);
}

TEST(UndoLimits, APasteWiderThanTheLimitIsNotRecordedInPart)
{
    TSourceMemoCore memo;
    memo.setWordWrap(false);
    setText(memo, "a\r\nb");
    memo.SetSelTextBuf("typed"); // an older step, gone with the paste's first rows
    memo.setUndoMaxLevel(3);
    memo.setSelStart(0);
    blockPaste(memo, "1\r\n2\r\n3\r\n4\r\n5\r\n6", 0);
    const std::string pasted = wholeText(memo);
    EXPECT_FALSE(memo.CanUndo());
    memo.Undo();
    EXPECT_EQ(wholeText(memo), pasted);
    // The next step is recorded again.
    memo.SetSelTextBuf("!");
    memo.Undo();
    EXPECT_EQ(wholeText(memo), pasted);
}
