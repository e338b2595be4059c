// The texts of the built-in PC's console and of the command that starts it. The English
// texts are the defaults; a language pack replaces those it names.
#pragma once

#include <QString>

namespace velmora::app
{

struct ConsoleTexts {
    // The window's title: %1 the program's file name.
    QString title = QStringLiteral("Built-in PC - %1");
    QString stop = QStringLiteral("Stop");
    QString running = QStringLiteral("Running. Stop or Ctrl+Break ends the program.");
    // %1 the exit code.
    QString ended = QStringLiteral("The program ended with exit code %1.");
    QString stoppedByUser = QStringLiteral("The program was stopped.");
    // %1 the PC's reason, such as a service it does not provide.
    QString stopped = QStringLiteral("The program was stopped: %1");
    // In Run Output, where a runaway program's output is cut: %1 the bytes left out.
    QString outputCut = QStringLiteral("[... %1 bytes left out here ...]");
    QString untitled =
        QStringLiteral("The text has no file yet: save it, assemble and link it first. Nothing was run.");
    // %1 the source's file name, %2 and %3 the programs looked for.
    QString noProgram = QStringLiteral("Neither %2 nor %3 was found beside %1: assemble and link it first. "
                                       "Nothing was run.");
    // %1 the program, %2 the reason.
    QString notLoaded = QStringLiteral("%1 could not be loaded on the built-in PC: %2");

    bool operator==(const ConsoleTexts &) const = default;
};

} // namespace velmora::app
