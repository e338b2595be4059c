// What the build commands need of the main window: its output pages and panels, the
// summary's targets, saving the source, and the process starts. The window implements it;
// tests record it.
#pragma once

#include "toolchain/OutputSummary.h"

#include <QString>
#include <QStringList>

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
    // Executes `SaveA`; returns `CurrentFile` afterwards (empty when the text stayed untitled).
    virtual QString saveSource() = 0;

    virtual void clearPage(OutputPage page) = 0;
    // Replaces the page's memo text with the file's, read in the OEM code page.
    virtual void loadPage(OutputPage page, const QString &filePath) = 0;
    // The page's memo text, line by line.
    virtual QStringList pageLines(OutputPage page) const = 0;
    virtual void setCommandText(OutputPage page, const QString &commandLine) = 0;
    virtual void activatePage(OutputPage page) = 0;

    // `RunTool`: runs the command line in the current directory and waits for its end; false
    // when it could not be started (the runner has said why).
    virtual bool runTool(const QString &commandLine, DosWindow window) = 0;
    // `WinExec` with the normal show state: starts the command line and returns at once.
    virtual void winExec(const QString &commandLine, DosWindow window) = 0;
};

} // namespace velmora::toolchain
