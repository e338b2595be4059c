// What a student meets every day: the editor has the keyboard at start and after every file
// command, the caret panel follows the caret, the file dialogs start where the work is, the
// window comes back where it was, Ctrl+A selects all and Escape closes the help.
#include "AppFixture.h"
#include "app/FindDialog.h"
#include "app/StatusBar.h"
#include "editor/widget/SourceMemo.h"

#include <QAction>
#include <QApplication>
#include <QTabWidget>

#include <cstdlib>

namespace velmora::testing
{
namespace
{

class EverydayPathsTest : public AppFixture
{
protected:
    QString caretPanel() const { return component<app::TStatusBar>("sb")->panelText(1); }
    QString source(const char *name, const QByteArray &text = "mov ax, 1\r\nint 21h\r\n")
    {
        const QString path = folder.path() + QStringLiteral("/work/") + QString::fromLatin1(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }
    void run(void (app::TVelmora::*command)())
    {
        app::TVelmora::runCommand([&] { (window.get()->*command)(); });
    }
};

TEST_F(EverydayPathsTest, TheEditorHasTheKeyboardAtStartAndAfterEveryFileCommand)
{
    auto &w = start();
    EXPECT_EQ(QApplication::focusWidget(), w.editor) << "typing right after start goes into the text";
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("xy"));
    EXPECT_TRUE(w.editor->Modified());

    const QString prog = source("prog.asm");
    const auto *pages = component<QTabWidget>("Pages");
    for (auto command :
         {&app::TVelmora::OpenA, &app::TVelmora::SaveA, &app::TVelmora::NewA, &app::TVelmora::LastFileA}) {
        component<QTabWidget>("Pages")->setCurrentIndex(2);
        component<QWidget>("MTasm")->setFocus();
        dialogs.files.push_back(prog);
        dialogs.answers.push_back(platform::Answer::Discard);
        run(command);
        dialogs.files.clear();
        dialogs.answers.clear();
        EXPECT_EQ(pages->currentIndex(), 0);
        EXPECT_EQ(QApplication::focusWidget(), w.editor);
    }
    EXPECT_EQ(w.state().CurrentFile, prog);
}

TEST_F(EverydayPathsTest, TheCaretPanelFollowsTypingKeysAndFind)
{
    auto &w = start({source("prog.asm")});
    widget::TSourceMemo &memo = *w.editor;
    EXPECT_EQ(caretPanel(), QStringLiteral("1 : 1")) << "shown at once after the open";

    QTest::keyClicks(&memo, QStringLiteral("abc"));
    EXPECT_EQ(caretPanel(), QStringLiteral("1 : 4"));
    QTest::keyClick(&memo, Qt::Key_Down);
    EXPECT_TRUE(caretPanel().startsWith(QStringLiteral("2 : "))) << caretPanel().toStdString();
    QTest::keyClick(&memo, Qt::Key_Return);
    EXPECT_EQ(caretPanel(), QStringLiteral("3 : 1"));

    auto *find = component<app::TFindDialog>("FD");
    find->setFindText(QStringLiteral("ax"));
    memo.setSelStart(0);
    run(&app::TVelmora::SearchAgain1Click);
    EXPECT_EQ(caretPanel(), QStringLiteral("1 : 10")) << "after Find the caret stands after the match";
}

TEST_F(EverydayPathsTest, OpenAndSaveAsStartWhereTheWorkIsNeverInTheToolsFolder)
{
    auto &w = start();
    run(&app::TVelmora::OpenA);
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].initialDir, QDir::homePath()) << "nothing used yet: home";

    const QString prog = source("prog.asm");
    dialogs.files.push_back(prog);
    run(&app::TVelmora::OpenA);
    run(&app::TVelmora::SaveAsA);
    const QString work = QFileInfo(prog).canonicalPath();
    EXPECT_EQ(dialogs.fileRequests[2].initialDir, work) << "the source's folder";

    // Untitled after New: the folder of the last file.
    run(&app::TVelmora::NewA);
    run(&app::TVelmora::OpenA);
    EXPECT_EQ(dialogs.fileRequests[3].initialDir, work);

    // A copy in the tools folder is never where the dialogs start.
    const QString copy = w.state().toolsFolder() + QStringLiteral("/prog.asm");
    QFile::copy(prog, copy);
    dialogs.files.push_back(copy);
    run(&app::TVelmora::OpenA);
    ASSERT_EQ(w.state().CurrentFile, copy);
    run(&app::TVelmora::SaveAsA);
    EXPECT_EQ(dialogs.fileRequests.back().initialDir, QDir::homePath());
}

TEST_F(EverydayPathsTest, TheWindowComesBackWithItsPlaceSizeAndMaximisedState)
{
    auto &w = start();
    w.setGeometry(60, 50, 620, 420);
    const QPoint corner = w.pos();
    w.close();
    window.reset();
    start();
    EXPECT_EQ(window->pos(), corner);
    EXPECT_EQ(window->size(), QSize(620, 420));
    EXPECT_FALSE(window->isMaximized());

    window->showMaximized();
    window->close();
    EXPECT_TRUE(readIni().contains(QStringLiteral("Maximized=1")));
    EXPECT_TRUE(readIni().contains(QStringLiteral("Width=620"))) << "the size it goes back to";
    window.reset();
    start();
    EXPECT_TRUE(window->isMaximized());
    window->close();
    EXPECT_TRUE(readIni().contains(QStringLiteral("Maximized=1")));
    EXPECT_TRUE(readIni().contains(QStringLiteral("Width=620"))) << "kept through a maximised run";
}

TEST_F(EverydayPathsTest, CtrlASelectsAllAndEscapeClosesTheHelp)
{
    QFile::copy(QStringLiteral(VELMORA_SOURCE_DIR "/data/info/intro.hlp"), exeDir + QStringLiteral("info/intro.hlp"));
    auto &w = start({source("prog.asm")});
    QTest::keyClick(w.editor, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(std::abs(w.editor->SelLength()), w.editor->TextLength()) << "the whole text is selected";

    component<QAction>("HelpShowA")->trigger();
    QWidget *help = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("HelpWindow"))
            help = top;
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(help->isVisible());
    QTest::keyClick(help->focusWidget() ? help->focusWidget() : help, Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
}

} // namespace
} // namespace velmora::testing
