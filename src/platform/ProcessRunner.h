// Starting external programs: RunTool runs a command line and waits for its end, WinExec
// starts one and returns at once. A command line is words split on blanks, run without a
// shell, so no file name can carry a command; a trailing " >file" sends the child's
// standard output to that file in the current directory. The first word is looked up in
// the program's folder, the current directory and the search path, without regard to
// letter case. A DOS program runs through DOSBox. Neither changes the current directory.
#pragma once

#include "platform/DosRunner.h"

#include <QString>

namespace velmora::platform
{

struct RunOptions {
    // Whether DOSBox's window shows while a DOS program runs: hidden for tools whose output
    // is captured, shown for programs the user may need to type into.
    DosWindow dosWindow = DosWindow::Hidden;
};

// How a start went. The runner shows no message: the caller says what it means to the user.
enum class RunStatus {
    Ended,     // the child ran and ended, whatever its exit code
    Cancelled, // the child was started and the user ended it
    NotFound,  // the program the line names does not exist
    NoDosBox,  // the program is a DOS program and DOSBox is not installed
    Failed,    // the program could not be started; error holds the errno where one is known
};

struct RunResult {
    RunStatus status = RunStatus::Ended;
    int error = 0;
};

// Runs the command line and waits until the child has ended, showing a running window with
// Cancel when it takes a while (a QApplication must exist). Once the child has ended, or
// was cancelled, the redirected output file holds all it wrote.
RunResult RunTool(const QString &commandLine, const RunOptions &options = {});

// Starts the command line without waiting: Ended once started. Show state 0 keeps a DOS
// program's window hidden; any other shows it (where a display exists).
RunResult WinExec(const QString &commandLine, int showState);

} // namespace velmora::platform
