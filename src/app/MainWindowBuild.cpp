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
using toolchain::OutputPage;

void TVelmora::createBuildHost()
{
    buildHost_ = std::make_unique<TWindowBuildHost>(*this);
    buildHost_->memo(OutputPage::Tasm)->viewport()->installEventFilter(this);
}

void TVelmora::runBuild(const std::function<void(BuildCommands &)> &command)
{
    writeRecoveryCopy();
    BuildCommands commands(*buildHost_, state_, state_.settings.build, texts.build);
    command(commands);
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
    runBuild(
        [this](BuildCommands &commands) { commands.listing(toolchain::ListingKind::Tiny, mainTexts.listGenerated); });
}

void TVelmora::ExpandListing1Click()
{
    runBuild([this](BuildCommands &commands) {
        commands.listing(toolchain::ListingKind::Expanded, mainTexts.listGenerated);
    });
}

void TVelmora::EWM()
{
    const toolchain::OutputSummary summary = toolchain::summarizeOutput(buildHost_->pageLines(OutputPage::Tasm),
                                                                        toolchain::sourceNames(state_.CurrentFile).N);
    toolchain::applySummary(summary, *buildHost_, texts.build.summaryCounts);
    if (!summary.failure.isEmpty())
        throw toolchain::ToolchainError(summary.failure);
}

bool TVelmora::MTasmDblClick(const QPoint &position)
{
    const QPlainTextEdit *memo = buildHost_->memo(OutputPage::Tasm);
    const std::optional<int> line = toolchain::sourceLineOf(memo->cursorForPosition(position).block().text(),
                                                            toolchain::sourceNames(state_.CurrentFile).N);
    if (!line)
        return false;
    showEditor();
    editor->selectParagraph(*line);
    editor->scrollCaretCommand();
    return true;
}

} // namespace velmora::app
