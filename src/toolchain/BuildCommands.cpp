#include "toolchain/BuildCommands.h"

#include "platform/Dialogs.h"
#include "toolchain/SourceNames.h"
#include "toolchain/ToolchainError.h"
#include "toolchain/ToolsFolder.h"

#include <QFileInfo>

#include <optional>

namespace velmora::toolchain
{

namespace
{

QString inToolsFolder(const BuildSettings &settings, const QString &name)
{
    return settings.ToolsDir + QLatin1Char('/') + name;
}

// Asks for new parameters; Cancel keeps the old ones.
void askParameters(const QString &caption, QString &parameters)
{
    if (const std::optional<QString> answer =
            platform::dialogs().input(caption, QStringLiteral("Input parameters"), parameters))
        parameters = *answer;
}

} // namespace

void BuildCommands::loadOutput(OutputPage page, const QString &toolsDir, const QString &fileName)
{
    const QString file = existingFile(toolsDir, fileName);
    if (!file.isEmpty())
        host_.loadPage(page, file);
}

void BuildCommands::assemble(BuildSettings &settings)
{
    host_.clearPage(OutputPage::Tasm);
    settings.CurrentFile = host_.saveSource();
    enterToolsFolder(settings.ToolsDir);

    const SourceNames names = sourceNames(settings.CurrentFile);
    const bool outside = sourceOutsideTools(settings.CurrentFile, settings.ToolsDir);
    if (outside)
        copyReplacing(settings.CurrentFile, inToolsFolder(settings, names.N.toLower()));

    const CommandLines lines = commandLines(settings);
    QString summaryFailure;
    if (QFileInfo(settings.CurrentFile).isFile()) {
        if (settings.capturesTasm()) {
            if (host_.runTool(lines.assembleCaptured, DosWindow::Hidden))
                loadOutput(OutputPage::Tasm, settings.ToolsDir, QStringLiteral("tasm.out"));
            const OutputSummary summary = summarizeOutput(host_.pageLines(OutputPage::Tasm));
            applySummary(summary, host_);
            summaryFailure = summary.failure;
        } else {
            host_.winExec(lines.assembleUncaptured, DosWindow::Shown);
        }
    }
    if (settings.Auto_Change_Page)
        host_.activatePage(OutputPage::Tasm);
    host_.setCommandText(OutputPage::Tasm, lines.assembleCaptured);

    const QString object = existingFile(settings.ToolsDir, names.B + QLatin1String(".obj"));
    if (outside && !object.isEmpty())
        copyReplacing(object, names.S + names.B + QLatin1String(".obj"));

    // A malformed summary is reported once the object file is safely back beside the source.
    if (!summaryFailure.isEmpty())
        throw ToolchainError(summaryFailure);
}

void BuildCommands::assembleWithParameters(BuildSettings &settings)
{
    settings.CurrentFile = host_.saveSource();
    askParameters(QStringLiteral("TAsm Parameters"), settings.TasmParams);
    assemble(settings);
}

void BuildCommands::link(BuildSettings &settings)
{
    host_.clearPage(OutputPage::TLink);
    settings.CurrentFile = host_.saveSource();
    enterToolsFolder(settings.ToolsDir);

    const CommandLines lines = commandLines(settings);
    if (settings.capturesTlink()) {
        if (host_.runTool(lines.linkCaptured, DosWindow::Hidden))
            loadOutput(OutputPage::TLink, settings.ToolsDir, QStringLiteral("tlink.out"));
        if (settings.Auto_Change_Page)
            host_.activatePage(OutputPage::TLink);
    } else {
        host_.winExec(lines.linkUncaptured, DosWindow::Shown);
    }

    const SourceNames names = sourceNames(settings.CurrentFile);
    const QString executable = existingFile(settings.ToolsDir, names.B + QLatin1String(".exe"));
    const QString map = existingFile(settings.ToolsDir, names.B + QLatin1String(".map"));
    if (sourceOutsideTools(settings.CurrentFile, settings.ToolsDir) && !executable.isEmpty() && !map.isEmpty()) {
        copyReplacing(map, names.S + names.B + QLatin1String(".map"));
        copyReplacing(executable, names.S + names.B + QLatin1String(".exe"));
    }
    host_.setCommandText(OutputPage::TLink, lines.linkCaptured);
}

void BuildCommands::linkWithParameters(BuildSettings &settings)
{
    settings.CurrentFile = host_.saveSource();
    askParameters(QStringLiteral("TLink Parameters (/t - for .com file)"), settings.TlinkParams);
    link(settings);
}

void BuildCommands::run(const BuildSettings &settings)
{
    host_.clearPage(OutputPage::Run);
    enterToolsFolder(settings.ToolsDir);

    const CommandLines lines = commandLines(settings);
    if (settings.capturesRun()) {
        if (host_.runTool(lines.runCaptured, DosWindow::Shown))
            loadOutput(OutputPage::Run, settings.ToolsDir, QStringLiteral("run.out"));
        if (settings.Auto_Change_Page)
            host_.activatePage(OutputPage::Run);
    } else {
        host_.winExec(lines.runUncaptured, DosWindow::Shown);
    }
    host_.setCommandText(OutputPage::Run, lines.runCaptured);
}

void BuildCommands::debug(const BuildSettings &settings)
{
    // The debugger is given the bare base name, so it must start in the tools folder where
    // the program was built, not in whatever folder happens to be current.
    enterToolsFolder(settings.ToolsDir);
    const QString line = commandLines(settings).debug;
    host_.winExec(line, DosWindow::Shown);
    platform::dialogs().message(platform::MessageKind::Information, line);
}

void BuildCommands::assembleLinkRun(BuildSettings &settings)
{
    std::optional<ToolchainError> firstFailure;
    const auto step = [&firstFailure](auto command) {
        try {
            command();
        } catch (const ToolchainError &failure) {
            if (!firstFailure)
                firstFailure = failure;
        }
    };
    step([&] { assemble(settings); });
    step([&] { link(settings); });
    step([&] { run(settings); });
    if (firstFailure)
        throw *firstFailure;
}

void BuildCommands::listing(const BuildSettings &settings, ListingKind kind, const QString &listGenerated)
{
    enterToolsFolder(settings.ToolsDir);
    const SourceNames names = sourceNames(settings.CurrentFile);
    const QString line = listingLine(settings.ToolsDir, names.N, kind);
    const bool ran = host_.runTool(line, DosWindow::Shown);
    host_.activatePage(OutputPage::Tasm);

    // The listing is announced only when there is one: a run that failed, or an assembler
    // that stopped before writing it, must not be reported as a generated listing.
    const QString listName = names.B + QLatin1String(".lst");
    const QString listFile = ran ? existingFile(settings.ToolsDir, listName) : QString();
    if (!listFile.isEmpty()) {
        platform::dialogs().message(platform::MessageKind::Information,
                                    listGenerated + QLatin1String(" - ") + inToolsFolder(settings, listName));
        host_.loadPage(OutputPage::Tasm, listFile);
    }
    host_.setCommandText(OutputPage::Tasm, line);
}

void BuildCommands::showHelp(const BuildSettings &settings, const QString &commandLine, OutputPage page,
                             const QString &outputFile)
{
    enterToolsFolder(settings.ToolsDir);
    if (host_.runTool(commandLine, DosWindow::Hidden))
        loadOutput(page, settings.ToolsDir, outputFile);
    host_.activatePage(page);
}

void BuildCommands::showTasmHelp(const BuildSettings &settings)
{
    showHelp(settings, tasmHelpLine(settings.ToolsDir), OutputPage::Tasm, QStringLiteral("tasm.out"));
}

void BuildCommands::showTlinkHelp(const BuildSettings &settings)
{
    showHelp(settings, tlinkHelpLine(settings.ToolsDir), OutputPage::TLink, QStringLiteral("tlink.out"));
}

} // namespace velmora::toolchain
