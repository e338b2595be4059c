// Feeds arbitrary bytes to the object reader and links what reads. Malformed objects must
// end in an error (OmfError, or std::runtime_error from the linker's checks), never in a
// crash or a read outside the input or the image; what reads must write and read back the
// same.
#include "assembler/link/ImageBuilder.h"
#include "assembler/link/LinkLog.h"
#include "assembler/link/SegmentLayout.h"
#include "assembler/link/SymbolTable.h"
#include "assembler/omf/OmfReader.h"
#include "assembler/omf/OmfWriter.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

using namespace velmora::assembler;

namespace
{

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    omf::ObjectModule module;
    try {
        module = omf::readObject(std::span<const std::uint8_t>(data, size));
    } catch (const omf::OmfError &) {
        return 0;
    }
    const std::vector<std::uint8_t> written = omf::writeObject(module);
    check(omf::writeObject(omf::readObject(written)) == written);

    try {
        std::vector<link::LinkModule> modules;
        modules.push_back(link::indexModule("fuzz.obj", std::move(module)));
        const link::SegmentLayout layout = link::layOutSegments(modules, false);
        if (layout.end > link::MaxProgramSize)
            return 0;
        link::LinkLog log;
        const link::SymbolTable symbols(modules, layout, false, log);
        link::buildImage(modules, layout, symbols, log);
    } catch (const std::runtime_error &) {
    }
    return 0;
}
