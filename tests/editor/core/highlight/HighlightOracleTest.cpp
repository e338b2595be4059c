// After every step of a long random edit sequence, the runs kept up to date incrementally
// must equal those of highlighting the same text from scratch.

#include "editor/core/highlight/HighlightTestSupport.h"

#include "editor/core/highlight/ExtHighlighter.h"
#include "editor/core/highlight/NumberHighlighter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <random>
#include <string>

using namespace velmora::core;
using velmora::core::testing::HighlightedMemo;
using velmora::core::testing::sameHighlighting;

namespace
{

void setUpOwnLists(HighlightedMemo &m)
{
    TStartStopKeyList &keys = m.engine.StartStopKeys;
    keys.AddKey("/*", "*/", 0, kStyleItalic, 2, 0, -1, 0x808080, false);
    keys.AddKey(";", "", 0, kStyleItalic, 3, 0, -1, 0x008000, true);
    keys.AddKey("<", ">", 0, 0, 0, 0, -1, 0x0000FF, false);
    keys.AddKey("<", "/>", 0, 0, 0, 0, -1, 0x00FFFF, false);
    keys.AddKey("'", "'", 0, kStyleBold, 0, 0, -1, 0xFF00FF, true);
    for (const char *word : {"MOV", "MOVSB", "INT", "ADD"})
        m.engine.Keywords.AddKeyword(word, kOptWholeWords, kStyleBold, 7, 0, -1, 0xF5F5F5);
    m.engine.Keywords.AddKeyword("ov", 0, kStyleUnderline, 1, 0, -1, 0xFF0000);
}

// Nested spans of an extended highlighter: brackets nest, "#" comments run to the paragraph
// end, "[" spans collapse; numbers are found by a chained number highlighter.
struct ExtSetup {
    TCustomExtHighlighter ext;
    TNumberHighlighter numbers;

    ExtSetup()
    {
        TExtStartStopList &keys = ext.StartStopKeys();
        keys.AddExtKey("(", ")", 0, 0, 4, 0, -1, 0x111111, 0, 0, kTopPriority);
        keys.AddExtKey("[", "]", 0, 0, 5, 0, -1, 0x222222, kKeyCollapsible, 0, 2);
        keys.AddExtKey("#", "", 0, kStyleItalic, 6, 0, -1, 0x333333, kKeyStaysInParagraph, 0, 3);
        keys.AddExtKey("@", "", 0, 0, 8, 0, -1, 0x444444, kKeyEndAtDelimiter, 0, 1);
        ext.Keywords().AddKeyword("mov", kOptWholeWords, kStyleBold, 7, 0, -1, 0x555555);
        ext.Keywords().AddKeyword("vs", 0, kStyleBold, 9, 0, -1, 0x666666);
        numbers.setPriority(1);
        ext.setChainedHighlighter(&numbers);
    }
};

const std::array<const char *, 22> kPieces = {"/*",    "*/",  ";", "<", ">",    "/>",   "'",   "mov",
                                              "movsb", "int", " ", " ", "\r\n", "\r\n", "21h", "$1F",
                                              "x",     "0",   "(", ")", "[",    "]"};

std::string randomInsert(std::mt19937 &rng)
{
    std::string text;
    const int pieces = std::uniform_int_distribution<int>(0, 3)(rng);
    for (int i = 0; i < pieces; ++i) {
        const char *p = kPieces[std::uniform_int_distribution<std::size_t>(0, kPieces.size() - 1)(rng)];
        text += p;
        if (std::uniform_int_distribution<int>(0, 9)(rng) == 0)
            text += std::uniform_int_distribution<int>(0, 1)(rng) ? "#" : "@";
    }
    return text;
}

// Returns the deepest run level seen, so that a test can tell that nesting was exercised.
int runOracle(std::uint32_t seed, int steps, const std::function<void(HighlightedMemo &)> &setUp)
{
    int deepest = -1;
    std::mt19937 rng(seed);
    HighlightedMemo edited;
    setUp(edited);
    edited.load("mov ax, 1\r\n/* note\r\nmore */ int 21h\r\n<a>b/> 'x'\r\nadd ; tail");
    for (int step = 0; step < steps; ++step) {
        const std::int32_t length = edited.memo.TextLength();
        const int kind = std::uniform_int_distribution<int>(0, 19)(rng);
        if (kind == 0 && edited.memo.CanUndo()) {
            edited.memo.Undo();
        } else if (kind == 1 && edited.memo.CanRedo()) {
            edited.memo.Redo();
        } else {
            const std::int32_t from = std::uniform_int_distribution<std::int32_t>(0, length)(rng);
            const std::int32_t maxCut = length > 800 ? 40 : 6;
            const std::int32_t cut =
                std::min(length - from, std::uniform_int_distribution<std::int32_t>(0, maxCut)(rng));
            edited.edit(from, cut, randomInsert(rng));
        }
        edited.engine.highlightAll();

        HighlightedMemo fresh;
        setUp(fresh);
        fresh.load(edited.memo.textRange(0, edited.memo.TextLength()));
        EXPECT_TRUE(sameHighlighting(edited, fresh)) << "seed " << seed << " step " << step << " text:\n"
                                                     << edited.memo.textRange(0, edited.memo.TextLength());
        EXPECT_TRUE(edited.runsWellFormed());
        if (::testing::Test::HasFailure())
            return deepest;
        for (std::int32_t i = 0; i < edited.memo.ParagraphCount(); ++i)
            for (std::int32_t r = 0; r < edited.par(i).runCount(); ++r)
                deepest = std::max(deepest, runLevel(edited.par(i).run(r)));
    }
    return deepest;
}

} // namespace

TEST(HighlightOracle, OwnListsAndNumbersFollowRandomEdits)
{
    TNumberHighlighter numbers;
    numbers.setSeparators("\t ,;");
    for (std::uint32_t seed : {1u, 2u, 3u})
        runOracle(seed, 300, [&](HighlightedMemo &m) {
            setUpOwnLists(m);
            m.engine.setHighlighter(&numbers);
        });
}

TEST(HighlightOracle, NestedExtendedSpansFollowRandomEdits)
{
    ExtSetup setup;
    int deepest = -1;
    for (std::uint32_t seed : {11u, 12u, 13u})
        deepest = std::max(deepest, runOracle(seed, 300, [&](HighlightedMemo &m) {
                               setUpOwnLists(m);
                               m.engine.setHighlighter(&setup.ext);
                           }));
    EXPECT_GE(deepest, 3);
}
