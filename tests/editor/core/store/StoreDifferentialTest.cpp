// Random edits, undo and redo, update groups and attached navigators, checked after every
// step against a plain string model and against the store's consistency check.
#include "editor/core/store/StoreTestSupport.h"
#include "editor/core/editing/StoreConsistency.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

using namespace velmora::core;
using namespace velmora::core::testing;

namespace
{

struct TrackedNavigator {
    TSourceNavigator *nav = nullptr;
    std::int32_t expected = 0;
    bool atParagraphStart = false;
    bool deleteWithText = false;
    bool expectDestroyed = false;
    std::shared_ptr<bool> destroyed = std::make_shared<bool>(false);
};

class DifferentialRun
{
public:
    explicit DifferentialRun(unsigned seed) : rng_(seed) {}

    // Starts from a text and makes edits that insert and remove hundreds of paragraphs at once.
    DifferentialRun(unsigned seed, const std::string &text) : rng_(seed), bulk_(true)
    {
        setText(memo_, text);
        model_ = normalized(text);
        lastText_ = model_;
    }

    void run(int steps)
    {
        for (int step = 0; step < steps; ++step) {
            const int op = pick(0, 99);
            lastOp_ = "op " + std::to_string(op) + ": ";
            if (op < 45)
                randomReplace();
            else if (op < 58)
                typeRun();
            else if (op < 70)
                undo();
            else if (op < 77)
                redo();
            else if (op < 84)
                group();
            else if (op < 92)
                addNavigator();
            else if (op < 99)
                resolveNavigators();
            else
                deleteAll();
            verify(step);
            if (::testing::Test::HasFatalFailure())
                return;
        }
    }

private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    // A model position, moved out of the middle of a break as the editor does.
    std::int32_t snap(std::int32_t p) const
    {
        if (p > 0 && p < static_cast<std::int32_t>(model_.size()) && model_[p - 1] == '\r')
            return p + 1;
        return p;
    }

    std::string randomText()
    {
        static const std::string pieces[] = {"a", "b", "x", " ", "\t", "mov", "\r\n", "\r", "\n", "\n\r", "\r\r\n"};
        std::string t;
        const int n = pick(0, 8);
        for (int i = 0; i < n; ++i)
            t += pieces[pick(0, 10)];
        return t;
    }

    // Applies a replace of [s, e] by text to the model and to the expected navigator positions.
    void modelReplace(std::int32_t s, std::int32_t e, const std::string &text)
    {
        const std::string ins = normalized(text);
        lastOp_ +=
            "replace " + std::to_string(s) + ".." + std::to_string(e) + " by " + std::to_string(ins.size()) + "; ";
        const std::int32_t d = static_cast<std::int32_t>(ins.size()) - (e - s);
        model_ = model_.substr(0, static_cast<std::size_t>(s)) + ins + model_.substr(static_cast<std::size_t>(e));
        for (TrackedNavigator &t : tracked_) {
            if (t.expectDestroyed)
                continue;
            const std::int32_t p = t.expected;
            if (p < s)
                continue;
            if (p > e)
                t.expected = p + d;
            else if (t.atParagraphStart && t.deleteWithText && p < e)
                t.expectDestroyed = true;
            else if (t.atParagraphStart)
                t.expected = s + static_cast<std::int32_t>(ins.size());
            else if (t.deleteWithText && p > s)
                t.expectDestroyed = true;
            else
                t.expected = s;
        }
    }

    // One edit through the editor and the model; tracks the undo units the model expects.
    void edit(std::int32_t a, std::int32_t b, const std::string &text, bool backwards)
    {
        a = snap(a);
        b = snap(b);
        if (a > b)
            std::swap(a, b);
        if (backwards) {
            memo_.setSelStart(b);
            memo_.setSelLength(a - b);
        } else {
            memo_.setSelStart(a);
            memo_.setSelLength(b - a);
        }
        applyAtSelection(a, b, text);
    }

    void applyAtSelection(std::int32_t a, std::int32_t b, const std::string &text)
    {
        const std::string before = model_;
        const std::int32_t position = memo_.undoList().position();
        memo_.SetSelTextBuf(text.c_str());
        if (a == b && normalized(text).empty())
            return;
        modelReplace(a, b, text);
        if (memo_.undoList().position() != position) {
            ASSERT_EQ(memo_.undoList().position(), position + 1);
            if (memo_.updateCount() == 0 || !groupStarted_) {
                undoStack_.push_back(memo_.updateCount() == 0 ? before : groupBefore_);
                groupStarted_ = memo_.updateCount() > 0;
            }
        }
        redoStack_.clear();
    }

    void randomReplace()
    {
        const auto len = static_cast<std::int32_t>(model_.size());
        std::int32_t a = pick(0, len);
        std::int32_t b = pick(0, 3) == 0 ? a : std::min(len, a + pick(0, 8));
        if (len > 1500 && !bulk_)
            b = std::min(len, a + pick(0, 400)); // keep the text from growing without bound
        std::string text = randomText();
        if (bulk_ && pick(0, 3) == 0) {
            b = std::min(len, a + pick(0, 8000));
            for (int i = pick(0, 1500); i > 0; --i)
                text += "ab\r\n";
        }
        edit(a, b, text, pick(0, 1) == 1);
    }

    void typeRun()
    {
        std::int32_t at = snap(pick(0, static_cast<std::int32_t>(model_.size())));
        memo_.setSelStart(at);
        const int n = pick(1, 6);
        for (int i = 0; i < n; ++i) {
            const std::string c(1, "abc \t\n"[pick(0, 5)]);
            applyAtSelection(at, at, c);
            at += 1;
        }
    }

    void undo()
    {
        const int n = pick(1, 3);
        for (int i = 0; i < n && memo_.CanUndo(); ++i) {
            ASSERT_FALSE(undoStack_.empty());
            // Replay the records the undo will apply on the model, for the navigators.
            TUndoList &list = memo_.undoList();
            for (std::int32_t r = list.position() - 1; r >= 0; --r) {
                const UndoRecord rec = list.record(r);
                modelReplace(rec.start, rec.end, rec.removed);
                if (rec.group == 0 || r == 0 || list.record(r - 1).group != rec.group ||
                    list.record(r - 1).session != rec.session)
                    break;
            }
            memo_.Undo();
            ASSERT_EQ(model_, undoStack_.back());
            redoStack_.push_back(lastText_);
            undoStack_.pop_back();
            lastText_ = model_;
        }
        ASSERT_EQ(memo_.CanUndo(), !undoStack_.empty());
    }

    void redo()
    {
        const int n = pick(1, 2);
        for (int i = 0; i < n && memo_.CanRedo(); ++i) {
            ASSERT_FALSE(redoStack_.empty());
            TUndoList &list = memo_.undoList();
            for (std::int32_t r = list.position(); r < list.count(); ++r) {
                const UndoRecord rec = list.record(r);
                modelReplace(rec.start, rec.end, rec.removed);
                if (rec.group == 0 || r + 1 >= list.count() || list.record(r + 1).group != rec.group ||
                    list.record(r + 1).session != rec.session)
                    break;
            }
            memo_.Redo();
            ASSERT_EQ(model_, redoStack_.back());
            undoStack_.push_back(lastText_);
            redoStack_.pop_back();
            lastText_ = model_;
        }
        ASSERT_EQ(memo_.CanRedo(), !redoStack_.empty());
    }

    void group()
    {
        int changes = 0;
        memo_.OnChange = [&changes](TSourceMemoCore &) { ++changes; };
        memo_.BeginUpdate();
        groupBefore_ = model_;
        groupStarted_ = false;
        const int n = pick(1, 4);
        for (int i = 0; i < n; ++i)
            randomReplace();
        const bool edited = model_ != groupBefore_ || groupStarted_;
        memo_.EndUpdate();
        memo_.OnChange = nullptr;
        groupStarted_ = false;
        EXPECT_EQ(changes, edited ? 1 : 0);
    }

    void addNavigator()
    {
        if (tracked_.size() > 12)
            return;
        TrackedNavigator t;
        t.nav = new TSourceNavigator(&memo_);
        t.atParagraphStart = t.nav->atParagraphStart = pick(0, 1) == 1;
        t.deleteWithText = t.nav->deleteWithText = pick(0, 1) == 1;
        t.nav->onDestroy = [flag = t.destroyed](TSourceNavigator &) { *flag = true; };
        t.expected = pick(0, static_cast<std::int32_t>(model_.size()));
        t.nav->setPos(t.expected);
        tracked_.push_back(t);
    }

    void resolveNavigators()
    {
        for (TrackedNavigator &t : tracked_)
            if (!t.expectDestroyed) {
                const ModelPlace place = placeOf(model_, t.expected);
                EXPECT_EQ(t.nav->ParNumber(), place.paragraph);
                EXPECT_EQ(t.nav->ParOffset(), place.offset);
                EXPECT_EQ(t.nav->LineNumber(), place.paragraph);
                EXPECT_EQ(t.nav->DisplayLine(), place.paragraph);
                const unsigned char expected = t.expected < static_cast<std::int32_t>(model_.size())
                                                   ? static_cast<unsigned char>(model_[t.expected])
                                                   : 13;
                EXPECT_EQ(t.nav->character(), expected);
            }
    }

    void deleteAll()
    {
        memo_.SelectAll();
        const std::int32_t len = static_cast<std::int32_t>(model_.size());
        applyAtSelection(0, len, pick(0, 1) ? "" : randomText());
    }

    void verify(int step)
    {
        lastText_ = model_;
        SCOPED_TRACE("step " + std::to_string(step) + " " + lastOp_);
        ASSERT_EQ(memo_.TextLength(), static_cast<std::int32_t>(model_.size()));
        ASSERT_EQ(wholeText(memo_), model_);
        ASSERT_NO_THROW(checkStoreConsistency(memo_.paragraphs()));
        const ModelPlace end = placeOf(model_, static_cast<std::int32_t>(model_.size()));
        ASSERT_EQ(memo_.ParagraphCount(), end.paragraph + 1);
        ASSERT_EQ(memo_.LineCount(), end.paragraph + 1);
        for (TrackedNavigator &t : tracked_) {
            ASSERT_EQ(*t.destroyed, t.expectDestroyed);
            if (!t.expectDestroyed) {
                ASSERT_EQ(t.nav->Pos(), t.expected);
            }
        }
        std::erase_if(tracked_, [](const TrackedNavigator &t) { return t.expectDestroyed; });
    }

    std::mt19937 rng_;
    TSourceMemoCore memo_;
    std::string model_;
    std::string lastText_;
    std::string lastOp_;
    std::vector<TrackedNavigator> tracked_;
    std::vector<std::string> undoStack_;
    std::vector<std::string> redoStack_;
    std::string groupBefore_;
    bool groupStarted_ = false;
    bool bulk_ = false;
};

} // namespace

TEST(StoreDifferential, RandomEditsUndoRedoAndNavigatorsFollowTheModel)
{
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        DifferentialRun run(seed);
        run.run(2000);
        if (HasFatalFailure())
            return;
    }
}

TEST(StoreDifferential, BulkEditsAcrossManyBlocksFollowTheModel)
{
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    for (unsigned seed : {11u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        DifferentialRun run(seed, text);
        run.run(150);
        if (HasFatalFailure())
            return;
    }
}

TEST(StoreDifferential, BulkEditsOnAMegabyteSourceFollowTheModel)
{
    std::string text;
    for (int i = 0; text.size() < (1u << 20); ++i)
        text += "    mov ax, " + std::to_string(i) + " ; line\r\n";
    for (unsigned seed : {23u, 24u, 25u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        DifferentialRun run(seed, text);
        run.run(100);
        if (HasFatalFailure())
            return;
    }
}
