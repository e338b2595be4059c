// Keywords found by looking words up must be exactly those the search for every keyword finds:
// the same two editors, one of which is kept on the search by nine extra keywords that are no
// words and never occur, highlight random texts alike.

#include "editor/core/highlight/HighlightTestSupport.h"

#include "editor/core/highlight/AssemblerSyntax.h"
#include "editor/core/highlight/KeywordWordTable.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <random>
#include <string>

using namespace velmora::core;
using velmora::core::testing::HighlightedMemo;
using velmora::core::testing::sameHighlighting;

namespace
{

constexpr const char *kSeparators = "\t $,.:;[]+";

// Word keywords of either case mode, with and without leading separators, a duplicate, a word
// under two prefixes in both orders, and a Windows-1251 word; "ov" and "a.b" are others.
void addKeywords(TKeywordList &list)
{
    const auto add = [&](const char *word, std::uint8_t options) {
        list.AddKeyword(word, options, kStyleBold, 7, 0, -1, 0x00FF00);
    };
    for (const char *word : {"MOV", "AX", ".MODEL", "MODEL", "STACK", ".STACK", "..STACK", "\xC4\xC0"})
        add(word, kOptWholeWords);
    add("Int", kOptWholeWords | kOptMatchCase);
    add("INT", kOptWholeWords);
    add("MOV", kOptWholeWords);
    add(".x", kOptWholeWords | kOptMatchCase);
    add("ov", 0);
    add("a.b", kOptWholeWords);
}

// Nine active keywords that are no words and cannot occur in the texts below.
void forceFullSearch(TKeywordList &list)
{
    for (char c = '0'; c <= '8'; ++c)
        list.AddKeyword(std::string("~~") + c, 0, kStyleBold, 7, 0, -1, 0x00FF00);
}

const std::array<const char *, 28> kPieces = {"mov",    "MOV",     "Mov",     "ax",    "int",      "Int",      "INT",
                                              ".model", "..model", "x.model", "model", "stack",    "..stack",  ".x",
                                              ".X",     "ov",      "a.b",     "A.B",   "\xE4\xE0", "\xC4\xE0", "'",
                                              "\"",     " ",       " ",       ".",     ";",        "'s '",     "\r\n"};

std::string randomText(std::mt19937 &rng)
{
    std::string text;
    const int pieces = std::uniform_int_distribution<int>(1, 60)(rng);
    for (int i = 0; i < pieces; ++i) {
        text += kPieces[std::uniform_int_distribution<std::size_t>(0, kPieces.size() - 1)(rng)];
        if (std::uniform_int_distribution<int>(0, 30)(rng) == 0)
            text +=
                std::string(std::uniform_int_distribution<std::size_t>(40, 300)(rng), 'm'); // longer than any keyword
    }
    return text;
}

// Comments and strings (start-stop spans) forbid keywords over parts of words. (A number
// highlighter would not do: its run entries follow the count of keywords.)
void setUp(HighlightedMemo &m, TsmUpperCase folding, bool fullSearch)
{
    m.engine.setSeparators(makeSeparators(kSeparators));
    m.engine.setUpperCaseType(folding);
    addKeywords(m.engine.Keywords);
    if (fullSearch)
        forceFullSearch(m.engine.Keywords);
    fillAssemblerStartStopKeys(m.engine.StartStopKeys);
}

} // namespace

TEST(KeywordWordLookup, FindsWhatTheFullSearchFindsInRandomTexts)
{
    for (const TsmUpperCase folding : {smuAscii, smuAnsi}) {
        std::mt19937 rng(folding == smuAscii ? 5u : 6u);
        for (int round = 0; round < 150; ++round) {
            const std::string text = randomText(rng);
            HighlightedMemo looked, searched;
            setUp(looked, folding, false);
            setUp(searched, folding, true);
            looked.load(text);
            searched.load(text);
            ASSERT_TRUE(sameHighlighting(looked, searched)) << "round " << round << " text:\n" << text;
        }
    }
}

TEST(KeywordWordLookup, WordsAtTheEdgesAfterSeparatorsAndInEitherCaseMode)
{
    HighlightedMemo m;
    m.engine.setSeparators(makeSeparators(kSeparators));
    addKeywords(m.engine.Keywords);
    m.load("mov\r\nx.model .model ..model\r\nInt iNT INT\r\n.x .X\r\nmov.\r\nxmodel\r\n\xE4\xE0 \xC4\xC0");
    EXPECT_EQ(m.shape(0), "kkk");
    EXPECT_EQ(m.entryAt(0, 0), 0); // the first of the two MOV keywords
    EXPECT_EQ(m.shape(1), "..kkkkk.kkkkkk..kkkkkk");
    EXPECT_EQ(m.entryAt(1, 2), 3); // a separator before the word: "MODEL" alone
    EXPECT_EQ(m.entryAt(1, 8), 2); // ".MODEL", listed before "MODEL"
    EXPECT_EQ(m.entryAt(1, 16), 2);
    EXPECT_EQ(m.shape(2), "kkk.kkk.kkk");
    EXPECT_EQ(m.entryAt(2, 0), 8); // the match-case "Int"
    EXPECT_EQ(m.entryAt(2, 4), 9);
    EXPECT_EQ(m.shape(3), "kk...");
    EXPECT_EQ(m.shape(4), "kkk.");
    EXPECT_EQ(m.shape(5), "......");
    EXPECT_EQ(m.shape(6), "...kk"); // ASCII folding leaves Cyrillic letters as they are
}

TEST(KeywordWordLookup, SameWordUnderSeveralPrefixesTakesTheFirstListedThatFits)
{
    HighlightedMemo m;
    m.engine.setSeparators(makeSeparators(kSeparators));
    m.engine.Keywords.AddKeyword("..LOOP", kOptWholeWords, kStyleBold, 7, 0, -1, 0);
    m.engine.Keywords.AddKeyword(".LOOP", kOptWholeWords, kStyleBold, 7, 0, -1, 0);
    m.engine.Keywords.AddKeyword("LOOP", kOptWholeWords, kStyleBold, 7, 0, -1, 0);
    m.load("..loop .loop loop x..loop");
    EXPECT_EQ(m.shape(0), "kkkkkk.kkkkk.kkkk...kkkkk");
    EXPECT_EQ(m.entryAt(0, 0), 0);
    EXPECT_EQ(m.entryAt(0, 7), 1);
    EXPECT_EQ(m.entryAt(0, 13), 2);
    EXPECT_EQ(m.entryAt(0, 20), 1); // "..LOOP" would need a separator before it
}

TEST(KeywordWordTable, FilesManyWordsAndHandsEveryPrefixOfAWordOn)
{
    KeywordWordTable table;
    for (int k = 0; k < 100; ++k) // well past the first growth
        table.file(k, "", "W" + std::to_string(k), false);
    table.file(100, ".", "W7", false);
    table.file(101, "", "W7", true);
    std::vector<std::string> seen;
    table.forEachFiled("W7", "W7", [&](int k, std::string_view prefix, bool matchCase) {
        seen.push_back(std::to_string(k) + "|" + std::string(prefix) + "|" + (matchCase ? "c" : "f"));
    });
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{"100|.|f", "101||c", "7||f"}));
    int calls = 0;
    table.forEachFiled("w7", "W100", [&](int, std::string_view, bool) { ++calls; });
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(table.longest(), 3u);
    table.clear();
    table.forEachFiled("W7", "W7", [&](int, std::string_view, bool) { ++calls; });
    EXPECT_EQ(calls, 0);
}
