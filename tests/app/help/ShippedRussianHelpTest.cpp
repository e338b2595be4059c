// The shipped Russian help file: the one the shipped Russian pack names, present, loading
// without falling back, and covering what the English help covers.
#include "app/QtPrinting.h"
#include "app/help/HelpFile.h"
#include "app/language/ReferenceFiles.h"
#include "editor/core/keyfiles/DefaultKeywordList.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace velmora::app;

namespace
{

const QString kData = QStringLiteral(VELMORA_SOURCE_DIR "/data/");

} // namespace

TEST(ShippedRussianHelp, IsTheRussianPacksChoiceAndLoads)
{
    const ReferenceFiles files = referenceFiles(kData, kData + QStringLiteral("info/LNGPAK_Rus.lng"));
    ASSERT_EQ(files.helpFile, kData + QStringLiteral("info/intro_rus.hlp")) << "the file is missing";
    HelpFile russian;
    ASSERT_NO_THROW(russian = HelpFile::load(files.helpFile));
    int cyrillicTopics = 0;
    for (const HelpTopic &topic : russian.topics())
        cyrillicTopics += topic.body.join(' ').contains(QRegularExpression(QStringLiteral(u"[А-яЁё]"))) ? 1 : 0;
    EXPECT_GT(cyrillicTopics, russian.topics().size() / 2) << "the help speaks Russian";
}

TEST(ShippedRussianHelp, FindsEveryWordTheEnglishHelpFinds)
{
    const HelpFile english = HelpFile::load(kData + QStringLiteral("info/intro.hlp"));
    const HelpFile russian = HelpFile::load(kData + QStringLiteral("info/intro_rus.hlp"));
    for (const std::string &name : velmora::core::defaultKeywordNames()) {
        if (name == velmora::core::kDefaultWebAddressKeyword)
            continue;
        const QString word = QString::fromStdString(name).toLower();
        EXPECT_EQ(russian.find(word) >= 0, english.find(word) >= 0) << name;
    }
    // The keyword list editor's Help button asks for this topic by its English name.
    EXPECT_GE(russian.find(QStringLiteral("Keywords editor")), 0);
}
