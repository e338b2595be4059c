// The small modal window shown while a child process runs: it names the command line, says
// how to stop it and offers Cancel, which ends the child. The application's windows stay
// painted meanwhile.
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

    // For a child with a window of its own that the user types into: this window shows at
    // once, so that the child's window comes up on top of it, and leaves the keyboard focus
    // to it: the child's window is brought to the front with the focus as soon as it
    // appears, and the window that had the focus gets it back when the child has ended.
    void handFocusToChild();

    // Returns once the child has ended. A child that ends within a moment never shows the
    // window (unless it hands the focus to the child); until then user input waits in the
    // queue, so nothing else starts meanwhile.
    void waitForEnd();

    // Ends the child: asks its process group to end, and forces it after a grace period.
    void cancel();

    // Esc and the close button cancel the child; the window closes when it has ended.
    void reject() override;

    // Whether the child was cancelled rather than ending by itself.
    bool cancelled() const { return cancelled_; }

private:
    void poll();
    void passFocusOn();

    ChildProcess &child_;
    QTimer pollTimer_;
    QTimer forceTimer_;
    bool ended_ = false;
    bool cancelled_ = false;
    bool handsFocus_ = false;
    bool childWindowUp_ = false; // the child's window has been brought to the front
};

} // namespace velmora::platform
