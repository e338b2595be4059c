#include "editor/core/keyfiles/KeywordList.h"
#include "editor/core/text/EditorErrors.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace velmora::core;

namespace
{

// Folds 'q' to '#' only, so a test can tell the hook from the built-in routines.
void markQ(char *text)
{
    for (; *text; ++text)
        if (*text == 'q')
            *text = '#';
}

class HookGuard
{
public:
    explicit HookGuard(UserUpperCaseHook hook) : previous_(userUpperCaseHook()) { setUserUpperCaseHook(hook); }
    ~HookGuard() { setUserUpperCaseHook(previous_); }

private:
    UserUpperCaseHook previous_;
};

} // namespace

TEST(KeywordList, PlainStringEntriesAreInertUntilGivenAContext)
{
    TKeywordList list;
    EXPECT_EQ(list.Add("mov"), 0);
    list.Insert(0, "push");
    list.Assign(std::vector<std::string>{"pop", "mov", "int"});
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Get(1), "mov");
    for (int i = 0; i < list.Count(); ++i) {
        const TKeyInfoLen &key = list.Item(i);
        EXPECT_EQ(key.ContextNum, 0);
        EXPECT_EQ(key.KeyOptions, 0);
        EXPECT_EQ(key.KeyStyle, 0);
        EXPECT_EQ(key.Cursor, 0);
        EXPECT_EQ(key.Background, clNone);
        EXPECT_EQ(key.Foreground, clNone);
        EXPECT_EQ(key.Scope + key.Priority + key.Reserved, 0);
    }
    TKeyAttributes given = list.GetKeyAttributes(2);
    given.ContextNum = 5;
    list.SetKeyAttributes(2, given);
    EXPECT_EQ(list.Item(2).ContextNum, 5);
    EXPECT_EQ(list.Item(2).MatchText, "INT");
}

TEST(KeywordList, IndexesOutOfRangeThrowTheListError)
{
    TKeywordList list;
    list.Add("a");
    const auto message = [&](auto call) {
        try {
            call();
        } catch (const ERangeError &e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message([&] { list.Get(1); }), "List index out of bounds (1)");
    EXPECT_EQ(message([&] { list.Item(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(message([&] { list.Insert(2, "x"); }), "List index out of bounds (2)");
    EXPECT_EQ(message([&] { list.Delete(1); }), "List index out of bounds (1)");
    EXPECT_EQ(message([&] { list.SetScopeAndPriority(3, 1, 1); }), "List index out of bounds (3)");
    EXPECT_EQ(list.Count(), 1);
    list.Insert(1, "b"); // inserting at the end is allowed
    EXPECT_EQ(list.Get(1), "b");
}

TEST(KeywordList, DerivedFieldsFollowEveryChange)
{
    TKeywordList list;
    EXPECT_EQ(list.SummaryFlags(), kSummaryAllMatchCase);
    EXPECT_EQ(list.LongestKeyword(), 0);

    list.AddKeyword("Exact", kOptMatchCase | kOptFirstWord, 0, 1, 0, -1, -1);
    EXPECT_EQ(list.SummaryFlags(), kSummaryAllMatchCase | kOptFirstWord);
    EXPECT_EQ(list.Item(0).MatchText, "Exact");
    EXPECT_EQ(list.Item(0).KeyLength, 5);

    list.AddKeyword("loopnz", kOptWholeWords | kOptFirstNonBlank, 0, 1, 0, -1, -1);
    EXPECT_EQ(list.SummaryFlags(), kOptFirstWord | kOptFirstNonBlank);
    EXPECT_EQ(list.Item(1).MatchText, "LOOPNZ");
    EXPECT_EQ(list.LongestKeyword(), 6);

    list.Delete(1);
    EXPECT_EQ(list.SummaryFlags(), kSummaryAllMatchCase | kOptFirstWord);
    EXPECT_EQ(list.LongestKeyword(), 5);

    TKeyAttributes attributes = list.GetKeyAttributes(0);
    attributes.KeyOptions = 0;
    list.SetKeyAttributes(0, attributes);
    EXPECT_EQ(list.SummaryFlags(), 0);
    EXPECT_EQ(list.Item(0).MatchText, "EXACT");

    list.Clear();
    EXPECT_EQ(list.SummaryFlags(), kSummaryAllMatchCase);
    EXPECT_EQ(list.LongestKeyword(), 0);
}

TEST(KeywordList, DerivedFieldsWaitForTheOutermostEndUpdate)
{
    TKeywordList list;
    list.BeginUpdate();
    list.BeginUpdate();
    list.AddKeyword("abc", 0, 0, 1, 0, -1, -1);
    EXPECT_EQ(list.LongestKeyword(), 0);
    EXPECT_EQ(list.Item(0).MatchText, "");
    list.EndUpdate();
    EXPECT_TRUE(list.Updating());
    EXPECT_EQ(list.LongestKeyword(), 0);
    list.EndUpdate();
    EXPECT_FALSE(list.Updating());
    EXPECT_EQ(list.LongestKeyword(), 3);
    EXPECT_EQ(list.Item(0).MatchText, "ABC");
    EXPECT_EQ(list.SummaryFlags(), 0);
    list.EndUpdate(); // unbalanced: ignored
    EXPECT_FALSE(list.Updating());
}

TEST(KeywordList, FoldingRoutinesAndTheirChange)
{
    HookGuard noHook(nullptr);
    TKeywordList list;
    list.AddKeyword("mov\xE0q", 0, 0, 1, 0, -1, -1);              // Cyrillic small a
    list.AddKeyword("keep\xE0q", kOptMatchCase, 0, 1, 0, -1, -1); // never folded
    EXPECT_EQ(list.UpperCaseType(), smuAscii);
    EXPECT_EQ(list.Item(0).MatchText, "MOV\xE0Q");

    list.SetUpperCaseType(smuAnsi);
    EXPECT_EQ(list.Item(0).MatchText, "MOV\xC0Q");

    list.SetUpperCaseType(smuUserDefined); // no hook: the ASCII rule
    EXPECT_EQ(list.Item(0).MatchText, "MOV\xE0Q");
    {
        HookGuard hook(markQ);
        list.SetUpperCaseType(smuAnsi);
        list.SetUpperCaseType(smuUserDefined);
        EXPECT_EQ(list.Item(0).MatchText, "mov\xE0#");
    }
    EXPECT_EQ(list.Item(1).MatchText, "keep\xE0q");
    EXPECT_EQ(list.Item(0).Keyword, "mov\xE0q");
}

TEST(KeywordList, AssignCopiesEveryRecordDeeply)
{
    TKeywordList source;
    source.AddKeyword("Alpha", kOptMatchCase, kStyleItalic, 3, -21, 0x102030, 0x405060);
    source.AddKeyword("beta", kOptWholeWords, kStyleBold, 4, 0, -1, 7);
    source.SetScopeAndPriority(1, 9, 2);

    TKeywordList copy;
    copy.SetUpperCaseType(smuAnsi);
    copy.Add("old");
    copy.Assign(source);
    ASSERT_EQ(copy.Count(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(copy.Get(i), source.Get(i));
        EXPECT_EQ(copy.GetKeyAttributes(i), source.GetKeyAttributes(i));
        EXPECT_EQ(copy.Item(i).Scope, source.Item(i).Scope);
        EXPECT_EQ(copy.Item(i).Priority, source.Item(i).Priority);
    }
    EXPECT_EQ(copy.UpperCaseType(), smuAnsi);
    EXPECT_EQ(copy.SummaryFlags(), source.SummaryFlags());
    source.Clear();
    EXPECT_EQ(copy.Item(1).MatchText, "BETA");
    copy.Assign(copy);
    EXPECT_EQ(copy.Count(), 2);
}
