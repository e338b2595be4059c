// The shipped help file and reference texts: complete for the default keyword list, every
// link resolving, every topic reachable from the contents, text the viewers can show.
#include "app/help/HelpFile.h"
#include "editor/core/text/CodePages.h"
#include "editor/core/keyfiles/DefaultKeywordList.h"

#include <QFile>
#include <QSet>
#include <QStringDecoder>
#include <gtest/gtest.h>

using velmora::app::HelpFile;

namespace
{

QString dataPath(const char *relative)
{
    return QStringLiteral(VELMORA_SOURCE_DIR "/data/") + relative;
}

const HelpFile &shippedHelp()
{
    // Loading checks the format: titles present and unique, every link resolving.
    static const HelpFile help = HelpFile::load(dataPath("info/intro.hlp"));
    return help;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

} // namespace

TEST(ShippedHelp, LoadsWithAContentsTopicAndSortedIndex)
{
    ASSERT_NO_THROW(shippedHelp());
    const HelpFile &help = shippedHelp();
    EXPECT_EQ(help.topics()[0].title, "Contents");
    ASSERT_FALSE(help.index().isEmpty());
    for (qsizetype i = 1; i < help.index().size(); ++i)
        EXPECT_LT(QString::compare(help.index()[i - 1].keyword, help.index()[i].keyword, Qt::CaseInsensitive), 0)
            << help.index()[i].keyword.toStdString();
}

TEST(ShippedHelp, EveryDefaultKeywordHasATopicThatExplainsIt)
{
    const HelpFile &help = shippedHelp();
    const auto names = velmora::core::defaultKeywordNames();
    ASSERT_EQ(names.size(), 161u);
    int mnemonics = 0;
    for (const std::string &name : names) {
        if (name == velmora::core::kDefaultWebAddressKeyword)
            continue;
        const QString word = QString::fromStdString(name);
        const int topic = help.find(word.toLower());
        ASSERT_GE(topic, 0) << name;
        EXPECT_TRUE(help.topics()[topic].body.join(' ').contains(word, Qt::CaseInsensitive)) << name;
        if (!word.startsWith('.') && word != "End")
            ++mnemonics;
    }
    EXPECT_EQ(mnemonics, 157);
}

TEST(ShippedHelp, EveryTopicIsReachableFromTheContents)
{
    const HelpFile &help = shippedHelp();
    QSet<int> seen{0};
    QList<int> pending{0};
    while (!pending.isEmpty()) {
        for (const auto &link : help.topics()[pending.takeLast()].links) {
            if (!seen.contains(link.target)) {
                seen.insert(link.target);
                pending.append(link.target);
            }
        }
    }
    for (qsizetype t = 0; t < help.topics().size(); ++t)
        EXPECT_TRUE(seen.contains(int(t))) << help.topics()[t].title.toStdString();
}

TEST(ShippedHelp, KeywordsEditorTopicAnswersTheDialogsHelpButton)
{
    const HelpFile &help = shippedHelp();
    const int topic = help.find("Keywords editor");
    ASSERT_GE(topic, 0);
    EXPECT_EQ(help.topics()[topic].title, "Keywords editor");
    EXPECT_TRUE(help.topicHtml(topic).contains("Whole words only"));
}

TEST(ShippedHelp, ReferenceTextsAreUtf8ThatTheViewersCodePageCanShow)
{
    using namespace velmora::core;
    for (const char *name : {"info/intro.hlp", "info/chainik.txt", "info/optimization.txt", "info/velmora.txt",
                             "info/chainik_rus.txt", "info/optimization_rus.txt"}) {
        const QByteArray bytes = readAll(dataPath(name));
        EXPECT_GT(bytes.size(), 1000) << name;
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8.decode(bytes);
        EXPECT_FALSE(utf8.hasError()) << name;
        const std::u16string wide(reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size()));
        EXPECT_EQ(decode(encode(wide, CodePage::Windows1251), CodePage::Windows1251), wide) << name;
    }
}
