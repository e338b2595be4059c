// Where every segment of every module goes in the program's memory image.
//
// Segments of the same name and class whose combine type is public or stack are joined
// one after another, each part at its own alignment; common segments of one name overlay
// each other; private segments stay alone. Classes follow in the order they first appear,
// and within a class the segments in the order they first appear. The first segment of a
// group to be placed starts at the strictest alignment of the group's members, so that
// the group's frame (the paragraph of its lowest segment) covers them all. Absolute (AT)
// segments take no room; their parts sit at their own frame.
#pragma once

#include "assembler/link/LinkModule.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::assembler::link
{

// One module's segment inside an output segment.
struct SegmentPiece {
    std::size_t module = 0;
    std::size_t segment = 0; // 0-based SEGDEF position in that module
    std::uint32_t base = 0;  // linear address of its first byte
    std::uint32_t length = 0;
};

struct OutputSegment {
    std::string name;
    std::string className;
    omf::Combine combine = omf::Combine::Public;
    bool absolute = false;
    std::uint32_t start = 0;
    std::uint32_t length = 0;
    std::vector<SegmentPiece> pieces;

    std::uint16_t frame() const { return static_cast<std::uint16_t>(start >> 4); }
};

struct OutputGroup {
    std::string name;
    std::vector<std::size_t> segments; // output segment numbers
    std::uint16_t frame = 0;
};

// Where a module's segment went: its output segment and the linear base of its piece.
struct SegmentPlace {
    std::size_t output = 0;
    std::uint32_t base = 0;
};

struct SegmentLayout {
    std::vector<OutputSegment> segments; // in memory order; absolute ones last
    std::vector<OutputGroup> groups;
    std::vector<std::vector<SegmentPlace>> places;      // [module][segment]
    std::vector<std::vector<std::size_t>> groupNumbers; // [module][group] -> output group
    std::uint32_t end = 0;                              // first byte after the last segment

    const SegmentPlace &place(std::size_t module, std::uint16_t segmentIndex) const
    {
        return places[module][segmentIndex - 1];
    }
    const OutputGroup &group(std::size_t module, std::uint16_t groupIndex) const
    {
        return groups[groupNumbers[module][groupIndex - 1]];
    }
};

// The most memory a DOS program can address; a layout beyond it cannot be loaded.
constexpr std::uint32_t MaxProgramSize = 0x100000;

SegmentLayout layOutSegments(const std::vector<LinkModule> &modules, bool caseSensitive);

// The number of bytes an alignment rounds to (1 for byte alignment).
std::uint32_t alignmentBytes(omf::Align align);

} // namespace velmora::assembler::link
