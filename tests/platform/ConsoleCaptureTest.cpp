// A DOS program run for the user (a shown window with an output file) goes through the
// console capture helper: what it prints shows on the screen and also lands in the file,
// with the keys DOS echoes; what it writes elsewhere is its own business.
#include "platform/DosRunner.h"
#include "platform/ProcessRunner.h"

#include "DosBoxStartCommands.h"
#include "TemporaryCurrentDir.h"
#include "support/DosPrograms.h"
#include "support/ScriptedDialogs.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace velmora::platform;
using velmora::testing::assembleDosProgram;
using velmora::testing::dosToolsInstalled;
using velmora::testing::promptComSource;
using velmora::testing::ScriptedDialogs;
using velmora::testing::startCommands;
using velmora::testing::TemporaryCurrentDir;

namespace
{

const RunOptions shown{DosWindow::Shown};

// Every way of reaching the console through DOS, in this order: function 2, 0Ch with 6
// (whose flush drops the keyboard buffer, so it comes before the keys are typed ahead),
// 6, 0Ah reading "ab" Enter, 40h to standard error, 3Fh reading "cd" Enter from the
// console; then standard output moved to a file of the program's own (46h), which 9 and 2
// write to. What goes into that file names the handle DOS gave it: the first free one, 5,
// unless the program inherited a handle it does not know of.
const QByteArray everyPathSource = "org 100h\n"
                                   "    mov dl, '<'\n"
                                   "    mov ah, 2\n"
                                   "    int 21h\n"
                                   "    mov dl, '>'\n"
                                   "    mov ax, 0C06h\n"
                                   "    int 21h\n"
                                   "    mov si, keys\n"
                                   "type: lodsb\n"
                                   "    test al, al\n"
                                   "    jz typed\n"
                                   "    mov cl, al\n"
                                   "    xor ch, ch\n"
                                   "    mov ah, 5\n"
                                   "    int 16h\n"
                                   "    jmp type\n"
                                   "typed:\n"
                                   "    mov dl, '['\n"
                                   "    mov ah, 6\n"
                                   "    int 21h\n"
                                   "    mov dx, line\n"
                                   "    mov ah, 0Ah\n"
                                   "    int 21h\n"
                                   "    mov dx, lf\n"
                                   "    mov cx, 1\n"
                                   "    mov bx, 2\n"
                                   "    mov ah, 40h\n"
                                   "    int 21h\n"
                                   "    mov dx, buffer\n"
                                   "    mov cx, 20\n"
                                   "    xor bx, bx\n"
                                   "    mov ah, 3Fh\n"
                                   "    int 21h\n"
                                   "    mov dx, own\n"
                                   "    xor cx, cx\n"
                                   "    mov ah, 3Ch\n"
                                   "    int 21h\n"
                                   "    mov bx, ax\n"
                                   "    add al, '0'\n"
                                   "    mov [handle], al\n"
                                   "    mov cx, 1\n"
                                   "    mov ah, 46h\n"
                                   "    int 21h\n"
                                   "    mov dx, hidden\n"
                                   "    mov ah, 9\n"
                                   "    int 21h\n"
                                   "    mov dl, '!'\n"
                                   "    mov ah, 2\n"
                                   "    int 21h\n"
                                   "    mov ax, 4C00h\n"
                                   "    int 21h\n"
                                   "keys db 'ab', 13, 'cd', 13, 0\n"
                                   "line db 10, 0\n"
                                   "    times 11 db 0\n"
                                   "lf db 10\n"
                                   "buffer times 20 db 0\n"
                                   "own db 'OWN.TXT', 0\n"
                                   "hidden db 'handle '\n"
                                   "handle db '?$'\n";

// An executable whose header asks for more memory than DOS has, so that DOS refuses to
// start it (error 8).
const QByteArray tooBigSource = "    db 'MZ'\n"
                                "    dw 37, 1, 0, 2\n"      // bytes in the last page, pages, relocations, header size
                                "    dw 0FFFFh, 0FFFFh\n"   // the least and the most memory it wants, in paragraphs
                                "    dw 0, 100h, 0, 0, 0\n" // SS, SP, checksum, IP, CS
                                "    dw 1Ch, 0\n"
                                "    times 32 - ($ - $$) db 0\n"
                                "    mov ax, 4C00h\n"
                                "    int 21h\n";

QString helperBesideTheTests()
{
    return QCoreApplication::applicationDirPath() + "/contee.com";
}

} // namespace

TEST(ConsoleCapture, AShownRunWithAnOutputFileGoesThroughTheHelper)
{
    if (QStandardPaths::findExecutable("dosbox").isEmpty())
        GTEST_SKIP() << "dosbox is not installed";
    ASSERT_TRUE(QFile::exists(helperBesideTheTests())) << "the build puts the helper beside the program";
    TemporaryCurrentDir cwd;
    const QString program = cwd.write("PROG.COM", "");
    const QString helperFolder = QCoreApplication::applicationDirPath();

    // No display: the window cannot be seen, so nothing waits for a key at the end.
    EXPECT_EQ(startCommands(dosBoxStart(program, " a  50%", "run.out", DosWindow::Shown)),
              (QStringList{"mount C \"" + cwd.path() + "\"", "mount D \"" + helperFolder + "\"",
                           "C:", "D:\\contee.com run.out PROG.COM a  50%%", "exit"}));
    // Hidden runs and runs without an output file are left as they were.
    EXPECT_EQ(startCommands(dosBoxStart(program, "", "run.out", DosWindow::Hidden)).at(2), "PROG.COM >run.out");
    EXPECT_EQ(startCommands(dosBoxStart(program, "", "", DosWindow::Shown)).at(2), "PROG.COM");
}

TEST(ConsoleCapture, APromptAndTheKeyTypedShowOnTheScreenAndLandInTheFile)
{
    if (!dosToolsInstalled())
        GTEST_SKIP() << "nasm and dosbox are needed";
    TemporaryCurrentDir cwd;
    ScriptedDialogs dialogs;
    ASSERT_TRUE(assembleDosProgram(promptComSource('x'), cwd.filePath("prompt.com")));

    EXPECT_EQ(RunTool("prompt.com >run.out", shown).status, RunStatus::Ended);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(cwd.read("run.out"), "Press a key: x\r\nYou pressed x\r\n");
    const QByteArray screen = cwd.read("SCREEN.TXT");
    ASSERT_EQ(screen.size(), 80 * 25);
    EXPECT_TRUE(screen.contains("Press a key: x")) << "the screen shows the prompt and the echo too";
    EXPECT_TRUE(screen.contains("You pressed x"));
}

TEST(ConsoleCapture, EveryConsolePathIsCapturedAndAProgramsOwnFileIsNot)
{
    if (!dosToolsInstalled())
        GTEST_SKIP() << "nasm and dosbox are needed";
    TemporaryCurrentDir cwd;
    ScriptedDialogs dialogs;
    ASSERT_TRUE(assembleDosProgram(everyPathSource, cwd.filePath("every.com")));

    EXPECT_EQ(RunTool("every.com >run.out", shown).status, RunStatus::Ended);
    EXPECT_EQ(cwd.read("run.out"), "<>[ab\r\ncd\r\n");
    EXPECT_EQ(cwd.read("OWN.TXT"), "handle 5!");
}

TEST(ConsoleCapture, AProgramDosCannotStartIsReportedInTheFile)
{
    if (!dosToolsInstalled())
        GTEST_SKIP() << "nasm and dosbox are needed";
    TemporaryCurrentDir cwd;
    ScriptedDialogs dialogs;
    ASSERT_TRUE(assembleDosProgram(tooBigSource, cwd.filePath("big.exe")));

    EXPECT_EQ(RunTool("big.exe >run.out", shown).status, RunStatus::Ended);
    EXPECT_EQ(cwd.read("run.out"), "\r\nThe program cannot be started. DOS error 8\r\n");
}
