// Fuzzes the assembler's reader and everything behind it: any bytes as a source (and as
// every file it includes) are assembled with a listing, then written as a listing and as
// an object file. Nothing may crash, hang or read out of bounds.
#include "assembler/Assembly.h"
#include "assembler/ListingWriter.h"
#include "assembler/ObjectFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace velmora::assembler;
    const std::string text(reinterpret_cast<const char *>(data), size);
    int includes = 0;
    const FileReader reader = [&](const std::string &) -> std::optional<std::string> {
        // Each include reads the same text again, a few levels deep at most.
        if (++includes > 3)
            return std::nullopt;
        return text;
    };
    AssemblyOptions options;
    options.keepListing = true;
    options.multiPass = size % 2 == 1;
    options.maxPasses = 3;
    const Assembly assembly = assemble("fuzz.asm", text, reader, options);
    writeListing(assembly, {"fuzz.asm", true});
    if (!assembly.fatal)
        objectFileBytes(assembly.module);
    return 0;
}
