#include "machine/BuiltInPc.h"

#include "machine/BiosDataArea.h"
#include "machine/FolderSandbox.h"
#include "machine/ProgramLoader.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace velmora::machine
{

namespace
{

// The equipment word: an 80x25 colour display, no diskette drive, no coprocessor.
constexpr uint16_t kEquipment = 0x0020;
constexpr uint16_t kConventionalKb = 640;

std::string dosProgramName(const std::filesystem::path &path)
{
    const std::string name = path.filename().string();
    const std::string dosName = shortDosName(name);
    if (!dosName.empty())
        return dosName;
    return upperCaseAscii(name);
}

} // namespace

BuiltInPc::BuiltInPc()
    : cpu_(memory_), screen_(memory_), arena_(memory_), services_(memory_, screen_, keyboard_, arena_)
{
    cpu_.setServiceHost(&services_);
}

void BuiltInPc::resetMachine()
{
    memory_.clear();
    cpu_.installServiceStubs();
    cpu_.setHalted(false);
    memory_.write16(bda::kEquipment, kEquipment);
    memory_.write16(bda::kMemorySizeKb, kConventionalKb);
    screen_.setMode3();
    keyboard_.clear();
    arena_.reset(kFirstMcbSegment, kConventionalMemoryEnd);
    message_.clear();
    stopRequested_ = false;
    state_ = PcState::Empty;
    loadSegment_ = 0;
}

std::string BuiltInPc::load(const std::string &path, const std::string &commandTail)
{
    resetMachine();
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "Cannot open the program " + path;
    const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return "Cannot read the program " + path;

    const std::filesystem::path program(path);
    const LoadedProgram loaded = loadProgram(memory_, arena_, file, dosProgramName(program), commandTail, cpu_.regs());
    if (!loaded.error.empty())
        return loaded.error;
    const std::filesystem::path folder = program.parent_path();
    services_.startProgram(loaded.psp, folder.empty() ? std::string(".") : folder.string());
    loadSegment_ = loaded.loadSegment;
    state_ = PcState::Running;
    return {};
}

PcState BuiltInPc::run(uint64_t maxInstructions)
{
    if (state_ == PcState::Empty || state_ == PcState::Ended || state_ == PcState::Stopped)
        return state_;
    StopReason reason = StopReason::Stopped;
    if (!stopRequested_) {
        reason = cpu_.run(maxInstructions);
        // A stop asked for after the last run of an earlier program reaches the CPU only now.
        if (reason == StopReason::Stopped && !stopRequested_ && services_.outcome() == PcServices::Outcome::Running)
            reason = cpu_.run(maxInstructions);
    }
    switch (services_.outcome()) {
    case PcServices::Outcome::Ended:
        return state_ = PcState::Ended;
    case PcServices::Outcome::Stopped:
        message_ = services_.message();
        return state_ = PcState::Stopped;
    case PcServices::Outcome::Running:
        break;
    }
    switch (reason) {
    case StopReason::StepLimit:
        return state_ = PcState::Running;
    case StopReason::WaitingForInput:
        return state_ = PcState::WaitingForKey;
    case StopReason::Halted: {
        char text[64];
        std::snprintf(text, sizeof text, "The processor was halted (HLT) at %04X:%04X", cpu_.regs().cs,
                      uint16_t(cpu_.regs().ip - 1));
        message_ = text;
        return state_ = PcState::Stopped;
    }
    case StopReason::Stopped:
        break;
    }
    message_ = "Stopped by the user";
    return state_ = PcState::Stopped;
}

BuiltInPc::Snapshot BuiltInPc::snapshot() const
{
    return {cpu_.regs(), cpu_.halted(), services_.state(), keyboard_, state_, message_};
}

void BuiltInPc::restore(const Snapshot &snapshot)
{
    cpu_.regs() = snapshot.registers;
    cpu_.setHalted(snapshot.halted);
    services_.restore(snapshot.services);
    keyboard_ = snapshot.keyboard;
    state_ = snapshot.state;
    message_ = snapshot.message;
    stopRequested_ = false;
}

void BuiltInPc::pressKey(uint8_t scanCode, uint8_t character)
{
    keyboard_.push({scanCode, character});
    if (state_ == PcState::WaitingForKey)
        state_ = PcState::Running;
}

void BuiltInPc::stop()
{
    stopRequested_ = true;
    cpu_.requestStop();
}

} // namespace velmora::machine
