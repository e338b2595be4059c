// The built-in debugger in TVelmora: F10 with the built-in tools builds the source with
// debug information and starts its program in debug mode beside the source; Run Output
// receives what the program wrote through DOS, as a run on the built-in PC does.
#include "app/MainWindow.h"
#include "app/WindowBuildHost.h"
#include "app/debug/DebugMode.h"
#include "platform/Dialogs.h"
#include "platform/FileNames.h"
#include "toolchain/ProgramBesideSource.h"

#include <QFileInfo>
#include <QMenuBar>

namespace velmora::app
{

void TVelmora::createDebugMode()
{
    debugMode_ = new DebugMode(*this, *editor, *Gutter);
    menuBar()->insertMenu(findChild<QAction *>(QStringLiteral("Options1")), debugMode_->menu());
    // The source stays in front while debugging; the console dock shows the output already.
    debugMode_->OnOutput = [this](const QByteArray &output) { showRunOutput(output, false); };
    debugMode_->OnActiveChanged = [this](bool) { FNameShow(); };
    debugMode_->DecodeSource = [this](const QByteArray &bytes) { return buildHost_->outputText(bytes); };
}

void TVelmora::startBuiltInDebugger()
{
    const QString program = toolchain::programBesideSource(state_.CurrentFile);
    if (program.isEmpty())
        return;
    const QFileInfo info(program);
    const QString map =
        platform::findIgnoringCase(info.absolutePath(), info.completeBaseName() + QStringLiteral(".map"));
    if (const QString error = debugMode_->start(program, map); !error.isEmpty()) {
        platform::dialogs().message(platform::MessageKind::Error, texts.debugger.notLoaded.arg(program, error));
        return;
    }
    // The source with its current line, not the link's output, is what the student steps through.
    showEditor();
}

bool TVelmora::debugging() const
{
    return debugMode_->active();
}

} // namespace velmora::app
