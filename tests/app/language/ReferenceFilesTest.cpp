// The reference texts a pack chooses in its section "Reference_Language", and the English
// files each of them falls back to.
#include "LanguageTestWindows.h"

#include "app/language/ReferenceFiles.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace velmora::app;
using namespace velmora::testing;

namespace
{

class ReferenceFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(exe.path()).mkpath(QStringLiteral("info")));
        ASSERT_TRUE(QDir(exe.path()).mkpath(QStringLiteral("TTDIR")));
        ASSERT_TRUE(QDir(exe.path()).mkpath(QStringLiteral("elsewhere")));
    }

    QString pack(const QByteArray &text) { return exe.write(QStringLiteral("info/LNGPAK_Rus.lng"), text); }
    QString at(const char *relative) const { return exe.path() + QLatin1Char('/') + QLatin1String(relative); }

    PackFolder exe;
};

TEST_F(ReferenceFilesTest, WithoutAPackEveryFileIsTheEnglishOneWhetherItExistsOrNot)
{
    exe.write(QStringLiteral("info/CHAINIK.TXT"), "FAQ");
    const ReferenceFiles files = referenceFiles(exe.path(), at("info/nosuch.lng"));
    EXPECT_EQ(files.helpFile, at("info/intro.hlp"));
    EXPECT_EQ(files.englishHelpFile, at("info/intro.hlp"));
    EXPECT_EQ(files.faqFile, at("info/CHAINIK.TXT")) << "found without regard to letter case";
    EXPECT_EQ(files.optimizationFile, at("info/optimization.txt"));
    EXPECT_EQ(files.templateFile, at("TTDIR/def_templ.asm"));
    EXPECT_EQ(files.helpFallbackNote.arg(QStringLiteral("bad.hlp:3: no topics")),
              QStringLiteral("bad.hlp:3: no topics (the English help is shown instead)"));
}

TEST_F(ReferenceFilesTest, APackChoosesItsFilesByNameInTheirFoldersIgnoringCase)
{
    exe.write(QStringLiteral("info/intro_rus.hlp"), "@topic x");
    exe.write(QStringLiteral("info/Chainik_Rus.TXT"), "FAQ");
    exe.write(QStringLiteral("info/optimization_rus.txt"), "notes");
    exe.write(QStringLiteral("TTDIR/DEF_TEMPL_RUS.asm"), "end");
    const ReferenceFiles files =
        referenceFiles(exe.path(), pack("[reference_language]\n"
                                        "  help_file = INTRO_RUS.HLP\n"
                                        "Faq_File=chainik_rus.txt\n"
                                        "Optimization_File=optimization_rus.txt\n"
                                        "Template_File=def_templ_rus.asm\n"
                                        "Help_Fallback=%1 (\xd0\xb0\xd0\xbd\xd0\xb3\xd0\xbb.)\n"));
    EXPECT_EQ(files.helpFile, at("info/intro_rus.hlp"));
    EXPECT_EQ(files.englishHelpFile, at("info/intro.hlp"));
    EXPECT_EQ(files.faqFile, at("info/Chainik_Rus.TXT"));
    EXPECT_EQ(files.optimizationFile, at("info/optimization_rus.txt"));
    EXPECT_EQ(files.templateFile, at("TTDIR/DEF_TEMPL_RUS.asm"));
    EXPECT_EQ(files.helpFallbackNote, QStringLiteral(u"%1 (англ.)"));
}

TEST_F(ReferenceFilesTest, EachKeyFallsBackAloneWhenMissingEmptyOrNamingNoFileInItsFolder)
{
    exe.write(QStringLiteral("info/def_templ_rus.asm"), "end"); // in "info", not among the templates
    exe.write(QStringLiteral("elsewhere/chainik_rus.txt"), "FAQ");
    exe.write(QStringLiteral("info/optimization_rus.txt"), "notes");
    const ReferenceFiles files = referenceFiles(exe.path(), pack("[Reference_Language]\n"
                                                                 "Help_File=\n"
                                                                 "Faq_File=../elsewhere/chainik_rus.txt\n"
                                                                 "Optimization_File=optimization_rus.txt\n"
                                                                 "Template_File=def_templ_rus.asm\n"));
    const ReferenceFiles english = englishReferenceFiles(exe.path());
    EXPECT_EQ(files.helpFile, english.helpFile) << "empty key";
    EXPECT_EQ(files.faqFile, english.faqFile) << "only the file name counts, and info holds no such file";
    EXPECT_EQ(files.optimizationFile, at("info/optimization_rus.txt")) << "the one key that names a file";
    EXPECT_EQ(files.templateFile, english.templateFile) << "a template is looked up among the templates";
    EXPECT_EQ(files.helpFallbackNote, english.helpFallbackNote) << "missing key";

    const ReferenceFiles noSection = referenceFiles(exe.path(), pack("[Language]\ntasm.Caption=Asm\n"));
    EXPECT_EQ(noSection.optimizationFile, english.optimizationFile);
    EXPECT_EQ(noSection.templateFile, english.templateFile);
}

} // namespace
