#include "editor/core/keyfiles/KeywordList.h"
#include "editor/core/keyfiles/StartStopKeyList.h"
#include "editor/core/text/TaggedValueReader.h"
#include "editor/core/text/TaggedValueWriter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace velmora::core;

namespace
{

std::string keywordStream(const TKeywordList &list)
{
    TaggedValueWriter writer;
    list.WriteStrings(writer);
    return writer.Bytes();
}

std::string startStopStream(const TStartStopKeyList &list)
{
    TaggedValueWriter writer;
    list.WriteKeys(writer);
    return writer.Bytes();
}

void readKeywords(TKeywordList &list, const std::string &bytes)
{
    TaggedValueReader reader(bytes);
    list.ReadStrings(reader);
    EXPECT_TRUE(reader.AtEnd());
}

void readStartStop(TStartStopKeyList &list, const std::string &bytes)
{
    TaggedValueReader reader(bytes);
    list.ReadKeys(reader);
    EXPECT_TRUE(reader.AtEnd());
}

void expectSameKeywords(const TKeywordList &a, const TKeywordList &b)
{
    ASSERT_EQ(a.Count(), b.Count());
    for (int i = 0; i < a.Count(); ++i) {
        const TKeyInfoLen &x = a.Item(i);
        const TKeyInfoLen &y = b.Item(i);
        EXPECT_EQ(x.Keyword, y.Keyword) << i;
        EXPECT_EQ(static_cast<const TKeyAttributes &>(x), static_cast<const TKeyAttributes &>(y)) << i;
        EXPECT_EQ(x.MatchText, y.MatchText) << i;
        EXPECT_EQ(x.Scope, y.Scope) << i;
        EXPECT_EQ(x.Priority, y.Priority) << i;
        EXPECT_EQ(x.Reserved, y.Reserved) << i;
    }
    EXPECT_EQ(a.SummaryFlags(), b.SummaryFlags());
    EXPECT_EQ(a.LongestKeyword(), b.LongestKeyword());
}

void expectSameStartStop(const TStartStopKeyList &a, const TStartStopKeyList &b)
{
    ASSERT_EQ(a.Count(), b.Count());
    for (int i = 0; i < a.Count(); ++i) {
        const StartStopInfo &x = a.Item(i);
        const StartStopInfo &y = b.Item(i);
        EXPECT_EQ(x.StartText, y.StartText) << i;
        EXPECT_EQ(x.StopText, y.StopText) << i;
        EXPECT_EQ(static_cast<const TKeyAttributes &>(x), static_cast<const TKeyAttributes &>(y)) << i;
        EXPECT_EQ(x.Scope, y.Scope) << i;
        EXPECT_EQ(x.Priority, y.Priority) << i;
        EXPECT_EQ(x.Extra, y.Extra) << i;
        EXPECT_EQ(x.KeyFlags, y.KeyFlags) << i;
        EXPECT_EQ(x.SameStartIndex, y.SameStartIndex) << i;
    }
    EXPECT_EQ(a.SummaryFlags(), b.SummaryFlags());
    EXPECT_EQ(a.LongestStart(), b.LongestStart());
    EXPECT_EQ(a.LongestStop(), b.LongestStop());
}

std::string randomText(std::mt19937 &rng, std::size_t maxLength)
{
    std::uniform_int_distribution<std::size_t> length(0, maxLength);
    std::uniform_int_distribution<int> byte(1, 255); // folding works on NUL-free text
    std::string text(length(rng), ' ');
    for (auto &c : text)
        c = static_cast<char>(byte(rng));
    return text;
}

std::int32_t randomInt(std::mt19937 &rng)
{
    // Mostly small values, so every integer width is written.
    switch (rng() % 3) {
    case 0:
        return static_cast<std::int8_t>(rng());
    case 1:
        return static_cast<std::int16_t>(rng());
    default:
        return static_cast<std::int32_t>(rng());
    }
}

// A start-stop key with extras that survive streaming: the flags word keeps 28 bits of Extra.
void addRandomKey(TStartStopKeyList &list, std::mt19937 &rng)
{
    const std::string start = rng() % 4 ? randomText(rng, 6) : "<";
    const int index =
        list.AddKey(start.empty() ? "s" : start, randomText(rng, 300), rng() & 0x1F, rng() & 0x3F, randomInt(rng),
                    static_cast<std::int16_t>(randomInt(rng)), randomInt(rng), randomInt(rng), rng() & 1);
    list.SetKeyExtras(index, randomInt(rng), randomInt(rng), static_cast<std::uint8_t>(rng() & 7));
}

} // namespace

TEST(KeyListStreaming, WrittenListsReadBackTheSame)
{
    std::mt19937 rng(20261208);
    for (int round = 0; round < 40; ++round) {
        TKeywordList keywords;
        TStartStopKeyList keys;
        const int count = static_cast<int>(rng() % 20);
        for (int i = 0; i < count; ++i) {
            keywords.AddKeyword(randomText(rng, 280), rng() & 0x1F, rng() & 0x3F, randomInt(rng),
                                static_cast<std::int16_t>(randomInt(rng)), randomInt(rng), randomInt(rng));
            keywords.SetScopeAndPriority(i, randomInt(rng), randomInt(rng));
            addRandomKey(keys, rng);
        }
        TKeywordList keywordsRead;
        keywordsRead.Add("replaced");
        readKeywords(keywordsRead, keywordStream(keywords));
        expectSameKeywords(keywords, keywordsRead);

        TStartStopKeyList keysRead;
        keysRead.PrepareDelimiters(SeparatorSet());
        readStartStop(keysRead, startStopStream(keys));
        EXPECT_FALSE(keysRead.DelimitersPrepared());
        // Texts are written as matched: their letter case as entered is not kept.
        expectSameStartStop(keys, keysRead);
    }
}

TEST(KeyListStreaming, ExtraTravelsInTheFlagsWord)
{
    TaggedValueWriter writer;
    writer.WriteListBegin();
    writer.WriteString("(*");
    writer.WriteString("*)");
    for (const int n : {130, 0, 1, 0, -1, -1})
        writer.WriteInteger(n);
    writer.WriteBoolean(true);
    writer.WriteInteger(11);
    writer.WriteInteger(12);
    writer.WriteInteger((-5 * 16) | kKeyCollapsible);
    writer.WriteListEnd();
    TStartStopKeyList keys;
    readStartStop(keys, writer.Bytes());
    ASSERT_EQ(keys.Count(), 1);
    EXPECT_EQ(keys.Item(0).KeyOptions, kOptWholeWords);
    EXPECT_EQ(keys.Item(0).Extra, -5);
    EXPECT_EQ(keys.Item(0).KeyFlags, kKeyCollapsible | kKeyStaysInParagraph);
    EXPECT_EQ(keys.Item(0).Scope, 11);
    EXPECT_EQ(keys.Item(0).Priority, 12);
    EXPECT_EQ(keys.LongestStop(), 2);
    TStartStopKeyList again;
    readStartStop(again, startStopStream(keys));
    EXPECT_EQ(again.Item(0).Extra, -5);
    EXPECT_EQ(again.Item(0).KeyFlags, kKeyCollapsible | kKeyStaysInParagraph);
}

TEST(KeyListStreaming, OlderShortKeywordEntries)
{
    TaggedValueWriter writer;
    writer.WriteListBegin();
    // Short form followed directly by the next keyword: scope and priority 0.
    writer.WriteString("first");
    for (const int n : {2, 1, 7, 0, -1, 16119285})
        writer.WriteInteger(n);
    // Short form with the scope and priority pair.
    writer.WriteString("second");
    for (const int n : {1, 0, 3, -21, 5, 6, 40, 50})
        writer.WriteInteger(n);
    // Long form after them; the options value is stored without bit 7.
    writer.WriteString("third");
    for (const int n : {0x80 | 0x10, 0, 1, 0, -1, -1, 1, 2, 3})
        writer.WriteInteger(n);
    // Short form as the last entry, ended by the list end.
    writer.WriteString("last");
    for (const int n : {0, 0, 1, 0, -1, -1})
        writer.WriteInteger(n);
    writer.WriteListEnd();

    TKeywordList list;
    readKeywords(list, writer.Bytes());
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Item(0).KeyOptions, 2);
    EXPECT_EQ(list.Item(0).Foreground, 16119285);
    EXPECT_EQ(list.Item(0).Scope, 0);
    EXPECT_EQ(list.Item(0).Priority, 0);
    EXPECT_EQ(list.Item(1).Cursor, -21);
    EXPECT_EQ(list.Item(1).Scope, 40);
    EXPECT_EQ(list.Item(1).Priority, 50);
    EXPECT_EQ(list.Item(1).Reserved, 0);
    EXPECT_EQ(list.Item(2).KeyOptions, 0x10);
    EXPECT_EQ(list.Item(2).Reserved, 3);
    EXPECT_EQ(list.Get(3), "last");
    EXPECT_EQ(list.Item(0).MatchText, "FIRST");
}

TEST(KeyListStreaming, OlderShortStartStopEntries)
{
    TaggedValueWriter writer;
    writer.WriteListBegin();
    // Short form without extras.
    writer.WriteString("{");
    writer.WriteString("}");
    for (const int n : {0, 1, 2, 0, -1, -1})
        writer.WriteInteger(n);
    writer.WriteBoolean(true);
    // Short form with the older scope and priority pair before the Boolean.
    writer.WriteString("{");
    writer.WriteString("]");
    for (const int n : {0, 1, 2, 0, -1, -1, 21, 22})
        writer.WriteInteger(n);
    writer.WriteBoolean(false);
    writer.WriteListEnd();

    TStartStopKeyList keys;
    keys.AddKey("old", "", 0, 0, 0, 0, 0, 0, false);
    readStartStop(keys, writer.Bytes());
    ASSERT_EQ(keys.Count(), 2);
    EXPECT_EQ(keys.Item(0).KeyFlags, kKeyStaysInParagraph);
    EXPECT_EQ(keys.Item(0).Scope, 0);
    EXPECT_EQ(keys.Item(1).KeyFlags, 0);
    EXPECT_EQ(keys.Item(1).Scope, 21);
    EXPECT_EQ(keys.Item(1).Priority, 22);
    EXPECT_EQ(keys.Item(1).Extra, 0);
    EXPECT_EQ(keys.Item(1).SameStartIndex, 0);
}

TEST(KeyListStreaming, WideStringEntriesAreConverted)
{
    const std::string bytes = std::string("\x01\x12\x02\x00\x00\x00\x1F\x04\x61\x00", 10) +
                              std::string("\x02\x00\x02\x00\x02\x07\x02\x00\x02\xFF\x02\xFF\x00", 13);
    TKeywordList list;
    readKeywords(list, bytes);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Get(0), "\xCF"
                           "a");
    EXPECT_EQ(list.Item(0).ContextNum, 7);
}

TEST(KeyListStreaming, MalformedStreamsFailAndLeaveTheListsAlone)
{
    TKeywordList keywords;
    keywords.AddKeyword("AND", 2, 1, 7, 0, -1, 16119285);
    keywords.AddKeyword("\xE0\xE1", 0, 0, 1, 0, -1, -1);
    const std::string goodKeywords = keywordStream(keywords);
    TStartStopKeyList keys;
    keys.AddKey("<", ">", 0, 1, 3, 0, -1, 0xFF0000, true);
    keys.AddKey("<", "/>", 2, 1, 3, 0, -1, 0xFF0000, false);
    const std::string goodKeys = startStopStream(keys);

    TKeywordList keywordTarget;
    keywordTarget.Add("kept");
    TStartStopKeyList keyTarget;
    keyTarget.AddKey("kept", "", 0, 0, 0, 0, 0, 0, false);
    const auto keywordsFail = [&](const std::string &bytes) {
        TaggedValueReader reader(bytes);
        EXPECT_THROW(keywordTarget.ReadStrings(reader), TaggedValueError);
        ASSERT_EQ(keywordTarget.Count(), 1);
        EXPECT_EQ(keywordTarget.Get(0), "kept");
    };
    const auto keysFail = [&](const std::string &bytes) {
        TaggedValueReader reader(bytes);
        EXPECT_THROW(keyTarget.ReadKeys(reader), TaggedValueError);
        ASSERT_EQ(keyTarget.Count(), 1);
        EXPECT_EQ(keyTarget.Item(0).StartKey, "kept");
    };

    // Every truncation, including the empty stream.
    for (std::size_t n = 0; n < goodKeywords.size(); ++n)
        keywordsFail(goodKeywords.substr(0, n));
    for (std::size_t n = 0; n < goodKeys.size(); ++n)
        keysFail(goodKeys.substr(0, n));

    // Wrong tags where a value of another kind belongs.
    std::string noList = goodKeywords;
    noList[0] = '\x02';
    keywordsFail(noList);
    std::string numberForText = goodKeywords;
    numberForText[1] = '\x02'; // the keyword's tag: now an integer 3, then stray bytes
    keywordsFail(numberForText);
    std::string boolForNumber = goodKeywords;
    boolForNumber[6] = '\x09'; // the options value
    keywordsFail(boolForNumber);
    keysFail(goodKeywords); // a keyword stream is no start-stop stream
    std::string numberForBoolean = goodKeys;
    numberForBoolean[goodKeys.find('\x09')] = '\x02';
    keysFail(numberForBoolean);
    std::string unknownTag = goodKeys;
    unknownTag[1] = '\x05';
    keysFail(unknownTag);

    // Absurd lengths and a wide string with an odd byte count.
    keywordsFail(std::string("\x01\x0C\xFF\xFF\xFF\x7F", 6) + "AND");
    keywordsFail(std::string("\x01\x14\x00\x00\x00\xF0", 6) + "AND");
    keywordsFail(std::string("\x01\x12\x00\x00\x00\x40", 6) + "AND");
    keysFail(std::string("\x01\x12\x02\x00\x00\x00\x3C\x00\x3C", 9));
    keysFail(std::string("\x01\x06\x01<\x06\x05>", 7));
}
