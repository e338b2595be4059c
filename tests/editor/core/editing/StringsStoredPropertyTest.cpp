// The editor text's stored "Strings" property: one item per paragraph, joined continuation
// items, wide items, and malformed data that must leave the text alone.
#include "editor/core/store/StoreTestSupport.h"
#include "editor/core/editing/SourceMemoStrings.h"
#include "editor/core/editing/StoreConsistency.h"
#include "editor/core/text/TaggedValueReader.h"
#include "editor/core/text/TaggedValueWriter.h"

#include <gtest/gtest.h>

#include <random>

using namespace velmora::core;
using namespace velmora::core::testing;

namespace
{

std::string stored(TSourceParaStrings &view)
{
    TaggedValueWriter writer;
    view.WriteStrings(writer);
    return writer.Bytes();
}

void read(TSourceParaStrings &view, const std::string &bytes)
{
    TaggedValueReader reader(bytes);
    view.ReadStrings(reader);
}

std::string shortString(const std::string &s)
{
    return std::string{6, static_cast<char>(s.size())} + s;
}

std::string wideString(const std::u16string &s)
{
    std::string out{18, static_cast<char>(s.size()), 0, 0, 0};
    for (const char16_t c : s) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

const std::string kListBegin{1};
const std::string kListEnd(1, '\0');

} // namespace

TEST(StringsStoredProperty, WrittenTextReadsBackUnchanged)
{
    TSourceMemoCore source;
    TSourceParaStrings sourceView(source);
    EXPECT_FALSE(sourceView.StringsStored());
    const std::string texts[] = {
        "mov ax, 1\r\n\r\n; \xEA\xEE\xEC\xEC\xE5\xED\xF2\xE0\xF0\xE8\xE9\r\n", // Cyrillic comment, empty last paragraph
        "ends with five\x05\r\n\x05\r\n\x05\x05x",                             // the continuation mark as text
        std::string(300, 'w') + "\r\n" + std::string(70000, 'L'),
    };
    for (const std::string &text : texts) {
        SCOPED_TRACE(text.substr(0, 40));
        setText(source, text);
        EXPECT_TRUE(sourceView.StringsStored());
        TSourceMemoCore target;
        TSourceParaStrings targetView(target);
        setText(target, "old text");
        read(targetView, stored(sourceView));
        EXPECT_EQ(wholeText(target), text);
        EXPECT_NO_THROW(checkStoreConsistency(target.paragraphs()));
    }
}

TEST(StringsStoredProperty, ContinuedItemsJoinAndWideItemsConvert)
{
    TSourceMemoCore memo;
    TSourceParaStrings view(memo);
    int changes = 0;
    memo.OnChange = [&changes](TSourceMemoCore &) { ++changes; };
    read(view, kListBegin + shortString("ab\x05") + shortString("cd\x05") + shortString("ef") +
                   wideString(u"\u0414\x05") + shortString("g\x05") + kListEnd);
    // A wide item stands alone even with the mark; a mark on the last item is just dropped.
    EXPECT_EQ(wholeText(memo), "abcdef\r\n\xC4\x05\r\ng");
    EXPECT_EQ(changes, 1);
    read(view, kListBegin + kListEnd);
    EXPECT_EQ(wholeText(memo), "");
}

TEST(StringsStoredProperty, MalformedDataThrowsAndLeavesTheText)
{
    TSourceMemoCore memo;
    TSourceParaStrings view(memo);
    const std::string good = kListBegin + shortString("one") + shortString("two\x05") + shortString("three") + kListEnd;
    const std::string bad[] = {
        "",
        shortString("no list"),
        kListBegin + shortString("unterminated"),
        kListBegin + std::string{6, 9} + "short" + kListEnd,
        kListBegin + std::string{2, 7} + kListEnd, // an integer item
        kListBegin + std::string{18, 4, 0, 0, 0} + "ab" + kListEnd,
    };
    for (const std::string &bytes : bad) {
        setText(memo, "kept\r\ntext");
        EXPECT_THROW(read(view, bytes), TaggedValueError);
        EXPECT_EQ(wholeText(memo), "kept\r\ntext");
        EXPECT_EQ(memo.updateCount(), 0);
    }

    // Every truncation and random damage of a good value either reads or throws, and the
    // store stays whole.
    std::mt19937 random(20261208);
    for (int round = 0; round < 400; ++round) {
        std::string bytes = good;
        if (round < static_cast<int>(good.size()))
            bytes.resize(round);
        else
            bytes[random() % bytes.size()] = static_cast<char>(random() % 24);
        setText(memo, "kept");
        try {
            read(view, bytes);
        } catch (const TaggedValueError &) {
            EXPECT_EQ(wholeText(memo), "kept");
        }
        EXPECT_EQ(memo.updateCount(), 0);
        ASSERT_NO_THROW(checkStoreConsistency(memo.paragraphs()));
    }
}
