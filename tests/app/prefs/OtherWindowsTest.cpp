// The windows created after the main window and how the main window opens them: the
// preferences window from Prefs, the about window from About, the help window from F1.
#include "PrefsFixture.h"

#include "app/about/AboutWindow.h"
#include "app/helpview/HelpWindow.h"
#include "app/info/InfoWindow.h"
#include "editor/core/keyfiles/KeywordList.h"
#include "editor/widget/KeywordsEditorDlg.h"
#include "editor/widget/SourceMemo.h"

#include <QAction>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

namespace velmora::testing
{
namespace
{

class OtherWindowsTest : public PrefsFixture
{
};

TEST_F(OtherWindowsTest, PrefsButtonAndMenuShowThePreferencesModallyAndApplyAfterwards)
{
    startWithPrefs();
    for (const auto &open : std::vector<std::function<void()>>{[this] { component<QToolButton>("Prefs")->click(); },
                                                               [this] { component<QAction>("Prefs1")->trigger(); }}) {
        // apply hides the tool bar again for WhatControls 0, however the window closed.
        window->state().settings.WhatControls = 0;
        component<QWidget>("Panel1")->show();
        whileModal(open, [this](QWidget &modal) {
            EXPECT_EQ(&modal, window->PrefsW);
            modal.close();
        });
        EXPECT_TRUE(component<QWidget>("Panel1")->isHidden());
    }
}

TEST_F(OtherWindowsTest, AboutOpensOnItsFirstPageDressedByThePack)
{
    writeInfoFile(QStringLiteral("LNGPAK_Rus.lng"), "[About_Language]\nForm3.Caption=Uber Velmora\n");
    startWithPrefs();
    app::TForm3 &about = *window->Form3;
    about.pageControl().setCurrentIndex(2);
    int shownPage = -1;
    QString shownTitle;
    whileModal([this] { component<QToolButton>("About")->click(); },
               [&](QWidget &modal) {
                   EXPECT_EQ(&modal, &about);
                   shownPage = about.pageControl().currentIndex();
                   shownTitle = about.windowTitle();
               });
    EXPECT_EQ(shownPage, 0);
    EXPECT_EQ(shownTitle, QStringLiteral("Uber Velmora"));

    whileModal([this] { component<QAction>("AboutMenu")->trigger(); },
               [&](QWidget &modal) { EXPECT_EQ(&modal, &about); });
}

TEST_F(OtherWindowsTest, F1OpensTheHelpContentsOrReportsAMissingFile)
{
    startWithPrefs();
    // No help file in "info": an error box, no window.
    QTest::keyClick(window.get(), Qt::Key_F1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(window->findChild<app::THelpWindow *>(), nullptr);

    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_SOURCE_DIR "/data/info/intro.hlp"),
                            exeDir + QStringLiteral("info/intro.hlp")));
    QTest::keyClick(window.get(), Qt::Key_F1);
    auto *help = window->findChild<app::THelpWindow *>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->currentTopic(), 0);
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(OtherWindowsTest, KeywordEditorsHelpOpensItsTopicInTheHelpWindow)
{
    startWithPrefs();
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_SOURCE_DIR "/data/info/intro.hlp"),
                            exeDir + QStringLiteral("info/intro.hlp")));
    core::TKeywordList list;
    widget::TKeywordsEditorDlg editor(list, true, true, window.get());
    auto *helpButton = editor.findChild<QPushButton *>(QStringLiteral("btnHelp"));
    ASSERT_NE(helpButton, nullptr);
    helpButton->click();
    auto *help = window->findChild<app::THelpWindow *>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_NE(help->currentTopic(), 0) << "the keyword editor's own topic, not the contents";
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(OtherWindowsTest, F1OpensTheTopicOfTheKeywordAtTheCaretElseTheContents)
{
    startWithPrefs();
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_SOURCE_DIR "/data/info/intro.hlp"),
                            exeDir + QStringLiteral("info/intro.hlp")));
    window->editor->Lines().setText("  MoV ax,1\r\n\r\nint 21h");
    window->editor->setSelStart(3); // inside "MoV"
    QTest::keyClick(window.get(), Qt::Key_F1);
    auto *help = window->findChild<app::THelpWindow *>();
    ASSERT_NE(help, nullptr);
    const int movTopic = help->helpFile().find(QStringLiteral("MOV"));
    ASSERT_GT(movTopic, 0);
    EXPECT_EQ(help->currentTopic(), movTopic);

    window->editor->setSelStart(5); // just after "MoV"
    help->showTopic(0);
    QTest::keyClick(window.get(), Qt::Key_F1);
    EXPECT_EQ(help->currentTopic(), movTopic);

    window->editor->setSelStart(12); // the blank line
    QTest::keyClick(window.get(), Qt::Key_F1);
    EXPECT_EQ(help->currentTopic(), 0);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(OtherWindowsTest, F1FindsEveryWordTheHelpKnowsWhateverTheKeywordList)
{
    startWithPrefs();
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_SOURCE_DIR "/data/info/intro.hlp"),
                            exeDir + QStringLiteral("info/intro.hlp")));
    window->editor->Keywords().Clear();
    const std::string text = "xor ax,ax\r\nDiv bl\r\nmsg db 1\r\nmain proc\r\nmov dx,offset msg\r\n.MoDeL small\r\n"
                             "frobnicate";
    window->editor->Lines().setText(text);
    for (const auto &[word, topic] :
         {std::pair{"xor", "XOR"}, std::pair{"Div", "DIV"}, std::pair{"db", "DB"}, std::pair{"proc", "PROC"},
          std::pair{"offset", "OFFSET"}, std::pair{"MoDeL", ".MODEL"}, std::pair{"frobnicate", "Contents"}}) {
        window->editor->setSelStart(static_cast<std::int32_t>(text.find(word)) + 1);
        QTest::keyClick(window.get(), Qt::Key_F1);
        auto *help = window->findChild<app::THelpWindow *>();
        ASSERT_NE(help, nullptr);
        EXPECT_EQ(help->helpFile().topics()[help->currentTopic()].title, QString::fromLatin1(topic)) << word;
        help->showTopic(1);
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(OtherWindowsTest, InfoMenuItemsOpenTheirPagesDressedByThePack)
{
    writeInfoFile(QStringLiteral("LNGPAK_Rus.lng"),
                  "[Info_Language]\nInfoW.Caption=Infos\nInfow.TabSheet2.caption=Codes\n");
    writeInfoFile(QStringLiteral("chainik.txt"), "FAQ\n");
    writeInfoFile(QStringLiteral("optimization.txt"), "notes\n");
    startWithPrefs();
    app::TInfoW &info = *window->InfoW;
    const char *const items[] = {"faq", "ASCIITAble1", "Optimizationinfo1"};
    for (int page = 0; page < 3; ++page) {
        info.pageControl().setCurrentIndex((page + 1) % 3);
        int shownPage = -1;
        whileModal([&] { component<QAction>(items[page])->trigger(); },
                   [&](QWidget &modal) {
                       EXPECT_EQ(&modal, &info);
                       shownPage = info.pageControl().currentIndex();
                   });
        EXPECT_EQ(shownPage, page) << items[page];
    }
    EXPECT_EQ(info.windowTitle(), QStringLiteral("Infos"));
    EXPECT_EQ(info.pageControl().tabText(1), QStringLiteral("Codes"));
    EXPECT_EQ(info.faqMemo().Lines().Text(), "FAQ\r\n");
    EXPECT_TRUE(dialogs.messages.empty());
}

} // namespace
} // namespace velmora::testing
