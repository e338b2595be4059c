// Reading packs: name matching, blanks, quotes, value length, encodings, missing files.
#include "LanguageTestWindows.h"

#include "app/language/LanguagePack.h"

#include <QDir>
#include <QStringEncoder>
#include <gtest/gtest.h>

using velmora::app::LanguagePack;
using velmora::app::packTextAsUtf8;
using velmora::testing::PackFolder;

namespace
{

LanguagePack loadText(PackFolder &folder, const QByteArray &text)
{
    auto pack = LanguagePack::load(folder.write(QStringLiteral("test.lng"), text));
    if (!pack)
        throw std::runtime_error("test pack did not load");
    return std::move(*pack);
}

} // namespace

TEST(LanguagePack, MatchesSectionAndKeyNamesWithoutRegardToCaseOrBlanks)
{
    PackFolder folder;
    const LanguagePack pack = loadText(folder, "[ LANGUAGE ]\r\n"
                                               "TASM.CAPTION=Assemble\r\n"
                                               "      tlink.Caption                  =   Link it   \r\n"
                                               "\tRun.Hint\t=\tGo\t\n"
                                               "[Prefs_Language]\n"
                                               "Associate=Ask?\n");
    EXPECT_EQ(pack.value(QStringLiteral("Language"), QStringLiteral("tasm.Caption")), QStringLiteral("Assemble"));
    EXPECT_EQ(pack.value(QStringLiteral("language"), QStringLiteral("Tlink.caption")), QStringLiteral("Link it"));
    EXPECT_EQ(pack.value(QStringLiteral("Language"), QStringLiteral("  run.hint  ")), QStringLiteral("Go"));
    EXPECT_EQ(pack.value(QStringLiteral("PREFS_language"), QStringLiteral("associate")), QStringLiteral("Ask?"));

    // A key is found only in its own section.
    EXPECT_FALSE(pack.contains(QStringLiteral("Prefs_Language"), QStringLiteral("tasm.Caption")));
    EXPECT_EQ(pack.value(QStringLiteral("Prefs_Language"), QStringLiteral("tasm.Caption")), QString());
    EXPECT_EQ(pack.value(QStringLiteral("No_Section"), QStringLiteral("x")), QString());
    EXPECT_EQ(
        pack.keys(QStringLiteral("language")),
        (QStringList{QStringLiteral("TASM.CAPTION"), QStringLiteral("tlink.Caption"), QStringLiteral("Run.Hint")}));
}

TEST(LanguagePack, EmptyValuesAreThereAndQuotesKeepBlanks)
{
    PackFolder folder;
    const LanguagePack pack = loadText(folder, "[S]\n"
                                               "empty=\n"
                                               "quoted = \"  -= Main =-  \"\n"
                                               "inner = Associate \".asm\" files\n"
                                               "lone = \"\n"
                                               "pair = \"\"\n"
                                               "; comment = not a key\n"
                                               "semicolon = Put 2 Tab`s before ';'\n"
                                               "equals = a=b\n");
    EXPECT_TRUE(pack.contains(QStringLiteral("S"), QStringLiteral("empty")));
    EXPECT_EQ(pack.value(QStringLiteral("S"), QStringLiteral("empty")), QString());
    EXPECT_EQ(pack.value(QStringLiteral("S"), QStringLiteral("quoted")), QStringLiteral("  -= Main =-  "));
    EXPECT_EQ(pack.value(QStringLiteral("S"), QStringLiteral("inner")), QStringLiteral("Associate \".asm\" files"));
    EXPECT_EQ(pack.value(QStringLiteral("S"), QStringLiteral("lone")), QStringLiteral("\""));
    EXPECT_EQ(pack.value(QStringLiteral("S"), QStringLiteral("pair")), QString());
    EXPECT_FALSE(pack.contains(QStringLiteral("S"), QStringLiteral("; comment")));
    EXPECT_EQ(pack.value(QStringLiteral("S"), QStringLiteral("semicolon")), QStringLiteral("Put 2 Tab`s before ';'"));
    EXPECT_EQ(pack.value(QStringLiteral("S"), QStringLiteral("equals")), QStringLiteral("a=b"));
}

TEST(LanguagePack, LongValuesAreCutTo2047Characters)
{
    PackFolder folder;
    const QString cyrillic = QString(3000, QChar(0x0416)); // two UTF-8 bytes each
    const QString atLimit = QString(2047, QLatin1Char('x'));
    const QString emojiAcross = QString(2046, QLatin1Char('y')) + QString::fromUtf8("\xF0\x9F\x98\x80") + "z";
    const LanguagePack pack = loadText(folder, "[S]\nlong=" + cyrillic.toUtf8() + "\nexact=" + atLimit.toUtf8() +
                                                   "\nsplit=" + emojiAcross.toUtf8() + "\n");
    EXPECT_EQ(pack.value(QStringLiteral("S"), QStringLiteral("long")), cyrillic.left(2047));
    EXPECT_EQ(pack.value(QStringLiteral("S"), QStringLiteral("exact")), atLimit);
    // The cut never keeps half of a character made of two UTF-16 units.
    EXPECT_EQ(pack.value(QStringLiteral("S"), QStringLiteral("split")), QString(2046, QLatin1Char('y')));
}

TEST(LanguagePack, ReadsUtf8AndFallsBackToWindows1251)
{
    const QString russian = QStringLiteral(u"Ассемблировать [ F7 ]");
    PackFolder folder;

    const QByteArray utf8 = "\xEF\xBB\xBF[Language]\ntasm.Hint=" + russian.toUtf8() + "\n";
    EXPECT_EQ(loadText(folder, utf8).value(QStringLiteral("Language"), QStringLiteral("tasm.Hint")), russian);

    QStringEncoder to1251("windows-1251");
    const QByteArray cp1251 = "[Language]\ntasm.Hint=" + QByteArray(to1251(russian)) + "\n";
    ASSERT_FALSE(to1251.hasError());
    EXPECT_EQ(loadText(folder, cp1251).value(QStringLiteral("Language"), QStringLiteral("tasm.Hint")), russian);

    // Every byte of the upper half has its Windows-1251 character, and valid UTF-8 is kept.
    QByteArray upperHalf;
    for (int byte = 0x80; byte <= 0xFF; ++byte)
        upperHalf.append(char(byte));
    const QString decoded = QString::fromUtf8(packTextAsUtf8(upperHalf));
    ASSERT_EQ(decoded.size(), 128);
    EXPECT_EQ(decoded.at(0xC0 - 0x80), QChar(0x0410)); // А
    EXPECT_EQ(decoded.at(0xFF - 0x80), QChar(0x044F)); // я
    EXPECT_EQ(decoded.at(0xA8 - 0x80), QChar(0x0401)); // Ё
    EXPECT_EQ(packTextAsUtf8(russian.toUtf8()), russian.toUtf8());
}

TEST(LanguagePack, MissingFileOrFolderIsNoPackAndNamesMatchWithoutCase)
{
    PackFolder folder;
    EXPECT_FALSE(LanguagePack::load(QDir(folder.path()).filePath(QStringLiteral("absent.lng"))));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("folder.lng")));
    EXPECT_FALSE(LanguagePack::load(QDir(folder.path()).filePath(QStringLiteral("folder.lng"))));

    folder.write(QStringLiteral("lngpak_fr.LNG"), "[Language]\nrun.Caption=Lancer\n");
    const auto pack = LanguagePack::load(QDir(folder.path()).filePath(QStringLiteral("LNGPAK_Fr.lng")));
    ASSERT_TRUE(pack);
    EXPECT_EQ(pack->value(QStringLiteral("Language"), QStringLiteral("Run.Caption")), QStringLiteral("Lancer"));

    const auto empty = LanguagePack::load(folder.write(QStringLiteral("empty.lng"), QByteArray()));
    ASSERT_TRUE(empty) << "an empty file is a pack without sections";
    EXPECT_EQ(empty->value(QStringLiteral("Language"), QStringLiteral("run.Caption")), QString());
}
