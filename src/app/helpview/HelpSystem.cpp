#include "app/helpview/HelpSystem.h"

#include "app/helpview/HelpWindow.h"
#include "platform/Dialogs.h"

#include <QApplication>

namespace velmora::app
{

THelpSystem::THelpSystem(QString helpFile, QWidget *owner) : helpFile_(std::move(helpFile)), owner_(owner) {}

THelpSystem::~THelpSystem()
{
    delete window_;
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

void THelpSystem::setTexts(const HelpTexts &texts)
{
    texts_ = texts;
    if (window_)
        window_->setTexts(texts);
}

THelpWindow *THelpSystem::open()
{
    if (!window_) {
        try {
            window_ = new THelpWindow(HelpFile::load(helpFile_), owner_);
        } catch (const HelpFileError &e) {
            platform::dialogs().message(platform::MessageKind::Error, QString::fromUtf8(e.what()));
            return nullptr;
        }
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
