#include "platform/ProcessRunner.h"
#include "platform/ChildProcess.h"
#include "platform/CommandLine.h"
#include "platform/ProgramSearch.h"
#include "platform/RunningWindow.h"

#include "TemporaryCurrentDir.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

using namespace velmora::platform;
using velmora::testing::ScriptedDialogs;
using velmora::testing::TemporaryCurrentDir;

namespace
{

// A stand-in tool that prints each of its arguments on a line of its own.
const QByteArray echoArguments = "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done\n";

QStringList words(const CommandLine &line)
{
    QStringList out;
    for (const CommandWord &w : line.words)
        out << w.text;
    return out;
}

// Sets an environment variable for the life of the object.
class ScopedVariable
{
public:
    ScopedVariable(const char *name, const QByteArray &value) : name_(name), old_(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedVariable() { qputenv(name_, old_); }

private:
    const char *name_;
    QByteArray old_;
};

} // namespace

TEST(CommandLine, SplitsOnRunsOfBlanksAndTakesATrailingRedirection)
{
    const CommandLine line = parseCommandLine(QStringLiteral("  tasm.exe /z \t prog.asm   >tasm.out"));
    EXPECT_EQ(words(line), (QStringList{"tasm.exe", "/z", "prog.asm"}));
    EXPECT_EQ(line.outputFile, "tasm.out");
    EXPECT_EQ(line.textThrough(1), "tasm.exe /z");
    EXPECT_EQ(line.tailAfter(0), " /z \t prog.asm");
    EXPECT_EQ(line.tailAfter(2), "");
    EXPECT_EQ(line.wordsAfter(0), (QStringList{"/z", "prog.asm"}));

    EXPECT_TRUE(parseCommandLine("").words.empty());
    EXPECT_TRUE(parseCommandLine("   \t ").words.empty());
}

TEST(CommandLine, OnlyALastSingleArrowWordRedirects)
{
    EXPECT_EQ(parseCommandLine("a >x b").outputFile, "");
    EXPECT_EQ(words(parseCommandLine("a >x b")), (QStringList{"a", ">x", "b"}));
    EXPECT_EQ(parseCommandLine("a >>x").outputFile, "");
    EXPECT_EQ(parseCommandLine("a >").outputFile, "");
    EXPECT_EQ(parseCommandLine("a b>x").outputFile, "");
    const CommandLine onlyRedirection = parseCommandLine(">x");
    EXPECT_TRUE(onlyRedirection.words.empty());
    EXPECT_EQ(onlyRedirection.outputFile, "x");
}

TEST(ProgramSearch, FindsProgramsWhateverTheirLetterCaseAndSpelling)
{
    TemporaryCurrentDir cwd;
    const QString tool = cwd.write("TASM.EXE", echoArguments, true);
    const QString nested = cwd.write("Tools/Sub/TLink.exe", echoArguments, true);
    const QString bare = cwd.write("td.exe", echoArguments, true);
    const QString blanks = cwd.write("my tools/Run Me", echoArguments, true);
    QDir().mkpath(cwd.filePath("folder.exe"));

    EXPECT_EQ(findProgramFile("tasm.exe"), tool);
    EXPECT_EQ(findProgramFile("tools/sub/tlink.EXE"), nested);
    EXPECT_EQ(findProgramFile("tools\\sub\\tlink.exe"), nested);
    EXPECT_EQ(findProgramFile(cwd.path() + "/TOOLS/sub/tlink.exe"), nested);
    EXPECT_EQ(findProgramFile("TD"), bare);
    EXPECT_EQ(findProgramFile("folder.exe"), "") << "a folder is no program";
    EXPECT_EQ(findProgramFile("nothing.exe"), "");

    const auto match = findProgram(parseCommandLine("my tools/RUN me arg >out"));
    ASSERT_TRUE(match.has_value());
    EXPECT_EQ(match->path, blanks);
    EXPECT_EQ(match->lastWord, 2u);
    EXPECT_FALSE(findProgram(parseCommandLine("my  tools/run me")).has_value())
        << "blanks are kept as written, so two blanks name another file";
    EXPECT_FALSE(findProgram(parseCommandLine("")).has_value());
}

TEST(ProgramSearch, SearchesThePathAfterTheCurrentDirectory)
{
    TemporaryCurrentDir cwd;
    const QString onPath = cwd.write("bin/Stand-In", echoArguments, true);
    ScopedVariable path("PATH", QFile::encodeName(cwd.filePath("bin")) + ":/usr/bin:/bin");
    EXPECT_EQ(findProgramFile("stand-in"), onPath);
    const QString local = cwd.write("stand-in", echoArguments, true);
    EXPECT_EQ(findProgramFile("stand-in"), local) << "the current directory comes first";
}

TEST(RunTool, MissingProgramIsNotFoundAndStartsNothing)
{
    TemporaryCurrentDir cwd;
    ScriptedDialogs dialogs;
    EXPECT_EQ(RunTool("nosuch.exe /z  prog.asm >tasm.out").status, RunStatus::NotFound);
    EXPECT_FALSE(QFile::exists(cwd.filePath("tasm.out")));
    EXPECT_EQ(RunTool("   ").status, RunStatus::NotFound);
    EXPECT_TRUE(dialogs.messages.empty()) << "the caller says what a failed start means";
}

TEST(RunTool, StartFailuresCarryTheErrorCode)
{
    TemporaryCurrentDir cwd;
    cwd.write("locked.exe", echoArguments, false);
    cwd.write("garbage.exe", QByteArray(64, '\x01'), true);
    cwd.write("tool.exe", echoArguments, true);
    const auto failure = [](const RunResult &r) { return std::pair(r.status, r.error); };
    EXPECT_EQ(failure(RunTool("locked.exe a")), std::pair(RunStatus::Failed, 13));
    EXPECT_EQ(failure(RunTool("garbage.exe")), std::pair(RunStatus::Failed, 8));
    EXPECT_EQ(failure(RunTool("tool.exe >no/such/folder.out")), std::pair(RunStatus::Failed, 2))
        << "a missing output folder is not a missing program";
}

TEST(RunTool, ADosProgramWithoutDosBoxSaysSo)
{
    TemporaryCurrentDir cwd;
    cwd.write("prog.com", QByteArray("\xB4\x4C\xCD\x21", 4), false);
    ScopedVariable path("PATH", QFile::encodeName(cwd.filePath("empty")));
    EXPECT_EQ(RunTool("prog.com >run.out").status, RunStatus::NoDosBox);
    EXPECT_EQ(WinExec("prog.com", 1).status, RunStatus::NoDosBox);
}

TEST(RunTool, CapturesTheWholeOutputOfAToolThatFails)
{
    TemporaryCurrentDir cwd;
    ScriptedDialogs dialogs;
    cwd.write("tasm.exe",
              "#!/bin/sh\ni=0\nwhile [ $i -lt 20000 ]; do echo \"line $i of $1\"; i=$((i+1)); done\n"
              "echo to-stderr >&2\nexit 3\n",
              true);
    cwd.write("tasm.out", "stale output that must be replaced, longer than nothing\n");

    EXPECT_EQ(RunTool("tasm.exe prog.asm >tasm.out").status, RunStatus::Ended);
    EXPECT_TRUE(dialogs.messages.empty());
    QByteArray expected;
    for (int i = 0; i < 20000; ++i)
        expected += "line " + QByteArray::number(i) + " of prog.asm\n";
    EXPECT_EQ(cwd.read("tasm.out"), expected);
}

TEST(RunTool, FileNamesReachTheToolAsPlainWords)
{
    TemporaryCurrentDir cwd;
    ScriptedDialogs dialogs;
    cwd.write("tool.exe", echoArguments, true);
    const QStringList hostile{"a;touch${IFS}pwned1",
                              "$(touch${IFS}pwned2)",
                              "`touch${IFS}pwned3`",
                              "\"quoted\"",
                              "'single'",
                              "x&&touch${IFS}pwned4",
                              "*",
                              "~"};

    EXPECT_EQ(RunTool("tool.exe   " + hostile.join("  \t ") + " >args.out").status, RunStatus::Ended);
    EXPECT_EQ(QString::fromUtf8(cwd.read("args.out")), hostile.join('\n') + '\n');
    for (const char *marker : {"pwned1", "pwned2", "pwned3", "pwned4"})
        EXPECT_FALSE(QFile::exists(cwd.filePath(marker))) << marker;
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(RunTool, RunsAProgramInAFolderWithBlanksAndLeavesTheCurrentDirectory)
{
    TemporaryCurrentDir cwd;
    cwd.write("Tools Dir/TLINK.EXE", echoArguments, true);
    EXPECT_EQ(RunTool(cwd.path() + "/tools dir/tlink.exe  prog >tlink.out").status, RunStatus::Ended);
    EXPECT_EQ(cwd.read("tlink.out"), "prog\n");
    EXPECT_EQ(QDir::currentPath(), cwd.path());
}

TEST(RunTool, CancelEndsAChildThatNeverEnds)
{
    TemporaryCurrentDir cwd;
    ScriptedDialogs dialogs;
    cwd.write("loop.exe", "#!/bin/sh\necho started\nsleep 1000 &\nwhile :; do sleep 1000; done\n", true);

    QString shownCommand;
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        auto *window = qobject_cast<RunningWindow *>(QApplication::activeModalWidget());
        if (!window || !window->isVisible())
            return;
        shownCommand = window->findChild<QLabel *>()->text();
        window->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->click();
    });
    clicker.start(50);

    EXPECT_EQ(RunTool("loop.exe >run.out").status, RunStatus::Cancelled);
    EXPECT_EQ(shownCommand, "Running: loop.exe >run.out\nCancel or Esc stops it.") << "the command and how to stop it";
    EXPECT_EQ(cwd.read("run.out"), "started\n");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(RunTool, ClosingTheRunningWindowCancelsToo)
{
    TemporaryCurrentDir cwd;
    cwd.write("wait.exe", "#!/bin/sh\nexec sleep 1000\n", true);
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto *window = QApplication::activeModalWidget(); window && window->isVisible())
            window->close();
    });
    closer.start(50);
    EXPECT_EQ(RunTool("wait.exe").status, RunStatus::Cancelled);
}

// Whether the running window itself stays out of the focus is up to the window system
// (the offscreen one activates every window it shows); the manual check under X covers it.
TEST(RunningWindow, HandingTheFocusToTheChildShowsAtOnceAndGivesTheFocusBackAfter)
{
    QWidget owner;
    owner.show();
    owner.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
    ChildProcess child;
    ASSERT_EQ(
        child.start("/bin/sh", {"-c", "sleep 1"}, QProcessEnvironment::systemEnvironment().toStringList(), "", true),
        0);
    RunningWindow running("prog.com >run.out", child, &owner);
    running.handFocusToChild();

    // The child's own window takes the focus while it runs; here a window of ours stands in.
    QWidget childWindow;
    bool shownAtOnce = false;
    QTimer::singleShot(100, [&] {
        shownAtOnce = running.isVisible();
        childWindow.show();
        childWindow.activateWindow();
    });
    running.waitForEnd();

    EXPECT_TRUE(shownAtOnce) << "it shows before the child's window, which then comes up on top of it";
    EXPECT_TRUE(QTest::qWaitForWindowActive(&owner)) << "the window that had the focus has it back";
}

TEST(WinExec, StartsWithoutWaitingAndSaysWhatCouldNotStart)
{
    TemporaryCurrentDir cwd;
    ScriptedDialogs dialogs;
    // Prints its arguments once the test has gone ahead, which it can only do when WinExec
    // has returned; gives up after a while rather than hang the test.
    cwd.write("slow.exe",
              "#!/bin/sh\ni=0\nwhile [ ! -e go ] && [ $i -lt 400 ]; do sleep 0.05; i=$((i+1)); done\n"
              "[ -e go ] && echo \"$@\"\n",
              true);

    EXPECT_EQ(WinExec("slow.exe one  two >started.out", 1).status, RunStatus::Ended);
    cwd.write("go", "");
    QDeadlineTimer deadline(20000);
    while (cwd.read("started.out").isEmpty() && !deadline.hasExpired())
        QThread::msleep(20);
    EXPECT_EQ(cwd.read("started.out"), "one two\n");

    EXPECT_EQ(WinExec("nosuch.exe a", 1).status, RunStatus::NotFound);
    EXPECT_EQ(WinExec("", 0).status, RunStatus::NotFound);
    EXPECT_TRUE(dialogs.messages.empty());
}
