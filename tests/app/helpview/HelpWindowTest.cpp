// The help window on the shipped help file: contents, index and its filter, topics by
// keyword, links and history, and the files it cannot open.
#include "app/helpview/HelpWindow.h"
#include "app/helpview/HelpSystem.h"
#include "support/ScriptedDialogs.h"

#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <gtest/gtest.h>

using velmora::app::THelpSystem;
using velmora::app::THelpWindow;

namespace
{

const QString kShippedHelp = QStringLiteral(VELMORA_SOURCE_DIR "/data/info/intro.hlp");

class HelpWindow : public ::testing::Test
{
protected:
    velmora::testing::ScriptedDialogs dialogs;
    THelpSystem help{{kShippedHelp}, nullptr};

    THelpWindow &window()
    {
        EXPECT_NE(help.window(), nullptr);
        return *help.window();
    }
    template <typename T> T &part(const char *name)
    {
        T *found = window().findChild<T *>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }
    QString currentTitle() { return window().helpFile().topics().value(window().currentTopic()).title; }
    std::vector<QString> visibleIndexRows()
    {
        std::vector<QString> rows;
        auto &index = part<QListWidget>("HelpIndex");
        for (int row = 0; row < index.count(); ++row)
            if (!index.item(row)->isHidden())
                rows.push_back(index.item(row)->text());
        return rows;
    }

    // Clicks the first link of the topic on view whose text is linkText.
    void clickLink(const QString &linkText)
    {
        auto &view = part<QTextBrowser>("HelpTopicView");
        for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next()) {
            for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
                const QTextFragment f = fragment.fragment();
                if (!f.charFormat().isAnchor() || f.text() != linkText)
                    continue;
                QTextCursor cursor(view.document());
                cursor.setPosition(f.position() + 1);
                view.setTextCursor(cursor);
                view.ensureCursorVisible();
                const QPoint at = view.cursorRect(cursor).center();
                QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at);
                return;
            }
        }
        ADD_FAILURE() << "no link " << linkText.toStdString();
    }
};

} // namespace

TEST_F(HelpWindow, OpensAtTheContentsWithEveryTopicListed)
{
    ASSERT_TRUE(help.showContents());
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(window().currentTopic(), 0);
    EXPECT_EQ(currentTitle(), "Contents");
    const auto &topics = window().helpFile().topics();
    auto &contents = part<QListWidget>("HelpContents");
    ASSERT_EQ(contents.count(), topics.size());
    EXPECT_EQ(contents.item(5)->text(), topics[5].title);
    EXPECT_EQ(contents.currentRow(), 0);
    EXPECT_TRUE(dialogs.messages.empty());

    contents.setCurrentRow(5);
    EXPECT_EQ(window().currentTopic(), 5);
    EXPECT_EQ(window().windowTitle(), "Velmora Help - " + topics[5].title);
}

TEST_F(HelpWindow, ShowsTheTopicOfAKeywordInTheSameWindow)
{
    ASSERT_TRUE(help.showKeyword(QStringLiteral("Keywords editor")));
    THelpWindow *first = help.window();
    EXPECT_EQ(currentTitle(), "Keywords editor");
    EXPECT_TRUE(part<QTextBrowser>("HelpTopicView").toPlainText().contains("changes the list of words"));

    ASSERT_TRUE(help.showKeyword(QStringLiteral(" mov ")));
    EXPECT_EQ(help.window(), first);
    EXPECT_EQ(currentTitle(), "MOV");
    EXPECT_EQ(part<QListWidget>("HelpContents").currentItem()->text(), "MOV");
}

TEST_F(HelpWindow, UnknownKeywordOpensTheIndexFilteredByIt)
{
    ASSERT_TRUE(help.showKeyword(QStringLiteral("Mo")));
    EXPECT_FALSE(window().showKeyword(QStringLiteral("Mo")));
    EXPECT_EQ(part<QTabWidget>("HelpTabs").currentIndex(), 1);
    EXPECT_EQ(part<QLineEdit>("HelpIndexFilter").text(), "Mo");
    const auto rows = visibleIndexRows();
    ASSERT_FALSE(rows.empty());
    for (const QString &row : rows)
        EXPECT_TRUE(row.startsWith("mo", Qt::CaseInsensitive)) << row.toStdString();
    EXPECT_EQ(part<QListWidget>("HelpIndex").currentItem()->text(), rows.front());

    QTest::keyClick(&part<QLineEdit>("HelpIndexFilter"), Qt::Key_Return);
    EXPECT_EQ(window().currentTopic(), window().helpFile().find(rows.front().section(':', 0, 0)));

    part<QLineEdit>("HelpIndexFilter").setText(QStringLiteral("zzzz"));
    EXPECT_TRUE(visibleIndexRows().empty());
    part<QLineEdit>("HelpIndexFilter").clear();
    EXPECT_EQ(visibleIndexRows().size(), size_t(part<QListWidget>("HelpIndex").count()));
}

TEST_F(HelpWindow, KeywordOfSeveralTopicsListsEachAndClickingShowsIt)
{
    ASSERT_TRUE(help.showContents());
    part<QLineEdit>("HelpIndexFilter").setText(QStringLiteral("stack:"));
    const auto rows = visibleIndexRows();
    ASSERT_GE(rows.size(), 2u);
    auto &index = part<QListWidget>("HelpIndex");
    const auto found = index.findItems(rows[1], Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    index.scrollToItem(found[0]);
    QTest::mouseClick(index.viewport(), Qt::LeftButton, {}, index.visualItemRect(found[0]).center());
    EXPECT_EQ(currentTitle(), rows[1].section(QStringLiteral(": "), 1));
}

TEST_F(HelpWindow, LinksMoveBetweenTopicsWithBackAndForward)
{
    ASSERT_TRUE(help.showContents());
    window().resize(900, 700);
    QCoreApplication::processEvents();
    clickLink(QStringLiteral("Keywords editor"));
    EXPECT_EQ(currentTitle(), "Keywords editor");

    auto &back = part<QToolButton>("HelpBack");
    auto &forward = part<QToolButton>("HelpForward");
    ASSERT_TRUE(back.isEnabled());
    back.click();
    EXPECT_EQ(currentTitle(), "Contents");
    ASSERT_TRUE(forward.isEnabled());
    forward.click();
    EXPECT_EQ(currentTitle(), "Keywords editor");
    part<QToolButton>("HelpHome").click();
    EXPECT_EQ(currentTitle(), "Contents");
}

TEST_F(HelpWindow, ClosedWindowIsOpenedAgainFromTheFile)
{
    ASSERT_TRUE(help.showContents());
    window().close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(help.window(), nullptr);
    ASSERT_TRUE(help.showKeyword(QStringLiteral("Keywords editor")));
    EXPECT_EQ(currentTitle(), "Keywords editor");
}

TEST_F(HelpWindow, AskedFromAModalDialogBelongsToThatDialog)
{
    QWidget owner;
    THelpSystem owned({kShippedHelp}, &owner);
    QDialog dialog;
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    ASSERT_TRUE(owned.showKeyword(QStringLiteral("Keywords editor")));
    EXPECT_EQ(owned.window()->parentWidget(), &dialog);
    EXPECT_TRUE(owned.window()->isWindow());

    dialog.hide();
    ASSERT_TRUE(owned.showContents());
    EXPECT_EQ(owned.window()->parentWidget(), &owner);
    EXPECT_TRUE(owned.window()->isVisible());
}

TEST_F(HelpWindow, MissingOrMalformedFileIsReportedAndOpensNothing)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("intro.hlp"));
    THelpSystem absent({missing}, nullptr);
    EXPECT_FALSE(absent.showContents());
    EXPECT_EQ(absent.window(), nullptr);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].kind, velmora::platform::MessageKind::Error);
    EXPECT_TRUE(dialogs.messages[0].text.contains(missing)) << dialogs.messages[0].text.toStdString();

    QFile file(missing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("@topic Contents\nSee [[Nowhere]].\n");
    file.close();
    EXPECT_FALSE(absent.showKeyword(QStringLiteral("Keywords editor")));
    EXPECT_EQ(absent.window(), nullptr);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_TRUE(dialogs.messages[1].text.contains(missing)) << dialogs.messages[1].text.toStdString();
}
