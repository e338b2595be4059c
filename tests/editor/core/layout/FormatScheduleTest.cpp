// The formatting schedule: background slices, progress events, mode switches, the change
// lock and the format thread's timer.
#include "editor/core/layout/LayoutTestSupport.h"

#include "editor/core/editing/StoreConsistency.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace velmora::core::testing
{
namespace
{

std::string manyParagraphs(int n)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += "mov ax, bx ; a comment that wraps over the edge of the line\r\n";
    return text;
}

std::int32_t laidOutCount(TSourceMemoCore &memo)
{
    std::int32_t n = 0;
    for (std::int32_t i = 0; i < memo.ParagraphCount(); ++i)
        n += (memo.paragraphs().par(i)->flags & pfLinesValid) ? 1 : 0;
    return n;
}

struct TimerLog {
    int starts = 0;
    int stops = 0;
    bool running = false;
    bool alive = false;
    std::function<void()> tick;
};

class FakeTimer : public TFormatTimer
{
public:
    FakeTimer(TimerLog &log, std::function<void()> tick) : log_(log)
    {
        log_.alive = true;
        log_.tick = std::move(tick);
    }
    ~FakeTimer() override { log_.alive = false; }
    void start() override
    {
        ++log_.starts;
        log_.running = true;
    }
    void stop() override
    {
        ++log_.stops;
        log_.running = false;
    }

private:
    TimerLog &log_;
};

TEST(FormatScheduleTest, SlicesFormatFromTheTopWithThrottledProgressAndAFinalCall)
{
    LayoutRig rig(umBackground);
    rig.clock.step = 1; // every reading of the tick count costs a millisecond
    std::vector<std::pair<std::uint32_t, bool>> calls;
    rig.layout.schedule().OnProgress = [&] { calls.emplace_back(rig.clock.now, rig.layout.schedule().hasWork()); };
    // Enough paragraphs for several progress intervals: the clock is read once per few paragraphs.
    rig.setText(manyParagraphs(12000));
    rig.open();
    ASSERT_TRUE(rig.layout.schedule().hasWork());
    ASSERT_NE(rig.layout.schedule().thread(), nullptr);
    EXPECT_FALSE(rig.layout.schedule().thread()->Suspended());

    rig.layout.schedule().runSlice();
    const std::int32_t afterOne = rig.memo.paragraphs().marks().firstUnformattedPar();
    EXPECT_GT(afterOne, 0);
    EXPECT_LT(afterOne, 100); // a slice ends after 8 ms
    EXPECT_EQ(laidOutCount(rig.memo), afterOne);

    rig.drainSlices();
    EXPECT_EQ(laidOutCount(rig.memo), 12001);
    EXPECT_EQ(rig.memo.LineCount(), 12000 * 2 + 1);
    checkStoreConsistency(rig.memo.paragraphs());
    ASSERT_GE(calls.size(), 3u);
    for (std::size_t i = 1; i + 1 < calls.size(); ++i)
        EXPECT_GT(calls[i].first - calls[i - 1].first, 300u);
    EXPECT_FALSE(calls.back().second); // the last call reports the finished text
    for (std::size_t i = 0; i + 1 < calls.size(); ++i)
        EXPECT_TRUE(calls[i].second);

    rig.layout.schedule().runSlice(); // nothing left: the thread rests
    EXPECT_TRUE(rig.layout.schedule().thread()->Suspended());
}

TEST(FormatScheduleTest, SwitchingToImmediateFormatsThePendingParagraphsAtOnce)
{
    LayoutRig rig(umBackground);
    rig.clock.step = 1;
    int progress = 0;
    rig.layout.schedule().OnProgress = [&] { ++progress; };
    rig.setText(manyParagraphs(500));
    rig.open();
    rig.layout.schedule().runSlice();
    ASSERT_TRUE(rig.layout.schedule().hasWork());

    rig.clock.step = 0;
    rig.layout.schedule().setUpdateMode(umImmediate);
    EXPECT_EQ(rig.layout.schedule().thread(), nullptr);
    EXPECT_FALSE(rig.layout.schedule().hasWork());
    EXPECT_EQ(laidOutCount(rig.memo), 501);
    EXPECT_EQ(progress, 1); // the final call
    checkStoreConsistency(rig.memo.paragraphs());

    // On need: marks only, until the view reaches the lines.
    rig.layout.schedule().setUpdateMode(umOnNeed);
    rig.layout.relayoutAll();
    EXPECT_EQ(laidOutCount(rig.memo), 0);
    rig.layout.layOutUpToLine(10);
    EXPECT_EQ(laidOutCount(rig.memo), 6);
    checkStoreConsistency(rig.memo.paragraphs());
}

TEST(FormatScheduleTest, ALoadedTextIsLaidOutByTheUpdateMode)
{
    LayoutRig rig(umBackground);
    rig.open();
    rig.setText(manyParagraphs(100));
    rig.layout.scrollTo(50 * 14, 0, 0);
    std::istringstream in(manyParagraphs(300));
    rig.memo.LoadFromStream(in);
    EXPECT_EQ(rig.layout.geometry.vertOffset, 0);
    EXPECT_TRUE(rig.layout.schedule().hasWork());
    rig.drainSlices();
    EXPECT_EQ(laidOutCount(rig.memo), 301);
    checkStoreConsistency(rig.memo.paragraphs());

    rig.layout.schedule().setUpdateMode(umImmediate);
    std::istringstream again(manyParagraphs(20));
    rig.memo.LoadFromStream(again);
    EXPECT_EQ(laidOutCount(rig.memo), 21);
    EXPECT_EQ(rig.memo.LineCount(), 41);
}

TEST(FormatScheduleTest, ASliceDuringAnEditChangesNothing)
{
    LayoutRig rig(umBackground);
    rig.setText(manyParagraphs(200));
    rig.open();
    rig.memo.BeginUpdate();
    rig.memo.setSelStart(0);
    rig.memo.SetSelTextBuf("x");
    const std::int32_t mark = rig.memo.paragraphs().marks().firstUnformattedPar();
    const std::int32_t lines = rig.memo.LineCount();
    rig.layout.schedule().runSlice();
    EXPECT_EQ(rig.memo.paragraphs().marks().firstUnformattedPar(), mark);
    EXPECT_EQ(rig.memo.LineCount(), lines);
    EXPECT_EQ(laidOutCount(rig.memo), 0);
    rig.memo.EndUpdate();
    rig.drainSlices();
    EXPECT_EQ(laidOutCount(rig.memo), 201);
    checkStoreConsistency(rig.memo.paragraphs());
}

TEST(FormatScheduleTest, TheThreadsTimerRunsOnlyWhileThereIsWork)
{
    TimerLog log;
    auto rig = std::make_unique<LayoutRig>(umImmediate);
    rig->layout.schedule().CreateTimer = [&](std::function<void()> tick) {
        return std::make_unique<FakeTimer>(log, std::move(tick));
    };
    rig->layout.schedule().setUpdateMode(umBackground);
    rig->setText(manyParagraphs(300));
    rig->open();
    EXPECT_TRUE(log.running);
    for (int guard = 0; log.running && guard < 10000; ++guard)
        log.tick();
    EXPECT_FALSE(log.running);
    EXPECT_EQ(laidOutCount(rig->memo), 301);

    // An edit queues work and wakes the thread; the window shows the edited lines at once.
    rig->memo.setSelStart(0);
    rig->memo.SetSelTextBuf("a\r\nb\r\n");
    EXPECT_TRUE(rig->memo.paragraphs().par(0)->flags & pfLinesValid);

    // Destroying the editor while the thread rests ends it cleanly.
    for (int guard = 0; log.running && guard < 10000; ++guard)
        log.tick();
    rig.reset();
    EXPECT_FALSE(log.alive);
    EXPECT_FALSE(log.running);
}

TEST(FormatScheduleTest, AThreadEndingByItselfCallsItsCompletionCallback)
{
    LayoutRig rig(umImmediate);
    bool done = false;
    {
        TsmFormatThread thread(rig.layout.schedule(), nullptr);
        thread.OnDone = [&] { done = true; };
    }
    EXPECT_TRUE(done);
    done = false;
    {
        TsmFormatThread thread(rig.layout.schedule(), nullptr);
        thread.OnDone = [&] { done = true; };
        thread.Stop(); // a stopped thread has forgotten its callback
        thread.Resume();
        EXPECT_TRUE(thread.Suspended());
    }
    EXPECT_FALSE(done);
}

} // namespace
} // namespace velmora::core::testing
