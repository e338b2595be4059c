#include "app/helpview/HelpSystem.h"

#include "app/helpview/HelpWindow.h"
#include "platform/Dialogs.h"

#include <QApplication>

namespace velmora::app
{

namespace
{

void reportError(const QString &text)
{
    platform::dialogs().message(platform::MessageKind::Error, text);
}

} // namespace

THelpSystem::THelpSystem(HelpFiles files, QWidget *owner) : files_(std::move(files)), owner_(owner) {}

THelpSystem::~THelpSystem()
{
    delete window_;
}

void THelpSystem::setFiles(HelpFiles files)
{
    if (files.file == files_.file && files.fallback == files_.fallback) {
        files_.fallbackNote = files.fallbackNote;
        return;
    }
    files_ = std::move(files);
    reportedFile_.clear();
    if (!window_)
        return;
    if (std::optional<HelpFile> help = read())
        window_->setHelpFile(std::move(*help));
}

bool THelpSystem::showContents()
{
    THelpWindow *window = open();
    if (window)
        window->showTopic(0);
    return window != nullptr;
}

bool THelpSystem::showKeyword(const QString &word)
{
    THelpWindow *window = open();
    if (window)
        window->showKeyword(word);
    return window != nullptr;
}

std::optional<HelpFile> THelpSystem::read()
{
    try {
        return HelpFile::load(files_.file);
    } catch (const HelpFileError &e) {
        if (files_.fallback.isEmpty() || files_.fallback == files_.file) {
            reportError(QString::fromUtf8(e.what()));
            return std::nullopt;
        }
        if (reportedFile_ != files_.file) {
            reportedFile_ = files_.file;
            reportError(files_.fallbackNote.arg(QString::fromUtf8(e.what())));
        }
    }
    try {
        return HelpFile::load(files_.fallback);
    } catch (const HelpFileError &e) {
        reportError(QString::fromUtf8(e.what()));
        return std::nullopt;
    }
}

void THelpSystem::setTexts(const HelpTexts &texts)
{
    texts_ = texts;
    if (window_)
        window_->setTexts(texts);
}

THelpWindow *THelpSystem::open()
{
    if (!window_) {
        std::optional<HelpFile> help = read();
        if (!help)
            return nullptr;
        window_ = new THelpWindow(std::move(*help), owner_);
        window_->setAttribute(Qt::WA_DeleteOnClose);
        window_->setTexts(texts_);
    }
    // Asked from a modal dialog (the keywords editor), the window must belong to that dialog,
    // or the dialog's modality would keep it from taking input.
    QWidget *parent = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : owner_;
    if (window_->parentWidget() != parent)
        window_->setParent(parent, Qt::Window);
    window_->show();
    window_->raise();
    window_->activateWindow();
    return window_;
}

} // namespace velmora::app
