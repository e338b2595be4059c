#include "editor/core/highlight/KeywordProbeIndex.h"

#include <gtest/gtest.h>

#include <vector>

using namespace velmora::core;

// Pairs are hashed, so a text may bring extra candidates; these texts hold no colliding pair.
TEST(KeywordProbeIndex, CandidatesAreTheKeywordsWhoseStartOccursInListOrder)
{
    KeywordProbeIndex index;
    index.file(0, "MO");
    index.file(1, "AX");
    index.file(2, ";");
    index.file(3, "XO");
    index.file(4, "MO");
    std::vector<int> out{99};
    index.candidates("mov ax", "MOV AX", out);
    EXPECT_EQ(out, (std::vector<int>{0, 1, 4}));
    index.candidates("XOR", "", out);
    EXPECT_EQ(out, (std::vector<int>{3}));
    index.candidates(";", "", out);
    EXPECT_EQ(out, (std::vector<int>{2}));
    index.candidates("", "", out);
    EXPECT_TRUE(out.empty());
    index.clear();
    index.candidates("MOV AX", "", out);
    EXPECT_TRUE(out.empty());
}
