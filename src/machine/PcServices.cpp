#include "machine/PcServices.h"

#include "machine/BiosDataArea.h"

#include <algorithm>
#include <cstdio>

namespace velmora::machine
{

namespace
{

std::string hex2(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02Xh", value & 0xFF);
    return text;
}

} // namespace

PcServices::PcServices(Memory &memory, TextScreen &screen, KeyboardQueue &keyboard, MemoryArena &arena)
    : memory_(memory), screen_(screen), keyboard_(keyboard), arena_(arena)
{
}

void PcServices::startProgram(uint16_t psp, const std::string &folder)
{
    psp_ = psp;
    sandbox_.setFolder(folder);
    closeAllFiles();
    output_.clear();
    consoleLine_.clear();
    pendingScanCode_ = -1;
    waiting_ = retry_ = false;
    outcome_ = Outcome::Running;
    exitCode_ = 0;
    message_.clear();
}

PcServices::State PcServices::state() const
{
    return {output_.size(), consoleLine_, pendingScanCode_, waiting_,   retry_,
            outcome_,       exitCode_,    message_,         lineInput_, psp_};
}

void PcServices::restore(const State &state)
{
    output_.resize(std::min(output_.size(), state.outputLength));
    consoleLine_ = state.consoleLine;
    pendingScanCode_ = state.pendingScanCode;
    waiting_ = state.waiting;
    retry_ = state.retry;
    outcome_ = state.outcome;
    exitCode_ = state.exitCode;
    message_ = state.message;
    lineInput_ = state.lineInput;
    psp_ = state.psp;
}

void PcServices::closeAllFiles()
{
    if (files_.anyFileOpen())
        ++fileOperations_;
    files_.reset();
}

void PcServices::service(uint8_t vector, Cpu &cpu)
{
    retry_ = waiting_;
    waiting_ = false;
    Registers &regs = cpu.regs();
    switch (vector) {
    case 0x00:
        stopWith(cpu, "Divide overflow");
        return;
    case 0x01: // single step, breakpoint, overflow: DOS leaves them pointing at an IRET
    case 0x03:
    case 0x04:
        return;
    case 0x06: // raised by the 80186 for an opcode it does not know
        stopWith(cpu, "Invalid opcode");
        return;
    case 0x10:
        video(cpu);
        return;
    case 0x11:
        regs.ax = memory_.read16(bda::kEquipment);
        return;
    case 0x12:
        regs.ax = memory_.read16(bda::kMemorySizeKb);
        return;
    case 0x16:
        keyboardService(cpu);
        return;
    case 0x1A:
        timer(cpu);
        return;
    case 0x20:
        terminate(cpu, 0);
        return;
    case 0x21:
        dos(cpu);
        return;
    default:
        stopWith(cpu, "Unsupported interrupt INT " + hex2(vector));
        return;
    }
}

void PcServices::dos(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    switch (regs.ah()) {
    case 0x01:
        characterInput(cpu, true);
        return;
    case 0x02:
        writeStandardOutput(regs.dl());
        regs.setAl(regs.dl() == '\t' ? ' ' : regs.dl());
        return;
    case 0x06:
        directConsole(cpu);
        return;
    case 0x07:
    case 0x08:
        characterInput(cpu, false);
        return;
    case 0x09:
        printString(cpu);
        return;
    case 0x0A:
        bufferedInput(cpu);
        return;
    case 0x0B:
        regs.setAl(keyWaiting() ? 0xFF : 0x00);
        return;
    case 0x0C:
        flushAndInput(cpu);
        return;
    case 0x19: // the current drive: C:, the only one
        regs.setAl(2);
        return;
    case 0x25:
        setVector(cpu);
        return;
    case 0x2A:
        date(cpu);
        return;
    case 0x2C:
        time(cpu);
        return;
    case 0x30:
        version(cpu);
        return;
    case 0x35:
        getVector(cpu);
        return;
    case 0x3C:
        createFile(cpu);
        return;
    case 0x3D:
        openFile(cpu);
        return;
    case 0x3E:
        closeFile(cpu);
        return;
    case 0x3F:
        readFile(cpu);
        return;
    case 0x40:
        writeFile(cpu);
        return;
    case 0x41:
        deleteFile(cpu);
        return;
    case 0x42:
        seekFile(cpu);
        return;
    case 0x47:
        currentDirectory(cpu);
        return;
    case 0x48:
        allocateMemory(cpu);
        return;
    case 0x49:
        freeMemory(cpu);
        return;
    case 0x4A:
        resizeMemory(cpu);
        return;
    case 0x4C:
        terminate(cpu, regs.al());
        return;
    case 0x4D: // the last child's return code: none has run, so a normal end with code 0
        regs.ax = 0;
        return;
    default:
        unsupportedFunction(cpu, 0x21);
        return;
    }
}

void PcServices::terminate(Cpu &cpu, uint8_t exitCode)
{
    outcome_ = Outcome::Ended;
    exitCode_ = exitCode;
    closeAllFiles();
    cpu.requestStop();
}

void PcServices::stopWith(Cpu &cpu, const std::string &message)
{
    char at[16];
    std::snprintf(at, sizeof at, " at %04X:%04X", cpu.callerCs(), cpu.callerIp());
    outcome_ = Outcome::Stopped;
    message_ = message + at;
    closeAllFiles();
    cpu.requestStop();
}

void PcServices::unsupportedFunction(Cpu &cpu, uint8_t vector)
{
    stopWith(cpu, "Unsupported function INT " + hex2(vector) + " AH=" + hex2(cpu.regs().ah()));
}

void PcServices::waitForKey(Cpu &cpu)
{
    waiting_ = true;
    cpu.waitAndRetry();
}

} // namespace velmora::machine
