// The built-in PC's start of a program: from the file on disk to the program's end, for a
// small .com that prints a line and an .exe of 32 KB with 200 relocations that does the
// same; the mean of many loads, in wall-clock milliseconds.

#include "bench/BenchRegistry.h"
#include "machine/BuiltInPc.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace velmora::bench
{

namespace
{

using namespace velmora::machine;

constexpr int kLoads = 200;

// mov dx,text / mov ah,9 / int 21h / mov ax,4C00h / int 21h / nop / text db 'hello',13,10,'$'
std::vector<uint8_t> helloCode(uint16_t textOffset)
{
    return {0xBA,
            uint8_t(textOffset),
            uint8_t(textOffset >> 8),
            0xB4,
            0x09,
            0xCD,
            0x21,
            0xB8,
            0x00,
            0x4C,
            0xCD,
            0x21,
            0x90,
            'h',
            'e',
            'l',
            'l',
            'o',
            0x0D,
            0x0A,
            '$'};
}

std::vector<uint8_t> comProgram()
{
    return helloCode(0x100 + 13);
}

// A header of 200 relocations (each at a word of zeros in the image), then the code with
// DS = its own segment, then 32 KB of data.
std::vector<uint8_t> exeProgram()
{
    constexpr uint16_t kRelocations = 200;
    constexpr uint32_t kHeader = 0x20 + kRelocations * 4;
    std::vector<uint8_t> code = {0x0E, 0x1F}; // push cs / pop ds
    const std::vector<uint8_t> hello = helloCode(2 + 13);
    code.insert(code.end(), hello.begin(), hello.end());
    code.resize(0x8000, 0);
    std::vector<uint8_t> file(kHeader, 0);
    const auto put = [&](uint32_t at, uint16_t value) {
        file[at] = uint8_t(value);
        file[at + 1] = uint8_t(value >> 8);
    };
    const uint32_t total = kHeader + uint32_t(code.size());
    file[0] = 'M';
    file[1] = 'Z';
    put(0x02, uint16_t(total % 512));
    put(0x04, uint16_t((total + 511) / 512));
    put(0x06, kRelocations);
    put(0x08, uint16_t(kHeader / 16));
    put(0x0C, 0xFFFF);
    put(0x0E, 0x0800); // SS after the image
    put(0x10, 0x0200);
    put(0x18, 0x20);
    for (uint16_t i = 0; i < kRelocations; ++i)
        put(0x20 + i * 4u, uint16_t(0x100 + i * 2)); // segment 0
    file.insert(file.end(), code.begin(), code.end());
    return file;
}

void loadAndStart(const char *name, const std::string &fileName, const std::vector<uint8_t> &program)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "velmora-load-bench";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / fileName).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(program.data()), std::streamsize(program.size()));
    BuiltInPc pc;
    bool allEnded = true;
    const double ms = millisecondsOf([&] {
        for (int i = 0; i < kLoads; ++i) {
            allEnded = pc.load(path, "one two").empty() && pc.run(100000) == PcState::Ended && allEnded;
        }
    });
    std::filesystem::remove_all(folder);
    if (!allEnded)
        std::fprintf(stderr, "%s: the program did not run to its end\n", name);
    report(name, ms / kLoads, "ms");
}

void loadBench()
{
    loadAndStart("pc-load-and-start-com", "HELLO.COM", comProgram());
    loadAndStart("pc-load-and-start-exe", "HELLO.EXE", exeProgram());
}

const Register load("pc-load-and-start", loadBench);

} // namespace

} // namespace velmora::bench
