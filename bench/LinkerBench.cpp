// The built-in linker on the object of a 10 000-line program, written here with the OMF
// writer in the shape the assembler gives a small-model program: 10 000 instructions of
// code in LEDATA records of up to 1024 bytes, a fixup for every fourth line (data offsets
// through DGROUP, near calls, segment bases), 2 000 data words, 500 publics, a stack.
// Reports the time of one link to an .exe with a map of publics (median of 7).
#include "bench/BenchRegistry.h"

#include "assembler/link/Linker.h"
#include "assembler/omf/OmfWriter.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

namespace velmora::bench
{

namespace
{

using namespace velmora::assembler;

omf::ObjectModule tenThousandLineProgram()
{
    constexpr int Lines = 10000;
    constexpr std::uint16_t Text = 1, Data = 2, Stack = 3, DGroup = 1;
    omf::ObjectModule module;
    module.records.push_back(omf::Theadr{"big.asm"});
    module.records.push_back(omf::Lnames{{"", "_TEXT", "CODE", "_DATA", "DATA", "STACK", "DGROUP"}});

    // Each line: a 3-byte instruction (mov ax,imm / call rel16), one in four with a fixup.
    std::vector<std::uint8_t> code;
    struct Site {
        std::uint16_t offset;
        int kind;
    };
    std::vector<Site> sites;
    for (int line = 0; line < Lines; ++line) {
        const auto offset = static_cast<std::uint16_t>(code.size());
        const int kind = line % 4 == 0 ? (line / 4) % 3 : -1;
        code.push_back(kind == 1 ? 0xE8 : 0xB8);
        code.push_back(static_cast<std::uint8_t>(line));
        code.push_back(0);
        if (kind >= 0)
            sites.push_back({static_cast<std::uint16_t>(offset + 1), kind});
    }
    const std::uint32_t dataLength = 4000;
    auto segdef = [](std::uint16_t name, std::uint16_t cls, omf::Align align, omf::Combine combine,
                     std::uint32_t length) {
        omf::Segdef seg;
        seg.nameIndex = name;
        seg.classIndex = cls;
        seg.align = align;
        seg.combine = combine;
        seg.length = length;
        return seg;
    };
    module.records.push_back(segdef(2, 3, omf::Align::Word, omf::Combine::Public, code.size()));
    module.records.push_back(segdef(4, 5, omf::Align::Word, omf::Combine::Public, dataLength));
    module.records.push_back(segdef(6, 6, omf::Align::Paragraph, omf::Combine::Stack, 0x400));
    module.records.push_back(omf::Grpdef{7, {Stack, Data}});

    omf::Pubdef publics{false, 0, Text, 0, {}};
    for (int k = 0; k < 500; ++k)
        publics.names.push_back({"PROC" + std::to_string(k), static_cast<std::uint16_t>(k * 60), 0});
    module.records.push_back(publics);

    std::size_t site = 0;
    for (std::size_t start = 0; start < code.size(); start += 1024) {
        const std::size_t end = std::min(code.size(), start + 1024);
        module.records.push_back(omf::Ledata{Text, static_cast<std::uint16_t>(start),
                                             std::vector<std::uint8_t>(code.begin() + start, code.begin() + end)});
        omf::Fixupp fixups;
        for (; site < sites.size() && sites[site].offset + 2u <= end; ++site) {
            omf::Fixup fix;
            fix.dataOffset = static_cast<std::uint16_t>(sites[site].offset - start);
            if (sites[site].kind == 0) { // mov ax,offset var
                fix.address = {false, omf::FrameGroup, DGroup, false, omf::TargetSegment, Data, false, 0};
            } else if (sites[site].kind == 1) { // call proc
                fix.segmentRelative = false;
                fix.address = {false, omf::FrameSegment, Text, false, omf::TargetSegment, Text, false, 0};
            } else { // mov ax,@data
                fix.location = omf::Base16;
                fix.address = {false, omf::FrameTarget, 0, false, omf::TargetGroup, DGroup, false, 0};
            }
            fixups.items.emplace_back(fix);
        }
        // A fixup that straddles the record's end goes with the next record.
        if (!fixups.items.empty())
            module.records.push_back(fixups);
    }
    for (std::uint32_t start = 0; start < dataLength; start += 1000)
        module.records.push_back(omf::Ledata{Data, static_cast<std::uint16_t>(start),
                                             std::vector<std::uint8_t>(1000, static_cast<std::uint8_t>(start))});
    omf::Modend end;
    end.main = true;
    end.hasStart = true;
    end.start = {false, omf::FrameSegment, Text, false, omf::TargetSegment, Text, true, 0};
    module.records.push_back(end);
    return module;
}

void linkerBench()
{
    const auto folder = std::filesystem::temp_directory_path() / "velmora-linker-bench";
    std::filesystem::create_directories(folder);
    const std::vector<std::uint8_t> object = omf::writeObject(tenThousandLineProgram());
    std::ofstream(folder / "big.obj", std::ios::binary)
        .write(reinterpret_cast<const char *>(object.data()), static_cast<std::streamsize>(object.size()));

    std::vector<double> times;
    int exitCode = 0;
    for (int run = 0; run < 7; ++run)
        times.push_back(millisecondsOf([&] { exitCode = link::link({"/m", "big"}, folder).exitCode; }));
    std::sort(times.begin(), times.end());
    report("link-10000-lines", times[times.size() / 2], "ms");
    if (exitCode != 0)
        std::fprintf(stderr, "link-10000-lines: the link ended with exit code %d\n", exitCode);
    std::filesystem::remove_all(folder);
}

const Register registration("link", linkerBench);

} // namespace

} // namespace velmora::bench
