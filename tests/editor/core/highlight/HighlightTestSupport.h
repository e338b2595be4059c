// An editor core with its highlighting engine wired in as the view would wire it, and ways
// to read the runs back.
#pragma once

#include "editor/core/highlight/HighlightRuns.h"
#include "editor/core/highlight/SourceHighlightEngine.h"
#include "editor/core/editing/SourceMemoCore.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace velmora::core::testing
{

class ForwardingView : public TMemoView
{
public:
    explicit ForwardingView(TSourceHighlightEngine &engine) : engine_(engine) {}
    void recordHighlightStates(TSourceNavigator &start, TSourceNavigator &end) override
    {
        engine_.recordHighlightStates(start, end);
    }
    bool repairHighlightStretch(std::int32_t &start, std::int32_t &end, bool runsCrossed) override
    {
        return engine_.repairHighlightStretch(start, end, runsCrossed);
    }
    void highlightStretch(std::int32_t start, std::int32_t end) override { engine_.highlightStretch(start, end); }

private:
    TSourceHighlightEngine &engine_;
};

struct HighlightedMemo {
    TSourceMemoCore memo;
    TSourceHighlightEngine engine{memo};
    ForwardingView view{engine};

    HighlightedMemo() { memo.setView(&view); }
    ~HighlightedMemo() { memo.setView(nullptr); }

    // Replaces the text and highlights all of it.
    void load(const std::string &text)
    {
        memo.SetTextBuf(text.c_str());
        memo.ClearUndo();
        engine.highlightAll();
    }
    // Fills the store as loading does, so that paragraphs may hold any byte, NUL included.
    void loadParagraphs(const std::vector<std::string> &texts)
    {
        TParagraphsList &store = memo.paragraphs();
        store.clear();
        for (const std::string &t : texts) {
            char *buffer = store.addLoadBuffer(t.size() + 1);
            std::memcpy(buffer, t.data(), t.size());
            buffer[t.size()] = 0;
            store.appendLoaded(buffer, static_cast<std::int32_t>(t.size()), 0);
        }
        store.finishLoad();
        for (TSourceNavigator *n : memo.navigators())
            n->invalidate();
        memo.setSelStart(0);
        engine.highlightAll();
    }
    // Replaces [from, from + length) by text, as typing or deleting would.
    void edit(std::int32_t from, std::int32_t length, const std::string &text)
    {
        memo.setSelStart(from);
        memo.setSelLength(length);
        memo.SetSelTextBuf(text.c_str());
    }
    // Runs lie inside their paragraph, in ascending order, with valid stack levels.
    ::testing::AssertionResult runsWellFormed()
    {
        const TParagraphsList &store = memo.paragraphs();
        for (std::int32_t i = 0; i < store.count(); ++i) {
            const ParInfo &p = *store.par(i);
            for (std::int32_t r = 0; r < p.runCount(); ++r) {
                const RunInfo &run = p.run(r);
                if (run.position < 0 || run.position > p.length() || (r > 0 && p.run(r - 1).position >= run.position))
                    return ::testing::AssertionFailure() << "run " << r << " of paragraph " << i << " misplaced";
                if (isSpan(run) && (run.level < 0 || run.level > kMaxRunLevel))
                    return ::testing::AssertionFailure() << "run " << r << " of paragraph " << i << " bad level";
            }
        }
        return ::testing::AssertionSuccess();
    }
    const ParInfo &par(std::int32_t i) { return *memo.paragraphs().par(i); }
    RunInfo runAt(std::int32_t p, std::int32_t offset) { return runInForce(par(p), offset); }
    // The innermost run stack entry at an offset, or kPlain outside every span.
    static constexpr int kPlain = -100000;
    int entryAt(std::int32_t p, std::int32_t offset)
    {
        const RunInfo &run = runAt(p, offset);
        return isSpan(run) ? innermostEntry(run) : kPlain;
    }
    // One letter per character of paragraph p: '.' plain, 'k' keyword, 's' start-stop span.
    std::string shape(std::int32_t p)
    {
        std::string out;
        for (std::int32_t i = 0; i < par(p).length(); ++i) {
            const int e = entryAt(p, i);
            out += e == kPlain ? '.' : e >= 0 ? 'k' : 's';
        }
        return out;
    }
};

// The runs of two editors agree paragraph by paragraph, start runs included.
inline ::testing::AssertionResult sameHighlighting(HighlightedMemo &a, HighlightedMemo &b)
{
    const TParagraphsList &pa = a.memo.paragraphs();
    const TParagraphsList &pb = b.memo.paragraphs();
    if (pa.count() != pb.count())
        return ::testing::AssertionFailure() << "paragraph counts " << pa.count() << " and " << pb.count();
    for (std::int32_t i = 0; i < pa.count(); ++i) {
        const ParInfo &x = *pa.par(i);
        const ParInfo &y = *pb.par(i);
        if (!sameRunState(*x.startRun(), *y.startRun()))
            return ::testing::AssertionFailure() << "start runs differ in paragraph " << i;
        if (x.runCount() != y.runCount())
            return ::testing::AssertionFailure()
                   << "paragraph " << i << " has " << x.runCount() << " runs, expected " << y.runCount();
        for (std::int32_t r = 0; r < x.runCount(); ++r)
            if (x.run(r).position != y.run(r).position || !sameRunState(x.run(r), y.run(r)))
                return ::testing::AssertionFailure() << "run " << r << " of paragraph " << i << " differs";
    }
    return ::testing::AssertionSuccess();
}

} // namespace velmora::core::testing
