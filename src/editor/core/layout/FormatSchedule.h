// When the layout and highlighting of paragraphs run: all at once (umImmediate), when the view
// reaches them (umOnNeed), or in slices of at most 8 ms driven by a timer (umBackground). Each
// slice returns to the event loop, so input waits at most one slice.
//
// TsmFormatThread paces the slices: it owns a timer (behind TFormatTimer, so that the core
// needs no toolkit) whose every tick runs one slice of its control, and it is suspended while
// there is no work. Slices do nothing while the editor's change lock (its update count) is
// raised, so a tick that arrives during an edit changes nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace velmora::core
{

class TLayoutEngine;

enum TsmUpdateMode : std::uint8_t { umImmediate, umOnNeed, umBackground };

// A repeating timer; the editor control implements it with its toolkit's timer.
class TFormatTimer
{
public:
    virtual ~TFormatTimer() = default;
    virtual void start() = 0;
    virtual void stop() = 0;
};

class TFormatSchedule;

class TsmFormatThread
{
public:
    // Created suspended. timer may be null (slices are then run by whoever drives the schedule).
    TsmFormatThread(TFormatSchedule &control, std::unique_ptr<TFormatTimer> timer);
    // Stops the timer, then calls OnDone when it is set.
    ~TsmFormatThread();
    TsmFormatThread(const TsmFormatThread &) = delete;
    TsmFormatThread &operator=(const TsmFormatThread &) = delete;

    void Resume();
    void Suspend();
    bool Suspended() const { return suspended_; }
    // Forgets the control and the completion callback and stops the timer for good.
    void Stop();
    bool Terminated() const { return control_ == nullptr; }
    // One timer tick: one slice of the control.
    void tick();

    // The completion callback.
    std::function<void()> OnDone;

private:
    TFormatSchedule *control_;
    std::unique_ptr<TFormatTimer> timer_;
    bool suspended_ = true;
};

class TFormatSchedule
{
public:
    explicit TFormatSchedule(TLayoutEngine &layout);
    ~TFormatSchedule();
    TFormatSchedule(const TFormatSchedule &) = delete;
    TFormatSchedule &operator=(const TFormatSchedule &) = delete;

    TsmUpdateMode UpdateMode() const { return mode_; }
    void setUpdateMode(TsmUpdateMode mode);
    // Milliseconds between two OnProgress calls during long formatting.
    std::int32_t ProgressInterval = 300;
    std::function<void()> OnProgress;

    // A monotonic clock in microseconds; tests replace it.
    std::function<std::int64_t()> Microseconds;
    // Makes the timer of a new format thread, given what each tick must run. Without it the
    // thread has no timer and slices run only when runSlice() is called.
    std::function<std::unique_ptr<TFormatTimer>(std::function<void()> tick)> CreateTimer;

    // Paragraphs are queued for layout and the mode formats them in the background.
    bool hasWork() const;
    // One background slice: lays out queued paragraphs from the first unformatted one for at
    // most kSliceMicroseconds, then does the view's bookkeeping and reports progress.
    void runSlice();
    // Work was queued: resumes the thread in umBackground.
    void resume();
    TsmFormatThread *thread() const { return thread_.get(); }

    static constexpr std::int64_t kSliceMicroseconds = 8000;
    static constexpr int kParagraphsPerClockReading = 8;
    static constexpr std::int32_t kBytesPerClockReading = 4096;

    // Progress reporting for one formatting pass: start() restarts the interval, step() calls
    // OnProgress once more than ProgressInterval ms passed, finish() calls it unconditionally.
    void startProgress();
    void stepProgress();
    void finishProgress();
    // The millisecond tick count (wrapping like GetTickCount) of the same clock.
    std::uint32_t now() const { return static_cast<std::uint32_t>(Microseconds() / 1000); }

    // Starts the thread when the control gets its window (and stops it before it goes).
    void windowCreated();
    void stopThread();

private:
    TLayoutEngine &layout_;
    TsmUpdateMode mode_ = umBackground;
    std::unique_ptr<TsmFormatThread> thread_;
    std::uint32_t lastProgress_ = 0;
};

} // namespace velmora::core
