// The main editor's keyword list, as edited in the keyword editor, lasts across restarts
// and goes with "Dafault all settings".
#include "PrefsFixture.h"
#include "editor/core/keyfiles/KeywordList.h"
#include "editor/widget/KeywordsEditorDlg.h"
#include "editor/widget/SourceMemo.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace velmora::testing
{
namespace
{

class KeywordListPersistenceTest : public PrefsFixture
{
protected:
    QString savedList() const { return exeDir + QStringLiteral("keywords.kbn"); }
    int keywordCount() const { return window->editor->Keywords().Count(); }

    // Adds one entry in the keyword editor and confirms with OK.
    void addKeywordInTheEditor()
    {
        showPrefs();
        whileModal([&] { prefsControl<QPushButton>("BitBtn1")->click(); },
                   [&](QWidget &modal) {
                       ASSERT_NE(dynamic_cast<widget::TKeywordsEditorDlg *>(&modal), nullptr);
                       modal.findChild<QPushButton *>(QStringLiteral("btnAdd"))->click();
                       // The new entry's text is being edited in the list.
                       auto *list = modal.findChild<QTreeWidget *>();
                       ASSERT_NE(list, nullptr);
                       auto *text = list->viewport()->findChild<QLineEdit *>();
                       ASSERT_NE(text, nullptr);
                       QTest::keyClicks(text, QStringLiteral("velmoraword"));
                       // Enter, then OK at once: the text must not wait for the event loop.
                       QTest::keyClick(text, Qt::Key_Return);
                       modal.findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
                   });
        window->PrefsW->hide();
    }

    void restart()
    {
        window.reset();
        startWithPrefs();
    }
};

TEST_F(KeywordListPersistenceTest, AnEditedListIsSavedAndLoadedAtTheNextStart)
{
    startWithPrefs();
    const int builtIn = keywordCount();
    EXPECT_FALSE(QFile::exists(savedList())) << "nothing is written before an edit";

    addKeywordInTheEditor();
    ASSERT_EQ(keywordCount(), builtIn + 1);
    EXPECT_TRUE(QFile::exists(savedList()));

    restart();
    ASSERT_EQ(keywordCount(), builtIn + 1) << "the edit lasts";
    EXPECT_EQ(window->editor->Keywords().Get(builtIn), "velmoraword");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(KeywordListPersistenceTest, CancelWritesNothing)
{
    startWithPrefs();
    showPrefs();
    whileModal([&] { prefsControl<QPushButton>("BitBtn1")->click(); },
               [&](QWidget &modal) {
                   modal.findChild<QPushButton *>(QStringLiteral("btnAdd"))->click();
                   modal.findChild<QPushButton *>(QStringLiteral("btnCancel"))->click();
               });
    EXPECT_FALSE(QFile::exists(savedList()));
}

TEST_F(KeywordListPersistenceTest, ResettingAllSettingsRemovesTheListAndRestoresTheBuiltInOne)
{
    startWithPrefs();
    const int builtIn = keywordCount();
    addKeywordInTheEditor();
    ASSERT_TRUE(QFile::exists(savedList()));

    showPrefs();
    dialogs.answers.push_back(platform::Answer::Ok);
    prefsControl<QPushButton>("SpeedButton3")->click();
    EXPECT_FALSE(QFile::exists(savedList()));
    EXPECT_EQ(keywordCount(), builtIn);

    restart();
    EXPECT_EQ(keywordCount(), builtIn);
}

TEST_F(KeywordListPersistenceTest, AFileThatCannotBeReadIsReportedAndTheBuiltInListStays)
{
    writeFile("Velmora Prog/keywords.kbn", "not a keyword list");
    startWithPrefs();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(savedList())) << dialogs.messages[0].text.toStdString();
    EXPECT_GT(keywordCount(), 100);
    EXPECT_TRUE(QFile::exists(savedList())) << "the user's file is not thrown away";
}

} // namespace
} // namespace velmora::testing
