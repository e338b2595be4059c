#include "machine/Cpu.h"

namespace velmora::machine
{

Cpu::Cpu(Memory &memory, CpuModel model) : memory_(memory), ram_(memory.data()), model_(model) {}

// Stub n: F1h n (the host call), then RETF 2.
void Cpu::installServiceStubs()
{
    for (unsigned vector = 0; vector < 256; ++vector) {
        const auto offset = uint16_t(kStubOffset + vector * kStubSize);
        const uint32_t stub = Memory::linear(kStubSegment, offset);
        const uint8_t code[kStubSize] = {0xF1, uint8_t(vector), 0xCA, 0x02, 0x00};
        for (unsigned i = 0; i < kStubSize; ++i)
            memory_.write8(stub + i, code[i]);
        memory_.write16(vector * 4, offset);
        memory_.write16(vector * 4 + 2, kStubSegment);
    }
}

} // namespace velmora::machine
