// The built-in PC as the console window sees it: memory, CPU, DOS and BIOS services, the
// text screen and the keyboard queue, and one DOS program loaded and run in slices.
//
// Typical use: load(path, tail); then run(n) again and again while it gives Running; on
// WaitingForKey, pressKey(...) and run on; Ended gives exitCode(), Stopped message().
// run(), pressKey() and load() belong to one thread; stop() may come from any thread.
#pragma once

#include "machine/Cpu.h"
#include "machine/KeyboardQueue.h"
#include "machine/Memory.h"
#include "machine/MemoryArena.h"
#include "machine/PcServices.h"
#include "machine/TextScreen.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace velmora::machine
{

enum class PcState { Empty, Running, WaitingForKey, Ended, Stopped };

class BuiltInPc
{
public:
    // All the PC keeps apart from memory and the open files, for a debugger's steps back.
    struct Snapshot {
        Registers registers;
        bool halted = false;
        PcServices::State services;
        KeyboardQueue keyboard;
        PcState state = PcState::Empty;
        std::string message;
    };

    BuiltInPc();

    // Resets the PC and loads the .exe or .com at path, with the command tail as DOS
    // passes it (the text after the program's name). The program's folder is the only
    // one it can reach, as drive C:'s root. Returns an error text, empty when loaded.
    std::string load(const std::string &path, const std::string &commandTail);

    // Runs at most maxInstructions more instructions.
    PcState run(uint64_t maxInstructions);
    PcState state() const { return state_; }
    void pressKey(uint8_t scanCode, uint8_t character);
    // Ends the run at the next instruction; the state becomes Stopped.
    void stop();

    // What the program wrote to standard output through DOS, as a redirection file holds it.
    const std::string &output() const { return services_.output(); }
    const TextScreen &screen() const { return screen_; }
    uint8_t exitCode() const { return services_.exitCode(); }
    // Why the program was stopped.
    const std::string &message() const { return message_; }
    // The loaded program's PSP, and the segment its image and its map's addresses start at.
    uint16_t programSegmentPrefix() const { return services_.psp(); }
    uint16_t loadSegment() const { return loadSegment_; }

    Snapshot snapshot() const;
    // Puts the state back, a stop asked for since included; memory is the caller's.
    void restore(const Snapshot &snapshot);

    // For tests and tools that look deeper.
    Cpu &cpu() { return cpu_; }
    const Cpu &cpu() const { return cpu_; }
    Memory &memory() { return memory_; }
    const Memory &memory() const { return memory_; }
    PcServices &services() { return services_; }
    const PcServices &services() const { return services_; }

private:
    void resetMachine();

    Memory memory_;
    Cpu cpu_;
    TextScreen screen_;
    KeyboardQueue keyboard_;
    MemoryArena arena_;
    PcServices services_;
    PcState state_ = PcState::Empty;
    std::string message_;
    uint16_t loadSegment_ = 0;
    std::atomic<bool> stopRequested_ = false;
};

} // namespace velmora::machine
