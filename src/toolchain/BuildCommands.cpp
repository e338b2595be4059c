#include "toolchain/BuildCommands.h"

#include "platform/Dialogs.h"
#include "platform/DosRunner.h"
#include "toolchain/BuiltInTools.h"
#include "toolchain/OutputExcerpt.h"
#include "toolchain/SourceNames.h"
#include "toolchain/ToolchainError.h"
#include "toolchain/ToolsFolder.h"

#include <QFileInfo>

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

// Asks for new parameters; Cancel keeps the old ones.
void askParameters(const QString &caption, const QString &prompt, QString &parameters)
{
    if (const std::optional<QString> answer = platform::dialogs().input(caption, prompt, parameters))
        parameters = *answer;
}

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
void copyBack(const BuildSettings &settings, const ToolsCopy &copy, const QString &extension)
{
    const QString product = existingFile(settings.ToolsDir, copy.tools.B + extension);
    if (copy.copied && !product.isEmpty()) {
        const SourceNames source = sourceNames(settings.CurrentFile);
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

RunResult BuildCommands::runTool(const BuildSettings &settings, BuiltInTool tool, const QString &commandLine,
                                 DosWindow window)
{
    if (settings.builtInTools())
        return runBuiltInTool(tool, commandLine, settings.ToolsDir);
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

void BuildCommands::assemble(BuildSettings &settings)
{
    asCommand([&] { assembleStep(settings); });
}

void BuildCommands::assembleStep(BuildSettings &settings)
{
    host_.clearPage(OutputPage::Tasm);
    settings.CurrentFile = host_.saveSource();
    enterToolsFolder(settings.ToolsDir, texts_.noToolsFolder);

    const SourceNames source = sourceNames(settings.CurrentFile);
    const ToolsCopy copy = prepareToolsCopy(settings.CurrentFile, settings.ToolsDir);
    removeStaleProducts(settings.ToolsDir, copy.tools, {objectExtension});

    const CommandLines lines = commandLines(settings, copy.tools);
    if (QFileInfo(settings.CurrentFile).isFile()) {
        if (settings.capturesTasm()) {
            const RunResult result =
                runTool(settings, BuiltInTool::Assembler, lines.assembleCaptured, DosWindow::Hidden);
            if (result.status == RunStatus::Ended || result.status == RunStatus::Cancelled)
                showOutput(OutputPage::Tasm, settings.ToolsDir, QStringLiteral("tasm.out"), copy, source);
            bool done = ranToEnd(result, OutputPage::Tasm, settings.TasmFile, texts_.tasmNotFound,
                                 lines.assembleCaptured, settings.ToolsDir);
            // An assembler can stop without a message and without an object file (a source
            // without END under /z), so the object file itself says whether it worked.
            done = done && produced(OutputPage::Tasm, settings.ToolsDir, copy.tools.B + objectExtension,
                                    source.B + objectExtension);
            OutputSummary summary = summarizeOutput(host_.pageLines(OutputPage::Tasm), source.N);
            if (!done) {
                if (summary.counts)
                    summary.counts->errors = std::max(summary.counts->errors, 1);
                // The program linked from an older object file is not this source's: F9 must
                // not run it as if this assembly had worked.
                removeStaleProducts(settings.ToolsDir, copy.tools, linkExtensions);
            }
            applySummary(summary, host_, texts_.summaryCounts);
            if (!summary.failure.isEmpty())
                problems_ << summary.failure;
        } else {
            ranToEnd(host_.winExec(lines.assembleUncaptured, DosWindow::Shown), OutputPage::Tasm, settings.TasmFile,
                     texts_.tasmNotFound, lines.assembleUncaptured, settings.ToolsDir);
        }
    }
    if (settings.Auto_Change_Page)
        host_.activatePage(OutputPage::Tasm);
    host_.setCommandText(OutputPage::Tasm, lines.assembleCaptured);
    copyBack(settings, copy, objectExtension);
}

void BuildCommands::assembleWithParameters(BuildSettings &settings)
{
    asCommand([&] {
        settings.CurrentFile = host_.saveSource();
        askParameters(texts_.tasmParameters, texts_.inputParameters, settings.TasmParams);
        assembleStep(settings);
    });
}

void BuildCommands::link(BuildSettings &settings)
{
    asCommand([&] { linkStep(settings); });
}

void BuildCommands::linkStep(BuildSettings &settings)
{
    host_.clearPage(OutputPage::TLink);
    settings.CurrentFile = host_.saveSource();
    enterToolsFolder(settings.ToolsDir, texts_.noToolsFolder);

    const SourceNames source = sourceNames(settings.CurrentFile);
    const ToolsCopy copy = recordedToolsCopy(settings.CurrentFile, settings.ToolsDir);
    const QString extension = runExtension(settings.TlinkParams);
    removeStaleProducts(settings.ToolsDir, copy.tools, linkExtensions);

    const CommandLines lines = commandLines(settings, copy.tools);
    if (settings.capturesTlink()) {
        const RunResult result = runTool(settings, BuiltInTool::Linker, lines.linkCaptured, DosWindow::Hidden);
        if (result.status == RunStatus::Ended || result.status == RunStatus::Cancelled)
            showOutput(OutputPage::TLink, settings.ToolsDir, QStringLiteral("tlink.out"), copy, source);
        bool done = ranToEnd(result, OutputPage::TLink, settings.TLinkFile, texts_.tlinkNotFound, lines.linkCaptured,
                             settings.ToolsDir);
        done = done && !copy.tools.B.isEmpty() &&
               produced(OutputPage::TLink, settings.ToolsDir, copy.tools.B + extension, source.B + extension);
        SummaryCounts counts = linkCounts(host_.pageLines(OutputPage::TLink));
        if (!done)
            counts.errors = std::max(counts.errors, 1);
        host_.setTlinkColour(counts.colour());
        // The status panel keeps the assembler's summary unless the link failed.
        if (counts.errors > 0)
            host_.setSummaryText(counts.panelText(texts_.summaryCounts));
        if (settings.Auto_Change_Page)
            host_.activatePage(OutputPage::TLink);
    } else {
        ranToEnd(host_.winExec(lines.linkUncaptured, DosWindow::Shown), OutputPage::TLink, settings.TLinkFile,
                 texts_.tlinkNotFound, lines.linkUncaptured, settings.ToolsDir);
    }
    for (const QString &extension : linkExtensions)
        copyBack(settings, copy, extension);
    host_.setCommandText(OutputPage::TLink, lines.linkCaptured);
}

void BuildCommands::linkWithParameters(BuildSettings &settings)
{
    asCommand([&] {
        settings.CurrentFile = host_.saveSource();
        askParameters(texts_.tlinkParameters, texts_.inputParameters, settings.TlinkParams);
        linkStep(settings);
    });
}

void BuildCommands::run(const BuildSettings &settings)
{
    asCommand([&] { runStep(settings, true); });
}

void BuildCommands::runStep(const BuildSettings &settings, bool alone)
{
    host_.clearPage(OutputPage::Run);
    enterToolsFolder(settings.ToolsDir, texts_.noToolsFolder);

    const SourceNames source = sourceNames(settings.CurrentFile);
    const ToolsCopy copy = recordedToolsCopy(settings.CurrentFile, settings.ToolsDir);
    const QString extension = runExtension(settings.TlinkParams);
    const CommandLines lines = commandLines(settings, copy.tools);
    if (copy.tools.B.isEmpty() || existingFile(settings.ToolsDir, copy.tools.B + extension).isEmpty()) {
        // Never run an older program in place of the one that was not built. Within the chain,
        // the pages before already say why there is none.
        problem(OutputPage::Run, texts_.programMissing.arg(source.B + extension, settings.ToolsDir), alone);
    } else if (settings.capturesRun()) {
        const RunResult result = host_.runTool(lines.runCaptured, DosWindow::Shown);
        if (result.status == RunStatus::Ended || result.status == RunStatus::Cancelled)
            showOutput(OutputPage::Run, settings.ToolsDir, QStringLiteral("run.out"), {}, source);
        ranToEnd(result, OutputPage::Run, source.B + extension, texts_.programMissing, lines.runCaptured,
                 settings.ToolsDir);
    } else {
        ranToEnd(host_.winExec(lines.runUncaptured, DosWindow::Shown), OutputPage::Run, source.B + extension,
                 texts_.programMissing, lines.runUncaptured, settings.ToolsDir);
    }
    if (settings.capturesRun() && settings.Auto_Change_Page)
        host_.activatePage(OutputPage::Run);
    host_.setCommandText(OutputPage::Run, lines.runCaptured);
}

void BuildCommands::debug(const BuildSettings &settings)
{
    asCommand([&] {
        if (settings.builtInTools()) {
            problem(std::nullopt, texts_.noBuiltInDebugger);
            return;
        }
        // The debugger is given the bare base name, so it must start in the tools folder where
        // the program was built, not in whatever folder happens to be current.
        enterToolsFolder(settings.ToolsDir, texts_.noToolsFolder);
        const ToolsCopy copy = recordedToolsCopy(settings.CurrentFile, settings.ToolsDir);
        const QString line = commandLines(settings, copy.tools).debug;
        if (ranToEnd(host_.winExec(line, DosWindow::Shown), std::nullopt, settings.TDFile, texts_.tdNotFound, line,
                     settings.ToolsDir))
            platform::dialogs().message(platform::MessageKind::Information, line);
    });
}

void BuildCommands::assembleLinkRun(BuildSettings &settings)
{
    asCommand([&] {
        const auto step = [this](auto command) {
            try {
                command();
            } catch (const ToolchainError &failure) {
                problems_ << failure.message();
            }
        };
        step([&] { assembleStep(settings); });
        step([&] { linkStep(settings); });
        step([&] { runStep(settings, false); });
    });
}

void BuildCommands::listing(const BuildSettings &settings, ListingKind kind, const QString &listGenerated)
{
    asCommand([&] {
        enterToolsFolder(settings.ToolsDir, texts_.noToolsFolder);
        const SourceNames source = sourceNames(settings.CurrentFile);
        const ToolsCopy copy = recordedToolsCopy(settings.CurrentFile, settings.ToolsDir);
        removeStaleProducts(settings.ToolsDir, copy.tools, {listingExtension});
        host_.clearPage(OutputPage::Tasm);
        const QString line = listingLine(settings.ToolsDir, copy.tools.N, kind);
        const QString tasm = QStringLiteral("tasm.exe");
        const bool ran = ranToEnd(runTool(settings, BuiltInTool::Assembler, line, DosWindow::Shown), OutputPage::Tasm,
                                  tasm, texts_.tasmNotFound, line, settings.ToolsDir);
        host_.activatePage(OutputPage::Tasm);

        // The listing is announced only when there is one: a run that failed, or an assembler
        // that stopped before writing it, is reported instead.
        if (ran && produced(OutputPage::Tasm, settings.ToolsDir, copy.tools.B + listingExtension,
                            source.B + listingExtension)) {
            copyBack(settings, copy, listingExtension);
            const QString beside = source.S + source.B + listingExtension;
            const QString shown = copy.copied && QFileInfo(beside).isFile()
                                      ? beside
                                      : existingFile(settings.ToolsDir, copy.tools.B + listingExtension);
            platform::dialogs().message(platform::MessageKind::Information,
                                        listGenerated + QLatin1String(" - ") + shown);
            showOutput(OutputPage::Tasm, settings.ToolsDir, copy.tools.B + listingExtension, copy, source);
        }
        host_.setCommandText(OutputPage::Tasm, line);
    });
}

void BuildCommands::showHelp(const BuildSettings &settings, const QString &commandLine, OutputPage page,
                             const QString &outputFile, const QString &tool)
{
    asCommand([&] {
        enterToolsFolder(settings.ToolsDir, texts_.noToolsFolder);
        const BuiltInTool builtIn = page == OutputPage::Tasm ? BuiltInTool::Assembler : BuiltInTool::Linker;
        const RunResult result = runTool(settings, builtIn, commandLine, DosWindow::Hidden);
        if (result.status == RunStatus::Ended) {
            showOutput(page, settings.ToolsDir, outputFile, {}, {});
        } else {
            host_.clearPage(page);
            ranToEnd(result, page, tool, page == OutputPage::Tasm ? texts_.tasmNotFound : texts_.tlinkNotFound,
                     commandLine, settings.ToolsDir);
        }
        host_.activatePage(page);
    });
}

void BuildCommands::showTasmHelp(const BuildSettings &settings)
{
    showHelp(settings, tasmHelpLine(settings.ToolsDir), OutputPage::Tasm, QStringLiteral("tasm.out"),
             QStringLiteral("tasm.exe"));
}

void BuildCommands::showTlinkHelp(const BuildSettings &settings)
{
    showHelp(settings, tlinkHelpLine(settings.ToolsDir), OutputPage::TLink, QStringLiteral("tlink.out"),
             QStringLiteral("tlink.exe"));
}

} // namespace velmora::toolchain
