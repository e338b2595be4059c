// The recovery copy of the unsaved text: written a few seconds after the text changed (less
// often for texts that take long to write), before every build step, at the session's end
// and when the program is asked to end by a signal; removed once the text is saved or
// discarded; offered at the next start when a run ended without a clean exit.
#include "app/MainWindow.h"

#include "app/RecoveryCopies.h"
#include "editor/widget/SourceMemo.h"
#include "platform/AtomicFile.h"
#include "platform/Dialogs.h"
#include "platform/TerminationSignals.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QSessionManager>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <sstream>

namespace velmora::app
{

namespace
{

// The pause between a change and the copy; a copy that took t to write waits 10 t at least,
// so that a huge text is not written over and over while it is typed in.
constexpr qint64 kRecoveryPauseMs = 3000;

} // namespace

void TVelmora::startRecovery(const QString &folder)
{
    recovery_ = std::make_unique<RecoveryCopies>(folder);
    recoveryTimer_ = new QTimer(this);
    recoveryTimer_->setSingleShot(true);
    recoveryTimer_->setInterval(int(kRecoveryPauseMs));
    connect(recoveryTimer_, &QTimer::timeout, this, [this] { runCommand([this] { writeRecoveryCopy(); }); });
    editor->OnChange = [this](core::TSourceMemoCore &) {
        if (!recoveryTimer_->isActive())
            recoveryTimer_->start();
    };
    platform::onTerminationRequest(this, [this] { endByRequest(); });
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &) { writeRecoveryCopy(); });
}

void TVelmora::writeRecoveryCopy()
{
    if (!recovery_)
        return;
    recoveryTimer_->stop();
    if (!editor->Modified()) {
        recovery_->remove();
        return;
    }
    QElapsedTimer clock;
    clock.start();
    try {
        const std::optional<std::string> text = sourceText();
        if (!text)
            throw platform::FileWriteError(texts.messages.recoveryNoMemory.toStdString(), ENOMEM);
        recovery_->write(state_.CurrentFile, *text);
        recoveryFailureShown_ = false;
    } catch (const platform::FileWriteError &e) {
        // Said once, not after every pause in typing.
        if (!recoveryFailureShown_) {
            recoveryFailureShown_ = true;
            platform::dialogs().message(platform::MessageKind::Warning,
                                        texts.messages.recoveryNotWritten.arg(QString::fromUtf8(e.what())));
        }
    }
    recoveryTimer_->setInterval(int(std::max(kRecoveryPauseMs, 10 * clock.elapsed())));
}

void TVelmora::offerRecoveryCopies()
{
    if (!recovery_)
        return;
    using platform::Answer;
    for (RecoveryCopies::LeftCopy &copy : recovery_->leftBehind()) {
        const QString text =
            copy.sourceFile.isEmpty() ? texts.messages.untitledText : QStringLiteral("\"%1\"").arg(copy.sourceFile);
        const Answer answer = platform::dialogs().message(
            platform::MessageKind::Confirmation,
            texts.messages.recoveryOffer.arg(text, copy.written.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))),
            {Answer::Yes, Answer::No, Answer::Cancel});
        if (answer == Answer::Cancel)
            return;
        if (answer == Answer::Yes) {
            if (!confirmDiscard())
                return;
            restoreRecoveryCopy(copy.path, copy.sourceFile);
        }
        RecoveryCopies::discard(copy);
        if (answer == Answer::Yes)
            return;
    }
}

void TVelmora::restoreRecoveryCopy(const QString &copyPath, const QString &sourceFile)
{
    const QByteArray text = RecoveryCopies::text(copyPath);
    std::istringstream in(std::string(text.constData(), std::size_t(text.size())));
    loadStream(in, copyPath);
    state_.CurrentFile = sourceFile;
    truncatedFile_.clear();
    rememberDiskState();
    editor->setModified(true);
    FNameShow();
    writeRecoveryCopy();
}

void TVelmora::endByRequest()
{
    runCommand([this] { writeRecoveryCopy(); });
    endingByRequest_ = true;
    close();
}

} // namespace velmora::app
