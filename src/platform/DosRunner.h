// DOS programs on Linux: recognising them and running them through DOSBox, with the
// current directory as drive C: (or a mapped letter), the command tail and redirection handed to DOS, and
// DOSBox leaving when the command ends.
#pragma once

#include <QString>
#include <QStringList>

namespace velmora::platform
{

enum class DosWindow { Hidden, Shown };

// Maps folder to a drive letter for every later DOS run (C to Z; anything else removes
// the mapping): DOS then sees the folder under that letter, and runs whose current
// directory it is start on that drive. This is how the tools folder gets its own letter.
void mapToolsDrive(const QString &letter, const QString &folder);

// A DOS executable: a file that starts with "MZ", or a ".com" file.
bool isDosProgram(const QString &path);

// Whether a DOSBox window can be shown at all: an X display (DOSBox draws through X11) and
// the toolkit not running offscreen.
bool canShowDosWindow();

// How to start DOSBox for one DOS command, or why it cannot be (error holds the code).
struct DosBoxStart {
    int error = 0; // an errno: ENOENT without DOSBox, EINVAL for a line DOS cannot take literally
    QString program;
    QStringList arguments;
    QStringList environment; // the whole environment, "NAME=value"
};

// DOSBox running program (an existing file) with the DOS command tail, its console output
// written to outputFile (empty: none). The current directory is mounted as C:, the
// program's folder and the folders of files that the tail names by absolute path as D:,
// E:, ..., and those words become DOS names. The window is hidden when asked, and always
// when canShowDosWindow() is false; a shown one is centred on the screen. A hidden run's
// output file is a DOS redirection; a shown run goes through the console capture helper
// beside the program, so that what the program prints shows in the window as well, and
// where the user can see the window it stays open after the program until a key is pressed.
DosBoxStart dosBoxStart(const QString &program, const QString &tail, const QString &outputFile, DosWindow window);

// Before a DOS run: removes every entry of dir that equals name ignoring letter case. DOS
// sees them all as the one file the redirection replaces, and an old one must not pass for
// output when the program writes none.
void removeOutputFile(const QString &dir, const QString &name);

// After a DOS run: gives the file that DOS wrote as name, in whatever letter case, the
// spelling asked for.
void adoptOutputName(const QString &dir, const QString &name);

} // namespace velmora::platform
