// The walk over a display line's characters: walks resumed from checkpoints agree with walks
// from the line start, a long line is measured only where the window shows it, and an edit
// that keeps the line's length still makes the remembered states stale.
#include "editor/core/layout/LineWalk.h"
#include "editor/core/highlight/HighlightRuns.h"
#include "editor/core/layout/LayoutTestSupport.h"

#include <random>

namespace velmora::core::testing
{
namespace
{

constexpr std::int32_t kWindow = 416;

std::vector<TLineCell> wholeLine(LayoutRig &rig, std::int32_t par = 0, std::int32_t line = 0)
{
    ParInfo &p = *rig.memo.paragraphs().par(par);
    TLineWalk walk(rig.layout, p, p.lineInfo(line), rig.layout.geometry.horzOffset);
    std::vector<TLineCell> cells;
    while (!walk.atEnd())
        cells.push_back(walk.next());
    return cells;
}

void expectSameCell(const TLineCell &a, const TLineCell &b)
{
    SCOPED_TRACE("offset " + std::to_string(b.offset));
    ASSERT_EQ(a.offset, b.offset);
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.width, b.width);
    EXPECT_EQ(a.style, b.style);
    EXPECT_EQ(a.code, b.code);
    EXPECT_EQ(a.special, b.special);
    if (a.special) {
        EXPECT_EQ(a.specialFrom, b.specialFrom);
    }
    EXPECT_EQ(a.run, b.run);
}

// The window from .. to of the line, through checkpoints, against the walk from the line start.
void expectWindowAgrees(LayoutRig &rig, TLineCheckpoints &checkpoints, std::int32_t from, std::int32_t to)
{
    SCOPED_TRACE("window " + std::to_string(from) + " .. " + std::to_string(to));
    const std::vector<TLineCell> whole = wholeLine(rig);
    ParInfo &p = *rig.memo.paragraphs().par(0);
    TLineWalk walk(rig.layout, p, p.lineInfo(0), rig.layout.geometry.horzOffset);
    const std::vector<TLineCell> cells = checkpoints.cellsBetween(walk, from, to);
    ASSERT_FALSE(cells.empty());
    const std::size_t first = static_cast<std::size_t>(cells.front().offset - p.lineInfo(0).lineStart);
    ASSERT_LE(first + cells.size(), whole.size());
    for (std::size_t i = 0; i < cells.size(); ++i)
        expectSameCell(cells[i], whole[first + i]);
    const std::int32_t left = walk.left();
    // Nothing left out could show: what comes before ends left of from, what follows starts at to.
    EXPECT_TRUE(first == 0 || left + whole[first - 1].x + whole[first - 1].width < from);
    const std::size_t next = first + cells.size();
    EXPECT_TRUE(next == whole.size() || left + whole[next].x >= to);
    EXPECT_EQ(walk.state().x, next < whole.size() ? whole[next].x : whole.back().x + whole.back().width);
}

std::string randomLine(std::mt19937 &rng, std::size_t length)
{
    static const char pieces[] = {'a', 'b', 'W', ' ', ' ', '\t', '\x02', '\x04', 'x'};
    std::string s;
    while (s.size() < length)
        s += pieces[std::uniform_int_distribution<std::size_t>(0, sizeof pieces - 1)(rng)];
    return s;
}

TEST(LineWalk, WalksFromCheckpointsAgreeWithWalksFromTheLineStart)
{
    std::mt19937 rng(7);
    for (const bool justified : {false, true}) {
        SCOPED_TRACE(justified ? "justified" : "plain");
        // Justified, the line wraps in a window wide enough for lines of more than one step.
        LayoutRig rig;
        rig.open(justified ? 6000 : kWindow, 140);
        rig.memo.setStaticFormat(true);
        rig.layout.setJustified(justified);
        rig.layout.setWordWrap(justified);
        rig.setText(randomLine(rng, 6000) + "\r\nnext");
        // Bold and special-underline runs across checkpoint boundaries.
        ParInfo &p = *rig.memo.paragraphs().par(0);
        RunInfo bold;
        bold.style = kRunAttributes | kStyleBold;
        RunInfo special;
        special.style = kRunAttributes | kSpecialUnderlineBits;
        putRunInForce(p, 300, 1900, bold);
        putRunInForce(p, 1000, 2600, special);
        putRunInForce(p, 2700, 2701, special);
        rig.layout.relayoutAll();
        if (justified) {
            ASSERT_GT(rig.line(0, 0).nextLineStart, TLineCheckpoints::kStep);
            ASSERT_GT(6000 - 16 - rig.line(0, 0).width, 0);
            ASSERT_GT(rig.line(0, 0).blankCount, 0);
        }

        TLineCheckpoints checkpoints;
        const std::int32_t width = wholeLine(rig).back().x;
        for (std::int32_t from : {width / 2, 5, width - 100, width / 3, width / 2 + 3, 2000, width - 1}) {
            rig.layout.geometry.horzOffset = std::uniform_int_distribution<std::int32_t>(0, 1000)(rng);
            expectWindowAgrees(rig, checkpoints, from, from + kWindow);
            if (::testing::Test::HasFatalFailure())
                return;
        }
    }
}

TEST(LineWalk, PaintingALongLineMeasuresOnlyTheWindow)
{
    LayoutRig rig;
    rig.open(kWindow, 140);
    rig.layout.setWordWrap(false);
    std::string line;
    while (line.size() < 1000000)
        line += "mov ax, word ptr [bx+si]\t; a comment ";
    rig.setText(line);
    const std::int32_t width = rig.line(0, 0).width;
    ASSERT_GT(width, 6000000);
    TLineCheckpoints checkpoints;
    const auto paint = [&](std::int32_t horzOffset) {
        rig.layout.geometry.horzOffset = horzOffset;
        ParInfo &p = *rig.memo.paragraphs().par(0);
        TLineWalk walk(rig.layout, p, p.lineInfo(0), rig.layout.geometry.horzOffset);
        rig.measurer.bytes = 0;
        EXPECT_FALSE(checkpoints.cellsBetween(walk, 0, kWindow).empty());
        return rig.measurer.bytes;
    };
    EXPECT_LT(paint(0), 100); // the window holds about 60 characters

    // The first look at the line's end measures up to it once; later ones from a checkpoint.
    EXPECT_GT(paint(width - kWindow), 500000);
    EXPECT_LT(paint(width - kWindow), TLineCheckpoints::kStep + 100);
    EXPECT_LT(paint(width / 2), TLineCheckpoints::kStep + 100);
    EXPECT_LT(paint(width / 2 - 5000), TLineCheckpoints::kStep + 100);
    expectWindowAgrees(rig, checkpoints, 0, kWindow);
}

TEST(LineWalk, AnEditThatKeepsTheLengthMakesTheCheckpointsStale)
{
    LayoutRig rig;
    rig.open(kWindow, 140);
    rig.layout.setWordWrap(false);
    rig.setText(std::string(5000, 'a'));
    TLineCheckpoints checkpoints;
    const std::int32_t far = 4000 * 7;
    expectWindowAgrees(rig, checkpoints, far, far + kWindow);
    // A character becomes a tab: the same length, other widths after it.
    rig.memo.setSelStart(10);
    rig.memo.setSelLength(1);
    rig.memo.SetSelTextBuf("\t");
    expectWindowAgrees(rig, checkpoints, far, far + kWindow);
    EXPECT_EQ(wholeLine(rig)[11].x, 2 * 8 * 7); // the tab reaches the second stop
}

} // namespace
} // namespace velmora::core::testing
