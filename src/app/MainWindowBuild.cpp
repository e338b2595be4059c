// The build commands of TVelmora: assemble, link, run and debug with their parameter
// variants and the Ctrl+F9 chain, the output summary (EWM), listings and tool help, and the
// jump from an error line of the assembler's output to its source line.
#include "app/MainWindow.h"
#include "app/WindowBuildHost.h"
#include "editor/widget/SourceMemo.h"
#include "toolchain/BuildCommands.h"
#include "toolchain/SourceNames.h"
#include "toolchain/ToolchainError.h"

#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextBlock>

namespace velmora::app
{

using toolchain::BuildCommands;
using toolchain::BuildSettings;
using toolchain::OutputPage;

void TVelmora::createBuildHost()
{
    buildHost_ = std::make_unique<TWindowBuildHost>(*this);
    buildHost_->memo(OutputPage::Tasm)->viewport()->installEventFilter(this);
}

BuildSettings TVelmora::buildSettings() const
{
    BuildSettings build;
    build.ToolsDir = toolsFolder();
    build.CurrentFile = CurrentFile;
    build.TasmParams = TasmParams;
    build.TlinkParams = TlinkParams;
    build.TasmFile = settings.TasmFile;
    build.TLinkFile = settings.TLinkFile;
    build.TDFile = settings.TDFile;
    build.outdest = settings.outdest;
    build.outTasm = settings.outTasm;
    build.outTlink = settings.outTlink;
    build.outRun = settings.outRun;
    build.Auto_Change_Page = settings.Auto_Change_Page;
    build.toolChain = settings.ToolChain;
    return build;
}

void TVelmora::runBuild(const std::function<void(BuildCommands &, BuildSettings &)> &command)
{
    writeRecoveryCopy();
    BuildSettings build = buildSettings();
    BuildCommands commands(*buildHost_, texts.build);
    // Parameters entered in a box stay even when the command that follows fails.
    const auto keepParameters = [this, &build] {
        TasmParams = build.TasmParams;
        TlinkParams = build.TlinkParams;
    };
    try {
        command(commands, build);
    } catch (...) {
        keepParameters();
        throw;
    }
    keepParameters();
}

void TVelmora::TasmClick()
{
    runBuild(&BuildCommands::assemble);
}

void TVelmora::TasmClickA_PSTR()
{
    runBuild(&BuildCommands::assembleWithParameters);
}

void TVelmora::TlinkClick()
{
    runBuild(&BuildCommands::link);
}

void TVelmora::TlinkClickA_PSTR()
{
    runBuild(&BuildCommands::linkWithParameters);
}

void TVelmora::runClick()
{
    runBuild(&BuildCommands::run);
}

void TVelmora::TdClick()
{
    runBuild(&BuildCommands::debug);
}

void TVelmora::TasmTlinkRun()
{
    runBuild(&BuildCommands::assembleLinkRun);
}

void TVelmora::TasmhelpClick()
{
    runBuild(&BuildCommands::showTasmHelp);
}

void TVelmora::TlinkhelpClick()
{
    runBuild(&BuildCommands::showTlinkHelp);
}

void TVelmora::inyListing1Click()
{
    runBuild([this](BuildCommands &commands, BuildSettings &build) {
        commands.listing(build, toolchain::ListingKind::Tiny, mainTexts.listGenerated);
    });
}

void TVelmora::ExpandListing1Click()
{
    runBuild([this](BuildCommands &commands, BuildSettings &build) {
        commands.listing(build, toolchain::ListingKind::Expanded, mainTexts.listGenerated);
    });
}

void TVelmora::EWM()
{
    const toolchain::OutputSummary summary =
        toolchain::summarizeOutput(buildHost_->pageLines(OutputPage::Tasm), toolchain::sourceNames(CurrentFile).N);
    toolchain::applySummary(summary, *buildHost_, texts.build.summaryCounts);
    if (!summary.failure.isEmpty())
        throw toolchain::ToolchainError(summary.failure);
}

bool TVelmora::MTasmDblClick(const QPoint &position)
{
    const QPlainTextEdit *memo = buildHost_->memo(OutputPage::Tasm);
    const std::optional<int> line = toolchain::sourceLineOf(memo->cursorForPosition(position).block().text(),
                                                            toolchain::sourceNames(CurrentFile).N);
    if (!line)
        return false;
    showEditor();
    editor->selectParagraph(*line);
    editor->scrollCaretCommand();
    return true;
}

} // namespace velmora::app
