// A translated help file beside the English one: the translation is shown when it loads, the
// English help when it does not (said once), and new files reach an open window at once.
#include "app/QtPrinting.h"
#include "app/helpview/HelpSystem.h"
#include "app/helpview/HelpWindow.h"
#include "support/ScriptedDialogs.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>
#include <gtest/gtest.h>

using velmora::app::HelpFiles;
using velmora::app::THelpSystem;
using velmora::app::THelpWindow;

namespace
{

const QByteArray kEnglish = "@topic Contents\nSee [[MOV]].\n@topic MOV\nMoves data.\n";
const QByteArray kRussian = "@topic \xd0\xa1\xd0\xbe\xd0\xb4\xd0\xb5\xd1\x80\xd0\xb6\xd0\xb0\xd0\xbd\xd0\xb8\xd0\xb5\n"
                            "\xd0\xa1\xd0\xbc. [[MOV]].\n@topic MOV\n\xd0\x9f\xd0\xb5\xd1\x80\xd0\xb5\xd1\x81\xd1\x8b"
                            "\xd0\xbb\xd0\xba\xd0\xb0.\n";
const QByteArray kBroken = "@topic Contents\nSee [[Nowhere]].\n";
const QString kNote = QStringLiteral("%1 (English instead)");

class HelpFallback : public ::testing::Test
{
protected:
    QString write(const char *name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(QLatin1String(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    static QString shownText(THelpWindow &window)
    {
        return window.findChild<QTextBrowser *>(QStringLiteral("HelpTopicView"))->toPlainText();
    }

    static void closeWindow(THelpSystem &help)
    {
        help.window()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_EQ(help.window(), nullptr);
    }

    QTemporaryDir dir;
    velmora::testing::ScriptedDialogs dialogs;
};

TEST_F(HelpFallback, AMalformedTranslationShowsTheEnglishHelpAndSaysSoOnce)
{
    const QString english = write("intro.hlp", kEnglish);
    const QString russian = write("intro_rus.hlp", kBroken);
    THelpSystem help({russian, english, kNote}, nullptr);

    ASSERT_TRUE(help.showContents());
    EXPECT_EQ(help.window()->helpFile().topics()[0].title, QStringLiteral("Contents"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].kind, velmora::platform::MessageKind::Error);
    EXPECT_EQ(dialogs.messages[0].text,
              russian + QStringLiteral(":2: link to unknown topic \"Nowhere\" (English instead)"));

    closeWindow(help);
    ASSERT_TRUE(help.showKeyword(QStringLiteral("MOV")));
    EXPECT_EQ(help.window()->currentTopic(), 1);
    EXPECT_EQ(dialogs.messages.size(), 1u) << "said once, not at every opening";
}

TEST_F(HelpFallback, NoWindowOpensWhenTheEnglishHelpFailsToo)
{
    const QString russian = write("intro_rus.hlp", kBroken);
    const QString english = dir.filePath(QStringLiteral("intro.hlp")); // missing
    THelpSystem help({russian, english, kNote}, nullptr);
    EXPECT_FALSE(help.showContents());
    EXPECT_EQ(help.window(), nullptr);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(russian));
    EXPECT_TRUE(dialogs.messages[1].text.contains(english));
    EXPECT_FALSE(dialogs.messages[1].text.endsWith(QStringLiteral("(English instead)")));
}

TEST_F(HelpFallback, NewFilesReachAnOpenWindowAtOnceAtTheirContents)
{
    const QString english = write("intro.hlp", kEnglish);
    const QString russian = write("intro_rus.hlp", kRussian);
    THelpSystem help({english}, nullptr);
    ASSERT_TRUE(help.showKeyword(QStringLiteral("MOV")));
    THelpWindow *window = help.window();
    auto *back = window->findChild<QToolButton *>(QStringLiteral("HelpBack"));
    window->showTopic(0);
    EXPECT_TRUE(back->isEnabled());

    help.setFiles({russian, english, kNote});
    ASSERT_EQ(help.window(), window) << "the same window, its contents replaced";
    EXPECT_EQ(window->currentTopic(), 0);
    EXPECT_TRUE(shownText(*window).contains(QStringLiteral(u"Содержание"))) << shownText(*window).toStdString();
    auto *contents = window->findChild<QListWidget *>(QStringLiteral("HelpContents"));
    ASSERT_EQ(contents->count(), 2);
    EXPECT_EQ(contents->item(0)->text(), QStringLiteral(u"Содержание"));
    EXPECT_EQ(contents->currentRow(), 0);
    EXPECT_FALSE(back->isEnabled()) << "the old file's history is gone";
    window->showTopic(1);
    EXPECT_TRUE(shownText(*window).contains(QStringLiteral(u"Пересылка")));

    // The translation breaks: the English help comes back, with one report.
    write("intro_rus.hlp", kBroken);
    help.setFiles({russian, english, kNote}); // the same names: nothing is read again
    EXPECT_TRUE(dialogs.messages.empty());
    help.setFiles({english, english, kNote});
    help.setFiles({russian, english, kNote});
    EXPECT_EQ(window->helpFile().topics()[0].title, QStringLiteral("Contents"));
    EXPECT_TRUE(shownText(*window).contains(QStringLiteral("See MOV.")));
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

} // namespace
