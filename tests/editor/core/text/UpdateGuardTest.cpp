#include "editor/core/text/UpdateGuard.h"

#include "editor/core/editing/SourceMemoCore.h"
#include "editor/core/keyfiles/KeywordList.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using namespace velmora::core;

namespace
{

// Counts its brackets; EndUpdate throws "end" when told to.
struct Brackets {
    int begun = 0;
    int ended = 0;
    bool endThrows = false;
    void BeginUpdate() { ++begun; }
    void EndUpdate()
    {
        ++ended;
        if (endThrows)
            throw std::runtime_error("end");
    }
};

// The message of what body throws, "" when it throws nothing.
template <class Body> std::string failureOf(Body body)
{
    try {
        body();
    } catch (const std::runtime_error &e) {
        return e.what();
    }
    return {};
}

struct MemoWithChangeCount {
    TSourceMemoCore memo;
    int changes = 0;
    MemoWithChangeCount()
    {
        memo.OnChange = [this](TSourceMemoCore &) { ++changes; };
    }
};

} // namespace

TEST(UpdateGuard, NestedGuardsNotifyOnceWhenTheOutermostCloses)
{
    MemoWithChangeCount m;
    {
        UpdateGuard outer(m.memo);
        m.memo.SetSelTextBuf("a");
        {
            UpdateGuard inner(m.memo);
            m.memo.SetSelTextBuf("b");
            EXPECT_EQ(m.memo.updateCount(), 2);
        }
        EXPECT_EQ(m.memo.updateCount(), 1);
        EXPECT_EQ(m.changes, 0);
    }
    EXPECT_EQ(m.memo.updateCount(), 0);
    EXPECT_EQ(m.changes, 1);

    TKeywordList list;
    {
        UpdateGuard outer(list);
        UpdateGuard inner(list);
        inner.close();
        inner.close(); // closes nothing the second time
        EXPECT_TRUE(list.Updating());
    }
    EXPECT_FALSE(list.Updating());
}

TEST(UpdateGuard, AThrowingBodyClosesTheUpdateAndItsExceptionPropagates)
{
    MemoWithChangeCount m;
    EXPECT_EQ(failureOf([&] {
                  UpdateGuard update(m.memo);
                  m.memo.SetSelTextBuf("a");
                  throw std::runtime_error("body");
              }),
              "body");
    EXPECT_EQ(m.memo.updateCount(), 0);
    EXPECT_EQ(m.changes, 1); // the edit before the failure is announced
    EXPECT_EQ(m.memo.TextLength(), 1);

    TKeywordList list;
    EXPECT_EQ(failureOf([&] {
                  UpdateGuard update(list);
                  list.Add("mov");
                  throw std::runtime_error("body");
              }),
              "body");
    EXPECT_FALSE(list.Updating());
}

TEST(UpdateGuard, AnEndUpdateFailureWhileUnwindingGivesWayToTheBodysException)
{
    Brackets brackets;
    brackets.endThrows = true;
    EXPECT_EQ(failureOf([&] {
                  UpdateGuard update(brackets);
                  throw std::runtime_error("body");
              }),
              "body");
    EXPECT_EQ(brackets.ended, 1);

    // The memo's change handler fails in the EndUpdate that the body's failure brings about.
    MemoWithChangeCount m;
    m.memo.OnChange = [](TSourceMemoCore &) { throw std::runtime_error("handler"); };
    EXPECT_EQ(failureOf([&] {
                  UpdateGuard update(m.memo);
                  m.memo.SetSelTextBuf("a");
                  throw std::runtime_error("body");
              }),
              "body");
    EXPECT_EQ(m.memo.updateCount(), 0);
}

TEST(UpdateGuard, AnEndUpdateFailureOutsideUnwindingPropagatesOnce)
{
    Brackets brackets;
    brackets.endThrows = true;
    EXPECT_EQ(failureOf([&] { UpdateGuard update(brackets); }), "end");
    EXPECT_EQ(brackets.ended, 1);

    // close() lets the guard go even when EndUpdate fails: the scope's end does not repeat it.
    EXPECT_EQ(failureOf([&] {
                  UpdateGuard update(brackets);
                  update.close();
              }),
              "end");
    EXPECT_EQ(brackets.ended, 2);

    // Caught inside the scope, the failure leaves nothing for the scope's end either.
    brackets.endThrows = true;
    {
        UpdateGuard update(brackets);
        EXPECT_EQ(failureOf([&] { update.close(); }), "end");
    }
    EXPECT_EQ(brackets.ended, 3);
}

TEST(UpdateGuard, AnEmptyGuardHoldsNothingUntilOpened)
{
    Brackets brackets;
    {
        UpdateGuard<Brackets> update;
        update.close();
    }
    EXPECT_EQ(brackets.begun, 0);
    EXPECT_EQ(brackets.ended, 0);
    {
        UpdateGuard<Brackets> update;
        update.open(brackets);
        EXPECT_EQ(brackets.begun, 1);
        EXPECT_EQ(brackets.ended, 0);
    }
    EXPECT_EQ(brackets.ended, 1);
}
