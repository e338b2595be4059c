// The shipped Russian FAQ and optimisation notes: named by the shipped Russian pack, laid out
// as the English texts, and quoting the assembler and the linker as they print.
#include "app/QtPrinting.h"
#include "app/language/LanguagePack.h"
#include "app/language/ReferenceFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <gtest/gtest.h>

using namespace velmora::app;

namespace
{

const QString kData = QStringLiteral(VELMORA_SOURCE_DIR "/data/");

QString textOf(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(file.readAll());
    EXPECT_FALSE(utf8.hasError()) << path.toStdString();
    return text;
}

// The numbers of the section headings (" Q3." in the FAQ, " 3." in the notes), in order.
QStringList headings(const QString &text)
{
    static const QRegularExpression heading(QStringLiteral(R"(^ (Q?\d+)\. )"), QRegularExpression::MultilineOption);
    QStringList numbers;
    for (const QRegularExpressionMatch &match : heading.globalMatch(text))
        numbers << match.captured(1);
    return numbers;
}

} // namespace

TEST(ShippedTranslations, TheRussianPackNamesThemAndTheEnglishPackTheEnglishTexts)
{
    const ReferenceFiles russian = referenceFiles(kData, kData + QStringLiteral("info/LNGPAK_Rus.lng"));
    EXPECT_EQ(russian.faqFile, kData + QStringLiteral("info/chainik_rus.txt"));
    EXPECT_EQ(russian.optimizationFile, kData + QStringLiteral("info/optimization_rus.txt"));
    EXPECT_EQ(russian.templateFile, kData + QStringLiteral("TTDIR/def_templ_rus.asm"));
    const auto pack = LanguagePack::load(kData + QStringLiteral("info/LNGPAK_Rus.lng"));
    ASSERT_TRUE(pack);
    EXPECT_EQ(pack->value(QStringLiteral("Reference_Language"), QStringLiteral("Help_File")),
              QStringLiteral("intro_rus.hlp"));
    EXPECT_TRUE(pack->value(QStringLiteral("Reference_Language"), QStringLiteral("Help_Fallback")).contains("%1"));

    const ReferenceFiles english = referenceFiles(kData, kData + QStringLiteral("info/LNGPAK_Eng.lng"));
    const ReferenceFiles builtIn = englishReferenceFiles(kData);
    EXPECT_EQ(english.helpFile, builtIn.helpFile);
    EXPECT_EQ(english.faqFile, builtIn.faqFile);
    EXPECT_EQ(english.optimizationFile, builtIn.optimizationFile);
    EXPECT_EQ(english.templateFile, builtIn.templateFile);
    EXPECT_EQ(english.helpFallbackNote, builtIn.helpFallbackNote);
}

TEST(ShippedTranslations, KeepTheEnglishLayoutInRussian)
{
    for (const auto &[englishName, russianName] : {std::pair{"info/chainik.txt", "info/chainik_rus.txt"},
                                                   std::pair{"info/optimization.txt", "info/optimization_rus.txt"}}) {
        const QString english = textOf(kData + QLatin1String(englishName));
        const QString russian = textOf(kData + QLatin1String(russianName));
        EXPECT_GT(russian.count(QRegularExpression(QStringLiteral(u"[А-яЁё]"))), 2000) << russianName;
        EXPECT_EQ(headings(russian), headings(english)) << russianName;
        EXPECT_GE(headings(english).size(), 10);
        const QStringList lines = russian.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i)
            EXPECT_LE(lines[i].size(), 78) << russianName << ":" << i + 1;
    }
}

TEST(ShippedTranslations, BothFaqsQuoteTheToolsAsTheyPrint)
{
    const QStringList messages = {"Undefined symbol: COUNT",
                                  "Operand types do not match",
                                  "Argument needs type override",
                                  "Illegal use of segment register",
                                  "Illegal indexing mode",
                                  "Relative jump out of range by 0018h bytes",
                                  "Unexpected end of file encountered",
                                  "Illegal instruction for currently selected processor(s)",
                                  "Warning: No stack",
                                  "Error: Undefined symbol COUNTER in module",
                                  "Fatal: Cannot generate COM file : invalid initial entry point address",
                                  "Fatal: Cannot generate COM file : stack segment present"};
    for (const char *faq : {"info/chainik.txt", "info/chainik_rus.txt"}) {
        const QString text = textOf(kData + QLatin1String(faq));
        for (const QString &message : messages)
            EXPECT_TRUE(text.contains(message)) << faq << ": " << message.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("No program entry point"))) << faq;
    }

    // The messages as the captured tool outputs hold them.
    const QString testdata = QStringLiteral(VELMORA_SOURCE_DIR "/../shared/testdata/tasm");
    if (!QDir(testdata).exists())
        GTEST_SKIP() << "no captured tool outputs in " << testdata.toStdString();
    QString outputs;
    QDirIterator it(testdata, {QStringLiteral("out*.txt")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        outputs += textOf(it.next());
    for (const QString &message : messages)
        EXPECT_TRUE(outputs.contains(message)) << message.toStdString();
}
