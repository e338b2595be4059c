// The texts of the debugger. The English texts are the defaults; a language pack replaces
// those it names.
#pragma once

#include <QString>

namespace velmora::app
{

struct DebuggerTexts {
    // The views' captions, which their docks show.
    QString registersTitle = QStringLiteral("Registers");
    QString stackTitle = QStringLiteral("Stack");
    QString memoryTitle = QStringLiteral("Memory");
    QString watchesTitle = QStringLiteral("Watches");
    QString instructionsTitle = QStringLiteral("Instructions");
    QString consoleTitle = QStringLiteral("Console");
    QString machineCodeTitle = QStringLiteral("Machine code");

    QString registersHint = QStringLiteral("Double-click or Enter changes a register's value (hexadecimal)");
    QString flagsHint = QStringLiteral("Double-click or Enter sets a flag to 1 or clears it to 0");
    // A value typed into a register or a byte: %1 the text typed, %2 the largest value.
    QString badHex = QStringLiteral("\"%1\" is no hexadecimal number from 0 to %2. Nothing was changed.");

    QString addressPlaceholder = QStringLiteral("Address, such as DS:0010, ES:DI, 0B800h:0 or msg+2");
    QString followDs = QStringLiteral("Follow DS");
    QString memoryHint = QStringLiteral("Double-click a byte to change it (hexadecimal)");
    // %1 the text typed.
    QString unknownAddress = QStringLiteral("\"%1\" names no address.");

    QString watchPlaceholder = QStringLiteral("Variable name");
    QString addWatch = QStringLiteral("Add");
    QString watchName = QStringLiteral("Name");
    QString watchValue = QStringLiteral("Value");
    QString watchesHint = QStringLiteral("Delete removes the selected watch");
    QString noSuchVariable = QStringLiteral("no such variable");
    QString noProgram = QStringLiteral("no program is being debugged");

    // The debug mode: its menu, commands and the window title's mark.
    QString debugMenu = QStringLiteral("&Debug");
    QString traceInto = QStringLiteral("Trace into");
    QString stepOver = QStringLiteral("Step over");
    QString runProgram = QStringLiteral("Run");
    QString runToCursor = QStringLiteral("Run to cursor");
    QString stepBack = QStringLiteral("Step back");
    QString stopDebugging = QStringLiteral("Stop debugging");
    QString toggleBreakpoint = QStringLiteral("Toggle breakpoint");
    QString showMachineCode = QStringLiteral("Show machine code");
    QString modeCaption = QStringLiteral(" [debugging]");

    // The status beside the commands; %1 a source line, an exit code or the PC's reason.
    QString pausedAtLine = QStringLiteral(
        "Paused at line %1. F7 trace into, F8 step over, F9 run, F4 run to cursor, Alt+F7 step back, Ctrl+F2 stop.");
    QString pausedOutsideSource = QStringLiteral("Paused outside the source (CS:IP is in no line of it).");
    QString atBreakpoint = QStringLiteral("Stopped at the breakpoint on line %1.");
    QString running = QStringLiteral("Running... Ctrl+F2 stops the program.");
    QString waitingForKey = QStringLiteral("The program waits for a key: type it in the console.");
    QString ended =
        QStringLiteral("The program ended with exit code %1. Alt+F7 steps back, Ctrl+F2 leaves the debugger.");
    QString stopped = QStringLiteral("The program was stopped: %1");
    // Why no step can be taken back; %1 the steps kept.
    QString noStepBack = QStringLiteral("The program is where it started: there is no step to take back.");
    QString stepBackDisk = QStringLiteral(
        "The program used a file on the disk, which cannot be undone: no step before that can be taken back.");
    QString stepBackMemory = QStringLiteral(
        "The last step changed more memory than the history holds: no step before it can be taken back.");
    QString stepBackFull =
        QStringLiteral("Only the last %1 steps, or as many as the history's memory holds, can be taken back.");

    // %1 the program, %2 the reason.
    QString notLoaded = QStringLiteral("%1 could not be loaded for debugging: %2");

    bool operator==(const DebuggerTexts &) const = default;
};

} // namespace velmora::app
