// Outside changes: a source that another program changed, replaced or deleted while it is
// open is noticed when the window becomes active and before a save. The user is asked before
// that program's version is overwritten and may reload it.
#include "app/MainWindow.h"

#include "editor/widget/SourceMemo.h"
#include "platform/Dialogs.h"

#include <QEvent>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTimer>

namespace velmora::app
{

using platform::Answer;
using platform::MessageKind;

void TVelmora::rememberDiskState()
{
    diskStateFile_ = state_.CurrentFile;
    diskState_ = platform::fileStamp(state_.CurrentFile);
    askedState_ = diskState_;
}

bool TVelmora::changedOnDisk() const
{
    return !state_.CurrentFile.isEmpty() && diskStateFile_ == state_.CurrentFile &&
           platform::fileStamp(state_.CurrentFile) != diskState_;
}

bool TVelmora::confirmOverwriteOutsideChange()
{
    if (!changedOnDisk() || !platform::fileStamp(state_.CurrentFile).exists)
        return true;
    return platform::dialogs().message(MessageKind::Confirmation,
                                       texts.messages.changedOutside.arg(QFileInfo(state_.CurrentFile).fileName()),
                                       {Answer::Yes, Answer::No}) == Answer::Yes;
}

void TVelmora::FormActivate()
{
    if (checkingOutside_ || !changedOnDisk())
        return;
    const platform::FileStamp now = platform::fileStamp(state_.CurrentFile);
    if (now == askedState_)
        return; // the user has been asked about this state already
    askedState_ = now;
    checkingOutside_ = true;
    const auto done = qScopeGuard([this] { checkingOutside_ = false; });
    const QString name = QFileInfo(state_.CurrentFile).fileName();
    if (!now.exists) {
        editor->setModified(true);
        platform::dialogs().message(MessageKind::Warning, texts.messages.goneOutside.arg(name));
        writeRecoveryCopy();
        return;
    }
    const QString &question = editor->Modified() ? texts.messages.reloadLosingChanges : texts.messages.reload;
    if (platform::dialogs().message(MessageKind::Confirmation, question.arg(name), {Answer::Yes, Answer::No}) !=
        Answer::Yes)
        return;
    loadSource(state_.CurrentFile);
    rememberDiskState();
    FNameShow();
}

void TVelmora::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Asked once the activation is over, not in its middle.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QTimer::singleShot(0, this, [this] { runCommand([this] { FormActivate(); }); });
}

} // namespace velmora::app
