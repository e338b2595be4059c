#include "assembler/link/AddressResolver.h"

#include <cstdio>
#include <stdexcept>

namespace velmora::assembler::link
{

namespace
{

void checkIndex(std::uint16_t index, std::size_t count, const char *what)
{
    if (index < 1 || index > count)
        throw std::runtime_error(std::string("fixup ") + what + " index " + std::to_string(index) + " out of range");
}

} // namespace

// A target by segment, group, external or frame number: its linear address (displacement
// not yet added) and its own frame, the one "frame by target" uses.
AddressResolver::Part AddressResolver::target(std::size_t module, std::uint8_t method, std::uint16_t datum) const
{
    const LinkModule &mod = modules_[module];
    Part part;
    switch (method) {
    case omf::TargetSegment: {
        checkIndex(datum, mod.segments.size(), "segment");
        const SegmentPlace &place = layout_.place(module, datum);
        const OutputSegment &segment = layout_.segments[place.output];
        part.linear = place.base;
        part.frame = segment.frame();
        part.relocatable = !segment.absolute;
        part.name = segment.name;
        break;
    }
    case omf::TargetGroup: {
        checkIndex(datum, mod.groups.size(), "group");
        const OutputGroup &group = layout_.group(module, datum);
        part.linear = static_cast<std::uint32_t>(group.frame) * 16;
        part.frame = group.frame;
        part.name = group.name;
        break;
    }
    case omf::TargetExternal: {
        checkIndex(datum, mod.externs.size(), "external");
        part.name = mod.externs[datum - 1];
        const PublicSymbol *symbol = symbols_.external(module, datum - 1u);
        if (!symbol) {
            part.undefined = true;
            break;
        }
        part.linear = symbol->linear;
        part.frame = symbol->fixupFrame;
        part.relocatable = !symbol->absolute;
        break;
    }
    default: { // a frame number
        char text[8];
        std::snprintf(text, sizeof text, "%04X", datum);
        part.linear = static_cast<std::uint32_t>(datum) * 16;
        part.frame = datum;
        part.relocatable = false;
        part.name = text;
        break;
    }
    }
    return part;
}

ResolvedAddress AddressResolver::resolve(std::size_t module, const omf::FixupAddress &address,
                                         const FixupThreads &threads, std::uint16_t locationFrame) const
{
    std::uint8_t targetMethod = address.targetMethod;
    std::uint16_t targetDatum = address.targetDatum;
    if (address.targetByThread) {
        const FixupThreads::Thread &thread = threads.targets[address.targetMethod & 3];
        if (!thread.defined)
            throw std::runtime_error("fixup uses an undefined target thread");
        targetMethod = thread.method & 3;
        targetDatum = thread.datum;
    }
    std::uint8_t frameMethod = address.frameMethod;
    std::uint16_t frameDatum = address.frameDatum;
    if (address.frameByThread) {
        const FixupThreads::Thread &thread = threads.frames[address.frameMethod & 3];
        if (!thread.defined)
            throw std::runtime_error("fixup uses an undefined frame thread");
        frameMethod = thread.method;
        frameDatum = thread.datum;
    }

    const Part aim = target(module, targetMethod, targetDatum);
    ResolvedAddress resolved;
    resolved.targetName = aim.name;
    resolved.target = aim.linear + (address.hasDisplacement ? address.displacement : 0);
    resolved.undefined = aim.undefined;
    switch (frameMethod) {
    case omf::FrameSegment:
    case omf::FrameGroup:
    case omf::FrameExternal: {
        const Part frame = target(module, frameMethod, frameDatum);
        resolved.frame = frame.frame;
        resolved.relocatable = frame.relocatable;
        resolved.undefined = resolved.undefined || frame.undefined;
        break;
    }
    case omf::FrameNumber:
        resolved.frame = frameDatum;
        resolved.relocatable = false;
        break;
    case omf::FrameLocation:
        resolved.frame = locationFrame;
        break;
    default: // the target's own frame
        resolved.frame = aim.frame;
        resolved.relocatable = aim.relocatable;
        break;
    }
    return resolved;
}

} // namespace velmora::assembler::link
