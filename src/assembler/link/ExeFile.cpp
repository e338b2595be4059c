#include "assembler/link/ExeFile.h"

namespace velmora::assembler::link
{

namespace
{

constexpr std::uint32_t RelocationTableOffset = 0x3E;
constexpr std::uint32_t HeaderAlignment = 512;

void put16(std::vector<std::uint8_t> &out, std::size_t at, std::uint32_t value)
{
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

} // namespace

std::vector<std::uint8_t> writeExeFile(const ExeProgram &program)
{
    const std::uint32_t tableEnd = RelocationTableOffset + 4 * static_cast<std::uint32_t>(program.relocations.size());
    const std::uint32_t headerSize = (tableEnd + HeaderAlignment - 1) / HeaderAlignment * HeaderAlignment;
    const std::uint32_t fileSize = headerSize + static_cast<std::uint32_t>(program.image.size());
    const std::uint32_t imageSize = static_cast<std::uint32_t>(program.image.size());
    const std::uint32_t extra = program.memorySize > imageSize ? program.memorySize - imageSize : 0;

    std::vector<std::uint8_t> out(headerSize, 0);
    out[0] = 'M';
    out[1] = 'Z';
    put16(out, 0x02, fileSize % 512);
    put16(out, 0x04, (fileSize + 511) / 512);
    put16(out, 0x06, static_cast<std::uint32_t>(program.relocations.size()));
    put16(out, 0x08, headerSize / 16);
    put16(out, 0x0A, (extra + 15) / 16);
    put16(out, 0x0C, 0xFFFF);
    put16(out, 0x0E, program.ss);
    put16(out, 0x10, program.sp);
    put16(out, 0x14, program.ip);
    put16(out, 0x16, program.cs);
    put16(out, 0x18, RelocationTableOffset);
    std::size_t at = RelocationTableOffset;
    for (const ExeRelocation &relocation : program.relocations) {
        put16(out, at, relocation.offset);
        put16(out, at + 2, relocation.segment);
        at += 4;
    }
    out.insert(out.end(), program.image.begin(), program.image.end());
    return out;
}

std::vector<std::uint8_t> writeComFile(const std::vector<std::uint8_t> &image)
{
    if (image.size() <= 0x100)
        return {};
    return {image.begin() + 0x100, image.end()};
}

} // namespace velmora::assembler::link
