#include "debugger/StepHistory.h"

namespace velmora::debugger
{

StepHistory::StepHistory(machine::BuiltInPc &pc, std::size_t maxSteps, std::uint64_t maxJournalEntries)
    : pc_(pc), maxSteps_(maxSteps), maxJournalEntries_(maxJournalEntries)
{
}

StepHistory::~StepHistory()
{
    pc_.memory().setJournal(nullptr);
}

void StepHistory::reset()
{
    steps_.clear();
    journal_.clear();
    dropped_ = StepBackLimit::AtStart;
    open_ = false;
    pc_.memory().setJournal(&journal_);
}

void StepHistory::begin(const machine::Registers &previous)
{
    if (open_)
        end();
    const std::uint64_t start = journal_.mark();
    steps_.push_back({pc_.snapshot(), previous, start, pc_.services().fileOperations()});
    open_ = true;
}

void StepHistory::end()
{
    if (!open_)
        return;
    open_ = false;
    const Step &last = steps_.back();
    if (pc_.services().fileOperations() != last.fileOperations)
        return dropAll(StepBackLimit::DiskFile);
    if (journal_.end() - last.journalStart > maxJournalEntries_)
        return dropAll(StepBackLimit::TooMuchMemory);
    while (steps_.size() > maxSteps_ || journal_.end() - journal_.begin() > maxJournalEntries_)
        dropOldest();
}

bool StepHistory::back(machine::Registers &previous)
{
    end();
    if (steps_.empty())
        return false;
    Step last = std::move(steps_.back());
    steps_.pop_back();
    journal_.undo(pc_.memory(), last.journalStart);
    pc_.restore(last.before);
    previous = last.previous;
    return true;
}

StepBackLimit StepHistory::limit() const
{
    return steps_.empty() ? dropped_ : StepBackLimit::None;
}

void StepHistory::dropOldest()
{
    steps_.pop_front();
    journal_.dropBefore(steps_.empty() ? journal_.end() : steps_.front().journalStart);
    dropped_ = StepBackLimit::HistoryFull;
}

void StepHistory::dropAll(StepBackLimit reason)
{
    steps_.clear();
    journal_.dropBefore(journal_.end());
    dropped_ = reason;
}

} // namespace velmora::debugger
