// One program's run on the built-in PC, in slices from a timer on the GUI thread: each tick
// runs instructions for a few milliseconds and hands the window back, so the window stays
// responsive and Stop works for a program that never ends. While the program waits for a
// key the timer rests until one is pressed.
#pragma once

#include "machine/BuiltInPc.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace velmora::app
{

class PcRun : public QObject
{
public:
    explicit PcRun(QObject *parent = nullptr);

    // Loads program into a fresh PC and starts it; its folder is the only one it reaches.
    // Returns the reason when it could not be loaded (and nothing runs), else empty.
    QString start(const QString &program);
    // Whether a program is running or waiting for a key.
    bool active() const;
    void pressKey(machine::Key key);
    // Ends the running program at once; OnFinished follows before this returns.
    void stop();
    bool stoppedByUser() const { return stoppedByUser_; }

    const machine::BuiltInPc &pc() const { return pc_; }

    // After every slice, when the screen may have changed.
    std::function<void()> OnSlice;
    // Once, when the program has ended or was stopped.
    std::function<void()> OnFinished;

private:
    void slice();
    void follow(machine::PcState state);

    machine::BuiltInPc pc_;
    QTimer timer_;
    bool stoppedByUser_ = false;
};

} // namespace velmora::app
