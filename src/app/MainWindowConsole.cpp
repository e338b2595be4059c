// The built-in PC command of TVelmora: the source's program runs in the console window, and
// Run Output receives what it wrote through DOS, as it does a redirected DOSBox run's file.
// The run reads only the program file; the editor's text is never touched.
#include "app/MainWindow.h"
#include "app/WindowBuildHost.h"
#include "app/console/PcConsole.h"
#include "app/debug/DebugMode.h"
#include "platform/Dialogs.h"
#include "toolchain/OutputExcerpt.h"
#include "toolchain/ProgramBesideSource.h"
#include "toolchain/SourceNames.h"

#include <QAction>

namespace velmora::app
{

using toolchain::OutputPage;

namespace
{

void refuse(const QString &text)
{
    platform::dialogs().message(platform::MessageKind::Error, text);
}

} // namespace

void TVelmora::RunBuiltInPcClick()
{
    if (state_.CurrentFile.isEmpty())
        return refuse(texts.console.untitled);
    const QString program = toolchain::programBesideSource(state_.CurrentFile);
    if (program.isEmpty()) {
        const toolchain::SourceNames source = toolchain::sourceNames(state_.CurrentFile);
        return refuse(texts.console.noProgram.arg(source.N, source.B + QStringLiteral(".exe"),
                                                  source.B + QStringLiteral(".com")));
    }
    if (console_ == nullptr) {
        console_ = new PcConsole(this);
        console_->setTexts(texts.console);
        console_->OnFinished = [this](const QByteArray &output) { showRunOutput(output, true); };
    }
    if (const QString error = console_->run(program); !error.isEmpty())
        return refuse(texts.console.notLoaded.arg(program, error));
    buildHost_->clearPage(OutputPage::Run);
    buildHost_->setCommandText(OutputPage::Run, program);
}

void TVelmora::showRunOutput(const QByteArray &output, bool showPage)
{
    const toolchain::OutputExcerpt excerpt = toolchain::outputExcerpt(output);
    QString text = buildHost_->outputText(excerpt.head);
    if (excerpt.omitted > 0)
        text += texts.console.outputCut.arg(excerpt.omitted) + QLatin1Char('\n') + buildHost_->outputText(excerpt.tail);
    buildHost_->setPageText(OutputPage::Run, text);
    if (showPage && state_.settings.build.Auto_Change_Page)
        buildHost_->activatePage(OutputPage::Run);
}

void TVelmora::showConsoleTexts()
{
    findChild<QAction *>(QStringLiteral("RunBuiltInPc1"))->setText(texts.main.runBuiltInPc);
    if (console_ != nullptr)
        console_->setTexts(texts.console);
    debugMode_->setTexts(texts.debugger);
}

} // namespace velmora::app
