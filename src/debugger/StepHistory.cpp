#include "debugger/StepHistory.h"

#include <utility>

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
    dropped_.clear();
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
        return dropAll("The program used a file on the disk, which cannot be undone, so no step "
                       "before that can be taken back.");
    if (journal_.end() - last.journalStart > maxJournalEntries_)
        return dropAll("The last step changed more memory than the history can hold, so no step "
                       "before it can be taken back.");
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

std::string StepHistory::limit() const
{
    if (!steps_.empty())
        return {};
    if (!dropped_.empty())
        return dropped_;
    return "The program is where it started; there is no step to take back.";
}

void StepHistory::dropOldest()
{
    steps_.pop_front();
    journal_.dropBefore(steps_.empty() ? journal_.end() : steps_.front().journalStart);
    dropped_ = "Only the last " + std::to_string(maxSteps_) +
               " steps, or as many as fit in the history's memory, can be taken back.";
}

void StepHistory::dropAll(std::string reason)
{
    steps_.clear();
    journal_.dropBefore(journal_.end());
    dropped_ = std::move(reason);
}

} // namespace velmora::debugger
