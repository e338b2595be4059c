#include "debugger/DebugSession.h"

#include "debugger/InstructionAhead.h"

#include <utility>

namespace velmora::debugger
{

using machine::Memory;
using machine::PcState;

namespace
{

std::uint32_t linearIp(const machine::Registers &r)
{
    return Memory::linear(r.cs, r.ip);
}

} // namespace

DebugSession::DebugSession() : history_(pc_, kHistorySteps) {}

std::string DebugSession::start(const std::string &programPath, const std::string &commandTail, DebugInfo info)
{
    command_ = Command::None;
    info_ = std::move(info);
    std::string error = pc_.load(programPath, commandTail);
    loadSegment_ = pc_.loadSegment();
    previous_ = registers();
    history_.reset();
    setBreakpointLines(std::set<int>(std::move(breakpointLines_)));
    return error;
}

DebugSession::Outcome DebugSession::traceInto()
{
    const machine::Registers &r = registers();
    if (instructionAt(pc_.memory(), r.cs, r.ip, pc_.cpu().model()).kind == InstructionKind::Interrupt)
        return stepOver();
    return begin(Command::Trace);
}

DebugSession::Outcome DebugSession::stepOver()
{
    const machine::Registers &r = registers();
    const InstructionAhead ahead = instructionAt(pc_.memory(), r.cs, r.ip, pc_.cpu().model());
    if (ahead.kind == InstructionKind::Other)
        return begin(Command::Trace);
    target_ = Memory::linear(r.cs, std::uint16_t(r.ip + ahead.length));
    targetSp_ = r.sp;
    return begin(Command::StepOver);
}

DebugSession::Outcome DebugSession::run()
{
    return begin(Command::Run);
}

DebugSession::Outcome DebugSession::runToLine(int line)
{
    const std::optional<int> codeLine = info_.lineWithCodeFrom(line);
    if (!codeLine)
        return idleOutcome();
    target_ = linearOf(*info_.placeOf(*codeLine));
    return begin(Command::RunToLine);
}

DebugSession::Outcome DebugSession::proceed(std::uint64_t maxInstructions)
{
    if (command_ == Command::None)
        return idleOutcome();
    if (pc_.state() == PcState::WaitingForKey)
        return Outcome::WaitingForKey;
    const machine::Registers &r = registers();
    for (std::uint64_t done = 0; done < maxInstructions; ++done) {
        PcState state;
        if (command_ == Command::Run && breakpointAddresses_.empty()) {
            state = pc_.run(maxInstructions);
            done = maxInstructions;
        } else {
            state = executeOne();
        }
        switch (state) {
        case PcState::Running:
            break;
        case PcState::WaitingForKey:
            return Outcome::WaitingForKey;
        case PcState::Ended:
            return finish(Outcome::Ended);
        case PcState::Empty:
        case PcState::Stopped:
            return finish(Outcome::Stopped);
        }
        if (command_ == Command::Trace)
            return finish(Outcome::Paused);
        const std::uint32_t at = linearIp(r);
        if (at == target_ && (command_ == Command::RunToLine || (command_ == Command::StepOver && r.sp >= targetSp_)))
            return finish(Outcome::Paused);
        if (breakpointAddresses_.count(at))
            return finish(Outcome::AtBreakpoint);
    }
    return Outcome::Running;
}

void DebugSession::pressKey(machine::Key key)
{
    pc_.pressKey(key.scanCode, key.character);
}

void DebugSession::stop()
{
    if (!active())
        return;
    if (!history_.open())
        history_.begin(previous_);
    pc_.stop();
    pc_.run(1);
    finish(Outcome::Stopped);
}

bool DebugSession::stepBack()
{
    command_ = Command::None;
    machine::Registers previous;
    if (!history_.back(previous))
        return false;
    previous_ = previous;
    return true;
}

bool DebugSession::canStepBack() const
{
    return history_.size() > 0;
}

StepBackLimit DebugSession::stepBackLimit() const
{
    return history_.limit();
}

int DebugSession::stepsRecorded() const
{
    return history_.size();
}

void DebugSession::setBreakpointLines(const std::set<int> &lines)
{
    breakpointLines_.clear();
    breakpointAddresses_.clear();
    for (int line : lines) {
        const std::optional<int> codeLine = info_.lineWithCodeFrom(line);
        if (!codeLine)
            continue;
        breakpointLines_.insert(line);
        breakpointAddresses_.insert(linearOf(*info_.placeOf(*codeLine)));
    }
}

std::optional<int> DebugSession::effectiveBreakpointLine(int line) const
{
    if (!breakpointLines_.count(line))
        return std::nullopt;
    return info_.lineWithCodeFrom(line);
}

const machine::Registers &DebugSession::registers() const
{
    return pc_.cpu().regs();
}

const machine::Registers &DebugSession::previousRegisters() const
{
    return previous_;
}

std::optional<int> DebugSession::currentLine() const
{
    const machine::Registers &r = registers();
    if (r.cs < loadSegment_)
        return std::nullopt;
    return info_.lineAt({std::uint16_t(r.cs - loadSegment_), r.ip});
}

bool DebugSession::active() const
{
    return pc_.state() == PcState::Running || pc_.state() == PcState::WaitingForKey;
}

const std::string &DebugSession::message() const
{
    return pc_.message();
}

void DebugSession::setRegisters(const machine::Registers &registers)
{
    edit([&] { pc_.cpu().regs() = registers; });
}

void DebugSession::writeByte(std::uint32_t linearAddress, std::uint8_t value)
{
    edit([&] { pc_.memory().write8(linearAddress & Memory::kMask, value); });
}

template <typename Change> void DebugSession::edit(Change change)
{
    if (pc_.state() == PcState::Empty)
        return;
    if (history_.open()) {
        change();
        return;
    }
    openStep();
    change();
    history_.end();
}

DebugSession::Outcome DebugSession::idleOutcome() const
{
    switch (pc_.state()) {
    case PcState::Running:
        return Outcome::Paused;
    case PcState::WaitingForKey:
        return Outcome::WaitingForKey;
    case PcState::Ended:
        return Outcome::Ended;
    case PcState::Empty:
    case PcState::Stopped:
        break;
    }
    return Outcome::Stopped;
}

DebugSession::Outcome DebugSession::begin(Command command)
{
    finish(Outcome::Paused);
    if (!active())
        return idleOutcome();
    openStep();
    command_ = command;
    return proceed();
}

void DebugSession::openStep()
{
    history_.begin(previous_);
    previous_ = registers();
}

DebugSession::Outcome DebugSession::finish(Outcome outcome)
{
    if (outcome != Outcome::Running && outcome != Outcome::WaitingForKey) {
        command_ = Command::None;
        history_.end();
    }
    return outcome;
}

PcState DebugSession::executeOne()
{
    const machine::Registers &r = registers();
    const std::uint16_t cs = r.cs;
    const std::uint16_t ip = r.ip;
    const bool repeated =
        instructionAt(pc_.memory(), cs, ip, pc_.cpu().model()).kind == InstructionKind::RepeatedString;
    PcState state;
    do
        state = pc_.run(1);
    while (repeated && state == PcState::Running && r.cs == cs && r.ip == ip);
    return state;
}

std::uint32_t DebugSession::linearOf(CodePlace place) const
{
    return (Memory::linear(loadSegment_, 0) + place.linear()) & Memory::kMask;
}

} // namespace velmora::debugger
