// The DOS program files the linker writes.
//
// An MZ .exe: the 28-byte header, the relocation table at offset 3Eh, the header padded
// with zeros to a multiple of 512 bytes, then the load image (the program's bytes up to
// the last one a data record wrote). The minimum allocation covers the rest of the
// program's memory (uninitialised data and the stack); the maximum asks for all memory.
// A .com file is the image from offset 100h on.
#pragma once

#include <cstdint>
#include <vector>

namespace velmora::assembler::link
{

struct ExeRelocation {
    std::uint16_t offset = 0;
    std::uint16_t segment = 0;
};

struct ExeProgram {
    std::vector<std::uint8_t> image; // the load image
    std::uint32_t memorySize = 0;    // the whole program, uninitialised tail included
    std::vector<ExeRelocation> relocations;
    std::uint16_t ss = 0, sp = 0, cs = 0, ip = 0;
};

std::vector<std::uint8_t> writeExeFile(const ExeProgram &program);

std::vector<std::uint8_t> writeComFile(const std::vector<std::uint8_t> &image);

} // namespace velmora::assembler::link
