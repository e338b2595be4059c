#include "toolchain/BuildCommands.h"

#include "platform/Dialogs.h"
#include "platform/DosRunner.h"
#include "toolchain/BuiltInTools.h"
#include "toolchain/OutputExcerpt.h"
#include "toolchain/SourceNames.h"
#include "toolchain/ToolchainError.h"
#include "toolchain/ToolsFolder.h"

#include <QFileInfo>
#include <QScopeGuard>

#include <cstring>

namespace velmora::toolchain
{

using platform::RunResult;
using platform::RunStatus;

namespace
{

const QString objectExtension = QStringLiteral(".obj");
const QString listingExtension = QStringLiteral(".lst");
const QStringList linkExtensions = {QStringLiteral(".exe"), QStringLiteral(".com"), QStringLiteral(".map")};

// Deletes the files a step is about to make, whatever their letter case, so that a step
// that makes none leaves none behind from an earlier build.
void removeStaleProducts(const QString &toolsDir, const SourceNames &tools, const QStringList &extensions)
{
    if (tools.B.isEmpty())
        return;
    for (const QString &extension : extensions)
        platform::removeOutputFile(toolsDir, tools.B + extension);
}

// Copies a product of the tools back beside the source under the source's own base name.
void copyBack(const QString &toolsDir, const QString &sourceFile, const ToolsCopy &copy, const QString &extension)
{
    const QString product = existingFile(toolsDir, copy.tools.B + extension);
    if (copy.copied && !product.isEmpty()) {
        const SourceNames source = sourceNames(sourceFile);
        copyReplacing(product, source.S + source.B + extension);
    }
}

} // namespace

template <class Body> void BuildCommands::asCommand(Body body)
{
    const bool outermost = depth_ == 0;
    ++depth_;
    try {
        body();
    } catch (...) {
        --depth_;
        if (outermost)
            problems_.clear();
        throw;
    }
    --depth_;
    if (outermost && !problems_.isEmpty()) {
        const QString text = problems_.join(QLatin1Char('\n'));
        problems_.clear();
        throw ToolchainError(text);
    }
}

void BuildCommands::problem(std::optional<OutputPage> page, const QString &text, bool message)
{
    if (page)
        host_.appendPageLine(*page, text);
    if (message)
        problems_ << text;
}

bool BuildCommands::ranToEnd(const RunResult &result, std::optional<OutputPage> page, const QString &tool,
                             const QString &notFound, const QString &commandLine, const QString &toolsDir)
{
    switch (result.status) {
    case RunStatus::Ended:
        return true;
    case RunStatus::Cancelled:
        // The user's own doing: said on the page, not in a box.
        problem(page, texts_.cancelled.arg(commandLine), false);
        return false;
    case RunStatus::NotFound:
        problem(page, notFound.arg(tool, toolsDir));
        return false;
    case RunStatus::NoDosBox:
        problem(page, texts_.noDosBox);
        return false;
    case RunStatus::Failed:
        break;
    }
    const QString reason = result.error != 0 ? QString::fromLocal8Bit(std::strerror(result.error)) : QString();
    problem(page, texts_.notStarted.arg(tool, reason));
    return false;
}

RunResult BuildCommands::runTool(BuiltInTool tool, const QString &commandLine, DosWindow window)
{
    if (settings_.builtInTools())
        return runBuiltInTool(tool, commandLine, state_.toolsFolder());
    return host_.runTool(commandLine, window);
}

bool BuildCommands::showOutput(OutputPage page, const QString &toolsDir, const QString &fileName, const ToolsCopy &copy,
                               const SourceNames &source)
{
    const QString file = existingFile(toolsDir, fileName);
    if (file.isEmpty())
        return false;
    const OutputExcerpt excerpt = readOutputExcerpt(file);
    if (!excerpt.read)
        throw ToolchainError(platform::dialogTexts().cannotOpenFile.arg(file, excerpt.error));
    QString text = host_.outputText(excerpt.head);
    if (excerpt.omitted > 0) {
        if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
            text += QLatin1Char('\n');
        text += texts_.outputCut.arg(excerpt.omitted).arg(file) + QLatin1Char('\n') + host_.outputText(excerpt.tail);
    }
    host_.setPageText(page, withSourceNames(text, copy, source));
    return true;
}

bool BuildCommands::produced(OutputPage page, const QString &toolsDir, const QString &product, const QString &shownName)
{
    if (!existingFile(toolsDir, product).isEmpty())
        return true;
    // The page and the red summary say it; a box for every failed build would only nag.
    problem(page, texts_.notProduced.arg(shownName), false);
    return false;
}

void BuildCommands::askParameters(const QString &caption, QString &parameters)
{
    if (const std::optional<QString> answer = host_.inputBox(caption, texts_.inputParameters, parameters))
        parameters = *answer;
}

void BuildCommands::assemble()
{
    asCommand([&] { assembleStep(); });
}

void BuildCommands::assembleStep()
{
    host_.clearPage(OutputPage::Tasm);
    host_.saveSource();
    const QString toolsDir = state_.toolsFolder();
    enterToolsFolder(toolsDir, texts_.noToolsFolder);

    const SourceNames source = sourceNames(state_.CurrentFile);
    const ToolsCopy copy = prepareToolsCopy(state_.CurrentFile, toolsDir);
    removeStaleProducts(toolsDir, copy.tools, {objectExtension});

    const CommandLines lines = commandLines(state_, settings_, copy.tools);
    if (QFileInfo(state_.CurrentFile).isFile()) {
        if (settings_.capturesTasm()) {
            const RunResult result = runTool(BuiltInTool::Assembler, lines.assembleCaptured, DosWindow::Hidden);
            if (result.status == RunStatus::Ended || result.status == RunStatus::Cancelled)
                showOutput(OutputPage::Tasm, toolsDir, QStringLiteral("tasm.out"), copy, source);
            bool done = ranToEnd(result, OutputPage::Tasm, settings_.TasmFile, texts_.tasmNotFound,
                                 lines.assembleCaptured, toolsDir);
            // An assembler can stop without a message and without an object file (a source
            // without END under /z), so the object file itself says whether it worked.
            done = done &&
                   produced(OutputPage::Tasm, toolsDir, copy.tools.B + objectExtension, source.B + objectExtension);
            OutputSummary summary = summarizeOutput(host_.pageLines(OutputPage::Tasm), source.N);
            if (!done) {
                if (summary.counts)
                    summary.counts->errors = std::max(summary.counts->errors, 1);
                // The program linked from an older object file is not this source's: F9 must
                // not run it as if this assembly had worked.
                removeStaleProducts(toolsDir, copy.tools, linkExtensions);
            }
            applySummary(summary, host_, texts_.summaryCounts);
            if (!summary.failure.isEmpty())
                problems_ << summary.failure;
        } else {
            ranToEnd(host_.winExec(lines.assembleUncaptured, DosWindow::Shown), OutputPage::Tasm, settings_.TasmFile,
                     texts_.tasmNotFound, lines.assembleUncaptured, toolsDir);
        }
    }
    if (settings_.Auto_Change_Page)
        host_.activatePage(OutputPage::Tasm);
    host_.setCommandText(OutputPage::Tasm, lines.assembleCaptured);
    copyBack(toolsDir, state_.CurrentFile, copy, objectExtension);
}

void BuildCommands::assembleWithParameters()
{
    asCommand([&] {
        host_.saveSource();
        askParameters(texts_.tasmParameters, state_.TasmParams);
        assembleStep();
    });
}

void BuildCommands::link()
{
    asCommand([&] { linkStep(); });
}

void BuildCommands::linkStep()
{
    host_.clearPage(OutputPage::TLink);
    host_.saveSource();
    const QString toolsDir = state_.toolsFolder();
    enterToolsFolder(toolsDir, texts_.noToolsFolder);

    const SourceNames source = sourceNames(state_.CurrentFile);
    const ToolsCopy copy = recordedToolsCopy(state_.CurrentFile, toolsDir);
    const QString extension = runExtension(state_.TlinkParams);
    removeStaleProducts(toolsDir, copy.tools, linkExtensions);

    const CommandLines lines = commandLines(state_, settings_, copy.tools);
    if (settings_.capturesTlink()) {
        const RunResult result = runTool(BuiltInTool::Linker, lines.linkCaptured, DosWindow::Hidden);
        if (result.status == RunStatus::Ended || result.status == RunStatus::Cancelled)
            showOutput(OutputPage::TLink, toolsDir, QStringLiteral("tlink.out"), copy, source);
        bool done = ranToEnd(result, OutputPage::TLink, settings_.TLinkFile, texts_.tlinkNotFound, lines.linkCaptured,
                             toolsDir);
        done = done && !copy.tools.B.isEmpty() &&
               produced(OutputPage::TLink, toolsDir, copy.tools.B + extension, source.B + extension);
        SummaryCounts counts = linkCounts(host_.pageLines(OutputPage::TLink));
        if (!done)
            counts.errors = std::max(counts.errors, 1);
        host_.setTlinkColour(counts.colour());
        // The status panel keeps the assembler's summary unless the link failed.
        if (counts.errors > 0)
            host_.setSummaryText(counts.panelText(texts_.summaryCounts));
        if (settings_.Auto_Change_Page)
            host_.activatePage(OutputPage::TLink);
    } else {
        ranToEnd(host_.winExec(lines.linkUncaptured, DosWindow::Shown), OutputPage::TLink, settings_.TLinkFile,
                 texts_.tlinkNotFound, lines.linkUncaptured, toolsDir);
    }
    for (const QString &extension : linkExtensions)
        copyBack(toolsDir, state_.CurrentFile, copy, extension);
    host_.setCommandText(OutputPage::TLink, lines.linkCaptured);
}

void BuildCommands::linkWithParameters()
{
    asCommand([&] {
        host_.saveSource();
        askParameters(texts_.tlinkParameters, state_.TlinkParams);
        linkStep();
    });
}

void BuildCommands::run()
{
    asCommand([&] { runStep(true); });
}

void BuildCommands::runStep(bool alone)
{
    host_.clearPage(OutputPage::Run);
    const QString toolsDir = state_.toolsFolder();
    enterToolsFolder(toolsDir, texts_.noToolsFolder);

    const SourceNames source = sourceNames(state_.CurrentFile);
    const ToolsCopy copy = recordedToolsCopy(state_.CurrentFile, toolsDir);
    const QString extension = runExtension(state_.TlinkParams);
    const CommandLines lines = commandLines(state_, settings_, copy.tools);
    if (copy.tools.B.isEmpty() || existingFile(toolsDir, copy.tools.B + extension).isEmpty()) {
        // Never run an older program in place of the one that was not built. Within the chain,
        // the pages before already say why there is none.
        problem(OutputPage::Run, texts_.programMissing.arg(source.B + extension, toolsDir), alone);
    } else if (settings_.builtInTools()) {
        host_.runOnBuiltInPc();
        return;
    } else if (settings_.capturesRun()) {
        const RunResult result = host_.runTool(lines.runCaptured, DosWindow::Shown);
        if (result.status == RunStatus::Ended || result.status == RunStatus::Cancelled)
            showOutput(OutputPage::Run, toolsDir, QStringLiteral("run.out"), {}, source);
        ranToEnd(result, OutputPage::Run, source.B + extension, texts_.programMissing, lines.runCaptured, toolsDir);
    } else {
        ranToEnd(host_.winExec(lines.runUncaptured, DosWindow::Shown), OutputPage::Run, source.B + extension,
                 texts_.programMissing, lines.runUncaptured, toolsDir);
    }
    if (settings_.capturesRun() && settings_.Auto_Change_Page)
        host_.activatePage(OutputPage::Run);
    host_.setCommandText(OutputPage::Run, lines.runCaptured);
}

void BuildCommands::debug()
{
    asCommand([&] {
        if (settings_.builtInTools())
            return debugOnBuiltInPc();
        // The debugger is given the bare base name, so it must start in the tools folder where
        // the program was built, not in whatever folder happens to be current.
        const QString toolsDir = state_.toolsFolder();
        enterToolsFolder(toolsDir, texts_.noToolsFolder);
        const ToolsCopy copy = recordedToolsCopy(state_.CurrentFile, toolsDir);
        const QString line = commandLines(state_, settings_, copy.tools).debug;
        if (ranToEnd(host_.winExec(line, DosWindow::Shown), std::nullopt, settings_.TDFile, texts_.tdNotFound, line,
                     toolsDir))
            host_.informationBox(line);
    });
}

void BuildCommands::debugOnBuiltInPc()
{
    // The build the student asked for, with the debugger's line numbers and symbols added;
    // the parameters themselves stay as they were.
    const QString tasmParams = state_.TasmParams;
    const QString tlinkParams = state_.TlinkParams;
    {
        const auto restore = qScopeGuard([&] {
            state_.TasmParams = tasmParams;
            state_.TlinkParams = tlinkParams;
        });
        state_.TasmParams += QStringLiteral(" /zi");
        state_.TlinkParams += QStringLiteral(" /v");
        assembleStep();
        linkStep();
    }
    // A failed step has said why on its page and in the summary; there is nothing to debug.
    const ToolsCopy copy = recordedToolsCopy(state_.CurrentFile, state_.toolsFolder());
    if (!copy.tools.B.isEmpty() &&
        !existingFile(state_.toolsFolder(), copy.tools.B + runExtension(tlinkParams)).isEmpty())
        host_.debugOnBuiltInPc();
}

void BuildCommands::assembleLinkRun()
{
    asCommand([&] {
        const auto step = [this](auto command) {
            try {
                command();
            } catch (const ToolchainError &failure) {
                problems_ << failure.message();
            }
        };
        step([&] { assembleStep(); });
        step([&] { linkStep(); });
        step([&] { runStep(false); });
    });
}

void BuildCommands::listing(ListingKind kind, const QString &listGenerated)
{
    asCommand([&] {
        const QString toolsDir = state_.toolsFolder();
        enterToolsFolder(toolsDir, texts_.noToolsFolder);
        const SourceNames source = sourceNames(state_.CurrentFile);
        const ToolsCopy copy = recordedToolsCopy(state_.CurrentFile, toolsDir);
        removeStaleProducts(toolsDir, copy.tools, {listingExtension});
        host_.clearPage(OutputPage::Tasm);
        const QString line = listingLine(toolsDir, copy.tools.N, kind);
        const QString tasm = QStringLiteral("tasm.exe");
        const bool ran = ranToEnd(runTool(BuiltInTool::Assembler, line, DosWindow::Shown), OutputPage::Tasm, tasm,
                                  texts_.tasmNotFound, line, toolsDir);
        host_.activatePage(OutputPage::Tasm);

        // The listing is announced only when there is one: a run that failed, or an assembler
        // that stopped before writing it, is reported instead.
        if (ran && produced(OutputPage::Tasm, toolsDir, copy.tools.B + listingExtension, source.B + listingExtension)) {
            copyBack(toolsDir, state_.CurrentFile, copy, listingExtension);
            const QString beside = source.S + source.B + listingExtension;
            const QString shown = copy.copied && QFileInfo(beside).isFile()
                                      ? beside
                                      : existingFile(toolsDir, copy.tools.B + listingExtension);
            host_.informationBox(listGenerated + QLatin1String(" - ") + shown);
            showOutput(OutputPage::Tasm, toolsDir, copy.tools.B + listingExtension, copy, source);
        }
        host_.setCommandText(OutputPage::Tasm, line);
    });
}

void BuildCommands::showHelp(const QString &commandLine, OutputPage page, const QString &outputFile,
                             const QString &tool)
{
    asCommand([&] {
        const QString toolsDir = state_.toolsFolder();
        enterToolsFolder(toolsDir, texts_.noToolsFolder);
        const BuiltInTool builtIn = page == OutputPage::Tasm ? BuiltInTool::Assembler : BuiltInTool::Linker;
        const RunResult result = runTool(builtIn, commandLine, DosWindow::Hidden);
        if (result.status == RunStatus::Ended) {
            showOutput(page, toolsDir, outputFile, {}, {});
        } else {
            host_.clearPage(page);
            ranToEnd(result, page, tool, page == OutputPage::Tasm ? texts_.tasmNotFound : texts_.tlinkNotFound,
                     commandLine, toolsDir);
        }
        host_.activatePage(page);
    });
}

void BuildCommands::showTasmHelp()
{
    showHelp(tasmHelpLine(state_.toolsFolder()), OutputPage::Tasm, QStringLiteral("tasm.out"),
             QStringLiteral("tasm.exe"));
}

void BuildCommands::showTlinkHelp()
{
    showHelp(tlinkHelpLine(state_.toolsFolder()), OutputPage::TLink, QStringLiteral("tlink.out"),
             QStringLiteral("tlink.exe"));
}

} // namespace velmora::toolchain
