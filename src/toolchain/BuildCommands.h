// The build commands of the main window, each in its fixed order of steps: assemble (F7),
// link (F8), run (F9), debug (F10), the two parameter variants, the Ctrl+F9 chain, the
// listings and the tool help. Every step that touches the window goes through the host;
// message and input boxes go through platform::dialogs(). A failure that ends a command
// (a tools folder that cannot be entered, a malformed count in the assembler's summary)
// is thrown as a ToolchainError for the window's central error handler.
#pragma once

#include "toolchain/BuildHost.h"
#include "toolchain/BuildSettings.h"
#include "toolchain/CommandLines.h"

namespace velmora::toolchain
{

class BuildCommands
{
public:
    explicit BuildCommands(IBuildHost &host) : host_(host) {}

    // Saves, copies a source kept elsewhere into the tools folder, assembles it, shows the
    // output and its summary (`EWM`), and copies the object file back beside the source.
    void assemble(BuildSettings &settings);
    // Asks for `TasmParams` ("TAsm Parameters"; Cancel keeps them), then assembles.
    void assembleWithParameters(BuildSettings &settings);
    // Saves, links, shows the output, and copies the map and executable files back.
    void link(BuildSettings &settings);
    // Asks for `TlinkParams` ("TLink Parameters (/t - for .com file)"), then links.
    void linkWithParameters(BuildSettings &settings);
    // Runs the built program (".com" or ".exe" as `TlinkParams` ask); saves nothing.
    void run(const BuildSettings &settings);
    // Starts the debugger on the built program from the tools folder and shows its command
    // line in a message box; saves nothing.
    void debug(const BuildSettings &settings);
    // Assembles, links and runs, each to its end, whatever the earlier steps reported; the
    // first failure among them is thrown after the run step.
    void assembleLinkRun(BuildSettings &settings);

    // Runs the assembler with its listing option on the copy in the tools folder; when it
    // wrote the listing file, reports it with listGenerated (the language text
    // `List_Generated`) and shows it.
    void listing(const BuildSettings &settings, ListingKind kind, const QString &listGenerated);
    // Runs the tool without arguments and shows its usage text on its page.
    void showTasmHelp(const BuildSettings &settings);
    void showTlinkHelp(const BuildSettings &settings);

private:
    void loadOutput(OutputPage page, const QString &toolsDir, const QString &fileName);
    void showHelp(const BuildSettings &settings, const QString &commandLine, OutputPage page,
                  const QString &outputFile);

    IBuildHost &host_;
};

} // namespace velmora::toolchain
