#include "app/console/PcConsole.h"

#include "app/console/PcScreenView.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora::app
{

using machine::PcState;

PcConsole::PcConsole(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("PcConsole"));
    screen_ = new PcScreenView(this);
    screen_->setObjectName(QStringLiteral("ConsoleScreen"));
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("ConsoleStatus"));
    status_->setTextFormat(Qt::PlainText);
    stopButton_ = new QPushButton(this);
    stopButton_->setObjectName(QStringLiteral("ConsoleStop"));
    // The keyboard stays with the screen, so Enter reaches the program, not the button.
    stopButton_->setFocusPolicy(Qt::NoFocus);
    stopButton_->setEnabled(false);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(status_, 1);
    bottom->addWidget(stopButton_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(screen_);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setFocusProxy(screen_);

    screen_->setScreen(&run_.pc().screen());
    screen_->OnKey = [this](machine::Key key) { run_.pressKey(key); };
    screen_->OnBreak = [this] { run_.stop(); };
    connect(stopButton_, &QPushButton::clicked, this, [this] { run_.stop(); });
    run_.OnSlice = [this] { screen_->refresh(); };
    run_.OnFinished = [this] {
        showOutcome();
        if (OnFinished)
            OnFinished(QByteArray::fromStdString(run_.pc().output()));
    };
    setTexts(texts_);
}

void PcConsole::setTexts(const ConsoleTexts &texts)
{
    texts_ = texts;
    stopButton_->setText(texts_.stop);
    setWindowTitle(texts_.title.arg(programName_));
    if (running())
        status_->setText(texts_.running);
    else if (run_.pc().state() != PcState::Empty)
        showOutcome();
}

QString PcConsole::run(const QString &program)
{
    const QString error = run_.start(program);
    if (!error.isEmpty())
        return error;
    programName_ = QFileInfo(program).fileName();
    setWindowTitle(texts_.title.arg(programName_));
    status_->setText(texts_.running);
    stopButton_->setEnabled(true);
    screen_->refresh();
    show();
    raise();
    activateWindow();
    screen_->setFocus();
    return {};
}

void PcConsole::showOutcome()
{
    stopButton_->setEnabled(false);
    const machine::BuiltInPc &pc = run_.pc();
    if (pc.state() == PcState::Ended)
        status_->setText(texts_.ended.arg(pc.exitCode()));
    else if (run_.stoppedByUser())
        status_->setText(texts_.stoppedByUser);
    else
        status_->setText(texts_.stopped.arg(QString::fromStdString(pc.message())));
}

void PcConsole::closeEvent(QCloseEvent *event)
{
    run_.stop();
    event->accept();
}

} // namespace velmora::app
