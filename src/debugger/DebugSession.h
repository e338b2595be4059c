// A program under the debugger: the built-in PC driven one command at a time, the way a
// student steps through a program beside its source, with every step recorded so that it
// can be taken back.
//
// Typical use: start(program, info); then traceInto(), stepOver(), run()... each returns
// what stopped it; while a command gives Outcome::Running (a run that has not yet reached
// a breakpoint, the end or a key wait) call proceed() again from a timer; on
// WaitingForKey, pressKey() and proceed(). stepBack() takes the last step back.
//
// A step is one command: a trace, a step over, or a whole run to a breakpoint. Stepping
// back restores the registers, the flags, memory (the screen with it, which lives there)
// and the PC's services exactly as they were before that step. At least the last
// kHistorySteps steps are kept; a step that reached the disk through a DOS file function
// cannot be taken back, nor any step before it.
#pragma once

#include "debugger/DebugInfo.h"
#include "debugger/StepHistory.h"
#include "machine/BuiltInPc.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>

namespace velmora::debugger
{

class DebugSession
{
public:
    static constexpr int kHistorySteps = 10000;

    enum class Outcome {
        Paused,        // the command finished; the program waits for the next one
        Running,       // a run goes on: call proceed()
        WaitingForKey, // the program waits for a key: pressKey(), then proceed()
        AtBreakpoint,  // a run stopped at a breakpoint (paused there)
        Ended,         // the program ended; exitCode() holds its code
        Stopped,       // the PC stopped it (an unsupported service, HLT) or stop() did: message()
    };

    DebugSession();

    // Loads the program into a fresh PC with the command tail as DOS passes it; `info` maps
    // its addresses to source lines and symbols (empty when the program has none). Returns
    // an error text, empty when the program is loaded and paused at its first instruction.
    std::string start(const std::string &programPath, const std::string &commandTail, DebugInfo info);

    // One instruction; an INT is stepped over, as the services behind it have no source.
    Outcome traceInto();
    // One instruction, but a CALL, INT, LOOP/LOOPE/LOOPNE or a REP-prefixed string instruction
    // runs until the instruction after it is reached with the stack no deeper.
    Outcome stepOver();
    // Runs until a breakpoint, the end or a key wait.
    Outcome run();
    // Runs until the first address of `line` (or the next line with code) is reached, or
    // a breakpoint, the end or a key wait comes first.
    Outcome runToLine(int line);
    // Continues the command that gave Running or WaitingForKey for a slice of at most
    // maxInstructions instructions.
    Outcome proceed(std::uint64_t maxInstructions = 200000);
    void pressKey(machine::Key key);
    // Ends the program; the session stays for its views until start() or destruction.
    void stop();

    // Takes the last step back; false when there is none left (canStepBack() says why).
    bool stepBack();
    bool canStepBack() const;
    // Why no (further) step back is possible: None when one is.
    StepBackLimit stepBackLimit() const;
    int stepsRecorded() const;

    // Breakpoints by source line; each sits on the line's first address or the next line
    // with code. Lines that have no code at or after them are dropped. The set given is
    // what the gutter shows; effectiveBreakpointLine() tells where one landed.
    void setBreakpointLines(const std::set<int> &lines);
    std::optional<int> effectiveBreakpointLine(int line) const;

    // Where the program is.
    const machine::Registers &registers() const;
    // The registers as they were before the last step (for marking what changed).
    const machine::Registers &previousRegisters() const;
    // The source line of CS:IP, none outside the program's source (e.g. in a service).
    std::optional<int> currentLine() const;
    std::uint16_t loadSegment() const { return loadSegment_; }
    // A place of the debug information as a segment:offset of the running program.
    std::uint16_t segmentOf(CodePlace place) const { return std::uint16_t(loadSegment_ + place.frame); }
    const DebugInfo &info() const { return info_; }
    const machine::BuiltInPc &pc() const { return pc_; }
    bool active() const; // loaded and neither ended nor stopped
    std::uint8_t exitCode() const { return pc_.exitCode(); }
    const std::string &message() const;

    // Edits while paused, each recorded as a step so that a step back undoes it too.
    void setRegisters(const machine::Registers &registers);
    void writeByte(std::uint32_t linearAddress, std::uint8_t value);

private:
    enum class Command { None, Trace, StepOver, Run, RunToLine };

    // What the PC's state means when no command runs.
    Outcome idleOutcome() const;
    // Opens a step for the command and runs its first slice; where the session stands when the
    // program is no longer active.
    Outcome begin(Command command);
    // Opens a step in the history and keeps the registers before it, to mark what it changes.
    void openStep();
    // Closes the command's step once the outcome ends it.
    Outcome finish(Outcome outcome);
    // One whole instruction: a REP string instruction with all its repetitions.
    machine::PcState executeOne();
    // An edit: a step of its own, or part of the command waiting for a key.
    template <typename Change> void edit(Change change);
    std::uint32_t linearOf(CodePlace place) const;

    machine::BuiltInPc pc_;
    DebugInfo info_;
    std::uint16_t loadSegment_ = 0;
    StepHistory history_;
    machine::Registers previous_;
    std::set<int> breakpointLines_;               // as given
    std::set<std::uint32_t> breakpointAddresses_; // linear addresses where they landed
    Command command_ = Command::None;
    // A step over or run to line stops at this linear address, a step over only with SP
    // not below targetSp_ there (so a recursive call of the same procedure runs on).
    std::uint32_t target_ = 0;
    std::uint16_t targetSp_ = 0;
};

} // namespace velmora::debugger
