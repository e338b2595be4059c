// Choosing a pack: only its file name counts, and it is looked up in the "info" folder.
#include "LanguageTestWindows.h"

#include "app/language/LanguageActions.h"
#include "app/language/LanguagePackLocation.h"

#include <QDir>
#include <QMainWindow>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace velmora::app;
using namespace velmora::testing;

TEST(LanguagePackLocation, KeepsOnlyTheFileNameWhateverTheSeparator)
{
    EXPECT_EQ(languageFileName(QStringLiteral("c:\\other\\fr.lng")), QStringLiteral("fr.lng"));
    EXPECT_EQ(languageFileName(QStringLiteral("/home/student/packs/fr.lng")), QStringLiteral("fr.lng"));
    EXPECT_EQ(languageFileName(QStringLiteral("fr.lng")), QStringLiteral("fr.lng"));
    EXPECT_EQ(languageFileName(QStringLiteral("/home/student/")), QString());
    EXPECT_EQ(languageFilePath(QStringLiteral("/opt/velmora/"), QStringLiteral("../../etc/x.lng")),
              QStringLiteral("/opt/velmora/info/x.lng"))
        << "a setting cannot point a pack outside the info folder";
}

TEST(LanguagePackLocation, APackChosenElsewhereCountsOnlyOnceInfoHoldsItsName)
{
    PackFolder exeDir;
    PackFolder elsewhere;
    ASSERT_TRUE(QDir(exeDir.path()).mkdir(QStringLiteral("info")));
    const QByteArray french = "[Language]\ntasm.Caption=Assembler\n";
    const QString chosen = elsewhere.write(QStringLiteral("fr.lng"), french);

    auto window = buildMainWindow();
    const auto before = textsOf(*window);
    MainWindowTexts texts;

    const QString lngFile = languageFileName(chosen);
    EXPECT_EQ(lngFile, QStringLiteral("fr.lng"));
    EXPECT_EQ(findLanguagePack(exeDir.path(), chosen), std::nullopt);
    EXPECT_FALSE(ApplyLanguage(*window, languageFilePath(exeDir.path(), lngFile), texts));
    EXPECT_EQ(changedTexts(before, textsOf(*window)), QStringList());

    exeDir.write(QStringLiteral("info/FR.LNG"), french);
    const std::optional<QString> found = findLanguagePack(exeDir.path(), QStringLiteral("c:\\other\\fr.lng"));
    ASSERT_TRUE(found);
    EXPECT_EQ(QFileInfo(*found).fileName(), QStringLiteral("FR.LNG"));
    EXPECT_TRUE(ApplyLanguage(*window, languageFilePath(exeDir.path(), lngFile), texts));
    EXPECT_EQ(window->findChild<QToolButton *>(QStringLiteral("Tasm"))->text(), QStringLiteral("Assembler"));
}
