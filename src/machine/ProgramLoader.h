// Loads a DOS program as DOS's EXEC does: an environment block, a program segment prefix
// (PSP) and the program in blocks of the memory arena, then the registers to start it with.
// A file starting with "MZ" (or "ZM") is an .exe whatever its name; any other is a .com
// image, loaded at PSP:0100h with SP = FFFEh and a zero word on the stack, so that a RET
// reaches the INT 20h at PSP:0000.
#pragma once

#include "machine/Memory.h"
#include "machine/MemoryArena.h"
#include "machine/Registers.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::machine
{

// Where the memory arena lies: DOS's own data below the first MCB, the video memory and
// ROM from the end of conventional memory (640 KB) on.
constexpr uint16_t kFirstMcbSegment = 0x0100;
constexpr uint16_t kConventionalMemoryEnd = 0xA000;

// The longest command tail DOS passes: 127 bytes at PSP:0081h including the closing CR.
constexpr size_t kMaxCommandTail = 126;

struct LoadedProgram {
    std::string error; // why the program cannot be loaded; empty when it was
    uint16_t psp = 0;
    // Where the program's image starts, the segment its map counts from: the PSP's for a
    // .com (whose image follows the PSP within it), PSP + 10h for an .exe.
    uint16_t loadSegment = 0;
};

// programName is the DOS name the environment ends with ("SRC.EXE"); commandTail is the
// text after the program's name on the command line (a blank is put before it when it has
// none, as the command interpreter keeps the separator). On success regs hold the start.
LoadedProgram loadProgram(Memory &memory, MemoryArena &arena, const std::vector<uint8_t> &file,
                          std::string_view programName, std::string_view commandTail, Registers &regs);

} // namespace velmora::machine
