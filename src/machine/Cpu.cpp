#include "machine/Cpu.h"

namespace velmora::machine
{

Cpu::Cpu(Memory &memory, CpuModel model) : memory_(memory), ram_(memory.data()), model_(model) {}

void Cpu::installServiceStubs() {}

StopReason Cpu::run(uint64_t)
{
    return StopReason::StepLimit;
}

void Cpu::step() {}

} // namespace velmora::machine
