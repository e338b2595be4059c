// INT 21h functions on memory blocks, interrupt vectors, the clock and the DOS version.
#include "machine/PcServices.h"

#include "machine/DosErrors.h"

namespace velmora::machine
{

namespace
{

uint32_t vectorAddress(uint8_t vector)
{
    return uint32_t(vector) * 4;
}

} // namespace

void PcServices::allocateMemory(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    const MemoryArena::Result result = arena_.allocate(regs.bx, psp_);
    if (result.error) {
        regs.bx = result.largest;
        return fail(regs, result.error);
    }
    regs.ax = result.segment;
    succeed(regs);
}

void PcServices::freeMemory(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    const MemoryArena::Result result = arena_.release(regs.es);
    if (result.error)
        return fail(regs, result.error);
    succeed(regs);
}

void PcServices::resizeMemory(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    const MemoryArena::Result result = arena_.resize(regs.es, regs.bx);
    if (result.error) {
        if (result.error == dos_error::kInsufficientMemory)
            regs.bx = result.largest;
        return fail(regs, result.error);
    }
    succeed(regs);
}

void PcServices::setVector(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    memory_.write16(vectorAddress(regs.al()), regs.dx);
    memory_.write16(vectorAddress(regs.al()) + 2, regs.ds);
}

void PcServices::getVector(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    regs.bx = memory_.read16(vectorAddress(regs.al()));
    regs.es = memory_.read16(vectorAddress(regs.al()) + 2);
}

void PcServices::date(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    const WallTime now = clock_();
    regs.cx = uint16_t(now.year);
    regs.setDh(uint8_t(now.month));
    regs.setDl(uint8_t(now.day));
    regs.setAl(uint8_t(now.weekday));
}

void PcServices::time(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    const WallTime now = clock_();
    regs.setCh(uint8_t(now.hour));
    regs.setCl(uint8_t(now.minute));
    regs.setDh(uint8_t(now.second));
    regs.setDl(uint8_t(now.hundredths));
}

void PcServices::version(Cpu &cpu)
{
    // DOS 5.0, OEM number FFh, no serial number.
    Registers &regs = cpu.regs();
    regs.ax = 0x0005;
    regs.bx = 0xFF00;
    regs.cx = 0;
}

} // namespace velmora::machine
