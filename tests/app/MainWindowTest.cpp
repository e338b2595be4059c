// Start-up, caption, page switching, key precedence and closing of the main window.
#include "AppFixture.h"
#include "platform/DosRunner.h"

#include "app/FindDialog.h"
#include "app/StatusBar.h"
#include "editor/widget/SourceMemo.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QToolButton>

#include <stdexcept>

namespace velmora::testing
{
namespace
{

// A control that wants every key, the way an editor does.
class KeySwallower : public QWidget
{
public:
    explicit KeySwallower(QWidget *parent) : QWidget(parent) { setFocusPolicy(Qt::StrongFocus); }
    int keysSeen = 0; // keys other than the modifier keys themselves

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::ShortcutOverride) {
            e->accept();
            return true;
        }
        return QWidget::event(e);
    }
    void keyPressEvent(QKeyEvent *e) override
    {
        const int key = e->key();
        if (key != Qt::Key_Control && key != Qt::Key_Shift && key != Qt::Key_Alt)
            ++keysSeen;
    }
};

class MainWindowTest : public AppFixture
{
protected:
    QTabWidget *pages() const { return component<QTabWidget>("Pages"); }
    app::TStatusBar *statusBar() const { return component<app::TStatusBar>("sb"); }

    QString makeSource(const char *name)
    {
        const QString path = folder.path() + QLatin1Char('/') + QString::fromLatin1(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("mov ax,4C00h\r\nint 21h\r\n");
        return path;
    }
};

TEST_F(MainWindowTest, StartsUntitledOnTheEditorPage)
{
    auto &w = start();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Untitled - Velmora 3.5f"));
    EXPECT_EQ(w.state().CaptionBase, QStringLiteral("Velmora 3.5f"));
    EXPECT_EQ(pages()->currentIndex(), 0);
    EXPECT_EQ(w.state().TasmParams, QStringLiteral("/z "));
    EXPECT_TRUE(w.state().TlinkParams.isEmpty());
    EXPECT_TRUE(w.state().CurrentFile.isEmpty());
    EXPECT_TRUE(statusBar()->panelText(0).isEmpty());
    EXPECT_EQ(w.state().HelpFile, exeDir + QStringLiteral("info/intro.hlp"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, VirtualDriveSettingGivesTheToolsFolderItsLetterInDos)
{
    if (QStandardPaths::findExecutable(QStringLiteral("dosbox")).isEmpty())
        GTEST_SKIP() << "dosbox is not installed";
    writeIni("[Config]\nVirtDriveEnable=1\nVirtDrive=Y\n");
    auto &w = start();
    const QString tools = w.state().toolsFolder();
    const QString tasm = tools + QStringLiteral("/TASM.EXE");
    QFile(tasm).open(QIODevice::WriteOnly);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(tools);
    const QStringList arguments =
        platform::dosBoxStart(tasm, QString(), QString(), platform::DosWindow::Hidden).arguments;
    QDir::setCurrent(previous);
    platform::mapToolsDrive(QString(), QString());
    EXPECT_TRUE(arguments.contains(QStringLiteral("mount Y \"") + tools + QLatin1Char('"')));
    EXPECT_TRUE(arguments.contains(QStringLiteral("Y:")));
}

TEST_F(MainWindowTest, ArgumentNamingAMissingFileIsIgnoredSilently)
{
    auto &w = start({folder.path() + QStringLiteral("/absent.asm")});
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Untitled - Velmora 3.5f"));
    EXPECT_TRUE(w.state().CurrentFile.isEmpty());
    EXPECT_TRUE(w.state().LastFile.isEmpty());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, ArgumentNamingAFileMakesItCurrentAndLast)
{
    const QString source = makeSource("prog.asm");
    auto &w = start({source});
    EXPECT_EQ(w.state().CurrentFile, source);
    EXPECT_EQ(w.state().LastFile, source);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("prog.asm - Velmora 3.5f"));
    EXPECT_EQ(statusBar()->panelText(0), source);
    EXPECT_EQ(w.editor->Paragraphs().Get(0), "mov ax,4C00h");
    EXPECT_EQ(w.editor->Paragraphs().Get(1), "int 21h");
    w.close();
    EXPECT_TRUE(readIni().contains(QStringLiteral("LastF=") + source + QLatin1Char('\n')));
}

TEST_F(MainWindowTest, ArgumentThatCannotBeReadIsReportedAndStartGoesOn)
{
    // A file that exists but gives an error on reading, whatever the user's rights.
    const QString unreadable = QStringLiteral("/proc/self/mem");
    if (!QFileInfo(unreadable).isFile())
        GTEST_SKIP() << "no /proc";
    auto &w = start({unreadable});
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].kind, platform::MessageKind::Error);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("Cannot")))
        << dialogs.messages[0].text.toStdString();
    EXPECT_TRUE(w.state().CurrentFile.isEmpty());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Untitled - Velmora 3.5f"));
    EXPECT_EQ(w.state().HelpFile, exeDir + QStringLiteral("info/intro.hlp")) << "the later start steps still ran";
}

TEST_F(MainWindowTest, RelativeArgumentIsTakenFromTheCurrentFolder)
{
    const QString source = makeSource("Rel.ASM");
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    auto &w = start({QStringLiteral("Rel.ASM")});
    QDir::setCurrent(previous);
    EXPECT_EQ(w.state().CurrentFile, QFileInfo(source).absoluteFilePath());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Rel.ASM - Velmora 3.5f"));
}

TEST_F(MainWindowTest, NewMakesTheTextUntitledAndDefaultTemplateKeepsTheSetting)
{
    auto &w = start({makeSource("prog.asm")});
    w.state().settings.def_templ = false;
    QTest::keyClick(&w, Qt::Key_D, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(w.state().CurrentFile.isEmpty());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Untitled - Velmora 3.5f"));
    EXPECT_FALSE(w.state().settings.def_templ);
    EXPECT_FALSE(w.state().LastFile.isEmpty()) << "new keeps the last file";
}

TEST_F(MainWindowTest, F6AndTheNextPageButtonCycleThePages)
{
    auto &w = start();
    for (int expected : {1, 2, 3, 0, 1}) {
        QTest::keyClick(&w, Qt::Key_F6);
        EXPECT_EQ(pages()->currentIndex(), expected);
    }
    pages()->setCurrentIndex(3);
    component<QToolButton>("Button1")->click();
    EXPECT_EQ(pages()->currentIndex(), 0) << "Run Output is followed by Editor";
}

TEST_F(MainWindowTest, ParameterDialogsRunFromTheKeysWhileAnOutputMemoHasFocus)
{
    auto &w = start();
    pages()->setCurrentIndex(1);
    auto *memo = component<QPlainTextEdit>("MTasm");
    memo->setFocus();
    ASSERT_TRUE(memo->hasFocus());

    dialogs.inputs.push_back(QStringLiteral("/t"));
    QTest::keyClick(memo, Qt::Key_F8, Qt::ControlModifier);
    ASSERT_EQ(dialogs.inputPrompts.size(), 1u);
    EXPECT_EQ(dialogs.inputPrompts[0], QStringLiteral("TLink Parameters (/t - for .com file)|Input parameters"));
    EXPECT_EQ(w.state().TlinkParams, QStringLiteral("/t"));

    dialogs.inputs.push_back(std::nullopt);
    QTest::keyClick(memo, Qt::Key_F7, Qt::ShiftModifier);
    ASSERT_EQ(dialogs.inputPrompts.size(), 2u);
    EXPECT_EQ(dialogs.inputPrompts[1], QStringLiteral("TAsm Parameters|Input parameters"));
    EXPECT_EQ(w.state().TasmParams, QStringLiteral("/z ")) << "Cancel keeps the parameters";

    QTest::keyClick(memo, Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_EQ(dialogs.inputPrompts.size(), 2u) << "Shift+F8 has no command";
    EXPECT_EQ(pages()->currentIndex(), 1);
}

TEST_F(MainWindowTest, AFocusedControlCannotSwallowTheWindowsShortcuts)
{
    auto &w = start();
    auto *swallower = new KeySwallower(component<QWidget>("EditSheet"));
    swallower->show();
    swallower->setFocus();
    ASSERT_TRUE(swallower->hasFocus());

    QTest::keyClick(swallower, Qt::Key_F6);
    EXPECT_EQ(pages()->currentIndex(), 1);
    QTest::keyClick(swallower, Qt::Key_F8, Qt::ControlModifier);
    EXPECT_EQ(dialogs.inputPrompts.size(), 1u);
    EXPECT_EQ(swallower->keysSeen, 0);

    QTest::keyClick(swallower, Qt::Key_A);
    QTest::keyClick(swallower, Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_EQ(swallower->keysSeen, 2) << "keys without a command reach the control";
    EXPECT_TRUE(w.isVisible());
}

TEST_F(MainWindowTest, PopupMenuOfTheFocusedControlComesBeforeTheMainMenu)
{
    start();
    auto *host = component<QWidget>("EditSheet");
    auto *control = new KeySwallower(host);
    auto *popupItem = new QAction(QStringLiteral("Comment here"), host);
    popupItem->setShortcut(Qt::CTRL | Qt::Key_K);
    host->addAction(popupItem);
    int popupRuns = 0;
    QObject::connect(popupItem, &QAction::triggered, [&] { ++popupRuns; });
    control->show();
    control->setFocus();

    QTest::keyClick(control, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(popupRuns, 1);
    QTest::keyClick(control, Qt::Key_F6);
    EXPECT_EQ(pages()->currentIndex(), 1) << "other keys still reach the window's commands";
    EXPECT_EQ(control->keysSeen, 0);
}

TEST_F(MainWindowTest, KeysInOtherWindowsAreLeftAlone)
{
    auto &w = start();
    QWidget other;
    other.show();
    QTest::keyClick(&other, Qt::Key_F6);
    EXPECT_EQ(pages()->currentIndex(), 0);
    EXPECT_TRUE(w.isVisible());
}

TEST_F(MainWindowTest, OpenShowsTheOpenDialogAndTakesTheChosenFile)
{
    auto &w = start();
    QTest::keyClick(&w, Qt::Key_F3);
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    const auto &request = dialogs.fileRequests[0];
    EXPECT_EQ(request.filter, QStringLiteral("ASM Sources (.asm)|*.asm|All Files|*.*"));
    EXPECT_EQ(request.defaultExt, QStringLiteral("asm"));
    EXPECT_EQ(request.initialDir, QDir::homePath()) << "nothing opened yet: the home folder";
    EXPECT_TRUE(w.state().CurrentFile.isEmpty()) << "cancel changes nothing";

    const QString source = makeSource("other.asm");
    dialogs.files.push_back(source);
    component<QToolButton>("Open")->click();
    EXPECT_EQ(w.state().CurrentFile, source);
    EXPECT_EQ(w.state().LastFile, source);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("other.asm - Velmora 3.5f"));
}

TEST_F(MainWindowTest, LanguagePackInTheInfoFolderDressesTheWindowAtStart)
{
    QFile pack(exeDir + QStringLiteral("info/LNGPAK_Rus.lng"));
    ASSERT_TRUE(pack.open(QIODevice::WriteOnly));
    pack.write("[Language]\ntasm.Caption=Assemble\nLastf_hint=Last:\nod.Filter=Sources|*.asm\n");
    pack.close();
    auto &w = start();
    EXPECT_EQ(component<QToolButton>("Tasm")->text(), QStringLiteral("Assemble"));
    EXPECT_TRUE(component<QToolButton>("Tlink")->text().isEmpty()) << "a key the pack lacks blanks its text";
    w.state().LastFile = QStringLiteral("/a.asm");
    w.LastMouseMove();
    EXPECT_EQ(component<QToolButton>("Last")->toolTip(), QStringLiteral("Last:/a.asm"));
    QTest::keyClick(&w, Qt::Key_F3);
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].filter, QStringLiteral("Sources|*.asm"));
}

TEST_F(MainWindowTest, CharsetItemsCheckOneAnother)
{
    start();
    auto *windows = component<QAction>("Windows1");
    auto *dos = component<QAction>("DOS1");
    dos->trigger();
    EXPECT_TRUE(dos->isChecked());
    EXPECT_FALSE(windows->isChecked());
    dos->trigger();
    EXPECT_TRUE(dos->isChecked()) << "choosing the checked item keeps it checked";
    windows->trigger();
    EXPECT_TRUE(windows->isChecked());
    EXPECT_FALSE(dos->isChecked());
}

TEST_F(MainWindowTest, FindDialogStartsDownwardsAndFindNextClosesIt)
{
    auto &w = start();
    QTest::keyClick(&w, Qt::Key_F3, Qt::ControlModifier);
    auto *find = component<app::TFindDialog>("FD");
    ASSERT_TRUE(find->isVisible());
    EXPECT_FALSE(find->isModal());
    EXPECT_TRUE(find->down());
    EXPECT_FALSE(find->matchCase());
    EXPECT_FALSE(find->wholeWord());

    find->findChild<QLineEdit *>(QStringLiteral("FindText"))->setText(QStringLiteral("ax"));
    find->findChild<QRadioButton *>(QStringLiteral("DirectionUp"))->setChecked(true);
    find->findChild<QCheckBox *>(QStringLiteral("MatchCase"))->setChecked(true);
    find->findChild<QCheckBox *>(QStringLiteral("WholeWord"))->setChecked(true);
    EXPECT_EQ(find->findText(), QStringLiteral("ax"));
    EXPECT_FALSE(find->down());
    EXPECT_TRUE(find->matchCase());
    EXPECT_TRUE(find->wholeWord());

    find->findChild<QPushButton *>(QStringLiteral("FindNext"))->click();
    EXPECT_FALSE(find->isVisible());
    EXPECT_EQ(find->findText(), QStringLiteral("ax")) << "the options stay for Search Again";
}

TEST_F(MainWindowTest, ErrorsOfACommandAreShownAndEndOnlyThatCommand)
{
    start();
    bool after = false;
    app::TVelmora::runCommand([&] {
        throw std::runtime_error("Cannot open file \"/x.asm\". No such file or directory");
        after = true;
    });
    EXPECT_FALSE(after);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Cannot open file \"/x.asm\". No such file or directory"));
}

TEST_F(MainWindowTest, F12TheExitButtonAndTheExitItemCloseTheWindowAndWriteTheSettings)
{
    const std::function<void(app::TVelmora &)> closers[] = {
        [](app::TVelmora &w) { QTest::keyClick(&w, Qt::Key_F12); },
        [this](app::TVelmora &) { component<QToolButton>("Exit")->click(); },
        [this](app::TVelmora &) { component<QAction>("Exit1")->trigger(); },
    };
    for (const auto &closeWindow : closers) {
        QFile::remove(iniPath());
        auto &w = start();
        closeWindow(w);
        EXPECT_FALSE(w.isVisible());
        EXPECT_TRUE(readIni().startsWith(QStringLiteral("[Font]\nSize=10\n")));
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

} // namespace
} // namespace velmora::testing
