#include "assembler/link/SegmentLayout.h"

#include "assembler/link/NameCase.h"

#include <algorithm>
#include <cstdint>
#include <map>

namespace velmora::assembler::link
{

std::uint32_t alignmentBytes(omf::Align align)
{
    switch (align) {
    case omf::Align::Word:
        return 2;
    case omf::Align::Paragraph:
        return 16;
    case omf::Align::Page:
        return 256;
    case omf::Align::DWord:
        return 4;
    default:
        return 1;
    }
}

namespace
{

std::uint32_t alignUp(std::uint32_t address, std::uint32_t alignment)
{
    return (address + alignment - 1) / alignment * alignment;
}

bool joins(omf::Combine combine)
{
    return combine != omf::Combine::Private;
}

struct Builder {
    const std::vector<LinkModule> &modules;
    bool caseSensitive;
    std::vector<OutputSegment> found;              // in order of first appearance
    std::vector<std::vector<std::size_t>> foundOf; // [module][segment] -> found index

    std::string key(const std::string &name) const { return caseSensitive ? name : upperCase(name); }

    void collect()
    {
        std::map<std::pair<std::string, std::string>, std::size_t> byName;
        for (std::size_t m = 0; m < modules.size(); ++m) {
            const LinkModule &module = modules[m];
            foundOf.emplace_back();
            for (std::size_t s = 0; s < module.segments.size(); ++s) {
                const omf::Segdef &segdef = *module.segments[s];
                const bool absolute = segdef.align == omf::Align::Absolute;
                const auto nameKey = std::make_pair(key(module.segmentName(s)), key(module.className(s)));
                auto existing = byName.find(nameKey);
                std::size_t index;
                if (!absolute && joins(segdef.combine) && existing != byName.end() &&
                    joins(found[existing->second].combine)) {
                    index = existing->second;
                } else {
                    index = found.size();
                    OutputSegment segment;
                    segment.name = module.segmentName(s);
                    segment.className = module.className(s);
                    segment.combine = segdef.combine;
                    segment.absolute = absolute;
                    found.push_back(segment);
                    if (!absolute && joins(segdef.combine))
                        byName.emplace(nameKey, index);
                }
                found[index].pieces.push_back({m, s, 0, segdef.length});
                foundOf[m].push_back(index);
            }
        }
    }

    // Found segments in memory order: by class in order of first appearance, absolute last.
    std::vector<std::size_t> memoryOrder() const
    {
        std::vector<std::string> classes;
        for (const OutputSegment &segment : found)
            if (!segment.absolute && std::find(classes.begin(), classes.end(), key(segment.className)) == classes.end())
                classes.push_back(key(segment.className));
        std::vector<std::size_t> order;
        for (const std::string &className : classes)
            for (std::size_t k = 0; k < found.size(); ++k)
                if (!found[k].absolute && key(found[k].className) == className)
                    order.push_back(k);
        for (std::size_t k = 0; k < found.size(); ++k)
            if (found[k].absolute)
                order.push_back(k);
        return order;
    }
};

std::uint32_t strictestAlignment(const OutputSegment &segment, const std::vector<LinkModule> &modules)
{
    std::uint32_t alignment = 1;
    for (const SegmentPiece &piece : segment.pieces)
        alignment = std::max(alignment, alignmentBytes(modules[piece.module].segments[piece.segment]->align));
    return alignment;
}

} // namespace

SegmentLayout layOutSegments(const std::vector<LinkModule> &modules, bool caseSensitive)
{
    Builder builder{modules, caseSensitive, {}, {}};
    builder.collect();
    const std::vector<std::size_t> order = builder.memoryOrder();
    std::vector<std::size_t> outputOf(order.size());
    SegmentLayout layout;
    for (std::size_t k = 0; k < order.size(); ++k) {
        outputOf[order[k]] = k;
        layout.segments.push_back(std::move(builder.found[order[k]]));
    }

    // Groups, each member once, and which group each output segment belongs to.
    std::map<std::string, std::size_t> groupByName;
    std::vector<std::size_t> groupOfSegment(layout.segments.size(), SIZE_MAX);
    for (std::size_t m = 0; m < modules.size(); ++m) {
        layout.groupNumbers.emplace_back();
        for (const omf::Grpdef *grpdef : modules[m].groups) {
            const std::string &name = modules[m].nameAt(grpdef->nameIndex);
            auto [it, added] = groupByName.emplace(builder.key(name), layout.groups.size());
            if (added)
                layout.groups.push_back({name, {}, 0});
            layout.groupNumbers[m].push_back(it->second);
            OutputGroup &group = layout.groups[it->second];
            for (std::uint16_t index : grpdef->segments) {
                const std::size_t output = outputOf[builder.foundOf[m][index - 1]];
                if (std::find(group.segments.begin(), group.segments.end(), output) == group.segments.end())
                    group.segments.push_back(output);
                groupOfSegment[output] = it->second;
            }
        }
    }
    std::vector<std::uint32_t> groupAlignment(layout.groups.size(), 1);
    for (std::size_t g = 0; g < layout.groups.size(); ++g)
        for (std::size_t output : layout.groups[g].segments)
            groupAlignment[g] = std::max(groupAlignment[g], strictestAlignment(layout.segments[output], modules));

    std::vector<bool> groupPlaced(layout.groups.size(), false);
    std::uint32_t cursor = 0;
    for (std::size_t k = 0; k < layout.segments.size(); ++k) {
        OutputSegment &segment = layout.segments[k];
        if (segment.absolute) {
            const omf::Segdef &segdef = *modules[segment.pieces[0].module].segments[segment.pieces[0].segment];
            segment.start = static_cast<std::uint32_t>(segdef.absoluteFrame) * 16 + segdef.absoluteOffset;
            for (SegmentPiece &piece : segment.pieces)
                piece.base = segment.start;
            segment.length = segment.pieces[0].length;
            continue;
        }
        std::uint32_t firstAlignment = 1;
        const std::size_t g = groupOfSegment[k];
        if (g != SIZE_MAX && !groupPlaced[g]) {
            firstAlignment = groupAlignment[g];
            groupPlaced[g] = true;
        }
        if (segment.combine == omf::Combine::Common) {
            segment.start = alignUp(cursor, std::max(firstAlignment, strictestAlignment(segment, modules)));
            for (SegmentPiece &piece : segment.pieces) {
                piece.base = segment.start;
                segment.length = std::max(segment.length, piece.length);
            }
        } else {
            for (std::size_t p = 0; p < segment.pieces.size(); ++p) {
                SegmentPiece &piece = segment.pieces[p];
                std::uint32_t alignment = alignmentBytes(modules[piece.module].segments[piece.segment]->align);
                if (p == 0)
                    alignment = std::max(alignment, firstAlignment);
                piece.base = alignUp(cursor, alignment);
                cursor = piece.base + piece.length;
            }
            segment.start = segment.pieces[0].base;
            segment.length = cursor - segment.start;
        }
        cursor = std::max(cursor, segment.start + segment.length);
        layout.end = cursor;
    }

    for (OutputGroup &group : layout.groups) {
        std::uint32_t lowest = UINT32_MAX;
        for (std::size_t output : group.segments)
            lowest = std::min(lowest, layout.segments[output].start);
        group.frame = group.segments.empty() ? 0 : static_cast<std::uint16_t>(lowest >> 4);
    }

    for (const LinkModule &module : modules)
        layout.places.emplace_back(module.segments.size());
    for (std::size_t k = 0; k < layout.segments.size(); ++k)
        for (const SegmentPiece &piece : layout.segments[k].pieces)
            layout.places[piece.module][piece.segment] = {k, piece.base};
    return layout;
}

} // namespace velmora::assembler::link
