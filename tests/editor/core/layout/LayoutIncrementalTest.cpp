// The layout after random edits equals a layout of the same text from scratch, in every
// update mode once the schedule has caught up.
#include "editor/core/layout/LayoutTestSupport.h"
#include "editor/core/store/StoreTestSupport.h"

#include "editor/core/editing/StoreConsistency.h"

#include <gtest/gtest.h>

#include <random>

namespace velmora::core::testing
{
namespace
{

struct Settings {
    std::int32_t columnWrap = 0;
    std::int32_t tabStops = 8;
    bool staticFormat = false;
    std::string wordWrapChars;
    bool wordWrap = true;
    TAlignment alignment = taLeftJustify;
};

void apply(LayoutRig &rig, const Settings &s)
{
    rig.memo.paragraphs().StaticFormat = s.staticFormat;
    rig.layout.setColumnWrap(s.columnWrap);
    rig.layout.setTabStops(s.tabStops);
    rig.layout.setWordWrapChars(s.wordWrapChars);
    rig.layout.setWordWrap(s.wordWrap);
    rig.layout.setAlignment(s.alignment);
}

// A fresh editor holding the paragraphs of memo as a load leaves them, laid out at once.
void expectSameAsFromScratch(TSourceMemoCore &memo, const Settings &s, std::int32_t width, std::int32_t height)
{
    LayoutRig ref;
    apply(ref, s);
    loadParagraphsOf(memo.paragraphs(), ref.memo.paragraphs());
    ref.open(width, height);
    expectSameLines(memo.paragraphs(), ref.memo.paragraphs());
}

std::string randomPiece(std::mt19937 &rng, bool codes)
{
    static const char plain[] = "aaaabbbcc,;    \t\r\n";
    static const char styled[] = "aaaabbbcc,;    \t\r\n\x02\x04\x01";
    const char *alphabet = codes ? styled : plain;
    const std::size_t n = std::strlen(alphabet);
    std::string s;
    const int len = std::uniform_int_distribution<int>(0, 14)(rng);
    for (int i = 0; i < len; ++i)
        s += alphabet[std::uniform_int_distribution<std::size_t>(0, n - 1)(rng)];
    return s;
}

void randomEdit(std::mt19937 &rng, TSourceMemoCore &memo, bool codes)
{
    const std::int32_t len = memo.TextLength();
    const std::int32_t at = std::uniform_int_distribution<std::int32_t>(0, len)(rng);
    memo.setSelStart(at);
    const int kind = std::uniform_int_distribution<int>(0, 9)(rng);
    if (kind < 3)
        memo.setSelLength(std::uniform_int_distribution<std::int32_t>(0, std::min(len - at, 25))(rng));
    if (kind == 9 && memo.CanUndo()) {
        memo.Undo();
        return;
    }
    const std::string piece = randomPiece(rng, codes);
    memo.SetSelTextBuf(piece.c_str());
}

void runOracle(TsmUpdateMode mode, std::uint32_t seed, int steps)
{
    std::mt19937 rng(seed);
    Settings s;
    const int pick = static_cast<int>(seed % 6);
    s.columnWrap = pick == 1 ? 12 : pick == 2 ? -90 : pick == 5 ? 3 : 0;
    s.tabStops = pick == 3 ? -30 : pick == 4 ? 0 : 4;
    s.staticFormat = seed % 2 == 0;
    s.wordWrapChars = pick == 2 ? "," : pick == 4 ? ",;" : "";
    s.wordWrap = pick != 3;
    s.alignment = pick == 3 ? taCenter : taLeftJustify;
    const std::int32_t width = 136, height = 60; // 120 pixels of text, 5 lines

    LayoutRig rig(mode);
    apply(rig, s);
    rig.open(width, height);
    rig.setText("aaaa bbbb cc\r\n\tab, cd; ef\r\n\r\nlong words wrap over the window edge again and again");
    for (int step = 0; step < steps; ++step) {
        if (std::uniform_int_distribution<int>(0, 7)(rng) == 0) {
            rig.memo.BeginUpdate();
            randomEdit(rng, rig.memo, s.staticFormat);
            randomEdit(rng, rig.memo, s.staticFormat);
            rig.memo.EndUpdate();
        } else {
            randomEdit(rng, rig.memo, s.staticFormat);
        }
        // Scroll somewhere, so that edits land above, inside and below the window.
        rig.layout.scrollTo(std::uniform_int_distribution<std::int32_t>(0, 6)(rng) * rig.layout.lineHeight(), 0, 0);
        if (mode == umBackground)
            rig.drainSlices();
        else if (mode == umOnNeed)
            rig.layout.layOutUpToLine(INT32_MAX);
        ASSERT_NO_THROW(checkStoreConsistency(rig.memo.paragraphs())) << "step " << step;
        if (step % 7 == 0 || step == steps - 1) {
            SCOPED_TRACE("seed " + std::to_string(seed) + " step " + std::to_string(step));
            expectSameAsFromScratch(rig.memo, s, width, height);
            if (::testing::Test::HasFailure())
                return;
        }
    }
}

TEST(LayoutIncrementalTest, RandomEditsMatchALayoutFromScratch)
{
    for (std::uint32_t seed = 1; seed <= 12; ++seed)
        runOracle(umImmediate, seed, 120);
}

TEST(LayoutIncrementalTest, BackgroundSlicesReachTheSameState)
{
    for (std::uint32_t seed = 21; seed <= 26; ++seed)
        runOracle(umBackground, seed, 80);
}

TEST(LayoutIncrementalTest, OnNeedLayoutReachesTheSameState)
{
    for (std::uint32_t seed = 31; seed <= 34; ++seed)
        runOracle(umOnNeed, seed, 60);
}

// Typing into a long wrapped paragraph re-breaks from the edited line: a word moves up to the
// line before when room appears, and breaking stops where the old breaks resume.
TEST(LayoutIncrementalTest, TypingReBreaksFromTheEditedLine)
{
    LayoutRig rig;
    rig.open(136, 60);
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "word" + std::to_string(i % 10) + " ";
    rig.setText(text);
    const std::int32_t lines = rig.memo.paragraphs().par(0)->lineCount();
    ASSERT_GT(lines, 10);

    // Deleting the start of line 3 lets a word move up to line 2.
    const std::int32_t line3 = rig.line(0, 3).lineStart;
    rig.memo.setSelStart(line3);
    rig.memo.setSelLength(4);
    rig.memo.SetSelTextBuf("");
    expectSameAsFromScratch(rig.memo, Settings{}, 136, 60);

    // A character typed late in the paragraph measures little: the early stop keeps the rest.
    rig.measurer.calls = 0;
    rig.memo.setSelStart(rig.line(0, lines - 4).lineStart + 1);
    rig.memo.SetSelTextBuf("x");
    EXPECT_LT(rig.measurer.calls, 40);
    expectSameAsFromScratch(rig.memo, Settings{}, 136, 60);
}

} // namespace
} // namespace velmora::core::testing
