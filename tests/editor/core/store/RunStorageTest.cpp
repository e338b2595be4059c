// Packed highlight runs: interned states and the per-paragraph run array.
#include "editor/core/store/DynInfoArray.h"
#include "editor/core/highlight/HighlightRuns.h"

#include <gtest/gtest.h>

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
