#include "editor/core/highlight/HighlightTestSupport.h"

#include "editor/core/keyfiles/DefaultKeywordList.h"
#include "editor/core/keyfiles/KeywordList.h"
#include "editor/core/text/TaggedValueReader.h"
#include "editor/core/text/TaggedValueWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace velmora::core;

TEST(DefaultKeywordList, HoldsTheMnemonicsDirectivesAndWebAddress)
{
    TKeywordList list;
    list.Add("replaced");
    fillDefaultKeywordList(list);
    ASSERT_EQ(list.Count(), 161);

    const std::vector<std::string> names = defaultKeywordNames();
    ASSERT_EQ(names.size(), 161u);
    for (int i = 0; i < 161; ++i)
        EXPECT_EQ(names[static_cast<std::size_t>(i)], list.Get(i));

    const TKeyAttributes mnemonic{2, 1, 7, 0, -1, 16119285};
    for (int i = 0; i < 157; ++i) {
        EXPECT_EQ(list.GetKeyAttributes(i), mnemonic) << list.Get(i);
        EXPECT_EQ(list.Item(i).MatchText, list.Get(i));
    }
    EXPECT_EQ(list.Get(0), "AND");
    EXPECT_EQ(list.Get(1), "ASM");
    EXPECT_EQ(list.Get(108), "MOV");
    EXPECT_EQ(list.Get(156), "XLAT");

    EXPECT_EQ(list.Get(157), ".data");
    EXPECT_EQ(list.GetKeyAttributes(157), (TKeyAttributes{2, 1, 1, 0, -1, 15987699}));
    EXPECT_EQ(list.Get(158), ".code");
    EXPECT_EQ(list.GetKeyAttributes(158), (TKeyAttributes{2, 1, 1, 0, -1, 15658734}));
    EXPECT_EQ(list.Get(159), "End");
    EXPECT_EQ(list.GetKeyAttributes(159), (TKeyAttributes{2, 1, 1, 0, -1, 15724527}));
    EXPECT_EQ(list.Item(159).MatchText, "END");

    EXPECT_EQ(list.Get(160), "http://velmora.example/");
    EXPECT_EQ(list.GetKeyAttributes(160), (TKeyAttributes{0, 4, 1, -21, -1, 16711680}));

    for (int i = 0; i < 161; ++i)
        EXPECT_EQ(list.Item(i).Scope | list.Item(i).Priority | list.Item(i).Reserved, 0);
    EXPECT_EQ(list.SummaryFlags(), 0);
    EXPECT_EQ(list.LongestKeyword(), 23);

    std::vector<std::string> lines;
    list.SaveToNameValues(lines);
    EXPECT_EQ(lines.size(), 161u);
    EXPECT_EQ(lines[0], "AND=2,1,7,0,-1,16119285,0,0,");
}

TEST(DefaultKeywordList, IsStoredInTheLongForm)
{
    TKeywordList list;
    fillDefaultKeywordList(list);
    TaggedValueWriter writer;
    list.WriteStrings(writer);
    const std::string &bytes = writer.Bytes();
    // List begin, "AND", then the options value 130 as a 16-bit integer.
    EXPECT_EQ(bytes.substr(0, 11), std::string("\x01\x06\x03"
                                               "AND\x03\x82\x00\x02\x01",
                                               11));
    const std::string web = std::string("\x06\x17") + "http://velmora.example/" + "\x03\x80";
    EXPECT_NE(bytes.find(web + std::string(1, '\x00')), std::string::npos);

    TKeywordList read;
    TaggedValueReader reader(bytes);
    read.ReadStrings(reader);
    EXPECT_EQ(read.Count(), 161);
    EXPECT_EQ(read.GetKeyAttributes(160), list.GetKeyAttributes(160));
}

TEST(DefaultKeywordList, ProseListLeavesEnglishWordsPlainAndStillHighlightsCode)
{
    velmora::core::testing::HighlightedMemo m;
    fillProseKeywordList(m.engine.Keywords);
    const std::string line = "Load it into AX and call it; then mov ax, bx and int 21h; at the end";
    m.loadParagraphs({line});
    // word: the token with the blank before it, so that "int" is not found in "into".
    const auto bold = [&](const std::string &word) {
        const RunInfo &run = m.runAt(0, static_cast<std::int32_t>(line.find(word) + 1));
        return isSpan(run) && (run.style & kStyleBold);
    };
    for (const char *word : {" into", " and", " call", " end"})
        EXPECT_FALSE(bold(word)) << word;
    for (const char *word : {" mov", " int "})
        EXPECT_TRUE(bold(word)) << word;
}
