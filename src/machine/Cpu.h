// The PC's processor: an 8086 in real mode, or an 80186 with the instructions it adds.
#pragma once

#include "machine/Memory.h"
#include "machine/Registers.h"

#include <atomic>
#include <cstdint>

namespace velmora::machine
{

class Cpu;

// What the PC around the CPU provides: services behind interrupt vectors, and I/O ports.
class ServiceHost
{
public:
    virtual ~ServiceHost() = default;
    // An interrupt handled by the host.
    virtual void service(uint8_t vector, Cpu &cpu) = 0;
    virtual uint8_t portIn(uint16_t /*port*/) { return 0xFF; }
    virtual void portOut(uint16_t /*port*/, uint8_t /*value*/) {}
};

// i80186 executes the .186 additions; i8086 runs 60h-6Fh, C0h, C1h, C8h, C9h as the 8086 does.
enum class CpuModel { i8086, i80186 };
enum class StopReason { StepLimit, Halted, Stopped, WaitingForInput };

class Cpu
{
public:
    explicit Cpu(Memory &memory, CpuModel model = CpuModel::i80186);
    Cpu(const Cpu &) = delete;
    Cpu &operator=(const Cpu &) = delete;

    Registers &regs() { return regs_; }
    const Registers &regs() const { return regs_; }
    Memory &memory() { return memory_; }
    CpuModel model() const { return model_; }
    void setServiceHost(ServiceHost *host) { host_ = host; }

    // Writes the service stubs into the ROM area at F000h and points all 256 interrupt
    // vectors at them: vector n leads to a stub that makes the CPU call host->service(n, cpu)
    // and then returns to the caller keeping the flags the service set (a far return that
    // discards the pushed flags, as the PC BIOS does; the caller's TF comes back). A program
    // that sets its own vector, or chains to the old one with PUSHF + CALL FAR, works as on
    // a real PC. The stub is the opcode F1h, which calls the host only in segment F000h.
    void installServiceStubs();
    static constexpr uint16_t kStubSegment = 0xF000;
    // Stub n lies at kStubSegment:kStubOffset + n * kStubSize.
    static constexpr uint16_t kStubOffset = 0x0100;
    static constexpr uint16_t kStubSize = 2;

    // The service's caller: the CS:IP pushed by the INT (for messages "... at CS:IP").
    // Valid inside service().
    uint16_t callerCs() const { return callerCs_; }
    uint16_t callerIp() const { return callerIp_; }
    // Inside service(): make run() return WaitingForInput now; the next run() calls
    // service() again for the same vector (used by keyboard reads with no key yet).
    void waitAndRetry() { waiting_ = true; }

    // Runs until maxInstructions have executed, HLT, requestStop(), or waitAndRetry().
    // A REP string instruction counts one instruction per repetition and may be
    // interrupted between repetitions; the next run() resumes it.
    StopReason run(uint64_t maxInstructions);
    // Exactly one instruction with its prefixes (a whole REP string instruction).
    void step();
    // Safe to call from another thread or from service(): the running run() returns Stopped
    // before its next instruction; made while nothing runs, it stops the next run() at once.
    void requestStop() { stopRequested_.store(true, std::memory_order_relaxed); }
    uint64_t instructionCount() const { return instructionCount_; }
    // After HLT the CPU stays halted (run() returns Halted at once) until setHalted(false),
    // which the host calls when it resumes the program after the HLT.
    bool halted() const { return halted_; }
    void setHalted(bool halted) { halted_ = halted; }

private:
    friend class Instruction;

    Memory &memory_;
    uint8_t *ram_;
    Registers regs_;
    CpuModel model_;
    ServiceHost *host_ = nullptr;
    std::atomic<bool> stopRequested_{false};
    bool waiting_ = false;
    bool halted_ = false;
    uint64_t instructionCount_ = 0;
    uint16_t callerCs_ = 0;
    uint16_t callerIp_ = 0;
};

} // namespace velmora::machine
