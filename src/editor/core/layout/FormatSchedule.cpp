#include "editor/core/layout/FormatSchedule.h"

#include "editor/core/layout/LayoutEngine.h"

#include <algorithm>
#include <chrono>

namespace velmora::core
{

namespace
{

std::int64_t steadyMicroseconds()
{
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::microseconds>(since).count();
}

} // namespace

// ---- TsmFormatThread -----------------------------------------------------------------------

TsmFormatThread::TsmFormatThread(TFormatSchedule &control, std::unique_ptr<TFormatTimer> timer)
    : control_(&control), timer_(std::move(timer))
{
}

TsmFormatThread::~TsmFormatThread()
{
    if (timer_)
        timer_->stop();
    if (OnDone)
        OnDone();
}

void TsmFormatThread::Resume()
{
    if (!control_ || !suspended_)
        return;
    suspended_ = false;
    if (timer_)
        timer_->start();
}

void TsmFormatThread::Suspend()
{
    if (suspended_)
        return;
    suspended_ = true;
    if (timer_)
        timer_->stop();
}

void TsmFormatThread::Stop()
{
    control_ = nullptr;
    OnDone = nullptr;
    suspended_ = true;
    if (timer_)
        timer_->stop();
}

void TsmFormatThread::tick()
{
    if (control_ && !suspended_)
        control_->runSlice();
}

// ---- TFormatSchedule -----------------------------------------------------------------------

TFormatSchedule::TFormatSchedule(TLayoutEngine &layout) : Microseconds(steadyMicroseconds), layout_(layout) {}

TFormatSchedule::~TFormatSchedule()
{
    stopThread();
}

void TFormatSchedule::stopThread()
{
    if (!thread_)
        return;
    thread_->Stop();
    thread_.reset();
}

void TFormatSchedule::windowCreated()
{
    if (mode_ != umBackground || thread_)
        return;
    std::unique_ptr<TFormatTimer> timer;
    if (CreateTimer)
        timer = CreateTimer([this] {
            if (thread_)
                thread_->tick();
        });
    thread_ = std::make_unique<TsmFormatThread>(*this, std::move(timer));
}

void TFormatSchedule::setUpdateMode(TsmUpdateMode mode)
{
    if (mode == mode_)
        return;
    stopThread();
    mode_ = mode;
    if (!layout_.HandleAllocated())
        return;
    TParagraphsList &s = layout_.paragraphs();
    switch (mode) {
    case umImmediate:
        layout_.formatPending();
        break;
    case umBackground:
        windowCreated();
        if (s.marks().lastParToFormat() >= s.marks().firstUnformattedPar())
            resume();
        break;
    case umOnNeed:
        break;
    }
}

bool TFormatSchedule::hasWork() const
{
    const TParagraphsList &s = layout_.paragraphs();
    return s.marks().firstUnformattedPar() <= std::min(s.marks().lastParToFormat(), s.count() - 1);
}

void TFormatSchedule::resume()
{
    if (mode_ != umBackground || !layout_.HandleAllocated())
        return;
    if (!thread_)
        windowCreated();
    if (thread_->Suspended()) {
        startProgress();
        thread_->Resume();
    }
}

void TFormatSchedule::runSlice()
{
    TParagraphsList &s = layout_.paragraphs();
    if (layout_.memo().updateCount() > 0)
        return;
    if (!hasWork()) {
        if (thread_)
            thread_->Suspend();
        return;
    }
    const std::int64_t deadline = Microseconds() + kSliceMicroseconds;
    const std::int32_t first = s.marks().firstUnformattedPar();
    bool laidOut = false;
    // Reading the clock costs about as much as laying out a short paragraph: it is read once
    // per few paragraphs, or sooner after long ones.
    int paragraphsSinceReading = 0;
    std::int32_t bytesSinceReading = 0;
    while (hasWork()) {
        if (++paragraphsSinceReading >= kParagraphsPerClockReading || bytesSinceReading >= kBytesPerClockReading) {
            if (Microseconds() >= deadline)
                break;
            paragraphsSinceReading = 0;
            bytesSinceReading = 0;
        }
        const std::int32_t i = s.marks().firstUnformattedPar();
        if (!(s.par(i)->flags & pfLinesValid)) {
            layout_.breakParagraph(i, 0, -1);
            bytesSinceReading += s.lengthOf(i);
            laidOut = true;
        }
        s.marks().setFirstUnformattedPar(i + 1);
    }
    if (laidOut) {
        layout_.afterLayout(first, s.marks().firstUnformattedPar() - 1);
        stepProgress();
    }
    if (!hasWork()) {
        finishProgress();
        if (thread_)
            thread_->Suspend();
    }
}

void TFormatSchedule::startProgress()
{
    lastProgress_ = now();
}

void TFormatSchedule::stepProgress()
{
    if (!OnProgress)
        return;
    const std::uint32_t t = now();
    if (static_cast<std::int32_t>(t - lastProgress_) > ProgressInterval) {
        lastProgress_ = t;
        OnProgress();
    }
}

void TFormatSchedule::finishProgress()
{
    lastProgress_ = now();
    if (OnProgress)
        OnProgress();
}

} // namespace velmora::core
