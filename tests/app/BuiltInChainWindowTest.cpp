// The main window with the built-in tool chain: chosen on a fresh start when the tools
// folder holds no assembler, kept in cf.ini, named in the status bar, and F7, F8 and
// Ctrl+F9 building a student's program with no DOS tool at all.
#include "AppFixture.h"

#include "app/StatusBar.h"
#include "editor/widget/SourceGutter.h"
#include "editor/widget/SourceMemo.h"

#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextBlock>

namespace velmora::testing
{
namespace
{

using toolchain::Chain;

const QByteArray studentProgram = ".model small\r\n"
                                  ".stack 100h\r\n"
                                  ".data\r\n"
                                  "msg db 'Hello$'\r\n"
                                  ".code\r\n"
                                  "start:\r\n"
                                  "    mov ax, @data\r\n"
                                  "    mov ds, ax\r\n"
                                  "    mov ah, 9\r\n"
                                  "    mov dx, offset msg\r\n"
                                  "    int 21h\r\n"
                                  "    mov ax, 4C00h\r\n"
                                  "    int 21h\r\n"
                                  "end start\r\n";

class BuiltInChainWindowTest : public AppFixture
{
protected:
    void TearDown() override { QDir::setCurrent(previousFolder); }

    // Starts on a fresh settings file and an empty tools folder with the program open.
    app::TVelmora &startWithProgram(const QByteArray &text)
    {
        sourcePath = writeFile("prog.asm", text);
        app::TVelmora &w = start();
        w.OpenSourceFile(sourcePath);
        return w;
    }

    QString beside(const char *name) const { return folder.path() + QLatin1Char('/') + QString::fromLatin1(name); }
    QString panel(int index) const { return component<app::TStatusBar>("sb")->panelText(index); }
    QString memoText(const char *name) const { return component<QPlainTextEdit>(name)->toPlainText(); }

    const QString previousFolder = QDir::currentPath();
    QString sourcePath;
};

TEST_F(BuiltInChainWindowTest, F7F8AndCtrlF9BuildWithNoDosToolsAtAll)
{
    auto &w = startWithProgram(studentProgram);
    ASSERT_EQ(w.state().settings.build.toolChain, Chain::BuiltIn);
    EXPECT_EQ(panel(app::TStatusBar::ToolChainPanel), QStringLiteral("Built-in tools"));

    QTest::keyClick(&w, Qt::Key_F7);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(memoText("MTasm").contains(QStringLiteral("Error messages:    None")))
        << memoText("MTasm").toStdString();
    EXPECT_EQ(panel(2), QStringLiteral("Warnings: 0 Errors: 0   -/ OK /-"));
    EXPECT_TRUE(QFile::exists(beside("prog.obj")));

    QTest::keyClick(&w, Qt::Key_F8);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(memoText("MTLink").startsWith(QStringLiteral("Velmora Linker")));
    EXPECT_TRUE(readFile(beside("prog.exe")).startsWith("MZ")) << memoText("MTLink").toStdString();
    EXPECT_EQ(component<QTabWidget>("Pages")->currentIndex(), 2);

    // Ctrl+F9 builds afresh and runs the program on the built-in PC: no DOS program and no
    // DOSBox anywhere, and Run Output receives what it printed.
    QFile::remove(beside("prog.exe"));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray());
    QTest::keyClick(&w, Qt::Key_F9, Qt::ControlModifier);
    qputenv("PATH", path);
    EXPECT_TRUE(QFile::exists(beside("prog.exe")));
    EXPECT_EQ(panel(2), QStringLiteral("Warnings: 0 Errors: 0   -/ OK /-"));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return memoText("MRun") == QStringLiteral("Hello"); }))
        << memoText("MRun").toStdString();
}

TEST_F(BuiltInChainWindowTest, AnErrorIsBookmarkedAndItsLineJumpsToTheSource)
{
    QByteArray text = studentProgram;
    text.replace("mov ah, 9", "mov ah, nothing");
    auto &w = startWithProgram(text);
    QTest::keyClick(&w, Qt::Key_F7);

    EXPECT_EQ(panel(2), QStringLiteral("Warnings: 0 Errors: 1"));
    EXPECT_EQ(w.Gutter->BookmarkLine(1), 8) << memoText("MTasm").toStdString();
    EXPECT_FALSE(QFile::exists(beside("prog.obj")));

    QPlainTextEdit *output = component<QPlainTextEdit>("MTasm");
    const QStringList lines = output->toPlainText().split(QLatin1Char('\n'));
    const int errorLine = int(lines.indexOf(QRegularExpression(QStringLiteral(R"(^\*\*Error\*\* prog\.asm\(9\) .*)"))));
    ASSERT_GE(errorLine, 0) << output->toPlainText().toStdString();
    const QPoint centre = output->cursorRect(QTextCursor(output->document()->findBlockByNumber(errorLine))).center();
    QTest::mouseDClick(output->viewport(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(component<QTabWidget>("Pages")->currentIndex(), 0);
    EXPECT_EQ(w.editor->SelPar(), 8);
}

TEST_F(BuiltInChainWindowTest, TheChoiceIsKeptInTheSettingsFile)
{
    // An assembler in the tools folder makes the DOS tools the default of a fresh file.
    writeFile("Velmora Prog/TTDIR/TASM.EXE", "MZ");
    auto &first = start();
    EXPECT_EQ(first.state().settings.build.toolChain, Chain::DosTools);
    EXPECT_EQ(panel(app::TStatusBar::ToolChainPanel), QStringLiteral("DOS tools"));
    first.state().settings.build.toolChain = Chain::BuiltIn;
    first.close();
    EXPECT_TRUE(readIni().contains(QStringLiteral("\nToolChain=1\n")));

    // Written, the choice holds whatever the tools folder holds.
    EXPECT_EQ(start().state().settings.build.toolChain, Chain::BuiltIn);
    writeIni("[Config]\nToolChain=0\n");
    QFile::remove(exeDir + QStringLiteral("TTDIR/TASM.EXE"));
    EXPECT_EQ(start().state().settings.build.toolChain, Chain::DosTools);

    // A file from before the choice existed gets the default.
    writeIni("[Config]\nTasmFile=tasm.exe\n");
    EXPECT_EQ(start().state().settings.build.toolChain, Chain::BuiltIn);
}

TEST_F(BuiltInChainWindowTest, TheStatusBarNamesTheChainInThePacksWords)
{
    QFile pack(exeDir + QStringLiteral("info/LNGPAK_Rus.lng"));
    ASSERT_TRUE(pack.open(QIODevice::WriteOnly));
    pack.write("[Language]\nrun.Hint=Run\n[MainWindow_Language]\nbuiltInToolsPanel=Ours\ndosToolsPanel=Theirs\n");
    pack.close();
    auto &w = start();
    EXPECT_EQ(panel(app::TStatusBar::ToolChainPanel), QStringLiteral("Ours"));
    w.state().settings.build.toolChain = Chain::DosTools;
    w.apply();
    EXPECT_EQ(panel(app::TStatusBar::ToolChainPanel), QStringLiteral("Theirs"));
}

} // namespace
} // namespace velmora::testing
