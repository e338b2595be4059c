// The console of the built-in PC: a window of its own beside the main window, holding the
// program's text screen, a status line and the Stop button. The window keeps every key for
// the program (the main window's shortcuts do not reach into it); Stop, Ctrl+Break and
// closing the window end a running program.
#pragma once

#include "app/console/ConsoleTexts.h"
#include "app/console/PcRun.h"

#include <QByteArray>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

namespace velmora::app
{

class PcScreenView;

class PcConsole : public QWidget
{
public:
    // A window of its own, owned by parent.
    explicit PcConsole(QWidget *parent);

    void setTexts(const ConsoleTexts &texts);
    // Loads program and, when it loaded, shows the window with the keyboard given to the
    // screen and starts the program; a program still running here is stopped first. Returns
    // the reason when it could not be loaded (the window is then left as it was).
    QString run(const QString &program);
    bool running() const { return run_.active(); }
    void stop() { run_.stop(); }
    // The screen shown: the PC's, as the last run left it.
    const machine::TextScreen &screen() const { return run_.pc().screen(); }

    // Once per run, when the program has ended or was stopped: what it wrote to standard
    // output through DOS, byte for byte.
    std::function<void(const QByteArray &output)> OnFinished;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showOutcome();

    PcRun run_;
    ConsoleTexts texts_;
    QString programName_;
    PcScreenView *screen_;
    QLabel *status_;
    QPushButton *stopButton_;
};

} // namespace velmora::app
