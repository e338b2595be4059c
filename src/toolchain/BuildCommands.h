// The build commands of the main window, each in its fixed order of steps: assemble (F7),
// link (F8), run (F9), debug (F10), the two parameter variants, the Ctrl+F9 chain, the
// listings and the tool help. They read the program's build state and settings by
// reference; every step that touches the window, message and input boxes included, goes
// through the host.
//
// A step never reports success for work that did not happen: before a tool runs, the
// products it is about to make are deleted from the tools folder, and a tool that could not
// run, was cancelled or left its product unmade turns the summary red and says so on its
// page. What went wrong is also gathered and thrown, once the outermost command has done
// all its steps, as one ToolchainError for the window's central error handler: a command,
// the Ctrl+F9 chain included, shows at most one message box.
#pragma once

#include "toolchain/BuildHost.h"
#include "toolchain/BuildSettings.h"
#include "toolchain/BuildState.h"
#include "toolchain/BuildTexts.h"
#include "toolchain/BuiltInTools.h"
#include "toolchain/CommandLines.h"
#include "toolchain/ToolsCopy.h"

#include <QStringList>

#include <optional>

namespace velmora::toolchain
{

class BuildCommands
{
public:
    BuildCommands(IBuildHost &host, BuildState &state, const BuildSettings &settings, BuildTexts texts = {})
        : host_(host), state_(state), settings_(settings), texts_(std::move(texts))
    {
    }

    // Saves, copies the source into the tools folder where the tools need a copy, assembles
    // it, shows the output and its summary (`EWM`), and copies the object file back.
    void assemble();
    // Asks for `TasmParams` ("TAsm Parameters"; Cancel keeps them), then assembles.
    void assembleWithParameters();
    // Saves, links, shows the output, and copies the map and program files back.
    void link();
    // Asks for `TlinkParams` ("TLink Parameters (/t - for .com file)"), then links.
    void linkWithParameters();
    // Runs the built program (".com" or ".exe" as `TlinkParams` ask); saves nothing.
    void run();
    // Starts the debugger on the built program from the tools folder and shows its command
    // line in a message box; saves nothing. With the built-in chain it assembles and links
    // with debug information (/zi, /v) and, when the program was made, starts the built-in
    // debugger on it.
    void debug();
    // Assembles, links and runs, each to its end, whatever the earlier steps reported.
    void assembleLinkRun();

    // Runs the assembler with its listing option on the copy in the tools folder; when it
    // wrote the listing file, copies it beside the source, reports it with listGenerated
    // (the language text `List_Generated`) and shows it.
    void listing(ListingKind kind, const QString &listGenerated);
    // Runs the tool without arguments and shows its usage text on its page.
    void showTasmHelp();
    void showTlinkHelp();

private:
    // Runs body as a command; the outermost one throws what its steps gathered.
    template <class Body> void asCommand(Body body);

    void assembleStep();
    void linkStep();
    // alone: a missing program is worth a message box, not only a line on the page.
    void runStep(bool alone);
    void debugOnBuiltInPc();
    // Asks for new parameters; Cancel keeps the old ones.
    void askParameters(const QString &caption, QString &parameters);
    void showHelp(const QString &commandLine, OutputPage page, const QString &outputFile, const QString &tool);

    // `RunTool` of a DOS tool's command line, or with the built-in chain, that tool in-process.
    platform::RunResult runTool(BuiltInTool tool, const QString &commandLine, DosWindow window);
    // Says on the page (when there is one) what went wrong; with message, the command's
    // message box says it too.
    void problem(std::optional<OutputPage> page, const QString &text, bool message = true);
    // Whether the tool ran to its end; if not, says why (notFound names a missing tool).
    bool ranToEnd(const platform::RunResult &result, std::optional<OutputPage> page, const QString &tool,
                  const QString &notFound, const QString &commandLine, const QString &toolsDir);
    // Shows a tool's output file on its page, bounded and with the source's own names in
    // place of an alias. False when there is no such file.
    bool showOutput(OutputPage page, const QString &toolsDir, const QString &fileName, const ToolsCopy &copy,
                    const SourceNames &source);
    // Says on the page that the step's product is missing; true when it is there.
    bool produced(OutputPage page, const QString &toolsDir, const QString &product, const QString &shownName);

    IBuildHost &host_;
    BuildState &state_;
    const BuildSettings &settings_;
    BuildTexts texts_;
    QStringList problems_;
    int depth_ = 0;
};

} // namespace velmora::toolchain
