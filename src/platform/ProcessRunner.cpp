#include "platform/ProcessRunner.h"

#include "platform/ChildProcess.h"
#include "platform/CommandLine.h"
#include "platform/ProgramSearch.h"
#include "platform/RunningWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace velmora::platform
{

namespace
{

// What to start for a command line: the program itself, or DOSBox running it.
struct Launch {
    RunResult failure; // why there is nothing to start, when status is not Ended
    QString program;
    QStringList arguments;
    QStringList environment;
    QString outputFile; // where the child's standard output goes, empty: not redirected
    bool dos = false;   // DOSBox: its own output is discarded, the DOS output file is renamed after
};

Launch planLaunch(const CommandLine &line, DosWindow window)
{
    Launch launch;
    const std::optional<ProgramMatch> match = findProgram(line);
    if (!match) {
        launch.failure = {RunStatus::NotFound, ENOENT};
        return launch;
    }
    if (!isDosProgram(match->path)) {
        launch.program = match->path;
        launch.arguments = line.wordsAfter(match->lastWord);
        launch.environment = QProcessEnvironment::systemEnvironment().toStringList();
        launch.outputFile = line.outputFile;
        return launch;
    }
    const DosBoxStart dosBox = dosBoxStart(match->path, line.tailAfter(match->lastWord), line.outputFile, window);
    if (dosBox.error == ENOENT)
        launch.failure = {RunStatus::NoDosBox, ENOENT};
    else if (dosBox.error != 0)
        launch.failure = {RunStatus::Failed, dosBox.error};
    launch.program = dosBox.program;
    launch.arguments = dosBox.arguments;
    launch.environment = dosBox.environment;
    launch.dos = true;
    return launch;
}

// Creates or empties the output file before the child starts, so that a failure here
// (a missing folder, no permission) is not mistaken for a missing program. 0 or the errno.
int prepareOutputFile(const QString &name)
{
    const int fd = ::open(QFile::encodeName(name).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    ::close(fd);
    return 0;
}

} // namespace

RunResult RunTool(const QString &commandLine, const RunOptions &options)
{
    const CommandLine line = parseCommandLine(commandLine);
    const Launch launch = planLaunch(line, options.dosWindow);
    if (launch.failure.status != RunStatus::Ended)
        return launch.failure;
    const QString current = QDir::currentPath();
    if (launch.dos && !line.outputFile.isEmpty())
        removeOutputFile(current, line.outputFile);
    if (!launch.outputFile.isEmpty()) {
        if (const int error = prepareOutputFile(launch.outputFile); error != 0)
            return {RunStatus::Failed, error};
    }

    ChildProcess child;
    if (const int error =
            child.start(launch.program, launch.arguments, launch.environment, launch.outputFile, launch.dos);
        error != 0)
        return {error == ENOENT ? RunStatus::NotFound : RunStatus::Failed, error};
    RunningWindow running(commandLine, child, QApplication::activeWindow());
    if (launch.dos && options.dosWindow == DosWindow::Shown && canShowDosWindow())
        running.handFocusToChild();
    running.waitForEnd();
    if (launch.dos && !line.outputFile.isEmpty())
        adoptOutputName(current, line.outputFile);
    return {running.cancelled() ? RunStatus::Cancelled : RunStatus::Ended, 0};
}

RunResult WinExec(const QString &commandLine, int showState)
{
    const CommandLine line = parseCommandLine(commandLine);
    const Launch launch = planLaunch(line, showState == 0 ? DosWindow::Hidden : DosWindow::Shown);
    if (launch.failure.status != RunStatus::Ended)
        return launch.failure;
    QProcess process;
    process.setProgram(launch.program);
    process.setArguments(launch.arguments);
    process.setEnvironment(launch.environment);
    process.setStandardInputFile(QProcess::nullDevice());
    if (launch.dos) {
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
    } else if (!launch.outputFile.isEmpty()) {
        process.setStandardOutputFile(launch.outputFile);
    }
    if (!process.startDetached())
        return {RunStatus::Failed, 0};
    return {};
}

} // namespace velmora::platform
