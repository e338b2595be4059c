#include "machine/Cpu.h"

namespace velmora::machine
{

Cpu::Cpu(Memory &memory, CpuModel model) : memory_(memory), ram_(memory.data()), model_(model) {}

// Stub n is the two bytes F1h n: the host call, which also returns to the caller.
void Cpu::installServiceStubs()
{
    for (unsigned vector = 0; vector < 256; ++vector) {
        const auto offset = uint16_t(kStubOffset + vector * kStubSize);
        const uint32_t stub = Memory::linear(kStubSegment, offset);
        memory_.write8(stub, 0xF1);
        memory_.write8(stub + 1, uint8_t(vector));
        memory_.write16(vector * 4, offset);
        memory_.write16(vector * 4 + 2, kStubSegment);
    }
}

} // namespace velmora::machine
