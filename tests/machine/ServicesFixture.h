// The PC's services on their own: memory, a CPU that is never run, the screen, keyboard and
// arena, and a program whose PSP owns a 64 KB block and whose folder is a fresh one. Tests
// set registers and call a service as the CPU would after an INT.
#pragma once

#include "machine/Cpu.h"
#include "machine/KeyboardQueue.h"
#include "machine/MemoryArena.h"
#include "machine/PcServices.h"
#include "machine/ProgramLoader.h"
#include "machine/TextScreen.h"

#include "machine/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora::testing
{

class ServicesFixture : public ::testing::Test
{
protected:
    // Where the tests keep their strings and buffers: DS for every call.
    static constexpr uint16_t kData = 0x3000;

    void SetUp() override
    {
        screen.setMode3();
        arena.reset(machine::kFirstMcbSegment, machine::kConventionalMemoryEnd);
        psp = arena.allocate(0x1000, 0x0008).segment;
        arena.setOwner(psp, psp, "TEST");
        services.startProgram(psp, folder.path().string());
        regs().ds = kData;
    }

    machine::Registers &regs() { return cpu.regs(); }
    void call(uint8_t vector, uint16_t ax)
    {
        regs().ax = ax;
        services.service(vector, cpu);
    }
    // INT 21h with AH = function (and AL from the low byte of ax when given as a word).
    void dos(uint16_t ax) { call(0x21, ax); }
    void bios(uint8_t vector, uint16_t ax) { call(vector, ax); }

    void put(uint16_t offset, const std::string &bytes)
    {
        for (size_t i = 0; i < bytes.size(); ++i)
            memory.write8(machine::Memory::linear(kData, uint16_t(offset + i)), uint8_t(bytes[i]));
    }
    std::string get(uint16_t offset, size_t count) const
    {
        std::string bytes;
        for (size_t i = 0; i < count; ++i)
            bytes += char(memory.read8(machine::Memory::linear(kData, uint16_t(offset + i))));
        return bytes;
    }
    // Keys with a character; the scan code does not matter to DOS's input functions.
    void type(const std::string &text)
    {
        for (char c : text)
            keyboard.push({0x01, uint8_t(c)});
    }
    bool carry() { return regs().flag(machine::CF); }

    machine::Memory memory;
    machine::Cpu cpu{memory};
    machine::TextScreen screen{memory};
    machine::KeyboardQueue keyboard;
    machine::MemoryArena arena{memory};
    machine::PcServices services{memory, screen, keyboard, arena};
    TempFolder folder;
    uint16_t psp = 0;
};

} // namespace velmora::testing
