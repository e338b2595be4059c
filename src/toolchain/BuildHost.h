// What the build commands need of the main window: its output pages and panels, the
// summary's targets, saving the source, the process starts and the boxes. The window
// implements it; tests record it.
#pragma once

#include "platform/ProcessRunner.h"
#include "toolchain/OutputSummary.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace velmora::toolchain
{

// The output pages, by their index in the page control. Each has a memo (`MTasm`,
// `MTLink`, `MRun`) and a command panel (`TasmCMDStr`, `TlinkCMDStr`, `RunCMDStr`).
enum class OutputPage { Tasm = 1, TLink = 2, Run = 3 };

// Whether a DOS program's window is shown while it runs: hidden for the assembler and the
// linker whose output is captured, shown where the user reads or types in it.
enum class DosWindow { Hidden, Shown };

class IBuildHost : public ISummaryView
{
public:
    // Executes `SaveA`, which leaves the saved file's name in the state's `CurrentFile` (empty
    // when the text stayed untitled).
    virtual void saveSource() = 0;

    virtual void clearPage(OutputPage page) = 0;
    // A tool's output bytes as text: the OEM code page, every line end a "\n".
    virtual QString outputText(const QByteArray &bytes) const = 0;
    virtual void setPageText(OutputPage page, const QString &text) = 0;
    virtual void appendPageLine(OutputPage page, const QString &line) = 0;
    // The page's memo text, line by line.
    virtual QStringList pageLines(OutputPage page) const = 0;
    virtual void setCommandText(OutputPage page, const QString &commandLine) = 0;
    virtual void activatePage(OutputPage page) = 0;

    // `RunTool`: runs the command line in the current directory and waits for its end.
    virtual platform::RunResult runTool(const QString &commandLine, DosWindow window) = 0;
    // `WinExec` with the normal show state: starts the command line and returns at once.
    virtual platform::RunResult winExec(const QString &commandLine, DosWindow window) = 0;
    // With the built-in chain: runs the source's program on the built-in PC, in its console.
    virtual void runOnBuiltInPc() = 0;
    // With the built-in chain, after a build with debug information: starts the source's
    // program under the built-in debugger.
    virtual void debugOnBuiltInPc() = 0;

    // The `Tlink` button's caption colour after a link.
    virtual void setTlinkColour(SummaryColour colour) = 0;

    // An input box with the value to edit: the text entered, nullopt when cancelled.
    virtual std::optional<QString> inputBox(const QString &caption, const QString &prompt, const QString &value) = 0;
    // An information box with the text and an OK button.
    virtual void informationBox(const QString &text) = 0;
};

} // namespace velmora::toolchain
