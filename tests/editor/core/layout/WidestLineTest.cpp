// The widest line the layout keeps through edits, undo, redo, update groups, background
// slices and full re-layouts, checked against a walk over every stored line.
#include "editor/core/layout/LayoutTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace velmora::core;
using namespace velmora::core::testing;

namespace
{

std::int32_t widestByWalk(TParagraphsList &s)
{
    std::int32_t widest = 0;
    for (std::int32_t i = 0; i < s.count(); ++i)
        for (std::int32_t l = 0; l < s.par(i)->lineCount(); ++l)
            widest = std::max(widest, s.par(i)->lineInfo(l).width);
    return widest;
}

class RandomEdits
{
public:
    RandomEdits(LayoutRig &rig, unsigned seed) : rig_(rig), rng_(seed) {}

    void step()
    {
        TSourceMemoCore &memo = rig_.memo;
        const int op = pick(0, 99);
        if (op < 10 && memo.CanUndo()) {
            memo.Undo();
        } else if (op < 15 && memo.CanRedo()) {
            memo.Redo();
        } else if (op < 20) {
            memo.BeginUpdate();
            replaceAtRandom();
            replaceAtRandom();
            memo.EndUpdate();
        } else if (op < 23) {
            rig_.drainSlices();
        } else {
            replaceAtRandom();
        }
    }

private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    // Mostly short typing, sometimes long runs (a line that gets much wider) and breaks, and
    // deletions of up to a few paragraphs.
    void replaceAtRandom()
    {
        TSourceMemoCore &memo = rig_.memo;
        const std::int32_t length = memo.paragraphs().marks().textLength();
        memo.setSelStart(pick(0, length));
        memo.setSelLength(pick(0, 3) == 0 ? pick(0, std::min(length - memo.SelStart(), 200)) : 0);
        static const char *pieces[] = {"x", "mov ax, 1", "\r\n", " ", "\t", "a\r\nbb\r\nccc"};
        std::string text;
        for (int n = pick(0, 4); n > 0; --n)
            text += pieces[pick(0, 5)];
        if (pick(0, 9) == 0)
            text += std::string(static_cast<std::size_t>(pick(50, 400)), 'w');
        memo.SetSelTextBuf(text.c_str());
    }

    LayoutRig &rig_;
    std::mt19937 rng_;
};

std::string linesOfGrowingWidth(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += std::string(static_cast<std::size_t>(i % 37 + 1), 'q') + "\r\n";
    return text;
}

TEST(WidestLineTest, EditsKeepTheWidestEqualToAWalkOverAllLines)
{
    for (const bool wrap : {false, true}) {
        for (const TsmUpdateMode mode : {umImmediate, umBackground, umOnNeed}) {
            LayoutRig rig(mode);
            rig.layout.setWordWrap(wrap);
            rig.setText(linesOfGrowingWidth(300));
            rig.open();
            rig.drainSlices();
            RandomEdits edits(rig, 7u + static_cast<unsigned>(mode) + (wrap ? 100u : 0u));
            for (int step = 0; step < 400; ++step) {
                edits.step();
                ASSERT_EQ(rig.layout.widestLine(), widestByWalk(rig.memo.paragraphs()))
                    << "step " << step << (wrap ? " with" : " without") << " word wrap, mode " << int(mode);
            }
        }
    }
}

TEST(WidestLineTest, ShrinkingTheWidestLineFallsBackToTheNextWidest)
{
    LayoutRig rig;
    rig.layout.setWordWrap(false);
    rig.setText("aaaa\r\n" + std::string(50, 'w') + "\r\nbbbbbbbbbb");
    rig.open();
    EXPECT_EQ(rig.layout.widestLine(), 50 * 7);

    rig.memo.setSelStart(6 + 10);
    rig.memo.setSelLength(40);
    rig.memo.SetSelTextBuf("");
    EXPECT_EQ(rig.layout.widestLine(), 10 * 7); // a tie: both remaining lines are 10 wide

    rig.memo.setSelStart(0);
    rig.memo.setSelLength(rig.memo.paragraphs().marks().textLength());
    rig.memo.SetSelTextBuf("");
    EXPECT_EQ(rig.layout.widestLine(), 0);
}

TEST(WidestLineTest, AFullRelayoutForgetsTheOldWidthsUntilLinesAreLaidOutAgain)
{
    LayoutRig rig(umBackground);
    rig.layout.setWordWrap(false);
    rig.setText(linesOfGrowingWidth(200));
    rig.open();
    rig.drainSlices();
    EXPECT_EQ(rig.layout.widestLine(), 37 * 7);

    rig.layout.relayoutAll();
    EXPECT_EQ(rig.layout.widestLine(), 0);
    EXPECT_EQ(widestByWalk(rig.memo.paragraphs()), 0);
    rig.drainSlices();
    EXPECT_EQ(rig.layout.widestLine(), 37 * 7);
}

} // namespace
