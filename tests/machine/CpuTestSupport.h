// A CPU with 1 MB of memory, a program loaded at 1000:0100 with its stack at 2000:FFFE,
// and a host that records the services called.
#pragma once

#include "machine/Cpu.h"

#include <functional>
#include <initializer_list>
#include <map>
#include <vector>

namespace velmora::testing
{

using namespace velmora::machine;

// Records each service call with the caller's address, and the port traffic; a test may
// give a vector's service something to do.
class RecordingHost : public ServiceHost
{
public:
    struct Call {
        uint8_t vector;
        uint16_t callerCs, callerIp;
    };
    void service(uint8_t vector, Cpu &cpu) override
    {
        calls.push_back({vector, cpu.callerCs(), cpu.callerIp()});
        if (auto it = actions.find(vector); it != actions.end())
            it->second(cpu);
    }
    uint8_t portIn(uint16_t port) override { return uint8_t(port + 1); }
    void portOut(uint16_t port, uint8_t value) override { written.emplace_back(port, value); }

    std::vector<Call> calls;
    std::map<uint8_t, std::function<void(Cpu &)>> actions;
    std::vector<std::pair<uint16_t, uint8_t>> written;
};

struct TestMachine {
    static constexpr uint16_t kCode = 0x1000, kStack = 0x2000, kStart = 0x0100;

    explicit TestMachine(CpuModel model = CpuModel::i80186) : cpu(memory, model)
    {
        cpu.setServiceHost(&host);
        cpu.installServiceStubs();
        Registers &r = cpu.regs();
        r.cs = r.ds = r.es = kCode;
        r.ip = kStart;
        r.ss = kStack;
        r.sp = 0xFFFE;
    }
    void load(std::initializer_list<uint8_t> code, uint16_t at = kStart)
    {
        for (uint8_t byte : code)
            memory.write8(Memory::linear(kCode, at++), byte);
    }
    uint16_t word(uint16_t segment, uint16_t offset) const { return memory.read16(Memory::linear(segment, offset)); }

    Memory memory;
    Cpu cpu;
    RecordingHost host;
};

} // namespace velmora::testing
