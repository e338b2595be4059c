// The built-in debugger in the main window: F10 with the built-in tools builds the source
// with debug information and enters debug mode, where F7, F8, F9, F4, Alt+F7 and F2 are the
// debugger's; the source shows the current line and the breakpoints; Ctrl+F2 leaves the
// mode and gives the keys back.
#include "AppFixture.h"

#include "editor/widget/SourceGutter.h"
#include "editor/widget/SourceMemo.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolBar>

namespace velmora::testing
{
namespace
{

// Counts the letters of a string, then prints it. Lines are 1-based in the comments.
const QByteArray loopProgram = ".model small\r\n"           // 1
                               ".stack 100h\r\n"            // 2
                               ".data\r\n"                  // 3
                               "msg db 'Hi you$'\r\n"       // 4
                               "count dw 0\r\n"             // 5
                               ".code\r\n"                  // 6
                               "start:\r\n"                 // 7
                               "    mov ax, @data\r\n"      // 8
                               "    mov ds, ax\r\n"         // 9
                               "    mov si, offset msg\r\n" // 10
                               "    xor cx, cx\r\n"         // 11
                               "next:\r\n"                  // 12
                               "    mov al, [si]\r\n"       // 13
                               "    cmp al, '$'\r\n"        // 14
                               "    je done\r\n"            // 15
                               "    inc cx\r\n"             // 16
                               "    inc si\r\n"             // 17
                               "    jmp next\r\n"           // 18
                               "done:\r\n"                  // 19
                               "    mov count, cx\r\n"      // 20
                               "    mov ah, 9\r\n"          // 21
                               "    mov dx, offset msg\r\n" // 22
                               "    int 21h\r\n"            // 23
                               "    mov ax, 4C00h\r\n"      // 24
                               "    int 21h\r\n"            // 25
                               "end start\r\n";             // 26

class DebugModeWindowTest : public AppFixture
{
protected:
    void TearDown() override { QDir::setCurrent(previousFolder); }

    app::TVelmora &startDebugging()
    {
        const QString path = writeFile("loop.asm", loopProgram);
        app::TVelmora &w = start();
        w.OpenSourceFile(path);
        QTest::keyClick(&w, Qt::Key_F10);
        return w;
    }
    // The 1-based line the editor's caret is on.
    int caretLine(app::TVelmora &w) const { return w.editor->SelPar() + 1; }
    QString status() const { return component<QLabel>("DebugStatus")->text(); }
    bool toolBarShown() const { return component<QToolBar>("DebugToolBar")->isVisibleTo(window.get()); }

    const QString previousFolder = QDir::currentPath();
};

TEST_F(DebugModeWindowTest, F10EntersDebugModeAtTheFirstInstruction)
{
    auto &w = startDebugging();
    ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages[0].text.toStdString();
    EXPECT_TRUE(w.debugging());
    EXPECT_TRUE(toolBarShown());
    EXPECT_TRUE(w.windowTitle().contains(w.texts.debugger.modeCaption)) << w.windowTitle().toStdString();
    EXPECT_EQ(caretLine(w), 8);
    EXPECT_EQ(status(), w.texts.debugger.pausedAtLine.arg(8));
    for (const char *dock :
         {"DebugRegistersDock", "DebugStackDock", "DebugMemoryDock", "DebugInstructionsDock", "DebugConsoleDock"})
        EXPECT_TRUE(component<QDockWidget>(dock)->isVisibleTo(&w)) << dock;
    EXPECT_FALSE(component<QDockWidget>("DebugMachineCodeDock")->isVisibleTo(&w));
}

TEST_F(DebugModeWindowTest, TheDebuggersKeysStepRunAndStepBack)
{
    auto &w = startDebugging();
    ASSERT_TRUE(w.debugging());
    QTest::keyClick(&w, Qt::Key_F7);
    EXPECT_EQ(caretLine(w), 9);
    QTest::keyClick(&w, Qt::Key_F8);
    EXPECT_EQ(caretLine(w), 10);

    // A breakpoint on the label's line stops on the next line with code, and shows there.
    w.editor->selectParagraph(18);
    QTest::keyClick(&w, Qt::Key_F2);
    EXPECT_EQ(w.Gutter->BreakpointLines(), std::vector<std::int32_t>{19});
    QTest::keyClick(&w, Qt::Key_F9);
    EXPECT_TRUE(QTest::qWaitFor([&] { return caretLine(w) == 20; })) << caretLine(w);
    EXPECT_EQ(status(), w.texts.debugger.atBreakpoint.arg(20));

    QTest::keyClick(&w, Qt::Key_F7, Qt::AltModifier);
    EXPECT_EQ(caretLine(w), 10);
    QTest::keyClick(&w, Qt::Key_F7, Qt::AltModifier);
    EXPECT_EQ(caretLine(w), 9);

    // Run to the caret's line: the breakpoint on the way stops it first.
    w.editor->selectParagraph(22);
    QTest::keyClick(&w, Qt::Key_F4);
    EXPECT_TRUE(QTest::qWaitFor([&] { return caretLine(w) == 20; })) << caretLine(w);
    w.editor->selectParagraph(22);
    QTest::keyClick(&w, Qt::Key_F4);
    EXPECT_TRUE(QTest::qWaitFor([&] { return caretLine(w) == 23; })) << caretLine(w);
    EXPECT_EQ(status(), w.texts.debugger.pausedAtLine.arg(23));

    // To the end: Run Output gets what the program printed, and the mode stays for a look back.
    w.Gutter->ClearBreakpoints();
    QTest::keyClick(&w, Qt::Key_F9);
    EXPECT_TRUE(QTest::qWaitFor([&] { return status() == w.texts.debugger.ended.arg(0); })) << status().toStdString();
    EXPECT_EQ(component<QPlainTextEdit>("MRun")->toPlainText(), QStringLiteral("Hi you"));
    EXPECT_TRUE(w.debugging());
}

TEST_F(DebugModeWindowTest, ShowMachineCodeListsEachLinesBytesUnderIt)
{
    auto &w = startDebugging();
    ASSERT_TRUE(w.debugging());
    component<QAction>("DebugMachineCode")->trigger();
    EXPECT_TRUE(component<QDockWidget>("DebugMachineCodeDock")->isVisibleTo(&w));
    const QString rows = component<QPlainTextEdit>("DebugMachineCode")->toPlainText();
    // "mov ds, ax" is 8E D8, right under its source line.
    const qsizetype line = rows.indexOf(QStringLiteral("mov ds, ax"));
    ASSERT_GE(line, 0) << rows.toStdString();
    EXPECT_TRUE(rows.mid(line, 60).contains(QStringLiteral("8E D8"))) << rows.mid(line, 60).toStdString();
    component<QAction>("DebugMachineCode")->trigger();
    EXPECT_FALSE(component<QDockWidget>("DebugMachineCodeDock")->isVisibleTo(&w));
}

TEST_F(DebugModeWindowTest, CtrlF2LeavesTheModeAndGivesTheKeysBack)
{
    auto &w = startDebugging();
    ASSERT_TRUE(w.debugging());
    QTest::keyClick(&w, Qt::Key_F2, Qt::ControlModifier);
    EXPECT_FALSE(w.debugging());
    EXPECT_FALSE(toolBarShown());
    EXPECT_FALSE(w.windowTitle().contains(w.texts.debugger.modeCaption));
    EXPECT_FALSE(component<QDockWidget>("DebugRegistersDock")->isVisibleTo(&w));

    // F7 assembles again, and F2 saves.
    QFile::remove(folder.path() + QStringLiteral("/loop.obj"));
    QTest::keyClick(&w, Qt::Key_F7);
    EXPECT_TRUE(QFile::exists(folder.path() + QStringLiteral("/loop.obj")));
    EXPECT_FALSE(w.debugging());
}

TEST_F(DebugModeWindowTest, ASourceWithErrorsStartsNoSession)
{
    const QString path = writeFile("bad.asm", ".model small\r\n.code\r\nstart:\r\n mov ax, nowhere\r\nend start\r\n");
    app::TVelmora &w = start();
    w.OpenSourceFile(path);
    QTest::keyClick(&w, Qt::Key_F10);
    EXPECT_FALSE(w.debugging());
    EXPECT_TRUE(component<QPlainTextEdit>("MTasm")->toPlainText().contains(QStringLiteral("Undefined symbol")));
}

TEST_F(DebugModeWindowTest, TheDebugMenuSpeaksThePacksLanguage)
{
    QFile pack(exeDir + QStringLiteral("info/LNGPAK_Rus.lng"));
    ASSERT_TRUE(pack.open(QIODevice::WriteOnly));
    pack.write("[Language]\nrun.Hint=Run\n[Debugger_Language]\ndebugMenu=Ours\ntraceInto=Inside\n");
    pack.close();
    auto &w = start();
    EXPECT_EQ(component<QAction>("Debug1")->text(), QStringLiteral("Ours"));
    EXPECT_EQ(component<QAction>("DebugTrace")->text(), QStringLiteral("Inside"));
    EXPECT_FALSE(w.debugging());
}

} // namespace
} // namespace velmora::testing
