#include "platform/RunningWindow.h"

#include "platform/ChildProcess.h"
#include "platform/Dialogs.h"
#include "platform/ProcessWindow.h"

#include <QDialogButtonBox>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora::platform
{

namespace
{
constexpr int pollInterval = 20;  // ms between checks for the child's end
constexpr int quietPeriod = 400;  // ms a child may run before the window shows
constexpr int gracePeriod = 2000; // ms between asking a cancelled child to end and forcing it
} // namespace

RunningWindow::RunningWindow(const QString &commandLine, ChildProcess &child, QWidget *parent)
    : QDialog(parent), child_(child)
{
    setObjectName(QStringLiteral("RunningWindow"));
    const DialogTexts &texts = dialogTexts();
    setWindowTitle(texts.title);
    setModal(true);

    auto *label = new QLabel(texts.running.arg(commandLine) + QLatin1Char('\n') + texts.howToStop, this);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(texts.cancel);
    connect(buttons, &QDialogButtonBox::rejected, this, &RunningWindow::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(buttons);
    setMinimumWidth(360);

    pollTimer_.setInterval(pollInterval);
    connect(&pollTimer_, &QTimer::timeout, this, &RunningWindow::poll);
    forceTimer_.setSingleShot(true);
    forceTimer_.setInterval(gracePeriod);
    connect(&forceTimer_, &QTimer::timeout, this, [this] { child_.kill(); });
}

void RunningWindow::handFocusToChild()
{
    handsFocus_ = true;
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void RunningWindow::waitForEnd()
{
    ended_ = child_.hasEnded();
    if (ended_)
        return;
    pollTimer_.start();
    if (!handsFocus_) {
        QEventLoop quiet;
        QTimer::singleShot(quietPeriod, &quiet, &QEventLoop::quit);
        connect(&pollTimer_, &QTimer::timeout, &quiet, [&] {
            if (ended_)
                quiet.quit();
        });
        quiet.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (!ended_)
        exec();
    pollTimer_.stop();
    forceTimer_.stop();
    if (handsFocus_ && parentWidget())
        activateOwnWindow(*parentWidget());
}

void RunningWindow::cancel()
{
    if (ended_)
        return;
    cancelled_ = true;
    child_.terminate();
    if (!forceTimer_.isActive())
        forceTimer_.start();
}

void RunningWindow::reject()
{
    cancel();
}

// The child's window is brought to the front as soon as it appears. The toolkit activates
// a modal window as it shows, whatever its attributes, so this window may hold the focus
// until then; whenever it gets the focus later, it hands it straight on.
void RunningWindow::passFocusOn()
{
    if (childWindowUp_ && !isActiveWindow())
        return;
    if (activateProcessWindow(child_.pid()))
        childWindowUp_ = true;
}

void RunningWindow::poll()
{
    if (handsFocus_)
        passFocusOn();
    if (ended_ || !child_.hasEnded())
        return;
    ended_ = true;
    if (isVisible())
        done(QDialog::Accepted);
}

} // namespace velmora::platform
