// Packed highlight runs: interned states and the per-paragraph run array.
#include "editor/core/store/DynInfoArray.h"
#include "editor/core/highlight/HighlightRuns.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

using namespace velmora::core;

namespace
{

RunInfo spanRun(std::int32_t position, std::int16_t innerEntry, int level = 1)
{
    RunInfo r;
    r.position = position;
    r.style = 0xC1;
    r.level = static_cast<std::int8_t>(level);
    r.foreground = 0x00FF00;
    r.stack[0] = -32768;
    r.stack[level] = innerEntry;
    return r;
}

std::vector<std::int32_t> positionsOf(const TDynInfoArray &runs)
{
    std::vector<std::int32_t> out;
    for (std::int32_t i = 0; i < runs.size(); ++i)
        out.push_back(runs.position(i));
    return out;
}

} // namespace

TEST(RunStates, EqualStatesShareOneReferenceAndEveryFieldTells)
{
    const RunInfo a = spanRun(3, 7);
    EXPECT_EQ(internRunState(a), internRunState(spanRun(90, 7))); // the position is not part of it
    EXPECT_NE(internRunState(a), internRunState(spanRun(3, 8)));
    RunInfo deeper = a;
    deeper.stack[5] = 1; // beyond the level, yet kept exactly as given
    EXPECT_NE(internRunState(a), internRunState(deeper));
    RunInfo collapsed = a;
    collapsed.collapseDepth = 1;
    EXPECT_NE(internRunState(a), internRunState(collapsed));
    EXPECT_EQ(internRunState(RunState{}), 0u);

    const RunState &back = internedRunState(internRunState(deeper));
    EXPECT_EQ(back, static_cast<const RunState &>(deeper));
    EXPECT_EQ(back.stack[5], 1);
}

TEST(DynInfoArray, InsertEraseAndFilterKeepOrderAndStates)
{
    TDynInfoArray runs;
    for (std::int32_t i = 0; i < 100; ++i) // well past the first allocations
        runs.push_back(spanRun(i * 2, static_cast<std::int16_t>(i % 3)));
    runs.insert(1, spanRun(1, 42));
    ASSERT_EQ(runs.size(), 101);
    EXPECT_EQ(runs.position(1), 1);
    EXPECT_EQ(innermostEntry(runs.state(1)), 42);
    EXPECT_EQ(runs[2].position, 2);
    EXPECT_EQ(innermostEntry(runs[2]), 1);

    runs.erase(3, 100);
    EXPECT_EQ(positionsOf(runs), (std::vector<std::int32_t>{0, 1, 2, 198}));
    EXPECT_EQ(innermostEntry(runs.state(3)), 99 % 3);

    runs.set(0, spanRun(0, 5, 2));
    EXPECT_EQ(runLevel(runs.state(0)), 2);
    EXPECT_TRUE(runs.eraseIf([](const RunState &s) { return innermostEntry(s) == 42; }));
    EXPECT_FALSE(runs.eraseIf([](const RunState &s) { return innermostEntry(s) == 42; }));
    EXPECT_EQ(positionsOf(runs), (std::vector<std::int32_t>{0, 2, 198}));
}

TEST(DynInfoArray, CopiesAndAppendsAreIndependent)
{
    TDynInfoArray a;
    a = {spanRun(1, 1), spanRun(4, 2)};
    TDynInfoArray b = a;
    b.setPosition(0, 0);
    b.append(a);
    EXPECT_EQ(positionsOf(a), (std::vector<std::int32_t>{1, 4}));
    EXPECT_EQ(positionsOf(b), (std::vector<std::int32_t>{0, 4, 1, 4}));
    a = b;
    a.resize(6);
    EXPECT_EQ(positionsOf(a), (std::vector<std::int32_t>{0, 4, 1, 4, 0, 0}));
    EXPECT_EQ(a.state(5), RunState{});
    a = a;
    EXPECT_EQ(a.size(), 6);
    a.clear();
    EXPECT_TRUE(a.empty());
}

TEST(DynInfoArray, EqualFinishedArraysShareOneAllocationAndChangesStayPrivate)
{
    TDynInfoArray a, b, c;
    a = {spanRun(1, 1), spanRun(4, 2)};
    b = {spanRun(1, 1), spanRun(4, 2)};
    c = {spanRun(1, 1), spanRun(5, 2)};
    a.share();
    b.share();
    c.share();
    EXPECT_TRUE(a.sharesWith(b));
    EXPECT_FALSE(a.sharesWith(c));

    b.setPosition(1, 3); // a change gives b its own runs again
    EXPECT_FALSE(a.sharesWith(b));
    EXPECT_EQ(positionsOf(a), (std::vector<std::int32_t>{1, 4}));
    EXPECT_EQ(positionsOf(b), (std::vector<std::int32_t>{1, 3}));

    TDynInfoArray copy = a;
    EXPECT_TRUE(copy.sharesWith(a));
    copy.insert(0, spanRun(0, 9));
    copy.erase(2, 3);
    EXPECT_EQ(positionsOf(copy), (std::vector<std::int32_t>{0, 1}));
    EXPECT_EQ(positionsOf(a), (std::vector<std::int32_t>{1, 4}));

    // The last user of a stored array takes it back, and a later equal array finds it no more.
    a.reset();
    TDynInfoArray d;
    d = {spanRun(1, 1), spanRun(4, 2)};
    d.share();
    EXPECT_EQ(positionsOf(d), (std::vector<std::int32_t>{1, 4}));
    d.eraseIf([](const RunState &s) { return innermostEntry(s) == 2; });
    EXPECT_EQ(positionsOf(d), (std::vector<std::int32_t>{1}));

    TDynInfoArray empty;
    empty.push_back(spanRun(2, 2));
    empty.clear();
    empty.share(); // drops the allocation
    EXPECT_TRUE(empty.empty());
    EXPECT_FALSE(empty.sharesWith(c));
}

TEST(DynInfoArray, FinishedArraysShareExactlyWhenEqualThroughRandomChanges)
{
    // Arrays drawn from a small set of run lists, so that many are equal, are changed, copied
    // and dropped at random and finished again each time; equal finished arrays must share
    // one allocation and unequal ones never, while the store of shared allocations grows and
    // has allocations taken out.
    using Runs = std::vector<std::pair<std::int32_t, std::int16_t>>;
    std::mt19937 rng(7);
    const auto randomRuns = [&] {
        Runs runs;
        const int n = static_cast<int>(rng() % 4);
        for (int i = 0, at = 0; i < n; ++i, at += 1 + static_cast<int>(rng() % 3))
            runs.push_back({at, static_cast<std::int16_t>(1 + rng() % 4)});
        return runs;
    };
    const auto assign = [](TDynInfoArray &array, const Runs &runs) {
        array.clear();
        for (const auto &[at, entry] : runs)
            array.push_back(spanRun(at, entry));
        array.share();
    };
    const auto runsOf = [](const TDynInfoArray &array) {
        Runs runs;
        for (std::int32_t i = 0; i < array.size(); ++i)
            runs.push_back({array.position(i), innermostEntry(array.state(i))});
        return runs;
    };
    std::vector<TDynInfoArray> arrays(200);
    std::vector<Runs> model(arrays.size());
    for (int step = 0; step < 20000; ++step) {
        const std::size_t a = rng() % arrays.size(), b = rng() % arrays.size();
        switch (rng() % 4) {
        case 0:
            model[a] = randomRuns();
            assign(arrays[a], model[a]);
            break;
        case 1:
            arrays[a].reset();
            model[a].clear();
            break;
        case 2:
            arrays[a] = arrays[b];
            arrays[a].share();
            model[a] = model[b];
            break;
        default:
            if (!model[a].empty()) {
                model[a].back().first += 1;
                arrays[a].setPosition(arrays[a].size() - 1, model[a].back().first);
                arrays[a].share();
            }
            break;
        }
        if (step % 500 != 0)
            continue;
        for (std::size_t i = 0; i < arrays.size(); ++i) {
            ASSERT_EQ(runsOf(arrays[i]), model[i]) << "step " << step;
            for (std::size_t j = i + 1; j < arrays.size(); ++j)
                ASSERT_EQ(arrays[i].sharesWith(arrays[j]), !model[i].empty() && model[i] == model[j])
                    << "step " << step << ", arrays " << i << " and " << j;
        }
    }
}
