// Runs arbitrary bytes as code on the built-in PC's CPU, in both models, from registers
// taken from the input, for a bounded number of instructions. Whatever the bytes do, the
// CPU must stay inside its memory, stop within the limit it was given, keep the FLAGS
// bits that are fixed on the chip, and come back to a service that asked to be retried.
#include "machine/Cpu.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

using namespace velmora::machine;

namespace
{

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// Answers every service, asking for a retry on every third call as a keyboard read with
// no key would.
class RetryingHost : public ServiceHost
{
public:
    void service(uint8_t, Cpu &cpu) override
    {
        if (++calls % 3 == 0)
            cpu.waitAndRetry();
        cpu.regs().ax ^= 0x5A5A;
    }
    unsigned calls = 0;
};

constexpr uint64_t kStepLimit = 2000;

// The input is both the code, at CS:IP, and the registers' starting values (its first
// 26 bytes, zero where the input is shorter).
void runOn(CpuModel model, const uint8_t *data, size_t size)
{
    static Memory memory;
    memory.clear();
    Cpu cpu(memory, model);
    RetryingHost host;
    cpu.setServiceHost(&host);
    cpu.installServiceStubs();

    uint16_t words[13] = {};
    std::memcpy(words, data, std::min(size, sizeof words));
    Registers &r = cpu.regs();
    r.ax = words[0], r.bx = words[1], r.cx = words[2], r.dx = words[3];
    r.sp = words[4], r.bp = words[5], r.si = words[6], r.di = words[7];
    r.ds = words[8], r.es = words[9], r.ss = words[10], r.ip = words[11];
    r.cs = 0x1000;
    r.flags = uint16_t((words[12] & 0x0FD5) | 0xF002);
    for (size_t i = 0; i < size; ++i)
        memory.write8(Memory::linear(r.cs, uint16_t(r.ip + i)), data[i]);

    uint64_t total = 0;
    for (int slice = 0; slice < 8 && total < kStepLimit; ++slice) {
        const uint64_t before = cpu.instructionCount();
        const StopReason reason = cpu.run(kStepLimit / 8);
        const uint64_t ran = cpu.instructionCount() - before;
        check(ran <= kStepLimit / 8);
        check((r.flags & 0xF02A) == 0xF002);
        if (reason == StopReason::Halted) {
            check(cpu.halted());
            break;
        }
        if (reason == StopReason::WaitingForInput) {
            // The next run goes on at the host call (or a prefix before it) in the stubs.
            check(r.cs == Cpu::kStubSegment);
        }
        total += ran;
    }
    cpu.step();
    check((r.flags & 0xF02A) == 0xF002);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    runOn(CpuModel::i8086, data, size);
    runOn(CpuModel::i80186, data, size);
    return 0;
}
