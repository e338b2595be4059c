// "Run on the built-in PC" in the main window: the program beside the source runs in the
// console window, keys typed there reach it, its screen shows what it wrote, Run Output
// receives its DOS output, and Stop, Ctrl+Break and closing the window end a program that
// never ends, with the editor's text left as it was.
#include "../AppFixture.h"

#include "app/console/PcConsole.h"
#include "editor/widget/SourceMemo.h"
#include "support/DosPrograms.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

namespace velmora::testing
{
namespace
{

// Prints a prompt, reads a line through INT 21h function 0Ah, prints "Hello, " and the
// line on the next row, and ends with exit code 7.
const QByteArray echoSource = "org 100h\n"
                              "    mov dx, prompt\n"
                              "    mov ah, 9\n"
                              "    int 21h\n"
                              "    mov dx, buffer\n"
                              "    mov ah, 0Ah\n"
                              "    int 21h\n"
                              "    mov dx, hello\n"
                              "    mov ah, 9\n"
                              "    int 21h\n"
                              "    mov bx, 1\n"
                              "    xor cx, cx\n"
                              "    mov cl, [buffer + 1]\n"
                              "    mov dx, buffer + 2\n"
                              "    mov ah, 40h\n"
                              "    int 21h\n"
                              "    mov dx, bang\n"
                              "    mov ah, 9\n"
                              "    int 21h\n"
                              "    mov ax, 4C07h\n"
                              "    int 21h\n"
                              "prompt db 'Name? $'\n"
                              "hello db 10, 'Hello, $'\n"
                              "bang db '!', 13, 10, '$'\n"
                              "buffer db 40, 0\n"
                              "    times 41 db 0\n";

// Says it loops, then loops for ever.
const QByteArray loopSource = "org 100h\n"
                              "    mov dx, msg\n"
                              "    mov ah, 9\n"
                              "    int 21h\n"
                              "spin: jmp spin\n"
                              "msg db 'Looping', 13, 10, '$'\n";

class RunOnBuiltInPcTest : public AppFixture
{
protected:
    // Starts the window on prog.asm in a source folder, with an unsaved edit in its text,
    // and the program built from nasm source beside it (none when programSource is empty).
    app::TVelmora &startWith(const QByteArray &programSource, const char *programName = "prog.com")
    {
        sourceDir = folder.path() + QStringLiteral("/src/");
        QDir().mkpath(sourceDir);
        sourceBytes = "; the student's source\r\n";
        sourcePath = writeFile("src/prog.asm", sourceBytes);
        if (!programSource.isEmpty()) {
            EXPECT_TRUE(assembleDosProgram(programSource, sourceDir + QString::fromLatin1(programName)));
        }
        app::TVelmora &w = start();
        w.OpenSourceFile(sourcePath);
        w.editor->SetSelTextBuf("unsaved ");
        textBefore = editorText();
        return w;
    }

    std::string editorText() const { return window->editor->textRange(0, window->editor->TextLength()); }
    app::PcConsole *console() const { return component<app::PcConsole>("PcConsole"); }
    QWidget *screenView() const { return console()->findChild<QWidget *>(QStringLiteral("ConsoleScreen")); }
    QString status() const { return console()->findChild<QLabel *>(QStringLiteral("ConsoleStatus"))->text(); }
    QString runOutput() const { return component<QPlainTextEdit>("MRun")->toPlainText(); }
    bool ended() const
    {
        return QTest::qWaitFor([this] { return !console()->running(); }, 10000);
    }

    // The run changed neither the text in the editor nor the file.
    void expectSourceUntouched() const
    {
        EXPECT_EQ(editorText(), textBefore);
        EXPECT_TRUE(window->editor->Modified());
        EXPECT_EQ(readFile(sourcePath), sourceBytes);
    }

    QString sourceDir;
    QString sourcePath;
    QByteArray sourceBytes;
    std::string textBefore;
};

TEST_F(RunOnBuiltInPcTest, TypedLineReachesTheProgramAndItsEchoTheScreenAndRunOutput)
{
    app::TVelmora &w = startWith(echoSource);
    component<QPlainTextEdit>("MRun")->setPlainText(QStringLiteral("from the run before"));

    // Shift+F9 in the editor is the command's key.
    QTest::keyClick(w.editor, Qt::Key_F9, Qt::ShiftModifier);
    ASSERT_NE(console(), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(console()));
    EXPECT_TRUE(console()->running());
    EXPECT_EQ(runOutput(), QString()) << "a new run clears the page";
    EXPECT_EQ(component<QLabel>("RunCMDStr")->text(), sourceDir + QStringLiteral("prog.com"));
    EXPECT_TRUE(QTest::qWaitFor([this] { return console()->screen().rowText(0).starts_with("Name? "); }));

    QTest::keyClicks(screenView(), QStringLiteral("Ann"));
    QTest::keyClick(screenView(), Qt::Key_Backspace);
    QTest::keyClicks(screenView(), QStringLiteral("a"));
    QTest::keyClick(screenView(), Qt::Key_Return);
    ASSERT_TRUE(ended());

    EXPECT_EQ(console()->screen().rowText(0).substr(0, 10), "Name? Ana ");
    EXPECT_EQ(console()->screen().rowText(1).substr(0, 12), "Hello, Ana! ");
    EXPECT_EQ(status(), QStringLiteral("The program ended with exit code 7."));
    // The echo of the line input, the erased letter included, as a redirection file holds it.
    EXPECT_EQ(runOutput(), QStringLiteral("Name? Ann\b \ba\nHello, Ana!\n"));
    expectSourceUntouched();
}

TEST_F(RunOnBuiltInPcTest, CyrillicKeysReachTheProgramInCodePage866)
{
    startWith(echoSource);
    window->RunBuiltInPcClick();
    // As the Russian layout types them: the letter's own key code and text.
    for (const QChar letter : QStringLiteral(u"Юля"))
        QTest::sendKeyEvent(QTest::Click, screenView(), Qt::Key(letter.toUpper().unicode()), QString(letter), {});
    QTest::keyClick(screenView(), Qt::Key_Return);
    ASSERT_TRUE(ended());
    EXPECT_EQ(console()->screen().rowText(1).substr(0, 11), "Hello, \x9E\xAB\xEF!");
    EXPECT_EQ(runOutput(), QStringLiteral(u"Name? Юля\nHello, Юля!\n"));
}

enum class Ending { StopButton, CtrlBreak, CloseWindow };

class EndlessProgramTest : public RunOnBuiltInPcTest, public ::testing::WithParamInterface<Ending>
{
};

TEST_P(EndlessProgramTest, EndsAndLeavesTheSourceAsItWas)
{
    startWith(loopSource);
    window->RunBuiltInPcClick();
    ASSERT_NE(console(), nullptr);
    // The window keeps handling events while the program spins.
    QTest::qWait(200);
    ASSERT_TRUE(console()->running());
    EXPECT_EQ(runOutput(), QString()) << "Run Output fills when the run ends";

    auto *stop = console()->findChild<QPushButton *>(QStringLiteral("ConsoleStop"));
    EXPECT_TRUE(stop->isEnabled());
    switch (GetParam()) {
    case Ending::StopButton:
        QTest::mouseClick(stop, Qt::LeftButton);
        break;
    case Ending::CtrlBreak:
        QTest::keyClick(screenView(), Qt::Key_Pause, Qt::ControlModifier);
        break;
    case Ending::CloseWindow:
        console()->close();
        EXPECT_FALSE(console()->isVisible());
        break;
    }
    EXPECT_FALSE(console()->running());
    EXPECT_FALSE(stop->isEnabled());
    EXPECT_EQ(status(), QStringLiteral("The program was stopped."));
    EXPECT_EQ(runOutput(), QStringLiteral("Looping\n"));
    expectSourceUntouched();
}

INSTANTIATE_TEST_SUITE_P(Endings, EndlessProgramTest,
                         ::testing::Values(Ending::StopButton, Ending::CtrlBreak, Ending::CloseWindow));

TEST_F(RunOnBuiltInPcTest, AServiceThePcLacksStopsTheProgramWithItsMessage)
{
    startWith("org 100h\n    mov ah, 0FFh\n    int 21h\n    int 20h\n");
    window->RunBuiltInPcClick();
    ASSERT_TRUE(ended());
    EXPECT_TRUE(status().startsWith(QStringLiteral("The program was stopped: "))) << status().toStdString();
    EXPECT_TRUE(status().contains(QStringLiteral("21"))) << "names the interrupt: " << status().toStdString();
}

TEST_F(RunOnBuiltInPcTest, WithoutAProgramItSaysSoAndDoesNothingElse)
{
    startWith({});
    component<QPlainTextEdit>("MRun")->setPlainText(QStringLiteral("kept"));
    window->RunBuiltInPcClick();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Neither prog.exe nor prog.com was found beside prog.asm: "
                                                       "assemble and link it first. Nothing was run."));
    EXPECT_EQ(console(), nullptr);
    EXPECT_EQ(runOutput(), QStringLiteral("kept"));
    expectSourceUntouched();

    // A program that is no program: the loader's reason, and still nothing else.
    writeFile("src/PROG.EXE", "MZ\x01");
    window->RunBuiltInPcClick();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_TRUE(dialogs.messages[1].text.startsWith(sourceDir + QStringLiteral("PROG.EXE could not be loaded on the "
                                                                               "built-in PC: ")))
        << dialogs.messages[1].text.toStdString();
    EXPECT_TRUE(console() == nullptr || !console()->isVisible());
    EXPECT_EQ(runOutput(), QStringLiteral("kept"));
}

TEST_F(RunOnBuiltInPcTest, AnUntitledTextHasNoProgram)
{
    start();
    window->RunBuiltInPcClick();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, app::ConsoleTexts().untitled);
    EXPECT_EQ(console(), nullptr);
}

TEST_F(RunOnBuiltInPcTest, TheRussianPackNamesTheCommandAndTheConsole)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_SOURCE_DIR "/data/info/LNGPAK_Rus.lng"),
                            exeDir + QStringLiteral("info/LNGPAK_Rus.lng")));
    app::TVelmora &w = startWith(echoSource);
    EXPECT_EQ(w.findChild<QAction *>(QStringLiteral("RunBuiltInPc1"))->text(),
              QStringLiteral(u"Запустить на встроенном ПК"));
    w.RunBuiltInPcClick();
    EXPECT_EQ(console()->findChild<QPushButton *>(QStringLiteral("ConsoleStop"))->text(), QStringLiteral(u"Стоп"));
    EXPECT_EQ(console()->windowTitle(), QStringLiteral(u"Встроенный ПК - prog.com"));
    console()->stop();
    EXPECT_EQ(status(), QStringLiteral(u"Программа остановлена."));
}

} // namespace
} // namespace velmora::testing
