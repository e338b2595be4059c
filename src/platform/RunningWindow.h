// The small modal window shown while a child process runs: it names the command line and
// offers Cancel, which ends the child. The application's windows stay painted meanwhile.
#pragma once

#include <QDialog>
#include <QTimer>

namespace velmora::platform
{

class ChildProcess;

class RunningWindow final : public QDialog
{
    Q_OBJECT
public:
    RunningWindow(const QString &commandLine, ChildProcess &child, QWidget *parent = nullptr);

    // Returns once the child has ended. A child that ends within a moment never shows the
    // window; until then user input waits in the queue, so nothing else starts meanwhile.
    void waitForEnd();

    // Ends the child: asks its process group to end, and forces it after a grace period.
    void cancel();

    // Esc and the close button cancel the child; the window closes when it has ended.
    void reject() override;

    // Whether the child was cancelled rather than ending by itself.
    bool cancelled() const { return cancelled_; }

private:
    void poll();

    ChildProcess &child_;
    QTimer pollTimer_;
    QTimer forceTimer_;
    bool ended_ = false;
    bool cancelled_ = false;
};

} // namespace velmora::platform
