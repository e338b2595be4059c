#include "editor/core/text/CodePages.h"

#include <gtest/gtest.h>

using namespace velmora::core;

TEST(CodePages, CyrillicLettersSitWhereEachCodePagePutsThem)
{
    EXPECT_EQ(toUnicodeTable(CodePage::Windows1251)[0xC0], u'\u0410'); // А
    EXPECT_EQ(toUnicodeTable(CodePage::Dos866)[0x80], u'\u0410');
    EXPECT_EQ(toUnicodeTable(CodePage::Dos866)[0xB0], u'\u2591'); // light shade, a box-drawing block
    EXPECT_EQ(toUnicodeTable(CodePage::Windows1251)[0x41], u'A');
}

TEST(CodePages, EveryByteRoundTripsThroughUnicode)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    for (CodePage cp : {CodePage::Windows1251, CodePage::Dos866})
        EXPECT_EQ(encode(decode(all, cp), cp), all);
}

TEST(CodePages, MissingCharactersBecomeQuestionMarksAndCharsetsPickTables)
{
    EXPECT_EQ(encode(u"a\u4E2Db", CodePage::Windows1251), "a?b");
    EXPECT_EQ(codePageForCharset(kOemCharset), CodePage::Dos866);
    EXPECT_EQ(codePageForCharset(kCyrillicCharset), CodePage::Windows1251);
}
