// The built-in PC's CPU: million instructions per second, in processor time, of a loop of
// ordinary register, memory and branch instructions, and of REP MOVSB / REP STOSW copying
// and filling memory (each repetition counts as one instruction).

#include "bench/BenchRegistry.h"
#include "machine/Cpu.h"

#include <cstdint>
#include <vector>

namespace velmora::bench
{

namespace
{

using namespace velmora::machine;

constexpr uint16_t kCodeSegment = 0x1000;
constexpr uint16_t kDataSegment = 0x2000;
constexpr uint64_t kInstructions = 200'000'000;

// Loads code at 1000:0000 with DS = ES = SS = 2000h and runs kInstructions of it.
void runLoop(const char *name, const std::vector<uint8_t> &code)
{
    Memory memory;
    Cpu cpu(memory, CpuModel::i8086);
    for (size_t i = 0; i < code.size(); ++i)
        memory.write8(Memory::linear(kCodeSegment, uint16_t(i)), code[i]);
    Registers &r = cpu.regs();
    r.cs = kCodeSegment;
    r.ds = r.es = r.ss = kDataSegment;
    r.sp = 0xFFFE;
    const double ms = cpuMillisecondsOf([&] { cpu.run(kInstructions); });
    report(name, double(cpu.instructionCount()) / (ms * 1e3), "MIPS");
}

void cpuLoop()
{
    // start: mov cx,0FFFFh
    // next:  add ax,bx / xor dx,ax / inc si / and si,0FFEh / mov [si],ax / mov bx,[si]
    //        shl ax,1 / cmp ax,dx / jne skip / nop
    // skip:  loop next
    //        jmp start
    runLoop("cpu-loop", {
                            0xB9, 0xFF, 0xFF,       // mov cx,0FFFFh
                            0x01, 0xD8,             // add ax,bx
                            0x31, 0xC2,             // xor dx,ax
                            0x46,                   // inc si
                            0x81, 0xE6, 0xFE, 0x0F, // and si,0FFEh
                            0x89, 0x04,             // mov [si],ax
                            0x8B, 0x1C,             // mov bx,[si]
                            0xD1, 0xE0,             // shl ax,1
                            0x39, 0xD0,             // cmp ax,dx
                            0x75, 0x01,             // jne skip
                            0x90,                   // nop
                            0xE2, 0xEA,             // skip: loop next (to offset 3)
                            0xEB, 0xE5,             // jmp start (to offset 0)
                        });
}

void stringLoop()
{
    runLoop("cpu-string-loop", {
                                   0xB9, 0x00, 0x40, // mov cx,4000h
                                   0x31, 0xF6,       // xor si,si
                                   0xBF, 0x00, 0x80, // mov di,8000h
                                   0xF3, 0xA4,       // rep movsb
                                   0xB9, 0x00, 0x20, // mov cx,2000h
                                   0xBF, 0x00, 0x80, // mov di,8000h
                                   0xF3, 0xAB,       // rep stosw
                                   0xEB, 0xEC,       // jmp start (to offset 0)
                               });
}

const Register loop("cpu-loop", cpuLoop);
const Register strings("cpu-string-loop", stringLoop);

} // namespace

} // namespace velmora::bench
