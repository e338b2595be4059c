// The texts the build commands show: the parameter boxes, and what a step that did not do its
// work says. The English texts are the defaults; a language pack replaces those it names.
#pragma once

#include <QString>

namespace velmora::toolchain
{

struct BuildTexts {
    // %1 the tool's file name, %2 the tools folder.
    QString tasmNotFound =
        QStringLiteral("%1 was not found in %2. Put the assembler there, or change its name in Preferences.");
    QString tlinkNotFound =
        QStringLiteral("%1 was not found in %2. Put the linker there, or change its name in Preferences.");
    QString tdNotFound =
        QStringLiteral("%1 was not found in %2. Put the debugger there, or change its name in Preferences.");
    QString noDosBox = QStringLiteral("DOS programs run through DOSBox; install the dosbox package.");
    // %1 the program's file name, %2 the system's reason.
    QString notStarted = QStringLiteral("%1 could not be started: %2");
    // %1 the command line.
    QString cancelled = QStringLiteral("Cancelled: %1");
    // %1 the file the step should have made.
    QString notProduced = QStringLiteral("%1 was not produced.");
    // %1 the program's file name, %2 the tools folder.
    QString programMissing = QStringLiteral("%1 was not found in %2: link the program first (F8). Nothing was run.");
    // %1 the number of bytes left out, %2 the whole output file.
    QString outputCut = QStringLiteral("[... %1 bytes left out here; the whole output is in %2 ...]");
    QString tasmParameters = QStringLiteral("TAsm Parameters");
    QString tlinkParameters = QStringLiteral("TLink Parameters (/t - for .com file)");
    QString inputParameters = QStringLiteral("Input parameters");
    // %1 the tools folder.
    QString noToolsFolder = QStringLiteral("Cannot make %1 the current folder.");
    // The status panel after an assembly: %1 the warnings, %2 the errors.
    QString summaryCounts = QStringLiteral("Warnings: %1 Errors: %2");

    bool operator==(const BuildTexts &) const = default;
};

} // namespace velmora::toolchain
