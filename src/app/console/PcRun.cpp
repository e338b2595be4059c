#include "app/console/PcRun.h"

#include <QElapsedTimer>
#include <QFile>

namespace velmora::app
{

namespace
{

using machine::PcState;

// A slice runs batches of instructions until its time is used up; a batch is short enough
// to overshoot the slice by well under a millisecond.
constexpr qint64 kSliceMs = 8;
constexpr std::uint64_t kBatch = 20000;

} // namespace

PcRun::PcRun(QObject *parent) : QObject(parent)
{
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, [this] { slice(); });
}

QString PcRun::start(const QString &program)
{
    if (active())
        stop();
    stoppedByUser_ = false;
    const std::string error = pc_.load(QFile::encodeName(program).toStdString(), {});
    if (!error.empty())
        return QString::fromStdString(error);
    timer_.start();
    return {};
}

bool PcRun::active() const
{
    return pc_.state() == PcState::Running || pc_.state() == PcState::WaitingForKey;
}

void PcRun::pressKey(machine::Key key)
{
    if (!active())
        return;
    pc_.pressKey(key.scanCode, key.character);
    timer_.start();
}

void PcRun::stop()
{
    if (!active())
        return;
    stoppedByUser_ = true;
    pc_.stop();
    follow(pc_.run(0));
}

void PcRun::slice()
{
    QElapsedTimer elapsed;
    elapsed.start();
    PcState state = pc_.run(kBatch);
    while (state == PcState::Running && elapsed.elapsed() < kSliceMs)
        state = pc_.run(kBatch);
    follow(state);
}

void PcRun::follow(PcState state)
{
    if (state != PcState::Running)
        timer_.stop();
    if (OnSlice)
        OnSlice();
    if ((state == PcState::Ended || state == PcState::Stopped) && OnFinished)
        OnFinished();
}

} // namespace velmora::app
