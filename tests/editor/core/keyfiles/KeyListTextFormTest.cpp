#include "editor/core/keyfiles/KeyInfoNameValues.h"
#include "editor/core/keyfiles/KeywordList.h"
#include "editor/core/keyfiles/StartStopKeyList.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace velmora::core;

TEST(KeyListTextForm, KeywordLinesEndWithAComma)
{
    TKeywordList list;
    list.AddKeyword("AND", 2, 1, 7, 0, -1, 16119285);
    list.AddKeyword("Web", 0, 4, 1, -21, -1, 16711680);
    list.SetScopeAndPriority(1, 3, -4);
    std::vector<std::string> lines;
    list.SaveToNameValues(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"AND=2,1,7,0,-1,16119285,0,0,", "Web=0,4,1,-21,-1,16711680,3,-4,"}));
}

TEST(KeyListTextForm, SavingReplacesLinesOfTheSameName)
{
    TKeywordList list;
    list.AddKeyword("mov", 0, 1, 1, 0, -1, -1);
    list.AddKeyword("MOV", 1, 2, 2, 0, -1, -1);
    std::vector<std::string> lines{"comment line", "Mov=old", "other=1,"};
    list.SaveToNameValues(lines);
    // Names compare without regard to letter case: the later entry's values win in place.
    EXPECT_EQ(lines, (std::vector<std::string>{"comment line", "MOV=1,2,2,0,-1,-1,0,0,", "other=1,"}));
}

TEST(KeyListTextForm, KeywordsReadBackFromTheirLines)
{
    TKeywordList list;
    list.AddKeyword("AND", 2, 1, 7, 0, -1, 16119285);
    list.AddKeyword("\xCF\xF0\xE8", 1, 0x3F, -9, -21, 0x1FFFFFFF, 0);
    list.SetScopeAndPriority(0, 5, 6); // the plain list does not read them back
    std::vector<std::string> lines;
    list.SaveToNameValues(lines);
    lines.insert(lines.begin(), "[Keywords]");
    lines.push_back("");
    lines.push_back("short=1,2,3,4,5,6"); // no trailing comma, nothing after it

    TKeywordList read;
    read.Add("old");
    read.LoadFromNameValues(lines);
    ASSERT_EQ(read.Count(), 3);
    EXPECT_EQ(read.Get(0), "AND");
    EXPECT_EQ(read.GetKeyAttributes(0), list.GetKeyAttributes(0));
    EXPECT_EQ(read.Item(0).Scope, 0);
    EXPECT_EQ(read.GetKeyAttributes(1), list.GetKeyAttributes(1));
    EXPECT_EQ(read.Item(2).Foreground, 6);
    EXPECT_FALSE(read.Updating());
    EXPECT_EQ(read.Item(0).MatchText, "AND");
}

TEST(KeyListTextForm, ANonNumberStopsLoadingAndKeepsEarlierEntries)
{
    TKeywordList list;
    const std::vector<std::string> lines{"one=2,1,7,0,-1,5,", "two=2,1,x7,0,-1,5,", "three=2,1,7,0,-1,5,"};
    try {
        list.LoadFromNameValues(lines);
        FAIL() << "loaded a non-number";
    } catch (const std::invalid_argument &e) {
        EXPECT_STREQ(e.what(), "'x7' is not a valid decimal integer");
    }
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Get(0), "one");
    EXPECT_FALSE(list.Updating());
    EXPECT_EQ(list.LongestKeyword(), 3);

    // Too few values: the missing one is empty text, which does not convert either.
    EXPECT_THROW(list.LoadFromNameValues({"a=1,2,3,", "b=1,2,3,4,5,6,"}), std::invalid_argument);
    EXPECT_EQ(list.Count(), 0);

    TStartStopKeyList keys;
    EXPECT_THROW(keys.LoadFromNameValues({"<|>=0,0,1,0,-1,-1,0,", "[|]=0,0,1,0,-1,-1,,"}), std::invalid_argument);
    ASSERT_EQ(keys.Count(), 1);
    EXPECT_EQ(keys.Item(0).StopText, ">");
}

TEST(KeyListTextForm, DecimalValues)
{
    EXPECT_EQ(parseDecimal("0"), 0);
    EXPECT_EQ(parseDecimal("-2147483648"), INT32_MIN);
    EXPECT_EQ(parseDecimal(" +17 "), 17);
    for (const char *bad : {"", " ", "+", "-", "+-1", "1.5", "0x10", "$10", "2147483648", "1 2", "12a"})
        EXPECT_THROW(parseDecimal(bad), std::invalid_argument) << bad;
    NameValueReader values("1,-2,,3");
    EXPECT_EQ(values.Next(), 1);
    EXPECT_EQ(values.Next(), -2);
    EXPECT_TRUE(values.HasMore());
    EXPECT_THROW(values.Next(), std::invalid_argument);
    EXPECT_EQ(values.Next(), 3);
    EXPECT_FALSE(values.HasMore());
}

TEST(KeyListTextForm, StartStopKeysRoundTrip)
{
    TStartStopKeyList keys;
    keys.AddKey("<", ">", 0, 1, 3, 0, -1, 0xFF0000, false);
    keys.AddKey("rem", "", 2, 2, 4, -21, 5, 6, true);
    keys.AddKey("<", "/>", 0, 1, 3, 0, -1, 0xFF0000, false);
    keys.SetKeyExtras(1, 8, 9, kKeyStaysInParagraph | kKeyEndAtDelimiter);
    std::vector<std::string> lines;
    keys.SaveToNameValues(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"<|>=0,1,3,0,-1,16711680,0,0,0,", "REM|=2,2,4,-21,5,6,3,8,9,",
                                               "<|/>=0,1,3,0,-1,16711680,0,0,0,"}));

    TStartStopKeyList read;
    read.LoadFromNameValues(lines);
    ASSERT_EQ(read.Count(), 3);
    EXPECT_EQ(read.Item(1).StartKey, "REM");
    EXPECT_EQ(read.Item(1).StopText, "");
    EXPECT_EQ(read.Item(1).KeyFlags, kKeyStaysInParagraph); // bit 0 of the seventh value
    EXPECT_EQ(read.Item(1).Scope, 0);
    EXPECT_EQ(read.Item(2).SameStartIndex, 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(static_cast<const TKeyAttributes &>(read.Item(i)), static_cast<const TKeyAttributes &>(keys.Item(i)));

    // A name without "|" is all start key; a second "|" belongs to the stop key.
    read.LoadFromNameValues({"comment=0,0,1,0,-1,-1,1,", "a|b|c=0,0,1,0,-1,-1,0,"});
    EXPECT_EQ(read.Item(0).StartText, "COMMENT");
    EXPECT_EQ(read.Item(0).StopText, "");
    EXPECT_EQ(read.Item(1).StartText, "A");
    EXPECT_EQ(read.Item(1).StopText, "B|C");
}
