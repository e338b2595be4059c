#include "platform/DosRunner.h"
#include "platform/ProcessRunner.h"
#include "platform/RunningWindow.h"

#include "DosBoxStartCommands.h"
#include "TemporaryCurrentDir.h"
#include "support/DosPrograms.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTimer>
#include <gtest/gtest.h>

using namespace velmora::platform;
using velmora::testing::assembleDosProgram;
using velmora::testing::dosToolsInstalled;
using velmora::testing::helloComSource;
using velmora::testing::ScriptedDialogs;
using velmora::testing::startCommands;
using velmora::testing::TemporaryCurrentDir;

namespace
{

const QByteArray helloSource = helloComSource("Hello from DOS");

// Writes its command tail (length at 80h, text from 81h) to standard output, between brackets.
const QByteArray tailSource = "org 100h\n"
                              "    mov dl, '['\n"
                              "    mov ah, 2\n"
                              "    int 21h\n"
                              "    mov cl, [80h]\n"
                              "    xor ch, ch\n"
                              "    mov dx, 81h\n"
                              "    mov bx, 1\n"
                              "    mov ah, 40h\n"
                              "    int 21h\n"
                              "    mov dl, ']'\n"
                              "    mov ah, 2\n"
                              "    int 21h\n"
                              "    mov ax, 4C00h\n"
                              "    int 21h\n";

} // namespace

TEST(DosRunner, RecognisesDosPrograms)
{
    TemporaryCurrentDir cwd;
    EXPECT_TRUE(isDosProgram(cwd.write("tasm.exe", QByteArray("MZ\x90\x00", 4))));
    EXPECT_TRUE(isDosProgram(cwd.write("PROG.COM", "\xb4\x4c\xcd\x21")));
    EXPECT_TRUE(isDosProgram(cwd.write("empty.com", "")));
    EXPECT_FALSE(isDosProgram(cwd.write("stand-in.exe", "#!/bin/sh\n")));
    EXPECT_FALSE(isDosProgram(cwd.write("short.exe", "M")));
    EXPECT_FALSE(isDosProgram(cwd.filePath("missing.exe")));
}

TEST(DosRunner, OutputNamesFollowTheCommandLineWhateverCaseDosWrote)
{
    TemporaryCurrentDir cwd;
    cwd.write("RUN.OUT", "upper");
    adoptOutputName(cwd.path(), "run.out");
    EXPECT_EQ(QDir(cwd.path()).entryList(QDir::Files), QStringList{"run.out"});
    EXPECT_EQ(cwd.read("run.out"), "upper");
    adoptOutputName(cwd.path(), "run.out");
    EXPECT_EQ(cwd.read("run.out"), "upper") << "an exact name is left as it is";
    adoptOutputName(cwd.path(), "none.out");
    EXPECT_FALSE(QFile::exists(cwd.filePath("none.out")));

    cwd.write("Tasm.Out", "");
    cwd.write("TASM.OUT", "");
    cwd.write("tasm.out", "");
    cwd.write("tasm.outx", "");
    removeOutputFile(cwd.path(), "tasm.out");
    EXPECT_EQ(QDir(cwd.path()).entryList(QDir::Files, QDir::Name), (QStringList{"run.out", "tasm.outx"}));
}

TEST(DosRunner, StartsDosBoxWithTheCurrentDirectoryAsDriveC)
{
    if (QStandardPaths::findExecutable("dosbox").isEmpty())
        GTEST_SKIP() << "dosbox is not installed";
    TemporaryCurrentDir cwd;
    const QString local = cwd.write("TASM.EXE", "MZ");
    const QString elsewhere = cwd.write("bin/Prog.com", "");

    const DosBoxStart here = dosBoxStart(local, " /z  50%.asm", "tasm.out", DosWindow::Hidden);
    EXPECT_EQ(here.error, 0);
    EXPECT_EQ(startCommands(here),
              (QStringList{"mount C \"" + cwd.path() + "\"", "C:", "TASM.EXE /z  50%%.asm >tasm.out", "exit"}));
    EXPECT_TRUE(here.environment.contains("SDL_AUDIODRIVER=dummy"));
    EXPECT_TRUE(here.environment.contains("SDL_VIDEODRIVER=dummy"));

    const DosBoxStart there = dosBoxStart(elsewhere, "", "", DosWindow::Hidden);
    EXPECT_EQ(startCommands(there),
              (QStringList{"mount C \"" + cwd.path() + "\"", "mount D \"" + cwd.filePath("bin") + "\"",
                           "C:", "D:\\Prog.com", "exit"}));
}

TEST(DosRunner, MountsTheFoldersOfFilesNamedByAbsolutePath)
{
    if (QStandardPaths::findExecutable("dosbox").isEmpty())
        GTEST_SKIP() << "dosbox is not installed";
    TemporaryCurrentDir cwd;
    const QString program = cwd.write("bin/TASM.EXE", "MZ");
    cwd.write("Src/Prog.asm", "");
    cwd.write("local.asm", "");
    const QString tail =
        " /z  " + cwd.path() + "/src/prog.ASM " + cwd.filePath("local.asm") + " " + program + " /no/such/file.asm /t";

    const DosBoxStart start = dosBoxStart(program, tail, "tasm.out", DosWindow::Hidden);
    EXPECT_EQ(start.error, 0);
    EXPECT_EQ(startCommands(start),
              (QStringList{"mount C \"" + cwd.path() + "\"", "mount D \"" + cwd.filePath("bin") + "\"",
                           "mount E \"" + cwd.filePath("Src") + "\"",
                           "C:", "D:\\TASM.EXE /z  E:\\Prog.asm local.asm D:\\TASM.EXE /no/such/file.asm /t >tasm.out",
                           "exit"}));
}

TEST(DosRunner, TheMappedToolsFolderKeepsItsDriveLetter)
{
    if (QStandardPaths::findExecutable("dosbox").isEmpty())
        GTEST_SKIP() << "dosbox is not installed";
    TemporaryCurrentDir cwd;
    const QString tools = cwd.filePath("TTDIR");
    const QString tasm = cwd.write("TTDIR/TASM.EXE", "MZ");
    const QString other = cwd.write("bin/Prog.com", "");

    mapToolsDrive("z", tools);
    QDir::setCurrent(tools);
    EXPECT_EQ(startCommands(dosBoxStart(tasm, " /z  prog.asm", "tasm.out", DosWindow::Hidden)),
              (QStringList{"mount Z \"" + tools + "\"", "Z:", "TASM.EXE /z  prog.asm >tasm.out", "exit"}));

    QDir::setCurrent(cwd.path());
    EXPECT_EQ(startCommands(dosBoxStart(other, "", "", DosWindow::Hidden)),
              (QStringList{"mount C \"" + cwd.path() + "\"", "mount Z \"" + tools + "\"",
                           "mount D \"" + cwd.filePath("bin") + "\"", "C:", "D:\\Prog.com", "exit"}));

    mapToolsDrive("", tools); // no letter: the mapping is gone
    QDir::setCurrent(tools);
    EXPECT_EQ(startCommands(dosBoxStart(tasm, "", "", DosWindow::Hidden)).mid(0, 2),
              (QStringList{"mount C \"" + tools + "\"", "C:"}));
    QDir::setCurrent(cwd.path());
}

TEST(DosRunner, RefusesWhatDosWouldNotTakeLiterally)
{
    if (QStandardPaths::findExecutable("dosbox").isEmpty())
        GTEST_SKIP() << "dosbox is not installed";
    TemporaryCurrentDir cwd;
    const QString local = cwd.write("TASM.EXE", "MZ");
    const QStringList unsafeTails{" a|b", " <in", " a>b", " a\r\ndel *.*"};
    for (const QString &tail : unsafeTails)
        EXPECT_EQ(dosBoxStart(local, tail, "", DosWindow::Hidden).error, EINVAL) << tail.toStdString();
    EXPECT_EQ(dosBoxStart(local, "", "a|b.out", DosWindow::Hidden).error, EINVAL);
    EXPECT_EQ(dosBoxStart(cwd.write("my prog.com", ""), "", "", DosWindow::Hidden).error, EINVAL);
    EXPECT_EQ(dosBoxStart(cwd.write("quote\"d/prog.com", ""), "", "", DosWindow::Hidden).error, EINVAL);
}

TEST(DosRunner, RunsADosProgramAndCollectsItsOutput)
{
    if (!dosToolsInstalled())
        GTEST_SKIP() << "nasm and dosbox are needed";
    TemporaryCurrentDir cwd;
    ScriptedDialogs dialogs;
    ASSERT_TRUE(assembleDosProgram(helloSource, cwd.filePath("hello.com")));
    cwd.write("RUN.OUT", "left from an earlier run");

    EXPECT_EQ(RunTool("hello.com >run.out").status, RunStatus::Ended);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(cwd.read("run.out"), "Hello from DOS\r\n");
    EXPECT_FALSE(QDir(cwd.path()).entryList(QDir::Files).contains("RUN.OUT"));
    EXPECT_EQ(QDir::currentPath(), cwd.path());
}

TEST(DosRunner, GivesDosTheCommandTailOfAProgramInAnotherFolder)
{
    if (!dosToolsInstalled())
        GTEST_SKIP() << "nasm and dosbox are needed";
    TemporaryCurrentDir cwd;
    ScriptedDialogs dialogs;
    ASSERT_TRUE(assembleDosProgram(tailSource, cwd.filePath("Tools Dir/TAIL.COM")));

    EXPECT_EQ(RunTool(cwd.path() + "/tools dir/tail.com /z  50%;x $(y) >Tail.Out").status, RunStatus::Ended);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(cwd.read("Tail.Out"), "[ /z  50%;x $(y)]");
    // The same through the console capture helper of a shown window.
    EXPECT_EQ(RunTool(cwd.path() + "/tools dir/tail.com /z  50%;x $(y) >Tail.Out", {DosWindow::Shown}).status,
              RunStatus::Ended);
    EXPECT_EQ(cwd.read("Tail.Out"), "[ /z  50%;x $(y)]");
    EXPECT_EQ(RunTool(cwd.path() + "/tools dir/tail.com >Tail.Out", {DosWindow::Shown}).status, RunStatus::Ended);
    EXPECT_EQ(cwd.read("Tail.Out"), "[]");
}

TEST(DosRunner, CancelEndsDosBoxRunningAProgramThatLoops)
{
    if (!dosToolsInstalled())
        GTEST_SKIP() << "nasm and dosbox are needed";
    TemporaryCurrentDir cwd;
    ScriptedDialogs dialogs;
    ASSERT_TRUE(assembleDosProgram("org 100h\nforever: jmp forever\n", cwd.filePath("loop.com")));

    QTimer canceller;
    QObject::connect(&canceller, &QTimer::timeout, [] {
        if (auto *window = qobject_cast<RunningWindow *>(QApplication::activeModalWidget());
            window && window->isVisible())
            window->cancel();
    });
    canceller.start(50);
    EXPECT_EQ(RunTool("loop.com >run.out").status, RunStatus::Cancelled);
    EXPECT_TRUE(dialogs.messages.empty());
}
