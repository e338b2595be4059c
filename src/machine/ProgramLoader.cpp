#include "machine/ProgramLoader.h"

#include "machine/FolderSandbox.h"

#include <algorithm>
#include <array>

namespace velmora::machine
{

namespace
{

constexpr uint16_t kPspParagraphs = 0x10;
constexpr size_t kMaxComImage = 0xFF00;
constexpr uint32_t kExeHeaderFixedPart = 0x1C;
// The owner of a block between its allocation and the PSP's creation, so it is not free.
constexpr uint16_t kLoaderOwner = 0x0008;

uint32_t at(uint16_t segment, uint16_t offset = 0)
{
    return Memory::linear(segment, offset);
}

uint16_t word(const std::vector<uint8_t> &file, size_t offset)
{
    return uint16_t(file[offset] | file[offset + 1] << 8);
}

uint16_t paragraphsFor(uint32_t bytes)
{
    return uint16_t((bytes + 15) / 16);
}

// The environment: COMSPEC and PATH, the double zero, the word 1 and the program's full name.
std::string environmentBlock(std::string_view programName)
{
    std::string block;
    block += "COMSPEC=C:\\COMMAND.COM";
    block += '\0';
    block += "PATH=C:\\";
    block += '\0';
    block += '\0';
    block += '\1';
    block += '\0';
    block += "C:\\";
    block += programName;
    block += '\0';
    return block;
}

std::string mcbName(std::string_view programName)
{
    return std::string(programName.substr(0, std::min<size_t>(programName.find('.'), 8)));
}

// An unopened FCB's drive (0 = the current one) and blank-padded name and extension, made
// from one word of the command tail as DOS fills the PSP's two FCBs from the first two
// words; a '*' fills the rest of its part with '?'.
struct FcbName {
    std::array<uint8_t, 12> bytes{};
    bool validDrive = true;
};

FcbName fcbName(std::string_view word)
{
    FcbName fcb;
    fcb.bytes.fill(' ');
    fcb.bytes[0] = 0;
    const std::string text = upperCaseAscii(word.substr(0, word.find_first_of("/\\\"[]|<>+=;,")));
    std::string_view name = text;
    if (name.size() >= 2 && name[1] == ':') {
        const bool letter = name[0] >= 'A' && name[0] <= 'Z';
        fcb.bytes[0] = letter ? uint8_t(name[0] - 'A' + 1) : 0;
        fcb.validDrive = name[0] == 'C';
        name.remove_prefix(2);
    }
    const auto fill = [&](std::string_view part, size_t at, size_t width) {
        for (size_t i = 0; i < width && i < part.size(); ++i) {
            if (part[i] == '*') {
                std::fill(fcb.bytes.begin() + long(at + i), fcb.bytes.begin() + long(at + width), '?');
                return;
            }
            fcb.bytes[at + i] = uint8_t(part[i]);
        }
    };
    const size_t dot = name.find('.');
    fill(name.substr(0, dot), 1, 8);
    if (dot != std::string_view::npos)
        fill(name.substr(dot + 1), 9, 3);
    return fcb;
}

// The first two blank-separated words of the command tail as FCB names.
std::array<FcbName, 2> fcbNames(std::string_view tail)
{
    std::array<FcbName, 2> fcbs{fcbName({}), fcbName({})};
    size_t at = 0;
    for (FcbName &fcb : fcbs) {
        const size_t start = tail.find_first_not_of(" \t", at);
        if (start == std::string_view::npos)
            break;
        at = std::min(tail.find_first_of(" \t", start), tail.size());
        fcb = fcbName(tail.substr(start, at - start));
    }
    return fcbs;
}

void writePsp(Memory &memory, uint16_t psp, uint16_t memoryTop, uint16_t environment, std::string_view tail)
{
    const uint32_t base = at(psp);
    for (uint32_t i = 0; i < 0x100; ++i)
        memory.write8(base + i, 0);
    memory.write8(base + 0x00, 0xCD); // INT 20h
    memory.write8(base + 0x01, 0x20);
    memory.write16(base + 0x02, memoryTop);
    // The terminate, Ctrl+Break and critical error addresses as the vectors hold them.
    for (uint32_t i = 0; i < 12; ++i)
        memory.write8(base + 0x0A + i, memory.read8(0x22 * 4 + i));
    memory.write16(base + 0x16, psp); // the parent: itself, as for the first program
    // The job file table: handles 0-2 the console, 3 AUX, 4 PRN, the rest unused.
    static constexpr uint8_t kHandles[5] = {1, 1, 1, 0, 2};
    for (uint32_t i = 0; i < 20; ++i)
        memory.write8(base + 0x18 + i, i < 5 ? kHandles[i] : 0xFF);
    memory.write16(base + 0x2C, environment);
    memory.write16(base + 0x32, 20);
    memory.write16(base + 0x34, 0x18);
    memory.write16(base + 0x36, psp);
    memory.write16(base + 0x38, 0xFFFF);
    memory.write16(base + 0x3A, 0xFFFF);
    memory.write8(base + 0x50, 0xCD); // INT 21h, RETF
    memory.write8(base + 0x51, 0x21);
    memory.write8(base + 0x52, 0xCB);
    const std::array<FcbName, 2> fcbs = fcbNames(tail);
    for (uint32_t i = 0; i < 12; ++i) {
        memory.write8(base + 0x5C + i, fcbs[0].bytes[i]);
        memory.write8(base + 0x6C + i, fcbs[1].bytes[i]);
    }
    memory.write8(base + 0x80, uint8_t(tail.size()));
    for (size_t i = 0; i < tail.size(); ++i)
        memory.write8(base + 0x81 + uint32_t(i), uint8_t(tail[i]));
    memory.write8(base + 0x81 + uint32_t(tail.size()), 0x0D);
}

struct ExeLayout {
    uint32_t headerBytes = 0;
    uint32_t imageBytes = 0;
    uint16_t minExtra = 0, maxExtra = 0;
    uint16_t ss = 0, sp = 0, ip = 0, cs = 0;
    uint16_t relocations = 0, relocationTable = 0;
};

std::string readExeHeader(const std::vector<uint8_t> &file, ExeLayout &exe)
{
    if (file.size() < kExeHeaderFixedPart)
        return "The .exe header is incomplete: the file has only " + std::to_string(file.size()) + " bytes";
    const uint16_t lastPageBytes = word(file, 0x02);
    const uint16_t pages = word(file, 0x04);
    exe.relocations = word(file, 0x06);
    exe.headerBytes = uint32_t(word(file, 0x08)) * 16;
    exe.minExtra = word(file, 0x0A);
    exe.maxExtra = word(file, 0x0C);
    exe.ss = word(file, 0x0E);
    exe.sp = word(file, 0x10);
    exe.ip = word(file, 0x14);
    exe.cs = word(file, 0x16);
    exe.relocationTable = word(file, 0x18);

    const int64_t fileBytes = int64_t(pages) * 512 - (lastPageBytes % 512 ? 512 - lastPageBytes % 512 : 0);
    if (exe.headerBytes < kExeHeaderFixedPart || exe.headerBytes > file.size())
        return "The .exe header's size (" + std::to_string(exe.headerBytes) + " bytes) does not fit the file";
    if (fileBytes <= int64_t(exe.headerBytes))
        return "The .exe header gives the program no code";
    if (size_t(exe.relocationTable) + size_t(exe.relocations) * 4 > file.size())
        return "The .exe relocation table lies beyond the end of the file";
    // DOS loads what the header names, as far as the file has it.
    exe.imageBytes = uint32_t(std::min<int64_t>(fileBytes, int64_t(file.size())) - exe.headerBytes);
    return {};
}

std::string notEnoughMemory(uint32_t paragraphs)
{
    return "Not enough memory to load the program: it needs " + std::to_string((paragraphs * 16 + 1023) / 1024) + " KB";
}

// AL and AH tell whether the drives of the first and second FCB are valid (0) or not (FFh).
void startRegisters(Registers &regs, uint16_t psp, std::string_view tail)
{
    const std::array<FcbName, 2> fcbs = fcbNames(tail);
    regs = Registers{};
    regs.setAl(fcbs[0].validDrive ? 0x00 : 0xFF);
    regs.setAh(fcbs[1].validDrive ? 0x00 : 0xFF);
    regs.ds = regs.es = psp;
    regs.setFlag(IF, true);
}

} // namespace

LoadedProgram loadProgram(Memory &memory, MemoryArena &arena, const std::vector<uint8_t> &file,
                          std::string_view programName, std::string_view commandTail, Registers &regs)
{
    std::string tail(commandTail);
    if (!tail.empty() && tail[0] != ' ' && tail[0] != '\t')
        tail.insert(tail.begin(), ' ');
    if (tail.size() > kMaxCommandTail)
        return {"The command tail is longer than " + std::to_string(kMaxCommandTail) + " characters"};
    if (file.empty())
        return {"The program file is empty"};

    const bool exe = file.size() >= 2 && ((file[0] == 'M' && file[1] == 'Z') || (file[0] == 'Z' && file[1] == 'M'));
    ExeLayout layout;
    if (exe) {
        if (std::string error = readExeHeader(file, layout); !error.empty())
            return {error};
    } else if (file.size() > kMaxComImage) {
        return {"The .com program is larger than " + std::to_string(kMaxComImage) + " bytes"};
    }
    const uint32_t imageBytes = exe ? layout.imageBytes : uint32_t(file.size());

    const std::string environment = environmentBlock(programName);
    const MemoryArena::Result envBlock = arena.allocate(paragraphsFor(uint32_t(environment.size())), kLoaderOwner);
    if (envBlock.error)
        return {notEnoughMemory(paragraphsFor(uint32_t(environment.size())))};
    for (size_t i = 0; i < environment.size(); ++i)
        memory.write8(at(envBlock.segment) + uint32_t(i), uint8_t(environment[i]));

    // An .exe gets its image and the extra it asks for, at least the minimum; a .com all
    // there is, at least its image and a stack word.
    const uint32_t imageParagraphs = kPspParagraphs + paragraphsFor(imageBytes);
    const uint32_t needed = exe ? imageParagraphs + layout.minExtra : imageParagraphs + 1;
    const uint32_t wanted = exe ? std::min<uint32_t>(imageParagraphs + layout.maxExtra, 0xFFFF) : 0xFFFF;
    const uint16_t largest = arena.largestFree();
    if (needed > largest)
        return {notEnoughMemory(needed)};
    const MemoryArena::Result block =
        arena.allocate(uint16_t(std::clamp<uint32_t>(wanted, needed, largest)), kLoaderOwner);
    if (block.error)
        return {notEnoughMemory(needed)};
    const uint16_t psp = block.segment;
    const std::string name = mcbName(programName);
    arena.setOwner(envBlock.segment, psp, name);
    arena.setOwner(psp, psp, name);
    const uint16_t memoryTop = uint16_t(psp + arena.size(psp));
    writePsp(memory, psp, memoryTop, envBlock.segment, tail);
    startRegisters(regs, psp, tail);

    const uint32_t imageStart = exe ? layout.headerBytes : 0;
    const uint16_t loadSegment = uint16_t(psp + kPspParagraphs);
    const uint32_t loadAddress = exe ? at(loadSegment) : at(psp, 0x100);
    for (uint32_t i = 0; i < imageBytes; ++i)
        memory.write8(loadAddress + i, file[imageStart + i]);

    if (!exe) {
        regs.cs = regs.ss = psp;
        regs.ip = 0x100;
        regs.sp = uint16_t(std::min<uint32_t>(uint32_t(arena.size(psp)) * 16, 0x10000) - 2);
        memory.write16(at(psp, regs.sp), 0);
        return {{}, psp, psp};
    }
    for (uint32_t i = 0; i < layout.relocations; ++i) {
        const size_t entry = layout.relocationTable + size_t(i) * 4;
        const uint32_t target = at(uint16_t(loadSegment + word(file, entry + 2)), word(file, entry));
        memory.write16(target, uint16_t(memory.read16(target) + loadSegment));
    }
    regs.cs = uint16_t(loadSegment + layout.cs);
    regs.ip = layout.ip;
    regs.ss = uint16_t(loadSegment + layout.ss);
    regs.sp = layout.sp;
    return {{}, psp, loadSegment};
}

} // namespace velmora::machine
