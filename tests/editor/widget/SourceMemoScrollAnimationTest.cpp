// Animated scrolling returns at once: the layout's offsets take their goal, the view follows
// them from a timer towards it, and a mouse press shows the goal before it is handled.
#include "SourceMemoFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <string>

namespace velmora::widget::test
{

namespace
{

class SourceMemoScrollAnimationTest : public SourceMemoFixture
{
protected:
    void loadLines(int count)
    {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += "line " + std::to_string(i) + "\r\n";
        memo->setWordWrap(false);
        memo->SetTextBuf(text.c_str());
    }
    // Runs the event loop until the view shows the layout's offsets (at most 5 s), recording
    // the vertical offsets shown meanwhile.
    std::vector<std::int32_t> followAnimation()
    {
        std::vector<std::int32_t> shown{memo->shownVertOffset()};
        QElapsedTimer guard;
        guard.start();
        while (memo->shownVertOffset() != layout().geometry.vertOffset && guard.elapsed() < 5000) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
            if (memo->shownVertOffset() != shown.back())
                shown.push_back(memo->shownVertOffset());
        }
        return shown;
    }
};

TEST_F(SourceMemoScrollAnimationTest, AnAnimatedScrollReturnsAtOnceAndTheViewFollowsStepByStep)
{
    loadLines(200);
    for (const std::int32_t time : {300, -300}) {
        memo->setScrollTime(time);
        const std::int32_t from = layout().geometry.vertOffset;
        const std::int32_t goal = from == 0 ? 100 * lineHeight() : 0;
        int vscrolls = 0;
        memo->OnVScroll = [&](TSourceMemo &) { ++vscrolls; };
        layout().scrollTo(goal, 0, memo->ScrollTime());

        EXPECT_EQ(layout().geometry.vertOffset, goal) << "the layout is at its goal when the call returns";
        EXPECT_EQ(layout().topLine(), goal / lineHeight());
        EXPECT_EQ(memo->shownVertOffset(), from) << "the view has not moved yet";
        EXPECT_EQ(vscrolls, 1) << "one scroll, one notification";

        const std::vector<std::int32_t> shown = followAnimation();
        ASSERT_EQ(shown.back(), goal);
        EXPECT_GT(shown.size(), 2u) << "the view moved in steps";
        for (std::size_t i = 1; i < shown.size(); ++i)
            EXPECT_TRUE(goal > from ? shown[i] > shown[i - 1] : shown[i] < shown[i - 1]) << "never back";
        EXPECT_EQ(vscrolls, 1);
    }
}

TEST_F(SourceMemoScrollAnimationTest, TheViewIsPaintedAndTheCaretPlacedAtTheShownOffset)
{
    loadLines(200);
    memo->setFocus();
    memo->setScrollTime(300);
    const QImage top = shot();
    layout().scrollTo(100 * lineHeight(), 0, memo->ScrollTime());
    ASSERT_EQ(memo->shownVertOffset(), 0);
    EXPECT_EQ(shot(), top) << "still the top of the text until the animation steps";
    const QRect caret = memo->caretRect();
    if (!caret.isEmpty()) {
        EXPECT_EQ(caret.top(), 0) << "the caret on line 0 stays where line 0 is shown";
    }
    followAnimation();
    EXPECT_NE(shot(), top);
}

TEST_F(SourceMemoScrollAnimationTest, AMousePressOrANewScrollEndsTheRunningAnimation)
{
    loadLines(200);
    memo->setScrollTime(300);
    layout().scrollTo(100 * lineHeight(), 0, memo->ScrollTime());
    ASSERT_NE(memo->shownVertOffset(), layout().geometry.vertOffset);
    layout().scrollTo(50 * lineHeight(), 0, memo->ScrollTime());
    EXPECT_EQ(memo->shownVertOffset(), 100 * lineHeight()) << "the first scroll is shown complete";
    EXPECT_EQ(followAnimation().back(), 50 * lineHeight());

    layout().scrollTo(120 * lineHeight(), 0, memo->ScrollTime());
    QTest::mousePress(memo->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 2));
    EXPECT_EQ(memo->shownVertOffset(), 120 * lineHeight());
    EXPECT_EQ(memo->SelLine(), 120) << "the press hit the line it saw";
    QTest::mouseRelease(memo->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 2));
}

} // namespace

} // namespace velmora::widget::test
