// Layout of highlighted text: runs choose fonts, and edits that change the highlighting of
// later paragraphs (a comment opened or closed) re-lay them out, at once or in the background.
#include "editor/core/layout/LayoutTestSupport.h"

#include "editor/core/layout/HighlightedLayoutView.h"
#include "editor/core/highlight/SourceHighlightEngine.h"
#include "editor/core/editing/StoreConsistency.h"

#include <gtest/gtest.h>

#include <random>

namespace velmora::core::testing
{
namespace
{

// An editor whose highlighting uses the alternate font for comments and bold for mov.
struct HighlightedRig : LayoutRig {
    TSourceHighlightEngine engine{memo};
    THighlightedLayoutView hview{layout, engine};

    explicit HighlightedRig(TsmUpdateMode mode) : LayoutRig(mode)
    {
        memo.setView(&hview);
        engine.StartStopKeys.AddKey("/*", "*/", 0, kStyleAltFont, 2, 0, -1, 0x808080, false);
        engine.StartStopKeys.AddKey(";", "", 0, kStyleAltFont, 3, 0, -1, 0x008000, true);
        engine.Keywords.AddKeyword("mov", kOptWholeWords, kStyleBold, 7, 0, -1, 0xF5F5F5);
        layout.HighlightParagraph = [this](std::int32_t par) { engine.highlightParagraph(par); };
    }
};

void expectSameAsFromScratch(HighlightedRig &rig)
{
    HighlightedRig ref(umImmediate);
    loadParagraphsOf(rig.memo.paragraphs(), ref.memo.paragraphs());
    ref.open(rig.layout.geometry.clientWidth, rig.layout.geometry.clientHeight);
    expectSameLines(rig.memo.paragraphs(), ref.memo.paragraphs());
}

TEST(LayoutHighlightedTest, HighlightRunsChooseTheFontsOfTheLines)
{
    HighlightedRig rig(umImmediate);
    rig.open();
    rig.setText("mov ax, 1 ; set\r\nx");
    EXPECT_EQ(rig.line(0, 0).width, 9 * 3 + 7 * 7 + 11 * 5);
    rig.memo.setSelStart(0);
    rig.memo.SetSelTextBuf("/*");
    EXPECT_EQ(rig.line(1, 0).width, 11); // the comment runs on
    expectSameAsFromScratch(rig);
}

void runHighlightedOracle(TsmUpdateMode mode, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    HighlightedRig rig(mode);
    rig.open(136, 60);
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "mov ax, bx ; note " + std::to_string(i) + "\r\n";
    rig.setText(text);
    rig.drainSlices();
    static const char *pieces[] = {"/*", "*/", ";", "mov ", "x", "\r\n", "  ", ""};
    for (int step = 0; step < 60; ++step) {
        const std::int32_t at = std::uniform_int_distribution<std::int32_t>(0, rig.memo.TextLength())(rng);
        rig.memo.setSelStart(at);
        if (std::uniform_int_distribution<int>(0, 3)(rng) == 0)
            rig.memo.setSelLength(std::min(rig.memo.TextLength() - at, 3));
        rig.memo.SetSelTextBuf(pieces[std::uniform_int_distribution<int>(0, 7)(rng)]);
        rig.layout.scrollTo(std::uniform_int_distribution<std::int32_t>(0, 30)(rng) * 14, 0, 0);
        if (mode == umBackground)
            rig.drainSlices();
        ASSERT_NO_THROW(checkStoreConsistency(rig.memo.paragraphs()));
        if (step % 5 == 4) {
            SCOPED_TRACE("seed " + std::to_string(seed) + " step " + std::to_string(step));
            expectSameAsFromScratch(rig);
            if (::testing::Test::HasFailure())
                return;
        }
    }
}

TEST(LayoutHighlightedTest, EditsThatChangeLaterHighlightingMatchALayoutFromScratch)
{
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
        runHighlightedOracle(umImmediate, seed);
        runHighlightedOracle(umBackground, seed + 100);
    }
}

} // namespace
} // namespace velmora::core::testing
