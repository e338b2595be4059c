// The debug session's record of its steps: for each step the PC's state before it (the
// registers, the services, the keyboard) and, through the memory's write journal, the old
// values of the bytes it wrote. Taking a step back puts all of it back.
//
// A step that used a file on the disk cannot be taken back (the disk keeps what it did),
// so it and every step before it are dropped. The history keeps at most maxSteps steps
// and at most maxJournalEntries journal entries (the oldest steps go first).
#pragma once

#include "machine/BuiltInPc.h"
#include "machine/WriteJournal.h"

#include <cstdint>
#include <deque>

namespace velmora::debugger
{

// Why no (further) step can be taken back.
enum class StepBackLimit {
    None,          // there is a step to take back
    AtStart,       // the program is where it started
    DiskFile,      // a step used a file on the disk, which cannot be undone
    TooMuchMemory, // the last step changed more memory than the history holds
    HistoryFull,   // only the last steps, as many as the history holds, are kept
};

class StepHistory
{
public:
    // Four bytes each: 32 MB.
    static constexpr std::uint64_t kDefaultJournalEntries = 8u << 20;

    StepHistory(machine::BuiltInPc &pc, std::size_t maxSteps, std::uint64_t maxJournalEntries = kDefaultJournalEntries);
    ~StepHistory();
    StepHistory(const StepHistory &) = delete;
    StepHistory &operator=(const StepHistory &) = delete;

    // Forgets every step and starts journaling the PC's memory.
    void reset();
    // Opens a step at the PC's present state; `previous` is what the caller wants back
    // with it (the registers it marked as before the previous step).
    void begin(const machine::Registers &previous);
    // Closes the open step, dropping what can no longer be taken back.
    void end();
    bool open() const { return open_; }

    // Closes an open step and takes the last step back; the registers given to its begin()
    // are returned in previous. False when there is none.
    bool back(machine::Registers &previous);
    int size() const { return int(steps_.size()); }
    // Why there is no step to take back; None when there is one.
    StepBackLimit limit() const;

private:
    struct Step {
        machine::BuiltInPc::Snapshot before;
        machine::Registers previous;
        std::uint64_t journalStart = 0;
        std::uint64_t fileOperations = 0;
    };

    void dropOldest();
    void dropAll(StepBackLimit reason);

    machine::BuiltInPc &pc_;
    machine::WriteJournal journal_;
    std::size_t maxSteps_;
    std::uint64_t maxJournalEntries_;
    std::deque<Step> steps_;
    bool open_ = false;
    // Why steps before the oldest kept one are gone.
    StepBackLimit dropped_ = StepBackLimit::AtStart;
};

} // namespace velmora::debugger
