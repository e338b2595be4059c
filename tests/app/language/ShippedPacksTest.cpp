// The two packs we ship: complete, valid UTF-8, and applied they give the windows their texts.
#include "LanguageTestWindows.h"

#include "app/language/LanguageActions.h"
#include "app/language/LanguagePack.h"
#include "app/language/LanguageSections.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QMainWindow>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace velmora::app;
using namespace velmora::testing;

namespace
{

const LanguageSection *const kSections[] = {&kMainWindowSection, &kPrefsWindowSection, &kInfoWindowSection,
                                            &kAboutWindowSection};

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return file.readAll();
}

class ShippedPack : public ::testing::TestWithParam<const char *>
{
};

} // namespace

TEST(LanguageSections, ListEveryKeyOnceInEachSection)
{
    EXPECT_EQ(kMainWindowSection.keys.size(), 87u);
    EXPECT_EQ(kPrefsWindowSection.keys.size(), 66u);
    EXPECT_EQ(kInfoWindowSection.keys.size(), 4u);
    EXPECT_EQ(kAboutWindowSection.keys.size(), 4u);
    for (const LanguageSection *section : kSections) {
        QStringList seen;
        for (const char *key : section->keys) {
            EXPECT_FALSE(seen.contains(QString::fromLatin1(key), Qt::CaseInsensitive)) << key;
            seen.append(QString::fromLatin1(key));
        }
    }
}

TEST_P(ShippedPack, IsValidUtf8AndHoldsEveryKeyAndNoOther)
{
    const QString path = shippedPackPath(GetParam());
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytesOf(path));
    EXPECT_FALSE(utf8.hasError());

    const auto pack = LanguagePack::load(path);
    ASSERT_TRUE(pack);
    for (const LanguageSection *section : kSections) {
        const QString name = QString::fromLatin1(section->name);
        QStringList expected;
        for (const char *key : section->keys) {
            expected.append(QString::fromLatin1(key).toLower());
            EXPECT_TRUE(pack->contains(name, QString::fromLatin1(key))) << GetParam() << ": " << key;
        }
        for (const QString &key : pack->keys(name))
            EXPECT_TRUE(expected.contains(key.toLower())) << GetParam() << ": stray key " << key.toStdString();
    }
    for (const char *separator : {"n1.Caption", "n2.Caption", "n3.Caption", "n4.Caption", "n5.Caption", "n6.Caption",
                                  "n7.Caption", "n8.Caption", "n9.Caption"})
        EXPECT_EQ(pack->value(QStringLiteral("Language"), QString::fromLatin1(separator)), QStringLiteral("-"))
            << separator;
}

INSTANTIATE_TEST_SUITE_P(Packs, ShippedPack, ::testing::Values("LNGPAK_Rus.lng", "LNGPAK_Eng.lng"));

TEST(ShippedPacks, TheRussianPackReadsTheSameFromItsWindows1251Copy)
{
    const QString utf8Path = shippedPackPath("LNGPAK_Rus.lng");
    const QString text = QString::fromUtf8(bytesOf(utf8Path));
    EXPECT_TRUE(text.contains(QStringLiteral(u"Ассемблировать")));

    QStringEncoder to1251("windows-1251");
    const QByteArray cp1251 = to1251(text);
    ASSERT_FALSE(to1251.hasError());
    PackFolder folder;
    const auto copy = LanguagePack::load(folder.write(QStringLiteral("LNGPAK_Rus.lng"), cp1251));
    const auto original = LanguagePack::load(utf8Path);
    ASSERT_TRUE(copy && original);
    int cyrillicValues = 0;
    for (const LanguageSection *section : kSections) {
        const QString name = QString::fromLatin1(section->name);
        for (const char *key : section->keys) {
            const QString value = original->value(name, QString::fromLatin1(key));
            EXPECT_EQ(copy->value(name, QString::fromLatin1(key)), value) << key;
            cyrillicValues += value.contains(QRegularExpression(QStringLiteral(u"[А-яЁё]"))) ? 1 : 0;
        }
    }
    EXPECT_GT(cyrillicValues, 120) << "the Russian pack speaks Russian";
}

TEST(ShippedPacks, TheEnglishPackGivesTheMainWindowItsBuiltInTexts)
{
    auto window = buildMainWindow();
    const auto before = textsOf(*window);
    MainWindowTexts texts;
    const MainWindowTexts builtIn;

    ASSERT_TRUE(ApplyLanguage(*window, shippedPackPath("LNGPAK_Eng.lng"), texts));

    // Only hints the window has none of built in change.
    EXPECT_EQ(changedTexts(before, textsOf(*window)),
              (QStringList{"New.toolTip=New file", "TlinkPar.toolTip=Tlink with param_string [ Ctrl+F8 ]"}));

    EXPECT_EQ(texts.openFilter, builtIn.openFilter);
    EXPECT_EQ(texts.saveFilter, builtIn.saveFilter);
    EXPECT_EQ(texts.saveActionCaption, builtIn.saveActionCaption);
    EXPECT_EQ(texts.lastButtonHint(QStringLiteral("/w/prog.asm")), QStringLiteral("Last file: /w/prog.asm"));
    EXPECT_EQ(texts.listGenerated, QStringLiteral("Listing generated"));
}

TEST(ShippedPacks, TheEnglishPackGivesTheOtherWindowsTheirBuiltInTexts)
{
    const QString pack = shippedPackPath("LNGPAK_Eng.lng");

    auto prefs = buildPrefsWindow();
    const auto before = textsOf(*prefs);
    PrefsWindowTexts texts;
    ASSERT_TRUE(ApplyLanguagePrefsW(*prefs, pack, texts));
    // Only what has no built-in text changes: labels and groups the window leaves blank, the
    // hint of OutDestination, and Label8, which names the pack.
    EXPECT_EQ(changedTexts(before, textsOf(*prefs)),
              (QStringList{"GroupBox3.title= -= Typing Aids =- ", "Label3.text=Transparency :",
                           "Label6.text=Captured output is shown on the pages of the main window.",
                           "Label7.text=Output in windows runs every tool in a window of its own.",
                           "Label8.text=LNGPAK_Eng.lng", "MemoOpt.title= -= Editor =- ",
                           "OutDestination.toolTip=Where the messages of Tasm, Tlink and the program go"}));
    EXPECT_EQ(texts.languageFilter, PrefsWindowTexts().languageFilter);

    auto about = buildAboutWindow();
    const auto aboutBefore = textsOf(*about);
    ASSERT_TRUE(ApplyLanguageAboutW(*about, pack));
    EXPECT_EQ(changedTexts(aboutBefore, textsOf(*about)), QStringList());

    auto info = buildInfoWindow();
    const auto infoBefore = textsOf(*info);
    ASSERT_TRUE(ApplyLanguageInfoW(*info, pack));
    EXPECT_EQ(changedTexts(infoBefore, textsOf(*info)), QStringList());
}

TEST(ShippedPacks, TheRussianPackDressesTheMainWindowAndKeepsItsSeparators)
{
    auto window = buildMainWindow();
    MainWindowTexts texts;
    ASSERT_TRUE(ApplyLanguage(*window, shippedPackPath("LNGPAK_Rus.lng"), texts));
    EXPECT_EQ(window->findChild<QToolButton *>(QStringLiteral("run"))->text(), QStringLiteral(u"Пуск"));
    EXPECT_EQ(tabTextOf(*window, QStringLiteral("EditSheet")), QStringLiteral(u"Редактор"));
    EXPECT_EQ(actionNamed(*window, QStringLiteral("File1"))->text(), QStringLiteral(u"&Файл"));
    for (const char *name : {"N1", "N2", "N3", "N4", "N5", "N6", "N7", "N8", "N9"})
        EXPECT_TRUE(actionNamed(*window, QString::fromLatin1(name))->isSeparator()) << name;
    EXPECT_EQ(texts.lastButtonHint(QStringLiteral("/w/prog.asm")), QStringLiteral(u"Последний файл: /w/prog.asm"));
}
