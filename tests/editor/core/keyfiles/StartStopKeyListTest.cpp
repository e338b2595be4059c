#include "editor/core/keyfiles/StartStopKeyList.h"
#include "editor/core/text/EditorErrors.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using namespace velmora::core;

namespace
{

int addPlain(TStartStopKeyList &list, const std::string &start, const std::string &stop, std::uint8_t options = 0,
             bool staysInParagraph = false)
{
    return list.AddKey(start, stop, options, kStyleItalic, 2, 0, -1, 0xFF, staysInParagraph);
}

} // namespace

TEST(StartStopKeyList, KeysSharingAStartAreLinkedToTheFirst)
{
    TStartStopKeyList list;
    EXPECT_EQ(addPlain(list, "<", ">"), 0);
    EXPECT_EQ(addPlain(list, "<", "/>"), 1);
    EXPECT_EQ(addPlain(list, "<", "!", kOptMatchCase), 2); // other options
    EXPECT_EQ(addPlain(list, "{", "}"), 3);
    EXPECT_EQ(addPlain(list, "<", "]]"), 4);
    EXPECT_EQ(list.Item(0).SameStartIndex, -1);
    EXPECT_EQ(list.Item(1).SameStartIndex, 0);
    EXPECT_EQ(list.Item(2).SameStartIndex, -1);
    EXPECT_EQ(list.Item(3).SameStartIndex, -1);
    EXPECT_EQ(list.Item(4).SameStartIndex, 0);
}

TEST(StartStopKeyList, AddKeyRecordsTextsLengthsAndSummaries)
{
    TStartStopKeyList list;
    EXPECT_EQ(list.SummaryFlags(), kSummaryAllMatchCase);
    addPlain(list, "Rem", "", kOptMatchCase | kOptParagraphStart, true);
    const StartStopInfo &rem = list.Item(0);
    EXPECT_EQ(rem.StartText, "Rem");
    EXPECT_EQ(rem.StartLength, 3);
    EXPECT_EQ(rem.StopLength, 0);
    EXPECT_EQ(rem.KeyFlags, kKeyStaysInParagraph);
    EXPECT_EQ(rem.KeyStyle, kStyleItalic);
    EXPECT_EQ(rem.Foreground, 0xFF);
    EXPECT_EQ(list.LongestStart(), 3);
    EXPECT_EQ(list.LongestStop(), 2);                     // a key ending with its paragraph counts the break
    EXPECT_EQ(list.SummaryFlags(), kSummaryAllMatchCase); // bit 4 is not summarised

    addPlain(list, "comment", "end comment", kOptFirstNonBlank);
    EXPECT_EQ(list.Item(1).StartText, "COMMENT");
    EXPECT_EQ(list.Item(1).StopText, "END COMMENT");
    EXPECT_EQ(list.Item(1).StopKey, "end comment");
    EXPECT_EQ(list.Item(1).KeyFlags, 0);
    EXPECT_EQ(list.SummaryFlags(), kOptFirstNonBlank);
    EXPECT_EQ(list.LongestStart(), 7);
    EXPECT_EQ(list.LongestStop(), 11);

    list.SetKeyExtras(1, 4, 5, kKeyCollapsible);
    EXPECT_EQ(list.Item(1).Scope, 4);
    EXPECT_EQ(list.Item(1).Priority, 5);
    EXPECT_EQ(list.Item(1).KeyFlags, kKeyCollapsible);
    EXPECT_THROW(list.SetKeyExtras(2, 0, 0, 0), ERangeError);

    list.ClearKeys();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.SummaryFlags(), kSummaryAllMatchCase);
    EXPECT_EQ(list.LongestStart(), 0);
    EXPECT_EQ(list.LongestStop(), 0);
    EXPECT_THROW(list.Item(0), ERangeError);
}

TEST(StartStopKeyList, OverlongKeysAreRefused)
{
    TStartStopKeyList list;
    const std::string longest(kMaxStartStopKeyLength, 'x');
    EXPECT_EQ(addPlain(list, longest, "y"), 0);
    EXPECT_EQ(list.LongestStart(), 32767);
    EXPECT_THROW(addPlain(list, longest + "x", "y"), std::length_error);
    EXPECT_THROW(addPlain(list, "y", longest + "x"), std::length_error);
    EXPECT_EQ(list.Count(), 1);
}

TEST(StartStopKeyList, FoldingChangeRefoldsAndRelinks)
{
    TStartStopKeyList list;
    addPlain(list, "<\xE0", ">");                // Cyrillic small a
    addPlain(list, "<\xC0", "/>");               // Cyrillic capital A
    addPlain(list, "<\xE0", "!", kOptMatchCase); // never folded
    EXPECT_EQ(list.Item(0).StartText, "<\xE0");
    EXPECT_EQ(list.Item(1).SameStartIndex, -1);

    list.PrepareDelimiters(SeparatorSet());
    list.SetUpperCaseType(smuAnsi);
    EXPECT_FALSE(list.DelimitersPrepared());
    EXPECT_EQ(list.Item(0).StartText, "<\xC0");
    EXPECT_EQ(list.Item(0).StartKey, "<\xE0");
    EXPECT_EQ(list.Item(1).SameStartIndex, 0);
    EXPECT_EQ(list.Item(2).StartText, "<\xE0");

    list.SetUpperCaseType(smuAscii);
    EXPECT_EQ(list.Item(0).StartText, "<\xE0");
    EXPECT_EQ(list.Item(1).SameStartIndex, -1);

    // Keys added later fold with the current routine.
    list.SetUpperCaseType(smuAnsi);
    addPlain(list, "<\xE0", "?");
    EXPECT_EQ(list.Item(3).StartText, "<\xC0");
    EXPECT_EQ(list.Item(3).SameStartIndex, 0);
}

TEST(StartStopKeyList, DelimitersAreDemandedOnlyBesideWordCharacters)
{
    SeparatorSet separators;
    for (const char c : std::string("\t\n\r $%&,./:;<=>"))
        separators.set(static_cast<std::uint8_t>(c));

    TStartStopKeyList list;
    addPlain(list, "begin", "end", kOptWholeWords);
    addPlain(list, "<x", "y>", kOptWholeWords);
    addPlain(list, "rem", "", kOptWholeWords);
    addPlain(list, "begin", "end"); // not whole words
    EXPECT_FALSE(list.DelimitersPrepared());
    list.PrepareDelimiters(separators);
    EXPECT_TRUE(list.DelimitersPrepared());

    const auto flags = [&](int i) {
        const StartStopInfo &k = list.Item(i);
        return std::string{k.NeedSepBeforeStart ? 'B' : '-', k.NeedSepAfterStart ? 'A' : '-',
                           k.NeedSepBeforeStop ? 'b' : '-', k.NeedSepAfterStop ? 'a' : '-'};
    };
    EXPECT_EQ(flags(0), "BAba");
    EXPECT_EQ(flags(1), "-Ab-");
    EXPECT_EQ(flags(2), "BA--");
    EXPECT_EQ(flags(3), "----");

    addPlain(list, "x", "y");
    EXPECT_FALSE(list.DelimitersPrepared());
}
