// The sections after the four window sections: a missing key keeps the English text, both
// shipped packs carry the same keys, and the pack's language picks the toolkit's translation.
#include "LanguageTestWindows.h"

#include "app/language/InterfaceTexts.h"
#include "app/language/LanguagePack.h"
#include "app/language/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace velmora::app;
using namespace velmora::testing;

TEST(InterfaceTexts, APackNamingOneTextChangesOnlyThatOneAndAMissingPackNothing)
{
    PackFolder folder;
    const QString pack =
        folder.write(QStringLiteral("one.lng"), "[Language]\ntasm.Caption=Assemble\n"
                                                "[MESSAGES_language]\n  SaveChanges = Keep %1?\n"
                                                "[Dialogs_Language]\nrunning=Line one\\nLine two %1\n");
    InterfaceTexts texts;
    ASSERT_TRUE(ApplyInterfaceTexts(pack, texts));

    InterfaceTexts expected;
    expected.messages.saveChanges = QStringLiteral("Keep %1?");
    expected.dialogs.running = QStringLiteral("Line one\nLine two %1");
    EXPECT_EQ(texts, expected) << "section and key names in any case; \\n is a line break; the rest stays English";

    InterfaceTexts unchanged = texts;
    EXPECT_FALSE(ApplyInterfaceTexts(folder.path() + QStringLiteral("/none.lng"), texts));
    EXPECT_EQ(texts, unchanged);
}

TEST(InterfaceTexts, ASwitchToAPackWithoutTheTextsBringsTheEnglishBack)
{
    InterfaceTexts texts;
    ASSERT_TRUE(ApplyInterfaceTexts(shippedPackPath("LNGPAK_Rus.lng"), texts));
    EXPECT_EQ(texts.find.title, QStringLiteral(u"Поиск"));
    EXPECT_EQ(texts.debugger.noSuchVariable, QStringLiteral(u"нет такой переменной"));
    EXPECT_EQ(texts.locale, QStringLiteral("ru"));

    PackFolder folder;
    ASSERT_TRUE(ApplyInterfaceTexts(folder.write(QStringLiteral("old.lng"), "[Language]\ntasm.Caption=Tasm\n"), texts));
    EXPECT_EQ(texts, InterfaceTexts{}) << "a pack written before these texts existed";
}

TEST(InterfaceTexts, TheEnglishPackGivesTheBuiltInTexts)
{
    InterfaceTexts texts;
    texts.find.title = QStringLiteral("stale");
    ASSERT_TRUE(ApplyInterfaceTexts(shippedPackPath("LNGPAK_Eng.lng"), texts));
    EXPECT_EQ(texts.build, InterfaceTexts{}.build);
    EXPECT_EQ(texts.messages, InterfaceTexts{}.messages);
    EXPECT_EQ(texts.dialogs, InterfaceTexts{}.dialogs);
    EXPECT_EQ(texts.editor, InterfaceTexts{}.editor);
    EXPECT_EQ(texts, InterfaceTexts{});
}

TEST(InterfaceTexts, BothPacksHoldTheSameSectionsAndKeysAndTheRussianOneIsRussian)
{
    const auto english = LanguagePack::load(shippedPackPath("LNGPAK_Eng.lng"));
    const auto russian = LanguagePack::load(shippedPackPath("LNGPAK_Rus.lng"));
    ASSERT_TRUE(english && russian);
    ASSERT_EQ(russian->sections(), english->sections());
    EXPECT_EQ(english->sections().back(), QStringLiteral("Locale_Language"));

    // Names and symbols read alike in both packs; every other text the Russian pack must say
    // in Russian.
    static const QRegularExpression nameOrSymbol(QStringLiteral(
        "^(-|\\.\\. |OK|Velmora|Tasm|Tlink|TD|TLink|UTF-8|Windows|DOS|LNGPAK_Rus\\.lng|[\\w-]+\\.(hlp|txt|asm))$"));
    const QRegularExpression cyrillic(QStringLiteral(u"[А-яЁё]"));
    for (const QString &section : english->sections()) {
        if (section == QLatin1String("Locale_Language"))
            continue;
        QStringList englishKeys = english->keys(section);
        QStringList russianKeys = russian->keys(section);
        englishKeys.sort(Qt::CaseInsensitive);
        russianKeys.sort(Qt::CaseInsensitive);
        EXPECT_EQ(russianKeys, englishKeys) << section.toStdString();
        for (const QString &key : englishKeys) {
            const QString value = russian->value(section, key);
            if (value.isEmpty() || value.contains(cyrillic))
                continue;
            EXPECT_TRUE(nameOrSymbol.match(value).hasMatch())
                << section.toStdString() << "/" << key.toStdString() << " left in English: " << value.toStdString();
        }
    }
}

TEST(InterfaceTexts, ThePacksLanguageGivesTheToolkitsOwnTextsAndEnglishTakesThemBack)
{
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ru.qm")))
        GTEST_SKIP() << "the toolkit's translations are not installed (qt6-translations-l10n)";
    useToolkitTranslation(QStringLiteral("ru"));
    const QString russian = QCoreApplication::translate("QPlatformTheme", "Cancel");
    useToolkitTranslation(QStringLiteral("en"));
    const QString english = QCoreApplication::translate("QPlatformTheme", "Cancel");

    EXPECT_EQ(russian, QStringLiteral(u"Отмена"));
    EXPECT_EQ(english, QStringLiteral("Cancel"));
}
