#include "assembler/ObjectFile.h"

#include "assembler/DebugSymbolComment.h"
#include "assembler/omf/OmfWriter.h"

#include <algorithm>

namespace velmora::assembler
{

namespace
{

constexpr std::size_t maxDataRecord = 1024;
// Line entries of 4 bytes each that keep a LINNUM record within 1024 bytes.
constexpr std::size_t maxLineEntries = 250;

class NameList
{
public:
    NameList() { names_.push_back(""); }
    // The 1-based index of a name, added at the end when it is new.
    std::uint16_t index(const std::string &name)
    {
        const auto found = std::find(names_.begin(), names_.end(), name);
        if (found != names_.end())
            return static_cast<std::uint16_t>(found - names_.begin() + 1);
        names_.push_back(name);
        return static_cast<std::uint16_t>(names_.size());
    }
    const std::vector<std::string> &names() const { return names_; }

private:
    std::vector<std::string> names_;
};

omf::Align alignOf(SegmentAlign align)
{
    switch (align) {
    case SegmentAlign::Byte:
        return omf::Align::Byte;
    case SegmentAlign::Word:
        return omf::Align::Word;
    case SegmentAlign::Page:
        return omf::Align::Page;
    default:
        return omf::Align::Paragraph;
    }
}

omf::Combine combineOf(SegmentCombine combine)
{
    switch (combine) {
    case SegmentCombine::Public:
        return omf::Combine::Public;
    case SegmentCombine::Stack:
        return omf::Combine::Stack;
    case SegmentCombine::Common:
        return omf::Combine::Common;
    default:
        return omf::Combine::Private;
    }
}

std::uint8_t frameMethod(TargetKind kind)
{
    return kind == TargetKind::Group      ? omf::FrameGroup
           : kind == TargetKind::External ? omf::FrameExternal
                                          : omf::FrameSegment;
}

std::uint8_t targetMethod(TargetKind kind)
{
    return kind == TargetKind::Group      ? omf::TargetGroup
           : kind == TargetKind::External ? omf::TargetExternal
                                          : omf::TargetSegment;
}

omf::Fixup fixupRecord(const Fixup &fixup, std::uint32_t recordStart)
{
    omf::Fixup record;
    record.segmentRelative = fixup.kind != FixupKind::Relative16;
    record.location = fixup.kind == FixupKind::Segment16   ? omf::Base16
                      : fixup.kind == FixupKind::Pointer32 ? omf::Pointer32
                                                           : omf::Offset16;
    record.dataOffset = static_cast<std::uint16_t>(fixup.offset - recordStart);
    record.address.frameMethod = frameMethod(fixup.frame.kind);
    record.address.frameDatum = static_cast<std::uint16_t>(fixup.frame.index + 1);
    record.address.targetMethod = targetMethod(fixup.target.kind);
    record.address.targetDatum = static_cast<std::uint16_t>(fixup.target.index + 1);
    return record;
}

int fieldLength(const Fixup &fixup)
{
    return fixup.kind == FixupKind::Pointer32 ? 4 : 2;
}

// LEDATA records for the initialised bytes of a segment, each followed by the FIXUPP of
// the fields it holds; a record never ends inside a fixup's field.
void dataRecords(const Segment &segment, std::uint16_t segmentIndex, std::vector<omf::Record> &records)
{
    std::vector<Fixup> fixups = segment.fixups;
    std::sort(fixups.begin(), fixups.end(), [](const Fixup &a, const Fixup &b) { return a.offset < b.offset; });
    std::vector<bool> inField(segment.bytes.size() + 1, false);
    for (const Fixup &fixup : fixups)
        for (int i = 1; i < fieldLength(fixup); ++i)
            if (fixup.offset + static_cast<std::size_t>(i) < inField.size())
                inField[fixup.offset + static_cast<std::size_t>(i)] = true;
    std::size_t position = 0;
    const std::size_t size = segment.bytes.size();
    while (position < size) {
        if (!segment.initialised[position]) {
            ++position;
            continue;
        }
        std::size_t end = position;
        while (end < size && segment.initialised[end] && end - position < maxDataRecord)
            ++end;
        while (end < size && end > position + 1 && inField[end])
            --end;
        omf::Ledata data;
        data.segmentIndex = segmentIndex;
        data.offset = static_cast<std::uint16_t>(position);
        data.data.assign(segment.bytes.begin() + static_cast<std::ptrdiff_t>(position),
                         segment.bytes.begin() + static_cast<std::ptrdiff_t>(end));
        records.emplace_back(std::move(data));
        omf::Fixupp fixupRecords;
        for (const Fixup &fixup : fixups)
            if (fixup.offset >= position && fixup.offset < end)
                fixupRecords.items.emplace_back(fixupRecord(fixup, static_cast<std::uint32_t>(position)));
        if (!fixupRecords.items.empty())
            records.emplace_back(std::move(fixupRecords));
        position = end;
    }
}

// LINNUM records per segment, in the order the lines gave their bytes.
void lineRecords(const ObjectModule &module, std::vector<omf::Record> &records)
{
    for (std::size_t i = 0; i < module.segments.size(); ++i) {
        omf::Linnum lines;
        lines.segmentIndex = static_cast<std::uint16_t>(i + 1);
        for (const LineNumber &line : module.lines) {
            if (line.segment != static_cast<int>(i))
                continue;
            lines.lines.push_back({static_cast<std::uint16_t>(line.line), line.offset});
            if (lines.lines.size() == maxLineEntries) {
                records.emplace_back(lines);
                lines.lines.clear();
            }
        }
        if (!lines.lines.empty())
            records.emplace_back(std::move(lines));
    }
}

} // namespace

omf::ObjectModule toOmf(const ObjectModule &module, DebugInfoLevel debugInfo)
{
    omf::ObjectModule object;
    auto &records = object.records;
    records.emplace_back(omf::Theadr{module.sourceName});
    const std::string translator = "Velmora Assembler  Version 1.0";
    records.emplace_back(omf::Coment{0, omf::TranslatorComment, {translator.begin(), translator.end()}});

    NameList names;
    std::vector<omf::Segdef> segments;
    for (const Segment &segment : module.segments) {
        omf::Segdef definition;
        definition.align = alignOf(segment.align);
        definition.combine = combineOf(segment.combine);
        definition.length = segment.size;
        definition.nameIndex = names.index(segment.name);
        definition.classIndex = names.index(segment.className);
        definition.overlayIndex = 1;
        segments.push_back(definition);
    }
    std::vector<omf::Grpdef> groups;
    for (const Group &group : module.groups) {
        omf::Grpdef definition;
        definition.nameIndex = names.index(group.name);
        for (int segment : group.segments)
            definition.segments.push_back(static_cast<std::uint16_t>(segment + 1));
        groups.push_back(definition);
    }
    records.emplace_back(omf::Lnames{names.names()});
    for (const omf::Segdef &segment : segments)
        records.emplace_back(segment);
    for (const omf::Grpdef &group : groups)
        records.emplace_back(group);
    if (!module.externals.empty()) {
        omf::Extdef externals;
        for (const External &external : module.externals)
            externals.names.push_back({external.name, 0});
        records.emplace_back(std::move(externals));
    }
    // One PUBDEF per segment (and one for absolute names).
    for (int segment = -1; segment < static_cast<int>(module.segments.size()); ++segment) {
        omf::Pubdef publics;
        if (segment >= 0) {
            publics.segmentIndex = static_cast<std::uint16_t>(segment + 1);
            const int group = module.segments[static_cast<std::size_t>(segment)].group;
            publics.groupIndex = static_cast<std::uint16_t>(group + 1);
        }
        for (const Public &entry : module.publics)
            if (entry.segment == segment)
                publics.names.push_back({entry.name, entry.offset, 0});
        if (!publics.names.empty())
            records.emplace_back(std::move(publics));
    }
    for (std::size_t i = 0; i < module.segments.size(); ++i)
        dataRecords(module.segments[i], static_cast<std::uint16_t>(i + 1), records);
    if (debugInfo != DebugInfoLevel::None)
        lineRecords(module, records);
    if (debugInfo == DebugInfoLevel::Full)
        for (omf::Coment &comment : debugSymbolComments(module.symbols))
            records.emplace_back(std::move(comment));

    omf::Modend end;
    end.main = module.hasStart;
    end.hasStart = module.hasStart;
    if (module.hasStart) {
        const int group = module.segments[static_cast<std::size_t>(module.startSegment)].group;
        end.start.frameMethod = group >= 0 ? omf::FrameGroup : omf::FrameSegment;
        end.start.frameDatum = static_cast<std::uint16_t>((group >= 0 ? group : module.startSegment) + 1);
        end.start.targetMethod = omf::TargetSegment;
        end.start.targetDatum = static_cast<std::uint16_t>(module.startSegment + 1);
        end.start.hasDisplacement = true;
        end.start.displacement = module.startOffset;
    }
    records.emplace_back(end);
    return object;
}

std::vector<std::uint8_t> objectFileBytes(const ObjectModule &module, DebugInfoLevel debugInfo)
{
    return omf::writeObject(toOmf(module, debugInfo));
}

} // namespace velmora::assembler
