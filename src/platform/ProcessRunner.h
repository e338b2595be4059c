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

// Runs the command line and waits until the child has ended, showing a running window with
// Cancel when it takes a while (a QApplication must exist). True once the child has ended, whatever its exit code; the
// redirected output file is then complete. False when it could not be started, after an
// error box: "Executable file not found. (" + command line + ")" when the program does not
// exist, else "Error running program. (CreateProcess ErrorCode) : " + the errno.
bool RunTool(const QString &commandLine, const RunOptions &options = {});

// Starts the command line without waiting; failures are not reported. Show state 0 keeps a
// DOS program's window hidden; any other shows it (where a display exists).
void WinExec(const QString &commandLine, int showState);

} // namespace velmora::platform
